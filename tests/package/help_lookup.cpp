// Prints the help file that a program in PROGRAM_DIR opens for Help >
// Contents, and what the help viewer reads from it: the number of topics and
// the title of the first, the contents page.
// usage: help_lookup PROGRAM_DIR

#include <QFile>
#include <QString>
#include <cstdio>

#include "ui/platform/HelpFile.h"
#include "ui/platform/HelpViewer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: help_lookup PROGRAM_DIR\n");
    return 2;
  }
  const QString helpFile = brenvik::FindHelpFile(QString::fromLocal8Bit(argv[1]));
  std::printf("%s\n", QFile::encodeName(helpFile).constData());
  QFile file(helpFile);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "help_lookup: cannot read %s\n", QFile::encodeName(helpFile).constData());
    return 1;
  }
  const QVector<brenvik::HelpTopic> topics = brenvik::ParseHelpText(QString::fromUtf8(file.readAll()));
  std::printf("%d topics\n", static_cast<int>(topics.size()));
  if (!topics.isEmpty()) std::printf("%d %s\n", topics.front().context, topics.front().title.toUtf8().constData());
  return 0;
}
