#pragma once
// The words of a test in text order, as every output format but the classic
// page reads them: each word's kept part, its deleted part (the answer of its
// gap, empty when the word stayed whole) and the separator run after it.

#include <cstddef>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/text/Text.h"

namespace brenvik {

struct TestWord {
  TextView Kept;
  TextView Answer;     // empty: the word has no gap
  TextView Separator;  // line breaks as they are in the text (CR LF)
};

// The words in text order, read from LeftHalves, RightHalves and Separators.
// The classic page rewrites PageAnswers and PageSeparators in place (letters
// escaped, line breaks marked) but never these three lists, so the words are
// the same before and after a classic export. The views point into the
// workspace and stay valid while it is unchanged. ListIndexError(i) when
// LeftHalves or RightHalves has fewer entries than Separators (i the first
// missing index).
std::vector<TestWord> TestWords(const TestWorkspace& workspace);

// The number of words with a gap.
std::size_t CountGaps(const std::vector<TestWord>& words);

// ListIndexError(-1), the error the classic page gives when no word lost a
// part, unless some word has a gap.
void RequireGap(const std::vector<TestWord>& words);

// Calls onText(run) for each stretch of s without a line break and
// onBreak() for each line break: CR LF, a lone CR or a lone LF.
template <class OnText, class OnBreak>
void SplitLineBreaks(TextView s, OnText&& onText, OnBreak&& onBreak) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char32_t c = s[i];
    if (c != U'\r' && c != U'\n') continue;
    if (i > start) onText(s.substr(start, i - start));
    onBreak();
    if (c == U'\r' && i + 1 < s.size() && s[i + 1] == U'\n') ++i;
    start = i + 1;
  }
  if (start < s.size()) onText(s.substr(start));
}

}  // namespace brenvik
