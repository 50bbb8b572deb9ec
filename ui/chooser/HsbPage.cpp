#include "ui/chooser/HsbPage.h"

#include <QPainter>

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

HSBPage::HSBPage(VazozaPageHost& host, QWidget* parent) : VazozaPage(host, pageHSB, parent) {
  setObjectName(QStringLiteral("tabHSB"));
  using Mode = ChannelGroup::SliderMode;
  hue_ = new ChannelGroup(this, {"Hue", "&Hue", 24, 28, 48, 40, 359, 60, Qt::white}, Mode::Live);
  saturation_ = new ChannelGroup(this, {"Saturation", "&Saturation", 72, 76, 96, 88, 100, 10, Qt::white},
                                 Mode::Live);
  brightness_ = new ChannelGroup(this, {"Brightness", "&Brightness", 120, 124, 144, 136, 100, 10, Qt::black},
                                 Mode::Live);

  hue_->setPainter(&HSBPage::PaintHue);
  // The saturation and brightness strips depend on the other sliders, so they
  // are only worth drawing while this page is the one on show.
  saturation_->setPainter([this](QPainter& p, int w, int h) {
    if (this->host().IsActivePage(pageHSB)) PaintSaturation(p, w, h, hue_->position());
  });
  brightness_->setPainter([this](QPainter& p, int w, int h) {
    if (this->host().IsActivePage(pageHSB))
      PaintBrightness(p, w, h, hue_->position(), saturation_->position());
  });

  hue_->clickPosition = [](int x, int w) { return x * 359 / w; };
  saturation_->clickPosition = [](int x, int w) { return x * 101 / w; };
  brightness_->clickPosition = [](int x, int w) { return x * 101 / w; };

  hue_->refresh = [this] {
    saturation_->RepaintStrip();
    brightness_->RepaintStrip();
  };
  saturation_->refresh = [this] { brightness_->RepaintStrip(); };
  for (ChannelGroup* g : {hue_, saturation_, brightness_}) {
    g->mirror = [this] { SyncHSBSpins(); };
    g->update = [this] { this->host().UpdateCurrentColor(); };
  }
}

TColorVector HSBPage::GetPageColor() const {
  return HSBToRGB(MakeHSB(hue_->position(), saturation_->position(), brightness_->position()));
}

void HSBPage::ShowColor(const TColorVector& rgb) {
  if (!SameVector(GetPageColor(), rgb)) {
    const TColorVector hsb = RGBToHSB(rgb);
    hue_->setPosition(RoundToInt(hsb.first));
    saturation_->setPosition(RoundToInt(hsb.second));
    brightness_->setPosition(RoundToInt(hsb.third));
    SyncHSBSpins();
    saturation_->RepaintStrip();
    brightness_->RepaintStrip();
  }
  host().UpdateCurrentColor();
}

void HSBPage::SyncHSBSpins() {
  hue_->SyncSpin();
  saturation_->SyncSpin();
  brightness_->SyncSpin();
}

void HSBPage::PaintHue(QPainter& p, int w, int h) {
  for (int i = 0; i < 360; ++i) {
    const int x0 = i * w / 359;
    const int x1 = (i + 1) * w / 359;
    if (x1 > x0) p.fillRect(x0, 0, x1 - x0, h, ToQColor(HueToColor(i)));
  }
}

void HSBPage::PaintSaturation(QPainter& p, int w, int h, int hue) {
  for (int x = 0; x < w; ++x)
    p.fillRect(x, 0, 1, h, ToQColor(HSBToColor(MakeHSB(hue, x * 100 / w, 100))));
}

void HSBPage::PaintBrightness(QPainter& p, int w, int h, int hue, int saturation) {
  for (int x = 0; x < w; ++x)
    p.fillRect(x, 0, 1, h, ToQColor(HSBToColor(MakeHSB(hue, saturation, x * 100 / w))));
}

}  // namespace brenvik
