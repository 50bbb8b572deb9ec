#pragma once
// The character properties of the desktop's ICU (Debian's) as a table built
// into the program: CharFlags, DisplayWidth and StrongDirection of every
// code point, as runs of equal values. The browser edition answers these
// questions from it, so that a test made in a browser is the test the
// desktop makes, whatever Unicode version the browser carries.
// UnicodeTables.inc is generated from ICU by web/GenerateUnicodeTables.cpp
// (`cmake --build build --target brenvik_update_unicode_tables`); unit_text
// checks it against ICU over every code point.

#include <cstdint>

#include "core/text/Unicode.h"

namespace brenvik::unicode::tables {

// One code point's properties: bits 0-4 the CharFlag bits, 5-6 the
// CellWidth, 7-8 the StrongClass.
struct Properties {
  std::uint16_t bits = 0;
  unsigned flags() const { return bits & 0x1fu; }
  CellWidth width() const { return static_cast<CellWidth>((bits >> 5) & 3u); }
  StrongClass direction() const { return static_cast<StrongClass>((bits >> 7) & 3u); }
};

inline std::uint16_t Pack(unsigned flags, CellWidth width, StrongClass direction) {
  return static_cast<std::uint16_t>(flags | static_cast<unsigned>(width) << 5 | static_cast<unsigned>(direction) << 7);
}

// The properties of c (a code point, at most U+10FFFF).
Properties Of(char32_t c);

// Which Unicode data the table was made from ("ICU 72.1, Unicode 15.0").
const char* Source();

}  // namespace brenvik::unicode::tables
