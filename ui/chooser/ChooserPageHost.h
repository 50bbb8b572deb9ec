#pragma once
// What a page of the colour chooser sees of its dialog window. The dialog
// (ColourChooserWindow) implements it; page tests can use a small fake.

#include "core/colour/ColourModels.h"

class QWidget;

namespace brenvik {

// Page values; each page widget carries its value as its tag.
enum ChooserPageId : int {
  pageVGA = 0,
  pageInternet = 1,
  pageHSB = 2,
  pageRGB = 3,
  pageCMY = 4,
  pageCMYK = 5,
  pageGray = 6,
  pageWindows = 7,
  pageInfo = 8,
};

// The number of pages.
inline constexpr int kPageCount = 9;
// The number of boxes in the collection of custom colours, numbered 1 to 32.
inline constexpr int kCustomColourCount = 32;

class ChooserPageHost {
 public:
  virtual ~ChooserPageHost() = default;
  // The colour the dialog is working on (may be fractional).
  virtual ColourVector currentColour() const = 0;
  // The colour value shown in the current-colour swatch.
  virtual Colour currentSwatchColour() const = 0;
  // current colour := pageColour of the active page; swatch and component follow.
  virtual void updateCurrentColour() = 0;
  // True while the page with this value is the active page.
  virtual bool isActivePage(ChooserPageId page) const = 0;
};

}  // namespace brenvik
