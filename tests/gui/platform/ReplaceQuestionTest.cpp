// The Qt platform's question before a save replaces a file, as the toolkit's
// file dialog asks it: the file's name, Yes and No, No the default.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "ui/platform/QtPlatform.h"

namespace brenvik::test {
namespace {

TEST(ReplaceQuestion, NamesTheFileAndReplacesOnlyOnYes) {
  // NoButton: the box is closed with Esc.
  for (const auto press : {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton}) {
    QString text;
    QMessageBox::StandardButton byDefault = QMessageBox::NoButton;
    OnNextModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      text = box->text();
      byDefault = box->standardButton(box->defaultButton());
      press == QMessageBox::NoButton ? box->reject() : box->button(press)->click();
    });
    EXPECT_EQ(QtPlatform().askReplaceFile(nullptr, QStringLiteral("/tmp/lessons/german.htm")), press == QMessageBox::Yes);
    EXPECT_TRUE(text.contains(QStringLiteral("/tmp/lessons/german.htm"))) << text.toStdString();
    EXPECT_EQ(byDefault, QMessageBox::No);
  }
}

}  // namespace
}  // namespace brenvik::test
