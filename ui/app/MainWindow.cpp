#include "ui/app/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <exception>
#include <memory>
#include <span>
#include <stdexcept>
#include <new>
#include <string>
#include <vector>

#include "ui/app/AboutBox.h"
#include "ui/app/GapEditorWindow.h"
#include "ui/app/OutputSettingsWindow.h"
#include "ui/app/OutputText.h"
#include "ui/app/TestOptionsWindow.h"
#include "ui/app/TestSession.h"
#include "ui/app/TextsWindow.h"
#include "core/test/TestFile.h"
#include "ui/app/AppLook.h"
#include "ui/app/ScreenFit.h"
#include "core/page/PageTest.h"
#include "core/page/Worksheet.h"
#include "core/text/Errors.h"
#include "ui/platform/QtText.h"
#include "core/text/TextFile.h"
#include "core/ctest/TestGen.h"
#include "ui/app/StartFolder.h"
#include "ui/platform/HelpFile.h"
#include "ui/print/WorksheetPrint.h"

namespace brenvik {

namespace {

// File paths go to the core as UTF-8, as the file system takes them.
std::string ToPath(const QString& path) { return path.toStdString(); }

// The warning box after an export that gave warnings: the format's first
// line naming the file, then every warning, up to a screenful.
QString ExportWarningText(const ExportFormat& format, const QString& path, const std::vector<std::string>& warnings) {
  constexpr std::size_t kListed = 20;
  QString text = QString::fromUtf8(format.warningLead.data(), static_cast<qsizetype>(format.warningLead.size()))
                     .arg(QDir::toNativeSeparators(path)) +
                 QLatin1Char('\n');
  for (std::size_t i = 0; i < warnings.size() && i < kListed; ++i) {
    text += QStringLiteral("\n\u2022 ") + QString::fromStdString(warnings[i]);
  }
  if (warnings.size() > kListed) {
    text += QStringLiteral("\n\u2026 and %1 more.").arg(warnings.size() - kListed);
  }
  return text;
}

// A control's designer name and its place in the client area.
void Place(QWidget* w, const char* name, int x, int y, int width, int height) {
  w->setObjectName(QLatin1String(name));
  w->setGeometry(x, y, width, height);
}

QString FromUtf8View(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QString BoxText(const QPlainTextEdit* box) {
  // The raw text keeps no-break spaces and line separators as they are; only
  // the paragraph separators between lines become LF.
  QString text = box->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return text;
}

void setBoxText(QPlainTextEdit* box, const QString& text) {
  // Paragraphs longer than this keep their shaped glyphs after layout, so
  // that placing the caret and painting do not shape the whole paragraph
  // again (about 28 bytes a character while the paragraph is in the box).
  constexpr int LongParagraph = 8192;

  QTextDocument* doc = box->document();
  const QTextCharFormat format = box->textCursor().charFormat();  // setPlainText's format too
  const bool undoRedo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  doc->clear();  // also drops the undo history and the modified flag
  // The empty paragraph clear() leaves is laid out now, at no cost: if the
  // new text is one paragraph too, the plain-text layout would otherwise lay
  // it out twice, once for the size it had before and once for the new text.
  if (auto* layout = qobject_cast<QPlainTextDocumentLayout*>(doc->documentLayout())) {
    layout->ensureBlockLayout(doc->firstBlock());
  }
  // One edit: the layout hears of the change once, when the edit ends.
  QTextCursor edit(doc);
  edit.beginEditBlock();
  edit.insertText(text, format);
  for (QTextBlock block = doc->firstBlock(); block.isValid(); block = block.next()) {
    // Only long paragraphs are touched: asking for a paragraph's layout
    // creates it, and most paragraphs are never laid out.
    if (block.length() > LongParagraph) block.layout()->setCacheEnabled(true);
  }
  edit.endEditBlock();
  doc->setUndoRedoEnabled(undoRedo);
  doc->setModified(false);
  box->setTextCursor(QTextCursor(doc));  // the caret at the start, scrolled into view
}

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Brenvik"));
  setWindowIcon(ProgramIcon());
  createControls();
  session_ = new TestSession(state_, this);
  createMenu();
  move(kDesignLeft, kDesignTop);
  resize(kDesignClientWidth, kDesignClientHeight);
  setUpDialogs();

  // The source box edits the current text. Its text goes into the test when
  // it differs from what the box was last given, so that a text taken from
  // a test file with other line ends does not count as changed.
  session_->setSourceReader([this]() -> std::optional<Text> {
    QString now = BoxText(sourceBox_);
    if (now == shownSource_) return std::nullopt;
    shownSource_ = std::move(now);
    return unicode::ToNfc(FromBoxText(shownSource_));
  });
  connect(sourceBox_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (modified) session_->markChanged();
  });
  connect(session_, &TestSession::currentChanged, this, [this] { showCurrentText(); });
  connect(session_, &TestSession::generatedChanged, this, [this] { showGenerated(); });
  connect(session_, &TestSession::modifiedChanged, this, [this] { updateTitle(); });
  connect(session_, &TestSession::textsChanged, this, [this] { updateTitle(); });
  outputBox_->viewport()->installEventFilter(this);

  textsWindow_ = new TextsWindow(*session_, this);
  testOptionsWindow_ = new TestOptionsWindow(*session_, this);
  gapEditor_ = new GapEditorWindow(*session_, this);
  updateTitle();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
  QWidget* client = createClientArea();
  QPalette blackText = client->palette();
  blackText.setColor(QPalette::WindowText, Qt::black);
  blackText.setColor(QPalette::ButtonText, Qt::black);
  blackText.setColor(QPalette::Text, Qt::black);
  createTextBoxes(client, blackText);
  createOptionControls(client, blackText);
  createButtons(client);
  setUpTabOrder();

  // The client area scrolls once the window is too small for its controls
  // (the hint labels run past the design's right edge, as they always have).
  QRect controls;
  for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!qobject_cast<QLabel*>(w)) controls |= w->geometry();
  }
  client->setMinimumSize(controls.right() + 1 + 8, controls.bottom() + 1 + 8);

  connect(processButton_, &QPushButton::clicked, this, Guarded(this, &MainWindow::process));
  connect(quitButton_, &QPushButton::clicked, this, Guarded(this, &MainWindow::quit));
  connect(testVersionButton_, &QRadioButton::toggled, this, Guarded(this, &MainWindow::chooseTestVersion));
  connect(practiceButton_, &QRadioButton::toggled, this, Guarded(this, &MainWindow::choosePracticeVersion));
  connect(showAnswersBox_, &QCheckBox::toggled, this, Guarded(this, &MainWindow::showAnswersToggled));
  connect(timerBox_, &QCheckBox::toggled, this, Guarded(this, &MainWindow::timerToggled));
}

QWidget* MainWindow::createClientArea() {
  // The client area: controls sit at fixed places and keep them when the
  // window is resized, so no layout manages them. It sits in a scroll area
  // that shows no scroll bar while the window has room for the controls; on
  // a screen too small for the design it keeps every control within reach.
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName(QStringLiteral("ClientScroller"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setFocusPolicy(Qt::NoFocus);
  auto* client = new QWidget(scroller);
  client->setObjectName(QStringLiteral("ClientArea"));
  QPalette windowPalette = client->palette();
  const QColor background = platform().systemColour(system_colour::kInactiveCaption);
  windowPalette.setColor(QPalette::Window, background);
  windowPalette.setColor(QPalette::WindowText, Navy());
  client->setPalette(windowPalette);
  client->setAutoFillBackground(true);
  client->setFont(WindowFont());  // the menu bar keeps the desktop's menu font
  scroller->setWidget(client);
  setCentralWidget(scroller);
  return client;
}

void MainWindow::createTextBoxes(QWidget* client, const QPalette& blackText) {
  auto label = [&](const char* name, int x, int y, const QString& text) {
    auto* l = new QLabel(text, client);
    l->setObjectName(QLatin1String(name));
    l->setPalette(blackText);
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  sourceHint_ = label("Label4", 16, 8,
                  QStringLiteral("Use the file menu to import a .TXT file or paste or type your own text here.  "));
  outputHint_ = label("Label1", 384, 8,
                  QStringLiteral("You can paste the output into a word-processor if you want a  paper version."));

  QPalette boxPalette = client->palette();
  boxPalette.setColor(QPalette::Base, MoneyGreen());
  boxPalette.setColor(QPalette::Text, Navy());
  auto textBox = [&](const char* name, int x, int y, int w, int h) {
    auto* box = new QPlainTextEdit(client);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(x, y, w, h);
    box->setPalette(boxPalette);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    return box;
  };
  sourceBox_ = textBox("Source", 16, 32, 345, 425);
  outputBox_ = textBox("Output", 376, 32, 361, 425);
  // Names for screen readers; the hints above the boxes are not their labels.
  sourceBox_->setAccessibleName(QStringLiteral("Source text"));
  outputBox_->setAccessibleName(QStringLiteral("Test output"));
  outputBox_->setPlainText(QStringLiteral("\n"));  // one empty line
}

void MainWindow::createOptionControls(QWidget* client, const QPalette& blackText) {
  testVersionButton_ = new QRadioButton(QStringLiteral("Test version (default)"), client);
  Place(testVersionButton_, "RadioButton1", 8, 472, 153, 17);
  timerBox_ = new QCheckBox(QStringLiteral("Use timer"), client);
  Place(timerBox_, "CheckBox2", 176, 472, 73, 17);
  practiceButton_ = new QRadioButton(QStringLiteral("Practice C-test"), client);
  Place(practiceButton_, "RadioButton2", 272, 472, 113, 17);
  showAnswersBox_ = new QCheckBox(QStringLiteral("Show Answers"), client);
  Place(showAnswersBox_, "CheckBox1", 408, 472, 113, 17);
  for (QWidget* w : {static_cast<QWidget*>(testVersionButton_), static_cast<QWidget*>(practiceButton_),
                     static_cast<QWidget*>(showAnswersBox_), static_cast<QWidget*>(timerBox_)}) {
    w->setPalette(blackText);
  }
  testVersionButton_->setChecked(true);
}

void MainWindow::createButtons(QWidget* client) {
  QPalette buttonPalette = client->palette();
  buttonPalette.setColor(QPalette::Button, QPalette().color(QPalette::Button));  // the system's button face
  buttonPalette.setColor(QPalette::ButtonText, Navy());
  processButton_ = new QPushButton(QStringLiteral("&Process"), client);
  Place(processButton_, "Button1", 552, 472, 89, 25);
  processButton_->setToolTip(QStringLiteral("Click here to produce the test in the output box."));
  quitButton_ = new QPushButton(QStringLiteral("&Quit"), client);
  Place(quitButton_, "Button2", 664, 472, 89, 25);
  quitButton_->setToolTip(QStringLiteral("Close"));
  for (QPushButton* b : {processButton_, quitButton_}) {
    b->setPalette(buttonPalette);
    b->setAutoDefault(false);
  }
}

void MainWindow::setUpTabOrder() {
  // Tab sequence: Process, output box, Quit, source box, the checked radio
  // button, Show Answers, Use timer, and round to Process again.
  setTabOrder(processButton_, outputBox_);
  setTabOrder(outputBox_, quitButton_);
  setTabOrder(quitButton_, sourceBox_);
  setTabOrder(sourceBox_, testVersionButton_);
  setTabOrder(testVersionButton_, practiceButton_);
  setTabOrder(practiceButton_, showAnswersBox_);
  setTabOrder(showAnswersBox_, timerBox_);
  updateRadioTabStops();
  testVersionButton_->installEventFilter(this);
  practiceButton_->installEventFilter(this);
  processButton_->setFocus();
}

void MainWindow::createMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto menu = [&](const char* name, const QString& title) {
    QMenu* m = bar->addMenu(title);
    m->setObjectName(QLatin1String(name));
    return m;
  };
  auto action = [](QMenu* m, const QString& name, const QString& text, const QString& hint) {
    QAction* a = m->addAction(text);
    a->setObjectName(name);
    // Kept with the item; the window has no status line to show it.
    if (!hint.isEmpty()) {
      a->setStatusTip(hint);
      a->setToolTip(hint);
    }
    return a;
  };
  auto item = [&](QMenu* m, const char* name, const QString& text, const QString& hint, void (MainWindow::*handler)()) {
    QAction* a = action(m, QLatin1String(name), text, hint);
    connect(a, &QAction::triggered, this, Guarded(this, handler));
    return a;
  };
  QMenu* file = menu("mnuFile", QStringLiteral("&File"));
  item(file, "mnuOpen", QStringLiteral("&Open"), QStringLiteral("Import a file."), &MainWindow::openSource);
  item(file, "mnuSave", QStringLiteral("&Save source"), QStringLiteral("Save as a .TXT file"), &MainWindow::saveSource);
  item(file, "Saveoutput1", QStringLiteral("Save out&put"), QString(), &MainWindow::saveOutput);
  file->addSeparator();
  item(file, "mnuOpenTest", QStringLiteral("Open &test\u2026"), QStringLiteral("Open a test with all its texts (*.ctest)"),
       &MainWindow::openTest);
  item(file, "mnuSaveTest", QStringLiteral("Sa&ve test"), QStringLiteral("Save the test with all its texts"),
       &MainWindow::saveTest)
      ->setShortcut(QKeySequence::Save);
  item(file, "mnuSaveTestAs", QStringLiteral("Save test &as\u2026"),
       QStringLiteral("Save the test with all its texts under a new name"), &MainWindow::saveTestAs)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  file->addSeparator();
  for (const ExportFormat& format : ExportFormats()) {
    if (format.menuText.empty()) continue;  // reached through another entry
    QAction* a = action(file, FromUtf8View(format.actionName), FromUtf8View(format.menuText),
                        FromUtf8View(format.statusTip));
    connect(a, &QAction::triggered, this, Guarded(this, [this, &format] { exportAs(format); }));
  }
  file->addSeparator();
  item(file, "mnuPrint", QStringLiteral("P&rint\u2026"), QStringLiteral("Print the worksheet and its answer key"),
       &MainWindow::printWorksheet)
      ->setShortcut(QKeySequence::Print);
  file->addSeparator();
  item(file, "mnuQuit", QStringLiteral("&Quit"), QString(), &MainWindow::quit);
  QMenu* edit = menu("Edit1", QStringLiteral("&Edit"));
  item(edit, "Output1", QStringLiteral("&Output"), QString(), &MainWindow::showOutputSettings);
  edit->addSeparator();
  item(edit, "mnuTexts", QStringLiteral("&Texts\u2026"), QStringLiteral("Add, remove, rename and order the texts of the test"),
       &MainWindow::showTexts);
  item(edit, "mnuTestOptions", QStringLiteral("Test o&ptions\u2026"),
       QStringLiteral("Gap limit, last sentence, answer matching and text language"), &MainWindow::showTestOptions);
  item(edit, "mnuGapEditor", QStringLiteral("&Gaps\u2026"),
       QStringLiteral("Switch gaps on or off and give further accepted answers"), &MainWindow::showGapEditor);
  QMenu* help = menu("mnuHelp", QStringLiteral("&Help"));
  item(help, "Contents1", QStringLiteral("Contents"), QString(), &MainWindow::showHelpContents);
  item(help, "mnuAbout", QStringLiteral("A&bout"), QStringLiteral("Want to know more about who wrote this thing?"),
       &MainWindow::showAbout);
}

void MainWindow::setUpDialogs() {
  // Every dialog starts in the program's own folder, whatever the current
  // folder is, unless the user cannot write there (an installed program):
  // then in the documents or the home folder. The help file sits beside the
  // program.
  const QString programDir = QCoreApplication::applicationDirPath();
  const QString startDir = DialogStartFolder(
      programDir, UserFolders(), [](const QString& folder) { return platform().canWriteFolder(folder); });
  openDialog_.mustExist = true;
  openDialog_.initialDir = startDir;
  openDialog_.filter = QStringLiteral("Text files (*.txt)|*.txt");
  saveTextDialog_.initialDir = startDir;
  saveTextDialog_.filter = QStringLiteral("Text files (*.txt)|*.txt");
  // The file each save dialog's name is written to, which its dialog asks
  // about before replacing it. Text files always get their extension, even
  // a name that already ends in it; the exports follow their format's rule.
  saveTextDialog_.savedPath = [](const QString& chosen) { return chosen + QStringLiteral(".txt"); };
  for (const ExportFormat& format : ExportFormats()) {
    FileDialogState dialog;
    dialog.initialDir = startDir;
    dialog.filter = FromUtf8View(format.filter);
    dialog.savedPath = [&format](const QString& chosen) {
      return QString::fromStdString(SavedFileName(format, chosen.toStdString()));
    };
    exportDialogs_.push_back(std::move(dialog));
  }
  openTestDialog_.mustExist = true;
  openTestDialog_.initialDir = startDir;
  openTestDialog_.filter = QStringLiteral("C-tests (*.ctest)|*.ctest");
  saveTestDialog_.initialDir = startDir;
  saveTestDialog_.filter = openTestDialog_.filter;
  // ".ctest" is added unless the name ends in it, in any case.
  saveTestDialog_.savedPath = [](const QString& chosen) {
    return IsTestFilePath(chosen.toStdString()) ? chosen : chosen + QStringLiteral(".ctest");
  };
  helpFile_ = FindHelpFile(programDir);
}

void MainWindow::updateRadioTabStops() {
  // The two radio buttons are one tab stop, at the checked one; arrow keys
  // still move between them.
  testVersionButton_->setFocusPolicy(testVersionButton_->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  practiceButton_->setFocusPolicy(practiceButton_->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A double-click on a word of the output box switches its gap.
  if (outputBox_ && watched == outputBox_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && session_->generatedMatchesTexts() &&
        !outputBox_->document()->isModified()) {
      const QPoint pos = mouse->position().toPoint();
      RunCommand(this, [&] { switchGapAt(pos); });
      return true;
    }
  }
  // Every arrow key moves to the other radio button of the group and checks
  // it, whichever way the buttons are laid out (Qt alone would follow the
  // arrow's direction only, and the two buttons sit side by side).
  if ((watched == testVersionButton_ || watched == practiceButton_) && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if ((k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_Left || k == Qt::Key_Right) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      QRadioButton* other = watched == testVersionButton_ ? practiceButton_ : testVersionButton_;
      other->setChecked(true);
      other->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
  // The window opens at its design place and size where they fit on the
  // screen; on a smaller screen it is moved into the screen's available
  // area, and made smaller only when it still does not fit.
  if (!placed_) {
    placed_ = true;
    FitWindowOnScreen(*this, /*mayShrink=*/true);
  }
  QMainWindow::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program at once, even while the
  // configure-output window is open, unless the test has unsaved changes:
  // then the teacher is asked first, and Cancel keeps the window.
  bool mayClose = false;
  RunCommand(this, [&] { mayClose = maySafelyDiscard(); });
  if (!mayClose) {
    event->ignore();
    return;
  }
  event->accept();
  QCoreApplication::exit(0);
}

void MainWindow::process() {
  session_->generate();
  // Edits whose word the texts no longer have are named, so the teacher
  // knows that they are gone.
  const GeneratedTest& made = session_->generated();
  QStringList notes;
  for (const GeneratedText& text : made.texts) {
    for (const std::string& note : text.notes) {
      notes << (made.texts.size() > 1 ? ToQString(text.title) + QStringLiteral(": ") : QString()) +
                   QString::fromStdString(note);
    }
  }
  if (!notes.isEmpty()) {
    platform().showWarning(this, QString::fromUtf8(kApplicationTitle),
                           QStringLiteral("Some changes no longer apply:\n\n\u2022 ") +
                               notes.join(QStringLiteral("\n\u2022 ")));
  }
}

void MainWindow::showGenerated() {
  const GeneratedTest& made = session_->generated();
  if (made.texts.empty()) {
    output_.reset();
    setBoxText(outputBox_, QStringLiteral("\n"));
    return;
  }
  // After a change made in the gap editor the box stays where it was.
  const bool again = output_ != nullptr;
  const int scrolled = outputBox_->verticalScrollBar()->value();
  output_ = std::make_unique<OutputText>(BuildOutputText(made));
  setBoxText(outputBox_, output_->text);
  if (again) outputBox_->verticalScrollBar()->setValue(scrolled);
}

void MainWindow::showCurrentText() {
  const Text& source = session_->test().texts[session_->current()].source;
  shownSource_ = ToBoxText(source);
  setBoxText(sourceBox_, shownSource_);
}

void MainWindow::updateTitle() {
  const QString& path = session_->path();
  // A test from a file is named by it; the plain window stays "Brenvik"
  // until the test is more than one plain text.
  if (!path.isEmpty()) {
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] \u2014 Brenvik"));
  } else if (session_->test().texts.size() > 1 || session_->hasUnsavedChanges()) {
    setWindowTitle(QStringLiteral("Untitled test[*] \u2014 Brenvik"));
  } else {
    setWindowTitle(QStringLiteral("Brenvik"));
  }
  setWindowModified(session_->hasUnsavedChanges());
}

void MainWindow::switchGapAt(const QPoint& viewportPos) {
  if (!output_) return;
  const int position = outputBox_->cursorForPosition(viewportPos).position();
  const std::optional<GapWord> word = WordAtOutputPosition(*session_, *output_, position);
  if (!word) return;
  if (!session_->hasGap(*word) && !session_->canHaveGap(*word)) {
    platform().beep();
    return;
  }
  session_->setGap(*word, !session_->hasGap(*word));
  if (gapEditor_->isVisible()) gapEditor_->showWord(*word);
}

MainWindow::ExportInput MainWindow::exportInput() {
  // A test of one text is exported as Process has always exported it, under
  // the page title; the texts of a test of several under their own titles.
  ExportInput input;
  const GeneratedTest& made = session_->generated();
  input.matching = made.matching;
  input.language = made.language;
  if (made.texts.size() <= 1) {
    input.texts.push_back(
        ExportText{state_.settings.Title, &state_.workspace, made.texts.empty() ? nullptr : &made.texts[0].accepted});
    return input;
  }
  for (std::size_t t = 0; t < made.texts.size(); ++t) {
    input.texts.push_back(ExportText{made.texts[t].title, &session_->workspace(t), &made.texts[t].accepted});
  }
  return input;
}

const FileDialogState& MainWindow::exportDialog(std::string_view formatId) const {
  const std::span<const ExportFormat> formats = ExportFormats();
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (formats[i].id == formatId) return exportDialogs_[i];
  }
  throw std::out_of_range("no export format " + std::string(formatId));
}

void MainWindow::exportAs(const ExportFormat& entry) {
  // The test is made into the file first: with no answer the list error
  // ends the command before any dialog. The page text of a classic export
  // is kept (lastPage) even when the save is cancelled.
  const ExportInput input = exportInput();
  if (input.texts.size() > 1 && !entry.severalTexts) {
    throw BrenvikError("this export takes one text a file, and the test has " + std::to_string(input.texts.size()) +
                       " texts");
  }
  const ExportContext context{ExportCreationTime(), &lastPage_, input.matching, input.language};
  const ExportFormat* format = &entry;
  ExportSettings settings = state_.settings;
  std::unique_ptr<ExportFile> file;
  std::vector<std::string> warnings;
  const auto fill = [&] {
    file = format->open(settings, context);
    warnings.clear();
    for (const ExportText& text : input.texts) {
      std::vector<std::string> more = file->add(text);
      warnings.insert(warnings.end(), more.begin(), more.end());
    }
  };
  fill();
  if (entry.scorm) {
    // One entry for both versions: the version and the pass mark are asked
    // once the test is known to export, offering the last answers again.
    ScormChoice choice = scormChoice_;
    if (!platform().askScormChoice(this, choice)) return;
    scormChoice_ = choice;
    format = FindExportFormat(choice.version == ScormVersion::Scorm2004 ? "scorm2004" : "scorm12");
    settings.PassMark = choice.passMark;
    fill();
  }
  FileDialogState& dialog = exportDialogs_[static_cast<std::size_t>(format - ExportFormats().data())];
  dialog.fileName = ToQString(state_.settings.Title);
  const bool saved = platform().runSaveDialog(this, dialog);
  const QString path = SavedPath(dialog);
  if (saved) {
    WriteFileBytes(ToPath(path), file->bytes());
    // Written all the same: the teacher can still mend what the warnings name.
    if (!warnings.empty()) {
      platform().showWarning(this, QString::fromUtf8(kApplicationTitle), ExportWarningText(*format, path, warnings));
    }
  }
  // After Cancel the shell looks the proposed name up in the current folder.
  const bool preview = format->after == AfterExport::OfferPreviewEvenIfNotSaved ||
                       (saved && format->after == AfterExport::OfferPreview);
  if (preview && platform().askConfirmation(this, QStringLiteral("Do you wish to preview the page in a browser"))) {
    platform().shellOpen(this, path);
  }
}

void MainWindow::printWorksheet() {
  // Every text of the test, as Export PDF writes it.
  const ExportInput input = exportInput();
  page::PageTest test{{}, input.matching, input.language};
  for (const ExportText& text : input.texts) test.Texts.push_back({text.Title, text.Workspace, text.Accepted});
  const Worksheet sheet = BuildWorksheet(test, state_.settings);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(WorksheetPageLayout(QLocale::system()));
  printer.setDocName(ToQString(sheet.Title));
  printer.setCreator(QStringLiteral("Brenvik"));
  if (!platform().runPrintDialog(this, printer)) return;
  // The dialog's "Pages from ... to"; 0 and 0 print every page.
  const bool range = printer.printRange() == QPrinter::PageRange;
  const int from = range ? printer.fromPage() : 0;
  const int to = range ? printer.toPage() : 0;
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    // "Print to File (PDF)": the same pages, written as Export PDF writes
    // them, whole or not at all. Painted straight onto the printer, a
    // failed write would leave half a file and go unreported.
    const QString path = printer.outputFileName();
    WriteFileBytes(ToPath(path),
                   WorksheetPdf(sheet, printer.pageLayout(),
                                QDateTime::fromSecsSinceEpoch(ExportCreationTime(), Qt::UTC), from, to));
    return;
  }
  if (PaintWorksheet(sheet, printer, from, to).Pages == 0) {
    throw BrenvikError(
        QStringLiteral("Impossible d'imprimer sur l'imprimante %1").arg(printer.printerName()).toStdString());
  }
}

void MainWindow::quit() {
  if (!maySafelyDiscard()) return;
  QCoreApplication::exit(0);
}

bool MainWindow::maySafelyDiscard() {
  session_->syncSource();
  if (!session_->hasUnsavedChanges()) return true;
  switch (platform().askSaveChanges(
      this, QStringLiteral("The test has changes that are not saved in a test file.\n\nSave them first?"))) {
    case SaveChoice::Save:
      return saveTestTo(/*askName=*/false);
    case SaveChoice::Discard:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

bool MainWindow::saveTestTo(bool askName) {
  QString path = session_->path();
  if (askName || path.isEmpty()) {
    saveTestDialog_.fileName =
        path.isEmpty() ? ToQString(state_.settings.Title) : QFileInfo(path).completeBaseName();
    if (!platform().runSaveDialog(this, saveTestDialog_)) return false;
    path = SavedPath(saveTestDialog_);
  }
  session_->save(path);
  updateTitle();
  return true;
}

void MainWindow::openTest() {
  if (!maySafelyDiscard()) return;
  if (!platform().runOpenDialog(this, openTestDialog_)) return;
  // Read whole before anything changes: a damaged file leaves the window as it was.
  session_->open(openTestDialog_.fileName);
  {
    // The page options of the test file, shown by the option controls.
    const QSignalBlocker b1(testVersionButton_), b2(practiceButton_), b3(showAnswersBox_), b4(timerBox_);
    testVersionButton_->setChecked(state_.settings.TestMode == PageVariant::Test);
    practiceButton_->setChecked(state_.settings.TestMode == PageVariant::Practice);
    showAnswersBox_->setChecked(state_.settings.ShowAnswersFlag);
    timerBox_->setChecked(state_.settings.TimerFlag);
    updateRadioTabStops();
  }
  if (auto* settingsWindow = qobject_cast<OutputSettingsWindow*>(outputSettingsWindow_)) settingsWindow->showSettings();
  updateTitle();
  session_->generate();
}

void MainWindow::saveTest() {
  saveTestTo(/*askName=*/false);
}

void MainWindow::saveTestAs() {
  saveTestTo(/*askName=*/true);
}

void MainWindow::showTexts() {
  textsWindow_->show();
  textsWindow_->raise();
  textsWindow_->activateWindow();
}

void MainWindow::showTestOptions() {
  testOptionsWindow_->show();
  testOptionsWindow_->raise();
  testOptionsWindow_->activateWindow();
}

void MainWindow::showGapEditor() {
  gapEditor_->show();
  gapEditor_->raise();
  gapEditor_->activateWindow();
}

void MainWindow::openSource() {
  if (!platform().runOpenDialog(this, openDialog_)) return;
  // A file larger than the box can take is refused before it is read.
  const Text text = ReadTextFile(ToPath(openDialog_.fileName), kSourceBoxCapacity);
  setBoxText(sourceBox_, ToBoxText(text));
  session_->markChanged();
}

void MainWindow::saveBoxAsText(const QPlainTextEdit* box) {
  saveTextDialog_.fileName = ToQString(state_.settings.Title);
  if (!platform().runSaveDialog(this, saveTextDialog_)) return;
  WriteTextFile(ToPath(SavedPath(saveTextDialog_)), FromBoxText(BoxText(box)));
}

void MainWindow::saveSource() {
  saveBoxAsText(sourceBox_);
}

void MainWindow::saveOutput() {
  saveBoxAsText(outputBox_);
}

void MainWindow::showOutputSettings() {
  if (!outputSettingsWindow_) return;
  outputSettingsWindow_->show();
  outputSettingsWindow_->raise();
  outputSettingsWindow_->activateWindow();
}

void MainWindow::showHelpContents() {
  platform().showHelpContents(this, helpFile_);
}

void MainWindow::showAbout() {
  if (aboutBox_) aboutBox_->exec();
}

void MainWindow::chooseTestVersion() {
  if (testVersionButton_->isChecked()) state_.settings.TestMode = PageVariant::Test;
  updateRadioTabStops();
  if (session_) updateTitle();
}

void MainWindow::choosePracticeVersion() {
  if (practiceButton_->isChecked()) state_.settings.TestMode = PageVariant::Practice;
  updateRadioTabStops();
  if (session_) updateTitle();
}

void MainWindow::showAnswersToggled() {
  state_.settings.ShowAnswersFlag = showAnswersBox_->isChecked();
  if (session_) updateTitle();
}

void MainWindow::timerToggled() {
  state_.settings.TimerFlag = timerBox_->isChecked();
  if (session_) updateTitle();
}

}  // namespace brenvik
