#include "ui/chooser/VgaPage.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "ui/platform/CommandGuard.h"
#include "ui/chooser/ColourStrips.h"
#include "ui/platform/Platform.h"

namespace brenvik {

namespace {
constexpr int kWindowText = system_colour::kWindowText;
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

VgaBox::VgaBox(const QString& name, Colour color, QColor markColour, int markSystemColour, QWidget* parent)
    : QWidget(parent), colour_(color), markColour_(markColour), markSystemColour_(markSystemColour) {
  setToolTip(name);
}

void VgaBox::setMarked(bool marked) {
  if (marked_ == marked) return;
  marked_ = marked;
  update();
}

QColor VgaBox::markColour() const {
  return markSystemColour_ >= 0 ? platform().systemColour(markSystemColour_) : markColour_;
}

void VgaBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::WindowText));
  p.fillRect(rect().adjusted(1, 1, -1, -1), ToQColour(colour_));
  if (marked_) {
    p.setFont(platform().markFont(kMarkHeight));
    p.setPen(markColour());
    p.drawText(rect(), Qt::AlignCenter, platform().selectionMark());
  }
}

void VgaBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void VgaBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) emit clicked();
}

VgaPage::VgaPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageVGA, parent) {
  setObjectName(QStringLiteral("tabVGA"));
  for (int i = 0; i < 16; ++i) {
    const VGAColour& c = kColours[i];
    const QColor fixedMark = c.mark == -2 ? QColor(Qt::black) : QColor(Qt::white);
    auto* box = new VgaBox(QString::fromLatin1(c.name), RGBToColour(MakeRGB(c.red, c.green, c.blue)), fixedMark,
                           c.mark >= 0 ? c.mark : -1, this);
    box->setObjectName(QStringLiteral("shp") + QString::fromLatin1(c.name));
    box->setGeometry(kBlockLeft + (i % 8) * kBoxSize, kBlockTop + (i / 8) * kBoxSize, kBoxSize, kBoxSize);
    connect(box, &VgaBox::clicked, this, Guarded(this, [this, i] { boxClicked(i); }));
    boxes_[i] = box;
  }
  boxes_[0]->setMarked(true);
}

ColourVector VgaPage::pageColour() const {
  for (const VgaBox* box : boxes_)
    if (box->marked()) return SplitColour(box->color());
  return host().currentColour();
}

void VgaPage::showColour(const ColourVector& shown) {
  const ColourVector rgb = shown;  // may be the dialog's current colour, which the update below replaces
  for (VgaBox* box : boxes_) {
    const ColourVector c = SplitColour(box->color());
    box->setMarked(std::fabs(c.first - rgb.first) <= 1 && std::fabs(c.second - rgb.second) <= 1 &&
                   std::fabs(c.third - rgb.third) <= 1);
  }
  host().updateCurrentColour();
}

void VgaPage::boxClicked(int index) {
  for (int i = 0; i < 16; ++i) boxes_[i]->setMarked(i == index);
  host().updateCurrentColour();
}

}  // namespace brenvik
