#pragma once
// Helpers shared by the test-generation tests: list comparison and a seeded
// generator of prose made of every kind of character the segmentation meets.

#include <cstdint>
#include <random>
#include <vector>

#include "core/text/Text.h"
#include "core/text/TextList.h"

namespace brenvik::testing {

using Texts = std::vector<Text>;

inline Texts Vec(const TextList& list) { return list.toVector(); }

// Prose-like text: words of Latin, Polish, Greek and Cyrillic letters,
// numbers, bracketed words, tabs and other control characters at word edges
// and inside words, runs of separators, sentence marks and CR LF.
inline Text RandomProse(std::mt19937& rng, std::size_t approxChars) {
  static const TextView kLetters[] = {
      U"abcdefghijklmnopqrstuvwxyz", U"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
      U"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ", U"αβγδεζηθικλμνξοπρστυφχψωάέή",
      U"абвгдежзийклмнопрстуфхцчшщыэюяЖЗЙ", U"()[]<>é€"};
  static const TextView kSeparatorRuns[] = {
      U" ", U" ", U" ", U", ", U". ", U"! ", U"? ", U"; ", U": ", U"-", U"'",
      U"\"", U" \"", U"/", U"...", U"\r\n", U".\r\n\r\n", U" - ", U". \""};
  static const TextView kOddities[] = {U"\t", U"\x01", U"\x1f", U" \t ", U"\x7f"};
  std::uniform_int_distribution<int> percent(0, 99);
  Text out;
  out.reserve(approxChars + 32);
  while (out.size() < approxChars) {
    const int kind = percent(rng);
    if (kind < 6) {
      out += kOddities[rng() % std::size(kOddities)];
    }
    if (kind < 8) {
      out += ToText(static_cast<long long>(rng() % 100000));
    } else {
      const TextView letters = kLetters[rng() % std::size(kLetters)];
      const std::size_t length = 1 + rng() % 9;
      for (std::size_t i = 0; i < length; ++i) out += letters[rng() % letters.size()];
      if (kind >= 95) out += U'\t';  // a tab inside a word
      if (kind >= 97) out += letters[rng() % letters.size()];
    }
    if (kind >= 3 && kind < 6) out += kOddities[rng() % std::size(kOddities)];
    out += kSeparatorRuns[rng() % std::size(kSeparatorRuns)];
  }
  return out;
}

}  // namespace brenvik::testing
