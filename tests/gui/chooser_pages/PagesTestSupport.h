#pragma once
// A stand-in for the colour chooser's dialog window, enough to drive one page:
// it keeps a current colour that follows the page on every update, as the
// dialog does, and counts the updates.

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <memory>

#include "GuiTestSupport.h"
#include "ui/chooser/ChannelGroup.h"
#include "core/colour/ColourModels.h"
#include "ui/chooser/ChooserPage.h"
#include "ui/chooser/ChooserPageHost.h"

namespace brenvik::test {

class FakeHost : public ChooserPageHost {
 public:
  ChooserPage* page = nullptr;
  ColourVector current{};
  Colour swatch = 0;
  int updates = 0;
  bool pageActive = true;

  ColourVector currentColour() const override { return current; }
  Colour currentSwatchColour() const override { return swatch; }
  void updateCurrentColour() override {
    ++updates;
    if (page) current = page->pageColour();
    swatch = RGBToColour(current);
  }
  bool isActivePage(ChooserPageId p) const override { return pageActive && page && page->tag() == p; }

  // Sets the current colour and the swatch without asking the page.
  void SetCurrent(const ColourVector& rgb) {
    current = rgb;
    swatch = RGBToColour(rgb);
  }
};

// A page of type P hosted by a FakeHost, at the size it has in the dialog.
template <typename P>
struct Hosted {
  FakeHost host;
  std::unique_ptr<P> page;
  Hosted() : page(std::make_unique<P>(host)) {
    host.page = page.get();
    page->resize(337, 197);
  }
};

inline void SendKey(QWidget* w, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

// Types each character of text as a key press.
inline void Type(QLineEdit* box, const QString& text) {
  for (QChar c : text) SendKey(box, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A, QString(c));
}

// Replaces the whole text of a number box by typing, as a user selecting all and typing would.
inline void Retype(QLineEdit* box, const QString& text) {
  box->selectAll();
  if (text.isEmpty())
    SendKey(box, Qt::Key_Backspace, QStringLiteral("\b"));
  else
    Type(box, text);
}

inline void LeaveBox(QLineEdit* box) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(box, &out);
}


// Clicks the strip of a channel group at pointer x, halfway down.
inline void ClickStrip(ChannelGroup* g, int x) { Click(g->strip(), QPoint(x, g->strip()->height() / 2)); }

// The colour of pixel x (halfway down) of a channel group's strip, as the page draws it.
inline QRgb StripPixel(QWidget* page, ChannelGroup* g, int x) {
  const QImage image = page->grab().toImage();
  const QPoint p = g->strip()->mapTo(page, QPoint(x, g->strip()->height() / 2));
  return image.pixel(p);
}

}  // namespace brenvik::test
