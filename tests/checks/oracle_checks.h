// The unused-variable and unused-procedure checks written the slow, literal
// way: every statement is reread from the host for every name, every name is
// searched through the host's Find, no index, no cache. The production checks
// must report exactly what this reports.
#pragma once

#include <string>

#include "addin/host_api.h"
#include "checks/procedure_check.h"
#include "checks/variable_check.h"

namespace tarno::checks::oracle {

struct Statement {
  int L = 0;
  int n = 0;
  std::u16string text;
};

Statement ReadStatement(ide::CodeModule& module, int L);
bool IsInCommentOrString(const std::u16string& text, const std::u16string& name);
bool IsUseInStatement(ide::CodeModule& module, const Statement& st, const std::u16string& name, int boundary);
bool FindUse(ide::CodeModule& module, const std::u16string& name, int first, int last, int boundary);

VariableCheckResult CheckModuleVariables(ide::VBProject& project, int componentIndex,
                                         const std::u16string& moduleName);
VariableCheckResult CheckProjectVariables(ide::VBProject& project);

ProcedureCheckResult CheckModuleProcedures(ide::VBProject& project, int componentIndex,
                                           const std::u16string& moduleName);
ProcedureCheckResult CheckProjectProcedures(ide::VBProject& project);

}  // namespace tarno::checks::oracle
