// Brenvik: start-up. No command-line argument is read.
#include <QApplication>

#include "ui/app/AppState.h"
#include "ui/app/Startup.h"
#include "ui/app/MainWindow.h"

int main(int argc, char** argv) {
  brenvik::AppState state;  // the export options and an empty workspace
  QApplication app(argc, argv);
  brenvik::InitApplication(app);
  brenvik::AppWindows windows = brenvik::CreateWindows(state);
  windows.mainWindow->show();
  return QApplication::exec();
}
