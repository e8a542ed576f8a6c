// exposed-member: in an ActiveX EXE, DLL or control project, the Public
// members of a class, user control or user document marked VB_Exposed are
// the project's interface to other programs; nothing inside the project
// needs to call them.
#include "checks/declaration_scanner.h"
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

// The declaration at the line is Public (or Global).
bool IsPublicDeclaration(ProjectSource& source, int component, int line) {
  const ModuleSource* module = source.Module(component);
  if (!module || line < 1 || line > module->CountOfLines()) return false;
  bool declareFlag = false;
  DeclarationScan scan = ScanDeclarationStatement(ReadStatement(*module, line).text, Section::Declarations, declareFlag);
  return scan.scope == DeclScope::Public || scan.scope == DeclScope::Global;
}

class ExposedMember final : public PreciseRule {
 public:
  RuleVerdict Decide(RuleContext& context, const RuleSubject& subject) const override {
    if (!IsActiveXProject(context.facts().projectType)) return RuleVerdict::None;
    if (!CanBeExposed(context.source().ComponentType(subject.component))) return RuleVerdict::None;
    const ComponentFacts* facts = context.facts().Of(subject.component);
    if (!facts || !facts->exposed) return RuleVerdict::None;
    bool isPublic = false;
    if (subject.check == CheckKind::Procedures) {
      isPublic = context.MemberScope(subject.component, subject.name) == ide::MemberScope::Public;
    } else {
      isPublic = subject.level == 0 && IsPublicDeclaration(context.source(), subject.component, subject.line);
    }
    return isPublic ? RuleVerdict::Exposed : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& ExposedMemberRule() {
  static const ExposedMember rule;
  return rule;
}

}  // namespace tarno::checks
