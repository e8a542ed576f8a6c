#include "cli/check_output.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <nlohmann/json.hpp>

#include "checks/check_run_report.h"
#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"

namespace tarno::cli {

namespace files = host::files;
namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using checks::CheckKind;
using checks::Finding;
using checks::Verdict;

namespace {

const char* const kNoFindings = "正常終了しました";

std::string U8(std::u16string_view s) { return vb::ToUtf8(s); }

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
    if ((c < 0x80 && std::isalnum(c)) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

ComponentFile FileOf(host::MemProject& project, size_t index) {
  ComponentFile f;
  auto& comp = *project.components().at(index);
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
    if (!ec && !rel.empty()) {
      f.shown = rel.generic_string();
      // Outside the project's folder: relative all the same, never a path of
      // this machine, written as the project file writes it (..\peg\cParser.cls).
      if (*rel.begin() == "..") std::replace(f.shown.begin(), f.shown.end(), '/', '\\');
    }
  }
  f.uri = ArtifactUri(f.path);
  std::error_code ec;
  fs::path abs = fs::absolute(f.path, ec);
  fs::path rel = fs::relative(abs, fs::current_path(ec), ec);
  f.local = (!ec && !rel.empty() && *rel.begin() != "..") ? rel.generic_string() : abs.lexically_normal().generic_string();
  return f;
}

bool Runs(const RunReport& r, CheckKind check) {
  return r.check == "all" || (check == CheckKind::Variables) == (r.check == "variables");
}

std::string_view VerdictText(Verdict v) { return v == Verdict::Exposed ? "exposed" : "unused"; }

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

// The reported findings of one check (the reports pick their check's
// findings themselves): all of them as they are when nothing is left out,
// since a large project's findings are too big to copy for nothing.
const std::vector<Finding>& ReportedOf(const RunReport& r, CheckKind check, int project, std::vector<Finding>& storage) {
  auto leftOut = [&](const Finding& f) { return f.check == check && (!r.Reported(f) || f.project != project); };
  if (std::none_of(r.findings.begin(), r.findings.end(), leftOut)) return r.findings;
  storage.clear();
  for (const auto& f : r.findings) {
    if (f.check == check && f.project == project && r.Reported(f)) storage.push_back(f);
  }
  return storage;
}

// A JSON string as json::dump writes it. Plain ASCII (the usual case) is
// written here; anything else goes through the library, so that every byte
// and every error stays the library's own.
void AppendJsonString(std::string& out, std::string_view s) {
  const bool plain = std::all_of(s.begin(), s.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u < 0x80 && c != '"' && c != '\\';
  });
  if (!plain) {
    out += json(std::string(s)).dump();
    return;
  }
  out += '"';
  out += s;
  out += '"';
}

void AppendJsonString(std::string& out, std::u16string_view s) {
  // Names are nearly always plain ASCII: no UTF-8 copy for them.
  const bool plain = std::all_of(s.begin(), s.end(), [](char16_t c) { return c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\'; });
  if (!plain) {
    AppendJsonString(out, U8(s));
    return;
  }
  out += '"';
  for (char16_t c : s) out += static_cast<char>(c);
  out += '"';
}

void AppendNumber(std::string& out, int n) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  out.append(digits, end);
}

// One finding as a JSON object, written straight into `out` (a large
// project has hundreds of thousands: no tree per finding).
void AppendFindingJson(std::string& out, const RunReport& r, const Finding& f) {
  const ComponentFile& file = r.FileOf(f);
  auto field = [&](std::string_view key) {
    out += ",\"";
    out += key;
    out += "\":";
  };
  out += "{\"name\":";
  AppendJsonString(out, f.name);
  if (f.kind != checks::UnusedKind::None) {
    field("kind");
    AppendJsonString(out, checks::KindName(f.kind));
  }
  field("line");
  AppendNumber(out, f.line);
  field("file_line");
  AppendNumber(out, file.FileLine(f.line));
  if (f.column > 0) {
    field("column");
    AppendNumber(out, f.column);
  }
  if (f.check == CheckKind::Variables) {
    field("level");
    AppendNumber(out, f.level);
    field("procedure");
    AppendJsonString(out, f.procedure);
  }
  if (r.precise) {
    field("verdict");
    AppendJsonString(out, VerdictText(f.verdict));
  }
  if (!f.rule.empty()) {
    field("rule");
    AppendJsonString(out, f.rule);
  }
  if (!f.reason.empty()) {
    field("reason");
    AppendJsonString(out, f.reason);
  }
  if (!f.suppressed.empty()) {
    field("suppressed");
    AppendJsonString(out, f.suppressed);
  }
  out += '}';
}

// Prints the modules of one check with their listed findings, in scan
// order, as a JSON array, one module at a time; returns the reported count.
int PrintModulesJson(const RunReport& r, CheckKind check, int project) {
  int total = 0;
  int last = 0;
  bool open = false;
  std::string out = "[";
  for (const auto& f : r.findings) {
    if (f.check != check || f.project != project || !r.Listed(f)) continue;
    if (r.Reported(f)) ++total;
    if (f.component != last) {
      if (open) {
        out += "]},";
        std::cout << out;
        out.clear();
      }
      const ComponentFile& file = r.FileOf(f);
      out += "{\"name\":";
      AppendJsonString(out, f.module);
      out += ",\"file\":";
      AppendJsonString(out, file.shown);
      out += ",\"findings\":[";
      last = f.component;
      open = true;
    } else {
      out += ',';
    }
    AppendFindingJson(out, r, f);
  }
  if (open) out += "]}";
  out += "]";
  std::cout << out;
  return total;
}

void AddSummary(const RunReport& r, json& out) {
  if (r.precise) {
    out["rules"] = "precise";
    out["exposed"] = r.ExposedLeftOut();
  }
  if (r.Suppressed() > 0 || r.showSuppressed) out["suppressed"] = r.Suppressed();
  if (r.baselineUsed) out["baseline"] = {{"known", r.Known()}, {"gone", r.baselineGone}};
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

ComponentFile ComponentFileOf(host::MemProject& project, size_t index) { return FileOf(project, index); }

int ComponentFile::FileLine(int codeLine) const {
  if (!code || codeLine < 1 || codeLine > code->text().CountOfLines()) return codeLine;
  return header + code->text().PhysicalIndex(codeLine) + 1;
}

void RunReport::Index(const std::vector<host::MemProject*>& projects) {
  files.clear();
  for (host::MemProject* project : projects) {
    files.emplace_back();
    for (size_t i = 0; i < project->components().size(); ++i) files.back().push_back(ComponentFileOf(*project, i));
  }
}

bool RunReport::Reported(const Finding& f) const {
  return f.suppressed.empty() && !f.inBaseline && (f.verdict == Verdict::Unused || showExposed);
}

bool RunReport::Listed(const Finding& f) const {
  if (!f.suppressed.empty()) return showSuppressed;
  return !f.inBaseline;
}

int RunReport::Failing() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(), [&](const Finding& f) { return Reported(f); }));
}

int RunReport::Suppressed() const {
  return static_cast<int>(
      std::count_if(findings.begin(), findings.end(), [](const Finding& f) { return !f.suppressed.empty(); }));
}

int RunReport::ExposedLeftOut() const {
  if (showExposed) return 0;
  return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
    return f.suppressed.empty() && !f.inBaseline && f.verdict == Verdict::Exposed;
  }));
}

int RunReport::Known() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const Finding& f) { return f.inBaseline; }));
}

std::u16string RunReport::LogText() const {
  std::u16string text;
  for (size_t p = 0; p < std::max<size_t>(projectNames.size(), 1); ++p) {
    const std::u16string& name = projectNames.empty() ? projectName : projectNames[p];
    const int project = static_cast<int>(p);
    if (Runs(*this, CheckKind::Variables)) {
      if (!text.empty()) text += u"\r\n\r\n";
      std::vector<Finding> storage;
      text += checks::VariableRunReport(ReportedOf(*this, CheckKind::Variables, project, storage), name);
    }
    if (Runs(*this, CheckKind::Procedures)) {
      if (!text.empty()) text += u"\r\n\r\n";
      std::vector<Finding> storage;
      text += checks::ProcedureRunReport(ReportedOf(*this, CheckKind::Procedures, project, storage), name);
    }
  }
  return text;
}

void PrintTextReport(const RunReport& r) {
  // The modules that could not be read come first: their findings are missing.
  if (!r.parseErrors.empty()) {
    std::cout << "parse errors: " << r.parseErrors.size() << " (the modules that hold them are not checked)\n";
    for (const auto& e : r.parseErrors) {
      const ComponentFile& file = r.FileOf(e.project, e.component);
      std::cout << file.shown << ":" << file.FileLine(e.line) << ":" << e.column << ": " << e.message << "\n";
    }
    std::cout << "\n";
  }
  bool any = false;
  const size_t projects = std::max<size_t>(r.projectNames.size(), 1);
  for (size_t p = 0; p < projects; ++p) {
    const std::u16string& name = r.projectNames.empty() ? r.projectName : r.projectNames[p];
    for (CheckKind check : {CheckKind::Variables, CheckKind::Procedures}) {
      if (!Runs(r, check)) continue;
      std::vector<Finding> storage;
      const auto& reported = ReportedOf(r, check, static_cast<int>(p), storage);
      if (std::none_of(reported.begin(), reported.end(), [&](const Finding& f) { return f.check == check; })) continue;
      if (any) std::cout << "\n";
      PrintText(check == CheckKind::Variables ? checks::VariableRunReport(reported, name)
                                              : checks::ProcedureRunReport(reported, name));
      any = true;
    }
  }
  if (!any) std::cout << kNoFindings << "\n";
  // What was left out, only when something was.
  if (int n = r.Suppressed(); n > 0) {
    std::cout << "suppressed: " << n << (r.showSuppressed ? "" : " (--show-suppressed lists them)") << "\n";
    if (r.showSuppressed) {
      for (const auto& f : r.findings) {
        if (f.suppressed.empty()) continue;
        std::cout << "\t" << checks::CheckId(f.check) << "\t" << U8(f.module) << "." << U8(f.name) << "\t"
                  << f.line << "\t" << f.suppressed << "\n";
      }
    }
  }
  if (int n = r.ExposedLeftOut(); n > 0) {
    std::cout << "exposed: " << n << " public members of exposed components (--show-exposed reports them)\n";
  }
  if (r.baselineUsed) {
    std::cout << "baseline: " << r.Known() << " known findings left out, " << r.baselineGone
              << " entries gone (fixed)\n";
  }
}

namespace {

// The findings of one project: "variables" and "procedures" (all) or
// "modules", each with its total; returns the project's total.
int PrintProjectJson(const RunReport& r, int project) {
  int total = 0;
  if (r.check == "all") {
    for (CheckKind check : {CheckKind::Variables, CheckKind::Procedures}) {
      std::cout << (check == CheckKind::Variables ? ",\"variables\":{\"modules\":" : ",\"procedures\":{\"modules\":");
      const int n = PrintModulesJson(r, check, project);
      std::cout << ",\"total\":" << n << "}";
      total += n;
    }
  } else {
    std::cout << ",\"modules\":";
    total = PrintModulesJson(r, r.check == "variables" ? CheckKind::Variables : CheckKind::Procedures, project);
  }
  return total;
}

}  // namespace

void PrintJson(const RunReport& r) {
  // Written piece by piece: a large project's findings never stand in memory as one tree.
  auto quoted = [](const std::string& s) { return json(s).dump(); };
  std::cout << "{\"check\":" << quoted(r.check);
  int total = 0;
  if (r.projectNames.size() > 1) {
    // A group: its projects in the group's order, each with its findings.
    std::cout << ",\"projects\":[";
    for (size_t p = 0; p < r.projectNames.size(); ++p) {
      std::cout << (p ? "," : "") << "{\"project\":" << quoted(U8(r.projectNames[p]));
      const int n = PrintProjectJson(r, static_cast<int>(p));
      std::cout << ",\"total\":" << n << "}";
      total += n;
    }
    std::cout << "]";
  } else {
    std::cout << ",\"project\":" << quoted(U8(r.projectName));
    total = PrintProjectJson(r, 0);
  }
  std::cout << ",\"total\":" << total;
  if (r.precise) {
    json errors = json::array();
    for (const auto& e : r.parseErrors) {
      const ComponentFile& file = r.FileOf(e.project, e.component);
      errors.push_back({{"file", file.shown}, {"line", file.FileLine(e.line)}, {"column", e.column}, {"message", e.message}});
    }
    std::cout << ",\"parse_errors\":" << errors.dump();
  }
  json summary = json::object();
  AddSummary(r, summary);
  for (const auto& [key, value] : summary.items()) std::cout << "," << quoted(key) << ":" << value.dump();
  std::cout << "}\n";
}

void PrintSarif(const RunReport& r) {
  json rules = json::array();
  std::vector<CheckKind> run;
  for (CheckKind check : {CheckKind::Variables, CheckKind::Procedures}) {
    if (!Runs(r, check)) continue;
    const bool v = check == CheckKind::Variables;
    rules.push_back({{"id", checks::CheckId(check)},
                     {"name", v ? "UnusedVariable" : "UnusedProcedure"},
                     {"shortDescription",
                      {{"text", v ? "A variable or constant is declared but never used"
                                  : "A procedure is declared but never used"}}},
                     {"defaultConfiguration", {{"level", "warning"}}}});
    run.push_back(check);
  }
  json results = json::array();
  for (const auto& f : r.findings) {
    if (!r.Listed(f)) continue;
    const bool v = f.check == CheckKind::Variables;
    const bool exposed = f.verdict == Verdict::Exposed;
    std::string what = f.kind != checks::UnusedKind::None ? std::string(checks::KindName(f.kind))
                                                          : std::string(v ? "variable" : "procedure");
    std::string text = std::string(exposed ? "Exposed " : "Unused ") + what + " '" + U8(f.name) + "'";
    if (v) text += " in " + U8(f.procedure);
    if (exposed) text += ": used by programs outside the project";
    if (!f.reason.empty()) text += " (" + f.reason + ")";
    const ComponentFile& file = r.FileOf(f);
    json region = {{"startLine", file.FileLine(f.line)}};
    if (f.column > 0) region["startColumn"] = f.column;
    json result = {{"ruleId", checks::CheckId(f.check)},
                   {"ruleIndex", std::find(run.begin(), run.end(), f.check) - run.begin()},
                   {"level", exposed && !r.showExposed ? "note" : "warning"},
                   {"message", {{"text", text}}},
                   {"locations",
                    json::array({{{"physicalLocation",
                                   {{"artifactLocation", {{"uri", file.uri}}},
                                    {"region", region}}}}})}};
    if (!f.suppressed.empty()) {
      result["suppressions"] =
          json::array({{{"kind", f.suppressed == "ignore file" ? "external" : "inSource"}, {"justification", f.suppressed}}});
    }
    if (r.baselineUsed) result["baselineState"] = "new";
    if (r.precise) {
      json props = {{"verdict", VerdictText(f.verdict)}};
      if (f.kind != checks::UnusedKind::None) props["kind"] = checks::KindName(f.kind);
      if (!f.rule.empty()) props["rule"] = f.rule;
      if (r.projectNames.size() > 1) props["project"] = U8(r.projectNames[static_cast<size_t>(f.project)]);
      result["properties"] = props;
    }
    results.push_back(result);
  }
  json runEntry = {{"tool", {{"driver", {{"name", "tarno"}, {"version", TARNO_VERSION}, {"rules", rules}}}}},
                   {"results", results}};
  if (r.precise) {
    // Modules that could not be read: tool notifications, one per parse error.
    json notes = json::array();
    for (const auto& e : r.parseErrors) {
      const ComponentFile& file = r.FileOf(e.project, e.component);
      notes.push_back({{"level", "error"},
                       {"descriptor", {{"id", "parse-error"}}},
                       {"message", {{"text", "parse error (module not checked): " + e.message}}},
                       {"locations",
                        json::array({{{"physicalLocation",
                                       {{"artifactLocation", {{"uri", file.uri}}},
                                        {"region", {{"startLine", file.FileLine(e.line)}, {"startColumn", std::max(e.column, 1)}}}}}}})}});
    }
    runEntry["invocations"] = json::array({{{"executionSuccessful", r.parseErrors.empty()},
                                            {"toolExecutionNotifications", notes}}});
  }
  json out = {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
              {"version", "2.1.0"},
              {"runs", json::array({runEntry})}};
  std::cout << out.dump(1) << "\n";
}

void PrintCsv(const RunReport& r) {
  std::vector<const Finding*> rows;
  for (const auto& f : r.findings) {
    if (r.Listed(f)) rows.push_back(&f);
  }
  // Stable order: project, component, line, name; then the check.
  std::stable_sort(rows.begin(), rows.end(), [](const Finding* a, const Finding* b) {
    return std::tie(a->project, a->module, a->line, a->name, a->check) <
           std::tie(b->project, b->module, b->line, b->name, b->check);
  });
  // The precise rules add each finding's kind.
  std::cout << "check,project,component,file,line,file_line,name," << (r.precise ? "kind," : "")
            << "procedure,verdict,rule,reason,suppressed\n";
  for (const Finding* f : rows) {
    const ComponentFile& file = r.FileOf(*f);
    const std::u16string& project = r.projectNames.empty() ? r.projectName : r.projectNames[static_cast<size_t>(f->project)];
    std::cout << checks::CheckId(f->check) << "," << CsvField(U8(project)) << "," << CsvField(U8(f->module)) << ","
              << CsvField(file.shown) << "," << f->line << "," << file.FileLine(f->line) << ","
              << CsvField(U8(f->name)) << ",";
    if (r.precise) std::cout << checks::KindName(f->kind) << ",";
    std::cout << CsvField(U8(f->procedure)) << "," << VerdictText(f->verdict) << "," << CsvField(f->rule) << ","
              << CsvField(f->reason) << "," << CsvField(f->suppressed) << "\n";
  }
}

void PrintLines(const RunReport& r) {
  for (const auto& e : r.parseErrors) {
    const ComponentFile& file = r.FileOf(e.project, e.component);
    std::cout << file.local << ":" << file.FileLine(e.line) << ":" << e.column << ": parse error: " << e.message << "\n";
  }
  for (const auto& f : r.findings) {
    if (!r.Reported(f)) continue;
    const ComponentFile& file = r.FileOf(f);
    std::string_view kind = f.kind != checks::UnusedKind::None ? checks::KindName(f.kind)
                            : f.check == CheckKind::Variables ? std::string_view("variable")
                                                               : std::string_view("procedure");
    std::cout << file.local << ":" << file.FileLine(f.line) << ":" << std::max(f.column, 1) << ": "
              << VerdictText(f.verdict) << " " << kind << " '" << U8(f.name) << "' [" << checks::CheckId(f.check)
              << "]\n";
  }
}

}  // namespace tarno::cli
