// interface-member: a class that says `Implements IShape` must have
// IShape_Area and the rest; callers reach them through an IShape variable,
// never by these names.
#include "checks/rules/precise_rule.h"

namespace tarno::checks {
namespace {

class InterfaceMember final : public PreciseRule {
 public:
  RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const override {
    const lang::Model& model = context.model();
    const lang::Symbol& s = model.Sym(symbol);
    if (!lang::IsProcedure(s.decl.kind) || s.decl.parent >= 0) return RuleVerdict::None;
    if (s.decl.flags & lang::kDeclImplements) return RuleVerdict::Used;
    // Also an interface the binder cannot find (a library's, or one named
    // through a library: Implements Lib.IRunner), and a member it lacks.
    std::u16string_view name = model.SymbolName(symbol);
    const size_t bar = name.find(u'_');
    if (bar == std::u16string_view::npos || bar == 0) return RuleVerdict::None;
    for (lang::Atom implemented : context.Implemented(s.module)) {
      std::u16string_view iface = model.NameOf(implemented);
      if (iface.size() < name.size() && name[iface.size()] == u'_' && lang::SameName(name.substr(0, iface.size()), iface)) {
        return RuleVerdict::Used;
      }
    }
    return RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& InterfaceMemberRule() {
  static const InterfaceMember rule;
  return rule;
}

}  // namespace tarno::checks
