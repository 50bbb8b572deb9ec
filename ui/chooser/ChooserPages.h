#pragma once
// The page factory of the colour chooser's dialog window: one page widget per
// TDialogPage, in the order the page control holds them.

#include <QString>

#include "ui/chooser/ChooserPage.h"

class QWidget;

namespace brenvik {

// Tab caption of each page: "VGA", "Internet", "HSB", "RGB", "CMY", "CMYK",
// "Gray", "Windows", "Info".
QString PageCaption(TDialogPage page);

// Builds the page for the given value as a child of parent; the dialog owns it.
VazozaPage* CreateVazozaPage(TDialogPage page, VazozaPageHost& host, QWidget* parent);

// Stand-in for a page whose own controls are not built yet: it names itself
// and keeps the dialog's current colour as it is.
class PlainPage : public VazozaPage {
  Q_OBJECT
 public:
  PlainPage(VazozaPageHost& host, TDialogPage tag, QWidget* parent = nullptr);
  QString TabCaption() const override { return PageCaption(tag()); }
  TColorVector GetPageColor() const override { return host().CurrentColor(); }
  void ShowColor(const TColorVector&) override { host().UpdateCurrentColor(); }
};

}  // namespace brenvik
