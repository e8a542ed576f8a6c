// fixture-member: a test class handed to a test runner (`.Add New XTests`,
// `Set Runner.Fixture = New XTests`) has its public methods called by name
// from outside the project (CallByName, a type library's lookup); nothing in
// the project calls them.
#include "checks/rules/precise_rule.h"

namespace tarno::checks {
namespace {

class FixtureMember final : public PreciseRule {
 public:
  RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const override {
    const lang::Symbol& s = context.model().Sym(symbol);
    if (!lang::IsProcedure(s.decl.kind) || s.decl.parent >= 0 || !RuleContext::IsPublicMember(s.decl)) {
      return RuleVerdict::None;
    }
    return context.PassedOutside(s.module) ? RuleVerdict::Exposed : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& FixtureMemberRule() {
  static const FixtureMember rule;
  return rule;
}

}  // namespace tarno::checks
