#include "platform/profile.h"

#include <system_error>
#include <vector>

#include "platform/code_page.h"
#include "platform/system_dirs.h"
#include "platform/text_file.h"

namespace tarno::win {
namespace fs = std::filesystem;
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Names compare without regard to ASCII case; the bytes of a double-byte
// character are compared as they are (a trail byte can look like a letter).
bool NamesEqual(std::string_view a, std::string_view b, const CodePage& cp) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    size_t len = cp.CharLength(a, i);
    if (len == 1) {
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    } else if (a.substr(i, len) != b.substr(i, len)) {
      return false;
    }
    i += len;
  }
  return true;
}

// Position of the last "]" character, skipping trail bytes; npos when none.
size_t LastCloseBracket(std::string_view s, const CodePage& cp) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size(); i += cp.CharLength(s, i))
    if (s[i] == ']') found = i;
  return found;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string DropLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '\r' && c != '\n') out.push_back(c);
  return out;
}

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
};

enum class Kind { kBlank, kComment, kSection, kEntry, kOther };

struct Parsed {
  Kind kind = Kind::kOther;
  std::string_view name;  // section name or key, trimmed
  size_t eq = 0;          // position of "=" in an entry line
};

Parsed Classify(const std::string& text, const CodePage& cp) {
  Parsed p;
  std::string_view t = TrimBlanks(text);
  if (t.empty()) {
    p.kind = Kind::kBlank;
  } else if (t.front() == ';') {
    p.kind = Kind::kComment;
  } else if (t.front() == '[') {
    size_t close = LastCloseBracket(t, cp);
    if (close != std::string_view::npos) {
      p.kind = Kind::kSection;
      p.name = TrimBlanks(t.substr(1, close - 1));
    }
  } else if (size_t eq = text.find('='); eq != std::string::npos) {
    // "=" (0x3D) is never a trail byte of the supported code pages.
    p.kind = Kind::kEntry;
    p.eq = eq;
    p.name = TrimBlanks(std::string_view(text).substr(0, eq));
  }
  return p;
}

// The value of an entry as the reader sees it.
std::string_view EntryValue(const std::string& text, size_t eq) {
  std::string_view v = TrimBlanks(std::string_view(text).substr(eq + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v.remove_prefix(1);
    v.remove_suffix(1);
  }
  return v;
}

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  size_t i = 0;
  while (i < bytes.size()) {
    size_t j = bytes.find_first_of("\r\n", i);
    if (j == std::string_view::npos) {
      lines.push_back({std::string(bytes.substr(i)), ""});
      break;
    }
    size_t end_len = (bytes[j] == '\r' && j + 1 < bytes.size() && bytes[j + 1] == '\n') ? 2 : 1;
    lines.push_back({std::string(bytes.substr(i, j - i)), std::string(bytes.substr(j, end_len))});
    i = j + end_len;
  }
  return lines;
}

class Profile {
 public:
  explicit Profile(std::string_view bytes) : lines_(SplitLines(bytes)), cp_(SystemCodePage()) {
    for (const auto& l : lines_) parsed_.push_back(Classify(l.text, cp_));
  }

  // Index of the first header named `name`, or -1.
  long FindSection(std::string_view name, long from = 0) const {
    for (size_t i = static_cast<size_t>(from); i < lines_.size(); ++i)
      if (parsed_[i].kind == Kind::kSection && NamesEqual(parsed_[i].name, name, cp_))
        return static_cast<long>(i);
    return -1;
  }
  // One past the last line of the section whose header is at `header`.
  size_t SectionEnd(long header) const {
    size_t i = static_cast<size_t>(header) + 1;
    while (i < lines_.size() && parsed_[i].kind != Kind::kSection) ++i;
    return i;
  }
  long FindKey(long header, std::string_view key) const {
    for (size_t i = static_cast<size_t>(header) + 1; i < SectionEnd(header); ++i)
      if (parsed_[i].kind == Kind::kEntry && NamesEqual(parsed_[i].name, key, cp_))
        return static_cast<long>(i);
    return -1;
  }

  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < lines_.size(); ++i)
      if (parsed_[i].kind == Kind::kSection && FindSection(parsed_[i].name) == static_cast<long>(i))
        names.emplace_back(parsed_[i].name);
    return names;
  }
  std::vector<std::string> KeyNames(long header) const {
    std::vector<std::string> names;
    for (size_t i = static_cast<size_t>(header) + 1; i < SectionEnd(header); ++i)
      if (parsed_[i].kind == Kind::kEntry && FindKey(header, parsed_[i].name) == static_cast<long>(i))
        names.emplace_back(parsed_[i].name);
    return names;
  }
  std::string_view Value(long line) const {
    return EntryValue(lines_[static_cast<size_t>(line)].text, parsed_[static_cast<size_t>(line)].eq);
  }

  // --- editing (the parsed view is not kept up to date; edit, then Bytes()) ---

  // The line end used for new lines: the file's own, CR LF for a new file.
  std::string NewLineEnd() const {
    for (const auto& l : lines_)
      if (!l.end.empty()) return l.end;
    return "\r\n";
  }
  void ReplaceEntryValue(long line, std::string_view value) {
    Line& l = lines_[static_cast<size_t>(line)];
    l.text = l.text.substr(0, parsed_[static_cast<size_t>(line)].eq + 1) + std::string(value);
  }
  // Inserts whole lines after the last non-blank line of the section.
  void InsertIntoSection(long header, const std::vector<std::string>& texts) {
    size_t at = SectionEnd(header);
    while (at > static_cast<size_t>(header) + 1 && parsed_[at - 1].kind == Kind::kBlank) --at;
    Insert(at, texts);
  }
  void AppendSection(std::string_view name, const std::vector<std::string>& texts) {
    std::vector<std::string> all{"[" + std::string(name) + "]"};
    all.insert(all.end(), texts.begin(), texts.end());
    Insert(lines_.size(), all);
  }
  bool IsEntry(size_t line) const { return parsed_[line].kind == Kind::kEntry; }
  // Marks lines for removal; RemoveMarked drops them.
  void Mark(size_t line) { parsed_[line].kind = Kind::kOther, removed_.push_back(line); }
  void MarkSection(long header) {
    for (size_t i = static_cast<size_t>(header); i < SectionEnd(header); ++i) removed_.push_back(i);
  }

  std::string Bytes() const {
    std::vector<bool> gone(lines_.size(), false);
    for (size_t i : removed_) gone[i] = true;
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i)
      if (!gone[i]) out += lines_[i].text + lines_[i].end;
    return out;
  }

 private:
  void Insert(size_t at, const std::vector<std::string>& texts) {
    std::string end = NewLineEnd();
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = end;
    std::vector<Line> added;
    std::vector<Parsed> added_parsed;
    for (const auto& t : texts) {
      added.push_back({t, end});
      added_parsed.push_back({Kind::kOther, {}, 0});
    }
    // Later insertions look sections up again, so keep indexes consistent.
    for (size_t& r : removed_)
      if (r >= at) r += texts.size();
    lines_.insert(lines_.begin() + static_cast<long>(at), added.begin(), added.end());
    parsed_.insert(parsed_.begin() + static_cast<long>(at), added_parsed.begin(), added_parsed.end());
  }

  std::vector<Line> lines_;
  std::vector<Parsed> parsed_;
  std::vector<size_t> removed_;
  const CodePage& cp_;
};

bool ValidSectionName(std::string_view name) {
  std::string_view t = TrimBlanks(name);
  return !t.empty() && !HasLineBreak(t) && LastCloseBracket(t, SystemCodePage()) == std::string_view::npos;
}

bool ValidKeyName(std::string_view key) {
  std::string_view t = TrimBlanks(key);
  return !t.empty() && !HasLineBreak(t) && t.find('=') == std::string_view::npos && t.front() != ';' &&
         t.front() != '[';
}

// Copies a list of NUL-terminated names, cut as Windows cuts lists.
uint32_t CopyList(const std::vector<std::string>& names, std::string& out, uint32_t size) {
  std::string all;
  for (const auto& n : names) all += n + '\0';
  if (all.size() + 1 <= size) {
    out = all;
  } else {
    out = all.substr(0, size >= 2 ? size - 2 : 0);
  }
  return static_cast<uint32_t>(out.size());
}

uint32_t CopyValue(std::string_view value, std::string& out, uint32_t size) {
  size_t n = SystemCodePage().CutAtCharBoundary(value, size - 1);
  out.assign(value.substr(0, n));
  return static_cast<uint32_t>(n);
}

}  // namespace

ProfileBatch::ProfileBatch(const fs::path& lpFileName)
    : path_(ResolveInWindowsDirectory(lpFileName)) {
  std::error_code ec;
  bool exists = fs::exists(path_, ec);
  if (ec) {
    readable_ = false;
  } else if (exists) {
    try {
      bytes_ = files::ReadAllBytes(path_);
    } catch (const files::FileError&) {
      readable_ = false;
    }
  }
  original_ = bytes_;
}

uint32_t ProfileBatch::GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName,
                                                std::string_view lpDefault,
                                                std::string& lpReturnedString, uint32_t nSize) const {
  lpReturnedString.clear();
  if (nSize == 0) return 0;
  std::string_view def = lpDefault;
  while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
  Profile p(bytes_);
  if (!lpAppName) return CopyList(p.SectionNames(), lpReturnedString, nSize);
  long header = p.FindSection(TrimBlanks(*lpAppName));
  if (!lpKeyName) return header < 0 ? 0 : CopyList(p.KeyNames(header), lpReturnedString, nSize);
  long line = header < 0 ? -1 : p.FindKey(header, TrimBlanks(*lpKeyName));
  return CopyValue(line < 0 ? def : p.Value(line), lpReturnedString, nSize);
}

bool ProfileBatch::DeleteSections(std::string_view section) {
  Profile p(bytes_);
  std::string name(TrimBlanks(section));
  for (long h = p.FindSection(name); h >= 0; h = p.FindSection(name, h + 1)) p.MarkSection(h);
  bytes_ = p.Bytes();
  return true;
}

bool ProfileBatch::WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString) {
  if (!lpAppName) return !lpKeyName && !lpString;  // flush request: nothing is cached
  if (!readable_ || !ValidSectionName(*lpAppName)) return false;
  if (!lpKeyName) return DeleteSections(*lpAppName);
  if (!ValidKeyName(*lpKeyName)) return false;

  Profile p(bytes_);
  std::string section(TrimBlanks(*lpAppName));
  std::string key(TrimBlanks(*lpKeyName));
  long header = p.FindSection(section);

  if (!lpString) {
    if (header < 0) return true;
    // Every spelling of the key goes, so that no duplicate shows up in its place.
    for (long line = p.FindKey(header, key); line >= 0; line = p.FindKey(header, key))
      p.Mark(static_cast<size_t>(line));
  } else {
    std::string value = DropLineBreaks(*lpString);
    std::string entry = key + "=" + value;
    if (header < 0) {
      p.AppendSection(section, {entry});
    } else if (long line = p.FindKey(header, key); line >= 0) {
      if (p.Value(line) == EntryValue(entry, key.size())) return true;
      p.ReplaceEntryValue(line, value);
    } else {
      p.InsertIntoSection(header, {entry});
    }
  }
  bytes_ = p.Bytes();
  return true;
}

bool ProfileBatch::WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString) {
  if (!readable_ || !ValidSectionName(lpAppName)) return false;
  if (!lpString) return DeleteSections(lpAppName);

  std::vector<std::string> entries;
  std::string_view rest = *lpString;
  while (!rest.empty()) {
    size_t nul = rest.find('\0');
    std::string_view item = rest.substr(0, nul);
    if (!item.empty()) entries.push_back(DropLineBreaks(item));
    if (nul == std::string_view::npos) break;
    rest.remove_prefix(nul + 1);
  }

  Profile p(bytes_);
  std::string section(TrimBlanks(lpAppName));
  long header = p.FindSection(section);
  if (header < 0) {
    p.AppendSection(section, entries);
  } else {
    // Only the entries are replaced; comments and other lines stay.
    size_t end = p.SectionEnd(header);
    for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i)
      if (p.IsEntry(i)) p.Mark(i);
    p.InsertIntoSection(header, entries);
  }
  bytes_ = p.Bytes();
  return true;
}

bool ProfileBatch::Commit() {
  if (!readable_) return false;
  if (bytes_ == original_) return true;  // nothing changed: the file stays as it is
  fs::path dir = path_.parent_path();
  std::error_code ec;
  if (!dir.empty() && !fs::is_directory(dir, ec) && !EnsureStandardDirectory(dir)) return false;
  try {
    files::WriteAllBytes(path_, bytes_);
  } catch (const files::FileError&) {
    return false;
  }
  original_ = bytes_;
  return true;
}

uint32_t GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName, std::string_view lpDefault,
                                  std::string& lpReturnedString, uint32_t nSize,
                                  const fs::path& lpFileName) {
  return ProfileBatch(lpFileName)
      .GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize);
}

bool WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString,
                                const fs::path& lpFileName) {
  ProfileBatch batch(lpFileName);
  return batch.WritePrivateProfileStringA(lpAppName, lpKeyName, lpString) && batch.Commit();
}

bool WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString,
                                 const fs::path& lpFileName) {
  ProfileBatch batch(lpFileName);
  return batch.WritePrivateProfileSectionA(lpAppName, lpString) && batch.Commit();
}

}  // namespace tarno::win
