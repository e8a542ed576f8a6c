// tarno check variables | procedures | all PROJECT.vbp|GROUP.vbg|FILE: the
// unused-code checks, run on project files. `--rules precise` (the default)
// reads the code with the language model (lang/) and applies the rules that
// `tarno check rules` lists, every finding with its kind; a group's projects
// are checked together. `--rules ide` gives exactly the add-in's findings.
// Suppression markers, an ignore file and a baseline leave out findings a
// team keeps. Prints the report (text), one JSON object (json), a SARIF 2.1.0
// log (sarif), CSV, or one line per finding (lines); --log writes the report
// as the results window saves it. Exit status: 0 without findings, 1 with
// findings, 2 on an error or, without --allow-parse-errors, a parse error.
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
#include "checks/unused_code.h"
#include "host/files/project_loader.h"
#include "lang/model.h"
#include "platform/console.h"
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
  std::string rules = "precise";
  std::string kinds;
  bool allowParseErrors = false;
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
  if (!opts.kinds.empty() && opts.rules != "precise") {
    std::cerr << me << "--kinds needs --rules precise\n";
    return 2;
  }
  files::LoadOptions load;
  load.jobs = opts.jobs > 0 ? opts.jobs : DefaultJobs();
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
  const bool precise = opts.rules == "precise";
  if (ws.projects.size() != 1 && !precise) {
    std::cerr << me << opts.path << " is a project group of " << ws.projects.size()
              << " projects; check one of its .vbp files (or the group with --rules precise)\n";
    return 2;
  }
  std::vector<host::MemProject*> projects;
  size_t componentCount = 0;
  for (auto& p : ws.projects) {
    projects.push_back(p.get());
    componentCount += p->components().size();
  }
  if (projects.empty() || componentCount == 0) {
    std::cerr << kNoModules << "\n";
    return 2;
  }
  checks::RunOptions run;
  run.variables = check != "procedures";
  run.procedures = check != "variables";
  run.rules = precise ? checks::RuleSet::Precise : checks::RuleSet::Ide;
  run.transitive = opts.transitive;
  run.jobs = opts.jobs > 0 ? opts.jobs : DefaultJobs();
  if (!opts.kinds.empty()) {
    std::string bad;
    auto kinds = checks::ParseKinds(opts.kinds, bad);
    if (!kinds) {
      std::cerr << me << "--kinds: \"" << bad
                << "\" is not a kind (variable, constant, parameter, type, enum, declare, procedure, event)\n";
      return 2;
    }
    run.kinds = *kinds;
  }
  // --module: a component of the project (of any project of a group).
  int moduleProject = -1;
  if (!opts.module.empty()) {
    std::u16string wanted = ArgumentText(opts.module);
    for (size_t p = 0; p < projects.size() && !run.onlyComponent; ++p) {
      const auto& comps = projects[p]->components();
      for (size_t i = 0; i < comps.size() && !run.onlyComponent; ++i) {
        if (vb::EqualsIgnoreCaseAscii(comps[i]->Name(), wanted)) {
          run.onlyComponent = static_cast<int>(i + 1);
          moduleProject = static_cast<int>(p);
        }
      }
    }
    if (!run.onlyComponent) {
      std::cerr << me << "project " << vb::ToUtf8(projects[0]->Name()) << " has no module named \"" << opts.module
                << "\"\n";
      return 2;
    }
  }

  RunReport report;
  report.check = check;
  report.projectName = projects[0]->Name();
  for (auto* p : projects) report.projectNames.push_back(p->Name());
  report.precise = precise;
  report.showExposed = opts.showExposed;
  report.showSuppressed = opts.showSuppressed;
  try {
    if (precise) {
      // One model of every project (a group's together), then the findings.
      std::vector<lang::ProjectCode> code;
      std::vector<checks::ProjectFacts> facts;
      for (auto* p : projects) {
        code.push_back(lang::ReadProjectCode(*p, lang::ProjectCondComp(*p)));
        facts.push_back(checks::ReadProjectFacts(*p));
      }
      lang::Model::Options modelOptions;
      modelOptions.jobs = run.jobs;
      auto model = lang::Model::Build(std::move(code), modelOptions);
      checks::UnusedOptions unused;
      unused.variables = run.variables;
      unused.procedures = run.procedures;
      unused.kinds = run.kinds;
      unused.transitive = run.transitive;
      for (uint32_t m = 0; m < model->ModuleCount(); ++m) {
        const lang::ModuleInfo& info = model->Module(m);
        const auto& pc = model->Projects()[info.project];
        const int component = pc.componentIndex[static_cast<size_t>(info.code - pc.modules.data())];
        if (run.onlyComponent && static_cast<int>(info.project) == moduleProject && component == run.onlyComponent) {
          unused.onlyModule = m;
        }
        for (const auto& e : model->Errors(m)) {
          report.parseErrors.push_back({static_cast<int>(info.project), component, e.line, e.column, e.message});
        }
      }
      report.findings = checks::FindUnused(*model, facts, unused);
      if (run.onlyComponent && unused.onlyModule == lang::kUnbound) report.findings.clear();
    }
    // Suppressions, project by project.
    for (size_t p = 0; p < projects.size(); ++p) {
      checks::ProjectSource source(*projects[p]);
      if (!precise) {
        report.findings = checks::RunChecks(source, checks::ReadProjectFacts(*projects[p]), run);
        checks::ApplySuppressions(source, ignore ? &*ignore : nullptr, report.findings);
        continue;
      }
      if (projects.size() == 1) {  // no copies of a large project's findings
        checks::ApplySuppressions(source, ignore ? &*ignore : nullptr, report.findings);
        continue;
      }
      std::vector<checks::Finding> own;
      std::vector<size_t> at;
      for (size_t i = 0; i < report.findings.size(); ++i) {
        if (report.findings[i].project == static_cast<int>(p)) {
          own.push_back(report.findings[i]);
          at.push_back(i);
        }
      }
      if (own.empty()) continue;
      checks::ApplySuppressions(source, ignore ? &*ignore : nullptr, own);
      for (size_t i = 0; i < own.size(); ++i) report.findings[at[i]].suppressed = own[i].suppressed;
    }
  } catch (const ide::HostError& e) {
    // The check did not run to its end: no report, and no clean result.
    std::cerr << kStopped << "\n" << me << "the check stopped: " << e.what() << "\n";
    return 2;
  } catch (const std::runtime_error& e) {
    std::cerr << me << e.what() << "\n";
    return 2;
  }
  if (baseline) {
    report.baselineUsed = true;
    report.baselineGone = baseline->Match(report.findings, report.projectNames, opts.showExposed);
  }
  if (!opts.writeBaseline.empty()) {
    try {
      auto stored = checks::Baseline::Of(report.findings, report.projectNames, opts.showExposed);
      stored.Write(opts.writeBaseline);
      std::cerr << me << "wrote " << stored.size() << " findings to the baseline " << opts.writeBaseline << "\n";
    } catch (const std::exception& e) {
      std::cerr << me << e.what() << "\n";
      return 2;
    }
  }
  report.Index(projects);

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
  } else if (opts.format == "lines") {
    PrintLines(report);
  } else {
    PrintTextReport(report);
  }
  if (!report.parseErrors.empty() && !opts.allowParseErrors) {
    std::cerr << me << report.parseErrors.size()
              << " parse errors: the modules that hold them were not checked (--allow-parse-errors accepts that)\n";
    return 2;
  }
  if (!opts.writeBaseline.empty()) return 0;
  return report.Failing() > 0 ? 1 : 0;
}

int ListRules() {
  std::cout << "The precise rules (--rules precise, the default; --rules ide gives the add-in's findings):\n";
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
    sub->add_option("path", opts->path, "a .vbp project, a .vbg group or one component file")->required();
    sub->add_option("--module", opts->module, "check only this component (name in any case)");
    sub->add_option("--format", opts->format,
                    "text (the report), json, sarif, csv or lines (FILE:LINE:COLUMN: unused KIND 'NAME' [check-id])")
        ->check(CLI::IsMember({"text", "json", "sarif", "csv", "lines"}));
    sub->add_option("--log", opts->log, "also write the report as a log file, in the code page");
    sub->add_option("--encoding", opts->encoding,
                    "code page of the project files and the log file (default: the system code page, CP932)");
    sub->add_option("--rules", opts->rules,
                    "precise (the language model and tarno check rules, the default) or ide (the add-in's findings)")
        ->check(CLI::IsMember({"ide", "precise"}));
    sub->add_option("--kinds", opts->kinds,
                    "with --rules precise: the kinds to report, of variable, constant, parameter, type, enum, "
                    "declare, procedure, event (default: all but parameter)");
    sub->add_flag("--allow-parse-errors", opts->allowParseErrors,
                  "exit 0 or 1 by the findings even when a module has parse errors (it is not checked)");
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
