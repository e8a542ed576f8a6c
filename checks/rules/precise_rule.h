// The precise rules of the checks: each one decides, for a finding of the
// add-in's rules, that the name is used after all (the language or the
// project calls it without naming it) or that programs outside the project
// use it. One rule per file; the table in precise_rules.cpp lists them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "checks/project_facts.h"
#include "checks/project_source.h"

namespace tarno::checks {

enum class CheckKind { Variables, Procedures };

// What a rule says about one finding.
enum class RuleVerdict { None, Used, Exposed };

// What the rules read, shared by all of them during one run (one thread).
class RuleContext {
 public:
  RuleContext(ProjectSource& source, const ProjectFacts& facts) : source_(source), facts_(facts) {}
  ProjectSource& source() { return source_; }
  const ProjectFacts& facts() const { return facts_; }
  // The interfaces the module implements (`Implements X` in its
  // declarations), upper-case ASCII, the part after the last "." of a
  // qualified name.
  const std::vector<std::u16string>& Implemented(int component);
  // The member's Scope (ide::MemberScope), 0 when the module has no such member.
  int MemberScope(int component, const std::u16string& name);

 private:
  ProjectSource& source_;
  const ProjectFacts& facts_;
  std::unordered_map<int, std::vector<std::u16string>> implemented_;
  std::unordered_map<int, std::unordered_map<std::u16string, int>> scopes_;
};

// One finding as the rules see it.
struct RuleSubject {
  CheckKind check = CheckKind::Procedures;
  int component = 0;
  const std::u16string& name;  // the procedure, or the variable name as cut
  int line = 0;                // the declaration's line
  int level = 0;               // variables: 0 declarations section, 1 procedure
};

class PreciseRule {
 public:
  virtual ~PreciseRule() = default;
  virtual RuleVerdict Decide(RuleContext& context, const RuleSubject& subject) const = 0;
};

struct PreciseRuleEntry {
  std::string_view id;
  std::string_view checks;  // "procedures", "variables, procedures"
  std::string_view reason;  // one line
  const PreciseRule* rule;  // nullptr: applied by an option of its own (--transitive)
  bool forVariables = false;
  bool forProcedures = true;
};

// Every precise rule, in the order they are tried.
const std::vector<PreciseRuleEntry>& PreciseRules();

// The rules, one per file.
const PreciseRule& InterfaceMemberRule();
const PreciseRule& ExposedMemberRule();
const PreciseRule& StartupMainRule();
const PreciseRule& DefaultMemberRule();

inline constexpr std::string_view kTransitiveRuleId = "used-only-by-unused";
inline constexpr std::string_view kTransitiveReason = "used only by unused procedures";

}  // namespace tarno::checks
