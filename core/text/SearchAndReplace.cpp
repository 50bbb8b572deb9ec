#include "core/text/SearchAndReplace.h"

#include <optional>
#include <vector>

namespace brenvik {

namespace {

// How much replacement text a rescan may read again before it is taken to
// be endless: this many characters per input character, plus a constant.
constexpr std::size_t RescanBudgetFactor = 16;
constexpr std::size_t RescanBudgetBase = std::size_t{1} << 22;

// Longest proper border of every prefix of pattern (Knuth-Morris-Pratt).
std::vector<std::size_t> Borders(TextView pattern) {
  std::vector<std::size_t> border(pattern.size() + 1, 0);
  std::size_t k = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = border[k];
    if (pattern[i] == pattern[k]) ++k;
    border[i + 1] = k;
  }
  return border;
}

// One step of the matcher: the matched prefix length after reading c.
inline std::size_t Advance(TextView pattern, const std::vector<std::size_t>& border,
                           std::size_t state, char32_t c) {
  if (state == pattern.size()) state = border[state];
  while (state > 0 && pattern[state] != c) state = border[state];
  if (pattern[state] == c) ++state;
  return state;
}

// True when pattern occurs in text.
bool Occurs(TextView text, TextView pattern, const std::vector<std::size_t>& border) {
  std::size_t state = 0;
  for (char32_t c : text) {
    state = Advance(pattern, border, state, c);
    if (state == pattern.size()) return true;
  }
  return false;
}

// Replaces every occurrence in one left-to-right pass; text inserted by a
// replacement is not searched again.
Text ReplaceOnePass(TextView s, TextView pattern, const std::vector<std::size_t>& border,
                    TextView replacement) {
  Text out;
  out.reserve(s.size());
  std::size_t from = 0;
  std::size_t state = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    state = Advance(pattern, border, state, s[i]);
    if (state == pattern.size()) {
      const std::size_t at = i + 1 - pattern.size();
      out.append(s.substr(from, at - from));
      out.append(replacement);
      from = i + 1;
      state = 0;
    }
  }
  out.append(s.substr(from));
  return out;
}

// True when a replacement inserted next to other text can form part of a new
// occurrence: a proper suffix of replacement is a prefix of pattern, or a
// proper prefix of replacement is a suffix of pattern.
bool CanOverlap(TextView pattern, TextView replacement) {
  const std::size_t longest = std::min(pattern.size() - 1, replacement.size());
  for (std::size_t k = 1; k <= longest; ++k) {
    if (replacement.substr(replacement.size() - k) == pattern.substr(0, k)) return true;
    if (replacement.substr(0, k) == pattern.substr(pattern.size() - k)) return true;
  }
  return false;
}

// The rescanning replacement; nullopt when more than `budget` characters
// would have to be read (the pattern keeps reappearing).
//
// The output buffer holds the finished prefix, which contains no occurrence;
// characters still to be read come from a stack of pending replacement text
// and then from the rest of s. Moving one character to the output can create
// at most one new occurrence, ending at that character, and it is the
// leftmost one of the whole current string (every occurrence has the same
// length, so the first to end is the first to start). It is replaced by
// dropping it from the output and pushing the replacement onto the pending
// stack, where it is read again like any other text. The matcher state after
// a drop depends only on the last len(pattern) - 1 output characters, which
// are read again. Work is linear in the characters read.
std::optional<Text> ReplaceRescanning(TextView s, TextView pattern,
                                      const std::vector<std::size_t>& border,
                                      TextView replacement, std::size_t budget) {
  const std::size_t m = pattern.size();
  Text out;
  out.reserve(s.size());
  Text pending;  // read from the back
  std::size_t next = 0;
  std::size_t state = 0;
  std::size_t reread = 0;  // characters read from pending

  while (true) {
    char32_t c;
    if (!pending.empty()) {
      if (++reread > budget) return std::nullopt;
      c = pending.back();
      pending.pop_back();
    } else if (next < s.size()) {
      // Nothing pending and no partial match: copy up to the next place
      // where the pattern could start in one go.
      if (state == 0) {
        const std::size_t at = s.find(pattern[0], next);
        const std::size_t stop = at == TextView::npos ? s.size() : at;
        out.append(s.substr(next, stop - next));
        next = stop;
        if (next == s.size()) break;
      }
      c = s[next++];
    } else {
      break;
    }
    out.push_back(c);
    state = Advance(pattern, border, state, c);
    if (state == m) {
      out.resize(out.size() - m);
      pending.append(replacement.rbegin(), replacement.rend());
      state = 0;
      const std::size_t tail = std::min(out.size(), m - 1);
      for (std::size_t k = out.size() - tail; k < out.size(); ++k) {
        state = Advance(pattern, border, state, out[k]);
      }
    }
  }
  return out;
}


}  // namespace

Text SearchAndReplace(TextView s, TextView pattern, TextView replacement) {
  if (pattern.empty() || s.empty()) return Text(s);
  const std::vector<std::size_t> border = Borders(pattern);
  if (Occurs(replacement, pattern, border)) {
    return ReplaceOnePass(s, pattern, border, replacement);
  }
  if (replacement.size() < pattern.size()) {
    return *ReplaceRescanning(s, pattern, border, replacement, TextView::npos);
  }
  if (!CanOverlap(pattern, replacement)) {
    return ReplaceOnePass(s, pattern, border, replacement);
  }
  const std::size_t budget = RescanBudgetFactor * (s.size() + replacement.size()) + RescanBudgetBase;
  if (auto rescanned = ReplaceRescanning(s, pattern, border, replacement, budget)) {
    return std::move(*rescanned);
  }
  return ReplaceOnePass(s, pattern, border, replacement);
}

}  // namespace brenvik
