#include "ui/chooser/CmyPages.h"

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

namespace {
constexpr StripKind kStrips[4] = {StripKind::Cyan, StripKind::Magenta, StripKind::Yellow, StripKind::Black};
}

CmyPage::CmyPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageCMY, parent) {
  setObjectName(QStringLiteral("tabCMY"));
  const ChannelSpec specs[3] = {
      {"CMYCyan", "&Cyan", 24, 28, 48, 40, 255, 10, Qt::white},
      {"CMYMagenta", "&Magenta", 72, 76, 96, 88, 255, 10, Qt::white},
      {"CMYYellow", "&Yellow", 120, 124, 144, 136, 255, 10, Qt::white},
  };
  for (int i = 0; i < 3; ++i) {
    ChannelGroup* g = new ChannelGroup(this, specs[i], ChannelGroup::SliderMode::MirrorOnly);
    channels_[i] = g;
    const StripKind kind = kStrips[i];
    g->setPainter([kind](QPainter& p, int w, int h) { PaintStrip(p, kind, w, h); });
    g->clickPosition = [](int x, int w) { return x * 255 / w; };
    g->mirrorHook = [this] { syncSpins(); };
    g->updateHook = [this] { this->host().updateCurrentColour(); };
  }
}

ColourVector CmyPage::pageColour() const {
  return CMYToRGB(MakeCMY(channels_[0]->position(), channels_[1]->position(), channels_[2]->position()));
}

void CmyPage::showColour(const ColourVector& rgb) {
  if (!SameVector(pageColour(), rgb)) {
    const ColourVector cmy = RGBToCMY(rgb);
    channels_[0]->setPosition(RoundToInt(cmy.first));
    channels_[1]->setPosition(RoundToInt(cmy.second));
    channels_[2]->setPosition(RoundToInt(cmy.third));
    syncSpins();
  }
  host().updateCurrentColour();
}

void CmyPage::syncSpins() {
  for (ChannelGroup* g : channels_) g->syncSpin();
}

CmykPage::CmykPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageCMYK, parent) {
  setObjectName(QStringLiteral("tabCMYK"));
  const ChannelSpec specs[4] = {
      {"CMYKCyan", "&Cyan", 4, 8, 28, 20, 100, 10, Qt::white},
      {"CMYKMagenta", "&Magenta", 52, 56, 76, 68, 100, 10, Qt::white},
      {"CMYKYellow", "&Yellow", 100, 104, 124, 116, 100, 10, Qt::white},
      {"CMYKBlack", "Blac&k", 148, 152, 172, 164, 100, 10, Qt::black},
  };
  for (int i = 0; i < 4; ++i) {
    ChannelGroup* g = new ChannelGroup(this, specs[i], ChannelGroup::SliderMode::MirrorOnly);
    channels_[i] = g;
    const StripKind kind = kStrips[i];
    g->setPainter([kind](QPainter& p, int w, int h) { PaintStrip(p, kind, w, h); });
    g->clickPosition = [](int x, int w) { return x * 100 / w; };
    g->mirrorHook = [this] { syncSpins(); };
    g->updateHook = [this] { this->host().updateCurrentColour(); };
  }
}

ColourVector CmykPage::pageColour() const {
  return CMYKToRGB(MakeCMYK(channels_[0]->position(), channels_[1]->position(), channels_[2]->position(),
                            channels_[3]->position()));
}

void CmykPage::showColour(const ColourVector& rgb) {
  const CmykValues v = RoundCMYK(RGBToCMYK(rgb));
  channels_[0]->setPosition(v.cyan);
  channels_[1]->setPosition(v.magenta);
  channels_[2]->setPosition(v.yellow);
  channels_[3]->setPosition(v.black);
  syncSpins();
  host().updateCurrentColour();
}

void CmykPage::syncSpins() {
  for (ChannelGroup* g : channels_) g->syncSpin();
}

}  // namespace brenvik
