#pragma once
// A zip archive written in memory, the same bytes for the same files: the
// entries sorted by name, every entry dated 1980-01-01 00:00 (the earliest
// date the format holds), no extra fields, no comment. Each entry is
// deflated (zlib, raw deflate) when that makes it smaller, else stored.
// Names are checked before anything is written: relative, with "/" between
// parts, no empty, "." or ".." part, no backslash or control character, no
// two equal; so an archive never writes outside the folder it is unpacked
// into.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Errors.h"

namespace brenvik {

// A name the archive refuses, or contents past what a zip without the
// 64-bit extension holds (4 GiB per entry and in all, 65,535 entries).
class ZipError : public BrenvikError {
 public:
  using BrenvikError::BrenvikError;
};

struct ZipEntry {
  std::string name;   // UTF-8, "folder/file.ext"
  std::string bytes;
};

// An entry already compressed (or stored) with its checksum: a file that
// goes unchanged into many archives is packed once, not once an archive.
struct PackedZipEntry {
  std::string name;
  std::uint32_t crc = 0;
  std::uint16_t method = 0;  // 0 stored, 8 deflated
  std::uint64_t size = 0;    // the bytes before packing
  std::string data;          // as written into the archive
};

// Empty when the name is fine, else the reason it is refused.
std::string ZipNameProblem(std::string_view name);

// The entry packed as BuildZip packs it. ZipError for a refused name or a
// file past the format's limits.
PackedZipEntry PackZipEntry(const ZipEntry& entry);

// The archive of entries and of entries packed before, the same bytes as
// if all had been given unpacked. ZipError for a refused name, two equal
// names or sizes past the format's limits.
std::string BuildZip(std::vector<ZipEntry> entries, std::span<const PackedZipEntry> packed = {});

}  // namespace brenvik
