#include "ui/platform/HelpViewer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/platform/CommandGuard.h"

namespace brenvik {

QVector<HelpTopic> ParseHelpText(const QString& text) {
  static const QRegularExpression header(QStringLiteral("^@topic\\s+(-?\\d+)\\s*(.*)$"));
  QVector<HelpTopic> topics;
  const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
  for (const QString& line : lines) {
    const auto m = header.match(line);
    if (m.hasMatch()) {
      HelpTopic t;
      t.context = m.captured(1).toInt();
      t.title = m.captured(2).trimmed();
      topics.push_back(t);
    } else if (!topics.isEmpty()) {
      topics.back().body += line + QLatin1Char('\n');
    }
  }
  return topics;
}

namespace {

// Topic body to simple HTML: paragraphs and "- " list items.
QString BodyToHtml(const QString& body) {
  QString html;
  bool inList = false;
  QString para;
  auto flushPara = [&] {
    if (!para.isEmpty()) html += QStringLiteral("<p>") + para.toHtmlEscaped() + QStringLiteral("</p>");
    para.clear();
  };
  for (const QString& raw : body.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QStringLiteral("- "))) {
      flushPara();
      if (!inList) html += QStringLiteral("<ul>");
      inList = true;
      html += QStringLiteral("<li>") + line.mid(2).toHtmlEscaped() + QStringLiteral("</li>");
      continue;
    }
    if (inList) {
      html += QStringLiteral("</ul>");
      inList = false;
    }
    if (line.isEmpty()) {
      flushPara();
    } else {
      para += (para.isEmpty() ? QString() : QStringLiteral(" ")) + line;
    }
  }
  flushPara();
  if (inList) html += QStringLiteral("</ul>");
  return html;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Brenvik Help"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(480, 420);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setOpenLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    RunCommand(this, [&] {
      if (url.scheme() == QStringLiteral("topic")) {
        showContext(url.path().toInt());
      } else if (url.toString() == QStringLiteral("contents")) {
        showContents();
      }
    });
  });
}

bool HelpViewer::load(const QString& helpFile) {
  file_ = helpFile;
  topics_.clear();
  QFile f(helpFile);
  if (!f.open(QIODevice::ReadOnly)) {
    browser_->setHtml(QStringLiteral("<h3>Help is not available</h3><p>The help file <b>%1</b> cannot be opened: %2.</p>")
                          .arg(helpFile.toHtmlEscaped(), f.errorString().toHtmlEscaped()));
    return false;
  }
  topics_ = ParseHelpText(QString::fromUtf8(f.readAll()));
  if (topics_.isEmpty()) {
    browser_->setHtml(QStringLiteral("<h3>Help is not available</h3><p>The help file <b>%1</b> holds no topics.</p>")
                          .arg(helpFile.toHtmlEscaped()));
    return false;
  }
  return true;
}

void HelpViewer::showContents() {
  if (topics_.isEmpty()) return;  // Load already shows why
  QString html = QStringLiteral("<h2>Contents</h2><ul>");
  for (const HelpTopic& t : topics_) {
    html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>").arg(t.context).arg(t.title.toHtmlEscaped());
  }
  html += QStringLiteral("</ul>");
  browser_->setHtml(html);
}

void HelpViewer::showContext(int context) {
  for (const HelpTopic& t : topics_) {
    if (t.context == context) {
      showTopic(t);
      return;
    }
  }
  showContents();
}

void HelpViewer::showTopic(const HelpTopic& topic) {
  browser_->setHtml(QStringLiteral("<p><a href=\"contents\">Contents</a></p><h2>%1</h2>%2")
                        .arg(topic.title.toHtmlEscaped(), BodyToHtml(topic.body)));
}


}  // namespace brenvik
