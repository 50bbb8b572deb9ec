// Brenvik: start-up. No command-line argument is read.
#include <QApplication>

#include "export/ExportFormats.h"
#include "ui/app/AppState.h"
#include "ui/app/Startup.h"
#include "ui/app/MainWindow.h"

int main(int argc, char** argv) {
  // Before any QHash exists: equal worksheets give equal PDF files.
  brenvik::MakeExportsReproducible();
  brenvik::AppState state;  // the export options and an empty workspace
  QApplication app(argc, argv);
  brenvik::InitApplication(app);
  brenvik::AppWindows windows = brenvik::CreateWindows(state);
  windows.mainWindow->show();
  return QApplication::exec();
}
