// Grapheme clusters of any text against ICU's break iterator.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzChecks.h"
#include "fuzz/GraphemeCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brenvik::fuzz::CheckGraphemes(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
