#include "colour/VazozaPages.h"

#include <QLabel>
#include <QVBoxLayout>

#include "colour/PageInternet.h"

namespace brenvik {

QString PageCaption(TDialogPage page) {
  static const char* const captions[] = {"VGA", "Internet", "HSB", "RGB", "CMY",
                                         "CMYK", "Gray", "Windows", "Info"};
  const int index = static_cast<int>(page);
  return index >= 0 && index < 9 ? QString::fromLatin1(captions[index]) : QString();
}

PlainPage::PlainPage(VazozaPageHost& host, TDialogPage tag, QWidget* parent) : VazozaPage(host, tag, parent) {
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(PageCaption(tag), this);
  title->setObjectName(QStringLiteral("lblPlainTitle"));
  auto* note = new QLabel(QStringLiteral("This page shows the current colour."), this);
  note->setObjectName(QStringLiteral("lblPlainNote"));
  layout->addWidget(title);
  layout->addWidget(note);
  layout->addStretch(1);
}

VazozaPage* CreateVazozaPage(TDialogPage page, VazozaPageHost& host, QWidget* parent) {
  switch (page) {
    case pageInternet:
      return new InternetPage(host, parent);
    // The other pages keep the current colour until their own controls exist.
    default:
      return new PlainPage(host, page, parent);
  }
}

}  // namespace brenvik
