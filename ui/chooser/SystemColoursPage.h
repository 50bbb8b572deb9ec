#pragma once
// Windows page of the colour chooser: the system's display-element colours
// in an owner-drawn list.

#include <QStyledItemDelegate>

#include "ui/chooser/ChooserPage.h"
#include "ui/platform/Platform.h"

class QListWidget;

namespace brenvik {

class SystemColoursPage : public ChooserPage {
  Q_OBJECT
 public:
  static constexpr int kEntries = system_colour::kCount;
  static constexpr int kItemHeight = 13;

  SystemColoursPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("Windows"); }
  // The system colour of the selected entry; the current colour when none is.
  ColourVector pageColour() const override;
  // Scrolls to the first entry, clears the selection and focuses the list.
  void showColour(const ColourVector& rgb) override;
  // Reloads the index table and repaints the swatches.
  void systemColoursChanged() override;

  // System colour index of a list entry; 0 for an entry outside the table.
  int systemColourIndex(int entry) const;
  QListWidget* list() const { return list_; }

 private:
  void loadIndexTable();

  QListWidget* list_;
  int indexes_[kEntries] = {};
  bool showing_ = false;  // showColour is changing the selection
};

// Draws one entry: background, text after the swatch, and the swatch in the
// entry's system colour outlined in the text colour.
class SystemColourDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  SystemColourDelegate(const SystemColoursPage& page, QObject* parent) : QStyledItemDelegate(parent), page_(page) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const SystemColoursPage& page_;
};

}  // namespace brenvik
