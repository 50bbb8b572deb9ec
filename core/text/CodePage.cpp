#include "core/text/CodePage.h"

#include <algorithm>
#include <array>

namespace brenvik {

namespace {

// Windows-1252 bytes 0x80-0x9F. The five unassigned bytes stand for the C1
// control of the same value, so decoding never loses a byte.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr std::array<char32_t, 256> MakeDecodeTable() {
  std::array<char32_t, 256> table{};
  for (std::size_t b = 0; b < 256; ++b) table[b] = static_cast<char32_t>(b);
  for (std::size_t b = 0; b < 32; ++b) table[0x80 + b] = kHighControls[b];
  return table;
}

constexpr std::array<char32_t, 256> kDecodeTable = MakeDecodeTable();

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr std::size_t kBomSize = 3;

// Decodes the bytes, which are well-formed UTF-8 when kUtf8 and otherwise one
// Windows-1252 character each; with kNormalise every line end becomes CR LF.
// One pass into a buffer sized once: CR and LF never occur inside a UTF-8
// sequence, so characters plus one per CR or LF byte is enough room.
template <bool kUtf8, bool kNormalise>
Text Decode(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t room = n;
  if constexpr (kNormalise) {
    room += static_cast<std::size_t>(std::count_if(
        p, p + n, [](unsigned char b) { return b == '\r' || b == '\n'; }));
  }
  Text out;
  out.resize(room);
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < n) {
    const unsigned char b0 = p[i];
    if (b0 < 0x80) {
      if (kNormalise && (b0 == '\r' || b0 == '\n')) {
        out[o++] = U'\r';
        out[o++] = U'\n';
        i += (b0 == '\r' && i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
        continue;
      }
      out[o++] = b0;
      ++i;
    } else if constexpr (!kUtf8) {
      out[o++] = kDecodeTable[b0];
      ++i;
    } else {
      char32_t cp = 0;
      i += DecodeUtf8Char(p + i, n - i, cp);  // the bytes were checked whole first
      out[o++] = cp;
    }
  }
  out.resize(o);
  return out;
}

// A byte-order mark is dropped only when what follows it is valid UTF-8. When
// it is not, the whole file, the mark's three bytes included, is read as
// Windows-1252 ("ï»¿..."), so no byte of the file is lost.
template <bool kNormalise>
Text DecodeFile(std::string_view bytes) {
  std::string_view body = bytes;
  if (body.substr(0, kBomSize) == std::string_view(kBom, kBomSize)) body.remove_prefix(kBomSize);
  if (IsValidUtf8(body)) return Decode<true, kNormalise>(body);
  return Decode<false, kNormalise>(bytes);
}

}  // namespace

char32_t Windows1252ToChar(unsigned char byte) { return kDecodeTable[byte]; }

std::optional<unsigned char> CharToWindows1252(char32_t ch) {
  if (IsLatin1Byte(ch)) return static_cast<unsigned char>(ch);
  switch (ch) {
    case 0x0081: return 0x81;
    case 0x008D: return 0x8D;
    case 0x008F: return 0x8F;
    case 0x0090: return 0x90;
    case 0x009D: return 0x9D;
    case 0x20AC: return 0x80;
    case 0x201A: return 0x82;
    case 0x0192: return 0x83;
    case 0x201E: return 0x84;
    case 0x2026: return 0x85;
    case 0x2020: return 0x86;
    case 0x2021: return 0x87;
    case 0x02C6: return 0x88;
    case 0x2030: return 0x89;
    case 0x0160: return 0x8A;
    case 0x2039: return 0x8B;
    case 0x0152: return 0x8C;
    case 0x017D: return 0x8E;
    case 0x2018: return 0x91;
    case 0x2019: return 0x92;
    case 0x201C: return 0x93;
    case 0x201D: return 0x94;
    case 0x2022: return 0x95;
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    case 0x02DC: return 0x98;
    case 0x2122: return 0x99;
    case 0x0161: return 0x9A;
    case 0x203A: return 0x9B;
    case 0x0153: return 0x9C;
    case 0x017E: return 0x9E;
    case 0x0178: return 0x9F;
    default: return std::nullopt;
  }
}

Text DecodeBytes(std::string_view bytes) { return DecodeFile<false>(bytes); }

Text NormaliseLineEnds(TextView text) {
  const std::size_t n = text.size();
  Text out;
  out.resize(n + static_cast<std::size_t>(std::count_if(
                     text.begin(), text.end(), [](char32_t c) { return c == U'\r' || c == U'\n'; })));
  std::size_t o = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t c = text[i];
    if (c == U'\r' || c == U'\n') {
      out[o++] = U'\r';
      out[o++] = U'\n';
      if (c == U'\r' && i + 1 < n && text[i + 1] == U'\n') ++i;
    } else {
      out[o++] = c;
    }
  }
  out.resize(o);
  return out;
}

Text DecodeTextFile(std::string_view bytes) { return DecodeFile<true>(bytes); }

// Windows-1252 when every character has a byte there. One exception keeps a
// saved text equal to the text read back: when those bytes would themselves
// form valid UTF-8 with a non-ASCII character in it (text such as "Ã©"), the
// reader would take them as UTF-8, so the file is written as UTF-8 instead.
std::string EncodeTextFile(TextView text) {
  std::string bytes;
  bytes.resize(text.size());
  bool nonAscii = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c < 0x80) {
      bytes[i] = static_cast<char>(c);
      continue;
    }
    const std::optional<unsigned char> b = CharToWindows1252(c);
    if (!b) return ToUtf8(text);
    bytes[i] = static_cast<char>(*b);
    nonAscii = true;
  }
  if (nonAscii && IsValidUtf8(bytes)) return ToUtf8(text);
  return bytes;
}

}  // namespace brenvik
