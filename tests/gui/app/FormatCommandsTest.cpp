// File > Export to Moodle, Export PDF and Print: what each writes through the
// scripted dialogs, Cancel, files that cannot be written, a test with no gap,
// and the warning box of answers Moodle cannot read back exactly.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <functional>
#include <optional>
#include <vector>

#include "AppFixture.h"
#include "core/ctest/TestGen.h"
#include "core/page/MoodleXml.h"
#include "core/text/CodePage.h"
#include "export/ExportFormats.h"
#include "ui/platform/QtText.h"
#include "ui/print/WorksheetPrint.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

using FormatCommands = AppFixture;

// "ab\}x" loses "\}x", which Moodle reads as written.
const QString kBraceText = QStringLiteral("This is a test. The ab\\}x is odd.");
// "ab\x01x" loses "\x01x", whose control character XML cannot carry.
const QString kControlText = QStringLiteral("This is a test. The ab\x01x is odd.");
const QString kCreateError = QString::fromUtf8("Impossible de cr\xC3\xA9" "er le fichier %1.");

// What a Moodle file holds, read as Moodle's import reads it: the questions'
// types and names, and each gap's answer with its character references
// decoded, then "\}" and "\#" read as "}" and "#", and "\*" as "*".
struct Quiz {
  bool wellFormed = false;
  QStringList types;
  QStringList names;
  QStringList answers;
};

QString DecodeAnswer(QString answer) {
  static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
  QString out;
  qsizetype at = 0;
  for (auto it = reference.globalMatch(answer); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    out += answer.mid(at, m.capturedStart() - at);
    out += QString::fromUcs4(std::u32string(1, static_cast<char32_t>(m.captured(1).toUInt())).c_str(), 1);
    at = m.capturedEnd();
  }
  out += answer.mid(at);
  return out.replace(QStringLiteral("\\}"), QStringLiteral("}"))
      .replace(QStringLiteral("\\#"), QStringLiteral("#"))
      .replace(QStringLiteral("\\*"), QStringLiteral("*"));
}

Quiz ReadQuiz(const QByteArray& bytes) {
  Quiz quiz;
  QXmlStreamReader xml(bytes);
  QString questionText;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("question")) {
      quiz.types << xml.attributes().value(QStringLiteral("type")).toString();
    } else if (xml.name() == QLatin1String("name")) {
      xml.readNextStartElement();
      quiz.names << xml.readElementText();
    } else if (xml.name() == QLatin1String("questiontext")) {
      xml.readNextStartElement();
      questionText += xml.readElementText();
    }
  }
  quiz.wellFormed = !xml.hasError();
  static const QRegularExpression gap(QStringLiteral("\\{1:SHORTANSWER_C:=([^}]*)\\}"));
  for (auto it = gap.globalMatch(questionText); it.hasNext();) quiz.answers << DecodeAnswer(it.next().captured(1));
  return quiz;
}

// The text pdftotext reads from a PDF file, without any white space or
// formatting character: lines and pages break wherever the paper decides,
// and gaps are underscores set apart by figure spaces.
QString PdfText(const QString& path) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(-1) || pdftotext.exitCode() != 0) {
    ADD_FAILURE() << "pdftotext failed on " << path.toStdString();
    return {};
  }
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QString Squeezed(const QString& s) {
  QString out;
  for (const QChar c : s) {
    if (!c.isSpace() && c.category() != QChar::Other_Format) out += c;
  }
  return out;
}

// A worksheet PDF of the cat text titled "Quiz été": the title, the test as
// the output box shows it, then the key with every whole word.
void ExpectCatSheet(const QString& path, const QString& testText) {
  const QByteArray bytes = ReadAll(path);
  ASSERT_TRUE(bytes.startsWith("%PDF-")) << path.toStdString();
  const QString text = Squeezed(PdfText(path));
  const qsizetype title = text.indexOf(QString::fromUtf8("Quiz\xC3\xA9t\xC3\xA9"));
  const qsizetype test = text.indexOf(Squeezed(testText));
  const qsizetype key = text.indexOf(QStringLiteral("Answerkey"));
  EXPECT_EQ(title, 0) << text.toStdString();
  EXPECT_GT(test, title) << text.toStdString();
  EXPECT_GT(key, test) << text.toStdString();
  const QString afterKey = text.mid(key);
  for (const char* entry : {"1.cat", "2.on", "3.mat"}) {
    EXPECT_TRUE(afterKey.contains(QLatin1String(entry))) << entry << " in " << afterKey.toStdString();
  }
}

TEST_F(FormatCommands, MoodleWritesOneQuestionWithTheGapsOfTheLastProcess) {
  struct Case {
    QString chosen;
    QString written;
  };
  // The extension is added unless the name already ends in it.
  const std::vector<Case> cases = {
      {QStringLiteral("quiz"), QStringLiteral("quiz.xml")},
      {QStringLiteral("bank.xml"), QStringLiteral("bank.xml")},
      {QStringLiteral("BANK.XML"), QStringLiteral("BANK.XML")},
      {QStringLiteral("quiz.txt"), QStringLiteral("quiz.txt.xml")},
  };
  Process(kCatText);
  state.settings.Title = U"Quiz \u00E9t\u00E9";
  TestWorkspace fresh;
  GenerateTest(FromBoxText(kCatText), fresh);
  const QByteArray expected = QByteArray::fromStdString(BuildMoodleXml(fresh, state.settings).Xml);
  for (const Case& c : cases) {
    fake->saveAnswers.push_back(Path(c.chosen));
    Trigger(kExportMoodleAction);
    const QByteArray written = ReadAll(Path(c.written));
    EXPECT_EQ(written, expected) << c.written.toStdString();
    const Quiz quiz = ReadQuiz(written);
    EXPECT_TRUE(quiz.wellFormed);
    EXPECT_EQ(quiz.types, QStringList{QStringLiteral("cloze")});
    EXPECT_EQ(quiz.names, QStringList{QString::fromUtf8("Quiz \xC3\xA9t\xC3\xA9")});
    EXPECT_EQ(quiz.answers, (QStringList{"at", "n", "at"}));
  }
  // A classic export rewrites some lists in place; the quiz stays the same.
  fake->saveAnswers.push_back(Path(QStringLiteral("page")));
  fake->confirmAnswers.push_back(false);
  Trigger(kExportWebAction);
  fake->saveAnswers.push_back(Path(QStringLiteral("after")));
  Trigger(kExportMoodleAction);
  EXPECT_EQ(ReadAll(Path(QStringLiteral("after.xml"))), expected);

  ASSERT_EQ(fake->dialogs.size(), cases.size() + 2);
  for (const auto& d : fake->dialogs) {
    if (d.seen.filter.startsWith(QLatin1String("HTML"))) continue;
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.seen.fileName, QString::fromUtf8("Quiz \xC3\xA9t\xC3\xA9"));  // the title, every time
    EXPECT_EQ(d.seen.filter, QStringLiteral("Moodle XML files (*.xml)|*.xml"));
    EXPECT_EQ(d.seen.initialDir, QCoreApplication::applicationDirPath());
  }
  // No preview question, and no warning for plain letters.
  EXPECT_EQ(fake->questions.size(), 1u);  // Export to web's own
  EXPECT_TRUE(fake->warnings.empty());
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

TEST_F(FormatCommands, PdfAndPrintToAFileGiveTheWorksheetAndItsKey) {
  Process(kCatText);
  state.settings.Title = U"Quiz \u00E9t\u00E9";
  const QString testText = BoxText(output());
  struct Case {
    const char* command;
    QString chosen;
    QString written;
  };
  const std::vector<Case> cases = {
      {kExportPdfAction, QStringLiteral("sheet"), QStringLiteral("sheet.pdf")},
      {kExportPdfAction, QStringLiteral("copy.PDF"), QStringLiteral("copy.PDF")},
      {kPrintAction, QStringLiteral("printed.pdf"), QStringLiteral("printed.pdf")},
  };
  for (const Case& c : cases) {
    if (QLatin1String(c.command) == QLatin1String(kPrintAction)) {
      fake->printAnswers.push_back(Path(c.chosen));
    } else {
      fake->saveAnswers.push_back(Path(c.chosen));
    }
    Trigger(c.command);
    SCOPED_TRACE(c.written.toStdString());
    ExpectCatSheet(Path(c.written), testText);
  }
  QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  EXPECT_EQ(files, (QStringList{"copy.PDF", "printed.pdf", "sheet.pdf"}));

  ASSERT_EQ(fake->dialogs.size(), 2u);
  for (const auto& d : fake->dialogs) {
    EXPECT_EQ(d.seen.fileName, QString::fromUtf8("Quiz \xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(d.seen.filter, QStringLiteral("PDF files (*.pdf)|*.pdf"));
    EXPECT_EQ(d.seen.initialDir, QCoreApplication::applicationDirPath());
  }
  // The print dialog is offered the worksheet's paper and margins for the
  // user's locale, and the title as the document's name.
  ASSERT_EQ(fake->prints.size(), 1u);
  EXPECT_TRUE(fake->prints[0].layout.isEquivalentTo(WorksheetPageLayout(QLocale::system())));
  EXPECT_EQ(fake->prints[0].docName, QString::fromUtf8("Quiz \xC3\xA9t\xC3\xA9"));
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(fake->shellOpens.empty());
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

// How a test scripts the dialog of each command: a save dialog for the two
// exports, the print dialog for Print.
struct Command {
  const char* name;
  bool print;
  QString extension;  // added to the chosen name; "" for Print (Qt's dialog names the file)
};
const std::vector<Command> kCommands = {
    {kExportMoodleAction, false, QStringLiteral(".xml")},
    {kExportPdfAction, false, QStringLiteral(".pdf")},
    {kPrintAction, true, QString()},
};

void Answer(FakePlatform& fake, const Command& command, std::optional<QString> answer) {
  (command.print ? fake.printAnswers : fake.saveAnswers).push_back(std::move(answer));
}

// Equal sheets give equal PDF files: twice from the window, and from
// brenvik-cli given the window's creation time.
TEST_F(FormatCommands, PdfFromTheWindowIsReproducibleAndEqualsTheCommandLines) {
  Process(kCatText);
  state.settings.Title = U"Quiz \u00E9t\u00E9";
  for (const char* name : {"first", "second"}) {
    fake->saveAnswers.push_back(Path(QLatin1String(name)));
    Trigger(kExportPdfAction);
  }
  const QByteArray first = ReadAll(Path(QStringLiteral("first.pdf")));
  ASSERT_TRUE(first.startsWith("%PDF-"));
  EXPECT_TRUE(first == ReadAll(Path(QStringLiteral("second.pdf"))));

  WriteAll(Path(QStringLiteral("cat.txt")), kCatText.toUtf8());
  QProcess cli;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QString::number(ExportCreationTime()));
  cli.setProcessEnvironment(env);
  cli.start(QStringLiteral(BRENVIK_BIN_DIR "/brenvik-cli"),
            {QStringLiteral("export"), Path(QStringLiteral("cat.txt")), QStringLiteral("-o"),
             Path(QStringLiteral("cli.pdf")), QStringLiteral("--format"), QStringLiteral("pdf"), QStringLiteral("--title"),
             QString::fromUtf8("Quiz \xC3\xA9t\xC3\xA9")});
  ASSERT_TRUE(cli.waitForFinished(-1));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  EXPECT_TRUE(first == ReadAll(Path(QStringLiteral("cli.pdf"))));
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(FormatCommands, CancelWritesNothing) {
  Process(kControlText);  // would give a Moodle warning if anything were written
  for (const Command& c : kCommands) {
    Answer(*fake, c, std::nullopt);
    Trigger(c.name);
  }
  EXPECT_EQ(fake->dialogs.size(), 2u);
  EXPECT_EQ(fake->prints.size(), 1u);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(fake->warnings.empty());
  EXPECT_TRUE(fake->questions.empty());
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_EQ(fake->unexpected, 0);
}

TEST_F(FormatCommands, WithoutAGapTheListErrorAndNoDialog) {
  for (const Command& c : kCommands) {
    fake->errors.clear();
    Trigger(c.name);  // before any Process
    Process(QStringLiteral("Hello world."));
    Trigger(c.name);
    Process(QStringLiteral("A b. c d e f g"));  // no word lost a part
    Trigger(c.name);
    ASSERT_EQ(fake->errors.size(), 3u) << c.name;
    for (const auto& e : fake->errors) {
      EXPECT_EQ(e.caption, QStringLiteral("Brenvik by Halvorsk"));
      EXPECT_EQ(e.text, QStringLiteral("Indice de liste hors limites (-1)")) << c.name;
    }
  }
  EXPECT_TRUE(fake->dialogs.empty());
  EXPECT_TRUE(fake->prints.empty());
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(FormatCommands, AFileThatCannotBeCreatedGivesTheErrorAndNoFile) {
  Process(kControlText);
  WriteAll(Path(QStringLiteral("plain")), "x");
  for (const Command& c : kCommands) {
    fake->errors.clear();
    const QString chosen = Path(QStringLiteral("plain/out")) + (c.print ? QStringLiteral(".pdf") : QString());
    Answer(*fake, c, chosen);
    Trigger(c.name);
    ASSERT_EQ(fake->errors.size(), 1u) << c.name;
    EXPECT_EQ(fake->errors[0].caption, QStringLiteral("Brenvik by Halvorsk"));
    EXPECT_EQ(fake->errors[0].text, kCreateError.arg(chosen + c.extension)) << c.name;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plain")});
  EXPECT_EQ(ReadAll(Path(QStringLiteral("plain"))), QByteArray("x"));
  EXPECT_TRUE(fake->warnings.empty());  // nothing written, nothing to warn about
}

TEST_F(FormatCommands, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
  // A worksheet PDF is far larger than 1 KiB; the quiz of this text is not,
  // so the quiz gets a long text of its own.
  QString longText = kCatText;
  for (int i = 0; i < 100; ++i) longText += QStringLiteral(" The cat sat on the mat.");
  Process(longText);
  const QByteArray old = "the old file, which must survive";
  for (const Command& c : kCommands) {
    const QString target = Path(QStringLiteral("old")) + (c.extension.isEmpty() ? QStringLiteral(".pdf") : c.extension);
    WriteAll(target, old);
    fake->errors.clear();
    Answer(*fake, c, c.print ? target : Path(QStringLiteral("old")));
    if (!c.print) fake->replaceAnswers.push_back(true);  // the print dialog asks for itself
    {
      FileSizeLimit limit(1024);
      Trigger(c.name);
    }
    ASSERT_EQ(fake->errors.size(), 1u) << c.name;
    EXPECT_EQ(fake->errors[0].text, kCreateError.arg(target)) << c.name;
    EXPECT_EQ(ReadAll(target), old) << c.name;
  }
  // No temporary file is left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{"old.pdf", "old.xml"}));
}

TEST_F(FormatCommands, MoodleWarnsOfAnswersItCannotReadBackAfterWritingTheFile) {
  // A backslash before "}" reaches Moodle as written, without a warning.
  Process(kBraceText);
  fake->saveAnswers.push_back(Path(QStringLiteral("brace")));
  Trigger(kExportMoodleAction);
  const Quiz brace = ReadQuiz(ReadAll(Path(QStringLiteral("brace.xml"))));
  EXPECT_TRUE(brace.wellFormed);
  EXPECT_EQ(brace.answers, (QStringList{QStringLiteral("\\}x"), QStringLiteral("dd")}));
  EXPECT_TRUE(fake->warnings.empty());

  Process(kControlText);
  const QString path = Path(QStringLiteral("quiz"));
  fake->saveAnswers.push_back(path);
  Trigger(kExportMoodleAction);
  const Quiz quiz = ReadQuiz(ReadAll(path + ".xml"));
  EXPECT_TRUE(quiz.wellFormed);
  EXPECT_EQ(quiz.answers, (QStringList{QStringLiteral("\uFFFDx"), QStringLiteral("dd")}));
  ASSERT_EQ(fake->warnings.size(), 1u);
  EXPECT_EQ(fake->warnings[0].caption, QStringLiteral("Brenvik by Halvorsk"));
  const QString& text = fake->warnings[0].text;
  EXPECT_TRUE(text.contains(path + ".xml")) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("gap 1 (\"ab\x01x\")"))) << text.toStdString();
  EXPECT_EQ(text.count(QChar(0x2022)), 1) << text.toStdString();
  EXPECT_TRUE(fake->errors.empty());
  EXPECT_TRUE(fake->questions.empty());

  // Many such answers: the box lists a screenful and counts the rest.
  QString many = QStringLiteral("First.");
  for (int i = 0; i < 25; ++i) many += QStringLiteral(" w ab\x01x");
  Process(many);
  fake->saveAnswers.push_back(Path(QStringLiteral("many")));
  Trigger(kExportMoodleAction);
  ASSERT_EQ(fake->warnings.size(), 2u);
  const QString& listed = fake->warnings[1].text;
  EXPECT_EQ(listed.count(QChar(0x2022)), 20) << listed.toStdString();
  EXPECT_TRUE(listed.contains(QStringLiteral("gap 20 ")) && !listed.contains(QStringLiteral("gap 21 ")));
  EXPECT_TRUE(listed.endsWith(QStringLiteral("and 5 more."))) << listed.toStdString();
  EXPECT_EQ(ReadQuiz(ReadAll(Path(QStringLiteral("many.xml")))).answers.size(), 25);
}

}  // namespace
}  // namespace brenvik::test
