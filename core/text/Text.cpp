#include "core/text/Text.h"

#include <cstdint>
#include <cstring>

namespace brenvik {

namespace {

// True when the eight bytes at p are all ASCII.
inline bool EightAscii(const unsigned char* p) {
  std::uint64_t word = 0;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080ULL) == 0;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (i + 8 <= n && EightAscii(p + i)) {
      i += 8;
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8Char(p + i, n - i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

Text FromUtf8(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8Char(p + i, utf8.size() - i, cp);
    if (len == 0) {
      out.push_back(kReplacementChar);
      ++i;
    } else {
      out.push_back(cp);
      i += len;
    }
  }
  return out;
}

void AppendUtf8(std::string& out, TextView text) {
  std::size_t bytes = 0;
  for (char32_t c : text) bytes += Utf8Length(c);
  const std::size_t at = out.size();
  out.resize(at + bytes);
  char* p = out.data() + at;
  for (char32_t c : text) {
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else {
      p = PutUtf8(p, c);
    }
  }
}

std::string ToUtf8(TextView text) {
  std::string out;
  AppendUtf8(out, text);
  return out;
}

Text ToText(long long value) {
  const std::string s = std::to_string(value);
  return Text(s.begin(), s.end());
}

}  // namespace brenvik
