#include "core/test/Matching.h"

#include "core/text/Unicode.h"

namespace brenvik {

namespace {
bool IsTrimmed(char32_t c) { return c == U' ' || c == U'\n' || c == U'\r'; }
}  // namespace

Text TrimTypedAnswer(TextView typed) {
  std::size_t begin = 0;
  std::size_t end = typed.size();
  while (end > 0 && IsTrimmed(typed[end - 1])) --end;
  while (begin < end && IsTrimmed(typed[begin])) ++begin;
  Text out;
  out.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    if (typed[i] == U' ' && !out.empty() && out.back() == U' ') continue;
    out.push_back(typed[i]);
  }
  return out;
}

bool AnswersMatch(TextView typed, TextView answer, AnswerMatching matching) {
  const Text trimmed = TrimTypedAnswer(typed);
  if (trimmed == answer) return true;
  return matching == AnswerMatching::IgnoreCase &&
         unicode::ToLowerCase(trimmed) == unicode::ToLowerCase(answer);
}

bool IsRightAnswer(TextView typed, TextView deleted, const std::vector<Text>& accepted,
                   AnswerMatching matching) {
  if (AnswersMatch(typed, deleted, matching)) return true;
  for (const Text& a : accepted) {
    if (AnswersMatch(typed, a, matching)) return true;
  }
  return false;
}

}  // namespace brenvik
