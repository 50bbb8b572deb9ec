#pragma once
// The worksheet on paper: one renderer for the PDF file and the printer.
// QTextDocument lays the sheet out (line breaking, right-to-left paragraphs,
// font fallback for every script the machine has fonts for) and paints it
// page by page onto a QPagedPaintDevice; the answer key starts a new page.
// Needs a QGuiApplication (the fonts), but no window.

#include <QDateTime>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <string>

#include "core/page/Worksheet.h"

class QPagedPaintDevice;

namespace brenvik {

// Letter where the locale's territory uses it (the United States, Canada,
// Mexico, the Philippines and most of Central America, Colombia, Chile and
// Venezuela) or measures in US units; A4 everywhere else.
QPageSize::PageSizeId WorksheetPaper(const QLocale& locale);

// The worksheet's page: that paper, portrait, 20 mm margins.
QPageLayout WorksheetPageLayout(const QLocale& locale);

// The sheet's first family: DejaVu Sans, which covers Latin with every
// accent, Polish, Cyrillic, Greek, Armenian, Georgian, Hebrew and Arabic in
// one face.
QString WorksheetFontFamily();

// Every family the sheet is set in, first to last: DejaVu Sans, then the
// Noto Sans faces of the scripts it lacks (fonts-noto-core: the Indic
// scripts, Sinhala, Thai, Lao, Khmer, Myanmar, Ethiopic...) and Noto Sans
// CJK (fonts-noto-cjk) in the Japanese, Korean or Chinese variant that the
// sheet's kana or hangul ask for. Qt takes each character from the first
// family that has it, and only then from any other installed font.
QStringList WorksheetFontFamilies(const Worksheet& sheet);

struct PaintedWorksheet {
  int Pages = 0;         // the sheet's pages; 0: nothing could be painted
  int PaintedPages = 0;  // how many of them were painted
  int FirstKeyPage = 0;  // 1-based page where the answer key starts
};

// Lays the sheet out for the device's page layout (paper and margins as the
// device has them, e.g. as chosen in a print dialog) and paints its pages
// fromPage..toPage (1-based, inclusive; 0 leaves that end open, as a print
// dialog's range does), each numbered "n / m" at the foot. Pages is 0 when
// painting could not begin (a printer or file that cannot be opened).
// Throws BrenvikError, with the number of pages the sheet has, when the
// range starts after its last page.
PaintedWorksheet PaintWorksheet(const Worksheet& sheet, QPagedPaintDevice& device, int fromPage = 0,
                                int toPage = 0);

// The sheet as the bytes of a PDF file: text selectable, fonts embedded, the
// sheet's title as the document title. creationTime is written as the
// document's creation date, so equal sheets give equal bytes. fromPage and
// toPage choose pages as for PaintWorksheet. Throws BrenvikError when the
// PDF cannot be painted.
std::string WorksheetPdf(const Worksheet& sheet, const QPageLayout& layout, const QDateTime& creationTime,
                         int fromPage = 0, int toPage = 0);

}  // namespace brenvik
