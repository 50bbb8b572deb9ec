#include "export/PageEscape.h"

#include <cstdint>

#include "platform/CodePage.h"
#include "testgen/TestGen.h"

namespace brenvik::page {

namespace {

constexpr char32_t kHexDigits[] = U"0123456789ABCDEF";

bool IsAsciiAlnum(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

bool IsAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool HasWindows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return true;
  return CharToWindows1252(c).has_value();
}

bool KeptInSetting(char32_t c) {
  if (IsAsciiAlnum(c)) return true;
  switch (c) {
    case U' ': case U'-': case U'_': case U',': case U'.': case U'%': case U'+': case U'#':
      return true;
    default:
      break;
  }
  if (c == 0x2028 || c == 0x2029) return false;  // line breaks inside a script string
  if (c >= 0xD800 && c <= 0xDFFF) return false;  // not characters
  return c >= 0xA0 && c <= 0x10FFFF;
}

void AppendHex(Text& out, std::uint32_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
    out.push_back(kHexDigits[(value >> shift) & 0xF]);
  }
}

}  // namespace

void AppendMarkupText(Text& page, TextView text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c != U'<' && c != U'>' && c != U'&') continue;
    page.append(text.substr(start, i - start));
    page.append(c == U'<' ? U"&lt;" : c == U'>' ? U"&gt;" : U"&amp;");
    start = i + 1;
  }
  page.append(text.substr(start));
}

Text SettingValue(TextView value) {
  Text out;
  out.reserve(value.size());
  for (char32_t c : value) {
    if (KeptInSetting(c)) out.push_back(c);
  }
  return out;
}

Text StyleValue(TextView value) {
  Text out;
  for (char32_t c : SettingValue(value)) {
    if (HasWindows1252Byte(c)) {
      out.push_back(c);
    } else {
      // A CSS escape ends at its blank; six digits cover every code point.
      out.push_back(U'\\');
      AppendHex(out, static_cast<std::uint32_t>(c), 6);
      out.push_back(U' ');
    }
  }
  return out;
}

Text ColourValue(TextView value) {
  Text out;
  out.reserve(value.size());
  for (char32_t c : value) {
    if (c == U'#' || IsAsciiAlnum(c)) out.push_back(c);
  }
  return out;
}

Text EscapeAnswerLetters(TextView answer) {
  std::uint32_t present = 0;
  for (char32_t c : answer) {
    if (c >= U'a' && c <= U'z') present |= 1u << (c - U'a');
  }
  Text out(answer);
  if (present == 0) return out;
  for (std::uint32_t k = 0; k < 26; ++k) {
    if ((present & (1u << k)) == 0) continue;
    const char32_t letter[2] = {static_cast<char32_t>(U'a' + k), 0};
    Text escape = U"%";
    AppendHex(escape, 0x61 + k, 2);
    out = SearchAndReplace(out, TextView(letter, 1), escape);
  }
  return out;
}

void AppendPercentByte(Text& out, unsigned value) {
  out.push_back(U'%');
  AppendHex(out, value & 0xFF, 2);
}

void AppendAnswerLiteral(Text& page, TextView preparedAnswer) {
  const std::size_t n = preparedAnswer.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = preparedAnswer[i];
    if (c == U'%') {
      if (i + 1 < n && IsAsciiDigit(preparedAnswer[i + 1])) {
        page.push_back(c);  // a letter escape made when the list was prepared
      } else {
        AppendPercentByte(page, 0x25);
      }
    } else if (c < 0x20 || c == 0x7F || c == U'\\' || c == U'\'' || c == U'/') {
      AppendPercentByte(page, static_cast<unsigned>(c));
    } else if (HasWindows1252Byte(c)) {
      page.push_back(c);
    } else {
      char32_t cp = c;
      if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
      if (cp < 0x10000) {
        page.append(U"%u");
        AppendHex(page, static_cast<std::uint32_t>(cp), 4);
      } else {
        const std::uint32_t v = static_cast<std::uint32_t>(cp) - 0x10000;
        page.append(U"%u");
        AppendHex(page, 0xD800 + (v >> 10), 4);
        page.append(U"%u");
        AppendHex(page, 0xDC00 + (v & 0x3FF), 4);
      }
    }
  }
}

}  // namespace brenvik::page
