// The channel group every slider page shares: number box, spin, slider and
// strip, checked on each channel of each slider page.

#include <QLabel>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "PagesTestSupport.h"
#include "ui/chooser/CmyPages.h"
#include "ui/chooser/GrayPage.h"
#include "ui/chooser/HsbPage.h"
#include "ui/chooser/RgbPage.h"

namespace brenvik::test {
namespace {

struct PageUnderTest {
  std::unique_ptr<FakeHost> host = std::make_unique<FakeHost>();
  std::unique_ptr<ChooserPage> page;
  std::vector<ChannelGroup*> channels;
};

PageUnderTest Make(ChooserPageId which) {
  PageUnderTest t;
  FakeHost& h = *t.host;
  switch (which) {
    case pageHSB: {
      auto* p = new HsbPage(h);
      t.channels = {p->hue(), p->saturation(), p->brightness()};
      t.page.reset(p);
      break;
    }
    case pageRGB: {
      auto* p = new RgbPage(h);
      t.channels = {p->channel(1), p->channel(2), p->channel(3)};
      t.page.reset(p);
      break;
    }
    case pageCMY: {
      auto* p = new CmyPage(h);
      t.channels = {p->channel(1), p->channel(2), p->channel(3)};
      t.page.reset(p);
      break;
    }
    case pageCMYK: {
      auto* p = new CmykPage(h);
      t.channels = {p->channel(1), p->channel(2), p->channel(3), p->channel(4)};
      t.page.reset(p);
      break;
    }
    default: {
      auto* p = new GrayPage(h);
      t.channels = {p->level()};
      t.page.reset(p);
      break;
    }
  }
  h.page = t.page.get();
  t.page->resize(337, 197);
  return t;
}

struct ChannelCase {
  ChooserPageId page;
  int channel;        // index in the page's channel list
  const char* label;  // the label's text
  int maximum;
  int labelTop;       // the group's rows follow from the label's top
  int at118;          // slider position after a click at x = 118 on the 237-pixel strip
  int at236;          // ... and at the rightmost pixel
};

const ChannelCase kChannels[] = {
    {pageHSB, 0, "&Hue", 359, 24, 178, 357},
    {pageHSB, 1, "&Saturation", 100, 72, 50, 100},
    {pageHSB, 2, "&Brightness", 100, 120, 50, 100},
    {pageRGB, 0, "&Red", 255, 24, 126, 253},
    {pageRGB, 1, "&Green", 255, 72, 126, 253},
    {pageRGB, 2, "&Blue", 255, 120, 126, 253},
    {pageCMY, 0, "&Cyan", 255, 24, 126, 253},
    {pageCMY, 1, "&Magenta", 255, 72, 126, 253},
    {pageCMY, 2, "&Yellow", 255, 120, 126, 253},
    {pageCMYK, 0, "&Cyan", 100, 4, 49, 99},
    {pageCMYK, 1, "&Magenta", 100, 52, 49, 99},
    {pageCMYK, 2, "&Yellow", 100, 100, 49, 99},
    {pageCMYK, 3, "Blac&k", 100, 148, 49, 99},
    {pageGray, 0, "&Brigtness", 255, 72, 126, 253},
};

class Channels : public testing::TestWithParam<ChannelCase> {
 protected:
  ScopedFakePlatform fake;
};

std::string CaseName(const testing::TestParamInfo<ChannelCase>& info) {
  std::string name = QStringLiteral("page%1_%2").arg(info.param.page).arg(info.param.channel).toStdString();
  return name;
}

TEST_P(Channels, LayoutAndRange) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  ChannelGroup* g = t.channels[c.channel];
  EXPECT_EQ(g->label()->text(), QString::fromLatin1(c.label));
  EXPECT_EQ(g->label()->buddy(), g->numberBox());
  EXPECT_EQ(g->label()->y(), c.labelTop);
  EXPECT_EQ(g->panel()->geometry(), QRect(80, c.labelTop + 4, 241, 17));
  EXPECT_EQ(g->strip()->size(), QSize(237, 13));
  EXPECT_EQ(g->slider()->geometry(), QRect(72, c.labelTop + 24, 257, 21));
  EXPECT_EQ(g->numberBox()->geometry(), QRect(8, c.labelTop + 16, 41, 21));
  EXPECT_EQ(g->spin()->geometry(), QRect(48, c.labelTop + 16, 15, 21));
  EXPECT_EQ(g->slider()->tickPosition(), QSlider::NoTicks);
  EXPECT_EQ(g->slider()->minimum(), 0);
  EXPECT_EQ(g->slider()->maximum(), c.maximum);
  EXPECT_EQ(g->numberBox()->maxLength(), 3);
  EXPECT_EQ(g->numberBox()->text(), QStringLiteral("0"));
  EXPECT_EQ(g->strip()->cursor().shape(), Qt::CrossCursor);
}

TEST_P(Channels, TypedValueIsClampedAndRewrittenOnLeaving) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  ChannelGroup* g = t.channels[c.channel];
  const int updatesBefore = t.host->updates;
  Retype(g->numberBox(), QStringLiteral("300"));
  const int expected = std::min(300, c.maximum);
  EXPECT_EQ(g->position(), expected);
  EXPECT_GT(t.host->updates, updatesBefore);
  EXPECT_TRUE(SameVector(t.host->current, t.page->pageColour()));
  LeaveBox(g->numberBox());
  EXPECT_EQ(g->numberBox()->text(), QString::number(expected));
  EXPECT_EQ(g->spin()->position(), expected);
}

TEST_P(Channels, EmptiedBoxMeansZeroAndReadsZeroOnLeaving) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  ChannelGroup* g = t.channels[c.channel];
  Retype(g->numberBox(), QStringLiteral("42"));
  ASSERT_EQ(g->position(), 42);
  Retype(g->numberBox(), QString());
  EXPECT_EQ(g->position(), 0);
  EXPECT_TRUE(SameVector(t.host->current, t.page->pageColour()));
  LeaveBox(g->numberBox());
  EXPECT_EQ(g->numberBox()->text(), QStringLiteral("0"));

  // Emptied while the slider is already at 0: the box stays empty until it is left.
  Retype(g->numberBox(), QString());
  EXPECT_EQ(g->numberBox()->text(), QString());
  EXPECT_EQ(g->position(), 0);
  LeaveBox(g->numberBox());
  EXPECT_EQ(g->numberBox()->text(), QStringLiteral("0"));
}

TEST_P(Channels, OnlyDigitsAndBackspaceReachTheBox) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  QLineEdit* box = t.channels[c.channel]->numberBox();
  Retype(box, QStringLiteral("5"));
  const struct {
    int key;
    const char* text;
    int beeps;
    const char* after;
  } keys[] = {
      {Qt::Key_A, "a", 1, "5"},      {Qt::Key_Minus, "-", 2, "5"},  {Qt::Key_Space, " ", 3, "5"},
      {Qt::Key_Period, ".", 4, "5"}, {Qt::Key_3, "3", 4, "53"},     {Qt::Key_Backspace, "\b", 4, "5"},
      {Qt::Key_Left, "", 4, "5"},
  };
  for (const auto& k : keys) {
    SendKey(box, k.key, QString::fromLatin1(k.text));
    EXPECT_EQ(fake->beeps, k.beeps) << "key " << k.text;
    EXPECT_EQ(box->text(), QString::fromLatin1(k.after)) << "key " << k.text;
  }
}

TEST_P(Channels, SpinStepsWithinTheRangeAndSelectsTheBox) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  ChannelGroup* g = t.channels[c.channel];
  g->spin()->step(+1);
  EXPECT_EQ(g->position(), 1);
  EXPECT_EQ(g->numberBox()->text(), QStringLiteral("1"));
  EXPECT_EQ(g->numberBox()->selectedText(), QStringLiteral("1"));
  EXPECT_TRUE(SameVector(t.host->current, t.page->pageColour()));
  g->spin()->step(-1);
  g->spin()->step(-1);  // no wrapping below 0
  EXPECT_EQ(g->position(), 0);
  EXPECT_EQ(g->numberBox()->text(), QStringLiteral("0"));

  g->setPosition(c.maximum);
  EXPECT_EQ(g->spin()->position(), c.maximum);
  g->spin()->step(+1);  // nor above the maximum
  EXPECT_EQ(g->position(), c.maximum);
  EXPECT_EQ(g->numberBox()->text(), QString::number(c.maximum));

  // The arrow keys in the box step the spin.
  SendKey(g->numberBox(), Qt::Key_Down);
  EXPECT_EQ(g->position(), c.maximum - 1);
  EXPECT_EQ(g->numberBox()->text(), QString::number(c.maximum - 1));
}

TEST_P(Channels, SliderMovesAreMirroredAndFollowed) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  ChannelGroup* g = t.channels[c.channel];
  g->slider()->setValue(c.maximum / 2);
  EXPECT_EQ(g->spin()->position(), c.maximum / 2);
  EXPECT_EQ(g->numberBox()->text(), QString::number(c.maximum / 2));
  EXPECT_TRUE(SameVector(t.host->current, t.page->pageColour()));
  EXPECT_EQ(t.host->swatch, RGBToColour(t.page->pageColour()));
}

TEST_P(Channels, StripClickSetsThePositionUnderThePointer) {
  const ChannelCase& c = GetParam();
  PageUnderTest t = Make(c.page);
  ChannelGroup* g = t.channels[c.channel];
  ASSERT_EQ(g->strip()->width(), 237);
  const struct {
    int x;
    int expected;
  } clicks[] = {{236, c.at236}, {118, c.at118}, {0, 0}};
  for (const auto& click : clicks) {
    const int updatesBefore = t.host->updates;
    ClickStrip(g, click.x);
    EXPECT_EQ(g->position(), click.expected) << "x " << click.x;
    EXPECT_EQ(g->numberBox()->text(), QString::number(click.expected)) << "x " << click.x;
    EXPECT_GT(t.host->updates, updatesBefore);
    EXPECT_TRUE(SameVector(t.host->current, t.page->pageColour()));
  }
}

INSTANTIATE_TEST_SUITE_P(SliderPages, Channels, testing::ValuesIn(kChannels), CaseName);

}  // namespace
}  // namespace brenvik::test
