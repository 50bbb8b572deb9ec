// The help file that Help > Contents shows: it parses into topics, the
// contents come first, and the colour chooser's nine page contexts exist.

#include <QFile>
#include <set>

#include <gtest/gtest.h>

#include "ui/platform/HelpViewer.h"

namespace brenvik::test {
namespace {

TEST(helpFile, HasTheContentsAndOneTopicPerChooserPage) {
  QFile f(QStringLiteral(BRENVIK_BIN_DIR "/brenvik.hlp"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "the build places brenvik.hlp beside the program";
  const QVector<HelpTopic> topics = ParseHelpText(QString::fromUtf8(f.readAll()));
  ASSERT_FALSE(topics.isEmpty());
  EXPECT_EQ(topics.front().context, 0);
  std::set<int> contexts;
  for (const HelpTopic& t : topics) {
    EXPECT_TRUE(contexts.insert(t.context).second) << "context " << t.context << " used twice";
    EXPECT_FALSE(t.title.isEmpty()) << t.context;
    EXPECT_GT(t.body.trimmed().size(), 40) << t.title.toStdString();
  }
  // The chooser's Help button asks for helpContext + page tag + 1.
  for (int context = 1; context <= 9; ++context) EXPECT_EQ(contexts.count(context), 1u) << context;
}

}  // namespace
}  // namespace brenvik::test
