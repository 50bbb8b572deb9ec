#pragma once
// CMY and CMYK pages of the colour chooser: cyan, magenta and yellow from 0
// to 255, and cyan, magenta, yellow and black as percentages.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class CMYPage : public VazozaPage {
  Q_OBJECT
 public:
  CMYPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("CMY"); }
  TColorVector GetPageColor() const override;
  void ShowColor(const TColorVector& rgb) override;

  void SyncCMYSpins();

  // Channel 1 cyan, 2 magenta, 3 yellow.
  ChannelGroup* channel(int number) const { return channels_[number - 1]; }

 private:
  ChannelGroup* channels_[3];
};

class CMYKPage : public VazozaPage {
  Q_OBJECT
 public:
  CMYKPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("CMYK"); }
  TColorVector GetPageColor() const override;
  // Always sets the sliders, even when they already describe rgb.
  void ShowColor(const TColorVector& rgb) override;

  void SyncCMYKSpins();

  // Channel 1 cyan, 2 magenta, 3 yellow, 4 black.
  ChannelGroup* channel(int number) const { return channels_[number - 1]; }

 private:
  ChannelGroup* channels_[4];
};

}  // namespace brenvik
