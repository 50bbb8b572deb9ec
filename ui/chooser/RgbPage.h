#pragma once
// RGB page of the colour chooser: red, green and blue sliders, 0 to 255.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class RGBPage : public VazozaPage {
  Q_OBJECT
 public:
  RGBPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("RGB"); }
  TColorVector GetPageColor() const override;
  void ShowColor(const TColorVector& rgb) override;

  void SyncRGBSpins();

  // Channel 1 red, 2 green, 3 blue.
  ChannelGroup* channel(int number) const { return channels_[number - 1]; }

 private:
  ChannelGroup* channels_[3];
};

}  // namespace brenvik
