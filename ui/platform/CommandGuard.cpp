#include "ui/platform/CommandGuard.h"

#include <QString>
#include <exception>
#include <new>
#include <string>

#include "core/text/Errors.h"
#include "ui/platform/Platform.h"

namespace brenvik {

void RunCommand(QWidget* parent, const std::function<void()>& body) {
  std::string message;
  try {
    body();
    return;
  } catch (const std::bad_alloc&) {
    message = kOutOfMemoryMessage;
  } catch (const std::exception& e) {
    message = e.what();
  }
  platform().showError(parent, QString::fromUtf8(kApplicationTitle), QString::fromStdString(ErrorBoxText(message)));
}

}  // namespace brenvik
