// Makes file-system calls fail on purpose, so that tests can check what the
// program does when a disk is full, a folder is read-only, a file is locked
// or cannot be read. Built twice: as a shared library that is preloaded into
// brenvik-cli (LD_PRELOAD), and linked into the GUI fault tests, where its
// definitions take the place of the C library's for the program's own code.
//
// The fault is chosen by the environment variable BRENVIK_FAULT, read at
// every call, so one process can switch it on and off:
//   enospc:N:DIR   writes to files under DIR fail with ENOSPC once N bytes
//                  have been written to them (a short write first, as a full
//                  disk gives)
//   erofs:DIR      creating, writing, renaming or removing anything under DIR
//                  fails with EROFS (a read-only mount)
//   locked:FILE    FILE cannot be opened for writing, replaced or removed
//                  (EPERM, as for an immutable file)
//   unreadable:FILE  opening FILE fails with EACCES
//   eio-read:FILE  reading FILE fails with EIO
//   eio-sync:DIR   fsync of a file under DIR, or syncfs through one, fails
//                  with EIO
//   rename:DIR     renaming into DIR fails with EXDEV
// Anything else (or no variable) leaves every call alone.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Fault {
  std::string kind;
  std::string where;
  long long limit = 0;
};

long long gWritten = 0;  // bytes written under the enospc folder so far
std::string gLastSpec;   // a new fault starts a new count

Fault CurrentFault() {
  Fault f;
  const char* spec = std::getenv("BRENVIK_FAULT");
  if (spec == nullptr) return f;
  const std::string s = spec;
  if (s != gLastSpec) {
    gLastSpec = s;
    gWritten = 0;
  }
  const std::size_t colon = s.find(':');
  if (colon == std::string::npos) return f;
  f.kind = s.substr(0, colon);
  f.where = s.substr(colon + 1);
  if (f.kind == "enospc") {
    const std::size_t second = f.where.find(':');
    if (second == std::string::npos) return Fault{};
    f.limit = std::atoll(f.where.substr(0, second).c_str());
    f.where = f.where.substr(second + 1);
  }
  return f;
}

// An absolute, clean-enough form of path for prefix tests.
std::string Absolute(const char* path) {
  if (path == nullptr) return {};
  if (path[0] == '/') return path;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
  return std::string(cwd) + "/" + path;
}

bool Under(const std::string& path, const std::string& dir) {
  if (dir.empty()) return false;
  std::string d = dir;
  if (d.back() != '/') d.push_back('/');
  return path.rfind(d, 0) == 0;
}

std::string FdPath(int fd) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char target[4096];
  const ssize_t n = ::readlink(link, target, sizeof target - 1);
  if (n <= 0) return {};
  return std::string(target, static_cast<std::size_t>(n));
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

bool Writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

// errno for opening path with flags, or 0 to let the call through.
int OpenFault(const char* rawPath, int flags) {
  const Fault f = CurrentFault();
  if (f.kind.empty()) return 0;
  const std::string path = Absolute(rawPath);
  if (f.kind == "erofs" && Writes(flags) && Under(path, f.where)) return EROFS;
  if (f.kind == "locked" && Writes(flags) && path == f.where) return EPERM;
  if (f.kind == "unreadable" && path == f.where) return EACCES;
  return 0;
}

using OpenFn = int (*)(const char*, int, ...);
using OpenAtFn = int (*)(int, const char*, int, ...);

int DoOpen(const char* name, const char* path, int flags, mode_t mode) {
  if (const int e = OpenFault(path, flags)) {
    errno = e;
    return -1;
  }
  return Next<OpenFn>(name)(path, flags, mode);
}

int DoOpenAt(const char* name, int dirfd, const char* path, int flags, mode_t mode) {
  if (path != nullptr && (path[0] == '/' || dirfd == AT_FDCWD)) {
    if (const int e = OpenFault(path, flags)) {
      errno = e;
      return -1;
    }
  }
  return Next<OpenAtFn>(name)(dirfd, path, flags, mode);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = static_cast<mode_t>(va_arg(ap, int));
    va_end(ap);
  }
  return DoOpen("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = static_cast<mode_t>(va_arg(ap, int));
    va_end(ap);
  }
  return DoOpen("open64", path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = static_cast<mode_t>(va_arg(ap, int));
    va_end(ap);
  }
  return DoOpenAt("openat", dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list ap;
    va_start(ap, flags);
    mode = static_cast<mode_t>(va_arg(ap, int));
    va_end(ap);
  }
  return DoOpenAt("openat64", dirfd, path, flags, mode);
}

ssize_t write(int fd, const void* buf, size_t count) {
  using WriteFn = ssize_t (*)(int, const void*, size_t);
  static const WriteFn real = Next<WriteFn>("write");
  const Fault f = CurrentFault();
  if (f.kind == "enospc" && fd > 2 && Under(FdPath(fd), f.where)) {
    const long long room = f.limit - gWritten;
    if (room <= 0) {
      errno = ENOSPC;
      return -1;
    }
    if (static_cast<long long>(count) > room) count = static_cast<size_t>(room);
    const ssize_t n = real(fd, buf, count);
    if (n > 0) gWritten += n;
    return n;
  }
  if (f.kind == "erofs" && fd > 2 && Under(FdPath(fd), f.where)) {
    errno = EROFS;
    return -1;
  }
  return real(fd, buf, count);
}

ssize_t read(int fd, void* buf, size_t count) {
  using ReadFn = ssize_t (*)(int, void*, size_t);
  static const ReadFn real = Next<ReadFn>("read");
  const Fault f = CurrentFault();
  if (f.kind == "eio-read" && fd > 2 && FdPath(fd) == f.where) {
    errno = EIO;
    return -1;
  }
  return real(fd, buf, count);
}

int syncfs(int fd) {
  using SyncFn = int (*)(int);
  static const SyncFn real = Next<SyncFn>("syncfs");
  const Fault f = CurrentFault();
  if (f.kind == "eio-sync" && Under(FdPath(fd), f.where)) {
    errno = EIO;
    return -1;
  }
  return real(fd);
}

int fsync(int fd) {
  using SyncFn = int (*)(int);
  static const SyncFn real = Next<SyncFn>("fsync");
  const Fault f = CurrentFault();
  if (f.kind == "eio-sync" && Under(FdPath(fd), f.where)) {
    errno = EIO;
    return -1;
  }
  return real(fd);
}

int rename(const char* from, const char* to) {
  using RenameFn = int (*)(const char*, const char*);
  static const RenameFn real = Next<RenameFn>("rename");
  const Fault f = CurrentFault();
  const std::string target = Absolute(to);
  if ((f.kind == "erofs" && (Under(target, f.where) || Under(Absolute(from), f.where))) ||
      (f.kind == "rename" && Under(target, f.where))) {
    errno = f.kind == "erofs" ? EROFS : EXDEV;
    return -1;
  }
  if (f.kind == "locked" && target == f.where) {
    errno = EPERM;
    return -1;
  }
  return real(from, to);
}

int unlink(const char* path) {
  using UnlinkFn = int (*)(const char*);
  static const UnlinkFn real = Next<UnlinkFn>("unlink");
  const Fault f = CurrentFault();
  const std::string p = Absolute(path);
  if ((f.kind == "erofs" && Under(p, f.where)) || (f.kind == "locked" && p == f.where)) {
    errno = f.kind == "erofs" ? EROFS : EPERM;
    return -1;
  }
  return real(path);
}

int access(const char* path, int mode) {
  using AccessFn = int (*)(const char*, int);
  static const AccessFn real = Next<AccessFn>("access");
  const Fault f = CurrentFault();
  if ((mode & W_OK) != 0) {
    const std::string p = Absolute(path);
    if (f.kind == "erofs" && (Under(p, f.where) || p == f.where)) {
      errno = EROFS;
      return -1;
    }
    if (f.kind == "locked" && p == f.where) {
      errno = EPERM;
      return -1;
    }
  }
  return real(path, mode);
}

}  // extern "C"
