#include "ui/chooser/ColourChooser.h"

#include <memory>

#include "ui/chooser/ColourChooserWindow.h"

namespace brenvik {

ColourChooser::ColourChooser(QObject* owner) : QObject(owner) {
  setObjectName(QStringLiteral("VazozaDialog"));
  customColours_.fill(kSilver);
}

ColourChooser::~ColourChooser() {
  if (window_) window_->setChooser(nullptr);
}

bool ColourChooser::execute() {
  if (window_) throw ChooserAlreadyVisibleError("TVazozaDialog is already visible.");

  // The window lives only for this call; the link goes with it, also when a
  // handler throws.
  auto window = std::make_unique<ColourChooserWindow>();
  struct Unlink {
    ColourChooser* self;
    ~Unlink() {
      if (self->window_) self->window_->setChooser(nullptr);
      self->window_ = nullptr;
    }
  };
  window_ = window.get();
  Unlink unlink{this};
  window_->setChooser(this);

  window_->setButtonCaptions(QStringLiteral("OK"), QStringLiteral("Cancel"));
  window_->setStayOnTop(stayOnTop_);
  window_->setHelpContextNumber(helpContext_);
  window_->setAutoHelp(autoHelpContext_);
  window_->setCtl3D(ctl3D_);
  window_->setHelpButtonVisible(helpButton_);
  for (int i = 1; i <= kCustomColourCount; ++i) window_->setCustomColourBox(i, customColours_[i - 1]);
  savedCustomColours_ = customColours_;
  window_->setVisiblePages(visiblePages_);
  window_->setActivePageIfShown(activePage_);
  window_->setSwatches(referenceColour_, colour_);
  window_->setCurrentColour(colour_);
  // The active page may have rounded the colour: that is where Cancel returns to.
  startColour_ = colour_;
  startReferenceColour_ = referenceColour_;
  window_->setReferenceSwatch(referenceColour_);
  window_->refreshInfo();
  window_->setWindowTitle(caption_);

  if (onShow) onShow(this);
  const int result = window_->exec();
  if (onClose) onClose(this);

  const bool accepted = result == QDialog::Accepted;
  if (accepted) {
    setActivePage(window_->activePageId());
    for (int i = 1; i <= kCustomColourCount; ++i) customColours_[i - 1] = window_->customColourBox(i);
    colour_ = window_->currentColourValue();
    referenceColour_ = window_->referenceSwatch();
  } else {
    customColours_ = savedCustomColours_;
    colour_ = startColour_;
    referenceColour_ = startReferenceColour_;
  }
  doApply(true);
  return accepted;
}

QString ColourChooser::webColour() const { return QString::fromStdString(ColourToWebString(colour_)); }

Colour ColourChooser::customColour(int index) const {
  if (index < 1 || index > kCustomColourCount) throw RangeError();
  return customColours_[index - 1];
}

void ColourChooser::setCustomColour(int index, Colour value) {
  if (index < 1 || index > kCustomColourCount) throw RangeError();
  customColours_[index - 1] = value;
}

void ColourChooser::doApply(bool force) {
  if (onApply && (force || autoApply_)) onApply(this);
}

void ColourChooser::setAutoApply(bool value) {
  if (autoApply_ == value) return;
  autoApply_ = value;
  if (window_) {
    window_->setButtonCaptions(value ? QStringLiteral("O&K") : QStringLiteral("&Apply"),
                             value ? QStringLiteral("&Cancel") : QStringLiteral("&Close"));
  }
}

void ColourChooser::setStayOnTop(bool value) {
  if (stayOnTop_ == value) return;
  stayOnTop_ = value;
  if (window_) window_->setStayOnTop(value);
}

void ColourChooser::setVisiblePages(ChooserPageSet value) {
  if (visiblePages_ == value) return;
  visiblePages_ = value;
  if (window_) window_->setVisiblePages(value);
}

void ColourChooser::setActivePage(ChooserPageId value) {
  if (activePage_ == value) return;
  activePage_ = value;
  if (window_) window_->setActivePageIfShown(value);
}

void ColourChooser::setColour(Colour value) {
  colour_ = value;
  if (window_) window_->setCurrentColour(value);
  doApply(false);
}

void ColourChooser::setReferenceColour(Colour value) {
  referenceColour_ = value;
  if (window_) window_->setReferenceSwatch(value);
}

void ColourChooser::setCtl3D(bool value) {
  if (ctl3D_ == value) return;
  ctl3D_ = value;
  if (window_) window_->setCtl3D(value);
}

void ColourChooser::setHelpButton(bool value) {
  if (helpButton_ == value) return;
  helpButton_ = value;
  if (window_) window_->setHelpButtonVisible(value);
}

void ColourChooser::setAutoHelpContext(bool value) {
  if (autoHelpContext_ == value) return;
  autoHelpContext_ = value;
  if (window_) window_->setAutoHelp(value);
}

void ColourChooser::setHelpContext(int value) {
  if (helpContext_ == value) return;
  helpContext_ = value;
  if (window_) window_->setHelpContextNumber(value);
}

void ColourChooser::setCaption(const QString& value) {
  if (caption_ == value) return;
  caption_ = value;
  if (window_) window_->setWindowTitle(value);
}

}  // namespace brenvik
