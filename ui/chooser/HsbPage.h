#pragma once
// HSB page of the colour chooser: hue, saturation and brightness sliders over
// painted strips.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class HsbPage : public ChooserPage {
  Q_OBJECT
 public:
  HsbPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("HSB"); }
  ColourVector pageColour() const override;
  void showColour(const ColourVector& rgb) override;

  // Spin and number box of each channel := its slider, hue first.
  void syncSpins();

  ChannelGroup* hue() const { return hue_; }
  ChannelGroup* saturation() const { return saturation_; }
  ChannelGroup* brightness() const { return brightness_; }

  // Strip painters, also used by the tests' reference rendering.
  static void paintHue(QPainter& p, int w, int h);
  static void paintSaturation(QPainter& p, int w, int h, int hue);
  static void paintBrightness(QPainter& p, int w, int h, int hue, int saturation);

 private:
  ChannelGroup* hue_;
  ChannelGroup* saturation_;
  ChannelGroup* brightness_;
};

}  // namespace brenvik
