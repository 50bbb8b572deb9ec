#include "core/ctest/TestGen.h"

#include <algorithm>
#include <array>
#include <cstdint>

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
