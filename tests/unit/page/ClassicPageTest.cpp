// The exported page, piece by piece: markup, style sheet, script and the
// preparation of the workspace lists.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/page/ClassicPage.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"
#include "core/ctest/TestGen.h"

namespace brenvik {
namespace {

const Text kCatText = U"This is a test. The cat sat on the mat.";

struct Built {
  TestWorkspace workspace;
  Text page;
};

Built Build(TextView source, const ExportSettings& settings = {}) {
  Built b;
  GenerateTest(source, b.workspace);
  b.page = BuildTestPage(b.workspace, settings);
  return b;
}

// The text between the first `from` and the next `to` after it.
std::string Between(const Text& page, TextView from, TextView to) {
  const std::size_t start = page.find(from);
  if (start == Text::npos) return "<no " + ToUtf8(from) + ">";
  const std::size_t begin = start + from.size();
  const std::size_t end = page.find(to, begin);
  if (end == Text::npos) return "<no " + ToUtf8(to) + ">";
  return ToUtf8(page.substr(begin, end - begin));
}

std::string WordsLine(const Text& page) { return Between(page, U"var Words = [", U"]\r\n"); }

bool Has(const Text& page, TextView piece) { return page.find(piece) != Text::npos; }

ExportSettings Variant(int mode, int showAnswers, int timer = 0) {
  ExportSettings s;
  s.TestMode = static_cast<PageVariant>(mode);
  s.ShowAnswersFlag = showAnswers != 0;
  s.TimerFlag = timer != 0;
  return s;
}

TEST(PageWriter, WorkedExampleParagraphAndAnswers) {
  const Built b = Build(kCatText);
  EXPECT_EQ(Between(b.page, U"<P>", U"\r\n</P>"),
            "This is a test.  The  c <INPUT class=boxes size=5 name=0>   sat  o <INPUT class=boxes size=5 "
            "name=1>   the  m <INPUT class=boxes size=5 name=2> . ");
  EXPECT_TRUE(Has(b.page, U"var Words = [unescape('%61%74'), unescape('%6E'), unescape('%61%74'), ]\r\n"
                          U"function ClearForm(){"));
  EXPECT_EQ(b.workspace.PageAnswers, (TextList{U"%61%74", U"%6E", U"%61%74"}));
  // The page starts and ends exactly as a browser expects, no line end after </HTML>.
  EXPECT_EQ(b.page.substr(0, 22), U"<!DOCTYPE HTML PUBLIC ");
  EXPECT_TRUE(b.page.ends_with(U"</P>\r\n</FORM>\r\n</BODY>\r\n</HTML>"));
  EXPECT_TRUE(Has(b.page, U"<P align=center>Made with Brenvik by Halvorsk, 2026</P>"));
}

TEST(PageWriter, TimerWritesTwelveSecondsPerGap) {
  struct Case {
    Text source;
    std::string limit;
  };
  const std::vector<Case> cases = {
      {kCatText, "36000"},
      {U"Hi! How are you?", "12000"},
      {U"Go. aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz aa bb cc dd "
       U"ee ff gg hh ii jj kk ll mm nn",
       "240000"},
  };
  for (const Case& c : cases) {
    const Built b = Build(c.source, Variant(1, 0, 1));
    EXPECT_EQ(Between(b.page, U"<BODY class=special onLoad=\"ClearForm(); setTimeout('CheckAnswer()',", U")\">"),
              c.limit);
    EXPECT_TRUE(Has(b.page, U"000)\"><FORM name=cloze>\r\n")) << "the form follows the BODY tag on its line";
    EXPECT_FALSE(Has(b.page, U"onLoad=\"ClearForm()\">"));
  }
  const Built plain = Build(kCatText, Variant(1, 0, 0));
  EXPECT_TRUE(Has(plain.page, U"</HEAD>\r\n<BODY class=special onLoad=\"ClearForm()\">\r\n<FORM name=cloze>"));
  EXPECT_FALSE(Has(plain.page, U"setTimeout"));
}

TEST(PageWriter, VariantsWriteTheirPieces) {
  struct Case {
    int mode, showAnswers;
    bool scoreLine, feedback, showButton, cheatCheck;
  };
  const std::vector<Case> cases = {
      {1, 0, true, false, false, false},
      {1, 1, true, false, false, true},
      {2, 0, false, true, false, false},
      {2, 1, false, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "TestMode " << c.mode << " ShowAnswersFlag " << c.showAnswers);
    const Text page = Build(kCatText, Variant(c.mode, c.showAnswers)).page;
    EXPECT_EQ(Has(page, U"var ISWrong = 0 \r\nvar c = 0 \r\nvar Words = ["), c.showAnswers == 1);
    EXPECT_EQ(Has(page, U" ]\r\nfunction ShowAnswers(){\r\nc=1\r\n"), c.showAnswers == 1);
    EXPECT_EQ(Has(page, U"document.cloze.elements[x].value = Words[x];}\r\n}function ClearForm(){"),
              c.showAnswers == 1);
    EXPECT_EQ(Has(page, U"'';}\r\n }document.clear();\r\ndocument.writeln(\"<CENTER><FONT FACE=Arial "
                        U"color=#000000> You scored \" + ISRight + \" out of a possible \" + "
                        U"(ISRight+ISWrong) + \"</FONT></CENTER>\");"),
              c.scoreLine);
    EXPECT_EQ(Has(page, U"'';}\r\n }if (ISWrong > 0){Feedback = \"Some of your answers are wrong.\";\r\n"
                        U"buttonform.score.value =ISRight;\r\n}\r\nelse {\r\nFeedback = \"All correct! Well "
                        U"done.\";\r\n buttonform.score.value =ISRight;\r\n\t}"),
              c.feedback);
    EXPECT_EQ(Has(page, U"WriteFeedback(Feedback)}\r\nfunction TrimString"), c.feedback);
    EXPECT_EQ(Has(page, U"\r\nif (c > 0) {Feedback = \"No cheating!\";\r\nbuttonform.score.value = "
                        U"\"naughty!\";}"),
              c.cheatCheck);
    EXPECT_TRUE(Has(page, U"function WriteFeedback(Feedback) {\r\nbuttonform.feedback.value =Feedback;\r\n}\r\n"
                          U"</SCRIPT>"));
    EXPECT_EQ(Between(page, U"<FORM name=buttonform>", U"</P>\r\n<P align=center>Made"),
              std::string("\r\n<P align=center><INPUT class=button onclick=CheckAnswer() type=button "
                          "value=\"Submit Test\"> ") +
                  (c.feedback ? "<INPUT class=boxes size=60 name=feedback> <B>Score</B> : <INPUT class=boxes "
                                "name=score>"
                              : "") +
                  (c.showButton ? " <input class=button type=button onclick=ShowAnswers() value=\"Show "
                                  "Answers\">"
                                : ""));
  }
}

TEST(PageWriter, InitialSettingsStyleSheet) {
  const Text page = Build(kCatText).page;
  EXPECT_EQ(Between(page, U"</SCRIPT>", U"<BODY"),
            "\r\n  <STYLE type=text/css>.special {\r\n"
            "FONT-WEIGHT: normal; FONT-SIZE:14px; WORD-SPACING: normal; COLOR:#000000; FONT-STYLE: normal; "
            "FONT-FAMILY:Arial; WHITE-SPACE: pre; LETTER-SPACING: normal; BACKGROUND-COLOR: #FFFFFF; "
            "TEXT-ALIGN: justify; TEXT-DECORATION: none }\r\n"
            ".boxes { FONT-WEIGHT: bold; CLIP: rect(1px 1px 1px 1px); COLOR:#FFFFFF; BORDER-TOP-STYLE: none; "
            "FONT-FAMILY:Arial; BORDER-RIGHT-STYLE: none; BORDER-LEFT-STYLE: none; BACKGROUND-COLOR:#000000; "
            "TEXT-DECORATION: none; BORDER-BOTTOM-STYLE: none }\r\n"
            ".button {FONT-WEIGHT: normal; COLOR:#FFFFFF; FONT-FAMILY:Arial; BACKGROUND-COLOR:#000000}\r\n"
            "</STYLE>\r\n </HEAD>\r\n");
  EXPECT_EQ(Between(page, U"<FORM name=cloze>", U"<P>"),
            "\r\n <CENTER>\r\n <TABLE cellSpacing=0 cellPadding=0 width=\"90%\" border=0>\r\n <TBODY> <TR>\r\n"
            "<TD bgColor=#000000>\r\n <FONT color=#FFFFFF> <H2 align=center>C-Test</H2></FONT></TD></TR>\r\n"
            " <TR>\r\n<TD bgColor=#FFFFFF>\r\n<FONT size=3 color=#000000><B><I>Complete the gaps in the "
            "following text : </I></B></FONT>\r\n</TD></TR>\r\n</TBODY>\r\n</TABLE>\r\n</CENTER>\r\n"
            " <BLOCKQUOTE>\r\n");
}

TEST(PageWriter, ChangedSettingsReachEveryPlace) {
  ExportSettings s;
  s.Title = U"Unit 4: Animals";
  s.FontName = U"Times New Roman";
  s.TextSize = U"18";
  s.PageBackground = U"#FFFFCC";
  s.PageTextColour = U"#003366";
  s.AnswerBoxColour = U"#336699";
  s.AnswerTextColour = U"#FFFF00";
  const Text page = Build(kCatText, s).page;
  EXPECT_TRUE(Has(page, U"FONT-SIZE:18px; WORD-SPACING: normal; COLOR:#003366; FONT-STYLE: normal; "
                        U"FONT-FAMILY:Times New Roman; WHITE-SPACE: pre; LETTER-SPACING: normal; "
                        U"BACKGROUND-COLOR: #FFFFCC;"));
  EXPECT_TRUE(Has(page, U"CLIP: rect(1px 1px 1px 1px); COLOR:#FFFF00; BORDER-TOP-STYLE: none; FONT-FAMILY:Times "
                        U"New Roman; BORDER-RIGHT-STYLE: none; BORDER-LEFT-STYLE: none; BACKGROUND-COLOR:#336699;"));
  EXPECT_TRUE(Has(page, U".button {FONT-WEIGHT: normal; COLOR:#FFFFCC; FONT-FAMILY:Times New Roman; "
                        U"BACKGROUND-COLOR:#003366}"));
  EXPECT_TRUE(Has(page, U"<TD bgColor=#336699>\r\n <FONT color=#FFFF00> <H2 align=center>Unit 4: "
                        U"Animals</H2>"));
  EXPECT_TRUE(Has(page, U"<TD bgColor=#FFFFCC>\r\n<FONT size=3 color=#003366><B><I>Complete"));
  EXPECT_TRUE(Has(page, U"<FONT FACE=Times New Roman color=#003366> You scored "));
  EXPECT_TRUE(Has(page, U"<TITLE>C-test</TITLE>")) << "the document title never changes";
}

TEST(PageWriter, SecondExportGivesTheSamePage) {
  Built b = Build(U"Start here.\r\n\r\nThe cat, the dog.\r\nA fé WORLD 100% pure\r\n\r\nend a\\b c%d.");
  const TestWorkspace afterFirst = b.workspace;
  const Text second = BuildTestPage(b.workspace, {});
  EXPECT_EQ(second, b.page);
  EXPECT_EQ(b.workspace, afterFirst);
  // A new Process restores the lists the export rewrote.
  TestWorkspace fresh;
  GenerateTest(U"Start here.\r\n\r\nThe cat, the dog.\r\nA fé WORLD 100% pure\r\n\r\nend a\\b c%d.", fresh);
  EXPECT_NE(fresh.PageAnswers, afterFirst.PageAnswers);
  EXPECT_EQ(BuildTestPage(fresh, {}), b.page);
}

TEST(PageWriter, LineBreaksInSeparatorsBecomeBR) {
  const Built b = Build(U"Title.\r\nOne two.\r\n\r\nThree four");
  // The first sentence keeps its CR LF; separator runs mark theirs.
  EXPECT_EQ(Between(b.page, U"<P>", U"\r\n</P>"),
            "Title.\r\n One  t <INPUT class=boxes size=5 name=0> .<BR><BR> Three  fo <INPUT class=boxes size=5 "
            "name=1>  ");
  EXPECT_EQ(b.workspace.PageSeparators, (TextList{U" ", U".<BR><BR>", U" ", U""}));

  // A lone CR or LF is not a line break mark.
  TestWorkspace w;
  w.FirstSentence = U"A. ";
  w.PageLeftHalves = {U"x", U"y"};
  w.PageRightHalves = {U"yz", U""};
  w.PageSeparators = {U"\r \n\r\r\n", U"\n"};
  w.PageAnswers = {U"yz"};
  BuildTestPage(w, {});
  EXPECT_EQ(w.PageSeparators, (TextList{U"\r \n\r<BR>", U"\n"}));
}

TEST(PageWriter, OnlyLowerCaseLettersAreEscaped) {
  struct Case {
    Text source;
    TextList prepared;
    std::string words;
  };
  const std::vector<Case> cases = {
      {U"Hi. Le café.", {U"%66é"}, "unescape('%66\xC3\xA9'), "},
      {U"Hi. THE WORLD.", {U"RLD"}, "unescape('RLD'), "},
      {U"Hi. a Mixed b CaSe.", {U"%78%65%64", U"S%65"}, "unescape('%78%65%64'), unescape('S%65'), "},
      {U"Hi. a the(x) b [yes]", {U"(%78)", U"%65%73]"}, "unescape('(%78)'), unescape('%65%73]'), "},
      {U"Hi. x abcdefghijklmnopqrstuvwxyzzyxwvutsrqponmlkjihgfedcba",
       {U"%7A%79%78%77%76%75%74%73%72%71%70%6F%6E%6D%6C%6B%6A%69%68%67%66%65%64%63%62%61"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.source));
    const Built b = Build(c.source);
    EXPECT_EQ(b.workspace.PageAnswers, c.prepared);
    if (!c.words.empty()) {
      EXPECT_EQ(WordsLine(b.page), c.words);
    }
  }
}

TEST(PageWriter, NoAnswerStopsWithListIndexErrorAfterPreparingTheLists) {
  // Process never run.
  TestWorkspace empty;
  try {
    BuildTestPage(empty, {});
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), -1);
    EXPECT_STREQ(e.what(), "Indice de liste hors limites (-1)");
  }
  // One sentence only, and a text in which no word lost a part.
  for (const Text& source : {Text(U"Hello world."), Text(U"One. a 42 b 7")}) {
    TestWorkspace w;
    GenerateTest(source, w);
    EXPECT_THROW(BuildTestPage(w, {}), ListIndexError) << ToUtf8(source);
  }
  // The lists stay prepared: empty answers gone, line breaks marked.
  TestWorkspace w;
  w.PageLeftHalves = {U"a"};
  w.PageRightHalves = {U""};
  w.PageSeparators = {U".\r\n"};
  w.PageAnswers = {U"", U""};
  EXPECT_THROW(BuildTestPage(w, {}), ListIndexError);
  EXPECT_TRUE(w.PageAnswers.empty());
  EXPECT_EQ(w.PageSeparators, (TextList{U".<BR>"}));
}

TEST(PageWriter, TeacherTextIsShownAsWrittenNotReadAsMarkup) {
  ExportSettings s;
  s.Title = U"<b>Q&A</b>";
  const Built b = Build(U"Use <i> & </i> here. Tom said a<b>c dd>e x&y q<&r", s);
  EXPECT_TRUE(Has(b.page, U"<H2 align=center>&lt;b&gt;Q&amp;A&lt;/b&gt;</H2>"));
  EXPECT_EQ(Between(b.page, U"<P>", U"\r\n</P>"),
            "Use &lt;i&gt; &amp; &lt;/i&gt; here.  Tom  sa <INPUT class=boxes size=5 name=0>   a&lt;b&gt;c  "
            "dd <INPUT class=boxes size=5 name=1>   x&amp;y  q&lt; <INPUT class=boxes size=5 name=2>  ");
  EXPECT_EQ(WordsLine(b.page), "unescape('%69%64'), unescape('>%65'), unescape('&%72'), ");
}

TEST(PageWriter, SettingsCannotBreakTheStyleSheetOrScript) {
  struct Case {
    Text font, size;
    std::string font_out, size_out;
  };
  const std::vector<Case> cases = {
      {U"Arial", U"14", "Arial", "14"},
      {U"Georgia, serif", U"1.2em", "Georgia, serif", "1.2em"},
      {U"Comic Sans MS", U"120%", "Comic Sans MS", "120%"},
      {U"Ar\"ial\\", U"14;}", "Arial", "14"},
      {U"x}</SCRIPT><script>alert(1)</script>", U"14px; } body { color: red", "xSCRIPTscriptalert1script",
       "14px  body  color red"},
      {U"O'Brien /* (x) [y]", U"1\r\n4", "OBrien  x y", "14"},
      {U"Fira\u2028Sans\tMono", U"\u0661\u0664", "FiraSansMono", "\xD9\xA1\xD9\xA4"},
  };
  for (const Case& c : cases) {
    ExportSettings s;
    s.FontName = c.font;
    s.TextSize = c.size;
    const Text page = Build(kCatText, s).page;
    SCOPED_TRACE(ToUtf8(c.font));
    EXPECT_EQ(Between(page, U"FONT-STYLE: normal; FONT-FAMILY:", U"; WHITE-SPACE"), c.font_out);
    EXPECT_EQ(Between(page, U".button {FONT-WEIGHT: normal; COLOR:#FFFFFF; FONT-FAMILY:", U"; BACKGROUND"),
              c.font_out);
    EXPECT_EQ(Between(page, U"<FONT FACE=", U" color=#000000> You scored"), c.font_out);
    const std::string size = Between(page, U"FONT-SIZE:", U"px; WORD-SPACING");
    // Non-Western characters go into the style sheet as CSS escapes.
    if (c.size == U"\u0661\u0664") {
      EXPECT_EQ(size, "\\000661 \\000664 ");
    } else {
      EXPECT_EQ(size, c.size_out);
    }
  }
  // Colours are only ever "#" and letters and digits.
  ExportSettings s;
  s.PageBackground = U"#FFF\"><script>x</script>";
  s.AnswerBoxColour = U"red; }";
  const Text page = Build(kCatText, s).page;
  EXPECT_TRUE(Has(page, U"BACKGROUND-COLOR: #FFFscriptxscript; TEXT-ALIGN"));
  EXPECT_TRUE(Has(page, U"<TD bgColor=red>"));
}

// The browser's unescape: %XX and %uXXXX; anything else stays.
Text Unescape(TextView s) {
  auto hex = [](char32_t c) -> int {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
    if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
    return -1;
  };
  std::u16string units;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'%' && i + 5 < s.size() + 0 && s[i + 1] == U'u' && hex(s[i + 2]) >= 0 && hex(s[i + 3]) >= 0 &&
        hex(s[i + 4]) >= 0 && hex(s[i + 5]) >= 0) {
      units.push_back(static_cast<char16_t>(hex(s[i + 2]) << 12 | hex(s[i + 3]) << 8 | hex(s[i + 4]) << 4 |
                                            hex(s[i + 5])));
      i += 5;
    } else if (s[i] == U'%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      units.push_back(static_cast<char16_t>(hex(s[i + 1]) << 4 | hex(s[i + 2])));
      i += 2;
    } else if (s[i] >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((s[i] - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((s[i] - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(s[i]));
    }
  }
  Text out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t u = units[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      out.push_back(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      out.push_back(u);
    }
  }
  return out;
}

// The answers of the Words array, as the browser decodes them.
std::vector<Text> DecodedWords(const Text& page) {
  const Text line = FromUtf8(WordsLine(page));
  std::vector<Text> words;
  constexpr TextView open = U"unescape('";
  std::size_t at = 0;
  while ((at = line.find(open, at)) != Text::npos) {
    const std::size_t begin = at + open.size();
    const std::size_t end = line.find(U"'), ", begin);
    if (end == Text::npos) break;
    words.push_back(Unescape(TextView(line).substr(begin, end - begin)));
    at = end;
  }
  return words;
}

std::vector<Text> ExpectedAnswers(TextView source) {
  TestWorkspace w;
  GenerateTest(source, w);
  std::vector<Text> answers;
  for (TextView a : w.PageAnswers) answers.emplace_back(a);
  return answers;
}

TEST(PageWriter, AnswersDecodeToWhatThePupilMustType) {
  const std::vector<Text> sources = {
      U"Go. ab%cd x 50% ab%%ef y %AB z %u0041 w %%%",
      U"Go. a\\b c\\\\d e \\x",
      U"Go. Zażółć gęślą jaźń, Привет мир дорогой друг",
      U"Go. smile \U0001F600\U0001F600 x a\U0001F601b",
      U"Go. tab ab\tcd x ab\x01\x1F" U"cd y e\u2028f\u2029g",
      U"Go. quote a\"b\"c x <&>&<",
      U"Go. € ab€€ y \u0081\u0081\u008D\u0080",
  };
  for (const Text& source : sources) {
    SCOPED_TRACE(ToUtf8(source));
    Built b = Build(source);
    const std::vector<Text> expected = ExpectedAnswers(source);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(DecodedWords(b.page), expected);
    // The script holds only Windows-1252 characters and no line break inside
    // the answer list, so the page encodes to the same script text.
    const std::string words = WordsLine(b.page);
    EXPECT_EQ(words.find_first_of("\r\n"), std::string::npos);
    const std::string bytes = EncodePage(b.page);
    const std::size_t scriptEnd = bytes.find("</SCRIPT>");
    EXPECT_EQ(bytes.substr(0, scriptEnd).find("&#"), std::string::npos);
    // Idempotent across exports, and the same bytes when written directly.
    EXPECT_EQ(BuildTestPage(b.workspace, {}), b.page);
    EXPECT_EQ(BuildTestPageBytes(b.workspace, {}), bytes);
  }
  const Built pct = Build(U"Go. x ab%cd y abc%%ef");
  EXPECT_EQ(WordsLine(pct.page), "unescape('%25%63%64'), unescape('%25%25%65%66'), ");
  const Built slash = Build(U"Go. x a\\b");
  EXPECT_EQ(WordsLine(slash.page), "unescape('%5C%62'), ");
  const Built polish = Build(U"Go. a żółw");
  EXPECT_EQ(WordsLine(polish.page), "unescape('%u0142%77'), ");
  const Built emoji = Build(U"Go. a b x \U0001F600\U0001F601");
  EXPECT_EQ(WordsLine(emoji.page), "unescape('%uD83D%uDE01'), ");
}

TEST(PageWriter, EncodePageIsWindows1252WithCharacterReferences) {
  struct Case {
    Text text;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {U"plain ASCII\r\n", "plain ASCII\r\n"},
      {U"caf\u00E9 \u00FF\u00A0", "caf\xE9 \xFF\xA0"},
      {U"\u20AC \u2019 \u0152 \u017E", "\x80 \x92 \x8C \x9E"},
      {U"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
      {U"\u0142\u0436", "&#322;&#1078;"},
      {U"\U0001F600", "&#128512;"},
      {U"\u0080", "&#128;"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodePage(c.text), c.bytes) << ToUtf8(c.text);

  const Built b = Build(U"Zażółć gęślą jaźń. Kot Łukasza pije mleko.");
  const std::string bytes = EncodePage(b.page);
  EXPECT_NE(bytes.find("Za&#380;\xF3&#322;&#263; g&#281;&#347;l&#261; ja&#378;&#324;.  Kot  &#321;uk "
                       "<INPUT class=boxes size=5 name=0>"),
            std::string::npos);
  EXPECT_NE(bytes.find("unescape('%61%73%7A%61'),"), std::string::npos);
}

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(BRENVIK_FIXTURES) + "/export/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(PageWriter, GoldenPages) {
  struct Case {
    std::string fixture;
    Text source;
    ExportSettings settings;
  };
  ExportSettings practice = Variant(2, 1, 1);
  practice.Title = U"Animals & <pets>";
  practice.FontName = U"Georgia";
  practice.TextSize = U"16";
  practice.PageBackground = U"#FFFFCC";
  practice.PageTextColour = U"#003366";
  practice.AnswerBoxColour = U"#336699";
  practice.AnswerTextColour = U"#FFFF00";
  const std::vector<Case> cases = {
      {"cat-test.htm", kCatText, ExportSettings{}},
      {"garden-practice.htm",
       U"The garden was quiet.\r\nBirds sang in the old café, \"near\" the well-known gate!\r\n\r\n"
       U"Łukasz said: 50% of it is 3.5 metres \u2013 right?",
       practice},
  };
  for (const Case& c : cases) {
    const std::string golden = ReadFixture(c.fixture);
    ASSERT_FALSE(golden.empty()) << c.fixture;
    EXPECT_EQ(EncodePage(Build(c.source, c.settings).page), golden) << c.fixture;
    TestWorkspace w;
    GenerateTest(c.source, w);
    EXPECT_EQ(BuildTestPageBytes(w, c.settings), golden) << c.fixture;
  }
}

// A test of several texts on one page: each text under its title, the
// boxes numbered on across texts in one form, one answer list and one list
// of further answers per gap, lang on each text's paragraph when set.
TEST(PageWriter, SeveralTextsOnOnePage) {
  TestWorkspace first;
  TestWorkspace second;
  TestWorkspace third;
  GenerateTest(kCatText, first);              // c_at, o_n, m_at
  GenerateTest(U"A dog. It ran and then it slept.", second);  // r_an, th_en, sl_ept
  GenerateTest(U"Hi. We saw a cat.", third);     // s_aw, c_at
  const std::vector<std::vector<Text>> secondMore = {{}, {U"em", U"An"}, {}};
  const ClassicPageText texts[] = {{U"Cats & dogs", &first, nullptr}, {U" \t", &second, &secondMore},
                                   {U"Third", &third, nullptr}};
  struct Case {
    const char* name;
    AnswerMatching matching;
    std::string_view language;
    const char* paragraph;  // how each text's paragraph opens
    const char* fold;       // the comparison, or none for the plain script
  };
  const Case cases[] = {
      {"exact, no language", AnswerMatching::Exact, "", "<P>", "function Fold(s){return s}"},
      {"ignore case, German", AnswerMatching::IgnoreCase, "de-CH", "<P lang=\"de-CH\">",
       "function Fold(s){return s.toLowerCase()}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Text page = BuildTestPage(texts, ExportSettings{}, c.matching, c.language);
    const Text p = FromUtf8(c.paragraph);
    EXPECT_TRUE(Has(page, U"<BLOCKQUOTE>\r\n<H3>Cats &amp; dogs</H3>\r\n" + p + U"This is a test. "));
    // A blank title is the text's number.
    EXPECT_TRUE(Has(page, U"\r\n</P>\r\n<H3>Text 2</H3>\r\n" + p + U"A dog. "));
    EXPECT_TRUE(Has(page, U"\r\n</P>\r\n<H3>Third</H3>\r\n" + p + U"Hi. "));
    EXPECT_TRUE(Has(page, U"</P>\r\n</BLOCKQUOTE>\r\n</FORM>"));
    for (int box = 0; box < 8; ++box) {
      EXPECT_TRUE(Has(page, U"name=" + ToText(box) + U">")) << box;
    }
    EXPECT_FALSE(Has(page, U"name=8>"));
    EXPECT_EQ(WordsLine(page),
              "unescape('%61%74'), unescape('%6E'), unescape('%61%74'), unescape('%61%6E'), "
              "unescape('%65%6E'), unescape('%65%70%74'), unescape('%61%77'), unescape('%61%74'), ");
    // Further answers by gap across the texts: the 5th gap's two.
    EXPECT_EQ(Between(page, U"var More = [", U"]\r\n"),
              "[], [], [], [], [unescape('%65%6D'), unescape('A%6E'), ], [], [], [], ");
    EXPECT_TRUE(Has(page, FromUtf8(c.fold)));
    EXPECT_TRUE(Has(page, U"if (IsRight(TrimString(document.cloze.elements[x].value), x)){"));
  }
  // The timer counts the gaps of every text.
  ExportSettings timed;
  timed.TimerFlag = true;
  EXPECT_TRUE(Has(BuildTestPage(texts, timed), U"setTimeout('CheckAnswer()',96000)"));

  // Without further answers, exact, no language, the page keeps the plain
  // script, and one such text is exactly the page of its workspace.
  const ClassicPageText plain[] = {{U"One", &first, nullptr}, {U"Two", &third, nullptr}};
  const Text two = BuildTestPage(plain, ExportSettings{});
  EXPECT_FALSE(Has(two, U"var More"));
  EXPECT_FALSE(Has(two, U" lang="));
  EXPECT_TRUE(Has(two, U"if (TrimString(document.cloze.elements[x].value) == Words[x]){"));
  TestWorkspace again;
  GenerateTest(kCatText, again);
  EXPECT_EQ(BuildTestPage(std::span(plain, 1), ExportSettings{}), BuildTestPage(again, ExportSettings{}));

  // No text with an answer: the list error.
  TestWorkspace none;
  GenerateTest(U"Hello world.", none);
  const ClassicPageText empty[] = {{U"A", &none, nullptr}};
  EXPECT_THROW((void)BuildTestPage(empty, ExportSettings{}), ListIndexError);
}

}  // namespace
}  // namespace brenvik
