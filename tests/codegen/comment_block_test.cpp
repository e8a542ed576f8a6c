// Comment-out and un-comment of the selection, and the error blocks at the caret.
#include <gtest/gtest.h>

#include "codegen/comment_block.h"
#include "codegen/error_block.h"
#include "codegen/line_edit.h"
#include "support/host_builders.h"

namespace tarno::codegen {
namespace {

using test::HostBuilder;

const char* kCode =
    "Option Explicit\n"
    "\n"
    "Private Sub Work()\n"
    "    Dim s As String\n"
    "\n"
    "    s = \"it's\" ' quoted\n"
    "    \n"
    "    x = 1 ' one\n"
    "End Sub\n";

struct Selection {
  int sl, sc, el, ec;
};

Selection ReadSelection(const test::TestHost& host) {
  Selection s{};
  host.vbe->ActiveCodePane()->GetSelection(s.sl, s.sc, s.el, s.ec);
  return s;
}

TEST(CommentSelection, CommentsEveryNonBlankLineAndKeepsTheSelection) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 3, 5, 9, 1).Build();
  CommentSelection(*host.vbe);
  EXPECT_EQ(host.Lines("Module1"),
            (std::vector<std::string>{"Option Explicit", "", "'Private Sub Work()", "'    Dim s As String", "",
                                      "'    s = \"it's\" ' quoted", "    ", "'    x = 1 ' one", "'End Sub"}));
  Selection s = ReadSelection(host);
  EXPECT_EQ(s.sl, 3);
  EXPECT_EQ(s.sc, 5);
  EXPECT_EQ(s.el, 9);
  EXPECT_EQ(s.ec, 1);
}

TEST(CommentSelection, ThenUncommentGivesBackTheLines) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 1, 1, 9, 8).Build();
  auto before = host.Code("Module1");
  CommentSelection(*host.vbe);
  CommentSelection(*host.vbe);
  UncommentSelection(*host.vbe);
  UncommentSelection(*host.vbe);
  EXPECT_EQ(host.Code("Module1"), before);
}

TEST(UncommentSelection, RemovesTheFirstApostropheWhereverItIs) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 6, 1, 8, 1).Build();
  UncommentSelection(*host.vbe);
  auto lines = host.Lines("Module1");
  EXPECT_EQ(lines[5], "    s = \"its\" ' quoted");  // the apostrophe inside the string goes
  EXPECT_EQ(lines[6], "    ");
  EXPECT_EQ(lines[7], "    x = 1  one");  // blanks on both sides stay
}

TEST(CommentSelection, EndLineAtColumnOneIsProcessed) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 8, 1, 9, 1).Build();
  CommentSelection(*host.vbe);
  EXPECT_EQ(host.Lines("Module1")[8], "'End Sub");
}

TEST(CommentSelection, NothingHappensInADesignerWindow) {
  auto host = HostBuilder()
                  .Module("Module1", kCode)
                  .Form("Form1", "Private Sub Form_Load()\nEnd Sub\n")
                  .ActiveCode("Module1", 1, 1, 9, 1)
                  .Build();
  host.ShowDesigner("Form1");
  CommentSelection(*host.vbe);
  InsertErrorHeader(*host.vbe);
  EXPECT_EQ(host.Lines("Module1")[2], "Private Sub Work()");
  EXPECT_EQ(host.Lines("Form1")[0], "Private Sub Form_Load()");
}

TEST(CommentSelection, ARefusedLineIsKeptAndTheOthersAreDone) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 3, 1, 4, 1).Build();
  // The delete of the first replacement fails: its new line is taken out again.
  host.Faults().FailOnce("CodeModule.DeleteLines");
  CommentSelection(*host.vbe);
  host.Faults().ClearAll();
  auto lines = host.Lines("Module1");
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[2], "Private Sub Work()");
  EXPECT_EQ(lines[3], "'    Dim s As String");
}

TEST(ReplaceLine, ARefusedInsertLeavesTheOldLine) {
  auto host = HostBuilder().Module("Module1", kCode).Build();
  auto module = host.Module("Module1");
  host.Faults().FailOnce("CodeModule.InsertLines");
  EXPECT_THROW(ReplaceLine(*module, 3, u"'x"), ide::HostError);
  EXPECT_EQ(host.Lines("Module1")[2], "Private Sub Work()");
  ReplaceLine(*module, 3, u"'x");
  EXPECT_EQ(host.Lines("Module1")[2], "'x");
  EXPECT_EQ(host.Lines("Module1").size(), 9u);
}

TEST(ReplaceLine, WhenTheUndoFailsTooTheOldLineIsStillThere) {
  auto host = HostBuilder().Module("Module1", kCode).Build();
  host.Faults().FailAlways("CodeModule.DeleteLines");
  EXPECT_THROW(ReplaceLine(*host.Module("Module1"), 3, u"'x"), ide::HostError);
  host.Faults().ClearAll();
  auto lines = host.Lines("Module1");
  EXPECT_EQ(lines[2], "'x");
  EXPECT_EQ(lines[3], "Private Sub Work()");
}

TEST(CommentSelection, FailuresToReadTheSelectionOrWindowDoNothing) {
  for (const char* op : {"CodePane.GetSelection", "VBE.ActiveWindow", "Window.Type", "CodePane.CodeModule"}) {
    auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 3, 1, 4, 1).Build();
    host.Faults().FailAlways(op);
    CommentSelection(*host.vbe);
    host.Faults().ClearAll();
    EXPECT_EQ(host.Lines("Module1")[2], "Private Sub Work()") << op;
  }
}

TEST(ErrorBlocks, HeaderInsertsThreeLinesAboveTheCaret) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 4, 5, 6, 1).Build();
  InsertErrorHeader(*host.vbe);
  EXPECT_EQ(StdErrHeaderText, BuildStdErrHeaderText());
  auto lines = host.Lines("Module1");
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[2], "Private Sub Work()");
  EXPECT_EQ(lines[3], "On Error GoTo Error_Exit");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "Screen.MousePointer = vbHourglass");
  EXPECT_EQ(lines[6], "    Dim s As String");
}

TEST(ErrorBlocks, FooterInsertsSevenLinesAboveTheCaret) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 9, 1, 9, 1).Build();
  InsertErrorFooter(*host.vbe);
  auto lines = host.Lines("Module1");
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[8], "'エラーの場合");
  EXPECT_EQ(lines[9], "Error_Exit:");
  EXPECT_EQ(lines[10], "");
  EXPECT_EQ(lines[11], "Screen.MousePointer = vbDefault");
  EXPECT_EQ(lines[12], "");
  EXPECT_EQ(lines[13], "MsgBox \"エラー番号：\"& Err.Number & vbCrLf _");
  EXPECT_EQ(lines[14], "   &\"エラー内容：\"& Err.Description,vbExclamation");
  EXPECT_EQ(lines[15], "End Sub");
}

TEST(ErrorBlocks, HostErrorsAreIgnored) {
  auto host = HostBuilder().Module("Module1", kCode).ActiveCode("Module1", 9, 1, 9, 1).Build();
  host.Faults().FailAlways("CodeModule.InsertLines");
  EXPECT_NO_THROW(InsertErrorFooter(*host.vbe));
  host.Faults().ClearAll();
  EXPECT_EQ(host.Lines("Module1").size(), 9u);
  EXPECT_EQ(StdErrFooterText, BuildStdErrFooterText());
}

}  // namespace
}  // namespace tarno::codegen
