// Both checks over the IDE's view of module text: hidden member attribute
// lines, one-line procedures and declarations written twice under #If. The
// findings' line numbers are code lines, as the IDE numbers them; every case
// also runs the literal implementation and must agree with it.
#include <gtest/gtest.h>

#include "check_fixture.h"

namespace tarno::checks {
namespace {

using testing::ModuleProcedures;
using testing::ModuleVariables;
using test::HostBuilder;
using V = std::vector<std::string>;

enum class Kind { Module, Class, Form };

struct Case {
  const char* name;
  Kind kind;
  const char* code;
  V variables;
  V procedures;
};

const Case kCases[] = {
    {"WithEvents form",
     Kind::Form,
     "Option Explicit\n"                                    // 1
     "Private WithEvents m_tmr As clsTimer\n"               // 2
     "Attribute m_tmr.VB_VarHelpID = -1\n"                  // hidden
     "Private m_unused As Long\n"                           // 3
     "Attribute m_unused.VB_VarDescription = \"spare\"\n"  // hidden
     "\n"                                                   // 4
     "Private Sub Form_Load()\n"                            // 5
     "    Dim n As Long\n"                                  // 6
     "    Set m_tmr = New clsTimer\n"                       // 7
     "End Sub\n"                                            // 8
     "Private Sub Helper()\n"                               // 9
     "Attribute Helper.VB_Description = \"unused\"\n"      // hidden
     "    Dim left As Long\n"                               // 10
     "End Sub\n",                                           // 11
     {"Form1:m_unused@3/0/Declarations", "Form1:n@6/1/Form_Load", "Form1:left@10/1/Helper"},
     {"Form1:Helper@9"}},
    {"#If twins share one body",
     Kind::Module,
     "Option Explicit\n"                            // 1
     "\n"                                           // 2
     "#If VBA7 Then\n"                              // 3
     "Private Function H(a As Long) As Boolean\n"   // 4
     "#Else\n"                                      // 5
     "Private Function H(b As String) As Boolean\n" // 6
     "#End If\n"                                    // 7
     "    Dim used As Long\n"                       // 8
     "    Dim spare As Long\n"                      // 9
     "    used = 1\n"                               // 10
     "    H = used > 0\n"                           // 11
     "End Function\n"                               // 12
     "Private Sub Caller()\n"                       // 13
     "    Dim r As Boolean\n"                       // 14
     "    r = H(1)\n"                               // 15
     "End Sub\n",                                   // 16
     {"Module1:spare@9/1/H"},  // r is assigned: a use, as every name on a line of its range
     {"Module1:Caller@13"}},
    {"one-line procedures",
     Kind::Class,
     "Option Explicit\n"                                    // 1
     "Private m_count As Long\n"                            // 2
     "Private Property Get Count() As Long: End Property\n" // 3
     "Private Sub Idle(): End Sub\n"                        // 4
     "Private Sub Work()\n"                                 // 5
     "    Dim k As Long\n"                                  // 6
     "    m_count = Count\n"                                // 7
     "End Sub\n",                                           // 8
     {"Class1:k@6/1/Work"},
     {"Class1:Idle@4", "Class1:Work@5"}},
};

TEST(HostRules, FindingsAndTheirCodeLines) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    HostBuilder b;
    const char* module = c.kind == Kind::Form ? "Form1" : c.kind == Kind::Class ? "Class1" : "Module1";
    if (c.kind == Kind::Form) b.Form(module, c.code);
    else if (c.kind == Kind::Class) b.Class(module, c.code);
    else b.Module(module, c.code);
    auto host = b.Build();
    EXPECT_EQ(ModuleVariables(host, module), c.variables);
    EXPECT_EQ(ModuleProcedures(host, module), c.procedures);
  }
}

}  // namespace
}  // namespace tarno::checks
