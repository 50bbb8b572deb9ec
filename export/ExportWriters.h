#pragma once
// The writers of the export formats, one function each, named in the table
// of ExportFormats.cpp. Each starts a file of its format.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/page/PageTest.h"
#include "export/ExportFormats.h"

namespace brenvik::exporting {

// What a format of one text makes of it when it is added: the warnings, and
// the rest of the work, done when the bytes are asked for.
struct PreparedText {
  std::vector<std::string> Warnings;
  std::function<std::string()> Finish;
};

using PrepareOneText = PreparedText (*)(const ExportText& text, const ExportSettings& settings,
                                        const ExportContext& context);

// A file of one text, made by prepare.
std::unique_ptr<ExportFile> OpenOneText(PrepareOneText prepare, const ExportSettings& settings,
                                        const ExportContext& context);

using MakeWholeTest = std::string (*)(const page::PageTest& test, const ExportSettings& settings,
                                      const ExportContext& context);

// A file of every text of the test, each checked for a gap as it is added,
// whose bytes make writes once all are in.
std::unique_ptr<ExportFile> OpenWholeTest(MakeWholeTest make, const ExportSettings& settings,
                                         const ExportContext& context);

std::unique_ptr<ExportFile> OpenClassicPage(const ExportSettings& settings, const ExportContext& context);
std::unique_ptr<ExportFile> OpenResponsivePage(const ExportSettings& settings, const ExportContext& context);
std::unique_ptr<ExportFile> OpenMoodleQuiz(const ExportSettings& settings, const ExportContext& context);
// The worksheet as a PDF (export/ExportPdf.cpp, Qt's painter); in the
// WebAssembly build it refuses, since the browser prints the worksheet from
// its HTML layout (ExportPdfRefused.cpp).
std::unique_ptr<ExportFile> OpenWorksheetPdf(const ExportSettings& settings, const ExportContext& context);
// A SCORM package of the responsive page, with the settings' pass mark.
std::unique_ptr<ExportFile> OpenScorm12Package(const ExportSettings& settings, const ExportContext& context);
std::unique_ptr<ExportFile> OpenScorm2004Package(const ExportSettings& settings, const ExportContext& context);

}  // namespace brenvik::exporting
