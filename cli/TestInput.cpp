#include "cli/TestInput.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <limits>

#include "core/test/LanguageTag.h"
#include "core/test/TestFile.h"
#include "core/text/Unicode.h"

namespace brenvik::cli {

namespace {

// The file name without its folder and without ".txt" (any case).
Text TitleOf(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  if (name.size() > 4) {
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == ".txt") name.resize(name.size() - 4);
  }
  return unicode::ToNfc(FromUtf8(name));
}

std::uint32_t GapLimit(const std::string& value) {
  std::uint32_t n = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (ec != std::errc() || end != value.data() + value.size()) {
    throw UsageError("--gap-limit needs a whole number of gaps (0 for no limit), not " + value);
  }
  return n;
}

}  // namespace

std::vector<OptionSpec> TestOptionSpecs() {
  return {{{"--gap-limit"}, true},
          {{"--keep-last-sentence"}, false},
          {{"--ignore-case"}, false},
          {{"--lang"}, true},
          {{"--title"}, true}};
}

TestOptionValues ReadTestOptions(const ParsedArgs& parsed) {
  std::optional<std::uint32_t> gapLimit;
  if (const auto v = parsed.value("--gap-limit")) gapLimit = GapLimit(*v);
  const std::optional<std::string> language = parsed.value("--lang");
  if (language && !IsWellFormedLanguageTag(*language)) {
    throw UsageError("--lang: \"" + *language +
                     "\" is not a well-formed BCP 47 language tag (such as de, pt-BR, zh-Hant)");
  }
  const std::optional<std::string> title = parsed.value("--title");
  const bool keepLast = parsed.has("--keep-last-sentence");
  const bool ignoreCase = parsed.has("--ignore-case");
  return {gapLimit, language, title, keepLast, ignoreCase};
}

bool TestOptionValues::any() const { return gapLimit || language || title || keepLastSentence || ignoreCase; }

void ApplyTestOptions(Test& test, const TestOptionValues& options) {
  for (TestText& text : test.texts) {
    if (options.gapLimit) text.options.gapLimit = *options.gapLimit;
    if (options.keepLastSentence) text.options.keepLastSentence = true;
  }
  if (options.ignoreCase) test.matching = AnswerMatching::IgnoreCase;
  if (options.language) test.language = *options.language;
  if (options.title) test.settings.Title = unicode::ToNfc(FromUtf8(*options.title));
}

Text TitleOfTextFile(const std::string& path) { return TitleOf(path); }

LoadedTest LoadTest(const std::vector<std::string>& inputs, const ParsedArgs& parsed) {
  // Option values first: a usage error reads nothing.
  const TestOptionValues options = ReadTestOptions(parsed);

  bool testFile = false;
  for (const std::string& input : inputs) {
    if (IsTestFilePath(input)) testFile = true;
    if (input == "-" && inputs.size() > 1) throw UsageError("'-' (standard input) only alone");
  }
  if (testFile && inputs.size() > 1) throw UsageError("a test file (.ctest) only alone");

  LoadedTest loaded;
  Test& test = loaded.test;
  if (testFile) {
    test = ReadTestFile(inputs.front());
  } else if (inputs.empty() || inputs.front() == "-") {
    test.texts.push_back({U"Text 1", ReadInput(std::nullopt), {}, {}});
  } else {
    test.texts.reserve(inputs.size());
    for (const std::string& input : inputs) test.texts.push_back({TitleOf(input), ReadInput(input), {}, {}});
  }
  loaded.plain = !testFile && test.texts.size() == 1 && !options.any();
  ApplyTestOptions(test, options);
  return loaded;
}

void ReportNotes(const char* command, const GeneratedTest& generated) {
  for (const GeneratedText& text : generated.texts) {
    for (const std::string& note : text.notes) {
      std::cerr << "brenvik-cli " << command << ": warning: " << ToUtf8(text.title) << ": " << note << "\n";
    }
  }
}

}  // namespace brenvik::cli
