#include "ui/app/AppLook.h"

#include "ui/app/icon/brenvik_icon.xpm"
#include "ui/platform/QtPlatform.h"

namespace brenvik {

QPixmap ProgramPixmap() { return QPixmap(brenvik_xpm); }

QIcon ProgramIcon() {
  QIcon icon;
  const QPixmap small = ProgramPixmap();
  icon.addPixmap(small);
  icon.addPixmap(small.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  return icon;
}

QFont WindowFont() {
  QFont font = ClassicSansFont();
  font.setPixelSize(11);
  return font;
}

}  // namespace brenvik
