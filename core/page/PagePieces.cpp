#include "core/page/PagePieces.h"

#include <cstdint>

namespace brenvik::page {

namespace {

constexpr char32_t kUpperHexDigits[] = U"0123456789ABCDEF";

std::optional<Text> ParseHex(TextView value, bool shortForm) {
  const bool full = value.size() == 7;
  if ((!full && !(shortForm && value.size() == 4)) || value[0] != U'#') return std::nullopt;
  Text out = U"#";
  for (std::size_t i = 1; i < value.size(); ++i) {
    const int digit = HexDigitValue(value[i]);
    if (digit < 0) return std::nullopt;
    out.push_back(kUpperHexDigits[digit]);
    if (!full) out.push_back(kUpperHexDigits[digit]);
  }
  return out;
}

}  // namespace

int HexDigitValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  return -1;
}

std::optional<Text> ParseWebColour(TextView value) { return ParseHex(value, false); }

std::optional<Text> ParseHexColour(TextView value) { return ParseHex(value, true); }

Text ColourValue(TextView value) {
  Text out;
  out.reserve(value.size());
  for (char32_t c : value) {
    if (c == U'#' || IsAsciiAlnum(c)) out.push_back(c);
  }
  return out;
}

void AppendCssEscape(Text& out, char32_t c, int minDigits) {
  const auto cp = static_cast<std::uint32_t>(c == 0 ? kReplacementChar : ScalarOrReplacement(c));
  out.push_back(U'\\');
  int digits = 1;
  while (digits < 6 && (cp >> (4 * digits)) != 0) ++digits;
  if (digits < minDigits) digits = minDigits;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(kUpperHexDigits[(cp >> shift) & 0xF]);
  out.push_back(U' ');
}

}  // namespace brenvik::page
