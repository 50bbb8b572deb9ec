#include "ui/platform/CommandGuard.h"

#include <QGuiApplication>
#include <QString>
#include <exception>

#include "core/text/Errors.h"
#include "ui/platform/Platform.h"

namespace brenvik {

void RunGuarded(QWidget* parent, const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    platform().ShowError(parent, QGuiApplication::applicationDisplayName(),
                         QString::fromStdString(ErrorBoxText(e.what())));
  }
}

}  // namespace brenvik
