// The Unicode interface: character properties, NFC, grapheme clusters and
// dictionary word boundaries, and failures as the program's own error.

#include <gtest/gtest.h>

#include <vector>

#include "core/text/Errors.h"
#include "core/text/Unicode.h"

namespace brenvik::unicode {
namespace {

using Bounds = std::vector<std::size_t>;

TEST(Unicode, CharFlags) {
  struct Case {
    char32_t c;
    unsigned has;
    unsigned lacks;
  };
  const Case cases[] = {
      {U'a', 0, ~0u},
      {U'\u0301', 0, ~0u},
      {U'\u00a0', kSpace, kPunctuation},
      {U'\u3000', kSpace, kSentenceTerminal},
      {U'\u0964', kPunctuation | kSentenceTerminal, kSpace},   // Devanagari danda
      {U'\u3002', kPunctuation | kSentenceTerminal, kSpace},   // ideographic full stop
      {U'\u1362', kPunctuation | kSentenceTerminal, 0},        // Ethiopic full stop
      {U'\u0589', kPunctuation | kSentenceTerminal, 0},        // Armenian full stop
      {U'\u06d4', kPunctuation | kSentenceTerminal, 0},        // Urdu full stop
      {U'\uff0c', kPunctuation, kSentenceTerminal},            // fullwidth comma
      {U'\u0663', kDecimalDigit, kDictionaryScript},           // Arabic-Indic three
      {U'\u0e53', kDecimalDigit | kDictionaryScript, 0},       // Thai three
      {U'\u6211', kDictionaryScript, kPunctuation | kSpace},   // Han
      {U'\u30fc', kDictionaryScript, kPunctuation},            // prolonged sound mark (common script)
      {U'\u0e01', kDictionaryScript, 0},                       // Thai
      {U'\u1000', kDictionaryScript, 0},                       // Myanmar
      {U'\u0915', 0, kDictionaryScript},                       // Devanagari
      {0xD800, 0, ~0u},
      {0x110000, 0, ~0u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<unsigned>(c.c));
    EXPECT_EQ(CharFlags(c.c) & c.has, c.has);
    EXPECT_EQ(CharFlags(c.c) & c.lacks, 0u);
  }
  const CharFlagTable table;
  for (char32_t c = 0; c < 0x10000; ++c) ASSERT_EQ(table(c), CharFlags(c)) << static_cast<unsigned>(c);
  EXPECT_EQ(table(0x20000), CharFlags(0x20000));
}

TEST(Unicode, Nfc) {
  const std::pair<Text, Text> cases[] = {
      {U"", U""},
      {U"\u0141\u00f3d\u017a", U"\u0141\u00f3d\u017a"},
      {U"cafe\u0301 cre\u0300me", U"caf\u00e9 cr\u00e8me"},
      {U"\u0301e", U"\u0301e"},                     // a mark with nothing to join
      {U"Vie\u0323\u0302t", U"Vi\u1ec7t"},           // two marks in either order
      {U"Vie\u0302\u0323t", U"Vi\u1ec7t"},
      {U"\u1100\u1161\u11a8", U"\uac01"},            // Hangul jamo
      {U"e\xD800\u0301", U"e\xD800\u0301"},          // a lone surrogate stays and keeps the mark apart
      {U"e\u0301\x110000" U"a\u0301", U"\u00e9\x110000" U"\u00e1"},
      {U"\u1ecd\u0300", U"\u1ecd\u0300"},            // Yoruba o dot-grave: no single character
  };
  for (const auto& [in, nfc] : cases) {
    SCOPED_TRACE(ToUtf8(in));
    EXPECT_EQ(ToNfc(in), nfc);
    EXPECT_TRUE(IsNfc(nfc));
    EXPECT_EQ(IsNfc(in), in == nfc);
  }
  // Pieces of a long text are normalised on their own, never across a letter.
  Text longText;
  for (int i = 0; i < 70000; ++i) longText += U"e\u0301";
  EXPECT_EQ(ToNfc(longText), Text(70000, U'\u00e9'));
}

TEST(Unicode, GraphemeBoundaries) {
  const std::pair<Text, Bounds> cases[] = {
      {U"", {0}},
      {U"abc", {0, 1, 2, 3}},
      {U"e\u0301x", {0, 2, 3}},
      {U"\u0928\u092e\u0938\u094d\u0924\u0947", {0, 1, 2, 6}},  // नमस्ते: the conjunct स्ते is one
      {U"\u0e01\u0e35\u0e48\u0e04\u0e19", {0, 3, 4, 5}},               // กี่คน
      {U"\U0001F469\u200d\U0001F52C!", {0, 3, 4}},                    // emoji sequence
      {U"\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA", {0, 2, 4}},       // two flags
      {U"\r\n\u1100\u1161\u11a8", {0, 2, 5}},
      {U"a\r\nb\r", {0, 1, 3, 4, 5}},
      {U"a\xD800\u0301", {0, 1, 3}},
      {Text(50, U'\u0301'), {0, 50}},  // nothing but combining marks
  };
  TextSegmenter segmenter;
  Bounds bounds;
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(ToUtf8(text));
    segmenter.graphemeBoundaries(text, bounds);
    EXPECT_EQ(bounds, expected);
    EXPECT_EQ(segmenter.countGraphemes(text), expected.size() - 1);
  }
  // One letter of 10,000 code points is one cluster.
  const Text heavy = U"a" + Text(9999, U'\u0301');
  segmenter.graphemeBoundaries(heavy, bounds);
  EXPECT_EQ(bounds, (Bounds{0, 10000}));
}

TEST(Unicode, DictionaryWordBoundaries) {
  const std::pair<Text, Bounds> cases[] = {
      {U"\u6211\u4eec\u4eca\u5929\u53bb\u516c\u56ed", {0, 2, 4, 5, 7}},        // 我们今天去公园
      {U"\u0e44\u0e1b\u0e42\u0e23\u0e07\u0e40\u0e23\u0e35\u0e22\u0e19", {0, 2, 10}},  // ไปโรงเรียน
      {U"\U00020000, \u4eba", {0, 1, 2, 3, 4}},  // beyond the basic plane: one position each
  };
  for (const char* tag : {"", "th", "zh-Hans"}) {
    TextSegmenter segmenter(tag);
    Bounds bounds;
    for (const auto& [text, expected] : cases) {
      SCOPED_TRACE(std::string(tag) + " " + ToUtf8(text));
      segmenter.wordBoundaries(text, bounds);
      EXPECT_EQ(bounds, expected);
    }
  }
}

TEST(Unicode, ATagThatIsNotATagIsTheProgramsError) {
  for (const char* tag : {"not a tag!", "en_", "-"}) {
    try {
      TextSegmenter segmenter(tag);
      ADD_FAILURE() << tag << " was taken";
    } catch (const UnicodeError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("Unicode text processing failed: \"") + tag + "\" is not a language tag");
    }
  }
  EXPECT_NO_THROW(TextSegmenter("sr-Latn-RS"));
  EXPECT_NO_THROW(TextSegmenter("xx"));  // well-formed, unknown: the root rules
}

}  // namespace
}  // namespace brenvik::unicode
