// Brenvik: start-up. No command-line argument is read.
#include <QApplication>

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/Unit1.h"

int main(int argc, char** argv) {
  brenvik::AppState state;  // the export options and an empty workspace
  QApplication app(argc, argv);
  brenvik::InitApplication(app);
  brenvik::AppWindows windows = brenvik::CreateWindows(state);
  windows.form1->show();
  return QApplication::exec();
}
