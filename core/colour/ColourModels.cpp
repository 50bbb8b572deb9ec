#include "core/colour/ColourModels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/text/Errors.h"

namespace brenvik {

namespace {

// Hue reduced into [0, 360) the way MakeHSB and HueToRGB do it: subtract the
// whole turns (truncated towards zero), then lift a negative rest once.
double ReduceHue(double hue) {
  double h = hue - 360.0 * std::trunc(hue / 360.0);
  if (h < 0) h += 360.0;
  return h;
}

std::array<ColourVector, 360> BuildHueTable() {
  std::array<ColourVector, 360> table{};
  for (int h = 0; h < 360; ++h) {
    const double step = 4.25 * (h % 60);
    switch (h / 60) {
      case 0: table[h] = {255, step, 0}; break;
      case 1: table[h] = {255 - step, 255, 0}; break;
      case 2: table[h] = {0, 255, step}; break;
      case 3: table[h] = {0, 255 - step, 255}; break;
      case 4: table[h] = {step, 0, 255}; break;
      default: table[h] = {255, 0, 255 - step}; break;
    }
  }
  return table;
}

Colour Compose(std::int64_t red, std::int64_t green, std::int64_t blue) {
  return static_cast<Colour>((red & 0xFF) + (green & 0xFF) * 256 + (blue & 0xFF) * 65536);
}

}  // namespace

double RoundHalfEven(double x) {
  // The default floating-point rounding mode rounds to nearest, ties to even.
  return std::nearbyint(x);
}

std::int64_t RoundChecked(double x, std::int64_t lo, std::int64_t hi) {
  if (!std::isfinite(x)) throw RangeError();
  const double r = RoundHalfEven(x);
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) throw RangeError();
  return static_cast<std::int64_t>(r);
}

const std::array<ColourVector, 360>& HueTable() {
  static const std::array<ColourVector, 360> table = BuildHueTable();
  return table;
}

ColourVector MakeRGB(double red, double green, double blue) { return {red, green, blue}; }
ColourVector MakeCMY(double cyan, double magenta, double yellow) { return {cyan, magenta, yellow}; }
ColourVector MakeHSB(double hue, double saturation, double brightness) {
  return {ReduceHue(hue), saturation, brightness};
}
CmykVector MakeCMYK(double cyan, double magenta, double yellow, double black) {
  return {cyan, magenta, yellow, black};
}
ColourVector MakeGray(double level) { return {level, level, level}; }

ColourVector SplitColour(Colour value) {
  return {static_cast<double>(value & 0xFF), static_cast<double>((value >> 8) & 0xFF),
          static_cast<double>((value >> 16) & 0xFF)};
}

Colour RGBToColour(const ColourVector& rgb) {
  const std::int64_t red = RoundChecked(rgb.first, 0, 255);
  const std::int64_t green = RoundChecked(rgb.second, 0, 255);
  const std::int64_t blue = RoundChecked(rgb.third, 0, 255);
  return Compose(red, green, blue);
}

Colour GrayToColour(double level) {
  const std::int64_t v = RoundChecked(level, 0, 255);
  return Compose(v, v, v);
}

ColourVector HueToRGB(double hue) {
  if (!std::isfinite(hue)) throw RangeError();
  double h = ReduceHue(hue);
  if (h >= 360.0) h -= 360.0;
  std::int64_t degree = RoundChecked(h, 0, 360);
  // 359.5 and above round to 360: that is degree 0 again.
  if (degree == 360) degree = 0;
  return HueTable()[static_cast<std::size_t>(degree)];
}

Colour HueToColour(double hue) { return RGBToColour(HueToRGB(hue)); }

double RGBToHue(const ColourVector& rgb) {
  const auto& table = HueTable();
  double best = 765;
  int bestDegree = 0;
  for (int i = 0; i < 360; ++i) {
    const double d = VectorDistance(table[i], rgb);
    if (d < best) {  // strictly smaller: ties keep the lower degree
      best = d;
      bestDegree = i;
    }
  }
  return bestDegree;
}

double VectorDistance(const ColourVector& a, const ColourVector& b) {
  return std::fabs(a.first - b.first) + std::fabs(a.second - b.second) + std::fabs(a.third - b.third);
}

bool SameVector(const ColourVector& a, const ColourVector& b) {
  return a.first == b.first && a.second == b.second && a.third == b.third;
}

bool IsGray(const ColourVector& rgb) { return rgb.first == rgb.second && rgb.first == rgb.third; }

ColourVector RGBToHSB(const ColourVector& rgb) {
  if (rgb.first == 255 && rgb.second == 255 && rgb.third == 255) return {0, 0, 100};

  // Every result is computed from the input components in one division, not
  // through a copy scaled to 255 first: with whole-number components the
  // products are exact, so the one rounding of the division cannot push a
  // value across a half (61.5 stays 61.5) or off an exact hue tie.
  const double c[3] = {rgb.first, rgb.second, rgb.third};
  const double top = std::max({c[0], c[1], c[2]});
  const double low = std::min({c[0], c[1], c[2]});
  if (top <= 0) return {0, 0, 0};  // black

  const double brightness = 100.0 * top / 255.0;
  // Scaling so that the largest becomes 255 and then spreading from the
  // smallest to 255 turn the spread (top - low) / top into a percentage.
  const double saturation = 100.0 * (top - low) / top;
  // The hue comes from the fully saturated colour: the smallest component 0,
  // the largest 255, the middle one 255 * (X - low) / (top - low). Equal
  // components test the smallest first, so a gray is all 0.
  double spread[3];
  for (int i = 0; i < 3; ++i) {
    if (c[i] == low) {
      spread[i] = 0;
    } else if (c[i] == top) {
      spread[i] = 255;
    } else {
      spread[i] = 255.0 * (c[i] - low) / (top - low);
    }
  }
  return {RGBToHue({spread[0], spread[1], spread[2]}), saturation, brightness};
}

ColourVector HSBToRGB(const ColourVector& hsb) {
  const double s = hsb.second;
  const double br = hsb.third;
  if (s == 0 && br == 100) return {255, 255, 255};
  const ColourVector t = HueToRGB(hsb.first);
  auto component = [&](double v) { return (v + (100.0 - s) * (255.0 - v) / 100.0) * br / 100.0; };
  return {component(t.first), component(t.second), component(t.third)};
}

ColourVector ColourToHSB(Colour value) { return RGBToHSB(SplitColour(value)); }
Colour HSBToColour(const ColourVector& hsb) { return RGBToColour(HSBToRGB(hsb)); }

ColourVector RGBToCMY(const ColourVector& rgb) { return {255 - rgb.first, 255 - rgb.second, 255 - rgb.third}; }
ColourVector CMYToRGB(const ColourVector& cmy) { return {255 - cmy.first, 255 - cmy.second, 255 - cmy.third}; }
ColourVector ColourToCMY(Colour value) { return RGBToCMY(SplitColour(value)); }

CmykVector RGBToCMYK(const ColourVector& rgb) {
  const double c = 255 - rgb.first;
  const double m = 255 - rgb.second;
  const double y = 255 - rgb.third;
  double k = m;
  if (c < k) k = c;
  if (y < k) k = y;
  return {(c - k) * 100.0 / 255.0, (m - k) * 100.0 / 255.0, (y - k) * 100.0 / 255.0, 100.0 * k / 255.0};
}

ColourVector CMYKToRGB(const CmykVector& cmyk) {
  auto component = [&](double ink) { return std::max(0.0, 255.0 - (ink + cmyk.black) * 255.0 / 100.0); };
  return {component(cmyk.cyan), component(cmyk.magenta), component(cmyk.yellow)};
}

CmykVector ColourToCMYK(Colour value) { return RGBToCMYK(SplitColour(value)); }

CmykValues RoundCMYK(const CmykVector& cmyk) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  return {static_cast<std::int32_t>(RoundChecked(cmyk.cyan, lo, hi)),
          static_cast<std::int32_t>(RoundChecked(cmyk.magenta, lo, hi)),
          static_cast<std::int32_t>(RoundChecked(cmyk.yellow, lo, hi)),
          static_cast<std::int32_t>(RoundChecked(cmyk.black, lo, hi))};
}

std::string ColourToHex(Colour value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%2.2X%2.2X%2.2X", static_cast<unsigned>(value & 0xFF),
                static_cast<unsigned>((value >> 8) & 0xFF), static_cast<unsigned>((value >> 16) & 0xFF));
  return buffer;
}

std::string ColourToWebString(Colour value) { return "#" + ColourToHex(value); }

}  // namespace brenvik
