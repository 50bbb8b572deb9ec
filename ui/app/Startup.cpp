#include "ui/app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/app/AppLook.h"
#include "ui/app/MainWindow.h"
#include "ui/app/AboutBox.h"
#include "ui/app/OutputSettingsWindow.h"

namespace brenvik {

AppWindows::AppWindows() = default;
AppWindows::AppWindows(AppWindows&&) noexcept = default;
// The configure-output window and the about box go before the main window.
AppWindows::~AppWindows() {
  form2.reset();
  aboutBox.reset();
  form1.reset();
}

void InitApplication(QApplication& app) {
  QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
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
  w.form1 = std::make_unique<TForm1>(state);
  w.aboutBox = std::make_unique<TAboutBox>();
  w.form2 = std::make_unique<TForm2>(state.settings);
  w.form1->SetAboutBox(w.aboutBox.get());
  w.form1->SetOutputWindow(w.form2.get());
  return w;
}

}  // namespace brenvik
