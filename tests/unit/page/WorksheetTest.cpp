// The worksheet's model: the test as printed pieces and the answer key, and
// the words in text order that every output format but the classic page reads.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/ClassicPage.h"
#include "core/page/TestWords.h"
#include "core/page/Worksheet.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

using Kind = WorksheetPiece::Kind;

WorksheetPiece T(TextView s) { return {Kind::Plain, Text(s), 0, 0}; }
WorksheetPiece G(std::size_t number, std::size_t length) { return {Kind::Gap, {}, number, length}; }
WorksheetPiece B() { return {Kind::LineBreak, {}, 0, 0}; }

Worksheet Sheet(TextView source, const ExportSettings& settings = {}) {
  TestWorkspace w;
  GenerateTest(source, w);
  return BuildWorksheet(w, settings);
}

TEST(Worksheet, WorkedExample) {
  const Worksheet sheet = Sheet(U"This is a test. The cat sat on the mat.");
  EXPECT_EQ(sheet.Title, U"C-Test");
  EXPECT_EQ(sheet.Instruction, U"Complete the gaps in the following text");
  EXPECT_EQ(sheet.KeyHeading, U"Answer key");
  const std::vector<WorksheetPiece> test = {T(U"This is a test. The c"), G(1, 2), T(U" sat o"), G(2, 1),
                                            T(U" the m"), G(3, 2), T(U".")};
  EXPECT_EQ(sheet.Test, test);
  const std::vector<WorksheetKeyEntry> key = {{1, U"c", U"at"}, {2, U"o", U"n"}, {3, U"m", U"at"}};
  EXPECT_EQ(sheet.Key, key);
}

TEST(Worksheet, LineBreaksOfEveryKindArePieces) {
  // The first sentence keeps its line break; in the rest, CR LF, a lone CR and
  // a lone LF are one break each, and a blank line is two.
  const Worksheet sheet = Sheet(U"Title line.\r\nThe cat sat\ron the\nmat\r\n\r\nand ran");
  const std::vector<WorksheetPiece> test = {T(U"Title line."), B(), T(U"The c"), G(1, 2), T(U" sat"), B(),
                                            T(U"o"),           G(2, 1), T(U" the"), B(), T(U"m"), G(3, 2),
                                            B(),               B(),     T(U"and r"), G(4, 2)};
  EXPECT_EQ(sheet.Test, test);
}

TEST(Worksheet, TitleAndBlankTitle) {
  ExportSettings settings;
  settings.Title = U"  Unit 3: \u0141\u00F3d\u017A  ";
  EXPECT_EQ(Sheet(U"A b. c dd", settings).Title, U"Unit 3: \u0141\u00F3d\u017A");
  settings.Title = U" \t ";
  EXPECT_EQ(Sheet(U"A b. c dd", settings).Title, U"C-Test");
}

// Over many texts: the test printed is the test text Process gives, and the
// key holds every deleted part in order with the kept part before it.
TEST(Worksheet, TestIsTheProcessTextAndTheKeyHoldsEveryAnswer) {
  const TextView texts[] = {
      U"This is a test. The cat sat on the mat.",
      U"She said 'Go.' Then she left.",
      U"It costs 3.50 euros. Pay now.",
      U"Zdanie. Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144 teraz, prosz\u0119.\r\nKoniec tekstu",
      U"\u041F\u0440\u0438\u0432\u0435\u0442. \u042D\u0442\u043E \u043F\u0440\u043E\u0441\u0442\u043E\u0439 "
      U"\u0442\u0435\u043A\u0441\u0442 \u0434\u043B\u044F \u0442\u0435\u0441\u0442\u0430.",
      U"\u05E9\u05DC\u05D5\u05DD. \u05D6\u05D4\u05D5 \u05DE\u05D1\u05D7\u05DF \u05E7\u05E6\u05E8 \u05DE\u05D0\u05D5\u05D3.",
      U"Hostile. C# {x} a~b \\} <b> & \"q\" ]]> end.",
  };
  for (TextView source : texts) {
    SCOPED_TRACE(ToUtf8(source));
    TestWorkspace w;
    const Text test = GenerateTest(source, w);
    const Worksheet sheet = BuildWorksheet(w, {});
    EXPECT_EQ(ToUtf8(WorksheetTestText(sheet)), ToUtf8(test));
    std::vector<Text> answers;
    for (TextView a : w.PageAnswers) answers.push_back(Text(a));
    ASSERT_EQ(sheet.Key.size(), answers.size());
    std::size_t gaps = 0;
    for (std::size_t i = 0; i < sheet.Key.size(); ++i) {
      EXPECT_EQ(sheet.Key[i].Number, i + 1);
      EXPECT_EQ(sheet.Key[i].Answer, answers[i]);
    }
    for (std::size_t i = 0; i < sheet.Test.size(); ++i) {
      const WorksheetPiece& p = sheet.Test[i];
      if (p.PieceKind == Kind::Gap) {
        ++gaps;
        EXPECT_EQ(p.Number, gaps);
        EXPECT_EQ(p.Length, sheet.Key[gaps - 1].Answer.size());
        // The kept part printed right before the gap is the key's kept part.
        const Text& kept = sheet.Key[gaps - 1].Kept;
        if (!kept.empty()) {
          ASSERT_GT(i, 0u);
          const Text& before = sheet.Test[i - 1].Characters;
          EXPECT_EQ(before.substr(before.size() - std::min(before.size(), kept.size())), kept);
        }
      }
      if (p.PieceKind == Kind::Plain) {
        EXPECT_FALSE(p.Characters.empty());
        EXPECT_EQ(p.Characters.find_first_of(U"\r\n"), Text::npos);
        if (i > 0) {
          EXPECT_NE(sheet.Test[i - 1].PieceKind, Kind::Plain);
        }
      }
    }
  }
}

TEST(Worksheet, SameSheetBeforeAndAfterAClassicExport) {
  TestWorkspace w;
  GenerateTest(U"Line one.\r\nThe cat sat\r\non the mat and ate.", w);
  const Worksheet before = BuildWorksheet(w, {});
  (void)BuildTestPage(w, {});
  const Worksheet after = BuildWorksheet(w, {});
  EXPECT_EQ(after.Test, before.Test);
  EXPECT_EQ(after.Key, before.Key);
}

TEST(Worksheet, TextWithoutGapIsRefused) {
  for (TextView source : {U"", U"Hello world.", U"One. a 42 b 7"}) {
    TestWorkspace w;
    GenerateTest(source, w);
    EXPECT_THROW((void)BuildWorksheet(w, {}), ListIndexError) << ToUtf8(source);
  }
}

// A sheet of several texts: each text under its title (a blank one
// numbered), its pieces apart from the text before, the gaps numbered on in
// the key, each entry with its further answers.
TEST(Worksheet, SeveralTextsUnderTheirTitlesWithFurtherAnswersInTheKey) {
  TestWorkspace first;
  TestWorkspace second;
  GenerateTest(U"This is a test. The cat sat on the mat.", first);
  GenerateTest(U"Hi. We saw a cat.", second);
  const std::vector<std::vector<Text>> more = {{}, {U"ow", U"ub"}};
  page::PageTest test;
  test.Texts = {{U"  Cats \t", &first, nullptr}, {U"", &second, &more}};
  const Worksheet sheet = BuildWorksheet(test, {});
  const std::vector<WorksheetPiece> pieces = {T(U"This is a test. The c"), G(1, 2), T(U" sat o"), G(2, 1),
                                              T(U" the m"),                G(3, 2), T(U"."),
                                              T(U"Hi. We s"),              G(4, 2), T(U" a c"),
                                              G(5, 2),                     T(U".")};
  EXPECT_EQ(sheet.Test, pieces);
  const std::vector<WorksheetSection> sections = {{U"Cats", 0, 0}, {U"Text 2", 7, 3}};
  EXPECT_EQ(sheet.Sections, sections);
  ASSERT_EQ(sheet.Key.size(), 5u);
  EXPECT_EQ(sheet.Key[3].Number, 4u);
  EXPECT_EQ(sheet.Key[3].Accepted, std::vector<Text>{});
  EXPECT_EQ(sheet.Key[4].Number, 5u);
  EXPECT_EQ(sheet.Key[4].Answer, U"at");
  EXPECT_EQ(sheet.Key[4].Accepted, (std::vector<Text>{U"ow", U"ub"}));
  EXPECT_EQ(ToUtf8(WorksheetTestText(sheet)),
            "Cats\r\n\r\nThis is a test. The c__ sat o_ the m__.\r\n\r\nText 2\r\n\r\nHi. We s__ a c__.");

  // One text: the sheet of its workspace, no title over it, further answers
  // in the key.
  page::PageTest one;
  one.Texts = {{U"Cats", &second, &more}};
  Worksheet alone = BuildWorksheet(one, {});
  EXPECT_TRUE(alone.Sections.empty());
  EXPECT_EQ(alone.Key.back().Accepted, (std::vector<Text>{U"ow", U"ub"}));
  alone.Key.back().Accepted.clear();
  const Worksheet plain = BuildWorksheet(second, {});
  EXPECT_EQ(alone.Test, plain.Test);
  EXPECT_EQ(alone.Key, plain.Key);

  // A text without a gap refuses the sheet, wherever it stands.
  TestWorkspace none;
  GenerateTest(U"Hello world.", none);
  test.Texts.push_back({U"None", &none, nullptr});
  EXPECT_THROW((void)BuildWorksheet(test, {}), ListIndexError);
}

TEST(TestWords, MisalignedListsAreAnErrorNotAnOverrun) {
  TestWorkspace w;
  GenerateTest(U"This is a test. The cat sat on the mat.", w);
  ASSERT_EQ(TestWords(w).size(), 6u);
  w.RightHalves = TextList{U"", U"at"};
  try {
    (void)TestWords(w);
    ADD_FAILURE() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 2);
  }
}

TEST(TestWords, SplitLineBreaks) {
  std::vector<std::string> seen;
  SplitLineBreaks(U"a\r\nb\rc\nd\r\n\r\n", [&](TextView run) { seen.push_back(ToUtf8(run)); },
                  [&] { seen.push_back("|"); });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "|", "b", "|", "c", "|", "d", "|", "|"}));
}

}  // namespace
}  // namespace brenvik
