#include "core/page/WorksheetHtml.h"

#include <cstddef>

namespace brenvik {
namespace {

void AppendEscaped(std::string& out, TextView text) {
  for (const char c : ToUtf8(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

// A4 with the PDF's margins; the key starts a page of its own. A gap is a
// row of boxes, one per missing letter, each about as wide as a written
// letter, kept on one line.
constexpr std::string_view kStyle =
    "@page{size:A4;margin:20mm}\n"
    "body{font-family:\"DejaVu Sans\",\"Noto Sans\",Arial,sans-serif;font-size:12pt;color:#000;"
    "background:#fff;margin:0}\n"
    "h1{font-size:18pt;text-align:center;margin:0 0 14pt}\n"
    "h2{font-size:14pt;margin:0 0 12pt}\n"
    "h3{font-size:13pt;margin:14pt 0 4pt;break-after:avoid}\n"
    ".lines{margin:0 0 18pt}\n"
    ".line{display:inline-block;border-bottom:1px solid #000;vertical-align:baseline}\n"
    ".name{width:18em;margin-inline-end:2em}\n"
    ".date{width:10em}\n"
    ".instruction{font-weight:bold;margin:0 0 10pt}\n"
    ".text p{line-height:2.4;margin:0}\n"
    ".gap{white-space:nowrap}\n"
    ".cell{display:inline-block;width:0.9em;height:1.25em;border:1px solid #000;"
    "margin-inline-end:1px;vertical-align:-0.3em}\n"
    ".key{break-before:page}\n"
    ".key p{line-height:1.7;margin:0}\n"
    ".entry{white-space:nowrap}\n"
    ".number{font-size:9pt}\n"
    ".answer{font-weight:bold;text-decoration:underline}\n";

void AppendGap(std::string& out, std::size_t number, std::size_t length) {
  out += "<span class=\"gap\" role=\"img\" aria-label=\"gap " + std::to_string(number) + ", " +
         std::to_string(length) + (length == 1 ? " letter" : " letters") + "\">";
  for (std::size_t i = 0; i < length; ++i) out += "<span class=\"cell\"></span>";
  out += "</span>";
}

void AppendSectionTitle(std::string& out, const Worksheet& sheet, std::size_t section) {
  out += "<h3 dir=\"auto\">";
  AppendEscaped(out, sheet.Sections[section].Title);
  out += "</h3>\n";
}

void AppendTest(std::string& out, const Worksheet& sheet) {
  out += "<div class=\"text\">\n";
  bool open = false;
  auto openParagraph = [&] {
    out += "<p dir=\"auto\">";
    open = true;
  };
  auto closeParagraph = [&] {
    if (open) out += "</p>\n";
    open = false;
  };
  if (sheet.Sections.empty()) openParagraph();
  std::size_t section = 0;
  for (std::size_t i = 0; i < sheet.Test.size(); ++i) {
    while (section < sheet.Sections.size() && sheet.Sections[section].FirstPiece == i) {
      closeParagraph();
      AppendSectionTitle(out, sheet, section++);
      openParagraph();
    }
    const WorksheetPiece& p = sheet.Test[i];
    switch (p.PieceKind) {
      case WorksheetPiece::Kind::Plain: AppendEscaped(out, p.Characters); break;
      case WorksheetPiece::Kind::Gap: AppendGap(out, p.Number, p.Length); break;
      case WorksheetPiece::Kind::LineBreak:
        // An empty line keeps its height.
        if (i > 0 && sheet.Test[i - 1].PieceKind == WorksheetPiece::Kind::LineBreak) out += "<br>";
        closeParagraph();
        openParagraph();
        break;
    }
  }
  closeParagraph();
  out += "</div>\n";
}

// "n. word / word" per gap, the answer marked; each word isolated so that
// right-to-left words do not run into the numbers.
void AppendKey(std::string& out, const Worksheet& sheet) {
  out += "<section class=\"key\">\n<h2 dir=\"auto\">";
  AppendEscaped(out, sheet.KeyHeading);
  out += "</h2>\n";
  auto word = [&](const Text& kept, const Text& answer) {
    out += "<bdi>";
    AppendEscaped(out, kept);
    out += "<span class=\"answer\">";
    AppendEscaped(out, answer);
    out += "</span></bdi>";
  };
  bool open = false;
  bool first = true;
  auto openParagraph = [&] {
    out += "<p dir=\"auto\">";
    open = true;
    first = true;
  };
  if (sheet.Sections.empty()) openParagraph();
  std::size_t section = 0;
  for (std::size_t i = 0; i < sheet.Key.size(); ++i) {
    while (section < sheet.Sections.size() && sheet.Sections[section].FirstEntry == i) {
      if (open) out += "</p>\n";
      AppendSectionTitle(out, sheet, section++);
      openParagraph();
    }
    const WorksheetKeyEntry& e = sheet.Key[i];
    if (!first) out += " \u00B7 ";
    first = false;
    out += "<span class=\"entry\"><span class=\"number\">" + std::to_string(e.Number) + ".</span>\u00A0";
    word(e.Kept, e.Answer);
    for (const Text& more : e.Accepted) {
      out += "\u00A0/\u00A0";
      word(e.Kept, more);
    }
    out += "</span>";
  }
  if (open) out += "</p>\n";
  out += "</section>\n";
}

}  // namespace

std::string WorksheetHtml(const Worksheet& sheet, std::string_view language) {
  std::string out = "<!DOCTYPE html>\n<html";
  if (!language.empty()) {
    out += " lang=\"";
    AppendEscaped(out, FromUtf8(std::string(language)));
    out += "\"";
  }
  out += ">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendEscaped(out, sheet.Title);
  out += "</title>\n<style>\n";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<h1 dir=\"auto\">";
  AppendEscaped(out, sheet.Title);
  out += "</h1>\n<p class=\"lines\">";
  AppendEscaped(out, sheet.NameLabel);
  out += " <span class=\"line name\"></span>";
  AppendEscaped(out, sheet.DateLabel);
  out += " <span class=\"line date\"></span></p>\n<p class=\"instruction\" dir=\"auto\">";
  AppendEscaped(out, sheet.Instruction);
  out += "</p>\n";
  AppendTest(out, sheet);
  AppendKey(out, sheet);
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace brenvik
