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
#include <string_view>
#include <vector>

#include "core/page/ResponsivePageAssets.h"
#include "core/text/Errors.h"
#include "core/text/HugePages.h"

namespace brenvik {

namespace {

constexpr std::string_view kCreditLine = "Made with Brenvik by Halvorsk, 2026";
constexpr std::string_view kDefaultTitle = "C-test";
constexpr long long kSecondsPerGap = 12;

// The classic writer's mark for a CR LF in a separator run. A separator run
// is made of separator characters only and never holds "<", so the mark
// always stands for a line break.
constexpr TextView kLineBreakMark = U"<BR>";


class Utf8Out {
 public:
  explicit Utf8Out(std::string& out) : out_(out) {}

  void ascii(std::string_view s) { out_.append(s); }

  void put(char32_t c) { AppendUtf8(out_, c); }

  // Runs of ASCII are copied without the per-character encoding.
  void put(TextView s) {
    std::size_t i = 0;
    while (i < s.size()) {
      std::size_t end = i;
      while (end < s.size() && s[end] < 0x80) ++end;
      if (end > i) {
        const std::size_t at = out_.size();
        out_.resize(at + (end - i));
        char* p = out_.data() + at;
        for (std::size_t k = i; k < end; ++k) *p++ = static_cast<char>(s[k]);
        i = end;
      }
      if (i < s.size()) put(s[i++]);
    }
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

// Where a piece of markup text goes: the title keeps its characters (a line
// break is a blank to the browser); the test text ends its line block at
// CR LF, a lone CR or LF (see TextLines); a separator run besides reads the
// classic writer's "<BR>" mark as a line break.
enum class TextPlace { Title, Text, Separator };

// The test text as one block per source line, inside <div class="text">.
// Blocks let the browser style and lay out only the lines near the screen
// (content-visibility: auto) instead of the whole text at once. Each line
// break is written as "</div>\n" between two blocks, so the text of the
// container reads exactly as the source, with LF for every break; the
// whitespace between blocks is not rendered. A block opens when the line
// has something in it or another break follows (an empty source line is an
// empty block, given a line's height by the style sheet); a break at the
// very end of the text opens nothing, as a final line break shows no line.
// A break inside a gap's wrapper closes the wrapper and opens it again on
// the next line.
class TextLines {
 public:
  explicit TextLines(Utf8Out& out) : out_(out) {}

  // Called before anything is written into the current line.
  void content() {
    if (open_) return;
    out_.ascii("<div>");
    open_ = true;
    if (!wrapper_.empty()) out_.ascii(wrapper_);
  }

  void lineBreak() {
    content();
    if (!wrapper_.empty()) out_.ascii("</span>");
    out_.ascii("</div>\n");
    open_ = false;
  }

  // A gap's wrapper: its opening tag, the kept part and the box go inside.
  void openWrapper(std::string_view tag) {
    content();
    out_.ascii(tag);
    wrapper_ = tag;
  }

  void closeWrapper() {
    content();
    out_.ascii("</span>");
    wrapper_ = {};
  }

  void finish() {
    if (open_) out_.ascii("</div>");
    open_ = false;
  }

 private:
  Utf8Out& out_;
  bool open_ = false;
  std::string_view wrapper_;
};

// "&", "<" and ">" as references; a NUL (which the HTML parser drops) as
// U+FFFD. The test text and its separators go through lines, which gets
// every line break; the title has none.
void PutMarkupText(Utf8Out& out, TextView text, TextPlace place, TextLines* lines) {
  const bool lineBreaks = place != TextPlace::Title && lines != nullptr;
  const std::size_t n = text.size();
  std::size_t plain = 0;  // start of the run of characters written as they are
  auto flush = [&](std::size_t end) {
    if (end == plain) return;
    if (lines != nullptr) lines->content();
    out.put(text.substr(plain, end - plain));
  };
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = text[i];
    const bool breakChar = lineBreaks && (c == U'\r' || c == U'\n');
    if (c != U'&' && c != U'<' && c != U'>' && c != 0 && !breakChar) continue;
    flush(i);
    if (breakChar) {
      if (c == U'\r' && i + 1 < n && text[i + 1] == U'\n') ++i;
      lines->lineBreak();
    } else if (c == U'<' && lineBreaks && place == TextPlace::Separator &&
               text.substr(i, kLineBreakMark.size()) == kLineBreakMark) {
      lines->lineBreak();
      i += kLineBreakMark.size() - 1;
    } else {
      if (lines != nullptr) lines->content();
      switch (c) {
        case U'&': out.ascii("&amp;"); break;
        case U'<': out.ascii("&lt;"); break;
        case U'>': out.ascii("&gt;"); break;
        default: out.put(kReplacementChar); break;  // NUL
      }
    }
    plain = i + 1;
  }
  flush(n);
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; }

TextView TrimBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  return -1;
}

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
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), size);
  if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(size)) return kDefaultTextSize;
  return std::clamp(size, kMin, kMax);
}

// One gap: its box number and where its word is in the lists.
struct Gap {
  std::size_t word;
  TextView answer;
};

std::vector<Gap> CollectGaps(const TestWorkspace& w) {
  const std::size_t words = w.PageLeftHalves.size();
  // Every word needs its deleted part and its separator run.
  const std::size_t aligned = std::min(w.PageRightHalves.size(), w.PageSeparators.size());
  if (aligned < words) throw ListIndexError(static_cast<long long>(aligned));
  std::vector<Gap> gaps;
  for (std::size_t i = 0; i < words; ++i) {
    const TextView right = w.PageRightHalves[i];
    if (!right.empty()) gaps.push_back({i, right});
  }
  // No answer: the same error as the classic writer's read of the last one.
  if (gaps.empty()) throw ListIndexError(-1);
  return gaps;
}

void PutStyle(Utf8Out& out, const ExportSettings& s, const std::vector<Gap>& gaps) {
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
  for (const Gap& gap : gaps) {
    const std::size_t cells = page::DisplayCells(gap.answer);
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
}

void PutTitle(Utf8Out& out, const ExportSettings& s) {
  const TextView title = TrimBlanks(s.Title);
  if (title.empty()) {
    out.ascii(kDefaultTitle);
  } else {
    PutMarkupText(out, title, TextPlace::Title, nullptr);
  }
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

void PutText(Utf8Out& out, const TestWorkspace& w, const ExportSettings& s, const std::vector<Gap>& gaps) {
  out.ascii("<div class=\"text\">");
  TextLines lines(out);
  PutMarkupText(out, w.FirstSentence, TextPlace::Text, &lines);
  std::size_t next = 0;
  for (std::size_t i = 0; i < w.PageLeftHalves.size(); ++i) {
    const TextView left = w.PageLeftHalves[i];
    if (next < gaps.size() && gaps[next].word == i) {
      lines.openWrapper(page::KeepGapTogether(left, gaps[next].answer, s.TextSize) ? "<span class=\"w k\">"
                                                                                  : "<span class=\"w\">");
      PutMarkupText(out, left, TextPlace::Text, &lines);
      lines.content();
      PutGapBox(out, next, gaps.size(), gaps[next].answer);
      lines.closeWrapper();
      ++next;
    } else {
      PutMarkupText(out, left, TextPlace::Text, &lines);
    }
    PutMarkupText(out, w.PageSeparators[i], TextPlace::Separator, &lines);
  }
  lines.finish();
  out.ascii("</div>\n");
}

// {"practice":..,"showAnswers":..,"seconds":..,"answers":[[97,116],..]}:
// digits, brackets, commas and our own names only.
void PutData(Utf8Out& out, const ExportSettings& s, const std::vector<Gap>& gaps) {
  const bool practice = s.TestMode == PageVariant::Practice;
  out.ascii("<script type=\"application/json\" id=\"test-data\">{\"practice\":");
  out.ascii(practice ? "true" : "false");
  out.ascii(",\"showAnswers\":");
  out.ascii(practice && s.ShowAnswersFlag ? "true" : "false");
  out.ascii(",\"seconds\":");
  out.number(s.TimerFlag ? kSecondsPerGap * static_cast<long long>(gaps.size()) : 0);
  out.ascii(",\"answers\":[");
  for (std::size_t k = 0; k < gaps.size(); ++k) {
    if (k != 0) out.put(U',');
    out.put(U'[');
    const TextView answer = gaps[k].answer;
    for (std::size_t j = 0; j < answer.size(); ++j) {
      if (j != 0) out.put(U',');
      out.number(static_cast<long long>(ScalarOrReplacement(answer[j])));
    }
    out.put(U']');
  }
  out.ascii("]}</script>\n");
}

std::size_t EstimatedLength(const TestWorkspace& w, const ExportSettings& s, std::size_t gaps) {
  return page::kResponsiveStyle.size() + page::kResponsiveScript.size() + 4096 + s.Title.size() * 2 +
         (w.FirstSentence.size() + w.PageLeftHalves.characters() + w.PageSeparators.characters()) * 2 +
         gaps * 240;
}

}  // namespace

std::string BuildResponsivePage(const TestWorkspace& workspace, const ExportSettings& settings) {
  const std::vector<Gap> gaps = CollectGaps(workspace);
  const bool practice = settings.TestMode == PageVariant::Practice;

  std::string bytes;
  bytes.reserve(EstimatedLength(workspace, settings, gaps.size()));
  AdviseHugePages(bytes.data(), bytes.capacity());
  Utf8Out out(bytes);
  out.ascii(
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Brenvik\">\n"
      // Chromium draws nothing before the footer is parsed, rather than
      // laying out a long text again and again while it arrives.
      "<link rel=\"expect\" href=\"#end\" blocking=\"render\">\n<title>");
  PutTitle(out, settings);
  out.ascii("</title>\n<style>\n");
  PutStyle(out, settings, gaps);
  out.ascii("</style>\n</head>\n<body>\n<main>\n<h1 dir=\"auto\">");
  PutTitle(out, settings);
  out.ascii(
      "</h1>\n<p class=\"name-line\">Name: <span class=\"name-space\"></span></p>\n<div id=\"work\">\n"
      "<p class=\"instruction\">Complete the gaps in the following text:</p>\n"
      "<form id=\"cloze\" name=\"cloze\" autocomplete=\"off\">\n");
  PutText(out, workspace, settings, gaps);
  out.ascii("</form>\n");
  if (settings.TimerFlag) {
    out.ascii("<p class=\"timer-line\">Time left: <span id=\"timer\" role=\"timer\"></span></p>\n");
  }
  out.ascii("<div class=\"controls\"><button type=\"button\" id=\"submit-test\">Submit Test</button>");
  if (practice && settings.ShowAnswersFlag) {
    out.ascii("<button type=\"button\" id=\"show-answers\">Show Answers</button>");
  }
  out.ascii("</div>\n</div>\n<div id=\"result\" role=\"status\">");
  if (practice) {
    out.ascii("<p id=\"feedback\"></p><p id=\"score-line\" hidden>Score: <output id=\"score\"></output></p>");
  }
  out.ascii("</div>\n</main>\n<footer id=\"end\"><p>");
  out.ascii(kCreditLine);
  out.ascii("</p></footer>\n");
  PutData(out, settings, gaps);
  out.ascii("<script>\n");
  out.ascii(page::kResponsiveScript);
  out.ascii("</script>\n</body>\n</html>\n");
  return bytes;
}

namespace page {

Text ResponsiveColour(TextView value, TextView fallback) {
  const TextView v = TrimBlanks(value);
  if ((v.size() != 7 && v.size() != 4) || v[0] != U'#') return Text(fallback);
  Text out = U"#";
  for (std::size_t i = 1; i < v.size(); ++i) {
    const int digit = HexValue(v[i]);
    if (digit < 0) return Text(fallback);
    const char32_t upper = U"0123456789ABCDEF"[digit];
    out.push_back(upper);
    if (v.size() == 4) out.push_back(upper);
  }
  return out;
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
  // A 360 px screen leaves a 328 px line; a cell is about 0.6 of the text
  // size in common fonts; the box is 1.2 cells a letter plus its padding,
  // and a mark may follow it.
  constexpr double kLine = 328;
  constexpr double kCell = 0.6;
  const double cells = static_cast<double>(DisplayCells(keptPart)) +
                       1.2 * static_cast<double>(DisplayCells(answer)) + 4;
  return cells * kCell * TextSizePixels(textSize) <= kLine;
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
    // A CSS escape: a backslash, up to six hexadecimal digits and a blank
    // that ends it. NUL and non-characters of the program become U+FFFD.
    const char32_t cp = c == 0 ? kReplacementChar : ScalarOrReplacement(c);
    out.push_back(U'\\');
    bool started = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
      const std::uint32_t d = (static_cast<std::uint32_t>(cp) >> shift) & 0xF;
      if (d == 0 && !started && shift != 0) continue;
      started = true;
      out.push_back(U"0123456789ABCDEF"[d]);
    }
    out.push_back(U' ');
  }
  out.append(U"\",sans-serif");
  return out;
}

std::size_t DisplayCells(TextView text) {
  std::size_t cells = 0;
  for (char32_t c : text) {
    const bool zeroWidth = (c >= 0x0300 && c <= 0x036F) || (c >= 0x0483 && c <= 0x0489) ||
                           (c >= 0x0591 && c <= 0x05C7) || (c >= 0x0610 && c <= 0x061A) ||
                           (c >= 0x064B && c <= 0x065F) || c == 0x200C || c == 0x200D ||
                           (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0x1F3FB && c <= 0x1F3FF) ||
                           (c >= 0xE0100 && c <= 0xE01EF);
    if (zeroWidth) continue;
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F000 && c <= 0x1FAFF) ||
                      (c >= 0x20000 && c <= 0x3FFFD);
    cells += wide ? 2 : 1;
  }
  return cells == 0 ? 1 : cells;
}

}  // namespace page

}  // namespace brenvik
