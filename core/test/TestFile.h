#pragma once
// The test file (*.ctest): a test with its texts, options, edits and
// settings as UTF-8 JSON, "format": "brenvik-test", "version": 1. Field by
// field in docs/test-file.md.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/test/Test.h"
#include "core/text/Errors.h"

namespace brenvik {

inline constexpr std::string_view kTestFileFormat = "brenvik-test";
inline constexpr std::uint64_t kTestFileVersion = 1;
// A test file larger than this is refused unread: far beyond a few hundred
// texts, small enough to hold in memory several times over.
inline constexpr std::uint64_t kMaxTestFileBytes = 64ull * 1024 * 1024;

// A file that is not a test file this program can read. The message names
// the file and the problem.
class TestFileError : public BrenvikError {
 public:
  TestFileError(const std::string& path, const std::string& problem);
  const std::string& path() const { return path_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string path_;
  std::string problem_;
};

// The test in bytes. name is how messages call them (the file's path).
// TestFileError when they are not JSON, not a test file, of a newer version
// or hold a value out of place. Texts are put in Normalization Form C.
Test ParseTestFile(std::string_view bytes, const std::string& name);

// Reads a test file. FileOpenError when it cannot be read, TestFileError
// as above or when it is larger than kMaxTestFileBytes.
Test ReadTestFile(const std::string& path);

// The bytes of the test file: keys in a fixed order, two spaces of
// indentation, a line feed at the end. A test read from such bytes gives
// the same bytes again.
std::string TestFileBytes(const Test& test);

// Writes the test file atomically (WriteFileBytes); FileCreateError.
void WriteTestFile(const std::string& path, const Test& test);

// True when path ends in ".ctest" (any case).
bool IsTestFilePath(std::string_view path);

}  // namespace brenvik
