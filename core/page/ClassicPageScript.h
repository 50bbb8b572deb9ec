#pragma once
// The answer-checking script embedded in every exported page: fixed text with
// a few pieces that depend on the variant, plus three inserted values (the
// answers, the font name and the page text colour).

#include <span>
#include <vector>

#include "core/page/ExportSettings.h"
#include "core/page/PageEscape.h"
#include "core/text/Errors.h"
#include "core/ctest/TestGen.h"

namespace brenvik::page {

template <class Sink>
void PutAnswer(Sink& page, TextView preparedAnswer) {
  page.put(TextView(U"unescape('"));
  AppendAnswerLiteral(page, preparedAnswer);
  page.put(TextView(U"'), "));
}

// What a text of a test adds to the script: per gap (the order of the
// prepared answers) its further right answers, each prepared as the answers
// are (EscapeAnswerLetters), and whether letter case is ignored. A page
// without them is written exactly as before.
struct ClassicAnswers {
  std::vector<std::vector<Text>> More;
  bool IgnoreCase = false;
};

// A text on the page: its title and its workspace, whose page lists are
// prepared.
struct ClassicText {
  TextView Title;
  const TestWorkspace* Workspace = nullptr;
};

// The script of a page of one or more texts: their prepared answers make one
// list, in text order, as the boxes are numbered.
template <class Sink>
void WriteScript(Sink& page, std::span<const ClassicText> texts, const ExportSettings& settings,
                 const ClassicAnswers* more = nullptr) {
  const bool practice = settings.TestMode == PageVariant::Practice;
  const bool testVersion = !practice;
  const bool showAnswers = settings.ShowAnswersFlag;

  page.put(U"var ISWrong = 0 \r\n");
  if (showAnswers) page.put(U"var c = 0 \r\n");
  page.put(U"var Words = [");
  // With no answer the list error ends the export, as reading the answer
  // list's last entry (index -1) always has.
  std::size_t gaps = 0;
  for (const ClassicText& text : texts) gaps += text.Workspace->PageAnswers.size();
  if (gaps == 0) throw ListIndexError(-1);
  for (const ClassicText& text : texts) {
    for (TextView answer : text.Workspace->PageAnswers) PutAnswer(page, answer);
  }
  page.put(U"]\r\n");
  if (more != nullptr) {
    page.put(U"var More = [");
    for (std::size_t g = 0; g < gaps; ++g) {
      page.put(U'[');
      if (g < more->More.size()) {
        for (const Text& a : more->More[g]) PutAnswer(page, a);
      }
      page.put(U"], ");
    }
    page.put(U"]\r\n");
    page.put(more->IgnoreCase ? U"function Fold(s){return s.toLowerCase()}\r\n"
                              : U"function Fold(s){return s}\r\n");
    page.put(
        U"function IsRight(t, x){\r\nif (Fold(t) == Fold(Words[x])) return true\r\n"
        U"for (var k=0; k<More[x].length; k++){ if (Fold(t) == Fold(More[x][k])) return true }\r\n"
        U"return false\r\n}\r\n");
  }

  if (showAnswers) {
    page.put(
        U"function ShowAnswers(){\r\nc=1\r\nfor (x=0; x<(document.cloze.elements.length); x++){\r\n"
        U"document.cloze.elements[x].value = Words[x];}\r\n}");
  }
  page.put(
      U"function ClearForm(){\r\nfor (x=0; x<(document.cloze.elements.length); x++){\r\n"
      U"document.cloze.elements[x].value = '';}\r\n}");
  page.put(U"function CheckAnswer(){\r\nvar x = 0\r\nISWrong = 0\r\nISRight = 0 \r\n");
  page.put(U"for (x=0; x<(document.cloze.elements.length); x++){\r\n");
  page.put(more != nullptr ? U"if (IsRight(TrimString(document.cloze.elements[x].value), x)){\r\n"
                           : U"if (TrimString(document.cloze.elements[x].value) == Words[x]){\r\n");
  page.put(U"ISRight = ISRight + 1;\r\n\t}\r\nelse {\r\n");
  page.put(U"ISWrong = ISWrong + 1;\r\n \tdocument.cloze.elements[x].value = '';}\r\n }");
  if (testVersion) {
    page.put(U"document.clear();\r\ndocument.writeln(\"<CENTER><FONT FACE=");
    page.put(SettingValue(settings.FontName));
    page.put(U" color=");
    page.put(ColourValue(settings.PageTextColour));
    page.put(
        U"> You scored \" + ISRight + \" out of a possible \" + (ISRight+ISWrong) + \"</FONT></CENTER>\");");
  }
  if (practice) {
    page.put(U"if (ISWrong > 0){Feedback = \"Some of your answers are wrong.\";\r\n");
    page.put(U"buttonform.score.value =ISRight;\r\n");
    page.put(
        U"}\r\nelse {\r\nFeedback = \"All correct! Well done.\";\r\n buttonform.score.value =ISRight;\r\n\t}");
  }
  if (showAnswers) {
    page.put(U"\r\nif (c > 0) {Feedback = \"No cheating!\";\r\nbuttonform.score.value = \"naughty!\";}");
  }
  if (practice) page.put(U"WriteFeedback(Feedback)");
  page.put(U"}\r\nfunction TrimString(InString){\r\n  var x = 0\r\n   if (InString.length != 0) {\r\n");
  page.put(
      U"while ((escape(InString.charAt(InString.length - 1)) =='%20') || "
      U"(escape(InString.charAt(InString.length - 1)) == '%0A') || "
      U"(escape(InString.charAt(InString.length - 1)) == '%0D')){\r\n"
      U"InString = InString.substring(0, InString.length - 1)\r\n }\r\n");
  page.put(
      U"while ((escape(InString.charAt(0)) == '%20') || (escape(InString.charAt(0)) == '%0A') || "
      U"(escape(InString.charAt(0)) == '%0D')  ){     InString = InString.substring(1, InString.length)\r\n }\r\n");
  page.put(U"while (InString.indexOf('  ') != -1) {\r\n x = InString.indexOf('  ')\r\n");
  page.put(U"InString = InString.substring(0, x) + InString.substring(x+1, InString.length )\r\n}\r\n");
  page.put(U"return InString\r\n }\r\nelse {\r\nreturn ''\r\n}\r\n}\r\n");
  page.put(U"function WriteFeedback(Feedback) {\r\nbuttonform.feedback.value =Feedback;\r\n}\r\n");
}

}  // namespace brenvik::page
