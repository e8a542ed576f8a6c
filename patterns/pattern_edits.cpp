#include "patterns/pattern_edits.h"

#include <cerrno>
#include <cstdio>

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

PatternRefusal::PatternRefusal(std::u16string message, Field field)
    : std::runtime_error(vb::ToUtf8(message)), message_(std::move(message)), field_(field) {}

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
  bool rename = !vb::Trim(current).empty();
  try {
    if (rename)
      RenamePatternFolder(current, name);
    else
      CreatePatternFolder(name);
  } catch (const PatternStoreError& e) {
    // Another window or program made the name, or moved the folder, since the checks.
    if (e.error() == EEXIST || e.error() == ENOTEMPTY) throw PatternRefusal(msg::FolderNameExists, Field::Name);
    if (rename && e.error() == ENOENT && !PatternFolderExists(current))
      throw PatternRefusal(msg::FolderMissing, Field::Name);
    throw;
  }
  return name;
}

std::u16string UnencodableMessage(const std::u16string& characters) {
  std::u16string text = vb::U(msg::CodeUnencodable);
  for (size_t i = 0; i < characters.size(); ++i) {
    char32_t cp = characters[i];
    size_t len = 1;
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < characters.size() && characters[i + 1] >= 0xDC00 &&
        characters[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (characters[i + 1] - 0xDC00);
      len = 2;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    text += i == 0 ? u": " : u", ";
    // A lone surrogate cannot be shown; its code says what it is.
    bool showable = len == 2 || cp < 0xD800 || cp > 0xDFFF;
    if (showable) text += characters.substr(i, len) + u" ";
    text += u"(" + vb::U(code) + u")";
    i += len - 1;
  }
  return text;
}

std::u16string StorePattern(const std::u16string& folder, const std::u16string& currentFile,
                            const std::u16string& typedName, const std::u16string& code) {
  if (vb::Trim(typedName).empty()) throw PatternRefusal(msg::EnterPatternName, Field::Name);
  if (!PatternNameUsable(typedName)) throw PatternRefusal(msg::PatternNameUnusable, Field::Name);
  std::u16string file = typedName + u".Dat";
  if (PatternFileExists(folder, file)) throw PatternRefusal(msg::PatternNameUsed, Field::Name);
  if (vb::Trim(code).empty()) throw PatternRefusal(msg::EnterCode, Field::Code);
  std::u16string lost = SystemCodePage().Unencodable(code);
  if (!lost.empty()) throw PatternRefusal(UnencodableMessage(lost), Field::Code);

  try {
    CreatePatternFile(folder, typedName, code);
  } catch (const PatternStoreError& e) {
    // Made by another window or program since the check above (a folder of
    // that name is no pattern, and stays a failure).
    if (e.error() == EEXIST && PatternFileExists(folder, file)) throw PatternRefusal(msg::PatternNameUsed, Field::Name);
    throw;
  }
  // An old file that vanished since the editor opened (the user was told
  // then, or another window moved it) has nothing left to remove.
  if (!vb::Trim(currentFile).empty() && PatternFileExists(folder, currentFile)) {
    try {
      DeletePatternFile(folder, currentFile);
    } catch (const PatternStoreError& e) {
      if (e.error() == ENOENT) return file;
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
