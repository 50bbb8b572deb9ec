// Where the file dialogs start: the program's folder when the user can write
// there, otherwise the documents folder, else the home folder.

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>

#include "AppFixture.h"
#include "ui/app/StartFolder.h"
#include "ui/platform/QtPlatform.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

TEST(DialogStartFolder, ProgramFolderWhenWritableElseTheFirstWritableFallback) {
  QTemporaryDir root;
  const QString program = root.filePath(QStringLiteral("bin"));
  const QString documents = root.filePath(QStringLiteral("home/Documents"));
  const QString home = root.filePath(QStringLiteral("home"));
  const QString missing = root.filePath(QStringLiteral("home/Missing"));
  ASSERT_TRUE(QDir().mkpath(program));
  ASSERT_TRUE(QDir().mkpath(documents));

  struct Case {
    const char* what;
    QStringList fallbacks;
    std::set<QString> readOnly;
    QString expected;
  };
  const Case cases[] = {
      {"a writable program folder is kept", {documents, home}, {}, program},
      {"read-only program folder: documents", {documents, home}, {program}, documents},
      {"documents missing: home", {missing, home}, {program}, home},
      {"documents read-only: home", {documents, home}, {program, documents}, home},
      {"an empty documents location is passed over", {QString(), home}, {program}, home},
      {"nothing writable: the program folder stays", {documents, home}, {program, documents, home}, program},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto canWrite = [&](const QString& folder) { return !c.readOnly.count(folder); };
    EXPECT_EQ(DialogStartFolder(program, c.fallbacks, canWrite), c.expected);
  }
}

// A folder nobody may create files in: immutable for root, who passes every
// permission check, and without write permission for anyone else.
bool MakeUnwritable(const QString& folder) {
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
  if (::geteuid() == 0) {
    const QString command = QStringLiteral("chattr +i '%1' 2>/dev/null").arg(folder);
    return std::system(QFile::encodeName(command).constData()) == 0;
  }
  return true;
}

void MakeWritableAgain(const QString& folder) {
  if (::geteuid() == 0) {
    const QString command = QStringLiteral("chattr -i '%1' 2>/dev/null").arg(folder);
    [[maybe_unused]] const int ignored = std::system(QFile::encodeName(command).constData());
  }
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(canWriteFolder, AsksTheSystem) {
  QTemporaryDir root;
  const QString locked = root.filePath(QStringLiteral("locked"));
  const QString file = root.filePath(QStringLiteral("file.txt"));
  ASSERT_TRUE(QDir().mkpath(locked));
  WriteAll(file, "x");
  QtPlatform qt;
  EXPECT_TRUE(qt.canWriteFolder(root.path()));
  EXPECT_FALSE(qt.canWriteFolder(root.filePath(QStringLiteral("missing"))));
  EXPECT_FALSE(qt.canWriteFolder(file));
  EXPECT_FALSE(qt.canWriteFolder(QString()));
  if (!MakeUnwritable(locked)) {
    MakeWritableAgain(locked);
    GTEST_SKIP() << "this file system has no immutable folders";
  }
  EXPECT_FALSE(qt.canWriteFolder(locked));
  // The check agrees with what actually happens on a save.
  QFile probe(locked + QStringLiteral("/probe.txt"));
  EXPECT_FALSE(probe.open(QIODevice::WriteOnly));
  MakeWritableAgain(locked);
  EXPECT_TRUE(qt.canWriteFolder(locked));
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
    qputenv(name, QFile::encodeName(value));
  }
  ~ScopedEnv() {
    if (old_) qputenv(name_, *old_);
    else qunsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<QByteArray> old_;
};

// The program as installed: its folder is not writable, so Open, Save source,
// Save output and Export to web all start in the documents folder, or in the
// home folder when there is none.
TEST(InstalledProgram, DialogsStartInDocumentsElseHome) {
  for (const bool withDocuments : {true, false}) {
    SCOPED_TRACE(withDocuments ? "with a documents folder" : "without a documents folder");
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    if (withDocuments) {
      ASSERT_TRUE(QDir().mkpath(documents));
    }
    const ScopedEnv homeVar("HOME", home.path());
    const ScopedEnv configVar("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")));

    ScopedFakePlatform fake;
    fake->readOnlyFolders = {QCoreApplication::applicationDirPath()};
    AppState state;
    AppWindows windows = CreateWindows(state);
    MainWindow& form = *windows.mainWindow;
    Find<QPlainTextEdit>(&form, QLatin1String(kSourceBox))->setPlainText(
        QStringLiteral("This is a test. The cat sat on the mat."));
    Find<QPushButton>(&form, QLatin1String(kProcessButton))->click();
    fake->confirmAnswers.push_back(false);  // the preview question after the export
    for (const char* command : {kOpenAction, kSaveSourceAction, kSaveOutputAction, kExportWebAction}) {
      (command == std::string(kOpenAction) ? fake->openAnswers : fake->saveAnswers).push_back(std::nullopt);
      Find<QAction>(&form, QLatin1String(command))->trigger();
    }
    ASSERT_EQ(fake->dialogs.size(), 4u);
    const QString expected = withDocuments ? documents : home.path();
    for (const auto& d : fake->dialogs) EXPECT_EQ(d.seen.initialDir, expected);
    // The help file still sits beside the program.
    EXPECT_EQ(form.helpFile(), QCoreApplication::applicationDirPath() + QStringLiteral("/brenvik.hlp"));
    EXPECT_TRUE(fake->errors.empty());
    EXPECT_EQ(fake->unexpected, 0);
  }
}

}  // namespace
}  // namespace brenvik::test
