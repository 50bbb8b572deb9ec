#pragma once
// Base of every page of the colour chooser. A page shows a colour with its
// own controls (ShowColor) and reports the colour they describe
// (GetPageColor). After a change made by the user a page calls
// host().UpdateCurrentColor().

#include <QWidget>

#include "ui/chooser/ChooserPageHost.h"

namespace brenvik {

class VazozaPage : public QWidget {
  Q_OBJECT
 public:
  VazozaPage(VazozaPageHost& host, TDialogPage tag, QWidget* parent = nullptr)
      : QWidget(parent), host_(host), tag_(tag) {}

  TDialogPage tag() const { return tag_; }
  virtual QString TabCaption() const = 0;

  // The colour the page's controls describe, or the host's current colour
  // when they describe none.
  virtual TColorVector GetPageColor() const = 0;
  // Makes the controls show rgb, then runs the host's UpdateCurrentColor
  // where the page's rules say so.
  virtual void ShowColor(const TColorVector& rgb) = 0;

  // Called when the system colours change (the Windows page reloads them).
  virtual void SystemColorsChanged() {}
  // Called when the dialog's reference swatch or collection was clicked, or
  // the dialog is configured; the Info page refreshes its texts.
  virtual void RefreshInfo() {}

 protected:
  VazozaPageHost& host() const { return host_; }

 private:
  VazozaPageHost& host_;
  TDialogPage tag_;
};

}  // namespace brenvik
