// The exported page: prepares the answer and separator lists in place, then
// writes the markup, the script and the style sheet piece by piece.

#include "core/page/ClassicPage.h"

#include "core/page/ClassicPageScript.h"
#include "core/page/PageEscape.h"
#include "core/page/PageSink.h"
#include "core/text/SearchAndReplace.h"
#include "core/text/CodePage.h"

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

template <class Sink>
void AppendWords(Sink& page, const TestWorkspace& workspace) {
  const TextList& left = workspace.PageLeftHalves;
  long long gap = -1;
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
std::size_t EstimatedLength(const TestWorkspace& workspace, const ExportSettings& settings) {
  return 8000 + settings.Title.size() + workspace.FirstSentence.size() + workspace.PageLeftHalves.characters() +
         workspace.PageLeftHalves.size() * 2 + workspace.PageSeparators.characters() +
         workspace.PageAnswers.characters() + workspace.PageAnswers.size() * 56;
}

template <class Sink>
void WritePage(Sink& page, const TestWorkspace& workspace, const ExportSettings& settings,
               const page::ClassicAnswers* more = nullptr) {
  const Text pageBackground = page::ColourValue(settings.PageBackground);
  const Text pageText = page::ColourValue(settings.PageTextColour);
  const Text boxColour = page::ColourValue(settings.AnswerBoxColour);
  const Text boxText = page::ColourValue(settings.AnswerTextColour);
  page.put(U"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"> \r\n");
  page.put(U"<HTML>\r\n<HEAD>\r\n<TITLE>C-test</TITLE> \r\n");
  page.put(U"<META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"> \r\n");
  page.put(U"<META content=\"MSHTML 6.00.2600.0\" name=GENERATOR> \r\n");
  page.put(U"<SCRIPT language=JavaScript> \r\n");
  page::WriteScript(page, workspace, settings, more);
  AppendStyleSheet(page, settings);

  if (settings.TimerFlag) {
    const long long limit = kMillisecondsPerGap * static_cast<long long>(workspace.PageAnswers.size());
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
      U"</TABLE>\r\n</CENTER>\r\n <BLOCKQUOTE>\r\n<P>");
  page::AppendMarkupText(page, workspace.FirstSentence);
  page.put(U' ');
  AppendWords(page, workspace);
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

Text BuildTestPage(TestWorkspace& workspace, const ExportSettings& settings) {
  PrepareAnswers(workspace.PageAnswers);
  MarkLineBreaks(workspace.PageSeparators);
  Text page;
  page.reserve(EstimatedLength(workspace, settings));
  page::TextSink sink(page);
  WritePage(sink, workspace, settings);
  return page;
}

std::string BuildTestPageBytes(TestWorkspace& workspace, const ExportSettings& settings) {
  PrepareAnswers(workspace.PageAnswers);
  MarkLineBreaks(workspace.PageSeparators);
  std::string bytes;
  bytes.reserve(EstimatedLength(workspace, settings));
  page::ByteSink sink(bytes);
  WritePage(sink, workspace, settings);
  return bytes;
}

std::string BuildTestPageBytes(TestWorkspace& workspace, const ExportSettings& settings,
                               const std::vector<std::vector<Text>>& accepted, AnswerMatching matching) {
  PrepareAnswers(workspace.PageAnswers);
  MarkLineBreaks(workspace.PageSeparators);
  page::ClassicAnswers more;
  more.IgnoreCase = matching == AnswerMatching::IgnoreCase;
  more.More.reserve(accepted.size());
  for (const std::vector<Text>& list : accepted) {
    std::vector<Text>& prepared = more.More.emplace_back();
    for (const Text& a : list) prepared.push_back(page::EscapeAnswerLetters(a));
  }
  std::string bytes;
  bytes.reserve(EstimatedLength(workspace, settings));
  page::ByteSink sink(bytes);
  WritePage(sink, workspace, settings, &more);
  return bytes;
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
