// The PDF writer of the WebAssembly build, which has no painter: the format
// stays in the table (its names and extension are the same everywhere), and
// asking for it is an error with the way out.

#include "core/text/Errors.h"
#include "export/ExportWriters.h"

namespace brenvik::exporting {

std::unique_ptr<ExportFile> OpenWorksheetPdf(const ExportSettings&, const ExportContext&) {
  throw BrenvikError("the worksheet is printed from its print layout here; there is no PDF writer");
}

}  // namespace brenvik::exporting
