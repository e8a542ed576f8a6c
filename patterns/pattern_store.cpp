#include "patterns/pattern_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <system_error>

#include "platform/code_page.h"
#include "platform/system_dirs.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::patterns {
namespace fs = std::filesystem;

namespace {

std::optional<fs::path>& RootOverride() {
  static std::optional<fs::path> root;
  return root;
}

// File names on disk are UTF-8; the UTF-8 code page gives back any byte
// string unchanged, so a name listed from disk opens the same entry again.
const CodePage& NameCodePage() {
  static const CodePage cp = CodePage::Named("UTF-8");
  return cp;
}

std::u16string NameOf(const std::string& bytes) { return NameCodePage().Decode(bytes); }

bool IsHidden(const std::u16string& name) { return !name.empty() && name[0] == u'.'; }

bool LeavesItsFolder(const std::u16string& name) {
  return name.empty() || name == u"." || name == u".." || name.find(u'/') != std::u16string::npos ||
         name.find(u'\0') != std::u16string::npos;
}

std::string Errno(int err) { return std::strerror(err); }

// The entry name as bytes; a name that would reach outside its folder is refused.
std::string EntryBytes(const std::u16string& name, StoreAction action, const fs::path& where) {
  if (LeavesItsFolder(name))
    throw PatternStoreError(action, where, "the name \"" + vb::ToUtf8(name) + "\" is not a name inside the folder");
  return NameCodePage().Encode(name);
}

// The entry's path for existence tests and reads; nullopt for a name that
// would leave its folder.
std::optional<fs::path> Child(const fs::path& dir, const std::u16string& name) {
  if (LeavesItsFolder(name)) return std::nullopt;
  return dir / NameCodePage().Encode(name);
}

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

std::vector<std::u16string> List(const fs::path& dir, bool filesOnly, const fs::path& errorPath) {
  std::vector<std::u16string> names;
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  if (ec) {
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) return names;
    throw PatternStoreError(StoreAction::ListFolder, errorPath, ec.message());
  }
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::u16string name = NameOf(it->path().filename().native());
    if (IsHidden(name)) continue;
    std::u16string trimmed = vb::Trim(name);
    if (trimmed == u"." || trimmed == u"..") continue;
    if (filesOnly) {
      std::error_code fileEc;
      if (!it->is_regular_file(fileEc)) continue;
      if (vb::Right(name, 3) != u"Dat") continue;
    }
    names.push_back(std::move(name));
  }
  if (ec) throw PatternStoreError(StoreAction::ListFolder, errorPath, ec.message());
  return names;
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

const char* ActionText(StoreAction action) {
  switch (action) {
    case StoreAction::CreateRoot: return "cannot create the pattern root";
    case StoreAction::CreateFolder: return "cannot create the folder";
    case StoreAction::RenameFolder: return "cannot rename the folder";
    case StoreAction::RemoveFolder: return "cannot remove the folder";
    case StoreAction::ListFolder: return "cannot list";
    case StoreAction::ReadPattern: return "cannot read the pattern";
    case StoreAction::WritePattern: return "cannot write the pattern";
    case StoreAction::DeletePattern: return "cannot delete the pattern";
  }
  return "cannot";
}

}  // namespace

PatternStoreError::PatternStoreError(StoreAction action, fs::path path, std::string reason, int error)
    : std::runtime_error(std::string(ActionText(action)) + " " + path.string() + ": " + reason),
      action_(action),
      path_(std::move(path)),
      reason_(std::move(reason)),
      error_(error) {}

fs::path PatternRootPath() {
  if (RootOverride()) return *RootOverride();
  return win::AddInDirectory() / "CodePatrn";
}

void SetPatternRootOverride(fs::path root) {
  if (root.empty())
    RootOverride().reset();
  else
    RootOverride() = std::move(root);
}

bool PatternRootExists() {
  std::error_code ec;
  return fs::is_directory(PatternRootPath(), ec);
}

void CreatePatternRoot() {
  fs::path root = PatternRootPath();
  std::error_code ec;
  fs::create_directories(root, ec);
  if (ec) throw PatternStoreError(StoreAction::CreateRoot, root, ec.message());
  if (!fs::is_directory(root, ec)) throw PatternStoreError(StoreAction::CreateRoot, root, "not a directory");
}

bool PatternFolderExists(const std::u16string& folder) {
  auto path = Child(PatternRootPath(), folder);
  if (!path || IsHidden(folder)) return false;
  std::error_code ec;
  return fs::exists(fs::symlink_status(*path, ec));
}

std::vector<std::u16string> ListPatternFolders() {
  fs::path root = PatternRootPath();
  return List(root, false, root);
}

std::vector<std::u16string> ListPatternFiles(const std::u16string& folder) {
  auto path = Child(PatternRootPath(), folder);
  if (!path) return {};
  return List(*path, true, *path);
}

void CreatePatternFolder(const std::u16string& folder) {
  fs::path path = PatternRootPath() / NameCodePage().Encode(folder);
  std::string name = EntryBytes(folder, StoreAction::CreateFolder, path);
  Fd root(OpenRoot(StoreAction::CreateFolder));
  if (::mkdirat(root.get(), name.c_str(), 0777) != 0) {
    int err = errno;
    throw PatternStoreError(StoreAction::CreateFolder, path, Errno(err), err);
  }
}

void RenamePatternFolder(const std::u16string& from, const std::u16string& to) {
  fs::path root = PatternRootPath();
  fs::path path = root / NameCodePage().Encode(from);
  std::string fromName = EntryBytes(from, StoreAction::RenameFolder, path);
  std::string toName = EntryBytes(to, StoreAction::RenameFolder, root / NameCodePage().Encode(to));
  Fd dir(OpenRoot(StoreAction::RenameFolder));
  if (RenameNoReplace(dir.get(), fromName.c_str(), toName.c_str()) != 0) {
    int err = errno;
    throw PatternStoreError(StoreAction::RenameFolder, path, Errno(err), err);
  }
}

void RemovePatternFolder(const std::u16string& folder) {
  fs::path path = PatternRootPath() / NameCodePage().Encode(folder);
  std::string name = EntryBytes(folder, StoreAction::RemoveFolder, path);
  Fd root(OpenRoot(StoreAction::RemoveFolder));
  // Removes an empty directory only; a symbolic link is not a directory here.
  if (::unlinkat(root.get(), name.c_str(), AT_REMOVEDIR) != 0)
    throw PatternStoreError(StoreAction::RemoveFolder, path, Errno(errno));
}

bool PatternFileExists(const std::u16string& folder, const std::u16string& file) {
  auto dir = Child(PatternRootPath(), folder);
  if (!dir || IsHidden(file)) return false;
  auto path = Child(*dir, file);
  if (!path) return false;
  std::error_code ec;
  return fs::is_regular_file(*path, ec);
}

std::u16string ReadPatternFile(const std::u16string& folder, const std::u16string& file) {
  fs::path root = PatternRootPath();
  fs::path path = root / NameCodePage().Encode(folder) / NameCodePage().Encode(file);
  EntryBytes(folder, StoreAction::ReadPattern, path);
  EntryBytes(file, StoreAction::ReadPattern, path);
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw PatternStoreError(StoreAction::ReadPattern, path, Errno(EISDIR));
  try {
    return PatternTextOfFile(SystemCodePage().Decode(files::ReadAllBytes(path)));
  } catch (const files::FileError& e) {
    throw PatternStoreError(StoreAction::ReadPattern, path, e.what());
  }
}

namespace {

void WritePattern(const std::u16string& folder, const std::u16string& name, const std::u16string& code,
                  files::IfExists ifExists) {
  std::u16string fileName = name + u".Dat";
  fs::path path = PatternRootPath() / NameCodePage().Encode(folder) / NameCodePage().Encode(fileName);
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
  fs::path path = PatternRootPath() / NameCodePage().Encode(folder) / NameCodePage().Encode(file);
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

std::u16string PatternFileText(const std::u16string& code) {
  std::u16string text = vb::Trim(code);
  // Text read from a pattern already ends in its line end (and a lone CR
  // ends a line as CR LF does); adding another would grow the pattern by an
  // empty line each time it is stored again.
  bool endsLine = !text.empty() && (text.back() == vb::kCr || vb::Right(text, 2) == vb::kCrLf);
  if (!endsLine) text += vb::kCrLf;
  return text;
}

std::u16string PatternTextOfFile(const std::u16string& stored) {
  std::u16string out;
  out.reserve(stored.size() + 2);
  size_t start = 0;
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != u'\r') continue;
    out.append(stored, start, i - start);
    out += vb::kCrLf;
    if (i + 1 < stored.size() && stored[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < stored.size()) {
    out.append(stored, start, std::u16string::npos);
    out += vb::kCrLf;
  }
  return out;
}

}  // namespace tarno::patterns
