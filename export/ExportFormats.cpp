#include "export/ExportFormats.h"

#include <chrono>
#include <cstdlib>

#include "export/ExportWriters.h"
#include "core/page/PageTest.h"

namespace brenvik {

namespace {

using exporting::OpenClassicPage;
using exporting::OpenMoodleQuiz;
using exporting::OpenResponsivePage;
using exporting::OpenScorm12Package;
using exporting::OpenScorm2004Package;
using exporting::OpenWorksheetPdf;

constexpr ExportFormat kFormats[] = {
    {"classic", "E&xport to web", "mnuExporttoweb", "Save as HTML", ".htm", "HTML files (*.htm)|*.htm",
     "the page Export to web writes, byte for byte (Windows-1252; the default)", ExportNaming::AlwaysAppend,
     AfterExport::OfferPreviewEvenIfNotSaved, {}, true, false, false, &OpenClassicPage},
    {"responsive", "Export &mobile page\u2026", "mnuExportMobile",
     "Save as a page for phones, tablets and screen readers", ".htm", "HTML files (*.htm)|*.htm",
     "a UTF-8 page for phones, tablets, screen readers and printing", ExportNaming::AppendWhenMissing,
     AfterExport::OfferPreview, {}, true, false, false, &OpenResponsivePage},
    {"moodle", "Export to Moo&dle\u2026", "mnuExportMoodle", "Save as a Moodle XML quiz for a course's question bank",
     ".xml", "Moodle XML files (*.xml)|*.xml", "Moodle XML, one embedded-answers (Cloze) question per text",
     ExportNaming::AppendWhenMissing, AfterExport::Nothing,
     "The quiz was saved as %1, but Moodle will not take these as written:", true, false, false, &OpenMoodleQuiz},
    {"pdf", "Export PD&F\u2026", "mnuExportPdf", "Save the worksheet and its answer key as a PDF file", ".pdf",
     "PDF files (*.pdf)|*.pdf",
     "a printable worksheet and its answer key (A4, or Letter where the locale uses it)",
     ExportNaming::AppendWhenMissing, AfterExport::Nothing, {}, true, true, false, &OpenWorksheetPdf},
    {"scorm12", "Export S&CORM package\u2026", "mnuExportScorm",
     "Save as a package that a learning platform imports and that reports each pupil's score", ".zip",
     "SCORM packages (*.zip)|*.zip", "a SCORM 1.2 package of the mobile page (learning platforms)",
     ExportNaming::AppendWhenMissing, AfterExport::Nothing, {}, true, false, true, &OpenScorm12Package},
    {"scorm2004", {}, "mnuExportScorm2004", {}, ".zip", "SCORM packages (*.zip)|*.zip",
     "a SCORM 2004 (4th edition) package of the mobile page", ExportNaming::AppendWhenMissing,
     AfterExport::Nothing, {}, true, false, true, &OpenScorm2004Package},
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithIgnoringCase(std::string_view s, std::string_view end) {
  if (s.size() < end.size()) return false;
  s.remove_prefix(s.size() - end.size());
  for (std::size_t i = 0; i < end.size(); ++i) {
    if (AsciiLower(s[i]) != AsciiLower(end[i])) return false;
  }
  return true;
}

}  // namespace

std::span<const ExportFormat> ExportFormats() { return kFormats; }

const ExportFormat* FindExportFormat(std::string_view id) {
  for (const ExportFormat& f : kFormats) {
    if (f.id == id) return &f;
  }
  return nullptr;
}

std::string ExportFormatIds() {
  std::string ids;
  for (const ExportFormat& f : kFormats) {
    if (!ids.empty()) ids += '|';
    ids += f.id;
  }
  return ids;
}

std::string SavedFileName(const ExportFormat& format, std::string_view chosen) {
  // "quiz" and "quiz.xml" both give quiz.xml, "quiz.txt" gives
  // quiz.txt.xml, so the file always opens as what it is. The extension is
  // ASCII, so comparing the path's last bytes compares its file name's end.
  if (format.naming == ExportNaming::AppendWhenMissing && EndsWithIgnoringCase(chosen, format.extension)) {
    return std::string(chosen);
  }
  return std::string(chosen) + std::string(format.extension);
}

ExportResult Export(const ExportFormat& format, const std::vector<ExportText>& texts,
                    const ExportSettings& settings, const ExportContext& context) {
  const std::unique_ptr<ExportFile> file = format.open(settings, context);
  ExportResult result;
  for (const ExportText& text : texts) {
    for (std::string& w : file->add(text)) result.Warnings.push_back(std::move(w));
  }
  result.Bytes = file->bytes();
  return result;
}

bool HasAcceptedAnswers(const ExportText& text) {
  return page::PageText{{}, text.Workspace, text.Accepted}.hasAccepted();
}

std::int64_t ExportCreationTime() {
  static const std::int64_t time = [] {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
      char* end = nullptr;
      const long long seconds = std::strtoll(epoch, &end, 10);
      if (*epoch != '\0' && *end == '\0' && seconds >= 0) return static_cast<std::int64_t>(seconds);
    }
    return static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
  }();
  return time;
}

}  // namespace brenvik
