// The answer-checking script embedded in every exported page. Fixed text with
// a few pieces that depend on the variant, plus three inserted values: the
// answers, the font name and the page text colour.

#include "export/PageEscape.h"
#include "export/PageWriter.h"

namespace brenvik {

namespace {

void AppendAnswer(Text& page, TextView preparedAnswer) {
  page.append(U"unescape('");
  page::AppendAnswerLiteral(page, preparedAnswer);
  page.append(U"'), ");
}

}  // namespace

void WriteAnswerScript(Text& page, const TestWorkspace& workspace, const ExportSettings& settings) {
  const TextList& answers = workspace.PageAnswers;
  const bool practice = settings.TestMode == 2;
  const bool testVersion = settings.TestMode == 1;
  const bool showAnswers = settings.ShowAnswersFlag == 1;

  page.append(U"var ISWrong = 0 \r\n");
  if (showAnswers) page.append(U"var c = 0 \r\n");
  page.append(U"var Words = [");
  // Every answer but the last, then the last one by its index: with no answer
  // that index is -1 and the list reports it, which ends the export.
  const long long count = static_cast<long long>(answers.size());
  for (long long i = 0; i + 1 < count; ++i) AppendAnswer(page, answers[static_cast<std::size_t>(i)]);
  AppendAnswer(page, answers.at(count - 1));
  page.append(U"]\r\n");

  if (showAnswers) {
    page.append(
        U"function ShowAnswers(){\r\nc=1\r\nfor (x=0; x<(document.cloze.elements.length); x++){\r\n"
        U"document.cloze.elements[x].value = Words[x];}\r\n}");
  }
  page.append(
      U"function ClearForm(){\r\nfor (x=0; x<(document.cloze.elements.length); x++){\r\n"
      U"document.cloze.elements[x].value = '';}\r\n}");
  page.append(U"function CheckAnswer(){\r\nvar x = 0\r\nISWrong = 0\r\nISRight = 0 \r\n");
  page.append(U"for (x=0; x<(document.cloze.elements.length); x++){\r\n");
  page.append(U"if (TrimString(document.cloze.elements[x].value) == Words[x]){\r\n");
  page.append(U"ISRight = ISRight + 1;\r\n\t}\r\nelse {\r\n");
  page.append(U"ISWrong = ISWrong + 1;\r\n \tdocument.cloze.elements[x].value = '';}\r\n }");
  if (testVersion) {
    page.append(U"document.clear();\r\ndocument.writeln(\"<CENTER><FONT FACE=");
    page.append(page::SettingValue(settings.FontName));
    page.append(U" color=");
    page.append(page::ColourValue(settings.PageTextColour));
    page.append(
        U"> You scored \" + ISRight + \" out of a possible \" + (ISRight+ISWrong) + \"</FONT></CENTER>\");");
  }
  if (practice) {
    page.append(U"if (ISWrong > 0){Feedback = \"Some of your answers are wrong.\";\r\n");
    page.append(U"buttonform.score.value =ISRight;\r\n");
    page.append(
        U"}\r\nelse {\r\nFeedback = \"All correct! Well done.\";\r\n buttonform.score.value =ISRight;\r\n\t}");
  }
  if (showAnswers) {
    page.append(U"\r\nif (c > 0) {Feedback = \"No cheating!\";\r\nbuttonform.score.value = \"naughty!\";}");
  }
  if (practice) page.append(U"WriteFeedback(Feedback)");
  page.append(U"}\r\nfunction TrimString(InString){\r\n  var x = 0\r\n   if (InString.length != 0) {\r\n");
  page.append(
      U"while ((escape(InString.charAt(InString.length - 1)) =='%20') || "
      U"(escape(InString.charAt(InString.length - 1)) == '%0A') || "
      U"(escape(InString.charAt(InString.length - 1)) == '%0D')){\r\n"
      U"InString = InString.substring(0, InString.length - 1)\r\n }\r\n");
  page.append(
      U"while ((escape(InString.charAt(0)) == '%20') || (escape(InString.charAt(0)) == '%0A') || "
      U"(escape(InString.charAt(0)) == '%0D')  ){     InString = InString.substring(1, InString.length)\r\n }\r\n");
  page.append(U"while (InString.indexOf('  ') != -1) {\r\n x = InString.indexOf('  ')\r\n");
  page.append(U"InString = InString.substring(0, x) + InString.substring(x+1, InString.length )\r\n}\r\n");
  page.append(U"return InString\r\n }\r\nelse {\r\nreturn ''\r\n}\r\n}\r\n");
  page.append(U"function WriteFeedback(Feedback) {\r\nbuttonform.feedback.value =Feedback;\r\n}\r\n");
}

}  // namespace brenvik
