#include "ui/chooser/ChooserPages.h"

#include "ui/chooser/CmyPages.h"
#include "ui/chooser/GrayPage.h"
#include "ui/chooser/HsbPage.h"
#include "ui/chooser/InfoPage.h"
#include "ui/chooser/InternetPage.h"
#include "ui/chooser/RgbPage.h"
#include "ui/chooser/SystemColoursPage.h"
#include "ui/chooser/VgaPage.h"
#include "core/text/Errors.h"

namespace brenvik {

QString PageCaption(ChooserPageId page) {
  static const char* const captions[] = {"VGA", "Internet", "HSB", "RGB", "CMY",
                                         "CMYK", "Gray", "Windows", "Info"};
  const int index = static_cast<int>(page);
  return index >= 0 && index < kPageCount ? QString::fromLatin1(captions[index]) : QString();
}

ChooserPage* CreateChooserPage(ChooserPageId page, ChooserPageHost& host, QWidget* parent) {
  switch (page) {
    case pageVGA:
      return new VgaPage(host, parent);
    case pageInternet:
      return new InternetPage(host, parent);
    case pageHSB:
      return new HsbPage(host, parent);
    case pageRGB:
      return new RgbPage(host, parent);
    case pageCMY:
      return new CmyPage(host, parent);
    case pageCMYK:
      return new CmykPage(host, parent);
    case pageGray:
      return new GrayPage(host, parent);
    case pageWindows:
      return new SystemColoursPage(host, parent);
    case pageInfo:
      return new InfoPage(host, parent);
    default:
      throw RangeError();
  }
}

}  // namespace brenvik
