#pragma once
// The gap editor (Edit > Gaps): a table of the gaps of the processed test,
// each with its number, its text, the word as the test shows it, the deleted
// part and the further accepted answers. A gap is switched on or off in the
// first column (Space or a click), the accepted answers are edited in the
// last (F2 or typing; separated by ";"). Every change makes the text again
// at once, so the output box and the exports show it.

#include <QAbstractTableModel>
#include <QDialog>
#include <vector>

#include "ui/app/TestSession.h"

class QCheckBox;
class QLabel;
class QTableView;

namespace brenvik {

// The table over the session's generated test: one row per word that has a
// gap or the teacher's edit, or per word of the rest text when every word is
// shown.
class GapTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { GapColumn, NumberColumn, TextColumn, WordColumn, DeletedColumn, AcceptedColumn, ColumnCount };

  explicit GapTableModel(TestSession& session, QObject* parent = nullptr);

  // Words without a gap and without an edit are listed too.
  void setEveryWord(bool every);
  bool everyWord() const { return everyWord_; }
  // The row of a word, -1 when it is not listed.
  int rowOf(const GapWord& word) const;
  const GapWord& wordAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Throws what the session throws (a word that cannot have a gap).
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The rows again from the session's generated test.
  void rebuild();
  // No rows, until the next rebuild.
  void clear();

 private:
  QVariant display(const GapWord& w, std::size_t number, int column) const;

  TestSession& session_;
  bool everyWord_ = false;
  std::vector<GapWord> rows_;
  std::vector<std::size_t> numbers_;  // per row its gap number, 0 for none
};

// The accepted answers as the table shows them: "em; an".
QString JoinAnswers(const std::vector<Text>& answers);
std::vector<Text> SplitAnswers(const QString& text);

class GapEditorWindow : public QDialog {
  Q_OBJECT
 public:
  explicit GapEditorWindow(TestSession& session, QWidget* parent = nullptr);

  GapTableModel& model() { return *model_; }
  // Makes the word's row the current one (after a double-click in the output box).
  void showWord(const GapWord& word);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void generatedChanged();
  void toggleCurrent();  // Space on any cell of a row: the row's gap on or off

  TestSession& session_;
  GapTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QCheckBox* everyWordBox_ = nullptr;
  QLabel* hint_ = nullptr;
  bool stale_ = false;  // the table is made again when the window is shown
  bool placed_ = false;  // fitted onto the screen at the first show
};

}  // namespace brenvik
