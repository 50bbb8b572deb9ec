// Test assembly: the test text and the ten workspace fields.

#include <gtest/gtest.h>

#include <functional>

#include "TestGenSupport.h"
#include "core/text/Errors.h"
#include "core/ctest/TestGen.h"

namespace brenvik {
namespace {

using testing::RandomProse;
using testing::Texts;
using testing::Vec;

TEST(GenerateTest, WorkedExamples) {
  struct Case {
    Text source;
    Text test;
    Texts answers;
  };
  const Case cases[] = {
      {U"This is a test. The cat sat on the mat.", U"This is a test. The c__ sat o_ the m__.",
       {U"at", U"n", U"at"}},
      {U"Hi! How are you?", U"Hi! How a__ you?", {U"re"}},
      {U"She said 'Go.' Then she left.", U"She said 'Go.' Th__ she le__.", {U"en", U"ft"}},
      {U"One. Two three four", U"One. Two th___ four", {U"ree"}},
      {U"Wait... what now.", U"Wait... wh__ now.", {U"at"}},
      {U"It costs 3.50 euros. Pay now.", U"It costs 3.50 eu___. Pay n__.", {U"ros", U"ow"}},
      {U"Hello world.", U"Hello world.", {}},
      {U"no marks here", U"no marks here", {}},
      {U"A b. a \t b", U"A b. a  b", {}},
      {U"", U"", {}},
      // A number and a one-letter word at odd places stay whole.
      {U"Start. We 25 years, a bit old", U"Start. We 25 years, a bit o__", {U"ld"}},
      {U"Tak. Zażółć gęślą jaźń teraz", U"Tak. Zażółć gę___ jaźń te___", {U"ślą", U"raz"}},
      {U"Ja. Мы читаем книгу вместе", U"Ja. Мы чит___ книгу вме___", {U"аем", U"сте"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.source));
    TestWorkspace ws;
    EXPECT_EQ(GenerateTest(c.source, ws), c.test);
    EXPECT_EQ(Vec(ws.PageAnswers), c.answers);
  }
}

TEST(GenerateTest, WorkspaceListsOfTheCatExample) {
  TestWorkspace ws;
  GenerateTest(U"This is a test. The cat sat on the mat.", ws);
  EXPECT_EQ(ws.FirstSentence, U"This is a test. ");
  EXPECT_EQ(ws.RestText, U"The cat sat on the mat.");
  EXPECT_EQ(Vec(ws.WordList), (Texts{U"The", U"cat", U"sat", U"on", U"the", U"mat", U""}));
  EXPECT_EQ(Vec(ws.Separators), (Texts{U" ", U" ", U" ", U" ", U" ", U"."}));
  EXPECT_EQ(Vec(ws.LeftHalves), (Texts{U"The", U"c", U"sat", U"o", U"the", U"m"}));
  EXPECT_EQ(Vec(ws.RightHalves), (Texts{U"", U"at", U"", U"n", U"", U"at"}));
  EXPECT_EQ(ws.PageLeftHalves, ws.LeftHalves);
  EXPECT_EQ(ws.PageSeparators, ws.Separators);
  EXPECT_EQ(ws.PageRightHalves, ws.RightHalves);
  EXPECT_EQ(Vec(ws.PageAnswers), (Texts{U"at", U"n", U"at"}));
}

TEST(GenerateTest, PairListsKeepEmptyWordsAndTheLastPair) {
  struct Case {
    Text source;
    Texts left;
    Texts separators;
    Texts right;
    std::size_t wordCount;
  };
  const Case cases[] = {
      // The tab word is empty but keeps its place, so "b" stays with its
      // own separator.
      {U"A b. a \t b", {U"a", U"", U"b"}, {U" ", U" ", U""}, {U"", U"", U""}, 3},
      // A last word without a separator is a pair of its own.
      {U"One. Two three four", {U"Two", U"th", U"four"}, {U" ", U" ", U""},
       {U"", U"ree", U""}, 3},
      // A rest starting with a separator pairs it with an empty word.
      {U"She said 'Go.' Then she left.", {U"", U"Th", U"she", U"le"}, {U"' ", U" ", U" ", U"."},
       {U"", U"en", U"", U"ft"}, 5},
      {U"", {U""}, {U""}, {U""}, 1},
      {U"Only this.", {U""}, {U""}, {U""}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.source));
    TestWorkspace ws;
    GenerateTest(c.source, ws);
    EXPECT_EQ(Vec(ws.PageLeftHalves), c.left);
    EXPECT_EQ(Vec(ws.PageSeparators), c.separators);
    EXPECT_EQ(Vec(ws.PageRightHalves), c.right);
    EXPECT_EQ(ws.WordList.size(), c.wordCount);
  }
}

// Characters the test text loses: control characters at the edges of word
// runs of the rest text.
std::size_t TrimmedCharacters(TextView rest) {
  std::size_t trimmed = 0;
  std::size_t i = 0;
  while (i < rest.size()) {
    if (SeparatorChars.find(rest[i]) != TextView::npos) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < rest.size() && SeparatorChars.find(rest[end]) == TextView::npos) ++end;
    trimmed += (end - i) - TrimControls(rest.substr(i, end - i)).size();
    i = end;
  }
  return trimmed;
}

void ExpectWorkspaceInvariants(TextView source, const Text& test, const TestWorkspace& ws) {
  ASSERT_EQ(ws.FirstSentence + ws.RestText, source);
  const std::size_t n = ws.Separators.size();
  ASSERT_GE(n, 1u);
  ASSERT_TRUE(ws.WordList.size() == n || ws.WordList.size() == n + 1);
  if (ws.WordList.size() == n + 1) {
    EXPECT_TRUE(ws.WordList.back().empty());
  }
  ASSERT_EQ(ws.LeftHalves.size(), n);
  ASSERT_EQ(ws.RightHalves.size(), n);
  EXPECT_EQ(ws.PageLeftHalves, ws.LeftHalves);
  EXPECT_EQ(ws.PageSeparators, ws.Separators);
  EXPECT_EQ(ws.PageRightHalves, ws.RightHalves);

  Texts nonEmptyRight;
  std::size_t gaps = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const TextView word = ws.WordList[k];
    const Text joined = Text(ws.LeftHalves[k]) + Text(ws.RightHalves[k]);
    ASSERT_EQ(joined, word) << k;
    const TextView right = ws.RightHalves[k];
    if (!right.empty()) {
      // Only odd places lose a part, and never a one-letter word or a number.
      EXPECT_EQ(k % 2, 1u);
      EXPECT_GE(word.size(), 2u);
      EXPECT_FALSE(ContainsFigures(word, DigitChars));
      EXPECT_EQ(ws.LeftHalves[k].size(), word.size() / 2);
      nonEmptyRight.emplace_back(right);
      gaps += right.size();
    } else if (k % 2 == 1 && word.size() >= 2) {
      EXPECT_TRUE(ContainsFigures(word, DigitChars)) << ToUtf8(word);
    }
  }
  EXPECT_EQ(Vec(ws.PageAnswers), nonEmptyRight);

  // The test text is the source with every deleted character shown as "_",
  // minus the trimmed control characters.
  const std::size_t trimmed = TrimmedCharacters(ws.RestText);
  ASSERT_EQ(test.size(), source.size() - trimmed);
  EXPECT_EQ(static_cast<std::size_t>(std::count(test.begin(), test.end(), U'_')), gaps);
  if (trimmed == 0) {
    for (std::size_t i = 0; i < test.size(); ++i) {
      if (test[i] != U'_') {
        ASSERT_EQ(test[i], source[i]) << i;
      }
    }
  }
}

TEST(GenerateTest, InvariantsOnGeneratedProse) {
  std::mt19937 rng(4242);
  for (int round = 0; round < 300; ++round) {
    const Text source = RandomProse(rng, rng() % 2000);
    SCOPED_TRACE(ToUtf8(source));
    TestWorkspace ws;
    const Text test = GenerateTest(source, ws);
    ExpectWorkspaceInvariants(source, test, ws);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(GenerateTest, SourceWithoutControlsKeepsItsLength) {
  // Only spaces and punctuation between words: nothing is trimmed.
  const Text source =
      U"Ein Satz. Zażółć gęślą jaźń, αλφάβητο - азбука \"quoted\" 1999/2000 well-known; "
      U"end?\r\nNext line!";
  TestWorkspace ws;
  const Text test = GenerateTest(source, ws);
  EXPECT_EQ(test.size(), source.size());
  ExpectWorkspaceInvariants(source, test, ws);
}

TEST(GenerateTest, HugeInput) {
  std::mt19937 rng(99);
  const Text source = RandomProse(rng, 3'000'000);
  TestWorkspace ws;
  const Text test = GenerateTest(source, ws);
  ExpectWorkspaceInvariants(source, test, ws);
  EXPECT_GT(ws.PageAnswers.size(), 100000u);
}

TEST(GenerateTest, RunningTwiceGivesTheSameResult) {
  std::mt19937 rng(5);
  const Text first = RandomProse(rng, 5000);
  const Text second = RandomProse(rng, 300);

  TestWorkspace fresh;
  const Text expected = GenerateTest(second, fresh);

  // A workspace left by a larger run, then changed as an export changes it,
  // is replaced entirely.
  TestWorkspace reused;
  GenerateTest(first, reused);
  reused.PageAnswers = TextList{U"%61%62"};
  reused.PageSeparators = TextList{U" <BR>"};
  EXPECT_EQ(GenerateTest(second, reused), expected);
  EXPECT_EQ(reused, fresh);
  EXPECT_EQ(GenerateTest(second, reused), expected);
  EXPECT_EQ(reused, fresh);
}

TEST(GenerateTest, SourceMayLiveInTheWorkspace) {
  const Text source = U"First one has words. Second sentence has several words. More here";
  // Each case picks a view into the workspace of a run on `source`.
  const std::function<TextView(const TestWorkspace&)> picks[] = {
      [](const TestWorkspace& ws) { return TextView(ws.RestText); },
      [](const TestWorkspace& ws) { return TextView(ws.RestText).substr(3, 20); },
      [](const TestWorkspace& ws) { return TextView(ws.FirstSentence); },
      [](const TestWorkspace& ws) { return ws.WordList[1]; },
      [](const TestWorkspace& ws) { return ws.PageSeparators[3]; },
  };
  for (const auto& pick : picks) {
    TestWorkspace ws;
    GenerateTest(source, ws);
    const TextView view = pick(ws);
    const Text copy(view);
    TestWorkspace expectedWs;
    const Text expected = GenerateTest(copy, expectedWs);
    SCOPED_TRACE(ToUtf8(copy));
    EXPECT_EQ(GenerateTest(view, ws), expected);
    EXPECT_EQ(ws, expectedWs);
  }
}

TEST(GenerateTest, EmptySourceGivesOneEmptyPair) {
  TestWorkspace ws;
  GenerateTest(U"Something. else here", ws);
  EXPECT_EQ(GenerateTest(U"", ws), U"");
  EXPECT_EQ(ws.FirstSentence, U"");
  EXPECT_EQ(ws.RestText, U"");
  for (const TextList* list : {&ws.WordList, &ws.Separators, &ws.LeftHalves, &ws.RightHalves,
                               &ws.PageLeftHalves, &ws.PageSeparators, &ws.PageRightHalves}) {
    EXPECT_EQ(Vec(*list), Texts{U""});
  }
  EXPECT_TRUE(ws.PageAnswers.empty());
  EXPECT_THROW(ws.PageAnswers.at(0), ListIndexError);
}

}  // namespace
}  // namespace brenvik
