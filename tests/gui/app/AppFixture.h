#pragma once
// The program's windows as start-up creates them, on a scripted platform and
// a state of their own, plus small helpers for files and keys.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <functional>

#include "FakePlatform.h"
#include "GuiTestSupport.h"
#include "ui/app/AppState.h"
#include "ui/app/Startup.h"
#include "ui/app/MainWindow.h"
#include "ui/app/AboutBox.h"
#include "ObjectNames.h"


namespace brenvik::test {

// The two-sentence text most command tests process.
inline const QString kCatText = QStringLiteral("This is a test. The cat sat on the mat.");

class AppFixture : public testing::Test {
 protected:
  ScopedFakePlatform fake;  // installed before the windows read system colours
  AppState state;
  AppWindows windows = CreateWindows(state);
  QTemporaryDir dir;

  MainWindow& form() { return *windows.mainWindow; }
  QPlainTextEdit* source() { return Find<QPlainTextEdit>(&form(), QLatin1String(kSourceBox)); }
  QPlainTextEdit* output() { return Find<QPlainTextEdit>(&form(), QLatin1String(kOutputBox)); }
  void Trigger(const char* actionName);
  void Click(const char* buttonName);
  QString Path(const QString& name) const { return dir.filePath(name); }

  // Types a text into the source box and runs Process.
  void Process(const QString& sourceText);
};

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// A key press and release sent to the widget that has the focus in window.
void PressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Runs the application's event loop with command, which should end it: the
// loop's status, or 99 when the command did not end it.
int RunEventLoopWith(const std::function<void()>& command);

// Shows window and makes it the active window, so that keys reach it.
void ShowActive(QWidget* window);

// Lowers the largest file size this process may write, so that a save fails
// half-way as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

}  // namespace brenvik::test
