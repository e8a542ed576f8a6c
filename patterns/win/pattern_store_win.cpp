// The pattern store's writes on Windows, through the wide-character API. A
// folder that is a symbolic link or junction is refused for writes, as on
// other systems; deleting a pattern that is a link removes the link itself.
#include <windows.h>

#include <random>
#include <system_error>

#include "patterns/pattern_store.h"
#include "patterns/pattern_store_entries.h"
#include "platform/code_page.h"
#include "platform/win/error_text.h"

namespace tarno::patterns {
namespace fs = std::filesystem;
using entries::EntryBytes;
using entries::EntryPath;

namespace {

[[noreturn]] void Fail(StoreAction action, const fs::path& path, const std::string& prefix = {}) {
  throw PatternStoreError(action, path, prefix + win::ErrorText(GetLastError()));
}

fs::path Root(StoreAction action) {
  fs::path root = PatternRootPath();
  std::error_code ec;
  if (!fs::is_directory(root, ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    Fail(action, root);
  }
  return root;
}

bool IsLink(const fs::path& p) {
  DWORD attrs = GetFileAttributesW(p.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The folder a write goes into: a real directory in the root.
fs::path FolderForWrite(const std::u16string& folder, StoreAction action, const fs::path& path) {
  fs::path dir = EntryPath(Root(action), folder);
  if (IsLink(dir)) throw PatternStoreError(action, path, "the folder is a symbolic link");
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    Fail(action, path);
  }
  return dir;
}

std::wstring TemporaryName() {
  static std::mt19937_64 rng(std::random_device{}());
  wchar_t buf[32];
  swprintf(buf, 32, L".tarno-%012llx", static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
  return buf;
}

}  // namespace

void CreatePatternFolder(const std::u16string& folder) {
  fs::path path = EntryPath(PatternRootPath(), folder);
  EntryBytes(folder, StoreAction::CreateFolder, path);
  Root(StoreAction::CreateFolder);
  if (!CreateDirectoryW(path.c_str(), nullptr)) Fail(StoreAction::CreateFolder, path);
}

void RenamePatternFolder(const std::u16string& from, const std::u16string& to) {
  fs::path root = PatternRootPath();
  fs::path path = EntryPath(root, from);
  EntryBytes(from, StoreAction::RenameFolder, path);
  EntryBytes(to, StoreAction::RenameFolder, EntryPath(root, to));
  Root(StoreAction::RenameFolder);
  // Without MOVEFILE_REPLACE_EXISTING an existing `to` makes the move fail.
  if (!MoveFileExW(path.c_str(), EntryPath(root, to).c_str(), 0)) Fail(StoreAction::RenameFolder, path);
}

void RemovePatternFolder(const std::u16string& folder) {
  fs::path path = EntryPath(PatternRootPath(), folder);
  EntryBytes(folder, StoreAction::RemoveFolder, path);
  Root(StoreAction::RemoveFolder);
  // Removes an empty directory only (or a link standing for one, not its target).
  if (!RemoveDirectoryW(path.c_str())) Fail(StoreAction::RemoveFolder, path);
}

void WritePatternFile(const std::u16string& folder, const std::u16string& name, const std::u16string& code) {
  std::u16string fileName = name + u".Dat";
  fs::path path = EntryPath(EntryPath(PatternRootPath(), folder), fileName);
  EntryBytes(folder, StoreAction::WritePattern, path);
  EntryBytes(fileName, StoreAction::WritePattern, path);
  std::string bytes = SystemCodePage().Encode(PatternFileText(code));
  fs::path dir = FolderForWrite(folder, StoreAction::WritePattern, path);

  fs::path tmp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 16 && h == INVALID_HANDLE_VALUE; ++attempt) {
    tmp = dir / TemporaryName();
    h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (h == INVALID_HANDLE_VALUE) Fail(StoreAction::WritePattern, path, "cannot create a temporary file: ");
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size());
  ok = ok && FlushFileBuffers(h);
  DWORD err = GetLastError();
  ok = CloseHandle(h) && ok;
  if (ok && !MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ok = false;
    err = GetLastError();
  }
  if (!ok) {
    DeleteFileW(tmp.c_str());
    SetLastError(err);
    Fail(StoreAction::WritePattern, path);
  }
}

void DeletePatternFile(const std::u16string& folder, const std::u16string& file) {
  fs::path path = EntryPath(EntryPath(PatternRootPath(), folder), file);
  EntryBytes(folder, StoreAction::DeletePattern, path);
  EntryBytes(file, StoreAction::DeletePattern, path);
  FolderForWrite(folder, StoreAction::DeletePattern, path);
  if (!DeleteFileW(path.c_str())) Fail(StoreAction::DeletePattern, path);
}

}  // namespace tarno::patterns
