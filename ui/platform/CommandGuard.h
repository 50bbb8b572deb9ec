#pragma once
// The one error boundary of the program. Qt must not see an exception cross
// its event loop, so every command handler, in every window, runs its body
// through RunCommand: an error ends the command and is shown in the error box
// (caption kApplicationTitle, error icon, OK, the message with a full stop
// added where ErrorBoxText says so); whatever the body had already changed
// stays changed, and the program goes on.

#include <functional>

class QWidget;

namespace brenvik {

// The application's title: the error boxes' caption and the application name.
inline constexpr const char* kApplicationTitle = "Brenvik by Halvorsk";

// The text shown when memory runs out (the full stop is added as for any error).
inline constexpr const char* kOutOfMemoryMessage = "Mémoire insuffisante";

void RunCommand(QWidget* parent, const std::function<void()>& body);

}  // namespace brenvik
