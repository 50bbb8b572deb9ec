#include "ui/chooser/ColourChooser.h"

#include <memory>

#include "ui/chooser/ColourChooserWindow.h"

namespace brenvik {

TVazozaDialog::TVazozaDialog(QObject* owner) : QObject(owner) {
  setObjectName(QStringLiteral("VazozaDialog"));
  customColors_.fill(kSilver);
}

TVazozaDialog::~TVazozaDialog() {
  if (form_) form_->SetOwnerDialog(nullptr);
}

bool TVazozaDialog::Execute() {
  if (form_) throw EVazozaDialogException("TVazozaDialog is already visible.");

  // The window lives only for this call; the link goes with it, also when a
  // handler throws.
  auto window = std::make_unique<TfrmVazozaDialog>();
  struct Unlink {
    TVazozaDialog* self;
    ~Unlink() {
      if (self->form_) self->form_->SetOwnerDialog(nullptr);
      self->form_ = nullptr;
    }
  };
  form_ = window.get();
  Unlink unlink{this};
  form_->SetOwnerDialog(this);

  form_->SetButtonCaptions(QStringLiteral("OK"), QStringLiteral("Cancel"));
  form_->SetStayOnTop(stayOnTop_);
  form_->SetHelpContextNumber(helpContext_);
  form_->SetAutoHelp(autoHelpContext_);
  form_->SetCtl3D(ctl3D_);
  form_->SetHelpButtonVisible(helpButton_);
  for (int i = 1; i <= 32; ++i) form_->SetCustomColor(i, customColors_[i - 1]);
  savedCustomColors_ = customColors_;
  form_->SetVisiblePages(visiblePages_);
  form_->SetActivePageIfShown(activePage_);
  form_->SetSwatches(referenceColor_, color_);
  form_->SetCurrentColor(color_);
  // The active page may have rounded the colour: that is where Cancel returns to.
  startColor_ = color_;
  startReferenceColor_ = referenceColor_;
  form_->SetReferenceSwatch(referenceColor_);
  form_->RefreshInfo();
  form_->setWindowTitle(caption_);

  if (OnShow) OnShow(this);
  const int result = form_->exec();
  if (OnClose) OnClose(this);

  const bool accepted = result == QDialog::Accepted;
  if (accepted) {
    SetActivePage(form_->ActivePageTag());
    for (int i = 1; i <= 32; ++i) customColors_[i - 1] = form_->GetCustomColor(i);
    color_ = form_->GetCurrentColor();
    referenceColor_ = form_->GetReferenceSwatch();
  } else {
    customColors_ = savedCustomColors_;
    color_ = startColor_;
    referenceColor_ = startReferenceColor_;
  }
  DoApply(true);
  return accepted;
}

QString TVazozaDialog::GetWebColor() const { return QString::fromStdString(ColorToWebString(color_)); }

TColor TVazozaDialog::CustomColors(int index) const {
  if (index < 1 || index > 32) throw RangeError();
  return customColors_[index - 1];
}

void TVazozaDialog::SetCustomColors(int index, TColor value) {
  if (index < 1 || index > 32) throw RangeError();
  customColors_[index - 1] = value;
}

void TVazozaDialog::DoApply(bool force) {
  if (OnApply && (force || autoApply_)) OnApply(this);
}

void TVazozaDialog::SetAutoApply(bool value) {
  if (autoApply_ == value) return;
  autoApply_ = value;
  if (form_) {
    form_->SetButtonCaptions(value ? QStringLiteral("O&K") : QStringLiteral("&Apply"),
                             value ? QStringLiteral("&Cancel") : QStringLiteral("&Close"));
  }
}

void TVazozaDialog::SetStayOnTop(bool value) {
  if (stayOnTop_ == value) return;
  stayOnTop_ = value;
  if (form_) form_->SetStayOnTop(value);
}

void TVazozaDialog::SetVisiblePages(TDialogPages value) {
  if (visiblePages_ == value) return;
  visiblePages_ = value;
  if (form_) form_->SetVisiblePages(value);
}

void TVazozaDialog::SetActivePage(TDialogPage value) {
  if (activePage_ == value) return;
  activePage_ = value;
  if (form_) form_->SetActivePageIfShown(value);
}

void TVazozaDialog::SetColor(TColor value) {
  color_ = value;
  if (form_) form_->SetCurrentColor(value);
  DoApply(false);
}

void TVazozaDialog::SetReferenceColor(TColor value) {
  referenceColor_ = value;
  if (form_) form_->SetReferenceSwatch(value);
}

void TVazozaDialog::SetCtl3D(bool value) {
  if (ctl3D_ == value) return;
  ctl3D_ = value;
  if (form_) form_->SetCtl3D(value);
}

void TVazozaDialog::SetHelpButton(bool value) {
  if (helpButton_ == value) return;
  helpButton_ = value;
  if (form_) form_->SetHelpButtonVisible(value);
}

void TVazozaDialog::SetAutoHelpContext(bool value) {
  if (autoHelpContext_ == value) return;
  autoHelpContext_ = value;
  if (form_) form_->SetAutoHelp(value);
}

void TVazozaDialog::SetHelpContext(int value) {
  if (helpContext_ == value) return;
  helpContext_ = value;
  if (form_) form_->SetHelpContextNumber(value);
}

void TVazozaDialog::SetCaption(const QString& value) {
  if (caption_ == value) return;
  caption_ = value;
  if (form_) form_->setWindowTitle(value);
}

}  // namespace brenvik
