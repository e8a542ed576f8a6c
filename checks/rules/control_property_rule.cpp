// control-property: the Public properties of a user control are the rows of
// the Properties window when the control sits on a form; the designer reads
// and sets them without a line of code naming them.
#include "checks/rules/precise_rule.h"

namespace tarno::checks {
namespace {

class ControlProperty final : public PreciseRule {
 public:
  RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const override {
    const lang::Symbol& s = context.model().Sym(symbol);
    const lang::DeclKind k = s.decl.kind;
    const bool property = k == lang::DeclKind::PropertyGet || k == lang::DeclKind::PropertyLet ||
                          k == lang::DeclKind::PropertySet;
    if (!property || s.decl.parent >= 0 || !RuleContext::IsPublicMember(s.decl)) return RuleVerdict::None;
    return context.ComponentType(s.module) == ide::ComponentType::UserControl ? RuleVerdict::Used : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& ControlPropertyRule() {
  static const ControlProperty rule;
  return rule;
}

}  // namespace tarno::checks
