// The responsive page without a browser: its text reads back as the test,
// its answers decode back to the workspace's, hostile settings and texts stay
// inside the place they are written to, and a classic export before it
// changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/ClassicPage.h"
#include "core/page/ResponsivePage.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"

namespace brenvik {
namespace {

const Text kCatSentence = U"This is a test. The cat sat on the mat.";

struct BuiltPage {
  TestWorkspace workspace;
  Text test;
  std::string page;
};

BuiltPage BuildPage(TextView source, const ExportSettings& settings = {}) {
  BuiltPage b;
  b.test = GenerateTest(source, b.workspace);
  b.page = BuildResponsivePage(b.workspace, settings);
  return b;
}

std::string Between(const std::string& page, std::string_view from, std::string_view to) {
  const std::size_t start = page.find(from);
  if (start == std::string::npos) return "<no " + std::string(from) + ">";
  const std::size_t begin = start + from.size();
  const std::size_t end = page.find(to, begin);
  if (end == std::string::npos) return "<no " + std::string(to) + ">";
  return page.substr(begin, end - begin);
}

std::size_t Count(const std::string& page, std::string_view piece) {
  std::size_t n = 0;
  for (std::size_t at = page.find(piece); at != std::string::npos; at = page.find(piece, at + 1)) ++n;
  return n;
}

bool Has(const std::string& page, std::string_view piece) { return page.find(piece) != std::string::npos; }

// The deleted parts the pupil must type, in text order.
std::vector<Text> Answers(const TestWorkspace& w) {
  std::vector<Text> out;
  for (TextView right : w.RightHalves) {
    if (!right.empty()) out.emplace_back(right);
  }
  return out;
}

// The answers as the page's script gets them: the "answers" lists of code
// points in the JSON data block.
std::vector<Text> PageAnswers(const std::string& page) {
  const std::string data = Between(page, "<script type=\"application/json\" id=\"test-data\">", "</script>");
  // The list runs to the "]" that closes it; further data may follow.
  const std::string list = data.substr(std::min(data.size(), data.find("\"answers\":[") + 11));
  std::vector<Text> out;
  std::size_t i = 0;
  while (i < list.size() && list[i] != ']') {
    if (list[i] == ',') {
      ++i;
      continue;
    }
    EXPECT_EQ(list[i], '[') << list.substr(i, 20);
    if (list[i] != '[') break;
    ++i;
    Text answer;
    while (i < list.size() && list[i] != ']') {
      std::uint32_t value = 0;
      while (i < list.size() && list[i] >= '0' && list[i] <= '9') value = value * 10 + (list[i++] - '0');
      answer.push_back(static_cast<char32_t>(value));
      if (i < list.size() && list[i] == ',') ++i;
    }
    ++i;
    out.push_back(answer);
  }
  return out;
}

// The markup text as the browser shows it: "&amp;", "&lt;", "&gt;" decoded.
Text UnescapeHtml(TextView s) {
  Text out;
  std::size_t i = 0;
  while (i < s.size()) {
    bool replaced = false;
    for (auto [ref, c] : {std::pair{TextView(U"&amp;"), U'&'}, {U"&lt;", U'<'}, {U"&gt;", U'>'}}) {
      if (s.substr(i, ref.size()) == ref) {
        out.push_back(c);
        i += ref.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(s[i++]);
  }
  return out;
}

// The test text as the page writes it: the content of <div class="text">.
Text TextMarkup(const std::string& page) {
  const std::string inner = Between(page, "<div class=\"text\">", "\n</form>");
  EXPECT_TRUE(inner.ends_with("</div>")) << inner.substr(inner.size() > 40 ? inner.size() - 40 : 0);
  return FromUtf8(std::string_view(inner).substr(0, inner.size() - std::string_view("</div>").size()));
}

// A source line as the page writes it: its text as the pupil reads it
// before typing, each box shown as one "_" per letter of its answer; the
// parts of a very long line (one part for any other line); and the
// direction written on a cut line ("" when the line has none).
struct ShownLine {
  Text text;
  std::vector<Text> parts;
  std::string dir;
};

// The text's line blocks. The markup must be one <div> per line with
// nothing but an LF between two of them, no LF inside a line, and each
// gap's wrapper closed in the part it opens in. A cut line is <div
// class="cut" dir=..> holding its parts, each a <div>, with nothing
// between two parts.
std::vector<ShownLine> ParseLines(const std::string& page) {
  const Text p = TextMarkup(page);
  const std::vector<Text> answers = PageAnswers(page);
  std::vector<ShownLine> lines;
  bool inLine = false;
  bool cut = false;     // the current line is cut into parts
  bool inPart = false;  // within a part of a cut line
  bool inWrapper = false;
  bool afterLine = false;  // an LF between blocks follows a closed line
  std::size_t gap = 0;
  std::size_t i = 0;
  auto append = [&](TextView shown) {
    lines.back().text += shown;
    lines.back().parts.back() += shown;
  };
  while (i < p.size()) {
    if (p[i] != U'<') {
      const std::size_t next = p.find(U'<', i);
      const TextView text = TextView(p).substr(i, next == Text::npos ? Text::npos : next - i);
      if (inLine && (!cut || inPart)) {
        EXPECT_EQ(text.find(U'\n'), TextView::npos) << "a line break inside a line: " << ToUtf8(text);
        append(UnescapeHtml(text));
      } else {
        EXPECT_TRUE(!inLine && afterLine && text == U"\n") << "between blocks: \"" << ToUtf8(text) << "\"";
        afterLine = false;
      }
      i = next == Text::npos ? p.size() : next;
      continue;
    }
    const std::size_t close = p.find(U'>', i);
    const TextView tag = TextView(p).substr(i, close - i + 1);
    if (tag == U"<div class=\"cut\" dir=\"ltr\">" || tag == U"<div class=\"cut\" dir=\"rtl\">") {
      EXPECT_FALSE(inLine) << "a line inside a line";
      inLine = cut = true;
      afterLine = false;
      lines.push_back({U"", {}, tag.find(U"rtl") != TextView::npos ? "rtl" : "ltr"});
    } else if (tag == U"<div>" && inLine) {
      EXPECT_TRUE(cut && !inPart) << "a block inside a line that is not cut";
      inPart = true;
      lines.back().parts.emplace_back();
    } else if (tag == U"<div>") {
      inLine = true;
      afterLine = false;
      lines.push_back({U"", {U""}, ""});
    } else if (tag == U"</div>") {
      EXPECT_TRUE(inLine);
      EXPECT_FALSE(inWrapper) << "a gap's wrapper left open at the end of its block";
      if (inPart) {
        EXPECT_FALSE(lines.back().parts.back().empty()) << "an empty part";
        inPart = false;
      } else {
        if (cut) {
          EXPECT_GE(lines.back().parts.size(), 2u) << "a cut line of one part";
        }
        inLine = cut = false;
        afterLine = true;
      }
    } else if (tag.starts_with(U"<input ")) {
      EXPECT_TRUE(inWrapper) << "a box outside its wrapper";
      if (gap < answers.size()) append(Text(GapLength(answers[gap]), U'_'));
      ++gap;
    } else if (tag == U"<span class=\"w k\">" || tag == U"<span class=\"w\">") {
      EXPECT_TRUE(inLine && (!cut || inPart) && !inWrapper) << ToUtf8(tag);
      inWrapper = true;
    } else {
      EXPECT_EQ(tag, U"</span>");
      EXPECT_TRUE(inWrapper);
      inWrapper = false;
    }
    if (!inLine && tag != U"</div>") ADD_FAILURE() << "markup outside a line: " << ToUtf8(tag);
    i = close + 1;
  }
  EXPECT_FALSE(inLine);
  EXPECT_EQ(gap, answers.size());
  return lines;
}

std::vector<Text> ShownLines(const std::string& page) {
  std::vector<Text> out;
  for (ShownLine& line : ParseLines(page)) out.push_back(std::move(line.text));
  return out;
}

// The whole text as the pupil reads it: the lines, each ended by a line
// break but for the last, as the text of the container reads in the
// browser. It is the test text that Process writes, with its line breaks
// as LF; a final line break shows no line and opens no block.
Text ShownText(const std::string& page) {
  const std::vector<Text> lines = ShownLines(page);
  Text out;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k != 0) out.push_back(U'\n');
    out += lines[k];
  }
  if (TextMarkup(page).ends_with(U'\n')) out.push_back(U'\n');
  return out;
}

Text WithLf(TextView text) {
  Text out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') continue;
    out.push_back(text[i] == U'\r' ? U'\n' : text[i]);
  }
  return out;
}

int Hex(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  return -1;
}

// The value of the quoted CSS string at the start of css ("\22 " and the
// like decoded, as a browser reads them); the string must end right before
// the generic family.
Text CssString(TextView css) {
  Text out;
  EXPECT_TRUE(css.starts_with(U"\"")) << ToUtf8(css);
  std::size_t i = 1;
  while (i < css.size() && css[i] != U'"') {
    EXPECT_NE(css[i], U'\n');
    if (css[i] != U'\\') {
      out.push_back(css[i++]);
      continue;
    }
    ++i;
    std::uint32_t value = 0;
    std::size_t digits = 0;
    while (i < css.size() && digits < 6 && Hex(css[i]) >= 0) {
      value = value * 16 + static_cast<std::uint32_t>(Hex(css[i++]));
      ++digits;
    }
    if (digits == 0) {
      if (i < css.size()) out.push_back(css[i++]);
      continue;
    }
    out.push_back(static_cast<char32_t>(value));
    if (i < css.size() && css[i] == U' ') ++i;
  }
  EXPECT_EQ(css.substr(i), U"\",sans-serif") << "the string ends where it should";
  return out;
}

// The page's structure: every element that holds raw text or script opens
// and closes exactly once, whatever the teacher wrote.
void ExpectWholeStructure(const std::string& page) {
  EXPECT_TRUE(IsValidUtf8(page));
  EXPECT_EQ(Count(page, "<script"), 2u);
  EXPECT_EQ(Count(page, "</script>"), 2u);
  EXPECT_EQ(Count(page, "<style"), 1u);
  EXPECT_EQ(Count(page, "</style>"), 1u);
  EXPECT_EQ(Count(page, "<title>"), 1u);
  EXPECT_EQ(Count(page, "</title>"), 1u);
  EXPECT_EQ(Count(page, "<h1"), 1u);
  EXPECT_EQ(Count(page, "</h1>"), 1u);
  EXPECT_EQ(Count(page, "<!--"), 0u);
  EXPECT_EQ(Count(page, "</form>"), 1u);
  // The footer, which the page waits for before it is first drawn, comes
  // after the script.
  EXPECT_EQ(Count(page, "<footer id=\"end\">"), 1u);
  EXPECT_GT(page.find("<footer id=\"end\">"), page.rfind("</script>"));
  EXPECT_TRUE(page.ends_with("</p></footer>\n</body>\n</html>\n"));
}

ExportSettings Variant(PageVariant mode, bool showAnswers, bool timer) {
  ExportSettings s;
  s.TestMode = mode;
  s.ShowAnswersFlag = showAnswers;
  s.TimerFlag = timer;
  return s;
}

TEST(ResponsivePage, WorkedExample) {
  const BuiltPage b = BuildPage(kCatSentence);
  EXPECT_EQ(PageAnswers(b.page), (std::vector<Text>{U"at", U"n", U"at"}));
  EXPECT_EQ(ShownText(b.page), U"This is a test. The c__ sat o_ the m__.");
  EXPECT_EQ(Between(b.page, "<div class=\"text\">", "<input"), "<div>This is a test. The <span class=\"w k\">c");
  EXPECT_EQ(ShownLines(b.page), std::vector<Text>{U"This is a test. The c__ sat o_ the m__."});
  // One box per gap, named in text order, each with its accessible name and
  // every aid to typing switched off.
  for (int k = 0; k < 3; ++k) {
    const std::string box = Between(b.page, "<input name=\"" + std::to_string(k) + "\"", ">");
    EXPECT_TRUE(Has(box, "aria-label=\"Gap " + std::to_string(k + 1) + " of 3\"")) << box;
    for (const char* attribute : {"autocomplete=\"off\"", "autocapitalize=\"off\"", "autocorrect=\"off\"",
                                  "spellcheck=\"false\""}) {
      EXPECT_TRUE(Has(box, attribute)) << box;
    }
  }
  EXPECT_EQ(Count(b.page, "<input "), 3u);
  EXPECT_TRUE(Has(b.page, "<input name=\"1\" class=\"n1\""));
  EXPECT_TRUE(Has(b.page, "<input name=\"2\" class=\"n2\""));
  // One width rule per width in use.
  EXPECT_TRUE(Has(b.page, "--font:\"Arial\",sans-serif}\n.n2{--n:2}.n1{--n:1}\n"));
  EXPECT_TRUE(Has(b.page, "<button type=\"button\" id=\"submit-test\">Submit Test</button>"));
  EXPECT_TRUE(Has(b.page, "<title>C-Test</title>"));
  EXPECT_TRUE(Has(b.page, "<meta charset=\"utf-8\">"));
  EXPECT_TRUE(Has(b.page, ":root{--bg:#FFFFFF;--fg:#000000;--box-bg:#000000;--box-fg:#FFFFFF;--size:14px;"
                          "--font:\"Arial\",sans-serif}"));
  EXPECT_TRUE(b.page.starts_with("<!DOCTYPE html>\n"));
  ExpectWholeStructure(b.page);
  // Nothing outside the page: no address the browser would fetch (the one
  // link names a place in the page itself).
  EXPECT_FALSE(Has(b.page, "src="));
  EXPECT_EQ(Count(b.page, "href="), 1u);
  EXPECT_TRUE(Has(b.page, "<link rel=\"expect\" href=\"#end\" blocking=\"render\">"));
  EXPECT_TRUE(Has(b.page, "<footer id=\"end\">"));
  EXPECT_FALSE(Has(b.page, "url("));
  EXPECT_FALSE(Has(b.page, "@import"));
}

TEST(ResponsivePage, VariantsWriteTheirParts) {
  struct Case {
    PageVariant mode;
    bool show, timer;
    const char* data;
    bool showButton, feedback, timerLine;
  };
  const std::vector<Case> cases = {
      {PageVariant::Test, false, false, "{\"practice\":false,\"showAnswers\":false,\"seconds\":0,", false, false,
       false},
      {PageVariant::Test, true, true, "{\"practice\":false,\"showAnswers\":false,\"seconds\":36,", false, false,
       true},
      {PageVariant::Practice, false, false, "{\"practice\":true,\"showAnswers\":false,\"seconds\":0,", false,
       true, false},
      {PageVariant::Practice, true, true, "{\"practice\":true,\"showAnswers\":true,\"seconds\":36,", true, true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    const std::string page = BuildPage(kCatSentence, Variant(c.mode, c.show, c.timer)).page;
    EXPECT_TRUE(Has(page, std::string("id=\"test-data\">") + c.data));
    EXPECT_EQ(Has(page, ">Show Answers</button>"), c.showButton);
    EXPECT_EQ(Has(page, "<p id=\"feedback\"></p>"), c.feedback);
    EXPECT_EQ(Has(page, "<output id=\"score\"></output><span id=\"score-total\"> of 3</span>"), c.feedback);
    EXPECT_EQ(Has(page, "<span id=\"said-empty\">not answered</span>"), c.feedback);
    EXPECT_EQ(Has(page, "<dialog id=\"show-confirm\""), c.showButton);
    // The marks are drawn only in the practice version.
    EXPECT_EQ(Has(page, "url("), c.feedback);
    EXPECT_EQ(Has(page, "role=\"timer\""), c.timerLine);
    ExpectWholeStructure(page);
  }
  // Twelve seconds per gap.
  const std::string twenty =
      BuildPage(U"Go. aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz aa bb cc dd "
            U"ee ff gg hh ii jj kk ll mm nn",
            Variant(PageVariant::Test, false, true))
          .page;
  EXPECT_TRUE(Has(twenty, "\"seconds\":240,"));
}

TEST(ResponsivePage, NoAnswerIsTheListError) {
  for (const Text& source : {Text(), Text(U"Hello world."), Text(U"One. a 42 b 7")}) {
    TestWorkspace w;
    GenerateTest(source, w);
    try {
      BuildResponsivePage(w, {});
      ADD_FAILURE() << "no error for " << ToUtf8(source);
    } catch (const ListIndexError& e) {
      EXPECT_EQ(e.index(), -1);
      EXPECT_STREQ(e.what(), "Indice de liste hors limites (-1)");
    }
  }
  // Lists that do not line up are refused, not read past their end.
  TestWorkspace w;
  w.LeftHalves = {U"c", U"s"};
  w.RightHalves = {U"at"};
  w.Separators = {U" ", U" "};
  try {
    BuildResponsivePage(w, {});
    ADD_FAILURE() << "no error for lists of different lengths";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 1);
  }
}

TEST(ResponsivePage, LineBreaksAndMarkupInTheText) {
  const BuiltPage b = BuildPage(U"Line one.\r\nA b c<d e f&g hi\r\n\r\nij\"kl 'mn' op\rqr\nst.");
  EXPECT_EQ(ShownText(b.page), WithLf(b.test));
  const std::string p = ToUtf8(TextMarkup(b.page));
  EXPECT_FALSE(Has(p, "\r"));
  EXPECT_TRUE(Has(p, "<div>Line one.</div>\n<div>A "));
  EXPECT_TRUE(Has(p, "&lt;"));
  EXPECT_TRUE(Has(p, "&amp;"));
  ExpectWholeStructure(b.page);
}

TEST(ResponsivePage, OneBlockPerSourceLine) {
  struct Case {
    Text source;
    std::vector<Text> lines;
  };
  const std::vector<Case> cases = {
      {U"Go. ab cd ab cd", {U"Go. ab c_ ab c_"}},
      // Each kind of line break ends a line; an empty line is an empty block.
      {U"Go. ab cd\r\nab cd\rab cd\nab cd", {U"Go. ab c_", U"ab c_", U"ab c_", U"ab c_"}},
      {U"Go.\r\n\r\n\r\nab cd", {U"Go.", U"", U"", U"ab c_"}},
      // A final line break shows no line, so it opens no block.
      {U"Go. ab cd\r\n", {U"Go. ab c_"}},
      {U"Go. ab cd\r\n\r\n", {U"Go. ab c_", U""}},
      // Line breaks in the first sentence and at the start.
      {U"\r\nFirst\r\nsentence. ab cd", {U"", U"First", U"sentence. ab c_"}},
      // Blanks at either end of a line stay in it.
      {U"Go.  \r\n  ab cd", {U"Go.  ", U"  ab c_"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.source));
    const BuiltPage b = BuildPage(c.source);
    EXPECT_EQ(ShownLines(b.page), c.lines);
    EXPECT_EQ(ShownText(b.page), WithLf(b.test));
  }
  // A kept part that holds a line break (not made by the generator, but the
  // lists may hold one): the gap's wrapper closes with the line and opens
  // again on the next, so no block is left inside another.
  TestWorkspace w;
  w.FirstSentence = U"Go. ";
  w.LeftHalves = {U"a\nb", U"cd"};
  w.RightHalves = {U"x", U""};
  w.Separators = {U" ", U""};
  const std::string page = BuildResponsivePage(w, {});
  EXPECT_EQ(ShownLines(page), (std::vector<Text>{U"Go. a", U"b_ cd"}));
  EXPECT_TRUE(Has(page, "<div>Go. <span class=\"w k\">a</span></div>\n<div><span class=\"w k\">b<input")) << page;
}

TEST(ResponsivePage, SamePageBeforeAndAfterAClassicExport) {
  for (const Text& source :
       {kCatSentence, Text(U"Line one.\r\nA bb cc\r\n\r\ndd ee ff gg.\r\n hh ii"),
        Text(U"Caf\u00e9. \u017c\u00f3\u0142w ab\\cd ef%gh ij\"kl \u05e9\u05dc\u05d5\u05dd \U0001F600\U0001F601")}) {
    for (const ExportSettings& settings :
         {Variant(PageVariant::Test, false, false), Variant(PageVariant::Practice, true, true)}) {
      TestWorkspace w;
      GenerateTest(source, w);
      const std::string before = BuildResponsivePage(w, settings);
      BuildTestPage(w, settings);
      EXPECT_NE(w.PageAnswers.toVector(), std::vector<Text>(Answers(w))) << "the classic export prepared the lists";
      EXPECT_EQ(BuildResponsivePage(w, settings), before) << ToUtf8(source);
      BuildTestPageBytes(w, settings);
      EXPECT_EQ(BuildResponsivePage(w, settings), before) << ToUtf8(source);
    }
  }
}

TEST(ResponsivePage, AnswersAreNotWordsInTheSource) {
  const BuiltPage b = BuildPage(U"Go. xylophone quartzite zebra crossbowman");
  EXPECT_EQ(Answers(b.workspace), (std::vector<Text>{U"tzite", U"bowman"}));
  EXPECT_FALSE(Has(b.page, "tzite"));
  EXPECT_FALSE(Has(b.page, "bowman"));
  const std::string data = Between(b.page, "\"answers\":", "}</script>");
  EXPECT_EQ(data.find_first_not_of("0123456789,[]"), std::string::npos) << data;
}

TEST(ResponsivePage, HostileSettingsStayInTheirPlace) {
  const Text longTitle(10000, U'\u00e9');
  struct Case {
    Text title, font, size;
  };
  const std::vector<Case> cases = {
      {U"</title><script>alert(1)</script>", U"Arial\"; } body { display:none } /*", U"14"},
      {U"<!-- not a comment", U"</style><script>alert(1)</script>", U"16px"},
      {U"Quotes \"double\" 'single' \\ back\\slash", U"a\"b'c{d}e;f\\g<h>i", U"12;}*{color:red"},
      {U"Line\u2028separator\u2029and & ampersand \U0001F600", U"Font\u2028Name\r\nX", U"\"14\""},
      {longTitle, U"\u0141ato \u00e9l\u00e9gant, serif", U"1e9"},
      {Text(U"Nul\0char", 8), Text(U"Nul\0font", 8), U""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.font));
    ExportSettings s = Variant(PageVariant::Practice, true, true);
    s.Title = c.title;
    s.FontName = c.font;
    s.TextSize = c.size;
    const BuiltPage b = BuildPage(U"Tom said \"</script><!--\". a b</script>c d<!--e f\\g h'i", s);
    ExpectWholeStructure(b.page);
    // The title shows as written (a NUL, which the parser would drop, as U+FFFD).
    Text shownTitle = c.title;
    for (char32_t& ch : shownTitle) {
      if (ch == 0) ch = kReplacementChar;
    }
    EXPECT_EQ(UnescapeHtml(FromUtf8(Between(b.page, "<h1 dir=\"auto\">", "</h1>"))), shownTitle);
    EXPECT_EQ(UnescapeHtml(FromUtf8(Between(b.page, "<title>", "</title>"))), shownTitle);
    // The font name is one CSS string that reads back as the name.
    const Text family = FromUtf8(Between(b.page, "--font:", "}\n"));
    Text shownFont = c.font;
    for (char32_t& ch : shownFont) {
      if (ch == 0) ch = kReplacementChar;
    }
    EXPECT_EQ(CssString(family), shownFont);
    EXPECT_EQ(family.find_first_of(U"<>{};\r\n\u2028\u2029"), Text::npos) << ToUtf8(family);
    // The size is a number or the default.
    const std::string size = Between(b.page, "--size:", "px;");
    EXPECT_EQ(size.find_first_not_of("0123456789."), std::string::npos) << size;
    EXPECT_EQ(ShownText(b.page), WithLf(b.test));
  }
}

TEST(ResponsivePage, SettingsAreValidated) {
  struct ColourCase {
    Text value, expected;
  };
  for (const ColourCase& c : std::vector<ColourCase>{{U"#ffffcc", U"#FFFFCC"},
                                                     {U"#003366", U"#003366"},
                                                     {U" #AbC ", U"#AABBCC"},
                                                     {U"red", U"#123456"},
                                                     {U"#12345", U"#123456"},
                                                     {U"#1234567", U"#123456"},
                                                     {U"#12345G", U"#123456"},
                                                     {U"#fff;}body{x", U"#123456"},
                                                     {U"", U"#123456"}}) {
    EXPECT_EQ(page::ResponsiveColour(c.value, U"#123456"), c.expected) << ToUtf8(c.value);
  }
  struct SizeCase {
    Text value, expected;
  };
  for (const SizeCase& c : std::vector<SizeCase>{{U"14", U"14"},
                                                 {U"18px", U"18"},
                                                 {U" 16 PX ", U"16"},
                                                 {U"12.5", U"12.5"},
                                                 {U"13.333", U"13.33"},
                                                 {U"2", U"8"},
                                                 {U"500", U"96"},
                                                 {U"99999999999999999999", U"14"},
                                                 {U"", U"14"},
                                                 {U"abc", U"14"},
                                                 {U"1.2.3", U"14"},
                                                 {U"-5", U"14"},
                                                 {U"1e3", U"14"},
                                                 {U".", U"14"},
                                                 {U"14;}", U"14"}}) {
    EXPECT_EQ(page::ResponsiveTextSize(c.value), c.expected) << ToUtf8(c.value);
  }
  struct FontCase {
    Text value, expected;
  };
  for (const FontCase& c : std::vector<FontCase>{
           {U"Arial", U"\"Arial\",sans-serif"},
           {U"Times New Roman", U"\"Times New Roman\",sans-serif"},
           {U"  ", U"sans-serif"},
           {U"a\"b", U"\"a\\22 b\",sans-serif"},
           {U"a\\b", U"\"a\\5C b\",sans-serif"},
           {U"x</style>", U"\"x\\3C \\2F style\\3E \",sans-serif"},
           {U"\u0141ato", U"\"\u0141ato\",sans-serif"},
           {U"a\u2028b", U"\"a\\2028 b\",sans-serif"},
       }) {
    EXPECT_EQ(page::ResponsiveFontFamily(c.value), c.expected) << ToUtf8(c.value);
  }
}

TEST(ResponsivePage, AKeptPartAndItsBoxShareALineWhenTheyFitAPhone) {
  struct Case {
    Text kept, answer, size;
    bool together;
  };
  const Text longHalf(30, U'a');
  for (const Case& c : std::vector<Case>{{U"c", U"at", U"14", true},
                                         {U"c", U"at", U"24", true},
                                         {U"c", U"at", U"96", false},
                                         {U"Donaudampf", U"schifffahrt", U"14", true},
                                         {U"Donaudampf", U"schifffahrt", U"24", false},
                                         {longHalf, longHalf, U"14", false},
                                         {U"\u6f22\u5b57\u6f22", U"\u5b57\u6f22\u5b57\u6f22", U"14", true},
                                         {Text(10, U'\u6f22'), Text(11, U'\u5b57'), U"14", false},
                                         {U"c", U"at", U"nonsense", true}}) {
    EXPECT_EQ(page::KeepGapTogether(c.kept, c.answer, c.size), c.together)
        << ToUtf8(c.kept) << " " << ToUtf8(c.answer) << " at " << ToUtf8(c.size);
  }
  ExportSettings big;
  big.TextSize = U"96";
  const std::string page = BuildPage(kCatSentence, big).page;
  EXPECT_TRUE(Has(page, "<span class=\"w\">c<input"));
  EXPECT_FALSE(Has(page, "class=\"w k\""));
}

TEST(ResponsivePage, BoxWidthFollowsTheAnswer) {
  struct Case {
    Text answer;
    std::size_t cells;
  };
  for (const Case& c : std::vector<Case>{{U"at", 2},
                                         {U"n", 1},
                                         {U"e\u0301", 1},
                                         {U"\u6f22\u5b57", 4},
                                         {U"\U0001F600", 2},
                                         {U"\U0001F44D\U0001F3FD", 2},
                                         {U"\u200d", 1},
                                         {U"\u0432\u0435\u0442", 3}}) {
    EXPECT_EQ(page::DisplayCells(c.answer), c.cells) << ToUtf8(c.answer);
  }
}

TEST(ResponsivePage, MarksAreImagesInTheAnswerTextColour) {
  ExportSettings s = Variant(PageVariant::Practice, false, false);
  s.AnswerTextColour = U"#0a0";
  const std::string style = Between(BuildPage(kCatSentence, s).page, "<style>", "</style>");
  // One picture per mark, an image in the page itself, none fetched, with
  // nothing in it that ends the style sheet or the address.
  const std::string marks = style.substr(style.find("@media screen{\n.text input[aria-describedby=said-right]{"));
  EXPECT_EQ(Count(marks, "{background-image:url(\"data:image/svg+xml,"), 3u);
  EXPECT_EQ(Count(style, "url("), 3u);
  EXPECT_EQ(Count(marks, "stroke='%2300AA00'"), 3u);
  EXPECT_EQ(marks.find_first_of("<>#"), std::string::npos) << marks;
}

TEST(ResponsivePage, StrongDirectionOfLetters) {
  using page::Strong;
  // Latin, Polish, Greek, Cyrillic, Armenian, Devanagari, Thai, Georgian,
  // kana, ideographs, Hangul, LRM; Hebrew, Arabic, Persian, Syriac, Thaana,
  // N'Ko, presentation forms, RLM, Adlam; then digits, blanks, punctuation,
  // symbols, marks and emoji, which decide nothing.
  const std::vector<std::pair<Strong, Text>> cases = {
      {Strong::Ltr, U"aZ\u00e9\u0142\u03b1\u0434\u0561\u0939\u0e01\u10d0\u3042\u6f22\uac00\u200e\U00020000"},
      {Strong::Rtl, U"\u05d0\u05ea\u0627\u06cc\u0710\u0780\u07ca\ufb2a\ufe8d\u200f\U0001E900"},
      {Strong::None, Text(U"7 \"\u00ab\u00d7\u0301\u05b0\u0661\u06f1\u064b\u2014\u20ac\u2192\u3001\U0001F600\ufffd") + U'\0'},
  };
  for (const auto& [direction, letters] : cases) {
    for (char32_t c : letters) EXPECT_EQ(page::StrongDirection(c), direction) << std::hex << static_cast<std::uint32_t>(c);
  }
}

TEST(ResponsivePage, VeryLongLinesAreCutIntoPartsThatReadAsTheLine) {
  auto repeat = [](TextView piece, std::size_t times) {
    Text out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
  };
  const Text hebrew = repeat(U"\u05de\u05d1\u05d7\u05df \u05e7\u05e6\u05e8 ", 2000);
  const Text latin = repeat(U"ab cd ", 3000);
  // Each source line's direction when it is cut, "" when it stays whole.
  const std::vector<std::pair<Text, std::vector<std::string>>> cases = {
      {U"Go. " + latin, {"ltr"}},
      {U"\u05e9\u05dc\u05d5\u05dd. " + hebrew, {"rtl"}},
      // Digits and punctuation do not decide, nor do the letters of an isolate.
      {U"2024: \u00ab\u05e9\u05dc\u05d5\u05dd\u00bb. " + hebrew, {"rtl"}},
      {U"\u2066Go\u2069. " + hebrew, {"rtl"}},
      {U"Hello. " + hebrew, {"ltr"}},
      // Over 900 words of prose stay one block.
      {U"Go. " + repeat(U"The quick brown fox jumps over the lazy dog, and then it rests. ", 70), {""}},
      // Only the long line of a text is cut.
      {U"First.\r\nab cd\r\n" + latin + U"\r\n\r\nab cd", {"", "", "ltr", "", ""}},
      // Words without a blank between them give no place to cut.
      {U"Go. " + repeat(U"ab-cd-", 3000), {""}},
  };
  for (const auto& [source, dirs] : cases) {
    SCOPED_TRACE(ToUtf8(source.substr(0, 40)));
    const BuiltPage b = BuildPage(source, Variant(PageVariant::Practice, true, true));
    EXPECT_EQ(ShownText(b.page), WithLf(b.test));
    const std::vector<ShownLine> lines = ParseLines(b.page);
    ASSERT_EQ(lines.size(), dirs.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const std::vector<Text>& parts = lines[k].parts;
      EXPECT_EQ(lines[k].dir, dirs[k]) << "line " << k;
      EXPECT_EQ(parts.size() >= 5, !dirs[k].empty()) << "line " << k;
      // Parts of about the same size, each but the last ending after a blank.
      std::size_t shortest = Text::npos;
      std::size_t longest = 0;
      for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        EXPECT_EQ(parts[i].back(), U' ');
        EXPECT_NE(parts[i + 1].front(), U' ');
        shortest = std::min(shortest, parts[i].size());
        longest = std::max(longest, parts[i].size());
      }
      if (parts.size() > 1) {
        EXPECT_LT(longest, 2 * shortest);
      }
    }
    ExpectWholeStructure(b.page);
  }
  // In prose a part ends after a sentence, where a short row reads naturally.
  const BuiltPage prose = BuildPage(U"Go. " + repeat(U"The quick brown fox jumps over the lazy dog, and then it rests. ", 200));
  const std::vector<Text> parts = ParseLines(prose.page).at(0).parts;
  EXPECT_GE(parts.size(), 5u);
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) EXPECT_TRUE(parts[i].ends_with(U". ")) << ToUtf8(parts[i].substr(parts[i].size() - 20));
}

// Small deterministic generator, so that a failing text can be replayed.
class Generator {
 public:
  explicit Generator(std::uint32_t seed) : state_(seed) {}
  std::uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  template <class T>
  const T& pick(const std::vector<T>& list) {
    return list[next() % list.size()];
  }

 private:
  std::uint32_t state_;
};

TEST(ResponsivePage, GeneratedTextsReadBackAndDecodeToTheAnswers) {
  const std::vector<Text> pieces = {
      U"house", U"cat", U"is", U"a", U"I", U"CaSe", U"WORLD", U"caf\u00e9", U"na\u00efve",
      U"\u017c\u00f3\u0142w", U"\u0142\u00f3d\u017a", U"\u043f\u0440\u0438\u0432\u0435\u0442",
      U"\u03b3\u03ac\u03bc\u03bf\u03c2", U"\u05e9\u05dc\u05d5\u05dd", U"\u0645\u0631\u062d\u0628\u0627",
      U"\u6f22\u5b57\u304b\u306a", U"\u0939\u093f\u0928\u094d\u0926\u0940", U"\U0001F600\U0001F601",
      U"\U0001F469\u200d\U0001F52C", U"\\", U"\\n", U"%", U"%41", U"%u0041", U"<", U">", U"&", U"&amp;",
      U"</script>", U"<!--", U"-->", U"\t", U"\u0001", U"\u007f", U"\u0085", U"\u2028", U"\u2029",
      U"\u00a0", U"\u20ac", U"{y}", U"$", U"`", U"#", U"B52", U"\ufffd", U"<BR>", U"]]>", U"\u200f"};
  const std::vector<Text> separators = {U" ",  U" ",  U" ",  U", ",  U". ", U"! ", U"? ", U".\r\n", U"\r\n\r\n",
                                        U"\"", U"'",  U"-",  U"/",   U": ", U"; ", U"\n", U"\r"};
  const std::vector<Text> titles = {U"C-Test", U"</title><script>x</script>", U"\u2028", U"", U"a\"b'c\\d"};
  Generator rng(20260512);
  for (int round = 0; round < 300; ++round) {
    Text source = rng.pick(std::vector<Text>{U"A first sentence. ", U"Hi! ", U"", U"No mark at all "});
    const std::size_t words = 1 + rng.next() % 40;
    for (std::size_t i = 0; i < words; ++i) {
      const std::size_t parts = 1 + rng.next() % 3;
      for (std::size_t k = 0; k < parts; ++k) source += rng.pick(pieces);
      source += rng.pick(separators);
    }
    SCOPED_TRACE(ToUtf8(source));
    TestWorkspace w;
    const Text test = GenerateTest(source, w);
    ExportSettings s = Variant(rng.next() % 2 ? PageVariant::Practice : PageVariant::Test, rng.next() % 2 != 0,
                               rng.next() % 2 != 0);
    s.Title = rng.pick(titles);
    const std::vector<Text> answers = Answers(w);
    if (answers.empty()) {
      EXPECT_THROW(BuildResponsivePage(w, s), ListIndexError);
      continue;
    }
    const std::string page = BuildResponsivePage(w, s);
    EXPECT_EQ(PageAnswers(page), answers);
    EXPECT_EQ(ShownText(page), WithLf(test));
    ExpectWholeStructure(page);
    EXPECT_EQ(Count(page, "<input "), answers.size());
    // A classic export in between changes nothing.
    BuildTestPage(w, s);
    EXPECT_EQ(BuildResponsivePage(w, s), page);
  }
}

}  // namespace
}  // namespace brenvik

namespace brenvik {
namespace {

// Each text of a test is a heading on the page; a blank title is named as
// the scores per text name it, never an empty heading.
TEST(ResponsiveTestPage, EveryTextHasANamedHeading) {
  TestWorkspace first;
  TestWorkspace second;
  GenerateTest(kCatSentence, first);
  GenerateTest(U"A dog. It ran far and then it rested.", second);
  page::PageTest test;
  test.Texts = {{U" \t", &first, nullptr}, {U"Dogs & <cats>", &second, nullptr}};
  const std::string page = BuildResponsiveTestPage(test, {});
  EXPECT_NE(page.find("<h2 dir=\"auto\">Text 1</h2>"), std::string::npos);
  EXPECT_NE(page.find("<h2 dir=\"auto\">Dogs &amp; &lt;cats&gt;</h2>"), std::string::npos);
  EXPECT_EQ(page.find("<h2 dir=\"auto\"></h2>"), std::string::npos);
}

}  // namespace
}  // namespace brenvik
