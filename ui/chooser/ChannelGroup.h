#pragma once
// The channel group shared by the slider pages of the colour chooser (HSB,
// RGB, CMY, CMYK, Gray): a label, a colour strip in a bordered panel, a
// slider, and a three-digit number box with an attached up-down spin. The
// slider holds the channel's value; the spin and the number box mirror it.

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QSlider;
class QToolButton;

namespace brenvik {

// Up-down control attached to a number box: two arrow buttons and a position
// within [minimum, maximum] that does not wrap. A change of position writes
// the position into the number box.
class UpDown : public QWidget {
  Q_OBJECT
 public:
  UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

  int position() const { return position_; }
  // Clamps value to the range; when the position moves, the number box text
  // becomes the new position.
  void setPosition(int value);
  // One step as a click on an arrow makes it: changing(), the step, clicked().
  void step(int delta);

 signals:
  void changing();
  void clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLineEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_;
  int maximum_;
  int position_ = 0;
};

// Paint box filling a strip's panel; shows a cross-hair and reports presses
// of the left button with the pointer's x.
class StripBox : public QWidget {
  Q_OBJECT
 public:
  using Painter = std::function<void(QPainter&, int width, int height)>;
  explicit StripBox(QWidget* parent);
  void setPainter(Painter painter) { painter_ = std::move(painter); }

 signals:
  void pressed(int x);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Painter painter_;
};

struct ChannelSpec {
  QString name;    // control names: lbl<name>, bvl<name>, pnt<name>, tbr<name>, edt<name>, spn<name>
  QString label;   // "&Hue"
  int labelTop = 0;
  int stripTop = 0;
  int sliderTop = 0;
  int boxTop = 0;
  int maximum = 255;  // the range is 0 to maximum
  int pageStep = 10;
  QColor panelColour = Qt::white;
};

class ChannelGroup : public QObject {
  Q_OBJECT
 public:
  // Live: a slider change mirrors, refreshes and updates the current colour
  // itself (HSB page). MirrorOnly: a slider change only mirrors; the number
  // box it rewrites then updates the current colour (the other pages).
  enum class SliderMode { Live, MirrorOnly };

  ChannelGroup(QWidget* page, const ChannelSpec& spec, SliderMode mode);

  // Set by the page. mirrorHook: the page's spin synchronisation (all channels);
  // refreshHook: what the page redraws after this channel moves (may be empty);
  // updateHook: the dialog's updateCurrentColour; clickPosition: slider value
  // for a click at x on a strip w pixels wide.
  std::function<void()> mirrorHook;
  std::function<void()> refreshHook;
  std::function<void()> updateHook;
  std::function<int(int x, int w)> clickPosition;

  int position() const;
  // slider := value (clamped to the range); the slider's change handler runs
  // when the position moves.
  void setPosition(int value);
  // spin position := slider position; the number box follows when it moves.
  void syncSpin();
  void setPainter(StripBox::Painter painter);
  void repaintStrip();

  QLabel* label() const { return label_; }
  QFrame* panel() const { return panel_; }
  StripBox* strip() const { return strip_; }
  QSlider* slider() const { return slider_; }
  QLineEdit* numberBox() const { return box_; }
  UpDown* spin() const { return spin_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void boxChanged(const QString& text);
  void sliderChanged();
  void spinChanging();
  void spinClicked();
  void stripPressed(int x);
  void runRefreshHook() const;
  void runUpdateHook() const;

  SliderMode mode_;
  QLabel* label_;
  QFrame* panel_;
  StripBox* strip_;
  QSlider* slider_;
  QLineEdit* box_;
  UpDown* spin_;
};

}  // namespace brenvik
