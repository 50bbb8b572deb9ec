#pragma once
// Helpers for driving windows in GUI tests without a person.

#include <QString>
#include <QWidget>
#include <functional>
#include <ostream>

// Readable test failures for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace brenvik::test {

// Runs action on the active modal widget as soon as one is shown (polling the
// event loop from a timer). Use it just before a call that runs a modal loop.
// There is no time limit, so a slow machine cannot make it give up early:
// the poll acts inside the modal loop it waits for, and a test that ends
// without that modal window having been shown fails (see
// FailForModalsNeverShown).
void OnNextModal(std::function<void(QWidget*)> action);

// Fails the current test once for each OnNextModal whose modal window never
// showed, and cancels those polls. gui_main runs it at the end of every test.
void FailForModalsNeverShown();

// A real left click (press and release) at a widget position.
void Click(QWidget* widget, QPoint pos);

// A key press and release sent to widget; a key it does not take goes on
// to its parents, as a typed key does.
void KeyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Processes pending events (paint, deferred deletes, queued signals) until
// none is left, the same on a busy machine as on an idle one.
void Pump(int rounds = 3);

void ReportMissingChild(QObject* parent, const QString& name);

// The child of parent with the given objectName and type; fails the test when missing.
template <typename T>
T* Find(QObject* parent, const QString& name) {
  T* w = parent->findChild<T*>(name);
  if (!w) ReportMissingChild(parent, name);
  return w;
}

}  // namespace brenvik::test
