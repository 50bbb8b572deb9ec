// The module's entry points: the browser edition works on a test file (the
// bytes of a .ctest) and asks the core for everything else, so that what it
// shows, keeps and downloads are the bytes brenvik-cli makes from the same
// test. Strings and files come in as UTF-8 bytes; the result of the last
// call is kept until the next one, and JavaScript reads it with
// brenvik_result_data and brenvik_result_size (with brenvik_result_info for
// what an export says of its file), or the error's message when
// brenvik_result_error is 1. web/core-api.js wraps these for the page.

#include <emscripten.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Version.h"
#include "core/page/PagePieces.h"
#include "core/page/PageTest.h"
#include "core/page/Worksheet.h"
#include "core/page/WorksheetHtml.h"
#include "core/scorm/ScormPackage.h"
#include "core/test/GapEdits.h"
#include "core/test/GenerateText.h"
#include "core/test/Json.h"
#include "core/test/LanguageTag.h"
#include "core/test/Test.h"
#include "core/test/TestFile.h"
#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"
#include "core/text/Unicode.h"
#include "export/ExportFormats.h"

namespace brenvik::web {
namespace {

// The largest text read, as brenvik-cli's limit on an input.
constexpr std::uint64_t kMaxInputBytes = 256ull * 1024 * 1024;
// How messages name a test file that came as bytes from the page.
const std::string kTestName = "the test";

std::string g_result;
std::string g_info;
bool g_failed = false;

template <typename Make>
int Run(Make&& make) {
  g_info.clear();
  try {
    g_result = make();
    g_failed = false;
    return 0;
  } catch (const std::exception& e) {
    g_result = e.what();
    g_failed = true;
    return 1;
  }
}

std::string_view Bytes(const char* data, std::size_t size) { return {data, size}; }

Test ReadTest(const char* data, std::size_t size) { return ParseTestFile(Bytes(data, size), kTestName); }

// A text as brenvik-cli reads a file or standard input: the code page
// recognised, line ends as File > Open makes them, NFC.
Text ReadText(std::string_view bytes) {
  if (bytes.size() > kMaxInputBytes) throw TextTooLargeError();
  return unicode::ToNfc(DecodeTextFile(bytes));
}

bool EndsWithIgnoringCase(std::string_view s, std::string_view end) {
  if (s.size() < end.size()) return false;
  s.remove_prefix(s.size() - end.size());
  for (std::size_t i = 0; i < end.size(); ++i) {
    const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
    if (c != end[i]) return false;
  }
  return true;
}

// A text file's title: its name without folder and ".txt".
Text TitleOfFile(std::string name) {
  if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos) name.erase(0, slash + 1);
  if (name.size() > 4 && EndsWithIgnoringCase(name, ".txt")) name.resize(name.size() - 4);
  return unicode::ToNfc(FromUtf8(name));
}

// --- newTest: the request's values ------------------------------------------

class Request {
 public:
  explicit Request(const json::Object& o) : o_(o) {}

  const json::Value* find(std::string_view name) const {
    const json::Value* v = json::Find(o_, name);
    return v && !v->isNull() ? v : nullptr;
  }
  std::optional<std::string> string(std::string_view name) const {
    const json::Value* v = find(name);
    if (!v) return std::nullopt;
    if (!v->asString()) throw BrenvikError(std::string(name) + " must be a string");
    return *v->asString();
  }
  std::optional<bool> flag(std::string_view name) const {
    const json::Value* v = find(name);
    if (!v) return std::nullopt;
    if (!v->asBool()) throw BrenvikError(std::string(name) + " must be true or false");
    return *v->asBool();
  }
  std::optional<std::uint32_t> whole(std::string_view name) const {
    const json::Value* v = find(name);
    if (!v) return std::nullopt;
    std::optional<std::uint64_t> n;
    if (v->asNumber()) n = json::AsWholeNumber(*v->asNumber(), UINT32_MAX);
    if (!n) throw BrenvikError(std::string(name) + " needs a whole number (0 for no limit)");
    return static_cast<std::uint32_t>(*n);
  }
  Request object(std::string_view name) const {
    static const json::Object kEmpty;
    const json::Value* v = find(name);
    if (!v) return Request(kEmpty);
    if (!v->asObject()) throw BrenvikError(std::string(name) + " must be an object");
    return Request(*v->asObject());
  }

 private:
  const json::Object& o_;
};

void SetText(const Request& r, std::string_view name, Text& field) {
  if (const auto v = r.string(name)) field = unicode::ToNfc(FromUtf8(*v));
}

void SetColour(const Request& r, std::string_view name, Text& field) {
  const auto v = r.string(name);
  if (!v) return;
  const std::optional<Text> colour = page::ParseWebColour(FromUtf8(*v));
  if (!colour) throw BrenvikError(std::string(name) + ": not a colour #RRGGBB: " + *v);
  field = *colour;
}

ExportSettings SettingsOf(const Request& r) {
  ExportSettings s;
  SetText(r, "title", s.Title);
  if (const auto variant = r.string("variant")) {
    if (*variant == "practice") {
      s.TestMode = PageVariant::Practice;
    } else if (*variant != "test") {
      throw BrenvikError("variant must be \"test\" or \"practice\"");
    }
  }
  if (const auto v = r.flag("showAnswers")) s.ShowAnswersFlag = *v;
  if (const auto v = r.flag("timer")) s.TimerFlag = *v;
  SetColour(r, "pageBackground", s.PageBackground);
  SetColour(r, "pageText", s.PageTextColour);
  SetColour(r, "answerBox", s.AnswerBoxColour);
  SetColour(r, "answerText", s.AnswerTextColour);
  SetText(r, "font", s.FontName);
  if (const json::Value* v = r.find("textSize")) {
    if (v->asNumber()) {
      s.TextSize = FromUtf8(v->asNumber()->text);
    } else {
      SetText(r, "textSize", s.TextSize);
    }
  }
  return s;
}

Test NewTest(std::string_view request) {
  const json::Value root = json::Parse(request);
  if (!root.asObject()) throw BrenvikError("the new test must be described by an object");
  const Request r(*root.asObject());
  const json::Value* texts = r.find("texts");
  if (!texts || !texts->asArray() || texts->asArray()->empty()) throw BrenvikError("a test needs at least one text");
  const Request options = r.object("options");
  Test test;
  test.settings = SettingsOf(options.object("settings"));
  if (const auto language = options.string("language")) {
    if (!language->empty() && !IsWellFormedLanguageTag(*language)) {
      throw BrenvikError("\"" + *language +
                         "\" is not a well-formed BCP 47 language tag (such as de, pt-BR, zh-Hant)");
    }
    test.language = *language;
  }
  if (const auto matching = options.string("matching")) {
    if (*matching == "ignore-case") {
      test.matching = AnswerMatching::IgnoreCase;
    } else if (*matching != "exact") {
      throw BrenvikError("matching must be \"exact\" or \"ignore-case\"");
    }
  }
  TextOptions textOptions;
  if (const auto limit = options.whole("gapLimit")) textOptions.gapLimit = *limit;
  if (const auto keep = options.flag("keepLastSentence")) textOptions.keepLastSentence = *keep;
  for (const json::Value& t : *texts->asArray()) {
    if (!t.asObject()) throw BrenvikError("each text must be an object {title, text}");
    const Request text(*t.asObject());
    TestText made;
    made.title = U"Text " + FromUtf8(std::to_string(test.texts.size() + 1));
    SetText(text, "title", made.title);
    made.source = ReadText(text.string("text").value_or(""));
    made.options = textOptions;
    test.texts.push_back(std::move(made));
  }
  return test;
}

// --- view -------------------------------------------------------------------

// Which of the equal words of the text each word is (1 for the first), in
// one pass: WordOccurrence word by word would take time that grows with the
// square of the words (a minute for a text of 40,000 words).
std::vector<std::uint32_t> Occurrences(const TestWorkspace& ws) {
  std::unordered_map<TextView, std::uint32_t> seen;
  std::vector<std::uint32_t> occurrences(ws.WordList.size());
  for (std::size_t i = 0; i < ws.WordList.size(); ++i) occurrences[i] = ++seen[ws.WordList[i]];
  return occurrences;
}

// The text's edit of that word, the last one as the generator reads them.
const WordEdit* EditOfWord(const TestText& text, TextView word, std::uint32_t occurrence) {
  for (std::size_t i = text.edits.size(); i-- > 0;) {
    if (text.edits[i].word == word && text.edits[i].occurrence == occurrence) return &text.edits[i];
  }
  return nullptr;
}

// Why a word without a gap has none though the rule and the edits would
// give it one: the teacher switched it off, or an option of the text.
std::string HeldBy(const TestText& text, const GeneratedText& made, const TestWorkspace* unlimited,
                   std::size_t word, const WordEdit* edit) {
  const TestWorkspace& ws = made.workspace;
  if (WordHasGap(ws, word)) return "";
  if (edit && edit->gap == GapSwitch::Off) return "off";
  if (!unlimited || !WordHasGap(*unlimited, word)) return "";
  if (text.options.keepLastSentence && word >= LastSentenceStart(ws)) return "last-sentence";
  return "limit";
}

std::string View(const Test& test) {
  const GeneratedTest generated = GenerateWholeTest(test);
  json::Array texts;
  std::uint64_t number = 0;
  json::Array dropped;
  for (std::size_t t = 0; t < test.texts.size(); ++t) {
    const TestText& text = test.texts[t];
    const GeneratedText& made = generated.texts[t];
    const TestWorkspace& ws = made.workspace;
    // The same text without its options, to tell which words they hold.
    std::optional<GeneratedText> unlimited;
    if (text.options != TextOptions{}) {
      TestText plain = text;
      plain.options = {};
      unlimited = GenerateText(plain, test.language);
    }
    json::Array words;
    std::uint64_t gaps = 0;
    const std::vector<std::uint32_t> occurrences = Occurrences(ws);
    for (std::size_t i = 0; i < ws.RightHalves.size(); ++i) {
      const bool gap = WordHasGap(ws, i);
      if (gap) ++gaps;
      const WordEdit* edit = EditOfWord(text, ws.WordList[i], occurrences[i]);
      json::Array accepted;
      if (edit) {
        for (const Text& a : edit->accepted) accepted.emplace_back(ToUtf8(a));
      }
      words.emplace_back(json::Object{
          {"index", json::Value::Integer(i)},
          {"word", ToUtf8(ws.WordList[i])},
          {"kept", ToUtf8(ws.LeftHalves[i])},
          {"deleted", ToUtf8(ws.RightHalves[i])},
          {"gap", gap},
          {"number", json::Value::Integer(gap ? number + gaps : 0)},
          {"canHaveGap", WordCanHaveGap(ws, i)},
          {"accepted", std::move(accepted)},
          {"heldBy", HeldBy(text, made, unlimited ? &unlimited->workspace : nullptr, i, edit)},
      });
    }
    number += gaps;
    texts.emplace_back(json::Object{
        {"title", ToUtf8(made.title)},
        {"testText", ToUtf8(made.testText)},
        {"gaps", json::Value::Integer(gaps)},
        {"words", std::move(words)},
    });
    for (const std::string& note : made.notes) {
      dropped.emplace_back(test.texts.size() > 1 ? ToUtf8(made.title) + ": " + note : note);
    }
  }
  return json::Write(json::Object{{"texts", std::move(texts)}, {"dropped", std::move(dropped)}});
}

// --- Edits ------------------------------------------------------------------

// The word of a text as the page names it; an error for one the text lacks.
struct EditedWord {
  Test test;
  GeneratedText made;
  std::size_t text;
  std::size_t word;

  RemakeText remaker() {
    return [this]() -> const TestWorkspace& {
      GenerateText(test.texts[text], test.language, made);
      return made.workspace;
    };
  }
};

EditedWord FindWord(const char* file, std::size_t size, int text, int word) {
  EditedWord w{ReadTest(file, size), {}, 0, 0};
  if (text < 0 || static_cast<std::size_t>(text) >= w.test.texts.size()) {
    throw BrenvikError("the test has no text " + std::to_string(text));
  }
  w.text = static_cast<std::size_t>(text);
  w.made = GenerateText(w.test.texts[w.text], w.test.language);
  if (word < 0 || static_cast<std::size_t>(word) >= w.made.workspace.RightHalves.size()) {
    throw BrenvikError("the text has no word " + std::to_string(word));
  }
  w.word = static_cast<std::size_t>(word);
  return w;
}

// --- exportAs ---------------------------------------------------------------

struct Exported {
  std::string bytes;
  std::vector<std::string> warnings;
  std::vector<std::string> failed;  // texts left out, each with its error
};

std::string_view MimeType(std::string_view format) {
  if (format == "classic") return "text/html;charset=windows-1252";
  if (format == "responsive") return "text/html;charset=utf-8";
  if (format == "moodle") return "application/xml";
  if (format == "ctest") return "application/json";
  return "application/zip";
}

// The file's name from the test's title: what a file system takes,
// "C-Test" for a blank title.
std::string FileName(const Text& title, std::string_view extension) {
  std::string name;
  for (const char c : ToUtf8(title)) {
    const bool bad = static_cast<unsigned char>(c) < 0x20 || c == 0x7f || std::string_view("/\\:*?\"<>|").find(c) !=
                                                                                std::string_view::npos;
    name += bad ? '_' : c;
  }
  const std::size_t first = name.find_first_not_of(" .");
  name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(" .") + 1 - first);
  if (name.empty()) name = "C-Test";
  return name + std::string(extension);
}

// The file of the test in a format, as `brenvik-cli export T.ctest --format F
// -o OUT` writes it: each text made and added on its own, a text that fails
// left out with its error (named after its title in a test of several),
// the file written when any text made it.
Exported ExportTest(const Test& test, const ExportFormat& format, const std::optional<unsigned>& passMark) {
  ExportSettings settings = test.settings;
  settings.PassMark = passMark;
  Exported out;
  const bool several = test.texts.size() > 1;
  auto fail = [&](const Text& title, const std::string& message) {
    out.failed.push_back(several ? ToUtf8(title) + ": " + message : message);
  };
  std::vector<GeneratedText> generated;
  generated.reserve(test.texts.size());
  for (const TestText& text : test.texts) {
    try {
      generated.push_back(GenerateText(text, test.language));
    } catch (const BrenvikError& e) {
      fail(text.title, e.what());
    }
  }
  const ExportContext context{ExportCreationTime(), nullptr, test.matching, test.language};
  const std::unique_ptr<ExportFile> file = format.open(settings, context);
  for (GeneratedText& text : generated) {
    std::vector<std::string> warnings = text.notes;
    try {
      for (std::string& w : file->add(ExportText{text.title, &text.workspace, &text.accepted})) {
        warnings.push_back(std::move(w));
      }
    } catch (const BrenvikError& e) {
      fail(text.title, e.what());
      continue;
    }
    for (std::string& w : warnings) out.warnings.push_back(several ? ToUtf8(text.title) + ": " + w : std::move(w));
  }
  if (file->texts() == 0) throw BrenvikError(out.failed.empty() ? "no text to export" : out.failed.front());
  out.bytes = file->bytes();
  return out;
}

json::Array Strings(const std::vector<std::string>& strings) {
  json::Array a;
  for (const std::string& s : strings) a.emplace_back(s);
  return a;
}

}  // namespace
}  // namespace brenvik::web

using namespace brenvik;
using namespace brenvik::web;

extern "C" {

// A file the teacher opened: a test file read strictly and written again,
// or a text file made a test of one text titled after the file.
EMSCRIPTEN_KEEPALIVE int brenvik_open_file(const char* name, const char* bytes, std::size_t size) {
  return Run([&] {
    if (IsTestFilePath(name)) return TestFileBytes(ParseTestFile(Bytes(bytes, size), name));
    Test test;
    test.texts.push_back({TitleOfFile(name), ReadText(Bytes(bytes, size)), {}, {}});
    (void)GenerateWholeTest(test);  // brenvik-cli test --save refuses what cannot be made
    return TestFileBytes(test);
  });
}

// A test of pasted texts: request is JSON {texts: [{title, text}], options}.
EMSCRIPTEN_KEEPALIVE int brenvik_new_test(const char* request, std::size_t size) {
  return Run([&] { return TestFileBytes(NewTest(Bytes(request, size))); });
}

EMSCRIPTEN_KEEPALIVE int brenvik_normalise(const char* file, std::size_t size) {
  return Run([&] { return TestFileBytes(ReadTest(file, size)); });
}

// The whole test generated, described as JSON for the page.
EMSCRIPTEN_KEEPALIVE int brenvik_view(const char* file, std::size_t size) {
  return Run([&] { return View(ReadTest(file, size)); });
}

EMSCRIPTEN_KEEPALIVE int brenvik_set_gap(const char* file, std::size_t size, int text, int word, int on) {
  return Run([&] {
    EditedWord w = FindWord(file, size, text, word);
    SetWordGap(w.test.texts[w.text], w.made.workspace, w.word, on != 0, w.remaker());
    return TestFileBytes(w.test);
  });
}

// answers: a JSON array of strings.
EMSCRIPTEN_KEEPALIVE int brenvik_set_accepted(const char* file, std::size_t size, int text, int word,
                                              const char* answers, std::size_t answersSize) {
  return Run([&] {
    EditedWord w = FindWord(file, size, text, word);
    const json::Value list = json::Parse(Bytes(answers, answersSize));
    if (!list.asArray()) throw BrenvikError("the further answers must be a list of strings");
    std::vector<Text> kept;
    for (const json::Value& a : *list.asArray()) {
      if (!a.asString()) throw BrenvikError("the further answers must be a list of strings");
      kept.push_back(unicode::ToNfc(FromUtf8(*a.asString())));
    }
    SetAcceptedAnswers(w.test.texts[w.text], w.made.workspace, w.word, kept, w.remaker());
    return TestFileBytes(w.test);
  });
}

// The file of the test in a format (an id of the export table, or "ctest");
// passMark is "" for none. The result info is JSON {fileName, mimeType,
// warnings, failed}.
EMSCRIPTEN_KEEPALIVE int brenvik_export(const char* file, std::size_t size, const char* formatId,
                                        const char* passMark) {
  return Run([&] {
    const Test test = ReadTest(file, size);
    const std::string_view id = formatId;
    Exported out;
    std::string_view extension = ".ctest";
    const ExportFormat* format = id == "ctest" ? nullptr : FindExportFormat(id);
    if (id != "ctest" && !format) throw BrenvikError("unknown format " + std::string(id) + " (known: " + ExportFormatIds() + "|ctest)");
    std::optional<unsigned> mark;
    if (*passMark != '\0') {
      if (!format || !format->scorm) throw BrenvikError("the pass mark is for SCORM packages (scorm12 or scorm2004)");
      mark = ParsePassMark(passMark);
    }
    if (format) {
      out = ExportTest(test, *format, mark);
      extension = format->extension;
    } else {
      out.bytes = TestFileBytes(test);
    }
    std::string bytes = std::move(out.bytes);
    const std::string info = json::Write(json::Object{
        {"fileName", FileName(test.settings.Title, extension)},
        {"mimeType", std::string(MimeType(id))},
        {"warnings", Strings(out.warnings)},
        {"failed", Strings(out.failed)},
    });
    g_info = info;
    return bytes;
  });
}

// The worksheet as a whole HTML document for the browser's print.
EMSCRIPTEN_KEEPALIVE int brenvik_print_layout(const char* file, std::size_t size) {
  return Run([&] {
    const Test test = ReadTest(file, size);
    const GeneratedTest generated = GenerateWholeTest(test);
    page::PageTest pageTest{{}, test.matching, test.language};
    for (const GeneratedText& t : generated.texts) pageTest.Texts.push_back({t.title, &t.workspace, &t.accepted});
    return WorksheetHtml(BuildWorksheet(pageTest, test.settings), test.language);
  });
}

EMSCRIPTEN_KEEPALIVE const char* brenvik_version() { return kVersion; }

EMSCRIPTEN_KEEPALIVE const char* brenvik_result_data() { return g_result.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t brenvik_result_size() { return g_result.size(); }
EMSCRIPTEN_KEEPALIVE int brenvik_result_error() { return g_failed ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE const char* brenvik_result_info() { return g_info.c_str(); }

}  // extern "C"
