// The test of several texts in the desktop program: the texts window, the
// test options, the gap editor, the test file commands and the question
// before unsaved changes are lost, driven through the windows as a teacher
// drives them.

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSpinBox>
#include <QLayout>
#include <QScreen>
#include <QTableView>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "core/test/TestFile.h"
#include "ui/app/GapEditorWindow.h"
#include "ui/app/OutputText.h"
#include "ui/app/TestSession.h"
#include "ui/platform/QtText.h"

namespace brenvik::test {
namespace {

class TestWindows : public AppFixture {
 public:
  QWidget* Window(const char* name) { return Find<QWidget>(&form(), QLatin1String(name)); }
  QListWidget* TextsList() { return Find<QListWidget>(&form(), QLatin1String(texts_window::kList)); }
  QTableView* GapTable() { return Find<QTableView>(&form(), QLatin1String(gap_editor::kTable)); }
  GapTableModel& Gaps() { return static_cast<GapTableModel&>(*GapTable()->model()); }
  void Press(const char* button) {
    if (auto* b = Find<QAbstractButton>(&form(), QLatin1String(button))) b->click();
  }

  // A text added in the texts window, titled in its list and typed into the source box.
  void AddText(const QString& title, const QString& sourceText) {
    Press(texts_window::kAdd);
    TextsList()->currentItem()->setText(title);
    source()->setPlainText(sourceText);
  }

  // Makes the row of the gap whose deleted part is answer the gap editor's
  // current row; -1 when there is none.
  int RowOfGap(const QString& word) {
    for (int r = 0; r < Gaps().rowCount(); ++r) {
      if (Gaps().index(r, GapTableModel::WordColumn).data().toString() == word) {
        GapTable()->setCurrentIndex(Gaps().index(r, GapTableModel::WordColumn));
        return r;
      }
    }
    return -1;
  }

  // Types further answers into the current row's answer cell, with F2 and Enter.
  void TypeAnswers(int row, const QString& answers) {
    GapTable()->setCurrentIndex(Gaps().index(row, GapTableModel::AcceptedColumn));
    GapTable()->setFocus();
    KeyClick(GapTable(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setText(answers);
    KeyClick(editor, Qt::Key_Return);
    Pump();
  }

  // A double-click on the output box at a character position.
  void DoubleClickOutputAt(int position) {
    QTextCursor at(output()->document());
    at.setPosition(position);
    const QPoint point = output()->cursorRect(at).center() + QPoint(1, 0);
    QMouseEvent press(QEvent::MouseButtonDblClick, point, output()->viewport()->mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(output()->viewport(), &press);
  }
};

const QString kRiver = QStringLiteral("A river. The water runs past the old mill and under the bridge.");

// Done when: a six-text test with accepted answers and switched-off gaps is
// built in the windows, saved, the program quit, the test opened again in a
// fresh program and exported, all without a command line.
TEST_F(TestWindows, SixTextsBuiltSavedReopenedAndExported) {
  ShowActive(&form());
  Trigger(kTextsAction);
  TextsList()->currentItem()->setText(QStringLiteral("Story 1"));
  source()->setPlainText(kRiver);
  for (int i = 2; i <= 6; ++i) {
    AddText(QStringLiteral("Story %1").arg(i), QStringLiteral("Day %1. The children play near the house and sing.").arg(i));
  }
  ASSERT_EQ(form().session().test().texts.size(), 6u);
  Click(kProcessButton);
  const QString out = BoxText(output());
  for (int i = 1; i <= 6; ++i) EXPECT_TRUE(out.contains(QStringLiteral("Story %1\n\n").arg(i))) << i;
  EXPECT_TRUE(out.contains(QStringLiteral("The wa___ runs pa__ the o__")));

  Trigger(kGapEditorAction);
  ShowActive(Window(gap_editor::kWindow));
  const int water = RowOfGap(QStringLiteral("wa___"));
  ASSERT_GE(water, 0);
  TypeAnswers(water, QStringLiteral("ves; ter"));  // "ter" is the deleted part, left out
  ASSERT_GE(RowOfGap(QStringLiteral("pa__")), 0);
  KeyClick(GapTable(), Qt::Key_Space);  // "past" whole
  Pump();
  EXPECT_TRUE(BoxText(output()).contains(QStringLiteral("The wa___ runs past the o__")));
  EXPECT_EQ(BoxText(output()).count(QStringLiteral(" chil____ ")), 5);

  // The page title goes into the test file with the test.
  Find<QLineEdit>(windows.outputSettingsWindow.get(), QLatin1String(output_window::kTitleEdit))
      ->setText(QStringLiteral("Form B"));
  const QString saved = Path(QStringLiteral("six"));
  fake->saveAnswers.push_back(saved);
  Trigger(kSaveTestAction);
  EXPECT_TRUE(form().windowTitle().startsWith(QStringLiteral("six.ctest[*]")));
  EXPECT_FALSE(form().isWindowModified());
  EXPECT_EQ(RunEventLoopWith([this] { Trigger(kQuitAction); }), 0);  // nothing to lose: no question
  EXPECT_TRUE(fake->saveChangesQuestions.empty());

  // A fresh program opens it and exports it.
  AppState again;
  AppWindows reopened = CreateWindows(again);
  MainWindow& second = *reopened.mainWindow;
  fake->openAnswers.push_back(saved + QStringLiteral(".ctest"));
  second.findChild<QAction*>(QLatin1String(kOpenTestAction))->trigger();
  EXPECT_EQ(second.session().test().texts.size(), 6u);
  EXPECT_EQ(BoxText(second.findChild<QPlainTextEdit*>(QLatin1String(kSourceBox))), kRiver);
  EXPECT_EQ(BoxText(second.findChild<QPlainTextEdit*>(QLatin1String(kOutputBox))), BoxText(output()));
  EXPECT_EQ(Find<QLineEdit>(reopened.outputSettingsWindow.get(), QLatin1String(output_window::kTitleEdit))->text(),
            QStringLiteral("Form B"));
  fake->saveAnswers.push_back(Path(QStringLiteral("six")));
  second.findChild<QAction*>(QLatin1String(kExportMoodleAction))->trigger();
  const QString xml = QString::fromUtf8(ReadAll(Path(QStringLiteral("six.xml"))));
  EXPECT_EQ(xml.count(QStringLiteral("<question type=\"cloze\">")), 6);
  EXPECT_TRUE(xml.contains(QStringLiteral("=ves")));
  EXPECT_FALSE(xml.contains(QStringLiteral("=st}")));  // "past" has no gap
  EXPECT_TRUE(xml.contains(QStringLiteral("Story 6")));
  EXPECT_TRUE(xml.contains(QStringLiteral("$course$/Form B")));
  EXPECT_TRUE(fake->errors.empty()) << fake->errors.front().text.toStdString();
  EXPECT_EQ(fake->unexpected, 0);
}

// Every change of the gap editor, from the table and from the output box,
// reaches the output box at once and the next export.
struct GapChange {
  const char* name;
  void (*change)(TestWindows& t);
  const char* output;  // the output box afterwards
  std::vector<Text> answers;  // the exported answers
};

class GapChanges : public TestWindows, public testing::WithParamInterface<GapChange> {};

TEST_P(GapChanges, ReachTheOutputBoxAndTheExport) {
  ShowActive(&form());
  Process(kRiver);
  Trigger(kGapEditorAction);
  ShowActive(Window(gap_editor::kWindow));
  GetParam().change(*this);
  Pump();
  EXPECT_EQ(BoxText(output()), QString::fromUtf8(GetParam().output));
  fake->saveAnswers.push_back(Path(QStringLiteral("quiz")));
  Trigger(kExportMoodleAction);
  TextList expected;
  for (const Text& a : GetParam().answers) expected.push_back(a);
  EXPECT_EQ(state.workspace.PageAnswers, expected);
  EXPECT_TRUE(QFile::exists(Path(QStringLiteral("quiz.xml"))));
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

INSTANTIATE_TEST_SUITE_P(
    GapEditor, GapChanges,
    testing::Values(
        GapChange{"SpaceSwitchesAGapOff",
                  [](TestWindows& w) {
                    w.RowOfGap(QStringLiteral("wa___"));
                    KeyClick(w.GapTable(), Qt::Key_Space);
                  },
                  "A river. The water runs pa__ the o__ mill a__ under t__ bridge.",
                  {U"st", U"ld", U"nd", U"he"}},
        GapChange{"DoubleClickOnAWordWithAGap",
                  [](TestWindows& w) { w.DoubleClickOutputAt(static_cast<int>(QStringLiteral("A river. The wa").size())); },
                  "A river. The water runs pa__ the o__ mill a__ under t__ bridge.",
                  {U"st", U"ld", U"nd", U"he"}},
        GapChange{"DoubleClickOnAWordWithout",
                  [](TestWindows& w) {
                    w.DoubleClickOutputAt(static_cast<int>(QStringLiteral("A river. The wa___ ru").size()));
                  },
                  "A river. The wa___ ru__ pa__ the o__ mill a__ under t__ bridge.",
                  {U"ter", U"ns", U"st", U"ld", U"nd", U"he"}},
        GapChange{"CheckBoxOffAndOnAgain",
                  [](TestWindows& w) {
                    const int row = w.RowOfGap(QStringLiteral("o__"));
                    const QModelIndex box = w.Gaps().index(row, GapTableModel::GapColumn);
                    w.Gaps().setData(box, Qt::Unchecked, Qt::CheckStateRole);
                    w.Gaps().setData(box, Qt::Checked, Qt::CheckStateRole);
                  },
                  "A river. The wa___ runs pa__ the o__ mill a__ under t__ bridge.",
                  {U"ter", U"st", U"ld", U"nd", U"he"}}),
    [](const testing::TestParamInfo<GapChange>& param) { return std::string(param.param.name); });

// The question before unsaved changes are lost, in each of its answers, for
// closing the window and for Open test.
TEST_F(TestWindows, UnsavedChangesAskSaveDiscardOrCancel) {
  struct Case {
    SaveChoice answer;
    bool saveDialogAnswered;  // Save: the name is chosen
    bool goesOn;              // the window closes, the open dialog runs
    bool fileWritten;
  };
  const std::vector<Case> cases = {
      {SaveChoice::Save, true, true, true},
      {SaveChoice::Save, false, false, false},  // Save, then Cancel in the save dialog
      {SaveChoice::Discard, false, true, false},
      {SaveChoice::Cancel, false, false, false},
  };
  int n = 0;
  for (const bool viaOpen : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << (viaOpen ? "Open test" : "close") << " case " << n);
      AppState s;
      AppWindows w = CreateWindows(s);
      MainWindow& win = *w.mainWindow;
      win.session().addText();  // two texts: worth a test file
      EXPECT_TRUE(win.isWindowModified());
      const QString path = Path(QStringLiteral("t%1").arg(++n));
      fake->saveChangesAnswers.push_back(c.answer);
      if (c.answer == SaveChoice::Save) fake->saveAnswers.push_back(c.saveDialogAnswered ? std::optional(path) : std::nullopt);
      const std::size_t openDialogs = fake->dialogs.size();
      bool closed = false;
      if (viaOpen) {
        fake->openAnswers.push_back(std::nullopt);
        win.findChild<QAction*>(QLatin1String(kOpenTestAction))->trigger();
      } else {
        closed = RunEventLoopWith([&win] { win.close(); }) == 0;
      }
      EXPECT_EQ(fake->saveChangesQuestions.size(), static_cast<std::size_t>(n));
      if (viaOpen) {
        const bool openDialogRan = !fake->dialogs.empty() && !fake->dialogs.back().save &&
                                   fake->dialogs.size() > openDialogs;
        EXPECT_EQ(openDialogRan, c.goesOn);
        if (!c.goesOn) fake->openAnswers.clear();
      } else {
        EXPECT_EQ(closed, c.goesOn);
      }
      EXPECT_EQ(QFile::exists(path + QStringLiteral(".ctest")), c.fileWritten);
      EXPECT_EQ(win.isWindowModified(), !c.fileWritten);
    }
  }
  EXPECT_EQ(fake->unexpected, 0);
}

// Quit stays immediate while there is nothing a test file would keep: one
// plain text, or a test just saved.
TEST_F(TestWindows, NothingToLoseNothingAsked) {
  Process(kRiver);
  source()->setPlainText(QStringLiteral("another text"));
  EXPECT_EQ(RunEventLoopWith([this] { form().close(); }), 0);
  EXPECT_EQ(form().windowTitle(), QStringLiteral("Brenvik"));
  EXPECT_TRUE(fake->saveChangesQuestions.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

// A test file that cannot be read is reported in the error box, and the
// window keeps the test it had.
TEST_F(TestWindows, ADamagedTestFileIsReportedAndChangesNothing) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QString problem;
  };
  const std::vector<Case> cases = {
      {"not JSON", "{\"format\": \"brenvik-test\", \"version\": 1, \"texts\": [", QStringLiteral("line 1")},
      {"a newer version", "{\"format\": \"brenvik-test\", \"version\": 9, \"texts\": []}", QStringLiteral("version 9")},
      {"a bad language", "{\"format\": \"brenvik-test\", \"version\": 1, \"language\": \"en_US\", \"texts\": []}",
       QStringLiteral("language")},
  };
  Process(kRiver);
  const QString outputBefore = BoxText(output());
  const brenvik::Test testBefore = form().session().test();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = Path(QStringLiteral("bad.ctest"));
    WriteAll(path, c.bytes);
    fake->errors.clear();
    fake->openAnswers.push_back(path);
    Trigger(kOpenTestAction);
    ASSERT_EQ(fake->errors.size(), 1u);
    EXPECT_TRUE(fake->errors[0].text.contains(QStringLiteral("cannot read the test file"))) << fake->errors[0].text.toStdString();
    EXPECT_TRUE(fake->errors[0].text.contains(c.problem)) << fake->errors[0].text.toStdString();
    EXPECT_EQ(BoxText(output()), outputBefore);
    EXPECT_EQ(form().session().test(), testBefore);
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Brenvik"));
  }
}

// The test options: per text and for the whole test, kept by OK, in effect
// at the next Process; a language that is not a tag keeps every option.
TEST_F(TestWindows, OptionsTakeEffectAtTheNextProcess) {
  Process(kRiver);
  Trigger(kTestOptionsAction);
  QWidget* options = Window(options_window::kWindow);
  ASSERT_TRUE(options->isVisible());
  Find<QSpinBox>(options, QLatin1String(options_window::kGapLimit))->setValue(2);
  Find<QComboBox>(options, QLatin1String(options_window::kMatching))->setCurrentIndex(1);
  auto* language = Find<QComboBox>(options, QLatin1String(options_window::kLanguage));
  language->setEditText(QStringLiteral("en_US"));
  Press(options_window::kOk);
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(form().session().test().texts[0].options.gapLimit, 0u);
  language->setCurrentIndex(language->findText(QStringLiteral("de \u2014 German")));
  Press(options_window::kOk);
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(form().session().test().language, "de");
  EXPECT_EQ(form().session().test().matching, AnswerMatching::IgnoreCase);
  EXPECT_EQ(BoxText(output()), QStringLiteral("A river. The wa___ runs pa__ the o__ mill a__ under t__ bridge."));
  Click(kProcessButton);
  EXPECT_EQ(BoxText(output()), QStringLiteral("A river. The wa___ runs pa__ the old mill and under the bridge."));
  EXPECT_TRUE(form().isWindowModified());
  // A word the limit keeps whole cannot be switched on: the error box names
  // why, and the test stays as it was.
  ShowActive(&form());
  DoubleClickOutputAt(static_cast<int>(QStringLiteral("A river. The wa___ runs pa__ the o").size()));
  ASSERT_EQ(fake->errors.size(), 2u);
  EXPECT_TRUE(fake->errors[1].text.contains(QStringLiteral("stays whole"))) << fake->errors[1].text.toStdString();
  EXPECT_EQ(BoxText(output()), QStringLiteral("A river. The wa___ runs pa__ the old mill and under the bridge."));
  EXPECT_TRUE(form().session().test().texts[0].edits.empty());
}

// The texts window: add, rename, move and remove; the source box follows the
// chosen text and the output box shows each text under its title.
TEST_F(TestWindows, TextsAreAddedRenamedMovedAndRemoved) {
  Trigger(kTextsAction);
  source()->setPlainText(QStringLiteral("One. Alpha beta gamma."));
  AddText(QStringLiteral("Second"), QStringLiteral("Two. Delta epsilon zeta."));
  AddText(QStringLiteral("Third"), QStringLiteral("Three. Theta iota kappa."));
  EXPECT_EQ(TextsList()->currentRow(), 2);
  Press(texts_window::kUp);
  EXPECT_EQ(TextsList()->currentRow(), 1);
  EXPECT_EQ(BoxText(source()), QStringLiteral("Three. Theta iota kappa."));
  TextsList()->setCurrentRow(0);
  EXPECT_EQ(BoxText(source()), QStringLiteral("One. Alpha beta gamma."));
  Press(texts_window::kRemove);
  EXPECT_EQ(BoxText(source()), QStringLiteral("Three. Theta iota kappa."));
  // A title cannot be emptied: the error box, and the title as it was.
  TextsList()->currentItem()->setText(QStringLiteral("  "));
  Pump();
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(TextsList()->currentItem()->text(), QStringLiteral("Third"));
  Click(kProcessButton);
  EXPECT_EQ(BoxText(output()), QStringLiteral("Third\n\nThree. Theta io__ kappa.\n\nSecond\n\nTwo. Delta eps____ zeta."));
  EXPECT_TRUE(form().windowTitle().startsWith(QStringLiteral("Untitled test[*]")));
}

// Which word a place in the output box is, past line breaks (CR LF in the
// test, LF in the box), letters beyond the Basic Multilingual Plane (two
// UTF-16 units) and the titles of a test of several texts.
TEST_F(TestWindows, OutputPlacesNameTheirWords) {
  struct Case {
    QString before;  // the box text before the place
    std::optional<QString> word;
  };
  Trigger(kTextsAction);
  source()->setPlainText(QStringLiteral("One.\n\U0001D400bc defg\nhijk lm."));
  AddText(QStringLiteral("B"), QStringLiteral("Two. nopq rstu."));
  Click(kProcessButton);
  const QString box = BoxText(output());
  ASSERT_EQ(box, QStringLiteral("Text 1\n\nOne.\n\U0001D400bc de__\nhijk l_.\n\nB\n\nTwo. nopq rs__."));
  const std::vector<Case> cases = {
      {QStringLiteral("Text 1\n\nO"), std::nullopt},  // the first sentence
      {QStringLiteral("Text 1\n\nOne.\n\U0001D400"), QStringLiteral("\U0001D400bc")},
      {QStringLiteral("Text 1\n\nOne.\n\U0001D400bc d"), QStringLiteral("defg")},
      {QStringLiteral("Text 1\n\nOne.\n\U0001D400bc de__\nhi"), QStringLiteral("hijk")},
      {QStringLiteral("Text 1\n\nOne.\n\U0001D400bc de__\nhijk l_"), QStringLiteral("lm")},
      {QStringLiteral("Text 1\n\nOne.\n\U0001D400bc de__\nhijk l_.\n\nB\n\nTwo. nopq r"), QStringLiteral("rstu")},
  };
  OutputText layout = BuildOutputText(form().session().generated());
  ASSERT_EQ(layout.text, box);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.toStdString());
    const std::optional<GapWord> w = WordAtOutputPosition(form().session(), layout, c.before.size());
    ASSERT_EQ(w.has_value(), c.word.has_value());
    if (w) {
      EXPECT_EQ(ToQString(form().session().workspace(w->text).WordList[w->word]), *c.word);
    }
  }
}

}  // namespace
}  // namespace brenvik::test

namespace brenvik::test {
namespace {

// The new windows open within the screen and no smaller than their layout
// needs, on the test's own screen and on the small ones of gui_app_screen_*.
class NewWindowsScreenFit : public TestWindows {};

TEST_F(NewWindowsScreenFit, EachWindowOpensOnTheScreenWithNothingClipped) {
  struct Case {
    const char* action;
    const char* window;
  };
  const Case cases[] = {{kTextsAction, texts_window::kWindow},
                        {kTestOptionsAction, options_window::kWindow},
                        {kGapEditorAction, gap_editor::kWindow}};
  ShowActive(&form());
  const QRect available = form().screen()->availableGeometry();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    Trigger(c.action);
    Pump();
    QWidget* w = Window(c.window);
    ASSERT_TRUE(w->isVisible());
    EXPECT_TRUE(available.contains(w->geometry())) << w->geometry().x() << "," << w->geometry().y() << " "
                                                     << w->width() << "x" << w->height();
    const QSize needed = w->layout()->minimumSize();
    EXPECT_GE(w->width(), needed.width());
    EXPECT_GE(w->height(), needed.height());
    w->close();
  }
}

}  // namespace
}  // namespace brenvik::test
