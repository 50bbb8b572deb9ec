#pragma once
// The Qt implementation of the platform layer.

#include "ui/platform/Platform.h"

namespace brenvik {

class QtPlatform : public Platform {
 public:
  bool RunOpenDialog(QWidget* parent, FileDialogState& state) override;
  bool RunSaveDialog(QWidget* parent, FileDialogState& state) override;
  bool AskConfirmation(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& caption, const QString& text) override;
  void ShellOpen(QWidget* owner, const QString& path) override;
  void ShowHelpContents(QWidget* parent, const QString& helpFile) override;
  void ShowHelpContext(QWidget* parent, const QString& helpFile, int context) override;
  bool CanWriteFolder(const QString& folder) const override;
  void SetClipboardText(const QString& text) override;
  void Beep() override;
  QString SelectionMark() const override;
  QFont MarkFont(int pixelHeight) const override;
  QColor SystemColor(int index) const override;
};

// The windows' sans serif, standing in for the classic 8-point dialog font
// that Linux desktops do not have: Liberation Sans has its narrow metrics,
// DejaVu Sans is the fallback. The caller sets the size.
QFont ClassicSansFont();

// "Text files (*.txt)|*.txt" to Qt's name filter "Text files (*.txt)".
QString ToQtNameFilter(const QString& filter);

}  // namespace brenvik
