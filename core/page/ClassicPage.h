#pragma once
// The interactive HTML page: markup, style sheet and the answer-checking
// script, built from the workspace of the last Process and the settings.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/test/Test.h"

#include "core/page/ExportSettings.h"
#include "core/text/Text.h"
#include "core/ctest/TestGen.h"

namespace brenvik {

// Prepares PageAnswers and PageSeparators in place (empty answers dropped,
// lower-case letters escaped, CR LF marked as <BR>) and returns the page as
// text. Throws ListIndexError(-1) when there is no answer; the lists stay
// prepared, so a later export gives the same page.
Text BuildTestPage(TestWorkspace& workspace, const ExportSettings& settings);

// BuildTestPage and EncodePage in one step, without the page as text in
// between: the same bytes, for saving a large page.
std::string BuildTestPageBytes(TestWorkspace& workspace, const ExportSettings& settings);

// A text of a test on the page: its title, its workspace, whose page lists
// are prepared in place as for BuildTestPage, and per gap in text order its
// further right answers (nullptr for none).
struct ClassicPageText {
  TextView Title;
  TestWorkspace* Workspace = nullptr;
  const std::vector<std::vector<Text>>* Accepted = nullptr;
};

// The page of a test of one or more texts, in order: several texts each
// under their title as a heading, the boxes numbered on from text to text in
// one form, so that one Submit scores them all. Further answers and letter
// case count as for one text; the language, when there is one, is the texts'
// lang. A test of one text with no further answer, exact matching and no
// language is exactly the page of BuildTestPage. ListIndexError(-1) when no
// text has an answer.
Text BuildTestPage(std::span<const ClassicPageText> texts, const ExportSettings& settings,
                   AnswerMatching matching = AnswerMatching::Exact, std::string_view language = {});
std::string BuildTestPageBytes(std::span<const ClassicPageText> texts, const ExportSettings& settings,
                               AnswerMatching matching = AnswerMatching::Exact, std::string_view language = {});

// The bytes of the saved page: Windows-1252, each character outside it as a
// decimal numeric character reference.
std::string EncodePage(TextView page);

}  // namespace brenvik
