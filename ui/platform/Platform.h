#pragma once
// Everything that leaves the program goes through Platform: file dialogs,
// message boxes, the error box, the shell, the help viewer, the clipboard,
// the beep, the selection mark and the system colours. The program uses the
// Qt implementation; GUI tests install a scripted fake so that no test ever
// blocks on a real modal dialog.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace brenvik {

// State of one common file dialog, kept by the window that owns it.
struct FileDialogState {
  QString initialDir;   // folder shown first
  QString filter;       // one description and one pattern: "Text files (*.txt)|*.txt"
  QString fileName;     // proposed name in, chosen full path out
  bool mustExist = false;  // open dialog: only an existing file in an existing folder
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Run an open or save dialog. True when the user confirmed; the chosen
  // full path is then in state.fileName. On cancel state is unchanged.
  virtual bool runOpenDialog(QWidget* parent, FileDialogState& state) = 0;
  virtual bool runSaveDialog(QWidget* parent, FileDialogState& state) = 0;

  // Confirmation box (caption "Confirmation", question icon, "&Oui" default,
  // "&Non" on Esc and the close box). True for Yes.
  virtual bool askConfirmation(QWidget* parent, const QString& text) = 0;

  // Error box: caption, error icon, OK, the text as given.
  virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;

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
