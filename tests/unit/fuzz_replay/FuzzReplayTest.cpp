// Runs every stored fuzz input (the seed corpus and the inputs that once
// found a fault) through the same property checks as the fuzz targets, so
// the normal build keeps them passing without clang or libFuzzer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "fuzz/FuzzChecks.h"
#include "fuzz/GraphemeCheck.h"

namespace brenvik::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzDir = fs::path(BRENVIK_FIXTURES) / ".." / ".." / "fuzz";

struct Target {
  const char* name;
  std::function<void(std::string_view)> check;
};

class Replay : public testing::TestWithParam<Target> {};

TEST_P(Replay, StoredInputsKeepTheirProperties) {
  const Target& target = GetParam();
  int inputs = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path dir = kFuzzDir / kind / target.name;
    if (!fs::is_directory(dir)) continue;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      ++inputs;
      try {
        target.check(bytes.str());
      } catch (const CheckFailure& e) {
        ADD_FAILURE() << entry.path() << ": " << e.what();
      }
    }
  }
  EXPECT_GT(inputs, 0) << "no stored input for " << target.name;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay,
                         testing::Values(Target{"codepage", CheckCodePage}, Target{"generate", CheckGenerate},
                                         Target{"graphemes", CheckGraphemes},
                                         Target{"page", CheckPage}, Target{"replace", CheckReplace},
                                         Target{"testfile", CheckTestFile}),
                         [](const testing::TestParamInfo<Target>& p) { return std::string(p.param.name); });

// The checks themselves must be able to fail: a property that a wrong
// result breaks is reported.
TEST(FuzzChecks, DetectBrokenProperties) {
  EXPECT_FALSE(LineEndsAreCrLf(U"a\nb"));
  EXPECT_FALSE(LineEndsAreCrLf(U"a\r"));
  EXPECT_TRUE(LineEndsAreCrLf(U"a\r\nb\r\n"));
  EXPECT_EQ(JsUnescape(U"%61%u0142%uD83D%uDE00%2%zz%"), u"a\u0142\U0001F600%2%zz%");
  Text out;
  EXPECT_TRUE(NaiveRescan(U"aabb", U"ab", U"", 10, out));
  EXPECT_EQ(out, U"");
  EXPECT_FALSE(NaiveRescan(U"a", U"a", U"aa", 10, out));
  EXPECT_EQ(NaiveOnePass(U"aaaa", U"aa", U"a"), U"aa");
  EXPECT_EQ(ref::FirstSentenceLength(U"Hi! How"), 4u);
  EXPECT_EQ(ref::FirstSentenceLength(Text(5003, U'x')), 5000u);
}

}  // namespace
}  // namespace brenvik::fuzz
