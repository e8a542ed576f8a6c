// The plain-text reports of the two checks, as the results windows show them
// and the log files hold them: CR LF line ends, TAB indentation, no line end
// after the closing total.
#pragma once

#include <filesystem>
#include <string>

#include "checks/procedure_check.h"
#include "checks/variable_check.h"
#include "platform/code_page.h"

namespace tarno::checks {

std::u16string VariableReportText(const VariableCheckResult& result);
std::u16string ProcedureReportText(const std::u16string& projectName, const ProcedureCheckResult& result);

// Writes the report as a log file in the code page (the system code page by
// default), through a temporary file renamed into place. Throws
// files::FileError when the file cannot be written; characters that the code
// page lacks are written as it encodes them.
void WriteLogFile(const std::filesystem::path& path, std::u16string_view text);
void WriteLogFile(const std::filesystem::path& path, std::u16string_view text, const CodePage& codePage);

}  // namespace tarno::checks
