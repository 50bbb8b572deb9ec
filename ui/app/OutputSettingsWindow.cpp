#include "ui/app/OutputSettingsWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "core/page/PagePieces.h"
#include "ui/app/ScreenFit.h"
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

// "#RRGGBB" in upper case, as the settings hold colours.
QString WebColourText(const QColor& colour) { return colour.name(QColor::HexRgb).toUpper(); }

// What a screen reader makes of the window and its two drawn parts: the
// window is a dialog, a swatch is a picture of its colour, and the bevel is
// only a decoration.
class SwatchAccessible : public QAccessibleWidget {
 public:
  explicit SwatchAccessible(ColourSwatch* swatch) : QAccessibleWidget(swatch, QAccessible::Graphic) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) return WebColourText(static_cast<ColourSwatch*>(widget())->brushColour());
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* SettingsAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String(OutputSettingsWindow::staticMetaObject.className())) {
    if (auto* window = qobject_cast<OutputSettingsWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Dialog);
  }
  if (className == QLatin1String(ColourSwatch::staticMetaObject.className())) {
    if (auto* swatch = qobject_cast<ColourSwatch*>(object)) return new SwatchAccessible(swatch);
  }
  if (className == QLatin1String(Bevel::staticMetaObject.className())) {
    if (auto* bevel = qobject_cast<Bevel*>(object)) return new QAccessibleWidget(bevel, QAccessible::Separator);
  }
  return nullptr;
}

// The property that marks a hex box holding no web colour.
const char kInvalidProperty[] = "invalidColour";

}  // namespace

std::optional<QColor> ParseWebColour(const QString& text) {
  const std::optional<Text> colour = page::ParseWebColour(FromQString(text));
  if (!colour) return std::nullopt;
  return QColor(ToQString(*colour));
}

ColourSwatch::ColourSwatch(QWidget* parent) : QWidget(parent) {}

void ColourSwatch::setBrushColour(const QColor& colour) {
  if (brush_ == colour) return;
  brush_ = colour;
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
  }
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(brush_);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

OutputSettingsWindow::OutputSettingsWindow(ExportSettings& settings, QWidget* parent) : QWidget(parent, Qt::Window), settings_(settings) {
  static const bool accessibilityInstalled = [] {
    QAccessible::installFactory(SettingsAccessibleFactory);
    return true;
  }();
  (void)accessibilityInstalled;
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

  bevel_ = new Bevel(this);
  bevel_->setObjectName(QStringLiteral("Bevel1"));
  bevel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bevel_->setLineWidth(1);
  bevel_->setGeometry(8, 8, 305, 265);

  MakeLabel(this, "Label1", QStringLiteral("Page background"), 16, 32);
  MakeLabel(this, "Label2", QStringLiteral("Page text colour"), 16, 72);
  QLabel* sizeLabel = MakeLabel(this, "Label3", QStringLiteral("Text size  (pixels)"), 16, 112);
  QLabel* fontLabel = MakeLabel(this, "Label4", QStringLiteral("Font"), 160, 112);
  MakeLabel(this, "Label5", QStringLiteral("Answer box colour"), 16, 160);
  MakeLabel(this, "Label6", QStringLiteral("Answer text colour"), 16, 200);
  QLabel* titleLabel = MakeLabel(this, "Label7", QStringLiteral("Title :"), 16, 232);

  auto makeShape = [this](const char* name, int top) {
    auto* shape = new ColourSwatch(this);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setGeometry(120, top, 25, 25);
    return shape;
  };
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
  // Every box starts with the setting in effect.
  textSizeEdit_ = makeEdit("Edit1", ToQString(settings_.TextSize), 120, 104, 25);
  pageBackgroundEdit_ = makeEdit("Edit2", QString(), 248, 24, 57);
  pageTextEdit_ = makeEdit("Edit3", QString(), 248, 64, 57);
  answerBoxEdit_ = makeEdit("Edit4", QString(), 248, 152, 57);
  answerTextEdit_ = makeEdit("Edit5", QString(), 248, 192, 57);
  titleEdit_ = makeEdit("Edit6", ToQString(settings_.Title), 72, 232, 161);

  pageBackgroundRow_ = {pageBackgroundSwatch_, pageBackgroundEdit_, &ExportSettings::PageBackground};
  pageTextRow_ = {pageTextSwatch_, pageTextEdit_, &ExportSettings::PageTextColour};
  answerBoxRow_ = {answerBoxSwatch_, answerBoxEdit_, &ExportSettings::AnswerBoxColour};
  answerTextRow_ = {answerTextSwatch_, answerTextEdit_, &ExportSettings::AnswerTextColour};

  fontBox_ = new QComboBox(this);
  fontBox_->setObjectName(QStringLiteral("ComboBox1"));
  fontBox_->setEditable(true);
  fontBox_->setInsertPolicy(QComboBox::NoInsert);
  fontBox_->setMaxVisibleItems(5);
  fontBox_->addItems({QStringLiteral("Arial"), QStringLiteral("Times"), QStringLiteral("Comic sans MS"),
                        QStringLiteral("Verdana"), QStringLiteral("Tahoma")});
  fontBox_->setGeometry(200, 104, 105, 21);
  showSettings();

  // Names for screen readers; the visible texts stay as they are.
  const struct { QWidget* widget; const char* name; } names[] = {
      {pageBackgroundButton_, "Select page background colour"},
      {pageTextButton_, "Select page text colour"},
      {answerBoxButton_, "Select answer box colour"},
      {answerTextButton_, "Select answer text colour"},
      {pageBackgroundEdit_, "Page background colour, hex"},
      {pageTextEdit_, "Page text colour, hex"},
      {answerBoxEdit_, "Answer box colour, hex"},
      {answerTextEdit_, "Answer text colour, hex"},
      {pageBackgroundSwatch_, "Page background colour"},
      {pageTextSwatch_, "Page text colour"},
      {answerBoxSwatch_, "Answer box colour"},
      {answerTextSwatch_, "Answer text colour"},
      {textSizeEdit_, "Text size in pixels"},
      {fontBox_, "Font"},
      {titleEdit_, "Page title"},
  };
  for (const auto& n : names) n.widget->setAccessibleName(QString::fromLatin1(n.name));
  fontBox_->lineEdit()->setAccessibleName(QStringLiteral("Font"));
  // The labels beside the size, font and title boxes label them for screen
  // readers too. On Linux a combo box is named by its value, so its label is
  // what names the font box there.
  sizeLabel->setBuddy(textSizeEdit_);
  fontLabel->setBuddy(fontBox_);
  titleLabel->setBuddy(titleEdit_);

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
  connect(textSizeEdit_, &QLineEdit::textChanged, this, Guarded(this, &OutputSettingsWindow::textSizeChanged));
  connect(titleEdit_, &QLineEdit::textChanged, this, Guarded(this, &OutputSettingsWindow::titleChanged));
  connect(fontBox_, &QComboBox::editTextChanged, this, Guarded(this, &OutputSettingsWindow::fontChanged));
  connect(fontBox_, &QComboBox::activated, this, Guarded(this, &OutputSettingsWindow::fontChanged));
  connect(okButton_, &QPushButton::clicked, this, Guarded(this, &OutputSettingsWindow::hideWindow));
  connect(pageBackgroundButton_, &QPushButton::clicked, this, Guarded(this, &OutputSettingsWindow::selectPageBackground));
  connect(pageTextButton_, &QPushButton::clicked, this, Guarded(this, &OutputSettingsWindow::selectPageText));
  connect(answerBoxButton_, &QPushButton::clicked, this, Guarded(this, &OutputSettingsWindow::selectAnswerBox));
  connect(answerTextButton_, &QPushButton::clicked, this, Guarded(this, &OutputSettingsWindow::selectAnswerText));
  for (const ColourRow* row : {&pageBackgroundRow_, &pageTextRow_, &answerBoxRow_, &answerTextRow_}) {
    // textEdited: typing and pasting only, not the texts the window sets itself.
    connect(row->hexBox, &QLineEdit::textEdited, this, Guarded(this, [this, row] { hexTextEdited(*row); }));
    connect(row->hexBox, &QLineEdit::editingFinished, this,
            Guarded(this, [this, row] { hexEditingFinished(*row); }));
  }
}

void OutputSettingsWindow::showEvent(QShowEvent* event) {
  // The first time it is shown, a window that would stand partly off a
  // small screen is moved onto it; afterwards it stays where it was left.
  if (!placed_) {
    placed_ = true;
    FitWindowOnScreen(*this, /*mayShrink=*/false);
  }
  QWidget::showEvent(event);
}

void OutputSettingsWindow::showSettings() {
  // Nothing is written back while the controls are filled.
  const QSignalBlocker blockSize(textSizeEdit_), blockTitle(titleEdit_), blockFont(fontBox_);
  textSizeEdit_->setText(ToQString(settings_.TextSize));
  titleEdit_->setText(ToQString(settings_.Title));
  for (const ColourRow* row : {&pageBackgroundRow_, &pageTextRow_, &answerBoxRow_, &answerTextRow_}) {
    const QSignalBlocker blockHex(row->hexBox);
    const QString colour = ToQString(settings_.*(row->setting));
    row->hexBox->setText(colour);
    markInvalid(row->hexBox, false);
    if (const auto parsed = ParseWebColour(colour)) row->swatch->setBrushColour(*parsed);
  }
  const QString font = ToQString(settings_.FontName);
  fontBox_->setCurrentIndex(fontBox_->findText(font));
  fontBox_->setEditText(font);
}

void OutputSettingsWindow::textSizeChanged() { settings_.TextSize = FromQString(textSizeEdit_->text()); }
void OutputSettingsWindow::fontChanged() { settings_.FontName = FromQString(fontBox_->currentText()); }
void OutputSettingsWindow::titleChanged() { settings_.Title = FromQString(titleEdit_->text()); }
void OutputSettingsWindow::hideWindow() { hide(); }

void OutputSettingsWindow::selectPageBackground() { selectColour(pageBackgroundRow_); }
void OutputSettingsWindow::selectPageText() { selectColour(pageTextRow_); }
void OutputSettingsWindow::selectAnswerBox() { selectColour(answerBoxRow_); }
void OutputSettingsWindow::selectAnswerText() { selectColour(answerTextRow_); }

void OutputSettingsWindow::selectColour(const ColourRow& row) {
  if (!colourChooser_->execute()) return;
  setRowColour(row, ToQColour(colourChooser_->colour()));
}

void OutputSettingsWindow::setRowColour(const ColourRow& row, const QColor& colour) {
  const QString web = WebColourText(colour);
  row.swatch->setBrushColour(colour);
  if (row.hexBox->text() != web) {
    // Typed in lower case, the colour reads back in upper case, the caret where it was.
    const int caret = row.hexBox->cursorPosition();
    row.hexBox->setText(web);
    row.hexBox->setCursorPosition(caret);
  }
  markInvalid(row.hexBox, false);
  settings_.*(row.setting) = FromQString(web);
}

void OutputSettingsWindow::hexTextEdited(const ColourRow& row) {
  if (const auto colour = ParseWebColour(row.hexBox->text())) {
    setRowColour(row, *colour);
  } else {
    markInvalid(row.hexBox, true);
  }
}

void OutputSettingsWindow::hexEditingFinished(const ColourRow& row) {
  if (!isMarkedInvalid(row.hexBox)) return;
  row.hexBox->setText(ToQString(settings_.*(row.setting)));
  markInvalid(row.hexBox, false);
}

bool OutputSettingsWindow::isMarkedInvalid(const QLineEdit* hexBox) {
  return hexBox->property(kInvalidProperty).toBool();
}

void OutputSettingsWindow::markInvalid(QLineEdit* hexBox, bool invalid) {
  if (isMarkedInvalid(hexBox) == invalid) return;
  hexBox->setProperty(kInvalidProperty, invalid);
  QPalette pal = hexBox->palette();
  if (invalid) {
    pal.setColor(QPalette::Base, QColor(255, 210, 210));
    pal.setColor(QPalette::Text, QColor(128, 0, 0));
    hexBox->setPalette(pal);
    hexBox->setAccessibleDescription(QStringLiteral("Not a web colour: type # and six hexadecimal digits"));
  } else {
    hexBox->setPalette(QPalette());
    hexBox->setAccessibleDescription(QString());
  }
}

}  // namespace brenvik
