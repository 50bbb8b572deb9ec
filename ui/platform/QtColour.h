#pragma once
// Colour values (0x00BBGGRR) to Qt colours and back.

#include <QColor>

#include "core/colour/ColourModels.h"

namespace brenvik {

inline QColor ToQColour(Colour value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

inline Colour FromQColour(const QColor& c) {
  return static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 |
         static_cast<Colour>(c.blue()) << 16;
}

}  // namespace brenvik
