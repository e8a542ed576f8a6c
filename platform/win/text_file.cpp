// Whole-file reads and writes through the wide-character file API, so that
// any file name opens whatever the ANSI code page; writes go through a
// temporary file in the same folder and MoveFileExW over the target.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <random>

#include "platform/text_file.h"
#include "platform/win/error_text.h"

namespace tarno::files {
namespace fs = std::filesystem;

FileError::FileError(const fs::path& path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(path), reason_(reason) {}

namespace {

std::string Reason(DWORD err) { return win::ErrorText(err); }

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool Close() {
    if (!ok()) return true;
    bool closed = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

std::mutex unreadable_mutex;
fs::path unreadable;  // guarded by unreadable_mutex
bool SimulatedUnreadable(const fs::path& path) {
  std::lock_guard<std::mutex> lock(unreadable_mutex);
  if (unreadable.empty() || path.lexically_normal() != unreadable) return false;
  SetLastError(ERROR_ACCESS_DENIED);
  return true;
}

std::atomic<WriteFault> simulated_fault{WriteFault::None};
bool Simulated(WriteFault fault, DWORD err) {
  if (simulated_fault.load() != fault) return false;
  SetLastError(err);
  return true;
}

}  // namespace

void SimulateUnreadableFile(const fs::path& path) {
  std::lock_guard<std::mutex> lock(unreadable_mutex);
  unreadable = path.lexically_normal();
}

void SimulateWriteFault(WriteFault fault) { simulated_fault = fault; }

std::string ReadAllBytes(const fs::path& path) {
  Handle h(SimulatedUnreadable(path)
               ? INVALID_HANDLE_VALUE
               : CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.ok()) throw FileError(path, "cannot open for reading: " + Reason(GetLastError()));
  std::string out;
  LARGE_INTEGER size;
  if (GetFileSizeEx(h.get(), &size) && size.QuadPart > 0) out.reserve(static_cast<size_t>(size.QuadPart));
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h.get(), buf, sizeof buf, &n, nullptr)) {
      DWORD err = GetLastError();
      // A folder opens for reading but cannot be read.
      throw FileError(path, "read failed: " + Reason(err));
    }
    if (n == 0) break;
    out.append(buf, n);
  }
  return out;
}

void WriteAllBytes(const fs::path& path, std::string_view bytes) {
  static std::mt19937_64 rng(std::random_device{}());
  fs::path tmp;
  const DWORD attrs = GetFileAttributesW(path.c_str());
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 16 && created == INVALID_HANDLE_VALUE; ++attempt) {
    tmp = path;
    tmp += ".tmp" + std::to_string(rng() % 1000000000);
    if (Simulated(WriteFault::CannotCreate, ERROR_ACCESS_DENIED)) break;
    created = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  Handle h(created);
  if (!h.ok()) throw FileError(path, "cannot create temporary file: " + Reason(GetLastError()));
  auto fail = [&](const char* what) {
    DWORD err = GetLastError();
    h.Close();
    DeleteFileW(tmp.c_str());
    throw FileError(path, what + Reason(err));
  };
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    DWORD chunk = static_cast<DWORD>(left < (1u << 30) ? left : (1u << 30));
    DWORD n = 0;
    if (Simulated(WriteFault::DiskFull, ERROR_DISK_FULL) || !WriteFile(h.get(), p, chunk, &n, nullptr) || n == 0)
      fail("write failed: ");
    p += n;
    left -= n;
  }
  if (!FlushFileBuffers(h.get()) || !h.Close()) fail("write failed: ");
  // A read-only target is never replaced (MoveFileExW would replace it).
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    fail("cannot replace file: ");
  }
  if (Simulated(WriteFault::RenameFails, ERROR_ACCESS_DENIED) ||
      !MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    fail("cannot replace file: ");
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
