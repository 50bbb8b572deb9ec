// The Moodle quiz read back as Moodle reads it: every answer and every
// character of the text must come back, whatever the text holds.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "QuizReader.h"
#include "core/ctest/TestGen.h"
#include "core/page/ClassicPage.h"
#include "core/page/MoodleXml.h"
#include "core/page/Worksheet.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

using test::ClozeQuestion;
using test::Marks;
using test::MoodleName;
using test::PhpTrim;
using test::ReadCloze;
using test::XmlNode;
using test::XmlReader;

struct ReadBack {
  std::vector<Text> names;
  std::vector<ClozeQuestion> questions;
};

ReadBack Read(const std::string& xml) {
  const XmlNode quiz = XmlReader(xml).document();
  EXPECT_EQ(quiz.name, "quiz");
  ReadBack back;
  for (const XmlNode& q : quiz.children) {
    EXPECT_EQ(q.name, "question");
    EXPECT_EQ(q.attributes.at("type"), "cloze");
    back.names.push_back(MoodleName(PhpTrim(FromUtf8(q.child("name").child("text").text))));
    const XmlNode& text = q.child("questiontext");
    EXPECT_EQ(text.attributes.at("format"), "html");
    back.questions.push_back(ReadCloze(FromUtf8(text.child("text").text)));
  }
  return back;
}

// The text as the pupil should read it in Moodle: the test with each gap as
// U+FFFC, line breaks as CR LF, no-break spaces as spaces (runs of spaces
// are written with them), characters XML cannot hold as U+FFFD.
Text ExpectedText(const TestWorkspace& w) {
  Text out;
  const Worksheet sheet = BuildWorksheet(w, {});
  for (const WorksheetPiece& p : sheet.Test) {
    switch (p.PieceKind) {
      case WorksheetPiece::Kind::Plain: out += p.Characters; break;
      case WorksheetPiece::Kind::Gap: out += U'\uFFFC'; break;
      case WorksheetPiece::Kind::LineBreak: out += U"\r\n"; break;
    }
  }
  for (char32_t& c : out) {
    if (c == U'\u00A0') c = U' ';
    if ((c < 0x20 && c != U'\t' && c != U'\r' && c != U'\n') || c == 0xFFFE || c == 0xFFFF) c = kReplacementChar;
  }
  return out;
}

Text Spaced(Text s) {
  for (char32_t& c : s) {
    if (c == U'\u00A0') c = U' ';
  }
  return s;
}

// Checks one text: every gap an exact, case-sensitive short answer that
// Moodle reads back as the deleted part and marks right when the pupil types
// that part, unless a warning names that gap.
void CheckRoundTrip(TextView source) {
  SCOPED_TRACE(ToUtf8(source));
  TestWorkspace w;
  GenerateTest(source, w);
  ExportSettings settings;
  settings.Title = U"Quiz";
  const MoodleXmlResult quiz = BuildMoodleXml(w, settings);
  const ReadBack back = Read(quiz.Xml);
  ASSERT_EQ(back.questions.size(), 1u);
  EXPECT_EQ(back.names[0], U"Quiz");
  const ClozeQuestion& q = back.questions[0];
  EXPECT_EQ(ToUtf8(Spaced(q.text)), ToUtf8(ExpectedText(w)));

  std::vector<Text> answers;
  for (TextView a : w.RightHalves) {
    if (!a.empty()) answers.push_back(Text(a));
  }
  ASSERT_EQ(q.gaps.size(), answers.size());
  std::size_t warned = 0;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    const test::ClozeGap& g = q.gaps[i];
    EXPECT_EQ(g.grade, "1");
    EXPECT_EQ(g.type, "SHORTANSWER_C");
    EXPECT_TRUE(g.right);
    EXPECT_EQ(g.alternatives, 1);
    EXPECT_FALSE(g.wildcard) << ToUtf8(answers[i]);
    const std::string problem = moodle::AnswerProblem(answers[i]);
    if (problem.empty()) {
      EXPECT_EQ(ToUtf8(g.literal), ToUtf8(answers[i])) << "gap " << i + 1;
      EXPECT_TRUE(Marks(g, answers[i])) << "gap " << i + 1;
    } else {
      ++warned;
      const std::string label = "gap " + std::to_string(i + 1) + " (";
      bool named = false;
      for (const std::string& warning : quiz.Warnings) named = named || warning.rfind(label, 0) == 0;
      EXPECT_TRUE(named) << label;
    }
  }
  std::size_t gapWarnings = 0;
  for (const std::string& warning : quiz.Warnings) gapWarnings += warning.rfind("gap ", 0) == 0;
  EXPECT_EQ(gapWarnings, warned);
}

TEST(MoodleXml, WorkedExampleDocument) {
  TestWorkspace w;
  GenerateTest(U"This is a test. The cat sat on the mat.", w);
  const MoodleXmlResult quiz = BuildMoodleXml(w, ExportSettings{});
  EXPECT_TRUE(quiz.Warnings.empty());
  EXPECT_EQ(quiz.Xml,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<quiz>\n"
            "  <question type=\"cloze\">\n"
            "    <name>\n"
            "      <text><![CDATA[C-Test]]></text>\n"
            "    </name>\n"
            "    <questiontext format=\"html\">\n"
            "      <text><![CDATA[This is a test. The c{1:SHORTANSWER_C:=at} sat o{1:SHORTANSWER_C:=n} the "
            "m{1:SHORTANSWER_C:=at}.]]></text>\n"
            "    </questiontext>\n"
            "    <generalfeedback format=\"html\">\n"
            "      <text></text>\n"
            "    </generalfeedback>\n"
            "    <penalty>0.3333333</penalty>\n"
            "    <hidden>0</hidden>\n"
            "  </question>\n"
            "</quiz>\n");
}

TEST(MoodleXml, HostileTextsComeBackWhole) {
  const TextView texts[] = {
      U"C# is fun. Use C# and F# now, or C## and x#y.",
      U"Braces. Write {1:SHORTANSWER:=x} and a}b and a{b here",
      U"Tildes. Here a~b and ~~ and x~ today",
      U"Slashes. Here a\\b and ab\\ and \\\\ and a\\\\}b end",
      U"Markup. <b>bold</b> &amp; &lt; &#35; &#x7D; abc&#35 end",
      U"CDATA. A ]]> B ]]]]> C x]]>y ab]] ]]> done",
      U"Quotes. \"double\" 'single' \u201Ccurly\u201D \u00ABguillemets\u00BB here",
      U"Stars. a*b ab* *** x\\*y and %50% =x= done",
      U"Spaces.   three  two\r\n  indented line\r\n\r\nafter blank",
      U"Lone ends. one\rtwo three\nfour five",
      U"Controls. a\x01" "bc de\x1F" "fg hi\x7Fjk end",
      U"Backslashes. ab\\} cd\\# ef\\\\} gh\\#} ij\\}\\# kl\\\\\\# mn\\*} op&#127; qr\x7F\x7F end",
      U"Entities. ab&#92;&#125; cd&amp;#35; ef\\&#35; gh&#x7F; ij\u0085\uFDD0 end",
      U"Dollars. $$x^2$$ and \\(y\\) done",
  };
  for (TextView t : texts) CheckRoundTrip(t);
}

// Random texts in many scripts, with the characters Moodle's grammar, HTML
// and XML give a meaning mixed into the words.
TEST(MoodleXml, GeneratedTextsInManyScriptsComeBackWhole) {
  const std::vector<Text> alphabets = {
      U"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ\u00E9\u00E8\u00E0\u00FC\u00F6\u00DF\u00E7",
      U"a\u0105bc\u0107de\u0119fghijkl\u0142mn\u0144o\u00F3prs\u015Btuwyz\u017A\u017C\u0141\u017B",
      U"\u0430\u0431\u0432\u0433\u0434\u0435\u0436\u0437\u0438\u0439\u043A\u043B\u043C\u043D\u043E\u043F\u0440\u0441"
      U"\u0442\u0443\u0444\u0445\u0446\u0447\u0448\u0449\u044A\u044B\u044C\u044D\u044E\u044F\u0401",
      U"\u03B1\u03B2\u03B3\u03B4\u03B5\u03B6\u03B7\u03B8\u03B9\u03BA\u03BB\u03BC\u03BD\u03BE\u03BF\u03C0\u03C1\u03C3"
      U"\u03C2\u03C4\u03C5\u03C6\u03C7\u03C8\u03C9\u03AC\u03AD",
      U"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5\u05D6\u05D7\u05D8\u05D9\u05DB\u05DA\u05DC\u05DE\u05DD\u05E0\u05DF\u05E1"
      U"\u05E2\u05E4\u05E3\u05E6\u05E5\u05E7\u05E8\u05E9\u05EA",
      U"\u0627\u0628\u062A\u062B\u062C\u062D\u062E\u062F\u0630\u0631\u0632\u0633\u0634\u0635\u0636\u0637\u0638\u0639",
      U"\u4E2D\u6587\u5B57\u8BCD\u8BED\u6D4B\u8BD5\u3042\u3044\u3046\u3048\u304A\uAC00\uB098\uB2E4",
      U"\U0001F600\U0001F680\U0001D49C\u0301e\u0308\u200D\uFE0F",
      U"}#~\\&<>\"*=%{]$;()[]_+`^|@",
  };
  const TextView separators[] = {U" ", U" ", U" ", U", ", U". ", U"! ", U"? ", U"; ", U": ", U" - ",
                                 U" / ", U" \"", U"' ", U"\r\n", U"\r\n\r\n", U"  "};
  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    const Text& letters = alphabets[round % alphabets.size()];
    const Text& hostile = alphabets.back();
    Text source = U"First sentence. ";
    const int words = 1 + static_cast<int>(random() % 40);
    for (int k = 0; k < words; ++k) {
      const int length = 1 + static_cast<int>(random() % 9);
      for (int c = 0; c < length; ++c) {
        const bool odd = random() % 6 == 0;
        const Text& from = odd ? hostile : letters;
        source += from[random() % from.size()];
      }
      source += separators[random() % std::size(separators)];
    }
    TestWorkspace w;
    GenerateTest(source, w);
    bool anyGap = false;
    for (TextView a : w.RightHalves) anyGap = anyGap || !a.empty();
    if (anyGap) CheckRoundTrip(source);
  }
}

// Answers Moodle reads in its own way: each one is read back and marked as
// written, without a warning, or named in a warning.
// Answers Moodle reads in its own way: each one is read back and marked as
// written, without a warning, or named in a warning.
TEST(MoodleXml, AnswersMoodleReadsItsOwnWayAreCarriedOrNamedInWarnings) {
  struct Case {
    Text answer;
    std::string warningStart;  // "" when Moodle reads the answer as written
    bool marked;               // typing the answer gets the mark
  };
  const std::string longLabel = "gap 1 (\"a" + std::string(59, 'x') + "\u2026\"): the answer is ";
  const std::string emojiLabel = "gap 1 (\"a" + ToUtf8(Text(59, U'\U0001F600')) + "\u2026\"): the answer is ";
  const Case cases[] = {
      {U"b\\}x", "", true},  // Moodle drops one backslash before "}" and "#"
      {U"b\\#x", "", true},
      {U"b\\\\}", "", true},
      {U"b\\#}\\}#", "", true},
      {U"b\\*", "", true},  // "\*" is a literal asterisk
      {U"b*\\*\\\\*", "", true},
      {U"b\x7F", "", true},  // a reference to DEL would be stored as six characters
      {U"b&#127;", "", true},
      {U"b\u0085\uFDD0", "", true},
      {U"b\x02z", "gap 1 (\"ab\x02z\"): the answer holds a control character", false},
      {Text(29999, U'x'), "", true},
      {Text(32763, U'x'), longLabel + "32,763 characters long, too long for Moodle to mark", true},
      {Text(32764, U'x'), longLabel + "32,764 characters long, too long for Moodle to mark", false},
      {Text(11999, U'\U0001F600'), "", true},
      {Text(13106, U'\U0001F600'), emojiLabel + "13,106 characters long", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.answer.substr(0, 20)));
    // "One. x ab...": the second word's gap holds the answer.
    TestWorkspace w;
    w.FirstSentence = U"One. ";
    w.LeftHalves = {U"x", U"a"};
    w.RightHalves = {U"", c.answer};
    w.Separators = {U" ", U""};
    const MoodleXmlResult quiz = BuildMoodleXml(w, {});
    const ClozeQuestion q = Read(quiz.Xml).questions.at(0);
    ASSERT_EQ(q.gaps.size(), 1u);
    EXPECT_EQ(Marks(q.gaps[0], c.answer), c.marked);
    EXPECT_EQ(moodle::AnswerProblem(c.answer).empty(), c.warningStart.empty());
    if (c.warningStart.empty()) {
      EXPECT_TRUE(quiz.Warnings.empty()) << quiz.Warnings.at(0);
      EXPECT_EQ(ToUtf8(q.gaps[0].literal), ToUtf8(c.answer));
    } else {
      ASSERT_EQ(quiz.Warnings.size(), 1u);
      EXPECT_EQ(quiz.Warnings[0].rfind(c.warningStart, 0), 0u) << quiz.Warnings[0];
    }
  }
}

TEST(MoodleXml, SameQuizBeforeAndAfterAClassicExport) {
  TestWorkspace w;
  GenerateTest(U"Line one.\r\nThe cat sat\r\non the mat and ate its dinner.\r\nBye now", w);
  const MoodleXmlResult before = BuildMoodleXml(w, {});
  (void)BuildTestPage(w, {});  // rewrites PageAnswers and PageSeparators in place
  EXPECT_NE(w.PageSeparators, w.Separators);
  const MoodleXmlResult after = BuildMoodleXml(w, {});
  EXPECT_EQ(after.Xml, before.Xml);
  EXPECT_NE(after.Xml.find("sat<br>o{1:SHORTANSWER_C:=n}"), std::string::npos) << after.Xml;
}

TEST(MoodleXml, TextWithoutGapIsRefusedWithTheListError) {
  for (TextView source : {U"", U"Hello world.", U"One. a 42 b 7"}) {
    TestWorkspace w;
    GenerateTest(source, w);
    try {
      (void)BuildMoodleXml(w, {});
      ADD_FAILURE() << "no error for " << ToUtf8(source);
    } catch (const ListIndexError& e) {
      EXPECT_EQ(e.index(), -1);
    }
    MoodleQuizWriter writer;
    EXPECT_THROW(writer.addQuestion(U"x", w), ListIndexError);
    EXPECT_EQ(writer.questions(), 0u);
    EXPECT_EQ(writer.finish(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n</quiz>\n");
  }
}

TEST(MoodleXml, QuestionNames) {
  TestWorkspace w;
  GenerateTest(U"This is a test. The cat sat on the mat.", w);
  const Text longName(300, U'\u017C');
  struct Case {
    Text name;
    Text kept;             // the name Moodle keeps
    std::string warning;   // "" for none
  };
  const Case cases[] = {
      {U"Unit 3 <Reading> & \"more\" ]]>", U"Unit 3  & \"more\" ]]>", ""},
      {U"x & & y", U"x & & y", ""},
      {U"a < b > c", U"a < b > c", ""},
      {U"   ", U"C-Test", ""},
      {U"  padded\r\n", U"padded", ""},
      {U"two\nlines\tand a tab", U"two lines and a tab", ""},
      {longName, longName.substr(0, 255), ""},
      {U"be\x07ll", U"be\uFFFDll", ""},
      {U"<img src=x>", U"Text 9",
       "the name \"<img src=x>\" would be empty in Moodle, which removes anything that looks like an HTML tag "
       "from names; the question is named \"Text 9\""},
      {U" <b>  </b> <!-- \"x\" --> ", U"Text 10", "the name \"<b>  </b> <!-- \"x\" -->\" would be empty"},
      {U"<a title=\"x>y\"", U"Text 11", "the name \"<a title=\"x>y\"\" would be empty"},
  };
  MoodleQuizWriter writer;
  for (const Case& c : cases) writer.addQuestion(c.name, w);
  const std::vector<std::string> warnings = writer.warnings();
  const ReadBack back = Read(writer.finish());
  ASSERT_EQ(back.names.size(), std::size(cases));
  std::size_t warned = 0;
  for (std::size_t i = 0; i < back.names.size(); ++i) {
    EXPECT_EQ(ToUtf8(back.names[i]), ToUtf8(cases[i].kept));
    if (cases[i].warning.empty()) continue;
    ASSERT_LT(warned, warnings.size());
    EXPECT_EQ(warnings[warned].rfind(cases[i].warning, 0), 0u) << warnings[warned];
    ++warned;
  }
  EXPECT_EQ(warned, warnings.size());
}

// Names as PHP's strip_tags leaves them, which Moodle's import applies to
// every question name (the expected names were checked with PHP 8.2).
TEST(MoodleXml, KeptNameStripsTagsAsMoodleDoes) {
  const std::pair<Text, Text> cases[] = {
      {U"<img src=x>", U""},
      {U"a<b>c</b>d", U"acd"},
      {U"a < b", U"a < b"},
      {U"a <b", U"a"},
      {U"x > y", U"x > y"},
      {U"<a href=\"x>y\">t</a>", U"t"},
      {U"<a <b> c> d", U"d"},
      {U"a<!-- x > y -->b", U"ab"},
      {U"a<!DOCTYPE x>b", U"ab"},
      {U"a<?php echo '?>'; ?>b", U"ab"},
      {U"a<?xml x ?>b", U"ab"},
      {U"'<x>'", U"''"},
      {U"\t <p> \u00A0 </p> \n", U"\u00A0"},
      {U"<\u00E9t\u00E9>", U""},
  };
  for (const auto& [name, kept] : cases) EXPECT_EQ(ToUtf8(moodle::KeptName(name)), ToUtf8(kept)) << ToUtf8(name);
}

// A text of a test: one question per text in the test's category, each gap
// right with its deleted part and every further answer, with full marks,
// in either letter case only when the test ignores it.
TEST(MoodleQuizWriter, TextsOfATestCarryTheirFurtherAnswersAndMatching) {
  struct Case {
    bool ignoreCase;
    std::vector<std::vector<Text>> accepted;  // per gap of the second text
    const char* typeWanted;
  };
  const std::vector<Case> cases = {
      {false, {{U"em"}, {}}, "SHORTANSWER_C"},
      {true, {{U"em", U"x}y"}, {U"a~b"}}, "SHORTANSWER"},
      {true, {}, "SHORTANSWER"},
  };
  for (const Case& c : cases) {
    TestWorkspace first;
    TestWorkspace second;
    GenerateTest(U"One. Then we went home at noon.", first);
    GenerateTest(U"Two. Then we went home at noon.", second);
    std::vector<Text> deleted;
    for (TextView r : second.RightHalves) {
      if (!r.empty()) deleted.emplace_back(r);
    }
    const page::PageText a{U"A/B", &first, nullptr};
    const page::PageText b{U"Second", &second, &c.accepted};
    MoodleQuizWriter quiz;
    quiz.addQuestion(a.Title, first, &a, c.ignoreCase);
    quiz.addQuestion(b.Title, second, &b, c.ignoreCase);
    quiz.setCategory(U"Form / A");
    const XmlNode doc = XmlReader(quiz.finish()).document();
    ASSERT_EQ(doc.children.size(), 3u);
    EXPECT_EQ(doc.children[0].attributes.at("type"), "category");
    EXPECT_EQ(doc.children[0].child("category").child("text").text, "$course$/Form // A");
    EXPECT_EQ(MoodleName(FromUtf8(doc.children[1].child("name").child("text").text)), U"A/B");
    const ClozeQuestion q = ReadCloze(FromUtf8(doc.children[2].child("questiontext").child("text").text));
    ASSERT_EQ(q.gaps.size(), deleted.size());
    ASSERT_GE(deleted.size(), 2u);
    for (std::size_t g = 0; g < q.gaps.size(); ++g) {
      EXPECT_EQ(q.gaps[g].type, c.typeWanted);
      std::vector<Text> rights = {deleted[g]};
      if (g < c.accepted.size()) rights.insert(rights.end(), c.accepted[g].begin(), c.accepted[g].end());
      EXPECT_EQ(q.gaps[g].rightAnswers, rights);
      EXPECT_EQ(q.gaps[g].alternatives, static_cast<int>(rights.size()));
    }
  }
}

}  // namespace
}  // namespace brenvik
