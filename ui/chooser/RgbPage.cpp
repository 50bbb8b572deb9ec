#include "ui/chooser/RgbPage.h"

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

RGBPage::RGBPage(VazozaPageHost& host, QWidget* parent) : VazozaPage(host, pageRGB, parent) {
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
    g->mirror = [this] { SyncRGBSpins(); };
    g->update = [this] { this->host().UpdateCurrentColor(); };
  }
}

TColorVector RGBPage::GetPageColor() const {
  return MakeRGB(channels_[0]->position(), channels_[1]->position(), channels_[2]->position());
}

void RGBPage::ShowColor(const TColorVector& rgb) {
  // Each slider move updates the dialog's current colour, which the caller may
  // have passed in: work from a copy.
  const TColorVector shown = rgb;
  if (!SameVector(GetPageColor(), shown)) {
    channels_[0]->setPosition(RoundToInt(shown.first));
    channels_[1]->setPosition(RoundToInt(shown.second));
    channels_[2]->setPosition(RoundToInt(shown.third));
    SyncRGBSpins();
  }
  host().UpdateCurrentColor();
}

void RGBPage::SyncRGBSpins() {
  for (ChannelGroup* g : channels_) g->SyncSpin();
}

}  // namespace brenvik
