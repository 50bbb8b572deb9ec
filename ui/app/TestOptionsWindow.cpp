#include "ui/app/TestOptionsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/test/LanguageTag.h"
#include "ui/app/ScreenFit.h"
#include "ui/platform/CommandGuard.h"
#include "ui/platform/QtText.h"

namespace brenvik {

namespace {

// Common languages of language teaching, by tag.
struct OfferedLanguage {
  const char* tag;
  const char* name;
};
constexpr OfferedLanguage kOfferedLanguages[] = {
    {"ar", "Arabic"},   {"zh-Hans", "Chinese (simplified)"}, {"zh-Hant", "Chinese (traditional)"},
    {"cs", "Czech"},    {"da", "Danish"},     {"nl", "Dutch"},     {"en", "English"},
    {"fi", "Finnish"},  {"fr", "French"},     {"de", "German"},    {"el", "Greek"},
    {"he", "Hebrew"},   {"hi", "Hindi"},      {"hu", "Hungarian"}, {"it", "Italian"},
    {"ja", "Japanese"}, {"ko", "Korean"},     {"nb", "Norwegian (Bokm\u00e5l)"}, {"nn", "Norwegian (Nynorsk)"},
    {"fa", "Persian"},  {"pl", "Polish"},     {"pt", "Portuguese"}, {"ru", "Russian"},
    {"es", "Spanish"},  {"sv", "Swedish"},    {"th", "Thai"},      {"tr", "Turkish"},
    {"uk", "Ukrainian"}, {"vi", "Vietnamese"},
};

const QString kNoLanguage = QStringLiteral("(none)");

QString OfferedText(const OfferedLanguage& l) {
  return QString::fromUtf8(l.tag) + QStringLiteral(" \u2014 ") + QString::fromUtf8(l.name);
}

}  // namespace

std::string LanguageTagOfField(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || trimmed == kNoLanguage) return {};
  const qsizetype dash = trimmed.indexOf(QStringLiteral(" \u2014 "));
  return (dash < 0 ? trimmed : trimmed.left(dash).trimmed()).toStdString();
}

TestOptionsWindow::TestOptionsWindow(TestSession& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TestOptions"));
  setWindowTitle(QStringLiteral("Test options"));
  setModal(false);

  auto* perText = new QGroupBox(QStringLiteral("Each text"), this);
  perText->setObjectName(QStringLiteral("TextOptionsGroup"));
  textBox_ = new QComboBox(perText);
  textBox_->setObjectName(QStringLiteral("OptionsText"));
  gapLimitBox_ = new QSpinBox(perText);
  gapLimitBox_->setObjectName(QStringLiteral("GapLimit"));
  gapLimitBox_->setRange(0, 100000);
  gapLimitBox_->setSpecialValueText(QStringLiteral("No limit"));
  gapLimitBox_->setAccessibleName(QStringLiteral("Gaps at most"));
  keepLastBox_ = new QCheckBox(QStringLiteral("Keep the &last sentence whole"), perText);
  keepLastBox_->setObjectName(QStringLiteral("KeepLastSentence"));
  auto* textForm = new QFormLayout(perText);
  textForm->addRow(QStringLiteral("&Text:"), textBox_);
  textForm->addRow(QStringLiteral("&Gaps at most:"), gapLimitBox_);
  textForm->addRow(keepLastBox_);

  auto* whole = new QGroupBox(QStringLiteral("The whole test"), this);
  whole->setObjectName(QStringLiteral("TestOptionsGroup"));
  matchingBox_ = new QComboBox(whole);
  matchingBox_->setObjectName(QStringLiteral("Matching"));
  matchingBox_->addItem(QStringLiteral("Exact: letter case counts"), static_cast<int>(AnswerMatching::Exact));
  matchingBox_->addItem(QStringLiteral("Ignore letter case"), static_cast<int>(AnswerMatching::IgnoreCase));
  languageBox_ = new QComboBox(whole);
  languageBox_->setObjectName(QStringLiteral("Language"));
  languageBox_->setEditable(true);
  languageBox_->setInsertPolicy(QComboBox::NoInsert);
  languageBox_->addItem(kNoLanguage);
  for (const OfferedLanguage& l : kOfferedLanguages) languageBox_->addItem(OfferedText(l));
  languageBox_->lineEdit()->setAccessibleName(QStringLiteral("Text language"));
  languageBox_->setToolTip(QStringLiteral("A language tag such as de, fr-CA or zh-Hant; it picks the word and letter rules"));
  languageHint_ = new QLabel(whole);
  languageHint_->setObjectName(QStringLiteral("LanguageHint"));
  languageHint_->setWordWrap(true);
  auto* wholeForm = new QFormLayout(whole);
  wholeForm->addRow(QStringLiteral("Answer &matching:"), matchingBox_);
  wholeForm->addRow(QStringLiteral("Text l&anguage:"), languageBox_);
  wholeForm->addRow(languageHint_);

  auto* note = new QLabel(QStringLiteral("The options take effect at the next Process."), this);
  note->setObjectName(QStringLiteral("OptionsNote"));
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("OptionsButtons"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OptionsOk"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("OptionsCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(perText);
  layout->addWidget(whole);
  layout->addWidget(note);
  layout->addStretch(1);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, Guarded(this, [this] { accept(); }));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(textBox_, &QComboBox::currentIndexChanged, this, Guarded(this, [this](int index) { chooseText(index); }));
  connect(languageBox_, &QComboBox::currentTextChanged, this, [this] { languageEdited(); });
  // Texts added, removed or moved while the window is open: the options are
  // read again, so that each stays with its text.
  connect(&session_, &TestSession::textsChanged, this, [this] {
    if (isVisible()) load();
  });
  load();
}

void TestOptionsWindow::showEvent(QShowEvent* event) {
  load();
  // On a small screen (or a large scale) the window is moved into the
  // screen's available area and made smaller where it still does not fit.
  if (!placed_) {
    placed_ = true;
    FitWindowOnScreen(*this, /*mayShrink=*/true);
  }
  QDialog::showEvent(event);
}

void TestOptionsWindow::load() {
  const Test& test = session_.test();
  options_.clear();
  for (const TestText& text : test.texts) options_.push_back(text.options);
  shownText_ = -1;
  {
    const QSignalBlocker block(textBox_);
    textBox_->clear();
    for (const TestText& text : test.texts) textBox_->addItem(ToQString(text.title));
    textBox_->setCurrentIndex(static_cast<int>(session_.current()));
  }
  chooseText(textBox_->currentIndex());
  matchingBox_->setCurrentIndex(matchingBox_->findData(static_cast<int>(test.matching)));
  const QString tag = QString::fromStdString(test.language);
  int offered = tag.isEmpty() ? 0 : -1;
  for (int i = 1; i < languageBox_->count() && offered < 0; ++i) {
    if (QString::fromStdString(LanguageTagOfField(languageBox_->itemText(i))) == tag) offered = i;
  }
  if (offered >= 0) {
    languageBox_->setCurrentIndex(offered);
  } else {
    languageBox_->setEditText(tag);
  }
  languageEdited();
}

void TestOptionsWindow::storeText() {
  if (shownText_ < 0 || shownText_ >= static_cast<int>(options_.size())) return;
  TextOptions& o = options_[static_cast<std::size_t>(shownText_)];
  o.gapLimit = static_cast<std::uint32_t>(gapLimitBox_->value());
  o.keepLastSentence = keepLastBox_->isChecked();
}

void TestOptionsWindow::chooseText(int index) {
  storeText();
  shownText_ = index;
  if (index < 0 || index >= static_cast<int>(options_.size())) return;
  const TextOptions& o = options_[static_cast<std::size_t>(index)];
  gapLimitBox_->setValue(static_cast<int>(o.gapLimit));
  keepLastBox_->setChecked(o.keepLastSentence);
}

void TestOptionsWindow::languageEdited() {
  const std::string tag = LanguageTagOfField(languageBox_->currentText());
  const bool wellFormed = tag.empty() || IsWellFormedLanguageTag(tag);
  languageHint_->setText(wellFormed ? QString()
                                    : QStringLiteral("Not a language tag: give one such as de, fr-CA or zh-Hant."));
  languageHint_->setVisible(!wellFormed);
}

void TestOptionsWindow::accept() {
  storeText();
  // The language first: a tag that is not well-formed keeps every option as it was.
  session_.setLanguage(LanguageTagOfField(languageBox_->currentText()));
  for (std::size_t i = 0; i < options_.size() && i < session_.test().texts.size(); ++i) {
    session_.setTextOptions(i, options_[i]);
  }
  session_.setMatching(static_cast<AnswerMatching>(matchingBox_->currentData().toInt()));
  QDialog::accept();
}

}  // namespace brenvik
