// The pattern store's writes on Windows, through the wide-character API. A
// folder that is a symbolic link or junction is refused for writes, as on
// other systems; deleting a pattern that is a link removes the link itself.
#include <windows.h>

#include <cerrno>
#include <system_error>

#include "patterns/pattern_store.h"
#include "patterns/pattern_store_entries.h"
#include "platform/code_page.h"
#include "platform/text_file.h"
#include "platform/win/error_text.h"

namespace tarno::patterns {
namespace fs = std::filesystem;
using entries::EntryBytes;
using entries::EntryPath;

namespace {

// The C library's number for the Windows errors that callers tell apart.
int ErrnoOf(DWORD err) {
  switch (err) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_ACCESS_DENIED: return EACCES;
    default: return 0;
  }
}

[[noreturn]] void Fail(StoreAction action, const fs::path& path, const std::string& prefix = {}) {
  DWORD err = GetLastError();
  throw PatternStoreError(action, path, prefix + win::ErrorText(err), ErrnoOf(err));
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

namespace {

void WritePattern(const std::u16string& folder, const std::u16string& name, const std::u16string& code,
                  files::IfExists ifExists) {
  std::u16string fileName = name + u".Dat";
  fs::path path = EntryPath(EntryPath(PatternRootPath(), folder), fileName);
  EntryBytes(folder, StoreAction::WritePattern, path);
  EntryBytes(fileName, StoreAction::WritePattern, path);
  std::string bytes = SystemCodePage().Encode(PatternFileText(code));
  FolderForWrite(folder, StoreAction::WritePattern, path);
  try {
    files::WriteAllBytes(path, bytes, ifExists);
  } catch (const files::FileExistsError& e) {
    throw PatternStoreError(StoreAction::WritePattern, path, e.reason(), EEXIST);
  } catch (const files::FileError& e) {
    throw PatternStoreError(StoreAction::WritePattern, path, e.reason());
  }
}

}  // namespace

void WritePatternFile(const std::u16string& folder, const std::u16string& name, const std::u16string& code) {
  WritePattern(folder, name, code, files::IfExists::Replace);
}

void CreatePatternFile(const std::u16string& folder, const std::u16string& name, const std::u16string& code) {
  WritePattern(folder, name, code, files::IfExists::Refuse);
}

void DeletePatternFile(const std::u16string& folder, const std::u16string& file) {
  fs::path path = EntryPath(EntryPath(PatternRootPath(), folder), file);
  EntryBytes(folder, StoreAction::DeletePattern, path);
  EntryBytes(file, StoreAction::DeletePattern, path);
  FolderForWrite(folder, StoreAction::DeletePattern, path);
  if (!DeleteFileW(path.c_str())) Fail(StoreAction::DeletePattern, path);
}

}  // namespace tarno::patterns
