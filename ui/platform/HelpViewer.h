#pragma once
// The help viewer: a small window that shows the program's help file.
//
// Help file format (UTF-8 text): a line "@topic N Title" starts a topic with
// context number N; the lines after it, up to the next "@topic", are its text.
// Blank lines separate paragraphs; a line starting with "- " is a list item.
// The contents page lists every topic; context N shows topic N (or the
// contents when there is no such topic).

#include <QDialog>
#include <QString>
#include <QVector>

class QTextBrowser;

namespace brenvik {

struct HelpTopic {
  int context = 0;
  QString title;
  QString body;  // the topic's lines, as written in the file
};

// Parses help-file text; topics in file order.
QVector<HelpTopic> ParseHelpText(const QString& text);

class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  // Loads helpFile; false (and the window shows the reason) when it cannot be read.
  bool load(const QString& helpFile);
  void showContents();
  void showContext(int context);

  const QVector<HelpTopic>& topics() const { return topics_; }

 private:
  void showTopic(const HelpTopic& topic);
  QTextBrowser* browser_;
  QVector<HelpTopic> topics_;
  QString file_;
};

}  // namespace brenvik
