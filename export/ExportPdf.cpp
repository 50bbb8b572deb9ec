// The worksheet PDF writer and the reproducibility of Qt's output: the one
// part of the export formats that needs Qt (the painter and its fonts).

#include <QDateTime>
#include <QHashFunctions>
#include <QLocale>

#include "core/page/Worksheet.h"
#include "export/ExportWriters.h"
#include "ui/print/WorksheetPrint.h"

namespace brenvik {

namespace exporting {

namespace {

// The worksheet of every text, built and painted only if the file is wanted.
std::string MakeWorksheetPdf(const page::PageTest& test, const ExportSettings& settings,
                             const ExportContext& context) {
  return WorksheetPdf(BuildWorksheet(test, settings), WorksheetPageLayout(QLocale::system()),
                      QDateTime::fromSecsSinceEpoch(context.CreationTime, Qt::UTC));
}

}  // namespace

std::unique_ptr<ExportFile> OpenWorksheetPdf(const ExportSettings& settings, const ExportContext& context) {
  return OpenWholeTest(&MakeWorksheetPdf, settings, context);
}

}  // namespace exporting

void MakeExportsReproducible() {
  QHashSeed::setDeterministicGlobalSeed();
  (void)ExportCreationTime();
}

}  // namespace brenvik
