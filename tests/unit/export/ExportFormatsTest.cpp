// The export table's naming rule: the file a name chosen in the save dialog
// is written to, for every format.

#include <gtest/gtest.h>

#include <string>

#include "export/ExportFormats.h"

namespace brenvik {
namespace {

TEST(ExportFormats, SavedFileNameFollowsEachFormatsRule) {
  struct Case {
    const char* format;
    const char* chosen;
    const char* saved;
  };
  const Case cases[] = {
      // Export to web always appends, even to a name that ends in .htm.
      {"classic", "/tmp/page", "/tmp/page.htm"},
      {"classic", "/tmp/page.htm", "/tmp/page.htm.htm"},
      {"classic", "C-Test", "C-Test.htm"},
      // Every other export appends only when the name lacks it, in any case.
      {"responsive", "/tmp/phone", "/tmp/phone.htm"},
      {"responsive", "/tmp/phone.htm", "/tmp/phone.htm"},
      {"responsive", "/tmp/phone.HTM", "/tmp/phone.HTM"},
      {"responsive", "/tmp/phone.html", "/tmp/phone.html.htm"},
      {"moodle", "/tmp/quiz", "/tmp/quiz.xml"},
      {"moodle", "/tmp/quiz.xml", "/tmp/quiz.xml"},
      {"moodle", "/tmp/quiz.XmL", "/tmp/quiz.XmL"},
      {"moodle", "/tmp/quiz.txt", "/tmp/quiz.txt.xml"},
      {"moodle", "/tmp/xml", "/tmp/xml.xml"},
      {"moodle", "/tmp/.xml", "/tmp/.xml"},
      {"pdf", "/tmp/sheet.Pdf", "/tmp/sheet.Pdf"},
      {"pdf", "/tmp/sheet.pdf.bak", "/tmp/sheet.pdf.bak.pdf"},
      {"pdf", "/tmp/\xC3\xA9t\xC3\xA9", "/tmp/\xC3\xA9t\xC3\xA9.pdf"},
      {"pdf", "", ".pdf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.chosen);
    const ExportFormat* format = FindExportFormat(c.format);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(SavedFileName(*format, c.chosen), c.saved);
  }
  EXPECT_EQ(FindExportFormat("html"), nullptr);
  EXPECT_EQ(ExportFormats().front().id, "classic");  // the default of brenvik-cli export
}

}  // namespace
}  // namespace brenvik
