// The outputs of `tarno check`: the text report, JSON, SARIF 2.1.0 and CSV,
// from one run's findings with their verdicts, suppressions and baseline marks.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "checks/check_run.h"
#include "host/mem_host.h"

namespace tarno::cli {

// Where a component's file lies, and the file line of each code line.
struct ComponentFile {
  std::filesystem::path path;
  std::string shown;  // relative to the project's folder when inside it
  std::string uri;    // for SARIF
  std::string local;  // for --format lines: relative to the working folder when inside it
  int header = 0;
  std::shared_ptr<host::MemCodeModule> code;
  int FileLine(int codeLine) const;
};
// The file of component `index` (0-based) of the project.
ComponentFile ComponentFileOf(host::MemProject& project, size_t index);

// A parse error of a module, where it stands in the file.
struct ReportParseError {
  int project = 0;
  int component = 0;  // 1-based
  int line = 0;       // code line
  int column = 0;
  std::string message;
};

struct RunReport {
  std::string check;  // "variables", "procedures" or "all"
  std::u16string projectName;  // the first project's
  std::vector<std::u16string> projectNames;  // every project (more than one for a group)
  std::vector<checks::Finding> findings;
  std::vector<ReportParseError> parseErrors;
  bool precise = false;
  bool showExposed = false;
  bool showSuppressed = false;
  bool baselineUsed = false;
  int baselineGone = 0;
  std::vector<std::vector<ComponentFile>> files;  // by project, then component index - 1

  void Index(const std::vector<host::MemProject*>& projects);
  void Index(host::MemProject& project) { Index(std::vector<host::MemProject*>{&project}); }
  const ComponentFile& FileOf(int project, int component) const {
    return files[static_cast<size_t>(project)][static_cast<size_t>(component - 1)];
  }
  const ComponentFile& FileOf(const checks::Finding& f) const { return FileOf(f.project, f.component); }
  // In the text report and the exit status.
  bool Reported(const checks::Finding& f) const;
  // In JSON, SARIF and CSV: the reported ones, exposed ones, and suppressed
  // ones with --show-suppressed.
  bool Listed(const checks::Finding& f) const;
  int Failing() const;
  int Suppressed() const;
  int ExposedLeftOut() const;
  int Known() const;
  // The report of each check run, as the log file holds it.
  std::u16string LogText() const;
};

void PrintTextReport(const RunReport& report);
void PrintJson(const RunReport& report);
void PrintSarif(const RunReport& report);
void PrintCsv(const RunReport& report);
// FILE:LINE:COLUMN: unused KIND 'NAME' [check-id], one reported finding a line.
void PrintLines(const RunReport& report);

}  // namespace tarno::cli
