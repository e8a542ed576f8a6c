// default-member: `Attribute Item.VB_UserMemId = 0` makes Item the default
// member (obj(1) calls obj.Item(1)); -4 marks NewEnum, which For Each calls.
// Neither call names the member.
#include "checks/rules/precise_rule.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

class DefaultMember final : public PreciseRule {
 public:
  RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const override {
    const lang::Model& model = context.model();
    const lang::Symbol& s = model.Sym(symbol);
    if (s.decl.parent >= 0) return RuleVerdict::None;
    if (s.decl.flags & (lang::kDeclDefaultMember | lang::kDeclEnumerator)) return RuleVerdict::Used;
    // The ids the project file's reader found (VB_VarUserMemId too).
    const ComponentFacts* facts = context.ComponentFactsOf(s.module);
    if (!facts || facts->memberIds.empty()) return RuleVerdict::None;
    auto it = facts->memberIds.find(vb::UCaseAscii(std::u16string(model.SymbolName(symbol))));
    if (it == facts->memberIds.end()) return RuleVerdict::None;
    return it->second == 0 || it->second == -4 ? RuleVerdict::Used : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& DefaultMemberRule() {
  static const DefaultMember rule;
  return rule;
}

}  // namespace tarno::checks
