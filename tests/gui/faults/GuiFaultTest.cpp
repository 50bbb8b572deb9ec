// The main window's file commands (Open, Save source, Save output, Export to
// web) when the file system fails. FaultShim is linked into this program, so
// the core's own file calls fail as chosen by BRENVIK_FAULT. Each failure
// shows its error box once, leaves every existing file whole and no temporary
// file behind, changes neither box nor the workspace, and the same command
// works as soon as the fault is gone.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "GuiTestSupport.h"
#include "ui/app/AppState.h"
#include "ui/app/Startup.h"
#include "ui/app/MainWindow.h"
#include "core/page/ClassicPage.h"
#include "core/text/CodePage.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

const QString kText = QStringLiteral("This is a test. The cat sat on the mat.\nA second line with words in it.");
const QByteArray kOld = "the old file, which must survive\r\n";

// Sets BRENVIK_FAULT for the lifetime of the object.
class ScopedFault {
 public:
  explicit ScopedFault(const QString& spec) { ::setenv("BRENVIK_FAULT", spec.toUtf8().constData(), 1); }
  ~ScopedFault() { ::unsetenv("BRENVIK_FAULT"); }
  ScopedFault(const ScopedFault&) = delete;
  ScopedFault& operator=(const ScopedFault&) = delete;
};

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QStringList Names(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class GuiFault : public testing::Test {
 protected:
  ScopedFakePlatform fake;
  AppState state;
  AppWindows windows = CreateWindows(state);
  QTemporaryDir dir;

  MainWindow& form() { return *windows.mainWindow; }
  QPlainTextEdit* Box(const char* name) { return form().findChild<QPlainTextEdit*>(QLatin1String(name)); }
  void Trigger(const char* name) {
    QAction* a = form().findChild<QAction*>(QLatin1String(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  QString Path(const QString& name) const { return dir.filePath(name); }

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    Box(kSourceBox)->setPlainText(kText);
    form().findChild<QPushButton*>(QLatin1String(kProcessButton))->click();
    ASSERT_FALSE(state.workspace.PageAnswers.empty());
  }

  // What the window shows and keeps, to see that a failed command changed nothing.
  struct Snapshot {
    QString source;
    QString output;
    TestWorkspace workspace;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() { return {BoxText(Box(kSourceBox)), BoxText(Box(kOutputBox)), state.workspace}; }
};

const QString kCreate = QString::fromUtf8("Impossible de cr\xC3\xA9" "er le fichier ");

struct SaveCommand {
  const char* action;
  const char* extension;
};

struct WriteFaultCase {
  const char* name;
  QString (*spec)(const QString& dir, const QString& target);
};

const SaveCommand kSaveCommands[] = {{kSaveSourceAction, ".txt"}, {kSaveOutputAction, ".txt"}, {kExportWebAction, ".htm"}};

const WriteFaultCase kWriteFaults[] = {
    {"read-only folder", [](const QString& d, const QString&) { return "erofs:" + d; }},
    {"disk full", [](const QString& d, const QString&) { return "enospc:20:" + d; }},
    {"disk full at once", [](const QString& d, const QString&) { return "enospc:0:" + d; }},
    {"locked file", [](const QString&, const QString& target) { return "locked:" + target; }},
    {"flush to disk fails", [](const QString& d, const QString&) { return "eio-sync:" + d; }},
    {"replace fails", [](const QString& d, const QString&) { return "rename:" + d; }},
};

TEST_F(GuiFault, SaveCommandsReportKeepTheOldFileAndGoOn) {
  // A first export (cancelled) prepares the workspace lists as every export
  // does; from then on a failed command must leave the workspace as it is.
  fake->saveAnswers.push_back(std::nullopt);
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  ASSERT_TRUE(fake->errors.empty());
  for (const SaveCommand& command : kSaveCommands) {
    for (const WriteFaultCase& fault : kWriteFaults) {
      SCOPED_TRACE(std::string(command.action) + ", " + fault.name);
      const QString chosen = Path(QStringLiteral("story"));
      const QString target = chosen + QLatin1String(command.extension);
      Write(target, kOld);
      const QStringList before = Names(dir.path());
      const Snapshot snapshot = Take();
      fake->errors.clear();
      fake->questions.clear();

      fake->saveAnswers.push_back(chosen);
      fake->replaceAnswers.push_back(true);  // the old file is there
      fake->confirmAnswers.push_back(false);
      {
        ScopedFault f(fault.spec(dir.path(), target));
        Trigger(command.action);
      }
      ASSERT_EQ(fake->errors.size(), 1u);
      EXPECT_EQ(fake->errors[0].caption, QStringLiteral("Brenvik by Halvorsk"));
      EXPECT_EQ(fake->errors[0].text, kCreate + target + QStringLiteral("."));
      EXPECT_TRUE(fake->questions.empty()) << "the preview question follows a failed export";
      EXPECT_EQ(Read(target), kOld);
      EXPECT_EQ(Names(dir.path()), before);
      EXPECT_TRUE(Take() == snapshot) << "the failed command changed the window or the workspace";

      // Without the fault the same command writes the file.
      fake->confirmAnswers.clear();
      fake->saveAnswers.push_back(chosen);
      fake->replaceAnswers.push_back(true);
      fake->confirmAnswers.push_back(false);
      Trigger(command.action);
      EXPECT_EQ(fake->errors.size(), 1u);
      const QByteArray written = Read(target);
      EXPECT_NE(written, kOld);
      if (std::string(command.action) == kSaveSourceAction) {
        const QString expected = BoxText(Box(kSourceBox)).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        EXPECT_TRUE(DecodeTextFile(written.toStdString()) == FromUtf8(expected.toStdString()));
      }
      fake->confirmAnswers.clear();
    }
  }
}

TEST_F(GuiFault, SaveOntoAFolderReportsAndLeavesTheFolderAlone) {
  fake->saveAnswers.push_back(std::nullopt);
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  for (const SaveCommand& command : kSaveCommands) {
    SCOPED_TRACE(command.action);
    const QString chosen = Path(QStringLiteral("folder"));
    const QString target = chosen + QLatin1String(command.extension);
    ASSERT_TRUE(QDir().mkpath(target));
    Write(target + QStringLiteral("/inside.txt"), kOld);
    fake->errors.clear();
    fake->questions.clear();
    fake->saveAnswers.push_back(chosen);
    Trigger(command.action);
    ASSERT_EQ(fake->errors.size(), 1u);
    EXPECT_EQ(fake->errors[0].text, kCreate + target + QStringLiteral("."));
    EXPECT_TRUE(fake->questions.empty());
    EXPECT_EQ(Names(target), QStringList{QStringLiteral("inside.txt")});
    EXPECT_EQ(Read(target + QStringLiteral("/inside.txt")), kOld);
  }
}

struct OpenFaultCase {
  const char* name;
  bool deleteFirst;    // the file went away after the dialog closed
  const char* fault;   // "unreadable" or "eio-read", or nullptr
};

TEST_F(GuiFault, OpenReportsAndKeepsTheSourceText) {
  const OpenFaultCase cases[] = {
      {"deleted after the dialog", true, nullptr},
      {"not readable", false, "unreadable"},
      {"read error", false, "eio-read"},
  };
  for (const OpenFaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = Path(QStringLiteral("lesson.txt"));
    Write(file, "Another text. With other words to halve.\r\n");
    if (c.deleteFirst) {
      ASSERT_TRUE(QFile::remove(file));
    }
    const Snapshot snapshot = Take();
    fake->errors.clear();
    fake->openAnswers.push_back(file);
    {
      ScopedFault f(c.fault ? QString::fromLatin1(c.fault) + ":" + file : QString());
      Trigger(kOpenAction);
    }
    ASSERT_EQ(fake->errors.size(), 1u);
    EXPECT_EQ(fake->errors[0].text, QStringLiteral("Impossible d'ouvrir le fichier %1.").arg(file));
    EXPECT_TRUE(Take() == snapshot);
    if (!c.deleteFirst) {
      EXPECT_EQ(Read(file), QByteArray("Another text. With other words to halve.\r\n"));
    }

    // The window goes on: the file opens once it is there and readable.
    Write(file, "Another text. With other words to halve.\r\n");
    fake->openAnswers.push_back(file);
    Trigger(kOpenAction);
    EXPECT_EQ(fake->errors.size(), 1u);
    EXPECT_EQ(BoxText(Box(kSourceBox)), QStringLiteral("Another text. With other words to halve.\n"));
    Box(kSourceBox)->setPlainText(kText);
  }
}

}  // namespace
}  // namespace brenvik::test
