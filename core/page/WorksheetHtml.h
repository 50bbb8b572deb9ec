#pragma once
// The worksheet as one HTML document for a browser's print: the same model
// as the PDF worksheet (title, name and date lines, the instruction, each
// text under its title with every gap as a row of letter cells, and the
// answer key on a page of its own with the further right answers), laid
// out by print CSS on A4.

#include <string>
#include <string_view>

#include "core/page/Worksheet.h"

namespace brenvik {

// The whole document, UTF-8. language is the texts' BCP 47 tag (the
// document's lang), empty for none. Each paragraph takes its direction from
// its first strong letter, so a right-to-left text runs and aligns from the
// right, as in the PDF.
std::string WorksheetHtml(const Worksheet& sheet, std::string_view language);

}  // namespace brenvik
