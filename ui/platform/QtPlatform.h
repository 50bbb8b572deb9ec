#pragma once
// The Qt implementation of the platform layer.

#include "ui/platform/Platform.h"

namespace brenvik {

class QtPlatform : public Platform {
 public:
  bool runOpenDialog(QWidget* parent, FileDialogState& state) override;
  bool runSaveFileDialog(QWidget* parent, FileDialogState& state) override;
  bool askReplaceFile(QWidget* parent, const QString& path) override;
  bool askConfirmation(QWidget* parent, const QString& text) override;
  SaveChoice askSaveChanges(QWidget* parent, const QString& text) override;
  void showError(QWidget* parent, const QString& caption, const QString& text) override;
  void showWarning(QWidget* parent, const QString& caption, const QString& text) override;
  bool askScormChoice(QWidget* parent, ScormChoice& choice) override;
  bool runPrintDialog(QWidget* parent, QPrinter& printer) override;
  void shellOpen(QWidget* owner, const QString& path) override;
  void showHelpContents(QWidget* parent, const QString& helpFile) override;
  void showHelpContext(QWidget* parent, const QString& helpFile, int context) override;
  bool canWriteFolder(const QString& folder) const override;
  void setClipboardText(const QString& text) override;
  void beep() override;
  QString selectionMark() const override;
  QFont markFont(int pixelHeight) const override;
  QColor systemColour(int index) const override;
};

// The windows' sans serif, standing in for the classic 8-point dialog font
// that Linux desktops do not have: Liberation Sans has its narrow metrics,
// DejaVu Sans is the fallback. The caller sets the size.
QFont ClassicSansFont();

// "Text files (*.txt)|*.txt" to Qt's name filter "Text files (*.txt)".
QString ToQtNameFilter(const QString& filter);

}  // namespace brenvik
