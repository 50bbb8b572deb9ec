// The exported page for any text and settings: gap boxes, answer list, and nothing of the text or settings escaping into markup, style sheet or script.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brenvik::fuzz::CheckPage(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
