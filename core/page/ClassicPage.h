#pragma once
// The interactive HTML page: markup, style sheet and the answer-checking
// script, built from the workspace of the last Process and the settings.

#include <string>
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

// The page of a text of a test whose gaps take further answers (per gap in
// text order) or whose matching ignores letter case: the script also accepts
// those, compared after the same trimming, both sides through toLowerCase
// when case is ignored.
std::string BuildTestPageBytes(TestWorkspace& workspace, const ExportSettings& settings,
                               const std::vector<std::vector<Text>>& accepted, AnswerMatching matching);

// The bytes of the saved page: Windows-1252, each character outside it as a
// decimal numeric character reference.
std::string EncodePage(TextView page);

}  // namespace brenvik
