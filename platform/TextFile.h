#pragma once
// Whole-file reading and writing with the program's error texts. Writes are
// atomic: the bytes go to a temporary file in the same folder, which then
// replaces the target, so a failed save leaves an existing file whole.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace brenvik {

// Reads the whole file. FileOpenError(path) when it cannot be opened or read;
// TextTooLargeError, before reading, when it is larger than maxBytes.
std::string ReadFileBytes(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);
// Reads and decodes a text file as File > Open does.
Text ReadTextFile(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);

// Writes bytes atomically; FileCreateError(path) when the file cannot be
// created or written, the old file (if any) untouched.
void WriteFileBytes(const std::string& path, std::string_view bytes);
// Writes text as Save source and Save output do.
void WriteTextFile(const std::string& path, TextView text);

}  // namespace brenvik
