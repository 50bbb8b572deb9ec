#pragma once
// The configure-output window: title, font, text size and the four colours
// of the exported page. Its controls show the settings in effect from the
// start, and write ExportSettings the moment they change; the Select buttons
// take their colours from the one shared colour chooser, and each hex box
// takes a web colour typed into it. Created hidden once and shown
// modelessly; OK and the close box hide it.

#include <QFrame>
#include <QWidget>
#include <optional>

#include "core/page/ExportSettings.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brenvik {

class ColourChooser;

// "#RRGGBB" in either case, exactly: the colour; anything else: none.
std::optional<QColor> ParseWebColour(const QString& text);

// The raised frame round the controls; only a decoration.
class Bevel : public QFrame {
  Q_OBJECT
 public:
  using QFrame::QFrame;
};

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

  // The controls show the settings again (after a test file brought its own).
  void showSettings();

  // Whether the hex box of a colour row holds text that is not a web colour
  // (it is then marked until it holds one, or loses the focus).
  static bool isMarkedInvalid(const QLineEdit* hexBox);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One colour row: its swatch, its hex box and the setting they show.
  struct ColourRow {
    ColourSwatch* swatch = nullptr;
    QLineEdit* hexBox = nullptr;
    Text ExportSettings::*setting = nullptr;
  };
  // Runs the chooser; on OK its colour goes into the row's swatch, hex box and setting.
  void selectColour(const ColourRow& row);
  // The row's swatch, hex box and setting all take colour.
  void setRowColour(const ColourRow& row, const QColor& colour);
  // A web colour typed into the row's hex box is taken at once; any other
  // text is marked and changes nothing.
  void hexTextEdited(const ColourRow& row);
  // Leaving the hex box puts the colour in effect back into it.
  void hexEditingFinished(const ColourRow& row);
  static void markInvalid(QLineEdit* hexBox, bool invalid);

  ExportSettings& settings_;
  ColourChooser* colourChooser_ = nullptr;
  Bevel* bevel_ = nullptr;
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
  ColourRow pageBackgroundRow_;
  ColourRow pageTextRow_;
  ColourRow answerBoxRow_;
  ColourRow answerTextRow_;
  bool placed_ = false;
};

}  // namespace brenvik
