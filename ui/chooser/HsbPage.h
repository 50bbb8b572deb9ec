#pragma once
// HSB page of the colour chooser: hue, saturation and brightness sliders over
// painted strips.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class HSBPage : public VazozaPage {
  Q_OBJECT
 public:
  HSBPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("HSB"); }
  TColorVector GetPageColor() const override;
  void ShowColor(const TColorVector& rgb) override;

  // Spin and number box of each channel := its slider, hue first.
  void SyncHSBSpins();

  ChannelGroup* hue() const { return hue_; }
  ChannelGroup* saturation() const { return saturation_; }
  ChannelGroup* brightness() const { return brightness_; }

  // Strip painters, also used by the tests' reference rendering.
  static void PaintHue(QPainter& p, int w, int h);
  static void PaintSaturation(QPainter& p, int w, int h, int hue);
  static void PaintBrightness(QPainter& p, int w, int h, int hue, int saturation);

 private:
  ChannelGroup* hue_;
  ChannelGroup* saturation_;
  ChannelGroup* brightness_;
};

}  // namespace brenvik
