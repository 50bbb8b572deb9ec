// The configure-output window: its initial texts, the boxes that write the
// export settings, and colour selection through the shared chooser.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "../chooser/ColourTestSupport.h"
#include "FakePlatform.h"
#include "ui/app/OutputSettingsWindow.h"
#include "ui/platform/QtText.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

class Form2Test : public ::testing::Test {
 protected:
  ScopedFakePlatform fake;
  ExportSettings settings;
  OutputSettingsWindow form{settings};

  template <typename T>
  T* Child(const char* name) { return Find<T>(&form, QString::fromLatin1(name)); }

  // Presses a Select button; inside the chooser, body runs, then OK or Cancel.
  void Select(const char* button, std::function<void(ColourChooserWindow&)> body, bool accept) {
    WhenShown(std::move(body), accept);
    Child<QPushButton>(button)->click();
  }
};

struct Row {
  const char* button;
  const char* shape;
  const char* edit;
  Text ExportSettings::*setting;
};
const Row kRows[] = {
    {output_window::kPageBackgroundButton, output_window::kPageBackgroundSwatch, output_window::kPageBackgroundEdit, &ExportSettings::PageBackground},
    {output_window::kPageTextButton, output_window::kPageTextSwatch, output_window::kPageTextEdit, &ExportSettings::PageTextColour},
    {output_window::kAnswerBoxButton, output_window::kAnswerBoxSwatch, output_window::kAnswerBoxEdit, &ExportSettings::AnswerBoxColour},
    {output_window::kAnswerTextButton, output_window::kAnswerTextSwatch, output_window::kAnswerTextEdit, &ExportSettings::AnswerTextColour},
};

TEST_F(Form2Test, StartsShowingTheSettingsInEffect) {
  EXPECT_EQ(form.windowTitle(), QStringLiteral("configure output"));
  EXPECT_EQ(form.pos(), QPoint(389, 187));
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(form.font().pointSize(), 8);

  const struct { const char* name; const char* text; } edits[] = {
      {output_window::kTextSizeEdit, "14"}, {output_window::kPageBackgroundEdit, "#FFFFFF"}, {output_window::kPageTextEdit, "#000000"},
      {output_window::kAnswerBoxEdit, "#000000"}, {output_window::kAnswerTextEdit, "#FFFFFF"}, {output_window::kTitleEdit, "C-Test"}};
  for (const auto& e : edits) EXPECT_EQ(Child<QLineEdit>(e.name)->text(), QString::fromLatin1(e.text)) << e.name;

  auto* combo = Child<QComboBox>(output_window::kFontBox);
  EXPECT_EQ(combo->currentText(), QStringLiteral("Arial"));
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->maxVisibleItems(), 5);
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  EXPECT_EQ(items, (QStringList{"Arial", "Times", "Comic sans MS", "Verdana", "Tahoma"}));

  for (const Row& row : kRows) {
    EXPECT_EQ(FromQString(Child<ColourSwatch>(row.shape)->brushColour().name().toUpper()), settings.*row.setting)
        << row.shape;
    EXPECT_EQ(Child<QPushButton>(row.button)->text(), QStringLiteral("Select"));
  }
  EXPECT_EQ(Child<QPushButton>(output_window::kOkButton)->text(), QStringLiteral("OK"));
  EXPECT_FALSE(Child<QPushButton>(output_window::kOkButton)->isDefault());

  // Showing the window and pressing OK changes no setting.
  form.show();
  Pump();
  SaveShot(&form, QStringLiteral("form2.png"));
  Child<QPushButton>(output_window::kOkButton)->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(settings, ExportSettings{});
  EXPECT_EQ(settings.FontName, U"Arial");
  EXPECT_EQ(settings.Title, U"C-Test");
}

TEST(Form2SettingsTest, EveryControlShowsItsSettingWhateverTheSettingsHold) {
  ScopedFakePlatform fake;
  ExportSettings settings{PageVariant::Test, false, false, U"Übung 3", U"#336699", U"#FFFF00",
                          U"Georgia", U"18",  U"#CC0000", U"#00FF00", std::nullopt};  // Georgia: not in the list
  const ExportSettings before = settings;
  OutputSettingsWindow form(settings);
  auto text = [&](const char* name) { return FromQString(Find<QLineEdit>(&form, QString::fromLatin1(name))->text()); };
  EXPECT_EQ(text(output_window::kTextSizeEdit), before.TextSize);
  EXPECT_EQ(text(output_window::kTitleEdit), before.Title);
  EXPECT_EQ(FromQString(Find<QComboBox>(&form, QLatin1String(output_window::kFontBox))->currentText()), before.FontName);
  for (const Row& row : kRows) {
    EXPECT_EQ(text(row.edit), before.*row.setting) << row.edit;
    EXPECT_EQ(FromQString(Find<ColourSwatch>(&form, QString::fromLatin1(row.shape))->brushColour().name().toUpper()),
              before.*row.setting) << row.shape;
  }
  EXPECT_EQ(settings, before);  // showing the settings writes none of them
}

// Selects the whole text of box and types text over it, key by key.
void Retype(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  if (text.isEmpty()) {
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(box, &backspace);
  }
  for (QChar c : text) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &key);
  }
}

void LeaveBox(QLineEdit* box) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(box, &out);
}

TEST_F(Form2Test, AHexBoxTakesAWebColourTypedIntoItAndNothingElse) {
  // typed: the text typed key by key over the box's text; taken: the colour
  // the row has then (nullptr: the one it had); invalid: the box is marked.
  const struct { const char* typed; const char* taken; bool invalid; } cases[] = {
      {"#0000FF", "#0000FF", false}, {"#00ff7f", "#00FF7F", false}, {"#aBcDeF", "#ABCDEF", false},
      {"0000FF", nullptr, true},     {"#00FF", nullptr, true},      {"#GG0000", nullptr, true},
      {"red", nullptr, true},        {"", nullptr, true},           {"#CC00CC ", "#CC00CC", true},
      {"#\u0660\u0660\u0660\u0660\u0660\u0660", nullptr, true},  // other digits than 0-9 are no hex digits
      // Typed on, a colour is taken the moment the box holds one.
      {"#0000FF0", "#0000FF", true},
  };
  for (const Row& row : kRows) {
    auto* box = Child<QLineEdit>(row.edit);
    auto* swatch = Child<ColourSwatch>(row.shape);
    for (const auto& c : cases) {
      const QString typed = QString::fromUtf8(c.typed);
      const QString taken = c.taken ? QString::fromLatin1(c.taken) : ToQString(settings.*row.setting);
      Retype(box, typed);
      EXPECT_EQ(ToQString(settings.*row.setting), taken) << row.edit << " " << c.typed;
      EXPECT_EQ(swatch->brushColour(), QColor(taken)) << row.edit << " " << c.typed;
      EXPECT_EQ(OutputSettingsWindow::isMarkedInvalid(box), c.invalid) << row.edit << " " << c.typed;
      // A colour reads back in upper case; anything else stays as typed.
      EXPECT_EQ(box->text(), c.invalid ? typed : taken) << row.edit << " " << c.typed;
      // Leaving the box shows the colour in effect again.
      LeaveBox(box);
      EXPECT_EQ(box->text(), taken) << row.edit << " " << c.typed;
      EXPECT_FALSE(OutputSettingsWindow::isMarkedInvalid(box)) << row.edit << " " << c.typed;
    }
  }
}

TEST_F(Form2Test, ControlsSitWhereTheLayoutPutsThem) {
  const struct { const char* name; QRect geometry; } cases[] = {
      {output_window::kBevel, {8, 8, 305, 265}},    {output_window::kPageBackgroundSwatch, {120, 24, 25, 25}},  {output_window::kAnswerTextSwatch, {120, 192, 25, 25}},
      {output_window::kPageBackgroundButton, {160, 24, 75, 25}},  {output_window::kAnswerTextButton, {160, 192, 75, 25}}, {output_window::kPageBackgroundEdit, {248, 24, 57, 21}},
      {output_window::kAnswerTextEdit, {248, 192, 57, 21}},   {output_window::kTextSizeEdit, {120, 104, 25, 21}},  {output_window::kTitleEdit, {72, 232, 161, 21}},
      {output_window::kOkButton, {248, 232, 57, 25}},
  };
  for (const auto& c : cases) EXPECT_EQ(Child<QWidget>(c.name)->geometry(), c.geometry) << c.name;
  EXPECT_EQ(Child<QComboBox>(output_window::kFontBox)->geometry().topLeft(), QPoint(200, 104));
  EXPECT_EQ(Child<QComboBox>(output_window::kFontBox)->width(), 105);
  // Labels, including the two blanks of the size label.
  QStringList labels;
  for (QLabel* l : form.findChildren<QLabel*>()) labels << l->text();
  for (const char* text : {"Page background", "Page text colour", "Text size  (pixels)", "Font",
                           "Answer box colour", "Answer text colour", "Title :"}) {
    EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
  }
}

TEST_F(Form2Test, TabOrderFollowsTheLayout) {
  const char* order[] = {output_window::kOkButton, output_window::kPageBackgroundButton, output_window::kPageTextButton, output_window::kTextSizeEdit, output_window::kAnswerBoxButton, output_window::kAnswerTextButton,
                         output_window::kPageBackgroundEdit,   output_window::kPageTextEdit,   output_window::kAnswerBoxEdit,   output_window::kAnswerTextEdit, output_window::kFontBox, output_window::kTitleEdit};
  form.show();
  Pump();
  QWidget* w = Child<QWidget>(order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget* next = w->nextInFocusChain();
    // Skip the line edit inside the combo box and anything that takes no tab focus.
    while (next != &form && !(next->focusPolicy() & Qt::TabFocus && next->objectName().size() > 0 &&
                              next->parentWidget() == &form)) {
      next = next->nextInFocusChain();
    }
    EXPECT_EQ(next->objectName(), QString::fromLatin1(order[i])) << i;
    w = next;
  }
  form.hide();
}

TEST_F(Form2Test, TextBoxesWriteTheirSettingOnEveryChange) {
  auto* size = Child<QLineEdit>(output_window::kTextSizeEdit);
  auto* title = Child<QLineEdit>(output_window::kTitleEdit);
  size->setText(QStringLiteral("large"));  // not a number: kept as typed
  EXPECT_EQ(settings.TextSize, U"large");
  size->clear();
  EXPECT_EQ(settings.TextSize, U"");
  title->setText(QStringLiteral("Übung 3"));
  EXPECT_EQ(settings.Title, U"Übung 3");
  title->clear();
  EXPECT_EQ(settings.Title, U"");

  // A text the program puts into a hex box is not typed: it changes no setting.
  Child<QLineEdit>(output_window::kPageBackgroundEdit)->setText(QStringLiteral("#123456"));
  EXPECT_EQ(settings.PageBackground, U"#FFFFFF");

  // Font: every keystroke, and picks from the list.
  auto* combo = Child<QComboBox>(output_window::kFontBox);
  combo->clearEditText();
  EXPECT_EQ(settings.FontName, U"");
  std::vector<Text> seen;
  for (QChar ch : QStringLiteral("Georgia")) {
    combo->lineEdit()->insert(QString(ch));
    seen.push_back(settings.FontName);
  }
  EXPECT_EQ(seen, (std::vector<Text>{U"G", U"Ge", U"Geo", U"Geor", U"Georg", U"Georgi", U"Georgia"}));
  combo->setCurrentIndex(2);
  EXPECT_EQ(settings.FontName, U"Comic sans MS");
  EXPECT_EQ(combo->count(), 5);  // typed names are not added to the list
}

TEST_F(Form2Test, CancelInTheChooserChangesNothing) {
  for (const Row& row : kRows) {
    const ExportSettings before = settings;
    const QString editBefore = Child<QLineEdit>(row.edit)->text();
    Select(row.button, [](ColourChooserWindow& f) { Internet(f)->pickCell(200, 100); }, false);
    EXPECT_EQ(settings, before) << row.button;
    EXPECT_EQ(Child<QLineEdit>(row.edit)->text(), editBefore);
    EXPECT_EQ(Child<ColourSwatch>(row.shape)->brushColour(), QColor(editBefore));
    EXPECT_EQ(form.colourChooser()->colour(), 0u);
  }
}

TEST_F(Form2Test, EachRowTakesTheAcceptedColourAndTheChooserOpensOnIt) {
  // Red through "Page text colour", then each row opens on the last accepted colour.
  const struct { int row; int column, cellRow; Colour pick; const char* web; } steps[] = {
      {1, 12, 6, 0x0000FF, "#FF0000"},
      {0, -1, -1, 0x0000FF, "#FF0000"},  // OK without another pick
      {2, 2, 9, 0x996633, "#336699"},
      {3, -1, -1, 0x996633, "#336699"},
  };
  Colour lastAccepted = 0;
  for (const auto& s : steps) {
    const Row& row = kRows[s.row];
    Colour openedOn = 1;
    Select(row.button, [&](ColourChooserWindow& f) {
      openedOn = f.currentSwatchColour();
      EXPECT_EQ(f.activePageId(), pageInternet);
      EXPECT_EQ(f.windowTitle(), QStringLiteral("Color"));
      EXPECT_EQ(f.referenceSwatch(), 0xFFFFFFu);
      if (s.column >= 0) Click(Internet(f)->paletteBox(), CellCentre(s.column, s.cellRow, 271, 165));
    }, true);
    EXPECT_EQ(openedOn, lastAccepted) << row.button;
    EXPECT_EQ(settings.*row.setting, FromQString(QString::fromLatin1(s.web))) << row.button;
    EXPECT_EQ(Child<QLineEdit>(row.edit)->text(), QString::fromLatin1(s.web));
    EXPECT_EQ(FromQColour(Child<ColourSwatch>(row.shape)->brushColour()), s.pick);
    lastAccepted = s.pick;
  }
  // A hex box typed over is overwritten by the next Select on its row.
  Child<QLineEdit>(output_window::kPageBackgroundEdit)->setText(QStringLiteral("nonsense"));
  Select(output_window::kPageBackgroundButton, [](ColourChooserWindow&) {}, true);
  EXPECT_EQ(Child<QLineEdit>(output_window::kPageBackgroundEdit)->text(), QStringLiteral("#336699"));
}

TEST_F(Form2Test, CloseBoxHidesAndControlsKeepTheirState) {
  form.show();
  Child<QLineEdit>(output_window::kTitleEdit)->setText(QStringLiteral("Quiz"));
  form.close();
  EXPECT_FALSE(form.isVisible());
  form.show();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Child<QLineEdit>(output_window::kTitleEdit)->text(), QStringLiteral("Quiz"));
  EXPECT_EQ(settings.Title, U"Quiz");
  form.hide();
}

}  // namespace
}  // namespace brenvik::test
