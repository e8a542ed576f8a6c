// Whole-file reads and writes through the wide-character file API, so that
// any file name opens whatever the ANSI code page; writes go through a
// temporary file in the same folder, named after the target, and
// MoveFileExW over the target.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <cstdint>
#include <cstdio>

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

namespace {

std::string Reason(const char* what, DWORD err) { return std::string(what) + ": " + Reason(err); }

// The temporary file of one write, named after the target so that a write
// that died is taken over by the next. It is held without read or write
// sharing while it is written, so two writers of one file take turns; delete
// sharing lets it be renamed while still held.
class TemporaryFile {
 public:
  TemporaryFile(const fs::path& target, const fs::path& shown) : shown_(shown) {
    std::u8string name = target.filename().u8string();
    std::string tmp_name = TemporaryNameFor(std::string(name.begin(), name.end()));
    tmp_ = target.parent_path() / fs::path(std::u8string(tmp_name.begin(), tmp_name.end()));
    for (int attempt = 0; attempt < 500; ++attempt) {
      if (Simulated(WriteFault::CannotCreate, ERROR_ACCESS_DENIED)) break;
      h_ = CreateFileW(tmp_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
      if (h_ != INVALID_HANDLE_VALUE) {
        if (SetEndOfFile(h_)) return;  // opened at offset 0: empties a taken-over file
        DWORD err = GetLastError();
        CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        SetLastError(err);
        break;
      }
      if (GetLastError() != ERROR_SHARING_VIOLATION) break;
      Sleep(10);  // another writer of the same file holds it
    }
    throw FileError(shown_, Reason("cannot create temporary file", GetLastError()));
  }
  ~TemporaryFile() {
    if (h_ == INVALID_HANDLE_VALUE) return;
    CloseHandle(h_);
    DeleteFileW(tmp_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
      DWORD n = 0;
      if (Simulated(WriteFault::DiskFull, ERROR_DISK_FULL) || !WriteFile(h_, bytes.data(), chunk, &n, nullptr) ||
          n == 0)
        throw FileError(shown_, Reason("write failed", GetLastError()));
      bytes.remove_prefix(n);
    }
  }

  void Commit(const fs::path& target, IfExists if_exists) {
    if (!FlushFileBuffers(h_)) throw FileError(shown_, Reason("write failed", GetLastError()));
    if (if_exists == IfExists::Refuse) {
      // Without MOVEFILE_REPLACE_EXISTING the move fails on a name that is taken.
      if (Simulated(WriteFault::RenameFails, ERROR_ACCESS_DENIED) ||
          !MoveFileExW(tmp_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        DWORD err = GetLastError();
        if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS)
          throw FileExistsError(shown_, "the file exists already");
        throw FileError(shown_, Reason("cannot create file", err));
      }
    } else {
      // A read-only target is never replaced (MoveFileExW would replace it).
      const DWORD attrs = GetFileAttributesW(target.c_str());
      if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        throw FileError(shown_, Reason("cannot replace file", ERROR_ACCESS_DENIED));
      if (Simulated(WriteFault::RenameFails, ERROR_ACCESS_DENIED) ||
          !MoveFileExW(tmp_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileError(shown_, Reason("cannot replace file", GetLastError()));
    }
    // The hold goes with the handle, after the rename.
    CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
  fs::path tmp_;
  fs::path shown_;
};

void CheckWritableName(const fs::path& path) {
  fs::path name = path.filename();
  if (name.empty() || name == "." || name == "..") throw FileError(path, Reason("cannot write", ERROR_DIRECTORY));
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
  if (tmp.size() <= 255) return tmp;
  char buf[48];
  std::snprintf(buf, sizeof buf, ".tarno-%016llx.tmp", static_cast<unsigned long long>(Fnv1a(name)));
  return buf;
}

bool IsReadOnlyFile(const fs::path& path) {
  // Windows' read-only attribute, on a file (a folder's means something else).
  const DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY) && (attrs & FILE_ATTRIBUTE_READONLY);
}

void WriteAllBytes(const fs::path& path, std::string_view bytes, IfExists if_exists) {
  // A read-only file (a checked-in file under version control) is never replaced.
  if (IsReadOnlyFile(path)) throw FileError(path, "the file is read-only");
  CheckWritableName(path);
  TemporaryFile tmp(path, path);
  tmp.Write(bytes);
  tmp.Commit(path, if_exists);
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
  const DWORD attrs = GetFileAttributesW(source.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
    throw NotAFileError(source, "not a plain file");
  Handle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in.ok()) throw FileError(source, Reason("cannot open for reading", GetLastError()));
  if (GetFileType(in.get()) != FILE_TYPE_DISK) throw NotAFileError(source, "not a plain file");
  auto too_large = [&] { return FileTooLargeError(source, "larger than " + std::to_string(max_bytes) + " bytes"); };
  LARGE_INTEGER size;
  if (GetFileSizeEx(in.get(), &size) && static_cast<std::uintmax_t>(size.QuadPart) > max_bytes) throw too_large();

  CheckWritableName(target);
  TemporaryFile tmp(target, target);
  std::uintmax_t copied = 0;
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(in.get(), buf, sizeof buf, &n, nullptr)) throw FileError(source, Reason("read failed", GetLastError()));
    if (n == 0) break;
    // The file may grow while it is copied.
    copied += n;
    if (copied > max_bytes) throw too_large();
    tmp.Write(std::string_view(buf, n));
  }
  tmp.Commit(target, IfExists::Replace);
}

}  // namespace tarno::files
