// The pattern store's writes on POSIX systems: every change goes through a
// descriptor of the root or of the folder, opened without following a
// symbolic link, so that no write leaves the root.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "patterns/pattern_store.h"
#include "patterns/pattern_store_entries.h"
#include "platform/code_page.h"
#include "platform/text_file.h"

namespace tarno::patterns {
namespace fs = std::filesystem;
using entries::EntryBytes;
using entries::EntryPath;

namespace {

std::string Errno(int err) { return entries::ErrnoText(err); }

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

int OpenRoot(StoreAction action) {
  fs::path root = PatternRootPath();
  int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw PatternStoreError(action, root, Errno(errno));
  return fd;
}

// A folder opened for writing into it: a symbolic link in the root is never
// followed, wherever it points.
int OpenFolderForWrite(int root, const std::string& folder, StoreAction action, const fs::path& path) {
  int fd = ::openat(root, folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    struct stat st;
    if ((err == ELOOP || err == ENOTDIR) && ::fstatat(root, folder.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(st.st_mode))
      throw PatternStoreError(action, path, "the folder is a symbolic link");
    throw PatternStoreError(action, path, Errno(err));
  }
  return fd;
}

// Renames unless `to` exists (the kernel's no-replace rename where the file
// system has one).
int RenameNoReplace(int dir, const char* from, const char* to) {
  if (::renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  struct stat st;
  if (::fstatat(dir, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::renameat(dir, from, dir, to);
}

}  // namespace

void CreatePatternFolder(const std::u16string& folder) {
  fs::path path = EntryPath(PatternRootPath(), folder);
  std::string name = EntryBytes(folder, StoreAction::CreateFolder, path);
  Fd root(OpenRoot(StoreAction::CreateFolder));
  if (::mkdirat(root.get(), name.c_str(), 0777) != 0) {
    int err = errno;
    throw PatternStoreError(StoreAction::CreateFolder, path, Errno(err), err);
  }
}

void RenamePatternFolder(const std::u16string& from, const std::u16string& to) {
  fs::path root = PatternRootPath();
  fs::path path = EntryPath(root, from);
  std::string fromName = EntryBytes(from, StoreAction::RenameFolder, path);
  std::string toName = EntryBytes(to, StoreAction::RenameFolder, EntryPath(root, to));
  Fd dir(OpenRoot(StoreAction::RenameFolder));
  if (RenameNoReplace(dir.get(), fromName.c_str(), toName.c_str()) != 0) {
    int err = errno;
    throw PatternStoreError(StoreAction::RenameFolder, path, Errno(err), err);
  }
}

void RemovePatternFolder(const std::u16string& folder) {
  fs::path path = EntryPath(PatternRootPath(), folder);
  std::string name = EntryBytes(folder, StoreAction::RemoveFolder, path);
  Fd root(OpenRoot(StoreAction::RemoveFolder));
  // Removes an empty directory only; a symbolic link is not a directory here.
  if (::unlinkat(root.get(), name.c_str(), AT_REMOVEDIR) != 0)
    throw PatternStoreError(StoreAction::RemoveFolder, path, Errno(errno));
}

namespace {

void WritePattern(const std::u16string& folder, const std::u16string& name, const std::u16string& code,
                  files::IfExists ifExists) {
  std::u16string fileName = name + u".Dat";
  fs::path path = EntryPath(EntryPath(PatternRootPath(), folder), fileName);
  std::string folderBytes = EntryBytes(folder, StoreAction::WritePattern, path);
  std::string fileBytes = EntryBytes(fileName, StoreAction::WritePattern, path);
  std::string bytes = SystemCodePage().Encode(PatternFileText(code));

  Fd root(OpenRoot(StoreAction::WritePattern));
  Fd dir(OpenFolderForWrite(root.get(), folderBytes, StoreAction::WritePattern, path));
  try {
    files::WriteAllBytesAt(dir.get(), fileBytes, bytes, ifExists, path);
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
  std::string folderBytes = EntryBytes(folder, StoreAction::DeletePattern, path);
  std::string fileBytes = EntryBytes(file, StoreAction::DeletePattern, path);
  Fd root(OpenRoot(StoreAction::DeletePattern));
  Fd dir(OpenFolderForWrite(root.get(), folderBytes, StoreAction::DeletePattern, path));
  // A symbolic link named like a pattern is removed itself, never its target.
  if (::unlinkat(dir.get(), fileBytes.c_str(), 0) != 0) {
    int err = errno;
    throw PatternStoreError(StoreAction::DeletePattern, path, Errno(err), err);
  }
}


}  // namespace tarno::patterns
