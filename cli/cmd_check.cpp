// tarno check variables | procedures | all PROJECT.vbp|FILE: the unused-variable
// and unused-procedure checks, run on project files. `--rules ide` (the
// default) gives exactly the add-in's findings; `--rules precise` adds the
// rules that `tarno check rules` lists. Suppression markers, an ignore file
// and a baseline leave out findings a team keeps. Prints the report (text),
// one JSON object (json), a SARIF 2.1.0 log (sarif) or CSV; --log writes the
// report as the results window saves it. Exit status: 0 without findings, 1
// with findings, 2 on an error.
#include <filesystem>
#include <iostream>
#include <thread>

#include "checks/baseline.h"
#include "checks/check_reports.h"
#include "checks/check_run.h"
#include "checks/check_run_report.h"
#include "checks/suppressions.h"
#include "cli/check_output.h"
#include "cli/command_registry.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

namespace files = host::files;
namespace fs = std::filesystem;

const char* const kNoModules = "指定されたプロジェクトには、モジュールが存在しませんので実行できません";
const char* const kStopped = "チェック中にエラーが発生しましたので中断しました";

struct CheckOptions {
  std::string path;
  std::string module;
  std::string format = "text";
  std::string log;
  std::string encoding;
  std::string rules = "ide";
  bool transitive = false;
  bool showExposed = false;
  bool showSuppressed = false;
  std::string ignore;
  std::string baseline;
  std::string writeBaseline;
  int jobs = 0;
};

int DefaultJobs() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

// The ignore file: --ignore FILE (which must exist), else .tarno-ignore beside
// the project when there is one.
std::optional<checks::IgnoreList> LoadIgnore(const CheckOptions& opts) {
  if (!opts.ignore.empty()) return checks::IgnoreList::Load(opts.ignore);
  fs::path beside = fs::path(opts.path).parent_path() / ".tarno-ignore";
  std::error_code ec;
  if (fs::is_regular_file(beside, ec)) return checks::IgnoreList::Load(beside);
  return std::nullopt;
}

int RunCheck(const std::string& check, const CheckOptions& opts) {
  const std::string me = "tarno check " + check + ": ";
  if (opts.transitive && opts.rules != "precise") {
    std::cerr << me << "--transitive needs --rules precise\n";
    return 2;
  }
  files::LoadOptions load;
  if (!opts.encoding.empty()) {
    try {
      load.code_page = CodePage::Named(opts.encoding);
    } catch (const std::invalid_argument&) {
      std::cerr << me << "unknown code page \"" << opts.encoding << "\"\n";
      return 2;
    }
  }
  std::optional<checks::IgnoreList> ignore;
  std::optional<checks::Baseline> baseline;
  files::LoadedWorkspace ws;
  try {
    ignore = LoadIgnore(opts);
    if (!opts.baseline.empty()) baseline = checks::Baseline::Load(opts.baseline);
    ws = files::LoadPath(opts.path, load);
  } catch (const std::exception& e) {
    std::cerr << me << e.what() << "\n";
    return 2;
  }
  for (const auto& w : ws.warnings) std::cerr << "warning: " << w.ToString() << "\n";
  if (ws.projects.size() != 1) {
    std::cerr << me << opts.path << " is a project group of " << ws.projects.size()
              << " projects; check one of its .vbp files\n";
    return 2;
  }
  host::MemProject& project = *ws.projects[0];
  const int count = static_cast<int>(project.components().size());
  if (count == 0) {
    std::cerr << kNoModules << "\n";
    return 2;
  }
  checks::RunOptions run;
  run.variables = check != "procedures";
  run.procedures = check != "variables";
  run.rules = opts.rules == "precise" ? checks::RuleSet::Precise : checks::RuleSet::Ide;
  run.transitive = opts.transitive;
  run.jobs = opts.jobs > 0 ? opts.jobs : DefaultJobs();
  if (!opts.module.empty()) {
    std::u16string wanted = vb::U(opts.module);
    for (int i = 1; i <= count && !run.onlyComponent; ++i) {
      if (vb::EqualsIgnoreCaseAscii(project.components()[static_cast<size_t>(i - 1)]->Name(), wanted)) {
        run.onlyComponent = i;
      }
    }
    if (!run.onlyComponent) {
      std::cerr << me << "project " << vb::ToUtf8(project.Name()) << " has no module named \"" << opts.module
                << "\"\n";
      return 2;
    }
  }

  RunReport report;
  report.check = check;
  report.projectName = project.Name();
  report.precise = run.rules == checks::RuleSet::Precise;
  report.showExposed = opts.showExposed;
  report.showSuppressed = opts.showSuppressed;
  try {
    checks::ProjectSource source(project);
    report.findings = checks::RunChecks(source, checks::ReadProjectFacts(project), run);
    checks::ApplySuppressions(source, ignore ? &*ignore : nullptr, report.findings);
  } catch (const ide::HostError& e) {
    // The check did not run to its end: no report, and no clean result.
    std::cerr << kStopped << "\n" << me << "the check stopped: " << e.what() << "\n";
    return 2;
  }
  if (baseline) {
    report.baselineUsed = true;
    report.baselineGone = baseline->Match(report.findings, report.projectName, opts.showExposed);
  }
  if (!opts.writeBaseline.empty()) {
    try {
      auto stored = checks::Baseline::Of(report.findings, report.projectName, opts.showExposed);
      stored.Write(opts.writeBaseline);
      std::cerr << me << "wrote " << stored.size() << " findings to the baseline " << opts.writeBaseline << "\n";
    } catch (const std::exception& e) {
      std::cerr << me << e.what() << "\n";
      return 2;
    }
  }
  report.Index(project);

  if (!opts.log.empty()) {
    try {
      checks::WriteLogFile(opts.log, report.LogText(), load.code_page);
    } catch (const std::exception& e) {
      std::cerr << me << e.what() << "\n";
      return 2;
    }
  }
  if (opts.format == "json") {
    PrintJson(report);
  } else if (opts.format == "sarif") {
    PrintSarif(report);
  } else if (opts.format == "csv") {
    PrintCsv(report);
  } else {
    PrintTextReport(report);
  }
  if (!opts.writeBaseline.empty()) return 0;
  return report.Failing() > 0 ? 1 : 0;
}

int ListRules() {
  std::cout << "The add-in's rules (--rules ide, the default) and what --rules precise adds:\n";
  for (const auto& r : checks::PreciseRules()) {
    std::cout << "  " << r.id << " [" << r.checks << "]: " << r.reason << "\n";
  }
  return 0;
}

RegisterCommand checkCommand([](CLI::App& app, int& exit_code) {
  CLI::App* check = app.add_subcommand("check", "find unused variables or procedures in a project");
  check->require_subcommand(1);
  for (const char* kind : {"variables", "procedures", "all"}) {
    auto opts = std::make_shared<CheckOptions>();
    const std::string name = kind;
    std::string what = name == "variables"    ? "report variables and constants that are never used"
                       : name == "procedures" ? "report procedures that are never called"
                                              : "run both checks after one load";
    CLI::App* sub = check->add_subcommand(kind, what);
    sub->add_option("path", opts->path, "a .vbp project or one component file")->required();
    sub->add_option("--module", opts->module, "check only this component (name in any case)");
    sub->add_option("--format", opts->format, "text (the report), json, sarif or csv")
        ->check(CLI::IsMember({"text", "json", "sarif", "csv"}));
    sub->add_option("--log", opts->log, "also write the report as a log file, in the code page");
    sub->add_option("--encoding", opts->encoding,
                    "code page of the project files and the log file (default: the system code page, CP932)");
    sub->add_option("--rules", opts->rules, "ide (the add-in's rules, the default) or precise (see tarno check rules)")
        ->check(CLI::IsMember({"ide", "precise"}));
    sub->add_flag("--transitive", opts->transitive,
                  "with --rules precise: procedures used only by unused procedures are unused too");
    sub->add_flag("--show-exposed", opts->showExposed,
                  "report exposed members of ActiveX projects (and fail on them) like unused ones");
    sub->add_flag("--show-suppressed", opts->showSuppressed, "list the suppressed findings too");
    sub->add_option("--ignore", opts->ignore,
                    "ignore file of Module.Name patterns (default: .tarno-ignore beside the project)");
    sub->add_option("--baseline", opts->baseline, "report and fail only on findings that are not in this baseline");
    sub->add_option("--write-baseline", opts->writeBaseline, "store the current findings as a baseline");
    sub->add_option("--jobs", opts->jobs, "threads for the checks (default: the machine's cores)")
        ->check(CLI::Range(1, 256));
    sub->callback([opts, name, &exit_code] { exit_code = RunCheck(name, *opts); });
  }
  CLI::App* rules = check->add_subcommand("rules", "list the precise rules, each with its reason");
  rules->callback([&exit_code] { exit_code = ListRules(); });
});

}  // namespace
}  // namespace tarno::cli
