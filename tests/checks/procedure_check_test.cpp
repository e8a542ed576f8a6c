// The unused-procedure check on small projects; every case also runs the
// literal implementation and must agree with it.
#include <gtest/gtest.h>

#include "check_fixture.h"

namespace tarno::checks {
namespace {

using testing::ModuleProcedures;
using testing::ProjectProcedures;
using test::HostBuilder;
using V = std::vector<std::string>;

TEST(ProcedureCheck, OwnEventProceduresAreNeverReported) {
  auto host = HostBuilder()
                  .Form("Form1",
                        "Private Sub Form_Load()\n"
                        "End Sub\n"
                        "Private Sub form_unload(Cancel As Integer)\n"
                        "End Sub\n")
                  .Class("Class1",
                         "Implements IDTExtensibility2\n"
                         "Private Sub Class_Initialize()\n"
                         "End Sub\n"
                         "Private Sub IDTExtensibility_OnConnection()\n"
                         "End Sub\n"
                         "Private Sub IDTExtensibility2_OnConnection()\n"
                         "End Sub\n"
                         "Private Sub IDTExtensib_OnConnection()\n"
                         "End Sub\n")
                  .UserControl("UserControl1",
                               "Private Sub UserControl_Resize()\n"
                               "End Sub\n")
                  .Build();
  EXPECT_EQ(ProjectProcedures(host), (V{"Class1:IDTExtensib_OnConnection@8"}));
}

TEST(ProcedureCheck, ControlEventsOnFormsAndClickElsewhere) {
  auto host = HostBuilder()
                  .Form("Form1",
                        "Private Sub Command1_Click()\n"
                        "End Sub\n"
                        "Private Sub Text9_Change()\n"
                        "End Sub\n"
                        "Private Sub Mnu_Click()\n"
                        "End Sub\n",
                        {{"CommandButton", "Command1"}})
                  .Module("Module1",
                          "Private Sub Mnu_Click()\n"
                          "End Sub\n"
                          "Sub Main()\n"
                          "End Sub\n")
                  .Build();
  // Form1: no control Text9 or Mnu; Module1: the "Click" suffix keeps Mnu_Click.
  EXPECT_EQ(ProjectProcedures(host), (V{"Form1:Text9_Change@3", "Form1:Mnu_Click@5", "Module1:Main@3"}));
}

TEST(ProcedureCheck, ModuleVariableNamesMarkEventProcedures) {
  auto host = HostBuilder()
                  .Form("Form1",
                        "Private WithEvents Text9 As TextBox\n"
                        "Private Sub Text9_Change()\n"
                        "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleProcedures(host, "Form1"), V{});
}

TEST(ProcedureCheck, RecursionAloneIsNoUseButACommentElsewhereIs) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\n"
                          "Private Function Fact(ByVal n As Long) As Long\n"
                          "    If n > 1 Then Fact = n * Fact(n - 1) Else Fact = 1\n"
                          "End Function\n"
                          "Private Sub Helper()\n"
                          "End Sub\n"
                          "Sub Main()\n"
                          "    ' Helper is kept for later\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleProcedures(host, "Module1"), (V{"Module1:Fact@2", "Module1:Main@7"}));
}

TEST(ProcedureCheck, PublicProceduresAreSearchedInEveryModule) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Public Sub UsedElsewhere()\n"
                          "End Sub\n"
                          "Public Sub UsedBelow()\n"
                          "End Sub\n"
                          "Public Sub Unused()\n"
                          "End Sub\n"
                          "Sub Caller()\n"
                          "    UsedBelow\n"
                          "End Sub\n")
                  .Form("Form1",
                        "Private Sub Form_Load()\n"
                        "    UsedElsewhere\n"
                        "    Caller\n"
                        "End Sub\n")
                  .Build();
  EXPECT_EQ(ProjectProcedures(host), (V{"Module1:Unused@5"}));
  // Checked alone, the module's public procedures are still searched project-wide.
  EXPECT_EQ(ModuleProcedures(host, "Module1"), (V{"Module1:Unused@5"}));
}

TEST(ProcedureCheck, PropertiesAreCandidatesDeclaresAreNot) {
  auto host = HostBuilder()
                  .Class("Class1",
                         "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
                         "Private m_v As Long\n"
                         "Public Property Let Value(ByVal v As Long)\n"
                         "    m_v = v\n"
                         "End Property\n"
                         "Private Property Get Secret() As Long\n"
                         "End Property\n")
                  .Build();
  EXPECT_EQ(ModuleProcedures(host, "Class1"), (V{"Class1:Value@3", "Class1:Secret@6"}));
}

TEST(ProcedureCheck, DesignerRulesDifferForPublicProcedures) {
  // On a user control a private Xxx_Click is an event only when Xxx is a
  // control; a public one follows the "Click" rule there.
  auto host = HostBuilder()
                  .UserControl("UserControl1",
                               "Private Sub Btn_Click()\n"
                               "End Sub\n"
                               "Public Sub Other_Click()\n"
                               "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleProcedures(host, "UserControl1"), (V{"UserControl1:Btn_Click@1"}));
}

TEST(ProcedureCheck, NameInAStringCountsAsAUse) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private Sub Hidden()\n"
                          "End Sub\n"
                          "Private Sub Main2()\n"
                          "    CallByName Me, \"Hidden\", VbMethod\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleProcedures(host, "Module1"), (V{"Module1:Main2@3"}));
}

TEST(ProcedureCheck, OwnLinesRunOneLinePastTheEnd) {
  // Own lines are start .. start + ProcCountLines: the line after the End
  // statement still belongs to them, so a match there does not count.
  auto host = HostBuilder()
                  .Module("Module1",
                          "Private Sub A()\n"
                          "End Sub\n"
                          "' A\n"
                          "Private Sub B()\n"
                          "End Sub\n"
                          "Sub Main()\n"
                          "    ' B\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ModuleProcedures(host, "Module1"), (V{"Module1:A@1", "Module1:Main@6"}));
}

TEST(ProcedureCheck, ComponentsWithoutCodeAreSkipped) {
  auto host = HostBuilder()
                  .Component(ide::ComponentType::RelatedDocument, "Doc1", "")
                  .Module("Module1",
                          "Private Sub Unused()\n"
                          "End Sub\n")
                  .Build();
  EXPECT_EQ(ProjectProcedures(host), (V{"Module1:Unused@1"}));
  EXPECT_EQ(ModuleProcedures(host, "Doc1"), V{});
}

}  // namespace
}  // namespace tarno::checks
