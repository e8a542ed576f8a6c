// The unused-procedure check: the procedures and properties of a module (or
// of all modules of a project) whose name occurs as a whole word nowhere
// outside their own lines, except event procedures, which the IDE calls.
#pragma once

#include <string>
#include <vector>

#include "addin/host_api.h"
#include "checks/project_source.h"
#include "checks/variable_check.h"

namespace tarno::checks {

// The member's name and the line at which the host locates it.
struct UnusedProcedure {
  std::u16string Name;
  int Line = 0;
  bool operator==(const UnusedProcedure&) const = default;
};

struct ProcedureModuleEntry {
  std::u16string Name;
  int component = 0;  // 1-based index in the project
  std::vector<UnusedProcedure> findings;
  bool operator==(const ProcedureModuleEntry&) const = default;
};

// Only modules with findings, in scan order. The project name travels beside it.
struct ProcedureCheckResult {
  std::vector<ProcedureModuleEntry> modules;
  int Total() const;
  bool operator==(const ProcedureCheckResult&) const = default;
};

// Object names whose procedures are the module's own event procedures.
bool IsOwnEventObjectName(std::u16string_view prefix);

// Checks one component (1-based index); `moduleName` is the name shown for it.
void CheckModuleProcedures(ide::VBProject& project, int componentIndex, const std::u16string& moduleName,
                           ProcedureCheckResult& result, ProjectSource* source = nullptr);
// Checks every component in collection order.
void CheckProjectProcedures(ide::VBProject& project, ProcedureCheckResult& result, ProjectSource* source = nullptr,
                            const CheckProgress& progress = {});

// The two steps of the check, for running the decisions of many modules on
// several threads: ProcedureCandidates asks the host (one thread at a time);
// DecideProcedure only reads `source`, whose modules, members, control names
// and word index must then be complete (ProjectSource::Preload, IndexWords).
struct ProcedureCandidate {
  std::u16string name;
  int line = 0;  // CodeLocation
  bool isPublic = false;
  int start = 0, end = 0;  // its own lines: ProcStartLine to ProcStartLine + ProcCountLines
};
std::vector<ProcedureCandidate> ProcedureCandidates(ProjectSource& source, int componentIndex);
// How a candidate counts as used: not at all, by the event-procedure name
// rules, or by a whole-word match outside its own lines.
enum class ProcedureUse { Unused, EventName, Search };
ProcedureUse DecideProcedure(ProjectSource& source, int componentIndex, const ProcedureCandidate& candidate);

// Whether a private procedure of the component counts as used.
bool IsPrivateProcedureUsed(ProjectSource& source, int componentIndex, const std::u16string& name);
// Whether a public or friend procedure of the component counts as used.
bool IsPublicProcedureUsed(ProjectSource& source, int componentIndex, const std::u16string& name);

}  // namespace tarno::checks
