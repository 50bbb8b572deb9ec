#include "core/test/TestFile.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <limits>

#include "core/test/GenerateText.h"
#include "core/test/Json.h"
#include "core/test/LanguageTag.h"
#include "core/text/TextFile.h"
#include "core/text/Unicode.h"

namespace brenvik {

TestFileError::TestFileError(const std::string& path, const std::string& problem)
    : BrenvikError("cannot read the test file " + path + ": " + problem), path_(path), problem_(problem) {}

namespace {

using json::Value;

// A field's place in the file for messages: texts[2].edits[0].word.
class Place {
 public:
  explicit Place(std::string path) : path_(std::move(path)) {}
  Place field(std::string_view name) const {
    return Place(path_.empty() ? std::string(name) : path_ + "." + std::string(name));
  }
  Place item(std::size_t i) const { return Place(path_ + "[" + std::to_string(i) + "]"); }
  const std::string& str() const { return path_; }

 private:
  std::string path_;
};

class Reader {
 public:
  explicit Reader(const std::string& name) : name_(name) {}

  [[noreturn]] void fail(const Place& place, const std::string& problem) const {
    throw TestFileError(name_, place.str() + ": " + problem);
  }

  const json::Object& object(const Value& v, const Place& place) const {
    if (!v.asObject()) fail(place, "must be an object");
    return *v.asObject();
  }
  const json::Array& array(const Value& v, const Place& place) const {
    if (!v.asArray()) fail(place, "must be an array");
    return *v.asArray();
  }
  Text text(const Value& v, const Place& place) const {
    if (!v.asString()) fail(place, "must be a string");
    return unicode::ToNfc(FromUtf8(*v.asString()));
  }
  bool flag(const Value& v, const Place& place) const {
    if (!v.asBool()) fail(place, "must be true or false");
    return *v.asBool();
  }
  std::uint64_t whole(const Value& v, const Place& place, std::uint64_t min, std::uint64_t max) const {
    std::optional<std::uint64_t> n;
    if (v.asNumber()) n = json::AsWholeNumber(*v.asNumber(), max);
    if (!n || *n < min) {
      fail(place, "must be a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return *n;
  }

  // Refuses a member not among names: a misspelt field would otherwise be
  // lost without a word.
  void onlyKnown(const json::Object& o, const Place& place, std::initializer_list<std::string_view> names) const {
    for (const json::Member& m : o) {
      if (std::find(names.begin(), names.end(), m.first) == names.end()) {
        fail(place.field(m.first), "is not a field of this file format");
      }
    }
  }

  const Value& required(const json::Object& o, const Place& place, std::string_view name) const {
    const Value* v = json::Find(o, name);
    if (!v) fail(place.field(name), "is missing");
    return *v;
  }

  ExportSettings settings(const Value& v, const Place& place) const {
    const json::Object& o = object(v, place);
    onlyKnown(o, place, {"title", "variant", "showAnswers", "timer", "pageBackground", "pageText",
                         "font", "textSize", "answerBox", "answerText"});
    ExportSettings s;
    auto textField = [&](std::string_view name, Text& into) {
      if (const Value* f = json::Find(o, name)) into = text(*f, place.field(name));
    };
    textField("title", s.Title);
    if (const Value* f = json::Find(o, "variant")) {
      const Text variant = text(*f, place.field("variant"));
      if (variant == U"test") {
        s.TestMode = PageVariant::Test;
      } else if (variant == U"practice") {
        s.TestMode = PageVariant::Practice;
      } else {
        fail(place.field("variant"), "must be \"test\" or \"practice\"");
      }
    }
    if (const Value* f = json::Find(o, "showAnswers")) s.ShowAnswersFlag = flag(*f, place.field("showAnswers"));
    if (const Value* f = json::Find(o, "timer")) s.TimerFlag = flag(*f, place.field("timer"));
    textField("pageBackground", s.PageBackground);
    textField("pageText", s.PageTextColour);
    textField("font", s.FontName);
    textField("textSize", s.TextSize);
    textField("answerBox", s.AnswerBoxColour);
    textField("answerText", s.AnswerTextColour);
    return s;
  }

  WordEdit edit(const Value& v, const Place& place) const {
    const json::Object& o = object(v, place);
    onlyKnown(o, place, {"word", "occurrence", "gap", "accepted"});
    WordEdit e;
    e.word = text(required(o, place, "word"), place.field("word"));
    if (e.word.empty()) fail(place.field("word"), "must not be empty");
    if (const Value* f = json::Find(o, "occurrence")) {
      e.occurrence = static_cast<std::uint32_t>(
          whole(*f, place.field("occurrence"), 1, std::numeric_limits<std::uint32_t>::max()));
    }
    if (const Value* f = json::Find(o, "gap")) {
      const Text gap = text(*f, place.field("gap"));
      if (gap == U"on") {
        e.gap = GapSwitch::On;
      } else if (gap == U"off") {
        e.gap = GapSwitch::Off;
      } else {
        fail(place.field("gap"), "must be \"on\" or \"off\"");
      }
    }
    if (const Value* f = json::Find(o, "accepted")) {
      const json::Array& a = array(*f, place.field("accepted"));
      for (std::size_t i = 0; i < a.size(); ++i) {
        Text answer = text(a[i], place.field("accepted").item(i));
        if (answer.empty()) fail(place.field("accepted").item(i), "must not be empty");
        e.accepted.push_back(std::move(answer));
      }
    }
    return e;
  }

  TestText testText(const Value& v, const Place& place) const {
    const json::Object& o = object(v, place);
    onlyKnown(o, place, {"title", "source", "gapLimit", "keepLastSentence", "edits"});
    TestText t;
    if (const Value* f = json::Find(o, "title")) t.title = text(*f, place.field("title"));
    t.source = text(required(o, place, "source"), place.field("source"));
    if (const Value* f = json::Find(o, "gapLimit")) {
      t.options.gapLimit = static_cast<std::uint32_t>(
          whole(*f, place.field("gapLimit"), 0, std::numeric_limits<std::uint32_t>::max()));
    }
    if (const Value* f = json::Find(o, "keepLastSentence")) {
      t.options.keepLastSentence = flag(*f, place.field("keepLastSentence"));
    }
    if (const Value* f = json::Find(o, "edits")) {
      const json::Array& a = array(*f, place.field("edits"));
      for (std::size_t i = 0; i < a.size(); ++i) {
        WordEdit e = edit(a[i], place.field("edits").item(i));
        for (const WordEdit& earlier : t.edits) {
          if (earlier.word == e.word && earlier.occurrence == e.occurrence) {
            fail(place.field("edits").item(i), "a second change to the " + Ordinal(e.occurrence) +
                                                   " \"" + ToUtf8(e.word) + "\"");
          }
        }
        t.edits.push_back(std::move(e));
      }
    }
    return t;
  }

  Test test(const Value& root) const {
    const Place top("");
    if (!root.asObject()) throw TestFileError(name_, "it is not a Brenvik test file");
    const json::Object& o = *root.asObject();
    const Value* format = json::Find(o, "format");
    if (!format || !format->asString() || *format->asString() != kTestFileFormat) {
      throw TestFileError(name_, "it is not a Brenvik test file (no \"format\": \"brenvik-test\")");
    }
    const Value& version = required(o, top, "version");
    const std::uint64_t n = whole(version, top.field("version"), 1, std::numeric_limits<std::uint32_t>::max());
    if (n > kTestFileVersion) {
      throw TestFileError(name_, "it was written in version " + std::to_string(n) +
                                     " of the format, by a newer Brenvik; this one reads version " +
                                     std::to_string(kTestFileVersion));
    }
    onlyKnown(o, top, {"format", "version", "language", "matching", "settings", "texts"});
    Test t;
    if (const Value* f = json::Find(o, "language")) {
      if (!f->asString()) fail(top.field("language"), "must be a string");
      t.language = *f->asString();
      if (!t.language.empty() && !IsWellFormedLanguageTag(t.language)) {
        fail(top.field("language"), "\"" + t.language + "\" is not a well-formed BCP 47 language tag");
      }
    }
    if (const Value* f = json::Find(o, "matching")) {
      const Text m = text(*f, top.field("matching"));
      if (m == U"exact") {
        t.matching = AnswerMatching::Exact;
      } else if (m == U"ignore-case") {
        t.matching = AnswerMatching::IgnoreCase;
      } else {
        fail(top.field("matching"), "must be \"exact\" or \"ignore-case\"");
      }
    }
    if (const Value* f = json::Find(o, "settings")) t.settings = settings(*f, top.field("settings"));
    const json::Array& texts = array(required(o, top, "texts"), top.field("texts"));
    if (texts.empty()) fail(top.field("texts"), "must hold at least one text");
    t.texts.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) t.texts.push_back(testText(texts[i], top.field("texts").item(i)));
    return t;
  }

 private:
  const std::string& name_;
};

std::string Utf8(TextView t) { return ToUtf8(t); }

}  // namespace

Test ParseTestFile(std::string_view bytes, const std::string& name) {
  if (bytes.size() > kMaxTestFileBytes) {
    throw TestFileError(name, "it is larger than " + std::to_string(kMaxTestFileBytes >> 20) + " MiB");
  }
  Value root;
  try {
    root = json::Parse(bytes);
  } catch (const json::ParseError& e) {
    throw TestFileError(name, "it is damaged or not JSON (" + std::string(e.what()) + ")");
  }
  return Reader(name).test(root);
}

Test ReadTestFile(const std::string& path) {
  std::string bytes;
  try {
    bytes = ReadFileBytes(path, kMaxTestFileBytes);
  } catch (const TextTooLargeError&) {
    throw TestFileError(path, "it is larger than " + std::to_string(kMaxTestFileBytes >> 20) + " MiB");
  }
  return ParseTestFile(bytes, path);
}

std::string TestFileBytes(const Test& test) {
  const ExportSettings& s = test.settings;
  json::Object settings = {
      {"title", Utf8(s.Title)},
      {"variant", s.TestMode == PageVariant::Practice ? "practice" : "test"},
      {"showAnswers", s.ShowAnswersFlag},
      {"timer", s.TimerFlag},
      {"pageBackground", Utf8(s.PageBackground)},
      {"pageText", Utf8(s.PageTextColour)},
      {"font", Utf8(s.FontName)},
      {"textSize", Utf8(s.TextSize)},
      {"answerBox", Utf8(s.AnswerBoxColour)},
      {"answerText", Utf8(s.AnswerTextColour)},
  };
  json::Array texts;
  texts.reserve(test.texts.size());
  for (const TestText& t : test.texts) {
    json::Array edits;
    for (const WordEdit& e : t.edits) {
      json::Object edit = {{"word", Utf8(e.word)}, {"occurrence", Value::Integer(e.occurrence)}};
      if (e.gap != GapSwitch::Rule) edit.emplace_back("gap", e.gap == GapSwitch::On ? "on" : "off");
      if (!e.accepted.empty()) {
        json::Array accepted;
        for (const Text& a : e.accepted) accepted.emplace_back(Utf8(a));
        edit.emplace_back("accepted", std::move(accepted));
      }
      edits.emplace_back(std::move(edit));
    }
    texts.emplace_back(json::Object{
        {"title", Utf8(t.title)},
        {"source", Utf8(t.source)},
        {"gapLimit", Value::Integer(t.options.gapLimit)},
        {"keepLastSentence", t.options.keepLastSentence},
        {"edits", std::move(edits)},
    });
  }
  const json::Object root = {
      {"format", std::string(kTestFileFormat)},
      {"version", Value::Integer(kTestFileVersion)},
      {"language", test.language},
      {"matching", test.matching == AnswerMatching::IgnoreCase ? "ignore-case" : "exact"},
      {"settings", std::move(settings)},
      {"texts", std::move(texts)},
  };
  return json::Write(Value(root));
}

void WriteTestFile(const std::string& path, const Test& test) { WriteFileBytes(path, TestFileBytes(test)); }

bool IsTestFilePath(std::string_view path) {
  constexpr std::string_view kExt = ".ctest";
  if (path.size() < kExt.size()) return false;
  const std::string_view tail = path.substr(path.size() - kExt.size());
  return std::equal(tail.begin(), tail.end(), kExt.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
}

}  // namespace brenvik
