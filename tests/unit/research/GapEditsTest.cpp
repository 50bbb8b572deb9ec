// The gap editor's routines on a text of the core (core/test/GapEdits):
// which edits they leave, what the text then has, and what they refuse.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/test/GapEdits.h"
#include "core/test/GenerateText.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

// "This is a test." is the first sentence; the rule halves every second
// word after it: cat, on, mat, then, ran.
constexpr char32_t kSource[] = U"This is a test. The cat sat on the mat and then it ran away.";

struct Session {
  TestText text{U"T", kSource, {}, {}};
  GeneratedText made = GenerateText(text);
  RemakeText remake() {
    return [this]() -> const TestWorkspace& {
      made = GenerateText(text);
      return made.workspace;
    };
  }
  std::size_t index(TextView word, int nth = 1) const {
    for (std::size_t i = 0; i < made.workspace.RightHalves.size(); ++i) {
      if (made.workspace.WordList[i] == word && --nth == 0) return i;
    }
    ADD_FAILURE() << "no such word";
    return 0;
  }
};

TEST(GapEdits, SwitchingLeavesOnlyTheEditsThatSaySomething) {
  const struct {
    const char* what;
    std::vector<std::pair<std::u32string, bool>> steps;  // word, gap on
    std::vector<WordEdit> edits;
    std::u32string gapWords;  // the words with a gap afterwards, joined by spaces
  } kCases[] = {
      {"off", {{U"cat", false}}, {{U"cat", 1, GapSwitch::Off, {}}}, U"on mat then ran"},
      {"off and on again: no edit", {{U"cat", false}, {U"cat", true}}, {}, U"cat on mat then ran"},
      {"on where the rule leaves it whole", {{U"sat", true}}, {{U"sat", 1, GapSwitch::On, {}}},
       U"cat sat on mat then ran"},
      // Off is kept: should the text change so that the rule halves the
      // word, it stays whole.
      {"on and off again: off", {{U"sat", true}, {U"sat", false}}, {{U"sat", 1, GapSwitch::Off, {}}},
       U"cat on mat then ran"},
      {"already so: nothing", {{U"cat", true}, {U"sat", false}}, {}, U"cat on mat then ran"},
  };
  for (const auto& c : kCases) {
    Session s;
    for (const auto& [word, on] : c.steps) {
      (void)SetWordGap(s.text, s.made.workspace, s.index(word), on, s.remake());
    }
    EXPECT_EQ(s.text.edits, c.edits) << c.what;
    std::u32string gaps;
    for (std::size_t i = 0; i < s.made.workspace.RightHalves.size(); ++i) {
      if (!WordHasGap(s.made.workspace, i)) continue;
      gaps += (gaps.empty() ? U"" : U" ") + std::u32string(s.made.workspace.WordList[i]);
    }
    EXPECT_EQ(gaps, c.gapWords) << c.what;
  }
}

TEST(GapEdits, AWordTheOptionsHoldIsRefusedAndNothingChanges) {
  Session s;
  s.text.options.gapLimit = 2;
  s.made = GenerateText(s.text);
  const std::size_t ran = s.index(U"ran");
  EXPECT_FALSE(WordHasGap(s.made.workspace, ran));
  EXPECT_THROW(SetWordGap(s.text, s.made.workspace, ran, true, s.remake()), BrenvikError);
  EXPECT_TRUE(s.text.edits.empty());
  EXPECT_FALSE(WordHasGap(s.made.workspace, ran));
  // One letter cannot be halved: the generation's own error, the edits as they were.
  Session one;
  one.text.source = U"This is a test. A cat sat on a mat.";
  one.made = GenerateText(one.text);
  EXPECT_FALSE(WordCanHaveGap(one.made.workspace, one.index(U"a")));
  EXPECT_THROW(SetWordGap(one.text, one.made.workspace, one.index(U"a"), true, one.remake()), EditError);
  EXPECT_TRUE(one.text.edits.empty());
}

TEST(GapEdits, FurtherAnswersNameTheirWordByOccurrence) {
  Session s;
  s.text.source = U"This is a test. The cat saw the cat and the cat ran.";
  s.made = GenerateText(s.text);
  const std::size_t second = s.index(U"cat", 2);
  EXPECT_EQ(WordOccurrence(s.made.workspace, second), 2u);
  EXPECT_TRUE(SetAcceptedAnswers(s.text, s.made.workspace, second, {U"", U"ow", U""}, s.remake()));
  EXPECT_EQ(s.text.edits, (std::vector<WordEdit>{{U"cat", 2, GapSwitch::Rule, {U"ow"}}}));
  EXPECT_EQ(AcceptedAnswersOf(s.text, s.made.workspace, second), std::vector<Text>{U"ow"});
  EXPECT_TRUE(AcceptedAnswersOf(s.text, s.made.workspace, s.index(U"cat", 1)).empty());
  EXPECT_FALSE(SetAcceptedAnswers(s.text, s.made.workspace, second, {U"ow"}, s.remake()));
  EXPECT_TRUE(SetAcceptedAnswers(s.text, s.made.workspace, second, {U""}, s.remake()));
  EXPECT_TRUE(s.text.edits.empty());
}

}  // namespace
}  // namespace brenvik
