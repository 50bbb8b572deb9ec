#pragma once
// The test the desktop program works on: its texts, options and edits (a
// Test), the test the last Process made of it (a GeneratedTest), the test
// file it came from or was saved to, and whether it has changed since. The
// main window, the texts window, the test options and the gap editor all
// read and change the test through here, and hear of every change by its
// signals.
//
// The workspace of the first text is the program-wide record of the last
// Process (AppState::workspace), as it has always been: the classic export
// prepares it in place and Process restores it. The other texts' workspaces
// are kept in the generated test.

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "core/test/GapEdits.h"
#include "core/test/GenerateText.h"
#include "core/test/Test.h"
#include "ui/app/AppState.h"

namespace brenvik {

// One word of a generated text, as the gap editor and the output box name it.
struct GapWord {
  std::size_t text = 0;  // index of the text
  std::size_t word = 0;  // index in the text's word list (a pair of the workspace)
};

class TestSession : public QObject {
  Q_OBJECT
 public:
  explicit TestSession(AppState& state, QObject* parent = nullptr);

  const Test& test() const { return test_; }
  std::size_t current() const { return current_; }
  const QString& path() const { return path_; }

  // The title a new text gets: "Text N".
  static Text DefaultTitle(std::size_t n);

  // --- The texts. Each of these is a change of the test.
  // A new empty text after the others; it becomes the current text.
  void addText();
  // Removes a text; the last one left cannot be removed.
  void removeText(std::size_t index);
  void renameText(std::size_t index, const Text& title);
  // Moves a text one place up (-1) or down (+1); the current text follows it.
  void moveText(std::size_t index, int by);
  // The text the source box shows.
  void setCurrent(std::size_t index);
  // The current text's source as the source box holds it (NFC).
  void setSource(const Text& source);
  // Where the current text's source is edited (the source box): it gives the
  // source when it changed since it was shown, nothing otherwise. The session
  // reads it before it looks at or replaces the current text.
  void setSourceReader(std::function<std::optional<Text>()> reader) { sourceReader_ = std::move(reader); }
  void syncSource();

  // --- The options: per text, and of the whole test.
  void setTextOptions(std::size_t index, const TextOptions& options);
  void setMatching(AnswerMatching matching);
  // A BCP 47 tag, or empty; throws BrenvikError for one that is not well-formed.
  void setLanguage(const std::string& tag);

  // --- Generation.
  // Makes the whole test (Process). On an error nothing changes.
  void generate();
  // The last generated test; empty before the first Process. Text 0's
  // workspace is in AppState (see workspace()).
  const GeneratedTest& generated() const { return generated_; }
  TestWorkspace& workspace(std::size_t text);
  const TestWorkspace& workspace(std::size_t text) const;
  // Whether the generated test has one text per text of the test, in the
  // same order, so that the gap editor's rows name words of the test's texts.
  bool generatedMatchesTexts() const { return generatedMatches_; }

  // --- The teacher's edits of a generated word.
  bool hasGap(const GapWord& w) const;
  // Whether the word can be given a gap at all (not one letter, no digit).
  bool canHaveGap(const GapWord& w) const;
  // Switches the word's gap on or off, and makes that text again. A word
  // that the text's options keep whole stays so: BrenvikError naming why.
  void setGap(const GapWord& w, bool on);
  // The further right answers of the word's gap (empty ones are dropped).
  std::vector<Text> accepted(const GapWord& w) const;
  void setAccepted(const GapWord& w, const std::vector<Text>& answers);

  // --- The test file.
  // Whether there is something a test file would keep that is not in one:
  // the test was changed since it was opened or saved, and it is either from
  // a file or more than the plain single text the window has always had.
  bool hasUnsavedChanges() const;
  // Takes the test from a test file (all or nothing; TestFileError,
  // FileOpenError) and the page settings with it.
  void open(const QString& path);
  // Saves the test with the page settings; edits the last Process dropped
  // are left out.
  void save(const QString& path);
  // Marks a change the session does not see itself (the page settings).
  void markChanged();

 signals:
  void textsChanged();      // added, removed, renamed or moved
  void currentChanged();    // another text is the current one (or its source was replaced)
  void generatedChanged();  // Process, or an edit made a text again
  void modifiedChanged();   // the unsaved state or the file changed

 private:
  void changed();
  void setModified(bool modified);
  void regenerate(std::size_t text);
  // Makes the text again and gives its workspace (for the edits of core/test/GapEdits).
  RemakeText remaker(std::size_t text);
  bool isPlain() const;

  AppState& state_;
  std::function<std::optional<Text>()> sourceReader_;
  Test test_;
  std::size_t current_ = 0;
  GeneratedTest generated_;
  bool generatedMatches_ = false;
  QString path_;
  bool modified_ = false;
  ExportSettings savedSettings_;
};

}  // namespace brenvik
