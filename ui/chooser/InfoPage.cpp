#include "ui/chooser/InfoPage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QToolButton>

#include "ui/platform/CommandGuard.h"
#include "ui/chooser/ColourStrips.h"
#include "ui/platform/Platform.h"

namespace brenvik {

namespace {
struct RowSpec {
  const char* key;    // control names: sbtCopy<key>, lbl<key>, lbl<key>Value
  const char* title;
  int top;
};
constexpr RowSpec kRowSpecs[InfoPage::kRows] = {
    {"HSB", "HSB:", 84}, {"RGB", "RGB:", 104}, {"CMY", "CMY:", 124}, {"CMYK", "CMYK:", 144}, {"Gray", "Gray:", 164},
};

// Two overlapping sheets, the usual picture for "copy".
QIcon CopyIcon(const QPalette& palette) {
  QPixmap pm(10, 10);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(palette.color(QPalette::WindowText));
  p.setBrush(palette.color(QPalette::Base));
  p.drawRect(0, 0, 6, 7);
  p.drawRect(3, 2, 6, 7);
  return QIcon(pm);
}

std::vector<double> Values(const ColourVector& v) { return {v.first, v.second, v.third}; }
}  // namespace

InfoPage::InfoPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageInfo, parent) {
  setObjectName(QStringLiteral("tabInfo"));
  // The rows are laid out for the dialog's small font (inherited in the
  // dialog; set here for a page shown on its own): the widest title ("CMYK:")
  // must end a few pixels before x = 80, and the longest value (the CMYK row
  // with names) fit between x = 80 and the page's right edge.
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);

  auto* numbers = new QGroupBox(QStringLiteral("Numbers"), this);
  numbers->setObjectName(QStringLiteral("rgpNumbers"));
  numbers->setGeometry(16, 12, 109, 53);
  decimal_ = new QRadioButton(QStringLiteral("&Decimal"), numbers);
  decimal_->setObjectName(QStringLiteral("rbtDecimal"));
  decimal_->setGeometry(8, 16, 97, 17);
  hexadecimal_ = new QRadioButton(QStringLiteral("&Hexadecimal"), numbers);
  hexadecimal_->setObjectName(QStringLiteral("rbtHexadecimal"));
  hexadecimal_->setGeometry(8, 33, 97, 17);
  decimal_->setChecked(true);

  auto* format = new QGroupBox(QStringLiteral("Format"), this);
  format->setObjectName(QStringLiteral("grpFormat"));
  format->setGeometry(136, 12, 177, 53);
  space_ = new QCheckBox(QStringLiteral("&Space"), format);
  space_->setObjectName(QStringLiteral("chkSpace"));
  space_->setGeometry(8, 16, 70, 17);
  comma_ = new QCheckBox(QStringLiteral("&Comma"), format);
  comma_->setObjectName(QStringLiteral("chkComma"));
  comma_->setGeometry(80, 16, 90, 17);
  names_ = new QCheckBox(QStringLiteral("Value &names"), format);
  names_->setObjectName(QStringLiteral("chkNames"));
  names_->setGeometry(8, 33, 165, 17);
  for (QCheckBox* c : {space_, comma_, names_}) c->setChecked(true);

  const QIcon icon = CopyIcon(palette());
  for (int r = 0; r < kRows; ++r) {
    const RowSpec& spec = kRowSpecs[r];
    const QString key = QString::fromLatin1(spec.key);
    copy_[r] = new QToolButton(this);
    copy_[r]->setObjectName(QStringLiteral("sbtCopy") + key);
    copy_[r]->setGeometry(16, spec.top, 14, 14);
    copy_[r]->setIcon(icon);
    copy_[r]->setIconSize(QSize(10, 10));
    copy_[r]->setAutoRaise(true);
    copy_[r]->setToolTip(r == rowGray ? QStringLiteral("Copy value to clipboard")
                                      : QStringLiteral("Copy values to clipboard"));
    titles_[r] = new QLabel(QString::fromLatin1(spec.title), this);
    titles_[r]->setObjectName(QStringLiteral("lbl") + key);
    titles_[r]->setGeometry(40, spec.top, 38, 14);
    values_[r] = new QLabel(this);
    values_[r]->setObjectName(QStringLiteral("lbl") + key + QStringLiteral("Value"));
    values_[r]->setGeometry(80, spec.top, 253, 14);  // ends 4 pixels inside the 337-pixel page
    const Row row = static_cast<Row>(r);
    connect(copy_[r], &QToolButton::clicked, this, Guarded(this, [this, row] { copyRow(row); }));
  }

  for (QAbstractButton* option : {static_cast<QAbstractButton*>(decimal_), static_cast<QAbstractButton*>(space_),
                                  static_cast<QAbstractButton*>(comma_)}) {
    connect(option, &QAbstractButton::toggled, this, Guarded(this, &InfoPage::formatOptionChanged));
  }
  connect(names_, &QCheckBox::toggled, this, Guarded(this, &InfoPage::updateInfo));

  applyFormatRule();
}

ColourVector InfoPage::pageColour() const { return host().currentColour(); }

void InfoPage::showColour(const ColourVector&) {
  host().updateCurrentColour();
  // After the update, so that the texts describe the swatch as it now is.
  updateInfo();
}

InfoFormat InfoPage::infoFormat() const {
  InfoFormat f;
  f.hexadecimal = hexadecimal_->isChecked();
  f.space = space_->isChecked();
  f.comma = comma_->isChecked();
  f.valueNames = names_->isChecked();
  return f;
}

QString InfoPage::formatRow(const std::vector<std::string>& names, const std::vector<double>& values) const {
  return QString::fromStdString(FormatValues(names, values, infoFormat()));
}

void InfoPage::updateInfo() {
  const Colour swatch = host().currentSwatchColour();
  values_[rowHSB]->setText(formatRow({"Hue", "Saturation", "Brightness"}, Values(ColourToHSB(swatch))));
  values_[rowRGB]->setText(formatRow({"Red", "Green", "Blue"}, Values(SplitColour(swatch))));
  values_[rowCMY]->setText(formatRow({"Cyan", "Magenta", "Yellow"}, Values(ColourToCMY(swatch))));
  const CmykVector k = ColourToCMYK(swatch);
  values_[rowCMYK]->setText(
      formatRow({"Cyan", "Magenta", "Yellow", "Black"}, {k.cyan, k.magenta, k.yellow, k.black}));
  const bool gray = IsGray(SplitColour(swatch));
  values_[rowGray]->setText(formatRow({"Brightness"}, {host().currentColour().first}));
  titles_[rowGray]->setVisible(gray);
  values_[rowGray]->setVisible(gray);
  copy_[rowGray]->setVisible(gray);
}

void InfoPage::applyFormatRule() {
  if (!space_->isChecked() && !comma_->isChecked()) {
    names_->setChecked(false);
    names_->setEnabled(false);
  } else {
    names_->setEnabled(true);
  }
}

void InfoPage::formatOptionChanged() {
  applyFormatRule();
  updateInfo();
}

void InfoPage::copyRow(Row row) { platform().setClipboardText(values_[row]->text()); }

}  // namespace brenvik
