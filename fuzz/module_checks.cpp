// The declaration scanner and both checks over any module text: no crash, no
// hang, and every finding names a line of its module. The input is two
// modules (a standard module, then a class) split at the first NUL byte, in
// CP932.
#include <string>
#include <string_view>
#include <vector>

#include "checks/declaration_scanner.h"
#include "checks/procedure_check.h"
#include "checks/variable_check.h"
#include "fuzz/fuzz_support.h"
#include "host/mem_host.h"
#include "host/module_text.h"
#include "platform/code_page.h"

using namespace tarno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string_view first = input.substr(0, nul);
  std::string_view second = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

  auto vbe = host::MemVBE::Create();
  auto project = host::MemProject::Create(u"Project1");
  std::vector<int> counts;
  for (auto [type, name, bytes] : {std::tuple{ide::ComponentType::StdModule, u"Module1", first},
                                   std::tuple{ide::ComponentType::ClassModule, u"Class1", second}}) {
    auto c = host::MemComponent::Create(type, name);
    auto lines = fuzz::BodyLines(CodePage::Cp932().Decode(bytes));
    bool declare = false;
    for (const auto& line : lines) {
      checks::ScanDeclarationStatement(line, checks::Section::Declarations, declare);
      checks::ScanDeclarationStatement(line, checks::Section::Procedures, declare);
    }
    c->code()->SetText(host::ModuleText(std::move(lines)));
    counts.push_back(c->code()->CountOfLines());
    project->AddComponent(c);
  }
  vbe->AddProject(project);
  auto p = vbe->VBProjects()->Item(1);

  checks::VariableCheckResult variables;
  checks::CheckProjectVariables(*p, variables);
  for (const auto& m : variables.modules)
    for (const auto& f : m.findings)
      TARNO_FUZZ_CHECK(f.line >= 1 && f.line <= counts.at(size_t(m.component - 1)), "variable finding off its module");
  checks::ProcedureCheckResult procedures;
  checks::CheckProjectProcedures(*p, procedures);
  for (const auto& m : procedures.modules)
    for (const auto& f : m.findings)
      TARNO_FUZZ_CHECK(f.Line >= 1 && f.Line <= counts.at(size_t(m.component - 1)), "procedure finding off its module");
  for (int i = 1; i <= 2; ++i) {
    checks::VariableCheckResult one;
    checks::CheckModuleVariables(*p, i, u"M", one);
    checks::ProcedureCheckResult procs;
    checks::CheckModuleProcedures(*p, i, u"M", procs);
  }
  return 0;
}
