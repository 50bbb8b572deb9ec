#include "core/text/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// Room for the characters of bytes: one per byte, and with kNormalise one
// more per CR or LF (a lone CR or LF becomes CR LF). CR and LF never occur
// inside a UTF-8 sequence; line breaks are few, so memchr finds them faster
// than a loop over every byte.
template <bool kNormalise>
std::size_t DecodeRoom(std::string_view bytes) {
  std::size_t room = bytes.size();
  if constexpr (kNormalise) {
    for (const char b : {'\r', '\n'}) {
      for (const char* p = bytes.data(), *end = p + bytes.size();
           (p = static_cast<const char*>(std::memchr(p, b, static_cast<std::size_t>(end - p)))) != nullptr;
           ++p) {
        ++room;
      }
    }
  }
  return room;
}

// Writes CR LF for the line break at p[i] (CR LF, a lone CR or a lone LF)
// and returns the number of bytes it took.
inline std::size_t PutLineBreak(const unsigned char* p, std::size_t i, std::size_t n, char32_t* out,
                                std::size_t& o) {
  out[o++] = U'\r';
  out[o++] = U'\n';
  return (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
}

// Decodes the bytes as one Windows-1252 character each; with kNormalise
// every line end becomes CR LF. One pass into a buffer sized once.
template <bool kNormalise>
Text DecodeWindows1252(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  Text out;
  out.resize(DecodeRoom<kNormalise>(bytes));
  char32_t* d = out.data();
  std::size_t o = 0;
  for (std::size_t i = 0; i < n;) {
    const unsigned char b0 = p[i];
    if (kNormalise && (b0 == '\r' || b0 == '\n')) {
      i += PutLineBreak(p, i, n, d, o);
      continue;
    }
    d[o++] = kDecodeTable[b0];
    ++i;
  }
  out.resize(o);
  return out;
}

// Decodes the bytes as UTF-8, checking them on the way: false, with out
// unspecified, as soon as a sequence is not well-formed. With kNormalise
// every line end becomes CR LF. One pass into a buffer sized once; the
// two- and three-byte sequences of most scripts are decoded in place, the
// rest by DecodeUtf8Char.
template <bool kNormalise>
bool DecodeUtf8(std::string_view bytes, Text& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  out.resize(DecodeRoom<kNormalise>(bytes));
  char32_t* d = out.data();
  std::size_t o = 0;
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b0 = p[i];
    if (b0 < 0x80) {
      if (kNormalise && (b0 == '\r' || b0 == '\n')) {
        i += PutLineBreak(p, i, n, d, o);
        continue;
      }
      d[o++] = b0;
      ++i;
      continue;
    }
    if (b0 >= 0xC2 && b0 < 0xE0 && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
      d[o++] = (static_cast<char32_t>(b0 & 0x1F) << 6) | (p[i + 1] & 0x3F);
      i += 2;
      continue;
    }
    if ((b0 & 0xF0) == 0xE0 && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
      const char32_t cp = (static_cast<char32_t>(b0 & 0x0F) << 12) |
                          (static_cast<char32_t>(p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F);
      if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;  // overlong, surrogate
      d[o++] = cp;
      i += 3;
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8Char(p + i, n - i, cp);
    if (len == 0) return false;
    d[o++] = cp;
    i += len;
  }
  out.resize(o);
  return true;
}

// A byte-order mark is dropped only when what follows it is valid UTF-8. When
// it is not, the whole file, the mark's three bytes included, is read as
// Windows-1252 ("ï»¿..."), so no byte of the file is lost.
template <bool kNormalise>
Text DecodeFile(std::string_view bytes) {
  std::string_view body = bytes;
  if (body.substr(0, kBomSize) == std::string_view(kBom, kBomSize)) body.remove_prefix(kBomSize);
  Text text;
  if (DecodeUtf8<kNormalise>(body, text)) return text;
  text = Text();
  return DecodeWindows1252<kNormalise>(bytes);
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
