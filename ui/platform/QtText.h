#pragma once
// Conversions between the program's Text and Qt strings. Qt text boxes hold
// LF between lines; the rest of the program sees CR LF.

#include <QString>

#include "core/text/Text.h"

namespace brenvik {

inline QString ToQString(TextView text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}
inline Text FromQString(const QString& s) { return s.toStdU32String(); }

// Box text (LF) to program text (CR LF), and back.
Text FromBoxText(const QString& boxText);
QString ToBoxText(TextView text);

}  // namespace brenvik
