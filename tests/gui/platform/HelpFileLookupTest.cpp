// Which help file the program opens: beside the program in a build tree or
// a copied folder, in the shared data folder when installed (found relative
// to the program, or through the data folder named at build time).

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include <gtest/gtest.h>

#include "ui/platform/HelpFile.h"

namespace brenvik::test {
namespace {

TEST(FindHelpFile, BesideTheProgramThenTheSharedDataFolder) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString bin = root.filePath(QStringLiteral("usr/bin"));
  const QString share = root.filePath(QStringLiteral("usr/share/brenvik"));
  const QString data = root.filePath(QStringLiteral("opt/data/brenvik"));
  const QString beside = bin + QStringLiteral("/brenvik.hlp");
  const QString shared = share + QStringLiteral("/brenvik.hlp");
  const QString built = data + QStringLiteral("/brenvik.hlp");

  struct Case {
    const char* what;
    std::set<QString> files;    // help files that exist
    std::set<QString> folders;  // paths that are folders named brenvik.hlp
    QString expected;
  };
  const Case cases[] = {
      {"a build tree: beside the program", {beside}, {}, beside},
      {"beside the program wins over the data folders", {beside, shared, built}, {}, beside},
      {"installed: ../share/brenvik, as a clean path", {shared}, {}, shared},
      {"../share/brenvik wins over the data folder of the build", {shared, built}, {}, shared},
      {"the program moved away from its prefix: the data folder of the build", {built}, {}, built},
      {"a folder called brenvik.hlp is no help file", {shared}, {beside}, shared},
      {"none found: the name beside the program, for the viewer's message", {}, {}, beside},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const QString& dir : {bin, share, data}) {
      ASSERT_TRUE(QDir(dir).removeRecursively());
      ASSERT_TRUE(QDir().mkpath(dir));
    }
    for (const QString& file : c.files) {
      QFile f(file);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("@topic 0 Contents\n");
    }
    for (const QString& folder : c.folders) ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(FindHelpFile(bin, data), c.expected);
  }
}

}  // namespace
}  // namespace brenvik::test
