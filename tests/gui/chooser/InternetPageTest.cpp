// The Internet page: the web-safe grid, its painting, hit testing, and the
// two round buttons.
#include <gtest/gtest.h>

#include <QToolButton>
#include <cstdlib>
#include <set>

#include "ColourTestSupport.h"
#include "FakePlatform.h"

namespace brenvik::test {
namespace {

const int kLevels[] = {0, 51, 102, 153, 204, 255};

TEST(InternetGridTest, EveryWebSafeColourOnceInSixBlocks) {
  std::set<TColor> seen;
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 18; ++c) {
      const TColorVector v = SplitColor(CellColor(c, r));
      // Red is constant in a 6 x 6 block; green grows to the right, blue downwards.
      EXPECT_EQ(v.first, kLevels[(c / 6) * 2 + r / 6]) << c << "," << r;
      EXPECT_EQ(v.second, kLevels[c % 6]) << c << "," << r;
      EXPECT_EQ(v.third, kLevels[r % 6]) << c << "," << r;
      seen.insert(CellColor(c, r));
    }
  }
  EXPECT_EQ(seen.size(), 216u);
  EXPECT_EQ(CellColor(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(CellColor(17, 11), Rgb(255, 255, 255));
  EXPECT_EQ(CellColor(12, 6), Rgb(255, 0, 0));
  EXPECT_EQ(CellColor(2, 9), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(CellColor(8, 2), Rgb(102, 102, 102));
}

TEST(InternetGridTest, WeightedDistanceAndMarkColour) {
  EXPECT_DOUBLE_EQ(WeightedDistance(Rgb(0, 51, 0), MakeRGB(25, 26, 0)), 25.0 * 25 / 255 + 26.0 * 25 / 255);
  EXPECT_DOUBLE_EQ(WeightedDistance(Rgb(255, 255, 255), MakeRGB(0, 0, 0)), 0);  // zero weights
  EXPECT_DOUBLE_EQ(WeightedDistance(Rgb(0, 0, 0), MakeRGB(255, 255, 255)), 765);
  const struct { TColor cell; bool black; } marks[] = {
      {Rgb(255, 255, 255), true}, {Rgb(0, 0, 255), false}, {Rgb(0, 255, 0), true},
      {Rgb(0, 0, 0), false},      {Rgb(153, 0, 153), false},  // 153 + 38.25 = 191.25
      {Rgb(153, 0, 204), true},   {Rgb(102, 51, 204), true},  // 153 + 51 = 204
  };
  for (const auto& m : marks) EXPECT_EQ(MarkIsBlack(m.cell), m.black) << ColorToWebString(m.cell);
}

TEST(InternetGridTest, HitAreasMatchThePaintedCells) {
  // At 271 x 165 every column is 15 pixels wide and rows 13 or 14 high.
  for (int x = 0; x < 271; ++x) EXPECT_EQ(InternetPage::HitColumn(x, 271), std::min(x / 15, 17)) << x;
  int rowStart = 0;
  for (int r = 0; r < 12; ++r) {
    int y = rowStart;
    while (y < 165 && InternetPage::HitRow(y, 165) == r) ++y;
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
  TVazozaDialog dialog;
  InternetPageTest() {
    dialog.SetVisiblePages(PageBit(pageInternet));
    dialog.SetActivePage(pageInternet);
  }
};

TEST_F(InternetPageTest, OpensWithTheMatchingCellSelected) {
  const struct { TColor colour; int column, row; } cases[] = {
      {Rgb(0, 0, 0), 0, 0},        {Rgb(255, 255, 255), 17, 11}, {Rgb(255, 0, 0), 12, 6},
      {Rgb(0x33, 0x66, 0x99), 2, 9}, {Rgb(100, 100, 100), -1, -1}, {0xFF000000u | Rgb(255, 0, 0), 12, 6},
  };
  for (const auto& c : cases) {
    dialog.SetColor(c.colour);
    int column = -2, row = -2;
    TColor swatch = 1;
    WhenShown([&](TfrmVazozaDialog& form) {
      column = Internet(form)->SelectedColumn();
      row = Internet(form)->SelectedRow();
      swatch = form.CurrentSwatchColor();
    }, false);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(column, c.column) << ColorToWebString(c.colour);
    EXPECT_EQ(row, c.row) << ColorToWebString(c.colour);
    EXPECT_EQ(swatch, c.colour & 0xFFFFFF) << ColorToWebString(c.colour);
  }
}

TEST_F(InternetPageTest, RoundButtonsMoveToTheNearestWebSafeColourOrGray) {
  const struct { TColor start; const char* button; TColor result; int column, row; } cases[] = {
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
    dialog.SetColor(c.start);
    int column = -2, row = -2;
    TColor live = 1;
    WhenShown([&](TfrmVazozaDialog& form) {
      auto* button = Find<QToolButton>(&form, QString::fromLatin1(c.button));
      button->click();
      column = Internet(form)->SelectedColumn();
      row = Internet(form)->SelectedRow();
      live = dialog.Color();  // the component follows the window
    }, true);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), c.result) << c.button << " " << ColorToWebString(c.start);
    EXPECT_EQ(live, c.result);
    EXPECT_EQ(std::make_pair(column, row), std::make_pair(c.column, c.row)) << ColorToWebString(c.start);
  }
}

TEST_F(InternetPageTest, RoundButtonsHaveTheirHints) {
  WhenShown([&](TfrmVazozaDialog& form) {
    auto* round = Find<QToolButton>(&form, QStringLiteral("sbtRound"));
    auto* gray = Find<QToolButton>(&form, QStringLiteral("sbtRoundGray"));
    EXPECT_EQ(round->toolTip(), QStringLiteral("Round to nearest color"));
    EXPECT_EQ(gray->toolTip(), QStringLiteral("Round to nearest gray"));
    EXPECT_EQ(round->size(), QSize(23, 24));
    EXPECT_FALSE(round->icon().isNull());
  }, false);
  dialog.Execute();
}

TEST_F(InternetPageTest, AClickSelectsTheCellUnderThePointer) {
  const std::pair<int, int> cells[] = {{0, 0}, {17, 11}, {5, 5}, {6, 6}, {12, 6}, {2, 9}, {17, 0}, {0, 11}};
  WhenShown([&](TfrmVazozaDialog& form) {
    QWidget* box = Internet(form)->PaintBox();
    ASSERT_EQ(box->size(), QSize(271, 165));
    ASSERT_EQ(box->objectName(), QStringLiteral("pntInternet"));
    for (const auto& [c, r] : cells) {
      Click(box, CellCentre(c, r, 271, 165));
      EXPECT_EQ(Internet(form)->SelectedColumn(), c);
      EXPECT_EQ(Internet(form)->SelectedRow(), r);
      EXPECT_EQ(form.CurrentSwatchColor(), CellColor(c, r));
      EXPECT_EQ(dialog.Color(), CellColor(c, r));
    }
    // The first pixel of a cell belongs to it, the one before to its neighbour.
    Click(box, QPoint(30, 27));
    EXPECT_EQ(std::make_pair(Internet(form)->SelectedColumn(), Internet(form)->SelectedRow()), std::make_pair(2, 2));
    Click(box, QPoint(29, 26));
    EXPECT_EQ(std::make_pair(Internet(form)->SelectedColumn(), Internet(form)->SelectedRow()), std::make_pair(1, 1));
  }, true);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), CellColor(1, 1));
}

TEST_F(InternetPageTest, PaintsEveryCellAndTheMarkInTheRightColours) {
  const struct { TColor colour; QColor mark; } cases[] = {
      {Rgb(255, 255, 255), Qt::black}, {Rgb(0, 0, 255), Qt::white},
      {Rgb(0, 255, 0), Qt::black},     {Rgb(0x33, 0x66, 0x99), Qt::white},
  };
  for (const auto& c : cases) {
    dialog.SetColor(c.colour);
    QImage image;
    int column = -1, row = -1;
    WhenShown([&](TfrmVazozaDialog& form) {
      column = Internet(form)->SelectedColumn();
      row = Internet(form)->SelectedRow();
      image = Internet(form)->PaintBox()->grab().toImage();
      if (c.colour == Rgb(0x33, 0x66, 0x99)) SaveShot(&form, QStringLiteral("vazoza-internet.png"));
    }, false);
    dialog.Execute();
    ASSERT_EQ(image.size(), QSize(271, 165));
    for (int r = 0; r < 12; ++r) {
      for (int cc = 0; cc < 18; ++cc) {
        const int x1 = 270 * cc / 18, x2 = 270 * (cc + 1) / 18;
        const int y1 = 164 * r / 12, y2 = 164 * (r + 1) / 12;
        // Black border lines shared by neighbours.
        EXPECT_EQ(FromQColor(image.pixelColor(x1, (y1 + y2) / 2)), 0u) << cc << "," << r;
        EXPECT_EQ(FromQColor(image.pixelColor((x1 + x2) / 2, y1)), 0u) << cc << "," << r;
        // Inside, near a corner (clear of the mark): the cell's own colour.
        EXPECT_EQ(FromQColor(image.pixelColor(x1 + 2, y1 + 2)), CellColor(cc, r)) << cc << "," << r;
      }
    }
    // The mark sits in the middle of the selected cell.
    const QPoint centre = CellCentre(column, row, 271, 165);
    EXPECT_EQ(image.pixelColor(centre), c.mark) << ColorToWebString(c.colour);
  }
}

TEST_F(InternetPageTest, TheMarkIsASolidBlotOnEveryColour) {
  // On each of the 216 cells the mark covers a solid, centred block of at
  // least 40 pixels of a quarter or more of the cell's inside, all in the
  // mark's colour, while the cell's own colour still shows round it.
  int smallest = 1000;
  WhenShown([&](TfrmVazozaDialog& form) {
    InternetPage* page = Internet(form);
    for (int r = 0; r < 12; ++r) {
      for (int c = 0; c < 18; ++c) {
        const QPoint centre = CellCentre(c, r, 271, 165);
        page->pntInternetMouseDown(centre.x(), centre.y());
        ASSERT_EQ(std::make_pair(page->SelectedColumn(), page->SelectedRow()), std::make_pair(c, r));
        const QImage image = page->PaintBox()->grab().toImage();
        const TColor mark = MarkIsBlack(CellColor(c, r)) ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
        const int x1 = 270 * c / 18, x2 = 270 * (c + 1) / 18;
        const int y1 = 164 * r / 12, y2 = 164 * (r + 1) / 12;
        int count = 0, cellColoured = 0;
        QRect box;
        for (int y = y1 + 1; y < y2; ++y) {
          for (int x = x1 + 1; x < x2; ++x) {
            const TColor pixel = FromQColor(image.pixelColor(x, y));
            if (pixel == mark) {
              ++count;
              box |= QRect(x, y, 1, 1);
            }
            cellColoured += pixel == CellColor(c, r);
          }
        }
        smallest = std::min(smallest, count);
        EXPECT_GE(count, 40) << ColorToWebString(CellColor(c, r));
        // Solid: the mark fills most of its bounding box, which is at least 7 by 7.
        EXPECT_GE(box.width(), 7) << ColorToWebString(CellColor(c, r));
        EXPECT_GE(box.height(), 7) << ColorToWebString(CellColor(c, r));
        EXPECT_GE(count * 4, box.width() * box.height() * 3) << ColorToWebString(CellColor(c, r));
        EXPECT_LE(std::abs(box.center().x() - (x1 + x2) / 2), 1) << ColorToWebString(CellColor(c, r));
        EXPECT_LE(std::abs(box.center().y() - (y1 + y2) / 2), 1) << ColorToWebString(CellColor(c, r));
        EXPECT_GE(cellColoured, 60) << ColorToWebString(CellColor(c, r));
      }
    }
  }, false);
  dialog.Execute();
  EXPECT_GE(smallest, 40);
}

}  // namespace
}  // namespace brenvik::test
