// interface-member: a class that says `Implements IShape` must have
// IShape_Area and the rest; callers reach them through an IShape variable,
// never by these names.
#include "checks/rules/precise_rule.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

class InterfaceMember final : public PreciseRule {
 public:
  RuleVerdict Decide(RuleContext& context, const RuleSubject& subject) const override {
    if (subject.check != CheckKind::Procedures) return RuleVerdict::None;
    for (const auto& iface : context.Implemented(subject.component)) {
      const std::u16string& n = subject.name;
      if (n.size() > iface.size() + 1 && n[iface.size()] == u'_' &&
          vb::EqualsIgnoreCaseAscii(std::u16string_view(n).substr(0, iface.size()), iface)) {
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
