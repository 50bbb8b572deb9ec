#include "ui/chooser/SystemColoursPage.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>

#include "ui/platform/CommandGuard.h"
#include "ui/chooser/ColourStrips.h"
#include "ui/platform/Platform.h"

namespace brenvik {

namespace {
struct Entry {
  const char* text;
  int systemColor;
};

constexpr Entry kTable[SystemColoursPage::kEntries] = {
    {"Dark shadow for 3D display elements", 21},
    {"Face color for 3D display elements", 15},
    {"Highlight color for 3D display elements", 20},
    {"Light color for 3D display elements", 22},
    {"Shadow color for 3D display elements", 16},
    {"Active window border", 10},
    {"Active window caption", 2},
    {"Background color of MDI applications", 12},
    {"Desktop", 1},
    {"Text on push buttons", 18},
    {"Text in caption, size box, and scroll bar arrow box", 9},
    {"Grayed (disabled) text", 17},
    {"Item(s) selected in a control", 13},
    {"Text of item(s) selected in a control", 14},
    {"Inactive window border", 11},
    {"Inactive window caption", 3},
    {"Color of text in an inactive caption", 19},
    {"Background color for tooltip controls", 24},
    {"Text color for tooltip controls", 23},
    {"Menu background", 4},
    {"Text in menus", 7},
    {"Scroll bar gray area", 0},
    {"Window background", 5},
    {"Window frame", 6},
    {"Text in windows", 8},
};
}  // namespace

SystemColoursPage::SystemColoursPage(ChooserPageHost& host, QWidget* parent) : ChooserPage(host, pageWindows, parent) {
  setObjectName(QStringLiteral("tabWindows"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("lstWindows"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformItemSizes(true);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QFont small = list_->font();
  small.setPixelSize(11);
  list_->setFont(small);
  list_->setItemDelegate(new SystemColourDelegate(*this, list_));
  for (const Entry& e : kTable) list_->addItem(QString::fromLatin1(e.text));
  // 173 high: a frame around a whole number of 13-pixel entries.
  list_->setGeometry(8, 12, 317, 173);
  loadIndexTable();

  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    if (!showing_) RunCommand(this, [this] { this->host().updateCurrentColour(); });
  });
}

void SystemColoursPage::loadIndexTable() {
  for (int i = 0; i < kEntries; ++i) indexes_[i] = kTable[i].systemColor;
}

int SystemColoursPage::systemColourIndex(int entry) const {
  return entry >= 0 && entry < kEntries ? indexes_[entry] : 0;
}

ColourVector SystemColoursPage::pageColour() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return host().currentColour();
  const int entry = list_->row(selected.front());
  return SplitColour(FromQColour(platform().systemColour(systemColourIndex(entry))));
}

void SystemColoursPage::showColour(const ColourVector&) {
  showing_ = true;
  list_->scrollToTop();
  list_->clearSelection();
  list_->setCurrentRow(-1);
  showing_ = false;
  if (list_->isVisible()) list_->setFocus(Qt::OtherFocusReason);
  host().updateCurrentColour();
}

void SystemColoursPage::systemColoursChanged() {
  loadIndexTable();
  list_->viewport()->update();
}

QSize SystemColourDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  return QSize(QStyledItemDelegate::sizeHint(option, index).width(), SystemColoursPage::kItemHeight);
}

void SystemColourDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const QRect r = option.rect;
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  const QPalette::ColorGroup group =
      option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
  const QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);

  painter->save();
  painter->fillRect(r, option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
  painter->setFont(option.font);
  painter->setPen(text);
  const int h = SystemColoursPage::kItemHeight;
  painter->drawText(r.adjusted(h + 8, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());

  // Swatch from (left + 2, top + 2) up to (item height + 2, bottom - 2), the
  // right and bottom edges excluded.
  const QRect swatch(QPoint(r.left() + 2, r.top() + 2), QPoint(h + 2 - 1, r.top() + r.height() - 2 - 1));
  painter->fillRect(swatch, text);
  painter->fillRect(swatch.adjusted(1, 1, -1, -1), platform().systemColour(page_.systemColourIndex(index.row())));

  if (option.state.testFlag(QStyle::State_HasFocus)) {
    QStyleOptionFocusRect focus;
    focus.initFrom(option.widget);
    focus.rect = r;
    focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
  }
  painter->restore();
}

}  // namespace brenvik
