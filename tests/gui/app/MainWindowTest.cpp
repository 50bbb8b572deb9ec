// The main window as start-up leaves it: controls, layout, colours, menus,
// tab sequence and the dialogs that setUpDialogs sets up.

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <map>
#include <vector>

#include "AppFixture.h"
#include "ui/app/AppLook.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

using MainWindow = AppFixture;

TEST_F(MainWindow, StartsEmptyWithTheInitialOptions) {
  EXPECT_EQ(form().windowTitle(), QStringLiteral("Brenvik"));
  EXPECT_EQ(form().pos(), QPoint(207, 104));
  EXPECT_EQ(BoxText(source()), QString());
  EXPECT_EQ(BoxText(output()), QStringLiteral("\n"));  // one empty line
  EXPECT_TRUE(Find<QRadioButton>(&form(), kTestVersionButton)->isChecked());
  EXPECT_FALSE(Find<QRadioButton>(&form(), kPracticeButton)->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(&form(), kShowAnswersBox)->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(&form(), kTimerBox)->isChecked());
  EXPECT_EQ(state.settings, ExportSettings{});
  EXPECT_EQ(state.workspace, TestWorkspace{});
  EXPECT_EQ(form().lastPage(), Text(U"HTMexport"));
  // The about box and the configure-output window exist, hidden.
  ASSERT_TRUE(windows.aboutBox && windows.outputSettingsWindow);
  EXPECT_FALSE(windows.aboutBox->isVisible());
  EXPECT_FALSE(windows.outputSettingsWindow->isVisible());
  EXPECT_TRUE(fake->errors.empty());
}

struct Placement {
  const char* name;
  QRect geometry;
};

TEST_F(MainWindow, ControlsSitAtTheirPlacesAndStayThereWhenResized) {
  const std::vector<Placement> placements = {
      {kSourceBox, {16, 32, 345, 425}},      {kOutputBox, {376, 32, 361, 425}},
      {kTestVersionButton, {8, 472, 153, 17}}, {kTimerBox, {176, 472, 73, 17}},
      {kPracticeButton, {272, 472, 113, 17}}, {kShowAnswersBox, {408, 472, 113, 17}},
      {kProcessButton, {552, 472, 89, 25}},     {kQuitButton, {664, 472, 89, 25}},
  };
  ShowActive(&form());
  for (const QSize size : {form().size(), QSize(1100, 800), QSize(300, 200)}) {
    form().resize(size);
    Pump();
    for (const Placement& p : placements) {
      QWidget* w = Find<QWidget>(&form(), p.name);
      ASSERT_NE(w, nullptr);
      EXPECT_EQ(w->geometry(), p.geometry) << p.name << " at window size " << size.width() << "x" << size.height();
    }
    EXPECT_EQ(Find<QLabel>(&form(), kSourceHint)->pos(), QPoint(16, 8));
    EXPECT_EQ(Find<QLabel>(&form(), kOutputHint)->pos(), QPoint(384, 8));
  }
}

TEST_F(MainWindow, CaptionsHintsAndColours) {
  struct caption {
    const char* name;
    QString text;
  };
  const std::vector<caption> captions = {
      {kSourceHint, QStringLiteral("Use the file menu to import a .TXT file or paste or type your own text here.  ")},
      {kOutputHint, QStringLiteral("You can paste the output into a word-processor if you want a  paper version.")},
  };
  for (const caption& c : captions) EXPECT_EQ(Find<QLabel>(&form(), c.name)->text(), c.text) << c.name;
  const std::vector<caption> buttons = {
      {kTestVersionButton, QStringLiteral("Test version (default)")}, {kPracticeButton, QStringLiteral("Practice C-test")},
      {kShowAnswersBox, QStringLiteral("Show Answers")},            {kTimerBox, QStringLiteral("Use timer")},
      {kProcessButton, QStringLiteral("&Process")},                  {kQuitButton, QStringLiteral("&Quit")},
  };
  for (const caption& c : buttons) EXPECT_EQ(Find<QAbstractButton>(&form(), c.name)->text(), c.text) << c.name;
  EXPECT_EQ(Find<QPushButton>(&form(), kProcessButton)->toolTip(),
            QStringLiteral("Click here to produce the test in the output box."));
  EXPECT_EQ(Find<QPushButton>(&form(), kQuitButton)->toolTip(), QStringLiteral("Close"));

  // The window takes the desktop's inactive-caption colour; both boxes are
  // money green with navy text; labels and options are black.
  const QWidget* client = Find<QWidget>(&form(), "ClientArea");
  EXPECT_EQ(client->palette().color(QPalette::Window), fake->systemColors[3]);
  for (QPlainTextEdit* box : {source(), output()}) {
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(192, 220, 192));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 0, 128));
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(box->tabChangesFocus());
  }
  EXPECT_EQ(Find<QLabel>(&form(), kOutputHint)->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(Find<QCheckBox>(&form(), kShowAnswersBox)->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(Find<QPushButton>(&form(), kProcessButton)->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
  EXPECT_EQ(source()->font().pixelSize(), 11);
}

TEST_F(MainWindow, MenuItemsWithTheirHints) {
  struct Item {
    const char* menu;
    const char* name;  // "-": a separator
    QString text;
    QString hint;
    QKeySequence shortcut = {};
  };
  const std::vector<Item> items = {
      {kFileMenu, kOpenAction, QStringLiteral("&Open"), QStringLiteral("Import a file.")},
      {kFileMenu, kSaveSourceAction, QStringLiteral("&Save source"), QStringLiteral("Save as a .TXT file")},
      {kFileMenu, kSaveOutputAction, QStringLiteral("Save out&put"), QString()},
      {kFileMenu, "-", QString(), QString()},
      {kFileMenu, kOpenTestAction, QStringLiteral("Open &test\u2026"),
       QStringLiteral("Open a test with all its texts (*.ctest)")},
      {kFileMenu, kSaveTestAction, QStringLiteral("Sa&ve test"), QStringLiteral("Save the test with all its texts"),
       QKeySequence(Qt::CTRL | Qt::Key_S)},
      {kFileMenu, kSaveTestAsAction, QStringLiteral("Save test &as\u2026"),
       QStringLiteral("Save the test with all its texts under a new name"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
      {kFileMenu, "-", QString(), QString()},
      {kFileMenu, kExportWebAction, QStringLiteral("E&xport to web"), QStringLiteral("Save as HTML")},
      {kFileMenu, kExportMobileAction, QStringLiteral("Export &mobile page\u2026"),
       QStringLiteral("Save as a page for phones, tablets and screen readers")},
      {kFileMenu, kExportMoodleAction, QStringLiteral("Export to Moo&dle\u2026"),
       QStringLiteral("Save as a Moodle XML quiz for a course's question bank")},
      {kFileMenu, kExportPdfAction, QStringLiteral("Export PD&F\u2026"),
       QStringLiteral("Save the worksheet and its answer key as a PDF file")},
      {kFileMenu, kExportScormAction, QStringLiteral("Export S&CORM package\u2026"),
       QStringLiteral("Save as a package that a learning platform imports and that reports each pupil's score")},
      {kFileMenu, "-", QString(), QString()},
      {kFileMenu, kPrintAction, QStringLiteral("P&rint\u2026"), QStringLiteral("Print the worksheet and its answer key"),
       QKeySequence(Qt::CTRL | Qt::Key_P)},
      {kFileMenu, "-", QString(), QString()},
      {kFileMenu, kQuitAction, QStringLiteral("&Quit"), QString()},
      {kEditMenu, kOutputSettingsAction, QStringLiteral("&Output"), QString()},
      {kEditMenu, "-", QString(), QString()},
      {kEditMenu, kTextsAction, QStringLiteral("&Texts\u2026"),
       QStringLiteral("Add, remove, rename and order the texts of the test")},
      {kEditMenu, kTestOptionsAction, QStringLiteral("Test o&ptions\u2026"),
       QStringLiteral("Gap limit, last sentence, answer matching and text language")},
      {kEditMenu, kGapEditorAction, QStringLiteral("&Gaps\u2026"),
       QStringLiteral("Switch gaps on or off and give further accepted answers")},
      {kHelpMenu, kHelpContentsAction, QStringLiteral("Contents"), QString()},
      {kHelpMenu, kAboutAction, QStringLiteral("A&bout"), QStringLiteral("Want to know more about who wrote this thing?")},
  };
  QStringList menuTitles;
  for (QAction* a : form().menuBar()->actions()) menuTitles << a->text();
  EXPECT_EQ(menuTitles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Help")}));
  std::map<std::string, int> position;
  std::map<std::string, std::map<QChar, std::string>> accessKeys;
  for (const Item& item : items) {
    QMenu* menu = Find<QMenu>(&form(), item.menu);
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    const int index = position[item.menu]++;
    ASSERT_LT(index, actions.size()) << item.name;
    QAction* a = actions[index];
    if (std::string(item.name) == "-") {
      EXPECT_TRUE(a->isSeparator()) << item.menu << " item " << index;
      continue;
    }
    EXPECT_EQ(a->objectName(), QLatin1String(item.name));
    EXPECT_EQ(a->text(), item.text) << item.name;
    EXPECT_EQ(a->statusTip(), item.hint) << item.name;
    EXPECT_EQ(a->shortcut(), item.shortcut) << item.name;
    EXPECT_FALSE(a->isCheckable() || a->isSeparator()) << item.name;
    // No two items of a menu share an access letter.
    const qsizetype amp = item.text.indexOf(QLatin1Char('&'));
    if (amp >= 0) {
      const QChar letter = item.text.at(amp + 1).toLower();
      const auto [it, added] = accessKeys[item.menu].emplace(letter, item.name);
      EXPECT_TRUE(added) << item.name << " and " << it->second << " share " << QString(letter).toStdString();
    }
  }
  for (const auto& [menu, count] : position) {
    EXPECT_EQ(Find<QMenu>(&form(), menu.c_str())->actions().size(), count) << menu;
  }
}

// The tab sequence, read by pressing Tab from the Process button.
QStringList TabSequence(QWidget* window, int presses) {
  QStringList names;
  for (int i = 0; i < presses; ++i) {
    PressKey(window, Qt::Key_Tab);
    names << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QStringLiteral("(none)"));
  }
  return names;
}

TEST_F(MainWindow, TabVisitsTheVisibleControlsInOrderWithOneStopForTheRadioGroup) {
  ShowActive(&form());
  QWidget* process = Find<QWidget>(&form(), kProcessButton);
  EXPECT_EQ(QApplication::focusWidget(), process);
  EXPECT_EQ(TabSequence(&form(), 7),
            QStringList({kOutputBox, kQuitButton, kSourceBox, kTestVersionButton, kShowAnswersBox, kTimerBox, kProcessButton}));

  // With the practice version checked the group's stop moves to it.
  Click(kPracticeButton);
  process->setFocus();
  EXPECT_EQ(TabSequence(&form(), 7),
            QStringList({kOutputBox, kQuitButton, kSourceBox, kPracticeButton, kShowAnswersBox, kTimerBox, kProcessButton}));

  // Shift+Tab walks back.
  process->setFocus();
  PressKey(&form(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(kTimerBox));
}

TEST_F(MainWindow, TabInATextBoxMovesOnInsteadOfTyping) {
  ShowActive(&form());
  source()->setFocus();
  PressKey(&form(), Qt::Key_Tab);
  EXPECT_EQ(BoxText(source()), QString());
  EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(kTestVersionButton));
}

TEST_F(MainWindow, DialogsStartInTheProgramFolderWithTheirFilters) {
  const QString programDir = QCoreApplication::applicationDirPath();
  EXPECT_EQ(form().openDialog().initialDir, programDir);
  EXPECT_TRUE(form().openDialog().mustExist);
  EXPECT_EQ(form().openDialog().filter, QStringLiteral("Text files (*.txt)|*.txt"));
  EXPECT_EQ(form().saveTextDialog().initialDir, programDir);
  EXPECT_FALSE(form().saveTextDialog().mustExist);
  EXPECT_EQ(form().saveTextDialog().filter, QStringLiteral("Text files (*.txt)|*.txt"));
  EXPECT_EQ(form().exportDialog("classic").initialDir, programDir);
  EXPECT_EQ(form().exportDialog("classic").filter, QStringLiteral("HTML files (*.htm)|*.htm"));
  EXPECT_EQ(form().exportDialog("moodle").initialDir, programDir);
  EXPECT_EQ(form().exportDialog("moodle").filter, QStringLiteral("Moodle XML files (*.xml)|*.xml"));
  EXPECT_EQ(form().exportDialog("pdf").initialDir, programDir);
  EXPECT_EQ(form().exportDialog("pdf").filter, QStringLiteral("PDF files (*.pdf)|*.pdf"));
  EXPECT_EQ(form().helpFile(), programDir + QStringLiteral("/brenvik.hlp"));
}

TEST_F(MainWindow, StartUpNamesTheApplicationAndLoadsTheToolkitsFrenchTexts) {
  InitApplication(*qApp);
  EXPECT_EQ(QCoreApplication::applicationName(), QString::fromUtf8(kApplicationTitle));
  EXPECT_EQ(form().windowTitle(), QStringLiteral("Brenvik"));
  EXPECT_FALSE(QApplication::windowIcon().isNull());
  EXPECT_EQ(ProgramPixmap().size(), QSize(32, 32));
  QTranslator probe;
  if (!probe.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    GTEST_SKIP() << "Qt's French translation is not installed";
  }
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
}

}  // namespace
}  // namespace brenvik::test
