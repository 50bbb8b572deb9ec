// Showing colours on the HSB, RGB, CMY, CMYK and Gray pages, and what their
// strips draw.

#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "PagesTestSupport.h"
#include "ui/chooser/CmyPages.h"
#include "ui/chooser/GrayPage.h"
#include "ui/chooser/HsbPage.h"
#include "ui/chooser/RgbPage.h"

namespace brenvik::test {
namespace {

std::vector<int> Positions(std::initializer_list<ChannelGroup*> groups) {
  std::vector<int> v;
  for (ChannelGroup* g : groups) v.push_back(g->position());
  return v;
}

std::vector<QString> Boxes(std::initializer_list<ChannelGroup*> groups) {
  std::vector<QString> v;
  for (ChannelGroup* g : groups) v.push_back(g->numberBox()->text());
  return v;
}

struct ShowCase {
  ColourVector shown;
  std::vector<int> sliders;
  ColourVector currentAfter;  // the current colour once the page has shown it
};

class SliderPages : public testing::Test {
 protected:
  ScopedFakePlatform fake;
};

TEST_F(SliderPages, HSBShowColor) {
  const ShowCase cases[] = {
      {MakeRGB(255, 0, 0), {0, 100, 100}, MakeRGB(255, 0, 0)},
      {MakeRGB(128, 128, 128), {0, 0, 50}, MakeRGB(127.5, 127.5, 127.5)},
      {MakeRGB(255, 255, 255), {0, 0, 100}, MakeRGB(255, 255, 255)},
      {MakeRGB(0, 255, 0), {120, 100, 100}, MakeRGB(0, 255, 0)},
      // Hue 200 at brightness 0 already is black, so the sliders stay.
      {MakeRGB(0, 0, 0), {200, 0, 0}, MakeRGB(0, 0, 0)},
      // Hue 30 at full saturation and brightness is (255, 127.5, 0).
      {MakeRGB(255, 128, 0), {30, 100, 100}, MakeRGB(255, 127.5, 0)},
  };
  for (const ShowCase& c : cases) {
    Hosted<HsbPage> t;
    t.page->hue()->setPosition(200);  // start away from every case
    t.page->showColour(c.shown);
    HsbPage& p = *t.page;
    EXPECT_EQ(Positions({p.hue(), p.saturation(), p.brightness()}), c.sliders);
    const std::vector<QString> texts = Boxes({p.hue(), p.saturation(), p.brightness()});
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], QString::number(c.sliders[i]));
    EXPECT_EQ(t.host.current, c.currentAfter);
    EXPECT_EQ(t.host.swatch, RGBToColour(c.currentAfter));
  }
}

TEST_F(SliderPages, HSBLeavesSlidersThatAlreadyDescribeTheColour) {
  Hosted<HsbPage> t;
  // A gray with a hue: showing its own colour must not reset the hue to 0.
  t.page->hue()->setPosition(200);
  t.page->brightness()->setPosition(50);
  t.page->showColour(MakeRGB(127.5, 127.5, 127.5));
  EXPECT_EQ(Positions({t.page->hue(), t.page->saturation(), t.page->brightness()}), (std::vector<int>{200, 0, 50}));
  // The gray 128 is not exactly that colour, so it is shown again from scratch.
  t.page->showColour(MakeRGB(128, 128, 128));
  EXPECT_EQ(Positions({t.page->hue(), t.page->saturation(), t.page->brightness()}), (std::vector<int>{0, 0, 50}));
  EXPECT_EQ(t.host.current, MakeRGB(127.5, 127.5, 127.5));
}

TEST_F(SliderPages, RGBCMYShowColor) {
  const ShowCase rgbCases[] = {
      {MakeRGB(12.4, 200.5, 255), {12, 200, 255}, MakeRGB(12, 200, 255)},
      {MakeRGB(0.5, 1.5, 254.5), {0, 2, 254}, MakeRGB(0, 2, 254)},
  };
  for (const ShowCase& c : rgbCases) {
    Hosted<RgbPage> t;
    t.page->showColour(c.shown);
    RgbPage& p = *t.page;
    EXPECT_EQ(Positions({p.channel(1), p.channel(2), p.channel(3)}), c.sliders);
    EXPECT_EQ(Boxes({p.channel(1), p.channel(2), p.channel(3)}),
              (std::vector<QString>{QString::number(c.sliders[0]), QString::number(c.sliders[1]),
                                    QString::number(c.sliders[2])}));
    EXPECT_EQ(t.host.current, c.currentAfter);
  }
  const ShowCase cmyCases[] = {
      {MakeRGB(255, 255, 255), {0, 0, 0}, MakeRGB(255, 255, 255)},
      {MakeRGB(0, 0, 0), {255, 255, 255}, MakeRGB(0, 0, 0)},
      {MakeRGB(12.4, 200.5, 255), {243, 54, 0}, MakeRGB(12, 201, 255)},
  };
  for (const ShowCase& c : cmyCases) {
    Hosted<CmyPage> t;
    t.page->channel(2)->setPosition(77);
    t.page->showColour(c.shown);
    CmyPage& p = *t.page;
    EXPECT_EQ(Positions({p.channel(1), p.channel(2), p.channel(3)}), c.sliders);
    EXPECT_EQ(t.host.current, c.currentAfter);
  }
}

TEST_F(SliderPages, ShowingTheHostsOwnCurrentColour) {
  // The dialog passes its current colour, which every slider move replaces.
  Hosted<RgbPage> rgb;
  rgb.host.SetCurrent(MakeRGB(0, 20, 40));
  rgb.page->showColour(rgb.host.current);
  EXPECT_EQ(rgb.host.current, MakeRGB(0, 20, 40));
  Hosted<CmyPage> cmy;
  cmy.host.SetCurrent(MakeRGB(0, 20, 40));
  cmy.page->showColour(cmy.host.current);
  EXPECT_EQ(cmy.host.current, MakeRGB(0, 20, 40));
  Hosted<CmykPage> cmyk;
  cmyk.host.SetCurrent(MakeRGB(255, 0, 0));
  cmyk.page->showColour(cmyk.host.current);
  EXPECT_EQ(cmyk.host.current, MakeRGB(255, 0, 0));
}

TEST_F(SliderPages, CMYKShowColorAlwaysSetsTheSliders) {
  const ShowCase cases[] = {
      {MakeRGB(255, 0, 0), {0, 100, 100, 0}, MakeRGB(255, 0, 0)},
      {MakeRGB(128, 128, 128), {0, 0, 0, 50}, MakeRGB(127.5, 127.5, 127.5)},
      {MakeRGB(255, 255, 255), {0, 0, 0, 0}, MakeRGB(255, 255, 255)},
      {MakeRGB(0, 0, 0), {0, 0, 0, 100}, MakeRGB(0, 0, 0)},
  };
  for (const ShowCase& c : cases) {
    Hosted<CmykPage> t;
    t.page->showColour(c.shown);
    CmykPage& p = *t.page;
    EXPECT_EQ(Positions({p.channel(1), p.channel(2), p.channel(3), p.channel(4)}), c.sliders);
    EXPECT_EQ(p.channel(4)->numberBox()->text(), QString::number(c.sliders[3]));
    EXPECT_EQ(t.host.current, c.currentAfter);
    EXPECT_EQ(t.host.swatch, RGBToColour(c.currentAfter));
  }
  // Sliders at 10, 10, 10, 0 describe (229.5, 229.5, 229.5); showing that very
  // colour still converts it, and the gray moves into the black slider.
  Hosted<CmykPage> t;
  for (int i = 1; i <= 3; ++i) t.page->channel(i)->setPosition(10);
  t.page->showColour(t.page->pageColour());
  EXPECT_EQ(Positions({t.page->channel(1), t.page->channel(2), t.page->channel(3), t.page->channel(4)}),
            (std::vector<int>{0, 0, 0, 10}));
}

TEST_F(SliderPages, GrayShowColorTurnsColoursIntoGrays) {
  const ShowCase cases[] = {
      {MakeRGB(200, 10, 10), {200}, MakeRGB(200, 200, 200)},
      {MakeRGB(255, 255, 255), {255}, MakeRGB(255, 255, 255)},
      {MakeRGB(0, 0, 128), {128}, MakeRGB(128, 128, 128)},
      {MakeRGB(0, 0, 0), {0}, MakeRGB(0, 0, 0)},
  };
  for (const ShowCase& c : cases) {
    Hosted<GrayPage> t;
    t.page->level()->setPosition(99);
    t.page->showColour(c.shown);
    EXPECT_EQ(t.page->level()->position(), c.sliders[0]);
    EXPECT_EQ(t.page->level()->numberBox()->text(), QString::number(c.sliders[0]));
    EXPECT_EQ(t.host.current, c.currentAfter);
  }
}

struct PixelCase {
  int x;
  QRgb expected;
};

TEST_F(SliderPages, HueStripColours) {
  Hosted<HsbPage> t;
  // 359 hues share 237 columns: hue 0 gets no column of its own, so column 0
  // shows hue 1, column 118 hue 180 and the last column hue 358.
  const PixelCase cases[] = {
      {0, qRgb(255, 4, 0)}, {59, qRgb(128, 255, 0)}, {118, qRgb(0, 255, 255)}, {236, qRgb(255, 0, 8)}};
  for (const PixelCase& c : cases) EXPECT_EQ(StripPixel(t.page.get(), t.page->hue(), c.x), c.expected) << c.x;
}

TEST_F(SliderPages, SaturationAndBrightnessStripsOnlyWhileActive) {
  Hosted<HsbPage> t;
  t.page->showColour(MakeRGB(255, 0, 0));  // hue 0, saturation 100, brightness 100
  EXPECT_EQ(StripPixel(t.page.get(), t.page->saturation(), 0), qRgb(255, 255, 255));
  EXPECT_EQ(StripPixel(t.page.get(), t.page->saturation(), 236), qRgb(255, 3, 3));
  EXPECT_EQ(StripPixel(t.page.get(), t.page->brightness(), 118), qRgb(125, 0, 0));
  EXPECT_EQ(StripPixel(t.page.get(), t.page->brightness(), 236), qRgb(252, 0, 0));

  // Moving the hue repaints both strips in the new hue.
  t.page->hue()->setPosition(120);
  EXPECT_EQ(StripPixel(t.page.get(), t.page->saturation(), 236), qRgb(3, 255, 3));
  EXPECT_EQ(StripPixel(t.page.get(), t.page->brightness(), 118), qRgb(0, 125, 0));

  // Another page active: the bare panels show, white and black.
  t.host.pageActive = false;
  EXPECT_EQ(StripPixel(t.page.get(), t.page->saturation(), 236), qRgb(255, 255, 255));
  EXPECT_EQ(StripPixel(t.page.get(), t.page->brightness(), 118), qRgb(0, 0, 0));
}

TEST_F(SliderPages, FixedStripColours) {
  Hosted<RgbPage> rgb;
  EXPECT_EQ(StripPixel(rgb.page.get(), rgb.page->channel(1), 0), qRgb(0, 0, 0));
  EXPECT_EQ(StripPixel(rgb.page.get(), rgb.page->channel(1), 236), qRgb(253, 0, 0));
  EXPECT_EQ(StripPixel(rgb.page.get(), rgb.page->channel(3), 118), qRgb(0, 0, 126));

  Hosted<CmyPage> cmy;
  EXPECT_EQ(StripPixel(cmy.page.get(), cmy.page->channel(1), 0), qRgb(255, 255, 255));
  EXPECT_EQ(StripPixel(cmy.page.get(), cmy.page->channel(1), 236), qRgb(2, 255, 255));
  EXPECT_EQ(StripPixel(cmy.page.get(), cmy.page->channel(2), 236), qRgb(255, 2, 255));

  Hosted<CmykPage> cmyk;
  EXPECT_EQ(StripPixel(cmyk.page.get(), cmyk.page->channel(3), 236), qRgb(255, 255, 2));
  EXPECT_EQ(StripPixel(cmyk.page.get(), cmyk.page->channel(4), 0), qRgb(255, 255, 255));
  EXPECT_EQ(StripPixel(cmyk.page.get(), cmyk.page->channel(4), 236), qRgb(1, 1, 1));

  Hosted<GrayPage> gray;
  EXPECT_EQ(StripPixel(gray.page.get(), gray.page->level(), 0), qRgb(0, 0, 0));
  EXPECT_EQ(StripPixel(gray.page.get(), gray.page->level(), 236), qRgb(253, 253, 253));
}

TEST_F(SliderPages, RGBStripClickFollowsTheChannelNumber) {
  Hosted<RgbPage> t;
  t.page->showColour(MakeRGB(10, 20, 30));
  ClickStrip(t.page->channel(2), 236);
  EXPECT_EQ(t.host.current, MakeRGB(10, 253, 30));
  ClickStrip(t.page->channel(3), 0);
  EXPECT_EQ(t.host.current, MakeRGB(10, 253, 0));
}

}  // namespace
}  // namespace brenvik::test
