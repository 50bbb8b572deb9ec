#pragma once
// How a typed answer is judged: the one comparison every output that scores
// answers reproduces.

#include <vector>

#include "core/test/Test.h"
#include "core/text/Text.h"

namespace brenvik {

// The typed answer as the pages score it: blanks, line feeds and carriage
// returns trimmed from both ends, each run of two or more blanks inside as
// one blank.
Text TrimTypedAnswer(TextView typed);

// True when typed (trimmed as above) is answer: letter for letter, or with
// IgnoreCase after both went through unicode::ToLowerCase (JavaScript's
// toLowerCase, which the pages use).
bool AnswersMatch(TextView typed, TextView answer, AnswerMatching matching);

// True when typed is right for a gap whose deleted part is deleted and whose
// further accepted answers are accepted.
bool IsRightAnswer(TextView typed, TextView deleted, const std::vector<Text>& accepted,
                   AnswerMatching matching);

}  // namespace brenvik
