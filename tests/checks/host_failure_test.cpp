// Host failures: the procedure-kind lookups are expected to fail and are
// absorbed; any other failure ends the check with an error and no result.
#include <gtest/gtest.h>

#include "check_fixture.h"
#include "host/faults.h"

namespace tarno::checks {
namespace {

using test::HostBuilder;

test::TestHost TwoModules() {
  return HostBuilder()
      .Module("Module1",
              "Private m_a As Long\n"
              "Public Sub Main()\n"
              "    Dim x As Long\n"
              "End Sub\n")
      .Module("Module2",
              "Private m_b As Long\n"
              "Private Sub Helper()\n"
              "    m_b = 1\n"
              "End Sub\n")
      .Build();
}

TEST(HostFailure, AFailedReadEndsTheVariableCheckWithoutAResult) {
  auto host = TwoModules();
  auto p = testing::FirstProject(host);
  for (const char* op : {"CodeModule.Lines", "CodeModule.CountOfLines", "CodeModule.CountOfDeclarationLines",
                         "CodeModule.ProcOfLine", "VBComponent.CodeModule", "VBComponents.Item"}) {
    host::FaultScope scope;
    host::Faults().FailAlways(op);
    VariableCheckResult result;
    EXPECT_THROW(CheckProjectVariables(*p, result), ide::HostError) << op;
    EXPECT_TRUE(result.modules.empty()) << op;
  }
}

TEST(HostFailure, AFailureInTheSecondModuleLeavesNoPartialResult) {
  auto host = TwoModules();
  auto p = testing::FirstProject(host);
  host::FaultScope scope;
  // The first module is read, the second read fails.
  host::Faults().FailOnCall("CodeModule.Lines", 2);
  VariableCheckResult result;
  EXPECT_THROW(CheckProjectVariables(*p, result), ide::HostError);
  EXPECT_TRUE(result.modules.empty());
}

TEST(HostFailure, AFailedMemberListEndsTheProcedureCheck) {
  auto host = TwoModules();
  auto p = testing::FirstProject(host);
  host::FaultScope scope;
  host::Faults().FailAlways("CodeModule.Members");
  ProcedureCheckResult result;
  EXPECT_THROW(CheckProjectProcedures(*p, result), ide::HostError);
  EXPECT_TRUE(result.modules.empty());
}

TEST(HostFailure, ProcedureKindLookupsAreAbsorbed) {
  auto host = TwoModules();
  auto p = testing::FirstProject(host);
  {
    // Every kind fails: the failures are absorbed, x gets an empty search
    // range and is reported.
    host::FaultScope scope;
    host::Faults().FailAlways("CodeModule.ProcBodyLine");
    VariableCheckResult result;
    ASSERT_NO_THROW(CheckModuleVariables(*p, 1, u"Module1", result));
    EXPECT_EQ(testing::Flatten(result), (std::vector<std::string>{"Module1:m_a@1/0/Declarations",
                                                                  "Module1:x@3/1/Main"}));
  }
  {
    host::FaultScope scope;
    host::Faults().FailAlways("CodeModule.ProcStartLine");
    ProcedureCheckResult result;
    // No start line: no candidates.
    ASSERT_NO_THROW(CheckProjectProcedures(*p, result));
    EXPECT_TRUE(result.modules.empty());
  }
}

TEST(HostFailure, TheLiteralReadingFailsOnTheSameOperations) {
  auto host = TwoModules();
  auto p = testing::FirstProject(host);
  host::FaultScope scope;
  host::Faults().FailAlways("CodeModule.ProcOfLine");
  EXPECT_THROW(oracle::CheckProjectVariables(*p), ide::HostError);
  VariableCheckResult result;
  EXPECT_THROW(CheckProjectVariables(*p, result), ide::HostError);
}

}  // namespace
}  // namespace tarno::checks
