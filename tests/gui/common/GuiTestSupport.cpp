#include "GuiTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace brenvik::test {

void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs) {
  // A timer owned by the application polls until a modal window shows or the
  // time is up, then stops and deletes itself (a function that rescheduled
  // itself through a shared pointer to itself would never be freed).
  auto* poll = new QTimer(qApp);
  QElapsedTimer elapsed;
  elapsed.start();
  QObject::connect(poll, &QTimer::timeout, poll, [poll, action, elapsed, timeoutMs]() {
    poll->setInterval(10);
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
      poll->stop();
      poll->deleteLater();
      action(modal);
      return;
    }
    if (elapsed.elapsed() > timeoutMs) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "no modal window appeared within " << timeoutMs << " ms";
    }
  });
  poll->start(0);
}

void Click(QWidget* widget, QPoint pos) {
  const QPointF local(pos);
  const QPointF global(widget->mapToGlobal(pos));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
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
