#pragma once
// The one error boundary of the program. Qt must not see an exception cross
// its event loop, so every command runs through RunCommand: an error ends
// the command and is shown in the error box (caption kApplicationTitle,
// error icon, OK, the message with a full stop added where ErrorBoxText
// says so); whatever the body had already changed stays changed, and the
// program goes on.
//
// One way for every window: a signal reaches a handler through Guarded at
// connect, so the handlers themselves are plain functions that throw.
// Event handlers (a mouse press, a change of the system colours) call
// RunCommand themselves, since no connection stands before them.

#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

namespace brenvik {

// The application's title: the error boxes' caption and the application name.
inline constexpr const char* kApplicationTitle = "Brenvik by Halvorsk";

// The text shown when memory runs out (the full stop is added as for any error).
inline constexpr const char* kOutOfMemoryMessage = "Mémoire insuffisante";

void RunCommand(QWidget* parent, const std::function<void()>& body);

// A slot for QObject::connect that runs body through RunCommand, the error
// box over parent. body takes the signal's arguments, or none.
template <class Body>
auto Guarded(QWidget* parent, Body body) {
  return [parent, body = std::move(body)](const auto&... args) {
    RunCommand(parent, [&] {
      if constexpr (std::is_invocable_v<const Body&, decltype(args)...>) {
        body(args...);
      } else {
        body();
      }
    });
  };
}

// The same for a handler of the window that takes no argument:
// connect(button, &QPushButton::clicked, this, Guarded(this, &MainWindow::process)).
template <class Window>
auto Guarded(Window* window, void (Window::*handler)()) {
  return Guarded(window, [window, handler] { (window->*handler)(); });
}

}  // namespace brenvik
