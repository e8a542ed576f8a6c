// The precise rules of the unused-code checks: each one decides, for a
// declaration that no code of the projects uses, that it is used after all
// (the language or the runtime calls it without naming it) or that programs
// outside the project use it (exposed). They read the language model. One
// rule per file; the table in precise_rules.cpp lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "checks/project_facts.h"
#include "lang/model.h"

namespace tarno::checks {

enum class CheckKind { Variables, Procedures };

// What a rule says about one declaration.
enum class RuleVerdict { None, Used, Exposed };

// What the rules read: the model, each project's facts, and what is worked
// out once for all rules (the classes whose instances leave the project).
class RuleContext {
 public:
  // facts[p] are the facts of the model's project p (missing ones: none known).
  RuleContext(const lang::Model& model, const std::vector<ProjectFacts>& facts);
  const lang::Model& model() const { return model_; }
  const ProjectFacts& Facts(uint32_t project) const;
  // The facts of the component a module belongs to; nullptr when none are known.
  const ComponentFacts* ComponentFactsOf(uint32_t module) const;
  int ComponentType(uint32_t module) const { return model_.Module(module).code->type; }
  // The module is a class whose instances are handed to code outside the
  // project (`.Add New XTests`, `Set Runner.Fixture = New XTests`).
  bool PassedOutside(uint32_t module) const { return passedOutside_[module] != 0; }
  // The interfaces the module implements (Implements lines, qualified or not).
  const std::vector<lang::Atom>& Implemented(uint32_t module) const { return implemented_[module]; }
  // The module-level procedure is Public (Property and Sub without a scope word too).
  static bool IsPublicMember(const lang::Decl& d);

 private:
  const lang::Model& model_;
  const std::vector<ProjectFacts>& facts_;
  ProjectFacts none_;
  std::vector<int> componentIndex_;  // per module, 1-based
  std::vector<char> passedOutside_;  // per module
  std::vector<std::vector<lang::Atom>> implemented_;  // per module
};

class PreciseRule {
 public:
  virtual ~PreciseRule() = default;
  // `symbol` is a declaration of a fully understood module.
  virtual RuleVerdict Decide(const RuleContext& context, lang::SymbolId symbol) const = 0;
};

struct PreciseRuleEntry {
  std::string_view id;
  std::string_view checks;  // "procedures", "variables, procedures"
  std::string_view reason;  // one line
  const PreciseRule* rule;  // nullptr: applied by an option of its own (--transitive)
  // The reason a finding it makes exposed carries; "" for the rule's plain verdict.
  std::string_view findingReason = {};
};

// Every precise rule, in the order they are tried.
const std::vector<PreciseRuleEntry>& PreciseRules();

// The rules, one per file.
const PreciseRule& InterfaceMemberRule();
const PreciseRule& ExposedMemberRule();
const PreciseRule& StartupMainRule();
const PreciseRule& DefaultMemberRule();
const PreciseRule& FixtureMemberRule();
const PreciseRule& ControlPropertyRule();

inline constexpr std::string_view kTransitiveRuleId = "used-only-by-unused";
inline constexpr std::string_view kTransitiveReason = "used only by unused declarations";
inline constexpr std::string_view kFixtureReason = "public member of an instance passed outside the project";

}  // namespace tarno::checks
