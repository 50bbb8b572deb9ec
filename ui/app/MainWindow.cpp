#include "ui/app/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <exception>
#include <new>

#include "ui/app/AboutBox.h"
#include "ui/app/AppLook.h"
#include "core/page/ClassicPage.h"
#include "core/text/Errors.h"
#include "ui/platform/QtText.h"
#include "core/text/TextFile.h"
#include "core/ctest/TestGen.h"
#include "ui/app/StartFolder.h"

namespace brenvik {

namespace {

// File paths go to the core as UTF-8, as the file system takes them.
std::string ToPath(const QString& path) { return path.toStdString(); }

QString FromMessage(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

void RunCommand(QWidget* parent, const std::function<void()>& body) {
  std::string message;
  try {
    body();
    return;
  } catch (const BrenvikError& e) {
    message = e.what();
  } catch (const std::bad_alloc&) {
    message = "Mémoire insuffisante";
  } catch (const std::exception& e) {
    message = e.what();
  }
  platform().ShowError(parent, QString::fromUtf8(ApplicationTitle), FromMessage(ErrorBoxText(message)));
}

QString BoxText(const QPlainTextEdit* box) {
  // The raw text keeps no-break spaces and line separators as they are; only
  // the paragraph separators between lines become LF.
  QString text = box->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return text;
}

void SetBoxText(QPlainTextEdit* box, const QString& text) {
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

TForm1::TForm1(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Brenvik"));
  setWindowIcon(ProgramIcon());
  CreateControls();
  CreateMenu();
  move(DesignLeft, DesignTop);
  resize(DesignClientWidth, DesignClientHeight);
  FormCreate();
}

void TForm1::CreateControls() {
  // The client area: controls sit at fixed places and keep them when the
  // window is resized, so no layout manages them.
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  QPalette windowPalette = client->palette();
  const QColor background = platform().SystemColor(3);  // inactive caption
  windowPalette.setColor(QPalette::Window, background);
  windowPalette.setColor(QPalette::WindowText, Navy());
  client->setPalette(windowPalette);
  client->setAutoFillBackground(true);
  client->setFont(DesignFont());  // the menu bar keeps the desktop's menu font
  setCentralWidget(client);

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
  label4_ = label("Label4", 16, 8,
                  QStringLiteral("Use the file menu to import a .TXT file or paste or type your own text here.  "));
  label1_ = label("Label1", 384, 8,
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
  source_ = textBox("Source", 16, 32, 345, 425);
  output_ = textBox("Output", 376, 32, 361, 425);
  output_->setPlainText(QStringLiteral("\n"));  // one empty line

  auto place = [](QWidget* w, const char* name, int x, int y, int width, int height) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(x, y, width, height);
  };
  radioButton1_ = new QRadioButton(QStringLiteral("Test version (default)"), client);
  place(radioButton1_, "RadioButton1", 8, 472, 153, 17);
  checkBox2_ = new QCheckBox(QStringLiteral("Use timer"), client);
  place(checkBox2_, "CheckBox2", 176, 472, 73, 17);
  radioButton2_ = new QRadioButton(QStringLiteral("Practice C-test"), client);
  place(radioButton2_, "RadioButton2", 272, 472, 113, 17);
  checkBox1_ = new QCheckBox(QStringLiteral("Show Answers"), client);
  place(checkBox1_, "CheckBox1", 408, 472, 113, 17);
  for (QWidget* w : {static_cast<QWidget*>(radioButton1_), static_cast<QWidget*>(radioButton2_),
                     static_cast<QWidget*>(checkBox1_), static_cast<QWidget*>(checkBox2_)}) {
    w->setPalette(blackText);
  }
  radioButton1_->setChecked(true);

  QPalette buttonPalette = windowPalette;
  buttonPalette.setColor(QPalette::Button, QPalette().color(QPalette::Button));  // the system's button face
  buttonPalette.setColor(QPalette::ButtonText, Navy());
  button1_ = new QPushButton(QStringLiteral("&Process"), client);
  place(button1_, "Button1", 552, 472, 89, 25);
  button1_->setToolTip(QStringLiteral("Click here to produce the test in the output box."));
  button2_ = new QPushButton(QStringLiteral("&Quit"), client);
  place(button2_, "Button2", 664, 472, 89, 25);
  button2_->setToolTip(QStringLiteral("Close"));
  for (QPushButton* b : {button1_, button2_}) {
    b->setPalette(buttonPalette);
    b->setAutoDefault(false);
  }

  // Tab sequence: Process, output box, Quit, source box, the checked radio
  // button, Show Answers, Use timer, and round to Process again.
  setTabOrder(button1_, output_);
  setTabOrder(output_, button2_);
  setTabOrder(button2_, source_);
  setTabOrder(source_, radioButton1_);
  setTabOrder(radioButton1_, radioButton2_);
  setTabOrder(radioButton2_, checkBox1_);
  setTabOrder(checkBox1_, checkBox2_);
  UpdateRadioTabStops();
  radioButton1_->installEventFilter(this);
  radioButton2_->installEventFilter(this);
  button1_->setFocus();

  connect(button1_, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(radioButton1_, &QRadioButton::toggled, this, &TForm1::RadioButton1Click);
  connect(radioButton2_, &QRadioButton::toggled, this, &TForm1::RadioButton2Click);
  connect(checkBox1_, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
  connect(checkBox2_, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
}

void TForm1::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto menu = [&](const char* name, const QString& title) {
    QMenu* m = bar->addMenu(title);
    m->setObjectName(QLatin1String(name));
    return m;
  };
  auto item = [this](QMenu* m, const char* name, const QString& text, const QString& hint, void (TForm1::*handler)()) {
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
  item(file, "mnuOpen", QStringLiteral("&Open"), QStringLiteral("Import a file."), &TForm1::mnuOpenClick);
  item(file, "mnuSave", QStringLiteral("&Save source"), QStringLiteral("Save as a .TXT file"), &TForm1::mnuSaveClick);
  item(file, "Saveoutput1", QStringLiteral("Save out&put"), QString(), &TForm1::Saveoutput1Click);
  item(file, "mnuExporttoweb", QStringLiteral("E&xport to web"), QStringLiteral("Save as HTML"),
       &TForm1::mnuExporttowebClick);
  item(file, "mnuQuit", QStringLiteral("&Quit"), QString(), &TForm1::mnuQuitClick);
  QMenu* edit = menu("Edit1", QStringLiteral("&Edit"));
  item(edit, "Output1", QStringLiteral("&Output"), QString(), &TForm1::Output1Click);
  QMenu* help = menu("mnuHelp", QStringLiteral("&Help"));
  item(help, "Contents1", QStringLiteral("Contents"), QString(), &TForm1::Contents1Click);
  item(help, "mnuAbout", QStringLiteral("A&bout"), QStringLiteral("Want to know more about who wrote this thing?"),
       &TForm1::mnuAboutClick);
}

void TForm1::FormCreate() {
  // Every dialog starts in the program's own folder, whatever the current
  // folder is, unless the user cannot write there (an installed program):
  // then in the documents or the home folder. The help file sits beside the
  // program.
  const QString programDir = QCoreApplication::applicationDirPath();
  const QString startDir = DialogStartFolder(
      programDir, UserFolders(), [](const QString& folder) { return platform().CanWriteFolder(folder); });
  openDialog1_.mustExist = true;
  openDialog1_.initialDir = startDir;
  openDialog1_.filter = QStringLiteral("Text files (*.txt)|*.txt");
  saveDialog1_.initialDir = startDir;
  saveDialog1_.filter = QStringLiteral("Text files (*.txt)|*.txt");
  saveDialog2_.initialDir = startDir;
  saveDialog2_.filter = QStringLiteral("HTML files (*.htm)|*.htm");
  helpFile_ = programDir + QStringLiteral("/brenvik.hlp");
}

void TForm1::UpdateRadioTabStops() {
  // The two radio buttons are one tab stop, at the checked one; arrow keys
  // still move between them.
  radioButton1_->setFocusPolicy(radioButton1_->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  radioButton2_->setFocusPolicy(radioButton2_->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // Every arrow key moves to the other radio button of the group and checks
  // it, whichever way the buttons are laid out (Qt alone would follow the
  // arrow's direction only, and the two buttons sit side by side).
  if ((watched == radioButton1_ || watched == radioButton2_) && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if ((k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_Left || k == Qt::Key_Right) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      QRadioButton* other = watched == radioButton1_ ? radioButton2_ : radioButton1_;
      other->setChecked(true);
      other->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program at once, even while the
  // configure-output window is open; nothing is asked or saved.
  event->accept();
  QCoreApplication::exit(0);
}

void TForm1::Button1Click() {
  RunCommand(this, [this] {
    const Text test = GenerateTest(FromBoxText(BoxText(source_)), state_.workspace);
    SetBoxText(output_, ToBoxText(test));
  });
}

void TForm1::Button2Click() {
  RunCommand(this, [] { QCoreApplication::exit(0); });
}

void TForm1::mnuQuitClick() {
  RunCommand(this, [] { QCoreApplication::exit(0); });
}

void TForm1::mnuOpenClick() {
  RunCommand(this, [this] {
    if (!platform().RunOpenDialog(this, openDialog1_)) return;
    // A file larger than the box can take is refused before it is read.
    const Text text = ReadTextFile(ToPath(openDialog1_.fileName), SourceBoxCapacity);
    SetBoxText(source_, ToBoxText(text));
  });
}

void TForm1::SaveBoxAsText(const QPlainTextEdit* box) {
  saveDialog1_.fileName = ToQString(state_.settings.Title);
  if (!platform().RunSaveDialog(this, saveDialog1_)) return;
  // The extension is always appended, even to a name that already has it.
  WriteTextFile(ToPath(saveDialog1_.fileName + QStringLiteral(".txt")), FromBoxText(BoxText(box)));
}

void TForm1::mnuSaveClick() {
  RunCommand(this, [this] { SaveBoxAsText(source_); });
}

void TForm1::Saveoutput1Click() {
  RunCommand(this, [this] { SaveBoxAsText(output_); });
}

void TForm1::mnuExporttowebClick() {
  RunCommand(this, [this] {
    // The page comes from the workspace of the last Process, not from the
    // boxes; with no answer to ask for this stops with the list error.
    htmExport_ = BuildTestPage(state_.workspace, state_.settings);
    saveDialog2_.fileName = ToQString(state_.settings.Title);
    if (platform().RunSaveDialog(this, saveDialog2_)) {
      WriteFileBytes(ToPath(saveDialog2_.fileName + QStringLiteral(".htm")), EncodePage(htmExport_));
    }
    // Asked after Cancel too; the shell then looks the title up in the current folder.
    if (platform().AskConfirmation(this, QStringLiteral("Do you wish to preview the page in a browser"))) {
      platform().ShellOpen(this, saveDialog2_.fileName + QStringLiteral(".htm"));
    }
  });
}

void TForm1::Output1Click() {
  RunCommand(this, [this] {
    if (!outputWindow_) return;
    outputWindow_->show();
    outputWindow_->raise();
    outputWindow_->activateWindow();
  });
}

void TForm1::Contents1Click() {
  RunCommand(this, [this] { platform().ShowHelpContents(this, helpFile_); });
}

void TForm1::mnuAboutClick() {
  RunCommand(this, [this] {
    if (aboutBox_) aboutBox_->exec();
  });
}

void TForm1::RadioButton1Click() {
  RunCommand(this, [this] {
    if (radioButton1_->isChecked()) state_.settings.TestMode = PageVariant::Test;
    UpdateRadioTabStops();
  });
}

void TForm1::RadioButton2Click() {
  RunCommand(this, [this] {
    if (radioButton2_->isChecked()) state_.settings.TestMode = PageVariant::Practice;
    UpdateRadioTabStops();
  });
}

void TForm1::CheckBox1Click() {
  RunCommand(this, [this] { state_.settings.ShowAnswersFlag = checkBox1_->isChecked(); });
}

void TForm1::CheckBox2Click() {
  RunCommand(this, [this] { state_.settings.TimerFlag = checkBox2_->isChecked(); });
}

}  // namespace brenvik
