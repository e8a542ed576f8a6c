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
  int header = 0;
  std::shared_ptr<host::MemCodeModule> code;
  int FileLine(int codeLine) const;
};
// The file of component `index` (0-based) of the project.
ComponentFile ComponentFileOf(host::MemProject& project, size_t index);

struct RunReport {
  std::string check;  // "variables", "procedures" or "all"
  std::u16string projectName;
  std::vector<checks::Finding> findings;
  bool precise = false;
  bool showExposed = false;
  bool showSuppressed = false;
  bool baselineUsed = false;
  int baselineGone = 0;
  std::vector<ComponentFile> files;  // by component index - 1

  void Index(host::MemProject& project);
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

}  // namespace tarno::cli
