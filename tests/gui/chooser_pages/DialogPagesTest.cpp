// The pages inside the real colour chooser: its dialog window with all nine
// pages shown, and the component's Execute.

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "GuiTestSupport.h"
#include "PagesTestSupport.h"
#include "ui/chooser/VgaPage.h"
#include "ui/chooser/ColourChooser.h"
#include "ui/chooser/ColourChooserWindow.h"
#include "ui/chooser/InternetPage.h"

namespace brenvik::test {
namespace {

constexpr std::uint16_t kAllPages = 0x1FF;

Colour RGB(int r, int g, int b) { return RGBToColour(MakeRGB(r, g, b)); }

class DialogPages : public testing::Test {
 protected:
  ScopedFakePlatform fake;
  ColourChooserWindow dlg;

  DialogPages() { dlg.setVisiblePages(kAllPages); }

  void Activate(ChooserPageId page) {
    dlg.setActivePageIfShown(page);
    ASSERT_EQ(dlg.activePageId(), page);
  }
  int Slider(const char* name) { return Find<QSlider>(&dlg, QString::fromLatin1(name))->value(); }
  std::vector<int> Sliders(std::initializer_list<const char*> names) {
    std::vector<int> v;
    for (const char* n : names) v.push_back(Slider(n));
    return v;
  }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(&dlg, QString::fromLatin1(name)); }
  QWidget* Strip(const char* name) { return Find<QWidget>(&dlg, QString::fromLatin1(name)); }
  QString Text(const char* name) { return Find<QLabel>(&dlg, QString::fromLatin1(name))->text(); }
};

TEST_F(DialogPages, HSBSlidersAfterShowColor) {
  Activate(pageHSB);
  const struct {
    Colour shown;
    std::vector<int> sliders;
    ColourVector current;
  } cases[] = {
      {RGB(255, 0, 0), {0, 100, 100}, MakeRGB(255, 0, 0)},
      {RGB(128, 128, 128), {0, 0, 50}, MakeRGB(127.5, 127.5, 127.5)},
      {RGB(255, 255, 255), {0, 0, 100}, MakeRGB(255, 255, 255)},
  };
  for (const auto& c : cases) {
    dlg.setCurrentColour(c.shown);
    EXPECT_EQ(Sliders({"tbrHue", "tbrSaturation", "tbrBrightness"}), c.sliders);
    EXPECT_EQ(dlg.currentColour(), c.current);
    EXPECT_EQ(dlg.currentSwatchColour(), RGBToColour(c.current));
  }
  EXPECT_EQ(dlg.currentColourValue(), RGB(255, 255, 255));
}

TEST_F(DialogPages, RGBRoundsFractionalComponents) {
  Activate(pageRGB);
  dlg.showColour(MakeRGB(12.4, 200.5, 255));
  EXPECT_EQ(Sliders({"tbrRed", "tbrGreen", "tbrBlue"}), (std::vector<int>{12, 200, 255}));
  EXPECT_EQ(dlg.currentColour(), MakeRGB(12, 200, 255));
  EXPECT_EQ(Box("edtGreen")->text(), QStringLiteral("200"));
}

TEST_F(DialogPages, TypedValuesInTheNumberBoxes) {
  Activate(pageRGB);
  dlg.setCurrentColour(RGB(0, 20, 40));
  Retype(Box("edtRed"), QStringLiteral("300"));
  EXPECT_EQ(Slider("tbrRed"), 255);
  EXPECT_EQ(dlg.currentColourValue(), RGB(255, 20, 40));
  LeaveBox(Box("edtRed"));
  EXPECT_EQ(Box("edtRed")->text(), QStringLiteral("255"));

  SendKey(Box("edtBlue"), Qt::Key_X, QStringLiteral("x"));
  EXPECT_EQ(fake->beeps, 1);
  EXPECT_EQ(Box("edtBlue")->text(), QStringLiteral("40"));

  Activate(pageHSB);
  dlg.setCurrentColour(RGB(0, 0, 255));  // hue 240
  ASSERT_EQ(Slider("tbrHue"), 240);
  Retype(Box("edtHue"), QString());
  EXPECT_EQ(Slider("tbrHue"), 0);
  EXPECT_EQ(dlg.currentColourValue(), RGB(255, 0, 0));
  LeaveBox(Box("edtHue"));
  EXPECT_EQ(Box("edtHue")->text(), QStringLiteral("0"));
}

TEST_F(DialogPages, StripClicksOnTheRightmostPixel) {
  const struct {
    ChooserPageId page;
    const char* strip;
    const char* slider;
    int expected;
  } cases[] = {
      {pageHSB, "pntHue", "tbrHue", 357},         {pageRGB, "pntGreen", "tbrGreen", 253},
      {pageCMY, "pntCMYCyan", "tbrCMYCyan", 253}, {pageCMYK, "pntCMYKCyan", "tbrCMYKCyan", 99},
      {pageGray, "pntGray", "tbrGray", 253},
  };
  for (const auto& c : cases) {
    Activate(c.page);
    QWidget* strip = Strip(c.strip);
    ASSERT_EQ(strip->width(), 237);
    Click(strip, QPoint(236, 6));
    EXPECT_EQ(Slider(c.slider), c.expected) << c.strip;
    EXPECT_EQ(dlg.currentSwatchColour(), dlg.currentColourValue()) << c.strip;
  }
}

TEST_F(DialogPages, SwitchingPagesMovesTheColour) {
  Activate(pageRGB);
  dlg.setCurrentColour(RGB(200, 10, 10));
  auto* tabs = Find<QTabWidget>(&dlg, QStringLiteral("pgcPages"));
  tabs->setCurrentIndex(pageGray);
  EXPECT_EQ(dlg.currentColour(), MakeRGB(200, 200, 200));
  EXPECT_EQ(Slider("tbrGray"), 200);
  tabs->setCurrentIndex(pageRGB);
  EXPECT_EQ(Sliders({"tbrRed", "tbrGreen", "tbrBlue"}), (std::vector<int>{200, 200, 200}));
}

TEST_F(DialogPages, VGAMarksWithinOne) {
  Activate(pageVGA);
  dlg.setCurrentColour(RGB(127, 0, 0));
  EXPECT_TRUE(Find<VgaBox>(&dlg, QStringLiteral("shpMaroon"))->marked());
  EXPECT_EQ(dlg.currentColourValue(), RGB(128, 0, 0));
  dlg.setCurrentColour(RGB(126, 0, 0));
  for (VgaBox* box : dlg.findChildren<VgaBox*>()) EXPECT_FALSE(box->marked()) << box->toolTip().toStdString();
  EXPECT_EQ(dlg.currentColour(), MakeRGB(126, 0, 0));
}

TEST_F(DialogPages, WindowsPageKeepsOrTakesTheColour) {
  fake->systemColors[1] = QColor(0x12, 0x34, 0x56);
  Activate(pageWindows);
  dlg.setCurrentColour(RGB(1, 2, 3));
  EXPECT_EQ(dlg.currentColourValue(), RGB(1, 2, 3));
  Find<QListWidget>(&dlg, QStringLiteral("lstWindows"))->setCurrentRow(8);  // "Desktop"
  EXPECT_EQ(dlg.currentColourValue(), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(dlg.currentSwatchColour(), RGB(0x12, 0x34, 0x56));
}

TEST_F(DialogPages, InfoRows) {
  Activate(pageInfo);
  dlg.setCurrentColour(RGB(255, 0, 0));
  EXPECT_EQ(Text("lblRGBValue"), QStringLiteral("Red=255, Green=0, Blue=0"));
  EXPECT_TRUE(Find<QLabel>(&dlg, QStringLiteral("lblGrayValue"))->isHidden());
  Find<QRadioButton>(&dlg, QStringLiteral("rbtHexadecimal"))->click();
  EXPECT_EQ(Text("lblRGBValue"), QStringLiteral("Red=FF, Green=00, Blue=00"));
  Find<QRadioButton>(&dlg, QStringLiteral("rbtDecimal"))->click();

  dlg.setCurrentColour(RGB(128, 128, 128));
  EXPECT_EQ(Text("lblHSBValue"), QStringLiteral("Hue=0, Saturation=0, Brightness=50"));
  EXPECT_EQ(Text("lblCMYKValue"), QStringLiteral("Cyan=0, Magenta=0, Yellow=0, Black=50"));
  EXPECT_FALSE(Find<QLabel>(&dlg, QStringLiteral("lblGrayValue"))->isHidden());
  EXPECT_EQ(Text("lblGrayValue"), QStringLiteral("Brightness=128"));
  Find<QToolButton>(&dlg, QStringLiteral("sbtCopyCMYK"))->click();
  EXPECT_EQ(fake->clipboard, QStringLiteral("Cyan=0, Magenta=0, Yellow=0, Black=50"));
}

TEST_F(DialogPages, ControlsOnThePagesUseTheDialogFont) {
  // The small dialog font must reach every control on every page: the page
  // layouts, the Info rows above all, are made for it.
  const QFontInfo dialogFont(dlg.font());
  for (int p = 0; p < 9; ++p) {
    QWidget* page = dlg.page(static_cast<ChooserPageId>(p));
    for (QWidget* w : page->findChildren<QWidget*>()) {
      if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w)) continue;
      const QFontInfo info(w->font());
      EXPECT_EQ(info.family().toStdString(), dialogFont.family().toStdString()) << w->objectName().toStdString();
      EXPECT_EQ(info.pixelSize(), dialogFont.pixelSize()) << w->objectName().toStdString();
    }
  }
}

TEST_F(DialogPages, InfoRowsReadWholeInBothNumberFormats) {
  Activate(pageInfo);
  dlg.show();
  Pump();
  QWidget* page = dlg.activePage();
  ASSERT_GE(page->width(), 300);
  // Every web-safe colour, and the colours with the longest rows: CMYK
  // 100, 100, 0, 0 (blue), HSB 359, 100, 100, CMY 255, 255, 255 (black).
  std::vector<Colour> colours;
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 18; ++c) colours.push_back(CellColour(c, r));
  }
  colours.push_back(RGB(255, 0, 3));
  const char* rows[] = {"HSB", "RGB", "CMY", "CMYK", "Gray"};
  int widest = 0;
  for (const char* base : {"rbtDecimal", "rbtHexadecimal"}) {
    Find<QRadioButton>(&dlg, QString::fromLatin1(base))->click();
    for (Colour colour : colours) {
      dlg.setCurrentColour(colour);
      for (const char* row : rows) {
        auto* title = Find<QLabel>(page, QStringLiteral("lbl") + QString::fromLatin1(row));
        auto* value = Find<QLabel>(page, QStringLiteral("lbl") + QString::fromLatin1(row) + QStringLiteral("Value"));
        if (value->isHidden()) continue;
        const int width = QFontMetrics(value->font()).horizontalAdvance(value->text());
        widest = std::max(widest, width);
        // The whole text inside its label, and the label inside the page.
        ASSERT_LE(width, value->contentsRect().width())
            << base << " " << ColourToWebString(colour) << " " << value->text().toStdString();
        ASSERT_LE(value->geometry().right(), page->width() - 1) << row;
        // A clear gap between the title and its value.
        const int titleEnd = title->x() + QFontMetrics(title->font()).horizontalAdvance(title->text());
        ASSERT_LE(titleEnd, title->geometry().right() + 1) << row;
        ASSERT_GE(value->x() - titleEnd, 4) << row;
      }
    }
  }
  EXPECT_GT(widest, 150);  // the rows did hold text
}

TEST_F(DialogPages, HueStripInTheDialog) {
  Activate(pageHSB);
  QWidget* page = dlg.activePage();
  const QImage image = page->grab().toImage();
  QWidget* strip = Strip("pntHue");
  EXPECT_EQ(image.pixel(strip->mapTo(page, QPoint(0, 6))), qRgb(255, 4, 0));
  EXPECT_EQ(image.pixel(strip->mapTo(page, QPoint(118, 6))), qRgb(0, 255, 255));
}

TEST(ColourChooser, ExecuteOnTheSliderPages) {
  ScopedFakePlatform fake;
  ColourChooser chooser;
  chooser.setVisiblePages(kAllPages);

  // OK on the HSB page takes the colour the rounded sliders describe.
  chooser.setActivePage(pageHSB);
  chooser.setColour(RGB(128, 128, 128));
  std::vector<int> seen;
  OnNextModal([&](QWidget* modal) {
    for (const char* n : {"tbrHue", "tbrSaturation", "tbrBrightness"})
      seen.push_back(Find<QSlider>(modal, QString::fromLatin1(n))->value());
    Find<QPushButton>(modal, QStringLiteral("btnOK"))->click();
  });
  EXPECT_TRUE(chooser.execute());
  EXPECT_EQ(seen, (std::vector<int>{0, 0, 50}));
  EXPECT_EQ(chooser.colour(), RGB(128, 128, 128));
  EXPECT_EQ(chooser.webColour(), QStringLiteral("#808080"));

  // Opening on the Gray page turns the colour gray; Cancel keeps that gray.
  chooser.setActivePage(pageGray);
  chooser.setColour(RGB(200, 10, 10));
  OnNextModal([](QWidget* modal) { Find<QPushButton>(modal, QStringLiteral("btnCancel"))->click(); });
  EXPECT_FALSE(chooser.execute());
  EXPECT_EQ(chooser.colour(), RGB(200, 200, 200));

  // A colour typed on the RGB page comes back with OK.
  chooser.setActivePage(pageRGB);
  OnNextModal([](QWidget* modal) {
    Retype(Find<QLineEdit>(modal, QStringLiteral("edtGreen")), QStringLiteral("64"));
    Find<QPushButton>(modal, QStringLiteral("btnOK"))->click();
  });
  EXPECT_TRUE(chooser.execute());
  EXPECT_EQ(chooser.webColour(), QStringLiteral("#C840C8"));
}

}  // namespace
}  // namespace brenvik::test
