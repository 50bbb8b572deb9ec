#pragma once
// The test the test and workspace commands work on: text files (each a text
// of the test) or one test file, with the options of the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "core/test/GenerateText.h"
#include "core/test/Test.h"

namespace brenvik::cli {

// --gap-limit N, --keep-last-sentence, --ignore-case, --lang TAG, --title T.
std::vector<OptionSpec> TestOptionSpecs();

// The test options of a command line. UsageError for a bad value.
struct TestOptionValues {
  std::optional<std::uint32_t> gapLimit;
  std::optional<std::string> language;
  std::optional<std::string> title;
  bool keepLastSentence = false;
  bool ignoreCase = false;
  bool any() const;
};
TestOptionValues ReadTestOptions(const ParsedArgs& parsed);

// The options on top of a test: the gap limit and the kept last sentence to
// every text, --ignore-case, --lang and --title to the test.
void ApplyTestOptions(Test& test, const TestOptionValues& options);

// A text file's title: its name without folder and ".txt".
Text TitleOfTextFile(const std::string& path);

struct LoadedTest {
  Test test;
  // One text file (or standard input) and no test option: the command
  // answers exactly as it did before tests had several texts.
  bool plain = false;
};

// Reads the inputs: none or "-" alone for standard input, text files, or one
// *.ctest test file. A text is titled after its file name without ".txt"
// ("Text 1" from standard input). The options of parsed apply on top: the
// gap limit and the kept last sentence to every text, --ignore-case,
// --lang and --title to the test. UsageError for a bad option value, a test
// file among other inputs, or "-" among files; the reading errors otherwise.
LoadedTest LoadTest(const std::vector<std::string>& inputs, const ParsedArgs& parsed);

// Prints the notes of the generation (edits dropped because their word is
// gone) on stderr as warnings of the command, each naming its text.
void ReportNotes(const char* command, const GeneratedTest& generated);

}  // namespace brenvik::cli
