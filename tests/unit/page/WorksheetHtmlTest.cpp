// The worksheet's print layout: the sheet's model laid out as one HTML
// document, in the order the pages print it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/Worksheet.h"
#include "core/page/WorksheetHtml.h"

namespace brenvik {
namespace {

std::string Cells(std::size_t n) {
  std::string cells;
  for (std::size_t i = 0; i < n; ++i) cells += "<span class=\"cell\"></span>";
  return cells;
}

// A test of two texts, the second with further answers and written right to
// left, a title that needs escaping: every part of the sheet in print order.
TEST(WorksheetHtml, TwoTextsWithFurtherAnswersInPrintOrder) {
  TestWorkspace first;
  TestWorkspace second;
  GenerateTest(U"This is a test. The cat sat on the mat.", first);
  GenerateTest(U"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD. \u05D4\u05D9\u05DC\u05D3 \u05E8\u05E5.", second);
  const std::vector<std::vector<Text>> more = {{U"\u05E5\u05D9"}};
  page::PageTest test;
  test.Texts = {{U"Cats", &first, nullptr}, {U"", &second, &more}};
  ExportSettings settings;
  settings.Title = U"Unit <3> & more";
  const std::string html = WorksheetHtml(BuildWorksheet(test, settings), "he");

  const struct {
    const char* what;
    std::string fragment;
  } kInOrder[] = {
      {"the language", "<html lang=\"he\">"},
      {"the print page", "@page{size:A4;margin:20mm}"},
      {"the key on a page of its own", ".key{break-before:page}"},
      {"the title, escaped", "<h1 dir=\"auto\">Unit &lt;3&gt; &amp; more</h1>"},
      {"the name and date lines", "Name: <span class=\"line name\"></span>Date: <span class=\"line date\"></span>"},
      {"the instruction", "Complete the gaps in the following text</p>"},
      {"the first text's title", "<h3 dir=\"auto\">Cats</h3>"},
      {"its first gap as two cells", "The c<span class=\"gap\" role=\"img\" aria-label=\"gap 1, 2 letters\">" + Cells(2) + "</span> sat"},
      {"a gap of one letter", "aria-label=\"gap 2, 1 letter\">" + Cells(1) + "</span>"},
      {"the blank title numbered", "<h3 dir=\"auto\">Text 2</h3>"},
      {"the right-to-left text in a paragraph of its own direction", "<p dir=\"auto\">\u05E9\u05DC\u05D5\u05DD"},
      {"its gap numbered on", "aria-label=\"gap 4, 1 letter\">"},
      {"the key's heading", "<section class=\"key\">\n<h2 dir=\"auto\">Answer key</h2>"},
      {"the key under the first title", "<h3 dir=\"auto\">Cats</h3>\n<p dir=\"auto\"><span class=\"entry\"><span class=\"number\">1.</span>\u00A0<bdi>c<span class=\"answer\">at</span></bdi></span>"},
      {"entries set apart", " \u00B7 <span class=\"entry\"><span class=\"number\">2.</span>"},
      {"the second text's key", "<h3 dir=\"auto\">Text 2</h3>\n<p dir=\"auto\"><span class=\"entry\"><span class=\"number\">4.</span>"},
      {"the further answer after a slash", "</span></bdi>\u00A0/\u00A0<bdi>\u05E8<span class=\"answer\">\u05E5\u05D9</span></bdi>"},
      {"the end", "</section>\n</body>\n</html>\n"},
  };
  std::size_t from = 0;
  for (const auto& part : kInOrder) {
    const std::size_t at = html.find(part.fragment, from);
    ASSERT_NE(at, std::string::npos) << part.what << " not found after offset " << from << " in\n" << html;
    from = at + part.fragment.size();
  }
  EXPECT_EQ(html.find("<h3", html.find("Text 2</h3>\n<p dir=\"auto\"><span class=\"entry\"><span class=\"number\">4.")), std::string::npos)
      << "no title after the last text's key";
}

// One text is printed without a title over it; no language, no lang.
TEST(WorksheetHtml, OneTextHasNoTitlesAndNoLanguage) {
  TestWorkspace w;
  GenerateTest(U"This is a test. The cat sat on the mat.", w);
  const std::string html = WorksheetHtml(BuildWorksheet(w, {}), "");
  EXPECT_NE(html.find("<html>\n"), std::string::npos);
  EXPECT_EQ(html.find("<h3"), std::string::npos);
  EXPECT_NE(html.find("<div class=\"text\">\n<p dir=\"auto\">This is a test. The c<span class=\"gap\""), std::string::npos);
}

}  // namespace
}  // namespace brenvik
