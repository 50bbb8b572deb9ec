#pragma once
// The texts of the test (Edit > Texts): their titles in order, the current
// one chosen; add, remove, rename and move. The source box shows the chosen
// text.

#include <QDialog>

#include "ui/app/TestSession.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace brenvik {

class TextsWindow : public QDialog {
  Q_OBJECT
 public:
  explicit TextsWindow(TestSession& session, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void refill();         // the list from the session's texts
  void showCurrent();    // the session's current text chosen in the list
  void chooseRow();      // the list's current row becomes the current text
  void addText();        // Add
  void removeText();     // Remove
  void renameText();     // Rename: edits the title in the list
  void titleEdited(QListWidgetItem* item);
  void moveText(int by); // Move up / Move down
  void updateButtons();

  TestSession& session_;
  QListWidget* list_ = nullptr;
  QPushButton* addButton_ = nullptr;
  QPushButton* removeButton_ = nullptr;
  QPushButton* renameButton_ = nullptr;
  QPushButton* upButton_ = nullptr;
  QPushButton* downButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  bool refilling_ = false;
  bool placed_ = false;  // fitted onto the screen at the first show
};

}  // namespace brenvik
