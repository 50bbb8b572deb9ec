#include "core/ctest/TestGen.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/text/HugePages.h"

namespace brenvik {

namespace {

// Membership table for the ASCII range; every character above 127 is a word
// character, so one bounds check plus one load decides.
struct CharTable {
  std::array<bool, 128> in{};
  constexpr explicit CharTable(TextView chars) {
    for (char32_t c : chars) in[c] = true;
  }
  constexpr bool operator()(char32_t c) const { return c < 128 && in[c]; }
};

constexpr CharTable IsSeparator(SeparatorChars);
constexpr CharTable IsTrailChar(SentenceTrailChars);

// How much replacement text a rescan may read again before it is taken to
// be endless: this many characters per input character, plus a constant.
constexpr std::size_t RescanBudgetFactor = 16;
constexpr std::size_t RescanBudgetBase = std::size_t{1} << 22;

constexpr bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool HasDigit(TextView s) {
  return std::any_of(s.begin(), s.end(), IsDigit);
}

// Number of leading characters of source that make up the first sentence.
std::size_t FirstSentenceLength(TextView source) {
  // The sentence end is the earliest of the three marks, where a missing
  // mark stands at position 5000 (1-based). The first mark of any kind
  // decides unless it lies past 5000: then only all three marks being
  // present keeps it, and the text has to be searched for the other two.
  constexpr TextView kMarks = U".!?";
  std::size_t end = source.find_first_of(kMarks);
  end = end == TextView::npos ? MissingMarkPosition : end + 1;
  if (end > MissingMarkPosition) {
    for (char32_t mark : kMarks) {
      if (source.find(mark) == TextView::npos) end = MissingMarkPosition;
    }
  }
  // Index `end` is the position after the mark; the run of spaces, CR and
  // LF there belongs to the first sentence.
  std::size_t j = end;
  while (j < source.size() && IsTrailChar(source[j])) ++j;
  return std::min(j, source.size());
}

// Makes text hold a copy of s, advising huge pages when the buffer is new.
void AssignLarge(Text& text, TextView s) {
  if (text.capacity() < s.size()) {
    text.clear();
    text.reserve(s.size());
    AdviseHugePages(text.data(), text.capacity() * sizeof(char32_t));
  }
  text.assign(s);
}

// True when view shares characters with the buffer of text.
bool Overlaps(TextView view, const Text& text) {
  if (view.empty() || text.empty()) return false;
  const std::less<const char32_t*> before;
  return before(view.data(), text.data() + text.size()) &&
         before(text.data(), view.data() + view.size());
}

// Where a word splits into its kept and deleted parts.
std::size_t KeptLength(TextView word, std::size_t wordIndex) {
  if (word.size() == 1 || wordIndex % 2 == 0 || HasDigit(word)) return word.size();
  return word.size() / 2;
}

// Character counts of a rest text, for sizing the lists before filling them.
struct RunCounts {
  std::size_t separatorRuns = 0;
  std::size_t separatorChars = 0;
};

RunCounts CountRuns(TextView restText) {
  RunCounts counts;
  bool previousIsSeparator = false;
  for (char32_t c : restText) {
    const bool sep = IsSeparator(c);
    counts.separatorChars += sep;
    counts.separatorRuns += sep && !previousIsSeparator;
    previousIsSeparator = sep;
  }
  return counts;
}

// Calls pair(word, separators) for every pair of restText in order: a word
// run, trimmed, and the separator run after it. Runs alternate; the first
// word run is empty when the text starts with a separator, the last
// separator run is empty when it ends with a word (or is empty). Returns true
// when the text ends with a separator run, which leaves one more empty word
// without a partner.
template <typename PairFn>
bool ForEachPair(TextView restText, PairFn&& pair) {
  const std::size_t n = restText.size();
  std::size_t i = 0;
  while (true) {
    const std::size_t wordStart = i;
    while (i < n && !IsSeparator(restText[i])) ++i;
    const TextView word = TrimControls(restText.substr(wordStart, i - wordStart));
    const std::size_t sepStart = i;
    while (i < n && IsSeparator(restText[i])) ++i;
    pair(word, restText.substr(sepStart, i - sepStart));
    if (i == n) return i > sepStart;
  }
}

// Fills words and separators with the pairs of restText; both lists are
// cleared first and sized once.
void SegmentInto(TextView restText, TextList& words, TextList& separators) {
  words.clear();
  separators.clear();
  const RunCounts counts = CountRuns(restText);
  words.reserve(counts.separatorRuns + 1, restText.size() - counts.separatorChars);
  separators.reserve(counts.separatorRuns + 1, counts.separatorChars);
  const bool extraWord = ForEachPair(restText, [&](TextView word, TextView separator) {
    words.push_back(word);
    separators.push_back(separator);
  });
  if (extraWord) words.push_back(TextView());
}

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

SentenceSplit SplitFirstSentence(TextView source) {
  const std::size_t cut = FirstSentenceLength(source);
  return {Text(source.substr(0, cut)), Text(source.substr(cut))};
}

WordSegments SegmentWords(TextView restText) {
  WordSegments result;
  SegmentInto(restText, result.WordList, result.Separators);
  return result;
}

TextView TrimControls(TextView s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && s[begin] <= U' ') ++begin;
  while (end > begin && s[end - 1] <= U' ') --end;
  return s.substr(begin, end - begin);
}

TextView GetLeftHalfWord(TextView word, std::size_t wordIndex) {
  return word.substr(0, KeptLength(word, wordIndex));
}

TextView GetRightHalfWord(TextView word, std::size_t wordIndex) {
  return word.substr(KeptLength(word, wordIndex));
}

bool ContainsFigures(TextView s, TextView set) {
  return std::any_of(s.begin(), s.end(),
                     [set](char32_t c) { return set.find(c) != TextView::npos; });
}

Text Pad(long long count) {
  return count > 0 ? Text(static_cast<std::size_t>(count), U'_') : Text();
}

// Replacing the leftmost occurrence and searching the whole string again
// until none is left does not always finish: a replacement that contains the
// pattern gives a new occurrence every time, and some longer replacements
// that overlap the pattern ("aba" by "baab" in "aaba") regrow it forever.
// So:
// - a replacement that contains the pattern is applied in one left-to-right
//   pass;
// - a replacement shorter than the pattern shrinks the string at every step
//   and is rescanned to the end;
// - a replacement at least as long as the pattern that cannot overlap it
//   never forms a new occurrence, so one pass gives the rescanning result
//   (this covers every caller: letters by "%61".."%7A", CR LF by "<BR>");
// - any other pair is rescanned while the replacement text read again stays
//   within a budget proportional to the input, and past it falls back to
//   one pass.
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

Text GenerateTest(TextView source, TestWorkspace& workspace) {
  TestWorkspace& w = workspace;
  // The two strings are refilled in place to keep their capacity. source may
  // be a view into one of them (or into a list, which is only changed after
  // source has been copied); then it is copied first.
  Text ownCopy;
  if (Overlaps(source, w.FirstSentence) || Overlaps(source, w.RestText)) {
    ownCopy.assign(source);
    source = ownCopy;
  }
  const std::size_t cut = FirstSentenceLength(source);
  AssignLarge(w.FirstSentence, source.substr(0, cut));
  AssignLarge(w.RestText, source.substr(cut));
  const TextView rest = w.RestText;

  // Every list is sized once, from a counting pass, and keeps the capacity
  // of an earlier run.
  const RunCounts counts = CountRuns(rest);
  const std::size_t entries = counts.separatorRuns + 1;
  const std::size_t wordChars = rest.size() - counts.separatorChars;
  for (TextList* list : {&w.WordList, &w.LeftHalves, &w.RightHalves, &w.Separators,
                         &w.PageAnswers}) {
    list->clear();
  }
  w.WordList.reserve(entries, wordChars);
  w.Separators.reserve(entries, counts.separatorChars);
  w.LeftHalves.reserve(entries, wordChars);
  w.RightHalves.reserve(entries, wordChars);
  w.PageAnswers.reserve(entries / 2 + 1, wordChars);

  Text test;
  test.reserve(source.size());
  AdviseHugePages(test.data(), test.capacity() * sizeof(char32_t));
  test.append(w.FirstSentence);

  // One pass does segmentation, halving and assembly while each pair is at
  // hand. Pair k's word has WordIndex k.
  std::size_t k = 0;
  const bool extraWord = ForEachPair(rest, [&](TextView word, TextView separator) {
    const std::size_t kept = KeptLength(word, k++);
    const TextView left = word.substr(0, kept);
    const TextView right = word.substr(kept);
    w.WordList.push_back(word);
    w.Separators.push_back(separator);
    w.LeftHalves.push_back(left);
    w.RightHalves.push_back(right);
    if (!right.empty()) w.PageAnswers.push_back(right);
    test.append(left);
    test.append(right.size(), U'_');
    test.append(separator);
  });
  if (extraWord) w.WordList.push_back(TextView());

  w.PageLeftHalves.assign(w.LeftHalves);
  w.PageSeparators.assign(w.Separators);
  w.PageRightHalves.assign(w.RightHalves);
  return test;
}

}  // namespace brenvik
