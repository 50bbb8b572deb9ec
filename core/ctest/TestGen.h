#pragma once
// C-test generation: the intact first sentence, word segmentation, halving of
// every second word, and assembly of the test text and the workspace lists.
// Window-free and stateless apart from the workspace record the caller owns.

#include <cstddef>

#include "core/text/Text.h"
#include "core/text/TextList.h"

namespace brenvik {

// Position assumed for a sentence mark that does not occur in the text.
inline constexpr std::size_t MissingMarkPosition = 5000;
// Characters after the sentence mark that still belong to the first sentence.
inline constexpr TextView SentenceTrailChars = U" \r\n";
// The thirteen characters that separate words.
inline constexpr TextView SeparatorChars = U" ,;:!?./\"'-\r\n";
// The digits that keep a word whole.
inline constexpr TextView DigitChars = U"0123456789";

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
WordSegments SegmentWords(TextView restText);

// Removes from both ends every character whose code is 32 or less.
TextView TrimControls(TextView s);

TextView GetLeftHalfWord(TextView word, std::size_t wordIndex);
TextView GetRightHalfWord(TextView word, std::size_t wordIndex);
// True when a character of s occurs in set.
bool ContainsFigures(TextView s, TextView set);
// count "_" characters; "" for a count of 0 or less.
Text Pad(long long count);

// Builds the test text from source and replaces the whole workspace.
Text GenerateTest(TextView source, TestWorkspace& workspace);

}  // namespace brenvik
