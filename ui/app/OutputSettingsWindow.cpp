#include "ui/app/OutputSettingsWindow.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "ui/platform/QtColour.h"
#include "ui/chooser/ColourChooser.h"
#include "ui/platform/CommandGuard.h"
#include "ui/platform/QtPlatform.h"
#include "ui/platform/QtText.h"

namespace brenvik {

namespace {

// The window's 8-point sans serif.
QFont EightPointFont() {
  QFont font = ClassicSansFont();
  font.setPointSize(8);
  return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

ColourSwatch::ColourSwatch(QWidget* parent) : QWidget(parent) {}

void ColourSwatch::setBrushColour(const QColor& colour) {
  brush_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(brush_);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

OutputSettingsWindow::OutputSettingsWindow(ExportSettings& settings, QWidget* parent) : QWidget(parent, Qt::Window), settings_(settings) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("configure output"));
  setFont(EightPointFont());
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(pal);
  setAutoFillBackground(true);
  // Outer size 327 x 314 with a sizeable frame leaves a 319 x 287 client area.
  resize(319, 287);
  move(389, 187);
  // Closing the main window ends the program even while this window is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  bevel_ = new QFrame(this);
  bevel_->setObjectName(QStringLiteral("Bevel1"));
  bevel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bevel_->setLineWidth(1);
  bevel_->setGeometry(8, 8, 305, 265);

  MakeLabel(this, "Label1", QStringLiteral("Page background"), 16, 32);
  MakeLabel(this, "Label2", QStringLiteral("Page text colour"), 16, 72);
  MakeLabel(this, "Label3", QStringLiteral("Text size  (pixels)"), 16, 112);
  MakeLabel(this, "Label4", QStringLiteral("Font"), 160, 112);
  MakeLabel(this, "Label5", QStringLiteral("Answer box colour"), 16, 160);
  MakeLabel(this, "Label6", QStringLiteral("Answer text colour"), 16, 200);
  MakeLabel(this, "Label7", QStringLiteral("Title :"), 16, 232);

  auto makeShape = [this](const char* name, int top) {
    auto* shape = new ColourSwatch(this);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setGeometry(120, top, 25, 25);
    return shape;
  };
  // All four swatches start white, whatever the settings hold.
  pageBackgroundSwatch_ = makeShape("Shape1", 24);
  pageTextSwatch_ = makeShape("Shape2", 64);
  answerBoxSwatch_ = makeShape("Shape3", 152);
  answerTextSwatch_ = makeShape("Shape4", 192);

  auto makeButton = [this](const char* name, const QString& text, int left, int top, int width) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, width, 25);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
  };
  okButton_ = makeButton("Button1", QStringLiteral("OK"), 248, 232, 57);
  pageBackgroundButton_ = makeButton("Button2", QStringLiteral("Select"), 160, 24, 75);
  pageTextButton_ = makeButton("Button3", QStringLiteral("Select"), 160, 64, 75);
  answerBoxButton_ = makeButton("Button4", QStringLiteral("Select"), 160, 152, 75);
  answerTextButton_ = makeButton("Button5", QStringLiteral("Select"), 160, 192, 75);

  auto makeEdit = [this](const char* name, const QString& text, int left, int top, int width) {
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, width, 21);
    // The narrow boxes hold "#FFFFFF" whole only without the usual inner margin.
    if (width < 60) edit->setTextMargins(-2, 0, -2, 0);
    return edit;
  };
  textSizeEdit_ = makeEdit("Edit1", QStringLiteral("14"), 120, 104, 25);
  pageBackgroundEdit_ = makeEdit("Edit2", QStringLiteral("#FFFFFF"), 248, 24, 57);
  pageTextEdit_ = makeEdit("Edit3", QStringLiteral("#000000"), 248, 64, 57);
  answerBoxEdit_ = makeEdit("Edit4", QStringLiteral("#000000"), 248, 152, 57);
  answerTextEdit_ = makeEdit("Edit5", QStringLiteral("#FFFFFF"), 248, 192, 57);
  titleEdit_ = makeEdit("Edit6", QStringLiteral("C-test"), 72, 232, 161);

  fontBox_ = new QComboBox(this);
  fontBox_->setObjectName(QStringLiteral("ComboBox1"));
  fontBox_->setEditable(true);
  fontBox_->setInsertPolicy(QComboBox::NoInsert);
  fontBox_->setMaxVisibleItems(5);
  fontBox_->addItems({QStringLiteral("Arial"), QStringLiteral("Times"), QStringLiteral("Comic sans MS"),
                        QStringLiteral("Verdana"), QStringLiteral("Tahoma")});
  fontBox_->setCurrentIndex(-1);
  fontBox_->setEditText(QStringLiteral("Georgia"));
  fontBox_->setGeometry(200, 104, 105, 21);

  // The chooser shared by the four Select buttons: only the Internet page.
  colourChooser_ = new ColourChooser(this);
  colourChooser_->setObjectName(QStringLiteral("VazozaDialog1"));
  colourChooser_->setCaption(QStringLiteral("Color"));
  colourChooser_->setVisiblePages(PageBit(pageInternet));
  colourChooser_->setActivePage(pageInternet);
  colourChooser_->setColour(0x000000);
  colourChooser_->setReferenceColour(0xFFFFFF);
  colourChooser_->setAutoApply(false);
  colourChooser_->setStayOnTop(false);
  colourChooser_->setCtl3D(true);
  colourChooser_->setHelpButton(false);
  colourChooser_->setAutoHelpContext(false);
  colourChooser_->setHelpContext(0);

  // Tab order 0 to 11.
  QWidget* order[] = {okButton_, pageBackgroundButton_, pageTextButton_, textSizeEdit_, answerBoxButton_, answerTextButton_,
                      pageBackgroundEdit_,   pageTextEdit_,   answerBoxEdit_,   answerTextEdit_, fontBox_, titleEdit_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  // Connected after the initial texts are in place: those texts change no setting.
  connect(textSizeEdit_, &QLineEdit::textChanged, this, [this] { RunCommand(this, [this] { textSizeChanged(); }); });
  connect(titleEdit_, &QLineEdit::textChanged, this, [this] { RunCommand(this, [this] { titleChanged(); }); });
  connect(fontBox_, &QComboBox::editTextChanged, this, [this] { RunCommand(this, [this] { fontChanged(); }); });
  connect(fontBox_, &QComboBox::activated, this, [this] { RunCommand(this, [this] { fontChanged(); }); });
  connect(okButton_, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { hideWindow(); }); });
  connect(pageBackgroundButton_, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { selectPageBackground(); }); });
  connect(pageTextButton_, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { selectPageText(); }); });
  connect(answerBoxButton_, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { selectAnswerBox(); }); });
  connect(answerTextButton_, &QPushButton::clicked, this, [this] { RunCommand(this, [this] { selectAnswerText(); }); });
}

void OutputSettingsWindow::textSizeChanged() { settings_.TextSize = FromQString(textSizeEdit_->text()); }
void OutputSettingsWindow::fontChanged() { settings_.FontName = FromQString(fontBox_->currentText()); }
void OutputSettingsWindow::titleChanged() { settings_.Title = FromQString(titleEdit_->text()); }
void OutputSettingsWindow::hideWindow() { hide(); }

void OutputSettingsWindow::selectPageBackground() { selectColour(pageBackgroundSwatch_, pageBackgroundEdit_, settings_.PageBackground); }
void OutputSettingsWindow::selectPageText() { selectColour(pageTextSwatch_, pageTextEdit_, settings_.PageTextColour); }
void OutputSettingsWindow::selectAnswerBox() { selectColour(answerBoxSwatch_, answerBoxEdit_, settings_.AnswerBoxColour); }
void OutputSettingsWindow::selectAnswerText() { selectColour(answerTextSwatch_, answerTextEdit_, settings_.AnswerTextColour); }

void OutputSettingsWindow::selectColour(ColourSwatch* shape, QLineEdit* edit, Text& setting) {
  if (!colourChooser_->execute()) return;
  shape->setBrushColour(ToQColour(colourChooser_->colour()));
  edit->setText(colourChooser_->webColour());
  setting = FromQString(colourChooser_->webColour());
}

}  // namespace brenvik
