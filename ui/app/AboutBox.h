#pragma once
// The about box: product name, version, rights notice and thanks on a cream
// panel, and an OK button. Modal, fixed size; Enter and the close box close
// it, Esc does not (there is no Cancel button). Centred on the screen the
// first time it is shown, afterwards where it was left.

#include <QDialog>
#include <QFrame>

class QKeyEvent;
class QShowEvent;

namespace brenvik {

// A panel with a lowered outer and a raised inner bevel.
class BevelPanel : public QFrame {
  Q_OBJECT
 public:
  explicit BevelPanel(QWidget* parent = nullptr);
 protected:
  void paintEvent(QPaintEvent* event) override;
};

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 298;
  static constexpr int kClientHeight = 213;

  explicit AboutBox(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool placed_ = false;
};

}  // namespace brenvik
