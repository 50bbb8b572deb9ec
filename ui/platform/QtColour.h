#pragma once
// Colour values (0x00BBGGRR) to Qt colours and back.

#include <QColor>

#include "core/colour/ColourModels.h"

namespace brenvik {

inline QColor ToQColor(TColor value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

inline TColor FromQColor(const QColor& c) {
  return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 |
         static_cast<TColor>(c.blue()) << 16;
}

}  // namespace brenvik
