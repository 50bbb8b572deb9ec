// The about box: its layout, and that Enter and the close box close it
// while Esc does not; where it appears.

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <vector>

#include "AppFixture.h"

namespace brenvik::test {
namespace {

TEST(AboutBox, LayoutAndTexts) {
  AboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
  EXPECT_EQ(box.size(), QSize(298, 213));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());  // fixed size
  EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(box.palette().color(QPalette::Window), QColor(192, 192, 192));
  QWidget* panel = Find<QWidget>(&box, "Panel1");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->geometry(), QRect(8, 8, 281, 161));
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(255, 251, 240));
  struct Label {
    const char* name;
    QPoint pos;
    QString text;
  };
  const std::vector<Label> labels = {
      {"ProductName", {88, 16}, QStringLiteral("Brenvik")},
      {"Version", {88, 40}, QStringLiteral("Version 1.2")},
  };
  for (const Label& l : labels) {
    auto* w = Find<QLabel>(panel, l.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), l.pos);
    EXPECT_EQ(w->text(), l.text);
  }
  for (const char* wrapped : {"Copyright", "Comments"}) {
    auto* w = Find<QLabel>(panel, wrapped);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->wordWrap());
    // Two lines that fit the label's box.
    EXPECT_LE(w->heightForWidth(w->width()), w->height() + 1) << wrapped;
  }
  EXPECT_EQ(Find<QLabel>(panel, "Copyright")->geometry(), QRect(88, 64, 173, 26));
  EXPECT_EQ(Find<QLabel>(panel, "Comments")->geometry(), QRect(40, 112, 199, 26));
  auto* image = Find<QLabel>(panel, "Image1");
  EXPECT_EQ(image->geometry(), QRect(16, 24, 57, 65));
  EXPECT_EQ(image->pixmap().size(), QSize(32, 32));
  auto* ok = Find<QPushButton>(&box, "OKButton");
  EXPECT_EQ(ok->geometry(), QRect(111, 180, 75, 25));
  EXPECT_TRUE(ok->isDefault());
  // The OK button is the only control that takes the focus.
  std::vector<QString> focusable;
  for (QWidget* w : box.findChildren<QWidget*>()) {
    if (w->focusPolicy() & Qt::TabFocus) focusable.push_back(w->objectName());
  }
  EXPECT_EQ(focusable, std::vector<QString>{QStringLiteral("OKButton")});
}

struct KeyCase {
  const char* what;
  std::function<void(QDialog*)> act;
  bool closes;
};

TEST(AboutBox, EnterAndTheCloseBoxCloseItEscDoesNot) {
  const std::vector<KeyCase> cases = {
      {"Enter", [](QDialog* d) { PressKey(d, Qt::Key_Return); }, true},
      {"keypad Enter", [](QDialog* d) { PressKey(d, Qt::Key_Enter, Qt::KeypadModifier); }, true},
      {"Esc", [](QDialog* d) { PressKey(d, Qt::Key_Escape); }, false},
      {"close box", [](QDialog* d) { d->close(); }, true},
      {"OK", [](QDialog* d) { Find<QPushButton>(d, "OKButton")->click(); }, true},
  };
  AboutBox box;
  for (const KeyCase& c : cases) {
    bool openAfter = false;
    OnNextModal([&](QWidget* modal) {
      auto* dialog = static_cast<QDialog*>(modal);
      dialog->activateWindow();
      QApplication::setActiveWindow(dialog);
      c.act(dialog);
      Pump(1);
      openAfter = dialog->isVisible();
      if (openAfter) dialog->accept();  // end the test's modal loop
    });
    box.exec();
    EXPECT_EQ(openAfter, !c.closes) << c.what;
  }
}

TEST(AboutBox, CentredTheFirstTimeThenWhereItWasLeft) {
  AboutBox box;
  QPoint first;
  QPoint left;
  QRect screen;
  OnNextModal([&](QWidget* modal) {
    first = modal->frameGeometry().center();
    screen = modal->screen()->geometry();
    // The teacher drags it aside: the move comes from the window system.
    modal->windowHandle()->setPosition(QPoint(40, 50));
    Pump(1);
    left = modal->pos();
    static_cast<QDialog*>(modal)->accept();
  });
  box.exec();
  EXPECT_LE((first - screen.center()).manhattanLength(), 2);
  QPoint second;
  OnNextModal([&](QWidget* modal) {
    second = modal->pos();
    static_cast<QDialog*>(modal)->accept();
  });
  box.exec();
  EXPECT_LE((left - QPoint(40, 50)).manhattanLength(), 8);  // the frame's width aside
  EXPECT_EQ(second, left);
}

}  // namespace
}  // namespace brenvik::test
