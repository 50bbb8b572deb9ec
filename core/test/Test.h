#pragma once
// The C-test as language testers build it: one or more texts in order, each
// with its title, its source, its generation options and the teacher's edits,
// plus the settings of the whole test. Window-free; the test file
// (core/test/TestFile) keeps it, GenerateWholeTest (core/test/Research) turns
// it into the workspaces the outputs read.
//
// A test of one text with default options and no edit is exactly the test
// Process has always made: the rule alone decides.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/page/ExportSettings.h"
#include "core/text/Text.h"

namespace brenvik {

// How a typed answer is compared with the right ones.
enum class AnswerMatching {
  Exact,       // letter for letter, as the pages have always scored
  IgnoreCase,  // letter case does not count (see AnswersMatch)
};

// Per text, the rule's refinements. The defaults are the plain rule.
struct TextOptions {
  // After this many gaps every word stays whole; 0 for no limit.
  std::uint32_t gapLimit = 0;
  // No gap in the words after the last sentence end that is followed by
  // more words.
  bool keepLastSentence = false;

  friend bool operator==(const TextOptions&, const TextOptions&) = default;
};

// What an edit does to the gap of its word.
enum class GapSwitch {
  Rule,  // as the rule decides
  On,    // a word the rule leaves whole is halved as the rule halves
  Off,   // a word the rule halves stays whole
};

// The teacher's change to one word of a text. A word is named by its text and
// which of the equal words it is (occurrence 2: the second "then"), so the
// edit finds its word again when the text is processed again, even after
// words were added or removed elsewhere.
struct WordEdit {
  Text word;                   // as it stands in the word list, never empty
  std::uint32_t occurrence = 1;  // 1 for the first such word of the text
  GapSwitch gap = GapSwitch::Rule;
  // Further right answers for the word's gap, beyond its deleted part ("em"
  // besides "en" for "th__" of "then").
  std::vector<Text> accepted;

  friend bool operator==(const WordEdit&, const WordEdit&) = default;
};

struct TestText {
  Text title;
  Text source;
  TextOptions options;
  std::vector<WordEdit> edits;

  friend bool operator==(const TestText&, const TestText&) = default;
};

struct Test {
  std::vector<TestText> texts;
  // The page settings; settings.Title is the name of the whole test.
  ExportSettings settings;
  // The texts' language as a BCP 47 tag ("de", "zh-Hant"), empty for none:
  // the locale of the word and grapheme rules, and later the pages' lang.
  std::string language;
  AnswerMatching matching = AnswerMatching::Exact;

  friend bool operator==(const Test&, const Test&) = default;
};

}  // namespace brenvik
