#pragma once
// Gray page of the colour chooser: one slider for the gray level, 0 to 255.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class GrayPage : public ChooserPage {
  Q_OBJECT
 public:
  GrayPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("Gray"); }
  ColourVector pageColour() const override;
  void showColour(const ColourVector& rgb) override;

  void syncSpins();
  ChannelGroup* level() const { return level_; }

 private:
  ChannelGroup* level_;
};

}  // namespace brenvik
