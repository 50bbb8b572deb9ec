#pragma once
// The Internet page: the 216 web-safe colours as an 18 x 12 grid of cells,
// and two buttons that move the current colour to the nearest web-safe colour
// or the nearest web-safe gray.

#include <QWidget>

#include "ui/chooser/ChooserPage.h"

class QFrame;
class QPainter;
class QRect;
class QToolButton;

namespace brenvik {

// The colour of grid cell (column 0-17, row 0-11). Each of red, green and blue
// is a level index times 51: red (column div 6) * 2 + (row div 6), green
// column mod 6, blue row mod 6.
Colour CellColour(int column, int row);
// For each of red, green and blue: reference * |colour - reference| / 255, summed.
double WeightedDistance(Colour value, const ColourVector& reference);
// The mark on a cell is black when red + green + blue / 4 exceeds 192.
bool MarkIsBlack(Colour cell);

class InternetPage;

// The palette paint box. It takes the keyboard focus: the arrow keys move
// the selection from cell to cell, Home and End to the ends of the row. A
// screen reader sees its 216 cells, each named by its colour.
class InternetPalette : public QWidget {
  Q_OBJECT
 public:
  InternetPalette(InternetPage& page, QWidget* parent);
  InternetPage& page() const { return page_; }
 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
 private:
  InternetPage& page_;
};

class InternetPage : public ChooserPage {
  Q_OBJECT
 public:
  static constexpr int kColumns = 18;
  static constexpr int kRows = 12;

  InternetPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override;
  ColourVector pageColour() const override;
  void showColour(const ColourVector& rgb) override;

  // The selected cell; (-1, -1) when none. Either coordinate -1 means none.
  int selectedColumn() const { return column_; }
  int selectedRow() const { return row_; }
  bool hasSelection() const { return column_ >= 0 && row_ >= 0; }

  // The cell under box coordinates (x, y) of a box w x h pixels.
  static int hitColumn(int x, int width);
  static int hitRow(int y, int height);

  // Cell (column, row) of a box w x h pixels, its border lines included.
  static QRect cellRect(int column, int row, int width, int height);

  void paintPalette(QPainter& painter, int width, int height) const;
  // The cell under box coordinates (x, y), as a click picks it.
  void pickCell(int x, int y);
  // Selects cell (column, row), which becomes the current colour.
  void selectCell(int column, int row);
  void roundToWebColour();
  void roundToWebGray();

  QWidget* paletteBox() const { return paintBox_; }

 private:
  // Repaints the palette and tells a screen reader which cell is selected.
  void selectionChanged();
  // The cell nearest (by WeightedDistance) to reference; ties go to the first in row order.
  void showNearestCell(const ColourVector& reference);

  // Fields start zeroed: cell (0, 0) until the first showColour.
  int column_ = 0;
  int row_ = 0;

  QFrame* panel_ = nullptr;
  InternetPalette* paintBox_ = nullptr;
  QToolButton* round_ = nullptr;
  QToolButton* roundGray_ = nullptr;
};

}  // namespace brenvik
