#pragma once
// Base of every page of the colour chooser. A page shows a colour with its
// own controls (showColour) and reports the colour they describe
// (pageColour). After a change made by the user a page calls
// host().updateCurrentColour().

#include <QWidget>

#include "ui/chooser/ChooserPageHost.h"

namespace brenvik {

class ChooserPage : public QWidget {
  Q_OBJECT
 public:
  ChooserPage(ChooserPageHost& host, ChooserPageId tag, QWidget* parent = nullptr)
      : QWidget(parent), host_(host), tag_(tag) {}

  ChooserPageId tag() const { return tag_; }
  virtual QString tabCaption() const = 0;

  // The colour the page's controls describe, or the host's current colour
  // when they describe none.
  virtual ColourVector pageColour() const = 0;
  // Makes the controls show rgb, then runs the host's updateCurrentColour
  // where the page's rules say so.
  virtual void showColour(const ColourVector& rgb) = 0;

  // Called when the system colours change (the Windows page reloads them).
  virtual void systemColoursChanged() {}
  // Called when the dialog's reference swatch or collection was clicked, or
  // the dialog is configured; the Info page refreshes its texts.
  virtual void refreshInfo() {}

 protected:
  ChooserPageHost& host() const { return host_; }

 private:
  ChooserPageHost& host_;
  ChooserPageId tag_;
};

}  // namespace brenvik
