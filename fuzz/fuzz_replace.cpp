// SearchAndReplace against the plain rescanning loop, and its one-pass fall-back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brenvik::fuzz::CheckReplace(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
