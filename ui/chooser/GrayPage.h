#pragma once
// Gray page of the colour chooser: one slider for the gray level, 0 to 255.

#include "ui/chooser/ChannelGroup.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik {

class GrayPage : public VazozaPage {
  Q_OBJECT
 public:
  GrayPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("Gray"); }
  TColorVector GetPageColor() const override;
  void ShowColor(const TColorVector& rgb) override;

  void SyncGraySpin();
  ChannelGroup* level() const { return level_; }

 private:
  ChannelGroup* level_;
};

}  // namespace brenvik
