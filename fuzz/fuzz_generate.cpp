// GenerateTest against the documented split, segmentation and halving rules, with its invariants.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brenvik::fuzz::CheckGenerate(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
