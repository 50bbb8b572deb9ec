#pragma once
// Colour arithmetic of the colour chooser: colour values, RGB, HSB, CMY, CMYK
// and gray, and the web hex string. Pure functions, no windows.
//
// A colour value is 0x00BBGGRR: red in the low byte. Conversions from real to
// integer round to nearest with halves to even; out-of-range results raise
// RangeError.

#include <array>
#include <cstdint>
#include <string>

namespace brenvik {

using TColor = std::uint32_t;

struct TColorVector {
  double first = 0, second = 0, third = 0;  // RGB, HSB or CMY
  friend bool operator==(const TColorVector&, const TColorVector&) = default;
};

struct TCMYKVector {
  double cyan = 0, magenta = 0, yellow = 0, black = 0;  // percent
  friend bool operator==(const TCMYKVector&, const TCMYKVector&) = default;
};

struct TCMYKValues {
  std::int32_t cyan = 0, magenta = 0, yellow = 0, black = 0;
  friend bool operator==(const TCMYKValues&, const TCMYKValues&) = default;
};

// Round to nearest, halves to even.
double RoundHalfEven(double x);
// RoundHalfEven as an integer in [lo, hi], RangeError otherwise.
std::int64_t RoundChecked(double x, std::int64_t lo, std::int64_t hi);

TColorVector MakeRGB(double red, double green, double blue);
TColorVector MakeCMY(double cyan, double magenta, double yellow);
TColorVector MakeHSB(double hue, double saturation, double brightness);
TCMYKVector MakeCMYK(double cyan, double magenta, double yellow, double black);
TColorVector MakeGray(double level);

TColorVector SplitColor(TColor value);
TColor RGBToColor(const TColorVector& rgb);
TColor GrayToColor(double level);
TColorVector HueToRGB(double hue);
TColor HueToColor(double hue);
double RGBToHue(const TColorVector& rgb);
double VectorDistance(const TColorVector& a, const TColorVector& b);
bool SameVector(const TColorVector& a, const TColorVector& b);
bool IsGray(const TColorVector& rgb);

TColorVector RGBToHSB(const TColorVector& rgb);
TColorVector HSBToRGB(const TColorVector& hsb);
TColorVector ColorToHSB(TColor value);
TColor HSBToColor(const TColorVector& hsb);
TColorVector RGBToCMY(const TColorVector& rgb);
TColorVector CMYToRGB(const TColorVector& cmy);
TColorVector ColorToCMY(TColor value);
TCMYKVector RGBToCMYK(const TColorVector& rgb);
TColorVector CMYKToRGB(const TCMYKVector& cmyk);
TCMYKVector ColorToCMYK(TColor value);
TCMYKValues RoundCMYK(const TCMYKVector& cmyk);

std::string ColorToHex(TColor value);        // "RRGGBB", upper-case
std::string ColorToWebString(TColor value);  // "#RRGGBB"

// The 360-entry hue table (fully saturated, fully bright colour per degree).
const std::array<TColorVector, 360>& HueTable();

}  // namespace brenvik
