#pragma once
// Generation of a test: per text the rule's gaps (GenerateTest), then the
// teacher's edits, then the text's options. What this gives is what every
// output reads: per text its title, its TestWorkspace (the lists as Process
// has always filled them, now with the edits and options applied) and per gap
// its accepted answers, plus the test's settings, language and matching.
//
// A text with default options and no edit is left exactly as GenerateTest
// made it: the refining pass does not run.

#include <cstddef>
#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/test/Test.h"
#include "core/text/Errors.h"

namespace brenvik {

struct GeneratedText {
  Text title;
  TestWorkspace workspace;
  Text testText;  // as the output box shows it
  // Per gap in text order (the order of workspace.PageAnswers), the further
  // right answers: trimmed as typed answers are, none empty, none equal to
  // the deleted part, no two equal.
  std::vector<std::vector<Text>> accepted;
  // The edits whose word the text no longer has (indexes into the text's
  // edits, ascending), and for each a note for the teacher (UTF-8).
  std::vector<std::size_t> droppedEdits;
  std::vector<std::string> notes;
};

struct GeneratedTest {
  std::vector<GeneratedText> texts;
  ExportSettings settings;
  std::string language;
  AnswerMatching matching = AnswerMatching::Exact;
};

// A gap switched on for a word that cannot be halved: a word of one letter
// or holding a digit.
class EditError : public BrenvikError {
 public:
  using BrenvikError::BrenvikError;
};

// The index in the word list of the first word of the last sentence: the
// words after the last sentence end ('.', '!', '?' or a Unicode
// Sentence_Terminal) that more words follow. When the rest text has no such
// end, the first sentence's end is the last one and every word counts (0).
std::size_t LastSentenceStart(const TestWorkspace& workspace);

// Applies edits and options to a workspace and test text that GenerateTest
// made: edits first (gap off, gap on), then the kept last sentence, then the
// gap limit, which counts the gaps left in text order. Words that change
// nothing keep their halves. Fills accepted, droppedEdits and notes of out.
// EditError, with nothing changed, for a gap switched on that cannot be.
void ApplyEditsAndOptions(const TextOptions& options, const std::vector<WordEdit>& edits,
                          GeneratedText& out);

// One text of a test, in the given language (a BCP 47 tag or empty).
// EditError as above; UnicodeError as for GenerateTest.
GeneratedText GenerateText(const TestText& text, const std::string& language = {});

// The same into out, whose workspace keeps its capacity (a program that
// makes the same text again allocates nothing per word). On an error out
// is left in an unspecified but valid state.
void GenerateText(const TestText& text, const std::string& language, GeneratedText& out);

// Every text of the test in order; the first error ends it.
GeneratedTest GenerateWholeTest(const Test& test);

// Removes from test the edits that generated reports dropped, so that a test
// saved after generation keeps only edits that still find their word.
void RemoveDroppedEdits(Test& test, const GeneratedTest& generated);

// "1st", "2nd", "3rd", "4th", "11th", "21st" ...
std::string Ordinal(std::uint64_t n);

}  // namespace brenvik
