#include "ui/app/AboutBox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "core/Version.h"
#include "ui/app/AppLook.h"

namespace brenvik {

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {
  setAutoFillBackground(true);
}

void BevelPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  const QColor light(255, 255, 255);
  const QColor shadow(128, 128, 128);
  const int w = width();
  const int h = height();
  auto bevel = [&](int inset, const QColor& topLeft, const QColor& bottomRight) {
    const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
    p.setPen(topLeft);
    p.drawLine(l, t, r - 1, t);
    p.drawLine(l, t, l, b - 1);
    p.setPen(bottomRight);
    p.drawLine(l, b, r, b);
    p.drawLine(r, t, r, b);
  };
  bevel(0, shadow, light);  // lowered outer bevel
  bevel(1, light, shadow);  // raised inner bevel
}

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(WindowFont());
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Silver());
  pal.setColor(QPalette::WindowText, pal.color(QPalette::Active, QPalette::WindowText));
  setPalette(pal);
  setAutoFillBackground(true);

  auto* panel = new BevelPanel(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setGeometry(8, 8, 281, 161);
  QPalette cream = pal;
  cream.setColor(QPalette::Window, Cream());
  panel->setPalette(cream);

  auto* image = new QLabel(panel);
  image->setObjectName(QStringLiteral("Image1"));
  image->setGeometry(16, 24, 57, 65);
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image->setPixmap(ProgramPixmap());

  auto label = [panel](const char* name, int x, int y, const QString& text) {
    auto* l = new QLabel(text, panel);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  label("ProductName", 88, 16, QStringLiteral("Brenvik"));
  label("Version", 88, 40, QStringLiteral("Version ") + QString::fromLatin1(kVersion));
  QLabel* copyright = label("Copyright", 88, 64, QStringLiteral("Copyright \u00A9 2026 Halvorsk\nhalvorsk@brenvik.example"));
  copyright->setWordWrap(true);
  copyright->setGeometry(88, 64, 173, 26);
  QLabel* comments = label("Comments", 40, 112,
                           QStringLiteral("Thanks to the members of an online developers' forum for their advice."));
  comments->setWordWrap(true);
  comments->setGeometry(40, 112, 199, 26);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setGeometry(111, 180, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  ok->setFocus();
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
  // No Cancel button, so Esc does nothing; Enter reaches the default button.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void AboutBox::showEvent(QShowEvent* event) {
  if (!placed_) {
    // The first time in the middle of the screen; afterwards the window keeps
    // the place where the teacher left it (an explicit move stops the dialog
    // from being re-centred on every showing).
    placed_ = true;
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s) move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(), s->geometry()).topLeft());
  }
  QDialog::showEvent(event);
}

}  // namespace brenvik
