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

using Colour = std::uint32_t;

struct ColourVector {
  double first = 0, second = 0, third = 0;  // RGB, HSB or CMY
  friend bool operator==(const ColourVector&, const ColourVector&) = default;
};

struct CmykVector {
  double cyan = 0, magenta = 0, yellow = 0, black = 0;  // percent
  friend bool operator==(const CmykVector&, const CmykVector&) = default;
};

struct CmykValues {
  std::int32_t cyan = 0, magenta = 0, yellow = 0, black = 0;
  friend bool operator==(const CmykValues&, const CmykValues&) = default;
};

// Round to nearest, halves to even.
double RoundHalfEven(double x);
// RoundHalfEven as an integer in [lo, hi], RangeError otherwise.
std::int64_t RoundChecked(double x, std::int64_t lo, std::int64_t hi);

ColourVector MakeRGB(double red, double green, double blue);
ColourVector MakeCMY(double cyan, double magenta, double yellow);
ColourVector MakeHSB(double hue, double saturation, double brightness);
CmykVector MakeCMYK(double cyan, double magenta, double yellow, double black);
ColourVector MakeGray(double level);

ColourVector SplitColour(Colour value);
Colour RGBToColour(const ColourVector& rgb);
Colour GrayToColour(double level);
ColourVector HueToRGB(double hue);
Colour HueToColour(double hue);
double RGBToHue(const ColourVector& rgb);
double VectorDistance(const ColourVector& a, const ColourVector& b);
bool SameVector(const ColourVector& a, const ColourVector& b);
bool IsGray(const ColourVector& rgb);

ColourVector RGBToHSB(const ColourVector& rgb);
ColourVector HSBToRGB(const ColourVector& hsb);
ColourVector ColourToHSB(Colour value);
Colour HSBToColour(const ColourVector& hsb);
ColourVector RGBToCMY(const ColourVector& rgb);
ColourVector CMYToRGB(const ColourVector& cmy);
ColourVector ColourToCMY(Colour value);
CmykVector RGBToCMYK(const ColourVector& rgb);
ColourVector CMYKToRGB(const CmykVector& cmyk);
CmykVector ColourToCMYK(Colour value);
CmykValues RoundCMYK(const CmykVector& cmyk);

std::string ColourToHex(Colour value);        // "RRGGBB", upper-case
std::string ColourToWebString(Colour value);  // "#RRGGBB"

// The 360-entry hue table (fully saturated, fully bright colour per degree).
const std::array<ColourVector, 360>& HueTable();

}  // namespace brenvik
