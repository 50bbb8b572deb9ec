#pragma once
// The colour chooser's dialog window: a page control with nine pages, the
// reference and current-colour swatches, the collection of 32 custom colours
// and the Help, OK and Cancel buttons. It keeps the current colour and runs
// the current-colour mechanism every page plugs into (VazozaPageHost).

#include <QDialog>
#include <QFrame>
#include <array>
#include <functional>

#include "core/colour/ColourModels.h"
#include "ui/chooser/ChooserPageHost.h"

class QMimeData;
class QPushButton;
class QTabWidget;

namespace brenvik {

class TVazozaDialog;
class VazozaPage;

// The MIME type of a drag that starts on the current-colour swatch.
inline constexpr char kSwatchMimeType[] = "application/x-brenvik-colour-swatch";

// A plain colour box: the swatches and the collection boxes. It paints its
// colour, reports clicks, and (when the window allows it) starts or takes
// drags of the current colour.
class TColorBox : public QFrame {
  Q_OBJECT
 public:
  explicit TColorBox(QWidget* parent = nullptr);
  TColor BoxColor() const { return color_; }
  void SetBoxColor(TColor value);
  void SetDragSource(bool on) { dragSource_ = on; }
  void SetDropTarget(bool on) { setAcceptDrops(on); }

 signals:
  void Clicked(TColorBox* box);
  void Dropped(TColorBox* box);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TColor color_ = 0;
  bool dragSource_ = false;
  bool pressed_ = false;
  QPoint pressPos_;
};

class TfrmVazozaDialog : public QDialog, public VazozaPageHost {
  Q_OBJECT
 public:
  explicit TfrmVazozaDialog(QWidget* parent = nullptr);
  ~TfrmVazozaDialog() override;

  // The owning component (nullptr while the window is being built and after
  // Execute has finished with it).
  void SetOwnerDialog(TVazozaDialog* owner) { owner_ = owner; }
  TVazozaDialog* OwnerDialog() const { return owner_; }

  // current colour := SplitColor(value), then ShowColor(current colour).
  void SetCurrentColor(TColor value);
  // RGBToColor of GetPageColor.
  TColor GetCurrentColor() const;
  // Takes value when it differs from the reference swatch, then UpdateCurrentColor.
  void SetReferenceSwatch(TColor value);
  TColor GetReferenceSwatch() const;
  // Collection box i, 1 to 32 (RangeError outside).
  TColor GetCustomColor(int index) const;
  void SetCustomColor(int index, TColor value);
  // The active page's colour, or the current colour when it describes none.
  TColorVector GetPageColor() const;
  // Makes the active page show rgb (the page runs UpdateCurrentColor as its rules say).
  void ShowColor(const TColorVector& rgb);

  // VazozaPageHost
  TColorVector CurrentColor() const override { return current_; }
  TColor CurrentSwatchColor() const override;
  void UpdateCurrentColor() override;
  bool IsActivePage(TDialogPage page) const override;

  // Configuration from the component.
  void SetButtonCaptions(const QString& ok, const QString& cancel);
  void SetStayOnTop(bool on);
  void SetHelpContextNumber(int context) { helpContext_ = context; }
  int HelpContextNumber() const { return helpContext_; }
  void SetAutoHelp(bool on) { autoHelp_ = on; }
  bool AutoHelp() const { return autoHelp_; }
  void SetCtl3D(bool on);
  void SetHelpButtonVisible(bool on);
  void SetVisiblePages(std::uint16_t pages);
  // Makes page the active one when its tab is shown; otherwise nothing changes.
  void SetActivePageIfShown(TDialogPage page);
  // Sets both swatches directly, with no update. This ends the window's set-up:
  // from here on every page switch, by the user or by code, shows the current
  // colour on the new page.
  void SetSwatches(TColor reference, TColor current);
  void RefreshInfo();

  VazozaPage* ActivePage() const;
  TDialogPage ActivePageTag() const;
  VazozaPage* Page(TDialogPage page) const;

  // Drag and drop of the current swatch: whether a drag from source carrying
  // mime may drop on a reference or collection box, and the drop itself.
  bool AcceptsSwatchDrag(const QObject* source, const QMimeData* mime) const;
  void DropCurrentColorOn(TColorBox* target);
  // A click on the reference swatch or a collection box.
  void PickBoxColor(TColorBox* box);
  // The Help button.
  void HelpClick();

 protected:
  bool event(QEvent* event) override;

 private:
  void PageChanged(int index);
  // Runs change, which may switch pages, without showing the colour on the
  // way; once the window is set up, a page that ends up active shows it.
  void SwitchPages(const std::function<void()>& change);
  void SystemColorsChanged();

  TVazozaDialog* owner_ = nullptr;
  TColorVector current_{};
  int helpContext_ = 0;
  bool autoHelp_ = false;
  // While the window is being set up (built, then configured by Execute up to
  // the swatches) its own page switches do not show the colour: the colour to
  // show is not known yet. User switches always show it.
  bool settingUp_ = true;
  // Set while pages are switched without showing the colour on the way.
  int switchingPages_ = 0;

  QTabWidget* pages_ = nullptr;
  std::array<VazozaPage*, 9> pageWidgets_{};
  QFrame* swatchFrame_ = nullptr;
  TColorBox* reference_ = nullptr;
  TColorBox* currentSwatch_ = nullptr;
  QFrame* collection_ = nullptr;
  std::array<TColorBox*, 32> boxes_{};
  QPushButton* help_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace brenvik
