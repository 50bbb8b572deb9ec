// brenvik-cli test: the test text of INPUT, as Process writes it into the
// output box; or the test of several texts or of a test file, text by text.

#include <iostream>
#include <limits>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/TestInput.h"
#include "core/test/GenerateText.h"
#include "core/test/TestFile.h"
#include "core/text/TextFile.h"

namespace brenvik::cli {
namespace {

constexpr const char* kName = "test";
constexpr const char* kUsage =
    "test [INPUT...] [--gap-limit N] [--keep-last-sentence] [--ignore-case] [--lang TAG] "
    "[--title T] [--save TEST.ctest] [-o FILE]";
constexpr const char* kHelp =
    "Usage: brenvik-cli test [INPUT...] [options]\n"
    "Makes the C-test of INPUT (a text file; '-' or absent for standard input).\n"
    "The test text goes to standard output in UTF-8 with its CR LF line ends,\n"
    "or with -o FILE into FILE, written as Save output writes it (-o - is\n"
    "standard output).\n"
    "Several text files make one test of several texts, each titled after its\n"
    "file name: each text's title, an empty line and its test text, the texts\n"
    "set apart by an empty line. A test file (TEST.ctest) given alone is read\n"
    "with its texts, options, edits and accepted answers.\n"
    "\n"
    "Options:\n"
    "  --gap-limit N         after N gaps the rest of each text stays whole\n"
    "                        (0: no limit)\n"
    "  --keep-last-sentence  no gap in the last sentence of each text\n"
    "  --ignore-case         answers are right in any letter case\n"
    "  --lang TAG            the texts' language, a BCP 47 tag (de, pt-BR, th)\n"
    "  --title T             the name of the whole test\n"
    "  --save TEST.ctest     also save the test as a test file\n"
    "  -o, --output FILE     write the test text into FILE\n"
    "Changes to words that a text no longer has are dropped with a warning.\n"
    "\n"
    "Exit status: 0 done, 1 error (nothing written), 2 usage error.\n";

bool EndsWithLineBreak(TextView t) { return !t.empty() && (t.back() == U'\n' || t.back() == U'\r'); }

// The test text of every text in order; one text alone exactly as Process
// writes it.
Text TestTexts(const GeneratedTest& generated) {
  if (generated.texts.size() == 1) return generated.texts.front().testText;
  Text out;
  for (std::size_t i = 0; i < generated.texts.size(); ++i) {
    const GeneratedText& text = generated.texts[i];
    if (i > 0) out.append(U"\r\n");
    out.append(text.title);
    out.append(U"\r\n\r\n");
    out.append(text.testText);
    if (!EndsWithLineBreak(text.testText)) out.append(U"\r\n");
  }
  return out;
}

int RunTest(const std::vector<std::string>& args) {
  std::vector<OptionSpec> specs = TestOptionSpecs();
  specs.push_back({{"-o", "--output"}, true});
  specs.push_back({{"--save"}, true});
  const ParsedArgs parsed = ParseArgs(args, specs, std::numeric_limits<std::size_t>::max());
  if (parsed.help) {
    std::cout << kHelp;
    return 0;
  }
  const std::optional<std::string> output = parsed.value("-o");
  const std::optional<std::string> save = parsed.value("--save");
  if (save && *save == "-") throw UsageError("--save needs a file name");
  if (save && output && *save == *output) throw UsageError("--save and -o name the same file");

  LoadedTest loaded = LoadTest(parsed.positionals, parsed);
  const GeneratedTest generated = GenerateWholeTest(loaded.test);
  ReportNotes(kName, generated);
  if (save) {
    RemoveDroppedEdits(loaded.test, generated);
    WriteTestFile(*save, loaded.test);
  }
  const Text test = TestTexts(generated);
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
