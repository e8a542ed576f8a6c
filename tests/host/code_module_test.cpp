#include <gtest/gtest.h>

#include "support/host_builders.h"
#include "platform/vb_text.h"

namespace tarno {
namespace {

using test::HostBuilder;
using vb::U;

std::shared_ptr<ide::CodeModule> ModuleOf(std::string_view code) {
  auto host = HostBuilder().Module("Module1", code).Build();
  return host.Module("Module1");
}

// --- Lines, counts, edits ------------------------------------------------------

TEST(CodeModuleLines, JoinsRangesAndRejectsOutOfRange) {
  auto m = ModuleOf("a\nb\nc\n");
  EXPECT_EQ(m->CountOfLines(), 3);
  EXPECT_EQ(m->Lines(1, 3), u"a\r\nb\r\nc");
  EXPECT_EQ(m->Lines(2, 1), u"b");
  EXPECT_EQ(m->Lines(2, 0), u"");
  EXPECT_THROW(m->Lines(0, 1), ide::HostError);
  EXPECT_THROW(m->Lines(3, 2), ide::HostError);
  try {
    m->Lines(4, 1);
    FAIL();
  } catch (const ide::HostError& e) {
    EXPECT_EQ(e.operation(), "CodeModule.Lines");
  }
}

TEST(CodeModuleEdits, InsertSplitsAtCrLfWithoutTrailingEmptyLine) {
  auto m = ModuleOf("a\nb\n");
  m->InsertLines(2, u"x\r\ny\r\n");
  EXPECT_EQ(m->Lines(1, m->CountOfLines()), u"a\r\nx\r\ny\r\nb");
  m->InsertLines(5, u"z\r\n\r\n");  // two CR LF: one empty line
  EXPECT_EQ(m->Lines(1, m->CountOfLines()), u"a\r\nx\r\ny\r\nb\r\nz\r\n");
  EXPECT_EQ(m->CountOfLines(), 6);
  m->InsertLines(1, u"");
  EXPECT_EQ(m->CountOfLines(), 7);
  EXPECT_EQ(m->Lines(1, 1), u"");
  EXPECT_THROW(m->InsertLines(9, u"q"), ide::HostError);
  // A lone CR or LF cannot stay inside a line.
  EXPECT_EQ(host::MemCodeModule::SplitInsertText(u"a\nb\rc\r\n"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_THROW(m->InsertLines(0, u"q"), ide::HostError);
  m->DeleteLines(1, 3);
  EXPECT_EQ(m->Lines(1, m->CountOfLines()), u"y\r\nb\r\nz\r\n");
  EXPECT_THROW(m->DeleteLines(4, 2), ide::HostError);
}

TEST(CodeModuleEdits, EveryEditMarksTheComponentDirty) {
  auto host = HostBuilder().Module("Module1", "a\n").Build();
  auto c = host.Component("Module1");
  EXPECT_FALSE(c->IsDirty());
  EXPECT_TRUE(host.Project()->Saved());
  host.Module("Module1")->InsertLines(1, u"x");
  EXPECT_TRUE(c->IsDirty());
  EXPECT_FALSE(host.Project()->Saved());
  c->SetIsDirty(false);
  host.Module("Module1")->DeleteLines(1);
  EXPECT_TRUE(c->IsDirty());
}

// --- Sections and procedure ranges -----------------------------------------------

constexpr const char* kTwoProcs =
    "Option Explicit\n"        // 1
    "Dim a As Long\n"          // 2
    "\n"                       // 3
    "' about Foo\n"            // 4
    "Public Sub Foo()\n"       // 5
    "  a = 1\n"                // 6
    "End Sub\n"                // 7
    "\n"                       // 8
    "Rem about Bar\n"          // 9
    "Private Function Bar$(ByVal x As Long) ' note\n"  // 10
    "End Function   ' done\n"  // 11
    "\n"                       // 12
    "' trailing\n";            // 13

TEST(CodeModuleSections, CommentsAboveTheFirstProcedureBelongToIt) {
  auto m = ModuleOf(kTwoProcs);
  EXPECT_EQ(m->CountOfDeclarationLines(), 2);
  EXPECT_EQ(m->ProcStartLine(u"Foo", 0), 3);
  EXPECT_EQ(m->ProcBodyLine(u"Foo", 0), 5);
  EXPECT_EQ(m->ProcCountLines(u"Foo", 0), 5);
  // The name has no type suffix; names compare without case.
  EXPECT_EQ(m->ProcStartLine(u"bar", 0), 8);
  EXPECT_EQ(m->ProcBodyLine(u"BAR", 0), 10);
  // The last procedure runs to the last line.
  EXPECT_EQ(m->ProcCountLines(u"Bar", 0), 6);
}

// The declaration count read on its own (before anything else) is the one
// the whole analysis gives (after Members or ProcStartLine).
TEST(CodeModuleSections, DeclarationCountAloneMatchesTheAnalysis) {
  const char* const cases[] = {
      "Option Explicit\nDim a\n' x\n",
      "' header\n\nSub Main()\nEnd Sub\n",
      "Dim a\n\n' about Main\nPrivate Function _\n  Main() As Long\nEnd Function\n",
      "Private Declare Function F Lib \"k\" _\n  () As Long\nRem note\nPublic Property Get P()\nEnd Property\n",
      "#If X Then\nSub A()\n#Else\nSub A(x)\n#End If\nEnd Sub\n",
      "Dim s As String ' Sub X()\nConst C = \"Sub Y()\"\nSub Z(): End Sub\n",
      "Dim a _\n",
      "",
  };
  for (const char* code : cases) {
    SCOPED_TRACE(code);
    const int alone = ModuleOf(code)->CountOfDeclarationLines();
    auto analysed = ModuleOf(code);
    analysed->Members();
    EXPECT_EQ(alone, analysed->CountOfDeclarationLines());
  }
  EXPECT_EQ(ModuleOf(cases[2])->CountOfDeclarationLines(), 1);
  EXPECT_EQ(ModuleOf(cases[3])->CountOfDeclarationLines(), 2);
}

TEST(CodeModuleSections, DeclarationsOnlyOrNothingAbove) {
  EXPECT_EQ(ModuleOf("Option Explicit\nDim a\n' x\n")->CountOfDeclarationLines(), 3);
  EXPECT_EQ(ModuleOf("' header\n\nSub Main()\nEnd Sub\n")->CountOfDeclarationLines(), 0);
  EXPECT_EQ(ModuleOf("")->CountOfDeclarationLines(), 0);
  auto m = ModuleOf("  \t\n' c\nSub Main()\nEnd Sub\n");
  EXPECT_EQ(m->ProcStartLine(u"Main", 0), 1);
  EXPECT_EQ(m->ProcCountLines(u"Main", 0), 4);
}

TEST(CodeModuleSections, ProcOfLineFollowsTheRanges) {
  auto m = ModuleOf(kTwoProcs);
  int kind = -1;
  EXPECT_EQ(m->ProcOfLine(1, &kind), u"");
  EXPECT_EQ(m->ProcOfLine(2, &kind), u"");
  EXPECT_EQ(m->ProcOfLine(3, &kind), u"Foo");
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(m->ProcOfLine(7, &kind), u"Foo");
  EXPECT_EQ(m->ProcOfLine(8, &kind), u"Bar");
  EXPECT_EQ(m->ProcOfLine(13, &kind), u"Bar");
  EXPECT_THROW(m->ProcOfLine(14, &kind), ide::HostError);
}

TEST(CodeModuleSections, PropertyAccessorsAreSeparateKinds) {
  auto m = ModuleOf(
      "Private m As Long\n"
      "Public Property Get Value() As Long\n"
      "End Property\n"
      "Public Property Let Value(ByVal v As Long)\n"
      "End Property\n"
      "Friend Property Set Obj(ByVal v As Object)\n"
      "End Property\n");
  EXPECT_EQ(m->ProcBodyLine(u"Value", ide::ProcKind::Get), 2);
  EXPECT_EQ(m->ProcBodyLine(u"Value", ide::ProcKind::Let), 4);
  EXPECT_EQ(m->ProcStartLine(u"Value", ide::ProcKind::Let), 4);
  EXPECT_EQ(m->ProcBodyLine(u"Obj", ide::ProcKind::Set), 6);
  EXPECT_THROW(m->ProcBodyLine(u"Value", ide::ProcKind::Proc), ide::HostError);
  EXPECT_THROW(m->ProcBodyLine(u"Value", ide::ProcKind::Set), ide::HostError);
  int kind = -1;
  EXPECT_EQ(m->ProcOfLine(5, &kind), u"Value");
  EXPECT_EQ(kind, ide::ProcKind::Let);
}

TEST(CodeModuleSections, ContinuedDeclarationsAndStaticAndDuplicates) {
  auto m = ModuleOf(
      "Private Static Function _\n"   // 1
      "   Twice(ByVal x As Long) _\n"  // 2
      "   As Long\n"                   // 3
      "End Function\n"                 // 4
      "Sub Dup()\n"                    // 5
      "End Sub\n"                      // 6
      "sub dup()\n"                    // 7
      "end  sub\n");                   // 8
  EXPECT_EQ(m->ProcBodyLine(u"Twice", 0), 1);
  EXPECT_EQ(m->ProcCountLines(u"Twice", 0), 4);
  EXPECT_EQ(m->ProcBodyLine(u"Dup", 0), 5);
  EXPECT_EQ(m->ProcCountLines(u"Dup", 0), 2);
  int kind;
  EXPECT_EQ(m->ProcOfLine(8, &kind), u"dup");
}

TEST(CodeModuleSections, NotDeclarations) {
  // Words that merely start like keywords, Declare and Event are not procedures.
  auto m = ModuleOf(
      "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
      "Public Event Changed(ByVal n As Long)\n"
      "Dim Subtotal As Long\n"
      "Sub_Count = 1\n");
  EXPECT_EQ(m->CountOfDeclarationLines(), 4);
  EXPECT_EQ(m->ProcBodyLine(u"GetTickCount", 0), 1);
  EXPECT_EQ(m->ProcCountLines(u"Changed", 0), 1);
  EXPECT_THROW(m->ProcBodyLine(u"Changed", ide::ProcKind::Get), ide::HostError);
}

TEST(CodeModuleSections, ContinuedDeclareCountsItsLines) {
  auto m = ModuleOf(
      "Option Explicit\n"
      "Private Declare Function SendMessage Lib \"user32\" Alias \"SendMessageA\" _\n"
      "  (ByVal hWnd As Long, ByVal msg As Long, _\n"
      "   lParam As Any) As Long\n"
      "Sub Main()\n"
      "End Sub\n");
  EXPECT_EQ(m->ProcStartLine(u"SendMessage", 0), 2);
  EXPECT_EQ(m->ProcCountLines(u"SendMessage", 0), 3);
}

TEST(CodeModuleSections, MissingEndStopsAtTheNextProcedure) {
  auto m = ModuleOf(
      "Sub A()\n"  // 1  no End Sub
      "  x = 1\n"  // 2
      "Sub B()\n"  // 3
      "End Sub\n"  // 4
      "Sub C()\n"  // 5
      "  y = 2\n");
  EXPECT_EQ(m->ProcCountLines(u"A", 0), 2);
  EXPECT_EQ(m->ProcStartLine(u"B", 0), 3);
  EXPECT_EQ(m->ProcCountLines(u"B", 0), 2);
  EXPECT_EQ(m->ProcStartLine(u"C", 0), 5);
  EXPECT_EQ(m->ProcCountLines(u"C", 0), 2);
}

TEST(CodeModuleSections, WithEventsAttributeLineIsNotACodeLine) {
  auto m = ModuleOf(
      "Option Explicit\n"                       // 1
      "Private WithEvents m_tmr As clsTimer\n"  // 2
      "Attribute m_tmr.VB_VarHelpID = -1\n"     // hidden
      "\n"                                      // 3
      "Private Sub Form_Load()\n"               // 4
      "End Sub\n");                             // 5
  EXPECT_EQ(m->CountOfLines(), 5);
  EXPECT_EQ(m->CountOfDeclarationLines(), 2);
  EXPECT_EQ(m->ProcBodyLine(u"Form_Load", 0), 4);
  EXPECT_EQ(m->ProcStartLine(u"Form_Load", 0), 3);
  EXPECT_EQ(m->ProcCountLines(u"Form_Load", 0), 3);
  EXPECT_EQ(m->Members().front().CodeLocation, 2);
}

TEST(CodeModuleSections, OneLineProceduresEndOnTheirLine) {
  auto m = ModuleOf(
      "Public Property Get Count() As Long: End Property\n"  // 1
      "Public Sub Run(ByVal s As String): s = \":End Sub\": End Sub ' x\n"  // 2
      "Public Sub Stop(): ' : End Sub\n"                      // 3: the End is in a comment
      "  x = 1\n"                                             // 4
      "End Sub\n");                                           // 5
  EXPECT_EQ(m->ProcCountLines(u"Count", 3), 1);
  EXPECT_EQ(m->ProcStartLine(u"Run", 0), 2);
  EXPECT_EQ(m->ProcCountLines(u"Run", 0), 1);
  EXPECT_EQ(m->ProcStartLine(u"Stop", 0), 3);
  EXPECT_EQ(m->ProcCountLines(u"Stop", 0), 3);
  int kind = -1;
  EXPECT_EQ(m->ProcOfLine(2, &kind), u"Run");
  EXPECT_EQ(m->ProcOfLine(4, &kind), u"Stop");
}

TEST(CodeModuleSections, IfTwinsShareOneBody) {
  auto m = ModuleOf(
      "#If X Then\n"                                   // 1
      "Public Function H(a As Long) As Boolean\n"      // 2
      "#Else\n"                                        // 3
      "Public Function h(b As String) As Boolean\n"    // 4
      "#End If\n"                                      // 5
      "  Dim n As Long\n"                              // 6
      "End Function\n"                                 // 7
      "Sub G()\n"                                      // 8
      "Property Get G2()\n"                            // 9: another name ends G before it
      "End Property\n");                               // 10
  EXPECT_EQ(m->ProcBodyLine(u"H", 0), 2);
  EXPECT_EQ(m->ProcCountLines(u"H", 0), 6);  // lines 2..7: the #If line stays a declaration line
  int kind = -1;
  EXPECT_EQ(m->ProcOfLine(6, &kind), u"H");
  EXPECT_EQ(m->ProcOfLine(4, &kind), u"H");
  EXPECT_EQ(m->ProcStartLine(u"G", 0), 8);
  EXPECT_EQ(m->ProcCountLines(u"G", 0), 1);
  EXPECT_EQ(m->ProcStartLine(u"G2", 3), 9);
  EXPECT_EQ(m->Members().size(), 3u);
}

TEST(CodeModuleSections, EditsMoveProceduresAndSections) {
  auto m = ModuleOf(kTwoProcs);
  m->InsertLines(6, u"  On Error GoTo Err\r\n  Exit Sub\r\n");
  EXPECT_EQ(m->ProcCountLines(u"Foo", 0), 7);
  EXPECT_EQ(m->ProcBodyLine(u"Bar", 0), 12);
  m->InsertLines(3, u"Dim b As Long");
  EXPECT_EQ(m->CountOfDeclarationLines(), 3);
  EXPECT_EQ(m->ProcStartLine(u"Foo", 0), 4);
  m->DeleteLines(m->ProcStartLine(u"Foo", 0), m->ProcCountLines(u"Foo", 0));
  EXPECT_THROW(m->ProcBodyLine(u"Foo", 0), ide::HostError);
  EXPECT_EQ(m->ProcStartLine(u"Bar", 0), 4);
  EXPECT_EQ(m->ProcBodyLine(u"Bar", 0), 6);
  EXPECT_EQ(m->Members().size(), 3u);
}

// --- Members ---------------------------------------------------------------------

TEST(CodeModuleMembers, DeclarationsAndProceduresInOrder) {
  auto m = ModuleOf(
      "Option Explicit\n"                                             // 1
      "Private Const MAX = 10, MIN As Long = 1\n"                     // 2
      "Const LOCALC = \"a,b\"\n"                                      // 3
      "Public Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n"  // 4
      "Declare Function GetTickCount Lib \"kernel32\" () As Long\n"   // 5
      "Event Changed()\n"                                             // 6
      "Dim a As Long, b(1 To 3, 2) As String, c$\n"                   // 7
      "Private WithEvents btn As CommandButton\n"                     // 8
      "Global g As Integer: Dim notMe As Long\n"                      // 9
      "Private Type Pt\n"                                             // 10
      "  x As Long\n"                                                 // 11
      "End Type\n"                                                    // 12
      "Public Enum Color\n"                                           // 13
      "  Red\n"                                                       // 14
      "End Enum\n"                                                    // 15
      "Public Sub S()\n"                                              // 16
      "End Sub\n"                                                     // 17
      "Private Property Get P() As Long\n"                            // 18
      "End Property\n"                                                // 19
      "Public Property Let P(ByVal v As Long)\n"                      // 20
      "End Property\n"                                                // 21
      "Friend Function F() As Long\n"                                 // 22
      "End Function\n");                                              // 23
  struct E {
    const char16_t* name;
    int type, scope, line;
  };
  std::vector<E> want = {
      {u"MAX", 5, 1, 2},      {u"MIN", 5, 1, 2},        {u"LOCALC", 5, 1, 3}, {u"Sleep", 1, 2, 4},
      {u"GetTickCount", 1, 2, 5}, {u"Changed", 4, 2, 6}, {u"a", 3, 1, 7},      {u"b", 3, 1, 7},
      {u"c", 3, 1, 7},        {u"btn", 3, 1, 8},        {u"g", 3, 2, 9},      {u"S", 1, 2, 16},
      {u"P", 2, 1, 18},       {u"F", 1, 3, 22},
  };
  auto got = m->Members();
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(vb::ToUtf8(want[i].name));
    EXPECT_EQ(got[i].Name, want[i].name);
    EXPECT_EQ(got[i].Type, want[i].type);
    EXPECT_EQ(got[i].Scope, want[i].scope);
    EXPECT_EQ(got[i].CodeLocation, want[i].line);
  }
}

TEST(CodeModuleMembers, DeclareAndEventInsideProceduresAreNotMembers) {
  auto m = ModuleOf("Sub A()\n  Dim x As Long\nEnd Sub\n");
  auto got = m->Members();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Name, u"A");
}

// --- Find --------------------------------------------------------------------------

TEST(CodeModuleFind, LeftmostMatchWithinTheRange) {
  auto m = ModuleOf("abc abc\nxx abc\n");
  int sl = 1, sc = 1, el = 2, ec = -1;
  ASSERT_TRUE(m->Find(u"abc", sl, sc, el, ec));
  EXPECT_EQ(sl, 1);
  EXPECT_EQ(sc, 1);
  EXPECT_EQ(el, 1);
  EXPECT_EQ(ec, 4);
  sl = 1, sc = 2, el = 2, ec = -1;
  ASSERT_TRUE(m->Find(u"ABC", sl, sc, el, ec));
  EXPECT_EQ(sc, 5);
  sl = 1, sc = 2, el = 2, ec = -1;
  EXPECT_FALSE(m->Find(u"ABC", sl, sc, el, ec, false, true));
  EXPECT_EQ(sc, 2);  // unchanged
  sl = 2, sc = 1, el = 2, ec = 6;
  EXPECT_FALSE(m->Find(u"abc", sl, sc, el, ec));  // the match would end after column 6
  sl = 3, sc = 1, el = 2, ec = -1;
  EXPECT_FALSE(m->Find(u"abc", sl, sc, el, ec));
  // A partial match does not hide the one that starts inside it; the match may end the line.
  auto m2 = ModuleOf("xaaB\n");
  sl = 1, sc = 1, el = 1, ec = -1;
  ASSERT_TRUE(m2->Find(u"AB", sl, sc, el, ec));
  EXPECT_EQ(sc, 3);
  EXPECT_EQ(ec, 5);
  sl = 1, sc = 1, el = 1, ec = 5;
  EXPECT_TRUE(m2->Find(u"aaB", sl, sc, el, ec, true, true) == false);
  sl = 1, sc = 1, el = 1, ec = 5;
  EXPECT_TRUE(m2->Find(u"aaB", sl, sc, el, ec, false, true));
}

TEST(CodeModuleFind, WholeWordTreatsJapaneseAsWordCharacters) {
  auto m = ModuleOf("x = 変数a + a_b\ny = a　+ a\n");
  int sl = 1, sc = 1, el = 2, ec = -1;
  ASSERT_TRUE(m->Find(u"a", sl, sc, el, ec, true, true));
  // "変数a" and "a_b" are not the word; "a" before a full-width space is.
  EXPECT_EQ(sl, 2);
  EXPECT_EQ(sc, 5);
  EXPECT_EQ(ec, 6);
  sl = 1, sc = 1, el = 2, ec = -1;
  ASSERT_TRUE(m->Find(U("変数a"), sl, sc, el, ec, true, true));
  EXPECT_EQ(sl, 1);
  EXPECT_EQ(sc, 5);
  sl = 1, sc = 1, el = 1, ec = -1;
  EXPECT_FALSE(m->Find(U("変数"), sl, sc, el, ec, true, true));
}

}  // namespace
}  // namespace tarno

namespace tarno {
namespace {

// After any edit the answers must be those of the new text read afresh,
// however the module keeps its ranges up to date.
void ExpectSameAsFresh(host::MemCodeModule& edited) {
  std::vector<std::u16string> lines;
  for (int i = 1; i <= edited.text().CountOfLines(); ++i) lines.emplace_back(edited.text().Line(i));
  host::MemCodeModule fresh{host::ModuleText(lines)};
  ASSERT_EQ(edited.CountOfLines(), fresh.CountOfLines());
  EXPECT_EQ(edited.CountOfDeclarationLines(), fresh.CountOfDeclarationLines());
  auto members = fresh.Members();
  auto got = edited.Members();
  ASSERT_EQ(got.size(), members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ(got[i].Name, members[i].Name);
    EXPECT_EQ(got[i].CodeLocation, members[i].CodeLocation) << vb::ToUtf8(members[i].Name);
  }
  for (const auto& m : members) {
    if (m.Type != ide::MemberType::Method) continue;
    EXPECT_EQ(edited.ProcStartLine(m.Name, 0), fresh.ProcStartLine(m.Name, 0)) << vb::ToUtf8(m.Name);
    EXPECT_EQ(edited.ProcCountLines(m.Name, 0), fresh.ProcCountLines(m.Name, 0)) << vb::ToUtf8(m.Name);
    EXPECT_EQ(edited.ProcBodyLine(m.Name, 0), fresh.ProcBodyLine(m.Name, 0)) << vb::ToUtf8(m.Name);
  }
  for (int l = 1; l <= fresh.CountOfLines(); ++l) {
    int k1, k2;
    ASSERT_EQ(edited.ProcOfLine(l, &k1), fresh.ProcOfLine(l, &k2)) << "line " << l;
  }
}

TEST(CodeModuleEdits, RangesAfterManyEditsMatchAFreshReading) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\nDim a\n\nSub A()\n  x = 1\nEnd Sub\n' c\nSub B()\n  y = 2\n"
                          "Sub C()\n  z = 3\nEnd Sub\n\n")
                  .Build();
  auto& m = *host.Component("Module1")->code();
  const std::u16string inserts[] = {u"  w = 0",  u"' note\r\n", u"\r\n\r\n",       u"End Sub",
                                    u"Sub D()",  u"  q = _",    u"Dim late As Long", u"  On Error GoTo E\r\nE:\r\n"};
  unsigned seed = 12345;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<unsigned>(n));
  };
  for (int step = 0; step < 300; ++step) {
    SCOPED_TRACE(step);
    m.Members();  // keep the ranges worked out between edits
    const int n = m.CountOfLines();
    if (n > 4 && next(3) == 0) {
      int start = 1 + next(n);
      int count = std::min(1 + next(2), n - start + 1);
      m.DeleteLines(start, count);
    } else {
      m.InsertLines(1 + next(n + 1), inserts[next(8)]);
    }
    ExpectSameAsFresh(m);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace tarno
