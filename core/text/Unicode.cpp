// The Unicode interface answered by ICU. ICU works on UTF-16; the program's
// text is one element per code point, so each call converts the text it is
// given and maps ICU's positions back. Values that are not scalar values are
// handed to ICU as U+FFFD (one unit each), so positions stay one to one.

#include "core/text/Unicode.h"
#include "core/text/UnicodeShared.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/rbbi.h>
#include <unicode/ucptrie.h>
#include <unicode/umutablecptrie.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/unorm2.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>

#include <algorithm>
#include <array>
#include <climits>
#include <exception>
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

// Grapheme clusters without ICU's iterator. The iterator costs a few
// hundred instructions per cluster (setText, its cache, the rule tables
// walked through UText); the rules below take one table load per character.
// They are ICU's own rules for extended grapheme clusters (Unicode's rules
// plus ICU's rule that keeps an Indic conjunct whole), and are used only
// where the iterator is driven by exactly these rules: kClusterRules is
// their text as ICU reports it. With any other rules (another ICU, a
// tailoring) the iterator answers.
constexpr char kClusterRules[] =
    R"(!!quoted_literals_only;$CR=[\p{Grapheme_Cluster_Break=CR}];$LF=[\p{Grapheme_Cluster_Break=LF}];)"
    R"($Control=[[\p{Grapheme_Cluster_Break=Control}]];$Extend=[[\p{Grapheme_Cluster_Break=Extend}]];)"
    R"($ZWJ=[\p{Grapheme_Cluster_Break=ZWJ}];$Regional_Indicator=[\p{Grapheme_Cluster_Break=Regional_Indicator}];)"
    R"($Prepend=[\p{Grapheme_Cluster_Break=Prepend}];$SpacingMark=[\p{Grapheme_Cluster_Break=SpacingMark}];)"
    R"($Virama=[\p{Gujr}\p{sc=Telu}\p{sc=Mlym}\p{sc=Orya}\p{sc=Beng}\p{sc=Deva}&\p{Indic_Syllabic_Category=Virama}];)"
    R"($LinkingConsonant=[\p{Gujr}\p{sc=Telu}\p{sc=Mlym}\p{sc=Orya}\p{sc=Beng}\p{sc=Deva}&\p{Indic_Syllabic_Category=Consonant}];)"
    R"($ExtCccZwj=[[\p{gcb=Extend}-\p{ccc=0}]\p{gcb=ZWJ}];$L=[\p{Grapheme_Cluster_Break=L}];)"
    R"($V=[\p{Grapheme_Cluster_Break=V}];$T=[\p{Grapheme_Cluster_Break=T}];$LV=[\p{Grapheme_Cluster_Break=LV}];)"
    R"($LVT=[\p{Grapheme_Cluster_Break=LVT}];$Extended_Pict=[:ExtPict:];!!chain;!!lookAheadHardBreak;$CR$LF;)"
    R"($L($L|$V|$LV|$LVT);($LV|$V)($V|$T);($LVT|$T)$T;[^$Control$CR$LF]($Extend|$ZWJ);)"
    R"([^$Control$CR$LF]$SpacingMark;$Prepend[^$Control$CR$LF];)"
    R"($LinkingConsonant$ExtCccZwj*$Virama$ExtCccZwj*$LinkingConsonant;$Extended_Pict$Extend*$ZWJ$Extended_Pict;)"
    R"(^$Prepend*$Regional_Indicator$Regional_Indicator/$Regional_Indicator;)"
    R"(^$Prepend*$Regional_Indicator$Regional_Indicator;.;)";

// The class of a character for the cluster rules (low four bits), and the
// sets of the emoji and conjunct rules (high bits).
enum ClusterClass : unsigned {
  kOther, kCr, kLf, kControl, kExtend, kZwj, kRegionalIndicator, kPrepend, kSpacingMark,
  kHangulL, kHangulV, kHangulT, kHangulLV, kHangulLVT,
};
constexpr unsigned kClassMask = 0x0F;
constexpr unsigned kPictographic = 1u << 4;      // Extended_Pictographic
constexpr unsigned kLinkingConsonant = 1u << 5;  // a consonant of the conjunct rule's scripts
constexpr unsigned kVirama = 1u << 6;            // a virama of those scripts
constexpr unsigned kExtendCccZwj = 1u << 7;      // Extend with a combining class, or ZWJ

class ClusterTable {
 public:
  ClusterTable() {
    static constexpr std::pair<const char*, unsigned> kSets[] = {
        {"[:ExtPict:]", kPictographic},
        {R"([\p{Gujr}\p{sc=Telu}\p{sc=Mlym}\p{sc=Orya}\p{sc=Beng}\p{sc=Deva}&\p{Indic_Syllabic_Category=Consonant}])",
         kLinkingConsonant},
        {R"([\p{Gujr}\p{sc=Telu}\p{sc=Mlym}\p{sc=Orya}\p{sc=Beng}\p{sc=Deva}&\p{Indic_Syllabic_Category=Virama}])",
         kVirama},
    };
    UErrorCode status = U_ZERO_ERROR;
    UMutableCPTrie* builder = umutablecptrie_open(kOther, 0, &status);
    Check(status, "cannot build the grapheme cluster table");
    try {
      // The classes straight from ICU's map of the property, range by range
      // (far quicker than a set per value).
      const UCPMap* gcb = u_getIntPropertyMap(UCHAR_GRAPHEME_CLUSTER_BREAK, &status);
      Check(status, "cannot read the character properties");
      uint32_t value = 0;
      for (UChar32 start = 0, end = 0;
           (end = ucpmap_getRange(gcb, start, UCPMAP_RANGE_NORMAL, 0, nullptr, nullptr, &value)) >= 0;
           start = end + 1) {
        const unsigned cls = ClassOf(static_cast<UGraphemeClusterBreak>(value));
        if (cls == kOther) continue;
        umutablecptrie_setRange(builder, start, end, cls, &status);
        Check(status, "cannot build the grapheme cluster table");
        for (UChar32 c = start; cls == kExtend && c <= end; ++c) {
          if (u_getCombiningClass(c) != 0) umutablecptrie_set(builder, c, cls | kExtendCccZwj, &status);
        }
        if (cls == kZwj) umutablecptrie_setRange(builder, start, end, cls | kExtendCccZwj, &status);
        Check(status, "cannot build the grapheme cluster table");
      }
      for (const auto& [pattern, bit] : kSets) {
        Update(builder, pattern, [bit = bit](unsigned v) { return v | bit; });
      }
      trie_ = umutablecptrie_buildImmutable(builder, UCPTRIE_TYPE_FAST, UCPTRIE_VALUE_BITS_8,
                                            &status);
      Check(status, "cannot build the grapheme cluster table");
    } catch (...) {
      umutablecptrie_close(builder);
      throw;
    }
    umutablecptrie_close(builder);
  }
  ~ClusterTable() { ucptrie_close(trie_); }
  ClusterTable(const ClusterTable&) = delete;
  ClusterTable& operator=(const ClusterTable&) = delete;

  // The class of c as ICU sees it: a value that is not a scalar value is
  // handed to ICU as U+FFFD.
  unsigned get(char32_t c) const {
    return UCPTRIE_FAST_GET(trie_, UCPTRIE_8, static_cast<UChar32>(ScalarOrReplacement(c)));
  }

 private:
  static unsigned ClassOf(UGraphemeClusterBreak value) {
    switch (value) {
      case U_GCB_CR: return kCr;
      case U_GCB_LF: return kLf;
      case U_GCB_CONTROL: return kControl;
      case U_GCB_EXTEND: return kExtend;
      case U_GCB_ZWJ: return kZwj;
      case U_GCB_REGIONAL_INDICATOR: return kRegionalIndicator;
      case U_GCB_PREPEND: return kPrepend;
      case U_GCB_SPACING_MARK: return kSpacingMark;
      case U_GCB_L: return kHangulL;
      case U_GCB_V: return kHangulV;
      case U_GCB_T: return kHangulT;
      case U_GCB_LV: return kHangulLV;
      case U_GCB_LVT: return kHangulLVT;
      default: return kOther;  // the emoji values of old versions are unused, as in the rules
    }
  }

  template <typename Fn>
  static void Update(UMutableCPTrie* builder, const char* pattern, Fn&& change) {
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
        umutablecptrie_setRange(builder, start, last, change(value), &status);
        Check(status, "cannot build the grapheme cluster table");
        start = last + 1;
      }
    }
  }

  UCPTrie* trie_ = nullptr;
};

// The table, made on first use; null when it cannot be made (no memory,
// missing data), and then ICU's iterator answers.
const ClusterTable* Clusters() {
  static const std::unique_ptr<ClusterTable> table = []() -> std::unique_ptr<ClusterTable> {
    try {
      return std::make_unique<ClusterTable>();
    } catch (const std::exception&) {
      return nullptr;
    }
  }();
  return table.get();
}

// True when breaker's rules are the ones ClusterBoundaries follows.
bool FollowsClusterRules(const icu::BreakIterator& breaker) {
  const auto* rules = dynamic_cast<const icu::RuleBasedBreakIterator*>(&breaker);
  return rules != nullptr && rules->getRules() == icu::UnicodeString(kClusterRules, -1, US_INV);
}

// The grapheme cluster boundaries of text by the rules of kClusterRules, in
// their order, looking at one pair of neighbours and what came before them.
void ClusterBoundaries(const ClusterTable& table, TextView text, std::vector<std::size_t>& out) {
  out.clear();
  out.push_back(0);
  if (text.empty()) return;
  unsigned prev = table.get(text[0]);
  // What the characters up to prev form: Extended_Pictographic Extend*
  // (pictographic), that and a ZWJ (pictographicZwj); the number of
  // regional indicators ending there; a linking consonant followed by
  // Extend-with-a-class or ZWJ characters (conjunct 1), with a virama
  // among them (conjunct 2).
  bool pictographic = (prev & kPictographic) != 0;
  bool pictographicZwj = false;
  std::size_t indicators = (prev & kClassMask) == kRegionalIndicator ? 1 : 0;
  int conjunct = (prev & kLinkingConsonant) != 0 ? 1 : 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const unsigned cur = table.get(text[i]);
    const unsigned p = prev & kClassMask;
    const unsigned c = cur & kClassMask;
    bool join;
    if (p == kCr && c == kLf) {
      join = true;
    } else if (p == kCr || p == kLf || p == kControl || c == kCr || c == kLf || c == kControl) {
      join = false;
    } else if (p == kHangulL) {
      join = c == kHangulL || c == kHangulV || c == kHangulLV || c == kHangulLVT ||
             c == kExtend || c == kZwj || c == kSpacingMark;
    } else if (c == kExtend || c == kZwj || c == kSpacingMark || p == kPrepend) {
      join = true;
    } else if ((p == kHangulLV || p == kHangulV) && (c == kHangulV || c == kHangulT)) {
      join = true;
    } else if ((p == kHangulLVT || p == kHangulT) && c == kHangulT) {
      join = true;
    } else if (conjunct == 2 && (cur & kLinkingConsonant) != 0) {
      join = true;
    } else if (pictographicZwj && (cur & kPictographic) != 0) {
      join = true;
    } else {
      join = p == kRegionalIndicator && c == kRegionalIndicator && indicators % 2 == 1;
    }
    if (!join) out.push_back(i);

    pictographicZwj = pictographic && c == kZwj;
    pictographic = (cur & kPictographic) != 0 || (pictographic && c == kExtend);
    indicators = c == kRegionalIndicator ? indicators + 1 : 0;
    if ((cur & kLinkingConsonant) != 0) {
      conjunct = 1;
    } else if (conjunct != 0 && (cur & kVirama) != 0) {
      conjunct = 2;
    } else if ((cur & kExtendCccZwj) == 0) {
      conjunct = 0;
    }
    prev = cur;
  }
  out.push_back(text.size());
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
  std::size_t cells(char32_t c) const { return get(c) & kWidthMask; }
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

std::size_t CellCount(TextView text) {
  std::size_t cells = 0;
  const LayoutTable* table = nullptr;  // loaded at the first character beyond ASCII
  for (char32_t c : text) {
    if (c < 0x80) {
      ++cells;
      continue;
    }
    if (table == nullptr) table = &Layout();
    cells += table->cells(c);
  }
  return cells;
}

StrongClass StrongDirection(char32_t c) {
  if (c < 0x80) {  // ASCII: its letters are left to right, the rest neutral
    return (c | 0x20) >= U'a' && (c | 0x20) <= U'z' ? StrongClass::LeftToRight : StrongClass::None;
  }
  return Layout().direction(c);
}

CharFlagTable::CharFlagTable() : bmp_(Properties().bmp()) {}

namespace {

// True when NFC keeps c, a character of the table's kNfcUnsafe set, as it is
// after previous (0 at the start of a text or after a value that is not a
// scalar value, where ICU is handed c's stretch on its own), provided that
// NFC keeps previous and what precedes it. This is NFC's quick check made
// exact for the marks of most scripts: a mark that never composes
// (NFC_Quick_Check Yes) stays where the combining classes are in order,
// and a character that may compose (Maybe) but has class 0 stays where
// the starter before it has no composition with it.
// The NFC quick check value (UNormalizationCheckResult, high byte) and the
// canonical combining class (low byte) of each character of the Basic
// Multilingual Plane, filled from ICU's maps of the two properties range by
// range: two loads instead of two calls into ICU for every mark.
class NfcInfo {
 public:
  NfcInfo() {
    bmp_.fill(static_cast<std::uint16_t>(UNORM_YES << 8));
    Fill(UCHAR_CANONICAL_COMBINING_CLASS, 0);
    Fill(UCHAR_NFC_QUICK_CHECK, 8);
  }
  // Null when ICU cannot give the maps (then ICU is asked per character).
  static const NfcInfo* Get() {
    static const std::unique_ptr<NfcInfo> info = []() -> std::unique_ptr<NfcInfo> {
      try {
        return std::make_unique<NfcInfo>();
      } catch (const std::exception&) {
        return nullptr;
      }
    }();
    return info.get();
  }
  std::uint16_t operator[](char32_t c) const { return bmp_[c]; }

 private:
  void Fill(UProperty property, int shift) {
    UErrorCode status = U_ZERO_ERROR;
    const UCPMap* map = u_getIntPropertyMap(property, &status);
    Check(status, "cannot read the normalisation properties");
    uint32_t value = 0;
    for (UChar32 start = 0, end = 0;
         start < 0x10000 &&
         (end = ucpmap_getRange(map, start, UCPMAP_RANGE_NORMAL, 0, nullptr, nullptr, &value)) >= 0;
         start = end + 1) {
      const auto keep = static_cast<std::uint16_t>(0xFF << (8 - shift));
      for (UChar32 c = start; c <= end && c < 0x10000; ++c) {
        bmp_[c] = static_cast<std::uint16_t>((bmp_[c] & keep) | (value << shift));
      }
    }
  }

  std::array<std::uint16_t, 0x10000> bmp_{};
};

// The quick check value and combining class of c.
std::pair<UNormalizationCheckResult, uint8_t> NfcProperties(char32_t c) {
  const NfcInfo* info = NfcInfo::Get();
  if (c < 0x10000 && info != nullptr) {
    const std::uint16_t v = (*info)[c];
    return {static_cast<UNormalizationCheckResult>(v >> 8), static_cast<uint8_t>(v & 0xFF)};
  }
  return {static_cast<UNormalizationCheckResult>(
              u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NFC_QUICK_CHECK)),
          u_getCombiningClass(static_cast<UChar32>(c))};
}

bool KeptByNfc(char32_t previous, char32_t c) {
  const auto [check, cls] = NfcProperties(c);
  if (check == UNORM_NO) return false;
  if (previous == 0 || !IsScalarValue(previous)) return true;
  const uint8_t previousCls = NfcProperties(previous).second;
  if (cls != 0) return check == UNORM_YES && previousCls <= cls;
  return previousCls != 0 || Nfc().composePair(static_cast<UChar32>(previous), static_cast<UChar32>(c)) < 0;
}

// Calls piece(begin, end) for each stretch of text that NFC may change: a
// run of characters that may combine with what precedes them, together
// with the character before the run. Everything outside those stretches is
// in NFC already and never interacts across them, so each stretch
// normalises on its own. A stretch holds only scalar values. A run whose
// every character NFC keeps (KeptByNfc: the vowel signs and tone marks of
// most Indic and Thai words) is no stretch.
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
    bool kept = true;
    for (std::size_t k = i; kept && k < end; ++k) kept = KeptByNfc(k > begin ? text[k - 1] : 0, text[k]);
    if (kept) {
      done = end;
      i = end;
      continue;
    }
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
  bool clusterRules = false;  // graphemes follows ClusterBoundaries' rules
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
  clusterRules = FollowsClusterRules(*graphemes);
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
  if (d.clusterRules) {
    if (const ClusterTable* clusters = Clusters()) {
      ClusterBoundaries(*clusters, text, out);
      return;
    }
  }
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

Text ToLowerCase(TextView text) {
  if (std::optional<Text> ascii = AsciiLowerCase(text)) return std::move(*ascii);
  icu::UnicodeString u16;
  ToUtf16(text, u16);
  u16.toLower(icu::Locale::getRoot());
  if (u16.isBogus()) throw UnicodeError("cannot change the letter case");
  Text out;
  AppendFromUtf16(out, u16);
  return out;
}

}  // namespace brenvik::unicode
