#pragma once
// The colour chooser's dialog window: a page control with nine pages, the
// reference and current-colour swatches, the collection of 32 custom colours
// and the Help, OK and Cancel buttons. It keeps the current colour and runs
// the current-colour mechanism every page plugs into (ChooserPageHost).

#include <QDialog>
#include <QFrame>
#include <array>
#include <functional>
#include <memory>

#include "core/colour/ColourModels.h"
#include "ui/chooser/ChooserPageHost.h"

class QMimeData;
class QPushButton;
class QTabWidget;

namespace brenvik {

class ColourChooser;
class ChooserPage;

// The MIME type of a drag that starts on the current-colour swatch.
inline constexpr char kSwatchMimeType[] = "application/x-brenvik-colour-swatch";

// A plain colour box: the swatches and the collection boxes. It paints its
// colour, reports clicks, and (when the window allows it) starts or takes
// drags of the current colour.
class ColourBox : public QFrame {
  Q_OBJECT
 public:
  explicit ColourBox(QWidget* parent = nullptr);
  Colour boxColour() const { return colour_; }
  void setBoxColour(Colour value);
  void setDragSource(bool on) { dragSource_ = on; }
  void setDropTarget(bool on) { setAcceptDrops(on); }
  // A pickable box takes clicks (and a screen reader's press): the reference
  // swatch and the custom colours.
  void setPickable(bool on) { pickable_ = on; }
  bool isPickable() const { return pickable_; }
  // What a click does: reports it, when the box is pickable.
  void click();

 signals:
  void clicked(ColourBox* box);
  void dropped(ColourBox* box);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  Colour colour_ = 0;
  bool dragSource_ = false;
  bool pickable_ = false;
  bool pressed_ = false;
  QPoint pressPos_;
};

class ColourChooserWindow : public QDialog, public ChooserPageHost {
  Q_OBJECT
 public:
  explicit ColourChooserWindow(QWidget* parent = nullptr);
  ~ColourChooserWindow() override;

  // The owning component (nullptr while the window is being built and after
  // Execute has finished with it).
  void setChooser(ColourChooser* owner) { chooser_ = owner; }
  ColourChooser* chooser() const { return chooser_; }

  // current colour := SplitColour(value), then showColour(current colour).
  void setCurrentColour(Colour value);
  // RGBToColour of pageColour.
  Colour currentColourValue() const;
  // Takes value when it differs from the reference swatch, then updateCurrentColour.
  void setReferenceSwatch(Colour value);
  Colour referenceSwatch() const;
  // Collection box i, 1 to 32 (RangeError outside).
  Colour customColourBox(int index) const;
  void setCustomColourBox(int index, Colour value);
  // The active page's colour, or the current colour when it describes none.
  ColourVector pageColour() const;
  // Makes the active page show rgb; each page decides whether that also runs
  // updateCurrentColour.
  void showColour(const ColourVector& rgb);

  // ChooserPageHost
  ColourVector currentColour() const override { return current_; }
  Colour currentSwatchColour() const override;
  void updateCurrentColour() override;
  bool isActivePage(ChooserPageId page) const override;

  // Configuration from the component.
  void setButtonCaptions(const QString& ok, const QString& cancel);
  void setStayOnTop(bool on);
  void setHelpContextNumber(int context) { helpContext_ = context; }
  void setAutoHelp(bool on) { autoHelp_ = on; }
  bool autoHelp() const { return autoHelp_; }
  void setCtl3D(bool on);
  void setHelpButtonVisible(bool on);
  // Shows the pages whose bits are set, in page order, and takes the others
  // out of the window altogether.
  void setVisiblePages(std::uint16_t pages);
  bool isPageShown(ChooserPageId page) const;
  // Makes page the active one when its tab is shown; otherwise nothing changes.
  void setActivePageIfShown(ChooserPageId page);
  // Sets both swatches directly, with no update. This ends the window's set-up:
  // from here on every page switch, by the user or by code, shows the current
  // colour on the new page.
  void setSwatches(Colour reference, Colour current);
  void refreshInfo();

  ChooserPage* activePage() const;
  ChooserPageId activePageId() const;
  ChooserPage* page(ChooserPageId page) const;

  // Drag and drop of the current swatch: whether a drag from source carrying
  // mime may drop on a reference or collection box, and the drop itself.
  bool acceptsSwatchDrag(const QObject* source, const QMimeData* mime) const;
  void dropCurrentColourOn(ColourBox* target);
  // A click on the reference swatch or a collection box.
  void pickBoxColour(ColourBox* box);
  // The Help button.
  void showHelp();

 protected:
  bool event(QEvent* event) override;

 private:
  void pageChanged(int index);
  // Runs change, which may switch pages, without showing the colour on the
  // way; once the window is set up, a page that ends up active shows it.
  void switchPages(const std::function<void()>& change);
  void systemColoursChanged();

  ColourChooser* chooser_ = nullptr;
  ColourVector current_{};
  int helpContext_ = 0;
  bool autoHelp_ = false;
  // While the window is being set up (built, then configured by Execute up to
  // the swatches) its own page switches do not show the colour: the colour to
  // show is not known yet. User switches always show it.
  bool settingUp_ = true;
  // Set while pages are switched without showing the colour on the way.
  int switchingPages_ = 0;

  QTabWidget* pages_ = nullptr;
  // Every page, shown or not, by its value.
  std::array<ChooserPage*, kPageCount> pageWidgets_{};
  // The parent of the hidden pages: never shown, not part of the window.
  std::unique_ptr<QWidget> pageStore_;
  QFrame* swatchFrame_ = nullptr;
  ColourBox* reference_ = nullptr;
  ColourBox* currentSwatch_ = nullptr;
  QFrame* collection_ = nullptr;
  std::array<ColourBox*, kCustomColourCount> boxes_{};
  QPushButton* help_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace brenvik
