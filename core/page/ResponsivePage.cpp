// The responsive page: HTML5 in UTF-8, written straight into the bytes of the
// file. Everything the teacher wrote is escaped for the one place it goes:
// markup text (the title, the first sentence, the kept parts, the
// separators), a CSS string (the font name) or a validated value (colours,
// text size). Nothing the teacher wrote reaches the script; the answers go
// into a JSON data block as lists of code points.

#include "core/page/ResponsivePage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/page/PageEscape.h"
#include "core/page/PagePieces.h"
#include "core/page/ResponsivePageAssets.h"
#include "core/page/TestWords.h"
#include "core/text/Errors.h"
#include "core/text/HugePages.h"
#include "core/text/Unicode.h"

namespace brenvik {

namespace {

class Utf8Out {
 public:
  explicit Utf8Out(std::string& out) : out_(out) {}

  void ascii(std::string_view s) { out_.append(s); }

  void put(char32_t c) { AppendUtf8(out_, c); }

  void put(TextView s) { AppendUtf8(out_, s); }

  std::size_t size() const { return out_.size(); }

  // Replaces what was written from `from` on with what write(written, to)
  // appends to to.
  template <class Write>
  void rewriteFrom(std::size_t from, Write&& write) {
    std::string to;
    to.reserve((out_.size() - from) + 64);
    write(std::string_view(out_).substr(from), to);
    out_.replace(from, std::string::npos, to);
  }

  void number(long long value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    (void)ec;
    out_.append(digits, end);
  }

 private:
  std::string& out_;
};

// "&", "<" and ">" as references; a NUL (which the HTML parser drops) as
// U+FFFD. Line breaks are written as they are: the callers split the test
// text at them first, and in the title a line break is a blank to the
// browser.
void PutEscaped(Utf8Out& out, TextView text) {
  const std::size_t n = text.size();
  std::size_t plain = 0;  // start of the run of characters written as they are
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = text[i];
    if (c != U'&' && c != U'<' && c != U'>' && c != 0) continue;
    if (i > plain) out.put(text.substr(plain, i - plain));
    switch (c) {
      case U'&': out.ascii("&amp;"); break;
      case U'<': out.ascii("&lt;"); break;
      case U'>': out.ascii("&gt;"); break;
      default: out.put(kReplacementChar); break;  // NUL
    }
    plain = i + 1;
  }
  if (n > plain) out.put(text.substr(plain));
}

TextView TrimBlanks(TextView s) { return page::Trimmed(s, page::IsHtmlBlank); }

constexpr double kDefaultTextSize = 14;

// The text size in pixels: a number, optionally followed by "px", kept
// between 8 and 96; anything else gives 14.
double TextSizePixels(TextView value) {
  constexpr double kMin = 8;
  constexpr double kMax = 96;
  TextView v = TrimBlanks(value);
  if (v.size() >= 2) {
    const TextView unit = v.substr(v.size() - 2);
    if ((unit[0] == U'p' || unit[0] == U'P') && (unit[1] == U'x' || unit[1] == U'X')) {
      v = TrimBlanks(v.substr(0, v.size() - 2));
    }
  }
  // Digits with at most one decimal point; nothing else.
  std::string number;
  bool point = false;
  bool digit = false;
  for (char32_t c : v) {
    if (c >= U'0' && c <= U'9') {
      digit = true;
    } else if (c == U'.' && !point) {
      point = true;
    } else {
      return kDefaultTextSize;
    }
    if (number.size() > 16) return kDefaultTextSize;
    number.push_back(static_cast<char>(c));
  }
  if (!digit) return kDefaultTextSize;
  double size = 0;
#ifdef __EMSCRIPTEN__
  // emscripten's C++ library has no from_chars for double; its strtod is
  // never under another locale than "C", so it reads the same digits.
  char* end = nullptr;
  size = std::strtod(number.c_str(), &end);
  if (end != number.data() + number.size() || !std::isfinite(size)) return kDefaultTextSize;
#else
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), size);
  if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(size)) return kDefaultTextSize;
#endif
  return std::clamp(size, kMin, kMax);
}

// Whether a gap stays on one line with its kept part on a phone, the text
// being pixels high.
bool KeepGapTogetherAt(TextView keptPart, TextView answer, double pixels) {
  // A 360 px screen leaves a 328 px line; a cell is about 0.6 of the text
  // size in common fonts; the box is 1.2 cells a letter plus its padding,
  // and a mark may follow it.
  constexpr double kLine = 328;
  constexpr double kCell = 0.6;
  const double cells = static_cast<double>(page::DisplayCells(keptPart)) +
                       1.2 * static_cast<double>(page::DisplayCells(answer)) + 4;
  return cells * kCell * pixels <= kLine;
}

// The answers of the gaps, box by box. No answer: the same error as the
// classic writer's read of the last one.
std::vector<TextView> CollectAnswers(const std::vector<TestWord>& words) {
  RequireGap(words);
  std::vector<TextView> answers;
  answers.reserve(CountGaps(words));
  for (const TestWord& word : words) {
    if (!word.Answer.empty()) answers.push_back(word.Answer);
  }
  return answers;
}

// The marks of a checked box in the practice version: a tick, a cross, or a
// question mark for a box left empty, drawn at the end of the box (in the
// room every box keeps for them, so that nothing moves when they appear) in
// the answer text colour. An image, because a box can hold no generated
// content; the colour is a validated "#RRGGBB", and "<", ">" and "#" are
// escaped, so nothing ends the style sheet or the address. On paper the
// boxes show no mark.
void PutMarkImages(Utf8Out& out, const ExportSettings& s) {
  struct Mark {
    std::string_view state, shape;
  };
  constexpr Mark kMarks[] = {
      {"right", "%3Cpath d='M2.5 8.5l3.5 3.5 7.5-8'/%3E"},
      {"wrong", "%3Cpath d='M3.5 3.5l9 9m0-9l-9 9'/%3E"},
      {"empty", "%3Cpath d='M5.2 5.6a2.8 2.8 0 1 1 4 2.5c-.8.4-1.2 1-1.2 1.8v.6'/%3E%3Ccircle cx='8' cy='13.6' r='.5'/%3E"},
  };
  const Text colour = page::ResponsiveColour(s.AnswerTextColour, U"#FFFFFF");
  out.ascii("@media screen{\n");
  for (const Mark& mark : kMarks) {
    out.ascii(".text input[aria-describedby=said-");
    out.ascii(mark.state);
    out.ascii(
        "]{background-image:url(\"data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16' "
        "fill='none' stroke='%23");
    out.put(TextView(colour).substr(1));
    out.ascii("' stroke-width='2.2' stroke-linecap='round' stroke-linejoin='round'%3E");
    out.ascii(mark.shape);
    out.ascii("%3C/svg%3E\")}\n");
  }
  out.ascii("}\n");
}

void PutStyle(Utf8Out& out, const ExportSettings& s, const std::vector<TextView>& answers) {
  out.ascii(":root{--bg:");
  out.put(page::ResponsiveColour(s.PageBackground, U"#FFFFFF"));
  out.ascii(";--fg:");
  out.put(page::ResponsiveColour(s.PageTextColour, U"#000000"));
  out.ascii(";--box-bg:");
  out.put(page::ResponsiveColour(s.AnswerBoxColour, U"#000000"));
  out.ascii(";--box-fg:");
  out.put(page::ResponsiveColour(s.AnswerTextColour, U"#FFFFFF"));
  out.ascii(";--size:");
  out.put(page::ResponsiveTextSize(s.TextSize));
  out.ascii("px;--font:");
  out.put(page::ResponsiveFontFamily(s.FontName));
  out.ascii("}\n");
  // One rule per box width in use: boxes of a width share their style.
  std::vector<bool> used;
  for (const TextView answer : answers) {
    const std::size_t cells = page::DisplayCells(answer);
    if (cells >= used.size()) used.resize(cells + 1, false);
    if (used[cells]) continue;
    used[cells] = true;
    out.ascii(".n");
    out.number(static_cast<long long>(cells));
    out.ascii("{--n:");
    out.number(static_cast<long long>(cells));
    out.ascii("}");
  }
  out.ascii("\n");
  out.ascii(page::kResponsiveStyle);
  if (s.TestMode == PageVariant::Practice) PutMarkImages(out, s);
}

void PutTitle(Utf8Out& out, const ExportSettings& s) {
  const TextView title = TrimBlanks(s.Title);
  PutEscaped(out, page::TitleOrDefault(title));
}

void PutGapBox(Utf8Out& out, std::size_t index, std::size_t count, TextView answer) {
  out.ascii("<input name=\"");
  out.number(static_cast<long long>(index));
  out.ascii("\" class=\"n");
  out.number(static_cast<long long>(page::DisplayCells(answer)));
  out.ascii("\" aria-label=\"Gap ");
  out.number(static_cast<long long>(index + 1));
  out.ascii(" of ");
  out.number(static_cast<long long>(count));
  out.ascii(
      "\" autocomplete=\"off\" autocapitalize=\"off\" autocorrect=\"off\" spellcheck=\"false\" "
      "enterkeyhint=\"");
  out.ascii(index + 1 < count ? "next" : "done");
  out.ascii("\">");
}

// How wide a piece of the text stands on the screen, in character cells,
// roughly: a character is one cell and a box its answer plus the room
// around it. Only used to tell very long lines and to cut them into parts
// of about the same size.
constexpr std::size_t kBoxCells = 4;
// A source line wider than this (about 80 rows of a desktop screen, a
// paragraph of over a thousand words) is cut into parts of at least
// kPartCells (the line shared out evenly). The style sheet counts a part
// that is not laid out yet as 32em high (20 rows of a desktop screen at the
// line height of 1.6), so that the browser does not lay out dozens of parts
// at the start on the guess that each is one line high.
constexpr std::size_t kLongLineCells = 8192;
constexpr std::size_t kPartCells = 2048;

// Where a word ends, as a place to end a part of a long line: a part may end
// where the separator run ends in a blank or a tab (the row may break there
// anyway), and rather ends where the run also closes a sentence or a
// clause, since a row that ends short reads naturally there.
enum class WordEnd { None, Blank, Sentence };

WordEnd KindOfWordEnd(TextView separator) {
  if (separator.empty() || (separator.back() != U' ' && separator.back() != U'\t')) return WordEnd::None;
  for (char32_t c : separator) {
    if (c == U'.' || c == U'!' || c == U'?' || c == U';' || c == U':' || c == 0x2026 || c == 0x061F ||
        c == 0x06D4 || c == 0x0964 || c == 0x3002) {
      return WordEnd::Sentence;
    }
  }
  return WordEnd::Blank;
}

// A part ends at the first sentence end from the part's width on, or failing
// that at the first word end from one and a half times the width on.
bool EndsPart(std::size_t partCells, std::size_t width, WordEnd end) {
  return end != WordEnd::None &&
         (partCells >= 3 * width / 2 || (partCells >= width && end == WordEnd::Sentence));
}

// The test text as one block per source line, inside <div class="text">,
// written in one pass. Blocks let the browser style and lay out only the
// lines near the screen (content-visibility: auto) instead of the whole
// text at once. Each line break (CR LF, a lone CR or LF) is written as
// "</div>\n" between two
// blocks, so the text of the container reads exactly as the source, with LF
// for every break; the whitespace between blocks is not rendered. A block
// opens when the line has something in it or another break follows (an
// empty source line is an empty block, given a line's height by the style
// sheet); a break at the very end of the text opens nothing, as a final
// line break shows no line. A break inside a gap's wrapper closes the
// wrapper and opens it again on the next line.
//
// A very long line (a text written without line breaks) would have no block
// to skip. When one ends, its markup is rewritten as <div class="cut"
// dir="ltr|rtl"> holding the line in parts, each a block of its own, cut
// after words whose separator ends in a blank (EndsPart), where the row
// could break anyway; nothing is written between two parts, so the line
// reads as before. Every part takes the direction of the line's first
// strong letter, as the whole line would.
class TextWriter {
 public:
  TextWriter(Utf8Out& out, const ExportSettings& s, const std::vector<TextView>& answers)
      : out_(out), settings_(s), answers_(answers), textPixels_(TextSizePixels(s.TextSize)) {}

  // Text in markup, its line breaks ending blocks: "&", "<" and ">" as
  // references and a NUL as U+FFFD, as PutEscaped writes them.
  void markup(TextView text) {
    const std::size_t n = text.size();
    std::size_t plain = 0;  // start of the run of characters written as they are
    auto flush = [&](std::size_t end) {
      if (end == plain) return;
      content();
      const TextView run = text.substr(plain, end - plain);
      cells_ += run.size();
      if (direction_ == page::Strong::None) findDirection(run);
      out_.put(run);
    };
    for (std::size_t i = 0; i < n; ++i) {
      const char32_t c = text[i];
      if (c != U'&' && c != U'<' && c != U'>' && c != 0 && c != U'\r' && c != U'\n') continue;
      flush(i);
      if (c == U'\r' || c == U'\n') {
        if (c == U'\r' && i + 1 < n && text[i + 1] == U'\n') ++i;
        lineBreak();
      } else {
        content();
        ++cells_;
        PutEscaped(out_, text.substr(i, 1));
      }
      plain = i + 1;
    }
    flush(n);
  }

  void openGap(std::size_t k, TextView keptPart) {
    content();
    gapTag_ = KeepGapTogetherAt(keptPart, answers_[k], textPixels_) ? "<span class=\"w k\">"
                                                                                   : "<span class=\"w\">";
    out_.ascii(gapTag_);
    inGap_ = true;
  }

  void box(std::size_t k) {
    content();
    cells_ += answers_[k].size() + kBoxCells;
    PutGapBox(out_, k, answers_.size(), answers_[k]);
  }

  void closeGap() {
    content();
    out_.ascii("</span>");
    inGap_ = false;
  }

  void wordEnd(WordEnd end) {
    if (end != WordEnd::None && open_) ends_.push_back({out_.size(), cells_, end});
  }

  void finish() {
    if (open_) closeLine();
    open_ = false;
  }

 private:
  void lineBreak() {
    content();
    if (inGap_) out_.ascii("</span>");
    closeLine();
    out_.ascii("\n");
    open_ = false;
  }

  // Called before anything is written into the current line.
  void content() {
    if (open_) return;
    lineStart_ = out_.size();
    out_.ascii("<div>");
    open_ = true;
    cells_ = 0;
    ends_.clear();
    isolates_ = 0;
    direction_ = page::Strong::None;
    if (inGap_) out_.ascii(gapTag_);
  }

  // From the line's first strong letter, as a browser decides the direction
  // of a line of plain text; an isolate's letters do not count.
  void findDirection(TextView run) {
    for (std::size_t i = 0; i < run.size() && direction_ == page::Strong::None; ++i) {
      const char32_t c = run[i];
      if (c >= 0x2066 && c <= 0x2068) {
        ++isolates_;
      } else if (c == 0x2069) {
        if (isolates_ > 0) --isolates_;
      } else if (isolates_ == 0) {
        direction_ = page::StrongDirection(c);
      }
    }
  }

  // Closes the line's block; a very long line is rewritten in parts, each
  // ending at a word end with more of the line after it.
  void closeLine() {
    out_.ascii("</div>");
    if (cells_ <= kLongLineCells) return;
    const std::size_t lineEnd = out_.size() - std::string_view("</div>").size();
    const std::size_t parts = (cells_ + kPartCells - 1) / kPartCells;
    const std::size_t width = (cells_ + parts - 1) / parts;
    std::vector<std::size_t> cuts;
    std::size_t partStart = 0;  // in cells
    for (const End& end : ends_) {
      if (end.at < lineEnd && EndsPart(end.cells - partStart, width, end.kind)) {
        cuts.push_back(end.at);
        partStart = end.cells;
      }
    }
    if (cuts.empty()) return;  // no blank between the words: one block
    out_.rewriteFrom(lineStart_, [&](std::string_view line, std::string& to) {
      to.append(direction_ == page::Strong::Rtl ? "<div class=\"cut\" dir=\"rtl\">" : "<div class=\"cut\" dir=\"ltr\">");
      std::size_t from = 0;
      for (std::size_t cut : cuts) {
        to.append(line.substr(from, cut - lineStart_ - from));
        to.append("</div><div>");
        from = cut - lineStart_;
      }
      to.append(line.substr(from));
      to.append("</div>");
    });
  }

  // A place where a part may end: where in the page, how wide the line is
  // there, and what kind of word end.
  struct End {
    std::size_t at;
    std::size_t cells;
    WordEnd kind;
  };

  Utf8Out& out_;
  const ExportSettings& settings_;
  const std::vector<TextView>& answers_;
  double textPixels_;  // the text size, for whether a gap keeps to its line
  std::size_t lineStart_ = 0;  // where the current line's block begins in the page
  std::size_t cells_ = 0;      // the current line's width so far
  std::vector<End> ends_;      // its word ends where a part may end
  std::size_t isolates_ = 0;
  page::Strong direction_ = page::Strong::None;
  bool open_ = false;
  bool inGap_ = false;
  std::string_view gapTag_;
};

// The test text in reading order.
void PutText(Utf8Out& out, TextView firstSentence, const std::vector<TestWord>& words, const ExportSettings& s,
             const std::vector<TextView>& answers, std::size_t next = 0, std::string_view language = {}) {
  if (language.empty()) {
    out.ascii("<div class=\"text\">");
  } else {
    // A well-formed language tag: letters, digits and hyphens only.
    out.ascii("<div class=\"text\" lang=\"");
    out.ascii(language);
    out.ascii("\">");
  }
  TextWriter lines(out, s, answers);
  lines.markup(firstSentence);
  for (const TestWord& word : words) {
    if (!word.Answer.empty()) {
      lines.openGap(next, word.Kept);
      lines.markup(word.Kept);
      lines.box(next);
      lines.closeGap();
      ++next;
    } else {
      lines.markup(word.Kept);
    }
    lines.markup(word.Separator);
    lines.wordEnd(KindOfWordEnd(word.Separator));
  }
  lines.finish();
  out.ascii("</div>\n");
}

// {"practice":..,"showAnswers":..,"seconds":..,"answers":[[97,116],..]}:
// digits, brackets, commas and our own names only.
void PutCodes(Utf8Out& out, TextView text) {
  // Formatted in a buffer and appended in pieces: a page of many gaps
  // writes a great many short lists, and one append a number costs more
  // than the digits.
  char buffer[256];
  std::size_t n = 0;
  buffer[n++] = '[';
  for (std::size_t j = 0; j < text.size(); ++j) {
    if (n > sizeof buffer - 16) {
      out.ascii(std::string_view(buffer, n));
      n = 0;
    }
    if (j != 0) buffer[n++] = ',';
    // A scalar value has at most seven decimal digits.
    std::uint32_t value = ScalarOrReplacement(text[j]);
    char digits[8];
    std::size_t d = 0;
    do {
      digits[d++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (d != 0) buffer[n++] = digits[--d];
  }
  buffer[n++] = ']';
  out.ascii(std::string_view(buffer, n));
}

// What a test of several texts or further answers adds to the page's data:
// ,"ignoreCase":..,"accepted":[[[101,109]],[],..],"texts":[{"title":[..],"gaps":25},..]
// (per gap its further answers, per text its title and number of gaps), in
// code points as the answers are.
void PutTestData(Utf8Out& out, const page::PageTest& test, const std::vector<std::size_t>& gapsIn) {
  out.ascii(",\"ignoreCase\":");
  out.ascii(test.Matching == AnswerMatching::IgnoreCase ? "true" : "false");
  out.ascii(",\"accepted\":[");
  bool first = true;
  for (std::size_t t = 0; t < test.Texts.size(); ++t) {
    const page::PageText& text = test.Texts[t];
    for (std::size_t k = 0; k < gapsIn[t]; ++k) {
      if (!first) out.put(U',');
      first = false;
      out.put(U'[');
      const std::vector<Text>& more = text.acceptedOf(k);
      for (std::size_t j = 0; j < more.size(); ++j) {
        if (j != 0) out.put(U',');
        PutCodes(out, more[j]);
      }
      out.put(U']');
    }
  }
  out.ascii("],\"texts\":[");
  for (std::size_t t = 0; t < test.Texts.size(); ++t) {
    if (t != 0) out.put(U',');
    out.ascii("{\"title\":");
    // A page of one text shows no title and no score per text, so its bytes
    // do not depend on what the text is called (a file's name, or none).
    PutCodes(out, test.Texts.size() > 1 ? TrimBlanks(test.Texts[t].Title) : TextView());
    out.ascii(",\"gaps\":");
    out.number(static_cast<long long>(gapsIn[t]));
    out.put(U'}');
  }
  out.put(U']');
}

// gaps: per text its number of gaps, for the research data.
void PutData(Utf8Out& out, const ExportSettings& s, const std::vector<TextView>& answers,
             const page::PageTest* research, const std::vector<std::size_t>& gaps) {
  const bool practice = s.TestMode == PageVariant::Practice;
  out.ascii("<script type=\"application/json\" id=\"test-data\">{\"practice\":");
  out.ascii(practice ? "true" : "false");
  out.ascii(",\"showAnswers\":");
  out.ascii(practice && s.ShowAnswersFlag ? "true" : "false");
  out.ascii(",\"seconds\":");
  out.number(s.TimerFlag ? page::kSecondsPerGap * static_cast<long long>(answers.size()) : 0);
  out.ascii(",\"answers\":[");
  for (std::size_t k = 0; k < answers.size(); ++k) {
    if (k != 0) out.put(U',');
    PutCodes(out, answers[k]);
  }
  out.ascii("]");
  if (research != nullptr) PutTestData(out, *research, gaps);
  out.ascii("}</script>\n");
}

std::size_t EstimatedLength(const TestWorkspace& w, const ExportSettings& s, std::size_t gaps) {
  return page::kResponsiveStyle.size() + page::kResponsiveScript.size() + 4096 + s.Title.size() * 2 +
         (w.FirstSentence.size() + w.LeftHalves.characters() + w.Separators.characters()) * 2 +
         gaps * 240;
}

// Whether a pupil's answer must be brought to NFC before it is compared:
// some answer has a character beyond Windows-1252, where keyboards and
// pasted text often give a letter and its marks decomposed. A page whose
// answers all stay within Windows-1252 keeps the plain script byte for byte.
bool AnswersNeedNfc(const std::vector<TextView>& answers) {
  for (TextView answer : answers) {
    for (char32_t c : answer) {
      if (c >= 0x80 && !page::HasWindows1252Byte(c)) return true;
    }
  }
  return false;
}

// The page of the test's texts. The plain script serves a plain test whose
// answers need no NFC; the research script (headings, lang, further
// answers, scores per text, typed answers in NFC) every other.
std::string BuildPage(const page::PageTest& test, const ExportSettings& settings) {
  std::vector<const TestWorkspace*> workspaces;
  for (const page::PageText& text : test.Texts) workspaces.push_back(text.Workspace);
  if (workspaces.empty()) throw ListIndexError(-1);
  std::vector<std::vector<TestWord>> texts;
  texts.reserve(workspaces.size());
  std::vector<TextView> answers;
  std::size_t estimate = 0;
  for (const TestWorkspace* workspace : workspaces) {
    texts.push_back(TestWords(*workspace));
    for (TextView answer : CollectAnswers(texts.back())) answers.push_back(answer);
    estimate += EstimatedLength(*workspace, settings, 0);
  }
  const page::PageTest* research = test.isPlain() && !AnswersNeedNfc(answers) ? nullptr : &test;
  const bool practice = settings.TestMode == PageVariant::Practice;

  std::string bytes;
  bytes.reserve(estimate + answers.size() * 240);
  AdviseHugePages(bytes.data(), bytes.capacity());
  Utf8Out out(bytes);
  out.ascii(
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Brenvik\">\n"
      // Chromium draws nothing before the footer, the last element, is
      // parsed: it does not lay out a long text again and again while it
      // arrives, and the script, which runs before the footer, has laid out
      // the first screen of the text before anything is shown.
      "<link rel=\"expect\" href=\"#end\" blocking=\"render\">\n<title>");
  PutTitle(out, settings);
  out.ascii("</title>\n<style>\n");
  PutStyle(out, settings, answers);
  out.ascii("</style>\n</head>\n<body>\n<main>\n<h1 dir=\"auto\">");
  PutTitle(out, settings);
  out.ascii(
      "</h1>\n<p class=\"name-line\">Name: <span class=\"name-space\"></span></p>\n<div id=\"work\">\n"
      "<p class=\"instruction\">");
  out.put(page::kInstruction);
  out.ascii(":</p>\n<form id=\"cloze\" name=\"cloze\" autocomplete=\"off\">\n");
  if (research == nullptr) {
    PutText(out, workspaces.front()->FirstSentence, texts.front(), settings, answers);
  } else {
    std::size_t next = 0;
    for (std::size_t t = 0; t < texts.size(); ++t) {
      if (texts.size() > 1) {
        // A blank title is "Text N", as the scores per text name it: an
        // empty heading would leave the text unnamed for a screen reader.
        out.ascii("<h2 dir=\"auto\">");
        const TextView title = TrimBlanks(research->Texts[t].Title);
        if (title.empty()) {
          out.ascii("Text ");
          out.number(static_cast<long long>(t + 1));
        } else {
          PutEscaped(out, title);
        }
        out.ascii("</h2>\n");
      }
      PutText(out, workspaces[t]->FirstSentence, texts[t], settings, answers, next, research->Language);
      next += CountGaps(texts[t]);
    }
  }
  out.ascii("</form>\n");
  if (practice) {
    // What a checked box's mark says, read out with the box.
    out.ascii(
        "<p hidden><span id=\"said-right\">right</span> <span id=\"said-wrong\">wrong</span> "
        "<span id=\"said-empty\">not answered</span></p>\n");
  }
  if (settings.TimerFlag) {
    out.ascii("<p class=\"timer-line\">Time left: <span id=\"timer\" role=\"timer\"></span></p>\n");
  }
  out.ascii("<div class=\"controls\"><button type=\"button\" id=\"submit-test\">Submit Test</button>");
  const bool showButton = practice && settings.ShowAnswersFlag;
  if (showButton) {
    out.ascii("<button type=\"button\" id=\"show-answers\">Show Answers</button>");
  }
  out.ascii("</div>\n");
  if (showButton) {
    out.ascii(
        "<dialog id=\"show-confirm\" aria-labelledby=\"show-confirm-title\" "
        "aria-describedby=\"show-confirm-text\">\n<h2 id=\"show-confirm-title\">Show the answers?</h2>\n"
        "<p id=\"show-confirm-text\">They replace what you typed in <span id=\"typed-count\"></span>.</p>\n"
        "<div class=\"controls\"><button type=\"button\" id=\"keep-answers\" autofocus>Keep my answers</button>"
        "<button type=\"button\" id=\"confirm-show\">Show the answers</button></div>\n</dialog>\n");
  }
  // The practice version keeps room for its feedback and score, so that
  // nothing below them moves when a check writes them.
  out.ascii(practice ? "</div>\n<div id=\"result\" class=\"practice\" role=\"status\">"
                     : "</div>\n<div id=\"result\" role=\"status\">");
  if (practice) {
    out.ascii("<p id=\"feedback\"></p><p id=\"score-line\" class=\"pending\">Score: <output id=\"score\"></output>");
    out.ascii("<span id=\"score-total\"> of ");
    out.number(static_cast<long long>(answers.size()));
    out.ascii("</span></p>");
    if (research != nullptr) out.ascii("<ul id=\"text-scores\"></ul>");
  }
  out.ascii("</div>\n</main>\n");
  std::vector<std::size_t> gaps;
  for (const std::vector<TestWord>& words : texts) gaps.push_back(CountGaps(words));
  PutData(out, settings, answers, research, gaps);
  out.ascii("<script>\n");
  out.ascii(research == nullptr ? page::kResponsiveScript : page::ResponsiveTestScript());
  out.ascii("</script>\n<footer id=\"end\"><p>");
  out.put(page::kCreditLine);
  out.ascii("</p></footer>\n</body>\n</html>\n");
  return bytes;
}

}  // namespace

std::string BuildResponsivePage(const TestWorkspace& workspace, const ExportSettings& settings) {
  page::PageTest test;
  test.Texts.push_back({TextView(), &workspace, nullptr});
  return BuildPage(test, settings);
}

std::string BuildResponsiveTestPage(const page::PageTest& test, const ExportSettings& settings) {
  return BuildPage(test, settings);
}

namespace page {

Text ResponsiveColour(TextView value, TextView fallback) {
  return ParseHexColour(TrimBlanks(value)).value_or(Text(fallback));
}

Text ResponsiveTextSize(TextView value) {
  const double size = TextSizePixels(value);
  // Two decimals at most, without trailing zeros.
  const long long hundredths = std::llround(size * 100);
  Text out = ToText(hundredths / 100);
  if (hundredths % 100 != 0) {
    out.push_back(U'.');
    out.push_back(static_cast<char32_t>(U'0' + hundredths % 100 / 10));
    if (hundredths % 10 != 0) out.push_back(static_cast<char32_t>(U'0' + hundredths % 10));
  }
  return out;
}

bool KeepGapTogether(TextView keptPart, TextView answer, TextView textSize) {
  return KeepGapTogetherAt(keptPart, answer, TextSizePixels(textSize));
}

Text ResponsiveFontFamily(TextView fontName) {
  const TextView name = TrimBlanks(fontName);
  if (name.empty()) return U"sans-serif";
  Text out = U"\"";
  for (char32_t c : name) {
    const bool plain = IsAsciiAlnum(c) || c == U' ' || c == U'-' || c == U'_' || c == U',' || c == U'.' ||
                       (c >= 0xA0 && IsScalarValue(c) && c != 0x2028 && c != 0x2029);
    if (plain) {
      out.push_back(c);
      continue;
    }
    // NUL and non-characters of the program become U+FFFD.
    AppendCssEscape(out, c, 1);
  }
  out.append(U"\",sans-serif");
  return out;
}

namespace {

// The pieces of the research script's helpers, and what they change in the
// plain script, each found exactly once.
constexpr std::string_view kTestHelpers = R"JS(// A box is right with its answer or any further accepted one, both sides in
// lower case when the test ignores letter case.
var acceptedList = null;
var textStarts = null;
function fold(s) { return data.ignoreCase ? s.toLowerCase() : s; }
function isRight(typed, i) {
  if (!acceptedList) {
    acceptedList = data.accepted.map(function (list) {
      return list.map(function (codes) { return fold(String.fromCodePoint.apply(String, codes)); });
    });
  }
  var t = fold(typed);
  return t === fold(allAnswers()[i]) || acceptedList[i].indexOf(t) >= 0;
}
// The text that box i belongs to.
function textOf(i) {
  if (!textStarts) {
    textStarts = [];
    var n = 0;
    data.texts.forEach(function (t) { textStarts.push(n); n += t.gaps; });
  }
  var t = textStarts.length - 1;
  while (t > 0 && textStarts[t] > i) t--;
  return t;
}
// One line per text, "Title: 18 of 25", when there are several; none after
// Show Answers (rightIn null).
function putTextScores(list, rightIn) {
  while (list.firstChild) list.removeChild(list.firstChild);
  if (!rightIn || data.texts.length < 2) return;
  data.texts.forEach(function (t, k) {
    var item = document.createElement('li');
    var title = String.fromCodePoint.apply(String, t.title) || 'Text ' + (k + 1);
    item.textContent = title + ': ' + rightIn[k] + ' of ' + t.gaps;
    list.appendChild(item);
  });
}

)JS";

std::string MakeTestScript() {
  std::string script(kResponsiveScript);
  auto replace = [&script](std::string_view from, std::string_view to) {
    const std::size_t at = script.find(from);
    if (at == std::string::npos || script.find(from, at + 1) != std::string::npos) {
      throw std::logic_error("the responsive script changed: " + std::string(from));
    }
    script.replace(at, from.size(), to);
  };
  replace("// state: 'right', 'wrong'", std::string(kTestHelpers) + "// state: 'right', 'wrong'");
  replace("  var right = 0;\n", "  var right = 0;\n  var rightIn = data.texts.map(function () { return 0; });\n");
  replace("var typed = trimAnswer(boxes[i].value);\n    var state = typed === answers[i] ?",
          "var typed = trimAnswer(boxes[i].value.normalize('NFC'));\n    var state = isRight(typed, i) ?");
  replace("if (state === 'right') right++;", "if (state === 'right') {\n      right++;\n      rightIn[textOf(i)]++;\n    }");
  replace("    finish('You scored ' + right + ' out of a possible ' + boxes.length);\n",
          "    finish('You scored ' + right + ' out of a possible ' + boxes.length);\n"
          "    putTextScores(result.appendChild(document.createElement('ul')), rightIn);\n");
  replace("  scoreLine.className = '';\n}",
          "  scoreLine.className = '';\n  putTextScores(document.getElementById('text-scores'), shown ? null : rightIn);\n}");
  return script;
}

}  // namespace

std::string_view ResponsiveTestScript() {
  static const std::string script = MakeTestScript();
  return script;
}

Strong StrongDirection(char32_t c) {
  switch (unicode::StrongDirection(c)) {
    case unicode::StrongClass::LeftToRight: return Strong::Ltr;
    case unicode::StrongClass::RightToLeft: return Strong::Rtl;
    case unicode::StrongClass::None: break;
  }
  return Strong::None;
}

std::size_t DisplayCells(TextView text) {
  const std::size_t cells = unicode::CellCount(text);
  return cells == 0 ? 1 : cells;
}

}  // namespace page

}  // namespace brenvik
