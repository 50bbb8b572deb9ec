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
  int systemColour;
};

constexpr Entry kTable[SystemColoursPage::kEntries] = {
    {"Dark shadow for 3D display elements", system_colour::kDarkShadow3D},
    {"Face color for 3D display elements", system_colour::kButtonFace},
    {"Highlight color for 3D display elements", system_colour::kButtonHighlight},
    {"Light color for 3D display elements", system_colour::kLight3D},
    {"Shadow color for 3D display elements", system_colour::kButtonShadow},
    {"Active window border", system_colour::kActiveBorder},
    {"Active window caption", system_colour::kActiveCaption},
    {"Background color of MDI applications", system_colour::kAppWorkspace},
    {"Desktop", system_colour::kDesktop},
    {"Text on push buttons", system_colour::kButtonText},
    {"Text in caption, size box, and scroll bar arrow box", system_colour::kCaptionText},
    {"Grayed (disabled) text", system_colour::kGrayText},
    {"Item(s) selected in a control", system_colour::kHighlight},
    {"Text of item(s) selected in a control", system_colour::kHighlightText},
    {"Inactive window border", system_colour::kInactiveBorder},
    {"Inactive window caption", system_colour::kInactiveCaption},
    {"Color of text in an inactive caption", system_colour::kInactiveCaptionText},
    {"Background color for tooltip controls", system_colour::kInfoBackground},
    {"Text color for tooltip controls", system_colour::kInfoText},
    {"Menu background", system_colour::kMenu},
    {"Text in menus", system_colour::kMenuText},
    {"Scroll bar gray area", system_colour::kScrollBar},
    {"Window background", system_colour::kWindow},
    {"Window frame", system_colour::kWindowFrame},
    {"Text in windows", system_colour::kWindowText},
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
  for (int i = 0; i < kEntries; ++i) indexes_[i] = kTable[i].systemColour;
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
