#include "ui/app/ScreenFit.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace brenvik {

QRect FitOnScreen(const QRect& frame, const QRect& available) {
  if (available.isEmpty() || frame.isEmpty()) return frame;
  const int width = std::min(frame.width(), available.width());
  const int height = std::min(frame.height(), available.height());
  // The left or top edge may move right or down onto the area, then back
  // left or up until the right or bottom edge is in it too.
  const int left = std::clamp(frame.left(), available.left(), available.left() + available.width() - width);
  const int top = std::clamp(frame.top(), available.top(), available.top() + available.height() - height);
  return QRect(left, top, width, height);
}

QMargins FrameMarginsOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  if (frame == client) return kDesignFrameMargins;
  return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                  frame.bottom() - client.bottom());
}

void FitWindowOnScreen(QWidget& window, bool mayShrink) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  const QMargins margins = FrameMarginsOf(window);
  const QRect frame(window.pos(), window.size().grownBy(margins));
  const QRect fitted = FitOnScreen(frame, screen->availableGeometry());
  if (fitted == frame) return;
  window.move(fitted.topLeft());
  if (mayShrink && fitted.size() != frame.size()) window.resize(fitted.size().shrunkBy(margins));
}

}  // namespace brenvik
