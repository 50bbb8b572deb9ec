// brenvik-cli test and workspace with several texts, options and test files:
// what they print, --save and reading the saved file back, usage errors.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../faults/CliRun.h"

namespace {

using brenvik::test::CliResult;
using brenvik::test::PathExists;
using brenvik::test::ReadFile;
using brenvik::test::RunCli;
using brenvik::test::TempFolder;
using brenvik::test::WriteFile;

class ResearchCli : public ::testing::Test {
 protected:
  std::string text(const std::string& name, const std::string& content) {
    const std::string path = dir_ / name;
    WriteFile(path, content);
    return path;
  }
  CliResult cli(const std::vector<std::string>& args, const std::string& input = "") {
    return RunCli(args, dir_.path(), input);
  }
  TempFolder dir_;
};

TEST_F(ResearchCli, SeveralTextsUnderTheirTitlesAndSavedToAFileThatReadsBack) {
  const std::string a = text("cat.txt", "The cat. It sat on the mat and then it slept. The end came.");
  const std::string b = text("Dog Days.TXT", "A dog. It ran far and then it rested. The sun set.");
  const std::string saved = dir_ / "t.ctest";
  const CliResult r = cli({"test", a, b, "--gap-limit", "3", "--keep-last-sentence", "--ignore-case",
                           "--lang", "en-GB", "--title", "Pets", "--save", saved});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "cat\r\n\r\nThe cat. It s__ on t__ mat a__ then it slept. The end came.\r\n"
            "\r\nDog Days\r\n\r\nA dog. It r__ far a__ then i_ rested. The sun set.\r\n");
  const std::string file = ReadFile(saved);
  for (const char* field : {"\"title\": \"cat\"", "\"title\": \"Dog Days\"", "\"gapLimit\": 3",
                            "\"keepLastSentence\": true", "\"matching\": \"ignore-case\"",
                            "\"language\": \"en-GB\"", "\"title\": \"Pets\""}) {
    EXPECT_NE(file.find(field), std::string::npos) << field << "\n" << file;
  }
  // The saved test gives the same test, and saving it again the same bytes.
  const std::string again = dir_ / "again.ctest";
  const CliResult reread = cli({"test", saved, "--save", again});
  ASSERT_EQ(reread.status, 0) << reread.err;
  EXPECT_EQ(reread.out, r.out);
  EXPECT_EQ(ReadFile(again), file);
}

TEST_F(ResearchCli, EditsRoundTripAndDroppedOnesAreWarnedAbout) {
  const std::string head =
      "{\n  \"format\": \"brenvik-test\",\n  \"version\": 1,\n  \"language\": \"\",\n"
      "  \"matching\": \"exact\",\n  \"settings\": {\n    \"title\": \"C-Test\",\n"
      "    \"variant\": \"test\",\n    \"showAnswers\": false,\n    \"timer\": false,\n"
      "    \"pageBackground\": \"#FFFFFF\",\n    \"pageText\": \"#000000\",\n    \"font\": \"Arial\",\n"
      "    \"textSize\": \"14\",\n    \"answerBox\": \"#000000\",\n    \"answerText\": \"#FFFFFF\"\n  },\n"
      "  \"texts\": [\n    {\n      \"title\": \"One\",\n";
  const std::string edits =
      "      \"gapLimit\": 0,\n      \"keepLastSentence\": false,\n      \"edits\": [\n"
      "        {\n          \"word\": \"then\",\n          \"occurrence\": 1,\n          \"gap\": \"on\",\n"
      "          \"accepted\": [\"em\"]\n        },\n"
      "        {\n          \"word\": \"sat\",\n          \"occurrence\": 1,\n          \"gap\": \"off\"\n        }\n"
      "      ]\n    }\n  ]\n}\n";
  const std::string original = head + "      \"source\": \"The cat. It sat, then it slept.\",\n" + edits;
  const std::string path = text("edited.ctest", original);
  const std::string copy = dir_ / "copy.ctest";
  const CliResult r = cli({"test", path, "--save", copy});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "The cat. It sat, th__ i_ slept.");
  EXPECT_EQ(ReadFile(copy), original);

  const CliResult ws = cli({"workspace", path});
  ASSERT_EQ(ws.status, 0) << ws.err;
  EXPECT_NE(ws.out.find("\"word\": \"then\",\n          \"kept\": \"th\",\n          \"answer\": \"en\",\n"
                        "          \"accepted\": [\"em\"]"),
            std::string::npos)
      << ws.out;
  EXPECT_NE(ws.out.find("\"gap\": \"off\""), std::string::npos);
  EXPECT_NE(ws.out.find("\"PageAnswers\": [\"en\", \"t\"]"), std::string::npos) << ws.out;

  // The text changed: "then" is gone, its edit is dropped with a warning and
  // not saved again; the other edit stays.
  const std::string changed =
      text("changed.ctest", head + "      \"source\": \"The cat. It sat there and slept.\",\n" + edits);
  const std::string pruned = dir_ / "pruned.ctest";
  const CliResult c = cli({"test", changed, "--save", pruned});
  ASSERT_EQ(c.status, 0) << c.err;
  EXPECT_EQ(c.err,
            "brenvik-cli test: warning: One: the change to the 1st \"then\" was dropped: the text no "
            "longer has that word\n");
  const std::string kept = ReadFile(pruned);
  EXPECT_EQ(kept.find("\"then\""), std::string::npos) << kept;
  EXPECT_NE(kept.find("\"word\": \"sat\""), std::string::npos) << kept;
}

TEST_F(ResearchCli, OneTextWithoutOptionsIsUnchanged) {
  const std::string a = text("a.txt", "The cat. It sat on the mat.");
  const CliResult plain = cli({"workspace", a});
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out.rfind("{\n  \"FirstSentence\": \"The cat. \",\n", 0), 0u) << plain.out;
  const CliResult asTest = cli({"workspace", a, "--gap-limit", "1"});
  ASSERT_EQ(asTest.status, 0) << asTest.err;
  EXPECT_EQ(asTest.out.rfind("{\n  \"title\": \"C-Test\",\n  \"language\": \"\",\n", 0), 0u) << asTest.out;
  EXPECT_NE(asTest.out.find("\"PageAnswers\": [\"at\"]"), std::string::npos) << asTest.out;
  EXPECT_EQ(cli({"test", a}).out, "The cat. It s__ on t__ mat.");
}

// A test file of two texts goes into one file in every format, and only a
// language that is set reaches the file as lang: on each text of the pages
// (the responsive page's own words keep lang="en"), nowhere in the quiz or
// the worksheet.
TEST_F(ResearchCli, EveryFormatTakesATestOfSeveralTextsWithLangOnlyWhenSet) {
  struct Format {
    const char* id;
    const char* heading;  // each text's title as the format writes it
    int langWithout;       // "lang=" in the file without a language
    int langWith;          // and with one
  };
  const Format formats[] = {
      {"classic", "<H3>Second</H3>", 0, 2},
      {"responsive", "<h2 dir=\"auto\">Second</h2>", 1, 3},
      {"moodle", "<text><![CDATA[Second]]></text>", 0, 0},
      {"pdf", "%PDF-", 0, 0},
  };
  for (const char* language : {"", "de"}) {
    const std::string file = text(std::string("two-") + language + ".ctest",
                                  std::string("{\"format\": \"brenvik-test\", \"version\": 1, \"language\": \"") +
                                      language +
                                      "\", \"matching\": \"ignore-case\", \"texts\": ["
                                      "{\"title\": \"First\", \"source\": \"The cat. It sat, then it slept.\", "
                                      "\"edits\": [{\"word\": \"then\", \"gap\": \"on\", \"accepted\": [\"em\"]}]}, "
                                      "{\"title\": \"Second\", \"source\": \"A dog. It ran far and then it rested.\"}]}");
    for (const Format& f : formats) {
      SCOPED_TRACE(std::string(f.id) + " lang " + language);
      const std::string out = dir_ / (std::string("out-") + f.id + language);
      const CliResult r = cli({"export", file, "--format", f.id, "-o", out});
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(r.err, "");
      const std::string bytes = ReadFile(out);
      EXPECT_NE(bytes.find(f.heading), std::string::npos) << bytes.substr(0, 2000);
      int langs = 0;
      for (std::size_t at = bytes.find("lang="); at != std::string::npos; at = bytes.find("lang=", at + 1)) {
        if (at == 0 || bytes[at - 1] == ' ') ++langs;  // not "xml:lang" or "language="
      }
      EXPECT_EQ(langs, *language == '\0' ? f.langWithout : f.langWith);
      EXPECT_EQ(bytes.find("/Lang"), std::string::npos);
    }
  }
}

TEST_F(ResearchCli, UsageErrorsAndBadFiles) {
  const std::string a = text("a.txt", "The cat. It sat.");
  const std::string t = text("t.ctest", "{\"format\": \"brenvik-test\", \"version\": 1, \"texts\": [{\"source\": \"x\"}]}");
  const std::string damaged = text("bad.ctest", "{\"format\": \"brenvik-test\", \"version\": 1, \"texts\": [");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } usage[] = {
      {{"test", a, "--lang", "en_GB"}, "--lang: \"en_GB\" is not a well-formed BCP 47 language tag"},
      {{"test", a, "--lang", "english language"}, "not a well-formed"},
      {{"workspace", a, "--lang", "de-"}, "not a well-formed"},
      {{"test", a, "--gap-limit", "-1"}, "--gap-limit needs a whole number"},
      {{"test", a, "--gap-limit", "2x"}, "--gap-limit needs a whole number"},
      {{"test", a, "--gap-limit", "99999999999"}, "--gap-limit needs a whole number"},
      {{"test", t, a}, "a test file (.ctest) only alone"},
      {{"test", "-", a}, "'-' (standard input) only alone"},
      {{"test", a, "--save", "-"}, "--save needs a file name"},
      {{"test", a, "--save", "x", "-o", "x"}, "--save and -o name the same file"},
  };
  for (const Case& c : usage) {
    SCOPED_TRACE(c.args[2]);
    const CliResult r = cli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Usage:"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(PathExists(dir_ / "x"));

  const std::string out = dir_ / "out.ctest";
  const CliResult bad = cli({"test", damaged, "--save", out});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "cannot read the test file " + damaged +
                         ": it is damaged or not JSON (line 1, column 52: the document ends where a value "
                         "was expected)\n");
  EXPECT_FALSE(PathExists(out));
  const CliResult gapOn = cli({"test", text("on.ctest",
                                            "{\"format\": \"brenvik-test\", \"version\": 1, \"texts\": [{\"source\": "
                                            "\"Hi. We saw a cat.\", \"edits\": [{\"word\": \"a\", \"gap\": \"on\"}]}]}")});
  EXPECT_EQ(gapOn.status, 1);
  EXPECT_NE(gapOn.err.find("the word \"a\" cannot have a gap"), std::string::npos) << gapOn.err;
}

}  // namespace
