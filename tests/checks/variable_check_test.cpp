// The unused-variable check on small modules; every case also runs the
// literal implementation and must agree with it.
#include <gtest/gtest.h>

#include "check_fixture.h"

namespace tarno::checks {
namespace {

using testing::ModuleVariables;
using testing::ProjectVariables;
using test::HostBuilder;
using V = std::vector<std::string>;

TEST(VariableCheck, ReportsUnusedModuleAndProcedureNamesWithLevelAndProcedure) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\n"
                          "Private m_unused As Long\n"
                          "Private m_used As Long\n"
                          "\n"
                          "Private Sub Foo()\n"
                          "    Dim a As Long\n"
                          "    Dim b As Long\n"
                          "    b = m_used\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Module1"), (V{"Module1:m_unused@2/0/Declarations", "Module1:a@6/1/Foo"}));
}

TEST(VariableCheck, FirstLineAfterTheDeclarationsDoesNotCount) {
  // Line 2 is CountOfDeclarationLines + 1: a use there is no use.
  auto only = HostBuilder()
                  .Module("Module1",
                          "Private x As Long\n"
                          "Function Foo(Optional ByVal v As Long = x) As Long\n"
                          "End Function\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(only, "Module1"), (V{"Module1:x@1/0/Declarations"}));
  auto next = HostBuilder()
                  .Module("Module1",
                          "Private x As Long\n"
                          "Function Foo() As Long\n"
                          "    Foo = x\n"
                          "End Function\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(next, "Module1"), V{});
}

TEST(VariableCheck, CommentsStringsAndRemAreNoUses) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private a As Long\n"
                          "Private b As Long\n"
                          "Private c As Long\n"
                          "Private d As Long\n"
                          "Private e As Long\n"
                          "Private f As Long\n"
                          "Sub Foo()\n"
                          "    ' a = 1\n"
                          "    Rem b\n"
                          "    Debug.Print \"c\"\n"
                          "    Call RemoveAll(d)\n"
                          "    y = e ' note\n"
                          "    y = fx\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Module1"),
            (V{"Module1:a@1/0/Declarations", "Module1:b@2/0/Declarations", "Module1:c@3/0/Declarations",
               "Module1:d@4/0/Declarations", "Module1:f@6/0/Declarations"}));
}

TEST(VariableCheck, PublicNamesAreSearchedProjectWideOnlyInAProjectCheck) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Public g_shared As Long\n"
                          "Public g_unused As Long\n"
                          "Global g_old As Long\n"
                          "Sub Main()\n"
                          "End Sub\n")
                  .Form("Form1",
                        "Private Sub Form_Load()\n"
                        "    g_shared = 1\n"
                        "End Sub\n")
                  .Build();
  EXPECT_EQ(ProjectVariables(host), (V{"Module1:g_unused@2/0/Declarations", "Module1:g_old@3/0/Declarations"}));
  // One module: Public and Global declarations are not examined.
  EXPECT_EQ(ModuleVariables(host, "Module1"), V{});
}

TEST(VariableCheck, PublicUseInTheDeclaringModuleAndOnAnotherModulesFirstLine) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Public g_a As Long\n"
                          "Public g_b As Long\n"
                          "Sub Main()\n"
                          "    g_a = 1\n"
                          "End Sub\n")
                  .Module("Module2",
                          "Dim z\n"
                          "Sub Other(): g_b = z: End Sub\n")
                  .Build();
  // Module2's line 2 is its first line after the declarations; z is used there
  // too, and that does not count either.
  EXPECT_EQ(ProjectVariables(host), (V{"Module1:g_b@2/0/Declarations", "Module2:z@1/0/Declarations"}));
}

TEST(VariableCheck, DeclarationFormsOfTheDeclarationsSection) {
  auto host = HostBuilder()
                  .Class("Class1",
                         "Option Explicit\n"
                         "Private WithEvents m_obj As Class2\n"
                         "Private Const MAX_N As Long = 10\n"
                         "Private Const A = 1, B = 2\n"
                         "Dim lngAsset As Long, q As Long\n"
                         "Private Type POINTAPI\n"
                         "    x As Long\n"
                         "End Type\n"
                         "Private Sub Class_Initialize()\n"
                         "    Set m_obj = Nothing\n"
                         "    q = MAX_N + B\n"
                         "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Class1"),
            (V{"Class1:A@4/0/Declarations", "Class1:lngAsset@5/0/Declarations",
               "Class1:Type POINTAPI@6/0/Declarations"}));
}

TEST(VariableCheck, DeclareFlagSkipsTheFollowingUnderscoreDeclarations) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
                          "Private m_count As Long\n"
                          "Private mOther As Long\n"
                          "Private m_last As Long\n"
                          "Sub Main()\n"
                          "End Sub\n")
                  .Build();
  // m_count is skipped (flag set, "_"), mOther clears the flag, m_last is taken.
  EXPECT_EQ(ModuleVariables(host, "Module1"),
            (V{"Module1:mOther@3/0/Declarations", "Module1:m_last@4/0/Declarations"}));
}

TEST(VariableCheck, DeclareFlagCarriesOverFromOneModuleToTheNext) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n"
                          "Sub Main()\n"
                          "End Sub\n")
                  .Module("Module2",
                          "Private m_x As Long\n"
                          "Sub Other()\n"
                          "End Sub\n")
                  .Build();
  // In the project check Module2's first declaration is skipped by the flag
  // that Module1 left set; checked alone it is reported.
  EXPECT_EQ(ProjectVariables(host), V{});
  EXPECT_EQ(ModuleVariables(host, "Module2"), (V{"Module2:m_x@1/0/Declarations"}));
}

TEST(VariableCheck, ProcedureLevelForms) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\n"
                          "Sub Foo()\n"
                          "    Const C = 1\n"
                          "    Static s As Long\n"
                          "    Dim arr() As Long\n"
                          "    ReDim arr(5)\n"
                          "    rs.CursorType = adOpenStatic\n"
                          "    Dim i As Long, j As Long\n"
                          "    For i = 1 To C\n"
                          "    Next\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Module1"),
            (V{"Module1:s@4/1/Foo", "Module1:arr()@5/1/Foo", "Module1:j@8/1/Foo"}));
}

TEST(VariableCheck, ContinuedDeclarationIsReadOnceAndItsTailNamesHoldTheBreak) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Sub Foo()\n"
                          "    Dim a As Long, _\n"
                          "        b As Long, _\n"
                          "        c As Long\n"
                          "    a = b + c\n"
                          "End Sub\n")
                  .Build();
  // The names after a continuation hold the "_" and the line break, so no
  // whole-word search finds them.
  EXPECT_EQ(ModuleVariables(host, "Module1"),
            (V{"Module1:_\r\n        b@2/1/Foo", "Module1:_\r\n        c@2/1/Foo"}));
}

TEST(VariableCheck, EmptyNameIsAlwaysReported) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Sub Foo()\n"
                          "    Dim Astro As Long\n"
                          "    Astro = 1\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Module1"), (V{"Module1:@2/1/Foo"}));
}

TEST(VariableCheck, UseOnTheLineAfterTheProcedureBodyDoesNotCount) {
  // Line 3 belongs to B (a procedure starts after the previous one ends);
  // the search for a starts at line 4, B's body line, and line 5 is body + 1.
  auto host = HostBuilder()
                  .Module("Module1",
                          "Sub A()\n"
                          "End Sub\n"
                          "Dim a\n"
                          "Sub B()\n"
                          "    a = 1\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Module1"), (V{"Module1:a@3/1/B"}));
  auto later = HostBuilder()
                   .Module("Module1",
                           "Sub A()\n"
                           "End Sub\n"
                           "Dim a\n"
                           "Sub B()\n"
                           "    '\n"
                           "    a = 1\n"
                           "End Sub\n")
                   .Build();
  EXPECT_EQ(ModuleVariables(later, "Module1"), V{});
}

TEST(VariableCheck, PropertyAccessorsShareTheFirstLookedUpRange) {
  // Both accessors are called X: the range comes from the first kind the
  // host accepts (Get), and is not asked again for the Let.
  auto host = HostBuilder()
                  .Class("Class1",
                         "Private m_v As Long\n"
                         "Public Property Get X() As Long\n"
                         "    Dim g As Long\n"
                         "    X = m_v + g\n"
                         "End Property\n"
                         "Public Property Let X(ByVal v As Long)\n"
                         "    Dim t As Long\n"
                         "    m_v = v\n"
                         "End Property\n"
                         "Private Sub Class_Terminate()\n"
                         "    Dim u As Long\n"
                         "    t = u\n"
                         "End Sub\n")
                  .Build();
  // t's search runs from line 8 to Get's body + count (2 + 4 = 6): nothing.
  EXPECT_EQ(ModuleVariables(host, "Class1"), (V{"Class1:t@7/1/X"}));
}

TEST(VariableCheck, SearchEndOfTheLastProcedureStopsAtTheLastLine) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Dim m\n"
                          "\n"
                          "\n"
                          "Sub Foo()\n"
                          "    Dim a\n"
                          "    a = m\n"
                          "End Sub\n")
                  .Build();
  // ProcBodyLine + ProcCountLines runs past the last line; reading stops there.
  EXPECT_EQ(ModuleVariables(host, "Module1"), V{});
}

TEST(VariableCheck, LastLineEndingInUnderscoreEndsTheModule) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private a\n"
                          "Sub Foo()\n"
                          "    x = a _\n")
                  .Build();
  EXPECT_EQ(ModuleVariables(host, "Module1"), V{});
}

TEST(VariableCheck, ComponentsWithoutCodeAreSkipped) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private a\n"
                          "Sub Foo()\n"
                          "End Sub\n")
                  .Component(ide::ComponentType::ResFile, "Res1", "")
                  .Module("Module2",
                          "Private b\n"
                          "Sub Bar()\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ProjectVariables(host), (V{"Module1:a@1/0/Declarations", "Module2:b@1/0/Declarations"}));
  EXPECT_EQ(ModuleVariables(host, "Res1"), V{});
}

TEST(VariableCheck, ResultKeepsTheGivenModuleNameAndComponentIndex) {
  auto host = HostBuilder().Module("Module1", "Private a\nSub Foo()\nEnd Sub\n").Build();
  auto p = testing::FirstProject(host);
  VariableCheckResult r;
  r.projectName = u"Shown";
  CheckModuleVariables(*p, 1, u"Module1 (Module1.bas)", r);
  ASSERT_EQ(r.modules.size(), 1u);
  EXPECT_EQ(r.modules[0].name, u"Module1 (Module1.bas)");
  EXPECT_EQ(r.modules[0].component, 1);
  EXPECT_EQ(r.projectName, u"Shown");
  EXPECT_EQ(r.Total(), 1);
}

}  // namespace
}  // namespace tarno::checks
