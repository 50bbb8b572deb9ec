#pragma once
// The configure-output window: title, font, text size and the four colours
// of the exported page. Its boxes write ExportSettings the moment they change;
// the Select buttons take their colours from the one shared colour chooser.
// Created hidden once and shown modelessly; OK and the close box hide it.

#include <QWidget>

#include "core/page/ExportSettings.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brenvik {

class TVazozaDialog;

// A square swatch with a black outline and a solid fill.
class TShape : public QWidget {
  Q_OBJECT
 public:
  explicit TShape(QWidget* parent = nullptr);
  QColor BrushColor() const { return brush_; }
  void SetBrushColor(const QColor& colour);
 protected:
  void paintEvent(QPaintEvent* event) override;
 private:
  QColor brush_ = Qt::white;
};

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(ExportSettings& settings, QWidget* parent = nullptr);

  void Edit1Change();
  void ComboBox1Change();
  void Edit6Change();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();

  TVazozaDialog* VazozaDialog1() const { return vazozaDialog1_; }

 private:
  // Runs the chooser; on OK its colour goes into the swatch, the hex box and the setting.
  void SelectColour(TShape* shape, QLineEdit* edit, Text& setting);

  ExportSettings& settings_;
  TVazozaDialog* vazozaDialog1_ = nullptr;
  QFrame* bevel1_ = nullptr;
  TShape* shape1_ = nullptr;
  TShape* shape2_ = nullptr;
  TShape* shape3_ = nullptr;
  TShape* shape4_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  QPushButton* button3_ = nullptr;
  QPushButton* button4_ = nullptr;
  QPushButton* button5_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QLineEdit* edit3_ = nullptr;
  QLineEdit* edit4_ = nullptr;
  QLineEdit* edit5_ = nullptr;
  QLineEdit* edit6_ = nullptr;
  QComboBox* comboBox1_ = nullptr;
};

}  // namespace brenvik
