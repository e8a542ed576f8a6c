#include "checks/project_facts.h"

#include <charconv>

#include "host/files/file_state.h"
#include "platform/vb_text.h"

namespace tarno::checks {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view SkipBlanks(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

// Takes `word` (ASCII, any case) from the front of s.
bool TakeWord(std::u16string_view& s, std::u16string_view word) {
  if (s.size() < word.size() || !vb::EqualsIgnoreCaseAscii(s.substr(0, word.size()), word)) return false;
  s.remove_prefix(word.size());
  return true;
}

}  // namespace

bool ParseMemberIdAttribute(std::u16string_view line, std::u16string& name, int& id) {
  std::u16string_view s = SkipBlanks(line);
  if (!TakeWord(s, u"Attribute") || s.empty() || !IsBlank(s.front())) return false;
  s = SkipBlanks(s);
  size_t dot = s.find(u'.');
  if (dot == 0 || dot == std::u16string_view::npos) return false;
  std::u16string_view member = s.substr(0, dot);
  s.remove_prefix(dot + 1);
  if (!TakeWord(s, u"VB_UserMemId") && !TakeWord(s, u"VB_VarUserMemId")) return false;
  s = SkipBlanks(s);
  if (!TakeWord(s, u"=")) return false;
  s = SkipBlanks(s);
  std::string digits;
  for (char16_t c : s) {
    if ((c >= u'0' && c <= u'9') || (c == u'-' && digits.empty())) {
      digits += static_cast<char>(c);
    } else {
      break;
    }
  }
  int value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return false;
  name = std::u16string(member);
  id = value;
  return true;
}

ProjectFacts ReadProjectFacts(host::MemProject& project) {
  ProjectFacts facts;
  facts.projectType = project.Type();
  if (auto* state = host::files::StateOf(project); state && state->vbp) {
    if (auto startup = state->vbp->Value("Startup")) {
      facts.startup = state->code_page.Decode(host::files::Unquote(host::files::TrimBlanks(*startup)));
    }
  }
  for (const auto& component : project.components()) {
    ComponentFacts c;
    auto* state = host::files::StateOf(*component);
    if (state && state->file) {
      const auto& file = *state->file;
      for (const auto& a : file.attributes()) {
        if (host::files::EqualsIgnoreCase(a.name, "VB_Exposed")) {
          c.exposed = host::files::EqualsIgnoreCase(host::files::TrimBlanks(a.value), "True");
        }
      }
      // Member attributes are ASCII up to the member name; only lines that
      // start like one are decoded.
      for (size_t i = 0; i < file.body_size(); ++i) {
        // Most lines are not: their first non-blank byte tells.
        const std::string_view line = file.body_line(i);
        size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
        if (first == line.size() || (line[first] != 'A' && line[first] != 'a')) continue;
        std::string_view raw = host::files::TrimBlanks(line);
        if (raw.size() < 10 || !host::files::EqualsIgnoreCase(raw.substr(0, 10), "Attribute ")) continue;
        std::u16string name;
        int id = 0;
        if (ParseMemberIdAttribute(state->code_page.Decode(raw), name, id)) {
          c.memberIds.emplace(vb::UCaseAscii(name), id);
        }
      }
    }
    facts.components.push_back(std::move(c));
  }
  return facts;
}

}  // namespace tarno::checks
