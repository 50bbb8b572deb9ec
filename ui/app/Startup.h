#pragma once
// Start-up of the desktop program, shared by main() and the GUI tests.

#include <memory>

#include "ui/app/AppState.h"

class QApplication;
class QWidget;

namespace brenvik {

class MainWindow;
class AboutBox;

// The application object's part of start-up: the application title, the
// toolkit's French texts (when Qt's French translation is installed) and the
// program icon. The main window's own caption stays "Brenvik": no display
// name is set, since Qt would append it to every window title.
void InitApplication(QApplication& app);

// The three windows, created in this order: the main window (its setUpDialogs
// runs), the about box and the configure-output window, both hidden.
struct AppWindows {
  std::unique_ptr<MainWindow> mainWindow;
  std::unique_ptr<AboutBox> aboutBox;
  std::unique_ptr<QWidget> outputSettingsWindow;

  AppWindows();
  AppWindows(AppWindows&&) noexcept;
  ~AppWindows();
};
AppWindows CreateWindows(AppState& state);

}  // namespace brenvik
