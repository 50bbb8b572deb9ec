// The Unicode interface answered by ICU. ICU works on UTF-16; the program's
// text is one element per code point, so each call converts the text it is
// given and maps ICU's positions back. Values that are not scalar values are
// handed to ICU as U+FFFD (one unit each), so positions stay one to one.

#include "core/text/Unicode.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/ucptrie.h>
#include <unicode/umutablecptrie.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <algorithm>
#include <array>
#include <climits>
#include <new>
#include <string>
#include <utility>

#include "core/text/Errors.h"

namespace brenvik::unicode {

namespace {

// Turns an ICU status into the program's error.
void Check(UErrorCode status, const char* what) {
  if (U_FAILURE(status)) {
    throw UnicodeError(std::string(what) + " (ICU " + u_errorName(status) + ")");
  }
}

// Kept in the property table beside the public flags, for the fast paths:
// a character that may join a neighbour into one grapheme cluster (any
// Grapheme_Cluster_Break but Other, Control, LF and the precomposed Hangul
// syllables LV and LVT, which join only a neighbour that is itself such a
// character), and a character that may change under NFC together with what
// precedes it (NFC_Quick_Check not Yes, or a combining class).
constexpr unsigned kClusterJoiner = 1u << 7;
constexpr unsigned kNfcUnsafe = 1u << 6;
constexpr unsigned kInternal = kClusterJoiner | kNfcUnsafe;

// The property flags of every code point in one ICU code point trie, built
// once from ICU's property sets: one table load per character afterwards.
class PropertyTable {
 public:
  PropertyTable() {
    UErrorCode status = U_ZERO_ERROR;
    UMutableCPTrie* builder = umutablecptrie_open(0, 0, &status);
    Check(status, "cannot build the character table");
    try {
      Add(builder, "[:Z:]", kSpace);
      Add(builder, "[:P:]", kPunctuation);
      Add(builder, "[:Sentence_Terminal:]", kSentenceTerminal);
      Add(builder, "[:Nd:]", kDecimalDigit);
      Add(builder,
          "[[:scx=Hani:][:scx=Hira:][:scx=Kana:][:scx=Thai:][:scx=Laoo:][:scx=Khmr:][:scx=Mymr:]]",
          kDictionaryScript);
      Add(builder, "[^[:GCB=Other:][:GCB=Control:][:GCB=LF:][:GCB=LV:][:GCB=LVT:]]", kClusterJoiner);
      Add(builder, "[[:^NFC_Quick_Check=Yes:][:^ccc=0:]]", kNfcUnsafe);
      trie_ = umutablecptrie_buildImmutable(builder, UCPTRIE_TYPE_FAST, UCPTRIE_VALUE_BITS_8,
                                            &status);
      Check(status, "cannot build the character table");
      for (char32_t c = 0; c < bmp_.size(); ++c) {
        bmp_[c] = static_cast<std::uint8_t>(get(c) & ~kInternal);
      }
    } catch (...) {
      umutablecptrie_close(builder);
      throw;
    }
    umutablecptrie_close(builder);
  }
  ~PropertyTable() { ucptrie_close(trie_); }
  PropertyTable(const PropertyTable&) = delete;
  PropertyTable& operator=(const PropertyTable&) = delete;

  unsigned get(char32_t c) const {
    if (c > 0x10FFFF) return 0;
    return UCPTRIE_FAST_GET(trie_, UCPTRIE_8, static_cast<UChar32>(c));
  }
  // The public flags of the Basic Multilingual Plane, one byte each.
  const std::uint8_t* bmp() const { return bmp_.data(); }

 private:
  // Sets bit for every code point of the set pattern, keeping the bits
  // already there.
  static void Add(UMutableCPTrie* builder, const char* pattern, unsigned bit) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeSet set(icu::UnicodeString(pattern, -1, US_INV), status);
    Check(status, "cannot read the character properties");
    for (int32_t r = 0; r < set.getRangeCount(); ++r) {
      UChar32 start = set.getRangeStart(r);
      const UChar32 end = set.getRangeEnd(r);
      while (start <= end) {
        uint32_t value = 0;
        UChar32 last = umutablecptrie_getRange(builder, start, UCPMAP_RANGE_NORMAL, 0, nullptr,
                                               nullptr, &value);
        if (last > end) last = end;
        umutablecptrie_setRange(builder, start, last, value | bit, &status);
        Check(status, "cannot build the character table");
        start = last + 1;
      }
    }
  }

  UCPTrie* trie_ = nullptr;
  std::array<std::uint8_t, 0x10000> bmp_{};
};

const PropertyTable& Properties() {
  static const PropertyTable table;
  return table;
}

const icu::Normalizer2& Nfc() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  Check(status, "cannot load the normalisation data");
  return *nfc;
}

// Makes out the UTF-16 form of s, a value that is not a scalar value as
// U+FFFD (one unit, so that positions stay one to one).
void ToUtf16(TextView s, icu::UnicodeString& out) {
  if (s.size() > INT32_MAX / 2) throw UnicodeError("the text is too long");
  UChar* units = out.getBuffer(static_cast<int32_t>(s.size() * 2));
  if (units == nullptr) throw std::bad_alloc();
  int32_t n = 0;
  for (char32_t c : s) {
    c = ScalarOrReplacement(c);
    if (c < 0x10000) {
      units[n++] = static_cast<UChar>(c);
    } else {
      units[n++] = U16_LEAD(c);
      units[n++] = U16_TRAIL(c);
    }
  }
  out.releaseBuffer(n);
}

void AppendFromUtf16(Text& out, const icu::UnicodeString& s) {
  const UChar* units = s.getBuffer();
  const int32_t n = s.length();
  for (int32_t i = 0; i < n;) {
    UChar32 c = 0;
    U16_NEXT(units, i, n, c);
    out.push_back(static_cast<char32_t>(c));
  }
}

}  // namespace

unsigned CharFlags(char32_t c) { return Properties().get(c) & ~kInternal; }

namespace {

// Display width and strong direction of every code point in a second code
// point trie, built on first use: the pages ask for them only for
// characters beyond ASCII. Two bits each: the CellWidth and the StrongClass.
class LayoutTable {
 public:
  LayoutTable() {
    UErrorCode status = U_ZERO_ERROR;
    UMutableCPTrie* builder = umutablecptrie_open(Value(CellWidth::One, StrongClass::None), 0, &status);
    Check(status, "cannot build the layout table");
    try {
      // Later sets win: a wide combining mark counts no cell.
      Set(builder, "[[:ea=W:][:ea=F:][:Emoji_Presentation:]]", kWidthMask, WidthBits(CellWidth::Two));
      Set(builder, "[[:Mn:][:Me:][:Emoji_Modifier:][:Default_Ignorable_Code_Point:]]", kWidthMask,
          WidthBits(CellWidth::Zero));
      Set(builder, "[:bc=L:]", kDirectionMask, DirectionBits(StrongClass::LeftToRight));
      Set(builder, "[[:bc=R:][:bc=AL:]]", kDirectionMask, DirectionBits(StrongClass::RightToLeft));
      trie_ = umutablecptrie_buildImmutable(builder, UCPTRIE_TYPE_FAST, UCPTRIE_VALUE_BITS_8, &status);
      Check(status, "cannot build the layout table");
    } catch (...) {
      umutablecptrie_close(builder);
      throw;
    }
    umutablecptrie_close(builder);
  }
  ~LayoutTable() { ucptrie_close(trie_); }
  LayoutTable(const LayoutTable&) = delete;
  LayoutTable& operator=(const LayoutTable&) = delete;

  CellWidth width(char32_t c) const { return static_cast<CellWidth>(get(c) & kWidthMask); }
  StrongClass direction(char32_t c) const { return static_cast<StrongClass>((get(c) & kDirectionMask) >> 2); }

 private:
  static constexpr unsigned kWidthMask = 0x3;
  static constexpr unsigned kDirectionMask = 0xC;
  static constexpr unsigned WidthBits(CellWidth w) { return static_cast<unsigned>(w); }
  static constexpr unsigned DirectionBits(StrongClass d) { return static_cast<unsigned>(d) << 2; }
  static constexpr uint32_t Value(CellWidth w, StrongClass d) { return WidthBits(w) | DirectionBits(d); }

  unsigned get(char32_t c) const {
    if (c > 0x10FFFF) return Value(CellWidth::One, StrongClass::None);
    return UCPTRIE_FAST_GET(trie_, UCPTRIE_8, static_cast<UChar32>(c));
  }

  // Replaces the bits of mask with bits for every code point of the set.
  static void Set(UMutableCPTrie* builder, const char* pattern, unsigned mask, unsigned bits) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeSet set(icu::UnicodeString(pattern, -1, US_INV), status);
    Check(status, "cannot read the character properties");
    for (int32_t r = 0; r < set.getRangeCount(); ++r) {
      UChar32 start = set.getRangeStart(r);
      const UChar32 end = set.getRangeEnd(r);
      while (start <= end) {
        uint32_t value = 0;
        UChar32 last = umutablecptrie_getRange(builder, start, UCPMAP_RANGE_NORMAL, 0, nullptr, nullptr, &value);
        if (last > end) last = end;
        umutablecptrie_setRange(builder, start, last, (value & ~mask) | bits, &status);
        Check(status, "cannot build the layout table");
        start = last + 1;
      }
    }
  }

  UCPTrie* trie_ = nullptr;
};

const LayoutTable& Layout() {
  static const LayoutTable table;
  return table;
}

}  // namespace

CellWidth DisplayWidth(char32_t c) {
  if (c < 0x80) return CellWidth::One;  // ASCII, without loading the table
  return Layout().width(c);
}

StrongClass StrongDirection(char32_t c) {
  if (c < 0x80) {  // ASCII: its letters are left to right, the rest neutral
    return (c | 0x20) >= U'a' && (c | 0x20) <= U'z' ? StrongClass::LeftToRight : StrongClass::None;
  }
  return Layout().direction(c);
}

CharFlagTable::CharFlagTable() : bmp_(Properties().bmp()) {}

namespace {

// Calls piece(begin, end) for each stretch of text that NFC may change: a
// run of characters that may combine with what precedes them, together
// with the character before the run. Everything outside those stretches is
// in NFC already and never interacts across them, so each stretch
// normalises on its own. A stretch holds only scalar values.
// Stretches closer than a few dozen characters go to ICU together (over
// scalar values only), so that a text with a mark in every word costs one
// call per line rather than one per mark.
template <typename PieceFn>
void ForEachNfcStretch(TextView text, PieceFn&& piece) {
  constexpr std::size_t kJoin = 64;
  const PropertyTable& table = Properties();
  auto unsafe = [&](char32_t c) { return c >= kFirstCombiningMark && (table.get(c) & kNfcUnsafe) != 0; };
  std::size_t done = 0;
  std::size_t pendingBegin = 0;
  std::size_t pendingEnd = 0;  // empty when equal to pendingBegin
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!unsafe(text[i])) continue;
    std::size_t begin = i;
    if (begin > done && IsScalarValue(text[begin - 1])) --begin;
    std::size_t end = i + 1;
    while (end < text.size() && unsafe(text[end])) ++end;
    const bool join = pendingEnd > pendingBegin && begin - pendingEnd < kJoin &&
                      std::all_of(text.begin() + pendingEnd, text.begin() + begin, IsScalarValue);
    if (join) {
      pendingEnd = end;
    } else {
      if (pendingEnd > pendingBegin) piece(pendingBegin, pendingEnd);
      pendingBegin = begin;
      pendingEnd = end;
    }
    done = end;
    i = end;
  }
  if (pendingEnd > pendingBegin) piece(pendingBegin, pendingEnd);
}

}  // namespace

bool IsNfc(TextView text) {
  bool normal = true;
  icu::UnicodeString u16;
  ForEachNfcStretch(text, [&](std::size_t begin, std::size_t end) {
    if (!normal) return;
    ToUtf16(text.substr(begin, end - begin), u16);
    UErrorCode status = U_ZERO_ERROR;
    normal = Nfc().isNormalized(u16, status) != 0;
    Check(status, "cannot check the normalisation");
  });
  return normal;
}

Text ToNfc(Text text) {
  // Only the stretches that may change go to ICU; a text without any (most
  // text of most scripts) comes back as it is, without a copy.
  Text out;
  std::size_t copied = 0;  // text[0, copied) is accounted for in out
  icu::UnicodeString u16;
  icu::UnicodeString normal;
  ForEachNfcStretch(text, [&](std::size_t begin, std::size_t end) {
    ToUtf16(TextView(text).substr(begin, end - begin), u16);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2& nfc = Nfc();
    if (nfc.isNormalized(u16, status) || U_FAILURE(status)) {
      Check(status, "cannot normalise the text");
      return;
    }
    normal.remove();
    nfc.normalize(u16, normal, status);
    Check(status, "cannot normalise the text");
    if (out.empty()) out.reserve(text.size());
    out.append(text, copied, begin - copied);
    AppendFromUtf16(out, normal);
    copied = end;
  });
  if (copied == 0) return text;
  out.append(text, copied, Text::npos);
  return out;
}

struct TextSegmenter::Impl {
  icu::Locale locale;
  std::unique_ptr<icu::BreakIterator> graphemes;
  std::unique_ptr<icu::BreakIterator> words;
  icu::UnicodeString u16;
  // The code point index of each UTF-16 unit; empty while every character
  // is one unit (then the index is the unit's own).
  std::vector<std::size_t> position;

  void loadGraphemes();
  void loadWords();

  // Loads text into u16 and position.
  void load(TextView text) {
    ToUtf16(text, u16);
    position.clear();
    if (static_cast<std::size_t>(u16.length()) == text.size()) return;
    for (std::size_t i = 0; i < text.size(); ++i) {
      position.push_back(i);
      if (ScalarOrReplacement(text[i]) > 0xFFFF) position.push_back(i);
    }
    position.push_back(text.size());
  }

  std::size_t index(int32_t unit) const {
    const auto u = static_cast<std::size_t>(unit);
    return position.empty() ? u : position[u];
  }

  // The boundaries of the loaded text by breaker, as code point indexes.
  void boundaries(icu::BreakIterator& breaker, std::vector<std::size_t>& out) {
    UErrorCode status = U_ZERO_ERROR;
    UText ut = UTEXT_INITIALIZER;
    utext_openConstUnicodeString(&ut, &u16, &status);
    Check(status, "cannot segment the text");
    breaker.setText(&ut, status);
    utext_close(&ut);
    Check(status, "cannot segment the text");
    out.clear();
    out.push_back(0);
    for (int32_t b = breaker.next(); b != icu::BreakIterator::DONE; b = breaker.next()) {
      out.push_back(index(b));
    }
    const std::size_t end = index(u16.length());
    if (out.back() != end) out.push_back(end);
  }
};

TextSegmenter::TextSegmenter(std::string_view languageTag) : impl_(std::make_unique<Impl>()) {
  if (languageTag.empty()) {
    impl_->locale = icu::Locale::getRoot();
    return;
  }
  UErrorCode status = U_ZERO_ERROR;
  impl_->locale = icu::Locale::forLanguageTag(
      icu::StringPiece(languageTag.data(), static_cast<int32_t>(languageTag.size())), status);
  if (U_FAILURE(status) || impl_->locale.isBogus()) {
    throw UnicodeError("\"" + std::string(languageTag) + "\" is not a language tag");
  }
}

TextSegmenter::~TextSegmenter() = default;
TextSegmenter::TextSegmenter(TextSegmenter&&) noexcept = default;
TextSegmenter& TextSegmenter::operator=(TextSegmenter&&) noexcept = default;

void TextSegmenter::Impl::loadGraphemes() {
  if (graphemes) return;
  UErrorCode status = U_ZERO_ERROR;
  graphemes.reset(icu::BreakIterator::createCharacterInstance(locale, status));
  Check(status, "cannot load the grapheme cluster rules");
}

void TextSegmenter::Impl::loadWords() {
  if (words) return;
  UErrorCode status = U_ZERO_ERROR;
  words.reset(icu::BreakIterator::createWordInstance(locale, status));
  Check(status, "cannot load the word boundary rules");
}

void TextSegmenter::prepare() {
  Properties();
  impl_->loadGraphemes();
  impl_->loadWords();
}

void TextSegmenter::graphemeBoundaries(TextView text, std::vector<std::size_t>& out) {
  // Most words of most scripts hold no character that joins a neighbour
  // (nor a CR, which joins a following LF): then every character is a
  // cluster and ICU is not asked.
  const PropertyTable& table = Properties();
  bool simple = true;
  for (char32_t c : text) {
    if (c == U'\r' || (c >= kFirstCombiningMark && (table.get(c) & kClusterJoiner) != 0)) {
      simple = false;
      break;
    }
  }
  if (simple) {
    out.resize(text.size() + 1);
    for (std::size_t i = 0; i <= text.size(); ++i) out[i] = i;
    return;
  }
  Impl& d = *impl_;
  d.loadGraphemes();
  d.load(text);
  d.boundaries(*d.graphemes, out);
}

std::size_t TextSegmenter::countGraphemes(TextView text) {
  std::vector<std::size_t> bounds;
  graphemeBoundaries(text, bounds);
  return bounds.size() - 1;
}

void TextSegmenter::wordBoundaries(TextView text, std::vector<std::size_t>& out) {
  Impl& d = *impl_;
  d.loadWords();
  d.load(text);
  d.boundaries(*d.words, out);
}

}  // namespace brenvik::unicode
