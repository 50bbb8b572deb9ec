// main() of every GUI test program: one QApplication for all tests.
#include <QApplication>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "export/ExportFormats.h"

namespace {

// Fails a test that armed OnNextModal for a modal window that never showed.
// (gtest reports test ends to listeners in reverse order, so this runs before
// the printer reports the test's result.)
class ModalCheck : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override { brenvik::test::FailForModalsNeverShown(); }
};

}  // namespace

int main(int argc, char** argv) {
  // As the program's main does, before any QHash exists.
  brenvik::MakeExportsReproducible();
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ModalCheck);
  return RUN_ALL_TESTS();
}
