#include "GuiTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace brenvik::test {

void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs) {
  auto timer = std::make_shared<QElapsedTimer>();
  timer->start();
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [action, timer, timeoutMs, poll]() {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
      action(modal);
      return;
    }
    if (timer->elapsed() > timeoutMs) {
      ADD_FAILURE() << "no modal window appeared within " << timeoutMs << " ms";
      return;
    }
    QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

void ReportMissingChild(QObject* parent, const QString& name) {
  ADD_FAILURE() << "no child named " << name.toStdString() << " in "
                << parent->objectName().toStdString();
}

}  // namespace brenvik::test
