#include "ui/chooser/InfoPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QToolButton>

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

std::vector<double> Values(const TColorVector& v) { return {v.first, v.second, v.third}; }
}  // namespace

InfoPage::InfoPage(VazozaPageHost& host, QWidget* parent) : VazozaPage(host, pageInfo, parent) {
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
    connect(copy_[r], &QToolButton::clicked, this, [this, row] { CopyRow(row); });
  }

  connect(decimal_, &QRadioButton::toggled, this, &InfoPage::FormatOptionChanged);
  connect(space_, &QCheckBox::toggled, this, &InfoPage::FormatOptionChanged);
  connect(comma_, &QCheckBox::toggled, this, &InfoPage::FormatOptionChanged);
  connect(names_, &QCheckBox::toggled, this, &InfoPage::UpdateInfo);

  ApplyFormatRule();
}

TColorVector InfoPage::GetPageColor() const { return host().CurrentColor(); }

void InfoPage::ShowColor(const TColorVector&) {
  host().UpdateCurrentColor();
  // After the update, so that the texts describe the swatch as it now is.
  UpdateInfo();
}

InfoFormat InfoPage::Format() const {
  InfoFormat f;
  f.hexadecimal = hexadecimal_->isChecked();
  f.space = space_->isChecked();
  f.comma = comma_->isChecked();
  f.valueNames = names_->isChecked();
  return f;
}

QString InfoPage::FormatValues(const std::vector<std::string>& names, const std::vector<double>& values) const {
  return QString::fromStdString(brenvik::FormatValues(names, values, Format()));
}

void InfoPage::UpdateInfo() {
  const TColor swatch = host().CurrentSwatchColor();
  values_[rowHSB]->setText(FormatValues({"Hue", "Saturation", "Brightness"}, Values(ColorToHSB(swatch))));
  values_[rowRGB]->setText(FormatValues({"Red", "Green", "Blue"}, Values(SplitColor(swatch))));
  values_[rowCMY]->setText(FormatValues({"Cyan", "Magenta", "Yellow"}, Values(ColorToCMY(swatch))));
  const TCMYKVector k = ColorToCMYK(swatch);
  values_[rowCMYK]->setText(
      FormatValues({"Cyan", "Magenta", "Yellow", "Black"}, {k.cyan, k.magenta, k.yellow, k.black}));
  const bool gray = IsGray(SplitColor(swatch));
  values_[rowGray]->setText(FormatValues({"Brightness"}, {host().CurrentColor().first}));
  titles_[rowGray]->setVisible(gray);
  values_[rowGray]->setVisible(gray);
  copy_[rowGray]->setVisible(gray);
}

void InfoPage::ApplyFormatRule() {
  if (!space_->isChecked() && !comma_->isChecked()) {
    names_->setChecked(false);
    names_->setEnabled(false);
  } else {
    names_->setEnabled(true);
  }
}

void InfoPage::FormatOptionChanged() {
  ApplyFormatRule();
  UpdateInfo();
}

void InfoPage::CopyRow(Row row) { platform().SetClipboardText(values_[row]->text()); }

}  // namespace brenvik
