#pragma once
// Whole-file reading and writing with the program's error texts. Writes are
// atomic: the bytes go to a temporary file in the same folder, which then
// replaces the target, so a failed save leaves an existing file whole.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/Text.h"

namespace brenvik {

// Reads the whole file. FileOpenError(path) when it cannot be opened or read
// (a folder included); TextTooLargeError, before reading, when it is larger
// than maxBytes (a pipe or device is held to the same limit while reading).
std::string ReadFileBytes(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);
// Reads and decodes a text file as File > Open does.
Text ReadTextFile(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);

// Writes bytes atomically; FileCreateError(path) when the file cannot be
// created or written, the old file (if any) untouched and no temporary file
// left behind. A folder, a path through a file and an existing file the user
// may not write are refused. A replaced file keeps its permission bits, a new
// one gets 0666 less the umask; a symbolic link is followed and kept; an
// existing device or pipe (/dev/stdout) is written in place.
void WriteFileBytes(const std::string& path, std::string_view bytes);
// Writes text as Save source and Save output do.
void WriteTextFile(const std::string& path, TextView text);

}  // namespace brenvik
