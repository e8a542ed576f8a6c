#include "checks/suppressions.h"

#include <map>

#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::checks {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

View TrimBlanks(View s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool TakePrefix(View& s, View prefix) {
  if (s.size() < prefix.size() || !vb::EqualsIgnoreCaseAscii(s.substr(0, prefix.size()), prefix)) return false;
  s.remove_prefix(prefix.size());
  return true;
}

// The comment text after "'" is a marker: "tarno:" then "ignore" (or
// "ignore-module") then nothing or the check ids.
bool IsMarkerComment(View comment, std::string_view checkId, bool module) {
  View s = TrimBlanks(comment);
  if (!TakePrefix(s, u"tarno:")) return false;
  s = TrimBlanks(s);
  if (!TakePrefix(s, module ? View(u"ignore-module") : View(u"ignore"))) return false;
  if (s.empty()) return true;
  if (!IsBlank(s.front()) && s.front() != u',') return false;  // "ignored", "ignore-module" for "ignore"
  // The named checks: blank- or comma-separated ids.
  const std::u16string id = vb::U(std::string(checkId));
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (IsBlank(s[i]) || s[i] == u',')) ++i;
    size_t b = i;
    while (i < s.size() && !IsBlank(s[i]) && s[i] != u',') ++i;
    if (i > b && vb::EqualsIgnoreCaseAscii(s.substr(b, i - b), id)) return true;
  }
  return false;
}

}  // namespace

bool IsMarkerFor(View line, std::string_view checkId, bool module, bool alone) {
  View t = TrimBlanks(line);
  if (alone) return !t.empty() && t.front() == u'\'' && IsMarkerComment(t.substr(1), checkId, module);
  // A comment at the end of the line: the marker runs to the end.
  for (size_t p = t.find(u'\''); p != View::npos; p = t.find(u'\'', p + 1)) {
    if (IsMarkerComment(t.substr(p + 1), checkId, module)) return true;
  }
  return false;
}

IgnoreList IgnoreList::Parse(std::u16string_view text, const std::string& fileName) {
  IgnoreList list;
  int lineNo = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t nl = text.find(u'\n', pos);
    View line = text.substr(pos, nl == View::npos ? View::npos : nl - pos);
    pos = nl == View::npos ? text.size() + 1 : nl + 1;
    ++lineNo;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (lineNo == 1 && !line.empty() && line.front() == 0xFEFF) line.remove_prefix(1);
    line = TrimBlanks(line);
    if (line.empty() || line.front() == u'#') continue;
    const size_t dot = line.find(u'.');
    View module = dot == View::npos ? View() : TrimBlanks(line.substr(0, dot));
    View name = dot == View::npos ? View() : TrimBlanks(line.substr(dot + 1));
    auto bad = [&](View part) {
      if (part.empty()) return true;
      if (part == u"*") return false;
      for (char16_t c : part) {
        if (!IsWordChar(c)) return true;
      }
      return false;
    };
    if (dot == View::npos || bad(module) || bad(name)) {
      throw std::runtime_error(fileName + ":" + std::to_string(lineNo) + ": \"" + vb::ToUtf8(line) +
                               "\" is not a pattern (Module.Name, Module.* or *.Name)");
    }
    list.patterns_.push_back({module == u"*" ? std::u16string() : vb::UCaseAscii(module),
                              name == u"*" ? std::u16string() : vb::UCaseAscii(name)});
  }
  return list;
}

IgnoreList IgnoreList::Load(const std::filesystem::path& path) {
  std::string bytes;
  try {
    bytes = files::ReadAllBytes(path);
  } catch (const std::exception& e) {
    throw std::runtime_error(path.string() + ": cannot read the ignore file (" + e.what() + ")");
  }
  return Parse(vb::U(bytes), path.string());
}

bool IgnoreList::Matches(std::u16string_view module, std::u16string_view name) const {
  if (patterns_.empty()) return false;
  const std::u16string m = vb::UCaseAscii(module);
  // A variable's name as cut may carry bounds or a comment: its first word counts too.
  size_t end = 0;
  while (end < name.size() && IsWordChar(name[end])) ++end;
  const std::u16string full = vb::UCaseAscii(name);
  const std::u16string word = vb::UCaseAscii(name.substr(0, end));
  for (const auto& p : patterns_) {
    if (!p.module.empty() && p.module != m) continue;
    if (p.name.empty() || p.name == full || p.name == word) return true;
  }
  return false;
}

void ApplySuppressions(ProjectSource& source, const IgnoreList* ignore, std::vector<Finding>& findings) {
  std::map<std::pair<int, CheckKind>, bool> moduleMarkers;
  for (auto& f : findings) {
    const ModuleSource* module = source.Module(f.component);
    const std::string_view id = CheckId(f.check);
    if (module) {
      const int n = module->CountOfLines();
      if (f.line >= 1 && f.line <= n) {
        const int last = module->StatementEnd(f.line);
        if (IsMarkerFor(module->Line(last), id, false, false) ||
            (f.line > 1 && IsMarkerFor(module->Line(f.line - 1), id, false, true))) {
          f.suppressed = "marker";
          continue;
        }
      }
      auto key = std::make_pair(f.component, f.check);
      auto it = moduleMarkers.find(key);
      if (it == moduleMarkers.end()) {
        const int decl = std::min(module->CountOfDeclarationLines(), n);
        bool marked = false;
        for (int line = 1; line <= decl && !marked; ++line) marked = IsMarkerFor(module->Line(line), id, true, true);
        it = moduleMarkers.emplace(key, marked).first;
      }
      const bool moduleMarker = it->second;
      if (moduleMarker) {
        f.suppressed = "module marker";
        continue;
      }
    }
    if (ignore && ignore->Matches(f.module, f.name)) f.suppressed = "ignore file";
  }
}

}  // namespace tarno::checks
