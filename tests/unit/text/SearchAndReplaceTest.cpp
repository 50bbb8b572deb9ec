// SearchAndReplace: the rescanning rule, its examples, random inputs
// against a naive version, and inputs that would never end if rescanned.

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "core/text/SearchAndReplace.h"

namespace brenvik {
namespace {

// The rule as stated: replace the leftmost occurrence, search again from the
// start. nullopt when it has not finished after maxSteps replacements.
std::optional<Text> RescanByTheRule(Text s, TextView pattern, TextView replacement,
                                    int maxSteps) {
  if (pattern.empty()) return s;
  for (int step = 0; step <= maxSteps; ++step) {
    const std::size_t p = s.find(pattern);
    if (p == Text::npos) return s;
    s.replace(p, pattern.size(), replacement);
  }
  return std::nullopt;
}

Text OnePass(TextView s, TextView pattern, TextView replacement) {
  Text out;
  std::size_t from = 0;
  for (std::size_t p = s.find(pattern); p != TextView::npos; p = s.find(pattern, from)) {
    out.append(s.substr(from, p - from)).append(replacement);
    from = p + pattern.size();
  }
  return out.append(s.substr(from));
}

TEST(SearchAndReplace, Examples) {
  struct Case {
    Text s;
    Text pattern;
    Text replacement;
    Text expected;
  };
  const Case cases[] = {
      {U"hello", U"l", U"%6C", U"he%6C%6Co"},
      {U"line\r\nnext", U"\r\n", U"<BR>", U"line<BR>next"},
      {U"a\r\n\r\nb\r\n", U"\r\n", U"<BR>", U"a<BR><BR>b<BR>"},
      {U"hello", U"", U"x", U"hello"},
      {U"", U"a", U"b", U""},
      {U"Hello", U"h", U"%68", U"Hello"},  // case matters
      // Occurrences made by an earlier replacement are replaced too.
      {U"aabb", U"ab", U"", U""},
      {U"aaaa", U"aa", U"a", U"a"},
      {U"xaabbx", U"ab", U"", U"xx"},
      {U"abcabc", U"bc", U"b", U"abab"},
      {U"aXbYb", U"b", U"", U"aXY"},
      {U"ab", U"ab", U"ba", U"ba"},
      {U"aab", U"ab", U"ba", U"baa"},
      // Non-ASCII characters compare as whole characters.
      {U"żaba żaba", U"ż", U"%u017C", U"%u017Caba %u017Caba"},
      // A replacement containing the pattern would never finish: one pass.
      {U"aXa", U"a", U"aa", U"aaXaa"},
      {U"abab", U"ab", U"xaby", U"xabyxaby"},
      // Regrows the pattern forever though the replacement does not contain
      // it; must still finish.
      {U"aaba", U"aba", U"baab", U"abaab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.s) + " / " + ToUtf8(c.pattern) + " / " + ToUtf8(c.replacement));
    EXPECT_EQ(SearchAndReplace(c.s, c.pattern, c.replacement), c.expected);
  }
}

// Random short strings over a small alphabet, where occurrences keep forming
// again: the result must be what replacing and searching from the start
// gives whenever that finishes, and one pass when the replacement holds the
// pattern.
TEST(SearchAndReplace, MatchesTheRescanningRuleOnRandomInput) {
  std::mt19937 rng(77);
  auto randomText = [&](std::size_t maxLength) {
    Text t(rng() % (maxLength + 1), U'a');
    for (char32_t& c : t) c = U"abc"[rng() % 3];
    return t;
  };
  int compared = 0;
  for (int round = 0; round < 60000; ++round) {
    const Text s = randomText(12);
    Text pattern = randomText(3);
    if (pattern.empty()) pattern = U"a";
    const Text replacement = randomText(4);
    SCOPED_TRACE(ToUtf8(s) + " / " + ToUtf8(pattern) + " / " + ToUtf8(replacement));
    const Text result = SearchAndReplace(s, pattern, replacement);
    if (replacement.find(pattern) != Text::npos) {
      ASSERT_EQ(result, OnePass(s, pattern, replacement));
    } else if (auto expected = RescanByTheRule(s, pattern, replacement, 2000)) {
      ASSERT_EQ(result, *expected);
      ++compared;
    }
  }
  EXPECT_GT(compared, 40000);
}

// Inputs on which rescanning from the start is quadratic or worse: such an
// implementation would take minutes here instead of a fraction of a second.
// The time is measured in bench/bench_generate, never asserted in a test.
TEST(SearchAndReplace, LargeAndPathologicalInputs) {
  Text crlf;
  Text br;
  for (int i = 0; i < 1000000; ++i) {
    crlf += U"x\r\n";
    br += U"x<BR>";
  }
  EXPECT_EQ(SearchAndReplace(crlf, U"\r\n", U"<BR>"), br);

  EXPECT_EQ(SearchAndReplace(Text(400000, U'a'), U"aa", U"a"), U"a");
  EXPECT_EQ(SearchAndReplace(Text(200000, U'a') + Text(200000, U'b'), U"ab", U""), U"");
  EXPECT_EQ(SearchAndReplace(Text(200000, U'a') + U"c" + Text(200000, U'b'), U"ab", U""),
            Text(200000, U'a') + U"c" + Text(200000, U'b'));
  // A long pattern that nearly matches everywhere.
  const Text longPattern = Text(999, U'a') + U"b";
  EXPECT_EQ(SearchAndReplace(Text(300000, U'a'), longPattern, U""), Text(300000, U'a'));
  EXPECT_EQ(SearchAndReplace(Text(300000, U'a') + U"b", longPattern, U""),
            Text(300000 - 999, U'a'));
  // Endless regrowth stops within its budget.
  EXPECT_FALSE(SearchAndReplace(U"aaba" + Text(100000, U'b'), U"aba", U"baab").empty());
  EXPECT_FALSE(SearchAndReplace(U"aab", U"ab", U"bbaa").empty());
}

}  // namespace
}  // namespace brenvik
