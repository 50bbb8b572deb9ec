#include "ui/chooser/GrayPage.h"

#include "ui/chooser/ColourStrips.h"

namespace brenvik {

GrayPage::GrayPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageGray, parent) {
  setObjectName(QStringLiteral("tabGray"));
  level_ = new ChannelGroup(this, {"Gray", "&Brigtness", 72, 76, 96, 88, 255, 10, Qt::black},
                            ChannelGroup::SliderMode::MirrorOnly);
  level_->setPainter([](QPainter& p, int w, int h) { PaintStrip(p, StripKind::Gray, w, h); });
  level_->clickPosition = [](int x, int w) { return x * 255 / w; };
  level_->mirrorHook = [this] { syncSpins(); };
  level_->updateHook = [this] { this->host().updateCurrentColour(); };
}

ColourVector GrayPage::pageColour() const { return MakeGray(level_->position()); }

// A colour is shown by its HSB brightness as a gray level, so every colour
// turns into a gray here.
void GrayPage::showColour(const ColourVector& rgb) {
  if (!SameVector(pageColour(), rgb)) {
    level_->setPosition(RoundToInt(RGBToHSB(rgb).third * 255 / 100));
    syncSpins();
  }
  host().updateCurrentColour();
}

void GrayPage::syncSpins() { level_->syncSpin(); }

}  // namespace brenvik
