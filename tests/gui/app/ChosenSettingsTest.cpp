// What a teacher sets in the configure-output window, with colours picked in
// the chooser's Internet grid, is what the exported page shows.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "../chooser/ColourTestSupport.h"
#include "AppFixture.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

using ChosenSettings = AppFixture;

// Inside the running chooser: a click on grid cell (c, r).
void PickCell(ColourChooserWindow& chooser, int c, int r) {
  InternetPage* page = Internet(chooser);
  auto* grid = Find<QWidget>(&chooser, QStringLiteral("pntInternet"));
  ASSERT_NE(grid, nullptr);
  const QPoint at = CellCentre(c, r, grid->width(), grid->height());
  page->pickCell(at.x(), at.y());
}

TEST_F(ChosenSettings, ReachTheExportedPage) {
  Trigger(kOutputSettingsAction);
  QWidget* outputSettingsWindow = windows.outputSettingsWindow.get();
  ASSERT_TRUE(outputSettingsWindow->isVisible());

  struct Pick {
    const char* button;
    int column, row;  // -1: OK on the colour the chooser opens with
  };
  const Pick picks[] = {
      {output_window::kPageTextButton, 12, 6},  // page text: pure red
      {output_window::kPageBackgroundButton, -1, -1},  // page background: the chooser opens on red, OK as it is
      {output_window::kAnswerBoxButton, 2, 9},   // answer boxes: #336699
      {output_window::kAnswerTextButton, 17, 11},  // answer text: white
  };
  for (const Pick& p : picks) {
    WhenShown([p](ColourChooserWindow& chooser) {
      if (p.column >= 0) PickCell(chooser, p.column, p.row);
    }, true);
    Find<QPushButton>(outputSettingsWindow, QString::fromLatin1(p.button))->click();
    Pump(1);
  }
  Find<QComboBox>(outputSettingsWindow, QLatin1String(output_window::kFontBox))->setEditText(QStringLiteral("Verdana"));
  Find<QLineEdit>(outputSettingsWindow, QLatin1String(output_window::kTextSizeEdit))->setText(QStringLiteral("18"));
  Find<QLineEdit>(outputSettingsWindow, QLatin1String(output_window::kTitleEdit))->setText(QStringLiteral("Colours & shapes"));
  EXPECT_EQ(Find<QLineEdit>(outputSettingsWindow, QLatin1String(output_window::kPageBackgroundEdit))->text(), QStringLiteral("#FF0000"));
  EXPECT_EQ(Find<QLineEdit>(outputSettingsWindow, QLatin1String(output_window::kAnswerBoxEdit))->text(), QStringLiteral("#336699"));

  Process(QStringLiteral("This is a test. The cat sat on the mat."));
  fake->saveAnswers.push_back(Path(QStringLiteral("page")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  ASSERT_TRUE(fake->errors.empty()) << fake->errors.front().text.toStdString();
  const QByteArray page = ReadAll(Path(QStringLiteral("page.htm")));

  for (const char* expected : {
           "FONT-SIZE:18px; WORD-SPACING: normal; COLOR:#FF0000;",
           "FONT-FAMILY:Verdana; WHITE-SPACE: pre; LETTER-SPACING: normal; BACKGROUND-COLOR: #FF0000;",
           ".boxes { FONT-WEIGHT: bold; CLIP: rect(1px 1px 1px 1px); COLOR:#FFFFFF;",
           "BACKGROUND-COLOR:#336699; TEXT-DECORATION: none",
           ".button {FONT-WEIGHT: normal; COLOR:#FF0000; FONT-FAMILY:Verdana; BACKGROUND-COLOR:#FF0000}",
           "<TD bgColor=#336699>\r\n <FONT color=#FFFFFF> <H2 align=center>Colours &amp; shapes</H2>",
           "<FONT FACE=Verdana color=#FF0000> You scored ",
       }) {
    EXPECT_TRUE(page.contains(expected)) << expected;
  }
  EXPECT_EQ(fake->dialogs.back().seen.fileName, QStringLiteral("Colours & shapes"));
}

}  // namespace
}  // namespace brenvik::test
