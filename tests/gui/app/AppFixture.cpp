#include "AppFixture.h"
#include "ObjectNames.h"

#include <QAbstractButton>
#include <QAction>
#include <QTimer>

namespace brenvik::test {

void AppFixture::Trigger(const char* actionName) {
  if (QAction* a = Find<QAction>(&form(), QLatin1String(actionName))) a->trigger();
}

void AppFixture::Click(const char* buttonName) {
  if (QAbstractButton* b = Find<QAbstractButton>(&form(), QLatin1String(buttonName))) b->click();
}

void AppFixture::Process(const QString& sourceText) {
  source()->setPlainText(sourceText);
  Click(kProcessButton);
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << path.toStdString();
    return {};
  }
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

void PressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = QApplication::focusWidget();
  if (!target || target->window() != window->window()) target = window;
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(target, &press);
  QWidget* releaseTarget = QApplication::focusWidget() ? QApplication::focusWidget() : window;
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(releaseTarget, &release);
}

void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  Pump();
}

// Runs the application's event loop with a command that must end it. Right
// after the command a posted event ends the loop with 99: a command that ends
// the loop at once leaves that event unread (no further pass of the loop
// runs), one that does not makes the test fail at once instead of hanging.
// No clock is involved, so a busy machine cannot change the outcome.
int RunEventLoopWith(const std::function<void()>& command) {
  QObject guard;
  QTimer::singleShot(0, &guard, [&guard, command] {
    command();
    QMetaObject::invokeMethod(&guard, [] { QCoreApplication::exit(99); }, Qt::QueuedConnection);
  });
  const int status = QApplication::exec();
  QCoreApplication::removePostedEvents(&guard);
  return status;
}

}  // namespace brenvik::test
