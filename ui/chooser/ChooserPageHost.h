#pragma once
// What a page of the colour chooser sees of its dialog window. The dialog
// (TfrmVazozaDialog) implements it; page tests can use a small fake.

#include "core/colour/ColourModels.h"

class QWidget;

namespace brenvik {

// Page values; each page widget carries its value as its tag.
enum TDialogPage : int {
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

class VazozaPageHost {
 public:
  virtual ~VazozaPageHost() = default;
  // The colour the dialog is working on (may be fractional).
  virtual TColorVector CurrentColor() const = 0;
  // The colour value shown in the current-colour swatch.
  virtual TColor CurrentSwatchColor() const = 0;
  // current colour := GetPageColor of the active page; swatch and component follow.
  virtual void UpdateCurrentColor() = 0;
  // True while the page with this value is the active page.
  virtual bool IsActivePage(TDialogPage page) const = 0;
};

}  // namespace brenvik
