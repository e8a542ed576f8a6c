#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>

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

bool IsReadOnlyFile(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // The superuser may write anything: for it, as for Windows' read-only
  // attribute, a file without any write permission is read-only.
  if (::geteuid() == 0) return (st.st_mode & 0222) == 0;
  return ::access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS || errno == EPERM);
}

void WriteAllBytes(const fs::path& path, std::string_view bytes) {
  // A read-only file (a checked-in file under version control) is never replaced.
  if (IsReadOnlyFile(path)) throw FileError(path, "the file is read-only");
  static std::mt19937_64 rng(std::random_device{}());
  fs::path tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = path;
    tmp += ".tmp" + std::to_string(rng() % 1000000000);
    if (Simulated(WriteFault::CannotCreate, EACCES)) break;
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw FileError(path, std::string("cannot create temporary file: ") + std::strerror(errno));
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = Simulated(WriteFault::DiskFull, ENOSPC) ? -1 : ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      throw FileError(path, std::string("write failed: ") + std::strerror(err));
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // Keep the permissions of a file we replace.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    throw FileError(path, std::string("write failed: ") + std::strerror(err));
  }
  if (Simulated(WriteFault::RenameFails, EACCES) || std::rename(tmp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    throw FileError(path, std::string("cannot replace file: ") + std::strerror(err));
  }
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

void CopyFileAtomic(const fs::path& source, const fs::path& target) {
  WriteAllBytes(target, ReadAllBytes(source));
}

}  // namespace tarno::files
