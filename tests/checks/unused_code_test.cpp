// The precise checks on the language model, one hand-made project per rule
// and per trap of reading VB 6 by text: each gives exactly its findings.
#include <gtest/gtest.h>

#include "check_fixture.h"
#include "checks/check_run.h"

namespace tarno::checks {
namespace {

using test::HostBuilder;
using V = std::vector<std::string>;

struct Part {
  int type;  // ide::ComponentType
  const char* name;
  const char* code;
};

struct Case {
  const char* what;
  std::vector<Part> parts;
  V expected;  // "Module.name kind[ verdict][ (reason)]"
  bool transitive = false;
  unsigned kinds = DefaultKinds() | KindBit(UnusedKind::Parameter);
};

V FindingsOf(const Case& c) {
  HostBuilder b;
  for (const Part& p : c.parts) b.Component(p.type, p.name, p.code);
  auto host = b.Build();
  auto project = testing::FirstProject(host);
  ProjectSource source(*project);
  ProjectFacts facts;
  facts.components.resize(c.parts.size());
  RunOptions options;
  options.rules = RuleSet::Precise;
  options.transitive = c.transitive;
  options.kinds = c.kinds;
  V out;
  for (const auto& f : RunChecks(source, facts, options)) {
    std::string s = vb::ToUtf8(f.module) + "." + vb::ToUtf8(f.name) + " " + std::string(KindName(f.kind));
    if (f.verdict == Verdict::Exposed) s += " exposed";
    if (!f.reason.empty()) s += " (" + f.reason + ")";
    out.push_back(s);
  }
  return out;
}

constexpr int kMod = ide::ComponentType::StdModule;
constexpr int kCls = ide::ComponentType::ClassModule;
constexpr int kFrm = ide::ComponentType::VBForm;

TEST(UnusedCode, EachRuleAndTrapGivesExactlyItsFindings) {
  const Case cases[] = {
      {"an array declared with bounds is used by its bare name",
       {{kMod, "M",
         "Private a(10) As Long, b(1 To 3) As String\nPublic Sub P()\n    a(1) = 2\n    Erase b\nEnd Sub\n"}},
       {"M.P procedure"}},
      {"Type and Enum by their own names; an Enum is used through a member",
       {{kMod, "M",
         "Private Type RECT\n    Left As Long\nEnd Type\nType Used\n    X As Long\nEnd Type\n"
         "Private Enum Colour\n    Red\nEnd Enum\nEnum Size\n    Big\nEnd Enum\n"
         "Public Sub P()\n    Dim u As Used\n    u.X = Big\nEnd Sub\n"}},
       {"M.RECT type", "M.Colour enum", "M.P procedure"}},
      {"keywords inside names and members are no declarations",
       {{kMod, "M",
         "Public Sub P()\n    Dim lbConstitucion As Long\n    Dim sa As Object\n    With sa\n        .cDims = 1\n"
         "    End With\n    lbConstitucion = 1\nEnd Sub\n"}},
       {"M.P procedure"}},
      {"a comment, a string and hex numbers declare nothing",
       {{kMod, "M",
         "Public Function F(ByVal x As Long, ByVal y As Long) As Long\n    F = x + y\nEnd Function\n"
         "Public Sub P()\n    ', l2() As Variant\n    Dim k() As Byte: k = F(&H2B, &H7E)\n    Debug.Print \"Dim s As Long\"\nEnd Sub\n"}},
       {"M.P procedure"}},
      {"a local of Property Let is not found in Property Get, nor past End Sub",
       {{kCls, "C",
         "Private m As Long\nPublic Property Get X() As Long\n    Dim t As Long\n    X = m\nEnd Property\n"
         "Public Property Let X(ByVal v As Long)\n    Dim t As Long\n    m = v: t = 1\nEnd Property\n"
         "Public Sub A()\n    Dim n As Long\nEnd Sub\nPublic Sub B()\n    n = 2\nEnd Sub\n"}},
       {"C.t variable", "C.n variable", "C.X procedure", "C.A procedure", "C.B procedure"}},
      {"a commented-out call, constants after a continued Declare, every name of a Const list",
       {{kMod, "M",
         "Private Declare Function GetTickCount Lib \"kernel32\" _\n    () As Long\n"
         "Private Const AFTER_DECLARE = 1\nConst A = 1, B = 2\nPublic Sub Main()\n    ' Helper\n"
         "    Debug.Print A\nEnd Sub\nPrivate Sub Helper()\nEnd Sub\n"}},
       {"M.AFTER_DECLARE constant", "M.B constant", "M.GetTickCount declare", "M.Main procedure",
        "M.Helper procedure"}},
      {"recursion alone is no use; a use from outside is",
       {{kMod, "M",
         "Private Function Fact(ByVal n As Long) As Long\n    If n > 1 Then Fact = n * Fact(n - 1) Else Fact = 1\n"
         "End Function\nPrivate Sub Ping()\n    Ping\nEnd Sub\nPublic Sub Main()\n    Debug.Print Fact(3)\nEnd Sub\n"}},
       {"M.Ping procedure", "M.Main procedure"}},
      {"inactive #If code and unresolved members are uses; a private member never is",
       {{kMod, "M",
         "#Const DEBUGGING = 0\nPrivate Sub Trace()\nEnd Sub\nPrivate Function Stub() As Long\n#If DEBUGGING Then\n    Stub = 1\n#End If\nEnd Function\nPublic Sub Main()\n#If DEBUGGING Then\n    Trace\n#End If\n"
         "    Dim o As Object\n    o.Refresh\n    CallByName o, \"Reload\", VbMethod\nEnd Sub\n"},
        {kCls, "C",
         "Public Sub Refresh()\nEnd Sub\nPublic Sub Reload()\nEnd Sub\nPrivate Sub Refresh2()\nEnd Sub\n"}},
       {"M.Stub procedure", "M.Main procedure", "C.Refresh2 procedure"}},
      {"events: raised or handled is used; parameters of handlers and interfaces are fixed",
       {{kCls, "Src",
         "Public Event Done(ByVal n As Long)\nPublic Event Never()\nPublic Event Handled()\n"
         "Public Sub Go()\n    RaiseEvent Done(1)\nEnd Sub\n"},
        {kCls, "IShape", "Public Function Area(ByVal scale As Double) As Double\nEnd Function\n"},
        {kCls, "Sink",
         "Implements IShape\nPrivate WithEvents s As Src\nPrivate Sub s_Handled()\nEnd Sub\n"
         "Private Function IShape_Area(ByVal scale As Double) As Double\nEnd Function\n"
         "Private Sub Class_Initialize()\n    Set s = New Src\n    s.Go\n    Work 1, 2\nEnd Sub\n"
         "Public Sub Work(ByVal unusedArg As Long, ByVal usedArg As Long)\n    Debug.Print usedArg\nEnd Sub\n"}},
       {"Sink.unusedArg parameter", "Src.Never event", "IShape.Area procedure"}},
      {"a test class handed to a runner has its public methods exposed",
       {{kMod, "M",
         "Public Sub Main()\n    Dim suite As Object\n    suite.Add New XTests\n    Dim runner As Object\n"
         "    Set runner.Fixture = New YTests\nEnd Sub\n"},
        {kCls, "XTests", "Public Sub TestOne()\nEnd Sub\nPrivate Sub Helper()\nEnd Sub\n"},
        {kCls, "YTests", "Public Sub TestTwo()\nEnd Sub\n"},
        {kCls, "ZTests", "Public Sub TestThree()\nEnd Sub\n"}},
       {"M.Main procedure",
        "XTests.TestOne procedure exposed (public member of an instance passed outside the project)",
        "XTests.Helper procedure",
        "YTests.TestTwo procedure exposed (public member of an instance passed outside the project)",
        "ZTests.TestThree procedure"}},
      {"--transitive: a type used only by an unused declaration, calls from unused procedures",
       {{kMod, "M",
         "Private Type PT\n    X As Long\nEnd Type\nPrivate Const N = 3\nPrivate Sub Dead()\n    Dim p As PT\n"
         "    Dim q(N) As Long\n    q(0) = p.X\n    Helper\nEnd Sub\nPrivate Sub Helper()\nEnd Sub\n"},
        {kFrm, "F", "Private Sub Form_Load()\nEnd Sub\n"}},
       {"M.PT type (used only by unused declarations)", "M.N constant (used only by unused declarations)",
        "M.Dead procedure", "M.Helper procedure (used only by unused declarations)"},
       true},
      {"an instance in a variable handed to a script host; a user control's properties; a module named like a Long",
       {{kMod, "M",
         "Public Tools As New CTools\nPublic Sub Main()\n    Dim sc As Object\n    sc.AddObject \"util\", Tools\n"
         "    Debug.Print Stats.Mean(1)\nEnd Sub\n"},
        {kMod, "Globals", "Public Stats As Long\n"},
        {kMod, "Stats", "Public Function Mean(ByVal x As Double) As Double\nEnd Function\n"},
        {kCls, "CTools", "Public Function B64(ByVal s As String) As String\nEnd Function\n"},
        {ide::ComponentType::UserControl, "Spin",
         "Public Property Get Step() As Long\nEnd Property\nPublic Property Let Step(ByVal v As Long)\nEnd Property\n"
         "Private Property Get Hidden() As Long\nEnd Property\n"}},
       // (The variable Stats keeps the qualifier as its reference: a miss, never a false finding.)
       {"Stats.x parameter", "M.Main procedure",
        "CTools.B64 procedure exposed (public member of an instance passed outside the project)",
        "Spin.Hidden procedure"}},
      {"--kinds leaves out what it does not name",
       {{kMod, "M", "Private Const C = 1\nPrivate x As Long\nPrivate Sub P(ByVal a As Long)\nEnd Sub\n"}},
       {"M.C constant"},
       false,
       KindBit(UnusedKind::Constant)},
  };
  for (const Case& c : cases) EXPECT_EQ(FindingsOf(c), c.expected) << c.what;
}

}  // namespace
}  // namespace tarno::checks
