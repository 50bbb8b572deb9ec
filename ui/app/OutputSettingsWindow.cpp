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
QFont WindowFont() {
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

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::SetBrushColor(const QColor& colour) {
  brush_ = colour;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(brush_);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

TForm2::TForm2(ExportSettings& settings, QWidget* parent) : QWidget(parent, Qt::Window), settings_(settings) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("configure output"));
  setFont(WindowFont());
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(pal);
  setAutoFillBackground(true);
  // Outer size 327 x 314 with a sizeable frame leaves a 319 x 287 client area.
  resize(319, 287);
  move(389, 187);
  // Closing the main window ends the program even while this window is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  bevel1_ = new QFrame(this);
  bevel1_->setObjectName(QStringLiteral("Bevel1"));
  bevel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bevel1_->setLineWidth(1);
  bevel1_->setGeometry(8, 8, 305, 265);

  MakeLabel(this, "Label1", QStringLiteral("Page background"), 16, 32);
  MakeLabel(this, "Label2", QStringLiteral("Page text colour"), 16, 72);
  MakeLabel(this, "Label3", QStringLiteral("Text size  (pixels)"), 16, 112);
  MakeLabel(this, "Label4", QStringLiteral("Font"), 160, 112);
  MakeLabel(this, "Label5", QStringLiteral("Answer box colour"), 16, 160);
  MakeLabel(this, "Label6", QStringLiteral("Answer text colour"), 16, 200);
  MakeLabel(this, "Label7", QStringLiteral("Title :"), 16, 232);

  auto makeShape = [this](const char* name, int top) {
    auto* shape = new TShape(this);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setGeometry(120, top, 25, 25);
    return shape;
  };
  // All four swatches start white, whatever the settings hold.
  shape1_ = makeShape("Shape1", 24);
  shape2_ = makeShape("Shape2", 64);
  shape3_ = makeShape("Shape3", 152);
  shape4_ = makeShape("Shape4", 192);

  auto makeButton = [this](const char* name, const QString& text, int left, int top, int width) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, width, 25);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
  };
  button1_ = makeButton("Button1", QStringLiteral("OK"), 248, 232, 57);
  button2_ = makeButton("Button2", QStringLiteral("Select"), 160, 24, 75);
  button3_ = makeButton("Button3", QStringLiteral("Select"), 160, 64, 75);
  button4_ = makeButton("Button4", QStringLiteral("Select"), 160, 152, 75);
  button5_ = makeButton("Button5", QStringLiteral("Select"), 160, 192, 75);

  auto makeEdit = [this](const char* name, const QString& text, int left, int top, int width) {
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, width, 21);
    // The narrow boxes hold "#FFFFFF" whole only without the usual inner margin.
    if (width < 60) edit->setTextMargins(-2, 0, -2, 0);
    return edit;
  };
  edit1_ = makeEdit("Edit1", QStringLiteral("14"), 120, 104, 25);
  edit2_ = makeEdit("Edit2", QStringLiteral("#FFFFFF"), 248, 24, 57);
  edit3_ = makeEdit("Edit3", QStringLiteral("#000000"), 248, 64, 57);
  edit4_ = makeEdit("Edit4", QStringLiteral("#000000"), 248, 152, 57);
  edit5_ = makeEdit("Edit5", QStringLiteral("#FFFFFF"), 248, 192, 57);
  edit6_ = makeEdit("Edit6", QStringLiteral("C-test"), 72, 232, 161);

  comboBox1_ = new QComboBox(this);
  comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
  comboBox1_->setEditable(true);
  comboBox1_->setInsertPolicy(QComboBox::NoInsert);
  comboBox1_->setMaxVisibleItems(5);
  comboBox1_->addItems({QStringLiteral("Arial"), QStringLiteral("Times"), QStringLiteral("Comic sans MS"),
                        QStringLiteral("Verdana"), QStringLiteral("Tahoma")});
  comboBox1_->setCurrentIndex(-1);
  comboBox1_->setEditText(QStringLiteral("Georgia"));
  comboBox1_->setGeometry(200, 104, 105, 21);

  // The chooser shared by the four Select buttons: only the Internet page.
  vazozaDialog1_ = new TVazozaDialog(this);
  vazozaDialog1_->setObjectName(QStringLiteral("VazozaDialog1"));
  vazozaDialog1_->SetCaption(QStringLiteral("Color"));
  vazozaDialog1_->SetVisiblePages(PageBit(pageInternet));
  vazozaDialog1_->SetActivePage(pageInternet);
  vazozaDialog1_->SetColor(0x000000);
  vazozaDialog1_->SetReferenceColor(0xFFFFFF);
  vazozaDialog1_->SetAutoApply(false);
  vazozaDialog1_->SetStayOnTop(false);
  vazozaDialog1_->SetCtl3D(true);
  vazozaDialog1_->SetHelpButton(false);
  vazozaDialog1_->SetAutoHelpContext(false);
  vazozaDialog1_->SetHelpContext(0);

  // Tab order 0 to 11.
  QWidget* order[] = {button1_, button2_, button3_, edit1_, button4_, button5_,
                      edit2_,   edit3_,   edit4_,   edit5_, comboBox1_, edit6_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  // Connected after the initial texts are in place: those texts change no setting.
  connect(edit1_, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
  connect(edit6_, &QLineEdit::textChanged, this, [this] { Edit6Change(); });
  connect(comboBox1_, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
  connect(comboBox1_, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(button2_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Button2Click(); }); });
  connect(button3_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Button3Click(); }); });
  connect(button4_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Button4Click(); }); });
  connect(button5_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { Button5Click(); }); });
}

void TForm2::Edit1Change() { settings_.TextSize = FromQString(edit1_->text()); }
void TForm2::ComboBox1Change() { settings_.FontName = FromQString(comboBox1_->currentText()); }
void TForm2::Edit6Change() { settings_.Title = FromQString(edit6_->text()); }
void TForm2::Button1Click() { hide(); }

void TForm2::Button2Click() { SelectColour(shape1_, edit2_, settings_.PageBackground); }
void TForm2::Button3Click() { SelectColour(shape2_, edit3_, settings_.PageTextColour); }
void TForm2::Button4Click() { SelectColour(shape3_, edit4_, settings_.AnswerBoxColour); }
void TForm2::Button5Click() { SelectColour(shape4_, edit5_, settings_.AnswerTextColour); }

void TForm2::SelectColour(TShape* shape, QLineEdit* edit, Text& setting) {
  if (!vazozaDialog1_->Execute()) return;
  shape->SetBrushColor(ToQColor(vazozaDialog1_->Color()));
  edit->setText(vazozaDialog1_->GetWebColor());
  setting = FromQString(vazozaDialog1_->GetWebColor());
}

}  // namespace brenvik
