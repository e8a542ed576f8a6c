// .vbp project files and .vbg project groups, kept line by line so that they
// are written back exactly. Only the keys before the first [section] line
// describe the project; the sections after it belong to other tools.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/files/file_error.h"
#include "host/files/text_lines.h"

namespace tarno::host::files {

// The component kinds a .vbp line can name.
enum class VbpComponentKind : uint8_t {
  Form,
  Module,
  Class,
  UserControl,
  PropertyPage,
  UserDocument,
  Designer,
  ResFile,
  RelatedDoc,
};

// The .vbp key of a kind ("Form", "ResFile32", ...).
std::string_view VbpKey(VbpComponentKind kind);
std::optional<VbpComponentKind> VbpKindOfKey(std::string_view key);

struct VbpComponentLine {
  size_t line = 0;  // 0-based line in the file
  VbpComponentKind kind = VbpComponentKind::Form;
  std::string name;  // Module= and Class= only: the name before ";"
  std::string path;  // bytes in the file's code page, backslashes as written, quotes removed
};

class VbpFile {
 public:
  static VbpFile Parse(const std::filesystem::path& path, std::string bytes, Warnings* warnings);
  static VbpFile Load(const std::filesystem::path& path, Warnings* warnings);

  const std::filesystem::path& path() const { return path_; }
  const TextLines& text() const { return text_; }
  // Line index of the first [section] line (size() when there is none).
  size_t project_end() const { return project_end_; }
  const std::vector<VbpComponentLine>& components() const { return components_; }
  // The raw value of a project key (first occurrence), bytes.
  std::optional<std::string> Value(std::string_view key) const;
  // Name="..." unquoted, else the file's base name (decoded by the caller).
  std::optional<std::string> NameKey() const;
  // Type= as a project type code: Exe 0, OleExe 1, OleDll 2, Control 3.
  int TypeCode() const;

  // The file with `extra` lines (bytes, without line ends) inserted after line
  // `after` (0-based; the new lines take the file's dominant line end).
  std::string Render(const std::vector<std::pair<size_t, std::string>>& inserted = {}) const;
  // Where a new component line goes: after the last component line, else after
  // the last Reference/Object line, else after Type=, else at the top (returns size_t(-1)).
  size_t InsertionPoint() const;

 private:
  std::filesystem::path path_;
  TextLines text_;
  size_t project_end_ = 0;
  std::vector<VbpComponentLine> components_;
  struct Key {
    size_t line;
    std::string key;
    std::string value;
  };
  std::vector<Key> keys_;
};

struct VbgProjectLine {
  size_t line = 0;
  bool startup = false;
  std::string path;  // bytes, backslashes as written
};

class VbgFile {
 public:
  static VbgFile Parse(const std::filesystem::path& path, std::string bytes, Warnings* warnings);
  static VbgFile Load(const std::filesystem::path& path, Warnings* warnings);
  const std::filesystem::path& path() const { return path_; }
  const TextLines& text() const { return text_; }
  const std::vector<VbgProjectLine>& projects() const { return projects_; }

 private:
  std::filesystem::path path_;
  TextLines text_;
  std::vector<VbgProjectLine> projects_;
};

// A path as written in a project file (relative to `base`, backslashes) found
// as Windows would: the exact path first, then each part compared without
// regard to case. nullopt when nothing matches. `written` is UTF-8.
std::optional<std::filesystem::path> ResolveWindowsPath(const std::filesystem::path& base, std::string_view written);

}  // namespace tarno::host::files
