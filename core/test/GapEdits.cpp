#include "core/test/GapEdits.h"

#include <string>

#include "core/text/Errors.h"

namespace brenvik {

namespace {

// The edit the generation uses for the word: the last one naming it.
WordEdit* FindEdit(std::vector<WordEdit>& edits, TextView word, std::uint32_t occurrence) {
  for (std::size_t i = edits.size(); i-- > 0;) {
    if (edits[i].word == word && edits[i].occurrence == occurrence) return &edits[i];
  }
  return nullptr;
}

// The word's edit, made (saying nothing yet) when it has none.
WordEdit& EditOf(TestText& text, TextView word, std::uint32_t occurrence) {
  if (WordEdit* edit = FindEdit(text.edits, word, occurrence)) return *edit;
  text.edits.push_back(WordEdit{Text(word), occurrence, GapSwitch::Rule, {}});
  return text.edits.back();
}

void DropEmptyEdits(TestText& text) {
  std::erase_if(text.edits, [](const WordEdit& e) { return e.gap == GapSwitch::Rule && e.accepted.empty(); });
}

}  // namespace

bool WordHasGap(const TestWorkspace& workspace, std::size_t word) { return !workspace.RightHalves[word].empty(); }

bool WordCanHaveGap(const TestWorkspace& workspace, std::size_t word) {
  const TextView w = workspace.WordList[word];
  return GetLeftHalfWord(w, 1).size() != w.size();
}

std::uint32_t WordOccurrence(const TestWorkspace& workspace, std::size_t word) {
  const TextList& words = workspace.WordList;
  const TextView w = words[word];
  std::uint32_t n = 0;
  for (std::size_t k = 0; k <= word; ++k) {
    if (words[k] == w) ++n;
  }
  return n;
}

std::vector<Text> AcceptedAnswersOf(const TestText& text, const TestWorkspace& workspace, std::size_t word) {
  const TextView w = workspace.WordList[word];
  const std::uint32_t occurrence = WordOccurrence(workspace, word);
  for (std::size_t i = text.edits.size(); i-- > 0;) {
    if (text.edits[i].word == w && text.edits[i].occurrence == occurrence) return text.edits[i].accepted;
  }
  return {};
}

bool SetWordGap(TestText& text, const TestWorkspace& workspace, std::size_t word, bool on,
                const RemakeText& remake) {
  if (WordHasGap(workspace, word) == on) return false;
  const std::vector<WordEdit> before = text.edits;
  const Text w(workspace.WordList[word]);
  const std::uint32_t occurrence = WordOccurrence(workspace, word);
  bool has = false;
  try {
    WordEdit& edit = EditOf(text, w, occurrence);
    if (!on) {
      edit.gap = GapSwitch::Off;
    } else {
      // Back to the rule where the rule gives the word its gap, so that a
      // word switched off and on again needs no edit; otherwise On.
      edit.gap = edit.gap == GapSwitch::Off ? GapSwitch::Rule : GapSwitch::On;
      DropEmptyEdits(text);
      if (WordHasGap(remake(), word)) return true;
      EditOf(text, w, occurrence).gap = GapSwitch::On;
    }
    DropEmptyEdits(text);
    has = WordHasGap(remake(), word);
  } catch (...) {
    text.edits = before;
    remake();
    throw;
  }
  if (has != on) {
    // The gap limit or the kept last sentence decides after the edits.
    text.edits = before;
    remake();
    throw BrenvikError("the word \"" + ToUtf8(w) +
                       "\" stays whole: the text's gap limit or its whole last sentence keeps it so "
                       "(see Test options)");
  }
  return true;
}

bool SetAcceptedAnswers(TestText& text, const TestWorkspace& workspace, std::size_t word,
                        const std::vector<Text>& answers, const RemakeText& remake) {
  std::vector<Text> kept;
  for (const Text& a : answers) {
    if (!a.empty()) kept.push_back(a);
  }
  if (AcceptedAnswersOf(text, workspace, word) == kept) return false;
  EditOf(text, workspace.WordList[word], WordOccurrence(workspace, word)).accepted = std::move(kept);
  DropEmptyEdits(text);
  remake();
  return true;
}

}  // namespace brenvik
