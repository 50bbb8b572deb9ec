#include "GuiTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace brenvik::test {

namespace {

// Polls armed by OnNextModal whose modal window has not shown yet.
std::vector<QPointer<QTimer>>& PendingPolls() {
  static std::vector<QPointer<QTimer>> polls;
  return polls;
}

void Forget(QTimer* poll) {
  auto& polls = PendingPolls();
  polls.erase(std::remove(polls.begin(), polls.end(), poll), polls.end());
}

}  // namespace

void OnNextModal(std::function<void(QWidget*)> action) {
  // A timer owned by the application polls whenever an event loop runs until
  // a modal window shows, then stops and deletes itself (a function that
  // rescheduled itself through a shared pointer to itself would never be
  // freed).
  auto* poll = new QTimer(qApp);
  PendingPolls().push_back(poll);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, action]() {
    poll->setInterval(10);
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
      poll->stop();
      poll->deleteLater();
      Forget(poll);
      action(modal);
    }
  });
  poll->start(0);
}

void FailForModalsNeverShown() {
  auto polls = std::move(PendingPolls());
  PendingPolls().clear();
  for (const QPointer<QTimer>& poll : polls) {
    if (!poll) continue;
    ADD_FAILURE() << "a modal window was expected (OnNextModal) but never shown";
    poll->stop();
    delete poll.data();
  }
}

void Click(QWidget* widget, QPoint pos) {
  const QPointF local(pos);
  const QPointF global(widget->mapToGlobal(pos));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

void KeyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(widget, &release);
}

void Pump(int rounds) {
  // Each round works until nothing is left to do, counted in passes of the
  // event dispatcher rather than in milliseconds (processEvents with a time
  // limit makes fewer passes on a busy machine). A timer that fires on every
  // pass ends a round after 100 passes.
  QAbstractEventDispatcher* dispatcher = QCoreApplication::eventDispatcher();
  for (int i = 0; i < rounds; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int pass = 0; pass < 100 && dispatcher->processEvents(QEventLoop::AllEvents); ++pass) {
    }
  }
}

void ReportMissingChild(QObject* parent, const QString& name) {
  ADD_FAILURE() << "no child named " << name.toStdString() << " in "
                << parent->objectName().toStdString();
}

}  // namespace brenvik::test
