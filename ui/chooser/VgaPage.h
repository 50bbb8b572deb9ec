#pragma once
// VGA page of the colour chooser: the 16 classic colours as boxes, the chosen
// ones carrying the selection mark.

#include <QWidget>

#include "ui/chooser/ChooserPage.h"

namespace brenvik {

// One palette box: its colour, a single-line border, the name as tooltip, and
// the selection mark when marked. markIndex is a system colour index, or -1
// for a fixed mark colour.
class VgaBox : public QWidget {
  Q_OBJECT
 public:
  VgaBox(const QString& name, Colour color, QColor markColour, int markSystemColour, QWidget* parent);

  Colour color() const { return colour_; }
  bool marked() const { return marked_; }
  void setMarked(bool marked);
  // The colour the mark is drawn in now.
  QColor markColour() const;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Colour colour_;
  QColor markColour_;
  int markSystemColour_;
  bool marked_ = false;
  bool pressed_ = false;
};

class VgaPage : public ChooserPage {
  Q_OBJECT
 public:
  VgaPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("VGA"); }
  // The first marked box, top row first; the current colour when none is.
  ColourVector pageColour() const override;
  // Marks every box within 1 of rgb in each component, unmarks the others.
  void showColour(const ColourVector& rgb) override;

  // Box 0 to 15: top row left to right, then the bottom row.
  VgaBox* box(int index) const { return boxes_[index]; }
  // Marks only the given box and updates the current colour, as a click does.
  void boxClicked(int index);

 private:
  VgaBox* boxes_[16];
};

}  // namespace brenvik
