#pragma once
// What the program needs to know about Unicode, behind one small interface:
// the character properties of the test rules, grapheme clusters, word
// boundaries of scripts written without spaces, and normalisation to NFC.
// Plain code points go in, positions (indexes into the given text) come out;
// no library type appears here. Unicode.cpp answers with ICU; a build for the
// browser can answer the same questions with Intl.Segmenter,
// String.prototype.normalize and \p{...} regular expressions.
//
// Failures of the library (missing data, no memory) and language tags it
// cannot read throw UnicodeError (core/text/Errors.h).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/text/Text.h"

namespace brenvik::unicode {

// Properties of one character, as bits of CharFlags.
enum CharFlag : unsigned {
  kSpace = 1u << 0,             // General_Category Zs, Zl or Zp
  kPunctuation = 1u << 1,       // General_Category P* (Pc Pd Ps Pe Pi Pf Po)
  kSentenceTerminal = 1u << 2,  // Sentence_Terminal
  kDecimalDigit = 1u << 3,      // General_Category Nd
  // Script_Extensions hold Han, Hiragana, Katakana, Thai, Lao, Khmer or
  // Myanmar: scripts written without spaces between words.
  kDictionaryScript = 1u << 4,
};

// The CharFlag bits of c; 0 for values that are not code points.
unsigned CharFlags(char32_t c);

// CharFlags for loops over many characters: one table load for each
// character of the Basic Multilingual Plane. Copies share one table.
class CharFlagTable {
 public:
  CharFlagTable();  // loads the table on first use
  unsigned operator()(char32_t c) const { return c < 0x10000 ? bmp_[c] : CharFlags(c); }

 private:
  const std::uint8_t* bmp_;
};

// How wide a character stands on a screen, in the cells of a monospaced
// line: Zero for combining marks (Mn, Me), emoji modifiers and the default
// ignorable characters (joiners, variation selectors, directional marks);
// Two for East_Asian_Width Wide or Fullwidth and Emoji_Presentation; One
// for the rest.
enum class CellWidth : std::uint8_t { Zero, One, Two };
CellWidth DisplayWidth(char32_t c);
// The cells of a whole text: the sum of DisplayWidth over its characters.
std::size_t CellCount(TextView text);

// The strong direction a character gives a line of text that starts with
// it (Bidi_Class L; R or AL), or None for every other class (digits,
// neutrals, marks, isolates), which leaves the choice to a later letter.
enum class StrongClass : std::uint8_t { None, LeftToRight, RightToLeft };
StrongClass StrongDirection(char32_t c);

// The first combining mark. A text made only of characters below it is in
// NFC and each of its characters is a grapheme cluster of its own (CR LF
// aside): it needs no segmenter and no normalising.
inline constexpr char32_t kFirstCombiningMark = 0x0300;

// True when text is in Normalization Form C.
bool IsNfc(TextView text);
// text in Normalization Form C. Values that are not Unicode scalar values
// (lone surrogates, values past U+10FFFF) stay where they are and the text
// between them is normalised on its own. A text already in NFC comes back
// unchanged without being copied.
Text ToNfc(Text text);

// text in lower case by Unicode's full lowercase mapping, the same for every
// language (no Turkish or Lithuanian rules; a final capital sigma becomes
// "ς"): what JavaScript's String.prototype.toLowerCase gives. Values that
// are not scalar values become U+FFFD.
Text ToLowerCase(TextView text);

// Grapheme-cluster and word segmentation for one language. Holds its
// segmenters (made on first use) and buffers, so one object serves many
// calls cheaply; not for use by two threads at once.
class TextSegmenter {
 public:
  // languageTag is a BCP 47 tag ("th", "zh-Hant", "ja-JP"); empty means the
  // root locale. UnicodeError when the tag is not well-formed.
  explicit TextSegmenter(std::string_view languageTag = {});
  ~TextSegmenter();
  TextSegmenter(TextSegmenter&&) noexcept;
  TextSegmenter& operator=(TextSegmenter&&) noexcept;

  // Replaces out with the extended grapheme cluster boundaries of text:
  // 0, then the end of each cluster, the last being text.size(). A text of
  // n clusters gives n + 1 positions; the empty text gives {0}.
  void graphemeBoundaries(TextView text, std::vector<std::size_t>& out);
  std::size_t countGraphemes(TextView text);

  // Replaces out with the word boundaries of text by Unicode's word rules
  // for the language, cutting runs of Han, kana, Thai, Lao, Khmer and
  // Myanmar at dictionary words: 0, ..., text.size(), as above.
  void wordBoundaries(TextView text, std::vector<std::size_t>& out);

  // Loads the character table and both segmenters now, so that a caller can
  // fail before it changes anything rather than half way through.
  void prepare();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace brenvik::unicode
