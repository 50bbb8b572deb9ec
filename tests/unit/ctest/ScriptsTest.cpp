// Test generation on real prose in many scripts, checked against ICU's own
// boundaries; the Unicode rules beyond Windows-1252 (sentence terminals,
// separators, dictionary words, grapheme clusters, digits); bad input.

#include <gtest/gtest.h>
#include <unicode/brkiter.h>

#include <memory>
#include <string>
#include <vector>

#include "TestGenSupport.h"
#include "core/ctest/TestGen.h"
#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "core/text/TextFile.h"

namespace brenvik {
namespace {

using testing::Texts;
using testing::Vec;

Text U8(const char8_t* s) { return FromUtf8(reinterpret_cast<const char*>(s)); }

// ICU's boundaries of text (the characters below U+10000, as in every case
// here), by a break iterator of the root locale: the independent reference.
std::vector<std::size_t> IcuBoundaries(TextView text, bool words) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> it(
      words ? icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status)
            : icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  icu::UnicodeString s;
  for (char32_t c : text) s.append(static_cast<UChar>(c));
  it->setText(s);
  std::vector<std::size_t> out;
  for (int32_t b = it->first(); b != icu::BreakIterator::DONE; b = it->next()) out.push_back(b);
  return out;
}

// Every pair against ICU: a halved word keeps the first half of its
// grapheme clusters, its gap shows one "_" per cluster, and a cut between
// two words with no separator is an ICU word boundary.
void ExpectIcuBoundaries(const TestWorkspace& w, const Text& test) {
  Text expected = w.FirstSentence;
  Text run;  // the words joined by empty separators so far
  for (std::size_t k = 0; k < w.Separators.size(); ++k) {
    const Text word(w.WordList[k]);
    const std::vector<std::size_t> clusters = IcuBoundaries(word, false);
    const std::size_t kept = w.LeftHalves[k].size();
    if (!w.RightHalves[k].empty()) {
      EXPECT_EQ(kept, clusters[(clusters.size() - 1) / 2]) << ToUtf8(word);
    }
    expected += Text(w.LeftHalves[k]) + Text(IcuBoundaries(w.RightHalves[k], false).size() - 1, U'_');
    expected += w.Separators[k];
    const std::vector<std::size_t> words = IcuBoundaries(run + word, true);
    if (!run.empty()) {
      EXPECT_NE(std::find(words.begin(), words.end(), run.size()), words.end()) << ToUtf8(word);
    }
    run = w.Separators[k].empty() ? run + word : Text();
  }
  EXPECT_EQ(test, expected);
}

TEST(Scripts, RealProseInSixteenScripts) {
  struct Case {
    const char* file;
    const char8_t* firstSentence;
    std::vector<const char8_t*> words;  // the first five
  };
  const Case cases[] = {
      {"hi", u8"आज सुबह मौसम बहुत सुहावना था। ", {u8"मैं", u8"अपने", u8"दोस्तों", u8"के", u8"साथ"}},
      {"bn", u8"আমাদের গ্রামের পাশে একটি ছোট নদী আছে। ",
       {u8"প্রতিদিন", u8"সকালে", u8"জেলেরা", u8"নৌকা", u8"নিয়ে"}},
      {"ne", u8"नेपाल हिमालयको काखमा रहेको एउटा सुन्दर देश हो। ",
       {u8"यहाँ", u8"संसारको", u8"सबैभन्दा", u8"अग्लो", u8"हिमाल"}},
      {"zh", u8"我们今天去公园玩。", {u8"天气", u8"很好", u8"阳光", u8"明媚", u8"很多"}},
      {"ja", u8"昨日は友達と一緒に京都へ行きました。", {u8"朝", u8"早く", u8"新幹線", u8"に", u8"乗"}},
      {"th", u8"คุณเคยไปตลาดน้ำไหม? ", {u8"ตลาด", u8"น้ำ", u8"ดำเนินสะดวก", u8"อยู่", u8"ไม่"}},
      {"lo", u8"ຂ້ອຍອາໄສຢູ່ນະຄອນຫຼວງວຽງຈັນ. ", {u8"ທຸກ", u8"ໆ", u8"ເຊົ້າ", u8"ຂ້ອຍ", u8"ຂີ່"}},
      {"my", u8"ကျွန်တော်တို့ မနက်ဖြန် ရန်ကုန်ကို သွားမယ်။ ",
       {u8"ရွှေတိဂုံ", u8"ဘုရား", u8"ကို", u8"ဖူး", u8"ချင်"}},
      {"am", u8"አዲስ አበባ የኢትዮጵያ ዋና ከተማ ናት። ", {u8"ከተማዋ", u8"በተራሮች", u8"የተከበበች", u8"ናት", u8"በየቀኑ"}},
      {"hy", u8"Երևանը Հայաստանի մայրաքաղաքն է։ ", {u8"Քաղաքը", u8"շատ", u8"հին", u8"է", u8"և"}},
      {"ur", u8"پاکستان کا دارالحکومت اسلام آباد ہے۔ ", {u8"یہ", u8"شہر", u8"مارگلہ", u8"کی", u8"پہاڑیوں"}},
      {"vi-nfd", u8"Hà Nội là thủ đô của Việt Nam. ", {u8"Mùa", u8"thu", u8"ở", u8"Hà", u8"Nội"}},
      {"yo", u8"Ìlú Èkó jẹ́ ìlú ńlá ní orílẹ̀-èdè Nàìjíríà. ", {u8"Ọ̀pọ̀lọpọ̀", u8"ènìyàn", u8"ń", u8"gbé", u8"ní"}},
      {"ta", u8"சென்னை தமிழ்நாட்டின் தலைநகரம் ஆகும். ",
       {u8"இந்த", u8"நகரம்", u8"வங்காள", u8"விரிகுடா", u8"கடற்கரையில்"}},
      {"fr-nfd", u8"Le marché de Noël s'installe chaque année sur la place de la cathédrale. ",
       {u8"On", u8"y", u8"trouve", u8"des", u8"décorations"}},
      {"ko", u8"서울은 한국의 수도입니다. ", {u8"봄이", u8"되면", u8"공원마다", u8"벚꽃이", u8"활짝"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    // As File > Open reads it: decomposed letters come in composed.
    const Text source = ReadTextFile(std::string(BRENVIK_FIXTURES) + "/scripts/" + c.file + ".txt");
    TestWorkspace w;
    const Text test = GenerateTest(source, w);
    EXPECT_EQ(w.FirstSentence, U8(c.firstSentence));
    Texts words;
    for (const char8_t* word : c.words) words.push_back(U8(word));
    const Texts all = Vec(w.WordList);
    EXPECT_EQ(Texts(all.begin(), all.begin() + 5), words);
    EXPECT_GE(w.PageAnswers.size(), 7u);
    ExpectIcuBoundaries(w, test);
  }
}

// The rules beyond Windows-1252, case by case.
TEST(Scripts, UnicodeRulesBeyondWindows1252) {
  struct Case {
    Text source;
    Text firstSentence;
    Texts words;
    Texts separators;
    Text test;
  };
  const Case cases[] = {
      // Ideographic full stop and space; comma and quotes of CJK separate;
      // adjacent dictionary words have an empty separator.
      {U"开始。\u3000我们今天「去」公园，", U"开始。\u3000", {U"我们", U"今天", U"去", U"公园", U""},
       {U"", U"「", U"」", U"，"}, U"开始。\u3000我们今_「去」公_，"},
      // The no-break space of French typography separates like a space.
      {U"Salut. \u00c7a va\u00a0? Oui\u00a0!", U"Salut. ", {U"\u00c7a", U"va", U"Oui", U""},
       {U" ", U"\u00a0? ", U"\u00a0!"}, U"Salut. \u00c7a v_\u00a0? Oui\u00a0!"},
      // Any decimal digit keeps a word whole; a superscript is no digit.
      {U"A. x \u0e51\u0e52\u0e53 y \uff12\uff10 z a\u00b2b", U"A. ",
       {U"x", U"\u0e51\u0e52\u0e53", U"y", U"\uff12\uff10", U"z", U"a\u00b2b"},
       {U" ", U" ", U" ", U" ", U" ", U""}, U"A. x \u0e51\u0e52\u0e53 y \uff12\uff10 z a__"},
      // A decomposed letter is one letter: halved by clusters, one "_" each.
      {U"A. la cafe\u0301 cre\u0300me", U"A. ", {U"la", U"cafe\u0301", U"cre\u0300me"}, {U" ", U" ", U""},
       U"A. la ca__ cre\u0300me"},
      // Windows-1252 punctuation stays in the word; other Unicode punctuation
      // and the ideographic space separate.
      {U"A. \u00abmot\u00bb \u201cquote\u201d \u2039a\u203a b\u2010c d\u3000e", U"A. ",
       {U"\u00abmot\u00bb", U"\u201cquote\u201d", U"\u2039a\u203a", U"b", U"c", U"d", U"e"},
       {U" ", U" ", U" ", U"\u2010", U" ", U"\u3000", U""},
       U"A. \u00abmot\u00bb \u201cqu____ \u2039a\u203a b\u2010c d\u3000e"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.source));
    TestWorkspace w;
    const Text test = GenerateTest(c.source, w);
    EXPECT_EQ(w.FirstSentence, c.firstSentence);
    EXPECT_EQ(Vec(w.WordList), c.words);
    EXPECT_EQ(Vec(w.Separators), c.separators);
    EXPECT_EQ(test, c.test);
    const WordSegments segments = SegmentWords(w.RestText, "zh");
    EXPECT_EQ(segments.WordList, w.WordList);
  }
}

// A terminal of another script ends the first sentence like the three
// marks, with the 5,000 rule kept; every character of Windows-1252 keeps
// its class.
TEST(Scripts, SentenceEndAndTheWindows1252Classes) {
  const Text danda = U"\u0915\u0916\u0917\u0964";  // कखग।
  const Text longRun(6000, U'\u0915');
  const std::pair<Text, std::size_t> cases[] = {
      {danda + U"\u3000 next", 6},                                  // spaces after it belong to it
      {longRun, 5000},                                              // no terminal: 5,000
      {longRun + U"\u0964 x.", 5000},                               // a late terminal loses to 5,000
      {longRun + U"\u0964 x. y! z?", 6002},                         // all three marks: the earliest
      {U"Hi.\u00a0x", 3},                                           // no-break space: no trail
      {U"x\u203c y", 3},                                            // "‼" is a terminal beyond the code page
  };
  for (const auto& [source, length] : cases) {
    EXPECT_EQ(SplitFirstSentence(source).FirstSentence.size(), length) << ToUtf8(source.substr(0, 20));
  }
  for (unsigned b = 1; b < 256; ++b) {
    const char32_t c = Windows1252ToChar(static_cast<unsigned char>(b));
    const bool separator = SeparatorChars.find(c) != TextView::npos || c == U'\u00a0';
    EXPECT_EQ(SegmentWords(Text(U"ab") + c + U"cd").WordList[0] == U"ab", separator) << b;
    const bool mark = c == U'.' || c == U'!' || c == U'?';
    EXPECT_EQ(SplitFirstSentence(Text(U"ab") + c + U"cd").FirstSentence.size(), mark ? 3u : 5u) << b;
  }
}

// Input that is not ordinary text still gives a result.
TEST(Scripts, BadInputGivesAResult) {
  const std::pair<Text, Texts> cases[] = {  // the source and its deleted parts
      {U"Go. a\xD800b c\xDC00\u0301d e\xDFFF", {U"", U"\xDC00\u0301d", U""}},  // lone surrogates
      {Text(300, U'\u0301'), {U""}},                                            // nothing but marks
      {U"Go. " + Text(300, U'\u0301') + U" ab", {U"", U"b"}},
      {U"Go. a x" + Text(9999, U'\u0301') + U" bc de", {U"", U"", U"", U"e"}},   // a letter of 10,000
      {U"Go. \x110000" U"\u0301 ab cd", {U"", U"b", U""}},                      // past U+10FFFF
  };
  for (const auto& [source, deleted] : cases) {
    TestWorkspace w;
    GenerateTest(source, w);
    EXPECT_EQ(w.FirstSentence + w.RestText, source);
    EXPECT_EQ(Vec(w.RightHalves), deleted);
  }
  // Invalid UTF-8 is read as Windows-1252, as always, and NFC leaves it be.
  const Text latin = DecodeTextFile("caf\xE9 \xFF\xFE na\xEFve");
  EXPECT_EQ(unicode::ToNfc(latin), latin);
  // A tag that is not a tag fails before anything changes.
  TestWorkspace kept;
  GenerateTest(U"One. Two three", kept);
  const TestWorkspace before = kept;
  EXPECT_THROW(GenerateTest(U"Un. deux trois", kept, GenerateOptions{"no tag"}), UnicodeError);
  EXPECT_EQ(kept, before);
}

}  // namespace
}  // namespace brenvik
