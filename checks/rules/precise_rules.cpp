#include "checks/rules/precise_rule.h"

#include "checks/declaration_scanner.h"
#include "platform/vb_text.h"

namespace tarno::checks {

// The rules that find a use come before the one that finds outside callers:
// a used member is not reported at all, also when it is exposed.
const std::vector<PreciseRuleEntry>& PreciseRules() {
  static const std::vector<PreciseRuleEntry> rules = {
      {"interface-member", "procedures",
       "X_Member in a module with `Implements X` is called through the interface X", &InterfaceMemberRule(), false,
       true},
      {"startup-sub-main", "procedures", "Sub Main of a standard module runs first when the project starts with it",
       &StartupMainRule(), false, true},
      {"default-member", "variables, procedures",
       "a member with VB_UserMemId 0 (the default member) or -4 (the For Each enumerator) is called without its "
       "name",
       &DefaultMemberRule(), true, true},
      {"exposed-member", "variables, procedures",
       "a Public member of an exposed class, user control or user document of an ActiveX project is used by "
       "programs outside the project (reported as exposed)",
       &ExposedMemberRule(), true, true},
      {kTransitiveRuleId, "procedures",
       "with --transitive: a procedure used only inside unused procedures is unused too", nullptr, false, true},
  };
  return rules;
}

const std::vector<std::u16string>& RuleContext::Implemented(int component) {
  auto it = implemented_.find(component);
  if (it != implemented_.end()) return it->second;
  std::vector<std::u16string> names;
  if (const ModuleSource* module = source_.Module(component)) {
    const int last = std::min(module->CountOfDeclarationLines(), module->CountOfLines());
    for (int line = 1; line <= last; ++line) {
      View text = TrimView(module->Line(line));
      constexpr View kKeyword = u"Implements ";
      if (text.size() <= kKeyword.size() || !vb::EqualsIgnoreCaseAscii(text.substr(0, kKeyword.size()), kKeyword)) {
        continue;
      }
      View rest = TrimView(text.substr(kKeyword.size()));
      size_t end = 0;
      while (end < rest.size() && (IsWordChar(rest[end]) || rest[end] == u'.')) ++end;
      View name = rest.substr(0, end);
      if (size_t dot = name.rfind(u'.'); dot != View::npos) name = name.substr(dot + 1);
      if (!name.empty()) names.push_back(vb::UCaseAscii(name));
    }
  }
  return implemented_.emplace(component, std::move(names)).first->second;
}

int RuleContext::MemberScope(int component, const std::u16string& name) {
  auto it = scopes_.find(component);
  if (it == scopes_.end()) {
    std::unordered_map<std::u16string, int> scopes;
    for (const auto& m : source_.Members(component)) scopes.emplace(vb::UCaseAscii(m.Name), m.Scope);
    it = scopes_.emplace(component, std::move(scopes)).first;
  }
  auto s = it->second.find(vb::UCaseAscii(name));
  return s == it->second.end() ? 0 : s->second;
}

}  // namespace tarno::checks
