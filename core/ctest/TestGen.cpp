#include "core/ctest/TestGen.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/text/CodePage.h"
#include "core/text/HugePages.h"
#include "core/text/Unicode.h"

namespace brenvik {

namespace {

// Classes of U+0000-U+00FF: the thirteen separators and the no-break space
// (which separates words as a space does: French puts it before ":", ";",
// "!" and "?", and an answer ending in an invisible no-break space could
// never be typed right). Every other character there is a word character.
struct Latin1Table {
  std::array<bool, 256> in{};
  constexpr Latin1Table(TextView chars, char32_t extra) {
    for (char32_t c : chars) in[c] = true;
    in[extra] = true;
  }
  constexpr bool operator[](char32_t c) const { return in[c]; }
};

constexpr Latin1Table kLatin1Separators(SeparatorChars, U'\u00a0');

constexpr char32_t kLatin1End = 0x100;

enum class CharKind : std::uint8_t { Word, DictionaryWord, Separator };

// The character classes of one text, and the segmenter for its language.
// Text below U+0100 is decided by the table above; the Unicode properties
// and the segmenters are loaded only for text that goes beyond it, and
// before the caller changes anything, so that missing data fails the call
// at its start (the segmenters cost a few microseconds).
class Rules {
 public:
  Rules(TextView text, std::string_view language) : segmenter_(language) {
    if (std::any_of(text.begin(), text.end(), [](char32_t c) { return c >= kLatin1End; })) {
      flags_.emplace();
      segmenter_.prepare();
    }
  }

  // The class of c. Beyond U+00FF the characters of Windows-1252 (quotes,
  // dashes, the ellipsis...) stay word characters as they always were, and
  // every other Unicode space or punctuation character separates words. A
  // word character of a script written without spaces is a DictionaryWord
  // character.
  CharKind classify(char32_t c) const {
    if (c < kLatin1End) return kLatin1Separators[c] ? CharKind::Separator : CharKind::Word;
    const unsigned f = flags(c);
    if ((f & (unicode::kSpace | unicode::kPunctuation)) != 0 && !CharToWindows1252(c)) {
      return CharKind::Separator;
    }
    return (f & unicode::kDictionaryScript) != 0 ? CharKind::DictionaryWord : CharKind::Word;
  }

  bool isSeparator(char32_t c) const {
    return c < kLatin1End ? kLatin1Separators[c] : classify(c) == CharKind::Separator;
  }

  // Space, CR and LF, and beyond U+00FF every Unicode space (U+3000 after
  // "。" included): the run of them after the sentence mark belongs to the
  // first sentence.
  bool isTrail(char32_t c) const {
    if (c < kLatin1End) return c == U' ' || c == U'\r' || c == U'\n';
    return (flags(c) & unicode::kSpace) != 0;
  }

  // A sentence terminal beyond the three marks ("।", "。", "։", "።", "۔").
  bool isOtherSentenceTerminal(char32_t c) const {
    return c >= kLatin1End && (flags(c) & unicode::kSentenceTerminal) != 0;
  }

  bool isDigit(char32_t c) const {
    if (c < kLatin1End) return c >= U'0' && c <= U'9';
    return (flags(c) & unicode::kDecimalDigit) != 0;
  }

  bool isDictionaryChar(char32_t c) const {
    return c >= kLatin1End && (flags(c) & unicode::kDictionaryScript) != 0;
  }

  unicode::TextSegmenter& segmenter() { return segmenter_; }

 private:
  // Only asked for characters from U+0100 up, which load the table.
  unsigned flags(char32_t c) const { return (*flags_)(c); }

  std::optional<unicode::CharFlagTable> flags_;
  unicode::TextSegmenter segmenter_;
};

// Number of leading characters of source that make up the first sentence.
std::size_t FirstSentenceLength(TextView source, const Rules& rules) {
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
  // A sentence terminal of another script ends the sentence where it comes
  // before that end. A text without any mark still ends at 5000, and where
  // no such terminal occurs the three marks decide alone, so text of
  // Windows-1252 is cut as it always was.
  for (std::size_t i = 0; i + 1 < end && i < source.size(); ++i) {
    if (rules.isOtherSentenceTerminal(source[i])) {
      end = i + 1;
      break;
    }
  }
  // Index `end` is the position after the mark; the run of spaces, CR and
  // LF there belongs to the first sentence.
  std::size_t j = end;
  while (j < source.size() && rules.isTrail(source[j])) ++j;
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

// How a word splits: its kept characters and the number of letters (grapheme
// clusters) of its deleted part, the number of "_" shown for it.
struct Split {
  std::size_t kept;
  std::size_t gapLength;
};

// Halving by grapheme clusters. Words made only of characters below the
// first combining mark have one cluster per character and never reach the
// segmenter.
class Halver {
 public:
  explicit Halver(Rules& rules) : rules_(rules) {}

  Split operator()(TextView word, std::size_t wordIndex) {
    if (wordIndex % 2 == 0) return {word.size(), 0};
    bool simple = true;
    for (char32_t c : word) {
      if (c < kLatin1End) {
        if (c >= U'0' && c <= U'9') return {word.size(), 0};
        continue;
      }
      if (rules_.isDigit(c)) return {word.size(), 0};
      simple = simple && c < unicode::kFirstCombiningMark;
    }
    if (simple) {
      if (word.size() == 1) return {1, 0};
      return {word.size() / 2, word.size() - word.size() / 2};
    }
    rules_.segmenter().graphemeBoundaries(word, bounds_);
    const std::size_t letters = bounds_.size() - 1;
    if (letters == 1) return {word.size(), 0};
    return {bounds_[letters / 2], letters - letters / 2};
  }

 private:
  Rules& rules_;
  std::vector<std::size_t> bounds_;
};

// Cuts a word holding characters of a script written without spaces at
// dictionary word boundaries: a boundary counts where such a character
// stands on either side of it. Blanks and control characters inside the
// word stay with their neighbours, as in every other word.
class WordCutter {
 public:
  explicit WordCutter(Rules& rules) : rules_(rules) {}

  // Calls piece(part, last) for each part of word in order.
  template <typename PieceFn>
  void operator()(TextView word, PieceFn&& piece) {
    rules_.segmenter().wordBoundaries(word, bounds_);
    std::size_t start = 0;
    for (std::size_t k = 1; k + 1 < bounds_.size(); ++k) {
      const std::size_t b = bounds_[k];
      const char32_t before = word[b - 1];
      const char32_t after = word[b];
      if (before <= U' ' || after <= U' ') continue;
      if (!rules_.isDictionaryChar(before) && !rules_.isDictionaryChar(after)) continue;
      piece(word.substr(start, b - start), false);
      start = b;
    }
    piece(word.substr(start), true);
  }

 private:
  Rules& rules_;
  std::vector<std::size_t> bounds_;
};

// Character counts of a rest text, for sizing the lists before filling them.
struct RunCounts {
  std::size_t separatorRuns = 0;
  std::size_t separatorChars = 0;
  std::size_t dictionaryChars = 0;

  // The expected number of pairs: dictionary words are about two characters
  // long; the lists grow if there are more.
  std::size_t entries() const { return separatorRuns + 1 + dictionaryChars / 2; }
};

RunCounts CountRuns(TextView restText, const Rules& rules) {
  RunCounts counts;
  bool previousIsSeparator = false;
  auto count = [&](bool sep) {
    counts.separatorChars += sep;
    counts.separatorRuns += sep && !previousIsSeparator;
    previousIsSeparator = sep;
  };
  const std::size_t n = restText.size();
  for (std::size_t i = 0; i < n; ++i) {
    // A run of characters below U+0100 in a tight loop, then one beyond.
    for (; i < n && restText[i] < kLatin1End; ++i) count(kLatin1Separators[restText[i]]);
    if (i == n) break;
    const CharKind kind = rules.classify(restText[i]);
    counts.dictionaryChars += kind == CharKind::DictionaryWord;
    count(kind == CharKind::Separator);
  }
  return counts;
}

// Calls pair(word, separators) for every pair of restText in order: a word
// run, trimmed, and the separator run after it. Runs alternate; the first
// word run is empty when the text starts with a separator, the last
// separator run is empty when it ends with a word (or is empty). A word run
// holding a script written without spaces gives one pair per dictionary
// word, all but the last with an empty separator. Returns true when the text
// ends with a separator run, which leaves one more empty word without a
// partner.
template <typename PairFn>
bool ForEachPair(TextView restText, Rules& rules, PairFn&& pair) {
  WordCutter cut(rules);
  const std::size_t n = restText.size();
  std::size_t i = 0;
  while (true) {
    const std::size_t wordStart = i;
    bool dictionary = false;
    while (true) {
      while (i < n && restText[i] < kLatin1End && !kLatin1Separators[restText[i]]) ++i;
      if (i == n || restText[i] < kLatin1End) break;  // the end, or a separator below U+0100
      const CharKind kind = rules.classify(restText[i]);
      if (kind == CharKind::Separator) break;
      dictionary = dictionary || kind == CharKind::DictionaryWord;
      ++i;
    }
    const TextView word = TrimControls(restText.substr(wordStart, i - wordStart));
    const std::size_t sepStart = i;
    while (i < n && rules.isSeparator(restText[i])) ++i;
    const TextView separator = restText.substr(sepStart, i - sepStart);
    if (dictionary) {
      cut(word, [&](TextView part, bool last) { pair(part, last ? separator : TextView()); });
    } else {
      pair(word, separator);
    }
    if (i == n) return i > sepStart;
  }
}

}  // namespace

SentenceSplit SplitFirstSentence(TextView source) {
  const std::size_t cut = FirstSentenceLength(source, Rules(source, {}));
  return {Text(source.substr(0, cut)), Text(source.substr(cut))};
}

WordSegments SegmentWords(TextView restText, std::string_view language) {
  Rules rules(restText, language);
  WordSegments result;
  TextList& words = result.WordList;
  TextList& separators = result.Separators;
  const RunCounts counts = CountRuns(restText, rules);
  words.reserve(counts.entries(), restText.size() - counts.separatorChars);
  separators.reserve(counts.entries(), counts.separatorChars);
  const bool extraWord = ForEachPair(restText, rules, [&](TextView word, TextView separator) {
    words.push_back(word);
    separators.push_back(separator);
  });
  if (extraWord) words.push_back(TextView());
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
  Rules rules(word, {});
  return word.substr(0, Halver(rules)(word, wordIndex).kept);
}

TextView GetRightHalfWord(TextView word, std::size_t wordIndex) {
  Rules rules(word, {});
  return word.substr(Halver(rules)(word, wordIndex).kept);
}

std::size_t GapLength(TextView deletedPart) {
  if (std::all_of(deletedPart.begin(), deletedPart.end(),
                  [](char32_t c) { return c < unicode::kFirstCombiningMark; })) {
    return deletedPart.size();
  }
  return unicode::TextSegmenter().countGraphemes(deletedPart);
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

Text GenerateTest(TextView source, TestWorkspace& workspace, const GenerateOptions& options) {
  Rules rules(source, options.Language);
  TestWorkspace& w = workspace;
  // The two strings are refilled in place to keep their capacity. source may
  // be a view into one of them (or into a list, which is only changed after
  // source has been copied); then it is copied first.
  Text ownCopy;
  if (Overlaps(source, w.FirstSentence) || Overlaps(source, w.RestText)) {
    ownCopy.assign(source);
    source = ownCopy;
  }
  const std::size_t sentenceLength = FirstSentenceLength(source, rules);
  AssignLarge(w.FirstSentence, source.substr(0, sentenceLength));
  AssignLarge(w.RestText, source.substr(sentenceLength));
  const TextView rest = w.RestText;

  // Every list is sized once, from a counting pass, and keeps the capacity
  // of an earlier run.
  const RunCounts counts = CountRuns(rest, rules);
  const std::size_t entries = counts.entries();
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
  Halver halve(rules);
  std::size_t k = 0;
  const bool extraWord = ForEachPair(rest, rules, [&](TextView word, TextView separator) {
    const Split split = halve(word, k++);
    const TextView left = word.substr(0, split.kept);
    const TextView right = word.substr(split.kept);
    w.WordList.push_back(word);
    w.Separators.push_back(separator);
    w.LeftHalves.push_back(left);
    w.RightHalves.push_back(right);
    if (!right.empty()) w.PageAnswers.push_back(right);
    test.append(left);
    test.append(split.gapLength, U'_');
    test.append(separator);
  });
  if (extraWord) w.WordList.push_back(TextView());

  w.PageLeftHalves.assign(w.LeftHalves);
  w.PageSeparators.assign(w.Separators);
  w.PageRightHalves.assign(w.RightHalves);
  return test;
}

}  // namespace brenvik
