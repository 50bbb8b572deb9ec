// The Internet page: the web-safe grid, its painting, hit testing, and the
// two round buttons.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QToolButton>
#include <cstdlib>
#include <set>

#include "ColourTestSupport.h"
#include "FakePlatform.h"

namespace brenvik::test {
namespace {

const int kLevels[] = {0, 51, 102, 153, 204, 255};

TEST(InternetGridTest, EveryWebSafeColourOnceInSixBlocks) {
  std::set<Colour> seen;
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 18; ++c) {
      const ColourVector v = SplitColour(CellColour(c, r));
      // Red is constant in a 6 x 6 block; green grows to the right, blue downwards.
      EXPECT_EQ(v.first, kLevels[(c / 6) * 2 + r / 6]) << c << "," << r;
      EXPECT_EQ(v.second, kLevels[c % 6]) << c << "," << r;
      EXPECT_EQ(v.third, kLevels[r % 6]) << c << "," << r;
      seen.insert(CellColour(c, r));
    }
  }
  EXPECT_EQ(seen.size(), 216u);
  EXPECT_EQ(CellColour(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(CellColour(17, 11), Rgb(255, 255, 255));
  EXPECT_EQ(CellColour(12, 6), Rgb(255, 0, 0));
  EXPECT_EQ(CellColour(2, 9), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(CellColour(8, 2), Rgb(102, 102, 102));
}

TEST(InternetGridTest, WeightedDistanceAndMarkColour) {
  EXPECT_DOUBLE_EQ(WeightedDistance(Rgb(0, 51, 0), MakeRGB(25, 26, 0)), 25.0 * 25 / 255 + 26.0 * 25 / 255);
  EXPECT_DOUBLE_EQ(WeightedDistance(Rgb(255, 255, 255), MakeRGB(0, 0, 0)), 0);  // zero weights
  EXPECT_DOUBLE_EQ(WeightedDistance(Rgb(0, 0, 0), MakeRGB(255, 255, 255)), 765);
  const struct { Colour cell; bool black; } marks[] = {
      {Rgb(255, 255, 255), true}, {Rgb(0, 0, 255), false}, {Rgb(0, 255, 0), true},
      {Rgb(0, 0, 0), false},      {Rgb(153, 0, 153), false},  // 153 + 38.25 = 191.25
      {Rgb(153, 0, 204), true},   {Rgb(102, 51, 204), true},  // 153 + 51 = 204
  };
  for (const auto& m : marks) EXPECT_EQ(MarkIsBlack(m.cell), m.black) << ColourToWebString(m.cell);
}

TEST(InternetGridTest, HitAreasMatchThePaintedCells) {
  // At 271 x 165 every column is 15 pixels wide and rows 13 or 14 high.
  for (int x = 0; x < 271; ++x) EXPECT_EQ(InternetPage::hitColumn(x, 271), std::min(x / 15, 17)) << x;
  int rowStart = 0;
  for (int r = 0; r < 12; ++r) {
    int y = rowStart;
    while (y < 165 && InternetPage::hitRow(y, 165) == r) ++y;
    const int height = y - rowStart;
    EXPECT_TRUE(height == 13 || height == 14 || (r == 11 && height == 15)) << r << " " << height;
    EXPECT_EQ(rowStart, 164 * r / 12) << r;
    rowStart = y;
  }
  EXPECT_EQ(rowStart, 165);
}

class InternetPageTest : public ::testing::Test {
 protected:
  ScopedFakePlatform fake;
  ColourChooser dialog;
  InternetPageTest() {
    dialog.setVisiblePages(PageBit(pageInternet));
    dialog.setActivePage(pageInternet);
  }
};

TEST_F(InternetPageTest, OpensWithTheMatchingCellSelected) {
  const struct { Colour colour; int column, row; } cases[] = {
      {Rgb(0, 0, 0), 0, 0},        {Rgb(255, 255, 255), 17, 11}, {Rgb(255, 0, 0), 12, 6},
      {Rgb(0x33, 0x66, 0x99), 2, 9}, {Rgb(100, 100, 100), -1, -1}, {0xFF000000u | Rgb(255, 0, 0), 12, 6},
  };
  for (const auto& c : cases) {
    dialog.setColour(c.colour);
    int column = -2, row = -2;
    Colour swatch = 1;
    WhenShown([&](ColourChooserWindow& form) {
      column = Internet(form)->selectedColumn();
      row = Internet(form)->selectedRow();
      swatch = form.currentSwatchColour();
    }, false);
    EXPECT_FALSE(dialog.execute());
    EXPECT_EQ(column, c.column) << ColourToWebString(c.colour);
    EXPECT_EQ(row, c.row) << ColourToWebString(c.colour);
    EXPECT_EQ(swatch, c.colour & 0xFFFFFF) << ColourToWebString(c.colour);
  }
}

TEST_F(InternetPageTest, RoundButtonsMoveToTheNearestWebSafeColourOrGray) {
  const struct { Colour start; const char* button; Colour result; int column, row; } cases[] = {
      {Rgb(100, 100, 100), "sbtRound", Rgb(102, 102, 102), 8, 2},
      {Rgb(25, 26, 0), "sbtRound", Rgb(0, 51, 0), 1, 0},
      {Rgb(230, 128, 77), "sbtRound", Rgb(255, 153, 102), 15, 8},
      {Rgb(0x33, 0x66, 0x99), "sbtRound", Rgb(0x33, 0x66, 0x99), 2, 9},
      {Rgb(200, 10, 10), "sbtRoundGray", Rgb(204, 204, 204), 16, 4},
      {Rgb(0, 0, 0), "sbtRoundGray", Rgb(0, 0, 0), 0, 0},
      {Rgb(255, 255, 255), "sbtRoundGray", Rgb(255, 255, 255), 17, 11},
      {Rgb(20, 120, 30), "sbtRoundGray", Rgb(102, 102, 102), 8, 2},  // v = 120: 102 is nearer than 153
      {Rgb(127, 0, 0), "sbtRoundGray", Rgb(102, 102, 102), 8, 2},
      {Rgb(128, 0, 0), "sbtRoundGray", Rgb(153, 153, 153), 9, 9},
  };
  for (const auto& c : cases) {
    dialog.setColour(c.start);
    int column = -2, row = -2;
    Colour live = 1;
    WhenShown([&](ColourChooserWindow& form) {
      auto* button = Find<QToolButton>(&form, QString::fromLatin1(c.button));
      button->click();
      column = Internet(form)->selectedColumn();
      row = Internet(form)->selectedRow();
      live = dialog.colour();  // the component follows the window
    }, true);
    EXPECT_TRUE(dialog.execute());
    EXPECT_EQ(dialog.colour(), c.result) << c.button << " " << ColourToWebString(c.start);
    EXPECT_EQ(live, c.result);
    EXPECT_EQ(std::make_pair(column, row), std::make_pair(c.column, c.row)) << ColourToWebString(c.start);
  }
}

TEST_F(InternetPageTest, RoundButtonsHaveTheirHints) {
  WhenShown([&](ColourChooserWindow& form) {
    auto* round = Find<QToolButton>(&form, QStringLiteral("sbtRound"));
    auto* gray = Find<QToolButton>(&form, QStringLiteral("sbtRoundGray"));
    EXPECT_EQ(round->toolTip(), QStringLiteral("Round to nearest color"));
    EXPECT_EQ(gray->toolTip(), QStringLiteral("Round to nearest gray"));
    EXPECT_EQ(round->size(), QSize(23, 24));
    EXPECT_FALSE(round->icon().isNull());
  }, false);
  dialog.execute();
}

TEST_F(InternetPageTest, AClickSelectsTheCellUnderThePointer) {
  const std::pair<int, int> cells[] = {{0, 0}, {17, 11}, {5, 5}, {6, 6}, {12, 6}, {2, 9}, {17, 0}, {0, 11}};
  WhenShown([&](ColourChooserWindow& form) {
    QWidget* box = Internet(form)->paletteBox();
    ASSERT_EQ(box->size(), QSize(271, 165));
    ASSERT_EQ(box->objectName(), QStringLiteral("pntInternet"));
    for (const auto& [c, r] : cells) {
      Click(box, CellCentre(c, r, 271, 165));
      EXPECT_EQ(Internet(form)->selectedColumn(), c);
      EXPECT_EQ(Internet(form)->selectedRow(), r);
      EXPECT_EQ(form.currentSwatchColour(), CellColour(c, r));
      EXPECT_EQ(dialog.colour(), CellColour(c, r));
    }
    // The first pixel of a cell belongs to it, the one before to its neighbour.
    Click(box, QPoint(30, 27));
    EXPECT_EQ(std::make_pair(Internet(form)->selectedColumn(), Internet(form)->selectedRow()), std::make_pair(2, 2));
    Click(box, QPoint(29, 26));
    EXPECT_EQ(std::make_pair(Internet(form)->selectedColumn(), Internet(form)->selectedRow()), std::make_pair(1, 1));
  }, true);
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.colour(), CellColour(1, 1));
}

TEST_F(InternetPageTest, AScreenReaderFindsEveryCellByItsColourAndPicksOne) {
  WhenShown([&](ColourChooserWindow& form) {
    QAccessibleInterface* palette = QAccessible::queryAccessibleInterface(Internet(form)->paletteBox());
    ASSERT_EQ(palette->role(), QAccessible::List);
    ASSERT_EQ(palette->childCount(), 216);
    for (int i = 0; i < 216; ++i) {
      QAccessibleInterface* cell = palette->child(i);
      ASSERT_NE(cell, nullptr) << i;
      EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), ColourToWebString(CellColour(i % 18, i / 18))) << i;
      EXPECT_EQ(palette->indexOfChild(cell), i);
      // The cell lies where it is painted.
      EXPECT_EQ(palette->childAt(cell->rect().center().x(), cell->rect().center().y()), cell) << i;
    }
    // The press action picks the cell, as a click does.
    QAccessibleInterface* red = palette->child(6 * 18 + 12);
    EXPECT_FALSE(red->state().selected);
    red->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(red->state().selected);
  }, true);
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.webColour(), QStringLiteral("#FF0000"));
}

TEST_F(InternetPageTest, ArrowKeysMoveTheSelectionAndStopAtTheEdges) {
  const struct { Colour start; std::vector<int> keys; int column, row; } cases[] = {
      {Rgb(0, 0, 0), {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down}, 2, 1},
      {Rgb(0, 0, 0), {Qt::Key_Left, Qt::Key_Up}, 0, 0},                  // stays in the grid
      {Rgb(255, 255, 255), {Qt::Key_Right, Qt::Key_Down}, 17, 11},
      {Rgb(255, 0, 0), {Qt::Key_Home}, 0, 6},
      {Rgb(255, 0, 0), {Qt::Key_End, Qt::Key_Up}, 17, 5},
      {Rgb(100, 100, 100), {Qt::Key_Down}, 0, 0},  // no cell selected: the first key starts at the top left
  };
  for (const auto& c : cases) {
    dialog.setColour(c.start);
    WhenShown([&](ColourChooserWindow& form) {
      for (int key : c.keys) KeyClick(Internet(form)->paletteBox(), key);
    }, true);
    EXPECT_TRUE(dialog.execute());
    EXPECT_EQ(dialog.colour(), CellColour(c.column, c.row)) << ColourToWebString(c.start);
  }
}

TEST_F(InternetPageTest, PaintsEveryCellAndTheMarkInTheRightColours) {
  const struct { Colour colour; QColor mark; } cases[] = {
      {Rgb(255, 255, 255), Qt::black}, {Rgb(0, 0, 255), Qt::white},
      {Rgb(0, 255, 0), Qt::black},     {Rgb(0x33, 0x66, 0x99), Qt::white},
  };
  for (const auto& c : cases) {
    dialog.setColour(c.colour);
    QImage image;
    int column = -1, row = -1;
    WhenShown([&](ColourChooserWindow& form) {
      column = Internet(form)->selectedColumn();
      row = Internet(form)->selectedRow();
      image = Internet(form)->paletteBox()->grab().toImage();
      if (c.colour == Rgb(0x33, 0x66, 0x99)) SaveShot(&form, QStringLiteral("chooser-internet.png"));
    }, false);
    dialog.execute();
    ASSERT_EQ(image.size(), QSize(271, 165));
    for (int r = 0; r < 12; ++r) {
      for (int cc = 0; cc < 18; ++cc) {
        const int x1 = 270 * cc / 18, x2 = 270 * (cc + 1) / 18;
        const int y1 = 164 * r / 12, y2 = 164 * (r + 1) / 12;
        // Black border lines shared by neighbours.
        EXPECT_EQ(FromQColour(image.pixelColor(x1, (y1 + y2) / 2)), 0u) << cc << "," << r;
        EXPECT_EQ(FromQColour(image.pixelColor((x1 + x2) / 2, y1)), 0u) << cc << "," << r;
        // Inside, near a corner (clear of the mark): the cell's own colour.
        EXPECT_EQ(FromQColour(image.pixelColor(x1 + 2, y1 + 2)), CellColour(cc, r)) << cc << "," << r;
      }
    }
    // The mark sits in the middle of the selected cell.
    const QPoint centre = CellCentre(column, row, 271, 165);
    EXPECT_EQ(image.pixelColor(centre), c.mark) << ColourToWebString(c.colour);
  }
}

TEST_F(InternetPageTest, TheMarkIsASolidBlotOnEveryColour) {
  // On each of the 216 cells the mark covers a solid, centred block of at
  // least 40 pixels of a quarter or more of the cell's inside, all in the
  // mark's colour, while the cell's own colour still shows round it.
  int smallest = 1000;
  WhenShown([&](ColourChooserWindow& form) {
    InternetPage* page = Internet(form);
    for (int r = 0; r < 12; ++r) {
      for (int c = 0; c < 18; ++c) {
        const QPoint centre = CellCentre(c, r, 271, 165);
        page->pickCell(centre.x(), centre.y());
        ASSERT_EQ(std::make_pair(page->selectedColumn(), page->selectedRow()), std::make_pair(c, r));
        const QImage image = page->paletteBox()->grab().toImage();
        const Colour mark = MarkIsBlack(CellColour(c, r)) ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
        const int x1 = 270 * c / 18, x2 = 270 * (c + 1) / 18;
        const int y1 = 164 * r / 12, y2 = 164 * (r + 1) / 12;
        int count = 0, cellColoured = 0;
        QRect box;
        for (int y = y1 + 1; y < y2; ++y) {
          for (int x = x1 + 1; x < x2; ++x) {
            const Colour pixel = FromQColour(image.pixelColor(x, y));
            if (pixel == mark) {
              ++count;
              box |= QRect(x, y, 1, 1);
            }
            cellColoured += pixel == CellColour(c, r);
          }
        }
        smallest = std::min(smallest, count);
        EXPECT_GE(count, 40) << ColourToWebString(CellColour(c, r));
        // Solid: the mark fills most of its bounding box, which is at least 7 by 7.
        EXPECT_GE(box.width(), 7) << ColourToWebString(CellColour(c, r));
        EXPECT_GE(box.height(), 7) << ColourToWebString(CellColour(c, r));
        EXPECT_GE(count * 4, box.width() * box.height() * 3) << ColourToWebString(CellColour(c, r));
        EXPECT_LE(std::abs(box.center().x() - (x1 + x2) / 2), 1) << ColourToWebString(CellColour(c, r));
        EXPECT_LE(std::abs(box.center().y() - (y1 + y2) / 2), 1) << ColourToWebString(CellColour(c, r));
        EXPECT_GE(cellColoured, 60) << ColourToWebString(CellColour(c, r));
      }
    }
  }, false);
  dialog.execute();
  EXPECT_GE(smallest, 40);
}

}  // namespace
}  // namespace brenvik::test
