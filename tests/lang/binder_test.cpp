// The binder on small hand-made projects, one group of cases per rule: each
// row builds the projects, names a symbol ("Name", "Module.Member" or
// "Module.Procedure.Local") and gives every symbol so named with its kind,
// declaration, marks and references ("Module:line:column").
#include <gtest/gtest.h>

#include "lang/model.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno::lang {
namespace {

struct Comp {
  char kind;  // P project (starts one), M module, C class, F form, U user control
  const char* name;
  const char* code = "";
  std::vector<test::ControlSpec> controls = {};
};

struct Case {
  const char* rule;
  std::vector<Comp> comps;
  const char* name;
  const char* expected;
};

test::TestHost BuildHost(const std::vector<Comp>& comps) {
  test::HostBuilder b;
  for (const auto& c : comps) {
    switch (c.kind) {
      case 'P': b.Project(c.name, ide::ProjectType::ActiveXDll); break;
      case 'M': b.Module(c.name, c.code); break;
      case 'C': b.Class(c.name, c.code); break;
      case 'F': b.Form(c.name, c.code, c.controls); break;
      case 'U': b.UserControl(c.name, c.code, c.controls); break;
    }
  }
  return b.Build();
}

std::unique_ptr<Model> BuildModel(const test::TestHost& host) {
  std::vector<ProjectCode> code;
  for (const auto& p : host.mem->projects()) code.push_back(ReadProjectCode(*p));
  return Model::Build(std::move(code));
}

std::string Where(const Model& m, uint32_t module, int line, int column) {
  return vb::ToUtf8(m.Module(module).code->name) + ":" + std::to_string(line) + ":" + std::to_string(column);
}

std::string Describe(const Model& m, SymbolId s) {
  const Symbol& sym = m.Sym(s);
  std::string out = DeclKindName(sym.decl.kind);
  if (sym.module != kUnbound) {
    out += " " + (sym.decl.line > 0 ? Where(m, sym.module, sym.decl.line, sym.decl.column)
                                    : vb::ToUtf8(m.Module(sym.module).code->name));
  }
  const uint16_t f = sym.decl.flags;
  if (f & kDeclHandler) out += " handler";
  if (f & kDeclImplements) out += " implements";
  if (f & kDeclDefaultMember) out += " default";
  if (f & kDeclEnumerator) out += " enumerator";
  if (f & kDeclImplicit) out += " implicit";
  out += " <-";
  std::vector<RefId> refs(m.References(s).begin(), m.References(s).end());
  std::sort(refs.begin(), refs.end(), [&](const RefId& a, const RefId& b) {
    return std::tie(a.module, m.RefAt(a).line, m.RefAt(a).column) < std::tie(b.module, m.RefAt(b).line, m.RefAt(b).column);
  });
  for (const auto& r : refs) out += " " + Where(m, r.module, m.RefAt(r).line, m.RefAt(r).column);
  return out;
}

std::string DescribeAll(const Model& m, const char* name) {
  std::string out;
  for (SymbolId s : m.Lookup(vb::U(name))) out += (out.empty() ? "" : " | ") + Describe(m, s);
  return out;
}

void RunCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    auto host = BuildHost(c.comps);
    auto model = BuildModel(host);
    for (uint32_t mi = 0; mi < model->ModuleCount(); ++mi) {
      for (const auto& e : model->Errors(mi)) ADD_FAILURE() << c.rule << ": " << Where(*model, mi, e.line, e.column) << " " << e.message;
    }
    EXPECT_EQ(DescribeAll(*model, c.name), c.expected) << c.rule;
  }
}

TEST(Binder, ScopesShadowingAndCase) {
  RunCases({
      {"a local hides the module variable of its name",
       {{'M', "Module1", "Private m As Long\nSub S()\n  Dim m As Long\n  m = 1\nEnd Sub\nSub T()\n  m = 2\nEnd Sub"}},
       "m",
       "variable Module1:1:9 <- Module1:7:3 | variable Module1:3:7 <- Module1:4:3"},
      {"names compare without case",
       {{'M', "Module1", "Public Counter As Long\nSub S()\n  COUNTER = counter + 1\nEnd Sub"}},
       "Module1.counter", "variable Module1:1:8 <- Module1:3:3 Module1:3:13"},
      {"module, then project; a private name of another module is not seen",
       {{'M', "Module1", "Public X As Long\nPrivate Y As Long"},
        {'M', "Module2", "Private X As Long\nSub S()\n  X = 1: Y = 2\nEnd Sub"},
        {'M', "Module3", "Sub S()\n  X = 1: Y = 2\nEnd Sub"}},
       "X", "variable Module1:1:8 <- Module3:2:3 | variable Module2:1:9 <- Module2:3:3"},
      {"explicit qualification picks the module",
       {{'M', "Module1", "Public X As Long"},
        {'M', "Module2", "Public X As Long\nSub S()\n  Module1.X = 1: module2.x = 2\nEnd Sub"}},
       "X", "variable Module1:1:8 <- Module2:3:11 | variable Module2:1:8 <- Module2:3:26"},
      {"a local of Property Let is not seen by Property Get; a local ends at End Sub",
       {{'C', "Class1",
         "Private v As Long\nProperty Let X(ByVal v As Long)\n  v = v\nEnd Property\nProperty Get X() As Long\n  X = v\nEnd Property"}},
       "v",
       "variable Class1:1:9 <- Class1:6:7 | parameter Class1:2:22 <- Class1:3:3 Class1:3:7"},
      {"inside Property Get, assigning its name sets its value; elsewhere it calls Let",
       {{'C', "Class1", "Property Get X() As Long\n  X = 1\nEnd Property\nProperty Let X(ByVal v As Long)\nEnd Property\nSub S()\n  X = X\nEnd Sub"}},
       "X", "property get Class1:1:14 <- Class1:2:3 Class1:7:7 | property let Class1:4:14 <- Class1:7:3"},
      {"labels are the procedure's own",
       {{'M', "Module1", "Sub S()\n  On Error GoTo Fail\n  GoTo 10\n10 Exit Sub\nFail:\n  Resume Fail\nEnd Sub"}},
       "Fail", "label Module1:5:1 <- Module1:2:17 Module1:6:10"},
      {"ReDim of an undeclared name declares a local array",
       {{'M', "Module1", "Sub S()\n  ReDim arr(5)\n  arr(1) = 2\nEnd Sub\nSub T()\n  arr = 1\nEnd Sub"}},
       "arr", "variable Module1:2:9 implicit <- Module1:2:9 Module1:3:3"},
      {"named arguments are the called procedure's parameters",
       {{'M', "Module1", "Sub Foo(Optional ByVal n As Long)\nEnd Sub\nSub S()\n  Foo n:=1\n  Call Foo(N:=2)\nEnd Sub"}},
       "Module1.Foo.n", "parameter Module1:1:24 <- Module1:4:7 Module1:5:12"},
  });
}

TEST(Binder, MembersThroughDeclaredTypesAndWith) {
  const char* cls = "Public Count As Long\nPublic Function Item(ByVal i As Long) As Class1\nEnd Function\nPublic Sub Run()\nEnd Sub";
  RunCases({
      {"x.y through the declared class, a function's return type and an array's element type",
       {{'C', "Class1", cls},
        {'M', "Module1",
         "Sub S()\n  Dim c As Class1, a(3) As Class1\n  c.Run\n  c.Item(1).Run\n  a(2).Run\n  c.Item(1).Item(2).Run\nEnd Sub"}},
       "Run", "sub Class1:4:12 <- Module1:3:5 Module1:4:13 Module1:5:8 Module1:6:21"},
      {"With and nested With, With New",
       {{'C', "Class1", cls},
        {'M', "Module1",
         "Sub S()\n  Dim c As New Class1\n  With c\n    .Run\n    With .Item(1)\n      .Run\n    End With\n  End With\n  With New Class1\n    .Run\n  End With\nEnd Sub"}},
       "Class1.Run", "sub Class1:4:12 <- Module1:4:6 Module1:6:8 Module1:10:6"},
      {"Type members through a variable and With; enum members bare and qualified",
       {{'M', "Module1",
         "Private Type SAFEARRAY\n  cDims As Integer\nEnd Type\nPublic Enum Color\n  Red\nEnd Enum\nSub S()\n  Dim sa As SAFEARRAY\n  sa.cDims = 1\n  With sa\n    .cDims = 2\n  End With\n  Dim c As Color: c = Red: c = Color.Red\nEnd Sub"}},
       "cDims", "type member Module1:2:3 <- Module1:9:6 Module1:11:6"},
      {"an enum member seen from another module",
       {{'M', "Module1", "Public Enum Color\n  Red\nEnd Enum"}, {'C', "Class1", "Sub S()\n  x = Red + Color.Red\nEnd Sub"}},
       "Red", "enum member Module1:2:3 <- Class1:2:7 Class1:2:19"},
      {"Me, a form's controls, control arrays, Form1.Text1 and Controls(\"Text1\")",
       {{'F', "Form1",
         "Sub S()\n  Text1.Text = \"\"\n  Me.Text1.Text = \"\"\n  List1(0).Clear\n  Controls(\"Text1\").Text = \"\"\nEnd Sub",
         {{"TextBox", "Text1"}, {"ListBox", "List1", 0}, {"ListBox", "List1", 1}}},
        {'M', "Module1", "Sub S()\n  Form1.Text1.Text = \"x\"\nEnd Sub"}},
       "Text1", "control Form1 <- Form1:2:3 Form1:3:6 Form1:5:13 Module1:2:9"},
  });
}

TEST(Binder, UnresolvedExternalAndInactiveUses) {
  const char* code =
      "Option Explicit\nSub S()\n  Dim o As Object, col As Collection, c As Class1\n  o.Run\n  col.Count\n  col(1).Run\n  c.Run\n"
      "  CallByName c, \"Run\", VbMethod\n  Err.Number = 0\n#If DEBUG_ON Then\n  Trace Run\n#End If\n  Print Run:=1\nEnd Sub";
  auto host = BuildHost({{'C', "Class1", "Public Sub Run()\nEnd Sub\nPublic Sub Count()\nEnd Sub"}, {'M', "Module1", code}});
  auto model = BuildModel(host);
  auto where = [&](std::span<const RefId> refs) {
    std::string out;
    for (const auto& r : refs) out += (out.empty() ? "" : " ") + Where(*model, r.module, model->RefAt(r).line, model->RefAt(r).column);
    return out;
  };
  // Object and an item of a collection are not known: possible uses of every Run.
  EXPECT_EQ(where(model->UnresolvedMembers(model->FindName(u"Run"))), "Module1:4:5 Module1:6:10 Module1:8:18");
  // A Collection's Count and Err's Number are members of types outside the project.
  EXPECT_TRUE(model->UnresolvedMembers(model->FindName(u"Count")).empty());
  EXPECT_TRUE(model->UnresolvedMembers(model->FindName(u"Number")).empty());
  EXPECT_EQ(DescribeAll(*model, "Class1.Count"), "sub Class1:3:12 <-");
  EXPECT_EQ(DescribeAll(*model, "Class1.Run"), "sub Class1:1:12 <- Module1:7:5");
  // Names in a dead #If branch are uses in inactive code, bound to nothing.
  EXPECT_EQ(where(model->InactiveUses(model->FindName(u"Trace"))), "Module1:11:3");
  EXPECT_EQ(where(model->InactiveUses(model->FindName(u"Run"))), "Module1:11:9");
}

TEST(Binder, EventWiring) {
  RunCases({
      {"control events, control arrays and the form's own",
       {{'F', "Form1", "Private Sub Form_Load()\nEnd Sub\nPrivate Sub cmd_OK_Click()\nEnd Sub\nPrivate Sub Text1_Change(Index As Integer)\nEnd Sub\nPrivate Sub Helper_Click()\nEnd Sub",
         {{"CommandButton", "cmd_OK"}, {"TextBox", "Text1", 0}, {"TextBox", "Text1", 1}}}},
       "Form1.cmd_OK_Click", "sub Form1:3:13 handler <-"},
      {"a procedure named like an event of nothing is no handler",
       {{'F', "Form1", "Private Sub Helper_Click()\nEnd Sub", {{"CommandButton", "Command1"}}}},
       "Helper_Click", "sub Form1:1:13 <-"},
      {"the control of a handler is referenced by it",
       {{'F', "Form1", "Private Sub Text1_Change(Index As Integer)\nEnd Sub", {{"TextBox", "Text1", 0}}}},
       "Text1", "control Form1 <- Form1:1:13"},
      {"WithEvents handlers use the variable and the event; RaiseEvent the event",
       {{'C', "Class1", "Public Event Changed(ByVal n As Long)\nSub Fire()\n  RaiseEvent Changed(1)\nEnd Sub"},
        {'C', "Class2", "Private WithEvents m_src As Class1\nPrivate Sub m_src_Changed(ByVal n As Long)\nEnd Sub"}},
       "Changed", "event Class1:1:14 <- Class1:3:14 Class2:2:19"},
      {"Class_Initialize and UserControl events",
       {{'C', "Class1", "Private Sub Class_Initialize()\nEnd Sub"}, {'U', "Ctl1", "Private Sub UserControl_Resize()\nEnd Sub"}},
       "Class_Initialize", "sub Class1:1:13 handler <-"},
      {"a class raises only Initialize and Terminate of its own",
       {{'C', "Class1", "Private Sub Class_Helper()\nEnd Sub"}}, "Class_Helper", "sub Class1:1:13 <-"},
      {"Implements: I_Member implements the interface's member, which it references",
       {{'C', "IShape", "Public Function Area() As Double\nEnd Function"},
        {'C', "Circle", "Implements IShape\nPrivate Function IShape_Area() As Double\nEnd Function"}},
       "Area", "function IShape:1:17 <- Circle:2:25"},
      {"an interface outside the projects still marks its members",
       {{'C', "Class1", "Implements IObjectSafety\nPrivate Sub IObjectSafety_SetInterfaceSafetyOptions()\nEnd Sub"}},
       "IObjectSafety_SetInterfaceSafetyOptions", "sub Class1:2:13 implements <-"},
  });
}

TEST(Binder, TheTrapsOfATextualReading) {
  RunCases({
      {"an array is found by its name, not by its bounds",
       {{'M', "Module1", "Dim a(10) As Long\nSub S()\n  a(1) = a(2)\nEnd Sub"}}, "a",
       "variable Module1:1:5 <- Module1:3:3 Module1:3:10"},
      {"a Type header is a type, not a variable",
       {{'M', "Module1", "Private Type RECT\n  Left As Long\nEnd Type\nDim r As RECT"}}, "RECT",
       "type Module1:1:14 <- Module1:4:10"},
      {"names in comments and strings are not code; a commented-out call is no use",
       {{'M', "Module1", "Sub Used()\nEnd Sub\nSub S()\n  ' Used\n  x = \"Used\"\n  ', l2() As Variant\nEnd Sub"}}, "Used",
       "sub Module1:1:5 <-"},
      {"no name comes out of a literal",
       {{'M', "Module1", "Sub S()\n  Dim k() As Byte: k = F(&H2B, &H7E)\nEnd Sub"}}, "k", "variable Module1:2:7 <- Module1:2:20"},
      {"every name of a Const list, with or without a scope keyword, after a continued Declare",
       {{'M', "Module1", "Private Declare Function GetTickCount Lib \"kernel32\" _\n  () As Long\nConst A = 1, B = 2\nSub S()\n  x = B\nEnd Sub"}},
       "B", "constant Module1:3:14 <- Module1:5:7"},
      {"a keyword inside a name makes no declaration",
       {{'M', "Module1", "Public lbConstitucion As Long\nSub S()\n  lbConstitucion = 1\nEnd Sub"}}, "lbConstitucion",
       "variable Module1:1:8 <- Module1:3:3"},
  });
}

TEST(Binder, GroupOfTwoProjectsAndDefaultMembers) {
  RunCases({
      {"a project uses the public class of another project of the group",
       {{'P', "Lib"}, {'C', "Shape", "Public Sub Draw()\nEnd Sub"},
        {'P', "App"}, {'M', "Module1", "Sub S()\n  Dim s As Shape, t As Lib.Shape\n  s.Draw: t.Draw\nEnd Sub"}},
       "Draw", "sub Shape:1:12 <- Module1:3:5 Module1:3:13"},
      {"VB_UserMemId 0 and -4 mark the default member and the enumerator",
       {{'C', "Items",
         "Public Function Item(ByVal i As Long) As Variant\nAttribute Item.VB_UserMemId = 0\nEnd Function\n"
         "Public Function NewEnum() As IUnknown\nAttribute NewEnum.VB_UserMemId = -4\nEnd Function"}},
       "NewEnum", "function Items:3:17 enumerator <-"},
  });
}

}  // namespace
}  // namespace tarno::lang
