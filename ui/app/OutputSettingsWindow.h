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

class ColourChooser;

// A square swatch with a black outline and a solid fill.
class ColourSwatch : public QWidget {
  Q_OBJECT
 public:
  explicit ColourSwatch(QWidget* parent = nullptr);
  QColor brushColour() const { return brush_; }
  void setBrushColour(const QColor& colour);
 protected:
  void paintEvent(QPaintEvent* event) override;
 private:
  QColor brush_ = Qt::white;
};

class OutputSettingsWindow : public QWidget {
  Q_OBJECT
 public:
  explicit OutputSettingsWindow(ExportSettings& settings, QWidget* parent = nullptr);

  void textSizeChanged();
  void fontChanged();
  void titleChanged();
  void hideWindow();
  void selectPageBackground();
  void selectPageText();
  void selectAnswerBox();
  void selectAnswerText();

  ColourChooser* colourChooser() const { return colourChooser_; }

 private:
  // Runs the chooser; on OK its colour goes into the swatch, the hex box and the setting.
  void selectColour(ColourSwatch* shape, QLineEdit* edit, Text& setting);

  ExportSettings& settings_;
  ColourChooser* colourChooser_ = nullptr;
  QFrame* bevel_ = nullptr;
  ColourSwatch* pageBackgroundSwatch_ = nullptr;
  ColourSwatch* pageTextSwatch_ = nullptr;
  ColourSwatch* answerBoxSwatch_ = nullptr;
  ColourSwatch* answerTextSwatch_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* pageBackgroundButton_ = nullptr;
  QPushButton* pageTextButton_ = nullptr;
  QPushButton* answerBoxButton_ = nullptr;
  QPushButton* answerTextButton_ = nullptr;
  QLineEdit* textSizeEdit_ = nullptr;
  QLineEdit* pageBackgroundEdit_ = nullptr;
  QLineEdit* pageTextEdit_ = nullptr;
  QLineEdit* answerBoxEdit_ = nullptr;
  QLineEdit* answerTextEdit_ = nullptr;
  QLineEdit* titleEdit_ = nullptr;
  QComboBox* fontBox_ = nullptr;
};

}  // namespace brenvik
