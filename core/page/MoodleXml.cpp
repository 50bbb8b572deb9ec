#include "core/page/MoodleXml.h"

#include <string_view>

#include "core/page/PagePieces.h"
#include "core/page/TestWords.h"
#include "core/text/Errors.h"

namespace brenvik {
namespace {

constexpr std::size_t kMaxNameLength = 255;

// Characters XML 1.0 can hold, even as a character reference.
bool IsXmlChar(char32_t c) {
  if (c < 0x20) return c == U'\t' || c == U'\n' || c == U'\r';
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

void PutReference(std::string& out, char32_t c) {
  out.append("&#").append(std::to_string(static_cast<unsigned long>(c))).push_back(';');
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

// At most this many characters of a word or name are quoted in a warning.
constexpr std::size_t kQuotedLength = 60;

// text in quotes, cut short with an ellipsis when it is long.
std::string Quoted(TextView text) {
  std::string out = "\"";
  out += ToUtf8(text.substr(0, kQuotedLength));
  if (text.size() > kQuotedLength) out += "\u2026";
  return out + "\"";
}

// The gap as the pupil knows it, for warnings: its number and whole word.
std::string GapLabel(std::size_t number, const TestWord& word) {
  return "gap " + std::to_string(number) + " (" + Quoted(Text(word.Kept) + Text(word.Answer)) + ")";
}

// A number with a comma between thousands, as the warnings show lengths.
std::string Thousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// C's isspace() in the "C" locale, which PHP's strip_tags tests bytes with.
bool IsCSpace(char32_t c) { return c == U' ' || (c >= U'\t' && c <= U'\r'); }

// The name as written: trimmed of white space and control characters at
// both ends, tabs and line breaks inside as spaces (Moodle's XML reader would
// drop a line break that stands between two runs of CDATA), characters XML
// cannot hold as U+FFFD, and at most kMaxNameLength characters.
Text CleanName(TextView name) {
  auto trimmed = [](TextView s) { return page::Trimmed(s, page::IsSpaceOrControl); };
  Text out;
  for (char32_t c : trimmed(name)) {
    if (c == U'\t' || c == U'\n' || c == U'\r') c = U' ';
    out += IsXmlChar(c) ? c : kReplacementChar;
  }
  if (out.size() > kMaxNameLength) out = Text(trimmed(TextView(out).substr(0, kMaxNameLength)));
  return out;
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
  // The further answers are right as well (full marks); SHORTANSWER, which
  // ignores letter case, when the test does.
  void gap(TextView answer, const std::vector<Text>& accepted = {}, bool ignoreCase = false) {
    out_.append(ignoreCase ? "{1:SHORTANSWER:=" : "{1:SHORTANSWER_C:=").append(moodle::ClozeAnswer(answer));
    for (const Text& more : accepted) out_.append("~=").append(moodle::ClozeAnswer(more));
    out_.push_back('}');
    afterSpace_ = false;
  }

 private:
  std::string& out_;
  bool afterSpace_ = true;
};

}  // namespace

namespace moodle {

std::size_t MarkingPatternBytes(TextView answer) {
  std::size_t bytes = 0;
  for (char32_t c : answer) {
    const char32_t v = ScalarOrReplacement(c);
    bytes += 1 + (v < 0x80 ? 1 : v < 0x800 ? 2 : v < 0x10000 ? 3 : 4);
  }
  return bytes;
}

std::string ClozeAnswer(TextView answer) {
  std::string out;
  out.reserve(answer.size() * 2);
  for (std::size_t i = 0; i < answer.size(); ++i) {
    const char32_t c = answer[i];
    if (!IsXmlChar(c)) {
      AppendUtf8(out, kReplacementChar);
    } else if (c == U'*') {
      out.append("\\*");
    } else if (IsAsciiAlnum(c) || c == 0x7F || c >= 0x80) {
      // Moodle decodes references as HTML 4 does, which leaves "&#127;" as
      // it is: DEL goes in as itself, which XML allows.
      AppendUtf8(out, c);
    } else {
      // Moodle reads "\}" and "\#" as "}" and "#" once references are
      // decoded: one more backslash keeps the one of the answer.
      if ((c == U'}' || c == U'#') && i > 0 && answer[i - 1] == U'\\') PutReference(out, U'\\');
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
  if (MarkingPatternBytes(answer) > kMaxMarkingPatternBytes) {
    return "is " + Thousands(answer.size()) +
           " characters long, too long for Moodle to mark: no answer typed into this gap will count as right";
  }
  return {};
}

std::string QuestionHtml(const TestWorkspace& workspace, std::vector<std::string>& warnings,
                         const page::PageText* research, bool ignoreCase) {
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
      const std::vector<Text>& accepted = research != nullptr ? research->acceptedOf(number) : std::vector<Text>{};
      ++number;
      out.gap(word.Answer, accepted, ignoreCase);
      const std::string problem = AnswerProblem(word.Answer);
      if (!problem.empty()) warnings.push_back(GapLabel(number, word) + ": the answer " + problem);
      for (const Text& more : accepted) {
        const std::string p = AnswerProblem(more);
        if (!p.empty()) warnings.push_back(GapLabel(number, word) + ": the answer " + Quoted(more) + " " + p);
      }
    }
    SplitLineBreaks(word.Separator, putText, putBreak);
  }
  if (!textExact) {
    warnings.push_back("the text holds control characters that XML cannot carry; they are written as U+FFFD");
  }
  return html;
}

Text KeptName(TextView name) {
  // PHP's strip_tags state by state: 0 text, 1 tag, 2 "<?" instruction, 3
  // "<!" declaration, 4 "<!--" comment. quote is the quote a tag is inside,
  // depth the count of "<" nested in a tag, last the last quote or bracket
  // seen in an instruction and brackets its count of open "(".
  Text out;
  int state = 0;
  int depth = 0;
  int brackets = 0;
  char32_t quote = 0;
  char32_t last = 0;
  bool xml = false;
  const std::size_t n = name.size();
  auto at = [&](std::size_t i, std::size_t back) -> char32_t { return i >= back ? name[i - back] : 0; };
  auto lower = [](char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; };
  auto follows = [&](std::size_t i, std::string_view word) {
    // The characters right before i spell word, case aside.
    if (i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
      if (lower(name[i - word.size() + k]) != static_cast<char32_t>(word[k])) return false;
    }
    return true;
  };
  auto toggleQuote = [&](std::size_t i, char32_t c) {
    if (i != 0 && (quote == 0 || c == quote)) quote = quote != 0 ? 0 : c;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = name[i];
    const bool spaceNext = i + 1 < n && IsCSpace(name[i + 1]);
    switch (state) {
      case 0:
        if (c == 0) break;
        if (c == U'<' && !spaceNext) {
          last = U'<';
          state = 1;
        } else if (c == U'>' && depth > 0) {
          --depth;
        } else {
          out += c;
        }
        break;
      case 1:
        if (c == U'<') {
          if (quote == 0 && !spaceNext) ++depth;
        } else if (c == U'>') {
          if (depth > 0) {
            --depth;
          } else if (quote == 0) {
            last = U'>';
            if (!(xml && at(i, 1) == U'-')) {
              state = 0;
              quote = 0;
              xml = false;
            }
          }
        } else if (c == U'"' || c == U'\'') {
          toggleQuote(i, c);
        } else if (c == U'!' && at(i, 1) == U'<') {
          state = 3;
          last = c;
        } else if (c == U'?' && at(i, 1) == U'<') {
          state = 2;
          brackets = 0;
        }
        break;
      case 2:
        if (c == U'(' || c == U')') {
          if (last != U'"' && last != U'\'') {
            last = c;
            brackets += c == U'(' ? 1 : -1;
          }
        } else if (c == U'>') {
          if (depth > 0) {
            --depth;
          } else if (quote == 0 && brackets == 0 && last != U'"' && at(i, 1) == U'?') {
            state = 0;
            quote = 0;
          }
        } else if (c == U'"' || c == U'\'') {
          if (i >= 1 && at(i, 1) != U'\\') {
            if (last == c) {
              last = 0;
            } else if (last != U'\\') {
              last = c;
            }
            toggleQuote(i, c);
          }
        } else if ((c == U'l' || c == U'L') && i > 4 && follows(i, "<?xm")) {
          state = 1;
          xml = true;
        }
        break;
      case 3:
        if (c == U'>') {
          if (depth > 0) {
            --depth;
          } else if (quote == 0) {
            state = 0;
          }
        } else if (c == U'"' || c == U'\'') {
          if (at(i, 1) != U'\\') toggleQuote(i, c);
        } else if (c == U'-' && i >= 2 && at(i, 1) == U'-' && at(i, 2) == U'!') {
          state = 4;
        } else if ((c == U'e' || c == U'E') && i > 6 && follows(i, "doctyp")) {
          state = 1;
        }
        break;
      default:  // 4
        if (c == U'>' && quote == 0 && i >= 2 && at(i, 1) == U'-' && at(i, 2) == U'-') state = 0;
        break;
    }
  }
  // PHP's trim(): space, tab, line feed, carriage return, NUL, vertical tab.
  return Text(page::Trimmed(out, [](char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0 || c == 0x0B;
  }));
}

}  // namespace moodle

MoodleQuizWriter::MoodleQuizWriter() { xml_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"; }

void MoodleQuizWriter::setCategory(TextView testName) {
  // Moodle reads a category path with "/" between categories; "//" is a
  // slash inside a name.
  Text name = CleanName(testName);
  if (name.empty()) name = page::kDefaultTitle;
  Text path = U"$course$/";
  for (char32_t c : name) {
    path.push_back(c);
    if (c == U'/') path.push_back(U'/');
  }
  category_ = "  <question type=\"category\">\n    <category>\n      <text>";
  PutCdata(category_, ToUtf8(path));
  category_.append("</text>\n    </category>\n  </question>\n");
}

void MoodleQuizWriter::addQuestion(TextView name, const TestWorkspace& workspace, const page::PageText* research,
                                   bool ignoreCase) {
  std::vector<std::string> found;
  // Built first: a text without a gap throws before anything is added.
  const std::string html = moodle::QuestionHtml(workspace, found, research, ignoreCase);

  const std::size_t number = questions_ + 1;
  Text shown = CleanName(name);
  if (shown.empty()) {
    shown = page::kDefaultTitle;
  } else if (moodle::KeptName(shown).empty()) {
    const std::string replacement = "Text " + std::to_string(number);
    warnings_.push_back("the name " + Quoted(shown) +
                        " would be empty in Moodle, which removes anything that looks like an HTML tag from "
                        "names; the question is named \"" + replacement + "\"");
    shown = FromUtf8(replacement);
  }

  xml_.append("  <question type=\"cloze\">\n    <name>\n      <text>");
  // In CDATA: Moodle's XML reader drops a run of white space that stands
  // alone between two references ("x &amp; &amp; y" comes out "x && y").
  PutCdata(xml_, ToUtf8(shown));
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
  xml_.insert(xml_.find("<quiz>\n") + 7, category_);
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
