#pragma once
// The printed worksheet and its answer key, as a model of what goes on the
// pages: no window, no fonts, no paper. ui/print lays it out and paints it
// onto a PDF file or a printer.

#include <cstddef>
#include <vector>

#include "core/ctest/TestGen.h"
#include "core/page/ExportSettings.h"
#include "core/page/PageTest.h"
#include "core/text/Text.h"

namespace brenvik {

// One piece of the test as printed, in text order.
struct WorksheetPiece {
  enum class Kind { Plain, Gap, LineBreak };
  Kind PieceKind = Kind::Plain;
  Text Characters;        // Plain: what is printed; empty otherwise
  std::size_t Number = 0;  // Gap: 1, 2, ... in text order
  std::size_t Length = 0;  // Gap: the number of missing letters (grapheme clusters)

  friend bool operator==(const WorksheetPiece&, const WorksheetPiece&) = default;
};

// One line of the answer key: the gap's number and its whole word.
struct WorksheetKeyEntry {
  std::size_t Number = 0;
  Text Kept;    // the part printed in the test
  Text Answer;  // the part the pupil writes, marked in the key
  std::vector<Text> Accepted = {};  // further right answers, each marked as Answer is

  friend bool operator==(const WorksheetKeyEntry&, const WorksheetKeyEntry&) = default;
};

// A text of a sheet of several: its title, and where its pieces and its
// key entries begin in Test and Key.
struct WorksheetSection {
  Text Title;
  std::size_t FirstPiece = 0;
  std::size_t FirstEntry = 0;

  friend bool operator==(const WorksheetSection&, const WorksheetSection&) = default;
};

struct Worksheet {
  Text Title;
  Text NameLabel;    // "Name:" followed by a line to write on
  Text DateLabel;    // "Date:" likewise
  Text Instruction;  // "Complete the gaps in the following text"
  // The test: the first sentence, each word's kept part, a Gap for each
  // deleted part, the separators; Plain pieces never hold a line break (each
  // CR LF, lone CR or lone LF is a LineBreak), and two Plain pieces of one
  // text never follow each other.
  std::vector<WorksheetPiece> Test;
  Text KeyHeading;  // "Answer key", at the top of a new page
  std::vector<WorksheetKeyEntry> Key;
  // The texts of a test of several, in order, each printed under its title
  // in the test and in the key; empty for one text, printed without one.
  std::vector<WorksheetSection> Sections;
};

// The worksheet of the test in the workspace. The title is settings.Title
// ("C-Test" when it is blank); the workspace is only read, so the sheet is
// the same before and after a classic export. ListIndexError(-1) when no
// word has a gap, as for the page.
Worksheet BuildWorksheet(const TestWorkspace& workspace, const ExportSettings& settings);

// The worksheet of a test: its texts in order (each under its title when
// there are several: "Text N" for a blank one), the gaps numbered on from
// text to text in the key, and each key entry with the gap's further
// answers. A test of one text is the sheet of its workspace, plus any
// further answers in the key. ListIndexError(-1) when a text has no gap.
Worksheet BuildWorksheet(const page::PageTest& test, const ExportSettings& settings);

// The test as plain text with every gap shown as one "_" per missing
// letter: the text of the output box, from the worksheet. The texts of a
// sheet of several each follow their title and an empty line, set apart by
// an empty line, as brenvik-cli test prints them.
Text WorksheetTestText(const Worksheet& sheet);

}  // namespace brenvik
