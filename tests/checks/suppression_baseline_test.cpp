// Suppression markers, the ignore file and the baseline, on small projects.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "check_fixture.h"
#include "checks/baseline.h"
#include "checks/suppressions.h"

namespace tarno::checks {
namespace {

using test::HostBuilder;
using V = std::vector<std::string>;

TEST(Suppressions, MarkerLines) {
  struct Case {
    const char* line;
    std::string_view check;
    bool module, alone, expected;
  };
  const Case cases[] = {
      {"Dim x As Long ' tarno: ignore", "unused-variable", false, false, true},
      {"Dim x As Long   'TARNO:IGNORE  ", "unused-variable", false, false, true},
      {"Dim x As Long ' tarno: ignore unused-variable", "unused-variable", false, false, true},
      {"Dim x As Long ' tarno: ignore unused-procedure", "unused-variable", false, false, false},
      {"Sub A() ' tarno: ignore unused-variable, unused-procedure", "unused-procedure", false, false, true},
      {"Dim x As Long ' tarno: ignored", "unused-variable", false, false, false},
      {"Dim x As Long ' tarno: ignore-module", "unused-variable", false, false, false},
      {"Dim x As Long ' kept: tarno: ignore", "unused-variable", false, false, false},
      {"Dim x As Long", "unused-variable", false, false, false},
      {"    ' tarno: ignore", "unused-variable", false, true, true},
      {"x = 1 ' tarno: ignore", "unused-variable", false, true, false},  // not alone on its line
      {"' tarno: ignore-module", "unused-procedure", true, true, true},
      {"' tarno: ignore-module unused-variable", "unused-procedure", true, true, false},
      {"' tarno: ignore", "unused-procedure", true, true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsMarkerFor(vb::U(c.line), c.check, c.module, c.alone), c.expected) << c.line;
  }
}

TEST(Suppressions, IgnoreFilePatternsAndErrors) {
  IgnoreList list = IgnoreList::Parse(vb::U("# kept for the reports\r\n"
                                            "\n"
                                            "Module1.m_cache\n"
                                            "  Legacy.*  \n"
                                            "*.DebugDump\n"),
                                      "team.ignore");
  EXPECT_EQ(list.size(), 3u);
  EXPECT_TRUE(list.Matches(u"module1", u"M_CACHE"));
  EXPECT_TRUE(list.Matches(u"Module1", u"m_cache(10)"));  // a name cut with its bounds
  EXPECT_FALSE(list.Matches(u"Module2", u"m_cache"));
  EXPECT_TRUE(list.Matches(u"Legacy", u"anything"));
  EXPECT_TRUE(list.Matches(u"Form9", u"DebugDump"));
  EXPECT_FALSE(list.Matches(u"Form9", u"DebugDumps"));
  for (const char* bad : {"Module1", "Module1.", ".Name", "Mod*.Name", "Module1.Na me"}) {
    try {
      IgnoreList::Parse(vb::U(std::string("# ok\n") + bad + "\n"), "team.ignore");
      ADD_FAILURE() << bad;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("team.ignore:2:"), std::string::npos) << e.what();
    }
  }
}

TEST(Suppressions, MarkersModuleMarkersAndIgnoreFileOnFindings) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\n"
                          "Private m_a As Long ' tarno: ignore\n"
                          "' tarno: ignore unused-variable\n"
                          "Private m_b As Long\n"
                          "Private m_c As Long ' tarno: ignore unused-procedure\n"
                          "Private m_d As Long\n"
                          "\n"
                          "' tarno: ignore\n"
                          "Private Sub Kept()\n"
                          "End Sub\n"
                          "Private Sub Long_Name(ByVal a As Long, _\n"
                          "                      ByVal b As Long) ' tarno: ignore\n"
                          "End Sub\n"
                          "Private Sub Reported()\n"
                          "End Sub\n")
                  .Module("Module2",
                          "' tarno: ignore-module unused-procedure\n"
                          "Private m_x As Long\n"
                          "\n"
                          "Private Sub Old()\n"
                          "End Sub\n")
                  .Build();
  auto p = testing::FirstProject(host);
  ProjectSource source(*p);
  ProjectFacts facts;
  auto findings = RunChecks(source, facts, RunOptions{});
  IgnoreList ignore = IgnoreList::Parse(u"Module1.m_d\n", "x");
  ApplySuppressions(source, &ignore, findings);
  V got;
  for (const auto& f : findings) got.push_back(vb::ToUtf8(f.module + u"." + f.name) + ":" + f.suppressed);
  EXPECT_EQ(got, (V{"Module1.m_a:marker", "Module1.m_b:marker", "Module1.m_c:", "Module1.m_d:ignore file",
                    "Module2.m_x:", "Module1.Kept:marker", "Module1.Long_Name:marker", "Module1.Reported:",
                    "Module2.Old:module marker"}));
}

// The keys of a run's findings that are not in the baseline.
struct BaselineRun {
  V fresh;
  int gone = 0;
};

BaselineRun RunAgainst(const test::TestHost& host, const Baseline* baseline) {
  auto p = testing::FirstProject(host);
  ProjectSource source(*p);
  auto findings = RunChecks(source, ProjectFacts{}, RunOptions{});
  BaselineRun r;
  if (baseline) r.gone = baseline->Match(findings, p->Name(), false);
  for (const auto& f : findings) {
    if (!f.inBaseline) r.fresh.push_back(vb::ToUtf8(f.module + u"." + f.procedure + u"." + f.name));
  }
  return r;
}

TEST(Baseline, NewFindingsFixedEntriesAndMovedCode) {
  const std::string before =
      "Option Explicit\n"
      "Private m_old As Long\n"
      "Private m_fixed As Long\n"
      "\n"
      "Private Sub Work()\n"
      "    Dim i As Long\n"
      "End Sub\n";
  auto host = HostBuilder().Project("App").Module("Module1", before).Build();
  auto p = testing::FirstProject(host);
  ProjectSource source(*p);
  auto findings = RunChecks(source, ProjectFacts{}, RunOptions{});
  const Baseline stored = Baseline::Of(findings, p->Name(), false);
  ASSERT_EQ(stored.size(), 4);

  // Written and read back: the same entries.
  const auto file = std::filesystem::temp_directory_path() / ("tarno_baseline_" + std::to_string(getpid()) + ".json");
  stored.Write(file);
  const Baseline loaded = Baseline::Load(file);
  std::filesystem::remove(file);
  EXPECT_EQ(RunAgainst(host, &loaded).fresh, V{});

  // Ten lines added above everything, one finding fixed, one added.
  std::string moved = "Option Explicit\n";
  for (int i = 0; i < 10; ++i) moved += "' note " + std::to_string(i) + "\n";
  moved += "Private m_old As Long\n"
           "Private m_new As Long\n"
           "\n"
           "Private Sub Work()\n"
           "    Dim i As Long\n"
           "    m_fixed = 1\n"
           "End Sub\n";
  auto changed = HostBuilder().Project("App").Module("Module1", moved).Build();
  BaselineRun r = RunAgainst(changed, &loaded);
  EXPECT_EQ(r.fresh, (V{"Module1.Declarations.m_new"}));
  EXPECT_EQ(r.gone, 1);  // m_fixed

  // Without a baseline every finding is new.
  EXPECT_EQ(RunAgainst(changed, nullptr).fresh.size(), 4u);
}

TEST(Baseline, BadFilesNameTheFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("tarno_baseline_bad_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::pair<const char*, const char*> cases[] = {
      {"{", "not a baseline file"},
      {"{\"findings\": 3}", "no \"findings\" list"},
      {"{\"findings\": [{\"check\": \"unused-variable\", \"project\": \"A\", \"component\": \"M\", \"name\": \"x\"}]}",
       "entry 1 has no text \"procedure\""},
  };
  for (const auto& [text, message] : cases) {
    std::ofstream(dir / "b.json") << text;
    try {
      Baseline::Load(dir / "b.json");
      ADD_FAILURE() << text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("b.json"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(Baseline::Load(dir / "missing.json"), std::runtime_error);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tarno::checks
