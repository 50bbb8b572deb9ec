#pragma once
// The colour chooser component. ColourChooser is the non-visual part a window
// owns and configures; each Execute builds the modal dialog window
// (ColourChooserWindow, ui/chooser/ColourChooserWindow.h), runs it and destroys it again.

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "core/colour/ColourModels.h"
#include "ui/chooser/ChooserPageHost.h"
#include "core/text/Errors.h"

namespace brenvik {

class ColourChooserWindow;

// A set of pages: bit n for the page with value n.
using ChooserPageSet = std::uint16_t;
constexpr ChooserPageSet PageBit(ChooserPageId page) { return static_cast<ChooserPageSet>(1u << page); }

// The chooser's own error: a second Execute while a dialog is showing.
class ChooserAlreadyVisibleError : public BrenvikError {
 public:
  explicit ChooserAlreadyVisibleError(const std::string& message) : BrenvikError(message) {}
};

// A notification handler; the argument is the sender (the component).
using NotifyHandler = std::function<void(QObject* sender)>;

// The published properties keep the names callers set them by ("Color",
// "ActivePage" ...); the C++ accessors follow the program's naming.
class ColourChooser : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool AutoApply READ autoApply WRITE setAutoApply)
  Q_PROPERTY(bool StayOnTop READ stayOnTop WRITE setStayOnTop)
  Q_PROPERTY(brenvik::ChooserPageSet VisiblePages READ visiblePages WRITE setVisiblePages)
  Q_PROPERTY(int ActivePage READ activePageValue WRITE setActivePageValue)
  Q_PROPERTY(brenvik::Colour Color READ colour WRITE setColour)
  Q_PROPERTY(brenvik::Colour ReferenceColor READ referenceColour WRITE setReferenceColour)
  Q_PROPERTY(bool Ctl3D READ ctl3D WRITE setCtl3D)
  Q_PROPERTY(bool HelpButton READ helpButton WRITE setHelpButton)
  Q_PROPERTY(bool AutoHelpContext READ autoHelpContext WRITE setAutoHelpContext)
  Q_PROPERTY(int HelpContext READ helpContext WRITE setHelpContext)
  Q_PROPERTY(QString Caption READ caption WRITE setCaption)

 public:
  static constexpr ChooserPageSet kDefaultPages =
      PageBit(pageVGA) | PageBit(pageHSB) | PageBit(pageRGB) | PageBit(pageCMY) | PageBit(pageCMYK);
  static constexpr Colour kSilver = 0xC0C0C0;

  explicit ColourChooser(QObject* owner = nullptr);
  ~ColourChooser() override;

  // Shows the dialog modally once; true when the user closed it with OK.
  // Throws ChooserAlreadyVisibleError while a dialog of this component is showing.
  bool execute();
  // Color as "#RRGGBB".
  QString webColour() const;

  // Custom colours, index 1 to 32; RangeError outside.
  Colour customColour(int index) const;
  void setCustomColour(int index, Colour value);

  bool autoApply() const { return autoApply_; }
  bool stayOnTop() const { return stayOnTop_; }
  ChooserPageSet visiblePages() const { return visiblePages_; }
  ChooserPageId activePage() const { return activePage_; }
  Colour colour() const { return colour_; }
  Colour referenceColour() const { return referenceColour_; }
  bool ctl3D() const { return ctl3D_; }
  bool helpButton() const { return helpButton_; }
  bool autoHelpContext() const { return autoHelpContext_; }
  int helpContext() const { return helpContext_; }
  QString caption() const { return caption_; }

  void setAutoApply(bool value);
  void setStayOnTop(bool value);
  void setVisiblePages(ChooserPageSet value);
  void setActivePage(ChooserPageId value);
  void setColour(Colour value);
  void setReferenceColour(Colour value);
  void setCtl3D(bool value);
  void setHelpButton(bool value);
  void setAutoHelpContext(bool value);
  void setHelpContext(int value);
  void setCaption(const QString& value);

  NotifyHandler onShow;
  NotifyHandler onClose;
  NotifyHandler onApply;

  // The dialog window of the running Execute, or nullptr.
  ColourChooserWindow* chooserWindow() const { return window_; }

 protected:
  // Calls onApply when assigned and (force or autoApply).
  virtual void doApply(bool force);

 private:
  friend class ColourChooserWindow;

  int activePageValue() const { return activePage_; }
  void setActivePageValue(int value) { setActivePage(static_cast<ChooserPageId>(value & 0x7F)); }

  bool autoApply_ = false;
  bool stayOnTop_ = false;
  ChooserPageSet visiblePages_ = kDefaultPages;
  ChooserPageId activePage_ = pageVGA;
  Colour colour_ = 0;
  Colour referenceColour_ = 0xFFFFFF;
  bool ctl3D_ = true;
  bool helpButton_ = false;
  bool autoHelpContext_ = false;
  int helpContext_ = 0;
  QString caption_ = QStringLiteral("Color");

  std::array<Colour, kCustomColourCount> customColours_{};
  // State at the start of the running Execute, to undo a cancelled run.
  std::array<Colour, kCustomColourCount> savedCustomColours_{};
  Colour startColour_ = 0;
  Colour startReferenceColour_ = 0;

  ColourChooserWindow* window_ = nullptr;
};

}  // namespace brenvik
