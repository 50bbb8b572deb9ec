#pragma once
// The main window: the source box, the output box, the page options, the
// Process and Quit buttons and the menu bar, with every command behind them.
//
// Working storage of Process and of the page writer lives in the shared
// AppState (TestWorkspace) and in the last page text, not in hidden controls:
// a 1 MiB text makes some 200,000 list entries, which hidden list boxes would
// only duplicate.

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportFormats.h"
#include "core/test/Test.h"
#include "ui/app/AppState.h"
#include "ui/platform/CommandGuard.h"
#include "ui/platform/Platform.h"
#include "core/text/Text.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QAction;
class QMenu;

namespace brenvik {

class AboutBox;
class GapEditorWindow;
class TestOptionsWindow;
class TestSession;
class TextsWindow;
struct OutputText;

// The text of a multi-line box with LF line ends and every character as
// typed (QPlainTextEdit::toPlainText would turn no-break spaces into spaces).
QString BoxText(const QPlainTextEdit* box);

// Replaces the text of a multi-line box as QPlainTextEdit::setPlainText does
// (the same text, formats and wrapping; the caret at the start, the view on
// it; no undo history; not modified), but lays each long paragraph out once
// and keeps its shaped glyphs: setPlainText lays a paragraph out twice and
// shapes it again for the caret and for every paint, which for a text that
// is one line of a million characters takes most of a second.
void setBoxText(QPlainTextEdit* box, const QString& text);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The largest file, in bytes, that File > Open takes into the source box;
  // a larger one is refused before it is read. 4 MiB is some 700 pages of
  // prose, far more than any C-test needs, and keeps every step quick: on a
  // 1 MiB text of paragraphs Process takes about 0.1 s, on 16 MiB 2.5 s.
  // (A text that is one single line is slower, as the box has to lay out the
  // whole line at once: about 0.25 s for 1 MiB, 0.9 s for 4 MiB.)
  static constexpr std::uint64_t kSourceBoxCapacity = 4u * 1024u * 1024u;

  // The window's frame as the toolkit designs it: outer size 771 x 559 at
  // (207, 104), which with a 4-pixel sizeable border and a 19-pixel caption
  // leaves this client area (menu bar included).
  static constexpr int kDesignLeft = 207;
  static constexpr int kDesignTop = 104;
  static constexpr int kDesignClientWidth = 763;
  static constexpr int kDesignClientHeight = 532;

  explicit MainWindow(AppState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The about box and the configure-output window, created after the main
  // window at start-up; not owned.
  void setAboutBox(AboutBox* box) { aboutBox_ = box; }
  void setOutputSettingsWindow(QWidget* window) { outputSettingsWindow_ = window; }

  // What the other parts of the program use.
  const FileDialogState& openDialog() const { return openDialog_; }
  const FileDialogState& saveTextDialog() const { return saveTextDialog_; }
  // The save dialog of the export format with this id (ExportFormats()).
  const FileDialogState& exportDialog(std::string_view formatId) const;
  const QString& helpFile() const { return helpFile_; }
  // The page text of the last export ("HTMexport" before the first one).
  const Text& lastPage() const { return lastPage_; }
  // The test the window works on: its texts, options, edits and file.
  TestSession& session() { return *session_; }
  const FileDialogState& openTestDialog() const { return openTestDialog_; }
  const FileDialogState& saveTestDialog() const { return saveTestDialog_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Commands: the Process button, the menu items and the option controls,
  // each connected through Guarded, which shows the errors they throw.
  void process();                // the C-test of the source box into the output box
  void openSource();             // File > Open: a text file into the source box
  void saveSource();             // File > Save source
  void saveOutput();             // File > Save output
  void exportAs(const ExportFormat& format);  // File > Export ...: one command per format
  void printWorksheet();         // File > Print: the worksheet through the print dialog
  void quit();                   // File > Quit and the Quit button
  void showOutputSettings();     // Edit > Output: the configure-output window
  void showHelpContents();       // Help > Contents
  void showAbout();              // Help > About
  void chooseTestVersion();      // "Test version (default)"
  void choosePracticeVersion();  // "Practice C-test"
  void showAnswersToggled();     // "Show Answers"
  void timerToggled();           // "Use timer"
  void openTest();               // File > Open test: a test file (*.ctest)
  void saveTest();               // File > Save test: into its file, or as Save test as
  void saveTestAs();             // File > Save test as
  void showTexts();              // Edit > Texts: the texts of the test
  void showTestOptions();        // Edit > Test options
  void showGapEditor();          // Edit > Gaps: the gap editor
  void switchGapAt(const QPoint& viewportPos);  // a double-click on a word of the output box

  // What every export command is given: the texts of the last Process with
  // their titles, workspaces and accepted answers, and what the test says
  // of all of them.
  struct ExportInput {
    std::vector<ExportText> texts;
    AnswerMatching matching = AnswerMatching::Exact;
    std::string language;
  };
  ExportInput exportInput();
  // The output box from the generated test.
  void showGenerated();
  // The source box from the session's current text.
  void showCurrentText();
  // The title: the test file's name and the unsaved mark.
  void updateTitle();
  // Before the test is closed (Quit, Open test): asks whether to save its
  // unsaved changes. False when the teacher cancels (or a save is cancelled).
  bool maySafelyDiscard();
  bool saveTestTo(bool askName);

  void createControls();
  QWidget* createClientArea();
  void createTextBoxes(QWidget* client, const QPalette& blackText);
  void createOptionControls(QWidget* client, const QPalette& blackText);
  void createButtons(QWidget* client);
  void setUpTabOrder();
  void createMenu();
  void setUpDialogs();
  void saveBoxAsText(const QPlainTextEdit* box);
  void updateRadioTabStops();

  AppState& state_;
  AboutBox* aboutBox_ = nullptr;
  QWidget* outputSettingsWindow_ = nullptr;

  FileDialogState openDialog_;
  FileDialogState saveTextDialog_;
  std::vector<FileDialogState> exportDialogs_;  // one per export format, in the table's order
  QString helpFile_;
  Text lastPage_ = U"HTMexport";
  ScormChoice scormChoice_;  // the SCORM package's last answers, offered again
  QString shownSource_;  // the source box's text as the current text last filled it
  FileDialogState openTestDialog_;
  FileDialogState saveTestDialog_;
  TestSession* session_ = nullptr;
  std::unique_ptr<OutputText> output_;  // what the output box shows of the generated test
  TextsWindow* textsWindow_ = nullptr;
  TestOptionsWindow* testOptionsWindow_ = nullptr;
  GapEditorWindow* gapEditor_ = nullptr;

  QLabel* sourceHint_ = nullptr;
  QLabel* outputHint_ = nullptr;
  QPlainTextEdit* sourceBox_ = nullptr;
  QPlainTextEdit* outputBox_ = nullptr;
  QRadioButton* testVersionButton_ = nullptr;
  QRadioButton* practiceButton_ = nullptr;
  QCheckBox* showAnswersBox_ = nullptr;
  QCheckBox* timerBox_ = nullptr;
  QPushButton* processButton_ = nullptr;
  QPushButton* quitButton_ = nullptr;
  bool placed_ = false;  // fitted onto the screen at the first show
};

}  // namespace brenvik
