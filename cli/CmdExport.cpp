// brenvik-cli export: the C-test of one or many texts in one of the output
// formats, with the settings given on the command line (defaults are the
// program's initial settings). The classic format is exactly what Export to
// web writes.

#include <QGuiApplication>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/ctest/TestGen.h"
#include "core/page/ExportSettings.h"
#include "core/page/PagePieces.h"
#include "core/scorm/ScormPackage.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"
#include "core/text/TextFile.h"
#include "export/ExportFormats.h"
#include "cli/TestInput.h"
#include "core/test/GenerateText.h"
#include "core/test/TestFile.h"

namespace brenvik::cli {
namespace {

constexpr const char* kName = "export";
const std::string kUsage =
    "export [INPUT...] (-o FILE | --out-dir DIR) [--format " + ExportFormatIds() +
    "] [--practice] [--show-answers] [--timer] [--title T] [--font F] [--size S] "
    "[--page-background #RRGGBB] [--page-text #RRGGBB] [--answer-box #RRGGBB] [--answer-text #RRGGBB] "
    "[--gap-limit N] [--keep-last-sentence] [--ignore-case] [--lang TAG] "
    "[--pass-mark PERCENT]";

std::string HelpText() {
  std::string help =
      "Usage: brenvik-cli export [INPUT...] (-o FILE | --out-dir DIR) [options]\n"
      "Makes the C-test of each INPUT (a text file, a folder standing for its *.txt\n"
      "files in name order, a test file TEST.ctest, or '-'/absent for standard\n"
      "input) and writes it in the chosen format. With -o FILE several text files\n"
      "make one test of several texts, each under its file name.\n"
      "\n"
      "  -o FILE                    the file to write ('-' is standard output);\n"
      "                             several INPUTs make one test in FILE, each text\n"
      "                             under its file name (a Moodle question each)\n"
      "  --out-dir DIR              one file per text: DIR/NAME.htm (.xml, .pdf, .zip),\n"
      "                             NAME being the text file's name without .txt;\n"
      "                             DIR is made when missing\n"
      "  --format NAME              the kind of output:\n";
  for (const ExportFormat& f : ExportFormats()) {
    std::string line = "      " + std::string(f.id);
    line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
    help += line + std::string(f.summary) + "\n";
  }
  help +=
      "  --practice                 practice version (feedback and score boxes)\n"
      "  --show-answers             with a Show Answers button (practice version)\n"
      "  --timer                    submit the answers after " + std::to_string(page::kSecondsPerGap) +
      " seconds per gap\n"
      "  --title T                  heading of the page and the worksheet, name of\n"
      "                             the Moodle question and of the SCORM package\n"
      "                             on the platform (default C-Test)\n"
      "  --font F                   font name (default Arial)\n"
      "  --size S                   text size in pixels (default 14)\n"
      "  --gap-limit N              after N gaps the rest of each text stays whole\n"
      "  --keep-last-sentence       no gap in the last sentence of each text\n"
      "  --ignore-case              answers are right in any letter case\n"
      "  --lang TAG                 the texts' language, a BCP 47 tag\n"
      "  --page-background #RRGGBB  default #FFFFFF\n"
      "  --page-text #RRGGBB        default #000000\n"
      "  --answer-box #RRGGBB       default #000000\n"
      "  --answer-text #RRGGBB      default #FFFFFF\n"
      "  --pass-mark PERCENT        SCORM packages only: the percentage of right gaps\n"
      "                             that passes (0-100); without it a finished test\n"
      "                             is reported completed, neither passed nor failed\n"
      "\n"
      "A text that cannot be exported (unreadable, missing, no gap) is named on\n"
      "standard error with its error and writes nothing; the others are still\n"
      "written. Changes to words that a text no longer has are dropped with a\n"
      "warning. Every file is replaced whole or not at all.\n"
      "Exit status: 0 all written, 1 some text failed, 2 usage error.\n";
  return help;
}

// A colour option's value; a missing option leaves the initial colour.
void SetColour(const ParsedArgs& parsed, const std::string& option, Text& field) {
  const std::optional<std::string> value = parsed.value(option);
  if (!value) return;
  const std::optional<Text> colour = page::ParseWebColour(FromUtf8(*value));
  if (!colour) throw UsageError(option + ": not a colour #RRGGBB: " + *value);
  field = *colour;
}

// The settings of the command line over base (the initial settings, or a
// test file's).
ExportSettings SettingsFrom(const ParsedArgs& parsed, ExportSettings settings = {}) {
  if (parsed.has("--practice")) settings.TestMode = PageVariant::Practice;
  if (parsed.has("--show-answers")) settings.ShowAnswersFlag = true;
  if (parsed.has("--timer")) settings.TimerFlag = true;
  if (const auto title = parsed.value("--title")) settings.Title = FromUtf8(*title);
  if (const auto font = parsed.value("--font")) settings.FontName = FromUtf8(*font);
  if (const auto size = parsed.value("--size")) settings.TextSize = FromUtf8(*size);
  SetColour(parsed, "--page-background", settings.PageBackground);
  SetColour(parsed, "--page-text", settings.PageTextColour);
  SetColour(parsed, "--answer-box", settings.AnswerBoxColour);
  SetColour(parsed, "--answer-text", settings.AnswerTextColour);
  if (const auto mark = parsed.value("--pass-mark")) {
    try {
      settings.PassMark = ParsePassMark(*mark);
    } catch (const ScormError& e) {
      throw UsageError(std::string("--pass-mark: ") + e.what());
    }
  }
  return settings;
}

// Qt's own diagnostics (a missing runtime folder and the like) are not the
// program's messages; only critical ones reach standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "brenvik-cli: " << message.toStdString() << "\n";
}

// The fonts need a QGuiApplication; without a display the offscreen
// platform serves, unless QT_QPA_PLATFORM names another.
std::unique_ptr<QGuiApplication> StartFonts() {
  qInstallMessageHandler(&QuietQtMessages);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "brenvik-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// How many files of --out-dir are written before they are flushed to disk
// together (each holds a descriptor until then).
constexpr std::size_t kBatchFiles = 128;

// One text to export.
struct Input {
  std::optional<std::string> path;  // nullopt: standard input
  std::string label;                // how messages name it
  std::string stem;                 // file name without .txt: the output name
  std::string error;                // set when the input could not even be listed
  bool testFile = false;            // a test file (.ctest): a whole test
};

bool EndsWithTxt(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".txt";
}

std::string Stem(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  if (EndsWithTxt(name)) name.resize(name.size() - 4);
  if (IsTestFilePath(name)) name.resize(name.size() - 6);
  return name;
}

// The *.txt files of a folder in name order (hidden files left out, as a
// shell's *.txt leaves them out).
std::vector<Input> FolderTexts(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.' || !EndsWithTxt(name)) continue;
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    names.push_back(name);
  }
  if (ec) return {{folder, folder, Stem(folder), FileOpenError(folder).what()}};
  std::sort(names.begin(), names.end());
  std::vector<Input> texts;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  for (const std::string& name : names) texts.push_back({prefix + name, prefix + name, Stem(name), {}});
  // A folder without a text cannot be opened as one.
  if (texts.empty()) return {{folder, folder, Stem(folder), FileOpenError(folder).what()}};
  return texts;
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

void ReportFailure(const Input& input, bool named, const std::string& message) {
  if (named) std::cerr << input.label << ": ";
  std::cerr << message << "\n";
}

void ReportWarnings(const Input& input, bool named, const std::vector<std::string>& warnings) {
  for (const std::string& w : warnings) {
    std::cerr << "brenvik-cli export: warning: ";
    if (named) std::cerr << input.label << ": ";
    std::cerr << w << "\n";
  }
}

// What the command line asks for.
struct ExportJob {
  std::optional<std::string> output;  // -o FILE: every text into FILE ("-": standard output)
  std::optional<std::string> outDir;  // --out-dir DIR: one file per text
  const ExportFormat* format = nullptr;
  ExportSettings settings;
  TestOptionValues options;  // --title is also settings.Title
  const ParsedArgs* parsed = nullptr;
};

ParsedArgs ParseExportArgs(const std::vector<std::string>& args) {
  return ParseArgs(args,
                   {{{"-o", "--output"}, true},
                    {{"--out-dir"}, true},
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
                    {{"--answer-text"}, true},
                    {{"--gap-limit"}, true},
                    {{"--keep-last-sentence"}, false},
                    {{"--ignore-case"}, false},
                    {{"--lang"}, true},
                    {{"--pass-mark"}, true}},
                   std::numeric_limits<std::size_t>::max());
}

ExportJob JobFrom(const ParsedArgs& parsed) {
  ExportJob job;
  job.output = parsed.value("-o");
  job.outDir = parsed.value("--out-dir");
  if (job.output && job.outDir) throw UsageError("-o and --out-dir cannot be given together");
  if (!job.output && !job.outDir) throw UsageError("-o FILE or --out-dir DIR is required");
  job.format = &ExportFormats().front();
  if (const auto id = parsed.value("--format")) {
    job.format = FindExportFormat(*id);
    if (!job.format) throw UsageError("--format: unknown format " + *id + " (known: " + ExportFormatIds() + ")");
  }
  job.settings = SettingsFrom(parsed);
  if (parsed.value("--pass-mark") && !job.format->scorm) {
    throw UsageError("--pass-mark is for SCORM packages (--format scorm12 or scorm2004)");
  }
  job.options = ReadTestOptions(parsed);
  job.parsed = &parsed;
  return job;
}

// The texts: standard input alone, or files and the texts of folders.
std::vector<Input> ListInputs(const ParsedArgs& parsed) {
  std::vector<Input> inputs;
  for (const std::string& arg : parsed.positionals) {
    if (arg == "-") {
      if (parsed.positionals.size() > 1) throw UsageError("standard input '-' must be the only INPUT");
      continue;
    }
    if (IsFolder(arg)) {
      for (Input& text : FolderTexts(arg)) inputs.push_back(std::move(text));
    } else {
      inputs.push_back({arg, arg, Stem(arg), {}, IsTestFilePath(arg)});
    }
  }
  if (inputs.empty()) inputs.push_back({std::nullopt, "-", "", {}});
  return inputs;
}

// Several texts go into one file only in a format that takes several; files
// of --out-dir need names, and two texts of the same name would write the
// same file. Makes the folder of --out-dir.
void CheckCombination(const ExportJob& job, const std::vector<Input>& inputs) {
  const bool anyTestFile = std::any_of(inputs.begin(), inputs.end(), [](const Input& in) { return in.testFile; });
  if (job.output && inputs.size() > 1 && anyTestFile) {
    throw UsageError("a test file (.ctest) only alone with -o FILE; --out-dir DIR takes several");
  }
  if (job.output && inputs.size() > 1 && !job.format->severalTexts) {
    throw UsageError("--format " + std::string(job.format->id) + " takes one text a file: several texts need --out-dir DIR");
  }
  if (!job.outDir) return;
  if (!inputs.front().path) throw UsageError("--out-dir needs INPUT files or folders");
  std::vector<std::pair<std::string, std::string>> stems;
  for (const Input& in : inputs) {
    if (in.error.empty()) stems.emplace_back(in.stem, in.label);
  }
  std::sort(stems.begin(), stems.end());
  for (std::size_t i = 1; i < stems.size(); ++i) {
    if (stems[i].first == stems[i - 1].first) {
      throw UsageError(stems[i - 1].second + " and " + stems[i].second + " would both be written to " +
                       stems[i].first + std::string(job.format->extension));
    }
  }
  std::error_code ec;
  std::filesystem::create_directories(*job.outDir, ec);
  if (!IsFolder(*job.outDir)) throw FileCreateError(*job.outDir);
}

// One test read from the inputs, with a label per text for messages.
struct LoadedInputs {
  Test test;
  std::vector<const Input*> inputs;  // per text, the input it came from
};

// Exports tests: every input into one file (-o), or each input into a file
// of its own (--out-dir). A text that fails is reported, named when there
// are several, and the others go on.
class Exporter {
 public:
  Exporter(const ExportJob& job, const std::vector<Input>& inputs)
      : job_(job), inputs_(inputs), named_(inputs.size() > 1) {}

  // Every text into -o FILE: one test, one file, written once every text is
  // in, if any text made it.
  void intoOneFile() {
    std::vector<const Input*> all;
    for (const Input& input : inputs_) all.push_back(&input);
    ExportSettings settings;
    const LoadedInputs loaded = load(all, settings);
    std::unique_ptr<ExportFile> file;
    if (make(loaded, settings, file)) WriteOutput(*job_.output, file->bytes());
  }

  // One file per input into --out-dir, flushed to disk a batch at a time.
  void intoFolder() {
    for (const Input& input : inputs_) {
      ExportSettings settings;
      const LoadedInputs loaded = load({&input}, settings);
      std::unique_ptr<ExportFile> file;
      // Built completely before anything is written: a text without a gap
      // stops with the list error and no file is created.
      if (!make(loaded, settings, file) || file->texts() != loaded.test.texts.size()) continue;
      const std::string path = *job_.outDir + "/" + input.stem + std::string(job_.format->extension);
      try {
        batch_.add(path, file->bytes());
      } catch (const BrenvikError& e) {
        ReportFailure(input, named_, e.what());
        failed_ = true;
        continue;
      }
      pending_[path] = &input;
      if (batch_.size() >= kBatchFiles) commit();
    }
    commit();
  }

  bool failed() const { return failed_; }

 private:
  // The test of the inputs: a test file's texts, or a text per text file
  // (titled after its file when there are several, after the test
  // otherwise). The command line's settings and test options go on top.
  LoadedInputs load(const std::vector<const Input*>& inputs, ExportSettings& settings) {
    LoadedInputs loaded;
    settings = job_.settings;
    for (const Input* input : inputs) {
      try {
        if (!input->error.empty()) throw BrenvikError(input->error);
        if (input->testFile) {
          loaded.test = ReadTestFile(*input->path);
          settings = SettingsFrom(*job_.parsed, loaded.test.settings);
          loaded.inputs.assign(loaded.test.texts.size(), input);
          continue;
        }
        Text source = ReadInput(input->path);
        loaded.test.texts.push_back({named_ ? FromUtf8(input->stem) : job_.settings.Title, std::move(source), {}, {}});
        loaded.inputs.push_back(input);
      } catch (const BrenvikError& e) {
        ReportFailure(*input, named_, e.what());
        failed_ = true;
      }
    }
    ApplyTestOptions(loaded.test, job_.options);
    return loaded;
  }

  // Generates the test and adds its texts to a new file; false when no
  // text made it.
  bool make(const LoadedInputs& loaded, const ExportSettings& settings, std::unique_ptr<ExportFile>& file) {
    if (loaded.test.texts.empty()) return false;
    if (loaded.test.texts.size() > 1 && !job_.format->severalTexts) {
      ReportFailure(*loaded.inputs.front(), named_,
                    "the " + std::string(job_.format->id) + " format takes one text a file; this test has " +
                        std::to_string(loaded.test.texts.size()));
      failed_ = true;
      return false;
    }
    std::vector<GeneratedText> generated;
    generated.reserve(loaded.test.texts.size());
    std::vector<const Input*> from;
    const bool severalInOne = loaded.test.texts.size() > 1;
    for (std::size_t t = 0; t < loaded.test.texts.size(); ++t) {
      const Input& input = *loaded.inputs[t];
      try {
        generated.push_back(GenerateText(loaded.test.texts[t], loaded.test.language));
        from.push_back(&input);
      } catch (const BrenvikError& e) {
        report(input, loaded.test.texts[t].title, severalInOne, e.what());
      }
    }
    ExportContext context{ExportCreationTime(), nullptr, loaded.test.matching, loaded.test.language};
    file = job_.format->open(settings, context);
    for (std::size_t t = 0; t < generated.size(); ++t) {
      GeneratedText& text = generated[t];
      std::vector<std::string> warnings = text.notes;
      try {
        for (std::string& w : file->add(ExportText{text.title, &text.workspace, &text.accepted})) {
          warnings.push_back(std::move(w));
        }
      } catch (const BrenvikError& e) {
        report(*from[t], text.title, severalInOne, e.what());
        continue;
      }
      ReportWarnings(*from[t], named_, warnings);
    }
    generated_ = std::move(generated);  // the file reads the workspaces until its bytes are made
    return file->texts() > 0;
  }

  // An error of one text: named after its input, and after its title when
  // a test file holds it among others.
  void report(const Input& input, const Text& title, bool severalInOne, const std::string& message) {
    if (input.testFile && severalInOne) {
      std::cerr << input.label << ": " << ToUtf8(title) << ": " << message << "\n";
    } else {
      ReportFailure(input, named_, message);
    }
    failed_ = true;
  }

  void commit() {
    for (const std::string& path : batch_.commit()) {
      ReportFailure(*pending_.at(path), named_, FileCreateError(path).what());
      failed_ = true;
    }
    pending_.clear();
  }

  const ExportJob& job_;
  const std::vector<Input>& inputs_;
  const bool named_;
  std::vector<GeneratedText> generated_;
  FileBatch batch_;
  std::map<std::string, const Input*> pending_;
  bool failed_ = false;
};

int RunExport(const std::vector<std::string>& args) {
  const ParsedArgs parsed = ParseExportArgs(args);
  if (parsed.help) {
    std::cout << HelpText();
    return 0;
  }
  const ExportJob job = JobFrom(parsed);
  const std::vector<Input> inputs = ListInputs(parsed);
  CheckCombination(job, inputs);
  std::unique_ptr<QGuiApplication> fonts;
  if (job.format->needsFonts) fonts = StartFonts();
  Exporter exporter(job, inputs);
  if (job.output) {
    exporter.intoOneFile();
  } else {
    exporter.intoFolder();
  }
  return exporter.failed() ? 1 : 0;
}

const CommandRegistrar kRegisterExport({kName, kUsage.c_str(), &RunExport});

}  // namespace
}  // namespace brenvik::cli
