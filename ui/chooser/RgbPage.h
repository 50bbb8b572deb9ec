#pragma once
// RGB page of the colour chooser: red, green and blue sliders, 0 to 255.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class RgbPage : public ChooserPage {
  Q_OBJECT
 public:
  RgbPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("RGB"); }
  ColourVector pageColour() const override;
  void showColour(const ColourVector& rgb) override;

  void syncSpins();

  // Channel 1 red, 2 green, 3 blue.
  ChannelGroup* channel(int number) const { return channels_[number - 1]; }

 private:
  ChannelGroup* channels_[3];
};

}  // namespace brenvik
