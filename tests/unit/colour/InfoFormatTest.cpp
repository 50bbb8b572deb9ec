#include <gtest/gtest.h>

#include "core/colour/InfoFormat.h"

namespace brenvik {
namespace {

TEST(FormatValues, NumberBaseAndSeparators) {
  const std::vector<std::string> names = {"Red", "Green", "Blue"};
  const struct {
    InfoFormat format;
    std::vector<double> values;
    const char* expected;
  } cases[] = {
      {{false, true, true, true}, {255, 0, 0}, "Red=255, Green=0, Blue=0"},
      {{true, true, true, true}, {255, 0, 0}, "Red=FF, Green=00, Blue=00"},
      {{true, true, true, true}, {5, 171, 4095}, "Red=05, Green=AB, Blue=FFF"},
      {{false, false, true, true}, {1, 2, 3}, "Red=1,Green=2,Blue=3"},
      {{false, true, false, true}, {1, 2, 3}, "Red=1 Green=2 Blue=3"},
      {{false, false, false, false}, {255, 0, 0}, "25500"},
      {{false, true, true, false}, {255, 0, 0}, "255, 0, 0"},
      {{true, false, false, false}, {255, 0, 0}, "FF0000"},
      // Halves round to even.
      {{false, true, true, false}, {2.5, 3.5, 127.5}, "2, 4, 128"},
      {{false, true, true, false}, {0.49, 254.51, 50.196}, "0, 255, 50"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatValues(names, c.values, c.format), c.expected);
}

TEST(FormatValues, SingleAndEmptyRows) {
  const InfoFormat defaults;
  EXPECT_EQ(FormatValues({"Brightness"}, {128}, defaults), "Brightness=128");
  EXPECT_EQ(FormatValues({}, {}, defaults), "");
  EXPECT_EQ(FormatValues({"Cyan", "Magenta", "Yellow", "Black"}, {0, 0, 0, 49.8}, defaults),
            "Cyan=0, Magenta=0, Yellow=0, Black=50");
}

}  // namespace
}  // namespace brenvik
