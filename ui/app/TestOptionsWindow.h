#pragma once
// The test options (Edit > Test options): per text the gap limit and the
// whole last sentence, and for the whole test the answer matching and the
// texts' language. OK keeps them; they take effect at the next Process, as
// the main window's option controls do.

#include <QDialog>
#include <string>
#include <vector>

#include "core/test/Test.h"
#include "ui/app/TestSession.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace brenvik {

// The BCP 47 tag in the language box's text: an offered entry
// ("de \u2014 German") gives its tag, anything else is taken as typed;
// "(none)" and an empty box give none.
std::string LanguageTagOfField(const QString& text);

class TestOptionsWindow : public QDialog {
  Q_OBJECT
 public:
  explicit TestOptionsWindow(TestSession& session, QWidget* parent = nullptr);

  // The controls from the session's test (done on every show).
  void load();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void chooseText(int index);  // the text whose options the controls show
  void storeText();            // the controls into the chosen text's options
  void languageEdited();       // marks a tag that is not well-formed
  void accept() override;      // OK: the options into the test

  TestSession& session_;
  std::vector<TextOptions> options_;  // per text, as edited here
  int shownText_ = -1;
  QComboBox* textBox_ = nullptr;
  QSpinBox* gapLimitBox_ = nullptr;
  QCheckBox* keepLastBox_ = nullptr;
  QComboBox* matchingBox_ = nullptr;
  QComboBox* languageBox_ = nullptr;
  QLabel* languageHint_ = nullptr;
  bool placed_ = false;  // fitted onto the screen at the first show
};

}  // namespace brenvik
