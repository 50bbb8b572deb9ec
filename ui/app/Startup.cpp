#include "ui/app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/app/AppLook.h"
#include "ui/app/MainWindow.h"
#include "ui/app/AboutBox.h"
#include "ui/app/OutputSettingsWindow.h"
#include "ui/platform/CommandGuard.h"

namespace brenvik {

AppWindows::AppWindows() = default;
AppWindows::AppWindows(AppWindows&&) noexcept = default;
// The configure-output window and the about box go before the main window.
AppWindows::~AppWindows() {
  outputSettingsWindow.reset();
  aboutBox.reset();
  mainWindow.reset();
}

void InitApplication(QApplication& app) {
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  QGuiApplication::setDesktopFileName(QStringLiteral("brenvik"));
  auto* translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
  QApplication::setWindowIcon(ProgramIcon());
}

AppWindows CreateWindows(AppState& state) {
  AppWindows w;
  w.mainWindow = std::make_unique<MainWindow>(state);
  w.aboutBox = std::make_unique<AboutBox>();
  w.outputSettingsWindow = std::make_unique<OutputSettingsWindow>(state.settings);
  w.mainWindow->setAboutBox(w.aboutBox.get());
  w.mainWindow->setOutputSettingsWindow(w.outputSettingsWindow.get());
  return w;
}

}  // namespace brenvik
