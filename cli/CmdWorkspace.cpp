// brenvik-cli workspace: the TestWorkspace of INPUT as JSON, the ten fields
// under their own names in their order, lists as arrays of strings.

#include <iostream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/ctest/TestGen.h"

namespace brenvik::cli {
namespace {

constexpr const char* kName = "workspace";
constexpr const char* kUsage = "workspace [INPUT]";
constexpr const char* kHelp =
    "Usage: brenvik-cli workspace [INPUT]\n"
    "Runs Process on INPUT (a text file; '-' or absent for standard input) and\n"
    "prints the resulting workspace as JSON in UTF-8: FirstSentence, RestText,\n"
    "WordList, Separators, LeftHalves, RightHalves, PageLeftHalves,\n"
    "PageSeparators, PageRightHalves and PageAnswers. As for every command,\n"
    "-o - names standard output; the JSON goes nowhere else.\n"
    "\n"
    "Exit status: 0 done, 1 error, 2 usage error.\n";

// A JSON string literal. Control characters (C0, DEL and C1) are escaped so
// that the output stays readable; CR and LF as \r and \n.
void AppendJsonString(Text& out, TextView s) {
  static constexpr char32_t kHex[] = U"0123456789abcdef";
  out.push_back(U'"');
  for (char32_t c : s) {
    switch (c) {
      case U'"': out.append(U"\\\""); break;
      case U'\\': out.append(U"\\\\"); break;
      case U'\r': out.append(U"\\r"); break;
      case U'\n': out.append(U"\\n"); break;
      default:
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
          out.append(U"\\u00");
          out.push_back(kHex[(c >> 4) & 0xF]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back(U'"');
}

void AppendField(Text& out, const char32_t* name, TextView value, bool last = false) {
  out.append(U"  ");
  AppendJsonString(out, name);
  out.append(U": ");
  AppendJsonString(out, value);
  out.append(last ? U"\n" : U",\n");
}

void AppendField(Text& out, const char32_t* name, const TextList& list, bool last = false) {
  out.append(U"  ");
  AppendJsonString(out, name);
  out.append(U": [");
  bool first = true;
  for (TextView entry : list) {
    if (!first) out.append(U", ");
    first = false;
    AppendJsonString(out, entry);
  }
  out.append(last ? U"]\n" : U"],\n");
}

Text WorkspaceJson(const TestWorkspace& w) {
  Text out = U"{\n";
  AppendField(out, U"FirstSentence", w.FirstSentence);
  AppendField(out, U"RestText", w.RestText);
  AppendField(out, U"WordList", w.WordList);
  AppendField(out, U"Separators", w.Separators);
  AppendField(out, U"LeftHalves", w.LeftHalves);
  AppendField(out, U"RightHalves", w.RightHalves);
  AppendField(out, U"PageLeftHalves", w.PageLeftHalves);
  AppendField(out, U"PageSeparators", w.PageSeparators);
  AppendField(out, U"PageRightHalves", w.PageRightHalves);
  AppendField(out, U"PageAnswers", w.PageAnswers, true);
  out.append(U"}\n");
  return out;
}

int RunWorkspace(const std::vector<std::string>& args) {
  const ParsedArgs parsed = ParseArgs(args, {{{"-o", "--output"}, true}}, 1);
  if (parsed.help) {
    std::cout << kHelp;
    return 0;
  }
  std::optional<std::string> input;
  if (!parsed.positionals.empty()) input = parsed.positionals.front();

  // Standard output only: "-o -" says so, as it may for every command.
  if (!IsStandardOutput(parsed.value("-o"))) throw UsageError("workspace writes to standard output only");

  TestWorkspace workspace;
  GenerateTest(ReadInput(input), workspace);
  WriteOutput("-", ToUtf8(WorkspaceJson(workspace)));
  return 0;
}

const CommandRegistrar kRegisterWorkspace({kName, kUsage, &RunWorkspace});

}  // namespace
}  // namespace brenvik::cli
