// brenvik-cli workspace: the TestWorkspace of INPUT as JSON, the ten fields
// under their own names in their order, lists as arrays of strings; for a
// test of several texts, a test file or test options, the whole test: per
// text its options, edits, notes, gaps with their accepted answers and its
// workspace.

#include <iostream>
#include <limits>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/TestInput.h"
#include "core/ctest/TestGen.h"
#include "core/test/GenerateText.h"
#include "core/test/Json.h"

namespace brenvik::cli {
namespace {

constexpr const char* kName = "workspace";
constexpr const char* kUsage =
    "workspace [INPUT...] [--gap-limit N] [--keep-last-sentence] [--ignore-case] [--lang TAG] "
    "[--title T]";
constexpr const char* kHelp =
    "Usage: brenvik-cli workspace [INPUT...] [options]\n"
    "Runs Process on INPUT (a text file; '-' or absent for standard input) and\n"
    "prints the resulting workspace as JSON in UTF-8: FirstSentence, RestText,\n"
    "WordList, Separators, LeftHalves, RightHalves, PageLeftHalves,\n"
    "PageSeparators, PageRightHalves and PageAnswers.\n"
    "For several text files, a test file (TEST.ctest) or any option, it prints\n"
    "the test instead: its title, language and matching, and per text its\n"
    "title, options, edits, notes, gaps (number, kept part, answer, accepted\n"
    "answers) and workspace.\n"
    "\n"
    "Options (as for brenvik-cli test):\n"
    "  --gap-limit N         after N gaps the rest of each text stays whole\n"
    "  --keep-last-sentence  no gap in the last sentence of each text\n"
    "  --ignore-case         answers are right in any letter case\n"
    "  --lang TAG            the texts' language, a BCP 47 tag\n"
    "  --title T             the name of the whole test\n"
    "As for every command, -o - names standard output; the JSON goes nowhere\n"
    "else.\n"
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

std::string Utf8(TextView t) { return ToUtf8(t); }

json::Value ListJson(const TextList& list) {
  json::Array a;
  a.reserve(list.size());
  for (TextView entry : list) a.emplace_back(Utf8(entry));
  return json::Value(std::move(a));
}

json::Value WorkspaceValue(const TestWorkspace& w) {
  return json::Value(json::Object{
      {"FirstSentence", Utf8(w.FirstSentence)},
      {"RestText", Utf8(w.RestText)},
      {"WordList", ListJson(w.WordList)},
      {"Separators", ListJson(w.Separators)},
      {"LeftHalves", ListJson(w.LeftHalves)},
      {"RightHalves", ListJson(w.RightHalves)},
      {"PageLeftHalves", ListJson(w.PageLeftHalves)},
      {"PageSeparators", ListJson(w.PageSeparators)},
      {"PageRightHalves", ListJson(w.PageRightHalves)},
      {"PageAnswers", ListJson(w.PageAnswers)},
  });
}

const char* GapName(GapSwitch gap) {
  switch (gap) {
    case GapSwitch::On: return "on";
    case GapSwitch::Off: return "off";
    case GapSwitch::Rule: break;
  }
  return "rule";
}

// The whole test: gap numbers run on from text to text, as the pages count.
std::string TestJson(const Test& test, const GeneratedTest& generated) {
  json::Array texts;
  std::uint64_t number = 0;
  for (std::size_t t = 0; t < generated.texts.size(); ++t) {
    const TestText& source = test.texts[t];
    const GeneratedText& text = generated.texts[t];
    json::Array edits;
    for (const WordEdit& e : source.edits) {
      json::Array accepted;
      for (const Text& a : e.accepted) accepted.emplace_back(Utf8(a));
      edits.emplace_back(json::Object{{"word", Utf8(e.word)},
                                      {"occurrence", json::Value::Integer(e.occurrence)},
                                      {"gap", GapName(e.gap)},
                                      {"accepted", std::move(accepted)}});
    }
    json::Array notes;
    for (const std::string& n : text.notes) notes.emplace_back(n);
    json::Array gaps;
    const TestWorkspace& w = text.workspace;
    std::size_t g = 0;
    for (std::size_t k = 0; k < w.RightHalves.size(); ++k) {
      if (w.RightHalves[k].empty()) continue;
      json::Array accepted;
      for (const Text& a : text.accepted[g]) accepted.emplace_back(Utf8(a));
      gaps.emplace_back(json::Object{{"number", json::Value::Integer(++number)},
                                     {"word", Utf8(w.WordList[k])},
                                     {"kept", Utf8(w.LeftHalves[k])},
                                     {"answer", Utf8(w.RightHalves[k])},
                                     {"accepted", std::move(accepted)}});
      ++g;
    }
    texts.emplace_back(json::Object{{"title", Utf8(text.title)},
                                    {"gapLimit", json::Value::Integer(source.options.gapLimit)},
                                    {"keepLastSentence", source.options.keepLastSentence},
                                    {"edits", std::move(edits)},
                                    {"notes", std::move(notes)},
                                    {"gaps", std::move(gaps)},
                                    {"workspace", WorkspaceValue(w)}});
  }
  return json::Write(json::Value(json::Object{
      {"title", Utf8(test.settings.Title)},
      {"language", test.language},
      {"matching", test.matching == AnswerMatching::IgnoreCase ? "ignore-case" : "exact"},
      {"texts", std::move(texts)},
  }));
}

int RunWorkspace(const std::vector<std::string>& args) {
  std::vector<OptionSpec> specs = TestOptionSpecs();
  specs.push_back({{"-o", "--output"}, true});
  const ParsedArgs parsed = ParseArgs(args, specs, std::numeric_limits<std::size_t>::max());
  if (parsed.help) {
    std::cout << kHelp;
    return 0;
  }
  // Standard output only: "-o -" says so, as it may for every command.
  if (!IsStandardOutput(parsed.value("-o"))) throw UsageError("workspace writes to standard output only");

  const LoadedTest loaded = LoadTest(parsed.positionals, parsed);
  std::string out;
  if (loaded.plain) {
    TestWorkspace workspace;
    GenerateTest(loaded.test.texts.front().source, workspace);
    out = ToUtf8(WorkspaceJson(workspace));
  } else {
    const GeneratedTest generated = GenerateWholeTest(loaded.test);
    ReportNotes(kName, generated);
    out = TestJson(loaded.test, generated);
  }
  WriteOutput("-", out);
  return 0;
}

const CommandRegistrar kRegisterWorkspace({kName, kUsage, &RunWorkspace});

}  // namespace
}  // namespace brenvik::cli
