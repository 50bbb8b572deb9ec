// brenvik-cli export: the page of a text in one of the page formats, with the
// settings given on the command line (defaults are the program's initial
// settings). The classic format is exactly what Export to web writes.

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/ctest/TestGen.h"
#include "core/page/ClassicPage.h"
#include "core/page/ExportSettings.h"
#include "core/page/ResponsivePage.h"
#include "core/text/Text.h"
#include "core/text/TextFile.h"

namespace brenvik::cli {
namespace {

// The formats --format names. Each writer turns the workspace of the text and
// the settings into the bytes of the file, or throws the error to report (no
// file is written then). The first row is the default. A new format is one
// writer and one row: the usage line, --help and the check of --format are
// made from this table.
struct PageFormat {
  std::string_view name;
  std::string_view summary;  // its line in --help
  std::string (*write)(TestWorkspace& workspace, const ExportSettings& settings);
};

std::string WriteClassic(TestWorkspace& workspace, const ExportSettings& settings) {
  return BuildTestPageBytes(workspace, settings);
}

std::string WriteResponsive(TestWorkspace& workspace, const ExportSettings& settings) {
  return BuildResponsivePage(workspace, settings);
}

constexpr PageFormat kFormats[] = {
    {"classic", "the page Export to web writes, byte for byte (Windows-1252; the default)", &WriteClassic},
    {"responsive", "a UTF-8 page for phones, tablets, screen readers and printing", &WriteResponsive},
};

// "classic|responsive|..."
std::string FormatNames() {
  std::string names;
  for (const PageFormat& f : kFormats) {
    if (!names.empty()) names += '|';
    names += f.name;
  }
  return names;
}

const PageFormat* FindFormat(std::string_view name) {
  for (const PageFormat& f : kFormats) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

constexpr const char* kName = "export";
const std::string kUsage =
    "export [INPUT] -o PAGE [--format " + FormatNames() +
    "] [--practice] [--show-answers] [--timer] [--title T] [--font F] [--size S] "
    "[--page-background #RRGGBB] [--page-text #RRGGBB] [--answer-box #RRGGBB] [--answer-text #RRGGBB]";

std::string HelpText() {
  std::string help =
      "Usage: brenvik-cli export [INPUT] -o PAGE [options]\n"
      "Makes the C-test of INPUT (a text file; '-' or absent for standard input)\n"
      "and writes its interactive HTML page to PAGE.\n"
      "\n"
      "  --format NAME              the kind of page:\n";
  for (const PageFormat& f : kFormats) {
    std::string line = "      " + std::string(f.name);
    line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
    help += line + std::string(f.summary) + "\n";
  }
  help +=
      "  --practice                 practice version (feedback and score)\n"
      "  --show-answers             with a Show Answers button (practice version)\n"
      "  --timer                    submit the answers after 12 seconds per gap\n"
      "  --title T                  heading of the page (default C-Test)\n"
      "  --font F                   font name (default Arial)\n"
      "  --size S                   text size in pixels (default 14)\n"
      "  --page-background #RRGGBB  default #FFFFFF\n"
      "  --page-text #RRGGBB        default #000000\n"
      "  --answer-box #RRGGBB       default #000000\n"
      "  --answer-text #RRGGBB      default #FFFFFF\n"
      "\n"
      "Exit status: 0 page written, 1 error (nothing written), 2 usage error.\n";
  return help;
}

// "#RRGGBB" with hexadecimal digits of either case, returned in the
// upper-case form the colour chooser gives.
std::optional<Text> WebColour(const std::string& value) {
  if (value.size() != 7 || value[0] != '#') return std::nullopt;
  Text out = U"#";
  for (std::size_t i = 1; i < 7; ++i) {
    char c = value[i];
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return std::nullopt;
    out.push_back(static_cast<char32_t>(c));
  }
  return out;
}

// A colour option's value; a missing option leaves the initial colour.
void SetColour(const ParsedArgs& parsed, const std::string& option, Text& field) {
  const std::optional<std::string> value = parsed.Value(option);
  if (!value) return;
  const std::optional<Text> colour = WebColour(*value);
  if (!colour) throw UsageError(option + ": not a colour #RRGGBB: " + *value);
  field = *colour;
}

int RunExport(const std::vector<std::string>& args) {
  return RunCommand(kName, kUsage.c_str(), [&] {
    const ParsedArgs parsed = ParseArgs(args,
                                        {{{"-o", "--output"}, true},
                                         {{"--format"}, true},
                                        {{"--practice"}, false},
                                         {{"--show-answers"}, false},
                                         {{"--timer"}, false},
                                         {{"--title"}, true},
                                         {{"--font"}, true},
                                         {{"--size"}, true},
                                         {{"--page-background"}, true},
                                         {{"--page-text"}, true},
                                         {{"--answer-box"}, true},
                                         {{"--answer-text"}, true}},
                                        1);
    if (parsed.help) {
      std::cout << HelpText();
      return 0;
    }
    const std::optional<std::string> output = parsed.Value("-o");
    if (!output) throw UsageError("-o PAGE is required");
    const PageFormat* format = &kFormats[0];
    if (const auto name = parsed.Value("--format")) {
      format = FindFormat(*name);
      if (!format) throw UsageError("--format: unknown format " + *name + " (known: " + FormatNames() + ")");
    }

    ExportSettings settings;
    if (parsed.Has("--practice")) settings.TestMode = PageVariant::Practice;
    if (parsed.Has("--show-answers")) settings.ShowAnswersFlag = true;
    if (parsed.Has("--timer")) settings.TimerFlag = true;
    if (const auto title = parsed.Value("--title")) settings.Title = FromUtf8(*title);
    if (const auto font = parsed.Value("--font")) settings.FontName = FromUtf8(*font);
    if (const auto size = parsed.Value("--size")) settings.TextSize = FromUtf8(*size);
    SetColour(parsed, "--page-background", settings.PageBackground);
    SetColour(parsed, "--page-text", settings.PageTextColour);
    SetColour(parsed, "--answer-box", settings.AnswerBoxColour);
    SetColour(parsed, "--answer-text", settings.AnswerTextColour);

    std::optional<std::string> input;
    if (!parsed.positionals.empty()) input = parsed.positionals.front();
    TestWorkspace workspace;
    GenerateTest(ReadInput(input), workspace);
    // Built completely before anything is written: with no answer the page
    // writer stops with the list error and no file is created.
    const std::string page = format->write(workspace, settings);
    WriteFileBytes(*output, page);
    return 0;
  });
}

const CommandRegistrar kRegisterExport({kName, kUsage.c_str(), &RunExport});

}  // namespace
}  // namespace brenvik::cli
