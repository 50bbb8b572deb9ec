// brenvik-cli test: the test text of INPUT, as Process writes it into the
// output box.

#include <iostream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/text/TextFile.h"
#include "core/ctest/TestGen.h"

namespace brenvik::cli {
namespace {

constexpr const char* kName = "test";
constexpr const char* kUsage = "test [INPUT] [-o FILE]";
constexpr const char* kHelp =
    "Usage: brenvik-cli test [INPUT] [-o FILE]\n"
    "Makes the C-test of INPUT (a text file; '-' or absent for standard input).\n"
    "The test text goes to standard output in UTF-8 with its CR LF line ends,\n"
    "or with -o FILE into FILE, written as Save output writes it (-o - is\n"
    "standard output).\n"
    "\n"
    "Exit status: 0 done, 1 error (nothing written), 2 usage error.\n";

int RunTest(const std::vector<std::string>& args) {
  const ParsedArgs parsed = ParseArgs(args, {{{"-o", "--output"}, true}}, 1);
  if (parsed.help) {
    std::cout << kHelp;
    return 0;
  }
  std::optional<std::string> input;
  if (!parsed.positionals.empty()) input = parsed.positionals.front();
  const std::optional<std::string> output = parsed.value("-o");

  TestWorkspace workspace;
  const Text test = GenerateTest(ReadInput(input), workspace);
  if (IsStandardOutput(output)) {
    WriteOutput("-", ToUtf8(test));
  } else {
    WriteTextFile(*output, test);
  }
  return 0;
}

const CommandRegistrar kRegisterTest({kName, kUsage, &RunTest});

}  // namespace
}  // namespace brenvik::cli
