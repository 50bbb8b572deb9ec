// The research form of the C-test: gap limit, kept last sentence, gaps
// switched on and off, accepted answers, answer matching and the language
// tag.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/test/GenerateText.h"
#include "core/test/LanguageTag.h"
#include "core/test/Matching.h"

namespace brenvik {
namespace {

// Seven sentences of plain prose: after the first sentence the rule gives 50
// gaps, so limits of 20 and 25 are always reached.
const Text kProse =
    U"The harbour wakes long before the town does. At five the first boats slip out past the "
    U"lighthouse, their engines low and steady, while gulls argue over the nets that were left on "
    U"the quay. By seven the fish market is full of voices, and buyers from the hotels walk slowly "
    U"between the crates, pressing a thumb into each silver body to test how fresh it is. Then the "
    U"sun climbs over the hill and the noise moves up into the streets. By noon the harbour is quiet "
    U"again, and only the old men stay on the benches to watch the water. They have seen every kind "
    U"of weather here.";

std::size_t Gaps(const TestWorkspace& w) { return w.PageAnswers.size(); }

// Index of the last word with a gap, or -1.
long long LastGap(const TestWorkspace& w) {
  for (std::size_t k = w.RightHalves.size(); k-- > 0;) {
    if (!w.RightHalves[k].empty()) return static_cast<long long>(k);
  }
  return -1;
}

std::size_t IndexOf(const TestWorkspace& w, TextView word, int occurrence = 1) {
  for (std::size_t k = 0; k < w.WordList.size(); ++k) {
    if (w.WordList[k] == word && --occurrence == 0) return k;
  }
  ADD_FAILURE() << "no such word";
  return 0;
}

TEST(ResearchForm, NoOptionAndNoEditIsTheRuleAlone) {
  for (const Text& source : {kProse, Text(U"One. Two three four."), Text(), Text(U"我们今天去公园。好的")}) {
    TestWorkspace plain;
    const Text test = GenerateTest(source, plain);
    const GeneratedText g = GenerateText({U"t", source, {}, {}});
    EXPECT_EQ(g.workspace, plain);
    EXPECT_EQ(g.testText, test);
    EXPECT_EQ(g.accepted.size(), Gaps(plain));
    // Options that change nothing give the same lists through the refining pass.
    const GeneratedText limitless = GenerateText({U"t", source, {100000, false}, {}});
    EXPECT_EQ(limitless.workspace, plain);
    EXPECT_EQ(limitless.testText, test);
  }
}

TEST(ResearchForm, GapLimitAndLastSentence) {
  TestWorkspace rule;
  GenerateTest(kProse, rule);
  ASSERT_EQ(Gaps(rule), 50u);
  const std::size_t lastStart = IndexOf(rule, U"They");
  std::size_t beforeLast = 0;
  for (std::size_t k = 0; k < lastStart; ++k) beforeLast += !rule.RightHalves[k].empty();
  ASSERT_LT(beforeLast, 50u);
  struct Case {
    TextOptions options;
    std::size_t gaps;
  } cases[] = {
      {{20, false}, 20}, {{25, false}, 25}, {{25, true}, 25}, {{0, true}, beforeLast},
      {{60, false}, 50},  // shorter than the limit: every gap of the rule
      {{60, true}, beforeLast}, {{1, false}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "limit " << c.options.gapLimit << " keep " << c.options.keepLastSentence);
    const GeneratedText g = GenerateText({U"t", kProse, c.options, {}});
    const TestWorkspace& w = g.workspace;
    EXPECT_EQ(Gaps(w), c.gaps);
    EXPECT_EQ(g.accepted.size(), c.gaps);
    // Nothing shifts: every gap left is the rule's gap of that word, and the
    // gaps are the first ones of the rule.
    std::size_t seen = 0;
    for (std::size_t k = 0; k < w.WordList.size() - (w.WordList.size() > w.LeftHalves.size()); ++k) {
      EXPECT_EQ(Text(w.LeftHalves[k]) + Text(w.RightHalves[k]), Text(w.WordList[k]));
      if (w.RightHalves[k].empty()) continue;
      EXPECT_EQ(w.RightHalves[k], rule.RightHalves[k]) << k;
      ++seen;
    }
    EXPECT_EQ(seen, c.gaps);
    if (c.options.keepLastSentence) {
      EXPECT_LT(LastGap(w), static_cast<long long>(lastStart));
    }
    // The test text agrees with the lists.
    EXPECT_EQ(g.testText.find(U"They have seen every kind of weather here.") != Text::npos,
              c.options.keepLastSentence || c.gaps < beforeLast);
    EXPECT_EQ(w.PageRightHalves, w.RightHalves);
  }
}

TEST(ResearchForm, LastSentenceStart) {
  struct Case {
    const char32_t* source;
    const char32_t* firstWordOfLast;  // nullptr: every word of the rest
  } cases[] = {
      {U"First one. Second sentence here. Third and last one.", U"Third"},
      {U"First one. Second sentence here. Third and last one", U"Third"},
      {U"First one. Only one more sentence here!", nullptr},
      {U"First one. A question? An answer.\r\n", U"An"},
      {U"First one. Devanagari stop। Then the last words", U"Then"},
      {U"First one. Ends with dots... and goes on", U"and"},
  };
  for (const Case& c : cases) {
    TestWorkspace w;
    GenerateTest(c.source, w);
    const std::size_t start = LastSentenceStart(w);
    if (c.firstWordOfLast == nullptr) {
      EXPECT_EQ(start, 0u) << ToUtf8(c.source);
    } else {
      EXPECT_EQ(w.WordList[start], TextView(c.firstWordOfLast)) << ToUtf8(c.source);
    }
  }
}

TEST(ResearchEdits, GapsOnAndOffMoveNoOtherWord) {
  TestWorkspace rule;
  GenerateTest(kProse, rule);
  const std::size_t five = IndexOf(rule, U"the");     // the rule leaves it whole
  const std::size_t first = IndexOf(rule, U"first");  // the rule halves it
  ASSERT_TRUE(rule.RightHalves[five].empty());
  ASSERT_FALSE(rule.RightHalves[first].empty());
  const GeneratedText g = GenerateText(
      {U"t", kProse, {}, {{U"the", 1, GapSwitch::On, {}}, {U"first", 1, GapSwitch::Off, {}}}});
  const TestWorkspace& w = g.workspace;
  EXPECT_EQ(w.LeftHalves[five], U"t");
  EXPECT_EQ(w.RightHalves[five], U"he");
  EXPECT_EQ(w.LeftHalves[first], U"first");
  EXPECT_EQ(w.RightHalves[first], U"");
  for (std::size_t k = 0; k < rule.RightHalves.size(); ++k) {
    if (k != five && k != first) {
      EXPECT_EQ(w.RightHalves[k], rule.RightHalves[k]) << k;
    }
  }
  EXPECT_EQ(Gaps(w), Gaps(rule));
  EXPECT_NE(g.testText.find(U"At fi__ t__ first boats sl__"), Text::npos) << ToUtf8(g.testText);
}

TEST(ResearchEdits, GapLimitCountsGapsAfterTheEdits) {
  // One gap switched off and one on before the limit: the 20 gaps end where
  // the rule's 20th does.
  TestWorkspace rule;
  GenerateTest(kProse, rule);
  const GeneratedText g = GenerateText(
      {U"t", kProse, {20, false}, {{U"first", 1, GapSwitch::Off, {}}, {U"boats", 1, GapSwitch::On, {}}}});
  EXPECT_EQ(Gaps(g.workspace), 20u);
  EXPECT_EQ(g.workspace.RightHalves[IndexOf(rule, U"boats")], U"ats");
  // The 20th gap is the rule's 20th: one gap off, one on before it.
  std::size_t twentieth = 0;
  for (std::size_t k = 0, n = 0; k < rule.RightHalves.size(); ++k) {
    if (!rule.RightHalves[k].empty() && ++n == 20) twentieth = k;
  }
  EXPECT_EQ(LastGap(g.workspace), static_cast<long long>(twentieth));
  // The edit inside the limit is honoured, a gap switched on past it is not.
  const GeneratedText late = GenerateText({U"t", kProse, {20, true}, {{U"weather", 1, GapSwitch::On, {}}}});
  EXPECT_EQ(Gaps(late.workspace), 20u);
  EXPECT_EQ(late.workspace.RightHalves[IndexOf(rule, U"weather")], U"");
}

TEST(ResearchEdits, GapOnRefusedForWordsThatCannotBeHalved) {
  const Text source = U"First sentence. We saw a cat and 3 dogs on 2nd street with é.";
  for (const char32_t* word : {U"a", U"3", U"2nd", U"é"}) {
    SCOPED_TRACE(ToUtf8(word));
    try {
      GenerateText({U"t", source, {}, {{word, 1, GapSwitch::On, {}}}});
      ADD_FAILURE() << "no error";
    } catch (const EditError& e) {
      EXPECT_NE(std::string(e.what()).find("\"" + ToUtf8(word) + "\" cannot have a gap"), std::string::npos)
          << e.what();
    }
  }
  // Grapheme-aware: a letter with a combining accent is one letter.
  EXPECT_THROW(GenerateText({U"t", U"Hi. We e\u0301 go.", {}, {{U"e\u0301", 1, GapSwitch::On, {}}}}), EditError);
  const GeneratedText ok = GenerateText({U"t", U"Hi. We ne\u0301e go.", {}, {{U"We", 1, GapSwitch::On, {}}}});
  EXPECT_EQ(ok.workspace.RightHalves[0], U"e");
}

TEST(ResearchEdits, SurviveReprocessingAndDropWhenTheWordIsGone) {
  const Text before = U"First one. Then the cat sat, then it slept, and then it woke.";
  // Gaps: the rule halves "the", "sat", "it", "and", "it" (odd indexes).
  const std::vector<WordEdit> edits = {
      {U"then", 2, GapSwitch::On, {U"em"}},
      {U"sat", 1, GapSwitch::Off, {}},
      {U"slept", 1, GapSwitch::Rule, {U"ept"}},  // no gap there: the answer waits unused
      {U"woke", 1, GapSwitch::On, {U"ke ", U"ke", U"  "}},
  };
  const GeneratedText g = GenerateText({U"t", before, {}, edits});
  EXPECT_TRUE(g.notes.empty());
  const TestWorkspace& w = g.workspace;
  EXPECT_EQ(w.RightHalves[IndexOf(w, U"then", 2)], U"en");
  EXPECT_EQ(w.RightHalves[IndexOf(w, U"sat")], U"");
  // Accepted answers per gap, trimmed, without the deleted part, repeats or blanks.
  std::vector<std::vector<Text>> expected;
  for (std::size_t k = 0; k < w.RightHalves.size(); ++k) {
    if (w.RightHalves[k].empty()) continue;
    // "woke" keeps none: "ke" is its deleted part, "  " is blank.
    expected.push_back(k == IndexOf(w, U"then", 2) ? std::vector<Text>{U"em"} : std::vector<Text>{});
  }
  EXPECT_EQ(g.accepted, expected);

  // The same text processed again: the same result.
  const GeneratedText again = GenerateText({U"t", before, {}, edits});
  EXPECT_EQ(again.workspace, g.workspace);
  EXPECT_EQ(again.accepted, g.accepted);

  // A word added before them shifts every index; the edits still find their words.
  const Text grown = U"First one. Now then the cat sat, then it slept, and then it woke.";
  const GeneratedText shifted = GenerateText({U"t", grown, {}, {{U"then", 3, GapSwitch::On, {U"em"}}}});
  EXPECT_EQ(shifted.workspace.RightHalves[IndexOf(shifted.workspace, U"then", 3)], U"en");
  EXPECT_TRUE(shifted.notes.empty());

  // Words gone: the edits are dropped, each with a note naming it.
  const Text changed = U"First one. Then the dog sat, and it woke.";
  const GeneratedText dropped = GenerateText({U"t", changed, {}, edits});
  EXPECT_EQ(dropped.droppedEdits, (std::vector<std::size_t>{0, 2}));
  ASSERT_EQ(dropped.notes.size(), 2u);
  EXPECT_EQ(dropped.notes[0], "the change to the 2nd \"then\" was dropped: the text no longer has that word");
  EXPECT_NE(dropped.notes[1].find("1st \"slept\""), std::string::npos);
  EXPECT_EQ(dropped.workspace.RightHalves[IndexOf(dropped.workspace, U"sat")], U"");

  brenvik::Test test{{{U"t", changed, {}, edits}}, {}, {}, AnswerMatching::Exact};
  RemoveDroppedEdits(test, GenerateWholeTest(test));
  ASSERT_EQ(test.texts[0].edits.size(), 2u);
  EXPECT_EQ(test.texts[0].edits[0].word, U"sat");
  EXPECT_EQ(test.texts[0].edits[1].word, U"woke");
}

TEST(ResearchTest, LanguageReachesTheSegmentation) {
  brenvik::Test test{{{U"a", U"Hi. 我们今天去公园", {}, {}}, {U"b", U"One. two three", {}, {}}}, {}, "zh-Hans", {}};
  const GeneratedTest g = GenerateWholeTest(test);
  ASSERT_EQ(g.texts.size(), 2u);
  EXPECT_EQ(g.language, "zh-Hans");
  EXPECT_EQ(g.texts[0].workspace.WordList, (TextList{U"我们", U"今天", U"去", U"公园"}));
  EXPECT_EQ(g.texts[1].title, U"b");
}

TEST(Matching, ExactAndIgnoringCase) {
  struct Case {
    const char32_t* typed;
    const char32_t* answer;
    bool exact;
    bool ignoringCase;
  } cases[] = {
      {U"en", U"en", true, true},
      {U"  en \r\n", U"en", true, true},
      {U"EN", U"en", false, true},
      {U"e n", U"en", false, false},
      {U"a  b", U"a b", true, true},
      {U"ÉTÉ", U"été", false, true},
      {U"ΣΑΣ", U"σας", false, true},   // final sigma, as toLowerCase maps it
      {U"STRASSE", U"straße", false, false},  // no case folding of ß
      {U"İ", U"i̇", false, true},       // İ lowers to i and a combining dot
      {U"", U"en", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.typed));
    EXPECT_EQ(AnswersMatch(c.typed, c.answer, AnswerMatching::Exact), c.exact);
    EXPECT_EQ(AnswersMatch(c.typed, c.answer, AnswerMatching::IgnoreCase), c.ignoringCase);
  }
  EXPECT_TRUE(IsRightAnswer(U"em", U"en", {U"em"}, AnswerMatching::Exact));
  EXPECT_FALSE(IsRightAnswer(U"EM", U"en", {U"em"}, AnswerMatching::Exact));
  EXPECT_TRUE(IsRightAnswer(U"EM", U"en", {U"em"}, AnswerMatching::IgnoreCase));
}

TEST(LanguageTag, WellFormed) {
  for (const char* tag : {"de", "DE", "en-GB", "zh-Hant", "zh-Hant-TW", "sr-Latn-RS", "de-CH-1996",
                          "es-419", "pt-BR", "zh-yue-HK", "en-US-x-school", "x-klingon", "i-klingon",
                          "en-GB-oed", "th-TH-u-nu-thai", "art-lojban", "sl-rozaj-biske", "haw"}) {
    EXPECT_TRUE(IsWellFormedLanguageTag(tag)) << tag;
  }
  for (const char* tag : {"", "e", "en_GB", "en-", "-en", "en--GB", "123",
                          "en-GB-", "de-x", "en-a", "en-a-x-y", "zh-Hant-Hans-TW-", "en GB",
                          "de-1", "é", "en-GB-toolongvariant"}) {
    EXPECT_FALSE(IsWellFormedLanguageTag(tag)) << tag;
  }
}

}  // namespace
}  // namespace brenvik
