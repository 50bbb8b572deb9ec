// The main window's commands: Process, the text files, Export to web, the
// option controls, help, configure output and quitting, each through the
// menu item or button a teacher uses.

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "AppFixture.h"
#include "core/page/ClassicPage.h"
#include "core/page/ResponsivePage.h"
#include "core/ctest/TestGen.h"
#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "ui/platform/QtText.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

using Commands = AppFixture;


// The page bytes an export must write for source text with the given settings,
// built independently of the window.
std::string ExpectedPage(const QString& sourceBoxText, const ExportSettings& settings = {}) {
  TestWorkspace ws;
  GenerateTest(FromBoxText(sourceBoxText), ws);
  return BuildTestPageBytes(ws, settings);
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// --- Process ---------------------------------------------------------------

TEST_F(Commands, ProcessFillsTheOutputBoxAndTheWorkspace) {
  struct Case {
    QString source;
    QString output;
  };
  const std::vector<Case> cases = {
      {kCatText, QStringLiteral("This is a test. The c__ sat o_ the m__.")},
      {QStringLiteral("Hi! How are you?"), QStringLiteral("Hi! How a__ you?")},
      // Lines stay lines: CR LF inside the program, LF in the box.
      {QStringLiteral("One.\nTwo three\nfour five"), QStringLiteral("One.\nTwo th___\nfour fi__")},
      {QString(), QString()},
  };
  for (const Case& c : cases) {
    Process(c.source);
    EXPECT_EQ(BoxText(output()), c.output) << c.source.toStdString();
    EXPECT_EQ(state.workspace.FirstSentence + state.workspace.RestText, FromBoxText(c.source));
  }
  Process(kCatText);
  EXPECT_EQ(state.workspace.PageAnswers, (TextList{U"at", U"n", U"at"}));
  // Process reads neither the options nor the settings and leaves them alone.
  EXPECT_EQ(state.settings, ExportSettings{});
  EXPECT_TRUE(fake->errors.empty());
}

// Process takes the source text in NFC: a letter typed or pasted with its
// accent apart is one letter, and the answer holds the composed letter.
TEST_F(Commands, ProcessComposesDecomposedLetters) {
  Process(QStringLiteral("Un. Le cafe\u0301 cre\u0300me."));
  EXPECT_EQ(BoxText(output()), QStringLiteral("Un. Le ca__ cr\u00e8me."));
  EXPECT_EQ(state.workspace.PageAnswers, (TextList{U"f\u00e9"}));
}

TEST_F(Commands, ProcessAfterAnExportRestoresTheListsTheExportPrepared) {
  Process(kCatText);
  const TestWorkspace fresh = state.workspace;
  fake->saveAnswers.push_back(std::nullopt);
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  EXPECT_NE(state.workspace, fresh);  // answers escaped in place
  Click(kProcessButton);
  EXPECT_EQ(state.workspace, fresh);
}

// --- Open --------------------------------------------------------------------

TEST_F(Commands, OpenReplacesTheSourceTextWithCrLfLinesAndLeavesTheRestAlone) {
  struct Case {
    QByteArray file;
    QString box;
  };
  const std::vector<Case> cases = {
      {"one\r\ntwo", QStringLiteral("one\ntwo")},
      {"one\ntwo\n", QStringLiteral("one\ntwo\n")},
      {"one\rtwo\r\rthree", QStringLiteral("one\ntwo\n\nthree")},
      {"caf\xC3\xA9 \xC5\x82\xC3\xB3" "d\xC5\xBA", QStringLiteral(u"café łódź")},  // UTF-8
      {"caf\xE9 na\xEFve", QStringLiteral(u"café naïve")},                             // Windows-1252
      {"", QString()},
  };
  Process(kCatText);
  const QString outputBefore = BoxText(output());
  const TestWorkspace workspaceBefore = state.workspace;
  for (const Case& c : cases) {
    const QString path = Path(QStringLiteral("in.txt"));
    WriteAll(path, c.file);
    source()->setPlainText(QStringLiteral("old text"));
    source()->moveCursor(QTextCursor::End);
    fake->openAnswers.push_back(path);
    Trigger(kOpenAction);
    EXPECT_EQ(BoxText(source()), c.box);
    EXPECT_EQ(source()->textCursor().position(), 0);
    EXPECT_FALSE(source()->textCursor().hasSelection());
  }
  EXPECT_EQ(BoxText(output()), outputBefore);
  EXPECT_EQ(state.workspace, workspaceBefore);
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

TEST_F(Commands, OpenOffersTheLastFileAgainAndCancelChangesNothing) {
  const QString path = Path(QStringLiteral("story.txt"));
  WriteAll(path, "Once upon a time.");
  fake->openAnswers.push_back(path);
  Trigger(kOpenAction);
  source()->setPlainText(QStringLiteral("edited"));
  fake->openAnswers.push_back(std::nullopt);
  Trigger(kOpenAction);
  ASSERT_EQ(fake->dialogs.size(), 2u);
  EXPECT_EQ(fake->dialogs[0].seen.initialDir, QCoreApplication::applicationDirPath());
  EXPECT_TRUE(fake->dialogs[0].seen.mustExist);
  EXPECT_FALSE(fake->dialogs[0].save);
  EXPECT_EQ(fake->dialogs[1].seen.fileName, path);
  EXPECT_EQ(BoxText(source()), QStringLiteral("edited"));
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(Commands, OpenFailuresShowTheErrorBoxAndKeepTheSourceText) {
  const QString missing = Path(QStringLiteral("missing.txt"));
  const QString tooLarge = Path(QStringLiteral("huge.txt"));
  {
    QFile f(tooLarge);  // sparse: costs no disk space and is never read
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(static_cast<qint64>(MainWindow::kSourceBoxCapacity) + 1));
  }
  const QString justFits = Path(QStringLiteral("fits.txt"));
  struct Case {
    QString path;
    QString error;  // empty: no error
  };
  const std::vector<Case> cases = {
      {missing, QStringLiteral("Impossible d'ouvrir le fichier %1.").arg(missing)},
      {dir.path(), QStringLiteral("Impossible d'ouvrir le fichier %1.").arg(dir.path())},
      {tooLarge, QString::fromUtf8("Le texte d\xC3\xA9passe la capacit\xC3\xA9 du m\xC3\xA9mo.")},
  };
  for (const Case& c : cases) {
    source()->setPlainText(QStringLiteral("keep me"));
    fake->errors.clear();
    fake->openAnswers.push_back(c.path);
    Trigger(kOpenAction);
    EXPECT_EQ(BoxText(source()), QStringLiteral("keep me")) << c.path.toStdString();
    ASSERT_EQ(fake->errors.size(), 1u) << c.path.toStdString();
    EXPECT_EQ(fake->errors[0].caption, QStringLiteral("Brenvik by Halvorsk"));
    EXPECT_EQ(fake->errors[0].text, c.error);
  }
}

// --- Save source / Save output ---------------------------------------------

TEST_F(Commands, SaveAppendsTxtToWhateverNameWasChosen) {
  struct Case {
    const char* command;
    QString chosen;
    QString written;
  };
  const std::vector<Case> cases = {
      {kSaveSourceAction, QStringLiteral("story"), QStringLiteral("story.txt")},
      {kSaveSourceAction, QStringLiteral("story.txt"), QStringLiteral("story.txt.txt")},
      {kSaveOutputAction, QStringLiteral("out"), QStringLiteral("out.txt")},
      {kSaveOutputAction, QStringLiteral("out.htm"), QStringLiteral("out.htm.txt")},
  };
  source()->setPlainText(QStringLiteral(u"First line.\nSecond line with café and a\u00A0no-break space."));
  Click(kProcessButton);
  for (const Case& c : cases) {
    fake->saveAnswers.push_back(Path(c.chosen));
    Trigger(c.command);
    const QPlainTextEdit* box = QLatin1String(c.command) == QLatin1String(kSaveSourceAction) ? source() : output();
    EXPECT_EQ(ReadAll(Path(c.written)), Bytes(EncodeTextFile(FromBoxText(BoxText(box))))) << c.command;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            QStringList({"out.htm.txt", "out.txt", "story.txt", "story.txt.txt"}));
  // The saved source is the box's text byte for byte, in Windows-1252 with CR LF.
  EXPECT_EQ(ReadAll(Path(QStringLiteral("story.txt"))),
            QByteArray("First line.\r\nSecond line with caf\xE9 and a\xA0no-break space."));
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_TRUE(fake->questions.empty());
}

TEST_F(Commands, SaveProposesTheTitleEveryTimeAndReplacesAFileOnlyOnYes) {
  const QString target = Path(QStringLiteral("story.txt"));
  WriteAll(target, "an older and longer text that must go");
  source()->setPlainText(QStringLiteral("new"));
  fake->saveAnswers.push_back(Path(QStringLiteral("story")));
  fake->replaceAnswers.push_back(true);
  Trigger(kSaveSourceAction);
  EXPECT_EQ(ReadAll(target), QByteArray("new"));
  EXPECT_EQ(fake->replaceQuestions, QStringList{target});

  fake->saveAnswers.push_back(std::nullopt);
  Trigger(kSaveOutputAction);
  state.settings.Title = U"Quiz \u00E9t\u00E9";
  fake->saveAnswers.push_back(std::nullopt);
  Trigger(kSaveSourceAction);
  ASSERT_EQ(fake->dialogs.size(), 3u);
  EXPECT_EQ(fake->dialogs[0].seen.fileName, QStringLiteral("C-Test"));
  EXPECT_EQ(fake->dialogs[1].seen.fileName, QStringLiteral("C-Test"));  // not the last path chosen
  EXPECT_EQ(fake->dialogs[2].seen.fileName, QStringLiteral(u"Quiz été"));
  for (const auto& d : fake->dialogs) {
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.seen.initialDir, QCoreApplication::applicationDirPath());
    EXPECT_EQ(d.seen.filter, QStringLiteral("Text files (*.txt)|*.txt"));
  }
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(Commands, SavingTheOutputBeforeAnyProcessWritesOneLineEnd) {
  fake->saveAnswers.push_back(Path(QStringLiteral("empty")));
  Trigger(kSaveOutputAction);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("empty.txt"))), QByteArray("\r\n"));
}

TEST_F(Commands, LfAndCrFilesComeBackWithCrLfWhenSavedAgain) {
  WriteAll(Path(QStringLiteral("lf.txt")), "a\nb\rc\r\n");
  fake->openAnswers.push_back(Path(QStringLiteral("lf.txt")));
  Trigger(kOpenAction);
  fake->saveAnswers.push_back(Path(QStringLiteral("again")));
  Trigger(kSaveSourceAction);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("again.txt"))), QByteArray("a\r\nb\r\nc\r\n"));
}

TEST_F(Commands, HandEditsReachSaveOutputButNotThePage) {
  Process(kCatText);
  output()->setPlainText(QStringLiteral("The teacher rewrote this."));
  fake->saveAnswers.push_back(Path(QStringLiteral("edited")));
  Trigger(kSaveOutputAction);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("edited.txt"))), QByteArray("The teacher rewrote this."));
  fake->saveAnswers.push_back(Path(QStringLiteral("page")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("page.htm"))), Bytes(ExpectedPage(kCatText)));
}

TEST_F(Commands, SaveThatCannotCreateTheFileReportsItAndWritesNothing) {
  WriteAll(Path(QStringLiteral("plain")), "x");
  const QString underFile = Path(QStringLiteral("plain/story"));
  const QString missingFolder = Path(QStringLiteral("no/such/folder/story"));
  source()->setPlainText(QStringLiteral("text"));
  for (const QString& chosen : {underFile, missingFolder}) {
    fake->errors.clear();
    fake->saveAnswers.push_back(chosen);
    Trigger(kSaveSourceAction);
    ASSERT_EQ(fake->errors.size(), 1u);
    EXPECT_EQ(fake->errors[0].caption, QStringLiteral("Brenvik by Halvorsk"));
    EXPECT_EQ(fake->errors[0].text, QString::fromUtf8("Impossible de cr\xC3\xA9" "er le fichier ") + chosen + ".txt.");
    EXPECT_FALSE(QFileInfo::exists(chosen + ".txt"));
  }
  EXPECT_EQ(ReadAll(Path(QStringLiteral("plain"))), QByteArray("x"));
}

TEST_F(Commands, ASaveThatFailsHalfWayLeavesTheOldFileWhole) {
  const QString target = Path(QStringLiteral("story.txt"));
  const QByteArray old = "the old story, which must survive";
  WriteAll(target, old);
  source()->setPlainText(QString(4096, QLatin1Char('x')));
  fake->saveAnswers.push_back(Path(QStringLiteral("story")));
  fake->replaceAnswers.push_back(true);
  {
    FileSizeLimit limit(1024);
    Trigger(kSaveSourceAction);
  }
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(fake->errors[0].text, QString::fromUtf8("Impossible de cr\xC3\xA9" "er le fichier ") + target + ".");
  EXPECT_EQ(ReadAll(target), old);
  // No temporary file is left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("story.txt")});
}

TEST_F(Commands, EverySaveAsksBeforeReplacingAFileAndNoKeepsIt) {
  // Each command with the file its chosen name "old" is saved as. No goes
  // back to the dialog, which offers that name again; Cancel there writes
  // nothing. Yes replaces the file.
  Process(QStringLiteral("This is a test. The cat sat on the mat."));
  // preview: the preview question follows a write (the mobile page), or
  // Cancel as well (the classic page).
  enum Preview { kNone, kAfterWrite, kAlways };
  const struct { const char* command; const char* written; Preview preview; } cases[] = {
      {kSaveSourceAction, "old.txt", kNone},           {kSaveOutputAction, "old.txt", kNone},
      {kExportWebAction, "old.htm", kAlways},  {kExportMobileAction, "old.htm", kAfterWrite},
      {kExportMoodleAction, "old.xml", kNone},   {kExportPdfAction, "old.pdf", kNone},
  };
  const QString chosen = Path(QStringLiteral("old"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const QString target = Path(QString::fromLatin1(c.written));
    WriteAll(target, "the German test");
    for (const bool yes : {false, true}) {
      fake->dialogs.clear();
      fake->replaceQuestions.clear();
      fake->saveAnswers.push_back(chosen);
      fake->replaceAnswers.push_back(yes);
      if (!yes) fake->saveAnswers.push_back(std::nullopt);  // back in the dialog: Cancel
      if (c.preview == kAlways || (c.preview == kAfterWrite && yes)) fake->confirmAnswers.push_back(false);
      Trigger(c.command);
      EXPECT_EQ(fake->replaceQuestions, QStringList{target});
      if (yes) {
        EXPECT_NE(ReadAll(target), QByteArray("the German test"));
        EXPECT_EQ(fake->dialogs.size(), 1u);
      } else {
        EXPECT_EQ(ReadAll(target), QByteArray("the German test"));
        ASSERT_EQ(fake->dialogs.size(), 2u);
        EXPECT_EQ(fake->dialogs[1].seen.fileName, chosen);  // the name chosen, offered again
      }
    }
    QFile::remove(target);
  }
  // A name that gets an extension added is asked about only when the file
  // it is saved as exists: choosing the existing "kept.htm" writes
  // kept.htm.htm, and kept.htm is left alone without a question.
  WriteAll(Path(QStringLiteral("kept.htm")), "kept");
  fake->replaceQuestions.clear();
  fake->saveAnswers.push_back(Path(QStringLiteral("kept.htm")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  EXPECT_TRUE(fake->replaceQuestions.empty());
  EXPECT_EQ(ReadAll(Path(QStringLiteral("kept.htm"))), QByteArray("kept"));
  EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("kept.htm.htm"))));
  EXPECT_EQ(fake->unexpected, 0);
  EXPECT_TRUE(fake->errors.empty());
}

// --- Export to web ---------------------------------------------------------

TEST_F(Commands, ExportWritesThePageUnderTheChosenNameWithHtmAppended) {
  struct Case {
    QString chosen;
    QString written;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("page"), QStringLiteral("page.htm")},
      {QStringLiteral("test.htm"), QStringLiteral("test.htm.htm")},
  };
  Process(kCatText);
  const QByteArray expected = Bytes(ExpectedPage(kCatText));
  ASSERT_TRUE(expected.startsWith("<!DOCTYPE HTML PUBLIC"));
  ASSERT_TRUE(expected.endsWith("</HTML>"));
  for (const Case& c : cases) {
    fake->saveAnswers.push_back(Path(c.chosen));
    fake->confirmAnswers.push_back(false);
    Trigger(kExportWebAction);
    EXPECT_EQ(ReadAll(Path(c.written)), expected) << c.written.toStdString();
  }
  ASSERT_EQ(fake->dialogs.size(), 2u);
  EXPECT_EQ(fake->dialogs[0].seen.fileName, QStringLiteral("C-Test"));
  EXPECT_EQ(fake->dialogs[0].seen.filter, QStringLiteral("HTML files (*.htm)|*.htm"));
  EXPECT_EQ(fake->dialogs[0].seen.initialDir, QCoreApplication::applicationDirPath());
  EXPECT_EQ(fake->questions,
            (std::vector<QString>{QStringLiteral("Do you wish to preview the page in a browser"),
                                  QStringLiteral("Do you wish to preview the page in a browser")}));
  EXPECT_TRUE(fake->shellOpens.empty());
  EXPECT_EQ(form().lastPage(), BuildTestPage(state.workspace, state.settings));
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(Commands, ThePreviewOpensTheFileJustWrittenOrTheTitleAfterCancel) {
  struct Case {
    std::optional<QString> chosen;
    bool yes;
    std::vector<QString> opened;
  };
  Process(kCatText);
  const QString page = Path(QStringLiteral("page"));
  const std::vector<Case> cases = {
      {page, true, {page + ".htm"}},
      {page, false, {}},
      {std::nullopt, true, {QStringLiteral("C-Test.htm")}},  // a bare name, for the current folder
      {std::nullopt, false, {}},
  };
  for (const Case& c : cases) {
    fake->shellOpens.clear();
    fake->questions.clear();
    QFile::remove(page + ".htm");
    fake->saveAnswers.push_back(c.chosen);
    fake->confirmAnswers.push_back(c.yes);
    Trigger(kExportWebAction);
    EXPECT_EQ(fake->questions.size(), 1u);
    EXPECT_EQ(fake->shellOpens, c.opened);
    EXPECT_EQ(QFileInfo::exists(page + ".htm"), c.chosen.has_value());
  }
  EXPECT_EQ(fake->unexpected, 0);
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(Commands, ExportWithoutAnswersShowsTheListErrorAndNoDialog) {
  const std::vector<QString> sources = {
      QString(),                          // Process run on nothing
      QStringLiteral("Hello world."),     // one sentence
      QStringLiteral("A b. c d e f g"),   // no word lost a part
  };
  // Before any Process at all.
  Trigger(kExportWebAction);
  for (const QString& s : sources) {
    Process(s);
    Trigger(kExportWebAction);
  }
  ASSERT_EQ(fake->errors.size(), sources.size() + 1);
  for (const auto& e : fake->errors) {
    EXPECT_EQ(e.caption, QStringLiteral("Brenvik by Halvorsk"));
    // ")" comes before "." in code order: no full stop is added.
    EXPECT_EQ(e.text, QStringLiteral("Indice de liste hors limites (-1)"));
  }
  EXPECT_TRUE(fake->dialogs.empty());
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(Commands, ExportThatCannotCreateTheFileAsksNoQuestion) {
  Process(kCatText);
  WriteAll(Path(QStringLiteral("plain")), "x");
  const QString chosen = Path(QStringLiteral("plain/page"));
  fake->saveAnswers.push_back(chosen);
  Trigger(kExportWebAction);
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(fake->errors[0].text, QString::fromUtf8("Impossible de cr\xC3\xA9" "er le fichier ") + chosen + ".htm.");
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(fake->shellOpens.empty());
}

// --- Export mobile page ------------------------------------------------------

TEST_F(Commands, MobilePageIsTheResponsivePageOfTheLastProcess) {
  Process(kCatText);
  state.settings.Title = U"Quiz \u00E9t\u00E9";
  TestWorkspace expectedWorkspace;
  GenerateTest(FromBoxText(kCatText), expectedWorkspace);
  const QByteArray expected = Bytes(BuildResponsivePage(expectedWorkspace, state.settings));

  // Saved, then previewed; a second run after a classic export gives the same page.
  fake->saveAnswers.push_back(Path(QStringLiteral("phone")));
  fake->confirmAnswers.push_back(true);
  Trigger(kExportMobileAction);
  fake->saveAnswers.push_back(Path(QStringLiteral("classic")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  const Text classicPage = form().lastPage();
  fake->saveAnswers.push_back(Path(QStringLiteral("again")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportMobileAction);

  EXPECT_EQ(ReadAll(Path(QStringLiteral("phone.htm"))), expected);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("again.htm"))), expected);
  EXPECT_EQ(form().lastPage(), classicPage);  // the classic page is left as it was
  ASSERT_EQ(fake->dialogs.size(), 3u);
  EXPECT_EQ(fake->dialogs[0].seen.fileName, QString::fromUtf8("Quiz \xC3\xA9t\xC3\xA9"));
  EXPECT_EQ(fake->dialogs[0].seen.filter, QStringLiteral("HTML files (*.htm)|*.htm"));
  EXPECT_EQ(fake->shellOpens, (std::vector<QString>{Path(QStringLiteral("phone.htm"))}));
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(Commands, MobilePageErrorsAndCancel) {
  // No answer: the list error, no dialog, no question.
  Process(QStringLiteral("Hello world."));
  Trigger(kExportMobileAction);
  ASSERT_EQ(fake->errors.size(), 1u);
  EXPECT_EQ(fake->errors[0].text, QStringLiteral("Indice de liste hors limites (-1)"));
  EXPECT_TRUE(fake->dialogs.empty());

  // Cancel: nothing written and nothing to preview.
  Process(kCatText);
  fake->saveAnswers.push_back(std::nullopt);
  Trigger(kExportMobileAction);
  EXPECT_TRUE(fake->questions.empty());

  // A file that cannot be created: its error, no question.
  WriteAll(Path(QStringLiteral("plain")), "x");
  fake->saveAnswers.push_back(Path(QStringLiteral("plain/page")));
  Trigger(kExportMobileAction);
  ASSERT_EQ(fake->errors.size(), 2u);
  EXPECT_EQ(fake->errors[1].text,
            QString::fromUtf8("Impossible de cr\xC3\xA9" "er le fichier ") + Path(QStringLiteral("plain/page")) + ".htm.");
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(fake->shellOpens.empty());
  QDir folder(dir.path());
  EXPECT_EQ(folder.entryList(QDir::Files), QStringList{QStringLiteral("plain")});
}

TEST_F(Commands, ExportUsesTheLastProcessEvenAfterOpenAndTheSettingsInForce) {
  Process(kCatText);
  WriteAll(Path(QStringLiteral("other.txt")), "Something else. Entirely different words here.");
  fake->openAnswers.push_back(Path(QStringLiteral("other.txt")));
  Trigger(kOpenAction);

  // Change the title in the configure-output window and the variant here.
  auto* titleBox = Find<QLineEdit>(windows.outputSettingsWindow.get(), output_window::kTitleEdit);
  ASSERT_NE(titleBox, nullptr);
  titleBox->setText(QStringLiteral("Quiz"));
  Click(kPracticeButton);
  Click(kTimerBox);

  fake->saveAnswers.push_back(Path(QStringLiteral("first")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  fake->saveAnswers.push_back(Path(QStringLiteral("second")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);

  ExportSettings expectedSettings;
  expectedSettings.Title = U"Quiz";
  expectedSettings.TestMode = PageVariant::Practice;
  expectedSettings.TimerFlag = true;
  const QByteArray expected = Bytes(ExpectedPage(kCatText, expectedSettings));
  EXPECT_EQ(ReadAll(Path(QStringLiteral("first.htm"))), expected);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("second.htm"))), expected);  // lists not escaped twice
  ASSERT_EQ(fake->dialogs.size(), 3u);
  EXPECT_EQ(fake->dialogs[1].seen.fileName, QStringLiteral("Quiz"));
  EXPECT_TRUE(fake->errors.empty());
}

// --- Option controls -------------------------------------------------------

TEST_F(Commands, OptionControlsWriteTheSettingsAtOnce) {
  struct Step {
    const char* click;
    PageVariant testMode;
    bool showAnswers;
    bool timer;
  };
  constexpr PageVariant T = PageVariant::Test;
  constexpr PageVariant P = PageVariant::Practice;
  const std::vector<Step> steps = {
      {kTestVersionButton, T, false, false},  // already checked: stays the test version
      {kTimerBox, T, false, true},      {kTimerBox, T, false, false},
      {kShowAnswersBox, T, true, false},      // kept with the test version
      {kPracticeButton, P, true, false},   {kPracticeButton, P, true, false},
      {kTimerBox, P, true, true},       {kTestVersionButton, T, true, true},
      {kPracticeButton, P, true, true},    {kShowAnswersBox, P, false, true},
  };
  Process(kCatText);
  const QString outputBefore = BoxText(output());
  for (const Step& s : steps) {
    Click(s.click);
    EXPECT_EQ(state.settings.TestMode, s.testMode) << s.click;
    EXPECT_EQ(state.settings.ShowAnswersFlag, s.showAnswers) << s.click;
    EXPECT_EQ(state.settings.TimerFlag, s.timer) << s.click;
  }
  EXPECT_EQ(BoxText(output()), outputBefore);
  // Nothing but the three option fields changed.
  ExportSettings expected;
  expected.TestMode = PageVariant::Practice;
  expected.ShowAnswersFlag = false;
  expected.TimerFlag = true;
  EXPECT_EQ(state.settings, expected);
}

TEST_F(Commands, ArrowKeysAndTheSpaceBarChooseTheOptions) {
  ShowActive(&form());
  Find<QWidget>(&form(), kTestVersionButton)->setFocus();
  struct Arrow {
    int key;
    const char* focused;
    PageVariant testMode;
  };
  constexpr PageVariant T = PageVariant::Test;
  constexpr PageVariant P = PageVariant::Practice;
  const std::vector<Arrow> arrows = {
      {Qt::Key_Right, kPracticeButton, P}, {Qt::Key_Left, kTestVersionButton, T},
      {Qt::Key_Down, kPracticeButton, P},  {Qt::Key_Down, kTestVersionButton, T},
      {Qt::Key_Up, kPracticeButton, P},
  };
  for (const Arrow& a : arrows) {
    PressKey(&form(), a.key);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(a.focused));
    EXPECT_TRUE(Find<QRadioButton>(&form(), a.focused)->isChecked());
    EXPECT_EQ(state.settings.TestMode, a.testMode);
  }
  Find<QWidget>(&form(), kShowAnswersBox)->setFocus();
  PressKey(&form(), Qt::Key_Space);
  EXPECT_TRUE(state.settings.ShowAnswersFlag);
  // The access letters of the two buttons.
  EXPECT_EQ(Find<QAbstractButton>(&form(), kProcessButton)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_P));
  EXPECT_EQ(Find<QAbstractButton>(&form(), kQuitButton)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Q));
}

// --- Help, configure output, about, quit ----------------------------------

TEST_F(Commands, HelpContentsAsksTheViewerForTheProgramsHelpFile) {
  Trigger(kHelpContentsAction);
  ASSERT_EQ(fake->helps.size(), 1u);
  EXPECT_EQ(fake->helps[0].file, QCoreApplication::applicationDirPath() + QStringLiteral("/brenvik.hlp"));
  EXPECT_EQ(fake->helps[0].context, -1);
}

TEST_F(Commands, EditOutputShowsTheConfigureOutputWindowModelessly) {
  ShowActive(&form());
  Trigger(kOutputSettingsAction);
  ASSERT_TRUE(windows.outputSettingsWindow->isVisible());
  EXPECT_FALSE(windows.outputSettingsWindow->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  auto* titleBox = Find<QLineEdit>(windows.outputSettingsWindow.get(), output_window::kTitleEdit);
  titleBox->setText(QStringLiteral("Kept"));
  Trigger(kOutputSettingsAction);  // already shown: brought to the front
  EXPECT_TRUE(windows.outputSettingsWindow->isVisible());
  windows.outputSettingsWindow->hide();
  Trigger(kOutputSettingsAction);
  EXPECT_TRUE(windows.outputSettingsWindow->isVisible());
  EXPECT_EQ(titleBox->text(), QStringLiteral("Kept"));
  EXPECT_TRUE(form().isEnabled());
}

TEST_F(Commands, AboutShowsTheAboutBoxModally) {
  bool wasModal = false;
  OnNextModal([&](QWidget* modal) {
    wasModal = modal == windows.aboutBox.get() && modal->isModal();
    static_cast<QDialog*>(modal)->accept();
  });
  Trigger(kAboutAction);
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(windows.aboutBox->isVisible());
}

TEST_F(Commands, QuitEndsTheProgramAtOnceWithoutAQuestion) {
  const std::vector<std::function<void()>> ways = {
      [this] { Trigger(kQuitAction); },
      [this] { Click(kQuitButton); },
      [this] { form().close(); },  // the close box, with configure output open
  };
  for (const auto& way : ways) {
    ShowActive(&form());
    windows.outputSettingsWindow->show();
    source()->setPlainText(QStringLiteral("unsaved work"));
    EXPECT_EQ(RunEventLoopWith(way), 0);
  }
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(fake->dialogs.empty());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// --- The error box -----------------------------------------------------------

TEST(RunCommand, ShowsEveryErrorWithTheTitleAndTheFullStopRule) {
  struct Case {
    std::function<void()> body;
    std::optional<QString> shown;
  };
  const std::vector<Case> cases = {
      {[] {}, std::nullopt},
      {[] { throw BrenvikError("abc"); }, QStringLiteral("abc.")},
      {[] { throw BrenvikError("abc."); }, QStringLiteral("abc.")},
      {[] { throw BrenvikError("Wait!"); }, QStringLiteral("Wait!")},    // "!" comes before "."
      {[] { throw BrenvikError("(-1)"); }, QStringLiteral("(-1)")},
      {[] { throw BrenvikError("m\xC3\xA9mo"); }, QStringLiteral(u"mémo.")},
      {[] { throw BrenvikError("a/"); }, QStringLiteral("a/.")},          // "/" comes after "."
      {[] { throw std::runtime_error("other"); }, QStringLiteral("other.")},
      {[] { throw std::bad_alloc(); }, QStringLiteral(u"Mémoire insuffisante.")},
  };
  ScopedFakePlatform fake;
  for (const Case& c : cases) {
    fake->errors.clear();
    RunCommand(nullptr, c.body);
    if (!c.shown) {
      EXPECT_TRUE(fake->errors.empty());
      continue;
    }
    ASSERT_EQ(fake->errors.size(), 1u);
    EXPECT_EQ(fake->errors[0].caption, QStringLiteral("Brenvik by Halvorsk"));
    EXPECT_EQ(fake->errors[0].text, *c.shown);
  }
}

TEST(BoxText, KeepsEveryCharacterAsTyped) {
  QPlainTextEdit box;
  const QString text = QStringLiteral(u"a\u00A0b\nc\u2028d\n\ne");
  box.setPlainText(text);
  EXPECT_EQ(BoxText(&box), text);
}

}  // namespace
}  // namespace brenvik::test
