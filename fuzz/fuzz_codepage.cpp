// Any bytes decode as File > Open decodes them; saving the text and opening it again gives it back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brenvik::fuzz::CheckCodePage(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
