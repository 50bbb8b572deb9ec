#include "ui/chooser/InternetPage.h"

#include <QAccessible>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "ui/platform/QtColour.h"
#include "ui/platform/CommandGuard.h"
#include "ui/platform/Platform.h"

namespace brenvik {

namespace {

// Button images: a 2 x 2 block of web-safe colours, and a strip of web-safe grays.
QIcon RoundIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  const QColor colours[4] = {QColor(0xFF, 0x33, 0x00), QColor(0x33, 0xCC, 0x33), QColor(0x33, 0x66, 0xFF),
                             QColor(0xFF, 0xCC, 0x00)};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(colours[i]);
    p.drawRect((i % 2) * 7 + 1, (i / 2) * 7 + 1, 6, 6);
  }
  return QIcon(pixmap);
}

QIcon RoundGrayIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  for (int i = 0; i < 4; ++i) {
    const int level = 255 - i * 68;
    p.setBrush(QColor(level, level, level));
    p.drawRect((i % 2) * 7 + 1, (i / 2) * 7 + 1, 6, 6);
  }
  return QIcon(pixmap);
}

}  // namespace

Colour CellColour(int column, int row) {
  const int red = (column / 6) * 2 + row / 6;
  const int green = column % 6;
  const int blue = row % 6;
  return static_cast<Colour>(red * 51 + green * 51 * 256 + blue * 51 * 65536);
}

double WeightedDistance(Colour value, const ColourVector& reference) {
  const ColourVector c = SplitColour(value);
  return reference.first * std::fabs(c.first - reference.first) / 255.0 +
         reference.second * std::fabs(c.second - reference.second) / 255.0 +
         reference.third * std::fabs(c.third - reference.third) / 255.0;
}

bool MarkIsBlack(Colour cell) {
  const ColourVector c = SplitColour(cell);
  return c.first + c.second + c.third / 4 > 192;
}

InternetPalette::InternetPalette(InternetPage& page, QWidget* parent) : QWidget(parent), page_(page) {
  setObjectName(QStringLiteral("pntInternet"));
}

void InternetPalette::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  page_.paintPalette(painter, width(), height());
  if (!hasFocus()) return;
  // The focus: a dotted frame round the selected cell, or round the whole
  // palette while no cell is selected, in black and white so that it shows
  // on every colour.
  QRect cell = page_.hasSelection()
                         ? InternetPage::cellRect(page_.selectedColumn(), page_.selectedRow(), width(), height())
                         : rect();
  // On the border lines: a stroked rectangle is one pixel larger than its QRect.
  cell.adjust(0, 0, -1, -1);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 0));
  painter.drawRect(cell);
  painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
  painter.drawRect(cell);
}

void InternetPalette::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  RunCommand(this, [&] { page_.pickCell(pos.x(), pos.y()); });
}

void InternetPalette::keyPressEvent(QKeyEvent* event) {
  // From no selection the first key starts at the top-left cell.
  const int column = std::max(page_.selectedColumn(), 0);
  const int row = std::max(page_.selectedRow(), 0);
  const bool none = !page_.hasSelection();
  int c = column, r = row;
  switch (event->key()) {
    case Qt::Key_Left: c = none ? 0 : column - 1; break;
    case Qt::Key_Right: c = none ? 0 : column + 1; break;
    case Qt::Key_Up: r = none ? 0 : row - 1; break;
    case Qt::Key_Down: r = none ? 0 : row + 1; break;
    case Qt::Key_Home: c = 0; break;
    case Qt::Key_End: c = InternetPage::kColumns - 1; break;
    default:
      QWidget::keyPressEvent(event);  // Enter and Esc go on to the dialog's buttons
      return;
  }
  if (event->modifiers() & ~Qt::KeypadModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  c = std::clamp(c, 0, InternetPage::kColumns - 1);
  r = std::clamp(r, 0, InternetPage::kRows - 1);
  RunCommand(this, [&] {
    if (none || c != column || r != row) page_.selectCell(c, r);
  });
}

void InternetPalette::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  // A screen reader hears the selected cell, not just the palette.
  if (QAccessible::isActive() && page_.hasSelection()) {
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(page_.selectedRow() * InternetPage::kColumns + page_.selectedColumn());
    QAccessible::updateAccessibility(&focus);
  }
}

void InternetPalette::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

InternetPage::InternetPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageInternet, parent) {
  setObjectName(QStringLiteral("tabInternet"));

  panel_ = new QFrame(this);
  panel_->setObjectName(QStringLiteral("pnlInternet"));
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(2);
  panel_->setGeometry(12, 12, 275, 169);

  paintBox_ = new InternetPalette(*this, panel_);
  paintBox_->setGeometry(2, 2, 271, 165);
  paintBox_->setFocusPolicy(Qt::StrongFocus);
  paintBox_->setAccessibleName(QStringLiteral("Web-safe colours"));

  round_ = new QToolButton(this);
  round_->setObjectName(QStringLiteral("sbtRound"));
  round_->setGeometry(300, 12, 23, 24);
  round_->setToolTip(QStringLiteral("Round to nearest color"));
  round_->setIcon(RoundIcon());
  round_->setAutoRaise(true);
  round_->setAccessibleName(QStringLiteral("Round to nearest color"));
  connect(round_, &QToolButton::clicked, this, Guarded(this, &InternetPage::roundToWebColour));

  roundGray_ = new QToolButton(this);
  roundGray_->setObjectName(QStringLiteral("sbtRoundGray"));
  roundGray_->setGeometry(300, 40, 23, 24);
  roundGray_->setToolTip(QStringLiteral("Round to nearest gray"));
  roundGray_->setIcon(RoundGrayIcon());
  roundGray_->setAutoRaise(true);
  roundGray_->setAccessibleName(QStringLiteral("Round to nearest gray"));
  connect(roundGray_, &QToolButton::clicked, this, Guarded(this, &InternetPage::roundToWebGray));
}

QString InternetPage::tabCaption() const { return QStringLiteral("Internet"); }

ColourVector InternetPage::pageColour() const {
  if (hasSelection()) return SplitColour(CellColour(column_, row_));
  return host().currentColour();
}

void InternetPage::showColour(const ColourVector& rgb) {
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      if (!SameVector(SplitColour(CellColour(c, r)), rgb)) continue;
      if (c == column_ && r == row_) return;  // already selected: nothing to do
      column_ = c;
      row_ = r;
      selectionChanged();
      host().updateCurrentColour();
      return;
    }
  }
  // Not web-safe: no cell is marked and the current colour stays as it is.
  if (hasSelection()) {
    column_ = -1;
    row_ = -1;
    selectionChanged();
  }
  host().updateCurrentColour();
}

int InternetPage::hitColumn(int x, int width) {
  int i = 0;
  while (i < kColumns && (width - 1) * i / kColumns <= x) ++i;
  return std::max(i - 1, 0);
}

int InternetPage::hitRow(int y, int height) {
  int i = 0;
  while (i < kRows && (height - 1) * i / kRows <= y) ++i;
  return std::max(i - 1, 0);
}

QRect InternetPage::cellRect(int column, int row, int width, int height) {
  const int x1 = (width - 1) * column / kColumns;
  const int y1 = (height - 1) * row / kRows;
  const int x2 = (width - 1) * (column + 1) / kColumns;
  const int y2 = (height - 1) * (row + 1) / kRows;
  return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

void InternetPage::paintPalette(QPainter& painter, int width, int height) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QPen pen(Qt::black, 0);  // one pixel
  painter.setPen(pen);

  // Frame from (-1, -1) to (W, H), the right and bottom pixels exclusive.
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(-1, -1, width, height);

  // The mark on the selected cell: a disc 4 pixels narrower than the smaller
  // side of a cell's inside (8 pixels at the window's own size, where cells are 14
  // by 12 inside), big enough to be found at a glance on any of the colours
  // while a ring of the cell's own colour stays round it.
  const int markSize = std::max(2, std::min((width - 1) / kColumns, (height - 1) / kRows) - 1 - 4);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const int x1 = (width - 1) * c / kColumns;
      const int y1 = (height - 1) * r / kRows;
      const int x2 = (width - 1) * (c + 1) / kColumns;
      const int y2 = (height - 1) * (r + 1) / kRows;
      const Colour colour = CellColour(c, r);
      // Outline on x1 and x2: neighbouring cells share their border lines.
      painter.setPen(pen);
      painter.setBrush(ToQColour(colour));
      painter.drawRect(x1, y1, x2 - x1, y2 - y1);
      if (c == column_ && r == row_) {
        // Centred inside the border lines x1, x2, y1, y2.
        const int left = x1 + 1 + (x2 - x1 - 1 - markSize) / 2;
        const int top = y1 + 1 + (y2 - y1 - 1 - markSize) / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(MarkIsBlack(colour) ? Qt::black : Qt::white);
        painter.drawEllipse(QRect(left, top, markSize, markSize));
      }
    }
  }
}

void InternetPage::pickCell(int x, int y) {
  selectCell(hitColumn(x, paintBox_->width()), hitRow(y, paintBox_->height()));
}

void InternetPage::selectCell(int column, int row) {
  column_ = std::clamp(column, 0, kColumns - 1);
  row_ = std::clamp(row, 0, kRows - 1);
  selectionChanged();
  host().updateCurrentColour();
}

void InternetPage::selectionChanged() {
  paintBox_->update();
  if (!QAccessible::isActive() || !hasSelection()) return;
  const int cell = row_ * kColumns + column_;
  QAccessibleEvent selection(paintBox_, QAccessible::Selection);
  selection.setChild(cell);
  QAccessible::updateAccessibility(&selection);
  if (paintBox_->hasFocus()) {
    QAccessibleEvent focus(paintBox_, QAccessible::Focus);
    focus.setChild(cell);
    QAccessible::updateAccessibility(&focus);
  }
}

void InternetPage::showNearestCell(const ColourVector& reference) {
  double best = 765;
  bool found = false;
  Colour bestColour = 0;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const double d = WeightedDistance(CellColour(c, r), reference);
      if (d < best) {
        best = d;
        bestColour = CellColour(c, r);
        found = true;
      }
    }
  }
  // Colours within 0-255 always find a cell; anything else leaves the page as it is.
  if (found) showColour(SplitColour(bestColour));
}

void InternetPage::roundToWebColour() { showNearestCell(host().currentColour()); }

void InternetPage::roundToWebGray() {
  const ColourVector hsb = RGBToHSB(host().currentColour());
  showNearestCell(HSBToRGB(MakeHSB(hsb.first, 0, hsb.third)));
}

}  // namespace brenvik
