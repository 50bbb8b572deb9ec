#pragma once
// C-test generation: the intact first sentence, word segmentation, halving of
// every second word, and assembly of the test text and the workspace lists.
// Window-free and stateless apart from the workspace record the caller owns.
//
// Every character of Windows-1252 keeps the classes below (with one mend:
// the no-break space separates words). Characters beyond it follow Unicode:
// a Sentence_Terminal ends the first sentence as ".", "!" and "?" do and a
// Unicode space after it belongs to the sentence; spaces and punctuation
// separate words; runs of Han, kana, Thai, Lao, Khmer and Myanmar are cut at
// dictionary word boundaries, adjacent words then having an empty separator
// between them; any decimal digit keeps a word whole; and lengths and
// halving count grapheme clusters, so a letter never loses its accents or
// vowel signs.

#include <cstddef>
#include <string>

#include "core/text/Text.h"
#include "core/text/TextList.h"
#include "core/text/Unicode.h"  // unicode::ToNfc, for the text that enters

namespace brenvik {

// Position assumed for a sentence mark that does not occur in the text.
inline constexpr std::size_t MissingMarkPosition = 5000;
// Characters after the sentence mark that still belong to the first sentence.
inline constexpr TextView SentenceTrailChars = U" \r\n";
// The thirteen characters that separate words.
inline constexpr TextView SeparatorChars = U" ,;:!?./\"'-\r\n";
// The digits that keep a word whole (beyond them, any Unicode decimal digit).
inline constexpr TextView DigitChars = U"0123456789";

struct GenerateOptions {
  // The text's language as a BCP 47 tag ("th", "ja"), empty for none: it
  // picks the locale of the word and grapheme rules.
  std::string Language;
};

struct SentenceSplit {
  Text FirstSentence;
  Text RestText;
};

struct WordSegments {
  TextList WordList;
  TextList Separators;
};

// The record of the last Process. Empty before the first one.
struct TestWorkspace {
  Text FirstSentence;
  Text RestText;
  TextList WordList;
  TextList Separators;
  TextList LeftHalves;
  TextList RightHalves;
  TextList PageLeftHalves;
  TextList PageSeparators;
  TextList PageRightHalves;
  TextList PageAnswers;

  friend bool operator==(const TestWorkspace&, const TestWorkspace&) = default;
};

SentenceSplit SplitFirstSentence(TextView source);
// language as GenerateOptions::Language. UnicodeError for a tag that is not
// well-formed, or when the Unicode data cannot be loaded.
WordSegments SegmentWords(TextView restText, std::string_view language = {});

// Removes from both ends every character whose code is 32 or less.
TextView TrimControls(TextView s);

// The kept and the deleted part of a word at its index in WordList. Halving
// counts grapheme clusters: L clusters keep the first L div 2.
TextView GetLeftHalfWord(TextView word, std::size_t wordIndex);
TextView GetRightHalfWord(TextView word, std::size_t wordIndex);
// The number of letters (grapheme clusters) of a deleted part: the number of
// "_" that stand for it.
std::size_t GapLength(TextView deletedPart);
// True when a character of s occurs in set.
bool ContainsFigures(TextView s, TextView set);
// count "_" characters; "" for a count of 0 or less.
Text Pad(long long count);

// Builds the test text from source and replaces the whole workspace. The
// source is taken as it is; callers normalise text to NFC where it enters
// (unicode::ToNfc), so that answers are the letters a pupil types.
// UnicodeError as for SegmentWords, the workspace then untouched.
Text GenerateTest(TextView source, TestWorkspace& workspace, const GenerateOptions& options = {});

}  // namespace brenvik
