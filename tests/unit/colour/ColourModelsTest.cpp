// Colour arithmetic: rounding, colour values, the hue table and the HSB, CMY,
// CMYK and gray models.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/colour/ColourModels.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

Colour Rgb(int r, int g, int b) { return static_cast<Colour>(r | (g << 8) | (b << 16)); }

void ExpectVector(const ColourVector& actual, double a, double b, double c, const std::string& what) {
  EXPECT_DOUBLE_EQ(actual.first, a) << what;
  EXPECT_DOUBLE_EQ(actual.second, b) << what;
  EXPECT_DOUBLE_EQ(actual.third, c) << what;
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  const struct { double in, out; } cases[] = {
      {2.5, 2}, {3.5, 4}, {0.5, 0}, {1.5, 2}, {-2.5, -2}, {-3.5, -4},
      {127.5, 128}, {128.5, 128}, {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {255, 255},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(ColorValueTest, ComposeAndSplit) {
  ExpectVector(SplitColour(0x00996633), 0x33, 0x66, 0x99, "low byte is red");
  ExpectVector(SplitColour(0xFF996633), 0x33, 0x66, 0x99, "top byte ignored");
  EXPECT_EQ(RGBToColour(MakeRGB(0x33, 0x66, 0x99)), 0x00996633u);
  EXPECT_EQ(RGBToColour(MakeRGB(254.5, 0.5, 1.5)), Rgb(254, 0, 2));  // halves to even
  EXPECT_EQ(RGBToColour(MakeRGB(-0.5, 255.4, 0)), Rgb(0, 255, 0));   // still rounds into range
  EXPECT_EQ(GrayToColour(127.5), Rgb(128, 128, 128));
  EXPECT_EQ(GrayToColour(0), 0u);
}

TEST(ColorValueTest, OutOfRangeComponentsRaiseTheRangeError) {
  const ColourVector bad[] = {MakeRGB(-0.6, 0, 0), MakeRGB(0, 255.5, 0), MakeRGB(0, 0, 300),
                              MakeRGB(std::nan(""), 0, 0), MakeRGB(0, 0, std::numeric_limits<double>::infinity())};
  for (const auto& v : bad) EXPECT_THROW(RGBToColour(v), RangeError) << v.first << "," << v.second << "," << v.third;
  EXPECT_THROW(GrayToColour(255.5), RangeError);
  EXPECT_THROW(GrayToColour(-1), RangeError);
  EXPECT_THROW(HSBToColour(MakeHSB(0, 100, 101)), RangeError);  // brightness over 100 leaves 0-255
  EXPECT_THROW(RoundCMYK(MakeCMYK(0, 0, 3e9, 0)), RangeError);
  EXPECT_THROW(RoundCMYK(MakeCMYK(-2147483649.0, 0, 0, 0)), RangeError);
  EXPECT_EQ(RoundCMYK(MakeCMYK(2147483647.4, -2147483648.0, 49.5, 50.5)),
            (CmykValues{2147483647, -2147483647 - 1, 50, 50}));
}

TEST(ColorValueTest, WebStrings) {
  const struct { Colour value; const char* web; } cases[] = {
      {Rgb(0, 0, 0), "#000000"},          {Rgb(255, 255, 255), "#FFFFFF"},
      {Rgb(255, 0, 0), "#FF0000"},        {Rgb(0x33, 0x66, 0x99), "#336699"},
      {Rgb(0x00, 0x80, 0xFF), "#0080FF"}, {Rgb(0x0C, 0x0B, 0x0A), "#0C0B0A"},
      {0xAB996633u, "#336699"},           {Rgb(0xAB, 0xCD, 0xEF), "#ABCDEF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColourToWebString(c.value), c.web);
    EXPECT_EQ(ColourToHex(c.value), std::string(c.web + 1));
  }
}

TEST(HueTableTest, FollowsTheHexcone) {
  const auto& t = HueTable();
  const struct { int degree; double r, g, b; } cases[] = {
      {0, 255, 0, 0},       {1, 255, 4.25, 0},  {30, 255, 127.5, 0}, {59, 255, 250.75, 0},
      {60, 255, 255, 0},    {90, 127.5, 255, 0}, {120, 0, 255, 0},   {150, 0, 255, 127.5},
      {180, 0, 255, 255},   {210, 0, 127.5, 255}, {240, 0, 0, 255},  {270, 127.5, 0, 255},
      {300, 255, 0, 255},   {330, 255, 0, 127.5}, {359, 255, 0, 4.25},
  };
  for (const auto& c : cases) ExpectVector(t[c.degree], c.r, c.g, c.b, "degree " + std::to_string(c.degree));
  for (const auto& e : t) {
    for (double v : {e.first, e.second, e.third}) {
      EXPECT_EQ(v * 4, std::floor(v * 4));
      EXPECT_GE(v, 0);
      EXPECT_LE(v, 255);
    }
  }
}

TEST(HueTableTest, HueToRGBReducesAndRounds) {
  const auto& t = HueTable();
  const struct { double hue; int degree; } cases[] = {
      {-90, 270}, {720, 0}, {370, 10}, {-360, 0}, {-720.5, 0},  // 359.5 rounds to 360: degree 0 again
      {10.5, 10}, {11.5, 12}, {359.4, 359}, {359.5, 0}, {359.9, 0}, {-0.3, 0}, {1e6, 280},
  };
  for (const auto& c : cases) {
    const int degree = c.degree % 360;
    EXPECT_EQ(HueToRGB(c.hue), t[degree]) << c.hue;
    EXPECT_EQ(HueToColour(c.hue), RGBToColour(t[degree])) << c.hue;
  }
  EXPECT_THROW(HueToRGB(std::nan("")), RangeError);
}

TEST(HueTableTest, MakeHSBBringsTheHueIntoATurn) {
  const struct { double in, out; } cases[] = {{370, 10}, {-90, 270}, {720, 0}, {359.5, 359.5}, {-360, 0}, {45, 45}};
  for (const auto& c : cases) {
    const ColourVector hsb = MakeHSB(c.in, 40, 60);
    EXPECT_DOUBLE_EQ(hsb.first, c.out) << c.in;
    EXPECT_EQ(hsb.second, 40);
    EXPECT_EQ(hsb.third, 60);
  }
}

TEST(RGBToHueTest, NearestDegreeTiesGoToTheLowerOne) {
  const struct { ColourVector rgb; double hue; } cases[] = {
      {MakeRGB(255, 0, 0), 0},       {MakeRGB(255, 2.125, 0), 0},   // halfway between 0 and 1
      {MakeRGB(255, 2.2, 0), 1},     {MakeRGB(255, 6.375, 0), 1},   // halfway between 1 and 2
      {MakeRGB(0, 255, 0), 120},     {MakeRGB(0, 0, 255), 240},     {MakeRGB(255, 0, 2.125), 0},  // halfway between 359 and 0
      {MakeRGB(255, 0, 3), 359},
      {MakeRGB(255, 0, 1), 0},       {MakeRGB(0, 0, 0), 0},         {MakeRGB(127.5, 0, 255), 270},
  };
  for (const auto& c : cases) EXPECT_EQ(RGBToHue(c.rgb), c.hue) << c.rgb.first << "," << c.rgb.second << "," << c.rgb.third;
}

TEST(VectorTest, DistanceSameAndGray) {
  EXPECT_EQ(VectorDistance(MakeRGB(1, 2, 3), MakeRGB(4, 0, 3.5)), 5.5);
  EXPECT_TRUE(SameVector(MakeRGB(1, 2, 3), MakeRGB(1, 2, 3)));
  EXPECT_FALSE(SameVector(MakeRGB(1, 2, 3), MakeRGB(1, 2, 3.0000001)));
  EXPECT_TRUE(IsGray(MakeGray(77.5)));
  EXPECT_FALSE(IsGray(MakeRGB(10, 10, 11)));
  EXPECT_FALSE(IsGray(MakeRGB(10, 11, 10)));
}

TEST(HSBTest, RGBToHSBExamples) {
  const struct { ColourVector rgb; double h, s, b; } cases[] = {
      {MakeRGB(255, 255, 255), 0, 0, 100},
      {MakeRGB(0, 0, 0), 0, 0, 0},
      {MakeRGB(128, 128, 128), 0, 0, 100.0 * 128 / 255},
      {MakeRGB(255, 0, 0), 0, 100, 100},
      {MakeRGB(0, 255, 0), 120, 100, 100},
      {MakeRGB(0, 0, 255), 240, 100, 100},
      {MakeRGB(255, 255, 0), 60, 100, 100},
      {MakeRGB(128, 0, 0), 0, 100, 100.0 * 128 / 255},
      {MakeRGB(255, 128, 128), 0, 100.0 * 127 / 255, 100},  // light red: saturation from the spread
      {MakeRGB(255, 127.5, 0), 30, 100, 100},
  };
  for (const auto& c : cases) {
    const ColourVector hsb = RGBToHSB(c.rgb);
    EXPECT_DOUBLE_EQ(hsb.first, c.h) << c.rgb.first << "," << c.rgb.second << "," << c.rgb.third;
    EXPECT_DOUBLE_EQ(hsb.second, c.s) << c.rgb.first << "," << c.rgb.second << "," << c.rgb.third;
    EXPECT_DOUBLE_EQ(hsb.third, c.b) << c.rgb.first << "," << c.rgb.second << "," << c.rgb.third;
  }
  ExpectVector(ColourToHSB(Rgb(0, 0, 255)), 240, 100, 100, "ColorToHSB");
}

TEST(HSBTest, HSBToRGBExamples) {
  for (double h : {0.0, 45.0, 200.0, 359.0}) {
    ExpectVector(HSBToRGB(MakeHSB(h, 0, 100)), 255, 255, 255, "white");
    ExpectVector(HSBToRGB(MakeHSB(h, 0, 50)), 127.5, 127.5, 127.5, "half gray");
    EXPECT_EQ(HSBToColour(MakeHSB(h, 0, 50)), Rgb(128, 128, 128));
  }
  ExpectVector(HSBToRGB(MakeHSB(30, 100, 100)), 255, 127.5, 0, "hue 30");
  EXPECT_EQ(HSBToColour(MakeHSB(30, 100, 100)), Rgb(255, 128, 0));
  ExpectVector(HSBToRGB(MakeHSB(240, 50, 100)), 127.5, 127.5, 255, "half saturated blue");
  ExpectVector(HSBToRGB(MakeHSB(120, 100, 0)), 0, 0, 0, "no brightness");
}

TEST(HSBTest, RoundTripOverTheCubeStaysWithinOneHueStep) {
  // The hue is snapped to a whole degree (4.25 units on the hexcone), so a
  // component can move by at most half a step; the largest never moves.
  for (int r = 0; r <= 255; r += 15) {
    for (int g = 0; g <= 255; g += 15) {
      for (int b = 0; b <= 255; b += 15) {
        const ColourVector in = MakeRGB(r, g, b);
        const ColourVector out = HSBToRGB(RGBToHSB(in));
        const double err = std::max({std::fabs(out.first - r), std::fabs(out.second - g), std::fabs(out.third - b)});
        ASSERT_LE(err, 2.125 + 1e-9) << r << "," << g << "," << b;
        ASSERT_NEAR(std::max({out.first, out.second, out.third}), std::max({r, g, b}), 1e-9) << r << "," << g << "," << b;
        ASSERT_NEAR(std::min({out.first, out.second, out.third}), std::min({r, g, b}), 1e-9) << r << "," << g << "," << b;
      }
    }
  }
}

TEST(CMYTest, Inverse) {
  ExpectVector(RGBToCMY(MakeRGB(255, 0, 12.5)), 0, 255, 242.5, "RGBToCMY");
  ExpectVector(CMYToRGB(MakeCMY(0, 255, 242.5)), 255, 0, 12.5, "CMYToRGB");
  ExpectVector(ColourToCMY(Rgb(0x33, 0x66, 0x99)), 204, 153, 102, "ColorToCMY");
}

TEST(CMYKTest, Examples) {
  const struct { ColourVector rgb; CmykVector cmyk; } cases[] = {
      {MakeRGB(255, 255, 255), {0, 0, 0, 0}},
      {MakeRGB(0, 0, 0), {0, 0, 0, 100}},
      {MakeRGB(255, 0, 0), {0, 100, 100, 0}},
      {MakeRGB(128, 128, 128), {0, 0, 0, 100.0 * 127 / 255}},
      {MakeRGB(51, 102, 153), {100.0 * 102 / 255, 100.0 * 51 / 255, 0, 100.0 * 102 / 255}},
  };
  for (const auto& c : cases) {
    const CmykVector v = RGBToCMYK(c.rgb);
    EXPECT_DOUBLE_EQ(v.cyan, c.cmyk.cyan);
    EXPECT_DOUBLE_EQ(v.magenta, c.cmyk.magenta);
    EXPECT_DOUBLE_EQ(v.yellow, c.cmyk.yellow);
    EXPECT_DOUBLE_EQ(v.black, c.cmyk.black);
  }
  ExpectVector(CMYKToRGB(MakeCMYK(60, 0, 0, 60)), 0, 102, 102, "floored at 0");
  ExpectVector(CMYKToRGB(MakeCMYK(0, 0, 0, 50)), 127.5, 127.5, 127.5, "half black");
  ExpectVector(CMYKToRGB(MakeCMYK(100, 100, 100, 100)), 0, 0, 0, "all ink");
  EXPECT_EQ(RoundCMYK(ColourToCMYK(Rgb(128, 128, 128))), (CmykValues{0, 0, 0, 50}));
  EXPECT_EQ(RoundCMYK(ColourToCMYK(Rgb(255, 0, 0))), (CmykValues{0, 100, 100, 0}));
}

TEST(CMYKTest, RoundTripIsExactOnWholeNumbers) {
  for (int r = 0; r <= 255; r += 17) {
    for (int g = 0; g <= 255; g += 17) {
      for (int b = 0; b <= 255; b += 17) {
        const ColourVector out = CMYKToRGB(RGBToCMYK(MakeRGB(r, g, b)));
        ASSERT_NEAR(out.first, r, 1e-9) << r << "," << g << "," << b;
        ASSERT_NEAR(out.second, g, 1e-9) << r << "," << g << "," << b;
        ASSERT_NEAR(out.third, b, 1e-9) << r << "," << g << "," << b;
        ASSERT_EQ(RGBToColour(out), Rgb(r, g, b));
        ASSERT_EQ(RGBToColour(CMYToRGB(RGBToCMY(MakeRGB(r, g, b)))), Rgb(r, g, b));
      }
    }
  }
}

}  // namespace
}  // namespace brenvik
