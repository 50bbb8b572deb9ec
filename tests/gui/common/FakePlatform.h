#pragma once
// A scripted platform for GUI tests: dialogs and questions answer from queues
// filled by the test, and every call is recorded. Nothing ever blocks.

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <optional>
#include <vector>

#include "ui/platform/Platform.h"

namespace brenvik::test {

class FakePlatform : public Platform {
 public:
  struct DialogCall {
    bool save = false;
    FileDialogState seen;  // the state as the dialog received it
  };
  struct ErrorCall {
    QString caption;
    QString text;
  };
  struct PrintCall {
    QPageLayout layout;  // the page the dialog was offered
    QString docName;
  };
  struct HelpCall {
    QString file;
    int context = -1;  // -1: contents
  };

  // Answers, consumed in order. A dialog answer of nullopt is Cancel; a path
  // confirms that full path. With nothing queued a dialog cancels and a
  // question answers No, and the call counts as unexpected.
  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<bool> confirmAnswers;
  // Answers to the question whether to replace an existing file: true is
  // Yes. With nothing queued the answer is No, and the call counts as
  // unexpected.
  std::deque<bool> replaceAnswers;
  // Answers to the question whether to save changes before they are lost.
  // With nothing queued the answer is Cancel, and the call counts as
  // unexpected.
  std::deque<SaveChoice> saveChangesAnswers;
  // Print dialog answers: nullopt is Cancel; a path prints to that PDF file.
  // With nothing queued the dialog cancels and counts as unexpected.
  std::deque<std::optional<QString>> printAnswers;
  // Answers to the SCORM package's questions: nullopt is Cancel. With
  // nothing queued the questions cancel and count as unexpected.
  std::deque<std::optional<ScormChoice>> scormAnswers;
  std::vector<ScormChoice> scormOffered;  // the answers each question started from

  std::vector<DialogCall> dialogs;
  std::vector<QString> questions;
  std::vector<QString> saveChangesQuestions;
  QStringList replaceQuestions;  // the paths asked about
  std::vector<ErrorCall> errors;
  std::vector<ErrorCall> warnings;
  std::vector<PrintCall> prints;
  std::vector<QString> shellOpens;
  std::vector<HelpCall> helps;
  QString clipboard;
  int beeps = 0;
  int unexpected = 0;
  QColor systemColors[25];
  std::vector<QString> readOnlyFolders;  // every other folder counts as writable

  FakePlatform() {
    for (int i = 0; i < 25; ++i) systemColors[i] = QColor(i * 10, 255 - i * 10, (i * 37) % 256);
  }

  bool runOpenDialog(QWidget*, FileDialogState& state) override { return runDialog(false, state, openAnswers); }
  bool runSaveFileDialog(QWidget*, FileDialogState& state) override { return runDialog(true, state, saveAnswers); }
  bool askReplaceFile(QWidget*, const QString& path) override {
    replaceQuestions.push_back(path);
    if (replaceAnswers.empty()) {
      ++unexpected;
      return false;
    }
    const bool yes = replaceAnswers.front();
    replaceAnswers.pop_front();
    return yes;
  }

  bool askConfirmation(QWidget*, const QString& text) override {
    questions.push_back(text);
    if (confirmAnswers.empty()) {
      ++unexpected;
      return false;
    }
    const bool yes = confirmAnswers.front();
    confirmAnswers.pop_front();
    return yes;
  }
  SaveChoice askSaveChanges(QWidget*, const QString& text) override {
    saveChangesQuestions.push_back(text);
    if (saveChangesAnswers.empty()) {
      ++unexpected;
      return SaveChoice::Cancel;
    }
    const SaveChoice answer = saveChangesAnswers.front();
    saveChangesAnswers.pop_front();
    return answer;
  }
  void showError(QWidget*, const QString& caption, const QString& text) override {
    errors.push_back({caption, text});
  }
  void showWarning(QWidget*, const QString& caption, const QString& text) override {
    warnings.push_back({caption, text});
  }
  bool askScormChoice(QWidget*, ScormChoice& choice) override {
    scormOffered.push_back(choice);
    if (scormAnswers.empty()) {
      ++unexpected;
      return false;
    }
    const std::optional<ScormChoice> answer = scormAnswers.front();
    scormAnswers.pop_front();
    if (!answer) return false;
    choice = *answer;
    return true;
  }
  bool runPrintDialog(QWidget*, QPrinter& printer) override {
    prints.push_back({printer.pageLayout(), printer.docName()});
    if (printAnswers.empty()) {
      ++unexpected;
      return false;
    }
    const std::optional<QString> answer = printAnswers.front();
    printAnswers.pop_front();
    if (!answer) return false;
    // What the dialog's "Print to File (PDF)" leaves in the printer.
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*answer);
    return true;
  }
  void shellOpen(QWidget*, const QString& path) override { shellOpens.push_back(path); }
  void showHelpContents(QWidget*, const QString& file) override { helps.push_back({file, -1}); }
  void showHelpContext(QWidget*, const QString& file, int context) override { helps.push_back({file, context}); }
  bool canWriteFolder(const QString& folder) const override {
    return std::find(readOnlyFolders.begin(), readOnlyFolders.end(), folder) == readOnlyFolders.end();
  }
  void setClipboardText(const QString& text) override { clipboard = text; }
  void beep() override { ++beeps; }
  QString selectionMark() const override { return QString(QChar(0x2022)); }
  QFont markFont(int pixelHeight) const override {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelHeight);
    return f;
  }
  QColor systemColour(int index) const override {
    return index >= 0 && index < 25 ? systemColors[index] : QColor(0, 0, 0);
  }

 private:
  bool runDialog(bool save, FileDialogState& state, std::deque<std::optional<QString>>& answers) {
    dialogs.push_back({save, state});
    if (answers.empty()) {
      ++unexpected;
      return false;
    }
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    if (!answer) return false;
    state.fileName = *answer;
    return true;
  }
};

// Installs a fresh FakePlatform for the lifetime of the object.
class ScopedFakePlatform {
 public:
  ScopedFakePlatform() { SetPlatform(&fake_); }
  ~ScopedFakePlatform() { SetPlatform(nullptr); }
  FakePlatform& operator*() { return fake_; }
  FakePlatform* operator->() { return &fake_; }
 private:
  FakePlatform fake_;
};

}  // namespace brenvik::test
