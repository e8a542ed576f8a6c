#include "platform/profile.h"

#include <system_error>
#include <unordered_map>
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

enum class Kind { kBlank, kComment, kSection, kEntry, kOther };

struct Line {
  Line(std::string t, std::string e) : text(std::move(t)), end(std::move(e)) {}
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
  Kind kind = Kind::kOther;
  std::string name;    // section name or key, trimmed
  std::string folded;  // name with ASCII letters folded, for lookups
  size_t eq = 0;       // position of "=" in an entry
};

// Folds single-byte ASCII letters; the bytes of a double-byte character stay
// as they are (a trail byte can look like a letter).
std::string Fold(std::string_view s, const CodePage& cp) {
  std::string out(s);
  for (size_t i = 0; i < s.size(); i += cp.CharLength(s, i))
    if (s[i] >= 'a' && s[i] <= 'z') out[i] = static_cast<char>(s[i] - 32);
  return out;
}

void Classify(Line& line, const CodePage& cp) {
  std::string_view t = TrimBlanks(line.text);
  line.kind = Kind::kOther;
  line.name.clear();
  if (t.empty()) {
    line.kind = Kind::kBlank;
  } else if (t.front() == ';') {
    line.kind = Kind::kComment;
  } else if (t.front() == '[') {
    size_t close = LastCloseBracket(t, cp);
    if (close != std::string_view::npos) {
      line.kind = Kind::kSection;
      line.name = TrimBlanks(t.substr(1, close - 1));
    }
  } else if (size_t eq = line.text.find('='); eq != std::string::npos) {
    // "=" (0x3D) is never a trail byte of the supported code pages.
    line.kind = Kind::kEntry;
    line.eq = eq;
    line.name = TrimBlanks(std::string_view(line.text).substr(0, eq));
  }
  line.folded = Fold(line.name, cp);
}

// The value of an entry as the reader sees it.
std::string_view EntryValue(std::string_view text, size_t eq) {
  std::string_view v = TrimBlanks(text.substr(eq + 1));
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

struct Section {
  Line header;
  std::vector<Line> body;
  bool removed = false;
};

}  // namespace

// A parsed profile file: the lines before the first header, then the
// sections with their lines, and an index from folded section name to the
// sections of that name in file order (only the first is ever searched).
class ProfileDocument {
 public:
  explicit ProfileDocument(std::string_view bytes) : cp_(SystemCodePage()) {
    // A byte-order mark written by an editor is not part of the first line:
    // it is kept aside and written back in front of the file.
    if (bytes.starts_with(kUtf8Mark)) {
      mark_ = kUtf8Mark;
      bytes.remove_prefix(kUtf8Mark.size());
    }
    for (Line& line : SplitLines(bytes)) {
      if (line_end_.empty() && !line.end.empty()) line_end_ = line.end;
      Classify(line, cp_);
      if (line.kind == Kind::kSection) {
        sections_.push_back({std::move(line), {}, false});
        index_[sections_.back().header.folded].push_back(sections_.size() - 1);
      } else if (sections_.empty()) {
        preamble_.push_back(std::move(line));
      } else {
        sections_.back().body.push_back(std::move(line));
      }
    }
    if (line_end_.empty()) line_end_ = "\r\n";
  }

  Section* FindSection(std::string_view name) {
    auto it = index_.find(Fold(TrimBlanks(name), cp_));
    return it == index_.end() || it->second.empty() ? nullptr : &sections_[it->second.front()];
  }
  // Index in the body of the first entry named `key`, or -1.
  long FindKey(const Section& s, std::string_view key) const {
    std::string folded = Fold(TrimBlanks(key), cp_);
    for (size_t i = 0; i < s.body.size(); ++i)
      if (s.body[i].kind == Kind::kEntry && s.body[i].folded == folded) return static_cast<long>(i);
    return -1;
  }

  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < sections_.size(); ++i)
      if (!sections_[i].removed && index_.at(sections_[i].header.folded).front() == i)
        names.push_back(sections_[i].header.name);
    return names;
  }
  std::vector<std::string> KeyNames(const Section& s) const {
    std::vector<std::string> names;
    for (size_t i = 0; i < s.body.size(); ++i)
      if (s.body[i].kind == Kind::kEntry && FindKey(s, s.body[i].name) == static_cast<long>(i))
        names.push_back(s.body[i].name);
    return names;
  }

  void ReplaceEntryValue(Line& line, std::string_view value) {
    line.text = line.text.substr(0, line.eq + 1) + std::string(value);
    Classify(line, cp_);
  }
  // Inserts entries after the last line of the section that is not blank,
  // so blank lines that separate it from the next section stay there.
  void InsertIntoSection(Section& s, const std::vector<std::string>& texts) {
    size_t at = s.body.size();
    while (at > 0 && s.body[at - 1].kind == Kind::kBlank) --at;
    std::vector<Line> added = MakeLines(texts);
    s.body.insert(s.body.begin() + static_cast<long>(at), added.begin(), added.end());
  }
  // Appending may move sections in memory: pointers from FindSection go stale.
  void AppendSection(std::string_view name, const std::vector<std::string>& texts) {
    Line header{"[" + std::string(name) + "]", line_end_};
    Classify(header, cp_);
    sections_.push_back({std::move(header), MakeLines(texts), false});
    index_[sections_.back().header.folded].push_back(sections_.size() - 1);
  }
  // Removes every section of that name with all its lines; false when none.
  bool RemoveSections(std::string_view name) {
    auto it = index_.find(Fold(TrimBlanks(name), cp_));
    if (it == index_.end() || it->second.empty()) return false;
    for (size_t i : it->second) sections_[i].removed = true;
    index_.erase(it);
    return true;
  }

  std::string Bytes() const {
    std::vector<const Line*> all;
    for (const Line& l : preamble_) all.push_back(&l);
    for (const Section& s : sections_) {
      if (s.removed) continue;
      all.push_back(&s.header);
      for (const Line& l : s.body) all.push_back(&l);
    }
    std::string out = mark_;
    for (size_t i = 0; i < all.size(); ++i) {
      out += all[i]->text;
      // Only the file's last line can lack a line end; lines added after it need one.
      out += (all[i]->end.empty() && i + 1 < all.size()) ? line_end_ : all[i]->end;
    }
    return out;
  }

 private:
  std::vector<Line> MakeLines(const std::vector<std::string>& texts) const {
    std::vector<Line> lines;
    for (const auto& t : texts) {
      lines.push_back({t, line_end_});
      Classify(lines.back(), cp_);
    }
    return lines;
  }

  static constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

  const CodePage& cp_;
  std::string mark_;      // the file's byte-order mark, if it has one
  std::string line_end_;  // the file's own, CR LF for a new file
  std::vector<Line> preamble_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::vector<size_t>> index_;
};

namespace {

bool ValidSectionName(std::string_view name) {
  std::string_view t = TrimBlanks(name);
  if (t.empty() || HasLineBreak(t) || LastCloseBracket(t, SystemCodePage()) != std::string_view::npos) return false;
  // A name ending in a lead byte would take the closing "]" as its trail byte:
  // the header written would not read back as a header.
  std::string header = "[" + std::string(t) + "]";
  return LastCloseBracket(header, SystemCodePage()) == header.size() - 1;
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
      original_ = files::ReadAllBytes(path_);
    } catch (const files::FileError&) {
      readable_ = false;
    }
  }
  doc_ = std::make_unique<ProfileDocument>(original_);
}

ProfileBatch::~ProfileBatch() = default;

uint32_t ProfileBatch::GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName,
                                                std::string_view lpDefault,
                                                std::string& lpReturnedString, uint32_t nSize) const {
  lpReturnedString.clear();
  if (nSize == 0) return 0;
  std::string_view def = lpDefault;
  while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
  if (!lpAppName) return CopyList(doc_->SectionNames(), lpReturnedString, nSize);
  const Section* s = doc_->FindSection(*lpAppName);
  if (!lpKeyName) return s ? CopyList(doc_->KeyNames(*s), lpReturnedString, nSize) : 0;
  long line = s ? doc_->FindKey(*s, *lpKeyName) : -1;
  if (line < 0) return CopyValue(def, lpReturnedString, nSize);
  const Line& l = s->body[static_cast<size_t>(line)];
  return CopyValue(EntryValue(l.text, l.eq), lpReturnedString, nSize);
}

bool ProfileBatch::WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString) {
  if (!lpAppName) return !lpKeyName && !lpString;  // flush request: nothing is cached
  if (!readable_ || !ValidSectionName(*lpAppName)) return false;
  if (!lpKeyName) {
    doc_->RemoveSections(*lpAppName);
    return true;
  }
  if (!ValidKeyName(*lpKeyName)) return false;

  std::string section(TrimBlanks(*lpAppName));
  std::string key(TrimBlanks(*lpKeyName));
  Section* s = doc_->FindSection(section);
  if (!lpString) {
    if (!s) return true;
    // Every spelling of the key goes, so that no duplicate shows up in its place.
    for (long line = doc_->FindKey(*s, key); line >= 0; line = doc_->FindKey(*s, key))
      s->body.erase(s->body.begin() + line);
    return true;
  }
  std::string value = DropLineBreaks(*lpString);
  std::string entry = key + "=" + value;
  if (!s) {
    doc_->AppendSection(section, {entry});
  } else if (long line = doc_->FindKey(*s, key); line >= 0) {
    Line& l = s->body[static_cast<size_t>(line)];
    // A value that reads back the same leaves the line as it is.
    if (EntryValue(l.text, l.eq) != EntryValue(entry, key.size())) doc_->ReplaceEntryValue(l, value);
  } else {
    doc_->InsertIntoSection(*s, {entry});
  }
  return true;
}

bool ProfileBatch::WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString) {
  if (!readable_ || !ValidSectionName(lpAppName)) return false;
  if (!lpString) {
    doc_->RemoveSections(lpAppName);
    return true;
  }
  std::vector<std::string> entries;
  std::string_view rest = *lpString;
  while (!rest.empty()) {
    size_t nul = rest.find('\0');
    std::string_view item = rest.substr(0, nul);
    if (!item.empty()) entries.push_back(DropLineBreaks(item));
    if (nul == std::string_view::npos) break;
    rest.remove_prefix(nul + 1);
  }
  Section* s = doc_->FindSection(lpAppName);
  if (!s) {
    doc_->AppendSection(TrimBlanks(lpAppName), entries);
  } else {
    // Only the entries are replaced; comments and other lines stay.
    std::erase_if(s->body, [](const Line& l) { return l.kind == Kind::kEntry; });
    doc_->InsertIntoSection(*s, entries);
  }
  return true;
}

bool ProfileBatch::Commit() {
  if (!readable_) return false;
  std::string bytes = doc_->Bytes();
  if (bytes == original_) return true;  // nothing changed: the file stays as it is
  fs::path dir = path_.parent_path();
  std::error_code ec;
  if (!dir.empty() && !fs::is_directory(dir, ec) && !EnsureStandardDirectory(dir)) return false;
  try {
    files::WriteAllBytes(path_, bytes);
  } catch (const files::FileError&) {
    return false;
  }
  original_ = std::move(bytes);
  return true;
}

namespace portable {

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

}  // namespace portable
}  // namespace tarno::win
