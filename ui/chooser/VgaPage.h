#pragma once
// VGA page of the colour chooser: the 16 classic colours as boxes, the chosen
// ones carrying the selection mark.

#include <QWidget>

#include "ui/chooser/ChooserPage.h"

namespace brenvik {

// One palette box: its colour, a single-line border, the name as tooltip, and
// the selection mark when marked. markIndex is a system colour index, or -1
// for a fixed mark colour.
class VGABox : public QWidget {
  Q_OBJECT
 public:
  VGABox(const QString& name, TColor color, QColor markColor, int markSystemColor, QWidget* parent);

  TColor color() const { return color_; }
  bool marked() const { return marked_; }
  void setMarked(bool marked);
  // The colour the mark is drawn in now.
  QColor markColor() const;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TColor color_;
  QColor markColor_;
  int markSystemColor_;
  bool marked_ = false;
  bool pressed_ = false;
};

class VGAPage : public VazozaPage {
  Q_OBJECT
 public:
  VGAPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("VGA"); }
  // The first marked box, top row first; the current colour when none is.
  TColorVector GetPageColor() const override;
  // Marks every box within 1 of rgb in each component, unmarks the others.
  void ShowColor(const TColorVector& rgb) override;

  // Box 0 to 15: top row left to right, then the bottom row.
  VGABox* box(int index) const { return boxes_[index]; }
  // Marks only the given box and updates the current colour, as a click does.
  void BoxClick(int index);

 private:
  VGABox* boxes_[16];
};

}  // namespace brenvik
