#include "patterns/pattern_store.h"
#include "patterns/pattern_store_entries.h"

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

std::u16string NameOf(const std::u8string& bytes) {
  return NameCodePage().Decode(std::string(bytes.begin(), bytes.end()));
}

bool IsHidden(const std::u16string& name) { return !name.empty() && name[0] == u'.'; }

bool LeavesItsFolder(const std::u16string& name) {
  return name.empty() || name == u"." || name == u".." || name.find(u'/') != std::u16string::npos ||
         name.find(u'\0') != std::u16string::npos;
}

}  // namespace

namespace entries {

std::string ErrnoText(int err) { return std::strerror(err); }

std::string EntryBytes(const std::u16string& name, StoreAction action, const fs::path& where) {
  if (LeavesItsFolder(name))
    throw PatternStoreError(action, where, "the name \"" + vb::ToUtf8(name) + "\" is not a name inside the folder");
  return NameCodePage().Encode(name);
}

// A char8_t name is UTF-8 on every system (a plain string would be taken in
// the C runtime's locale on Windows).
fs::path EntryPath(const fs::path& dir, const std::u16string& name) {
  std::string bytes = NameCodePage().Encode(name);
  return dir / fs::path(std::u8string(bytes.begin(), bytes.end()));
}

}  // namespace entries

namespace {
using entries::EntryBytes;
using entries::EntryPath;

// The entry's path for existence tests and reads; nullopt for a name that
// would leave its folder.
std::optional<fs::path> Child(const fs::path& dir, const std::u16string& name) {
  if (LeavesItsFolder(name)) return std::nullopt;
  return EntryPath(dir, name);
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
    std::u16string name = NameOf(it->path().filename().u8string());
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
  fs::path path = EntryPath(EntryPath(root, folder), file);
  EntryBytes(folder, StoreAction::ReadPattern, path);
  EntryBytes(file, StoreAction::ReadPattern, path);
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw PatternStoreError(StoreAction::ReadPattern, path, entries::ErrnoText(EISDIR));
  try {
    return PatternTextOfFile(SystemCodePage().Decode(files::ReadAllBytes(path)));
  } catch (const files::FileError& e) {
    throw PatternStoreError(StoreAction::ReadPattern, path, e.what());
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
