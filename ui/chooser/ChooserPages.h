#pragma once
// The page factory of the colour chooser's dialog window: one page widget per
// ChooserPageId, in the order the page control holds them.

#include <QString>

#include "ui/chooser/ChooserPage.h"

class QWidget;

namespace brenvik {

// Tab caption of each page: "VGA", "Internet", "HSB", "RGB", "CMY", "CMYK",
// "Gray", "Windows", "Info".
QString PageCaption(ChooserPageId page);

// Builds the page for the given value as a child of parent; the dialog owns it.
ChooserPage* CreateChooserPage(ChooserPageId page, ChooserPageHost& host, QWidget* parent);

// Stand-in for a page whose own controls are not built yet: it names itself
// and keeps the dialog's current colour as it is.
class PlainPage : public ChooserPage {
  Q_OBJECT
 public:
  PlainPage(ChooserPageHost& host, ChooserPageId tag, QWidget* parent = nullptr);
  QString tabCaption() const override { return PageCaption(tag()); }
  ColourVector pageColour() const override { return host().currentColour(); }
  void showColour(const ColourVector&) override { host().updateCurrentColour(); }
};

}  // namespace brenvik
