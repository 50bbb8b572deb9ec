// The Info page: the current colour in every model, the format options and
// the copy buttons.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "GuiTestSupport.h"
#include "PagesTestSupport.h"
#include "ui/chooser/InfoPage.h"

namespace brenvik::test {
namespace {

class InfoPageTest : public testing::Test {
 protected:
  ScopedFakePlatform fake;
  Hosted<InfoPage> t;

  QString Row(InfoPage::Row row) const { return t.page->valueText(row)->text(); }
  bool GrayRowShown() const {
    return !t.page->valueText(InfoPage::rowGray)->isHidden() && !t.page->copyButton(InfoPage::rowGray)->isHidden() &&
           !Find<QLabel>(t.page.get(), QStringLiteral("lblGray"))->isHidden();
  }
  void Show(const ColourVector& rgb) {
    t.host.SetCurrent(rgb);
    t.page->showColour(rgb);
  }
  QCheckBox* Check(const char* name) { return Find<QCheckBox>(t.page.get(), QString::fromLatin1(name)); }
};

TEST_F(InfoPageTest, ControlsAsBuilt) {
  auto* numbers = Find<QGroupBox>(t.page.get(), QStringLiteral("rgpNumbers"));
  auto* format = Find<QGroupBox>(t.page.get(), QStringLiteral("grpFormat"));
  EXPECT_EQ(numbers->title(), QStringLiteral("Numbers"));
  EXPECT_EQ(format->title(), QStringLiteral("Format"));
  EXPECT_TRUE(Find<QRadioButton>(t.page.get(), QStringLiteral("rbtDecimal"))->isChecked());
  EXPECT_EQ(Find<QRadioButton>(t.page.get(), QStringLiteral("rbtHexadecimal"))->text(), QStringLiteral("&Hexadecimal"));
  for (const char* name : {"chkSpace", "chkComma", "chkNames"}) {
    EXPECT_TRUE(Check(name)->isChecked()) << name;
    EXPECT_TRUE(Check(name)->isEnabled()) << name;
  }
  EXPECT_EQ(Check("chkNames")->text(), QStringLiteral("Value &names"));
  const struct {
    InfoPage::Row row;
    const char* hint;
  } rows[] = {{InfoPage::rowHSB, "Copy values to clipboard"},
              {InfoPage::rowRGB, "Copy values to clipboard"},
              {InfoPage::rowCMY, "Copy values to clipboard"},
              {InfoPage::rowCMYK, "Copy values to clipboard"},
              {InfoPage::rowGray, "Copy value to clipboard"}};
  for (const auto& r : rows) {
    QToolButton* copy = t.page->copyButton(r.row);
    EXPECT_EQ(copy->toolTip(), QString::fromLatin1(r.hint));
  }
}

TEST_F(InfoPageTest, RowsOfARedAndOfAGray) {
  Show(MakeRGB(255, 0, 0));
  EXPECT_EQ(Row(InfoPage::rowHSB), QStringLiteral("Hue=0, Saturation=100, Brightness=100"));
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("Red=255, Green=0, Blue=0"));
  EXPECT_EQ(Row(InfoPage::rowCMY), QStringLiteral("Cyan=0, Magenta=255, Yellow=255"));
  EXPECT_EQ(Row(InfoPage::rowCMYK), QStringLiteral("Cyan=0, Magenta=100, Yellow=100, Black=0"));
  EXPECT_FALSE(GrayRowShown());

  Show(MakeRGB(128, 128, 128));
  EXPECT_EQ(Row(InfoPage::rowHSB), QStringLiteral("Hue=0, Saturation=0, Brightness=50"));
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("Red=128, Green=128, Blue=128"));
  EXPECT_EQ(Row(InfoPage::rowCMYK), QStringLiteral("Cyan=0, Magenta=0, Yellow=0, Black=50"));
  EXPECT_TRUE(GrayRowShown());
  EXPECT_EQ(Row(InfoPage::rowGray), QStringLiteral("Brightness=128"));

  // The gray row reads the current colour's red, which may be fractional.
  Show(MakeRGB(127.5, 127.5, 127.5));
  EXPECT_EQ(Row(InfoPage::rowGray), QStringLiteral("Brightness=128"));
  Show(MakeRGB(66.5, 66.5, 66.5));
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("Red=66, Green=66, Blue=66"));
  EXPECT_EQ(Row(InfoPage::rowGray), QStringLiteral("Brightness=66"));

  Show(MakeRGB(128, 128, 129));
  EXPECT_FALSE(GrayRowShown());
}

TEST_F(InfoPageTest, FormatOptions) {
  Show(MakeRGB(255, 0, 0));
  Find<QRadioButton>(t.page.get(), QStringLiteral("rbtHexadecimal"))->click();
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("Red=FF, Green=00, Blue=00"));
  EXPECT_EQ(Row(InfoPage::rowHSB), QStringLiteral("Hue=00, Saturation=64, Brightness=64"));
  Find<QRadioButton>(t.page.get(), QStringLiteral("rbtDecimal"))->click();

  Check("chkSpace")->click();
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("Red=255,Green=0,Blue=0"));
  EXPECT_TRUE(Check("chkNames")->isEnabled());
  Check("chkComma")->click();
  // No separator left: names would run together, so they are switched off.
  EXPECT_FALSE(Check("chkNames")->isChecked());
  EXPECT_FALSE(Check("chkNames")->isEnabled());
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("25500"));
  Check("chkSpace")->click();
  EXPECT_TRUE(Check("chkNames")->isEnabled());
  EXPECT_FALSE(Check("chkNames")->isChecked());
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("255 0 0"));
  Check("chkNames")->click();
  EXPECT_EQ(Row(InfoPage::rowRGB), QStringLiteral("Red=255 Green=0 Blue=0"));
}

TEST_F(InfoPageTest, CopyButtonsPutTheirRowOnTheClipboard) {
  Show(MakeRGB(128, 128, 128));
  const InfoPage::Row rows[] = {InfoPage::rowHSB, InfoPage::rowRGB, InfoPage::rowCMY, InfoPage::rowCMYK,
                                InfoPage::rowGray};
  for (InfoPage::Row row : rows) {
    fake->clipboard = QStringLiteral("something else");
    t.page->copyButton(row)->click();
    EXPECT_EQ(fake->clipboard, Row(row));
  }
  EXPECT_EQ(fake->clipboard, QStringLiteral("Brightness=128"));
}

TEST_F(InfoPageTest, PageColourIsTheCurrentColour) {
  Show(MakeRGB(10.25, 20, 30));
  EXPECT_EQ(t.page->pageColour(), MakeRGB(10.25, 20, 30));
  EXPECT_EQ(t.host.current, MakeRGB(10.25, 20, 30));
}

}  // namespace
}  // namespace brenvik::test
