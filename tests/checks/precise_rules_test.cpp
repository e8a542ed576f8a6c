// --rules precise on small hand-made projects: each rule leaves out exactly
// the names it is for, exposed members get their own verdict, and
// --transitive follows chains of calls from unused procedures.
#include <gtest/gtest.h>

#include "check_fixture.h"
#include "checks/check_run.h"

namespace tarno::checks {
namespace {

using test::HostBuilder;
using V = std::vector<std::string>;

// "Module:name/verdict[/rule][/reason]" per finding.
V Findings(const test::TestHost& host, const ProjectFacts& facts, RuleSet rules, bool transitive = false,
      bool variables = false) {
  auto p = testing::FirstProject(host);
  ProjectSource source(*p);
  RunOptions options;
  options.rules = rules;
  options.transitive = transitive;
  options.variables = variables;
  options.procedures = !variables;
  V out;
  for (const auto& f : RunChecks(source, facts, options)) {
    std::string s = vb::ToUtf8(f.module) + ":" + vb::ToUtf8(f.name) + "/" +
                    (f.verdict == Verdict::Exposed ? "exposed" : "unused");
    if (!f.rule.empty()) s += "/" + f.rule;
    if (!f.reason.empty()) s += "/" + f.reason;
    out.push_back(s);
  }
  return out;
}

ProjectFacts FactsFor(const test::TestHost& host, int projectType = ide::ProjectType::StdExe) {
  ProjectFacts facts;
  facts.projectType = projectType;
  facts.components.resize(static_cast<size_t>(testing::FirstProject(host)->VBComponents()->Count()));
  return facts;
}

TEST(PreciseRules, InterfaceImplementationsAreUsed) {
  auto host = HostBuilder()
                  .Class("IShape", "Public Function Area() As Double\nEnd Function\n")
                  .Class("Circle",
                         "Option Explicit\n"
                         "Implements IShape\n"
                         "Implements Lib.IPrintable ' qualified\n"
                         "\n"
                         "Private Function IShape_Area() As Double\n"
                         "End Function\n"
                         "Private Sub ishape_Draw()\n"
                         "End Sub\n"
                         "Private Sub IPrintable_Print()\n"
                         "End Sub\n"
                         "Private Sub IShapeX_Area()\n"
                         "End Sub\n"
                         "Private Sub Helper()\n"
                         "End Sub\n")
                  .Build();
  ProjectFacts facts = FactsFor(host);
  EXPECT_EQ(Findings(host, facts, RuleSet::Ide),
            (V{"IShape:Area/unused", "Circle:IShape_Area/unused", "Circle:ishape_Draw/unused",
               "Circle:IPrintable_Print/unused", "Circle:IShapeX_Area/unused", "Circle:Helper/unused"}));
  // The interface's own members are still reported: nothing calls them by name.
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise),
            (V{"IShape:Area/unused", "Circle:IShapeX_Area/unused", "Circle:Helper/unused"}));
}

TEST(PreciseRules, PublicMembersOfExposedComponentsInActiveXProjects) {
  auto build = [](int type) {
    return HostBuilder()
        .Project("Lib", type)
        .Class("Api",
               "Option Explicit\n"
               "Public Count As Long\n"
               "Private m_hidden As Long\n"
               "\n"
               "Public Sub Open()\nEnd Sub\n"
               "Friend Sub Internal()\nEnd Sub\n"
               "Private Sub Helper()\nEnd Sub\n"
               "Public Property Get Name() As String\nEnd Property\n")
        .Class("Hidden", "Public Sub Work()\nEnd Sub\n")
        .Module("Module1", "Public Sub Tool()\nEnd Sub\n")
        .Build();
  };
  for (int type : {ide::ProjectType::ActiveXExe, ide::ProjectType::ActiveXDll, ide::ProjectType::ActiveXControl}) {
    auto host = build(type);
    ProjectFacts facts = FactsFor(host, type);
    facts.components[0].exposed = true;
    // A standard module is never exposed, even when marked.
    facts.components[2].exposed = true;
    EXPECT_EQ(Findings(host, facts, RuleSet::Precise),
              (V{"Api:Open/exposed/exposed-member", "Api:Internal/unused", "Api:Helper/unused",
                 "Api:Name/exposed/exposed-member", "Hidden:Work/unused", "Module1:Tool/unused"}))
        << "type " << type;
    EXPECT_EQ(Findings(host, facts, RuleSet::Precise, false, true),
              (V{"Api:Count/exposed/exposed-member", "Api:m_hidden/unused"}))
        << "type " << type;
  }
  // A standard EXE has no outside callers.
  auto host = build(ide::ProjectType::StdExe);
  ProjectFacts facts = FactsFor(host);
  facts.components[0].exposed = true;
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise, false, true), (V{"Api:Count/unused", "Api:m_hidden/unused"}));
}

TEST(PreciseRules, SubMainOfTheStartupObject) {
  auto host = HostBuilder().Module("Module1", "Public Sub Main()\nEnd Sub\nPrivate Sub Mainly()\nEnd Sub\n").Build();
  ProjectFacts facts = FactsFor(host);
  const V all = {"Module1:Main/unused", "Module1:Mainly/unused"};
  for (const char* startup : {"Form1", "", "(None)"}) {
    facts.startup = vb::U(startup);
    EXPECT_EQ(Findings(host, facts, RuleSet::Precise), all) << startup;
  }
  facts.startup = u"sub main";
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise), (V{"Module1:Mainly/unused"}));
  EXPECT_EQ(Findings(host, facts, RuleSet::Ide), all);
  // Only a standard module's Main is the start-up procedure.
  auto other = HostBuilder().Class("Class1", "Public Sub Main()\nEnd Sub\n").Build();
  ProjectFacts classFacts = FactsFor(other);
  classFacts.startup = u"Sub Main";
  EXPECT_EQ(Findings(other, classFacts, RuleSet::Precise), (V{"Class1:Main/unused"}));
}

TEST(PreciseRules, DefaultMemberAndEnumerator) {
  auto host = HostBuilder()
                  .Class("Items",
                         "Public Value As Long\n"
                         "Public Other As Long\n"
                         "\n"
                         "Public Property Get Item(ByVal i As Long) As Variant\nEnd Property\n"
                         "Public Function NewEnum() As IUnknown\nEnd Function\n"
                         "Public Function Count() As Long\nEnd Function\n")
                  .Build();
  ProjectFacts facts = FactsFor(host);
  facts.components[0].memberIds = {{u"ITEM", 0}, {u"NEWENUM", -4}, {u"COUNT", 5}, {u"VALUE", 0}};
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise), (V{"Items:Count/unused"}));
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise, false, true), (V{"Items:Other/unused"}));
  EXPECT_EQ(Findings(host, facts, RuleSet::Ide).size(), 3u);
}

TEST(PreciseRules, TransitiveFollowsChainsFromUnusedProcedures) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\n"
                          "\n"
                          "Private Sub First()\n"
                          "    Second\n"
                          "End Sub\n"
                          "Private Sub Second()\n"
                          "    Third\n"
                          "End Sub\n"
                          "Private Sub Third()\n"
                          "    Shared\n"
                          "End Sub\n"
                          "Public Sub Shared()\n"
                          "End Sub\n"
                          "Private Sub PingA()\n"
                          "    PingB\n"
                          "End Sub\n"
                          "Private Sub PingB()\n"
                          "    PingA\n"
                          "End Sub\n")
                  .Form("Form1",
                        "Private Sub Form_Load()\n"
                        "    Kept\n"
                        "End Sub\n"
                        "Private Sub Kept()\n"
                        "    Shared\n"
                        "End Sub\n")
                  .Build();
  ProjectFacts facts = FactsFor(host);
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise), (V{"Module1:First/unused"}));
  // Shared stays used: Kept, called by the form's event, calls it too. The
  // two procedures that only call each other are unused as well.
  const std::string why = "/used-only-by-unused/used only by unused declarations";
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise, true),
            (V{"Module1:First/unused", "Module1:Second/unused" + why, "Module1:Third/unused" + why,
               "Module1:PingA/unused" + why, "Module1:PingB/unused" + why}));
}

TEST(PreciseRules, TransitiveRootsIncludeRuleUsesAndOutsideCode) {
  auto host = HostBuilder()
                  .Project("Lib", ide::ProjectType::ActiveXDll)
                  .Class("Api",
                         "Implements IRunner\n"
                         "Private m_default As Long ' = Helper\n"
                         "\n"
                         "Public Sub Open()\n    Step1\nEnd Sub\n"
                         "Private Sub IRunner_Run()\n    Step2\nEnd Sub\n"
                         "Private Sub Step1()\nEnd Sub\n"
                         "Private Sub Step2()\nEnd Sub\n"
                         "Private Sub Helper()\nEnd Sub\n")
                  .Build();
  ProjectFacts facts = FactsFor(host, ide::ProjectType::ActiveXDll);
  facts.components[0].exposed = true;
  // Open is called from outside, IRunner_Run through the interface: all
  // their callees are used. Helper is named only in a comment, which is no use.
  EXPECT_EQ(Findings(host, facts, RuleSet::Precise, true), (V{"Api:Open/exposed/exposed-member", "Api:Helper/unused"}));
}

}  // namespace
}  // namespace tarno::checks
