// brenvik-cli export: the C-test of one or many texts in one of the output
// formats, with the settings given on the command line (defaults are the
// program's initial settings). The classic format is exactly what Export to
// web writes.

#include <QDateTime>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QLocale>
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
#include "core/page/ClassicPage.h"
#include "core/page/ExportSettings.h"
#include "core/page/MoodleXml.h"
#include "core/page/ResponsivePage.h"
#include "core/page/Worksheet.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"
#include "core/text/TextFile.h"
#include "ui/print/WorksheetPrint.h"

namespace brenvik::cli {
namespace {

// What one export of one text gives: the file's bytes and the warnings to
// show (the file is written all the same).
struct Exported {
  std::string bytes;
  std::vector<std::string> warnings;
};

// Shared by every text of one run.
struct RunContext {
  ExportSettings settings;
  QDateTime pdfCreationTime;  // one date for every PDF of the run
};

// The formats --format names. Each writer turns the workspace of a text and
// the settings into the bytes of the file, or throws the error to report (no
// file is written for that text then). The first row is the default. A new
// format is one writer and one row: the usage line, --help and the check of
// --format are made from this table.
struct PageFormat {
  std::string_view name;
  std::string_view extension;  // of the files written into --out-dir
  std::string_view summary;    // its line in --help
  bool needsFonts;             // a QGuiApplication must exist
  // name: the settings' title, or the text's file name when there are
  // several texts (it names a Moodle question).
  Exported (*write)(TestWorkspace& workspace, const RunContext& context, TextView name);
};

Exported WriteClassic(TestWorkspace& workspace, const RunContext& context, TextView) {
  return {BuildTestPageBytes(workspace, context.settings), {}};
}

Exported WriteResponsive(TestWorkspace& workspace, const RunContext& context, TextView) {
  return {BuildResponsivePage(workspace, context.settings), {}};
}

Exported WriteMoodle(TestWorkspace& workspace, const RunContext&, TextView name) {
  MoodleQuizWriter quiz;
  quiz.addQuestion(name, workspace);
  std::vector<std::string> warnings = quiz.warnings();
  return {quiz.finish(), std::move(warnings)};
}

Exported WritePdf(TestWorkspace& workspace, const RunContext& context, TextView) {
  const Worksheet sheet = BuildWorksheet(workspace, context.settings);
  return {WorksheetPdf(sheet, WorksheetPageLayout(QLocale::system()), context.pdfCreationTime), {}};
}

constexpr PageFormat kFormats[] = {
    {"classic", ".htm", "the page Export to web writes, byte for byte (Windows-1252; the default)", false,
     &WriteClassic},
    {"responsive", ".htm", "a UTF-8 page for phones, tablets, screen readers and printing", false,
     &WriteResponsive},
    {"moodle", ".xml", "Moodle XML, one embedded-answers (Cloze) question per text", false, &WriteMoodle},
    {"pdf", ".pdf", "a printable worksheet and its answer key (A4, or Letter where the locale uses it)", true,
     &WritePdf},
};

// "classic|moodle|..."
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
    "export [INPUT...] (-o FILE | --out-dir DIR) [--format " + FormatNames() +
    "] [--practice] [--show-answers] [--timer] [--title T] [--font F] [--size S] "
    "[--page-background #RRGGBB] [--page-text #RRGGBB] [--answer-box #RRGGBB] [--answer-text #RRGGBB]";

std::string HelpText() {
  std::string help =
      "Usage: brenvik-cli export [INPUT...] (-o FILE | --out-dir DIR) [options]\n"
      "Makes the C-test of each INPUT (a text file, a folder standing for its *.txt\n"
      "files in name order, or '-'/absent for standard input) and writes it in the\n"
      "chosen format.\n"
      "\n"
      "  -o FILE                    the file to write, for one INPUT; with\n"
      "                             --format moodle, every text goes into FILE as\n"
      "                             one question each (named after its file when\n"
      "                             there are several)\n"
      "  --out-dir DIR              one file per text: DIR/NAME.htm (.xml, .pdf),\n"
      "                             NAME being the text file's name without .txt;\n"
      "                             DIR is made when missing\n"
      "  --format NAME              the kind of output:\n";
  for (const PageFormat& f : kFormats) {
    std::string line = "      " + std::string(f.name);
    line.resize(std::max<std::size_t>(line.size() + 1, 18), ' ');
    help += line + std::string(f.summary) + "\n";
  }
  help +=
      "  --practice                 practice version (feedback and score boxes)\n"
      "  --show-answers             with a Show Answers button (practice version)\n"
      "  --timer                    submit the answers after 12 seconds per gap\n"
      "  --title T                  heading of the page and the worksheet, name of\n"
      "                             the Moodle question (default C-Test)\n"
      "  --font F                   font name (default Arial)\n"
      "  --size S                   text size in pixels (default 14)\n"
      "  --page-background #RRGGBB  default #FFFFFF\n"
      "  --page-text #RRGGBB        default #000000\n"
      "  --answer-box #RRGGBB       default #000000\n"
      "  --answer-text #RRGGBB      default #FFFFFF\n"
      "\n"
      "A text that cannot be exported (unreadable, missing, no gap) is named on\n"
      "standard error with its error and writes nothing; the others are still\n"
      "written. Every file is replaced whole or not at all.\n"
      "Exit status: 0 all written, 1 some text failed, 2 usage error.\n";
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
  const std::optional<std::string> value = parsed.value(option);
  if (!value) return;
  const std::optional<Text> colour = WebColour(*value);
  if (!colour) throw UsageError(option + ": not a colour #RRGGBB: " + *value);
  field = *colour;
}

ExportSettings SettingsFrom(const ParsedArgs& parsed) {
  ExportSettings settings;
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
  return settings;
}

// The creation date of the PDFs: SOURCE_DATE_EPOCH when it holds a number of
// seconds (reproducible files), otherwise the start of the run.
QDateTime PdfCreationTime() {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (*epoch != '\0' && *end == '\0' && seconds >= 0) return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
  }
  return QDateTime::currentDateTimeUtc();
}

// Qt's own diagnostics (a missing runtime folder and the like) are not the
// program's messages; only critical ones reach standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "brenvik-cli: " << message.toStdString() << "\n";
}

// The fonts need a QGuiApplication; without a display the offscreen
// platform serves, unless QT_QPA_PLATFORM names another.
// Qt's hash tables are seeded at random per process, and the PDF writer
// writes its fonts in the order of one: a fixed seed makes equal worksheets
// equal files, in one run or in many.
std::unique_ptr<QGuiApplication> StartFonts() {
  QHashSeed::setDeterministicGlobalSeed();
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

// The text of one input, read, decoded and made into a test.
void MakeTest(const Input& input, TestWorkspace& workspace) {
  if (!input.error.empty()) throw BrenvikError(input.error);
  GenerateTest(ReadInput(input.path), workspace);
}

int RunExport(const std::vector<std::string>& args) {
  return RunCommand(kName, kUsage.c_str(), [&] {
    const ParsedArgs parsed = ParseArgs(args,
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
                                         {{"--answer-text"}, true}},
                                        std::numeric_limits<std::size_t>::max());
    if (parsed.help) {
      std::cout << HelpText();
      return 0;
    }
    const std::optional<std::string> output = parsed.value("-o");
    const std::optional<std::string> outDir = parsed.value("--out-dir");
    if (output && outDir) throw UsageError("-o and --out-dir cannot be given together");
    if (!output && !outDir) throw UsageError("-o FILE or --out-dir DIR is required");
    const PageFormat* format = &kFormats[0];
    if (const auto name = parsed.value("--format")) {
      format = FindFormat(*name);
      if (!format) throw UsageError("--format: unknown format " + *name + " (known: " + FormatNames() + ")");
    }
    RunContext context{SettingsFrom(parsed), {}};

    // The texts: standard input alone, or files and folders.
    std::vector<Input> inputs;
    for (const std::string& arg : parsed.positionals) {
      if (arg == "-") {
        if (parsed.positionals.size() > 1) throw UsageError("standard input '-' must be the only INPUT");
        continue;
      }
      if (IsFolder(arg)) {
        for (Input& text : FolderTexts(arg)) inputs.push_back(std::move(text));
      } else {
        inputs.push_back({arg, arg, Stem(arg), {}});
      }
    }
    const bool fromStdin = inputs.empty();
    if (fromStdin) inputs.push_back({std::nullopt, "-", "", {}});
    // A folder of one text is one text.
    const bool several = inputs.size() > 1;
    const bool bank = output && format->name == "moodle";
    if (output && several && !bank) {
      throw UsageError("several texts need --out-dir DIR (or --format moodle with -o FILE)");
    }
    if (outDir && fromStdin) throw UsageError("--out-dir needs INPUT files or folders");
    if (outDir) {
      // Two texts of the same name would write the same file.
      std::vector<std::pair<std::string, std::string>> stems;
      for (const Input& in : inputs) {
        if (in.error.empty()) stems.emplace_back(in.stem, in.label);
      }
      std::sort(stems.begin(), stems.end());
      for (std::size_t i = 1; i < stems.size(); ++i) {
        if (stems[i].first == stems[i - 1].first) {
          throw UsageError(stems[i - 1].second + " and " + stems[i].second + " would both be written to " +
                           stems[i].first + std::string(format->extension));
        }
      }
      std::error_code ec;
      std::filesystem::create_directories(*outDir, ec);
      if (!IsFolder(*outDir)) throw FileCreateError(*outDir);
    }

    std::unique_ptr<QGuiApplication> fonts;
    if (format->needsFonts) {
      fonts = StartFonts();
      context.pdfCreationTime = PdfCreationTime();
    }

    // Messages name the text only when there are several.
    const bool named = several;
    bool failed = false;
    MoodleQuizWriter quiz;
    TestWorkspace workspace;
    // Files of --out-dir are flushed to disk together, a batch at a time.
    FileBatch batch;
    std::map<std::string, const Input*> pending;
    auto commit = [&] {
      for (const std::string& path : batch.commit()) {
        ReportFailure(*pending.at(path), named, FileCreateError(path).what());
        failed = true;
      }
      pending.clear();
    };
    for (const Input& input : inputs) {
      try {
        MakeTest(input, workspace);
        const Text name = several ? FromUtf8(input.stem) : context.settings.Title;
        if (bank) {
          const std::size_t before = quiz.warnings().size();
          quiz.addQuestion(name, workspace);
          const std::vector<std::string> added(quiz.warnings().begin() + static_cast<std::ptrdiff_t>(before),
                                               quiz.warnings().end());
          ReportWarnings(input, named, added);
          continue;
        }
        // Built completely before anything is written: a text without a
        // gap stops with the list error and no file is created.
        const Exported file = format->write(workspace, context, name);
        ReportWarnings(input, named, file.warnings);
        if (output) {
          WriteFileBytes(*output, file.bytes);
        } else {
          const std::string path = *outDir + "/" + input.stem + std::string(format->extension);
          batch.add(path, file.bytes);
          pending[path] = &input;
          if (batch.size() >= kBatchFiles) commit();
        }
      } catch (const BrenvikError& e) {
        ReportFailure(input, named, e.what());
        failed = true;
      }
    }
    commit();
    if (bank && quiz.questions() > 0) WriteFileBytes(*output, quiz.finish());
    return failed ? 1 : 0;
  });
}

const CommandRegistrar kRegisterExport({kName, kUsage.c_str(), &RunExport});

}  // namespace
}  // namespace brenvik::cli
