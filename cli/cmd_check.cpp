// tarno check variables | procedures PROJECT.vbp|FILE: the unused-variable and
// unused-procedure checks of the add-in, run on project files. Prints the
// report (text), one JSON object (json) or a SARIF 2.1.0 log (sarif); --log
// writes the report as the results window saves it. Exit status: 0 without
// findings, 1 with findings, 2 on an error.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "checks/check_reports.h"
#include "checks/procedure_check.h"
#include "checks/variable_check.h"
#include "cli/command_registry.h"
#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

namespace files = host::files;
namespace fs = std::filesystem;
// Keys in the order the output documents them.
using json = nlohmann::ordered_json;

const char* const kNoModules = "指定されたプロジェクトには、モジュールが存在しませんので実行できません";
const char* const kNoFindings = "正常終了しました";
const char* const kStopped = "チェック中にエラーが発生しましたので中断しました";

struct CheckOptions {
  std::string path;
  std::string module;
  std::string format = "text";
  std::string log;
  std::string encoding;
};

std::string U8(std::u16string_view s) { return vb::ToUtf8(s); }

// Where the component's file lies, and the file line of each code line.
struct ComponentFile {
  fs::path path;
  std::string shown;  // relative to the project's folder when inside it
  int FileLine(int codeLine) const {
    if (!code || codeLine < 1 || codeLine > code->text().CountOfLines()) return codeLine;
    return header + code->text().PhysicalIndex(codeLine) + 1;
  }
  int header = 0;
  std::shared_ptr<host::MemCodeModule> code;
};

ComponentFile FileOf(host::MemProject& project, int index) {
  ComponentFile f;
  auto& comp = *project.components().at(static_cast<size_t>(index - 1));
  f.code = comp.code();
  if (!comp.fileNames().empty()) f.path = files::ToPath(comp.fileNames()[0]);
  if (auto* state = files::StateOf(comp)) {
    if (!state->path.empty()) f.path = state->path;
    if (state->file) f.header = static_cast<int>(state->file->header_end());
  }
  f.shown = f.path.generic_string();
  fs::path base = files::ToPath(project.FileName()).parent_path();
  if (!f.path.empty() && !base.empty()) {
    std::error_code ec;
    fs::path rel = fs::relative(f.path, base, ec);
    if (!ec && !rel.empty() && *rel.begin() != "..") f.shown = rel.generic_string();
  }
  return f;
}

// A URI reference for SARIF: relative to the working folder when inside it
// (code-scanning services resolve it against the checkout), else file://.
std::string ArtifactUri(const fs::path& path) {
  std::error_code ec;
  fs::path abs = fs::absolute(path, ec);
  fs::path rel = fs::relative(abs, fs::current_path(ec), ec);
  bool relative = !ec && !rel.empty() && *rel.begin() != "..";
  std::string raw = relative ? rel.generic_string() : abs.generic_string();
  std::string out = relative ? "" : "file://";
  static const char* hex = "0123456789ABCDEF";
  for (unsigned char c : raw) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

json Sarif(const std::string& check, const json& findings) {
  const bool variables = check == "variables";
  json rule = {{"id", variables ? "unused-variable" : "unused-procedure"},
               {"name", variables ? "UnusedVariable" : "UnusedProcedure"},
               {"shortDescription",
                {{"text", variables ? "A variable or constant is declared but never used"
                                    : "A procedure is declared but never used"}}},
               {"defaultConfiguration", {{"level", "warning"}}}};
  json results = json::array();
  for (const auto& f : findings) {
    std::string text = variables ? "Unused variable '" + f["name"].get<std::string>() + "'"
                                 : "Unused procedure '" + f["name"].get<std::string>() + "'";
    if (variables) text += " in " + f["procedure"].get<std::string>();
    results.push_back({{"ruleId", rule["id"]},
                       {"ruleIndex", 0},
                       {"level", "warning"},
                       {"message", {{"text", text}}},
                       {"locations",
                        json::array({{{"physicalLocation",
                                       {{"artifactLocation", {{"uri", f["uri"]}}},
                                        {"region", {{"startLine", f["file_line"]}}}}}}})}});
  }
  return {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
          {"version", "2.1.0"},
          {"runs", json::array({{{"tool",
                                  {{"driver",
                                    {{"name", "tarno"},
                                     {"version", TARNO_VERSION},
                                     {"rules", json::array({rule})}}}}},
                                 {"results", results}}})}};
}

// The report on stdout: UTF-8 with LF line ends and a final line end.
void PrintText(const std::u16string& text) {
  std::string out = vb::ToUtf8(text);
  std::string lf;
  lf.reserve(out.size());
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') continue;
    lf += out[i];
  }
  std::cout << lf << "\n";
}

int RunCheck(const std::string& check, const CheckOptions& opts) {
  const std::string me = "tarno check " + check + ": ";
  files::LoadOptions load;
  if (!opts.encoding.empty()) {
    try {
      load.code_page = CodePage::Named(opts.encoding);
    } catch (const std::invalid_argument&) {
      std::cerr << me << "unknown code page \"" << opts.encoding << "\"\n";
      return 2;
    }
  }
  files::LoadedWorkspace ws;
  try {
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
  int only = 0;
  if (!opts.module.empty()) {
    std::u16string wanted = vb::U(opts.module);
    for (int i = 1; i <= count && !only; ++i) {
      if (vb::EqualsIgnoreCaseAscii(project.components()[static_cast<size_t>(i - 1)]->Name(), wanted)) only = i;
    }
    if (!only) {
      std::cerr << me << "project " << U8(project.Name()) << " has no module named \"" << opts.module << "\"\n";
      return 2;
    }
  }

  checks::CheckProgress progress;
  if (!only && isatty(STDERR_FILENO)) {
    progress = [](int done, int total) {
      std::cerr << "\r" << done << "/" << total << " modules" << (done == total ? "\n" : "") << std::flush;
    };
  }

  const std::u16string projectName = project.Name();
  json modules = json::array();
  json flat = json::array();  // for SARIF
  std::u16string report;
  int total = 0;
  try {
    checks::ProjectSource source(project);
    if (check == "variables") {
      checks::VariableCheckResult result;
      result.projectName = projectName;
      if (only) {
        checks::CheckModuleVariables(project, only, project.components()[static_cast<size_t>(only - 1)]->Name(),
                                     result, &source);
      } else {
        checks::CheckProjectVariables(project, result, &source, progress);
      }
      for (const auto& m : result.modules) {
        ComponentFile file = FileOf(project, m.component);
        json findings = json::array();
        for (const auto& f : m.findings) {
          json j = {{"name", U8(f.name)},
                    {"line", f.line},
                    {"file_line", file.FileLine(f.line)},
                    {"level", f.level},
                    {"procedure", U8(f.procedure)}};
          findings.push_back(j);
          j["uri"] = ArtifactUri(file.path);
          flat.push_back(j);
        }
        modules.push_back({{"name", U8(m.name)}, {"file", file.shown}, {"findings", findings}});
      }
      total = result.Total();
      report = checks::VariableReportText(result);
    } else {
      checks::ProcedureCheckResult result;
      if (only) {
        checks::CheckModuleProcedures(project, only, project.components()[static_cast<size_t>(only - 1)]->Name(),
                                      result, &source);
      } else {
        checks::CheckProjectProcedures(project, result, &source, progress);
      }
      for (const auto& m : result.modules) {
        ComponentFile file = FileOf(project, m.component);
        json findings = json::array();
        for (const auto& f : m.findings) {
          json j = {{"name", U8(f.Name)}, {"line", f.Line}, {"file_line", file.FileLine(f.Line)}};
          findings.push_back(j);
          j["uri"] = ArtifactUri(file.path);
          flat.push_back(j);
        }
        modules.push_back({{"name", U8(m.Name)}, {"file", file.shown}, {"findings", findings}});
      }
      total = result.Total();
      report = checks::ProcedureReportText(projectName, result);
    }
  } catch (const ide::HostError& e) {
    // The check did not run to its end: no report, and no clean result.
    std::cerr << kStopped << "\n" << me << "the check stopped: " << e.what() << "\n";
    return 2;
  }

  if (!opts.log.empty()) {
    try {
      checks::WriteLogFile(opts.log, report, load.code_page);
    } catch (const std::exception& e) {
      std::cerr << me << e.what() << "\n";
      return 2;
    }
  }
  if (opts.format == "json") {
    json out = {{"check", check}, {"project", U8(projectName)}, {"modules", modules}, {"total", total}};
    std::cout << out.dump() << "\n";
  } else if (opts.format == "sarif") {
    std::cout << Sarif(check, flat).dump(1) << "\n";
  } else if (total == 0) {
    std::cout << kNoFindings << "\n";
  } else {
    PrintText(report);
  }
  return total > 0 ? 1 : 0;
}

RegisterCommand checkCommand([](CLI::App& app, int& exit_code) {
  CLI::App* check = app.add_subcommand("check", "find unused variables or procedures in a project");
  check->require_subcommand(1);
  for (const char* kind : {"variables", "procedures"}) {
    auto opts = std::make_shared<CheckOptions>();
    std::string what = std::string(kind) == "variables" ? "report variables and constants that are never used"
                                                        : "report procedures that are never called";
    CLI::App* sub = check->add_subcommand(kind, what);
    sub->add_option("path", opts->path, "a .vbp project or one component file")->required();
    sub->add_option("--module", opts->module, "check only this component (name in any case)");
    sub->add_option("--format", opts->format, "text (the report), json or sarif")
        ->check(CLI::IsMember({"text", "json", "sarif"}));
    sub->add_option("--log", opts->log, "also write the report as a log file, in the code page");
    sub->add_option("--encoding", opts->encoding,
                    "code page of the project files and the log file (default: the system code page, CP932)");
    std::string name = kind;
    sub->callback([opts, name, &exit_code] { exit_code = RunCheck(name, *opts); });
  }
});

}  // namespace
}  // namespace tarno::cli
