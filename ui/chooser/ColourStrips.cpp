#include "ui/chooser/ColourStrips.h"

#include <QPainter>
#include <cstdint>
#include <limits>

namespace brenvik {

int RoundToInt(double x) {
  return static_cast<int>(RoundChecked(x, std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max()));
}

namespace {
// The base colour scaled by level / 255, each component rounded.
Colour Scaled(const ColourVector& base, int level) {
  return RGBToColour(MakeRGB(RoundHalfEven(level * base.first / 255), RoundHalfEven(level * base.second / 255),
                            RoundHalfEven(level * base.third / 255)));
}
}  // namespace

Colour StripColumnColour(StripKind kind, int x, int w) {
  const int v = x * 255 / w;
  switch (kind) {
    case StripKind::Red: return Scaled(MakeRGB(255, 0, 0), v);
    case StripKind::Green: return Scaled(MakeRGB(0, 255, 0), v);
    case StripKind::Blue: return Scaled(MakeRGB(0, 0, 255), v);
    case StripKind::Cyan: return RGBToColour(MakeRGB(255 - v, 255, 255));
    case StripKind::Magenta: return RGBToColour(MakeRGB(255, 255 - v, 255));
    case StripKind::Yellow: return RGBToColour(MakeRGB(255, 255, 255 - v));
    case StripKind::Black: return GrayToColour((w - x) * 255 / w);
    case StripKind::Gray: return GrayToColour(v);
  }
  return 0;
}

void PaintStrip(QPainter& p, StripKind kind, int w, int h) {
  for (int x = 0; x < w; ++x) p.fillRect(x, 0, 1, h, ToQColour(StripColumnColour(kind, x, w)));
}

}  // namespace brenvik
