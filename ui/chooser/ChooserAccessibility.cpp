#include "ui/chooser/ChooserAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <array>

#include "core/colour/ColourModels.h"
#include "ui/chooser/ColourChooserWindow.h"
#include "ui/chooser/InternetPage.h"
#include "ui/platform/CommandGuard.h"

namespace brenvik {

namespace {

constexpr int kCellCount = InternetPage::kColumns * InternetPage::kRows;

// "Red 255, green 0, blue 0": the colour in words, for the description.
QString ColourInWords(Colour colour) {
  return QStringLiteral("Red %1, green %2, blue %3")
      .arg(colour & 0xFF)
      .arg((colour >> 8) & 0xFF)
      .arg((colour >> 16) & 0xFF);
}

// One cell of the palette. It has no widget of its own: the palette's
// interface creates it once and keeps it for as long as it lives.
class PaletteCellAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  PaletteCellAccessible(InternetPalette* palette, int index) : palette_(palette), index_(index) {}

  bool isValid() const override { return !palette_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    QAccessibleInterface* p = parent();
    return p ? p->window() : nullptr;
  }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(palette_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    const Colour colour = CellColour(column(), row());
    switch (t) {
      case QAccessible::Name: return QString::fromStdString(ColourToWebString(colour));
      case QAccessible::Description: return ColourInWords(colour);
      default: return QString();
    }
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    if (!palette_) return QRect();
    const QRect cell = InternetPage::cellRect(column(), row(), palette_->width(), palette_->height());
    return QRect(palette_->mapToGlobal(cell.topLeft()), cell.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!palette_) {
      s.invalid = true;
      return s;
    }
    const InternetPage& page = palette_->page();
    const bool selected = page.selectedColumn() == column() && page.selectedRow() == row();
    s.selectable = true;
    s.focusable = true;
    s.selected = selected;
    s.focused = selected && palette_->hasFocus();
    s.invisible = !palette_->isVisible();
    s.disabled = !palette_->isEnabled();
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  // Press (or select) picks the cell, as a click on it does.
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (!palette_ || name != pressAction()) return;
    InternetPalette* palette = palette_.data();
    RunCommand(palette, [&] { palette->page().selectCell(column(), row()); });
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  int column() const { return index_ % InternetPage::kColumns; }
  int row() const { return index_ / InternetPage::kColumns; }

  QPointer<InternetPalette> palette_;
  int index_;
};

// The palette: a list of the 216 cells in row order.
class PaletteAccessible : public QAccessibleWidget {
 public:
  explicit PaletteAccessible(InternetPalette* palette) : QAccessibleWidget(palette, QAccessible::List) {}
  ~PaletteAccessible() override {
    for (QAccessible::Id id : cells_) {
      if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }
  }

  int childCount() const override { return kCellCount; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= kCellCount) return nullptr;
    if (cells_[index] == 0) {
      auto* cell = new PaletteCellAccessible(static_cast<InternetPalette*>(widget()), index);
      cells_[index] = QAccessible::registerAccessibleInterface(cell);
    }
    return QAccessible::accessibleInterface(cells_[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (int i = 0; i < kCellCount; ++i) {
      if (cells_[i] == id) return i;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    if (!widget()->rect().contains(local)) return nullptr;
    const int column = InternetPage::hitColumn(local.x(), widget()->width());
    const int row = InternetPage::hitRow(local.y(), widget()->height());
    return child(row * InternetPage::kColumns + column);
  }

 private:
  mutable std::array<QAccessible::Id, kCellCount> cells_{};
};

// A colour box: its name is set by the window ("Reference colour", "Custom
// colour 5"), its description is its colour. The pickable boxes are buttons.
class ColourBoxAccessible : public QAccessibleWidget {
 public:
  explicit ColourBoxAccessible(ColourBox* box) : QAccessibleWidget(box, QAccessible::Graphic) {}

  QAccessible::Role role() const override { return box()->isPickable() ? QAccessible::Button : QAccessible::Graphic; }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) {
      const Colour colour = box()->boxColour();
      return QString::fromStdString(ColourToWebString(colour)) + QStringLiteral(", ") + ColourInWords(colour);
    }
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (box()->isPickable()) names.prepend(pressAction());
    return names;
  }
  void doAction(const QString& name) override {
    if (name == pressAction() && box()->isPickable()) {
      box()->click();
      return;
    }
    QAccessibleWidget::doAction(name);
  }

 private:
  ColourBox* box() const { return static_cast<ColourBox*>(widget()); }
};

}  // namespace

QAccessibleInterface* ChooserAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String(InternetPalette::staticMetaObject.className())) {
    if (auto* palette = qobject_cast<InternetPalette*>(object)) return new PaletteAccessible(palette);
  }
  if (className == QLatin1String(ColourBox::staticMetaObject.className())) {
    if (auto* box = qobject_cast<ColourBox*>(object)) return new ColourBoxAccessible(box);
  }
  return nullptr;
}

void InstallChooserAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(ChooserAccessibleFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace brenvik
