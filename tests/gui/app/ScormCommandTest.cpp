// File > Export SCORM package: one entry for both versions, the version and
// the pass mark asked before the save dialog and offered again next time,
// and packages equal to brenvik-cli's.

#include <QDir>
#include <QProcess>
#include <optional>
#include <vector>

#include "AppFixture.h"
#include "ObjectNames.h"
#include "export/ExportFormats.h"

namespace brenvik::test {
namespace {

using ScormCommand = AppFixture;

const QString kCatText = QStringLiteral("This is a test. The cat sat on the mat.");

TEST_F(ScormCommand, AsksVersionAndPassMarkThenWritesTheCommandLinesPackage) {
  struct Case {
    ScormChoice choice;
    QString chosen;
    QString written;
    QStringList cliOptions;
  };
  const std::vector<Case> cases = {
      {{ScormVersion::Scorm2004, 60u}, QStringLiteral("unit"), QStringLiteral("unit.zip"),
       {QStringLiteral("--format"), QStringLiteral("scorm2004"), QStringLiteral("--pass-mark"), QStringLiteral("60")}},
      {{ScormVersion::Scorm12, std::nullopt}, QStringLiteral("old.ZIP"), QStringLiteral("old.ZIP"),
       {QStringLiteral("--format"), QStringLiteral("scorm12")}},
      {{ScormVersion::Scorm12, 0u}, QStringLiteral("zero"), QStringLiteral("zero.zip"),
       {QStringLiteral("--format"), QStringLiteral("scorm12"), QStringLiteral("--pass-mark"), QStringLiteral("0")}},
  };
  Process(kCatText);
  state.settings.Title = U"Quiz <\u00E9t\u00E9> & co";
  WriteAll(Path(QStringLiteral("cat.txt")), kCatText.toUtf8());
  for (const Case& c : cases) {
    fake->scormAnswers.push_back(c.choice);
    fake->saveAnswers.push_back(Path(c.chosen));
    Trigger(kExportScormAction);
    const QByteArray written = ReadAll(Path(c.written));
    ASSERT_TRUE(written.startsWith("PK")) << c.written.toStdString();

    QProcess cli;
    cli.start(QStringLiteral(BRENVIK_BIN_DIR "/brenvik-cli"),
              QStringList{QStringLiteral("export"), Path(QStringLiteral("cat.txt")), QStringLiteral("-o"),
                          Path(QStringLiteral("cli.zip")), QStringLiteral("--title"),
                          QString::fromUtf8("Quiz <\xC3\xA9t\xC3\xA9> & co")} +
                  c.cliOptions);
    ASSERT_TRUE(cli.waitForFinished(-1));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(written == ReadAll(Path(QStringLiteral("cli.zip")))) << c.written.toStdString();
  }
  // Each question starts from the answers given last.
  ASSERT_EQ(fake->scormOffered.size(), cases.size());
  EXPECT_EQ(fake->scormOffered[0], ScormChoice{});
  for (std::size_t i = 1; i < cases.size(); ++i) EXPECT_EQ(fake->scormOffered[i], cases[i - 1].choice);
  ASSERT_EQ(fake->dialogs.size(), cases.size());
  for (const auto& d : fake->dialogs) {
    EXPECT_EQ(d.seen.filter, QStringLiteral("SCORM packages (*.zip)|*.zip"));
    EXPECT_EQ(d.seen.fileName, QString::fromUtf8("Quiz <\xC3\xA9t\xC3\xA9> & co"));
  }
  EXPECT_TRUE(fake->questions.empty());  // no preview of a package
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

TEST_F(ScormCommand, CancelAtEitherQuestionWritesNothingAndKeepsTheLastAnswers) {
  Process(kCatText);
  fake->scormAnswers.push_back(std::nullopt);
  Trigger(kExportScormAction);
  EXPECT_TRUE(fake->dialogs.empty());  // no save dialog after Cancel
  const ScormChoice answer{ScormVersion::Scorm2004, 75u};
  fake->scormAnswers.push_back(answer);
  fake->saveAnswers.push_back(std::nullopt);
  Trigger(kExportScormAction);
  fake->scormAnswers.push_back(std::nullopt);
  Trigger(kExportScormAction);
  ASSERT_EQ(fake->scormOffered.size(), 3u);
  EXPECT_EQ(fake->scormOffered[1], ScormChoice{});  // the first Cancel changed nothing
  EXPECT_EQ(fake->scormOffered[2], answer);         // an answer counts even if the save is cancelled
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_EQ(fake->unexpected, 0);
}

TEST_F(ScormCommand, WithoutAGapTheListErrorBeforeAnyQuestion) {
  Trigger(kExportScormAction);
  Process(QStringLiteral("Hello world."));
  Trigger(kExportScormAction);
  ASSERT_EQ(fake->errors.size(), 2u);
  for (const auto& e : fake->errors) EXPECT_EQ(e.text, QStringLiteral("Indice de liste hors limites (-1)"));
  EXPECT_TRUE(fake->scormOffered.empty());
  EXPECT_TRUE(fake->dialogs.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

}  // namespace
}  // namespace brenvik::test
