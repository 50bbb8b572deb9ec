// The VGA and Windows pages: palette boxes with the selection mark, and the
// owner-drawn list of system colours.

#include <QListWidget>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "GuiTestSupport.h"
#include "PagesTestSupport.h"
#include "ui/chooser/ColourStrips.h"
#include "ui/chooser/VgaPage.h"
#include "ui/chooser/SystemColoursPage.h"

namespace brenvik::test {
namespace {

const char* const kNames[16] = {"Black", "Maroon", "Green", "Olive", "Navy",    "Purple", "Teal", "Silver",
                                "Gray",  "Red",    "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};

std::vector<int> Marked(const VgaPage& page) {
  std::vector<int> v;
  for (int i = 0; i < 16; ++i)
    if (page.box(i)->marked()) v.push_back(i);
  return v;
}

class PalettePages : public testing::Test {
 protected:
  ScopedFakePlatform fake;
};

TEST_F(PalettePages, VGABoxesInTwoRowsOfEight) {
  Hosted<VgaPage> t;
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(t.page->box(i)->toolTip(), QString::fromLatin1(kNames[i]));
    EXPECT_EQ(t.page->box(i)->geometry(), QRect(36 + (i % 8) * 32, 66 + (i / 8) * 32, 32, 32)) << i;
  }
  EXPECT_EQ(t.page->box(1)->color(), RGBToColour(MakeRGB(128, 0, 0)));
  EXPECT_EQ(t.page->box(7)->color(), RGBToColour(MakeRGB(192, 192, 192)));
  EXPECT_EQ(t.page->box(13)->color(), RGBToColour(MakeRGB(255, 0, 255)));
  // Black carries the mark when the page is new.
  EXPECT_EQ(Marked(*t.page), std::vector<int>{0});
  EXPECT_EQ(t.page->pageColour(), MakeRGB(0, 0, 0));
}

TEST_F(PalettePages, VGAShowColorMarksBoxesWithinOne) {
  const struct {
    ColourVector shown;
    std::vector<int> marked;
    ColourVector currentAfter;
  } cases[] = {
      {MakeRGB(127, 0, 0), {1}, MakeRGB(128, 0, 0)},
      {MakeRGB(126, 0, 0), {}, MakeRGB(126, 0, 0)},
      {MakeRGB(129, 1, 0.5), {1}, MakeRGB(128, 0, 0)},
      {MakeRGB(191, 193, 192), {7}, MakeRGB(192, 192, 192)},
      {MakeRGB(128, 128, 128), {8}, MakeRGB(128, 128, 128)},
      {MakeRGB(254, 255, 255), {15}, MakeRGB(255, 255, 255)},
      {MakeRGB(0, 0, 255), {12}, MakeRGB(0, 0, 255)},
      {MakeRGB(1.5, 0, 0), {}, MakeRGB(1.5, 0, 0)},
  };
  for (const auto& c : cases) {
    Hosted<VgaPage> t;
    t.host.SetCurrent(c.shown);  // as the dialog does before showing a colour
    t.page->showColour(c.shown);
    EXPECT_EQ(Marked(*t.page), c.marked);
    EXPECT_EQ(t.host.current, c.currentAfter);
  }
}

TEST_F(PalettePages, VGAClickMarksOneBox) {
  Hosted<VgaPage> t;
  Click(t.page->box(11), QPoint(16, 16));
  EXPECT_EQ(Marked(*t.page), std::vector<int>{11});
  EXPECT_EQ(t.host.current, MakeRGB(255, 255, 0));
  EXPECT_EQ(t.host.updates, 1);
  // A press that is released outside the box is no click.
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(t.page->box(4), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(50, 5), QPointF(50, 5), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(t.page->box(4), &release);
  EXPECT_EQ(Marked(*t.page), std::vector<int>{11});
}

TEST_F(PalettePages, VGAMarkColours) {
  fake->systemColors[8] = QColor(10, 200, 30);  // window text
  Hosted<VgaPage> t;
  const struct {
    int box;
    QRgb mark;
  } cases[] = {{0, qRgb(255, 255, 255)}, {1, qRgb(255, 255, 255)}, {7, qRgb(10, 200, 30)},
               {9, qRgb(10, 200, 30)},   {12, qRgb(0, 0, 0)},       {15, qRgb(10, 200, 30)}};
  for (const auto& c : cases) {
    t.page->boxClicked(c.box);
    const QImage image = t.page->grab().toImage();
    VgaBox* box = t.page->box(c.box);
    EXPECT_EQ(image.pixel(box->geometry().center()), c.mark) << kNames[c.box];
    // Away from the mark the box shows its colour.
    EXPECT_EQ(image.pixel(box->geometry().topLeft() + QPoint(2, 2)), ToQColour(box->color()).rgb());
  }
}

TEST_F(PalettePages, WindowsListEntries) {
  Hosted<SystemColoursPage> t;
  QListWidget* list = t.page->list();
  ASSERT_EQ(list->count(), 25);
  EXPECT_EQ(list->geometry(), QRect(8, 12, 317, 173));
  const struct {
    int entry;
    const char* text;
    int index;
  } cases[] = {{0, "Dark shadow for 3D display elements", 21},
               {8, "Desktop", 1},
               {10, "Text in caption, size box, and scroll bar arrow box", 9},
               {12, "Item(s) selected in a control", 13},
               {17, "Background color for tooltip controls", 24},
               {21, "Scroll bar gray area", 0},
               {24, "Text in windows", 8}};
  for (const auto& c : cases) {
    EXPECT_EQ(list->item(c.entry)->text(), QString::fromLatin1(c.text));
    EXPECT_EQ(t.page->systemColourIndex(c.entry), c.index);
  }
  EXPECT_EQ(t.page->systemColourIndex(25), 0);
  EXPECT_EQ(t.page->systemColourIndex(-1), 0);
  EXPECT_EQ(list->visualItemRect(list->item(3)).height(), 13);
}

TEST_F(PalettePages, WindowsKeepsOrTakesTheCurrentColour) {
  Hosted<SystemColoursPage> t;
  t.host.SetCurrent(MakeRGB(12.5, 40, 99));
  t.page->showColour(t.host.current);
  EXPECT_EQ(t.host.current, MakeRGB(12.5, 40, 99));

  fake->systemColors[1] = QColor(1, 2, 3);
  t.page->list()->setCurrentRow(8);  // "Desktop"
  EXPECT_EQ(t.host.current, MakeRGB(1, 2, 3));

  // The system reports new colours: the selected entry gives the new one.
  fake->systemColors[1] = QColor(4, 5, 6);
  t.page->systemColoursChanged();
  t.host.updateCurrentColour();
  EXPECT_EQ(t.host.current, MakeRGB(4, 5, 6));

  // Showing a colour scrolls to the top and clears the selection; the colour stays.
  t.page->list()->scrollToBottom();
  t.page->showColour(t.host.current);
  EXPECT_TRUE(t.page->list()->selectedItems().isEmpty());
  EXPECT_EQ(t.page->list()->verticalScrollBar()->value(), 0);
  EXPECT_EQ(t.host.current, MakeRGB(4, 5, 6));
}

TEST_F(PalettePages, WindowsSwatchesShowTheSystemColours) {
  for (int i = 0; i < 25; ++i) fake->systemColors[i] = QColor(i * 9, 100, 255 - i * 9);
  Hosted<SystemColoursPage> t;
  t.page->show();
  Pump();
  QListWidget* list = t.page->list();
  const QImage image = list->viewport()->grab().toImage();
  for (int entry : {0, 1, 8, 12}) {
    const QRect r = list->visualItemRect(list->item(entry));
    const int index = t.page->systemColourIndex(entry);
    // Inside the swatch outline: from (left + 3, top + 3).
    EXPECT_EQ(image.pixel(r.left() + 3, r.top() + 3), fake->systemColors[index].rgb()) << entry;
    EXPECT_EQ(image.pixel(r.left() + 13, r.top() + 9), fake->systemColors[index].rgb()) << entry;
  }
}

}  // namespace
}  // namespace brenvik::test
