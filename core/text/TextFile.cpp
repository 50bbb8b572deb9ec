#include "core/text/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "core/text/CodePage.h"
#include "core/text/Errors.h"
#include "core/text/Unicode.h"

namespace brenvik {

namespace {

// Closes a descriptor when it goes out of scope (unless released).
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Gives up the descriptor without closing it.
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now and reports whether the close went well. EINTR counts as
  // success: on Linux the descriptor is gone either way and the data has
  // already been flushed by fsync.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool SyncFd(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd = -1;
  do {
    fd = ::open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Splits "dir/name" into the folder ("." for a bare name) and the name.
void SplitPath(const std::string& path, std::string& dir, std::string& name) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    dir = ".";
    name = path;
  } else {
    dir = slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
  }
}

// Creates ".<name>.XXXXXX" in dir with a fresh random suffix. The mode is
// passed to open, so the process umask (and a folder's default ACL) applies
// as it would to the file itself.
int CreateTempFile(const std::string& dir, const std::string& name, mode_t mode,
                   std::string& tempPath) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  // Keep the temporary name within NAME_MAX even for a target name at the limit.
  const std::string stem = name.substr(0, NAME_MAX - 8);
  std::random_device device;
  std::mt19937 gen(device());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kChars[pick(gen)];
    tempPath = (dir == "/" ? "/" : dir + "/") + "." + stem + "." + suffix;
    const int fd = OpenRetrying(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes straight into an existing device, pipe or socket (for example
// /dev/stdout): such a target cannot be replaced by renaming.
void WriteInPlace(const std::string& path, std::string_view bytes) {
  Fd fd(OpenRetrying(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (fd.get() < 0 || !WriteAll(fd.get(), bytes) || !fd.Close()) throw FileCreateError(path);
}

}  // namespace

std::string ReadFileBytes(const std::string& path, std::uint64_t maxBytes) {
  Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw FileOpenError(path);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) throw FileOpenError(path);
  // The size is checked before anything is read, so a huge file costs nothing.
  if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    throw TextTooLargeError();
  }

  std::string bytes;
  if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileOpenError(path);
    }
    if (n == 0) break;
    // A file that grows while it is read, or a pipe, is held to the same limit.
    if (static_cast<std::uint64_t>(n) > maxBytes - bytes.size()) throw TextTooLargeError();
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

Text ReadTextFile(const std::string& path, std::uint64_t maxBytes) {
  return unicode::ToNfc(DecodeTextFile(ReadFileBytes(path, maxBytes)));
}

namespace {

// Where the bytes of path go: a device or pipe written in place, or a
// regular file (new or existing, a symbolic link followed) replaced through
// a temporary file in its folder.
struct Destination {
  std::string target;  // the file to replace (the link's target for a link)
  std::string dir;
  std::string name;
  bool exists = false;
  bool inPlace = false;
  struct stat st {};
};

Destination Resolve(const std::string& path) {
  if (path.empty() || path.back() == '/') throw FileCreateError(path);
  Destination d;
  d.target = path;
  d.exists = ::stat(path.c_str(), &d.st) == 0;
  if (d.exists) {
    if (S_ISDIR(d.st.st_mode)) throw FileCreateError(path);
    if (::access(path.c_str(), W_OK) != 0) throw FileCreateError(path);
    if (!S_ISREG(d.st.st_mode)) {
      d.inPlace = true;
      return d;
    }
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
      char* resolved = ::realpath(path.c_str(), nullptr);
      if (resolved == nullptr) throw FileCreateError(path);
      d.target = resolved;
      std::free(resolved);
    }
  } else if (errno != ENOENT) {
    throw FileCreateError(path);  // e.g. a path through a regular file
  }
  SplitPath(d.target, d.dir, d.name);
  return d;
}

// The new content in a temporary file beside the target, with the target's
// permission bits (and, when the program may set them, its owner and group)
// for an existing file, 0666 less the umask for a new one; flushed to disk
// when sync is true. Returns the open descriptor and sets tempPath;
// FileCreateError(path), and no temporary file left, when that fails.
int WriteTemporary(const std::string& path, const Destination& d, std::string_view bytes, bool sync,
                   std::string& tempPath) {
  // While the new content is being written only the user can read it; the
  // final mode is set before the rename.
  Fd fd(CreateTempFile(d.dir, d.name, d.exists ? S_IRUSR | S_IWUSR : 0666, tempPath));
  if (fd.get() < 0) throw FileCreateError(path);
  bool ok = true;
  if (d.exists) {
    const mode_t mode = d.st.st_mode & 07777;
    if (d.st.st_uid != ::geteuid() || d.st.st_gid != ::getegid()) {
      // Only possible with privileges; without them the file simply becomes ours.
      [[maybe_unused]] const int ignored = ::fchown(fd.get(), d.st.st_uid, d.st.st_gid);
    }
    ok = ::fchmod(fd.get(), mode) == 0;
  }
  ok = ok && WriteAll(fd.get(), bytes) && (!sync || SyncFd(fd.get()));
  if (!ok) {
    fd.Close();
    ::unlink(tempPath.c_str());
    throw FileCreateError(path);
  }
  return fd.release();
}

void SyncFolder(const std::string& dir) {
  const int dirFd = OpenRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    SyncFd(dirFd);
    ::close(dirFd);
  }
}

}  // namespace

// The bytes go to a temporary file beside the target, are flushed to disk and
// then renamed over the target, so the target holds either its old content or
// the whole new one. A failure removes the temporary file and reports
// FileCreateError(path).
//
// An existing target keeps its permission bits (and, when the program may
// set them, its owner and group); a new file gets 0666 less the umask, as a
// plain create would. A symbolic link is followed, so the file it points to
// is replaced and the link stays. A target that exists but may not be written
// by the user (a read-only file) is refused, as is a folder.
void WriteFileBytes(const std::string& path, std::string_view bytes) {
  const Destination d = Resolve(path);
  if (d.inPlace) {
    WriteInPlace(path, bytes);
    return;
  }
  std::string tempPath;
  Fd fd(WriteTemporary(path, d, bytes, true, tempPath));
  const bool ok = fd.Close() && ::rename(tempPath.c_str(), d.target.c_str()) == 0;
  if (!ok) {
    ::unlink(tempPath.c_str());
    throw FileCreateError(path);
  }
  // Make the rename itself durable; the file is already complete, so a
  // failure here is not reported.
  SyncFolder(d.dir);
}

FileBatch::~FileBatch() {
  for (const Staged& s : staged_) {
    ::close(s.fd);
    ::unlink(s.temp.c_str());
  }
}

void FileBatch::add(const std::string& path, std::string_view bytes) {
  const Destination d = Resolve(path);
  if (d.inPlace) {
    WriteInPlace(path, bytes);
    return;
  }
  Staged s;
  s.path = path;
  s.target = d.target;
  s.dir = d.dir;
  s.fd = WriteTemporary(path, d, bytes, false, s.temp);
  staged_.push_back(std::move(s));
}

std::vector<std::string> FileBatch::commit() {
  std::vector<Staged> staged;
  staged.swap(staged_);
  // One flush of each file system holding a staged file writes them all
  // (a flush per file would cost a disk cache flush each). When a flush
  // reports an error, each file of that file system is flushed on its own to
  // find the ones that failed.
  std::vector<std::pair<dev_t, bool>> devices;  // file system, flushed well
  auto flushed = [&](int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    for (const auto& [dev, ok] : devices) {
      if (dev == st.st_dev) return ok;
    }
    int r = 0;
    while ((r = ::syncfs(fd)) != 0 && errno == EINTR) {
    }
    devices.emplace_back(st.st_dev, r == 0);
    return r == 0;
  };
  std::vector<std::string> failed;
  std::vector<std::string> dirs;
  for (Staged& s : staged) {
    bool ok = flushed(s.fd) || SyncFd(s.fd);
    Fd fd(s.fd);
    ok = fd.Close() && ok;
    ok = ok && ::rename(s.temp.c_str(), s.target.c_str()) == 0;
    if (!ok) {
      ::unlink(s.temp.c_str());
      failed.push_back(s.path);
      continue;
    }
    if (std::find(dirs.begin(), dirs.end(), s.dir) == dirs.end()) dirs.push_back(s.dir);
  }
  // The renames made durable, once per folder.
  for (const std::string& dir : dirs) SyncFolder(dir);
  return failed;
}

void WriteTextFile(const std::string& path, TextView text) {
  WriteFileBytes(path, EncodeTextFile(text));
}

}  // namespace brenvik
