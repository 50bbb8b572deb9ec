#include "core/text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace brenvik {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

const std::string kBom = "\xEF\xBB\xBF";

TEST(CodePage, HighRowOfWindows1252) {
  // The published Windows-1252 assignments of 0x80-0x9F; the five unassigned
  // bytes stand for the C1 control of the same value.
  const char32_t expected[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (int b = 0x80; b <= 0x9F; ++b) {
    SCOPED_TRACE(b);
    EXPECT_EQ(Windows1252ToChar(static_cast<unsigned char>(b)), expected[b - 0x80]);
  }
}

TEST(CodePage, EveryByteHasOneCharacterAndBack) {
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const char32_t c = Windows1252ToChar(static_cast<unsigned char>(b));
    if (b < 0x80 || b >= 0xA0) {
      EXPECT_EQ(c, static_cast<char32_t>(b));
    }
    seen.insert(c);
    const auto back = CharToWindows1252(c);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, b);
  }
  EXPECT_EQ(seen.size(), 256u);
}

TEST(CodePage, CharactersWithoutAByte) {
  for (char32_t c : {char32_t{0x80}, char32_t{0x82}, char32_t{0x9F}, char32_t{0x100},
                     char32_t{0x141}, char32_t{0x20AD}, char32_t{0xFEFF}, char32_t{0xFFFD},
                     char32_t{0x1F600}, char32_t{0x110000}}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    EXPECT_FALSE(CharToWindows1252(c).has_value());
  }
}

TEST(CodePage, Utf8Validity) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const std::string ascii9 = "abcdefghi";
  const std::vector<Case> cases = {
      {"", true},
      {"plain ASCII text, longer than eight bytes", true},
      {Bytes({0xC3, 0xA9}), true},                     // é
      {Bytes({0xC2, 0x80}), true},                     // U+0080, smallest two-byte form
      {Bytes({0xDF, 0xBF}), true},                     // U+07FF
      {Bytes({0xE0, 0xA0, 0x80}), true},               // U+0800
      {Bytes({0xE2, 0x82, 0xAC}), true},               // €
      {Bytes({0xED, 0x9F, 0xBF}), true},               // U+D7FF, just below the surrogates
      {Bytes({0xEE, 0x80, 0x80}), true},               // U+E000, just above them
      {Bytes({0xEF, 0xBF, 0xBF}), true},               // U+FFFF
      {Bytes({0xF0, 0x90, 0x80, 0x80}), true},         // U+10000
      {Bytes({0xF0, 0x9F, 0x98, 0x80}), true},         // U+1F600
      {Bytes({0xF4, 0x8F, 0xBF, 0xBF}), true},         // U+10FFFF
      {ascii9 + Bytes({0xC5, 0x81}) + ascii9, true},   // multi-byte after an ASCII run
      {Bytes({0xC0, 0x80}), false},                    // overlong NUL
      {Bytes({0xC1, 0xBF}), false},                    // overlong
      {Bytes({0xE0, 0x80, 0x80}), false},              // overlong three-byte
      {Bytes({0xE0, 0x9F, 0xBF}), false},              // overlong U+07FF
      {Bytes({0xF0, 0x80, 0x80, 0x80}), false},        // overlong four-byte
      {Bytes({0xF0, 0x8F, 0xBF, 0xBF}), false},        // overlong U+FFFF
      {Bytes({0xED, 0xA0, 0x80}), false},              // U+D800
      {Bytes({0xED, 0xBF, 0xBF}), false},              // U+DFFF
      {Bytes({0xF4, 0x90, 0x80, 0x80}), false},        // U+110000
      {Bytes({0xF5, 0x80, 0x80, 0x80}), false},
      {Bytes({0xFF}), false},
      {Bytes({0xFE}), false},
      {Bytes({0x80}), false},                          // lone continuation
      {"a" + Bytes({0xBF}) + "b", false},
      {Bytes({0xC3}), false},                          // truncated
      {Bytes({0xE2, 0x82}), false},
      {Bytes({0xF0, 0x9F, 0x98}), false},
      {ascii9 + Bytes({0xE2, 0x82}), false},           // truncated at the end after a run
      {Bytes({0xC3, 0x41}), false},                    // continuation missing
      {Bytes({0xE2, 0x41, 0xAC}), false},
      {Bytes({0xE2, 0x82, 0x41}), false},
      {Bytes({0xF0, 0x9F, 0x98, 0x41}), false},
      {Bytes({0xC3, 0xA9, 0xA9}), false},              // one continuation too many
      {"caf" + Bytes({0xE9}), false},                  // Windows-1252 é
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
  }
}

// Random byte strings built from well-formed and ill-formed pieces; the
// lenient UTF-8 decoder re-encodes a string unchanged exactly when it is
// well-formed, so it serves as an independent judge.
TEST(CodePage, Utf8ValidityAgreesWithTheLenientDecoder) {
  const std::vector<std::string> pieces = {
      "a", "Hello, world. ", "\r\n", Bytes({0xC3, 0xA9}), Bytes({0xE2, 0x82, 0xAC}),
      Bytes({0xF0, 0x9F, 0x98, 0x80}), Bytes({0x80}), Bytes({0xC3}), Bytes({0xE2, 0x82}),
      Bytes({0xED, 0xA0}), Bytes({0xF4, 0x90}), Bytes({0xC0}), Bytes({0xE0, 0x80}),
      Bytes({0xF0}), Bytes({0xFF}), Bytes({0xBF})};
  std::mt19937 gen(1252);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> count(0, 12);
  for (int round = 0; round < 5000; ++round) {
    std::string s;
    for (int k = count(gen); k > 0; --k) s += pieces[pick(gen)];
    SCOPED_TRACE(::testing::PrintToString(s));
    ASSERT_EQ(IsValidUtf8(s), ToUtf8(FromUtf8(s)) == s);
  }
}

TEST(CodePage, DecodeBytes) {
  struct Case {
    std::string bytes;
    Text text;
  };
  const std::vector<Case> cases = {
      {"", U""},
      {kBom, U""},
      {kBom + "abc", U"abc"},
      {kBom + "caf\xC3\xA9", U"café"},
      {"caf\xC3\xA9", U"café"},
      {"\xC5\x81\xC3\xB3" "d\xC5\xBA", U"Łódź"},
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"caf\xE9", U"café"},                                 // Windows-1252
      {"\x80 \x85 \x9F \x81", U"€ … Ÿ \u0081"},
      {"\xC3\xA9\xE9", U"Ã©é"},                            // one bad byte: all Windows-1252
      // A mark followed by bytes that are not UTF-8 is kept as three characters.
      {kBom + "caf\xE9", U"ï»¿café"},
      {"\xEF\xBB", U"ï»"},
      {kBom + kBom + "x", U"\uFEFFx"},                      // only the first mark is dropped
      {"a\rb\nc\r\n", U"a\rb\nc\r\n"},                      // line ends left alone
      {std::string("a\0b", 3), Text(U"a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(DecodeBytes(c.bytes), c.text);
  }
}

TEST(CodePage, NormaliseLineEnds) {
  struct Case {
    Text in;
    Text out;
  };
  const std::vector<Case> cases = {
      {U"", U""},
      {U"abc", U"abc"},
      {U"a\nb", U"a\r\nb"},
      {U"a\rb", U"a\r\nb"},
      {U"a\r\nb", U"a\r\nb"},
      {U"\n\r", U"\r\n\r\n"},
      {U"\r\r\n\n", U"\r\n\r\n\r\n"},
      {U"\r", U"\r\n"},
      {U"\n", U"\r\n"},
      {U"end\r", U"end\r\n"},
      {U"x\r\n\r\n\ny", U"x\r\n\r\n\r\ny"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.in));
    EXPECT_EQ(NormaliseLineEnds(c.in), c.out);
  }
  EXPECT_EQ(DecodeTextFile("one\ntwo\rthree\r\n"), U"one\r\ntwo\r\nthree\r\n");
}

TEST(CodePage, EncodeTextFile) {
  struct Case {
    Text text;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {U"", ""},
      {U"plain\r\n", "plain\r\n"},
      {U"café", "caf\xE9"},
      {U"€ “quoted” Ÿ", "\x80 \x93quoted\x94 \x9F"},
      {U"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
      {U"Łódź", "\xC5\x81\xC3\xB3" "d\xC5\xBA"},
      {U"café Ł", "caf\xC3\xA9 \xC5\x81"},               // one character outside: all UTF-8
      {U"\u0080", "\xC2\x80"},                            // a C1 control without a byte
      {U"\U0001F600", "\xF0\x9F\x98\x80"},
      {U"\uFEFFx", "\xEF\xBB\xBFx"},
      // Windows-1252 bytes that would read back as UTF-8 are written as UTF-8.
      {U"Ã©", "\xC3\x83\xC2\xA9"},
      {U"ï»¿", "\xC3\xAF\xC2\xBB\xC2\xBF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(EncodeTextFile(c.text), c.bytes);
  }
}

TEST(CodePage, EverySingleByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string bytes(1, static_cast<char>(b));
    EXPECT_EQ(EncodeTextFile(DecodeBytes(bytes)), bytes);
    const std::string framed = "x" + bytes + "y";
    EXPECT_EQ(EncodeTextFile(DecodeBytes(framed)), framed);
  }
}

// Pieces of files as they occur: ASCII, CR LF, lone CR and LF, Windows-1252
// bytes, UTF-8 sequences, byte-order marks and ill-formed bytes.
std::string RandomFile(std::mt19937& gen) {
  static const std::vector<std::string> pieces = {
      "word", " ", ".", "\r\n", "\r", "\n", "\xE9", "\x80", "\x81", "\x9D", "\xFF", "\xC3",
      "\xC3\xA9", "\xC5\x81", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xEF\xBB\xBF", "\xED\xA0\x80",
      "\xC0\x80", std::string(1, '\0')};
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> count(0, 10);
  std::string s;
  for (int k = count(gen); k > 0; --k) s += pieces[pick(gen)];
  return s;
}

bool HasBareLineEnd(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return true;
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return true;
  }
  return false;
}

TEST(CodePage, RandomFilesRoundTrip) {
  std::mt19937 gen(42);
  for (int round = 0; round < 20000; ++round) {
    const std::string file = RandomFile(gen);
    SCOPED_TRACE(::testing::PrintToString(file));
    const Text text = DecodeTextFile(file);
    const std::string saved = EncodeTextFile(text);

    // Opening what was saved shows the same text. The one exception is a
    // leading U+FEFF, which a UTF-8 file cannot hold apart from a mark.
    if (text.empty() || text.front() != 0xFEFF) {
      ASSERT_EQ(DecodeTextFile(saved), text);
    }
    // A file that is not UTF-8 comes back byte for byte once its line ends
    // are CR LF; so does a UTF-8 file that needs UTF-8 (no mark, a character
    // outside Windows-1252).
    if (!HasBareLineEnd(file)) {
      bool needsUtf8 = false;
      for (char32_t c : text) needsUtf8 = needsUtf8 || !CharToWindows1252(c);
      const bool hasBom = file.rfind(kBom, 0) == 0;
      if (!IsValidUtf8(hasBom ? file.substr(3) : file) || (needsUtf8 && !hasBom)) {
        ASSERT_EQ(saved, file);
      }
    }
  }
}

// Texts as a box holds them (CR LF line ends): saving and opening again gives
// the same text, whichever encoding the writer picked.
TEST(CodePage, RandomTextsRoundTrip) {
  const std::vector<Text> pieces = {U"Word", U" ", U"\r\n", U"é", U"Ã", U"©", U"¿", U"»", U"ï",
                                    U"€", U"\u0081", U"\u0080", U"Ł", U"\U0001F600", Text(1, U'\0')};
  std::mt19937 gen(7);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> count(0, 8);
  for (int round = 0; round < 20000; ++round) {
    Text text;
    for (int k = count(gen); k > 0; --k) text += pieces[pick(gen)];
    SCOPED_TRACE(ToUtf8(text));
    ASSERT_EQ(DecodeTextFile(EncodeTextFile(text)), text);
  }
}

// Big texts go through whole (their speed is measured in bench/bench_textfile).
TEST(CodePage, TenMebibytesDecodeAndEncode) {
  std::string western;
  std::string utf8;
  while (western.size() < (10u << 20)) {
    western += "Voil\xE0 un caf\xE9 tr\xE8s chaud.\r\n";
    utf8 += "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84.\n";
  }
  EXPECT_EQ(EncodeTextFile(DecodeTextFile(western)), western);
  const Text text = DecodeTextFile(utf8);
  EXPECT_EQ(FromUtf8(utf8).size() + std::count(utf8.begin(), utf8.end(), '\n'), text.size());
}

}  // namespace
}  // namespace brenvik
