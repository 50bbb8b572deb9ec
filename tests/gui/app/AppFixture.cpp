#include "AppFixture.h"
#include "ObjectNames.h"

#include <QAbstractButton>
#include <QAction>

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

}  // namespace brenvik::test
