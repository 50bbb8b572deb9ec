// The Unicode interface answered by the browser, for the WebAssembly build:
// Intl.Segmenter cuts grapheme clusters and words, String.prototype.normalize
// and toLowerCase give NFC and lower case. Text crosses as code points
// through the module's memory; a value that is not a scalar value crosses as
// U+FFFD, so positions map one to one, and is put back where it stood.
//
// The character properties (the flags of the test rules, the width and the
// direction of the page's layout) are the desktop's own: the table that
// core/text/UnicodeTables holds, made from Debian's ICU, whatever Unicode
// version the browser carries.

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "core/text/Errors.h"
#include "core/text/Unicode.h"
#include "core/text/UnicodeShared.h"
#include "core/text/UnicodeTables.h"

// The browser's side, in UnicodeBrowser.js.
extern "C" {
void brenvik_js_init();
int brenvik_js_map(const char32_t* in, int n, int form, char32_t* out, int cap);
int brenvik_js_is_nfc(const char32_t* in, int n);
int brenvik_js_check_tag(const char* tag);
int brenvik_js_boundaries(const char32_t* in, int n, const char* tag, int granularity, unsigned* out);
}

namespace brenvik::unicode {

namespace {

void Init() {
  static const bool done = (brenvik_js_init(), true);
  (void)done;
}

const std::array<std::uint8_t, 0x10000>& BmpFlags() {
  static const auto* table = [] {
    auto* t = new std::array<std::uint8_t, 0x10000>();
    for (char32_t c = 0; c < 0x10000; ++c) (*t)[c] = static_cast<std::uint8_t>(tables::Of(c).flags());
    return t;
  }();
  return *table;
}

// True when no character of text can join a neighbour into one cluster:
// below the first combining mark, every character but CR stands alone.
bool AllSingleClusters(TextView text) {
  return std::all_of(text.begin(), text.end(), [](char32_t c) { return c < kFirstCombiningMark && c != U'\r'; });
}

// Maps text through the browser (form 0 NFC, 1 lower case). Values that are
// not scalar values cut the text and stay where they are.
Text MapText(TextView text, int form, const char* what) {
  Init();
  Text out;
  out.reserve(text.size());
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = begin;
    while (end < text.size() && IsScalarValue(text[end])) ++end;
    if (end > begin) {
      // NFC and the full lowercase mapping give at most three code points
      // for one.
      const std::size_t cap = 3 * (end - begin) + 8;
      Text piece(cap, U'\0');
      const int n = brenvik_js_map(text.data() + begin, static_cast<int>(end - begin), form, piece.data(),
                                   static_cast<int>(cap));
      if (n < 0) throw UnicodeError(what);
      out.append(piece, 0, static_cast<std::size_t>(n));
    }
    if (end == text.size()) break;
    out.push_back(form == 1 ? U'\uFFFD' : text[end]);
    begin = end + 1;
  }
  return out;
}

}  // namespace

unsigned CharFlags(char32_t c) {
  if (c < 0x10000) return BmpFlags()[c];
  if (c > 0x10FFFF) return 0;
  return tables::Of(c).flags();
}

CharFlagTable::CharFlagTable() : bmp_(BmpFlags().data()) {}

CellWidth DisplayWidth(char32_t c) {
  if (c < 0x80) return CellWidth::One;
  if (c > 0x10FFFF) return CellWidth::One;
  return tables::Of(c).width();
}

std::size_t CellCount(TextView text) {
  std::size_t cells = 0;
  for (char32_t c : text) cells += static_cast<std::size_t>(DisplayWidth(c));
  return cells;
}

StrongClass StrongDirection(char32_t c) {
  if (c < 0x80) {
    return (c | 0x20) >= U'a' && (c | 0x20) <= U'z' ? StrongClass::LeftToRight : StrongClass::None;
  }
  if (c > 0x10FFFF) return StrongClass::None;
  return tables::Of(c).direction();
}

bool IsNfc(TextView text) {
  if (std::all_of(text.begin(), text.end(), [](char32_t c) { return c < kFirstCombiningMark; })) return true;
  Init();
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = begin;
    while (end < text.size() && IsScalarValue(text[end])) ++end;
    if (end > begin && brenvik_js_is_nfc(text.data() + begin, static_cast<int>(end - begin)) == 0) return false;
    begin = end + 1;
  }
  return true;
}

Text ToNfc(Text text) {
  if (IsNfc(text)) return text;
  return MapText(text, 0, "cannot normalise the text");
}

Text ToLowerCase(TextView text) {
  if (std::optional<Text> ascii = AsciiLowerCase(text)) return std::move(*ascii);
  return MapText(text, 1, "cannot change the letter case");
}

struct TextSegmenter::Impl {
  std::string tag;
  std::vector<unsigned> bounds;

  void boundaries(TextView text, int granularity, std::vector<std::size_t>& out) {
    bounds.resize(text.size() + 2);
    const int n = brenvik_js_boundaries(text.data(), static_cast<int>(text.size()), tag.c_str(), granularity,
                                        bounds.data());
    if (n < 1) throw UnicodeError("cannot segment the text");
    out.assign(bounds.begin(), bounds.begin() + n);
  }
};

TextSegmenter::TextSegmenter(std::string_view languageTag) : impl_(std::make_unique<Impl>()) {
  impl_->tag = std::string(languageTag);
  if (languageTag.empty()) return;
  Init();
  if (impl_->tag.find('\0') != std::string::npos || brenvik_js_check_tag(impl_->tag.c_str()) == 0) {
    throw UnicodeError("\"" + impl_->tag + "\" is not a language tag");
  }
}

TextSegmenter::~TextSegmenter() = default;
TextSegmenter::TextSegmenter(TextSegmenter&&) noexcept = default;
TextSegmenter& TextSegmenter::operator=(TextSegmenter&&) noexcept = default;

void TextSegmenter::prepare() {
  BmpFlags();
  if (brenvik_js_check_tag(impl_->tag.c_str()) == 0) throw UnicodeError("cannot load the segmentation rules");
}

void TextSegmenter::graphemeBoundaries(TextView text, std::vector<std::size_t>& out) {
  if (AllSingleClusters(text)) {
    out.resize(text.size() + 1);
    for (std::size_t i = 0; i <= text.size(); ++i) out[i] = i;
    return;
  }
  Init();
  impl_->boundaries(text, 0, out);
}

std::size_t TextSegmenter::countGraphemes(TextView text) {
  std::vector<std::size_t> bounds;
  graphemeBoundaries(text, bounds);
  return bounds.size() - 1;
}

void TextSegmenter::wordBoundaries(TextView text, std::vector<std::size_t>& out) {
  Init();
  impl_->boundaries(text, 1, out);
}

}  // namespace brenvik::unicode
