#pragma once
// Moodle XML: a quiz with one embedded-answers (Cloze) question per text, for
// a course's question bank. Each gap becomes a short-answer sub-question
// whose answer must match exactly, case included, as on the page.

#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/ExportSettings.h"
#include "core/page/PageTest.h"
#include "core/text/Text.h"

namespace brenvik {

// Writes one <quiz> document (UTF-8 with its XML declaration), question by
// question. The question text is the whole test as HTML: the first sentence,
// the kept parts, one {1:SHORTANSWER_C:=answer} per gap, the separators, and
// <br> for each line break.
//
// Every character reaches Moodle as written: in the text, markup characters
// and braces become character references; in an answer, everything but ASCII
// letters and digits, DEL and characters from U+0080 up becomes a numeric
// character reference (Moodle ends an answer at an unescaped "~", "#" or "}"
// and decodes references only afterwards, and it stores a reference to DEL as
// those six characters, so DEL goes in as itself). Three more rules of
// Moodle's are met: "*" is written "\*" because a bare one is a wildcard;
// after decoding, Moodle drops the backslash of "\}" and "\#", so a "}" or
// "#" that follows a backslash gets one more; and a question name loses
// anything that looks like an HTML tag, so names are written in CDATA and a
// name that would come out empty is replaced.
//
// What cannot be carried gives a warning naming the gap or the text: a
// control character other than tab, line feed and carriage return, which XML
// cannot hold and which is written as U+FFFD; and an answer too long for
// Moodle to mark (see moodle::kMaxMarkingPatternBytes).
class MoodleQuizWriter {
 public:
  MoodleQuizWriter();

  // Adds the question of one text under the given name: tabs and line breaks
  // become spaces, the ends are trimmed and at most 255 characters are kept,
  // the most Moodle stores. A blank name gives "C-Test"; a name of which
  // Moodle would keep nothing (see moodle::KeptName) gives "Text N", N the
  // question's number in the quiz, and a warning. ListIndexError(-1), and
  // nothing added, when no word of the text has a gap.
  // With research, a text of a test: its gaps also take its further
  // accepted answers, with full marks; ignoreCase writes SHORTANSWER
  // (letter case ignored) instead of SHORTANSWER_C.
  void addQuestion(TextView name, const TestWorkspace& workspace, const page::PageText* research = nullptr,
                   bool ignoreCase = false);

  // Puts every question of the quiz into the category $course$/testName
  // (a blank name: "C-Test"), as the test's questions go.
  void setCategory(TextView testName);

  // The warnings of every question added so far (UTF-8), one per gap, text
  // or name that Moodle cannot take as written, each naming the gap or name.
  const std::vector<std::string>& warnings() const { return warnings_; }

  // The number of questions added.
  std::size_t questions() const { return questions_; }

  // Closes the quiz and returns the whole document. The writer is then spent.
  std::string finish();

 private:
  std::string xml_;
  std::string category_;  // the category's entry, written first; none when empty
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

// Moodle marks a short answer with a regular expression made from it, which
// PCRE compiles to one opcode byte plus the character's UTF-8 bytes for each
// character, and PCRE refuses a compiled pattern past 64 KiB (its default
// link size). An answer reaches that at 32,763 ASCII characters, 21,842 of
// two UTF-8 bytes, 16,381 of three and 13,105 of four; no answer typed into
// its gap is then marked right. The warning starts at 60,000 bytes of
// pattern, leaving room for the characters that Moodle's NFC normalisation
// writes as several.
inline constexpr std::size_t kMaxMarkingPatternBytes = 60000;

// The size of the pattern Moodle compiles to mark the answer.
std::size_t MarkingPatternBytes(TextView answer);

// An answer as written between "=" and "}" of its sub-question.
std::string ClozeAnswer(TextView answer);

// Why the answer cannot be read back or marked as written, or "" when it can.
std::string AnswerProblem(TextView answer);

// The question text (HTML) of one text; warnings get one entry per problem.
std::string QuestionHtml(const TestWorkspace& workspace, std::vector<std::string>& warnings,
                         const page::PageText* research = nullptr, bool ignoreCase = false);

// The name Moodle's import keeps of a question name: PHP's strip_tags, which
// drops everything from a "<" that is not followed by white space up to the
// ">" that closes it (quotes, comments "<!-- -->" and "<? ?>" included, and
// to the end of the name when nothing closes it), then trimmed.
Text KeptName(TextView name);

}  // namespace moodle

}  // namespace brenvik
