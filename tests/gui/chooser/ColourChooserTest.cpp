// The colour chooser component and its dialog window, driven without a person.
#include <gtest/gtest.h>

#include <QMimeData>
#include <QTabWidget>
#include <functional>
#include <string>
#include <vector>

#include "ColourTestSupport.h"
#include "FakePlatform.h"
#include "ui/chooser/ChooserPage.h"

namespace brenvik::test {
namespace {

class VazozaTest : public ::testing::Test {
 protected:
  ScopedFakePlatform fake;
  TVazozaDialog dialog;

  // The configuration the configure-output window uses.
  void InternetOnly() {
    dialog.SetVisiblePages(PageBit(pageInternet));
    dialog.SetActivePage(pageInternet);
  }
};

TEST_F(VazozaTest, StartsWithItsDocumentedProperties) {
  const struct { const char* name; QVariant value; } cases[] = {
      {"AutoApply", false},         {"StayOnTop", false},  {"VisiblePages", 61},
      {"ActivePage", int(pageVGA)}, {"Color", 0u},         {"ReferenceColor", 0xFFFFFFu},
      {"Ctl3D", true},              {"HelpButton", false}, {"AutoHelpContext", false},
      {"HelpContext", 0},           {"Caption", QStringLiteral("Color")},
  };
  for (const auto& c : cases) {
    const QVariant v = dialog.property(c.name);
    ASSERT_TRUE(v.isValid()) << c.name;
    EXPECT_EQ(v.toString(), c.value.toString()) << c.name;
  }
  for (int i = 1; i <= 32; ++i) EXPECT_EQ(dialog.CustomColors(i), 0xC0C0C0u) << i;
  EXPECT_EQ(dialog.Form(), nullptr);
}

TEST_F(VazozaTest, CustomColorsAreIndexedOneToThirtyTwo) {
  dialog.SetCustomColors(1, Rgb(1, 2, 3));
  dialog.SetCustomColors(32, Rgb(4, 5, 6));
  EXPECT_EQ(dialog.CustomColors(1), Rgb(1, 2, 3));
  EXPECT_EQ(dialog.CustomColors(32), Rgb(4, 5, 6));
  for (int bad : {0, 33, -1}) {
    EXPECT_THROW(dialog.CustomColors(bad), RangeError) << bad;
    EXPECT_THROW(dialog.SetCustomColors(bad, 0), RangeError) << bad;
  }
}

TEST_F(VazozaTest, WritersOnlyStoreBetweenRuns) {
  int applies = 0;
  dialog.OnApply = [&](QObject* sender) {
    EXPECT_EQ(sender, &dialog);
    ++applies;
  };
  dialog.SetColor(Rgb(255, 0, 0));  // no window: stores, and asks for a live apply
  EXPECT_EQ(applies, 0);            // which only AutoApply lets through
  dialog.SetAutoApply(true);
  dialog.SetColor(Rgb(0, 255, 0));
  EXPECT_EQ(applies, 1);
  EXPECT_EQ(dialog.GetWebColor(), QStringLiteral("#00FF00"));
  dialog.setProperty("ActivePage", int(pageRGB));
  EXPECT_EQ(dialog.ActivePage(), pageRGB);
}

TEST_F(VazozaTest, CancelRestoresEverythingTheRunChanged) {
  InternetOnly();
  dialog.SetColor(Rgb(255, 0, 0));
  std::vector<TColor> liveColours;
  WhenShown([&](TfrmVazozaDialog& form) {
    Internet(form)->pntInternetMouseDown(2 * 15 + 3, 9 * 14);  // cell (2, 9): #336699
    liveColours.push_back(dialog.Color());
    form.DropCurrentColorOn(Find<TColorBox>(&form, QStringLiteral("pnlReference")));
    form.DropCurrentColorOn(Find<TColorBox>(&form, QStringLiteral("pnl5")));
    liveColours.push_back(dialog.ReferenceColor());
  }, /*accept=*/false);
  EXPECT_FALSE(dialog.Execute());
  // The component followed the window while it ran...
  EXPECT_EQ(liveColours, (std::vector<TColor>{Rgb(0x33, 0x66, 0x99), Rgb(0x33, 0x66, 0x99)}));
  // ...and Cancel put everything back.
  EXPECT_EQ(dialog.Color(), Rgb(255, 0, 0));
  EXPECT_EQ(dialog.ReferenceColor(), 0xFFFFFFu);
  EXPECT_EQ(dialog.CustomColors(5), 0xC0C0C0u);
  EXPECT_EQ(dialog.Form(), nullptr);
}

TEST_F(VazozaTest, OkKeepsThePickedColourReferenceAndCollection) {
  InternetOnly();
  WhenShown([&](TfrmVazozaDialog& form) {
    Internet(form)->pntInternetMouseDown(2 * 15 + 3, 9 * 14);
    form.DropCurrentColorOn(Find<TColorBox>(&form, QStringLiteral("pnlReference")));
    form.DropCurrentColorOn(Find<TColorBox>(&form, QStringLiteral("pnl32")));
    Internet(form)->pntInternetMouseDown(12 * 15 + 3, 6 * 14);  // cell (12, 6): red
  }, /*accept=*/true);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), Rgb(255, 0, 0));
  EXPECT_EQ(dialog.GetWebColor(), QStringLiteral("#FF0000"));
  EXPECT_EQ(dialog.ReferenceColor(), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(dialog.CustomColors(32), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(dialog.CustomColors(31), 0xC0C0C0u);
  EXPECT_EQ(dialog.ActivePage(), pageInternet);
}

TEST_F(VazozaTest, OpensOnTheActivePageOnlyWhenItsTabIsShown) {
  const struct { TDialogPages visible; TDialogPage active; TDialogPage opened; } cases[] = {
      {PageBit(pageInternet), pageInternet, pageInternet},
      {TVazozaDialog::kDefaultPages, pageInternet, pageCMYK},  // hidden tab: stays on the page as built
      {TVazozaDialog::kDefaultPages, pageRGB, pageRGB},
      {0x1FF, pageInfo, pageInfo},
  };
  for (const auto& c : cases) {
    dialog.SetVisiblePages(c.visible);
    dialog.SetActivePage(c.active);
    TDialogPage opened = pageVGA;
    std::vector<bool> tabs;
    WhenShown([&](TfrmVazozaDialog& form) {
      opened = form.ActivePageTag();
      auto* tabsWidget = Find<QTabWidget>(&form, QStringLiteral("pgcPages"));
      for (int i = 0; i < tabsWidget->count(); ++i) tabs.push_back(tabsWidget->isTabVisible(i));
    }, /*accept=*/true);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(opened, c.opened) << c.visible << " " << c.active;
    ASSERT_EQ(tabs.size(), 9u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(tabs[i], ((c.visible >> i) & 1) != 0) << i;
    // OK records the page that was active.
    EXPECT_EQ(dialog.ActivePage(), c.opened);
  }
}

TEST_F(VazozaTest, PagesAreBuiltInOrderWithTheirCaptionsAndTags) {
  const char* captions[] = {"VGA", "Internet", "HSB", "RGB", "CMY", "CMYK", "Gray", "Windows", "Info"};
  WhenShown([&](TfrmVazozaDialog& form) {
    auto* tabs = Find<QTabWidget>(&form, QStringLiteral("pgcPages"));
    ASSERT_EQ(tabs->count(), 9);
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(tabs->tabText(i), QString::fromLatin1(captions[i]));
      auto* page = qobject_cast<VazozaPage*>(tabs->widget(i));
      ASSERT_NE(page, nullptr);
      EXPECT_EQ(page->tag(), static_cast<TDialogPage>(i));
    }
    EXPECT_EQ(form.size(), QSize(341, 312));
    EXPECT_EQ(tabs->geometry(), QRect(0, 0, 341, 225));
    for (int i = 1; i <= 32; ++i) EXPECT_NE(form.findChild<TColorBox*>(QStringLiteral("pnl%1").arg(i)), nullptr);
  }, true);
  dialog.Execute();
}

TEST_F(VazozaTest, OnApplyFiresOnceAtTheEndAndLiveOnlyWithAutoApply) {
  for (bool autoApply : {false, true}) {
    InternetOnly();
    dialog.SetAutoApply(autoApply);
    std::vector<std::string> events;
    int appliesWhileShown = 0;
    dialog.OnShow = [&](QObject*) { events.push_back("show"); };
    dialog.OnClose = [&](QObject*) { events.push_back("close"); };
    dialog.OnApply = [&](QObject*) { events.push_back("apply"); };
    WhenShown([&](TfrmVazozaDialog& form) {
      InternetPage* page = Internet(form);
      page->pntInternetMouseDown(20, 20);   // (1, 1)
      page->pntInternetMouseDown(50, 50);   // (3, 3)
      page->pntInternetMouseDown(50, 50);   // same cell again: the colour does not change
      page->pntInternetMouseDown(100, 20);  // (6, 1)
      appliesWhileShown = static_cast<int>(std::count(events.begin(), events.end(), "apply"));
    }, /*accept=*/autoApply);
    dialog.Execute();
    EXPECT_EQ(appliesWhileShown, autoApply ? 3 : 0) << autoApply;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "show");
    EXPECT_EQ(events[events.size() - 2], "close");
    EXPECT_EQ(events.back(), "apply");
    EXPECT_EQ(events.size(), static_cast<size_t>(3 + appliesWhileShown));
  }
}

TEST_F(VazozaTest, SecondExecuteWhileShowingFailsAndLeavesTheRunAlone) {
  InternetOnly();
  std::string message;
  bool stillShowing = false;
  WhenShown([&](TfrmVazozaDialog& form) {
    try {
      dialog.Execute();
    } catch (const EVazozaDialogException& e) {
      message = e.what();
    }
    stillShowing = form.isVisible() && dialog.Form() == &form;
  }, true);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(message, "TVazozaDialog is already visible.");
  EXPECT_TRUE(stillShowing);
  // The link is gone: the next run works.
  WhenShown([](TfrmVazozaDialog&) {}, false);
  EXPECT_FALSE(dialog.Execute());
}

TEST_F(VazozaTest, AHandlerThatThrowsStillTearsTheWindowDown) {
  dialog.OnShow = [](QObject*) { throw BrenvikError("show failed"); };
  EXPECT_THROW(dialog.Execute(), BrenvikError);
  EXPECT_EQ(dialog.Form(), nullptr);
  dialog.OnShow = nullptr;
  dialog.OnApply = [](QObject*) { throw BrenvikError("apply failed"); };
  WhenShown([](TfrmVazozaDialog&) {}, true);
  EXPECT_THROW(dialog.Execute(), BrenvikError);
  EXPECT_EQ(dialog.Form(), nullptr);
  // An error inside the running window goes to the error box, not through the event loop.
  dialog.SetAutoApply(true);
  InternetOnly();
  WhenShown([](TfrmVazozaDialog& form) { Click(Internet(form)->PaintBox(), QPoint(100, 100)); }, false);
  EXPECT_THROW(dialog.Execute(), BrenvikError);  // the forced apply at the end
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(fake->errors[0].text, QStringLiteral("apply failed."));
}

TEST_F(VazozaTest, AutoApplyRelabelsTheButtonsOnlyWhileShowing) {
  dialog.SetAutoApply(true);  // between runs: no visible effect
  std::vector<QString> labels;
  WhenShown([&](TfrmVazozaDialog& form) {
    auto* ok = Find<QPushButton>(&form, QStringLiteral("btnOK"));
    auto* cancel = Find<QPushButton>(&form, QStringLiteral("btnCancel"));
    labels = {ok->text(), cancel->text()};
    dialog.SetAutoApply(false);
    labels.insert(labels.end(), {ok->text(), cancel->text()});
    dialog.SetAutoApply(true);
    labels.insert(labels.end(), {ok->text(), cancel->text()});
  }, true);
  dialog.Execute();
  EXPECT_EQ(labels, (std::vector<QString>{"OK", "Cancel", "&Apply", "&Close", "O&K", "&Cancel"}));
}

TEST_F(VazozaTest, HelpButtonPassesTheContextNumberOn) {
  const struct { bool autoHelp; TDialogPage page; int context; } cases[] = {
      {false, pageInternet, 100}, {true, pageInternet, 102}, {true, pageVGA, 101}, {true, pageInfo, 109}};
  for (const auto& c : cases) {
    dialog.SetVisiblePages(0x1FF);
    dialog.SetActivePage(c.page);
    dialog.SetHelpButton(true);
    dialog.SetHelpContext(100);
    dialog.SetAutoHelpContext(c.autoHelp);
    bool helpVisible = false;
    WhenShown([&](TfrmVazozaDialog& form) {
      auto* help = Find<QPushButton>(&form, QStringLiteral("btnHelp"));
      helpVisible = help->isVisible();
      help->click();
    }, false);
    fake->helps.clear();
    dialog.Execute();
    EXPECT_TRUE(helpVisible);
    ASSERT_EQ(fake->helps.size(), 1u);
    EXPECT_EQ(fake->helps[0].context, c.context) << c.autoHelp << " " << c.page;
    EXPECT_TRUE(fake->helps[0].file.endsWith(QStringLiteral("brenvik.hlp")));
  }
  dialog.SetHelpButton(false);
  bool helpVisible = true;
  WhenShown([&](TfrmVazozaDialog& form) { helpVisible = Find<QPushButton>(&form, QStringLiteral("btnHelp"))->isVisible(); }, false);
  dialog.Execute();
  EXPECT_FALSE(helpVisible);
}

TEST_F(VazozaTest, SwitchingToThePageShowsTheCurrentColour) {
  dialog.SetVisiblePages(0x1FF);
  dialog.SetActivePage(pageCMYK);
  dialog.SetColor(Rgb(0x33, 0x66, 0x99));
  std::pair<int, int> before, after;
  WhenShown([&](TfrmVazozaDialog& form) {
    InternetPage* page = Internet(form);
    before = {page->SelectedColumn(), page->SelectedRow()};
    Find<QTabWidget>(&form, QStringLiteral("pgcPages"))->setCurrentIndex(pageInternet);
    after = {page->SelectedColumn(), page->SelectedRow()};
  }, true);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(before, std::make_pair(0, 0));  // untouched until the page is shown
  EXPECT_EQ(after, std::make_pair(2, 9));
  EXPECT_EQ(dialog.Color(), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(dialog.ActivePage(), pageInternet);
}

TEST_F(VazozaTest, PageSwitchesMadeByCodeShowTheColour) {
  // Once Execute has set the window up, a switch by a handler or by the
  // caller's code shows the colour on the new page like a user's switch, so
  // OK returns the colour and not the new page's untouched controls.
  const TDialogPages internetAndRGB = PageBit(pageInternet) | PageBit(pageRGB);
  const struct {
    const char* what;
    TDialogPages visible;
    std::function<void()> onShow, whileShown;
    TDialogPage ended;
  } cases[] = {
      {"OnShow picks the RGB page", 0x1FF, [&] { dialog.SetActivePage(pageRGB); }, nullptr, pageRGB},
      {"OnShow hides the Internet tab", internetAndRGB, [&] { dialog.SetVisiblePages(PageBit(pageRGB)); }, nullptr,
       pageRGB},
      {"code picks the CMY page while showing", 0x1FF, nullptr, [&] { dialog.SetActivePage(pageCMY); }, pageCMY},
      {"code hides the Internet tab while showing", internetAndRGB, nullptr,
       [&] { dialog.SetVisiblePages(PageBit(pageRGB)); }, pageRGB},
  };
  for (const auto& c : cases) {
    dialog.SetVisiblePages(c.visible);
    dialog.SetActivePage(pageInternet);
    dialog.SetColor(Rgb(0x33, 0x66, 0x99));
    dialog.OnShow = c.onShow ? [&c](QObject*) { c.onShow(); } : TNotifyEvent();
    TColor swatch = 0;
    WhenShown([&](TfrmVazozaDialog& form) {
      if (c.whileShown) c.whileShown();
      swatch = form.CurrentSwatchColor();
    }, /*accept=*/true);
    EXPECT_TRUE(dialog.Execute()) << c.what;
    EXPECT_EQ(swatch, Rgb(0x33, 0x66, 0x99)) << c.what;
    EXPECT_EQ(dialog.GetWebColor().toStdString(), "#336699") << c.what;
    EXPECT_EQ(dialog.ActivePage(), c.ended) << c.what;
  }
}

TEST_F(VazozaTest, TheHSBPageRoundsToTheNearestWholeHueSaturationAndBrightness) {
  // #4D4DC8 has saturation 61.5 exactly, which goes to the even 62.
  dialog.SetVisiblePages(0x1FF);
  dialog.SetActivePage(pageHSB);
  dialog.SetColor(Rgb(0x4D, 0x4D, 0xC8));
  WhenShown([](TfrmVazozaDialog&) {}, /*accept=*/true);
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.GetWebColor().toStdString(), "#4C4CC7");
}

TEST_F(VazozaTest, ClickingTheReferenceOrACollectionBoxPicksItsColour) {
  InternetOnly();
  dialog.SetCustomColors(3, Rgb(255, 0, 0));
  dialog.SetReferenceColor(Rgb(0, 0, 255));
  struct Seen { TColor swatch; int column, row; };
  std::vector<Seen> seen;
  WhenShown([&](TfrmVazozaDialog& form) {
    InternetPage* page = Internet(form);
    auto record = [&] { seen.push_back({form.CurrentSwatchColor(), page->SelectedColumn(), page->SelectedRow()}); };
    Click(Find<TColorBox>(&form, QStringLiteral("pnl3")), QPoint(8, 8));
    record();
    Click(Find<TColorBox>(&form, QStringLiteral("pnl4")), QPoint(8, 8));  // silver: not web-safe
    record();
    Click(Find<TColorBox>(&form, QStringLiteral("pnlReference")), QPoint(10, 10));
    record();
  }, true);
  EXPECT_TRUE(dialog.Execute());
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].swatch, Rgb(255, 0, 0));
  EXPECT_EQ(std::make_pair(seen[0].column, seen[0].row), std::make_pair(12, 6));
  EXPECT_EQ(seen[1].swatch, 0xC0C0C0u);
  EXPECT_EQ(std::make_pair(seen[1].column, seen[1].row), std::make_pair(-1, -1));
  EXPECT_EQ(seen[2].swatch, Rgb(0, 0, 255));
  EXPECT_EQ(std::make_pair(seen[2].column, seen[2].row), std::make_pair(0, 5));
  EXPECT_EQ(dialog.Color(), Rgb(0, 0, 255));
}

TEST_F(VazozaTest, OnlyTheCurrentSwatchCanBeDropped) {
  InternetOnly();
  WhenShown([&](TfrmVazozaDialog& form) {
    QMimeData swatchData;
    swatchData.setData(QString::fromLatin1(kSwatchMimeType), "#000000");
    QMimeData text;
    text.setText(QStringLiteral("#FF0000"));
    auto* current = Find<TColorBox>(&form, QStringLiteral("pnlCurrent"));
    auto* other = Find<TColorBox>(&form, QStringLiteral("pnl1"));
    EXPECT_TRUE(form.AcceptsSwatchDrag(current, &swatchData));
    EXPECT_FALSE(form.AcceptsSwatchDrag(other, &swatchData));
    EXPECT_FALSE(form.AcceptsSwatchDrag(nullptr, &swatchData));
    EXPECT_FALSE(form.AcceptsSwatchDrag(current, &text));
  }, false);
  dialog.Execute();
}

}  // namespace
}  // namespace brenvik::test
