#pragma once
// What both answers of the Unicode interface (ICU's in Unicode.cpp, the
// browser's in UnicodeBrowser.cpp) do the same way before they ask their
// library.

#include <algorithm>
#include <optional>

#include "core/text/Text.h"

namespace brenvik::unicode {

// An ASCII text in lower case, without the library; nullopt for a text
// with any character beyond ASCII.
inline std::optional<Text> AsciiLowerCase(TextView text) {
  if (!std::all_of(text.begin(), text.end(), [](char32_t c) { return c < 0x80; })) return std::nullopt;
  Text out(text);
  for (char32_t& c : out) {
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
  }
  return out;
}

}  // namespace brenvik::unicode
