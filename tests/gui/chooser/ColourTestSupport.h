#pragma once
// Helpers shared by the colour chooser tests.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QString>
#include <functional>

#include "GuiTestSupport.h"
#include "ui/chooser/InternetPage.h"
#include "ui/platform/QtColour.h"
#include "ui/chooser/ColourChooser.h"
#include "ui/chooser/ColourChooserWindow.h"

namespace brenvik::test {

inline Colour Rgb(int r, int g, int b) { return static_cast<Colour>(r | (g << 8) | (b << 16)); }

// Runs body on the chooser's window once Execute has shown it, then closes the
// window with OK (accept) or Cancel.
inline void WhenShown(std::function<void(ColourChooserWindow&)> body, bool accept) {
  OnNextModal([body, accept](QWidget* w) {
    auto* form = qobject_cast<ColourChooserWindow*>(w);
    if (!form) {
      ADD_FAILURE() << "the modal window is not the colour dialog";
      w->close();
      return;
    }
    Pump(1);
    body(*form);
    Find<QPushButton>(form, accept ? QStringLiteral("btnOK") : QStringLiteral("btnCancel"))->click();
  });
}

inline InternetPage* Internet(ColourChooserWindow& form) {
  return static_cast<InternetPage*>(form.page(pageInternet));
}

// The centre of grid cell (c, r) of a palette box w x h.
inline QPoint CellCentre(int c, int r, int w, int h) {
  const int x1 = (w - 1) * c / 18, x2 = (w - 1) * (c + 1) / 18;
  const int y1 = (h - 1) * r / 12, y2 = (h - 1) * (r + 1) / 12;
  return {(x1 + x2) / 2, (y1 + y2) / 2};
}

// Pictures of the windows for a person to look at, next to the test programs.
inline void SaveShot(QWidget* w, const QString& name) {
  const QString dir = QStringLiteral(BRENVIK_BIN_DIR) + QStringLiteral("/shots");
  QDir().mkpath(dir);
  w->grab().save(dir + QLatin1Char('/') + name);
}

}  // namespace brenvik::test
