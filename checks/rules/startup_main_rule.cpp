// startup-sub-main: a project whose start-up object is "Sub Main" starts by
// calling Main of a standard module; no line of the project calls it.
#include "checks/rules/precise_rule.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

class StartupMain final : public PreciseRule {
 public:
  RuleVerdict Decide(RuleContext& context, const RuleSubject& subject) const override {
    if (subject.check != CheckKind::Procedures) return RuleVerdict::None;
    if (!vb::EqualsIgnoreCaseAscii(vb::Trim(context.facts().startup), u"Sub Main")) return RuleVerdict::None;
    if (context.source().ComponentType(subject.component) != ide::ComponentType::StdModule) return RuleVerdict::None;
    return vb::EqualsIgnoreCaseAscii(subject.name, u"Main") ? RuleVerdict::Used : RuleVerdict::None;
  }
};

}  // namespace

const PreciseRule& StartupMainRule() {
  static const StartupMain rule;
  return rule;
}

}  // namespace tarno::checks
