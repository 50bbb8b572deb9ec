#include "ui/chooser/ColourChooserWindow.h"

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
#include "ui/chooser/ColourChooser.h"
#include "ui/platform/CommandGuard.h"
#include "ui/chooser/ChooserPages.h"
#include "core/text/Errors.h"
#include "ui/platform/Platform.h"
#include "ui/platform/QtPlatform.h"

namespace brenvik {

// ---------------------------------------------------------------- TColorBox

TColorBox::TColorBox(QWidget* parent) : QFrame(parent) {}

void TColorBox::SetBoxColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  update();
}

void TColorBox::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(contentsRect(), ToQColor(color_));
  }
  QFrame::paintEvent(event);
}

void TColorBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  pressPos_ = event->position().toPoint();
  QFrame::mousePressEvent(event);
}

void TColorBox::mouseMoveEvent(QMouseEvent* event) {
  if (dragSource_ && pressed_ &&
      (event->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
    pressed_ = false;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kSwatchMimeType), QByteArray::fromStdString(ColorToWebString(color_)));
    drag->setMimeData(mime);
    QPixmap pixmap(16, 16);
    pixmap.fill(ToQColor(color_));
    drag->setPixmap(pixmap);
    drag->exec(Qt::CopyAction);
    return;
  }
  QFrame::mouseMoveEvent(event);
}

void TColorBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && rect().contains(event->position().toPoint());
  pressed_ = false;
  QFrame::mouseReleaseEvent(event);
  if (click) emit Clicked(this);
}

void TColorBox::dragEnterEvent(QDragEnterEvent* event) {
  auto* form = qobject_cast<TfrmVazozaDialog*>(window());
  if (form && form->AcceptsSwatchDrag(event->source(), event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TColorBox::dragMoveEvent(QDragMoveEvent* event) {
  auto* form = qobject_cast<TfrmVazozaDialog*>(window());
  if (form && form->AcceptsSwatchDrag(event->source(), event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TColorBox::dropEvent(QDropEvent* event) {
  auto* form = qobject_cast<TfrmVazozaDialog*>(window());
  if (!form || !form->AcceptsSwatchDrag(event->source(), event->mimeData())) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit Dropped(this);
}

// --------------------------------------------------------- TfrmVazozaDialog

TfrmVazozaDialog::TfrmVazozaDialog(QWidget* parent) : QDialog(parent) {
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
  ++switchingPages_;
  for (int i = 0; i < 9; ++i) {
    const auto tag = static_cast<TDialogPage>(i);
    VazozaPage* page = CreateVazozaPage(tag, *this, pages_);
    if (page->objectName().isEmpty()) page->setObjectName(QStringLiteral("tab") + page->TabCaption());
    pageWidgets_[i] = page;
    pages_->addTab(page, page->TabCaption());
  }
  pages_->setCurrentIndex(pageCMYK);  // the page active as built
  --switchingPages_;
  connect(pages_, &QTabWidget::currentChanged, this, &TfrmVazozaDialog::PageChanged);

  swatchFrame_ = new QFrame(this);
  swatchFrame_->setObjectName(QStringLiteral("pnlSwatches"));
  swatchFrame_->setGeometry(8, 236, 64, 32);
  reference_ = new TColorBox(swatchFrame_);
  reference_->setObjectName(QStringLiteral("pnlReference"));
  reference_->setGeometry(2, 2, 30, 28);
  reference_->SetBoxColor(0xFFFFFF);
  reference_->setCursor(Qt::PointingHandCursor);
  reference_->SetDropTarget(true);
  currentSwatch_ = new TColorBox(swatchFrame_);
  currentSwatch_->setObjectName(QStringLiteral("pnlCurrent"));
  currentSwatch_->setGeometry(32, 2, 30, 28);
  currentSwatch_->SetBoxColor(0);
  currentSwatch_->SetDragSource(true);

  collection_ = new QFrame(this);
  collection_->setObjectName(QStringLiteral("pnlCollection"));
  collection_->setGeometry(77, 236, 261, 32);
  for (int i = 0; i < 32; ++i) {
    auto* box = new TColorBox(collection_);
    box->setObjectName(QStringLiteral("pnl") + QString::number(i + 1));
    box->setGeometry(2 + (i % 16) * 16, (i / 16) * 16, 16, 16);
    box->SetBoxColor(TVazozaDialog::kSilver);
    box->setCursor(Qt::PointingHandCursor);
    box->SetDropTarget(true);
    boxes_[i] = box;
  }
  SetCtl3D(true);

  for (TColorBox* box : boxes_) {
    connect(box, &TColorBox::Clicked, this, [this](TColorBox* b) { RunGuarded(this, [&] { PickBoxColor(b); }); });
    connect(box, &TColorBox::Dropped, this,
            [this](TColorBox* b) { RunGuarded(this, [&] { DropCurrentColorOn(b); }); });
  }
  connect(reference_, &TColorBox::Clicked, this, [this](TColorBox* b) { RunGuarded(this, [&] { PickBoxColor(b); }); });
  connect(reference_, &TColorBox::Dropped, this,
          [this](TColorBox* b) { RunGuarded(this, [&] { DropCurrentColorOn(b); }); });

  help_ = new QPushButton(QStringLiteral("Help"), this);
  help_->setObjectName(QStringLiteral("btnHelp"));
  help_->setGeometry(8, 280, 77, 25);
  help_->setAutoDefault(false);
  connect(help_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { HelpClick(); }); });

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
  ShowColor(current_);
}

TfrmVazozaDialog::~TfrmVazozaDialog() {
  // The pages talk to this window; take them down while it is still whole.
  owner_ = nullptr;
  disconnect(pages_, nullptr, this, nullptr);
  ++switchingPages_;
  delete pages_;
  pages_ = nullptr;
  pageWidgets_.fill(nullptr);
}

void TfrmVazozaDialog::SetCurrentColor(TColor value) {
  current_ = SplitColor(value);
  ShowColor(current_);
}

TColor TfrmVazozaDialog::GetCurrentColor() const { return RGBToColor(GetPageColor()); }

void TfrmVazozaDialog::SetReferenceSwatch(TColor value) {
  if (reference_->BoxColor() == value) return;
  reference_->SetBoxColor(value);
  UpdateCurrentColor();
}

TColor TfrmVazozaDialog::GetReferenceSwatch() const { return reference_->BoxColor(); }

TColor TfrmVazozaDialog::GetCustomColor(int index) const {
  if (index < 1 || index > 32) throw RangeError();
  return boxes_[index - 1]->BoxColor();
}

void TfrmVazozaDialog::SetCustomColor(int index, TColor value) {
  if (index < 1 || index > 32) throw RangeError();
  boxes_[index - 1]->SetBoxColor(value);
}

TColorVector TfrmVazozaDialog::GetPageColor() const {
  if (VazozaPage* page = ActivePage()) return page->GetPageColor();
  return current_;
}

void TfrmVazozaDialog::ShowColor(const TColorVector& rgb) {
  if (VazozaPage* page = ActivePage()) {
    page->ShowColor(rgb);
  } else {
    UpdateCurrentColor();
  }
}

TColor TfrmVazozaDialog::CurrentSwatchColor() const { return currentSwatch_->BoxColor(); }

void TfrmVazozaDialog::UpdateCurrentColor() {
  current_ = GetPageColor();
  currentSwatch_->SetBoxColor(RGBToColor(current_));
  if (currentSwatch_->isVisible()) currentSwatch_->repaint();
  // While a run is in progress the component's colours follow the window live.
  if (owner_ && (owner_->color_ != currentSwatch_->BoxColor() ||
                 owner_->referenceColor_ != reference_->BoxColor())) {
    owner_->referenceColor_ = reference_->BoxColor();
    owner_->color_ = currentSwatch_->BoxColor();
    owner_->DoApply(false);
  }
}

bool TfrmVazozaDialog::IsActivePage(TDialogPage page) const {
  return ActivePage() != nullptr && ActivePageTag() == page;
}

void TfrmVazozaDialog::SetButtonCaptions(const QString& ok, const QString& cancel) {
  ok_->setText(ok);
  cancel_->setText(cancel);
}

void TfrmVazozaDialog::SetStayOnTop(bool on) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  if (isVisible() && windowHandle()) {
    // Changing the flags through QWidget would hide the window and end its modal loop.
    overrideWindowFlags(on ? (windowFlags() | Qt::WindowStaysOnTopHint) : (windowFlags() & ~Qt::WindowStaysOnTopHint));
    windowHandle()->setFlag(Qt::WindowStaysOnTopHint, on);
  } else {
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
  }
}

void TfrmVazozaDialog::SetCtl3D(bool on) {
  // 3-D look: sunken borders; otherwise flat single lines.
  const int style = on ? (QFrame::Panel | QFrame::Sunken) : (QFrame::Box | QFrame::Plain);
  swatchFrame_->setFrameStyle(style);
  swatchFrame_->setLineWidth(on ? 2 : 1);
  for (TColorBox* box : boxes_) {
    box->setFrameStyle(style);
    box->setLineWidth(1);
  }
}

void TfrmVazozaDialog::SetHelpButtonVisible(bool on) { help_->setVisible(on); }

void TfrmVazozaDialog::SetVisiblePages(std::uint16_t pages) {
  // Hiding the active page's tab moves to another page.
  SwitchPages([&] {
    for (int i = 0; i < 9; ++i) pages_->setTabVisible(i, (pages >> i) & 1u);
  });
}

void TfrmVazozaDialog::SetActivePageIfShown(TDialogPage page) {
  const int index = static_cast<int>(page) & 0x7F;
  if (index < 0 || index >= 9 || !pages_->isTabVisible(index)) return;
  SwitchPages([&] { pages_->setCurrentIndex(index); });
}

void TfrmVazozaDialog::SwitchPages(const std::function<void()>& change) {
  // The pages passed on the way (hiding several tabs may step through some)
  // are not shown the colour: each would round it in its own way.
  const int before = pages_->currentIndex();
  {
    struct Quiet {
      int& counter;
      explicit Quiet(int& c) : counter(c) { ++counter; }
      ~Quiet() { --counter; }
    } quiet(switchingPages_);
    change();
  }
  if (!settingUp_ && pages_->currentIndex() != before) ShowColor(current_);
}

void TfrmVazozaDialog::SetSwatches(TColor reference, TColor current) {
  reference_->SetBoxColor(reference);
  currentSwatch_->SetBoxColor(current);
  settingUp_ = false;
}

void TfrmVazozaDialog::RefreshInfo() {
  for (VazozaPage* page : pageWidgets_) {
    if (page) page->RefreshInfo();
  }
}

VazozaPage* TfrmVazozaDialog::ActivePage() const {
  return pages_ ? qobject_cast<VazozaPage*>(pages_->currentWidget()) : nullptr;
}

TDialogPage TfrmVazozaDialog::ActivePageTag() const {
  VazozaPage* page = ActivePage();
  return page ? static_cast<TDialogPage>(static_cast<int>(page->tag()) & 0x7F) : pageVGA;
}

VazozaPage* TfrmVazozaDialog::Page(TDialogPage page) const {
  const int index = static_cast<int>(page);
  return index >= 0 && index < 9 ? pageWidgets_[index] : nullptr;
}

bool TfrmVazozaDialog::AcceptsSwatchDrag(const QObject* source, const QMimeData* mime) const {
  return source != nullptr && source == currentSwatch_ && mime != nullptr &&
         mime->hasFormat(QString::fromLatin1(kSwatchMimeType));
}

void TfrmVazozaDialog::DropCurrentColorOn(TColorBox* target) {
  target->SetBoxColor(currentSwatch_->BoxColor());
  UpdateCurrentColor();
}

void TfrmVazozaDialog::PickBoxColor(TColorBox* box) {
  const TColor colour = box->BoxColor();
  ShowColor(SplitColor(colour));
  if (currentSwatch_->BoxColor() != colour) {
    currentSwatch_->SetBoxColor(colour);
    current_ = SplitColor(colour);
  }
  UpdateCurrentColor();
  RefreshInfo();
}

void TfrmVazozaDialog::HelpClick() {
  const int context = autoHelp_ ? helpContext_ + static_cast<int>(ActivePageTag()) + 1 : helpContext_;
  platform().ShowHelpContext(this, QCoreApplication::applicationDirPath() + QStringLiteral("/brenvik.hlp"), context);
}

bool TfrmVazozaDialog::event(QEvent* e) {
  if (e->type() == QEvent::ApplicationPaletteChange) {
    RunGuarded(this, [this] { SystemColorsChanged(); });
  }
  return QDialog::event(e);
}

void TfrmVazozaDialog::PageChanged(int) {
  if (switchingPages_ > 0) return;
  RunGuarded(this, [this] { ShowColor(current_); });
}

void TfrmVazozaDialog::SystemColorsChanged() {
  for (VazozaPage* page : pageWidgets_) {
    if (page) page->SystemColorsChanged();
  }
  UpdateCurrentColor();
}

}  // namespace brenvik
