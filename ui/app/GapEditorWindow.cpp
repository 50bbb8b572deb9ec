#include "ui/app/GapEditorWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "ui/app/ScreenFit.h"
#include "ui/platform/CommandGuard.h"
#include "ui/platform/QtText.h"

namespace brenvik {

QString JoinAnswers(const std::vector<Text>& answers) {
  QStringList parts;
  for (const Text& a : answers) parts.push_back(ToQString(a));
  return parts.join(QStringLiteral("; "));
}

std::vector<Text> SplitAnswers(const QString& text) {
  std::vector<Text> answers;
  for (const QString& part : text.split(QLatin1Char(';'))) {
    const QString answer = part.trimmed();
    if (!answer.isEmpty()) answers.push_back(FromQString(answer));
  }
  return answers;
}

// --- The model ---------------------------------------------------------------

GapTableModel::GapTableModel(TestSession& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {
  rebuild();
}

void GapTableModel::setEveryWord(bool every) {
  if (everyWord_ == every) return;
  everyWord_ = every;
  rebuild();
}

void GapTableModel::rebuild() {
  std::vector<GapWord> rows;
  std::vector<std::size_t> numbers;
  if (session_.generatedMatchesTexts()) {
    std::size_t number = 0;
    for (std::size_t t = 0; t < session_.generated().texts.size(); ++t) {
      const TestWorkspace& w = session_.workspace(t);
      // The words the teacher changed, by word and occurrence.
      std::unordered_map<TextView, std::unordered_set<std::uint32_t>> edited;
      for (const WordEdit& e : session_.test().texts[t].edits) edited[e.word].insert(e.occurrence);
      std::unordered_map<TextView, std::uint32_t> seen;
      for (std::size_t k = 0; k < w.LeftHalves.size(); ++k) {
        const TextView word = w.WordList[k];
        if (word.empty()) continue;
        bool hasEdit = false;
        if (!edited.empty()) {
          const std::uint32_t n = ++seen[word];
          const auto it = edited.find(word);
          hasEdit = it != edited.end() && it->second.contains(n);
        }
        const bool gap = !w.RightHalves[k].empty();
        if (gap) ++number;
        if (gap || hasEdit || everyWord_) {
          rows.push_back(GapWord{t, k});
          numbers.push_back(gap ? number : 0);
        }
      }
    }
  }
  const auto sameWord = [](const GapWord& a, const GapWord& b) { return a.text == b.text && a.word == b.word; };
  if (std::equal(rows.begin(), rows.end(), rows_.begin(), rows_.end(), sameWord)) {
    // The same words: their cells change in place, so an answer being
    // edited and the current cell stay as they are.
    numbers_ = std::move(numbers);
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    return;
  }
  beginResetModel();
  rows_ = std::move(rows);
  numbers_ = std::move(numbers);
  endResetModel();
}

void GapTableModel::clear() {
  if (rows_.empty()) return;
  beginResetModel();
  rows_.clear();
  numbers_.clear();
  endResetModel();
}

int GapTableModel::rowOf(const GapWord& word) const {
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].text == word.text && rows_[r].word == word.word) return static_cast<int>(r);
  }
  return -1;
}

int GapTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GapTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant GapTableModel::display(const GapWord& w, std::size_t number, int column) const {
  const TestWorkspace& ws = session_.workspace(w.text);
  switch (column) {
    case NumberColumn:
      return number > 0 ? QVariant(static_cast<qulonglong>(number)) : QVariant(QString());
    case TextColumn:
      return ToQString(session_.test().texts[w.text].title);
    case WordColumn: {
      const TextView right = ws.RightHalves[w.word];
      Text shown(ws.LeftHalves[w.word]);
      if (!right.empty()) shown += Pad(static_cast<long long>(GapLength(right)));
      return ToQString(shown);
    }
    case DeletedColumn:
      return ToQString(ws.RightHalves[w.word]);
    case AcceptedColumn:
      return JoinAnswers(session_.accepted(w));
    default:
      return {};
  }
}

QVariant GapTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const GapWord& w = rows_[row];
  const bool gap = session_.hasGap(w);
  if (index.column() == GapColumn) {
    if (role == Qt::CheckStateRole) return gap ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
      return gap ? QStringLiteral("Gap on") : QStringLiteral("Gap off");
    }
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::EditRole) return display(w, numbers_[row], index.column());
  if (role == Qt::AccessibleTextRole) {
    // Screen readers name every cell, the empty ones too.
    const QString text = display(w, numbers_[row], index.column()).toString();
    if (!text.isEmpty()) return text;
    switch (index.column()) {
      case NumberColumn:
        return QStringLiteral("no gap");
      case DeletedColumn:
        return QStringLiteral("nothing deleted");
      case AcceptedColumn:
        return QStringLiteral("no further answers");
      default:
        return QStringLiteral("empty");
    }
  }
  return {};
}

QVariant GapTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  }
  if (role != Qt::DisplayRole) return {};
  switch (section) {
    case GapColumn:
      return QStringLiteral("Gap");
    case NumberColumn:
      return QStringLiteral("No.");
    case TextColumn:
      return QStringLiteral("Text");
    case WordColumn:
      return QStringLiteral("Word");
    case DeletedColumn:
      return QStringLiteral("Deleted part");
    case AcceptedColumn:
      return QStringLiteral("Accepted answers");
    default:
      return {};
  }
}

Qt::ItemFlags GapTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  const GapWord& w = rows_[static_cast<std::size_t>(index.row())];
  if (index.column() == GapColumn && (session_.hasGap(w) || session_.canHaveGap(w))) f |= Qt::ItemIsUserCheckable;
  if (index.column() == AcceptedColumn && session_.hasGap(w)) f |= Qt::ItemIsEditable;
  return f;
}

bool GapTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  const GapWord w = rows_[static_cast<std::size_t>(index.row())];
  if (index.column() == GapColumn && role == Qt::CheckStateRole) {
    session_.setGap(w, value.toInt() == Qt::Checked);
    return true;
  }
  if (index.column() == AcceptedColumn && role == Qt::EditRole) {
    session_.setAccepted(w, SplitAnswers(value.toString()));
    return true;
  }
  return false;
}

// --- The window --------------------------------------------------------------

namespace {

// The view hands check and edit changes to the model from inside the
// toolkit's event handling, where no error may pass: each goes through the
// error boundary here.
class GuardedGapView : public QTableView {
 public:
  using QTableView::QTableView;

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
    bool result = false;
    RunCommand(this, [&] { result = QTableView::edit(index, trigger, event); });
    return result;
  }
  void commitData(QWidget* editor) override {
    RunCommand(this, [&] { QTableView::commitData(editor); });
  }
};

}  // namespace

GapEditorWindow::GapEditorWindow(TestSession& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("GapEditor"));
  setWindowTitle(QStringLiteral("Gaps of the test"));
  setModal(false);

  model_ = new GapTableModel(session_, this);
  hint_ = new QLabel(this);
  hint_->setObjectName(QStringLiteral("GapEditorHint"));
  hint_->setWordWrap(true);
  auto* caption = new QLabel(QStringLiteral("&Gaps: Space switches a gap on or off, F2 edits the accepted answers "
                                            "(separated by \u201c;\u201d)."),
                             this);
  caption->setObjectName(QStringLiteral("GapTableLabel"));
  caption->setWordWrap(true);
  table_ = new GuardedGapView(this);
  table_->setObjectName(QStringLiteral("GapTable"));
  table_->setAccessibleName(QStringLiteral("Gaps of the test"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::AnyKeyPressed);
  table_->setTabKeyNavigation(false);
  table_->verticalHeader()->setVisible(false);
  // Rows as high as a line of text, so that more gaps are in view.
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->installEventFilter(this);
  caption->setBuddy(table_);
  everyWordBox_ = new QCheckBox(QStringLiteral("Show &every word, also those without a gap"), this);
  everyWordBox_->setObjectName(QStringLiteral("EveryWord"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->setObjectName(QStringLiteral("GapEditorButtons"));
  buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("CloseGapEditor"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint_);
  layout->addWidget(caption);
  layout->addWidget(table_, 1);
  layout->addWidget(everyWordBox_);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  connect(everyWordBox_, &QCheckBox::toggled, this, [this](bool on) {
    const QModelIndex current = table_->currentIndex();
    const std::optional<GapWord> word =
        current.isValid() ? std::optional<GapWord>(model_->wordAt(current.row())) : std::nullopt;
    model_->setEveryWord(on);
    if (word) showWord(*word);
  });
  connect(&session_, &TestSession::generatedChanged, this, [this] { generatedChanged(); });
  connect(&session_, &TestSession::textsChanged, this, [this] { generatedChanged(); });
  generatedChanged();
  // Wide enough for every column at the window's font, some twenty rows high.
  const QFontMetrics fm = fontMetrics();
  resize(fm.averageCharWidth() * 90, fm.height() * 26);
}

void GapEditorWindow::generatedChanged() {
  // A closed editor costs Process nothing: its table is made when it opens.
  if (!isVisible()) {
    model_->clear();
    stale_ = true;
    return;
  }
  stale_ = false;
  // The row that was current stays current: the table is made again after
  // every change, and the keyboard goes on from where it was.
  const QModelIndex current = table_->currentIndex();
  std::optional<GapWord> word;
  if (current.isValid() && current.row() < model_->rowCount()) word = model_->wordAt(current.row());
  const int column = current.isValid() ? current.column() : 0;
  model_->rebuild();
  table_->resizeColumnsToContents();
  if (word) {
    const int row = model_->rowOf(*word);
    if (row >= 0) table_->setCurrentIndex(model_->index(row, column));
  }
  if (!session_.generatedMatchesTexts()) {
    hint_->setText(QStringLiteral("Process the test to list its gaps here."));
  } else if (model_->rowCount() == 0) {
    hint_->setText(QStringLiteral("The test has no gap."));
  } else {
    hint_->clear();
  }
  hint_->setVisible(!hint_->text().isEmpty());
}

void GapEditorWindow::showWord(const GapWord& word) {
  int row = model_->rowOf(word);
  if (row < 0 && !model_->everyWord()) {
    everyWordBox_->setChecked(true);
    row = model_->rowOf(word);
  }
  if (row < 0) return;
  const int column = table_->currentIndex().isValid() ? table_->currentIndex().column() : 0;
  table_->setCurrentIndex(model_->index(row, column));
  table_->scrollTo(model_->index(row, column));
}

void GapEditorWindow::toggleCurrent() {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return;
  const QModelIndex gapCell = model_->index(current.row(), GapTableModel::GapColumn);
  if (!(model_->flags(gapCell) & Qt::ItemIsUserCheckable)) return;
  const bool on = model_->data(gapCell, Qt::CheckStateRole).toInt() == Qt::Checked;
  model_->setData(gapCell, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

bool GapEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  // Space switches the current row's gap from any of its cells, not only
  // from the check box's own cell.
  // (While an answer is edited, the keys go to the editor, not the table.)
  if (watched == table_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
      RunCommand(this, [this] { toggleCurrent(); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void GapEditorWindow::showEvent(QShowEvent* event) {
  // On a small screen (or a large scale) the window is moved into the
  // screen's available area and made smaller where it still does not fit.
  if (!placed_) {
    placed_ = true;
    FitWindowOnScreen(*this, /*mayShrink=*/true);
  }
  QDialog::showEvent(event);
  if (stale_) generatedChanged();
}

}  // namespace brenvik
