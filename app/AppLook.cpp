#include "app/AppLook.h"

#include <QStringList>

#include "app/icon/brenvik_icon.xpm"

namespace brenvik {

QPixmap ProgramPixmap() { return QPixmap(brenvik_xpm); }

QIcon ProgramIcon() {
  QIcon icon;
  const QPixmap small = ProgramPixmap();
  icon.addPixmap(small);
  icon.addPixmap(small.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  return icon;
}

QFont DesignFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  return font;
}

}  // namespace brenvik
