#pragma once
// Where a window goes on a screen that is smaller than its design.

#include <QMargins>
#include <QRect>

class QWidget;

namespace brenvik {

// The frame of a window that should stand at `frame`, on a screen whose
// available area (the screen less its panels) is `available`: unchanged
// where it fits; otherwise moved by the least amount that brings it into the
// area, and made smaller only in a direction in which it is larger than the
// whole area. An empty area leaves the frame as it is.
QRect FitOnScreen(const QRect& frame, const QRect& available);

// The frame the window manager's decorations are reckoned to add before the
// window is shown and its real frame is known: a sizeable border of 4 pixels
// and a caption of 19 above the client area.
inline constexpr QMargins kDesignFrameMargins{4, 23, 4, 4};

// The margins a window's frame adds to its client area: the real ones once
// the window manager has told them, kDesignFrameMargins until then.
QMargins FrameMarginsOf(const QWidget& window);

// Fits window (its frame from pos() and its size) into the available area of
// its screen by FitOnScreen; with mayShrink false it keeps its size and is
// only moved.
void FitWindowOnScreen(QWidget& window, bool mayShrink);

}  // namespace brenvik
