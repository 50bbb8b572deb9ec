#include "core/page/MoodleXml.h"

#include <string_view>

#include "core/page/TestWords.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

constexpr std::size_t kMaxNameLength = 255;
constexpr TextView kDefaultName = U"C-Test";

// Characters XML 1.0 can hold, even as a character reference.
bool IsXmlChar(char32_t c) {
  if (c < 0x20) return c == U'\t' || c == U'\n' || c == U'\r';
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

void PutReference(std::string& out, char32_t c) {
  out.append("&#").append(std::to_string(static_cast<unsigned long>(c))).push_back(';');
}

// Text content of an XML element.
void PutXmlText(std::string& out, TextView text) {
  for (char32_t c : text) {
    if (!IsXmlChar(c)) c = kReplacementChar;
    switch (c) {
      case U'&': out.append("&amp;"); break;
      case U'<': out.append("&lt;"); break;
      case U'>': out.append("&gt;"); break;
      default: AppendUtf8(out, c);
    }
  }
}

// A CDATA section holding bytes; a "]]>" inside is split over two sections
// so that it cannot end the first one early.
void PutCdata(std::string& out, std::string_view bytes) {
  out.append("<![CDATA[");
  std::size_t start = 0;
  for (std::size_t end = bytes.find("]]>"); end != std::string_view::npos; end = bytes.find("]]>", start)) {
    out.append(bytes.substr(start, end + 2 - start)).append("]]><![CDATA[");
    start = end + 2;
  }
  out.append(bytes.substr(start)).append("]]>");
}

// The gap as the pupil knows it, for warnings: its number and whole word.
std::string GapLabel(std::size_t number, const TestWord& word) {
  return "gap " + std::to_string(number) + " (\"" + ToUtf8(word.Kept) + ToUtf8(word.Answer) + "\")";
}

// Plain text of the question: the characters that would act as markup or
// start a sub-question become references; a space that follows a space or
// starts a line becomes a no-break space so that runs of spaces keep their
// width; a character XML cannot hold becomes U+FFFD.
class HtmlText {
 public:
  explicit HtmlText(std::string& out) : out_(out) {}

  // Returns false when a character had to be replaced.
  bool put(TextView text) {
    bool exact = true;
    for (char32_t c : text) {
      if (!IsXmlChar(c)) {
        c = kReplacementChar;
        exact = false;
      }
      switch (c) {
        case U'&': out_.append("&amp;"); break;
        case U'<': out_.append("&lt;"); break;
        case U'>': out_.append("&gt;"); break;
        case U'"': out_.append("&quot;"); break;
        case U'\'': out_.append("&#39;"); break;
        case U'{': out_.append("&#123;"); break;
        case U'}': out_.append("&#125;"); break;
        case U' ':
          if (afterSpace_) {
            out_.append("&#160;");
          } else {
            out_.push_back(' ');
          }
          break;
        default: AppendUtf8(out_, c);
      }
      afterSpace_ = c == U' ';
    }
    return exact;
  }
  void lineBreak() {
    out_.append("<br>");
    afterSpace_ = true;
  }
  // A sub-question ends the run of spaces.
  void gap(TextView answer) {
    out_.append("{1:SHORTANSWER_C:=").append(moodle::ClozeAnswer(answer)).push_back('}');
    afterSpace_ = false;
  }

 private:
  std::string& out_;
  bool afterSpace_ = true;
};

}  // namespace

namespace moodle {

std::string ClozeAnswer(TextView answer) {
  std::string out;
  out.reserve(answer.size() * 2);
  for (char32_t c : answer) {
    if (!IsXmlChar(c)) {
      AppendUtf8(out, kReplacementChar);
    } else if (c == U'*') {
      out.append("\\*");
    } else if (IsAsciiAlnum(c) || c >= 0x80) {
      AppendUtf8(out, c);
    } else {
      PutReference(out, c);
    }
  }
  return out;
}

std::string AnswerProblem(TextView answer) {
  for (char32_t c : answer) {
    if (!IsXmlChar(c)) {
      return "holds a control character that XML cannot carry; it is written as U+FFFD";
    }
  }
  for (std::size_t i = 0; i + 1 < answer.size(); ++i) {
    if (answer[i] != U'\\') continue;
    const char32_t next = answer[i + 1];
    if (next == U'}' || next == U'#') {
      return "holds \"\\" + ToUtf8(TextView(&next, 1)) +
             "\", which Moodle always reads as \"" + ToUtf8(TextView(&next, 1)) + "\"";
    }
    if (next == U'*') return "holds \"\\*\", which Moodle may read as \"*\"";
  }
  return {};
}

std::string QuestionHtml(const TestWorkspace& workspace, std::vector<std::string>& warnings) {
  const std::vector<TestWord> words = TestWords(workspace);
  RequireGap(words);
  std::string html;
  html.reserve(workspace.FirstSentence.size() + workspace.Separators.characters() +
               workspace.LeftHalves.characters() + workspace.RightHalves.characters() * 2 + words.size() * 24);
  HtmlText out(html);
  bool textExact = true;
  auto putText = [&](TextView run) { textExact = out.put(run) && textExact; };
  auto putBreak = [&] { out.lineBreak(); };
  SplitLineBreaks(workspace.FirstSentence, putText, putBreak);
  std::size_t number = 0;
  for (const TestWord& word : words) {
    putText(word.Kept);
    if (!word.Answer.empty()) {
      ++number;
      out.gap(word.Answer);
      const std::string problem = AnswerProblem(word.Answer);
      if (!problem.empty()) warnings.push_back(GapLabel(number, word) + ": the answer " + problem);
    }
    SplitLineBreaks(word.Separator, putText, putBreak);
  }
  if (!textExact) {
    warnings.push_back("the text holds control characters that XML cannot carry; they are written as U+FFFD");
  }
  return html;
}

}  // namespace moodle

MoodleQuizWriter::MoodleQuizWriter() { xml_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"; }

void MoodleQuizWriter::addQuestion(TextView name, const TestWorkspace& workspace) {
  std::vector<std::string> found;
  // Built first: a text without a gap throws before anything is added.
  const std::string html = moodle::QuestionHtml(workspace, found);

  std::size_t first = 0;
  while (first < name.size() && name[first] <= U' ') ++first;
  std::size_t last = name.size();
  while (last > first && name[last - 1] <= U' ') --last;
  TextView shown = name.substr(first, last - first);
  if (shown.empty()) shown = kDefaultName;
  if (shown.size() > kMaxNameLength) shown = shown.substr(0, kMaxNameLength);

  xml_.append("  <question type=\"cloze\">\n    <name>\n      <text>");
  PutXmlText(xml_, shown);
  xml_.append("</text>\n    </name>\n    <questiontext format=\"html\">\n      <text>");
  PutCdata(xml_, html);
  xml_.append(
      "</text>\n    </questiontext>\n"
      "    <generalfeedback format=\"html\">\n      <text></text>\n    </generalfeedback>\n"
      "    <penalty>0.3333333</penalty>\n"
      "    <hidden>0</hidden>\n"
      "  </question>\n");
  for (std::string& w : found) warnings_.push_back(std::move(w));
  ++questions_;
}

std::string MoodleQuizWriter::finish() {
  xml_.append("</quiz>\n");
  return std::move(xml_);
}

MoodleXmlResult BuildMoodleXml(const TestWorkspace& workspace, const ExportSettings& settings) {
  MoodleQuizWriter writer;
  writer.addQuestion(settings.Title, workspace);
  MoodleXmlResult result;
  result.Warnings = writer.warnings();
  result.Xml = writer.finish();
  return result;
}

}  // namespace brenvik
