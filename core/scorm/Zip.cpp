#include "core/scorm/Zip.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace brenvik {
namespace {

constexpr std::uint16_t kVersionNeeded = 20;             // 2.0: deflate
constexpr std::uint16_t kMadeBy = (3 << 8) | 20;          // Unix, 2.0
constexpr std::uint16_t kUtf8Names = 1 << 11;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kDosTime = 0;                     // 00:00:00
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
constexpr std::uint32_t kFileMode = 0100644;              // a plain file, rw-r--r--
constexpr std::uint64_t kMaxSize = std::numeric_limits<std::uint32_t>::max() - 1;

void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Raw deflate (no zlib header) at the best compression.
std::string Deflate(std::string_view in) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw ZipError("cannot start the zip compressor");
  }
  std::string out(deflateBound(&z, static_cast<uLong>(in.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw ZipError("the zip compressor failed");
  return out;
}

struct Written {
  const PackedZipEntry* entry;
  std::uint32_t offset;
};

void PutCommon(std::string& out, const PackedZipEntry& e, std::uint16_t flags) {
  Put16(out, flags);
  Put16(out, e.method);
  Put16(out, kDosTime);
  Put16(out, kDosDate);
  Put32(out, e.crc);
  Put32(out, static_cast<std::uint32_t>(e.data.size()));
  Put32(out, static_cast<std::uint32_t>(e.size));
  Put16(out, static_cast<std::uint16_t>(e.name.size()));
}

bool HasNonAscii(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; });
}

}  // namespace

std::string ZipNameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > 0xFFFF) return "the name is too long";
  if (name.front() == '/') return "the name is an absolute path";
  if (name.back() == '/') return "the name is a folder";
  for (unsigned char c : name) {
    if (c == '\\') return "the name holds a backslash";
    if (c < 0x20 || c == 0x7F) return "the name holds a control character";
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    const std::string_view part = name.substr(start, end - start);
    if (part.empty()) return "the name has an empty part";
    if (part == "." || part == "..") return "the name has a \".\" or \"..\" part";
    if (end == name.size()) break;
    start = end + 1;
  }
  if (name.size() >= 2 && name[1] == ':') return "the name starts with a drive letter";
  return {};
}

PackedZipEntry PackZipEntry(const ZipEntry& entry) {
  const std::string problem = ZipNameProblem(entry.name);
  if (!problem.empty()) throw ZipError("cannot pack \"" + entry.name + "\": " + problem);
  if (entry.bytes.size() > kMaxSize) throw ZipError("\"" + entry.name + "\" is too large to pack");
  PackedZipEntry packed;
  packed.name = entry.name;
  packed.size = entry.bytes.size();
  packed.crc = static_cast<std::uint32_t>(crc32_z(crc32_z(0, nullptr, 0),
                                                  reinterpret_cast<const Bytef*>(entry.bytes.data()),
                                                  entry.bytes.size()));
  std::string deflated = Deflate(entry.bytes);
  if (deflated.size() < entry.bytes.size()) {
    packed.method = kDeflated;
    packed.data = std::move(deflated);
  } else {
    packed.method = kStored;
    packed.data = entry.bytes;
  }
  return packed;
}

std::string BuildZip(std::vector<ZipEntry> entries, std::span<const PackedZipEntry> packed) {
  std::vector<PackedZipEntry> own;
  own.reserve(entries.size());
  for (const ZipEntry& e : entries) own.push_back(PackZipEntry(e));
  std::vector<const PackedZipEntry*> all;
  all.reserve(own.size() + packed.size());
  for (const PackedZipEntry& e : own) all.push_back(&e);
  for (const PackedZipEntry& e : packed) {
    // Entries packed elsewhere are checked as strictly as the others.
    const std::string problem = ZipNameProblem(e.name);
    if (!problem.empty()) throw ZipError("cannot pack \"" + e.name + "\": " + problem);
    all.push_back(&e);
  }
  std::sort(all.begin(), all.end(), [](const PackedZipEntry* a, const PackedZipEntry* b) { return a->name < b->name; });
  for (std::size_t i = 1; i < all.size(); ++i) {
    if (all[i]->name == all[i - 1]->name) throw ZipError("cannot pack \"" + all[i]->name + "\" twice");
  }
  if (all.size() > 0xFFFF) throw ZipError("too many files to pack");

  std::string out;
  std::vector<Written> written;
  written.reserve(all.size());
  for (const PackedZipEntry* e : all) {
    if (out.size() + 30 + e->name.size() + e->data.size() > kMaxSize) {
      throw ZipError("the files are too large to pack");
    }
    written.push_back({e, static_cast<std::uint32_t>(out.size())});
    Put32(out, 0x04034b50);
    Put16(out, kVersionNeeded);
    PutCommon(out, *e, HasNonAscii(e->name) ? kUtf8Names : 0);
    Put16(out, 0);  // extra field
    out += e->name;
    out += e->data;
  }
  const std::size_t directory = out.size();
  for (const Written& w : written) {
    Put32(out, 0x02014b50);
    Put16(out, kMadeBy);
    Put16(out, kVersionNeeded);
    PutCommon(out, *w.entry, HasNonAscii(w.entry->name) ? kUtf8Names : 0);
    Put16(out, 0);  // extra field
    Put16(out, 0);  // comment
    Put16(out, 0);  // disk
    Put16(out, 0);  // internal attributes
    Put32(out, kFileMode << 16);
    Put32(out, w.offset);
    out += w.entry->name;
  }
  if (out.size() > kMaxSize) throw ZipError("the files are too large to pack");
  const auto directorySize = static_cast<std::uint32_t>(out.size() - directory);
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint16_t>(written.size()));
  Put16(out, static_cast<std::uint16_t>(written.size()));
  Put32(out, directorySize);
  Put32(out, static_cast<std::uint32_t>(directory));
  Put16(out, 0);  // comment
  return out;
}

}  // namespace brenvik
