#include "ui/app/TestSession.h"

#include <string>
#include <utility>

#include "core/test/LanguageTag.h"
#include "core/test/TestFile.h"
#include "core/text/Errors.h"

namespace brenvik {

TestSession::TestSession(AppState& state, QObject* parent) : QObject(parent), state_(state) {
  test_.texts.push_back(TestText{DefaultTitle(1), {}, {}, {}});
  savedSettings_ = state_.settings;
}

Text TestSession::DefaultTitle(std::size_t n) {
  return U"Text " + FromUtf8(std::to_string(n));
}

void TestSession::changed() {
  // Every change tells the windows, even when the test was changed before:
  // whether it is worth a question on Quit depends on what changed.
  modified_ = true;
  emit modifiedChanged();
}

void TestSession::markChanged() {
  changed();
}

void TestSession::setModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  emit modifiedChanged();
}

bool TestSession::isPlain() const {
  if (test_.texts.size() != 1 || test_.matching != AnswerMatching::Exact || !test_.language.empty()) return false;
  const TestText& only = test_.texts.front();
  return only.edits.empty() && only.options == TextOptions{} && only.title == DefaultTitle(1);
}

bool TestSession::hasUnsavedChanges() const {
  const bool fromFile = !path_.isEmpty();
  if (!fromFile && isPlain()) return false;
  return modified_ || (fromFile && state_.settings != savedSettings_);
}

// --- Texts -------------------------------------------------------------------

void TestSession::addText() {
  syncSource();
  test_.texts.push_back(TestText{DefaultTitle(test_.texts.size() + 1), {}, {}, {}});
  current_ = test_.texts.size() - 1;
  generatedMatches_ = false;
  changed();
  emit textsChanged();
  emit currentChanged();
}

void TestSession::removeText(std::size_t index) {
  syncSource();
  if (test_.texts.size() <= 1 || index >= test_.texts.size()) return;
  test_.texts.erase(test_.texts.begin() + static_cast<std::ptrdiff_t>(index));
  const bool currentGone = index == current_;
  if (current_ > index || current_ >= test_.texts.size()) --current_;
  generatedMatches_ = false;
  changed();
  emit textsChanged();
  if (currentGone) emit currentChanged();
}

void TestSession::renameText(std::size_t index, const Text& title) {
  if (index >= test_.texts.size() || test_.texts[index].title == title) return;
  test_.texts[index].title = title;
  if (generatedMatches_ && index < generated_.texts.size()) generated_.texts[index].title = title;
  changed();
  emit textsChanged();
}

void TestSession::moveText(std::size_t index, int by) {
  syncSource();
  if (index >= test_.texts.size()) return;
  const std::ptrdiff_t to = static_cast<std::ptrdiff_t>(index) + by;
  if (to < 0 || to >= static_cast<std::ptrdiff_t>(test_.texts.size()) || by == 0) return;
  const auto target = static_cast<std::size_t>(to);
  std::swap(test_.texts[index], test_.texts[target]);
  if (current_ == index) {
    current_ = target;
  } else if (current_ == target) {
    current_ = index;
  }
  generatedMatches_ = false;
  changed();
  emit textsChanged();
}

void TestSession::setCurrent(std::size_t index) {
  syncSource();
  if (index >= test_.texts.size() || index == current_) return;
  current_ = index;
  emit currentChanged();
}

void TestSession::syncSource() {
  if (!sourceReader_) return;
  if (std::optional<Text> source = sourceReader_()) setSource(*source);
}

void TestSession::setSource(const Text& source) {
  Text& stored = test_.texts[current_].source;
  if (stored == source) return;
  stored = source;
  changed();
}

// --- Options -----------------------------------------------------------------

void TestSession::setTextOptions(std::size_t index, const TextOptions& options) {
  if (index >= test_.texts.size() || test_.texts[index].options == options) return;
  test_.texts[index].options = options;
  changed();
}

void TestSession::setMatching(AnswerMatching matching) {
  if (test_.matching == matching) return;
  test_.matching = matching;
  changed();
}

void TestSession::setLanguage(const std::string& tag) {
  if (!tag.empty() && !IsWellFormedLanguageTag(tag)) {
    throw BrenvikError("\"" + tag + "\" is not a language tag: give one such as de, fr-CA or zh-Hant, or none");
  }
  if (test_.language == tag) return;
  test_.language = tag;
  changed();
}

// --- Generation --------------------------------------------------------------

void TestSession::generate() {
  syncSource();
  // As GenerateWholeTest, but the first text is made into the workspace
  // that AppState's replaced last time (kept, unused, in the generated
  // test), so Process on a large text reuses its lists' capacity. The
  // others' workspaces are still shown and exported until this succeeds.
  GeneratedTest made;
  made.settings = test_.settings;
  made.language = test_.language;
  made.matching = test_.matching;
  made.texts.resize(test_.texts.size());
  if (!generated_.texts.empty()) std::swap(made.texts.front().workspace, generated_.texts.front().workspace);
  for (std::size_t t = 0; t < test_.texts.size(); ++t) GenerateText(test_.texts[t], test_.language, made.texts[t]);
  // The first text's workspace is the program-wide record of the last
  // Process; the one it replaces keeps its capacity for the next time.
  std::swap(made.texts.front().workspace, state_.workspace);
  generated_ = std::move(made);
  generatedMatches_ = true;
  emit generatedChanged();
}

TestWorkspace& TestSession::workspace(std::size_t text) {
  return text == 0 ? state_.workspace : generated_.texts.at(text).workspace;
}

const TestWorkspace& TestSession::workspace(std::size_t text) const {
  return text == 0 ? state_.workspace : generated_.texts.at(text).workspace;
}

void TestSession::regenerate(std::size_t text) {
  GeneratedText made = GenerateText(test_.texts[text], test_.language);
  if (text == 0) std::swap(made.workspace, state_.workspace);
  generated_.texts[text] = std::move(made);
}

// --- Edits -------------------------------------------------------------------

bool TestSession::hasGap(const GapWord& w) const { return WordHasGap(workspace(w.text), w.word); }

bool TestSession::canHaveGap(const GapWord& w) const { return WordCanHaveGap(workspace(w.text), w.word); }

std::vector<Text> TestSession::accepted(const GapWord& w) const {
  return AcceptedAnswersOf(test_.texts[w.text], workspace(w.text), w.word);
}

RemakeText TestSession::remaker(std::size_t text) {
  return [this, text]() -> const TestWorkspace& {
    regenerate(text);
    return workspace(text);
  };
}

void TestSession::setGap(const GapWord& w, bool on) {
  if (!generatedMatches_) return;
  if (!SetWordGap(test_.texts[w.text], workspace(w.text), w.word, on, remaker(w.text))) return;
  changed();
  emit generatedChanged();
}

void TestSession::setAccepted(const GapWord& w, const std::vector<Text>& answers) {
  if (!generatedMatches_) return;
  if (!SetAcceptedAnswers(test_.texts[w.text], workspace(w.text), w.word, answers, remaker(w.text))) return;
  changed();
  emit generatedChanged();
}

// --- The test file -----------------------------------------------------------

void TestSession::open(const QString& path) {
  Test loaded = ReadTestFile(path.toStdString());
  if (loaded.texts.empty()) loaded.texts.push_back(TestText{DefaultTitle(1), {}, {}, {}});
  test_ = std::move(loaded);
  state_.settings = test_.settings;
  savedSettings_ = state_.settings;
  current_ = 0;
  generated_ = GeneratedTest{};
  state_.workspace = TestWorkspace{};
  generatedMatches_ = false;
  path_ = path;
  modified_ = false;
  emit textsChanged();
  emit currentChanged();
  emit generatedChanged();
  emit modifiedChanged();
}

void TestSession::save(const QString& path) {
  syncSource();
  Test saved = test_;
  saved.settings = state_.settings;
  if (generatedMatches_) RemoveDroppedEdits(saved, generated_);
  WriteTestFile(path.toStdString(), saved);
  test_ = std::move(saved);
  for (GeneratedText& text : generated_.texts) text.droppedEdits.clear();
  savedSettings_ = state_.settings;
  path_ = path;
  modified_ = false;
  emit modifiedChanged();
}

}  // namespace brenvik
