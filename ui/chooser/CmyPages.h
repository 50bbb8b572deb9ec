#pragma once
// CMY and CMYK pages of the colour chooser: cyan, magenta and yellow from 0
// to 255, and cyan, magenta, yellow and black as percentages.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class CmyPage : public ChooserPage {
  Q_OBJECT
 public:
  CmyPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("CMY"); }
  ColourVector pageColour() const override;
  void showColour(const ColourVector& rgb) override;

  void syncSpins();

  // Channel 1 cyan, 2 magenta, 3 yellow.
  ChannelGroup* channel(int number) const { return channels_[number - 1]; }

 private:
  ChannelGroup* channels_[3];
};

class CmykPage : public ChooserPage {
  Q_OBJECT
 public:
  CmykPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("CMYK"); }
  ColourVector pageColour() const override;
  // Always sets the sliders, even when they already describe rgb.
  void showColour(const ColourVector& rgb) override;

  void syncSpins();

  // Channel 1 cyan, 2 magenta, 3 yellow, 4 black.
  ChannelGroup* channel(int number) const { return channels_[number - 1]; }

 private:
  ChannelGroup* channels_[4];
};

}  // namespace brenvik
