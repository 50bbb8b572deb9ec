// Hostile texts: each goes through test generation and the page writer in
// the core, and through brenvik-cli test, workspace and export, without a
// crash or a hang, with the documented exit codes, and with the command line
// giving exactly what the core gives.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../faults/CliRun.h"
#include "core/page/ClassicPage.h"
#include "fuzz/FuzzChecks.h"
#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "core/ctest/TestGen.h"

namespace brenvik::test {
namespace {

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

struct HostileCase {
  const char* name;
  std::string bytes;  // the file as the teacher has it
  bool hasAnswers;
};

std::vector<HostileCase> Cases() {
  return {
      {"Empty", "", false},
      {"OneCharacter", "x", false},
      {"OnlySeparators", Repeat(" ,;:!?./\"'-\r\n", 50), false},
      {"OnlyDigits", "2024. 1999 2000 31 12 7 3.50", false},
      {"OnlyControlCharacters", "\x01\x02\x03\t\x0b\x0c\x1f", false},
      // No sentence mark: cut after 5000 letters, the rest is word 0 and stays whole.
      {"OneWordOf100000Letters", std::string(100000, 'a'), false},
      // The long word at index 1 loses 50,000 letters: one huge answer.
      {"HugeWordToHalve", "Go. x " + std::string(100000, 'b') + " end.", true},
      {"NulBytes", std::string("One.\0 two\0three four \0\0 five six.", 33), true},
      {"InvalidUtf8", "Caf\xe9 cr\xe8me. Na\xefve gar\xe7on \xff\xfe r\xe9sum\xe9 \xc0\xaf d\x81\x8d\x90j\xe0.", true},
      {"Hebrew", "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd7\xa2\xd7\x95\xd7\x9c\xd7\x9d. \xd7\x96\xd7\x94 "
                 "\xd7\x9e\xd7\x91\xd7\x97\xd7\x9f \xd7\xa7\xd7\x98\xd7\x9f \xd7\x9e\xd7\x90\xd7\x95\xd7\x93.",
       true},
      {"Arabic", "\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7 \xd8\xa8\xd8\xa7\xd9\x84\xd8\xb9\xd8\xa7\xd9\x84\xd9\x85. "
                 "\xd9\x87\xd8\xb0\xd8\xa7 \xd8\xa7\xd8\xae\xd8\xaa\xd8\xa8\xd8\xa7\xd8\xb1 \xd8\xb5\xd8\xba\xd9\x8a\xd8\xb1 "
                 "\xd8\xac\xd8\xaf\xd8\xa7.",
       true},
      {"EmojiBeyondBasicPlane",
       "Hi. \xf0\x9f\x98\x80\xf0\x9f\x98\x83\xf0\x9f\x98\x84\xf0\x9f\x98\x81 smile \xf0\x9f\x8e\x89\xf0\x9f\x8e\x89"
       "\xf0\x9f\x8e\x89 party \xf0\x9f\x91\x8d\xf0\x9f\x8f\xbd ok \xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2"
       "\x80\x8d\xf0\x9f\x91\xa7 family \xf0\x9d\x84\x9e\xf0\x9d\x84\x9e.",
       true},
      {"CombiningAccents", "Caf\xc3\xa9. cafe\xcc\x81 nai\xcc\x88ve re\xcc\x81sume\xcc\x81 fin Zoe\xcc\x88 x.", true},
      {"MixedLineEnds", "One.\rtwo three\nfour five\r\nsix seven\n\r\n\rend", true},
      {"MarkupAndScript",
       "Go. <script>alert(1)</script> &amp; {color:red} %41%u0041 \\u0041 back\\slash x</SCRIPT>y "
       "<!--<script> ${x} `tick` it's",
       true},
      {"ByteOrderMarkTwice", "\xef\xbb\xbf\xef\xbb\xbfStart. with mark\xe2\x80\xa8line separator here.", true},
      {"TenMebibytes", Repeat("The cat sat on the mat. ", (10u << 20) / 24), true},
  };
}

class Hostile : public testing::TestWithParam<HostileCase> {};

// Properties that hold whatever the size, cheap enough for 10 MiB.
void CheckLarge(TextView source, const TestWorkspace& w, const Text& test) {
  EXPECT_EQ(w.FirstSentence + w.RestText, source);
  const std::size_t n = w.Separators.size();
  EXPECT_GE(n, 1u);
  EXPECT_EQ(w.LeftHalves.size(), n);
  EXPECT_EQ(w.RightHalves.size(), n);
  EXPECT_EQ(w.PageSeparators.size(), n);
  std::size_t answers = 0;
  for (std::size_t k = 0; k < n; ++k) answers += w.RightHalves[k].empty() ? 0 : 1;
  EXPECT_EQ(w.PageAnswers.size(), answers);
  EXPECT_LE(test.size(), source.size());
}

TEST_P(Hostile, CoreAndCommandLineAgree) {
  const HostileCase& c = GetParam();
  const Text source = unicode::ToNfc(DecodeTextFile(c.bytes));  // as brenvik-cli reads it

  // The core: generation with every documented property (the full check for
  // texts of ordinary size), and the page or the list error.
  TestWorkspace w;
  const Text test = GenerateTest(source, w);
  CheckLarge(source, w, test);
  if (source.size() <= 300000) {
    EXPECT_NO_THROW(fuzz::CheckGenerateFor(source));
    for (PageVariant mode : {PageVariant::Test, PageVariant::Practice}) {
      ExportSettings s;
      s.TestMode = mode;
      s.ShowAnswersFlag = true;
      s.TimerFlag = mode == PageVariant::Practice;
      try {
        fuzz::CheckPageFor(source, s);
      } catch (const fuzz::CheckFailure& e) {
        ADD_FAILURE() << "page, mode " << static_cast<int>(mode) << ": " << e.what();
      }
    }
  }
  EXPECT_EQ(!w.PageAnswers.empty(), c.hasAnswers);
  // The settings of the command-line export below, hostile themselves.
  ExportSettings settings;
  settings.TestMode = PageVariant::Practice;
  settings.ShowAnswersFlag = true;
  settings.TimerFlag = true;
  settings.Title = U"<T&\"x\">";
  settings.FontName = U"F\";}</style>";
  TestWorkspace forPage = w;
  std::string page;
  if (c.hasAnswers) {
    page = BuildTestPageBytes(forPage, settings);
    std::size_t boxes = 0;
    for (std::size_t at = page.find("<INPUT class=boxes size=5 name="); at != std::string::npos;
         at = page.find("<INPUT class=boxes size=5 name=", at + 1)) {
      ++boxes;
    }
    EXPECT_EQ(boxes, w.PageAnswers.size());
    EXPECT_EQ(page.substr(page.size() - 7), "</HTML>");
  } else {
    EXPECT_THROW(BuildTestPageBytes(forPage, settings), ListIndexError);
  }

  // The command line, from a file and from standard input.
  TempFolder dir;
  TempFolder scratch;
  const std::string in = dir / "in.txt";
  WriteFile(in, c.bytes);

  const CliResult toFile = RunCli({"test", in, "-o", dir / "out.txt"}, scratch.path());
  EXPECT_FALSE(toFile.timedOut);
  EXPECT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(ReadFile(dir / "out.txt"), EncodeTextFile(test));

  if (c.bytes.size() < (1u << 20)) {
    const CliResult toStdout = RunCli({"test", "-"}, scratch.path(), c.bytes);
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_TRUE(toStdout.out == ToUtf8(test)) << "standard output differs from the test text";
  }

  const CliResult json = RunCli({"workspace", in}, scratch.path());
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_TRUE(IsValidUtf8(json.out));
  EXPECT_EQ(json.out.substr(0, 1), "{");
  EXPECT_NE(json.out.find("\"PageAnswers\""), std::string::npos);

  const std::string pagePath = dir / "page.htm";
  const CliResult exported =
      RunCli({"export", in, "-o", pagePath, "--practice", "--show-answers", "--timer", "--title", "<T&\"x\">",
              "--font", "F\";}</style>"},
             scratch.path());
  EXPECT_FALSE(exported.timedOut);
  if (c.hasAnswers) {
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(ReadFile(pagePath) == page) << "exported page differs from the core's";
  } else {
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(exported.err, "Indice de liste hors limites (-1)\n");
    EXPECT_FALSE(PathExists(pagePath));
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, Hostile, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace brenvik::test
