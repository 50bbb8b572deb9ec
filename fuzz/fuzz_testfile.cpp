// The test-file reader: refuses with a message naming the file, or reads a
// test that writes and reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  brenvik::fuzz::CheckTestFile(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
