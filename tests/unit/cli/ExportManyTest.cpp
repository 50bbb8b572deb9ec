// brenvik-cli export with many texts: one file per text in --out-dir, or one
// Moodle quiz for all; a text that fails is named and the others are still
// written; usage errors write nothing.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "../../faults/CliRun.h"

namespace {

using brenvik::test::CliResult;
using brenvik::test::PathExists;
using brenvik::test::ReadFile;
using brenvik::test::RunCli;
using brenvik::test::RunProgram;
using brenvik::test::TempFolder;
using brenvik::test::WriteFile;

const std::map<std::string, std::string> kFixedDate = {{"SOURCE_DATE_EPOCH", "1700000000"}};

class ExportMany : public ::testing::Test {
 protected:
  std::string text(const std::string& name, const std::string& content) {
    const std::string path = dir_ / name;
    WriteFile(path, content);
    return path;
  }
  void folder(const std::string& name) { ::mkdir((dir_ / name).c_str(), 0755); }
  CliResult cli(const std::vector<std::string>& args) {
    std::vector<std::string> all{"export"};
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, dir_.path(), "", kFixedDate);
  }

  TempFolder dir_;
};

TEST_F(ExportMany, OneFilePerTextWithTheBytesOfOneExportEach) {
  const std::vector<std::string> inputs = {
      text("cat.txt", "This is a test. The cat sat on the mat."),
      text("polski.txt", "Zdanie. Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84 teraz"),
      text("notes.v2.txt", "Hostile. C# {x} a~b ab\\}c <b> & ]]> end."),
  };
  const std::vector<std::string> stems = {"cat", "polski", "notes.v2"};
  for (const auto& [format, extension] : std::vector<std::pair<std::string, std::string>>{
           {"classic", ".htm"}, {"moodle", ".xml"}, {"pdf", ".pdf"}, {"scorm12", ".zip"}, {"scorm2004", ".zip"}}) {
    SCOPED_TRACE(format);
    const std::string out = dir_ / ("out-" + format);
    std::vector<std::string> args = inputs;
    args.insert(args.end(), {"--out-dir", out, "--format", format, "--practice"});
    const CliResult r = cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      const std::string written = ReadFile(out + "/" + stems[i] + extension);
      ASSERT_FALSE(written.empty()) << stems[i];
      // With several texts a Moodle question is named after its file.
      const std::string single = dir_ / ("single" + extension);
      std::vector<std::string> one = {inputs[i], "-o", single, "--format", format, "--practice"};
      if (format == "moodle") one.insert(one.end(), {"--title", stems[i]});
      const CliResult s = cli(one);
      EXPECT_EQ(s.status, 0) << s.err;
      EXPECT_TRUE(ReadFile(single) == written) << stems[i];
    }
  }
}

// "-o -" is standard output for every command and every format: the bytes
// are those -o FILE writes, and no file named "-" appears.
TEST_F(ExportMany, DashIsStandardOutputForEveryCommandAndFormat) {
  const std::string cat = text("cat.txt", "This is a test. The cat sat on the mat.");
  const std::string dog = text("dog.txt", "Another test. The dog ran to the park.");
  // "FILE" stands for the output.
  std::vector<std::vector<std::string>> cases;
  for (const char* format : {"classic", "responsive", "moodle", "pdf", "scorm12", "scorm2004"}) {
    cases.push_back({"export", cat, "-o", "FILE", "--format", format, "--practice"});
  }
  cases.push_back({"export", cat, dog, "-o", "FILE", "--format", "moodle"});  // several texts, one file
  cases.push_back({"export", cat, dog, "-o", "FILE", "--format", "scorm2004"});
  for (std::vector<std::string> args : cases) {
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    const std::string file = dir_ / "file.out";
    for (std::string& a : args) a = a == "FILE" ? file : a;
    const CliResult toFile = RunCli(args, dir_.path(), "", kFixedDate);
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    for (std::string& a : args) a = a == file ? "-" : a;
    const CliResult toStdout = RunCli(args, dir_.path(), "", kFixedDate);
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_FALSE(toStdout.out.empty());
    EXPECT_TRUE(toStdout.out == ReadFile(file));
  }
  for (const char* command : {"test", "workspace"}) {
    SCOPED_TRACE(command);
    const CliResult plain = RunCli({command, cat}, dir_.path());
    const CliResult dash = RunCli({command, cat, "-o", "-"}, dir_.path());
    EXPECT_EQ(dash.status, 0) << dash.err;
    EXPECT_EQ(dash.out, plain.out);
  }
  EXPECT_FALSE(PathExists(dir_ / "-"));
}

TEST_F(ExportMany, FolderStandsForItsTextFilesInNameOrder) {
  folder("texts");
  text("texts/b.txt", "Bee. The cat sat on the mat.");
  text("texts/a.TXT", "Ay. The dog sat on the rug.");
  text("texts/c.md", "Not a text file. The cat sat.");
  text("texts/.hidden.txt", "Hidden. The cat sat on it.");
  folder("texts/d.txt");
  text("z.txt", "Zed. A fox ran far away.");
  const std::string bank = dir_ / "bank.xml";
  const CliResult r = cli({dir_ / "texts", dir_ / "z.txt", "-o", bank, "--format", "moodle"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string xml = ReadFile(bank);
  std::vector<std::string> names;
  const std::string nameStart = "<name>\n      <text><![CDATA[";
  for (std::size_t at = xml.find(nameStart); at != std::string::npos; at = xml.find(nameStart, at + 1)) {
    const std::size_t begin = at + nameStart.size();
    names.push_back(xml.substr(begin, xml.find("]]>", begin) - begin));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "z"}));

  // The same folder into --out-dir.
  const CliResult d = cli({dir_ / "texts", "--out-dir", dir_ / "pages"});
  EXPECT_EQ(d.status, 0) << d.err;
  EXPECT_TRUE(PathExists(dir_ / "pages/a.htm"));
  EXPECT_TRUE(PathExists(dir_ / "pages/b.htm"));
  EXPECT_FALSE(PathExists(dir_ / "pages/c.htm"));
  EXPECT_FALSE(PathExists(dir_ / "pages/d.htm"));

  // A folder of one text is one text: -o takes it.
  folder("single");
  text("single/only.txt", "One. The cat sat on the mat.");
  const CliResult one = cli({dir_ / "single", "-o", dir_ / "only.htm"});
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(ReadFile(dir_ / "only.htm").rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
}

TEST_F(ExportMany, FailedTextsAreNamedAndTheOthersStillWritten) {
  const std::string good = text("good.txt", "This is a test. The cat sat on the mat.");
  const std::string nogap = text("nogap.txt", "Hello world.");
  const std::string missing = dir_ / "missing.txt";
  folder("empty");
  const std::string empty = dir_ / "empty";
  const std::string out = dir_ / "out";
  ::mkdir(out.c_str(), 0755);
  WriteFile(out + "/nogap.htm", "old page");
  WriteFile(out + "/good.htm", "old page");

  const CliResult r = cli({good, missing, nogap, empty, "--out-dir", out});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, missing + ": Impossible d'ouvrir le fichier " + missing + "\n" + nogap +
                       ": Indice de liste hors limites (-1)\n" + empty + ": Impossible d'ouvrir le fichier " + empty +
                       "\n");
  // The good text replaced its old file; the failed one left its own alone.
  EXPECT_EQ(ReadFile(out + "/good.htm").rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
  EXPECT_EQ(ReadFile(out + "/nogap.htm"), "old page");
  EXPECT_FALSE(PathExists(out + "/missing.htm"));
  // Nothing but the pages: no temporary file left behind.
  TempFolder check;
  const CliResult ls = RunProgram("ls", {"-A", out}, check.path());
  EXPECT_EQ(ls.out, "good.htm\nnogap.htm\n");

  // One quiz for all: the good text only, and status 1.
  const std::string bank = dir_ / "bank.xml";
  const CliResult q = cli({good, nogap, "-o", bank, "--format", "moodle"});
  EXPECT_EQ(q.status, 1);
  EXPECT_EQ(q.err, nogap + ": Indice de liste hors limites (-1)\n");
  const std::string xml = ReadFile(bank);
  EXPECT_NE(xml.find("<text><![CDATA[good]]></text>"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("<text><![CDATA[nogap]]></text>"), std::string::npos) << xml;

  // No text at all: no quiz file.
  const CliResult none = cli({nogap, missing, "-o", dir_ / "none.xml", "--format", "moodle"});
  EXPECT_EQ(none.status, 1);
  EXPECT_FALSE(PathExists(dir_ / "none.xml"));

  // An output that cannot be written fails that text only.
  folder("out/cat.htm");
  const std::string cat = text("cat.txt", "A cat. The cat sat on the mat.");
  const CliResult w = cli({cat, good, "--out-dir", out});
  EXPECT_EQ(w.status, 1);
  EXPECT_EQ(w.err, cat + ": Impossible de cr\xC3\xA9" "er le fichier " + out + "/cat.htm\n");
}

TEST_F(ExportMany, QuizOfHostileTextsIsWellFormedXmlAndWarnsOfWhatMoodleCannotRead) {
  const std::string a = text("a.txt", "Braces. Write {1:SA:=x} ]]> and a C# b ab\\}x now");
  const std::string b = text("b.txt", "Quotes. \"x\" 'y' & <i>z</i> \xE2\x80\x9C" "curly\xE2\x80\x9D done");
  // Moodle keeps nothing of a name that looks like a tag.
  const std::string c = text("<i>.txt", "Control. a ab\x01x");
  const std::string bank = dir_ / "bank.xml";
  const CliResult r = cli({a, b, c, "-o", bank, "--format", "moodle"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "brenvik-cli export: warning: " + c +
                       ": the name \"<i>\" would be empty in Moodle, which removes anything that looks like an HTML "
                       "tag from names; the question is named \"Text 3\"\n"
                       "brenvik-cli export: warning: " + c +
                       ": gap 1 (\"ab\x01x\"): the answer holds a control character that XML cannot carry; it is "
                       "written as U+FFFD\n");
  const std::string xml = ReadFile(bank);
  EXPECT_NE(xml.find("<text><![CDATA[Text 3]]></text>"), std::string::npos);
  // "ab\}x" loses its second half, "\}x", written with one more backslash.
  EXPECT_NE(xml.find("{1:SHORTANSWER_C:=&#92;&#92;&#125;x}"), std::string::npos);
  const CliResult lint = RunProgram("xmllint", {"--noout", bank}, dir_.path());
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(lint.err, "");
}

TEST_F(ExportMany, UsageErrorsWriteNothing) {
  const std::string a = text("a.txt", "This is a test. The cat sat on the mat.");
  folder("one");
  text("one/a.txt", "This is a test. The cat sat on the mat.");
  folder("two");
  text("two/a.txt", "This is a test. The dog sat on the rug.");
  text("two/b.txt", "This is a test. The dog sat on the rug.");
  const std::string x = dir_ / "x.htm";
  const std::string out = dir_ / "out";
  const std::vector<std::string> cases[] = {
      {a, "-o", x, "--out-dir", out},              // both
      {a},                                         // neither
      {"--out-dir", out},                          // standard input into a folder
      {"-", "--out-dir", out},
      {"-", a, "-o", x, "--format", "moodle"},  // standard input among files
      {a, "-o", x, "--format", "docx"},
      {dir_ / "one/a.txt", dir_ / "two/a.txt", "--out-dir", out},  // one name twice
      {dir_ / "one", dir_ / "two", "--out-dir", out, "--format", "moodle"},
      {a, "--out-dir"},
      {a, "--out-dir", ""},
      {a, "--out-dir", out, "--out-dir", out},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string joined;
    for (const std::string& s : args) joined += s + " ";
    SCOPED_TRACE(joined);
    const CliResult r = cli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Usage: brenvik-cli export"), std::string::npos) << r.err;
    EXPECT_FALSE(PathExists(x));
    EXPECT_FALSE(PathExists(out));
  }
  const CliResult help = cli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--out-dir DIR"), std::string::npos);
  for (const char* format : {"classic ", "moodle ", "pdf "}) {
    EXPECT_NE(help.out.find(std::string("      ") + format), std::string::npos) << help.out;
  }
}

}  // namespace
