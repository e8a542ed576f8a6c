// exposed-member: in an ActiveX EXE, DLL or control project, the Public
// members of a class, user control or user document marked VB_Exposed are
// the project's interface to other programs; nothing inside the project
// needs to use them.
#include "checks/rules/precise_rule.h"

namespace tarno::checks {
namespace {

bool IsActiveXProject(int type) {
  return type == ide::ProjectType::ActiveXExe || type == ide::ProjectType::ActiveXDll ||
         type == ide::ProjectType::ActiveXControl;
}

bool CanBeExposed(int componentType) {
  return componentType == ide::ComponentType::ClassModule || componentType == ide::ComponentType::UserControl ||
         componentType == ide::ComponentType::DocObject;
}

class ExposedMember final : public PreciseRule {
 public:
  RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const override {
    const lang::Symbol& s = context.model().Sym(symbol);
    if (s.decl.parent >= 0 || !RuleContext::IsPublicMember(s.decl)) return RuleVerdict::None;
    if (!IsActiveXProject(context.Facts(s.project).projectType)) return RuleVerdict::None;
    if (!CanBeExposed(context.ComponentType(s.module))) return RuleVerdict::None;
    const ComponentFacts* facts = context.ComponentFactsOf(s.module);
    return facts && facts->exposed ? RuleVerdict::Exposed : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& ExposedMemberRule() {
  static const ExposedMember rule;
  return rule;
}

}  // namespace tarno::checks
