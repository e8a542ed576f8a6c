// Both unused-code checks over one loaded project, for the command line: the
// add-in's rules (ide) or those plus the precise rules, the use searches on
// several threads, and every finding with its verdict in one list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "checks/procedure_check.h"
#include "checks/project_facts.h"
#include "checks/rules/precise_rule.h"
#include "checks/variable_check.h"

namespace tarno::checks {

enum class RuleSet { Ide, Precise };
enum class Verdict { Unused, Exposed };

// What a precise finding declares (the add-in's rules know no kinds: None).
enum class UnusedKind : unsigned char { None, Variable, Constant, Parameter, Type, Enum, Declare, Procedure, Event };
inline constexpr unsigned KindBit(UnusedKind k) { return 1u << static_cast<unsigned>(k); }
// "variable", "constant", ...; "" for None.
std::string_view KindName(UnusedKind k);
// Every kind but parameters.
unsigned DefaultKinds();
// A comma-separated list of kind names ("variable,procedure"); nullopt when
// a name is not a kind (`bad` gets it).
std::optional<unsigned> ParseKinds(std::string_view list, std::string& bad);
// The check a kind belongs to: variables, constants, parameters, types and
// enums to the variable check; procedures, Declares and events to the other.
CheckKind CheckOf(UnusedKind k);

struct RunOptions {
  bool variables = true;
  bool procedures = true;
  RuleSet rules = RuleSet::Ide;
  bool transitive = false;  // precise rules only
  unsigned kinds = DefaultKinds();  // precise rules only
  int jobs = 1;             // threads for the use searches; results do not depend on it
  int onlyComponent = 0;    // 0: the whole project (project mode); else one component, one-module mode
};

struct Finding {
  CheckKind check = CheckKind::Variables;
  UnusedKind kind = UnusedKind::None;
  int project = 0;          // 0-based, in a group; 0 for one project
  int component = 0;        // 1-based
  std::u16string module;    // the component's name
  std::u16string name;
  int line = 0;             // code line of the declaration
  int column = 0;           // precise: 1-based UTF-16 column of the name; 0 unknown
  int level = 0;            // variables: 0 declarations, 1 procedure
  std::u16string procedure; // variables: "Declarations" or the procedure; procedures: the name
  Verdict verdict = Verdict::Unused;
  std::string rule;         // the precise rule behind the verdict or the finding, "" for the add-in's
  std::string reason;       // why, when a precise rule made it a finding ("used only by unused procedures")
  std::string suppressed;   // how it was suppressed, "" when it was not
  bool inBaseline = false;  // matched an entry of the baseline
  bool operator==(const Finding&) const = default;
};

// The check's id in SARIF, baselines and markers.
std::string_view CheckId(CheckKind check);  // "unused-variable", "unused-procedure"

// Runs the checks; with RuleSet::Precise the language model of the project
// is built and FindUnused (unused_code.h) decides. Host failures other than the procedure-kind lookups
// throw ide::HostError. Findings in scan order: variables (module by module)
// first, then procedures. Nothing found used by a precise rule is listed;
// exposed members are listed with their verdict.
std::vector<Finding> RunChecks(ProjectSource& source, const ProjectFacts& facts, const RunOptions& options);

// The findings of one check in the add-in's result shapes (for the reports).
VariableCheckResult VariableResultOf(const std::vector<Finding>& findings, const std::u16string& projectName);
ProcedureCheckResult ProcedureResultOf(const std::vector<Finding>& findings);

}  // namespace tarno::checks
