#include "platform/text_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace tarno::files {
namespace fs = std::filesystem;

FileError::FileError(const fs::path& path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(path), reason_(reason) {}

namespace {
std::mutex unreadable_mutex;
fs::path unreadable;  // guarded by unreadable_mutex
bool SimulatedUnreadable(const fs::path& path) {
  std::lock_guard<std::mutex> lock(unreadable_mutex);
  if (unreadable.empty() || path.lexically_normal() != unreadable) return false;
  errno = EACCES;
  return true;
}
}  // namespace

void SimulateUnreadableFile(const fs::path& path) {
  std::lock_guard<std::mutex> lock(unreadable_mutex);
  unreadable = path.lexically_normal();
}

std::string ReadAllBytes(const fs::path& path) {
  int fd = SimulatedUnreadable(path) ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(path, std::string("cannot open for reading: ") + std::strerror(errno));
  std::string out;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      throw FileError(path, std::string("read failed: ") + std::strerror(err));
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return out;
}

namespace {
std::atomic<WriteFault> simulated_fault{WriteFault::None};
bool Simulated(WriteFault fault, int err) {
  if (simulated_fault.load() != fault) return false;
  errno = err;
  return true;
}
}  // namespace

void SimulateWriteFault(WriteFault fault) { simulated_fault = fault; }

namespace {

std::string Reason(const char* what, int err) { return std::string(what) + ": " + std::strerror(err); }

// Renames `from` to `to` inside one folder unless `to` exists. Where the
// file system has no such rename, a hard link is just as exclusive; only
// where it has neither is the test and the rename two steps.
int RenameNoReplace(int dir, const char* from, const char* to) {
  if (::renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  if (::linkat(dir, from, dir, to, 0) == 0) return ::unlinkat(dir, from, 0), 0;
  if (errno == EEXIST) return -1;
  struct stat st;
  if (::fstatat(dir, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::renameat(dir, from, dir, to);
}

// The temporary file of one write: opened (or taken over from a write that
// died), locked and emptied; removed again unless Commit renamed it into place.
class TemporaryFile {
 public:
  TemporaryFile(int dir, const std::string& name, const fs::path& shown)
      : dir_(dir), tmp_(TemporaryNameFor(name)), name_(name), shown_(shown) {
    for (int attempt = 0; attempt < 16; ++attempt) {
      if (Simulated(WriteFault::CannotCreate, EACCES)) break;
      fd_ = ::openat(dir_, tmp_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
      if (fd_ < 0) break;
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
      // While we waited, the writer before us may have renamed this file into
      // place or removed it: only the file that still has the name is ours.
      // A second link to it (made by someone else) would be emptied too.
      struct stat mine, named;
      if (::fstat(fd_, &mine) == 0 && ::fstatat(dir_, tmp_.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
          mine.st_dev == named.st_dev && mine.st_ino == named.st_ino && S_ISREG(mine.st_mode)) {
        if (mine.st_nlink == 1 && ::ftruncate(fd_, 0) == 0) return;
        if (mine.st_nlink != 1) ::unlinkat(dir_, tmp_.c_str(), 0);
      }
      ::close(fd_);
      fd_ = -1;
    }
    throw FileError(shown_, Reason("cannot create temporary file", errno ? errno : EAGAIN));
  }
  ~TemporaryFile() {
    if (fd_ < 0) return;
    ::unlinkat(dir_, tmp_.c_str(), 0);
    ::close(fd_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      ssize_t n = Simulated(WriteFault::DiskFull, ENOSPC) ? -1 : ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw FileError(shown_, Reason("write failed", n < 0 ? errno : EIO));
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }

  void Commit(IfExists if_exists) {
    // Keep the permissions of a file we replace.
    struct stat st;
    if (if_exists == IfExists::Replace && ::fstatat(dir_, name_.c_str(), &st, 0) == 0)
      ::fchmod(fd_, st.st_mode & 07777);
    if (::fsync(fd_) != 0) throw FileError(shown_, Reason("write failed", errno));
    if (Simulated(WriteFault::RenameFails, EACCES)) throw FileError(shown_, Reason("cannot replace file", errno));
    if (if_exists == IfExists::Refuse) {
      if (RenameNoReplace(dir_, tmp_.c_str(), name_.c_str()) != 0) {
        if (errno == EEXIST) throw FileExistsError(shown_, "the file exists already");
        throw FileError(shown_, Reason("cannot create file", errno));
      }
    } else if (::renameat(dir_, tmp_.c_str(), dir_, name_.c_str()) != 0) {
      throw FileError(shown_, Reason("cannot replace file", errno));
    }
    // The lock goes with the descriptor, after the rename.
    ::close(fd_);
    fd_ = -1;
  }

 private:
  int dir_;
  int fd_ = -1;
  std::string tmp_, name_;
  fs::path shown_;
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The folder of a path, opened, and the path's last part.
int OpenFolderOf(const fs::path& path, std::string& name) {
  name = path.filename().native();
  if (name.empty() || name == "." || name == "..") throw FileError(path, Reason("cannot write", EISDIR));
  fs::path folder = path.parent_path();
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw FileError(path, Reason("cannot create temporary file", errno));
  return fd;
}

// A byte-stable hash for temporary names of very long file names.
uint64_t Fnv1a(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

}  // namespace

std::string TemporaryNameFor(const std::string& name) {
  std::string tmp = "." + name + ".tarno-tmp";
  if (tmp.size() <= NAME_MAX) return tmp;
  char buf[48];
  std::snprintf(buf, sizeof buf, ".tarno-%016llx.tmp", static_cast<unsigned long long>(Fnv1a(name)));
  return buf;
}

void WriteAllBytesAt(int dir_fd, const std::string& name, std::string_view bytes, IfExists if_exists,
                     const fs::path& shown) {
  TemporaryFile tmp(dir_fd, name, shown);
  tmp.Write(bytes);
  tmp.Commit(if_exists);
}

void WriteAllBytes(const fs::path& path, std::string_view bytes, IfExists if_exists) {
  std::string name;
  Descriptor dir(OpenFolderOf(path, name));
  WriteAllBytesAt(dir.get(), name, bytes, if_exists, path);
}

std::u16string ReadTextFile(const fs::path& path) { return ReadTextFile(path, SystemCodePage()); }
std::u16string ReadTextFile(const fs::path& path, const CodePage& cp) {
  return cp.Decode(ReadAllBytes(path));
}

void WriteTextFile(const fs::path& path, std::u16string_view text) {
  WriteTextFile(path, text, SystemCodePage());
}
void WriteTextFile(const fs::path& path, std::u16string_view text, const CodePage& cp) {
  WriteAllBytes(path, cp.Encode(text));
}

void CopyFileAtomic(const fs::path& source, const fs::path& target, std::uintmax_t max_bytes) {
  // Not blocking on a FIFO: it is refused below, never read.
  Descriptor in(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (in.get() < 0) throw FileError(source, Reason("cannot open for reading", errno));
  struct stat st;
  if (::fstat(in.get(), &st) != 0) throw FileError(source, Reason("cannot open for reading", errno));
  if (!S_ISREG(st.st_mode)) throw NotAFileError(source, "not a plain file");
  auto too_large = [&] { return FileTooLargeError(source, "larger than " + std::to_string(max_bytes) + " bytes"); };
  if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) throw too_large();

  std::string name;
  Descriptor dir(OpenFolderOf(target, name));
  TemporaryFile tmp(dir.get(), name, target);
  std::uintmax_t copied = 0;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(in.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(source, Reason("read failed", errno));
    if (n == 0) break;
    // The file may grow while it is copied.
    copied += static_cast<std::uintmax_t>(n);
    if (copied > max_bytes) throw too_large();
    tmp.Write(std::string_view(buf, static_cast<size_t>(n)));
  }
  tmp.Commit(IfExists::Replace);
}

}  // namespace tarno::files
