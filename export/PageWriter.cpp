// The exported page: prepares the answer and separator lists in place, then
// writes the markup, the script and the style sheet piece by piece.

#include "export/PageWriter.h"

#include "export/PageEscape.h"
#include "platform/CodePage.h"

namespace brenvik {

namespace {

constexpr TextView kCreditLine = U"Made with Brenvik by Halvorsk, 2026";
constexpr long long kMillisecondsPerGap = 12000;

// Steps 1 and 2: empty answers dropped, lower-case letters escaped. An entry
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

// Step 3: every CR LF of a separator run becomes "<BR>"; lone CR or LF stay.
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

void AppendStyleSheet(Text& page, const ExportSettings& settings) {
  const Text font = page::StyleValue(settings.FontName);
  const Text size = page::StyleValue(settings.TextSize);
  const Text pageBackground = page::ColourValue(settings.PageBackground);
  const Text pageText = page::ColourValue(settings.PageTextColour);
  const Text boxColour = page::ColourValue(settings.AnswerBoxColour);
  const Text boxText = page::ColourValue(settings.AnswerTextColour);

  page.append(U"</SCRIPT>\r\n  <STYLE type=text/css>.special {\r\n");
  page.append(U"FONT-WEIGHT: normal; FONT-SIZE:").append(size);
  page.append(U"px; WORD-SPACING: normal; COLOR:").append(pageText);
  page.append(U"; FONT-STYLE: normal; FONT-FAMILY:").append(font);
  page.append(U"; WHITE-SPACE: pre; LETTER-SPACING: normal; BACKGROUND-COLOR: ").append(pageBackground);
  page.append(U"; TEXT-ALIGN: justify; TEXT-DECORATION: none }\r\n");
  page.append(U".boxes { FONT-WEIGHT: bold; CLIP: rect(1px 1px 1px 1px); COLOR:").append(boxText);
  page.append(U"; BORDER-TOP-STYLE: none; FONT-FAMILY:").append(font);
  page.append(U"; BORDER-RIGHT-STYLE: none; BORDER-LEFT-STYLE: none; BACKGROUND-COLOR:").append(boxColour);
  page.append(U"; TEXT-DECORATION: none; BORDER-BOTTOM-STYLE: none }\r\n");
  page.append(U".button {FONT-WEIGHT: normal; COLOR:").append(pageBackground);
  page.append(U"; FONT-FAMILY:").append(font);
  page.append(U"; BACKGROUND-COLOR:").append(pageText);
  page.append(U"}\r\n");
  page.append(U"</STYLE>\r\n </HEAD>\r\n");
}

void AppendWords(Text& page, const TestWorkspace& workspace) {
  const TextList& left = workspace.PageLeftHalves;
  long long gap = -1;
  for (std::size_t i = 0; i < left.size(); ++i) {
    const long long index = static_cast<long long>(i);
    const TextView right = workspace.PageRightHalves.at(index);
    const TextView separator = workspace.PageSeparators.at(index);
    page::AppendMarkupText(page, left[i]);
    if (!right.empty()) {
      ++gap;
      page.append(U" <INPUT class=boxes size=5 name=").append(ToText(gap)).append(U"> ");
    }
    page.append(separator);
    page.push_back(U' ');
  }
}

}  // namespace

Text BuildTestPage(TestWorkspace& workspace, const ExportSettings& settings) {
  PrepareAnswers(workspace.PageAnswers);
  MarkLineBreaks(workspace.PageSeparators);

  const Text pageBackground = page::ColourValue(settings.PageBackground);
  const Text pageText = page::ColourValue(settings.PageTextColour);
  const Text boxColour = page::ColourValue(settings.AnswerBoxColour);
  const Text boxText = page::ColourValue(settings.AnswerTextColour);

  Text page;
  page.reserve(6000 + workspace.FirstSentence.size() + workspace.PageLeftHalves.characters() +
               workspace.PageSeparators.characters() * 2 + workspace.PageAnswers.characters() * 2 +
               workspace.PageLeftHalves.size() * 4 + workspace.PageAnswers.size() * 48);
  page.append(U"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"> \r\n");
  page.append(U"<HTML>\r\n<HEAD>\r\n<TITLE>C-test</TITLE> \r\n");
  page.append(U"<META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"> \r\n");
  page.append(U"<META content=\"MSHTML 6.00.2600.0\" name=GENERATOR> \r\n");
  page.append(U"<SCRIPT language=JavaScript> \r\n");
  WriteAnswerScript(page, workspace, settings);
  AppendStyleSheet(page, settings);

  if (settings.TimerFlag == 1) {
    const long long limit = kMillisecondsPerGap * static_cast<long long>(workspace.PageAnswers.size());
    page.append(U"<BODY class=special onLoad=\"ClearForm(); setTimeout('CheckAnswer()',");
    page.append(ToText(limit)).append(U")\">");
  } else if (settings.TimerFlag == 0) {
    page.append(U"<BODY class=special onLoad=\"ClearForm()\">\r\n");
  }
  page.append(
      U"<FORM name=cloze>\r\n <CENTER>\r\n <TABLE cellSpacing=0 cellPadding=0 width=\"90%\" border=0>\r\n"
      U" <TBODY> <TR>\r\n");
  page.append(U"<TD bgColor=").append(boxColour);
  page.append(U">\r\n <FONT color=").append(boxText).append(U"> <H2 align=center>");
  page::AppendMarkupText(page, settings.Title);
  page.append(U"</H2></FONT></TD></TR>\r\n <TR>\r\n");
  page.append(U"<TD bgColor=").append(pageBackground);
  page.append(U">\r\n<FONT size=3 color=").append(pageText);
  page.append(
      U"><B><I>Complete the gaps in the following text : </I></B></FONT>\r\n</TD></TR>\r\n</TBODY>\r\n"
      U"</TABLE>\r\n</CENTER>\r\n <BLOCKQUOTE>\r\n<P>");
  page::AppendMarkupText(page, workspace.FirstSentence);
  page.push_back(U' ');
  AppendWords(page, workspace);
  page.append(U"\r\n</P>\r\n</BLOCKQUOTE>\r\n</FORM>\r\n<FORM name=buttonform>");
  page.append(
      U"\r\n<P align=center><INPUT class=button onclick=CheckAnswer() type=button value=\"Submit Test\"> ");
  if (settings.TestMode == 2) {
    page.append(U"<INPUT class=boxes size=60 name=feedback> <B>Score</B> : <INPUT class=boxes name=score>");
    if (settings.ShowAnswersFlag == 1) {
      page.append(U" <input class=button type=button onclick=ShowAnswers() value=\"Show Answers\">");
    }
  }
  page.append(U"</P>\r\n<P align=center>").append(kCreditLine);
  page.append(U"</P>\r\n</FORM>\r\n</BODY>\r\n</HTML>");
  return page;
}

std::string EncodePage(TextView page) {
  std::string bytes;
  bytes.reserve(page.size() + page.size() / 8);
  for (char32_t c : page) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes.push_back(static_cast<char>(static_cast<unsigned char>(c)));
      continue;
    }
    if (const auto byte = CharToWindows1252(c)) {
      bytes.push_back(static_cast<char>(*byte));
      continue;
    }
    const char32_t cp = (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) ? char32_t{0xFFFD} : c;
    bytes.append("&#").append(std::to_string(static_cast<unsigned long>(cp))).push_back(';');
  }
  return bytes;
}

}  // namespace brenvik
