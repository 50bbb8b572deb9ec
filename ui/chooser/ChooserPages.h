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

// Builds the page for the given value as a child of parent; the dialog owns
// it. RangeError for a value that names no page.
ChooserPage* CreateChooserPage(ChooserPageId page, ChooserPageHost& host, QWidget* parent);

}  // namespace brenvik
