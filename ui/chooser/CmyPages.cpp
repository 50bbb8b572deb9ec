#include "ui/chooser/CmyPages.h"

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

namespace {
constexpr StripKind kStrips[4] = {StripKind::Cyan, StripKind::Magenta, StripKind::Yellow, StripKind::Black};
}

CMYPage::CMYPage(VazozaPageHost& host, QWidget* parent) : VazozaPage(host, pageCMY, parent) {
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
    g->mirror = [this] { SyncCMYSpins(); };
    g->update = [this] { this->host().UpdateCurrentColor(); };
  }
}

TColorVector CMYPage::GetPageColor() const {
  return CMYToRGB(MakeCMY(channels_[0]->position(), channels_[1]->position(), channels_[2]->position()));
}

void CMYPage::ShowColor(const TColorVector& rgb) {
  if (!SameVector(GetPageColor(), rgb)) {
    const TColorVector cmy = RGBToCMY(rgb);
    channels_[0]->setPosition(RoundToInt(cmy.first));
    channels_[1]->setPosition(RoundToInt(cmy.second));
    channels_[2]->setPosition(RoundToInt(cmy.third));
    SyncCMYSpins();
  }
  host().UpdateCurrentColor();
}

void CMYPage::SyncCMYSpins() {
  for (ChannelGroup* g : channels_) g->SyncSpin();
}

CMYKPage::CMYKPage(VazozaPageHost& host, QWidget* parent) : VazozaPage(host, pageCMYK, parent) {
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
    g->mirror = [this] { SyncCMYKSpins(); };
    g->update = [this] { this->host().UpdateCurrentColor(); };
  }
}

TColorVector CMYKPage::GetPageColor() const {
  return CMYKToRGB(MakeCMYK(channels_[0]->position(), channels_[1]->position(), channels_[2]->position(),
                            channels_[3]->position()));
}

void CMYKPage::ShowColor(const TColorVector& rgb) {
  const TCMYKValues v = RoundCMYK(RGBToCMYK(rgb));
  channels_[0]->setPosition(v.cyan);
  channels_[1]->setPosition(v.magenta);
  channels_[2]->setPosition(v.yellow);
  channels_[3]->setPosition(v.black);
  SyncCMYKSpins();
  host().UpdateCurrentColor();
}

void CMYKPage::SyncCMYKSpins() {
  for (ChannelGroup* g : channels_) g->SyncSpin();
}

}  // namespace brenvik
