#pragma once
// Small helpers shared by the slider pages of the colour chooser: colour
// value to QColor, checked rounding, and the fixed gradient strips.

#include <QColor>

#include "core/colour/ColourModels.h"
#include "ui/platform/QtColour.h"

class QPainter;

namespace brenvik {

// Rounds halves to even; a result outside the 32-bit range is the range error.
int RoundToInt(double x);

// The fixed strips: one vertical line per pixel column x of a strip w wide.
enum class StripKind { Red, Green, Blue, Cyan, Magenta, Yellow, Black, Gray };
// The colour of column x.
Colour StripColumnColour(StripKind kind, int x, int w);
void PaintStrip(QPainter& p, StripKind kind, int w, int h);

}  // namespace brenvik
