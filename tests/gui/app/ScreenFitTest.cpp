// Where the main window opens on screens of every size, and that every
// control stays within reach on a screen smaller than the window's design.
// gui_app runs these on the offscreen platform's own 800 x 800 screen, and
// gui_app_screen_800x600 and gui_app_screen_640x480 again on those screens.

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "AppFixture.h"
#include "ui/app/ScreenFit.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

// The main window's design frame: 763 x 532 inside, 771 x 559 outside.
const QRect kDesign(207, 104, 771, 559);

TEST(FitOnScreen, KeepsTheDesignWhereItFitsAndOtherwiseMovesBeforeItShrinks) {
  const struct { const char* screen; QRect available; QRect fitted; } cases[] = {
      {"1600 x 1000", {0, 0, 1600, 1000}, kDesign},
      {"1280 x 1024, panel at the bottom", {0, 0, 1280, 994}, kDesign},
      {"800 x 600", {0, 0, 800, 600}, {29, 41, 771, 559}},
      {"800 x 600, panel at the top", {0, 27, 800, 573}, {29, 41, 771, 559}},
      {"1366 x 768 at 125 %, panel at the bottom", {0, 0, 1093, 584}, {207, 25, 771, 559}},
      {"1366 x 768 at 150 %", {0, 0, 911, 512}, {140, 0, 771, 512}},
      {"640 x 480", {0, 0, 640, 480}, {0, 0, 640, 480}},
      {"narrow and tall", {0, 0, 700, 1200}, {0, 104, 700, 559}},
      {"second screen to the right", {1920, 0, 1280, 1024}, {1920, 104, 771, 559}},
      {"screen above the first", {0, -1024, 1280, 1024}, {207, -559, 771, 559}},
      {"no screen area known", QRect(), kDesign},
  };
  for (const auto& c : cases) {
    const QRect fitted = FitOnScreen(kDesign, c.available);
    EXPECT_EQ(fitted, c.fitted) << c.screen;
    if (!c.available.isEmpty()) {
      EXPECT_TRUE(c.available.contains(fitted)) << c.screen;
    }
  }
}

using ScreenFit = AppFixture;

// Whether w shows inside the scroll area's viewport: a control whole, a text
// box with its caret.
bool ShowsIn(QWidget* w, QWidget* viewport) {
  QRect r(w->mapTo(viewport, QPoint(0, 0)), w->size());
  if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
    r = QRect(box->viewport()->mapTo(viewport, box->cursorRect().topLeft()), box->cursorRect().size());
  }
  return viewport->rect().contains(r);
}

TEST_F(ScreenFit, EveryControlIsWithinReachOnTheScreen) {
  ShowActive(&form());
  const QRect available = form().screen()->availableGeometry();
  const QRect frame = form().frameGeometry();
  SCOPED_TRACE(QStringLiteral("screen %1 x %2, window %3 x %4 at %5, %6")
                   .arg(available.width()).arg(available.height()).arg(frame.width()).arg(frame.height())
                   .arg(frame.x()).arg(frame.y()).toStdString());
  EXPECT_TRUE(available.contains(frame));
  // Where the design fits, the window keeps its size.
  const QSize designOuter = QSize(MainWindow::kDesignClientWidth, MainWindow::kDesignClientHeight) +
                            (frame.size() - form().size());
  if (available.width() >= designOuter.width() && available.height() >= designOuter.height()) {
    EXPECT_EQ(form().size(), QSize(MainWindow::kDesignClientWidth, MainWindow::kDesignClientHeight));
  }

  auto* scroller = Find<QScrollArea>(&form(), QStringLiteral("ClientScroller"));
  QWidget* viewport = scroller->viewport();
  // Tab brings each control into view.
  QWidget* process = Find<QWidget>(&form(), QLatin1String(kProcessButton));
  process->setFocus(Qt::TabFocusReason);
  for (int i = 0; i < 7; ++i) {
    PressKey(&form(), Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(ShowsIn(focused, viewport)) << focused->objectName().toStdString();
  }
  // No scroll bar shows while the window has its design size.
  if (form().size() == QSize(MainWindow::kDesignClientWidth, MainWindow::kDesignClientHeight)) {
    EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
  }
}

}  // namespace
}  // namespace brenvik::test
