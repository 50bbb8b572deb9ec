#pragma once
// The grapheme clusters of the program (core/text/Unicode.h, which follows
// ICU's rules with its own table where it can) against ICU's own break
// iterator, on any text. Used by fuzz_graphemes and replayed by
// unit_fuzz_replay; the unit test of Unicode.h runs it over generated text.

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Text.h"
#include "core/text/Unicode.h"
#include "fuzz/FuzzChecks.h"

namespace brenvik::fuzz {

// ICU's extended grapheme cluster boundaries of text (root locale), as
// indexes into text; a value that is not a scalar value goes to ICU as
// U+FFFD, as the program hands it over.
inline std::vector<std::size_t> IcuGraphemeBoundaries(TextView text) {
  UErrorCode status = U_ZERO_ERROR;
  static const std::unique_ptr<icu::BreakIterator> proto(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status)) return {};
  std::unique_ptr<icu::BreakIterator> it(proto->clone());
  icu::UnicodeString s;
  std::vector<std::size_t> index;  // the code point index of each UTF-16 unit
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = ScalarOrReplacement(text[i]);
    s.append(static_cast<UChar32>(c));
    index.insert(index.end(), c > 0xFFFF ? 2 : 1, i);
  }
  index.push_back(text.size());
  it->setText(s);
  std::vector<std::size_t> out;
  for (int32_t b = it->first(); b != icu::BreakIterator::DONE; b = it->next()) {
    out.push_back(index[static_cast<std::size_t>(b)]);
  }
  if (out.empty() || out.back() != text.size()) out.push_back(text.size());
  return out;
}

// Empty when the program's boundaries of text are ICU's, else a description.
inline std::string GraphemeMismatch(TextView text) {
  std::vector<std::size_t> ours;
  unicode::TextSegmenter().graphemeBoundaries(text, ours);
  if (ours == IcuGraphemeBoundaries(text)) return {};
  std::string what = "grapheme boundaries differ from ICU's for";
  for (char32_t c : text.substr(0, 40)) what += " " + std::to_string(static_cast<unsigned long>(c));
  return what;
}

// The input as UTF-8 (each byte of a bad sequence a U+FFFD).
inline void CheckGraphemes(std::string_view bytes) {
  const std::string mismatch = GraphemeMismatch(FromUtf8(bytes));
  Require(mismatch.empty(), mismatch);
}

}  // namespace brenvik::fuzz
