// Word halving, the digit test and gap padding.

#include <gtest/gtest.h>


#include "core/ctest/TestGen.h"

namespace brenvik {
namespace {

TEST(HalveWord, KeptAndDeletedParts) {
  struct Case {
    Text word;
    std::size_t index;
    Text left;
    Text right;
  };
  const Case cases[] = {
      {U"a", 1, U"a", U""},
      {U"I", 1, U"I", U""},
      {U"is", 1, U"i", U"s"},
      {U"cat", 1, U"c", U"at"},
      {U"house", 1, U"ho", U"use"},
      {U"house", 2, U"house", U""},
      {U"house", 0, U"house", U""},
      {U"house", 1000001, U"ho", U"use"},
      {U"2002", 1, U"2002", U""},
      {U"B52", 1, U"B52", U""},
      {U"3rd", 1, U"3rd", U""},
      {U"(see)", 1, U"(s", U"ee)"},
      {U"", 1, U"", U""},
      {U"", 2, U"", U""},
      {U"a\tb", 1, U"a", U"\tb"},
      // One element per character, whatever the script.
      {U"żółw", 1, U"żó", U"łw"},
      {U"λόγος", 3, U"λό", U"γος"},
      {U"слово", 5, U"сл", U"ово"},
      {U"ż", 1, U"ż", U""},
      // Any decimal digit keeps a word whole; a superscript is no digit.
      {U"١٢٣", 1, U"١٢٣", U""},
      {U"²x", 1, U"²", U"x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.word) + " at " + std::to_string(c.index));
    EXPECT_EQ(Text(GetLeftHalfWord(c.word, c.index)), c.left);
    EXPECT_EQ(Text(GetRightHalfWord(c.word, c.index)), c.right);
  }
}

TEST(ContainsFigures, AnyCharacterOfTheSet) {
  struct Case {
    Text s;
    Text set;
    bool expected;
  };
  const Case cases[] = {
      {U"abc", Text(DigitChars), false}, {U"a1", Text(DigitChars), true},
      {U"", Text(DigitChars), false},    {U"9", Text(DigitChars), true},
      {U"abc", U"", false},              {U"xyz", U"z", true},
      {U"żółw", U"ł", true},             {U"٣", Text(DigitChars), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ContainsFigures(c.s, c.set), c.expected) << ToUtf8(c.s) << " / " << ToUtf8(c.set);
  }
}

TEST(Pad, UnderscoresForPositiveCountsOnly) {
  EXPECT_EQ(Pad(3), U"___");
  EXPECT_EQ(Pad(1), U"_");
  EXPECT_EQ(Pad(0), U"");
  EXPECT_EQ(Pad(-5), U"");
  EXPECT_EQ(Pad(100000).size(), 100000u);
}


}  // namespace
}  // namespace brenvik
