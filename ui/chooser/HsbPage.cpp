#include "ui/chooser/HsbPage.h"

#include <QPainter>

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

HsbPage::HsbPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageHSB, parent) {
  setObjectName(QStringLiteral("tabHSB"));
  using Mode = ChannelGroup::SliderMode;
  hue_ = new ChannelGroup(this, {"Hue", "&Hue", 24, 28, 48, 40, 359, 60, Qt::white}, Mode::Live);
  saturation_ = new ChannelGroup(this, {"Saturation", "&Saturation", 72, 76, 96, 88, 100, 10, Qt::white},
                                 Mode::Live);
  brightness_ = new ChannelGroup(this, {"Brightness", "&Brightness", 120, 124, 144, 136, 100, 10, Qt::black},
                                 Mode::Live);

  hue_->setPainter(&HsbPage::paintHue);
  // The saturation and brightness strips depend on the other sliders, so they
  // are only worth drawing while this page is the one on show.
  saturation_->setPainter([this](QPainter& p, int w, int h) {
    if (this->host().isActivePage(pageHSB)) paintSaturation(p, w, h, hue_->position());
  });
  brightness_->setPainter([this](QPainter& p, int w, int h) {
    if (this->host().isActivePage(pageHSB))
      paintBrightness(p, w, h, hue_->position(), saturation_->position());
  });

  hue_->clickPosition = [](int x, int w) { return x * 359 / w; };
  saturation_->clickPosition = [](int x, int w) { return x * 101 / w; };
  brightness_->clickPosition = [](int x, int w) { return x * 101 / w; };

  hue_->refreshHook = [this] {
    saturation_->repaintStrip();
    brightness_->repaintStrip();
  };
  saturation_->refreshHook = [this] { brightness_->repaintStrip(); };
  for (ChannelGroup* g : {hue_, saturation_, brightness_}) {
    g->mirrorHook = [this] { syncSpins(); };
    g->updateHook = [this] { this->host().updateCurrentColour(); };
  }
}

ColourVector HsbPage::pageColour() const {
  return HSBToRGB(MakeHSB(hue_->position(), saturation_->position(), brightness_->position()));
}

void HsbPage::showColour(const ColourVector& rgb) {
  if (!SameVector(pageColour(), rgb)) {
    const ColourVector hsb = RGBToHSB(rgb);
    hue_->setPosition(RoundToInt(hsb.first));
    saturation_->setPosition(RoundToInt(hsb.second));
    brightness_->setPosition(RoundToInt(hsb.third));
    syncSpins();
    saturation_->repaintStrip();
    brightness_->repaintStrip();
  }
  host().updateCurrentColour();
}

void HsbPage::syncSpins() {
  hue_->syncSpin();
  saturation_->syncSpin();
  brightness_->syncSpin();
}

void HsbPage::paintHue(QPainter& p, int w, int h) {
  for (int i = 0; i < 360; ++i) {
    const int x0 = i * w / 359;
    const int x1 = (i + 1) * w / 359;
    if (x1 > x0) p.fillRect(x0, 0, x1 - x0, h, ToQColour(HueToColour(i)));
  }
}

void HsbPage::paintSaturation(QPainter& p, int w, int h, int hue) {
  for (int x = 0; x < w; ++x)
    p.fillRect(x, 0, 1, h, ToQColour(HSBToColour(MakeHSB(hue, x * 100 / w, 100))));
}

void HsbPage::paintBrightness(QPainter& p, int w, int h, int hue, int saturation) {
  for (int x = 0; x < w; ++x)
    p.fillRect(x, 0, 1, h, ToQColour(HSBToColour(MakeHSB(hue, saturation, x * 100 / w))));
}

}  // namespace brenvik
