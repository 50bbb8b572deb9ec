// The test file: what it keeps, that it reads back to the same bytes, and the
// damaged files it refuses with a message naming the file and the problem.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "core/test/GenerateText.h"
#include "core/test/Json.h"
#include "core/test/TestFile.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

Test Sample() {
  Test t;
  t.texts.push_back({U"The harbour", U"The harbour wakes early.\r\nThen \"boats\" go\tout.", {25, true},
                     {{U"then", 2, GapSwitch::On, {U"em", U"en"}}, {U"boats", 1, GapSwitch::Off, {}},
                      {U"go", 1, GapSwitch::Rule, {U"o"}}}});
  t.texts.push_back({U"Été \x01 \\ «x»", U"Un été. 我们今天去公园", {}, {}});
  t.settings.Title = U"Research <C-test>";
  t.settings.TestMode = PageVariant::Practice;
  t.settings.TimerFlag = true;
  t.language = "fr-CA";
  t.matching = AnswerMatching::IgnoreCase;
  return t;
}

std::string TempPath(const std::string& name) { return ::testing::TempDir() + name; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(TestFile, RoundTripsByteForByte) {
  const brenvik::Test sample = Sample();
  const std::string bytes = TestFileBytes(sample);
  const brenvik::Test back = ParseTestFile(bytes, "sample.ctest");
  EXPECT_EQ(back, sample);
  EXPECT_EQ(TestFileBytes(back), bytes);
  EXPECT_EQ(bytes.rfind("{\n  \"format\": \"brenvik-test\",\n  \"version\": 1,\n", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("\"accepted\": [\"em\", \"en\"]"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\"title\": \"Été \\u0001 \\\\ «x»\""), std::string::npos) << bytes;

  const std::string path = TempPath("roundtrip.ctest");
  WriteTestFile(path, sample);
  EXPECT_EQ(ReadAll(path), bytes);
  EXPECT_EQ(ReadTestFile(path), sample);
  ::unlink(path.c_str());
}

TEST(TestFile, MinimalFileTakesTheDefaults) {
  const brenvik::Test t = ParseTestFile(
      "\xEF\xBB\xBF{\"format\":\"brenvik-test\",\"version\":1,\"texts\":[{\"source\":\"e\\u0301t\\u00e9\"}]}",
      "min.ctest");
  ASSERT_EQ(t.texts.size(), 1u);
  EXPECT_EQ(t.texts[0].source, U"\u00e9t\u00e9");  // put in NFC
  EXPECT_EQ(t.texts[0].options, TextOptions{});
  EXPECT_EQ(t.settings, ExportSettings{});
  EXPECT_EQ(t.matching, AnswerMatching::Exact);
  EXPECT_EQ(t.language, "");
}

TEST(TestFile, RefusesDamagedFilesNamingTheProblem) {
  const std::string head = "{\"format\": \"brenvik-test\", \"version\": 1, ";
  const std::string text = "\"texts\": [{\"source\": \"A b. c d.\"}]";
  struct Case {
    std::string bytes;
    const char* problem;
  } cases[] = {
      {"", "line 1, column 1: the document ends where a value was expected"},
      {"\xFF\xFE{}", "expected a value"},
      {"PK\x03\x04 zip", "expected a value"},
      {head + text, "expected ',' or '}'"},
      {head + text + "}}", "unexpected text after the end"},
      {head + text + ",}", "expected a member name"},
      {"{\"format\": \"brenvik-test\", \"format\": \"x\"}", "the member \"format\" occurs twice"},
      {head + "\"texts\": [{\"source\": \"a\xC3\"}]}", "not valid UTF-8"},
      {head + "\"texts\": [{\"source\": \"a\x01\"}]}", "control character stands unescaped"},
      {head + "\"texts\": [{\"source\": \"\\ud800\"}]}", "lone high surrogate"},
      {head + "\"texts\": [{\"source\": \"\\x\"}]}", "unknown escape"},
      {std::string(100, '[') + std::string(100, ']'), "nested too deeply"},
      {"[1, 2]", "it is not a Brenvik test file"},
      {"{\"texts\": []}", "it is not a Brenvik test file (no \"format\": \"brenvik-test\")"},
      {"{\"format\": \"brenvik-page\", \"version\": 1}", "not a Brenvik test file"},
      {"{\"format\": \"brenvik-test\", \"version\": 2, \"future\": 1}",
       "written in version 2 of the format, by a newer Brenvik; this one reads version 1"},
      {"{\"format\": \"brenvik-test\", \"version\": 1.0, " + text + "}", "version: must be a whole number"},
      {"{\"format\": \"brenvik-test\", " + text + "}", "version: is missing"},
      {head + "\"texts\": []}", "texts: must hold at least one text"},
      {head + "\"texts\": {}}", "texts: must be an array"},
      {head + "\"texts\": [{\"title\": \"x\"}]}", "texts[0].source: is missing"},
      {head + "\"texts\": [{\"source\": 5}]}", "texts[0].source: must be a string"},
      {head + "\"texts\": [{\"source\": \"a\", \"gapLimit\": -1}]}", "texts[0].gapLimit: must be a whole number from 0"},
      {head + "\"texts\": [{\"source\": \"a\", \"gapLimit\": 5000000000}]}", "texts[0].gapLimit: must be a whole number"},
      {head + "\"texts\": [{\"source\": \"a\", \"keepLastSentence\": 1}]}", "keepLastSentence: must be true or false"},
      {head + "\"texts\": [{\"source\": \"a\", \"gaplimit\": 20}]}", "texts[0].gaplimit: is not a field of this file format"},
      {head + "\"texts\": [{\"source\": \"a\", \"edits\": [{\"occurrence\": 1}]}]}", "texts[0].edits[0].word: is missing"},
      {head + "\"texts\": [{\"source\": \"a\", \"edits\": [{\"word\": \"\"}]}]}", "edits[0].word: must not be empty"},
      {head + "\"texts\": [{\"source\": \"a\", \"edits\": [{\"word\": \"a\", \"occurrence\": 0}]}]}", "occurrence: must be a whole number from 1"},
      {head + "\"texts\": [{\"source\": \"a\", \"edits\": [{\"word\": \"a\", \"gap\": \"yes\"}]}]}", "gap: must be \"on\" or \"off\""},
      {head + "\"texts\": [{\"source\": \"a\", \"edits\": [{\"word\": \"a\", \"accepted\": [\"\"]}]}]}", "accepted[0]: must not be empty"},
      {head + "\"texts\": [{\"source\": \"a\", \"edits\": [{\"word\": \"a\"}, {\"word\": \"a\", \"occurrence\": 1}]}]}",
       "edits[1]: a second change to the 1st \"a\""},
      {head + "\"language\": \"en_GB\", " + text + "}", "language: \"en_GB\" is not a well-formed BCP 47 language tag"},
      {head + "\"matching\": \"fuzzy\", " + text + "}", "matching: must be \"exact\" or \"ignore-case\""},
      {head + "\"settings\": {\"variant\": \"quiz\"}, " + text + "}", "settings.variant: must be \"test\" or \"practice\""},
      {head + "\"settings\": {\"colour\": \"#FFF\"}, " + text + "}", "settings.colour: is not a field"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    try {
      ParseTestFile(c.bytes, "/tmp/broken.ctest");
      ADD_FAILURE() << "read without error";
    } catch (const TestFileError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("cannot read the test file /tmp/broken.ctest: ", 0), 0u) << message;
      EXPECT_NE(message.find(c.problem), std::string::npos) << message;
    }
  }
}

TEST(TestFile, RefusesFilesTooLargeAndUnreadable) {
  const std::string big = TempPath("big.ctest");
  {
    std::ofstream out(big, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(kMaxTestFileBytes));
    out.put(' ');
  }
  try {
    ReadTestFile(big);
    ADD_FAILURE() << "read";
  } catch (const TestFileError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot read the test file " + big + ": it is larger than 64 MiB");
  }
  ::unlink(big.c_str());
  EXPECT_THROW(ReadTestFile(TempPath("missing.ctest")), FileOpenError);
}

TEST(TestFile, AFailedWriteLeavesTheOldFile) {
  const std::string dir = TempPath("ro-dir");
  ::mkdir(dir.c_str(), 0755);
  const std::string path = dir + "/t.ctest";
  WriteTestFile(path, Sample());
  const std::string before = ReadAll(path);
  brenvik::Test other = Sample();
  other.texts.pop_back();
  EXPECT_THROW(WriteTestFile(dir + "/missing/t.ctest", other), FileCreateError);
  EXPECT_EQ(ReadAll(path), before);
  EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
}

// The six-text research form in examples/: 25 gaps per text, the gaps
// switched off and the accepted answers all finding their words, and the file
// written back byte for byte.
TEST(TestFile, ExampleResearchForm) {
  const std::string path = std::string(BRENVIK_FIXTURES) + "/../../examples/research-form-a.ctest";
  const brenvik::Test test = ReadTestFile(path);
  EXPECT_EQ(TestFileBytes(test), ReadAll(path));
  ASSERT_EQ(test.texts.size(), 6u);
  const GeneratedTest generated = GenerateWholeTest(test);
  std::size_t accepted = 0;
  for (const GeneratedText& text : generated.texts) {
    SCOPED_TRACE(ToUtf8(text.title));
    EXPECT_EQ(text.workspace.PageAnswers.size(), 25u);
    EXPECT_TRUE(text.notes.empty());
    for (const std::vector<Text>& a : text.accepted) accepted += a.size();
  }
  EXPECT_EQ(accepted, 6u);
}

TEST(TestFilePath, ByExtension) {
  EXPECT_TRUE(IsTestFilePath("a.ctest"));
  EXPECT_TRUE(IsTestFilePath("dir/A.CTest"));
  EXPECT_FALSE(IsTestFilePath("a.ctest.txt"));
  EXPECT_FALSE(IsTestFilePath("ctest"));
}

TEST(Json, WriterAndReaderAgree) {
  const json::Value v(json::Object{
      {"n", json::Value(json::Number{"-1.5e3"})},
      {"list", json::Array{"a\r\n\"b\"", nullptr, true, json::Value::Integer(7)}},
      {"nested", json::Array{json::Object{}, json::Array{}}},
      {"text", "\x7F\xC2\x85 \xF0\x9F\x98\x80"},
  });
  const std::string bytes = json::Write(v);
  EXPECT_EQ(bytes,
            "{\n  \"n\": -1.5e3,\n  \"list\": [\"a\\r\\n\\\"b\\\"\", null, true, 7],\n"
            "  \"nested\": [\n    {},\n    []\n  ],\n  \"text\": \"\\u007f\\u0085 \xF0\x9F\x98\x80\"\n}\n");
  EXPECT_EQ(json::Parse(bytes), v);
  EXPECT_EQ(json::Parse("\"\\ud83d\\ude00\\/\""), json::Value("\xF0\x9F\x98\x80/"));
  EXPECT_EQ(json::AsWholeNumber({"007"}, 100), std::nullopt);
  EXPECT_EQ(json::AsWholeNumber({"25"}, 100), 25u);
  EXPECT_EQ(json::AsWholeNumber({"101"}, 100), std::nullopt);
}

}  // namespace
}  // namespace brenvik
