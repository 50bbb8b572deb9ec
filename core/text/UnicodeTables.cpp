#include "core/text/UnicodeTables.h"

#include <algorithm>
#include <iterator>

namespace brenvik::unicode::tables {
namespace {

#include "core/text/UnicodeTables.inc"

}  // namespace

Properties Of(char32_t c) {
  // The run that holds c: the last one starting at or before it.
  const auto* run = std::upper_bound(std::begin(kRunStarts), std::end(kRunStarts), static_cast<std::uint32_t>(c));
  return Properties{kRunValues[static_cast<std::size_t>(run - std::begin(kRunStarts)) - 1]};
}

const char* Source() { return kSource; }

}  // namespace brenvik::unicode::tables
