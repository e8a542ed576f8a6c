#include "checks/check_run_report.h"

#include "checks/check_reports.h"
#include "platform/vb_text.h"

namespace tarno::checks {

namespace {

// The notes under a finding (its reason, its kind), each line ending in
// CR LF after the indent; "" for none.
std::u16string NoteOf(const Finding& f, const std::u16string& indent = {}) {
  std::u16string note;
  if (!f.reason.empty()) {
    note += indent + vb::U("理由：") + vb::U(f.reason) + u"\r\n";
  } else if (f.verdict == Verdict::Exposed) {
    note += indent + vb::U("理由：exposed (") + vb::U(f.rule) + u")\r\n";
  }
  if (f.kind != UnusedKind::None) note += indent + vb::U("種類：") + vb::U(std::string(KindName(f.kind))) + u"\r\n";
  return note;
}

bool AnyNote(const std::vector<Finding>& findings, CheckKind check) {
  for (const auto& f : findings) {
    if (f.check == check && !NoteOf(f).empty()) return true;
  }
  return false;
}

// Inserts each finding's note after its block: the report's finding blocks end
// with the line "宣言されている行数：" N followed by an empty line, in
// finding order.
std::u16string WithNotes(std::u16string report, const std::vector<Finding>& findings, CheckKind check,
                         const std::u16string& indent) {
  const std::u16string lineLabel = vb::U("宣言されている行数：");
  size_t pos = 0;
  for (const auto& f : findings) {
    if (f.check != check) continue;
    size_t at = report.find(lineLabel, pos);
    if (at == std::u16string::npos) break;
    size_t eol = report.find(u"\r\n", at);
    if (eol == std::u16string::npos) break;
    pos = eol + 2;
    std::u16string line = NoteOf(f, indent);
    if (line.empty()) continue;
    report.insert(pos, line);
    pos += line.size();
  }
  return report;
}

}  // namespace

std::u16string VariableRunReport(const std::vector<Finding>& findings, const std::u16string& projectName) {
  std::u16string text = VariableReportText(VariableResultOf(findings, projectName));
  if (!AnyNote(findings, CheckKind::Variables)) return text;
  return WithNotes(std::move(text), findings, CheckKind::Variables, u"\t\t\t");
}

std::u16string ProcedureRunReport(const std::vector<Finding>& findings, const std::u16string& projectName) {
  std::u16string text = ProcedureReportText(projectName, ProcedureResultOf(findings));
  if (!AnyNote(findings, CheckKind::Procedures)) return text;
  return WithNotes(std::move(text), findings, CheckKind::Procedures, u"\t\t");
}

}  // namespace tarno::checks
