// First-sentence split and word segmentation.

#include <gtest/gtest.h>

#include "TestGenSupport.h"
#include "core/ctest/TestGen.h"

namespace brenvik {
namespace {

using testing::RandomProse;
using testing::Texts;
using testing::Vec;

struct SplitCase {
  Text source;
  Text firstSentence;
  Text restText;
  Texts words;
  Texts separators;
};

Text Repeat(char32_t c, std::size_t n) { return Text(n, c); }

TEST(SplitFirstSentence, CutsAfterEarliestMarkAndTrailingBreaks) {
  const SplitCase cases[] = {
      {U"Hi! How are you?", U"Hi! ", U"How are you?", {U"How", U"are", U"you", U""},
       {U" ", U" ", U"?"}},
      {U"Mr. Smith came. He sat.", U"Mr. ", U"Smith came. He sat.",
       {U"Smith", U"came", U"He", U"sat", U""}, {U" ", U". ", U" ", U"."}},
      {U"Wait... what now.", U"Wait.", U".. what now.", {U"", U"what", U"now", U""},
       {U".. ", U" ", U"."}},
      {U"It costs 3.50 euros. Pay now.", U"It costs 3.", U"50 euros. Pay now.",
       {U"50", U"euros", U"Pay", U"now", U""}, {U" ", U". ", U" ", U"."}},
      {U"She said 'Go.' Then she left.", U"She said 'Go.", U"' Then she left.",
       {U"", U"Then", U"she", U"left", U""}, {U"' ", U" ", U" ", U"."}},
      {U"Who? Me", U"Who? ", U"Me", {U"Me"}, {U""}},
      {U"One.\r\n\r\nTwo three", U"One.\r\n\r\n", U"Two three", {U"Two", U"three"},
       {U" ", U""}},
      {U"One.\tTwo three.", U"One.", U"\tTwo three.", {U"Two", U"three", U""},
       {U" ", U"."}},
      {U"A b. a \t b", U"A b. ", U"a \t b", {U"a", U"", U"b"}, {U" ", U" ", U""}},
      {U"no marks here", U"no marks here", U"", {U""}, {U""}},
      {U"", U"", U"", {U""}, {U""}},
      {U"Koniec!", U"Koniec!", U"", {U""}, {U""}},
      {U"Ende. \r\n", U"Ende. \r\n", U"", {U""}, {U""}},
      // Brackets, digits, tabs and characters above 127 are word characters.
      {U"Zdanie. (see) a\tb 3.5 well-known don't",
       U"Zdanie. ", U"(see) a\tb 3.5 well-known don't",
       {U"(see)", U"a\tb", U"3", U"5", U"well", U"known", U"don", U"t"},
       {U" ", U" ", U".", U" ", U"-", U" ", U"'", U""}},
      {U"Он сказал. Ну ладно, «да»", U"Он сказал. ", U"Ну ладно, «да»",
       {U"Ну", U"ладно", U"«да»"}, {U" ", U", ", U""}},
      {U"Ζωή! Καλή; ζωή", U"Ζωή! ", U"Καλή; ζωή", {U"Καλή", U"ζωή"}, {U"; ", U""}},
      // Control characters at word edges are trimmed; a word made only of
      // them becomes empty; separators keep every character.
      {U"X. \x01word\x1f, \t\x02 ,end", U"X. ", U"\x01word\x1f, \t\x02 ,end",
       {U"word", U"", U"end"}, {U", ", U" ,", U""}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.source));
    const SentenceSplit split = SplitFirstSentence(c.source);
    EXPECT_EQ(split.FirstSentence, c.firstSentence);
    EXPECT_EQ(split.RestText, c.restText);
    const WordSegments segments = SegmentWords(split.RestText);
    EXPECT_EQ(Vec(segments.WordList), c.words);
    EXPECT_EQ(Vec(segments.Separators), c.separators);
  }
}

TEST(SplitFirstSentence, MissingMarkCountsAsPosition5000) {
  struct Case {
    Text source;
    std::size_t firstLength;
  };
  const Case cases[] = {
      // No mark at all: whole text up to 5000 characters.
      {Repeat(U'x', 4999), 4999},
      {Repeat(U'x', 5000), 5000},
      // Longer text without a mark: cut after character 5000 and the spaces,
      // CR and LF that follow, even inside a word.
      {Repeat(U'x', 5001), 5000},
      {Repeat(U'x', 5000) + U" \r\n yz", 5004},
      {Repeat(U'x', 5000) + U"\tyz", 5000},
      // A full stop past 5000 loses against the missing "!" and "?".
      {Repeat(U'x', 5999) + U". end", 5000},
      // A mark at 5000 itself, the other two missing.
      {Repeat(U'x', 4999) + U". tail", 5001},
      // When all three marks occur the earliest wins, wherever it stands.
      {Repeat(U'x', 6000) + U"! y? z.", 6002},
      {Repeat(U'x', 6000) + U"? y. z!", 6002},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source.size());
    const SentenceSplit split = SplitFirstSentence(c.source);
    EXPECT_EQ(split.FirstSentence.size(), c.firstLength);
    EXPECT_EQ(split.FirstSentence + split.RestText, c.source);
  }
}

TEST(TrimControls, RemovesCodesUpTo32AtBothEndsOnly) {
  const std::pair<Text, Text> cases[] = {
      {U"", U""},
      {U" \t\r\n\x01\x1f ", U""},
      {U"\x01word\x1f", U"word"},
      {U"\t a\tb \x02", U"a\tb"},
      {U"\x7f", U"\x7f"},            // DEL is above 32
      {U"\u00a0x\u00a0", U"\u00a0x\u00a0"},  // no-break space is a word character
      {U"ż", U"ż"},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(Text(TrimControls(in)), out) << ToUtf8(in);
  }
}

// Properties every split and segmentation must have, checked on many
// generated texts.
TEST(SplitAndSegment, InvariantsOnGeneratedProse) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 400; ++round) {
    const Text source = RandomProse(rng, 1 + rng() % 300);
    SCOPED_TRACE(ToUtf8(source));
    const SentenceSplit split = SplitFirstSentence(source);
    ASSERT_EQ(split.FirstSentence + split.RestText, source);

    // Rest begins with neither space, CR nor LF directly after the mark.
    if (!split.RestText.empty() && !split.FirstSentence.empty()) {
      EXPECT_EQ(SentenceTrailChars.find(split.RestText.front()), TextView::npos);
    }

    const WordSegments seg = SegmentWords(split.RestText);
    const std::size_t n = seg.Separators.size();
    ASSERT_GE(n, 1u);
    ASSERT_TRUE(seg.WordList.size() == n || seg.WordList.size() == n + 1);
    if (seg.WordList.size() == n + 1) {
      EXPECT_TRUE(seg.WordList.back().empty());
    }

    Text joined;
    for (std::size_t k = 0; k < n; ++k) {
      const TextView word = seg.WordList[k];
      const TextView sep = seg.Separators[k];
      EXPECT_EQ(TrimControls(word), word);
      for (char32_t c : word) EXPECT_EQ(SeparatorChars.find(c), TextView::npos);
      for (char32_t c : sep) EXPECT_NE(SeparatorChars.find(c), TextView::npos);
      if (k + 1 < n) {
        EXPECT_FALSE(sep.empty()) << k;
      }
      joined.append(word).append(sep);
    }
    // Words and separators give back the rest text, apart from the control
    // characters trimmed off word edges.
    auto withoutControls = [](TextView t) {
      Text r;
      for (char32_t c : t) {
        if (c > U' ' || SeparatorChars.find(c) != TextView::npos) r.push_back(c);
      }
      return r;
    };
    EXPECT_EQ(withoutControls(joined), withoutControls(split.RestText));
  }
}

}  // namespace
}  // namespace brenvik
