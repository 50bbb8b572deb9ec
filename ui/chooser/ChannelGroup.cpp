#include "ui/chooser/ChannelGroup.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "ui/platform/CommandGuard.h"
#include "ui/platform/Platform.h"

namespace brenvik {

namespace {
constexpr int kBoxLeft = 8;
constexpr int kBoxWidth = 41;
constexpr int kSpinLeft = 48;
constexpr int kSpinWidth = 15;
constexpr int kRowHeight = 21;
constexpr int kSliderLeft = 72;
constexpr int kSliderWidth = 257;
constexpr int kPanelLeft = 80;
constexpr int kPanelWidth = 241;
constexpr int kPanelHeight = 17;
constexpr int kPanelBorder = 2;  // the strip fills the panel inside its border: 237 by 13
}  // namespace

// ---------------------------------------------------------------- UpDown

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum) {
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(7, 4));
  }
  up_->setObjectName(QStringLiteral("up"));
  down_->setObjectName(QStringLiteral("down"));
  connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
  resize(kSpinWidth, kRowHeight);
}

void UpDown::setPosition(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == position_) return;
  position_ = value;
  const QString text = QString::number(position_);
  if (buddy_->text() != text) buddy_->setText(text);
  buddy_->repaint();
}

void UpDown::step(int delta) {
  emit changing();
  setPosition(position_ + delta);
  emit clicked();
}

void UpDown::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

// ---------------------------------------------------------------- StripBox

StripBox::StripBox(QWidget* parent) : QWidget(parent) { setCursor(Qt::CrossCursor); }

void StripBox::paintEvent(QPaintEvent*) {
  if (!painter_) return;
  QPainter p(this);
  painter_(p, width(), height());
}

void StripBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit pressed(static_cast<int>(event->position().x()));
  QWidget::mousePressEvent(event);
}

// ---------------------------------------------------------------- ChannelGroup

ChannelGroup::ChannelGroup(QWidget* page, const ChannelSpec& spec, SliderMode mode)
    : QObject(page), mode_(mode) {
  setObjectName(QStringLiteral("grp") + spec.name);

  box_ = new QLineEdit(page);
  box_->setObjectName(QStringLiteral("edt") + spec.name);
  box_->setGeometry(kBoxLeft, spec.boxTop, kBoxWidth, kRowHeight);
  box_->setMaxLength(3);
  box_->setText(QStringLiteral("0"));
  box_->installEventFilter(this);

  spin_ = new UpDown(box_, 0, spec.maximum, page);
  spin_->setObjectName(QStringLiteral("spn") + spec.name);
  spin_->setGeometry(kSpinLeft, spec.boxTop, kSpinWidth, kRowHeight);
  spin_->raise();

  label_ = new QLabel(spec.label, page);
  label_->setObjectName(QStringLiteral("lbl") + spec.name);
  label_->move(kBoxLeft, spec.labelTop);
  label_->adjustSize();
  label_->setBuddy(box_);

  panel_ = new QFrame(page);
  panel_->setObjectName(QStringLiteral("bvl") + spec.name);
  panel_->setGeometry(kPanelLeft, spec.stripTop, kPanelWidth, kPanelHeight);
  panel_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  QPalette pal = panel_->palette();
  pal.setColor(QPalette::Window, spec.panelColour);
  panel_->setPalette(pal);
  panel_->setAutoFillBackground(true);

  strip_ = new StripBox(panel_);
  strip_->setObjectName(QStringLiteral("pnt") + spec.name);
  strip_->setGeometry(kPanelBorder, kPanelBorder, kPanelWidth - 2 * kPanelBorder,
                      kPanelHeight - 2 * kPanelBorder);

  slider_ = new QSlider(Qt::Horizontal, page);
  slider_->setObjectName(QStringLiteral("tbr") + spec.name);
  slider_->setGeometry(kSliderLeft, spec.sliderTop, kSliderWidth, kRowHeight);
  slider_->setRange(0, spec.maximum);
  slider_->setSingleStep(1);
  slider_->setPageStep(spec.pageStep);
  slider_->setTickPosition(QSlider::NoTicks);
  slider_->setValue(0);

  mirrorHook = [this] { syncSpin(); };

  connect(box_, &QLineEdit::textChanged, this,
          Guarded(page, [this](const QString& text) { boxChanged(text); }));
  connect(slider_, &QSlider::valueChanged, this, Guarded(page, [this] { sliderChanged(); }));
  connect(spin_, &UpDown::changing, this, Guarded(page, [this] { spinChanging(); }));
  connect(spin_, &UpDown::clicked, this, Guarded(page, [this] { spinClicked(); }));
  connect(strip_, &StripBox::pressed, this, Guarded(page, [this](int x) { stripPressed(x); }));
}

int ChannelGroup::position() const { return slider_->value(); }

void ChannelGroup::setPosition(int value) { slider_->setValue(value); }

void ChannelGroup::syncSpin() { spin_->setPosition(slider_->value()); }

void ChannelGroup::setPainter(StripBox::Painter painter) { strip_->setPainter(std::move(painter)); }

void ChannelGroup::repaintStrip() { strip_->update(); }

void ChannelGroup::runRefreshHook() const {
  if (refreshHook) refreshHook();
}

void ChannelGroup::runUpdateHook() const {
  if (updateHook) updateHook();
}

// Typed text moves the slider; text that is no number (an emptied box) counts
// as 0. The slider clamps to its range; the box keeps what was typed until it
// is left or the spin rewrites it.
void ChannelGroup::boxChanged(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  slider_->setValue(ok ? value : 0);
  runRefreshHook();
  runUpdateHook();
}

void ChannelGroup::sliderChanged() {
  if (mirrorHook) mirrorHook();
  if (mode_ == SliderMode::Live) {
    runRefreshHook();
    runUpdateHook();
  }
}

void ChannelGroup::spinChanging() {
  slider_->setValue(spin_->position());
  runRefreshHook();
  runUpdateHook();
}

void ChannelGroup::spinClicked() {
  box_->setFocus(Qt::OtherFocusReason);
  box_->selectAll();
}

void ChannelGroup::stripPressed(int x) {
  const int w = strip_->width();
  if (w <= 0 || !clickPosition) return;
  slider_->setValue(clickPosition(x, w));
  slider_->setFocus(Qt::MouseFocusReason);
  if (mirrorHook) mirrorHook();
  runRefreshHook();
  runUpdateHook();
}

bool ChannelGroup::eventFilter(QObject* watched, QEvent* event) {
  if (watched != box_) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Up:
        spin_->step(+1);
        return true;
      case Qt::Key_Down:
        spin_->step(-1);
        return true;
      case Qt::Key_Backspace:
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
      case Qt::Key_Delete:
        return false;  // editing and the dialog's own keys
      default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty()) return false;  // cursor keys, modifiers
    if (text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9')) return false;
    platform().beep();
    return true;
  }
  if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Only leaving the box for another control counts, not the window losing
    // the focus or a popup opening.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      box_->setText(QString::number(slider_->value()));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brenvik
