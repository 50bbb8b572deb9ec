#pragma once
// The colour chooser component. TVazozaDialog is the non-visual part a window
// owns and configures; each Execute builds the modal dialog window
// (TfrmVazozaDialog, colour/VazozaForm.h), runs it and destroys it again.

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "core/colour/ColourModels.h"
#include "ui/chooser/ChooserPageHost.h"
#include "core/text/Errors.h"

namespace brenvik {

class TfrmVazozaDialog;

// A set of pages: bit n for the page with value n.
using TDialogPages = std::uint16_t;
constexpr TDialogPages PageBit(TDialogPage page) { return static_cast<TDialogPages>(1u << page); }

// The chooser's own error: a second Execute while a dialog is showing.
class EVazozaDialogException : public BrenvikError {
 public:
  explicit EVazozaDialogException(const std::string& message) : BrenvikError(message) {}
};

// A notification handler; the argument is the sender (the component).
using TNotifyEvent = std::function<void(QObject* sender)>;

class TVazozaDialog : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool AutoApply READ AutoApply WRITE SetAutoApply)
  Q_PROPERTY(bool StayOnTop READ StayOnTop WRITE SetStayOnTop)
  Q_PROPERTY(brenvik::TDialogPages VisiblePages READ VisiblePages WRITE SetVisiblePages)
  Q_PROPERTY(int ActivePage READ ActivePageValue WRITE SetActivePageValue)
  Q_PROPERTY(brenvik::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(brenvik::TColor ReferenceColor READ ReferenceColor WRITE SetReferenceColor)
  Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
  Q_PROPERTY(bool HelpButton READ HelpButton WRITE SetHelpButton)
  Q_PROPERTY(bool AutoHelpContext READ AutoHelpContext WRITE SetAutoHelpContext)
  Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

 public:
  static constexpr TDialogPages kDefaultPages =
      PageBit(pageVGA) | PageBit(pageHSB) | PageBit(pageRGB) | PageBit(pageCMY) | PageBit(pageCMYK);
  static constexpr TColor kSilver = 0xC0C0C0;

  explicit TVazozaDialog(QObject* owner = nullptr);
  ~TVazozaDialog() override;

  // Shows the dialog modally once; true when the user closed it with OK.
  // Throws EVazozaDialogException while a dialog of this component is showing.
  bool Execute();
  // Color as "#RRGGBB".
  QString GetWebColor() const;

  // Custom colours, index 1 to 32; RangeError outside.
  TColor CustomColors(int index) const;
  void SetCustomColors(int index, TColor value);

  bool AutoApply() const { return autoApply_; }
  bool StayOnTop() const { return stayOnTop_; }
  TDialogPages VisiblePages() const { return visiblePages_; }
  TDialogPage ActivePage() const { return activePage_; }
  TColor Color() const { return color_; }
  TColor ReferenceColor() const { return referenceColor_; }
  bool Ctl3D() const { return ctl3D_; }
  bool HelpButton() const { return helpButton_; }
  bool AutoHelpContext() const { return autoHelpContext_; }
  int HelpContext() const { return helpContext_; }
  QString Caption() const { return caption_; }

  void SetAutoApply(bool value);
  void SetStayOnTop(bool value);
  void SetVisiblePages(TDialogPages value);
  void SetActivePage(TDialogPage value);
  void SetColor(TColor value);
  void SetReferenceColor(TColor value);
  void SetCtl3D(bool value);
  void SetHelpButton(bool value);
  void SetAutoHelpContext(bool value);
  void SetHelpContext(int value);
  void SetCaption(const QString& value);

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  TNotifyEvent OnApply;

  // The dialog window of the running Execute, or nullptr.
  TfrmVazozaDialog* Form() const { return form_; }

 protected:
  // Calls OnApply when assigned and (force or AutoApply).
  virtual void DoApply(bool force);

 private:
  friend class TfrmVazozaDialog;

  int ActivePageValue() const { return activePage_; }
  void SetActivePageValue(int value) { SetActivePage(static_cast<TDialogPage>(value & 0x7F)); }

  bool autoApply_ = false;
  bool stayOnTop_ = false;
  TDialogPages visiblePages_ = kDefaultPages;
  TDialogPage activePage_ = pageVGA;
  TColor color_ = 0;
  TColor referenceColor_ = 0xFFFFFF;
  bool ctl3D_ = true;
  bool helpButton_ = false;
  bool autoHelpContext_ = false;
  int helpContext_ = 0;
  QString caption_ = QStringLiteral("Color");

  std::array<TColor, 32> customColors_{};
  // State at the start of the running Execute, to undo a cancelled run.
  std::array<TColor, 32> savedCustomColors_{};
  TColor startColor_ = 0;
  TColor startReferenceColor_ = 0;

  TfrmVazozaDialog* form_ = nullptr;
};

}  // namespace brenvik
