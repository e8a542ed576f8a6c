// The code pattern store: a two-level folder tree under the pattern root
// ("CodePatrn" in the add-in's folder). Each folder is a directory directly
// in the root; each pattern is a file "<name>.Dat" directly in a folder,
// holding its code in the system code page with CR LF line ends. The
// directory listing is the whole catalogue: nothing is cached and every call
// goes to the file system.
//
// Names are UTF-16; on disk they are UTF-8. Entries whose name starts with
// "." are hidden and never listed. No operation leaves the root: a name that
// holds "/" or a NUL, or is "." or "..", is a StoreError, and writes and
// deletes never follow a symbolic link standing for a folder.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarno::patterns {

// What the store was doing when the file system refused.
enum class StoreAction { CreateRoot, CreateFolder, RenameFolder, RemoveFolder, ListFolder, ReadPattern, WritePattern, DeletePattern };

// A file-system failure of a store operation; nothing was changed.
class PatternStoreError : public std::runtime_error {
 public:
  PatternStoreError(StoreAction action, std::filesystem::path path, std::string reason, int error = 0);
  StoreAction action() const { return action_; }
  // The system's error number where one is known (EEXIST: the name is taken), else 0.
  int error() const { return error_; }
  const std::filesystem::path& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  StoreAction action_;
  std::filesystem::path path_;
  std::string reason_;
  int error_;
};

// The pattern root: <add-in folder>/CodePatrn unless overridden.
std::filesystem::path PatternRootPath();
// Moves the root for this process (the command line's --root); empty restores it.
void SetPatternRootOverride(std::filesystem::path root);

// Whether the root is there as a directory.
bool PatternRootExists();
// Creates the root (and the add-in folder above it when missing).
void CreatePatternRoot();

// An entry (directory or plain file, not hidden) of that name lies in the root.
bool PatternFolderExists(const std::u16string& folder);
// Every entry of the root that is not hidden, in the file system's order.
std::vector<std::u16string> ListPatternFolders();
// The plain files of a folder whose name ends in "Dat" (case-sensitive), not
// hidden, in the file system's order. A folder that is a plain file or
// missing has none.
std::vector<std::u16string> ListPatternFiles(const std::u16string& folder);

void CreatePatternFolder(const std::u16string& folder);
// Fails when an entry named `to` exists already.
void RenamePatternFolder(const std::u16string& from, const std::u16string& to);
// Only an empty directory can be removed.
void RemovePatternFolder(const std::u16string& folder);

// A plain file, not hidden, lies at folder/file.
bool PatternFileExists(const std::u16string& folder, const std::u16string& file);
// The file's lines, each followed by CR LF. A line ends at CR LF or at a lone
// CR; a lone LF stays inside its line; an empty file gives the empty text.
std::u16string ReadPatternFile(const std::u16string& folder, const std::u16string& file);
// Writes folder/<name>.Dat through a temporary file renamed into place: the
// code trimmed of spaces, followed by CR LF unless it already ends in a line
// end (CR LF or a lone CR).
void WritePatternFile(const std::u16string& folder, const std::u16string& name, const std::u16string& code);
// As WritePatternFile, but never over an existing file: a file of that name
// that is there, or appears while the new one is written, stays as it is and
// the call fails with error() EEXIST.
void CreatePatternFile(const std::u16string& folder, const std::u16string& name, const std::u16string& code);
void DeletePatternFile(const std::u16string& folder, const std::u16string& file);

// The text WritePatternFile stores for this code.
std::u16string PatternFileText(const std::u16string& code);
// The lines of stored text as ReadPatternFile returns them.
std::u16string PatternTextOfFile(const std::u16string& stored);

}  // namespace tarno::patterns
