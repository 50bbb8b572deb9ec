#include "core/page/TestWords.h"

#include <algorithm>

#include "core/text/Errors.h"

namespace brenvik {

std::vector<TestWord> TestWords(const TestWorkspace& workspace) {
  const std::size_t count = workspace.Separators.size();
  const std::size_t aligned = std::min({count, workspace.LeftHalves.size(), workspace.RightHalves.size()});
  if (aligned < count) throw ListIndexError(static_cast<long long>(aligned));
  std::vector<TestWord> words;
  words.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    words.push_back({workspace.LeftHalves[i], workspace.RightHalves[i], workspace.Separators[i]});
  }
  return words;
}

std::size_t CountGaps(const std::vector<TestWord>& words) {
  return static_cast<std::size_t>(
      std::count_if(words.begin(), words.end(), [](const TestWord& w) { return !w.Answer.empty(); }));
}

void RequireGap(const std::vector<TestWord>& words) {
  if (CountGaps(words) == 0) throw ListIndexError(-1);
}

}  // namespace brenvik
