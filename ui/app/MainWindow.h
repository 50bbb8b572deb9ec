#pragma once
// The main window: the source box, the output box, the page options, the
// Process and Quit buttons and the menu bar, with every command behind them.
//
// Working storage of Process and of the page writer lives in the shared
// AppState (TestWorkspace) and in the HTMexport text, not in hidden controls:
// a 1 MiB text makes some 200,000 list entries, which hidden list boxes would
// only duplicate.

#include <QMainWindow>
#include <cstdint>
#include <functional>

#include "ui/app/AppState.h"
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

class TAboutBox;

// Runs the body of one command. An error it raises ends the command and is
// shown in the error box (caption the application title, the message with a
// full stop added where ErrorBoxText says so); whatever the body had already
// changed stays changed. Every command handler goes through here.
void RunCommand(QWidget* parent, const std::function<void()>& body);

// The text of a multi-line box with LF line ends and every character as
// typed (QPlainTextEdit::toPlainText would turn no-break spaces into spaces).
QString BoxText(const QPlainTextEdit* box);

// Replaces the text of a multi-line box as QPlainTextEdit::setPlainText does
// (the same text, formats and wrapping; the caret at the start, the view on
// it; no undo history; not modified), but lays each long paragraph out once
// and keeps its shaped glyphs: setPlainText lays a paragraph out twice and
// shapes it again for the caret and for every paint, which for a text that
// is one line of a million characters takes most of a second.
void SetBoxText(QPlainTextEdit* box, const QString& text);

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // The largest file, in bytes, that File > Open takes into the source box;
  // a larger one is refused before it is read. 4 MiB is some 700 pages of
  // prose, far more than any C-test needs, and keeps every step quick: on a
  // 1 MiB text of paragraphs Process takes about 0.1 s, on 16 MiB 2.5 s.
  // (A text that is one single line is slower, as the box has to lay out the
  // whole line at once: about 0.25 s for 1 MiB, 0.9 s for 4 MiB.)
  static constexpr std::uint64_t SourceBoxCapacity = 4u * 1024u * 1024u;

  // The window's frame as the toolkit designs it: outer size 771 x 559 at
  // (207, 104), which with a 4-pixel sizeable border and a 19-pixel caption
  // leaves this client area (menu bar included).
  static constexpr int DesignLeft = 207;
  static constexpr int DesignTop = 104;
  static constexpr int DesignClientWidth = 763;
  static constexpr int DesignClientHeight = 532;

  explicit TForm1(AppState& state, QWidget* parent = nullptr);

  // The about box and the configure-output window, created after the main
  // window at start-up; not owned.
  void SetAboutBox(TAboutBox* box) { aboutBox_ = box; }
  void SetOutputWindow(QWidget* window) { outputWindow_ = window; }

  // Commands.
  void Button1Click();        // Process
  void Button2Click();        // Quit button
  void mnuOpenClick();
  void mnuSaveClick();
  void Saveoutput1Click();
  void mnuExporttowebClick();
  void mnuQuitClick();
  void Output1Click();
  void Contents1Click();
  void mnuAboutClick();
  void RadioButton1Click();
  void RadioButton2Click();
  void CheckBox1Click();
  void CheckBox2Click();

  // What the other parts of the program use.
  const FileDialogState& OpenDialog1() const { return openDialog1_; }
  const FileDialogState& SaveDialog1() const { return saveDialog1_; }
  const FileDialogState& SaveDialog2() const { return saveDialog2_; }
  const QString& HelpFile() const { return helpFile_; }
  // The page text of the last export ("HTMexport" before the first one).
  const Text& HTMexport() const { return htmExport_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateMenu();
  void FormCreate();
  void SaveBoxAsText(const QPlainTextEdit* box);
  void UpdateRadioTabStops();

  AppState& state_;
  TAboutBox* aboutBox_ = nullptr;
  QWidget* outputWindow_ = nullptr;

  FileDialogState openDialog1_;
  FileDialogState saveDialog1_;
  FileDialogState saveDialog2_;
  QString helpFile_;
  Text htmExport_ = U"HTMexport";

  QLabel* label4_ = nullptr;
  QLabel* label1_ = nullptr;
  QPlainTextEdit* source_ = nullptr;
  QPlainTextEdit* output_ = nullptr;
  QRadioButton* radioButton1_ = nullptr;
  QRadioButton* radioButton2_ = nullptr;
  QCheckBox* checkBox1_ = nullptr;
  QCheckBox* checkBox2_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
};

}  // namespace brenvik
