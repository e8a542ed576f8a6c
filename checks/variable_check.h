// The unused-variable check: every declared variable or constant of a module
// (or of all modules of a project) for which no statement in its search range
// is a use.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addin/host_api.h"
#include "checks/project_source.h"

namespace tarno::checks {

// One unused name: the name as cut from its declaration, the first line of
// the declaring statement, level 0 (declarations section) or 1 (procedure),
// and "Declarations" or the procedure's name.
struct UnusedVariable {
  std::u16string name;
  int line = 0;
  int level = 0;
  std::u16string procedure;
  bool operator==(const UnusedVariable&) const = default;
};

struct VariableModuleEntry {
  std::u16string name;
  int component = 0;  // 1-based index in the project (for file names)
  std::vector<UnusedVariable> findings;
  bool operator==(const VariableModuleEntry&) const = default;
};

// Only modules with findings are entered, in scan order.
struct VariableCheckResult {
  std::u16string projectName;
  std::vector<VariableModuleEntry> modules;
  int Total() const;
  bool operator==(const VariableCheckResult&) const = default;
};

// The result that the check window hands to its results window; created
// before a check and released after the results window closes.
std::unique_ptr<VariableCheckResult>& CurrentVariableCheckResult();

// Called after each module: (modules done, modules in all).
using CheckProgress = std::function<void(int done, int total)>;

inline const std::u16string kDeclarationsProcedure = u"Declarations";

// Checks one component (1-based index) in one-module mode: Global and Public
// declarations are not examined. `moduleName` is the name shown for it. A
// component without a code module has no findings. Host failures other than
// the procedure-kind lookups throw ide::HostError and leave `result` as it was.
void CheckModuleVariables(ide::VBProject& project, int componentIndex, const std::u16string& moduleName,
                          VariableCheckResult& result, ProjectSource* source = nullptr);
// Checks every component in collection order; Global and Public declarations
// are searched in every module of the project.
void CheckProjectVariables(ide::VBProject& project, VariableCheckResult& result, ProjectSource* source = nullptr,
                           const CheckProgress& progress = {});

// The two steps of the check, for running the use searches of many modules
// on several threads: ScanVariableQueries asks the host (one thread at a
// time); IsVariableUsed only reads `source`, whose modules and word index
// must then be complete (ProjectSource::Preload, IndexWords of every anchor).
struct VariableQuery {
  std::u16string name;
  int line = 0;
  int level = 0;
  std::u16string procedure;
  bool projectWide = false;  // Global or Public in a project check
  int first = 0, last = 0, boundary = 0;
};
// Appends the component's declared names in scan order; `declareFlag` carries
// over from module to module in a project check.
void ScanVariableQueries(ProjectSource& source, int componentIndex, bool projectMode, bool& declareFlag,
                         std::vector<VariableQuery>& out);
bool IsVariableUsed(ProjectSource& source, int componentIndex, const VariableQuery& query);

// Whether some statement in the range uses the name (module-local search).
bool FindUse(ProjectSource& source, int componentIndex, const std::u16string& name, int first, int last,
             int boundary);

}  // namespace tarno::checks
