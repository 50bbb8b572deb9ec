#pragma once
// Moodle XML: a quiz with one embedded-answers (Cloze) question per text, for
// a course's question bank. Each gap becomes a short-answer sub-question
// whose answer must match exactly, case included, as on the page.

#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/ExportSettings.h"
#include "core/text/Text.h"

namespace brenvik {

// Writes one <quiz> document (UTF-8 with its XML declaration), question by
// question. The question text is the whole test as HTML: the first sentence,
// the kept parts, one {1:SHORTANSWER_C:=answer} per gap, the separators, and
// <br> for each line break.
//
// Every character reaches Moodle as written: in the text, markup characters
// and braces become character references; in an answer, everything but ASCII
// letters and digits and characters from U+0080 up becomes a numeric
// character reference (Moodle ends an answer at an unescaped "~", "#" or "}"
// and decodes references only afterwards), and "*" is written "\*" because a
// bare one is a wildcard. Two things cannot be carried: Moodle turns "\}" and
// "\#" into "}" and "#" after decoding, so an answer holding either comes out
// without its backslash; and XML cannot hold most control characters, which
// are written as U+FFFD. Each such case gives a warning naming the gap.
class MoodleQuizWriter {
 public:
  MoodleQuizWriter();

  // Adds the question of one text under the given name (a blank name gives
  // "C-Test"; at most 255 characters are kept, the most Moodle stores).
  // ListIndexError(-1), and nothing added, when no word of the text has a gap.
  void addQuestion(TextView name, const TestWorkspace& workspace);

  // The warnings of every question added so far (UTF-8), one per gap or text
  // that Moodle cannot read back exactly, each naming the gap.
  const std::vector<std::string>& warnings() const { return warnings_; }

  // The number of questions added.
  std::size_t questions() const { return questions_; }

  // Closes the quiz and returns the whole document. The writer is then spent.
  std::string finish();

 private:
  std::string xml_;
  std::vector<std::string> warnings_;
  std::size_t questions_ = 0;
};

struct MoodleXmlResult {
  std::string Xml;                    // the file's bytes
  std::vector<std::string> Warnings;  // see MoodleQuizWriter::warnings
};

// One text as a quiz of one question named after settings.Title. The
// workspace is only read, so the result is the same before and after a
// classic export. ListIndexError(-1) when no word has a gap.
MoodleXmlResult BuildMoodleXml(const TestWorkspace& workspace, const ExportSettings& settings);

namespace moodle {

// The pieces, for tests and for other writers.

// An answer as written between "=" and "}" of its sub-question.
std::string ClozeAnswer(TextView answer);

// Why the answer cannot be read back exactly, or "" when it can.
std::string AnswerProblem(TextView answer);

// The question text (HTML) of one text; warnings get one entry per problem.
std::string QuestionHtml(const TestWorkspace& workspace, std::vector<std::string>& warnings);

}  // namespace moodle

}  // namespace brenvik
