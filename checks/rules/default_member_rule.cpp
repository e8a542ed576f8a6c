// default-member: `Attribute Item.VB_UserMemId = 0` makes Item the default
// member (obj(1) calls obj.Item(1)); -4 marks NewEnum, which For Each calls.
// Neither call names the member.
#include "checks/rules/precise_rule.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

class DefaultMember final : public PreciseRule {
 public:
  RuleVerdict Decide(RuleContext& context, const RuleSubject& subject) const override {
    if (subject.check == CheckKind::Variables && subject.level != 0) return RuleVerdict::None;
    const ComponentFacts* facts = context.facts().Of(subject.component);
    if (!facts || facts->memberIds.empty()) return RuleVerdict::None;
    // A variable's name as cut may carry bounds or a comment: its first word.
    View name = subject.name;
    size_t end = 0;
    while (end < name.size() && IsWordChar(name[end])) ++end;
    auto it = facts->memberIds.find(vb::UCaseAscii(name.substr(0, end)));
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
