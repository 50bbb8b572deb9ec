#pragma once
// The writers of the export formats, one function each, named in the table
// of ExportFormats.cpp. Each starts a file of its format.

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

std::unique_ptr<ExportFile> OpenClassicPage(const ExportSettings& settings, const ExportContext& context);
std::unique_ptr<ExportFile> OpenResponsivePage(const ExportSettings& settings, const ExportContext& context);
std::unique_ptr<ExportFile> OpenMoodleQuiz(const ExportSettings& settings, const ExportContext& context);
std::unique_ptr<ExportFile> OpenWorksheetPdf(const ExportSettings& settings, const ExportContext& context);

}  // namespace brenvik::exporting
