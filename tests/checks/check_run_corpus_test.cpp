// The command line's run of the checks on the real projects of the corpus:
// with the add-in's rules it gives exactly the add-in's findings (computed
// here, at test time); the precise rules leave out every interface member
// and every exposed public member; threads never change a result.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <unistd.h>

#include "bench/checks_project_generator.h"
#include "check_fixture.h"
#include "checks/check_run.h"
#include "host/files/project_loader.h"
#include "support/corpus.h"

namespace tarno::checks {
namespace {

struct Loaded {
  std::filesystem::path path;
  host::files::LoadedWorkspace ws;
};

// Every .vbp of the corpus, loaded in its code page.
std::vector<Loaded> LoadCorpus() {
  std::vector<Loaded> out;
  for (const auto& project : test::CorpusProjects(TARNO_CORPUS_DIR)) {
    host::files::LoadOptions options;
    options.code_page = test::CorpusCodePage(project.encoding);
    Loaded l;
    l.path = project.vbp;
    try {
      l.ws = host::files::LoadPath(l.path, options);
    } catch (const std::exception& e) {
      ADD_FAILURE() << l.path << ": " << e.what();
      continue;
    }
    out.push_back(std::move(l));
  }
  return out;
}

std::vector<Finding> RunOn(host::MemProject& p, RuleSet rules, int jobs, bool transitive = false) {
  ProjectSource source(p);
  RunOptions options;
  options.rules = rules;
  options.jobs = jobs;
  options.transitive = transitive;
  return RunChecks(source, ReadProjectFacts(p), options);
}

TEST(CheckRunCorpus, IdeRulesGiveTheAddInsFindings) {
  auto corpus = LoadCorpus();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  int projects = 0, findings = 0;
  for (auto& l : corpus) {
    for (auto& project : l.ws.projects) {
      auto run = RunOn(*project, RuleSet::Ide, 2);
      VariableCheckResult vars;
      vars.projectName = project->Name();
      CheckProjectVariables(*project, vars);
      ProcedureCheckResult procs;
      CheckProjectProcedures(*project, procs);
      ASSERT_EQ(VariableResultOf(run, project->Name()), vars) << l.path;
      ASSERT_EQ(ProcedureResultOf(run), procs) << l.path;
      for (const auto& f : run) {
        EXPECT_EQ(f.verdict, Verdict::Unused);
        EXPECT_TRUE(f.rule.empty());
      }
      findings += static_cast<int>(run.size());
      ++projects;
    }
  }
  EXPECT_GE(projects, 100);
  EXPECT_GT(findings, 1000);
}

// The interfaces a module implements, read here on their own terms.
std::vector<std::string> ImplementedInterfaces(ide::CodeModule& code) {
  static const std::regex implementsLine(R"(^\s*Implements\s+(?:\w+\.)*(\w+))", std::regex::icase);
  std::vector<std::string> out;
  for (int i = 1; i <= code.CountOfDeclarationLines() && i <= code.CountOfLines(); ++i) {
    std::string line = vb::ToUtf8(code.Lines(i, 1));
    std::smatch m;
    if (std::regex_search(line, m, implementsLine)) out.push_back(vb::ToUtf8(vb::UCaseAscii(vb::U(m[1].str()))));
  }
  return out;
}

TEST(CheckRunCorpus, PreciseRulesLeaveOutInterfaceAndExposedMembers) {
  auto corpus = LoadCorpus();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  int interfaceMembers = 0, exposedMembers = 0;
  for (auto& l : corpus) {
    for (auto& project : l.ws.projects) {
      const ProjectFacts facts = ReadProjectFacts(*project);
      const bool activeX = project->Type() >= ide::ProjectType::ActiveXExe &&
                           project->Type() <= ide::ProjectType::ActiveXControl;
      auto precise = RunOn(*project, RuleSet::Precise, 1);
      auto ide = RunOn(*project, RuleSet::Ide, 1);
      // What the add-in reports that the precise rules must not call unused.
      std::map<int, std::vector<std::string>> interfacesOf;  // read once per module
      auto isInterfaceMember = [&](const Finding& f) {
        auto [it, fresh] = interfacesOf.try_emplace(f.component);
        if (fresh) it->second = ImplementedInterfaces(*project->VBComponents()->Item(f.component)->CodeModule());
        for (const auto& iface : it->second) {
          std::string name = vb::ToUtf8(vb::UCaseAscii(f.name));
          if (name.size() > iface.size() + 1 && name.compare(0, iface.size() + 1, iface + "_") == 0) return true;
        }
        return false;
      };
      auto isExposedMember = [&](const Finding& f) {
        auto comp = project->VBComponents()->Item(f.component);
        int type = comp->Type();
        if (!activeX || !facts.Of(f.component)->exposed) return false;
        if (type != ide::ComponentType::ClassModule && type != ide::ComponentType::UserControl &&
            type != ide::ComponentType::DocObject) {
          return false;
        }
        for (const auto& m : comp->CodeModule()->Members()) {
          if (m.Name == f.name && m.Scope == ide::MemberScope::Public) return true;
        }
        return false;
      };
      for (const auto& f : ide) {
        if (f.check != CheckKind::Procedures) continue;
        if (isInterfaceMember(f)) ++interfaceMembers;
        if (isExposedMember(f)) ++exposedMembers;
      }
      for (const auto& f : precise) {
        if (f.check != CheckKind::Procedures) continue;
        EXPECT_FALSE(isInterfaceMember(f)) << l.path << " " << vb::ToUtf8(f.module + u"." + f.name);
        if (isExposedMember(f)) {
          EXPECT_EQ(f.verdict, Verdict::Exposed) << l.path << " " << vb::ToUtf8(f.module + u"." + f.name);
        } else if (f.rule != "fixture-member") {  // instances handed to outside code are exposed too
          EXPECT_EQ(f.verdict, Verdict::Unused) << l.path << " " << vb::ToUtf8(f.module + u"." + f.name);
        }
      }
    }
  }
  // The corpus must hold both kinds for this to test anything.
  EXPECT_GT(interfaceMembers, 50);
  EXPECT_GT(exposedMembers, 50);
  std::cout << "interface members left out: " << interfaceMembers << ", exposed members: " << exposedMembers << "\n";
}

TEST(CheckRunCorpus, ThreadsGiveTheSameFindings) {
  const auto dir = std::filesystem::temp_directory_path() / ("tarno_jobs_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  bench::SyntheticProject::Write(dir, 60000);
  host::files::LoadOptions options;
  auto ws = host::files::LoadPath(dir / "Project.vbp", options);
  std::filesystem::remove_all(dir);
  auto& p = *ws.projects.at(0);
  for (RuleSet rules : {RuleSet::Ide, RuleSet::Precise}) {
    auto one = RunOn(p, rules, 1, rules == RuleSet::Precise);
    EXPECT_GT(one.size(), 1000u);
    for (int jobs : {2, 3, 8}) EXPECT_EQ(RunOn(p, rules, jobs, rules == RuleSet::Precise), one) << jobs;
  }
}

}  // namespace
}  // namespace tarno::checks
