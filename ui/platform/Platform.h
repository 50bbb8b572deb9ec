#pragma once
// Everything that leaves the program goes through Platform: file dialogs,
// the print dialog, message boxes, the error box, the shell, the help viewer,
// the clipboard, the beep, the selection mark and the system colours. The program uses the
// Qt implementation; GUI tests install a scripted fake so that no test ever
// blocks on a real modal dialog.

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

#include "core/scorm/ScormPackage.h"

class QPrinter;
class QWidget;

namespace brenvik {

// What File > Export SCORM package asks before its save dialog: the SCORM
// version and the pass mark (a percentage of right gaps; none: completed).
struct ScormChoice {
  ScormVersion version = ScormVersion::Scorm12;
  std::optional<unsigned> passMark;

  friend bool operator==(const ScormChoice&, const ScormChoice&) = default;
};

// State of one common file dialog, kept by the window that owns it.
struct FileDialogState {
  QString initialDir;   // folder shown first
  QString filter;       // one description and one pattern: "Text files (*.txt)|*.txt"
  QString fileName;     // proposed name in, chosen full path out
  bool mustExist = false;  // open dialog: only an existing file in an existing folder
  // Save dialogs: the path the command writes for a chosen name, when it
  // adds an extension to it; unset, the chosen name itself.
  std::function<QString(const QString& chosen)> savedPath;
};

// The file that the name in state.fileName is saved as.
QString SavedPath(const FileDialogState& state);

// The answer to the question whether to save changes before they are lost.
enum class SaveChoice { Save, Discard, Cancel };

// Indexes of the system colour table (the classic desktop's colour slots).
namespace system_colour {
inline constexpr int kScrollBar = 0;
inline constexpr int kDesktop = 1;
inline constexpr int kActiveCaption = 2;
inline constexpr int kInactiveCaption = 3;
inline constexpr int kMenu = 4;
inline constexpr int kWindow = 5;
inline constexpr int kWindowFrame = 6;
inline constexpr int kMenuText = 7;
inline constexpr int kWindowText = 8;
inline constexpr int kCaptionText = 9;
inline constexpr int kActiveBorder = 10;
inline constexpr int kInactiveBorder = 11;
inline constexpr int kAppWorkspace = 12;
inline constexpr int kHighlight = 13;
inline constexpr int kHighlightText = 14;
inline constexpr int kButtonFace = 15;
inline constexpr int kButtonShadow = 16;
inline constexpr int kGrayText = 17;
inline constexpr int kButtonText = 18;
inline constexpr int kInactiveCaptionText = 19;
inline constexpr int kButtonHighlight = 20;
inline constexpr int kDarkShadow3D = 21;
inline constexpr int kLight3D = 22;
inline constexpr int kInfoText = 23;
inline constexpr int kInfoBackground = 24;
inline constexpr int kCount = 25;
}  // namespace system_colour

class Platform {
 public:
  virtual ~Platform() = default;

  // Run an open or save dialog. True when the user confirmed; the chosen
  // full path is then in state.fileName. On cancel state is unchanged.
  // A save dialog asks before a file is replaced: when the file that the
  // chosen name is saved as (SavedPath) exists, the toolkit's question
  // whether to replace it follows; No goes back to the dialog, which offers
  // the chosen name again.
  virtual bool runOpenDialog(QWidget* parent, FileDialogState& state) = 0;
  bool runSaveDialog(QWidget* parent, FileDialogState& state);

  // The parts of runSaveDialog: one run of the dialog, which asks nothing
  // itself, and the question whether to replace the existing file at path
  // (true for Yes).
  virtual bool runSaveFileDialog(QWidget* parent, FileDialogState& state) = 0;
  virtual bool askReplaceFile(QWidget* parent, const QString& path) = 0;

  // Confirmation box (caption "Confirmation", question icon, "&Oui" default,
  // "&Non" on Esc and the close box). True for Yes.
  virtual bool askConfirmation(QWidget* parent, const QString& text) = 0;

  // The question before unsaved changes would be lost (caption
  // kApplicationTitle, warning icon, Save, Discard and Cancel; Save the
  // default, Cancel on Esc and the close box).
  virtual SaveChoice askSaveChanges(QWidget* parent, const QString& text) = 0;

  // Error box: caption, error icon, OK, the text as given.
  virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;

  // Warning box, for what the user should know about a command that did its
  // work: caption, warning icon, OK, the text as given.
  virtual void showWarning(QWidget* parent, const QString& caption, const QString& text) = 0;

  // The SCORM package's questions, showing choice as the answers to start
  // from. True for OK, with choice holding the answers; on Cancel false and
  // choice unchanged.
  virtual bool askScormChoice(QWidget* parent, ScormChoice& choice) = 0;

  // The print dialog for printer, whose paper, margins and document name the
  // caller has set. True when the user chose to print; printer then holds
  // the choice: a printer, or a PDF file (QPrinter::PdfFormat with its
  // outputFileName), the paper and the copies. On cancel false.
  virtual bool runPrintDialog(QWidget* parent, QPrinter& printer) = 0;

  // The shell's "open" action: shows the file in the user's browser. A bare
  // name is looked up in the current folder. The result is not reported.
  virtual void shellOpen(QWidget* owner, const QString& path) = 0;

  // The help viewer: the contents of helpFile, or the topic for a context number.
  virtual void showHelpContents(QWidget* parent, const QString& helpFile) = 0;
  virtual void showHelpContext(QWidget* parent, const QString& helpFile, int context) = 0;

  // Whether the user may create files in folder (an existing folder the
  // system grants write access to: not a read-only mount, not an immutable
  // folder, not a folder of another user). Decides where file dialogs start.
  virtual bool canWriteFolder(const QString& folder) const = 0;

  virtual void setClipboardText(const QString& text) = 0;
  virtual void beep() = 0;

  // The selection mark of the colour chooser (a round bullet) and the font to
  // draw it with at the given pixel height.
  virtual QString selectionMark() const = 0;
  virtual QFont markFont(int pixelHeight) const = 0;

  // The system colour table by index (0 scroll bar ... 24 tooltip background).
  virtual QColor systemColour(int index) const = 0;
};

// The one platform the program uses. Defaults to the Qt implementation.
Platform& platform();
// Installs p (not owned) as the platform; nullptr restores the Qt one.
void SetPlatform(Platform* p);

}  // namespace brenvik
