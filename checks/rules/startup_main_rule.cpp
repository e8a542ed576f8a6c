// startup-sub-main: a project whose start-up object is "Sub Main" starts by
// calling Main of a standard module; no line of the project calls it.
#include "checks/rules/precise_rule.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

class StartupMain final : public PreciseRule {
 public:
  RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const override {
    const lang::Model& model = context.model();
    const lang::Symbol& s = model.Sym(symbol);
    if (s.decl.kind != lang::DeclKind::Sub || s.decl.parent >= 0) return RuleVerdict::None;
    if (context.ComponentType(s.module) != ide::ComponentType::StdModule) return RuleVerdict::None;
    if (!vb::EqualsIgnoreCaseAscii(vb::Trim(context.Facts(s.project).startup), u"Sub Main")) return RuleVerdict::None;
    return lang::SameName(model.SymbolName(symbol), u"Main") ? RuleVerdict::Used : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& StartupMainRule() {
  static const StartupMain rule;
  return rule;
}

}  // namespace tarno::checks
