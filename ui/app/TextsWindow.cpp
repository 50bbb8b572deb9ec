#include "ui/app/TextsWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ui/app/ScreenFit.h"
#include "ui/platform/CommandGuard.h"
#include "ui/platform/QtText.h"

namespace brenvik {

TextsWindow::TextsWindow(TestSession& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TextsWindow"));
  setWindowTitle(QStringLiteral("Texts of the test"));
  setModal(false);

  auto* caption = new QLabel(QStringLiteral("&Texts, in the order of the test:"), this);
  caption->setObjectName(QStringLiteral("TextListLabel"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("TextList"));
  list_->setAccessibleName(QStringLiteral("Texts of the test"));
  list_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
  caption->setBuddy(list_);

  auto button = [this](const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
  };
  addButton_ = button("AddText", QStringLiteral("&Add"), QStringLiteral("Add an empty text after the others"));
  removeButton_ = button("RemoveText", QStringLiteral("Re&move"), QStringLiteral("Remove the chosen text"));
  renameButton_ = button("RenameText", QStringLiteral("Re&name"), QStringLiteral("Change the chosen text's title (F2)"));
  upButton_ = button("MoveTextUp", QStringLiteral("Move &up"), QStringLiteral("Move the chosen text one place up"));
  downButton_ = button("MoveTextDown", QStringLiteral("Move &down"), QStringLiteral("Move the chosen text one place down"));
  closeButton_ = button("CloseTexts", QStringLiteral("&Close"), QString());

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {addButton_, removeButton_, renameButton_, upButton_, downButton_}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(closeButton_);
  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(caption);
  listColumn->addWidget(list_, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(listColumn, 1);
  layout->addLayout(buttons);

  connect(addButton_, &QPushButton::clicked, this, Guarded(this, &TextsWindow::addText));
  connect(removeButton_, &QPushButton::clicked, this, Guarded(this, &TextsWindow::removeText));
  connect(renameButton_, &QPushButton::clicked, this, Guarded(this, &TextsWindow::renameText));
  connect(upButton_, &QPushButton::clicked, this, Guarded(this, [this] { moveText(-1); }));
  connect(downButton_, &QPushButton::clicked, this, Guarded(this, [this] { moveText(+1); }));
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
  connect(list_, &QListWidget::currentRowChanged, this, Guarded(this, &TextsWindow::chooseRow));
  connect(list_, &QListWidget::itemChanged, this, Guarded(this, [this](QListWidgetItem* item) { titleEdited(item); }));
  connect(&session_, &TestSession::textsChanged, this, [this] { refill(); });
  connect(&session_, &TestSession::currentChanged, this, [this] { showCurrent(); });
  refill();
  // Room for a dozen titles of some forty characters.
  resize(sizeHint().expandedTo(QSize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 18)));
}

void TextsWindow::refill() {
  // The items are retitled in place and only the surplus ones removed: a
  // rename reaches here from the item's own change, which must not delete it.
  refilling_ = true;
  const std::vector<TestText>& texts = session_.test().texts;
  const int count = static_cast<int>(texts.size());
  while (list_->count() > count) delete list_->takeItem(list_->count() - 1);
  for (int i = 0; i < count; ++i) {
    QListWidgetItem* item = list_->item(i);
    if (!item) {
      item = new QListWidgetItem(list_);
      item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    const QString title = ToQString(texts[static_cast<std::size_t>(i)].title);
    if (item->text() != title) item->setText(title);
  }
  refilling_ = false;
  showCurrent();
}

void TextsWindow::showCurrent() {
  refilling_ = true;
  list_->setCurrentRow(static_cast<int>(session_.current()));
  refilling_ = false;
  updateButtons();
}

void TextsWindow::updateButtons() {
  const int row = list_->currentRow();
  const int count = list_->count();
  removeButton_->setEnabled(count > 1 && row >= 0);
  renameButton_->setEnabled(row >= 0);
  upButton_->setEnabled(row > 0);
  downButton_->setEnabled(row >= 0 && row + 1 < count);
}

void TextsWindow::chooseRow() {
  if (refilling_) return;
  const int row = list_->currentRow();
  if (row >= 0) session_.setCurrent(static_cast<std::size_t>(row));
  updateButtons();
}

void TextsWindow::addText() {
  session_.addText();
  list_->setFocus();
}

void TextsWindow::removeText() {
  const int row = list_->currentRow();
  if (row >= 0) session_.removeText(static_cast<std::size_t>(row));
}

void TextsWindow::renameText() {
  if (QListWidgetItem* item = list_->currentItem()) list_->editItem(item);
}

void TextsWindow::titleEdited(QListWidgetItem* item) {
  if (refilling_) return;
  const int row = list_->row(item);
  const QString title = item->text().trimmed();
  if (row < 0) return;
  if (title.isEmpty()) {
    // A text needs a title: the pages and the quiz name it. The old one
    // comes back once this change is over.
    QMetaObject::invokeMethod(this, [this] { refill(); }, Qt::QueuedConnection);
    throw BrenvikError("a text needs a title");
  }
  session_.renameText(static_cast<std::size_t>(row), FromQString(title));
}

void TextsWindow::moveText(int by) {
  const int row = list_->currentRow();
  if (row >= 0) session_.moveText(static_cast<std::size_t>(row), by);
  list_->setFocus();
}

void TextsWindow::showEvent(QShowEvent* event) {
  // On a small screen (or a large scale) the window is moved into the
  // screen's available area and made smaller where it still does not fit.
  if (!placed_) {
    placed_ = true;
    FitWindowOnScreen(*this, /*mayShrink=*/true);
  }
  QDialog::showEvent(event);
}

}  // namespace brenvik
