// The Unicode interface: character properties, NFC, grapheme clusters, and
// failures as the program's own error. (Word boundaries are checked against
// ICU on real prose in tests/unit/ctest/ScriptsTest.cpp.)

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/uniset.h>

#include <random>
#include <vector>

#include "fuzz/GraphemeCheck.h"

#include "core/text/Errors.h"
#include "core/text/Unicode.h"
#include "core/text/UnicodeTables.h"

namespace brenvik::unicode {
namespace {

TEST(Unicode, CharFlags) {
  const std::pair<char32_t, unsigned> cases[] = {
      {U'a', 0}, {U'\u0301', 0}, {0xD800, 0}, {0x110000, 0},
      {U'\u00a0', kSpace}, {U'\u3000', kSpace},
      {U'\u0964', kPunctuation | kSentenceTerminal},                      // Devanagari danda
      {U'\u3002', kPunctuation | kSentenceTerminal | kDictionaryScript},  // ideographic full stop
      {U'\u1362', kPunctuation | kSentenceTerminal},                      // Ethiopic full stop
      {U'\uff0c', kPunctuation},                                          // fullwidth comma
      {U'\u0663', kDecimalDigit}, {U'\u0e53', kDecimalDigit | kDictionaryScript},
      {U'\u6211', kDictionaryScript}, {U'\u30fc', kDictionaryScript}, {U'\u1000', kDictionaryScript},
      {U'\u0915', 0},
  };
  for (const auto& [c, flags] : cases) EXPECT_EQ(CharFlags(c), flags) << static_cast<unsigned>(c);
  const CharFlagTable table;
  for (char32_t c = 0; c < 0x10000; ++c) ASSERT_EQ(table(c), CharFlags(c)) << static_cast<unsigned>(c);
}

TEST(Unicode, Nfc) {
  const std::pair<Text, Text> cases[] = {
      {U"", U""},
      {U"\u0141\u00f3d\u017a", U"\u0141\u00f3d\u017a"},
      {U"cafe\u0301 cre\u0300me", U"caf\u00e9 cr\u00e8me"},
      {U"\u0301e", U"\u0301e"},            // a mark with nothing to join
      {U"Vie\u0302\u0323t", U"Vi\u1ec7t"},  // marks in another order
      {U"\u1100\u1161\u11a8", U"\uac01"},   // Hangul jamo
      {U"e\xD800\u0301", U"e\xD800\u0301"},  // a lone surrogate stays and keeps the mark apart
      {U"e\u0301\x110000" U"a\u0301", U"\u00e9\x110000" U"\u00e1"},
      {U"\u1ecd\u0300", U"\u1ecd\u0300"},   // Yoruba: no single character for it
      // Marks of scripts whose words mostly stay as they are
      {U"\u0e01\u0e38\u0e48 \u0e01\u0e48\u0e38", U"\u0e01\u0e38\u0e48 \u0e01\u0e38\u0e48"},  // Thai: classes in order
      {U"\u09a8\u09be \u09a8\u09c7\u09be", U"\u09a8\u09be \u09a8\u09cb"},  // Bengali: ো from its parts
      {U"\u0b95\u0bc6\u0bbe", U"\u0b95\u0bca"},                              // Tamil: ொ
      {U"\u0928\u092e\u0938\u094d\u0924\u0947 \u0915\u094d\u093c",
       U"\u0928\u092e\u0938\u094d\u0924\u0947 \u0915\u093c\u094d"},       // Devanagari: nukta before virama
      {U"\u1100\u1161 \uac00\u11a8", U"\uac00 \uac01"},                    // Hangul from its jamo
  };
  for (const auto& [in, nfc] : cases) {
    EXPECT_EQ(ToNfc(in), nfc) << ToUtf8(in);
    EXPECT_EQ(IsNfc(in), in == nfc) << ToUtf8(in);
  }
  // Pieces of a long text are normalised on their own, never across a letter.
  Text longText;
  for (int i = 0; i < 70000; ++i) longText += U"e\u0301";
  EXPECT_EQ(ToNfc(longText), Text(70000, U'\u00e9'));
}

// Short texts of starters and marks of every kind against ICU's own NFC.
TEST(Unicode, NfcIsIcus) {
  const char* const kKinds[] = {
      "[aeiouyAEIOUckns\\u0915\\u09a8\\u09c7\\u0b95\\u0bc6\\u0bc7\\u0e01\\u0cbf\\u0dd9]",
      "[[:ccc=0:]&[:NFC_QC=Maybe:]]", "[[:^ccc=0:]&[:NFC_QC=Maybe:]]", "[[:^ccc=0:]&[:NFC_QC=Yes:]]",
      "[:NFC_QC=No:]", "[:Hangul_Syllable_Type=L:]", "[:Hangul_Syllable_Type=V:]",
      "[:Hangul_Syllable_Type=T:]", "[:Hangul_Syllable_Type=LV:]",
  };
  const icu::Normalizer2* nfc = nullptr;
  std::vector<std::vector<char32_t>> pools;
  for (const char* pattern : kKinds) {
    UErrorCode status = U_ZERO_ERROR;
    nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeSet set(icu::UnicodeString(pattern, -1, US_INV).unescape(), status);
    ASSERT_TRUE(U_SUCCESS(status) && !set.isEmpty()) << pattern;
    std::vector<char32_t> pool;
    const int32_t n = set.size();
    for (int32_t k = 0; k < 24; ++k) pool.push_back(static_cast<char32_t>(set.charAt(k * n / 24)));
    pools.push_back(pool);
  }
  std::mt19937 rng(15);
  for (int round = 0; round < 30000; ++round) {
    Text text(1 + rng() % 6, U' ');
    for (char32_t& c : text) {
      const std::vector<char32_t>& pool = pools[rng() % pools.size()];
      c = pool[rng() % pool.size()];
    }
    icu::UnicodeString u16;
    for (char32_t c : text) u16.append(static_cast<UChar32>(c));
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString normal = nfc->normalize(u16, status);
    Text expected;
    for (int32_t i = 0; i < normal.length(); i = normal.moveIndex32(i, 1)) expected += static_cast<char32_t>(normal.char32At(i));
    ASSERT_EQ(ToNfc(text), expected) << ToUtf8(text);
    ASSERT_EQ(IsNfc(text), text == expected) << ToUtf8(text);
  }
}

TEST(Unicode, GraphemeBoundaries) {
  const std::pair<Text, std::vector<std::size_t>> cases[] = {
      {U"", {0}},
      {U"e\u0301x", {0, 2, 3}},
      {U"\u0928\u092e\u0938\u094d\u0924\u0947", {0, 1, 2, 6}},  // नमस्ते: the conjunct स्ते is one
      {U"\U0001F469\u200d\U0001F52C\U0001F1EB\U0001F1F7", {0, 3, 5}},  // emoji sequence, flag
      {U"a\r\nb\r\u1100\u1161\u11a8", {0, 1, 3, 4, 5, 8}},
      {U"a\xD800\u0301", {0, 1, 3}},
      {Text(50, U'\u0301'), {0, 50}},              // nothing but combining marks
      {U"a" + Text(9999, U'\u0301'), {0, 10000}},  // one letter of 10,000 code points
  };
  TextSegmenter segmenter;
  std::vector<std::size_t> bounds;
  for (const auto& [text, expected] : cases) {
    segmenter.graphemeBoundaries(text, bounds);
    EXPECT_EQ(bounds, expected) << ToUtf8(text.substr(0, 10));
  }
}

// Short texts drawn from every class the cluster rules know (and from what
// they treat alike), against ICU's iterator: every pair and most triples of
// classes meet, in tens of thousands of texts.
TEST(Unicode, GraphemeBoundariesAreIcus) {
  const char* const kClasses[] = {
      "[:GCB=CR:]", "[:GCB=LF:]", "[:GCB=Control:]", "[[:GCB=Extend:]&[:ccc=0:]]",
      "[[:GCB=Extend:]-[:ccc=0:]]", "[:GCB=ZWJ:]", "[:GCB=Regional_Indicator:]", "[:GCB=Prepend:]",
      "[:GCB=SpacingMark:]", "[:GCB=L:]", "[:GCB=V:]", "[:GCB=T:]", "[:GCB=LV:]", "[:GCB=LVT:]",
      "[:ExtPict:]", "[[:sc=Deva:][:sc=Beng:][:sc=Gujr:][:sc=Telu:][:sc=Mlym:][:sc=Orya:]&[:InSC=Consonant:]]",
      "[[:sc=Deva:][:sc=Beng:][:sc=Gujr:][:sc=Telu:][:sc=Mlym:][:sc=Orya:]&[:InSC=Virama:]]",
      "[[:InSC=Virama:][:InSC=Consonant:]-[:sc=Deva:]-[:sc=Beng:]]", "[[:GCB=Other:]-[:ExtPict:]]",
  };
  std::vector<std::vector<char32_t>> pools;
  for (const char* pattern : kClasses) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeSet set(icu::UnicodeString(pattern, -1, US_INV), status);
    ASSERT_TRUE(U_SUCCESS(status) && !set.isEmpty()) << pattern;
    std::vector<char32_t> pool;
    const int32_t n = set.size();
    for (int32_t k = 0; k < 16; ++k) pool.push_back(static_cast<char32_t>(set.charAt(k * n / 16)));
    pools.push_back(pool);
  }
  pools.push_back({0xD800, 0xDFFF, 0x110000, kReplacementChar});  // not scalar values
  std::mt19937 rng(29);
  for (int round = 0; round < 40000; ++round) {
    Text text(1 + rng() % 8, U' ');
    for (char32_t& c : text) {
      const std::vector<char32_t>& pool = pools[rng() % pools.size()];
      c = pool[rng() % pool.size()];
    }
    const std::string mismatch = fuzz::GraphemeMismatch(text);
    ASSERT_TRUE(mismatch.empty()) << mismatch;
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

// The browser edition's built-in table must give every code point the
// properties ICU gives it here; after an ICU upgrade it is made again
// (cmake --build build --target brenvik_update_unicode_tables).
TEST(UnicodeTables, EveryCodePointAsIcuAnswers) {
  std::size_t differing = 0;
  char32_t first = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const tables::Properties p = tables::Of(c);
    if (p.flags() != CharFlags(c) || p.width() != DisplayWidth(c) || p.direction() != StrongDirection(c)) {
      if (differing++ == 0) first = c;
    }
  }
  EXPECT_EQ(differing, 0u) << "the table (" << tables::Source() << ") differs from ICU " << U_ICU_VERSION
                           << ", first at U+" << std::hex << static_cast<unsigned>(first);
}

}  // namespace
}  // namespace brenvik::unicode
