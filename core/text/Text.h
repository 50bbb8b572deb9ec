#pragma once
// The program's string type: one element per character (Unicode scalar value).
// Every position, length and halving rule counts characters, so Western text
// behaves exactly like a single-byte implementation and every other script
// halves correctly too.

#include <cstddef>
#include <string>
#include <string_view>

namespace brenvik {

using Text = std::u32string;
using TextView = std::u32string_view;

inline constexpr char32_t kReplacementChar = 0xFFFD;

// True for a Unicode scalar value: at most U+10FFFF and not a surrogate.
constexpr bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }
// c when it is a scalar value, otherwise U+FFFD.
constexpr char32_t ScalarOrReplacement(char32_t c) { return IsScalarValue(c) ? c : kReplacementChar; }

// An ASCII letter or digit.
constexpr bool IsAsciiAlnum(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

// Reads the UTF-8 sequence at the start of the n bytes at p into cp and
// returns its length, or 0 when no well-formed sequence starts there
// (overlong forms, surrogates, values past U+10FFFF, stray or missing
// continuation bytes). The one UTF-8 decoder of the program.
inline std::size_t DecodeUtf8Char(const unsigned char* p, std::size_t n, char32_t& cp) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t value = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2; value = b0 & 0x1F; min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3; value = b0 & 0x0F; min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4; value = b0 & 0x07; min = 0x10000;
  } else {
    return 0;
  }
  if (n < len) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (p[k] & 0x3F);
  }
  if (value < min || !IsScalarValue(value)) return 0;
  cp = value;
  return len;
}

// The number of UTF-8 bytes of c, a surrogate or a value above U+10FFFF
// counting as U+FFFD (three).
constexpr std::size_t Utf8Length(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : (c < 0x10000 || c > 0x10FFFF) ? 3 : 4;
}

// Writes the UTF-8 form of c at p, a surrogate or a value above U+10FFFF as
// U+FFFD, and returns the position after it (Utf8Length(c) bytes on). The
// one UTF-8 encoder of the program.
inline char* PutUtf8(char* p, char32_t c) {
  c = ScalarOrReplacement(c);
  if (c < 0x80) {
    *p++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *p++ = static_cast<char>(0xC0 | (c >> 6));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *p++ = static_cast<char>(0xE0 | (c >> 12));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *p++ = static_cast<char>(0xF0 | (c >> 18));
    *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return p;
}

// Appends the UTF-8 form of c (as PutUtf8).
inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return;
  }
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(PutUtf8(bytes, c) - bytes));
}

// Appends the UTF-8 form of text (as PutUtf8), growing out once.
void AppendUtf8(std::string& out, TextView text);

// True when the bytes are well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 <-> Text for program literals, messages and interchange (JSON, Qt).
// Decoding is lenient: each byte of an ill-formed sequence becomes U+FFFD.
Text FromUtf8(std::string_view utf8);
// Encoding writes surrogates and values above U+10FFFF as U+FFFD.
std::string ToUtf8(TextView text);

// Decimal form of an integer as Text ("-1", "36000").
Text ToText(long long value);

}  // namespace brenvik
