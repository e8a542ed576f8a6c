// The plain-text reports of a command-line run: the add-in's reports, with a
// reason line under a finding that a precise rule made ("理由：...") and a
// verdict line under an exposed member that is shown.
#pragma once

#include <string>
#include <vector>

#include "checks/check_run.h"

namespace tarno::checks {

// Without reasons or exposed findings these are exactly VariableReportText
// and ProcedureReportText of the same findings.
std::u16string VariableRunReport(const std::vector<Finding>& findings, const std::u16string& projectName);
std::u16string ProcedureRunReport(const std::vector<Finding>& findings, const std::u16string& projectName);

}  // namespace tarno::checks
