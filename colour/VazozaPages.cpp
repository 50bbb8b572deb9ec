#include "colour/VazozaPages.h"

#include <QLabel>
#include <QVBoxLayout>

#include "colour/PageCMY.h"
#include "colour/PageGray.h"
#include "colour/PageHSB.h"
#include "colour/PageInfo.h"
#include "colour/PageInternet.h"
#include "colour/PageRGB.h"
#include "colour/PageVGA.h"
#include "colour/PageWindows.h"

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
    case pageVGA:
      return new VGAPage(host, parent);
    case pageInternet:
      return new InternetPage(host, parent);
    case pageHSB:
      return new HSBPage(host, parent);
    case pageRGB:
      return new RGBPage(host, parent);
    case pageCMY:
      return new CMYPage(host, parent);
    case pageCMYK:
      return new CMYKPage(host, parent);
    case pageGray:
      return new GrayPage(host, parent);
    case pageWindows:
      return new WindowsPage(host, parent);
    case pageInfo:
      return new InfoPage(host, parent);
    default:
      return new PlainPage(host, page, parent);
  }
}

}  // namespace brenvik
