#include "checks/check_reports.h"

#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::checks {

namespace {
const std::u16string kCrLf = u"\r\n";

// Appends the pieces in order (plain appends: no temporaries to concatenate).
template <class... Parts>
void Add(std::u16string& t, const Parts&... parts) {
  (t.append(parts), ...);
}
}  // namespace

std::u16string VariableReportText(const VariableCheckResult& result) {
  std::u16string t;
  Add(t, vb::U("******未使用の変数を検出しました******"), kCrLf, kCrLf);
  Add(t, vb::U("プロジェクト名："), result.projectName, kCrLf, kCrLf);
  const std::u16string procHeading = vb::U("\t\tプロシージャ名：");
  long long total = 0;
  std::u16string prevProc;  // not reset between modules
  for (const auto& module : result.modules) {
    Add(t, vb::U("\tモジュール名："), module.name, kCrLf, kCrLf);
    std::u16string prevLevel;
    for (const auto& f : module.findings) {
      std::u16string level = vb::FromInt(f.level);
      if (vb::Trim(level) != prevLevel) {
        prevLevel = level;
        Add(t, procHeading, f.procedure, kCrLf, kCrLf);
        prevProc = f.procedure;
      }
      if (prevLevel == u"1" && vb::Trim(f.procedure) != vb::Trim(prevProc)) {
        Add(t, procHeading, f.procedure, kCrLf, kCrLf);
        prevProc = f.procedure;
      }
      Add(t, vb::U("\t\t\t変数名："), f.name, kCrLf);
      Add(t, vb::U("\t\t\t宣言されている行数："), vb::FromInt(f.line), kCrLf, kCrLf);
    }
    total += static_cast<long long>(module.findings.size());
  }
  Add(t, vb::U("結果：検出された変数は"), vb::FromInt(total), vb::U("個です"));
  return t;
}

std::u16string ProcedureReportText(const std::u16string& projectName, const ProcedureCheckResult& result) {
  std::u16string t;
  Add(t, vb::U("******未使用のプロシージャを検出しました******"), kCrLf, kCrLf);
  Add(t, vb::U("プロジェクト名："), projectName, kCrLf, kCrLf);
  long long total = 0;
  for (const auto& module : result.modules) {
    Add(t, vb::U("\tモジュール名："), module.Name, kCrLf, kCrLf);
    for (const auto& f : module.findings) {
      Add(t, vb::U("\t\tプロシージャ名："), f.Name, kCrLf);
      Add(t, vb::U("\t\t宣言されている行数："), vb::FromInt(f.Line), kCrLf, kCrLf);
    }
    total += static_cast<long long>(module.findings.size());
  }
  Add(t, vb::U("結果：検出されたプロシージャは"), vb::FromInt(total), vb::U("個です"));
  return t;
}

void WriteLogFile(const std::filesystem::path& path, std::u16string_view text) {
  WriteLogFile(path, text, SystemCodePage());
}

void WriteLogFile(const std::filesystem::path& path, std::u16string_view text, const CodePage& codePage) {
  files::WriteTextFile(path, text, codePage);
}

}  // namespace tarno::checks
