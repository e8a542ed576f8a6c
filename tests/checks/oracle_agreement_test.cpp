// The production checks against the literal oracle: random projects and every
// project of the corpus must give identical findings.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "check_fixture.h"
#include "host/files/project_loader.h"
#include "random_modules.h"
#include "support/corpus.h"

namespace tarno::checks {
namespace {

void CompareAll(const test::TestHost& host, const std::string& what) {
  auto p = testing::FirstProject(host);
  {
    VariableCheckResult fast;
    fast.projectName = p->Name();
    CheckProjectVariables(*p, fast);
    ASSERT_EQ(testing::Flatten(fast), testing::Flatten(oracle::CheckProjectVariables(*p))) << what;
  }
  {
    ProcedureCheckResult fast;
    CheckProjectProcedures(*p, fast);
    ASSERT_EQ(testing::Flatten(fast), testing::Flatten(oracle::CheckProjectProcedures(*p))) << what;
  }
  auto comps = p->VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) {
    std::u16string name = comps->Item(i)->Name();
    VariableCheckResult fv;
    CheckModuleVariables(*p, i, name, fv);
    ASSERT_EQ(testing::Flatten(fv), testing::Flatten(oracle::CheckModuleVariables(*p, i, name))) << what;
    ProcedureCheckResult fp;
    CheckModuleProcedures(*p, i, name, fp);
    ASSERT_EQ(testing::Flatten(fp), testing::Flatten(oracle::CheckModuleProcedures(*p, i, name))) << what;
  }
}

std::string Describe(const test::TestHost& host) {
  std::ostringstream out;
  auto p = testing::FirstProject(host);
  auto comps = p->VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) {
    auto c = comps->Item(i);
    out << "== " << vb::ToUtf8(c->Name()) << "\n";
    if (auto cm = c->CodeModule(); cm && cm->CountOfLines() > 0) out << vb::ToUtf8(cm->Lines(1, cm->CountOfLines())) << "\n";
  }
  return out.str();
}

TEST(OracleAgreement, RandomProjects) {
  int withFindings = 0;
  for (uint32_t seed = 1; seed <= 600; ++seed) {
    testing::RandomModules gen(seed);
    auto host = gen.Project();
    CompareAll(host, "seed " + std::to_string(seed) + "\n" + Describe(host));
    if (HasFatalFailure()) return;
    auto p = testing::FirstProject(host);
    VariableCheckResult r;
    CheckProjectVariables(*p, r);
    if (r.Total() > 0) ++withFindings;
  }
  // The generator must produce both outcomes to test anything.
  EXPECT_GT(withFindings, 100);
  EXPECT_LT(withFindings, 600);
}

int CodeLines(ide::VBProject& p) {
  int lines = 0;
  auto comps = p.VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) {
    if (auto cm = comps->Item(i)->CodeModule()) lines += cm->CountOfLines();
  }
  return lines;
}

// Runs both checks both ways on every corpus project whose code lines lie in
// [minLines, maxLines]; the production checks run on every project.
void CompareCorpus(int minLines, int maxLines, int expectCompared) {
  auto projects = test::CorpusProjects(TARNO_CORPUS_DIR);
  if (projects.empty()) GTEST_SKIP() << "no corpus";
  int compared = 0;
  for (const auto& [path, encoding] : projects) {
    host::files::LoadOptions options;
    options.code_page = test::CorpusCodePage(encoding);
    host::files::LoadedWorkspace ws;
    try {
      ws = host::files::LoadPath(path, options);
    } catch (const std::exception& e) {
      ADD_FAILURE() << path << ": " << e.what();
      continue;
    }
    for (const auto& project : ws.projects) {
      ide::VBProject& p = *project;
      const int lines = CodeLines(p);
      if (lines < minLines || lines > maxLines) continue;
      VariableCheckResult fv;
      CheckProjectVariables(p, fv);
      ProcedureCheckResult fp;
      CheckProjectProcedures(p, fp);
      ASSERT_EQ(testing::Flatten(fv), testing::Flatten(oracle::CheckProjectVariables(p))) << path;
      ASSERT_EQ(testing::Flatten(fp), testing::Flatten(oracle::CheckProjectProcedures(p))) << path;
      ++compared;
    }
  }
  EXPECT_GE(compared, expectCompared);
}

// The literal reading takes seconds per 10,000 lines (minutes on the largest
// project), so the default run covers the smaller projects; the rest run with
// --gtest_also_run_disabled_tests, and bench_checks compares the largest.
TEST(OracleAgreement, CorpusProjectsUpTo5000Lines) { CompareCorpus(0, 5000, 100); }
TEST(OracleAgreement, DISABLED_CorpusProjectsAbove5000Lines) { CompareCorpus(5001, 200000, 20); }

}  // namespace
}  // namespace tarno::checks
