#include "ui/chooser/ColourChooserWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include "ui/platform/QtColour.h"
#include "ui/chooser/ChooserAccessibility.h"
#include "ui/chooser/ColourChooser.h"
#include "ui/platform/CommandGuard.h"
#include "ui/chooser/ChooserPages.h"
#include "core/text/Errors.h"
#include "ui/platform/Platform.h"
#include "ui/platform/QtPlatform.h"

namespace brenvik {

// ---------------------------------------------------------------- ColourBox

ColourBox::ColourBox(QWidget* parent) : QFrame(parent) {}

void ColourBox::setBoxColour(Colour value) {
  if (colour_ == value) return;
  colour_ = value;
  update();
  // A screen reader reads the colour as the box's description.
  if (QAccessible::isActive()) {
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
  }
}

void ColourBox::click() {
  if (pickable_) emit clicked(this);
}

void ColourBox::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(contentsRect(), ToQColour(colour_));
  }
  QFrame::paintEvent(event);
}

void ColourBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  pressPos_ = event->position().toPoint();
  QFrame::mousePressEvent(event);
}

void ColourBox::mouseMoveEvent(QMouseEvent* event) {
  if (dragSource_ && pressed_ &&
      (event->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
    pressed_ = false;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kSwatchMimeType), QByteArray::fromStdString(ColourToWebString(colour_)));
    drag->setMimeData(mime);
    QPixmap pixmap(16, 16);
    pixmap.fill(ToQColour(colour_));
    drag->setPixmap(pixmap);
    drag->exec(Qt::CopyAction);
    return;
  }
  QFrame::mouseMoveEvent(event);
}

void ColourBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked = pressed_ && rect().contains(event->position().toPoint());
  pressed_ = false;
  QFrame::mouseReleaseEvent(event);
  if (clicked) click();
}

void ColourBox::dragEnterEvent(QDragEnterEvent* event) {
  auto* form = qobject_cast<ColourChooserWindow*>(window());
  if (form && form->acceptsSwatchDrag(event->source(), event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void ColourBox::dragMoveEvent(QDragMoveEvent* event) {
  auto* form = qobject_cast<ColourChooserWindow*>(window());
  if (form && form->acceptsSwatchDrag(event->source(), event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void ColourBox::dropEvent(QDropEvent* event) {
  auto* form = qobject_cast<ColourChooserWindow*>(window());
  if (!form || !form->acceptsSwatchDrag(event->source(), event->mimeData())) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit dropped(this);
}

// --------------------------------------------------------- ColourChooserWindow

ColourChooserWindow::ColourChooserWindow(QWidget* parent) : QDialog(parent) {
  InstallChooserAccessibility();
  setObjectName(QStringLiteral("frmVazozaDialog"));
  setWindowTitle(QStringLiteral("Color"));
  setFixedSize(341, 312);
  // The dialog's small sans serif (8 points at 96 dpi) so that all nine tabs
  // fit across the 341-pixel window without scroll arrows.
  QFont font = ClassicSansFont();
  font.setPixelSize(11);
  setFont(font);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("pgcPages"));
  pages_->setGeometry(0, 0, 341, 225);
  // Narrow tab padding, set on the tab bar alone: a style sheet on the tab
  // widget would cut the pages off from the dialog's font, and every page is
  // laid out for that font.
  pages_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
  pages_->setUsesScrollButtons(false);
  // The pages whose tabs are hidden wait here, outside the window: a page
  // the page control does not hold cannot be reached by any key, click or
  // accessibility action, and is not in the window's accessibility tree.
  pageStore_ = std::make_unique<QWidget>();
  pageStore_->setObjectName(QStringLiteral("HiddenPages"));
  ++switchingPages_;
  for (int i = 0; i < kPageCount; ++i) {
    const auto tag = static_cast<ChooserPageId>(i);
    ChooserPage* page = CreateChooserPage(tag, *this, pages_);
    if (page->objectName().isEmpty()) page->setObjectName(QStringLiteral("tab") + page->tabCaption());
    pageWidgets_[i] = page;
    pages_->addTab(page, page->tabCaption());
  }
  pages_->setCurrentIndex(pageCMYK);  // the page active until execute() picks one
  --switchingPages_;
  connect(pages_, &QTabWidget::currentChanged, this, &ColourChooserWindow::pageChanged);

  swatchFrame_ = new QFrame(this);
  swatchFrame_->setObjectName(QStringLiteral("pnlSwatches"));
  swatchFrame_->setGeometry(8, 236, 64, 32);
  reference_ = new ColourBox(swatchFrame_);
  reference_->setObjectName(QStringLiteral("pnlReference"));
  reference_->setGeometry(2, 2, 30, 28);
  reference_->setBoxColour(0xFFFFFF);
  reference_->setCursor(Qt::PointingHandCursor);
  reference_->setDropTarget(true);
  reference_->setPickable(true);
  reference_->setAccessibleName(QStringLiteral("Reference colour"));
  currentSwatch_ = new ColourBox(swatchFrame_);
  currentSwatch_->setObjectName(QStringLiteral("pnlCurrent"));
  currentSwatch_->setGeometry(32, 2, 30, 28);
  currentSwatch_->setBoxColour(0);
  currentSwatch_->setDragSource(true);
  currentSwatch_->setAccessibleName(QStringLiteral("Current colour"));

  collection_ = new QFrame(this);
  collection_->setObjectName(QStringLiteral("pnlCollection"));
  collection_->setGeometry(77, 236, 261, 32);
  for (int i = 0; i < kCustomColourCount; ++i) {
    auto* box = new ColourBox(collection_);
    box->setObjectName(QStringLiteral("pnl") + QString::number(i + 1));
    box->setGeometry(2 + (i % 16) * 16, (i / 16) * 16, 16, 16);
    box->setBoxColour(ColourChooser::kSilver);
    box->setCursor(Qt::PointingHandCursor);
    box->setDropTarget(true);
    box->setPickable(true);
    box->setAccessibleName(QStringLiteral("Custom colour %1").arg(i + 1));
    boxes_[i] = box;
  }
  setCtl3D(true);

  for (ColourBox* box : boxes_) {
    connect(box, &ColourBox::clicked, this, Guarded(this, [this](ColourBox* b) { pickBoxColour(b); }));
    connect(box, &ColourBox::dropped, this,
            Guarded(this, [this](ColourBox* b) { dropCurrentColourOn(b); }));
  }
  connect(reference_, &ColourBox::clicked, this, Guarded(this, [this](ColourBox* b) { pickBoxColour(b); }));
  connect(reference_, &ColourBox::dropped, this,
          Guarded(this, [this](ColourBox* b) { dropCurrentColourOn(b); }));

  help_ = new QPushButton(QStringLiteral("Help"), this);
  help_->setObjectName(QStringLiteral("btnHelp"));
  help_->setGeometry(8, 280, 77, 25);
  help_->setAutoDefault(false);
  connect(help_, &QPushButton::clicked, this, Guarded(this, &ColourChooserWindow::showHelp));

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("btnOK"));
  ok_->setGeometry(172, 280, 77, 25);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("btnCancel"));
  cancel_->setGeometry(256, 280, 77, 25);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);  // Esc and the close box reject too

  // Creation: show the window's current colour (black) on the page active as
  // built. No component is linked yet, so this cannot reach one.
  showColour(current_);
}

ColourChooserWindow::~ColourChooserWindow() {
  // The pages talk to this window; take them down while it is still whole.
  chooser_ = nullptr;
  disconnect(pages_, nullptr, this, nullptr);
  ++switchingPages_;
  delete pages_;
  pages_ = nullptr;
  pageStore_.reset();
  pageWidgets_.fill(nullptr);
}

void ColourChooserWindow::setCurrentColour(Colour value) {
  current_ = SplitColour(value);
  showColour(current_);
}

Colour ColourChooserWindow::currentColourValue() const { return RGBToColour(pageColour()); }

void ColourChooserWindow::setReferenceSwatch(Colour value) {
  if (reference_->boxColour() == value) return;
  reference_->setBoxColour(value);
  updateCurrentColour();
}

Colour ColourChooserWindow::referenceSwatch() const { return reference_->boxColour(); }

Colour ColourChooserWindow::customColourBox(int index) const {
  if (index < 1 || index > kCustomColourCount) throw RangeError();
  return boxes_[index - 1]->boxColour();
}

void ColourChooserWindow::setCustomColourBox(int index, Colour value) {
  if (index < 1 || index > kCustomColourCount) throw RangeError();
  boxes_[index - 1]->setBoxColour(value);
}

ColourVector ColourChooserWindow::pageColour() const {
  if (ChooserPage* page = activePage()) return page->pageColour();
  return current_;
}

void ColourChooserWindow::showColour(const ColourVector& rgb) {
  if (ChooserPage* page = activePage()) {
    page->showColour(rgb);
  } else {
    updateCurrentColour();
  }
}

Colour ColourChooserWindow::currentSwatchColour() const { return currentSwatch_->boxColour(); }

void ColourChooserWindow::updateCurrentColour() {
  current_ = pageColour();
  currentSwatch_->setBoxColour(RGBToColour(current_));
  if (currentSwatch_->isVisible()) currentSwatch_->repaint();
  // While a run is in progress the component's colours follow the window live.
  if (chooser_ && (chooser_->colour_ != currentSwatch_->boxColour() ||
                 chooser_->referenceColour_ != reference_->boxColour())) {
    chooser_->referenceColour_ = reference_->boxColour();
    chooser_->colour_ = currentSwatch_->boxColour();
    chooser_->doApply(false);
  }
}

bool ColourChooserWindow::isActivePage(ChooserPageId page) const {
  return activePage() != nullptr && activePageId() == page;
}

void ColourChooserWindow::setButtonCaptions(const QString& ok, const QString& cancel) {
  ok_->setText(ok);
  cancel_->setText(cancel);
}

void ColourChooserWindow::setStayOnTop(bool on) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  if (isVisible() && windowHandle()) {
    // Changing the flags through QWidget would hide the window and end its modal loop.
    overrideWindowFlags(on ? (windowFlags() | Qt::WindowStaysOnTopHint) : (windowFlags() & ~Qt::WindowStaysOnTopHint));
    windowHandle()->setFlag(Qt::WindowStaysOnTopHint, on);
  } else {
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
  }
}

void ColourChooserWindow::setCtl3D(bool on) {
  // 3-D look: sunken borders; otherwise flat single lines.
  const int style = on ? (QFrame::Panel | QFrame::Sunken) : (QFrame::Box | QFrame::Plain);
  swatchFrame_->setFrameStyle(style);
  swatchFrame_->setLineWidth(on ? 2 : 1);
  for (ColourBox* box : boxes_) {
    box->setFrameStyle(style);
    box->setLineWidth(1);
  }
}

void ColourChooserWindow::setHelpButtonVisible(bool on) { help_->setVisible(on); }

void ColourChooserWindow::setVisiblePages(std::uint16_t pages) {
  // A page is shown by putting it into the page control, in page order, and
  // hidden by taking it out; taking out the active page moves to the next
  // shown page on the right, or else on the left.
  switchPages([&] {
    int position = 0;
    for (int i = 0; i < kPageCount; ++i) {
      ChooserPage* page = pageWidgets_[i];
      const int index = pages_->indexOf(page);
      if ((pages >> i) & 1u) {
        if (index < 0) pages_->insertTab(position, page, page->tabCaption());
        ++position;
      } else if (index >= 0) {
        pages_->removeTab(index);
        page->setParent(pageStore_.get());
      }
    }
  });
}

bool ColourChooserWindow::isPageShown(ChooserPageId page) const {
  ChooserPage* widget = this->page(page);
  return widget != nullptr && pages_->indexOf(widget) >= 0;
}

void ColourChooserWindow::setActivePageIfShown(ChooserPageId page) {
  const int index = pages_->indexOf(this->page(static_cast<ChooserPageId>(static_cast<int>(page) & 0x7F)));
  if (index < 0) return;
  switchPages([&] { pages_->setCurrentIndex(index); });
}

void ColourChooserWindow::switchPages(const std::function<void()>& change) {
  // The pages passed on the way (hiding several tabs may step through some)
  // are not shown the colour: each would round it in its own way.
  const QWidget* before = pages_->currentWidget();
  {
    struct Quiet {
      int& counter;
      explicit Quiet(int& c) : counter(c) { ++counter; }
      ~Quiet() { --counter; }
    } quiet(switchingPages_);
    change();
  }
  if (!settingUp_ && pages_->currentWidget() != before) showColour(current_);
}

void ColourChooserWindow::setSwatches(Colour reference, Colour current) {
  reference_->setBoxColour(reference);
  currentSwatch_->setBoxColour(current);
  settingUp_ = false;
}

void ColourChooserWindow::refreshInfo() {
  for (ChooserPage* page : pageWidgets_) {
    if (page) page->refreshInfo();
  }
}

ChooserPage* ColourChooserWindow::activePage() const {
  return pages_ ? qobject_cast<ChooserPage*>(pages_->currentWidget()) : nullptr;
}

ChooserPageId ColourChooserWindow::activePageId() const {
  ChooserPage* page = activePage();
  return page ? static_cast<ChooserPageId>(static_cast<int>(page->tag()) & 0x7F) : pageVGA;
}

ChooserPage* ColourChooserWindow::page(ChooserPageId page) const {
  const int index = static_cast<int>(page);
  return index >= 0 && index < kPageCount ? pageWidgets_[index] : nullptr;
}

bool ColourChooserWindow::acceptsSwatchDrag(const QObject* source, const QMimeData* mime) const {
  return source != nullptr && source == currentSwatch_ && mime != nullptr &&
         mime->hasFormat(QString::fromLatin1(kSwatchMimeType));
}

void ColourChooserWindow::dropCurrentColourOn(ColourBox* target) {
  target->setBoxColour(currentSwatch_->boxColour());
  updateCurrentColour();
}

void ColourChooserWindow::pickBoxColour(ColourBox* box) {
  const Colour colour = box->boxColour();
  showColour(SplitColour(colour));
  if (currentSwatch_->boxColour() != colour) {
    currentSwatch_->setBoxColour(colour);
    current_ = SplitColour(colour);
  }
  updateCurrentColour();
  refreshInfo();
}

void ColourChooserWindow::showHelp() {
  const int context = autoHelp_ ? helpContext_ + static_cast<int>(activePageId()) + 1 : helpContext_;
  platform().showHelpContext(this, QCoreApplication::applicationDirPath() + QStringLiteral("/brenvik.hlp"), context);
}

bool ColourChooserWindow::event(QEvent* e) {
  if (e->type() == QEvent::ApplicationPaletteChange) {
    RunCommand(this, [this] { systemColoursChanged(); });
  }
  return QDialog::event(e);
}

void ColourChooserWindow::pageChanged(int) {
  if (switchingPages_ > 0) return;
  RunCommand(this, [this] { showColour(current_); });
}

void ColourChooserWindow::systemColoursChanged() {
  for (ChooserPage* page : pageWidgets_) {
    if (page) page->systemColoursChanged();
  }
  updateCurrentColour();
}

}  // namespace brenvik
