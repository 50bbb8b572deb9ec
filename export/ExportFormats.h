#pragma once
// The export formats of both programs, in one table: brenvik-cli's export
// command and the File menu's export commands are made from it. A format is
// one entry (its names, extension, file-dialog filter, naming rule and what
// the window does after the save) and one writer. Adding a format touches
// this table and its writer, nothing in the programs that use them.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/ExportSettings.h"
#include "core/test/Test.h"
#include "core/text/Text.h"

namespace brenvik {

// One text to export: the one place that says what a writer is given of a
// text. Its title names it where the format names texts (a Moodle
// question, a heading over each text of a test of several); its workspace
// holds the test, which the classic page prepares in place (PageAnswers,
// PageSeparators) and every other writer only reads. Accepted, when set,
// holds per gap in text order the further right answers (GeneratedText's
// accepted); none, or every list empty, is a text of one answer a gap.
struct ExportText {
  Text Title;
  TestWorkspace* Workspace = nullptr;
  const std::vector<std::vector<Text>>* Accepted = nullptr;
};

// What every file of one run shares besides the settings, and what the test
// says of all its texts: how answers are matched and the texts' language (a
// BCP 47 tag, empty for none). The defaults are a test of one text as
// Process makes it.
struct ExportContext {
  std::int64_t CreationTime = 0;  // seconds since 1970 UTC, written into PDFs: ExportCreationTime()
  Text* PageText = nullptr;  // when set, the classic page leaves its text here
  AnswerMatching Matching = AnswerMatching::Exact;
  std::string Language = {};
};

// Whether a text has any further accepted answer.
bool HasAcceptedAnswers(const ExportText& text);

// One file being written. add() takes a text and returns the warnings it
// gives (the file is written all the same), or throws the error that keeps
// it out of the file (a text without a gap), adding nothing. bytes() gives
// the finished file once every text is in; the work it leaves to the end
// (painting a PDF) is only done if the file is wanted, so a cancelled save
// costs nothing. A format that does not take several texts takes one.
class ExportFile {
 public:
  virtual ~ExportFile() = default;
  virtual std::vector<std::string> add(const ExportText& text) = 0;
  virtual std::string bytes() = 0;
  // The number of texts added.
  virtual std::size_t texts() const = 0;
};

// How the file name chosen in the save dialog becomes the file written.
enum class ExportNaming {
  AlwaysAppend,       // the extension is added, even to a name that ends in it
  AppendWhenMissing,  // added unless the name ends in it, in any case
};

// What the window does once the file is saved.
enum class AfterExport {
  Nothing,
  OfferPreview,             // asks whether to open the file in the browser
  OfferPreviewEvenIfNotSaved,  // asks that also after Cancel (the shell then
                               // opens the proposed name in the current folder)
};

struct ExportFormat {
  std::string_view id;          // --format NAME
  // File menu, with its access key; empty for a format reached through
  // another format's entry (SCORM 2004, through the SCORM entry).
  std::string_view menuText;
  std::string_view actionName;  // the menu action's objectName
  std::string_view statusTip;   // the menu action's status tip and tool tip
  std::string_view extension;   // ".htm"
  std::string_view filter;      // the save dialog's "Description (*.ext)|*.ext"
  std::string_view summary;     // its line in brenvik-cli export --help
  ExportNaming naming;
  AfterExport after;
  // The warning box after a save that gave warnings: its first line, with
  // %1 for the file's path; the warnings follow as a list.
  std::string_view warningLead;
  bool severalTexts;  // several texts go into one file (-o FILE with several INPUTs)
  bool needsFonts;    // the writer lays text out: a QGuiApplication must exist
  // The window asks the SCORM version and the pass mark before the save
  // dialog (one menu entry for both SCORM formats); brenvik-cli takes
  // --pass-mark for it.
  bool scorm;
  // Starts a file of this format.
  std::unique_ptr<ExportFile> (*open)(const ExportSettings& settings, const ExportContext& context);
};

// Every format, the default (the classic page) first.
std::span<const ExportFormat> ExportFormats();

// The format of an id; nullptr for an unknown id.
const ExportFormat* FindExportFormat(std::string_view id);

// "classic|responsive|..."
std::string ExportFormatIds();

// The file that a name chosen in the save dialog is saved as (UTF-8 path),
// by the format's naming rule.
std::string SavedFileName(const ExportFormat& format, std::string_view chosen);

struct ExportResult {
  std::string Bytes;
  std::vector<std::string> Warnings;
};

// The whole file of the texts in one call: every text added, then the bytes.
ExportResult Export(const ExportFormat& format, const std::vector<ExportText>& texts,
                    const ExportSettings& settings, const ExportContext& context);

// The creation date written into PDFs, in seconds since 1970 UTC:
// SOURCE_DATE_EPOCH when it holds a number of seconds, otherwise the time of
// the first call, the start of the run. Equal sheets give equal files within
// a run and, with SOURCE_DATE_EPOCH, across runs and programs.
std::int64_t ExportCreationTime();

// Makes the files of this run reproducible: Qt's hash tables (the PDF writer
// writes its fonts in the order of one) get a fixed seed, and the creation
// time is fixed. Called first thing in main, before any QHash exists.
// Defined with the PDF writer (export/ExportPdf.cpp); the WebAssembly
// build, which has neither Qt nor PDFs, does without.
void MakeExportsReproducible();

}  // namespace brenvik
