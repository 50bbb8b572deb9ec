// The exported page: prepares the answer and separator lists in place, then
// writes the markup, the script and the style sheet piece by piece.

#include "core/page/ClassicPage.h"

#include "core/page/ClassicPageScript.h"
#include "core/page/PageEscape.h"
#include "core/page/PageSink.h"
#include "core/text/SearchAndReplace.h"
#include "core/text/CodePage.h"

#include <optional>
#include <span>
#include <string_view>

namespace brenvik {

namespace {

constexpr long long kMillisecondsPerGap = 1000 * page::kSecondsPerGap;

// Prepares the answer list for the page: empty answers dropped, lower-case
// letters escaped (EscapeAnswerLetters). An entry
// escaped by an earlier export holds no lower-case letter and stays as it is.
void PrepareAnswers(TextList& answers) {
  TextList prepared;
  prepared.reserve(answers.size(), answers.characters() * 3);
  for (TextView answer : answers) {
    if (answer.empty()) continue;
    prepared.push_back(page::EscapeAnswerLetters(answer));
  }
  answers = std::move(prepared);
}

// Marks the line breaks of the separator runs for the page: every CR LF
// becomes "<BR>"; a lone CR or LF stays.
void MarkLineBreaks(TextList& separators) {
  constexpr TextView kLineBreak = U"\r\n";
  bool any = false;
  for (TextView s : separators) {
    if (s.find(kLineBreak) != TextView::npos) {
      any = true;
      break;
    }
  }
  if (!any) return;
  TextList marked;
  marked.reserve(separators.size(), separators.characters() * 2);
  for (TextView s : separators) {
    if (s.find(kLineBreak) == TextView::npos) {
      marked.push_back(s);
    } else {
      marked.push_back(SearchAndReplace(s, kLineBreak, U"<BR>"));
    }
  }
  separators = std::move(marked);
}

template <class Sink>
void PutDecimal(Sink& page, long long value) {
  char32_t digits[24];
  std::size_t n = 0;
  const bool negative = value < 0;
  unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    digits[n++] = static_cast<char32_t>(U'0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (negative) page.put(U'-');
  while (n > 0) page.put(digits[--n]);
}

template <class Sink>
void AppendStyleSheet(Sink& page, const ExportSettings& settings) {
  const Text font = page::StyleValue(settings.FontName);
  const Text size = page::StyleValue(settings.TextSize);
  const Text pageBackground = page::ColourValue(settings.PageBackground);
  const Text pageText = page::ColourValue(settings.PageTextColour);
  const Text boxColour = page::ColourValue(settings.AnswerBoxColour);
  const Text boxText = page::ColourValue(settings.AnswerTextColour);

  page.put(U"</SCRIPT>\r\n  <STYLE type=text/css>.special {\r\n");
  page.put(U"FONT-WEIGHT: normal; FONT-SIZE:");
  page.put(size);
  page.put(U"px; WORD-SPACING: normal; COLOR:");
  page.put(pageText);
  page.put(U"; FONT-STYLE: normal; FONT-FAMILY:");
  page.put(font);
  page.put(U"; WHITE-SPACE: pre; LETTER-SPACING: normal; BACKGROUND-COLOR: ");
  page.put(pageBackground);
  page.put(U"; TEXT-ALIGN: justify; TEXT-DECORATION: none }\r\n");
  page.put(U".boxes { FONT-WEIGHT: bold; CLIP: rect(1px 1px 1px 1px); COLOR:");
  page.put(boxText);
  page.put(U"; BORDER-TOP-STYLE: none; FONT-FAMILY:");
  page.put(font);
  page.put(U"; BORDER-RIGHT-STYLE: none; BORDER-LEFT-STYLE: none; BACKGROUND-COLOR:");
  page.put(boxColour);
  page.put(U"; TEXT-DECORATION: none; BORDER-BOTTOM-STYLE: none }\r\n");
  page.put(U".button {FONT-WEIGHT: normal; COLOR:");
  page.put(pageBackground);
  page.put(U"; FONT-FAMILY:");
  page.put(font);
  page.put(U"; BACKGROUND-COLOR:");
  page.put(pageText);
  page.put(U"}\r\n");
  page.put(U"</STYLE>\r\n </HEAD>\r\n");
}

// The words of one text; gap is the number of the last box written before
// it (-1 for none), so that the boxes of a test of several texts are
// numbered on from text to text, as the script's answer list runs on.
template <class Sink>
void AppendWords(Sink& page, const TestWorkspace& workspace, long long& gap) {
  const TextList& left = workspace.PageLeftHalves;
  for (std::size_t i = 0; i < left.size(); ++i) {
    const long long index = static_cast<long long>(i);
    const TextView right = workspace.PageRightHalves.at(index);
    const TextView separator = workspace.PageSeparators.at(index);
    page::AppendMarkupText(page, left[i]);
    if (!right.empty()) {
      ++gap;
      page.put(U" <INPUT class=boxes size=5 name=");
      PutDecimal(page, gap);
      page.put(U"> ");
    }
    page.put(separator);
    page.put(U' ');
  }
}

}  // namespace

namespace {

// The likely page length, so that the page is rarely copied while it grows:
// every character of the text once, two blanks per word, a gap box and an
// answer literal per answer, and the fixed markup and script.
std::size_t EstimatedLength(std::span<const page::ClassicText> texts, const ExportSettings& settings) {
  std::size_t length = 8000 + settings.Title.size();
  for (const page::ClassicText& text : texts) {
    const TestWorkspace& workspace = *text.Workspace;
    length += 64 + text.Title.size() + workspace.FirstSentence.size() + workspace.PageLeftHalves.characters() +
              workspace.PageLeftHalves.size() * 2 + workspace.PageSeparators.characters() +
              workspace.PageAnswers.characters() + workspace.PageAnswers.size() * 56;
  }
  return length;
}

// A language tag as an attribute value: a well-formed tag holds only ASCII
// letters, digits and hyphens, and nothing else is written.
template <class Sink>
void AppendLanguage(Sink& page, std::string_view language) {
  page.put(U" lang=\"");
  for (char c : language) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-') {
      page.put(static_cast<char32_t>(c));
    }
  }
  page.put(U'"');
}

// The texts inside the cloze form, each a paragraph. One text is the
// paragraph the page has always had; several each have their title as a
// heading over their paragraph ("Text N" for a blank title). The language,
// when the test has one, is the paragraphs' lang.
template <class Sink>
void AppendTexts(Sink& page, std::span<const page::ClassicText> texts, std::string_view language) {
  long long gap = -1;
  for (std::size_t t = 0; t < texts.size(); ++t) {
    const TestWorkspace& workspace = *texts[t].Workspace;
    if (t > 0) page.put(U"\r\n</P>\r\n");
    if (texts.size() > 1) {
      const TextView title = page::Trimmed(texts[t].Title, page::IsSpaceOrControl);
      page.put(U"<H3>");
      if (title.empty()) {
        page.put(U"Text ");
        PutDecimal(page, static_cast<long long>(t + 1));
      } else {
        page::AppendMarkupText(page, title);
      }
      page.put(U"</H3>\r\n");
    }
    page.put(U"<P");
    if (!language.empty()) AppendLanguage(page, language);
    page.put(U'>');
    page::AppendMarkupText(page, workspace.FirstSentence);
    page.put(U' ');
    AppendWords(page, workspace, gap);
  }
}

template <class Sink>
void WritePage(Sink& page, std::span<const page::ClassicText> texts, const ExportSettings& settings,
               const page::ClassicAnswers* more = nullptr, std::string_view language = {}) {
  const Text pageBackground = page::ColourValue(settings.PageBackground);
  const Text pageText = page::ColourValue(settings.PageTextColour);
  const Text boxColour = page::ColourValue(settings.AnswerBoxColour);
  const Text boxText = page::ColourValue(settings.AnswerTextColour);
  page.put(U"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"> \r\n");
  page.put(U"<HTML>\r\n<HEAD>\r\n<TITLE>C-test</TITLE> \r\n");
  page.put(U"<META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"> \r\n");
  page.put(U"<META content=\"MSHTML 6.00.2600.0\" name=GENERATOR> \r\n");
  page.put(U"<SCRIPT language=JavaScript> \r\n");
  page::WriteScript(page, texts, settings, more);
  AppendStyleSheet(page, settings);

  if (settings.TimerFlag) {
    std::size_t gaps = 0;
    for (const page::ClassicText& text : texts) gaps += text.Workspace->PageAnswers.size();
    const long long limit = kMillisecondsPerGap * static_cast<long long>(gaps);
    page.put(U"<BODY class=special onLoad=\"ClearForm(); setTimeout('CheckAnswer()',");
    PutDecimal(page, limit);
    page.put(U")\">");
  } else {
    page.put(U"<BODY class=special onLoad=\"ClearForm()\">\r\n");
  }
  page.put(
      U"<FORM name=cloze>\r\n <CENTER>\r\n <TABLE cellSpacing=0 cellPadding=0 width=\"90%\" border=0>\r\n"
      U" <TBODY> <TR>\r\n");
  page.put(U"<TD bgColor=");
  page.put(boxColour);
  page.put(U">\r\n <FONT color=");
  page.put(boxText);
  page.put(U"> <H2 align=center>");
  page::AppendMarkupText(page, settings.Title);
  page.put(U"</H2></FONT></TD></TR>\r\n <TR>\r\n");
  page.put(U"<TD bgColor=");
  page.put(pageBackground);
  page.put(U">\r\n<FONT size=3 color=");
  page.put(pageText);
  page.put(U"><B><I>");
  page.put(page::kInstruction);
  page.put(
      U" : </I></B></FONT>\r\n</TD></TR>\r\n</TBODY>\r\n"
      U"</TABLE>\r\n</CENTER>\r\n <BLOCKQUOTE>\r\n");
  AppendTexts(page, texts, language);
  page.put(U"\r\n</P>\r\n</BLOCKQUOTE>\r\n</FORM>\r\n<FORM name=buttonform>");
  page.put(
      U"\r\n<P align=center><INPUT class=button onclick=CheckAnswer() type=button value=\"Submit Test\"> ");
  if (settings.TestMode == PageVariant::Practice) {
    page.put(U"<INPUT class=boxes size=60 name=feedback> <B>Score</B> : <INPUT class=boxes name=score>");
    if (settings.ShowAnswersFlag) {
      page.put(U" <input class=button type=button onclick=ShowAnswers() value=\"Show Answers\">");
    }
  }
  page.put(U"</P>\r\n<P align=center>");
  page.put(page::kCreditLine);
  page.put(U"</P>\r\n</FORM>\r\n</BODY>\r\n</HTML>");
}

}  // namespace

namespace {

// What a test adds to the script (its further answers, letter case), or
// nothing for texts of one answer a gap matched exactly, whose page is
// written exactly as it always was.
std::optional<page::ClassicAnswers> MoreAnswers(std::span<const ClassicPageText> texts, AnswerMatching matching) {
  bool any = matching != AnswerMatching::Exact;
  for (const ClassicPageText& text : texts) {
    if (text.Accepted == nullptr) continue;
    for (const std::vector<Text>& list : *text.Accepted) any = any || !list.empty();
  }
  if (!any) return std::nullopt;
  page::ClassicAnswers more;
  more.IgnoreCase = matching == AnswerMatching::IgnoreCase;
  for (const ClassicPageText& text : texts) {
    // One list per gap of the text, whether or not it has further answers.
    const std::size_t gaps = text.Workspace->PageAnswers.size();
    for (std::size_t g = 0; g < gaps; ++g) {
      std::vector<Text>& prepared = more.More.emplace_back();
      if (text.Accepted == nullptr || g >= text.Accepted->size()) continue;
      for (const Text& a : (*text.Accepted)[g]) prepared.push_back(page::EscapeAnswerLetters(a));
    }
  }
  return more;
}

// Prepares every text's lists in place and writes the page into sink.
template <class Sink>
void WriteTest(Sink& sink, std::span<const ClassicPageText> texts, const ExportSettings& settings,
               AnswerMatching matching, std::string_view language) {
  std::vector<page::ClassicText> prepared;
  prepared.reserve(texts.size());
  for (const ClassicPageText& text : texts) {
    PrepareAnswers(text.Workspace->PageAnswers);
    MarkLineBreaks(text.Workspace->PageSeparators);
    prepared.push_back({text.Title, text.Workspace});
  }
  const std::optional<page::ClassicAnswers> more = MoreAnswers(texts, matching);
  WritePage(sink, prepared, settings, more ? &*more : nullptr, language);
}

std::size_t EstimatedLength(std::span<const ClassicPageText> texts, const ExportSettings& settings) {
  std::vector<page::ClassicText> views;
  for (const ClassicPageText& text : texts) views.push_back({text.Title, text.Workspace});
  return EstimatedLength(std::span<const page::ClassicText>(views), settings);
}

}  // namespace

Text BuildTestPage(std::span<const ClassicPageText> texts, const ExportSettings& settings, AnswerMatching matching,
                   std::string_view language) {
  Text page;
  page.reserve(EstimatedLength(texts, settings));
  page::TextSink sink(page);
  WriteTest(sink, texts, settings, matching, language);
  return page;
}

std::string BuildTestPageBytes(std::span<const ClassicPageText> texts, const ExportSettings& settings,
                               AnswerMatching matching, std::string_view language) {
  std::string bytes;
  bytes.reserve(EstimatedLength(texts, settings));
  page::ByteSink sink(bytes);
  WriteTest(sink, texts, settings, matching, language);
  return bytes;
}

Text BuildTestPage(TestWorkspace& workspace, const ExportSettings& settings) {
  const ClassicPageText text{settings.Title, &workspace};
  return BuildTestPage(std::span(&text, 1), settings);
}

std::string BuildTestPageBytes(TestWorkspace& workspace, const ExportSettings& settings) {
  const ClassicPageText text{settings.Title, &workspace};
  return BuildTestPageBytes(std::span(&text, 1), settings);
}

std::string EncodePage(TextView page) {
  // Sized exactly first: a reference "&#N;" takes the place of one character.
  std::size_t size = page.size();
  for (char32_t c : page) {
    if (page::HasWindows1252Byte(c)) continue;
    std::size_t digits = 1;
    for (char32_t v = ScalarOrReplacement(c); v >= 10; v /= 10) ++digits;
    size += digits + 2;
  }
  std::string bytes;
  bytes.reserve(size);
  page::ByteSink sink(bytes);
  sink.put(page);
  return bytes;
}

}  // namespace brenvik
