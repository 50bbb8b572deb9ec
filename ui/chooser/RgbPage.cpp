#include "ui/chooser/RgbPage.h"

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

RgbPage::RgbPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageRGB, parent) {
  setObjectName(QStringLiteral("tabRGB"));
  using Mode = ChannelGroup::SliderMode;
  const ChannelSpec specs[3] = {
      {"Red", "&Red", 24, 28, 48, 40, 255, 10, Qt::black},
      {"Green", "&Green", 72, 76, 96, 88, 255, 10, Qt::black},
      {"Blue", "&Blue", 120, 124, 144, 136, 255, 10, Qt::black},
  };
  const StripKind strips[3] = {StripKind::Red, StripKind::Green, StripKind::Blue};
  for (int i = 0; i < 3; ++i) {
    ChannelGroup* g = new ChannelGroup(this, specs[i], Mode::MirrorOnly);
    channels_[i] = g;
    const StripKind kind = strips[i];
    g->setPainter([kind](QPainter& p, int w, int h) { PaintStrip(p, kind, w, h); });
    g->clickPosition = [](int x, int w) { return x * 255 / w; };
    g->mirrorHook = [this] { syncSpins(); };
    g->updateHook = [this] { this->host().updateCurrentColour(); };
  }
}

ColourVector RgbPage::pageColour() const {
  return MakeRGB(channels_[0]->position(), channels_[1]->position(), channels_[2]->position());
}

void RgbPage::showColour(const ColourVector& rgb) {
  // Each slider move updates the dialog's current colour, which the caller may
  // have passed in: work from a copy.
  const ColourVector shown = rgb;
  if (!SameVector(pageColour(), shown)) {
    channels_[0]->setPosition(RoundToInt(shown.first));
    channels_[1]->setPosition(RoundToInt(shown.second));
    channels_[2]->setPosition(RoundToInt(shown.third));
    syncSpins();
  }
  host().updateCurrentColour();
}

void RgbPage::syncSpins() {
  for (ChannelGroup* g : channels_) g->syncSpin();
}

}  // namespace brenvik
