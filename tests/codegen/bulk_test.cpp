// Procedure lists, bulk comment-out and bulk error handling over the host.
#include <gtest/gtest.h>

#include "codegen/bulk_comment.h"
#include "codegen/bulk_error.h"
#include "codegen/error_block.h"
#include "codegen/procedure_list.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno::codegen {
namespace {

using test::HostBuilder;
using vb::U;
using Lines = std::vector<std::string>;

const char* kModule =
    "Option Explicit\n"                                              // 1
    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"  // 2
    "Public Count As Long\n"                                         // 3
    "\n"                                                             // 4
    "' Adds one\n"                                                   // 5
    "Public Sub AddOne()\n"                                          // 6
    "    Count = Count + 1\n"                                        // 7
    "End Sub\n"                                                      // 8
    "Private Function Twice(ByVal n As Long) As Long\n"              // 9
    "    Twice = n * 2\n"                                            // 10
    "End Function\n"                                                 // 11
    "\n"                                                             // 12
    "Friend Property Let Value(ByVal v As Long)\n"                   // 13
    "    Count = v\n"                                                // 14
    "End Property\n"                                                 // 15
    "\n"                                                             // 16
    "Friend Property Set Target(ByVal o As Object)\n"                // 17
    "End Property\n"                                                 // 18
    "Public Property Get Value() As Long\n"                          // 19
    "    Value = Count\n"                                            // 20
    "End Property\n"                                                 // 21
    "\n"                                                             // 22
    "\n";                                                            // 23

int Find(const Lines& lines, const std::string& text, int from = 0) {
  for (size_t i = from; i < lines.size(); ++i)
    if (lines[i] == text) return static_cast<int>(i) + 1;
  return 0;
}

using Row = std::tuple<std::string, int, int, std::string, std::string>;

std::vector<Row> RowsOf(ide::CodeModule& module) {
  std::vector<Row> got;
  for (const auto& r : ListProcedures(module))
    got.emplace_back(vb::ToUtf8(r.Name), r.StartLine, r.Kind, vb::ToUtf8(r.Scope), vb::ToUtf8(r.KindText));
  return got;
}

TEST(ProcedureList, RowsForProceduresBelowTheDeclarationsAndEachAccessor) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  // The declared external routine is a method member but sits in the declarations.
  EXPECT_EQ(RowsOf(*host.Module("Class1")),
            (std::vector<Row>{Row{"AddOne", 4, 0, "Public", "メソッド"}, Row{"Twice", 9, 0, "Private", "メソッド"},
                              Row{"Value", 19, 3, "Friend", "プロパティ[Get]"},
                              Row{"Value", 12, 1, "Friend", "プロパティ[Let]"},
                              Row{"Target", 16, 2, "Friend", "プロパティ[Set]"}}));
}

TEST(ProcedureList, LetAndSetOnlyPropertyAndEvents) {
  auto host = HostBuilder()
                  .Class("Class1",
                         "Public Event Changed()\n"
                         "Private Sub Class_Initialize()\nEnd Sub\n"
                         "Public Property Let P(ByVal v As Variant)\nEnd Property\n"
                         "Public Property Set P(ByVal v As Variant)\nEnd Property\n")
                  .Build();
  auto rows = RowsOf(*host.Module("Class1"));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(std::get<0>(rows[0]), "Class_Initialize");
  EXPECT_EQ(std::get<4>(rows[1]), "プロパティ[Let]");
  EXPECT_EQ(std::get<4>(rows[2]), "プロパティ[Set]");
}

TEST(ProcedureList, OnlyDeclarationsGiveNoRows) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Option Explicit\nPublic Const A = 1\nDim b As Long\n"
                          "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n")
                  .Build();
  EXPECT_TRUE(ListProcedures(*host.Module("Module1")).empty());
}

TEST(ProcedureList, KindAndScopeTexts) {
  EXPECT_EQ(ModuleKindText(ide::ComponentType::StdModule), U("標準 モジュール"));
  EXPECT_EQ(ModuleKindText(ide::ComponentType::ClassModule), U("クラス モジュール"));
  EXPECT_EQ(ModuleKindText(ide::ComponentType::VBForm), U("フォーム モジュール"));
  EXPECT_EQ(ModuleKindText(ide::ComponentType::MDIForm), U("MDIフォーム モジュール"));
  EXPECT_EQ(ModuleKindText(ide::ComponentType::UserControl), U("ユーザー コントロール"));
  EXPECT_EQ(ModuleKindText(ide::ComponentType::DocObject), U("ユーザー ドキュメント"));
  EXPECT_EQ(ModuleKindText(ide::ComponentType::PropPage), u"");
  EXPECT_EQ(ScopeText(3), u"Friend");
  EXPECT_EQ(ScopeText(0), u"");
}

TEST(BulkComment, ProcedureFollowedDirectlyByAnotherLeavesItAlone) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  auto module = host.Module("Class1");
  CommentOutProcedure(*module, u"AddOne", ide::ProcKind::Proc, 4);
  auto lines = host.Lines("Class1");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "'' Adds one");
  EXPECT_EQ(lines[5], "'Public Sub AddOne()");
  EXPECT_EQ(lines[7], "'End Sub");
  EXPECT_EQ(lines[8], "Private Function Twice(ByVal n As Long) As Long");
  // The commented procedure is gone from the list; the others keep their rows.
  auto rows = RowsOf(*module);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(std::get<0>(rows[0]), "Twice");
}

TEST(BulkComment, LetRowCommentsOutItsOwnAccessorOnly) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  CommentOutProcedure(*host.Module("Class1"), u"Value", ide::ProcKind::Let, 12);
  auto lines = host.Lines("Class1");
  EXPECT_EQ(lines[12], "'Friend Property Let Value(ByVal v As Long)");
  EXPECT_EQ(lines[14], "'End Property");
  EXPECT_EQ(lines[16], "Friend Property Set Target(ByVal o As Object)");
  EXPECT_EQ(lines[18], "Public Property Get Value() As Long");
}

TEST(BulkComment, LastProcedureKeepsItsTrailingBlankLines) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  CommentOutProcedure(*host.Module("Class1"), u"Value", ide::ProcKind::Get);
  auto lines = host.Lines("Class1");
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[18], "'Public Property Get Value() As Long");
  EXPECT_EQ(lines[20], "'End Property");
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(lines[22], "");
}

TEST(BulkComment, WholeModuleKeepsTheDeclarations) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  auto before = host.Lines("Class1");
  CommentOutBelowDeclarations(*host.Module("Class1"));
  auto lines = host.Lines("Class1");
  ASSERT_EQ(lines.size(), before.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i < 3 || before[i].empty())
      EXPECT_EQ(lines[i], before[i]) << i;
    else
      EXPECT_EQ(lines[i], "'" + before[i]) << i;
  }
  EXPECT_TRUE(ListProcedures(*host.Module("Class1")).empty());
}

TEST(BulkComment, HostErrorsSkipTheLineOnly) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  host.Faults().FailOnCall("CodeModule.Lines", 2);
  CommentOutProcedure(*host.Module("Class1"), u"Twice", ide::ProcKind::Proc);
  host.Faults().ClearAll();
  auto lines = host.Lines("Class1");
  EXPECT_EQ(lines[8], "'Private Function Twice(ByVal n As Long) As Long");
  EXPECT_EQ(lines[9], "    Twice = n * 2");
  EXPECT_EQ(lines[10], "'End Function");
}

const char* kProcs =
    "Option Explicit\n"                       // 1
    "\n"                                      // 2
    "Public Sub Run()\n"                      // 3
    "    Work\n"                              // 4
    "End Sub\n"                               // 5
    "\n"                                      // 6
    "Public Function Calc() As Long\n"        // 7
    "    Calc = 1\n"                          // 8
    "End Function\n"                          // 9
    "\n"                                      // 10
    "Public Property Get Name() As String\n"  // 11
    "    Name = \"x\"\n"                      // 12
    "End Property\n"                          // 13
    "Public Property Let Name(ByVal v As String)\n"  // 14
    "End Property\n"                          // 15
    "\n"                                      // 16
    "\n";                                     // 17

Lines StdHeader() { return {"", "On Error GoTo Error_Exit", "", "Screen.MousePointer = vbHourglass"}; }
Lines StdFooter(const std::string& word) {
  return {"",
          "Exit " + word,
          "",
          "'エラーの場合",
          "Error_Exit:",
          "",
          "Screen.MousePointer = vbDefault",
          "",
          "MsgBox \"エラー番号：\"& Err.Number & vbCrLf _",
          "   &\"エラー内容：\"& Err.Description,vbExclamation"};
}

Lines Concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(BulkError, StandardTextsInASub) {
  auto host = HostBuilder().Class("Class1", kProcs).Build();
  auto result = InsertErrorHandling(*host.Module("Class1"), u"Run", ide::ProcKind::Proc, StandardErrorTexts());
  EXPECT_TRUE(result.Inserted);
  EXPECT_EQ(result.HeaderLine, 4);
  auto lines = host.Lines("Class1");
  Lines expected = Concat({{"Public Sub Run()"}, StdHeader(), {"    Work"}, StdFooter("Sub"), {"End Sub"}});
  EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 2 + expected.size()), expected);
}

TEST(BulkError, FunctionAndPropertyGetTheirExitWords) {
  auto host = HostBuilder().Class("Class1", kProcs).Build();
  auto module = host.Module("Class1");
  InsertErrorHandling(*module, u"Calc", ide::ProcKind::Proc, StandardErrorTexts());
  InsertErrorHandling(*module, u"Name", ide::ProcKind::Get, StandardErrorTexts());
  auto lines = host.Lines("Class1");
  int calcExit = Find(lines, "Exit Function");
  int getExit = Find(lines, "Exit Property");
  EXPECT_GT(calcExit, 0);
  EXPECT_GT(getExit, calcExit);
  EXPECT_EQ(lines[getExit + 7 + 1], "End Property");
}

TEST(BulkError, LastProcedureFooterGoesAboveTheEndStatementNotTheBlankLines) {
  auto host = HostBuilder().Class("Class1", kProcs).Build();
  InsertErrorHandling(*host.Module("Class1"), u"Name", ide::ProcKind::Let, StandardErrorTexts());
  auto lines = host.Lines("Class1");
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "End Property");
  EXPECT_EQ(lines[lines.size() - 4], "   &\"エラー内容：\"& Err.Description,vbExclamation");
  EXPECT_EQ(lines[lines.size() - 2], "");
  EXPECT_EQ(lines[lines.size() - 1], "");
}

TEST(BulkError, EveryAccessorByItsOwnKindGetsOneLabel) {
  auto host = HostBuilder().Class("Class1", kProcs).Build();
  auto module = host.Module("Class1");
  for (const auto& row : ListProcedures(*module)) InsertErrorHandling(*module, row.Name, row.Kind, StandardErrorTexts());
  auto lines = host.Lines("Class1");
  int labels = 0;
  for (const auto& l : lines) labels += l == "Error_Exit:";
  EXPECT_EQ(labels, 4);
  // Each procedure holds exactly one label between its declaration and end.
  int open = 0;
  int inProc = 0;
  for (const auto& l : lines) {
    if (l.rfind("Public ", 0) == 0) open = 1, inProc = 0;
    if (l == "Error_Exit:") ++inProc;
    if (l.rfind("End ", 0) == 0) {
      EXPECT_EQ(open, 1);
      EXPECT_EQ(inProc, 1);
      open = 0;
    }
  }
}

TEST(BulkError, RegisteredTextsWithAndWithoutExit) {
  auto host = HostBuilder().Class("Class1", kProcs).Build();
  auto module = host.Module("Class1");
  auto off = RegisteredErrorTexts(u"ErrTrap", u"MsgBox Err.Description\r\nResume Next", u"0");
  InsertErrorHandling(*module, u"Run", ide::ProcKind::Proc, off);
  auto lines = host.Lines("Class1");
  EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 11),
            (Lines{"Public Sub Run()", "", "On Error GoTo ErrTrap", "    Work", "ErrTrap:", "",
                   "MsgBox Err.Description", "Resume Next", "End Sub"}));
  auto on = RegisteredErrorTexts(u"ErrTrap", u"Resume Next", u"1");
  InsertErrorHandling(*module, u"Calc", ide::ProcKind::Proc, on);
  lines = host.Lines("Class1");
  int decl = Find(lines, "Public Function Calc() As Long");
  EXPECT_EQ(Lines(lines.begin() + decl, lines.begin() + decl + 9),
            (Lines{"", "On Error GoTo ErrTrap", "    Calc = 1", "Exit Function", "", "ErrTrap:", "", "Resume Next",
                   "End Function"}));
}

TEST(BulkError, AProcedureTheHostCannotLocateIsLeftAlone) {
  auto host = HostBuilder().Class("Class1", kProcs).Build();
  auto before = host.Code("Class1");
  EXPECT_FALSE(InsertErrorHandling(*host.Module("Class1"), u"Missing", 0, StandardErrorTexts()).Inserted);
  host.Faults().FailAlways("CodeModule.ProcBodyLine");
  EXPECT_FALSE(InsertErrorHandling(*host.Module("Class1"), u"Run", 0, StandardErrorTexts()).Inserted);
  host.Faults().ClearAll();
  EXPECT_EQ(host.Code("Class1"), before);
}

TEST(FirstAcceptedKind, ProcedureThenGetThenLetThenSet) {
  auto host = HostBuilder().Class("Class1", kModule).Build();
  auto module = host.Module("Class1");
  EXPECT_EQ(FirstAcceptedKind(*module, u"AddOne"), ide::ProcKind::Proc);
  EXPECT_EQ(FirstAcceptedKind(*module, u"Value"), ide::ProcKind::Get);
  EXPECT_EQ(FirstAcceptedKind(*module, u"Target"), ide::ProcKind::Set);
  EXPECT_EQ(FirstAcceptedKind(*module, u"Nothing"), std::nullopt);
}

}  // namespace
}  // namespace tarno::codegen

namespace tarno::codegen {
namespace {

TEST(BulkError, HeaderGoesAfterADeclarationContinuedOverSeveralLines) {
  auto host = HostBuilder()
                  .Module("Module1",
                          "Public Function Area(ByVal w As Long, _\n"
                          "                     ByVal h As Long) _\n"
                          "                     As Long\n"
                          "    Area = w * h\n"
                          "End Function\n")
                  .Build();
  InsertErrorHandling(*host.Module("Module1"), u"Area", ide::ProcKind::Proc, StandardErrorTexts());
  auto lines = host.Lines("Module1");
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[2], "                     As Long");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "On Error GoTo Error_Exit");
  EXPECT_EQ(lines[7], "    Area = w * h");
  EXPECT_EQ(lines.back(), "End Function");
  EXPECT_EQ(lines[lines.size() - 2], "   &\"エラー内容：\"& Err.Description,vbExclamation");
}

}  // namespace
}  // namespace tarno::codegen

namespace tarno::codegen {
namespace {

// The module's last procedure: whatever the host counts with it after its end
// (comments, lines of blanks) stays after the end, and the footer goes above it.
TEST(BulkError, LastProcedureFooterGoesAboveItsEndWhateverFollowsIt) {
  struct Case {
    const char* name;
    std::string end;   // the end statement as written
    Lines tail;        // the lines after it
    std::string word;  // the exit word
  };
  const Case cases[] = {
      {"comment line", "End Sub", {"' end of module"}, "Sub"},
      {"spaces only", "End Sub", {"    "}, "Sub"},
      {"tab only", "End Function", {"\t"}, "Function"},
      {"Rem line", "End Property", {"Rem done"}, "Property"},
      {"blank, comment, spaces", "End Sub", {"", "' a", "  ", ""}, "Sub"},
      {"indented end with a comment", "  End Sub ' Run", {"' x"}, "Sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string decl = c.word == "Sub"        ? "Public Sub Last()"
                       : c.word == "Function" ? "Public Function Last() As Long"
                                              : "Public Property Get Last() As Long";
    std::string code = "Option Explicit\n" + decl + "\n    Work\n" + c.end + "\n";
    for (const auto& t : c.tail) code += t + "\n";
    auto host = HostBuilder().Module("Module1", code).Build();
    int kind = c.word == "Property" ? ide::ProcKind::Get : ide::ProcKind::Proc;
    auto result = InsertErrorHandling(*host.Module("Module1"), u"Last", kind, StandardErrorTexts());
    EXPECT_TRUE(result.Inserted);
    EXPECT_EQ(result.FooterLine, 8);
    Lines expected = Concat({{"Option Explicit", decl}, StdHeader(), {"    Work"}, StdFooter(c.word), {c.end}, c.tail});
    EXPECT_EQ(host.Lines("Module1"), expected);
  }
}

TEST(BulkError, AOneLineProcedureIsLeftAlone) {
  const std::string code =
      "Public Property Get Count() As Long: End Property\n"
      "Public Sub Run()\n"
      "End Sub\n";
  auto host = HostBuilder().Class("Class1", code).Build();
  auto before = host.Code("Class1");
  EXPECT_FALSE(InsertErrorHandling(*host.Module("Class1"), u"Count", ide::ProcKind::Get, StandardErrorTexts()).Inserted);
  EXPECT_EQ(host.Code("Class1"), before);
  // The procedure after it still gets its own.
  EXPECT_TRUE(InsertErrorHandling(*host.Module("Class1"), u"Run", ide::ProcKind::Proc, StandardErrorTexts()).Inserted);
  EXPECT_EQ(host.Lines("Class1").back(), "End Sub");
}

}  // namespace
}  // namespace tarno::codegen
