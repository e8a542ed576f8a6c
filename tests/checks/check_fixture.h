// Runs a check both ways (the production check and the literal oracle),
// insists on the same findings, and gives them back in a form easy to assert.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks/procedure_check.h"
#include "checks/variable_check.h"
#include "support/host_builders.h"
#include "oracle_checks.h"
#include "platform/vb_text.h"

namespace tarno::checks::testing {

// "Module:name@line/level/procedure" per finding.
inline std::vector<std::string> Flatten(const VariableCheckResult& r) {
  std::vector<std::string> out;
  for (const auto& m : r.modules) {
    for (const auto& f : m.findings) {
      out.push_back(vb::ToUtf8(m.name) + ":" + vb::ToUtf8(f.name) + "@" + std::to_string(f.line) + "/" +
                    std::to_string(f.level) + "/" + vb::ToUtf8(f.procedure));
    }
  }
  return out;
}

// "Module:name@line" per finding.
inline std::vector<std::string> Flatten(const ProcedureCheckResult& r) {
  std::vector<std::string> out;
  for (const auto& m : r.modules) {
    for (const auto& f : m.findings) {
      out.push_back(vb::ToUtf8(m.Name) + ":" + vb::ToUtf8(f.Name) + "@" + std::to_string(f.Line));
    }
  }
  return out;
}

inline std::shared_ptr<ide::VBProject> FirstProject(const test::TestHost& host) {
  return host.vbe->VBProjects()->Item(1);
}

inline int IndexOf(ide::VBProject& project, std::string_view name) {
  auto comps = project.VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) {
    if (comps->Item(i)->Name() == vb::U(name)) return i;
  }
  throw std::out_of_range("no component " + std::string(name));
}

inline std::vector<std::string> ProjectVariables(const test::TestHost& host) {
  auto p = FirstProject(host);
  VariableCheckResult fast;
  fast.projectName = p->Name();
  CheckProjectVariables(*p, fast);
  VariableCheckResult slow = oracle::CheckProjectVariables(*p);
  EXPECT_EQ(Flatten(fast), Flatten(slow)) << "production and literal checks differ";
  return Flatten(fast);
}

inline std::vector<std::string> ModuleVariables(const test::TestHost& host, std::string_view module) {
  auto p = FirstProject(host);
  int index = IndexOf(*p, module);
  VariableCheckResult fast;
  CheckModuleVariables(*p, index, vb::U(module), fast);
  VariableCheckResult slow = oracle::CheckModuleVariables(*p, index, vb::U(module));
  EXPECT_EQ(Flatten(fast), Flatten(slow)) << "production and literal checks differ";
  return Flatten(fast);
}

inline std::vector<std::string> ProjectProcedures(const test::TestHost& host) {
  auto p = FirstProject(host);
  ProcedureCheckResult fast;
  CheckProjectProcedures(*p, fast);
  ProcedureCheckResult slow = oracle::CheckProjectProcedures(*p);
  EXPECT_EQ(Flatten(fast), Flatten(slow)) << "production and literal checks differ";
  return Flatten(fast);
}

inline std::vector<std::string> ModuleProcedures(const test::TestHost& host, std::string_view module) {
  auto p = FirstProject(host);
  int index = IndexOf(*p, module);
  ProcedureCheckResult fast;
  CheckModuleProcedures(*p, index, vb::U(module), fast);
  ProcedureCheckResult slow = oracle::CheckModuleProcedures(*p, index, vb::U(module));
  EXPECT_EQ(Flatten(fast), Flatten(slow)) << "production and literal checks differ";
  return Flatten(fast);
}

}  // namespace tarno::checks::testing
