#include "ui/chooser/VgaPage.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "ui/chooser/ColourStrips.h"
#include "ui/platform/Platform.h"

namespace brenvik {

namespace {
constexpr int kWindowText = 8;  // system colour index of window text
constexpr int kBoxSize = 32;
constexpr int kBlockLeft = 36;
constexpr int kBlockTop = 66;
constexpr int kMarkHeight = 37;

struct VGAColour {
  const char* name;
  int red, green, blue;
  int mark;  // -1 white, -2 black, otherwise a system colour index
};

constexpr VGAColour kColours[16] = {
    {"Black", 0, 0, 0, -1},          {"Maroon", 128, 0, 0, -1},
    {"Green", 0, 128, 0, -1},        {"Olive", 128, 128, 0, -1},
    {"Navy", 0, 0, 128, -1},         {"Purple", 128, 0, 128, -1},
    {"Teal", 0, 128, 128, -1},       {"Silver", 192, 192, 192, kWindowText},
    {"Gray", 128, 128, 128, -1},     {"Red", 255, 0, 0, kWindowText},
    {"Lime", 0, 255, 0, kWindowText}, {"Yellow", 255, 255, 0, kWindowText},
    {"Blue", 0, 0, 255, -2},         {"Fuchsia", 255, 0, 255, kWindowText},
    {"Aqua", 0, 255, 255, kWindowText}, {"White", 255, 255, 255, kWindowText},
};
}  // namespace

VGABox::VGABox(const QString& name, TColor color, QColor markColor, int markSystemColor, QWidget* parent)
    : QWidget(parent), color_(color), markColor_(markColor), markSystemColor_(markSystemColor) {
  setToolTip(name);
}

void VGABox::setMarked(bool marked) {
  if (marked_ == marked) return;
  marked_ = marked;
  update();
}

QColor VGABox::markColor() const {
  return markSystemColor_ >= 0 ? platform().SystemColor(markSystemColor_) : markColor_;
}

void VGABox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::WindowText));
  p.fillRect(rect().adjusted(1, 1, -1, -1), ToQColor(color_));
  if (marked_) {
    p.setFont(platform().MarkFont(kMarkHeight));
    p.setPen(markColor());
    p.drawText(rect(), Qt::AlignCenter, platform().SelectionMark());
  }
}

void VGABox::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void VGABox::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

VGAPage::VGAPage(VazozaPageHost& host, QWidget* parent) : VazozaPage(host, pageVGA, parent) {
  setObjectName(QStringLiteral("tabVGA"));
  for (int i = 0; i < 16; ++i) {
    const VGAColour& c = kColours[i];
    const QColor fixedMark = c.mark == -2 ? QColor(Qt::black) : QColor(Qt::white);
    auto* box = new VGABox(QString::fromLatin1(c.name), RGBToColor(MakeRGB(c.red, c.green, c.blue)), fixedMark,
                           c.mark >= 0 ? c.mark : -1, this);
    box->setObjectName(QStringLiteral("shp") + QString::fromLatin1(c.name));
    box->setGeometry(kBlockLeft + (i % 8) * kBoxSize, kBlockTop + (i / 8) * kBoxSize, kBoxSize, kBoxSize);
    connect(box, &VGABox::clicked, this, [this, i] { BoxClick(i); });
    boxes_[i] = box;
  }
  boxes_[0]->setMarked(true);
}

TColorVector VGAPage::GetPageColor() const {
  for (const VGABox* box : boxes_)
    if (box->marked()) return SplitColor(box->color());
  return host().CurrentColor();
}

void VGAPage::ShowColor(const TColorVector& shown) {
  const TColorVector rgb = shown;  // may be the dialog's current colour, which the update below replaces
  for (VGABox* box : boxes_) {
    const TColorVector c = SplitColor(box->color());
    box->setMarked(std::fabs(c.first - rgb.first) <= 1 && std::fabs(c.second - rgb.second) <= 1 &&
                   std::fabs(c.third - rgb.third) <= 1);
  }
  host().UpdateCurrentColor();
}

void VGAPage::BoxClick(int index) {
  for (int i = 0; i < 16; ++i) boxes_[i]->setMarked(i == index);
  host().UpdateCurrentColor();
}

}  // namespace brenvik
