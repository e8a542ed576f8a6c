#include "checks/rules/precise_rule.h"

#include "platform/vb_text.h"

namespace tarno::checks {

using lang::Access;
using lang::DeclKind;

// The rules that find a use come before those that find outside callers:
// a used member is not reported at all, also when it is exposed.
const std::vector<PreciseRuleEntry>& PreciseRules() {
  static const std::vector<PreciseRuleEntry> rules = {
      {"interface-member", "procedures",
       "X_Member in a module with `Implements X` is called through the interface X", &InterfaceMemberRule()},
      {"startup-sub-main", "procedures", "Sub Main of a standard module runs first when the project starts with it",
       &StartupMainRule()},
      {"default-member", "variables, procedures",
       "a member with VB_UserMemId 0 (the default member) or -4 (the For Each enumerator) is called without its "
       "name",
       &DefaultMemberRule()},
      {"exposed-member", "variables, procedures",
       "a Public member of an exposed class, user control or user document of an ActiveX project is used by "
       "programs outside the project (reported as exposed)",
       &ExposedMemberRule()},
      {"control-property", "procedures",
       "a Public property of a user control is read and set by the Properties window at design time",
       &ControlPropertyRule()},
      {"fixture-member", "procedures",
       "a Public procedure of a class whose instances are handed outside the project (`.Add New XTests`, "
       "`Set Runner.Fixture = New XTests`, `sc.AddObject \"util\", tools`) may be called there by name "
       "(reported as exposed)",
       &FixtureMemberRule(), kFixtureReason},
      {kTransitiveRuleId, "variables, procedures",
       "with --transitive: a declaration used only inside unused declarations is unused too", nullptr},
  };
  return rules;
}

namespace {

bool IsWordChar16(char16_t c) {
  return c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x80;
}

// The code before `column` (1-based) of the line ends with the word New.
bool AfterNew(std::u16string_view line, int column) {
  size_t end = std::min(line.size(), static_cast<size_t>(column > 0 ? column - 1 : 0));
  while (end > 0 && (line[end - 1] == u' ' || line[end - 1] == u'\t')) --end;
  if (end < 3) return false;
  if (!vb::EqualsIgnoreCaseAscii(line.substr(end - 3, 3), u"New")) return false;
  return end == 3 || !IsWordChar16(line[end - 4]);
}

}  // namespace

RuleContext::RuleContext(const lang::Model& model, const std::vector<ProjectFacts>& facts)
    : model_(model), facts_(facts) {
  componentIndex_.assign(model.ModuleCount(), 0);
  passedOutside_.assign(model.ModuleCount(), 0);
  implemented_.resize(model.ModuleCount());
  for (uint32_t p = 0, m = 0; p < model.Projects().size(); ++p) {
    for (int index : model.Projects()[p].componentIndex) componentIndex_[m++] = index;
  }
  // An instance of C handed to a member of an object of no known type (or
  // to a procedure outside the projects): `suite.Add New XTests`,
  // `Set runner.Fixture = New YTests`, `sc.AddObject "util", toolbox` with
  // toolbox As CTools. C's instances leave the project.
  for (uint32_t m = 0; m < model.ModuleCount(); ++m) {
    const auto& refs = model.Module(m).syntax.refs;
    const auto& lines = model.Module(m).code->lines;
    std::vector<char> qualifies;  // the reference is the object of a member
    for (size_t i = 0; i < refs.size(); ++i) {
      const lang::Ref& r = refs[i];
      if ((r.flags & lang::kRefImplements) && !(r.flags & lang::kRefInactive)) implemented_[m].push_back(r.name);
      if ((r.flags & lang::kRefInactive) || r.target == lang::kNoSymbol) continue;
      const lang::Symbol& target = model.Sym(r.target);
      uint32_t cls = lang::kUnbound;
      if (r.flags & lang::kRefTypeName) {
        if (target.decl.kind == DeclKind::Component && r.line >= 1 && static_cast<size_t>(r.line) <= lines.size() &&
            AfterNew(lines[static_cast<size_t>(r.line - 1)], r.column)) {
          cls = target.module;
        }
      } else if (r.qualifier == lang::kNoQualifier && !(r.flags & (lang::kRefAssign | lang::kRefSet)) &&
                 (target.decl.kind == DeclKind::Variable || target.decl.kind == DeclKind::Parameter) &&
                 target.type != lang::kNoSymbol && model.Sym(target.type).decl.kind == DeclKind::Component) {
        if (qualifies.empty()) {
          qualifies.assign(refs.size(), 0);
          for (const lang::Ref& o : refs) {
            if (o.qualifier >= 0) qualifies[static_cast<size_t>(o.qualifier)] = 1;
          }
        }
        if (!qualifies[i]) cls = model.Sym(target.type).module;
      }
      if (cls == lang::kUnbound || ComponentType(cls) != ide::ComponentType::ClassModule || passedOutside_[cls]) continue;
      for (size_t k = i; k-- > 0 && refs[k].line == r.line;) {
        const lang::Ref& o = refs[k];
        if (o.target != lang::kNoSymbol || (o.flags & (lang::kRefInactive | lang::kRefTypeName))) continue;
        const bool member = o.flags & lang::kRefMember;
        const bool handedTo = member ? (o.flags & (lang::kRefCalled | lang::kRefAssign | lang::kRefSet)) != 0
                                     : (o.flags & lang::kRefCalled) != 0;
        if (handedTo) {
          passedOutside_[cls] = 1;
          break;
        }
      }
    }
  }
}

const ProjectFacts& RuleContext::Facts(uint32_t project) const {
  return project < facts_.size() ? facts_[project] : none_;
}

const ComponentFacts* RuleContext::ComponentFactsOf(uint32_t module) const {
  return Facts(model_.Module(module).project).Of(componentIndex_[module]);
}

bool RuleContext::IsPublicMember(const lang::Decl& d) {
  switch (d.kind) {
    case DeclKind::Variable: case DeclKind::Constant:
      return d.access == Access::Public || d.access == Access::Global;
    default:
      return d.access == Access::Public || d.access == Access::Implicit || d.access == Access::Global;
  }
}

}  // namespace tarno::checks
