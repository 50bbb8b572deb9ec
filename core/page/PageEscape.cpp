#include "core/page/PageEscape.h"

#include <cstdint>

#include "core/page/PageSink.h"
#include "core/text/SearchAndReplace.h"

namespace brenvik::page {

namespace {

bool KeptInSetting(char32_t c) {
  if (IsAsciiAlnum(c)) return true;
  switch (c) {
    case U' ': case U'-': case U'_': case U',': case U'.': case U'%': case U'+': case U'#':
      return true;
    default:
      break;
  }
  if (c == 0x2028 || c == 0x2029) return false;  // line breaks inside a script string
  return c >= 0xA0 && IsScalarValue(c);
}

void AppendHex(Text& out, std::uint32_t value, int digits) {
  TextSink sink(out);
  PutHex(sink, value, digits);
}

}  // namespace

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
      // Six digits cover every code point.
      AppendCssEscape(out, c, 6);
    }
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

}  // namespace brenvik::page
