#include "patterns/pattern_edits.h"

#include "platform/code_page.h"
#include "platform/vb_text.h"

namespace tarno::patterns {

namespace {

// Longest file name in bytes (NAME_MAX), names being UTF-8 on disk.
constexpr size_t kMaxNameBytes = 255;

size_t NameBytes(const std::u16string& name) {
  static const CodePage utf8 = CodePage::Named("UTF-8");
  return utf8.Encode(name).size();
}

bool HasSeparatorOrNul(const std::u16string& name) { return name.find_first_of(u"/\\\0", 0, 3) != std::u16string::npos; }

const char* ActionMessage(StoreAction action) {
  switch (action) {
    case StoreAction::CreateRoot: return "コードパターンのフォルダを作成できませんでした";
    case StoreAction::CreateFolder: return "フォルダを作成できませんでした";
    case StoreAction::RenameFolder: return "フォルダ名を変更できませんでした";
    case StoreAction::RemoveFolder: return "フォルダを削除できませんでした";
    case StoreAction::ListFolder: return "フォルダの内容を読み込めませんでした";
    case StoreAction::ReadPattern: return "コードパターンを読み込めませんでした";
    case StoreAction::WritePattern: return "コードパターンを登録できませんでした";
    case StoreAction::DeletePattern: return "コードパターンを削除できませんでした";
  }
  return "";
}

}  // namespace

PatternRefusal::PatternRefusal(const char* message, Field field)
    : std::runtime_error(message), message_(vb::U(message)), field_(field) {}

bool FolderNameUsable(const std::u16string& trimmed) {
  if (trimmed.empty() || trimmed[0] == u'.' || HasSeparatorOrNul(trimmed)) return false;
  return NameBytes(trimmed) <= kMaxNameBytes;
}

bool PatternNameUsable(const std::u16string& name) {
  if (name.find(u'.') != std::u16string::npos || HasSeparatorOrNul(name)) return false;
  return NameBytes(name + u".Dat") <= kMaxNameBytes;
}

std::u16string StoreFolder(const std::u16string& current, const std::u16string& typed) {
  std::u16string name = vb::Trim(typed);
  if (name.empty()) throw PatternRefusal(msg::EnterFolderName, Field::Name);
  // Before the existence test: a lookup of "../x" would already look outside the root.
  if (!FolderNameUsable(name)) throw PatternRefusal(msg::FolderNameUnusable, Field::Name);
  if (PatternFolderExists(name)) throw PatternRefusal(msg::FolderNameExists, Field::Name);
  if (!vb::Trim(current).empty())
    RenamePatternFolder(current, name);
  else
    CreatePatternFolder(name);
  return name;
}

std::u16string StorePattern(const std::u16string& folder, const std::u16string& currentFile,
                            const std::u16string& typedName, const std::u16string& code) {
  if (vb::Trim(typedName).empty()) throw PatternRefusal(msg::EnterPatternName, Field::Name);
  if (!PatternNameUsable(typedName)) throw PatternRefusal(msg::PatternNameUnusable, Field::Name);
  std::u16string file = typedName + u".Dat";
  if (PatternFileExists(folder, file)) throw PatternRefusal(msg::PatternNameUsed, Field::Name);
  if (vb::Trim(code).empty()) throw PatternRefusal(msg::EnterCode, Field::Code);

  WritePatternFile(folder, typedName, code);
  // An old file that vanished since the editor opened (the user was told
  // then) has nothing left to remove.
  if (!vb::Trim(currentFile).empty() && PatternFileExists(folder, currentFile)) {
    try {
      DeletePatternFile(folder, currentFile);
    } catch (const PatternStoreError&) {
      try {
        DeletePatternFile(folder, file);
      } catch (const PatternStoreError&) {
      }
      throw;
    }
  }
  return file;
}

std::u16string PatternNameOfFile(const std::u16string& file) {
  size_t dot = file.find(u'.');
  return dot == std::u16string::npos ? file : file.substr(0, dot);
}

std::u16string FailureMessage(const PatternStoreError& e) {
  std::u16string detail = CodePage::Named("UTF-8").Decode(e.path().string()) + u": " + vb::U(e.reason());
  return vb::U(ActionMessage(e.action())) + vb::kCrLf + detail;
}

}  // namespace tarno::patterns
