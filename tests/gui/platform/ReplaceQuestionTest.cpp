// The Qt platform's question before a save replaces a file, as the toolkit's
// file dialog asks it: the file's name, Yes and No, No the default.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "ui/platform/QtPlatform.h"

namespace brenvik::test {
namespace {

TEST(ReplaceQuestion, NamesTheFileAndReplacesOnlyOnYes) {
  const struct { QMessageBox::StandardButton press; bool replaced; } cases[] = {
      {QMessageBox::Yes, true}, {QMessageBox::No, false}, {QMessageBox::NoButton, false}};  // NoButton: Esc
  QtPlatform qt;
  for (const auto& c : cases) {
    QString text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    OnNextModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      text = box->text();
      defaultButton = box->standardButton(box->defaultButton());
      if (c.press == QMessageBox::NoButton) {
        box->reject();
      } else {
        box->button(c.press)->click();
      }
    });
    EXPECT_EQ(qt.askReplaceFile(nullptr, QStringLiteral("/tmp/lessons/german.htm")), c.replaced) << c.press;
    EXPECT_TRUE(text.contains(QStringLiteral("/tmp/lessons/german.htm"))) << text.toStdString();
    EXPECT_EQ(defaultButton, QMessageBox::No);
  }
}

}  // namespace
}  // namespace brenvik::test
