#include "ui/app/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QDateTime>
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
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "ui/app/AboutBox.h"
#include "ui/app/AppLook.h"
#include "ui/app/ScreenFit.h"
#include "core/page/ClassicPage.h"
#include "core/page/MoodleXml.h"
#include "core/page/ResponsivePage.h"
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

// The chosen path with the extension added unless its file name already ends
// in it (any case): "quiz" and "quiz.xml" both give quiz.xml, "quiz.txt"
// gives quiz.txt.xml, so the file always opens as what it is.
QString WithExtension(const QString& path, const QString& extension) {
  if (QFileInfo(path).fileName().endsWith(extension, Qt::CaseInsensitive)) return path;
  return path + extension;
}

// The warning box after a Moodle export: the file and every answer or name
// Moodle will not take as written, up to a screenful.
QString MoodleWarningText(const QString& path, const std::vector<std::string>& warnings) {
  constexpr std::size_t kListed = 20;
  QString text = QStringLiteral("The quiz was saved as %1, but Moodle will not take these as written:\n")
                     .arg(QDir::toNativeSeparators(path));
  for (std::size_t i = 0; i < warnings.size() && i < kListed; ++i) {
    text += QStringLiteral("\n\u2022 ") + QString::fromStdString(warnings[i]);
  }
  if (warnings.size() > kListed) {
    text += QStringLiteral("\n\u2026 and %1 more.").arg(warnings.size() - kListed);
  }
  return text;
}

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
  createMenu();
  move(kDesignLeft, kDesignTop);
  resize(kDesignClientWidth, kDesignClientHeight);
  setUpDialogs();
}

void MainWindow::createControls() {
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

  QPalette blackText = windowPalette;
  blackText.setColor(QPalette::WindowText, Qt::black);
  blackText.setColor(QPalette::ButtonText, Qt::black);
  blackText.setColor(QPalette::Text, Qt::black);

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

  QPalette boxPalette = windowPalette;
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

  auto place = [](QWidget* w, const char* name, int x, int y, int width, int height) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(x, y, width, height);
  };
  testVersionButton_ = new QRadioButton(QStringLiteral("Test version (default)"), client);
  place(testVersionButton_, "RadioButton1", 8, 472, 153, 17);
  timerBox_ = new QCheckBox(QStringLiteral("Use timer"), client);
  place(timerBox_, "CheckBox2", 176, 472, 73, 17);
  practiceButton_ = new QRadioButton(QStringLiteral("Practice C-test"), client);
  place(practiceButton_, "RadioButton2", 272, 472, 113, 17);
  showAnswersBox_ = new QCheckBox(QStringLiteral("Show Answers"), client);
  place(showAnswersBox_, "CheckBox1", 408, 472, 113, 17);
  for (QWidget* w : {static_cast<QWidget*>(testVersionButton_), static_cast<QWidget*>(practiceButton_),
                     static_cast<QWidget*>(showAnswersBox_), static_cast<QWidget*>(timerBox_)}) {
    w->setPalette(blackText);
  }
  testVersionButton_->setChecked(true);

  QPalette buttonPalette = windowPalette;
  buttonPalette.setColor(QPalette::Button, QPalette().color(QPalette::Button));  // the system's button face
  buttonPalette.setColor(QPalette::ButtonText, Navy());
  processButton_ = new QPushButton(QStringLiteral("&Process"), client);
  place(processButton_, "Button1", 552, 472, 89, 25);
  processButton_->setToolTip(QStringLiteral("Click here to produce the test in the output box."));
  quitButton_ = new QPushButton(QStringLiteral("&Quit"), client);
  place(quitButton_, "Button2", 664, 472, 89, 25);
  quitButton_->setToolTip(QStringLiteral("Close"));
  for (QPushButton* b : {processButton_, quitButton_}) {
    b->setPalette(buttonPalette);
    b->setAutoDefault(false);
  }

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

  // The client area scrolls once the window is too small for its controls
  // (the hint labels run past the design's right edge, as they always have).
  QRect controls;
  for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!qobject_cast<QLabel*>(w)) controls |= w->geometry();
  }
  client->setMinimumSize(controls.right() + 1 + 8, controls.bottom() + 1 + 8);

  connect(processButton_, &QPushButton::clicked, this, &MainWindow::process);
  connect(quitButton_, &QPushButton::clicked, this, &MainWindow::quit);
  connect(testVersionButton_, &QRadioButton::toggled, this, &MainWindow::chooseTestVersion);
  connect(practiceButton_, &QRadioButton::toggled, this, &MainWindow::choosePracticeVersion);
  connect(showAnswersBox_, &QCheckBox::toggled, this, &MainWindow::showAnswersToggled);
  connect(timerBox_, &QCheckBox::toggled, this, &MainWindow::timerToggled);
}

void MainWindow::createMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto menu = [&](const char* name, const QString& title) {
    QMenu* m = bar->addMenu(title);
    m->setObjectName(QLatin1String(name));
    return m;
  };
  auto item = [this](QMenu* m, const char* name, const QString& text, const QString& hint, void (MainWindow::*handler)()) {
    QAction* a = m->addAction(text);
    a->setObjectName(QLatin1String(name));
    // Kept with the item; the window has no status line to show it.
    if (!hint.isEmpty()) {
      a->setStatusTip(hint);
      a->setToolTip(hint);
    }
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  QMenu* file = menu("mnuFile", QStringLiteral("&File"));
  item(file, "mnuOpen", QStringLiteral("&Open"), QStringLiteral("Import a file."), &MainWindow::openSource);
  item(file, "mnuSave", QStringLiteral("&Save source"), QStringLiteral("Save as a .TXT file"), &MainWindow::saveSource);
  item(file, "Saveoutput1", QStringLiteral("Save out&put"), QString(), &MainWindow::saveOutput);
  item(file, "mnuExporttoweb", QStringLiteral("E&xport to web"), QStringLiteral("Save as HTML"),
       &MainWindow::exportToWeb);
  item(file, "mnuExportMobile", QStringLiteral("Export &mobile page\u2026"),
       QStringLiteral("Save as a page for phones, tablets and screen readers"), &MainWindow::exportMobilePage);
  item(file, "mnuExportMoodle", QStringLiteral("Export to Moo&dle\u2026"),
       QStringLiteral("Save as a Moodle XML quiz for a course's question bank"), &MainWindow::exportMoodle);
  item(file, "mnuExportPdf", QStringLiteral("Export PD&F\u2026"),
       QStringLiteral("Save the worksheet and its answer key as a PDF file"), &MainWindow::exportPdf);
  file->addSeparator();
  item(file, "mnuPrint", QStringLiteral("P&rint\u2026"), QStringLiteral("Print the worksheet and its answer key"),
       &MainWindow::printWorksheet)
      ->setShortcut(QKeySequence::Print);
  file->addSeparator();
  item(file, "mnuQuit", QStringLiteral("&Quit"), QString(), &MainWindow::quit);
  QMenu* edit = menu("Edit1", QStringLiteral("&Edit"));
  item(edit, "Output1", QStringLiteral("&Output"), QString(), &MainWindow::showOutputSettings);
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
  savePageDialog_.initialDir = startDir;
  savePageDialog_.filter = QStringLiteral("HTML files (*.htm)|*.htm");
  saveMoodleDialog_.initialDir = startDir;
  saveMoodleDialog_.filter = QStringLiteral("Moodle XML files (*.xml)|*.xml");
  savePdfDialog_.initialDir = startDir;
  savePdfDialog_.filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
  // The file each save dialog's name is written to, which its dialog asks
  // about before replacing it. Text files and both pages always get their
  // extension, even a name that already ends in it; a quiz and a PDF get
  // theirs unless the name ends in it.
  saveTextDialog_.savedPath = [](const QString& chosen) { return chosen + QStringLiteral(".txt"); };
  savePageDialog_.savedPath = [](const QString& chosen) { return chosen + QStringLiteral(".htm"); };
  saveMoodleDialog_.savedPath = [](const QString& chosen) { return WithExtension(chosen, QStringLiteral(".xml")); };
  savePdfDialog_.savedPath = [](const QString& chosen) { return WithExtension(chosen, QStringLiteral(".pdf")); };
  helpFile_ = FindHelpFile(programDir);
}

void MainWindow::updateRadioTabStops() {
  // The two radio buttons are one tab stop, at the checked one; arrow keys
  // still move between them.
  testVersionButton_->setFocusPolicy(testVersionButton_->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  practiceButton_->setFocusPolicy(practiceButton_->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
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
  // configure-output window is open; nothing is asked or saved.
  event->accept();
  QCoreApplication::exit(0);
}

void MainWindow::process() {
  RunCommand(this, [this] {
    const Text test = GenerateTest(unicode::ToNfc(FromBoxText(BoxText(sourceBox_))), state_.workspace);
    setBoxText(outputBox_, ToBoxText(test));
  });
}

void MainWindow::exportMobilePage() {
  RunCommand(this, [this] {
    // Built first, like the classic page: with no answer the list error ends
    // the command before any dialog. The workspace is only read.
    const std::string page = BuildResponsivePage(state_.workspace, state_.settings);
    savePageDialog_.fileName = ToQString(state_.settings.Title);
    if (!platform().runSaveDialog(this, savePageDialog_)) return;
    const QString path = SavedPath(savePageDialog_);
    WriteFileBytes(ToPath(path), page);
    if (platform().askConfirmation(this, QStringLiteral("Do you wish to preview the page in a browser"))) {
      platform().shellOpen(this, path);
    }
  });
}

void MainWindow::exportMoodle() {
  RunCommand(this, [this] {
    // Built first: with no answer the list error ends the command before any
    // dialog, as for the pages. The workspace is only read.
    const MoodleXmlResult quiz = BuildMoodleXml(state_.workspace, state_.settings);
    saveMoodleDialog_.fileName = ToQString(state_.settings.Title);
    if (!platform().runSaveDialog(this, saveMoodleDialog_)) return;
    const QString path = SavedPath(saveMoodleDialog_);
    WriteFileBytes(ToPath(path), quiz.Xml);
    // Written all the same: the teacher can still mend those answers in Moodle.
    if (!quiz.Warnings.empty()) {
      platform().showWarning(this, QString::fromUtf8(kApplicationTitle), MoodleWarningText(path, quiz.Warnings));
    }
  });
}

void MainWindow::exportPdf() {
  RunCommand(this, [this] {
    const Worksheet sheet = BuildWorksheet(state_.workspace, state_.settings);
    savePdfDialog_.fileName = ToQString(state_.settings.Title);
    if (!platform().runSaveDialog(this, savePdfDialog_)) return;
    const QString path = SavedPath(savePdfDialog_);
    // Rendered once the teacher has chosen the file, so Cancel costs nothing.
    const std::string pdf = WorksheetPdf(sheet, WorksheetPageLayout(QLocale::system()), QDateTime::currentDateTimeUtc());
    WriteFileBytes(ToPath(path), pdf);
  });
}

void MainWindow::printWorksheet() {
  RunCommand(this, [this] {
    const Worksheet sheet = BuildWorksheet(state_.workspace, state_.settings);
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
                     WorksheetPdf(sheet, printer.pageLayout(), QDateTime::currentDateTimeUtc(), from, to));
      return;
    }
    if (PaintWorksheet(sheet, printer, from, to).Pages == 0) {
      throw BrenvikError(
          QStringLiteral("Impossible d'imprimer sur l'imprimante %1").arg(printer.printerName()).toStdString());
    }
  });
}

void MainWindow::quit() {
  RunCommand(this, [] { QCoreApplication::exit(0); });
}

void MainWindow::openSource() {
  RunCommand(this, [this] {
    if (!platform().runOpenDialog(this, openDialog_)) return;
    // A file larger than the box can take is refused before it is read.
    const Text text = ReadTextFile(ToPath(openDialog_.fileName), kSourceBoxCapacity);
    setBoxText(sourceBox_, ToBoxText(text));
  });
}

void MainWindow::saveBoxAsText(const QPlainTextEdit* box) {
  saveTextDialog_.fileName = ToQString(state_.settings.Title);
  if (!platform().runSaveDialog(this, saveTextDialog_)) return;
  WriteTextFile(ToPath(SavedPath(saveTextDialog_)), FromBoxText(BoxText(box)));
}

void MainWindow::saveSource() {
  RunCommand(this, [this] { saveBoxAsText(sourceBox_); });
}

void MainWindow::saveOutput() {
  RunCommand(this, [this] { saveBoxAsText(outputBox_); });
}

void MainWindow::exportToWeb() {
  RunCommand(this, [this] {
    // The page comes from the workspace of the last Process, not from the
    // boxes; with no answer to ask for this stops with the list error.
    lastPage_ = BuildTestPage(state_.workspace, state_.settings);
    savePageDialog_.fileName = ToQString(state_.settings.Title);
    if (platform().runSaveDialog(this, savePageDialog_)) {
      WriteFileBytes(ToPath(SavedPath(savePageDialog_)), EncodePage(lastPage_));
    }
    // Asked after Cancel too; the shell then looks the title up in the current folder.
    if (platform().askConfirmation(this, QStringLiteral("Do you wish to preview the page in a browser"))) {
      platform().shellOpen(this, SavedPath(savePageDialog_));
    }
  });
}

void MainWindow::showOutputSettings() {
  RunCommand(this, [this] {
    if (!outputSettingsWindow_) return;
    outputSettingsWindow_->show();
    outputSettingsWindow_->raise();
    outputSettingsWindow_->activateWindow();
  });
}

void MainWindow::showHelpContents() {
  RunCommand(this, [this] { platform().showHelpContents(this, helpFile_); });
}

void MainWindow::showAbout() {
  RunCommand(this, [this] {
    if (aboutBox_) aboutBox_->exec();
  });
}

void MainWindow::chooseTestVersion() {
  RunCommand(this, [this] {
    if (testVersionButton_->isChecked()) state_.settings.TestMode = PageVariant::Test;
    updateRadioTabStops();
  });
}

void MainWindow::choosePracticeVersion() {
  RunCommand(this, [this] {
    if (practiceButton_->isChecked()) state_.settings.TestMode = PageVariant::Practice;
    updateRadioTabStops();
  });
}

void MainWindow::showAnswersToggled() {
  RunCommand(this, [this] { state_.settings.ShowAnswersFlag = showAnswersBox_->isChecked(); });
}

void MainWindow::timerToggled() {
  RunCommand(this, [this] { state_.settings.TimerFlag = timerBox_->isChecked(); });
}

}  // namespace brenvik
