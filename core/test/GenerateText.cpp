#include "core/test/GenerateText.h"

#include <functional>
#include <unordered_map>

#include "core/test/Matching.h"
#include "core/text/Unicode.h"

namespace brenvik {

namespace {

bool IsSentenceEnd(char32_t c) {
  if (c < 0x100) return c == U'.' || c == U'!' || c == U'?';
  return (unicode::CharFlags(c) & unicode::kSentenceTerminal) != 0;
}

bool HasSentenceEnd(TextView s) {
  for (char32_t c : s) {
    if (IsSentenceEnd(c)) return true;
  }
  return false;
}

bool IsDefault(const TextOptions& options) { return options == TextOptions{}; }

// The edit of each word (nullptr for none), found by word and occurrence.
// Edits whose word is not found are reported in out.
std::vector<const WordEdit*> MatchEdits(const TestWorkspace& w, const std::vector<WordEdit>& edits,
                                        GeneratedText& out) {
  const std::size_t pairs = w.LeftHalves.size();
  std::vector<const WordEdit*> editOf(pairs, nullptr);
  if (edits.empty()) return editOf;
  std::unordered_map<TextView, std::vector<std::size_t>> wanted;
  for (std::size_t e = 0; e < edits.size(); ++e) wanted[edits[e].word].push_back(e);
  std::unordered_map<TextView, std::uint32_t> seen;
  std::vector<bool> matched(edits.size(), false);
  for (std::size_t k = 0; k < pairs; ++k) {
    const TextView word = w.WordList[k];
    if (word.empty()) continue;
    const auto it = wanted.find(word);
    if (it == wanted.end()) continue;
    const std::uint32_t n = ++seen[word];
    for (std::size_t e : it->second) {
      if (edits[e].occurrence == n) {
        editOf[k] = &edits[e];  // a later edit of the same word wins
        matched[e] = true;
      }
    }
  }
  for (std::size_t e = 0; e < edits.size(); ++e) {
    if (matched[e]) continue;
    out.droppedEdits.push_back(e);
    const WordEdit& edit = edits[e];
    out.notes.push_back("the change to the " + Ordinal(edit.occurrence) + " \"" + ToUtf8(edit.word) +
                        "\" was dropped: the text no longer has that word");
  }
  return editOf;
}

// The further answers of one gap, prepared as GeneratedText::accepted says.
std::vector<Text> PrepareAccepted(const std::vector<Text>& given, TextView deleted) {
  std::vector<Text> out;
  for (const Text& a : given) {
    Text t = TrimTypedAnswer(a);
    if (t.empty() || t == deleted) continue;
    bool repeated = false;
    for (const Text& b : out) repeated = repeated || b == t;
    if (!repeated) out.push_back(std::move(t));
  }
  return out;
}

}  // namespace

std::string Ordinal(std::uint64_t n) {
  const char* suffix = "th";
  if (n % 100 < 11 || n % 100 > 13) {
    if (n % 10 == 1) suffix = "st";
    if (n % 10 == 2) suffix = "nd";
    if (n % 10 == 3) suffix = "rd";
  }
  return std::to_string(n) + suffix;
}

std::size_t LastSentenceStart(const TestWorkspace& w) {
  bool wordAfter = false;
  for (std::size_t k = w.Separators.size(); k-- > 0;) {
    if (wordAfter && (HasSentenceEnd(w.Separators[k]) || HasSentenceEnd(w.WordList[k]))) return k + 1;
    if (!w.WordList[k].empty()) wordAfter = true;
  }
  return 0;
}

void ApplyEditsAndOptions(const TextOptions& options, const std::vector<WordEdit>& edits,
                          GeneratedText& out) {
  TestWorkspace& w = out.workspace;
  const std::size_t pairs = w.LeftHalves.size();
  out.droppedEdits.clear();
  out.notes.clear();
  const std::vector<const WordEdit*> editOf = MatchEdits(w, edits, out);

  // The kept length of each word: its whole length for a word without gap.
  std::vector<std::size_t> kept(pairs);
  for (std::size_t k = 0; k < pairs; ++k) {
    const TextView word = w.WordList[k];
    kept[k] = w.LeftHalves[k].size();
    const WordEdit* edit = editOf[k];
    if (edit == nullptr || edit->gap == GapSwitch::Rule) continue;
    if (edit->gap == GapSwitch::Off) {
      kept[k] = word.size();
    } else if (kept[k] == word.size()) {
      // Halved as the rule halves a word at an odd index.
      const TextView left = GetLeftHalfWord(word, 1);
      if (left.size() == word.size()) {
        throw EditError("the word \"" + ToUtf8(word) +
                        "\" cannot have a gap: a word of one letter or with a digit stays whole");
      }
      kept[k] = left.size();
    }
  }
  if (options.keepLastSentence) {
    for (std::size_t k = LastSentenceStart(w); k < pairs; ++k) kept[k] = w.WordList[k].size();
  }
  if (options.gapLimit > 0) {
    std::size_t gaps = 0;
    for (std::size_t k = 0; k < pairs; ++k) {
      if (kept[k] == w.WordList[k].size()) continue;
      if (gaps == options.gapLimit) {
        kept[k] = w.WordList[k].size();
      } else {
        ++gaps;
      }
    }
  }

  TextList left, right, answers;
  left.reserve(pairs, w.LeftHalves.characters() + w.RightHalves.characters());
  right.reserve(pairs, w.RightHalves.characters());
  Text& test = out.testText;
  test.assign(w.FirstSentence);
  out.accepted.clear();
  for (std::size_t k = 0; k < pairs; ++k) {
    const TextView word = w.WordList[k];
    const TextView l = word.substr(0, kept[k]);
    const TextView r = word.substr(kept[k]);
    left.push_back(l);
    right.push_back(r);
    test.append(l);
    if (!r.empty()) {
      answers.push_back(r);
      test.append(GapLength(r), U'_');
      out.accepted.push_back(editOf[k] ? PrepareAccepted(editOf[k]->accepted, r) : std::vector<Text>());
    }
    test.append(w.Separators[k]);
  }
  w.LeftHalves.assign(left);
  w.RightHalves.assign(right);
  w.PageAnswers.assign(answers);
  w.PageLeftHalves.assign(w.LeftHalves);
  w.PageSeparators.assign(w.Separators);
  w.PageRightHalves.assign(w.RightHalves);
}

GeneratedText GenerateText(const TestText& text, const std::string& language) {
  GeneratedText out;
  GenerateText(text, language, out);
  return out;
}

void GenerateText(const TestText& text, const std::string& language, GeneratedText& out) {
  out.title = text.title;
  out.droppedEdits.clear();
  out.notes.clear();
  out.testText = GenerateTest(text.source, out.workspace, GenerateOptions{language});
  if (IsDefault(text.options) && text.edits.empty()) {
    out.accepted.assign(out.workspace.PageAnswers.size(), {});
    return;
  }
  ApplyEditsAndOptions(text.options, text.edits, out);
}

GeneratedTest GenerateWholeTest(const Test& test) {
  GeneratedTest out;
  out.settings = test.settings;
  out.language = test.language;
  out.matching = test.matching;
  out.texts.reserve(test.texts.size());
  for (const TestText& text : test.texts) out.texts.push_back(GenerateText(text, test.language));
  return out;
}

void RemoveDroppedEdits(Test& test, const GeneratedTest& generated) {
  for (std::size_t t = 0; t < test.texts.size() && t < generated.texts.size(); ++t) {
    const std::vector<std::size_t>& dropped = generated.texts[t].droppedEdits;
    std::vector<WordEdit>& edits = test.texts[t].edits;
    for (std::size_t i = dropped.size(); i-- > 0;) {
      if (dropped[i] < edits.size()) edits.erase(edits.begin() + static_cast<std::ptrdiff_t>(dropped[i]));
    }
  }
}

}  // namespace brenvik
