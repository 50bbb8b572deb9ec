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
  const ZipEntry* entry;
  std::uint32_t crc;
  std::uint16_t method;
  std::uint32_t packedSize;
  std::uint32_t offset;
};

void PutCommon(std::string& out, const Written& w, std::uint16_t flags) {
  Put16(out, flags);
  Put16(out, w.method);
  Put16(out, kDosTime);
  Put16(out, kDosDate);
  Put32(out, w.crc);
  Put32(out, w.packedSize);
  Put32(out, static_cast<std::uint32_t>(w.entry->bytes.size()));
  Put16(out, static_cast<std::uint16_t>(w.entry->name.size()));
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

std::string BuildZip(std::vector<ZipEntry> entries) {
  std::sort(entries.begin(), entries.end(),
            [](const ZipEntry& a, const ZipEntry& b) { return a.name < b.name; });
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string problem = ZipNameProblem(entries[i].name);
    if (!problem.empty()) throw ZipError("cannot pack \"" + entries[i].name + "\": " + problem);
    if (i > 0 && entries[i].name == entries[i - 1].name) {
      throw ZipError("cannot pack \"" + entries[i].name + "\" twice");
    }
    if (entries[i].bytes.size() > kMaxSize) throw ZipError("\"" + entries[i].name + "\" is too large to pack");
  }
  if (entries.size() > 0xFFFF) throw ZipError("too many files to pack");

  std::string out;
  std::vector<Written> written;
  written.reserve(entries.size());
  for (const ZipEntry& e : entries) {
    Written w{&e, 0, kStored, 0, 0};
    w.crc = static_cast<std::uint32_t>(
        crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(e.bytes.data()), e.bytes.size()));
    std::string packed = Deflate(e.bytes);
    const bool deflated = packed.size() < e.bytes.size();
    w.method = deflated ? kDeflated : kStored;
    const std::string_view data = deflated ? std::string_view(packed) : std::string_view(e.bytes);
    w.packedSize = static_cast<std::uint32_t>(data.size());
    if (out.size() + 30 + e.name.size() + data.size() > kMaxSize) throw ZipError("the files are too large to pack");
    w.offset = static_cast<std::uint32_t>(out.size());
    const bool utf8 = std::any_of(e.name.begin(), e.name.end(), [](char c) { return (c & 0x80) != 0; });
    Put32(out, 0x04034b50);
    Put16(out, kVersionNeeded);
    PutCommon(out, w, utf8 ? kUtf8Names : 0);
    Put16(out, 0);  // extra field
    out += e.name;
    out += data;
    written.push_back(w);
  }
  const std::size_t directory = out.size();
  for (const Written& w : written) {
    const bool utf8 =
        std::any_of(w.entry->name.begin(), w.entry->name.end(), [](char c) { return (c & 0x80) != 0; });
    Put32(out, 0x02014b50);
    Put16(out, kMadeBy);
    Put16(out, kVersionNeeded);
    PutCommon(out, w, utf8 ? kUtf8Names : 0);
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
