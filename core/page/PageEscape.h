#pragma once
// How values reach the exported page without breaking it. The page is markup,
// a style sheet and a script in one file; each value is made safe for the
// place it is written to. Shared by the page writer and the answer script.

#include <cstdint>

#include "core/page/PagePieces.h"
#include "core/text/CodePage.h"
#include "core/text/Text.h"

namespace brenvik::page {

inline constexpr char32_t kHexDigits[] = U"0123456789ABCDEF";

inline bool HasWindows1252Byte(char32_t c) {
  return IsLatin1Byte(c) || CharToWindows1252(c).has_value();
}

template <class Sink>
void PutHex(Sink& out, std::uint32_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.put(kHexDigits[(value >> shift) & 0xF]);
}

// Appends "%" and the two upper-case hexadecimal digits of a byte value.
template <class Sink>
void PutPercentByte(Sink& out, unsigned value) {
  out.put(U'%');
  PutHex(out, value & 0xFF, 2);
}

// Text of the test and the title: "<", ">" and "&" become "&lt;", "&gt;" and
// "&amp;", so the teacher's text shows as written instead of acting as markup.
template <class Sink>
void AppendMarkupText(Sink& page, TextView text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c != U'<' && c != U'>' && c != U'&') continue;
    page.put(text.substr(start, i - start));
    page.put(c == U'<' ? TextView(U"&lt;") : c == U'>' ? TextView(U"&gt;") : TextView(U"&amp;"));
    start = i + 1;
  }
  page.put(text.substr(start));
}

// FontName and TextSize as written into the script's double-quoted string:
// only letters, digits, characters from U+00A0 up (bar the two line and
// paragraph separators), blank and "-_,.%+#" are kept. Ordinary font names
// and sizes come through unchanged; quotes, backslashes, angle brackets,
// braces, brackets, semicolons, comment marks and control characters, any
// of which could end the string, the declaration or the script, are left out.
Text SettingValue(TextView value);

// SettingValue for the style sheet: besides, a character without a
// Windows-1252 byte is written as a CSS escape ("\142 "), since numeric
// character references mean nothing inside <STYLE>.
Text StyleValue(TextView value);

// Escapes the letters of one answer for the page's answer list: every
// lower-case letter a-z becomes "%"
// and its code in upper-case hexadecimal ("%61" to "%7A"), one letter after
// the other with SearchAndReplace. An escaped answer holds no lower-case
// letter, so a second call changes nothing.
Text EscapeAnswerLetters(TextView answer);

// Writes one prepared answer as the body of a single-quoted script string
// that the browser's unescape turns back into the answer. On top of the
// letter escapes already in the entry:
//   - "%" followed by an ASCII digit starts a letter escape and is kept; any
//     other "%" is the answer's own and is written "%25". An answer never
//     holds an ASCII digit (a word with a digit is never halved), so the two
//     cannot be confused, and an entry prepared by an earlier export gives
//     the same string again;
//   - "\" is written "%5C"; control characters, DEL, "'" and "/" as "%XX";
//   - a character without a Windows-1252 byte as "%uXXXX" per UTF-16 unit
//     (two for a character beyond U+FFFF), so the script holds only
//     Windows-1252 characters and the string can never end early.
template <class Sink>
void AppendAnswerLiteral(Sink& page, TextView preparedAnswer) {
  const std::size_t n = preparedAnswer.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = preparedAnswer[i];
    if (c == U'%') {
      const char32_t next = i + 1 < n ? preparedAnswer[i + 1] : 0;
      if (next >= U'0' && next <= U'9') {
        page.put(c);  // a letter escape made when the list was prepared
      } else {
        PutPercentByte(page, 0x25);
      }
    } else if (c < 0x20 || c == 0x7F || c == U'\\' || c == U'\'' || c == U'/') {
      PutPercentByte(page, static_cast<unsigned>(c));
    } else if (HasWindows1252Byte(c)) {
      page.put(c);
    } else {
      const char32_t cp = ScalarOrReplacement(c);
      if (cp < 0x10000) {
        page.put(TextView(U"%u"));
        PutHex(page, static_cast<std::uint32_t>(cp), 4);
      } else {
        const std::uint32_t v = static_cast<std::uint32_t>(cp) - 0x10000;
        page.put(TextView(U"%u"));
        PutHex(page, 0xD800 + (v >> 10), 4);
        page.put(TextView(U"%u"));
        PutHex(page, 0xDC00 + (v & 0x3FF), 4);
      }
    }
  }
}

}  // namespace brenvik::page
