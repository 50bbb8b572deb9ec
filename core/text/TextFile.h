#pragma once
// Whole-file reading and writing with the program's error texts. Writes are
// atomic: the bytes go to a temporary file in the same folder, which then
// replaces the target, so a failed save leaves an existing file whole.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Text.h"

namespace brenvik {

// Reads the whole file. FileOpenError(path) when it cannot be opened or read
// (a folder included); TextTooLargeError, before reading, when it is larger
// than maxBytes (a pipe or device is held to the same limit while reading).
std::string ReadFileBytes(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);
// Reads and decodes a text file as File > Open does (DecodeTextFile), in
// Normalization Form C: a letter stored with its accents apart, as many
// PDFs and macOS files hold it, becomes the letter a pupil types.
Text ReadTextFile(const std::string& path, std::uint64_t maxBytes = UINT64_MAX);

// Writes bytes atomically; FileCreateError(path) when the file cannot be
// created or written, the old file (if any) untouched and no temporary file
// left behind. A folder, a path through a file and an existing file the user
// may not write are refused. A replaced file keeps its permission bits, a new
// one gets 0666 less the umask; a symbolic link is followed and kept; an
// existing device or pipe (/dev/stdout) is written in place.
void WriteFileBytes(const std::string& path, std::string_view bytes);
// Writes many files, each replaced whole or not at all as WriteFileBytes
// replaces one, with one flush to disk for all of them instead of two per
// file (on a disk, most of the time a small file's save takes).
class FileBatch {
 public:
  FileBatch() = default;
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;
  // Removes the temporary files of a batch that was not committed.
  ~FileBatch();

  // Writes the bytes to a temporary file beside path, to replace path at the
  // commit; a device or pipe is written in place at once. FileCreateError
  // (path), with nothing left behind, when that fails. Each added file holds
  // a descriptor until the commit: commit every hundred files or so.
  void add(const std::string& path, std::string_view bytes);

  // Flushes every added file to disk, renames each over its target and makes
  // the renames durable. Returns the paths that could not be replaced (their
  // old file whole, no temporary file left). The batch is empty afterwards.
  std::vector<std::string> commit();

  std::size_t size() const { return staged_.size(); }

 private:
  struct Staged {
    std::string path;    // as given
    std::string target;  // the file replaced
    std::string dir;
    std::string temp;
    int fd = -1;
  };
  std::vector<Staged> staged_;
};

// Writes text as Save source and Save output do.
void WriteTextFile(const std::string& path, TextView text);

}  // namespace brenvik
