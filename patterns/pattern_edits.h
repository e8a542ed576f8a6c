// The changes a user makes to the pattern library, with their input checks
// in order, shared by the editors and the command line. A refused input
// throws PatternRefusal (message and the box at fault) before anything on
// disk changes; a file-system failure throws PatternStoreError and leaves
// the disk as it was.
#pragma once

#include <stdexcept>
#include <string>

#include "patterns/pattern_store.h"

namespace tarno::patterns {

// The system's messages (UTF-8).
namespace msg {
inline constexpr const char* CreateFolderFirst = "フォルダを作成してください";
inline constexpr const char* SelectFolder = "フォルダを選択してください";
inline constexpr const char* SelectPattern = "コードパターンを選択してください";
inline constexpr const char* FolderMissing = "指定されたフォルダは、存在しません";
inline constexpr const char* ConfirmDelete = "削除してもよろしいでしょうか？";
inline constexpr const char* Deleted = "削除しました";
inline constexpr const char* Copied = "クリップボードにコピーしました";
inline constexpr const char* EnterFolderName = "フォルダ名を入力してください";
inline constexpr const char* FolderNameUnusable = "フォルダ名に使用できない文字が含まれています";
inline constexpr const char* FolderNameExists = "指定されたフォルダ名は存在しています";
inline constexpr const char* EnterPatternName = "プロシージャ名を入力してください";
inline constexpr const char* PatternNameUnusable = "プロシージャ名に使用できない文字が含まれています";
inline constexpr const char* PatternNameUsed = "指定されたプロシージャ名は、既に使用されています";
inline constexpr const char* EnterCode = "コード内容を入力してください";
inline constexpr const char* PatternGone = "指定されたコードパターンは、削除されたか移動されました";
// Followed by the characters, each with its code.
inline constexpr const char* CodeUnencodable = "コード内容にシステムのコードページで保存できない文字が含まれています";
inline constexpr const char* PatternUnreadable = "コードパターンを読み込めないため、修正できません";
}  // namespace msg

inline const char16_t* const kMessageTitle = u"Tarno Kit";

// The box an input check found at fault.
enum class Field { Name, Code };

class PatternRefusal : public std::runtime_error {
 public:
  PatternRefusal(const char* message, Field field);
  PatternRefusal(std::u16string message, Field field);
  const std::u16string& message() const { return message_; }
  Field field() const { return field_; }

 private:
  std::u16string message_;
  Field field_;
};

// A trimmed folder name that the file system can hold as one entry of the
// root that will be listed: no "/", "\" or NUL, not "." or "..", not hidden
// (a leading "."), not longer than a file name may be.
bool FolderNameUsable(const std::u16string& trimmed);
// A pattern name (as typed) that makes a file name inside its folder: no ".",
// "/", "\" or NUL, and short enough with ".Dat".
bool PatternNameUsable(const std::u16string& name);

// Creates a folder (current empty) or renames the folder `current` (given
// exactly as listed) to the typed name. Returns the trimmed name now on disk.
std::u16string StoreFolder(const std::u16string& current, const std::u16string& typed);

// Registers a new pattern (currentFile empty) or stores the edited pattern
// currentFile under the typed name. Returns the new file name (name + ".Dat").
// The new file never replaces one: a file of that name that appeared since
// the check (another window, another program) is refused as a used name.
// Code holding characters the system code page lacks is refused, naming them.
// In edit mode the old file is removed only once the new one is written; if
// the removal fails the new file is taken back and the failure thrown.
std::u16string StorePattern(const std::u16string& folder, const std::u16string& currentFile,
                            const std::u16string& typedName, const std::u16string& code);

// The refusal message for code the system code page cannot hold: the
// message, then each character with its code ("😀 (U+1F600)").
std::u16string UnencodableMessage(const std::u16string& characters);

// The pattern name shown for a file name: up to its first "." (the whole
// name when it has none).
std::u16string PatternNameOfFile(const std::u16string& file);

// The browser's message for a failed store operation, the path and reason
// on a second line.
std::u16string FailureMessage(const PatternStoreError& e);

}  // namespace tarno::patterns
