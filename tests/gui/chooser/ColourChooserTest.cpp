// The colour chooser component and its dialog window, driven without a person.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMimeData>
#include <QTabBar>
#include <QWheelEvent>
#include <QTabWidget>
#include <functional>
#include <string>
#include <vector>

#include "ColourTestSupport.h"
#include "FakePlatform.h"
#include "ui/chooser/ChooserPage.h"
#include "ui/chooser/ChooserPages.h"

namespace brenvik::test {
namespace {

class ColourChooserTest : public ::testing::Test {
 protected:
  ScopedFakePlatform fake;
  ColourChooser dialog;

  // The configuration the configure-output window uses.
  void InternetOnly() {
    dialog.setVisiblePages(PageBit(pageInternet));
    dialog.setActivePage(pageInternet);
  }
};

TEST_F(ColourChooserTest, StartsWithItsDocumentedProperties) {
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
  for (int i = 1; i <= 32; ++i) EXPECT_EQ(dialog.customColour(i), 0xC0C0C0u) << i;
  EXPECT_EQ(dialog.chooserWindow(), nullptr);
}

TEST_F(ColourChooserTest, CustomColorsAreIndexedOneToThirtyTwo) {
  dialog.setCustomColour(1, Rgb(1, 2, 3));
  dialog.setCustomColour(32, Rgb(4, 5, 6));
  EXPECT_EQ(dialog.customColour(1), Rgb(1, 2, 3));
  EXPECT_EQ(dialog.customColour(32), Rgb(4, 5, 6));
  for (int bad : {0, 33, -1}) {
    EXPECT_THROW(dialog.customColour(bad), RangeError) << bad;
    EXPECT_THROW(dialog.setCustomColour(bad, 0), RangeError) << bad;
  }
}

TEST_F(ColourChooserTest, WritersOnlyStoreBetweenRuns) {
  int applies = 0;
  dialog.onApply = [&](QObject* sender) {
    EXPECT_EQ(sender, &dialog);
    ++applies;
  };
  dialog.setColour(Rgb(255, 0, 0));  // no window: stores, and asks for a live apply
  EXPECT_EQ(applies, 0);            // which only autoApply lets through
  dialog.setAutoApply(true);
  dialog.setColour(Rgb(0, 255, 0));
  EXPECT_EQ(applies, 1);
  EXPECT_EQ(dialog.webColour(), QStringLiteral("#00FF00"));
  dialog.setProperty("ActivePage", int(pageRGB));
  EXPECT_EQ(dialog.activePage(), pageRGB);
}

TEST_F(ColourChooserTest, CancelRestoresEverythingTheRunChanged) {
  InternetOnly();
  dialog.setColour(Rgb(255, 0, 0));
  std::vector<Colour> liveColours;
  WhenShown([&](ColourChooserWindow& form) {
    Internet(form)->pickCell(2 * 15 + 3, 9 * 14);  // cell (2, 9): #336699
    liveColours.push_back(dialog.colour());
    form.dropCurrentColourOn(Find<ColourBox>(&form, QStringLiteral("pnlReference")));
    form.dropCurrentColourOn(Find<ColourBox>(&form, QStringLiteral("pnl5")));
    liveColours.push_back(dialog.referenceColour());
  }, /*accept=*/false);
  EXPECT_FALSE(dialog.execute());
  // The component followed the window while it ran...
  EXPECT_EQ(liveColours, (std::vector<Colour>{Rgb(0x33, 0x66, 0x99), Rgb(0x33, 0x66, 0x99)}));
  // ...and Cancel put everything back.
  EXPECT_EQ(dialog.colour(), Rgb(255, 0, 0));
  EXPECT_EQ(dialog.referenceColour(), 0xFFFFFFu);
  EXPECT_EQ(dialog.customColour(5), 0xC0C0C0u);
  EXPECT_EQ(dialog.chooserWindow(), nullptr);
}

TEST_F(ColourChooserTest, OkKeepsThePickedColourReferenceAndCollection) {
  InternetOnly();
  WhenShown([&](ColourChooserWindow& form) {
    Internet(form)->pickCell(2 * 15 + 3, 9 * 14);
    form.dropCurrentColourOn(Find<ColourBox>(&form, QStringLiteral("pnlReference")));
    form.dropCurrentColourOn(Find<ColourBox>(&form, QStringLiteral("pnl32")));
    Internet(form)->pickCell(12 * 15 + 3, 6 * 14);  // cell (12, 6): red
  }, /*accept=*/true);
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.colour(), Rgb(255, 0, 0));
  EXPECT_EQ(dialog.webColour(), QStringLiteral("#FF0000"));
  EXPECT_EQ(dialog.referenceColour(), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(dialog.customColour(32), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(dialog.customColour(31), 0xC0C0C0u);
  EXPECT_EQ(dialog.activePage(), pageInternet);
}

TEST_F(ColourChooserTest, OpensOnTheActivePageOnlyWhenItsTabIsShown) {
  const struct { ChooserPageSet visible; ChooserPageId active; ChooserPageId opened; } cases[] = {
      {PageBit(pageInternet), pageInternet, pageInternet},
      {ColourChooser::kDefaultPages, pageInternet, pageCMYK},  // hidden tab: stays on the page the window starts on
      {ColourChooser::kDefaultPages, pageRGB, pageRGB},
      {0x1FF, pageInfo, pageInfo},
  };
  for (const auto& c : cases) {
    dialog.setVisiblePages(c.visible);
    dialog.setActivePage(c.active);
    ChooserPageId opened = pageVGA;
    QStringList tabs;
    WhenShown([&](ColourChooserWindow& form) {
      opened = form.activePageId();
      auto* tabsWidget = Find<QTabWidget>(&form, QStringLiteral("pgcPages"));
      for (int i = 0; i < tabsWidget->count(); ++i) tabs << tabsWidget->tabText(i);
    }, /*accept=*/true);
    EXPECT_TRUE(dialog.execute());
    EXPECT_EQ(opened, c.opened) << c.visible << " " << c.active;
    // The page control holds the shown pages alone, in page order.
    QStringList shown;
    for (int i = 0; i < 9; ++i) {
      if ((c.visible >> i) & 1) shown << PageCaption(static_cast<ChooserPageId>(i));
    }
    EXPECT_EQ(tabs, shown) << c.visible;
    // OK records the page that was active.
    EXPECT_EQ(dialog.activePage(), c.opened);
  }
}

// What a screen reader finds under iface: the names of the page tabs and the
// pages themselves.
void CollectPages(QAccessibleInterface* iface, QStringList& tabs, std::vector<ChooserPageId>& pages) {
  if (!iface) return;
  if (iface->role() == QAccessible::PageTab) tabs << iface->text(QAccessible::Name);
  if (auto* page = qobject_cast<ChooserPage*>(iface->object())) pages.push_back(page->tag());
  for (int i = 0; i < iface->childCount(); ++i) CollectPages(iface->child(i), tabs, pages);
}

TEST_F(ColourChooserTest, HiddenPagesAreOutOfReachOfKeysClicksAndScreenReaders) {
  // Black, then red picked with the arrow keys; then every way of changing
  // pages is tried on the tab bar; Enter then takes the red with OK.
  InternetOnly();
  dialog.setColour(0);
  std::vector<ChooserPageId> activePages;
  QStringList tabsRead;
  std::vector<ChooserPageId> pagesRead;
  Colour pickedByKeys = 0;
  OnNextModal([&](QWidget* w) {
    auto* form = qobject_cast<ColourChooserWindow*>(w);
    ASSERT_NE(form, nullptr);
    Pump(1);
    QWidget* palette = Internet(*form)->paletteBox();
    for (int i = 0; i < 12; ++i) KeyClick(palette, Qt::Key_Right);
    for (int i = 0; i < 6; ++i) KeyClick(palette, Qt::Key_Down);
    pickedByKeys = form->currentSwatchColour();

    QTabBar* tabBar = Find<QTabWidget>(form, QStringLiteral("pgcPages"))->tabBar();
    const struct { int key; Qt::KeyboardModifiers modifiers; } keys[] = {
        {Qt::Key_Right, Qt::NoModifier},  {Qt::Key_Left, Qt::NoModifier},
        {Qt::Key_Tab, Qt::ControlModifier}, {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_PageDown, Qt::ControlModifier}, {Qt::Key_PageUp, Qt::ControlModifier},
    };
    for (const auto& k : keys) {
      for (int i = 0; i < 3; ++i) {
        KeyClick(tabBar, k.key, k.modifiers);
        activePages.push_back(form->activePageId());
      }
    }
    const QPointF middle(tabBar->width() / 2.0, tabBar->height() / 2.0);
    for (const int delta : {-120, -120, 120, 120, 120}) {
      QWheelEvent wheel(middle, middle, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(tabBar, &wheel);
      activePages.push_back(form->activePageId());
    }
    for (int x = 0; x < form->width(); x += 6) {
      Click(tabBar, QPoint(x, tabBar->height() / 2));
      activePages.push_back(form->activePageId());
    }
    CollectPages(QAccessible::queryAccessibleInterface(form), tabsRead, pagesRead);
    KeyClick(palette, Qt::Key_Return);  // the dialog's default button: OK
  });
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(pickedByKeys, Rgb(255, 0, 0));
  for (ChooserPageId page : activePages) EXPECT_EQ(page, pageInternet);
  EXPECT_EQ(tabsRead, QStringList{QStringLiteral("Internet")});
  EXPECT_EQ(pagesRead, std::vector<ChooserPageId>{pageInternet});
  EXPECT_EQ(dialog.webColour(), QStringLiteral("#FF0000"));
  EXPECT_EQ(dialog.activePage(), pageInternet);
}

TEST_F(ColourChooserTest, PagesAreBuiltInOrderWithTheirCaptionsAndTags) {
  const char* captions[] = {"VGA", "Internet", "HSB", "RGB", "CMY", "CMYK", "Gray", "Windows", "Info"};
  dialog.setVisiblePages(0x1FF);
  WhenShown([&](ColourChooserWindow& form) {
    auto* tabs = Find<QTabWidget>(&form, QStringLiteral("pgcPages"));
    ASSERT_EQ(tabs->count(), 9);
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(tabs->tabText(i), QString::fromLatin1(captions[i]));
      auto* page = qobject_cast<ChooserPage*>(tabs->widget(i));
      ASSERT_NE(page, nullptr);
      EXPECT_EQ(page->tag(), static_cast<ChooserPageId>(i));
      EXPECT_EQ(form.page(static_cast<ChooserPageId>(i)), page);
    }
    EXPECT_EQ(form.size(), QSize(341, 312));
    EXPECT_EQ(tabs->geometry(), QRect(0, 0, 341, 225));
    for (int i = 1; i <= 32; ++i) EXPECT_NE(form.findChild<ColourBox*>(QStringLiteral("pnl%1").arg(i)), nullptr);
  }, true);
  dialog.execute();
}

TEST_F(ColourChooserTest, OnApplyFiresOnceAtTheEndAndLiveOnlyWithAutoApply) {
  for (bool autoApply : {false, true}) {
    InternetOnly();
    dialog.setAutoApply(autoApply);
    std::vector<std::string> events;
    int appliesWhileShown = 0;
    dialog.onShow = [&](QObject*) { events.push_back("show"); };
    dialog.onClose = [&](QObject*) { events.push_back("close"); };
    dialog.onApply = [&](QObject*) { events.push_back("apply"); };
    WhenShown([&](ColourChooserWindow& form) {
      InternetPage* page = Internet(form);
      page->pickCell(20, 20);   // (1, 1)
      page->pickCell(50, 50);   // (3, 3)
      page->pickCell(50, 50);   // same cell again: the colour does not change
      page->pickCell(100, 20);  // (6, 1)
      appliesWhileShown = static_cast<int>(std::count(events.begin(), events.end(), "apply"));
    }, /*accept=*/autoApply);
    dialog.execute();
    EXPECT_EQ(appliesWhileShown, autoApply ? 3 : 0) << autoApply;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "show");
    EXPECT_EQ(events[events.size() - 2], "close");
    EXPECT_EQ(events.back(), "apply");
    EXPECT_EQ(events.size(), static_cast<size_t>(3 + appliesWhileShown));
  }
}

TEST_F(ColourChooserTest, SecondExecuteWhileShowingFailsAndLeavesTheRunAlone) {
  InternetOnly();
  std::string message;
  bool stillShowing = false;
  WhenShown([&](ColourChooserWindow& form) {
    try {
      dialog.execute();
    } catch (const ChooserAlreadyVisibleError& e) {
      message = e.what();
    }
    stillShowing = form.isVisible() && dialog.chooserWindow() == &form;
  }, true);
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(message, "TVazozaDialog is already visible.");
  EXPECT_TRUE(stillShowing);
  // The link is gone: the next run works.
  WhenShown([](ColourChooserWindow&) {}, false);
  EXPECT_FALSE(dialog.execute());
}

TEST_F(ColourChooserTest, AHandlerThatThrowsStillTearsTheWindowDown) {
  dialog.onShow = [](QObject*) { throw BrenvikError("show failed"); };
  EXPECT_THROW(dialog.execute(), BrenvikError);
  EXPECT_EQ(dialog.chooserWindow(), nullptr);
  dialog.onShow = nullptr;
  dialog.onApply = [](QObject*) { throw BrenvikError("apply failed"); };
  WhenShown([](ColourChooserWindow&) {}, true);
  EXPECT_THROW(dialog.execute(), BrenvikError);
  EXPECT_EQ(dialog.chooserWindow(), nullptr);
  // An error inside the running window goes to the error box, not through the event loop.
  dialog.setAutoApply(true);
  InternetOnly();
  WhenShown([](ColourChooserWindow& form) { Click(Internet(form)->paletteBox(), QPoint(100, 100)); }, false);
  EXPECT_THROW(dialog.execute(), BrenvikError);  // the forced apply at the end
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(fake->errors[0].text, QStringLiteral("apply failed."));
}

TEST_F(ColourChooserTest, AutoApplyRelabelsTheButtonsOnlyWhileShowing) {
  dialog.setAutoApply(true);  // between runs: no visible effect
  std::vector<QString> labels;
  WhenShown([&](ColourChooserWindow& form) {
    auto* ok = Find<QPushButton>(&form, QStringLiteral("btnOK"));
    auto* cancel = Find<QPushButton>(&form, QStringLiteral("btnCancel"));
    labels = {ok->text(), cancel->text()};
    dialog.setAutoApply(false);
    labels.insert(labels.end(), {ok->text(), cancel->text()});
    dialog.setAutoApply(true);
    labels.insert(labels.end(), {ok->text(), cancel->text()});
  }, true);
  dialog.execute();
  EXPECT_EQ(labels, (std::vector<QString>{"OK", "Cancel", "&Apply", "&Close", "O&K", "&Cancel"}));
}

TEST_F(ColourChooserTest, HelpButtonPassesTheContextNumberOn) {
  const struct { bool autoHelp; ChooserPageId page; int context; } cases[] = {
      {false, pageInternet, 100}, {true, pageInternet, 102}, {true, pageVGA, 101}, {true, pageInfo, 109}};
  for (const auto& c : cases) {
    dialog.setVisiblePages(0x1FF);
    dialog.setActivePage(c.page);
    dialog.setHelpButton(true);
    dialog.setHelpContext(100);
    dialog.setAutoHelpContext(c.autoHelp);
    bool helpVisible = false;
    WhenShown([&](ColourChooserWindow& form) {
      auto* help = Find<QPushButton>(&form, QStringLiteral("btnHelp"));
      helpVisible = help->isVisible();
      help->click();
    }, false);
    fake->helps.clear();
    dialog.execute();
    EXPECT_TRUE(helpVisible);
    ASSERT_EQ(fake->helps.size(), 1u);
    EXPECT_EQ(fake->helps[0].context, c.context) << c.autoHelp << " " << c.page;
    EXPECT_TRUE(fake->helps[0].file.endsWith(QStringLiteral("brenvik.hlp")));
  }
  dialog.setHelpButton(false);
  bool helpVisible = true;
  WhenShown([&](ColourChooserWindow& form) { helpVisible = Find<QPushButton>(&form, QStringLiteral("btnHelp"))->isVisible(); }, false);
  dialog.execute();
  EXPECT_FALSE(helpVisible);
}

TEST_F(ColourChooserTest, SwitchingToThePageShowsTheCurrentColour) {
  dialog.setVisiblePages(0x1FF);
  dialog.setActivePage(pageCMYK);
  dialog.setColour(Rgb(0x33, 0x66, 0x99));
  std::pair<int, int> before, after;
  WhenShown([&](ColourChooserWindow& form) {
    InternetPage* page = Internet(form);
    before = {page->selectedColumn(), page->selectedRow()};
    Find<QTabWidget>(&form, QStringLiteral("pgcPages"))->setCurrentIndex(pageInternet);
    after = {page->selectedColumn(), page->selectedRow()};
  }, true);
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(before, std::make_pair(0, 0));  // untouched until the page is shown
  EXPECT_EQ(after, std::make_pair(2, 9));
  EXPECT_EQ(dialog.colour(), Rgb(0x33, 0x66, 0x99));
  EXPECT_EQ(dialog.activePage(), pageInternet);
}

TEST_F(ColourChooserTest, PageSwitchesMadeByCodeShowTheColour) {
  // Once Execute has set the window up, a switch by a handler or by the
  // caller's code shows the colour on the new page like a user's switch, so
  // OK returns the colour and not the new page's untouched controls.
  const ChooserPageSet internetAndRGB = PageBit(pageInternet) | PageBit(pageRGB);
  const struct {
    const char* what;
    ChooserPageSet visible;
    std::function<void()> onShow, whileShown;
    ChooserPageId ended;
  } cases[] = {
      {"OnShow picks the RGB page", 0x1FF, [&] { dialog.setActivePage(pageRGB); }, nullptr, pageRGB},
      {"OnShow hides the Internet tab", internetAndRGB, [&] { dialog.setVisiblePages(PageBit(pageRGB)); }, nullptr,
       pageRGB},
      {"code picks the CMY page while showing", 0x1FF, nullptr, [&] { dialog.setActivePage(pageCMY); }, pageCMY},
      {"code hides the Internet tab while showing", internetAndRGB, nullptr,
       [&] { dialog.setVisiblePages(PageBit(pageRGB)); }, pageRGB},
  };
  for (const auto& c : cases) {
    dialog.setVisiblePages(c.visible);
    dialog.setActivePage(pageInternet);
    dialog.setColour(Rgb(0x33, 0x66, 0x99));
    dialog.onShow = c.onShow ? [&c](QObject*) { c.onShow(); } : NotifyHandler();
    Colour swatch = 0;
    WhenShown([&](ColourChooserWindow& form) {
      if (c.whileShown) c.whileShown();
      swatch = form.currentSwatchColour();
    }, /*accept=*/true);
    EXPECT_TRUE(dialog.execute()) << c.what;
    EXPECT_EQ(swatch, Rgb(0x33, 0x66, 0x99)) << c.what;
    EXPECT_EQ(dialog.webColour().toStdString(), "#336699") << c.what;
    EXPECT_EQ(dialog.activePage(), c.ended) << c.what;
  }
}

TEST_F(ColourChooserTest, TheHSBPageRoundsToTheNearestWholeHueSaturationAndBrightness) {
  // #4D4DC8 has saturation 61.5 exactly, which goes to the even 62.
  dialog.setVisiblePages(0x1FF);
  dialog.setActivePage(pageHSB);
  dialog.setColour(Rgb(0x4D, 0x4D, 0xC8));
  WhenShown([](ColourChooserWindow&) {}, /*accept=*/true);
  EXPECT_TRUE(dialog.execute());
  EXPECT_EQ(dialog.webColour().toStdString(), "#4C4CC7");
}

TEST_F(ColourChooserTest, ClickingTheReferenceOrACollectionBoxPicksItsColour) {
  InternetOnly();
  dialog.setCustomColour(3, Rgb(255, 0, 0));
  dialog.setReferenceColour(Rgb(0, 0, 255));
  struct Seen { Colour swatch; int column, row; };
  std::vector<Seen> seen;
  WhenShown([&](ColourChooserWindow& form) {
    InternetPage* page = Internet(form);
    auto record = [&] { seen.push_back({form.currentSwatchColour(), page->selectedColumn(), page->selectedRow()}); };
    Click(Find<ColourBox>(&form, QStringLiteral("pnl3")), QPoint(8, 8));
    record();
    Click(Find<ColourBox>(&form, QStringLiteral("pnl4")), QPoint(8, 8));  // silver: not web-safe
    record();
    Click(Find<ColourBox>(&form, QStringLiteral("pnlReference")), QPoint(10, 10));
    record();
  }, true);
  EXPECT_TRUE(dialog.execute());
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].swatch, Rgb(255, 0, 0));
  EXPECT_EQ(std::make_pair(seen[0].column, seen[0].row), std::make_pair(12, 6));
  EXPECT_EQ(seen[1].swatch, 0xC0C0C0u);
  EXPECT_EQ(std::make_pair(seen[1].column, seen[1].row), std::make_pair(-1, -1));
  EXPECT_EQ(seen[2].swatch, Rgb(0, 0, 255));
  EXPECT_EQ(std::make_pair(seen[2].column, seen[2].row), std::make_pair(0, 5));
  EXPECT_EQ(dialog.colour(), Rgb(0, 0, 255));
}

TEST_F(ColourChooserTest, OnlyTheCurrentSwatchCanBeDropped) {
  InternetOnly();
  WhenShown([&](ColourChooserWindow& form) {
    QMimeData swatchData;
    swatchData.setData(QString::fromLatin1(kSwatchMimeType), "#000000");
    QMimeData text;
    text.setText(QStringLiteral("#FF0000"));
    auto* current = Find<ColourBox>(&form, QStringLiteral("pnlCurrent"));
    auto* other = Find<ColourBox>(&form, QStringLiteral("pnl1"));
    EXPECT_TRUE(form.acceptsSwatchDrag(current, &swatchData));
    EXPECT_FALSE(form.acceptsSwatchDrag(other, &swatchData));
    EXPECT_FALSE(form.acceptsSwatchDrag(nullptr, &swatchData));
    EXPECT_FALSE(form.acceptsSwatchDrag(current, &text));
  }, false);
  dialog.execute();
}

}  // namespace
}  // namespace brenvik::test
