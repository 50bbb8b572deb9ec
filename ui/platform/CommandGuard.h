#pragma once
// Qt must not see an exception cross its event loop. Every event handler of
// the colour chooser runs its body through RunGuarded, which shows an error
// in the error box (the application's title as caption) and lets the program
// go on with whatever the handler had already changed.

#include <functional>

class QWidget;

namespace brenvik {

void RunGuarded(QWidget* parent, const std::function<void()>& body);

}  // namespace brenvik
