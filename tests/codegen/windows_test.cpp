// The comment and error-handling windows, driven as a user would.
#include <gtest/gtest.h>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "codegen/frm_comment.h"
#include "codegen/frm_err_comment.h"
#include "codegen/frm_err_input.h"
#include "codegen/frm_main.h"
#include "codegen/registered_comment.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"

namespace tarno::codegen {
namespace {

using test::HostBuilder;
using vb::U;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override {
    HostVBE.reset();
    ResetSettings();
  }
  void Use(const test::TestHost& host) { HostVBE = host.vbe; }
  test::UiHarness h;
};

const char* kClass =
    "Option Explicit\n"
    "Private mCount As Long\n"
    "\n"
    "Public Sub Run()\n"
    "    mCount = 1\n"
    "End Sub\n"
    "Public Property Let Count(ByVal v As Long)\n"
    "    mCount = v\n"
    "End Property\n"
    "Public Property Get Count() As Long\n"
    "    Count = mCount\n"
    "End Property\n";

// ---- frmComment and frmErrInput: the shared lists ------------------------

TEST_F(WindowTest, CommentWindowListsProjectsModulesAndProcedures) {
  auto host = HostBuilder()
                  .Project("First")
                  .Module("Module1", "Option Explicit\nPublic Sub A()\nEnd Sub\n")
                  .Project("Second")
                  .Class("Class1", kClass)
                  .Form("Form1", "Private Sub Form_Load()\nEnd Sub\n")
                  .Build();
  Use(host);
  frmComment f;
  f.Load();
  EXPECT_EQ(f.Caption(), U("VB自動プロシージャ コメントブロック For VisualBasic6.0"));
  EXPECT_EQ(f.Label1.Caption(), U("プロジェクト名："));
  EXPECT_EQ(f.Label2.Caption(), U("モジュール名："));
  EXPECT_EQ(f.Check1.Caption(), U("全てのプロシージャを対象にする"));
  EXPECT_EQ(f.Check1.ToolTipText(), U("選択ｻﾚﾀモジュールのコード全てを対象にします"));
  EXPECT_EQ(f.Command1.Caption(), U("ブロック"));
  EXPECT_EQ(f.Command1.ToolTipText(), U("選択されたプロシージャをコメントブロックします"));
  EXPECT_EQ(f.Command3.Caption(), U("閉じる"));
  EXPECT_EQ(f.Command3.ToolTipText(), U("画面を閉じます"));
  ASSERT_EQ(f.ListView1.ColumnHeaders.Count(), 4);
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(1).Text(), U("プロシージャ名"));
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(1).Width(), 3000);
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(2).Text(), U("先頭行"));
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(2).Width(), 1000);
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(3).Text(), U("スコープ"));
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(4).Text(), U("タイプ"));
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(4).Width(), 1500);

  ASSERT_EQ(f.Combo1.ListCount(), 2);
  EXPECT_EQ(f.Combo1.List(0), u"First");
  EXPECT_EQ(f.Combo1.ListIndex(), 0);
  EXPECT_EQ(f.Combo2.List(0), u"Module1");
  EXPECT_EQ(f.Label3.Caption(), U("標準 モジュール"));
  ASSERT_EQ(f.ListView1.ListItems.Count(), 1);
  EXPECT_EQ(f.ListView1.ListItems.Item(1).Text(), u"A");
  EXPECT_EQ(f.ListView1.ListItems.Item(1).SubItems(1), u"2");
  EXPECT_EQ(f.ListView1.ListItems.Item(1).SubItems(2), u"Public");
  EXPECT_EQ(f.ListView1.ListItems.Item(1).SubItems(3), U("メソッド"));
  EXPECT_TRUE(f.ListView1.ListItems.Item(1).Selected());

  f.Show();
  ui::Choose(f.Combo1, 1);
  ASSERT_EQ(f.Combo2.ListCount(), 2);
  EXPECT_EQ(f.Combo2.List(1), u"Form1");
  EXPECT_EQ(f.Label3.Caption(), U("クラス モジュール"));
  ASSERT_EQ(f.ListView1.ListItems.Count(), 3);
  EXPECT_EQ(f.ListView1.ListItems.Item(2).Text(), u"Count");
  EXPECT_EQ(f.ListView1.ListItems.Item(2).SubItems(3), U("プロパティ[Get]"));
  EXPECT_EQ(f.ListView1.ListItems.Item(3).SubItems(3), U("プロパティ[Let]"));
  EXPECT_EQ(f.ListView1.ListItems.Item(3).SubItems(1), u"7");
  ui::Choose(f.Combo2, 1);
  EXPECT_EQ(f.Label3.Caption(), U("フォーム モジュール"));
  EXPECT_EQ(f.ListView1.ListItems.Item(1).Text(), u"Form_Load");

  ui::Click(f.Check1);
  EXPECT_FALSE(f.ListView1.Enabled());
  ui::Click(f.Check1);
  EXPECT_TRUE(f.ListView1.Enabled());
  ui::Click(f.Check1);
  ui::Choose(f.Combo2, 0);  // choosing a module clears whole-module mode
  EXPECT_EQ(f.Check1.Value(), ui::vbUnchecked);
  EXPECT_TRUE(f.ListView1.Enabled());
  ui::Click(f.Command3);
  EXPECT_FALSE(f.Loaded());
}

TEST_F(WindowTest, CommentWindowRefusesWithoutProceduresOrSelection) {
  auto host = HostBuilder()
                  .Module("Module1", "Option Explicit\nDeclare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n")
                  .Module("Module2", "Public Sub A()\nEnd Sub\n")
                  .Build();
  Use(host);
  frmComment f;
  f.Show();
  ui::Click(f.Command1);
  ui::Choose(f.Combo2, 1);
  f.ListView1.SetSelectedItem(nullptr);
  ui::Click(f.Check1);  // whole-module mode still wants a selected row
  ui::Click(f.Command1);
  ASSERT_EQ(h.Messages().size(), 2u);
  EXPECT_EQ(h.Messages()[0].text, U("プロシージャが存在しませんので実行できません"));
  EXPECT_EQ(h.Messages()[1].text, U("プロシージャを選択してください"));
  for (const auto& m : h.Messages()) {
    EXPECT_EQ(m.Icon(), ui::vbExclamation);
    EXPECT_EQ(m.ButtonSet(), ui::vbOKOnly);
    EXPECT_EQ(m.title, u"Tarno Kit");
  }
  EXPECT_EQ(host.Lines("Module2")[0], "Public Sub A()");
}

TEST_F(WindowTest, CommentWindowBlocksTheChosenAccessorAndRebuildsTheList) {
  auto host = HostBuilder().Class("Class1", kClass).Build();
  Use(host);
  frmComment f;
  f.Show();
  ui::ClickItem(f.ListView1, 3);  // Count, Property Let
  ui::Click(f.Command1);
  auto lines = host.Lines("Class1");
  EXPECT_EQ(lines[6], "'Public Property Let Count(ByVal v As Long)");
  EXPECT_EQ(lines[8], "'End Property");
  EXPECT_EQ(lines[9], "Public Property Get Count() As Long");
  ASSERT_EQ(f.ListView1.ListItems.Count(), 2);
  EXPECT_TRUE(f.ListView1.ListItems.Item(1).Selected());

  ui::Click(f.Check1);
  ui::Click(f.Command1);
  lines = host.Lines("Class1");
  EXPECT_EQ(lines[1], "Private mCount As Long");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "'Public Sub Run()");
  EXPECT_EQ(lines[6], "''Public Property Let Count(ByVal v As Long)");
  EXPECT_EQ(f.ListView1.ListItems.Count(), 0);
  EXPECT_EQ(f.Check1.Value(), ui::vbUnchecked);
}

TEST_F(WindowTest, ErrInputInsertsStandardTextsIntoEveryAccessorOnce) {
  auto host = HostBuilder().Class("Class1", kClass).Build();
  Use(host);
  frmErrInput f;
  f.Show();
  EXPECT_EQ(f.Caption(), U("VB自動エラーヘッダフッタ一括挿入 For VisualBasic6.0"));
  EXPECT_EQ(f.Command1.Caption(), U("定型挿入"));
  EXPECT_EQ(f.Command1.ToolTipText(), U("選択されたプロシージャに定型エラーヘッダフッタを挿入します"));
  EXPECT_EQ(f.Command2.Caption(), U("挿入"));
  EXPECT_EQ(f.Command2.ToolTipText(), U("選択されたプロシージャに登録されたエラーヘッダフッタを挿入します"));
  EXPECT_EQ(f.Command4.Caption(), U("登録"));
  EXPECT_EQ(f.Command4.ToolTipText(), U("エラーヘッダフッタを登録します"));
  EXPECT_EQ(f.Command3.ToolTipText(), U("画面を閉じます"));
  EXPECT_EQ(f.Check1.Caption(), U("全てのプロシージャを対象にする"));
  ui::Click(f.Check1);
  ui::Click(f.Command1);
  auto lines = host.Lines("Class1");
  int labels = 0, exits = 0;
  for (const auto& l : lines) {
    labels += l == "Error_Exit:";
    exits += l == "Exit Property";
  }
  EXPECT_EQ(labels, 3);
  EXPECT_EQ(exits, 2);
  EXPECT_EQ(lines[3], "Public Sub Run()");
  EXPECT_EQ(lines[5], "On Error GoTo Error_Exit");
  // The list is not rebuilt afterwards.
  EXPECT_EQ(f.ListView1.ListItems.Item(2).SubItems(1), u"10");
  EXPECT_TRUE(h.Messages().empty());
}

TEST_F(WindowTest, ErrInputRegisteredTextsNeedLabelAndFooter) {
  auto host = HostBuilder().Class("Class1", kClass).Build();
  Use(host);
  Settings().ErrHeaderLabel = u"ErrTrap";
  Settings().ErrFooterText = u"   ";
  frmErrInput f;
  f.Show();
  ui::Click(f.Command2);
  ASSERT_EQ(h.MessageTexts(), std::vector<std::u16string>{U("エラーヘッダフッタ情報が存在しませんので実行できません")});
  EXPECT_EQ(host.Lines("Class1").size(), 12u);

  Settings().ErrFooterText = u"Resume Next";
  Settings().ErrExitFlag = u"0";
  ui::Click(f.Command2);  // the selected row: Run
  auto lines = host.Lines("Class1");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 10),
            (std::vector<std::string>{"Public Sub Run()", "", "On Error GoTo ErrTrap", "    mCount = 1", "ErrTrap:", "",
                                      "Resume Next"}));
}

TEST_F(WindowTest, ErrInputOpensTheRegistrationWindow) {
  auto host = HostBuilder().Class("Class1", kClass).Build();
  Use(host);
  h.OnShow<frmErrComment>([](frmErrComment& w) {
    ui::Type(w.Text1, u"  MyErr ");
    ui::Type(w.Text2, u"MsgBox Err.Description\r\nResume Next");
    ui::Click(w.Check1);
    ui::Click(w.Command1);
  });
  frmErrInput f;
  f.Show();
  ui::Click(f.Command4);
  EXPECT_EQ(h.ModalShown(), std::vector<std::u16string>{u"frmErrComment"});
  EXPECT_EQ(Settings().ErrHeaderLabel, u"MyErr");
  EXPECT_EQ(Settings().ErrFooterText, u"MsgBox Err.Description\r\nResume Next");
  EXPECT_EQ(Settings().ErrExitFlag, u"1");
  ui::Click(f.Command2);
  auto lines = host.Lines("Class1");
  EXPECT_EQ(lines[5], "On Error GoTo MyErr");
  EXPECT_EQ(lines[7], "Exit Sub");
  EXPECT_EQ(lines[9], "MyErr:");
}

// ---- frmErrComment -------------------------------------------------------

TEST_F(WindowTest, ErrCommentShowsTheTrimmedSettingsAndValidatesInOrder) {
  Settings().ErrHeaderLabel = u"  L  ";
  Settings().ErrFooterText = u" a\r\nb ";
  Settings().ErrExitFlag = u"1";
  frmErrComment f;
  f.Show();
  EXPECT_EQ(f.Caption(), U("VB自動エラーヘッダフッタ一括挿入[登録] For VisualBasic6.0"));
  EXPECT_EQ(f.Label1.Caption(), U("エラーヘッダー"));
  EXPECT_EQ(f.Label5.Caption(), U("※ラベル名は、入力しないで下さい"));
  EXPECT_EQ(f.Check1.ToolTipText(), U("チェックを付けるとExit ～が付加されます"));
  EXPECT_EQ(f.Text1.ToolTipText(), U("ラベル名を入力してください"));
  EXPECT_EQ(f.Text2.ToolTipText(), U("エラーフッタ内容を入力してください"));
  EXPECT_EQ(f.Text1.Text(), u"L");
  EXPECT_EQ(f.Text2.Text(), u"a\r\nb");
  EXPECT_EQ(f.Check1.Value(), ui::vbChecked);

  ui::Focus(f.Text2);
  EXPECT_EQ(f.Text2.SelLength(), 4);  // the whole text is selected on focus
  ui::ClearText(f.Text1);
  ui::ClearText(f.Text2);
  ui::Click(f.Command1);
  EXPECT_TRUE(f.Text1.HasFocus());
  ui::Type(f.Text1, u"X");
  ui::Click(f.Command1);
  EXPECT_TRUE(f.Text2.HasFocus());
  EXPECT_EQ(h.MessageTexts(), (std::vector<std::u16string>{U("ラベル名を入力してください"), U("フッタ内容を入力してください")}));
  EXPECT_EQ(h.Messages()[1].Icon(), ui::vbExclamation);
  EXPECT_EQ(h.Messages()[1].title, u"Tarno Kit");
  EXPECT_TRUE(f.Loaded());
  EXPECT_EQ(Settings().ErrHeaderLabel, u"  L  ");
  ui::Click(f.Command3);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(Settings().ErrHeaderLabel, u"  L  ");
}

TEST(ExitFlagCheckValue, FlagTextsGiveValidCheckValues) {
  EXPECT_EQ(ExitFlagCheckValue(u"1"), ui::vbChecked);
  EXPECT_EQ(ExitFlagCheckValue(u"0"), ui::vbUnchecked);
  EXPECT_EQ(ExitFlagCheckValue(u""), ui::vbUnchecked);
  EXPECT_EQ(ExitFlagCheckValue(u"x"), ui::vbUnchecked);
  EXPECT_EQ(ExitFlagCheckValue(u"2"), ui::vbChecked);
}

// ---- frmMain and frmTeikei -----------------------------------------------

TEST_F(WindowTest, MainOpensOnTheCurrentSlotWithoutChangingIt) {
  Settings().CommentTexts[0] = u"'one";
  Settings().CommentTexts[2] = u"'three\r\nnot normalised";
  Settings().CurrentCommentNo = 2;
  frmMain f;
  f.Show();
  EXPECT_EQ(f.Caption(), U("VB自動コード組み込み コメント登録 For VisualBasic6.0"));
  EXPECT_EQ(f.Label1.Caption(), U("コメント番号"));
  EXPECT_EQ(f.Command1.ToolTipText(), U("コメントを登録します"));
  EXPECT_EQ(f.Command2.ToolTipText(), U("画面を閉じます"));
  EXPECT_EQ(f.Command3.Caption(), U("定型登録"));
  EXPECT_EQ(f.Command3.ToolTipText(), U("定型文作成画面を表示します"));
  EXPECT_EQ(f.Command4.Caption(), U("クリア"));
  EXPECT_EQ(f.Command4.ToolTipText(), U("内容をクリアします"));
  ASSERT_EQ(f.Combo1.ListCount(), 10);
  EXPECT_EQ(f.Combo1.List(9), u"10");
  EXPECT_EQ(f.Combo1.ListIndex(), 2);
  EXPECT_EQ(f.txtComment.Text(), u"'three\r\nnot normalised");
  EXPECT_EQ(frmMain::intCommentNo, 2);
  EXPECT_EQ(frmMain::strOldComment, u"'three\r\nnot normalised");
  EXPECT_EQ(Settings().CommentTexts[2], u"'three\r\nnot normalised");
  EXPECT_EQ(Settings().CommentTexts[0], u"'one");
  f.CloseBox();
}

TEST_F(WindowTest, MainRegistersTypedLinesAndMakesTheSlotCurrent) {
  frmMain f;
  f.Show();
  ui::Choose(f.Combo1, 3);
  ui::Type(f.txtComment, u"a\r\nb\r\nc");
  ui::Click(f.Command1);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(Settings().CommentTexts[3], u"'a\r\n'b\r\n'c");
  EXPECT_EQ(Settings().CurrentCommentNo, 3);
}

TEST_F(WindowTest, MainRegisterWithAnEmptyEditorClearsTheSlotOnly) {
  Settings().CommentTexts[4] = u"'old";
  Settings().CurrentCommentNo = 1;
  frmMain f;
  f.Show();
  ui::Choose(f.Combo1, 4);
  EXPECT_EQ(f.txtComment.Text(), u"'old");
  ui::ClearText(f.txtComment);
  ui::Type(f.txtComment, u"  ");
  ui::Click(f.Command1);
  EXPECT_EQ(Settings().CommentTexts[4], u"");
  EXPECT_EQ(Settings().CurrentCommentNo, 1);
}

TEST_F(WindowTest, MainSlotSwitchKeepsEditsAndYesOnCloseRestoresOnlyTheShownSlot) {
  Settings().CommentTexts[1] = u"'two";
  Settings().CommentTexts[4] = u"'five";
  Settings().CurrentCommentNo = 1;
  frmMain f;
  f.Show();
  ui::Type(f.txtComment, u"edited");  // replaces the selected text
  ui::Choose(f.Combo1, 4);
  EXPECT_EQ(Settings().CommentTexts[1], u"'edited");
  EXPECT_EQ(f.txtComment.Text(), u"'five");
  ui::Type(f.txtComment, u"x");
  h.Answer(ui::vbNo);
  ui::Click(f.Command2);
  EXPECT_TRUE(f.Loaded());
  h.Answer(ui::vbYes);
  ui::Click(f.Command2);
  EXPECT_FALSE(f.Loaded());
  ASSERT_EQ(h.Messages().size(), 2u);
  EXPECT_EQ(h.Messages()[0].text, U("設定が変更されていますが終了しますか？"));
  EXPECT_EQ(h.Messages()[0].ButtonSet(), ui::vbYesNo);
  EXPECT_EQ(h.Messages()[0].Icon(), ui::vbInformation);
  EXPECT_EQ(h.Messages()[0].title, u"");
  EXPECT_EQ(Settings().CommentTexts[1], u"'edited");
  EXPECT_EQ(Settings().CommentTexts[4], u"'five");
  EXPECT_EQ(Settings().CurrentCommentNo, 4);
}

TEST_F(WindowTest, MainCloseWithoutChangesAsksNothing) {
  frmMain f;
  f.Show();
  ui::Choose(f.Combo1, 6);
  ui::Click(f.Command2);
  EXPECT_TRUE(h.Messages().empty());
  EXPECT_EQ(Settings().CurrentCommentNo, 6);
}

TEST_F(WindowTest, MainCloseBoxStoresNothing) {
  Settings().CurrentCommentNo = 2;
  frmMain f;
  f.Show();
  ui::Type(f.txtComment, u"lost");
  ui::Choose(f.Combo1, 5);
  f.CloseBox();
  EXPECT_EQ(Settings().CurrentCommentNo, 2);
  EXPECT_EQ(Settings().CommentTexts[5], u"");
}

TEST_F(WindowTest, MainClearEmptiesEditorAndOldText) {
  Settings().CommentTexts[0] = u"'keep";
  frmMain f;
  f.Show();
  ui::Click(f.Command4);
  EXPECT_EQ(f.txtComment.Text(), u"");
  EXPECT_EQ(frmMain::strOldComment, u"");
  EXPECT_EQ(Settings().CommentTexts[0], u"'keep");
  ui::Click(f.Command2);  // both empty: no question
  EXPECT_TRUE(h.Messages().empty());
  EXPECT_EQ(Settings().CommentTexts[0], u"'keep");
}

TEST_F(WindowTest, MainOpensOnSlotZeroForAHandEditedSlotNumber) {
  Settings().CommentTexts[0] = u"'zero";
  Settings().CurrentCommentNo = 77;
  frmMain f;
  f.Show();
  EXPECT_EQ(f.Combo1.ListIndex(), 0);
  EXPECT_EQ(f.txtComment.Text(), u"'zero");
  ui::Click(f.Command2);
  EXPECT_EQ(Settings().CurrentCommentNo, 0);
}

TEST_F(WindowTest, TeikeiWritesTheHeaderIntoTheChosenSlotAndYesRestoresIt) {
  Settings().CommentTexts[2] = u"'before";
  h.SetNow({2024, 3, 9});
  h.OnShow<frmTeikei>([](frmTeikei& t) {
    EXPECT_EQ(t.Caption(), U("VB自動コード組み込み（定型登録） For VisualBasic6.0"));
    EXPECT_EQ(t.Label5.Caption(), U("作成者："));
    EXPECT_EQ(t.Command1.ToolTipText(), U("定型文を自動的に作成します"));
    EXPECT_EQ(t.Text6.Text(), u"2024/03/09");
    EXPECT_TRUE(t.Text1.Text().empty());
    ui::Type(t.Text1, u"Calc");
    ui::Type(t.Text5, U("山田"));
    ui::Focus(t.Text6);
    EXPECT_EQ(t.Text6.SelLength(), 10);
    ui::Click(t.Command1);
  });
  frmMain f;
  f.Show();
  ui::Choose(f.Combo1, 2);
  ui::Click(f.Command3);
  EXPECT_EQ(Settings().CurrentCommentNo, 2);
  std::u16string header = HeaderCommentText({u"Calc", u"", u"", u"", U("山田"), u"2024/03/09"});
  EXPECT_EQ(Settings().CommentTexts[2], header);
  EXPECT_EQ(f.txtComment.Text(), header);
  EXPECT_NE(header.find(U("'引数   ：なし")), std::u16string::npos);
  h.Answer(ui::vbYes);
  ui::Click(f.Command2);
  EXPECT_EQ(Settings().CommentTexts[2], u"'before");
}

TEST_F(WindowTest, TeikeiCloseChangesNothing) {
  Settings().CommentTexts[0] = u"'x";
  h.OnShow<frmTeikei>([](frmTeikei& t) {
    ui::Type(t.Text1, u"Calc");
    ui::Click(t.Command2);
  });
  frmMain f;
  f.Show();
  ui::Click(f.Command3);
  EXPECT_EQ(Settings().CommentTexts[0], u"'x");
  EXPECT_EQ(f.txtComment.Text(), u"'x");
  f.CloseBox();
}

TEST_F(WindowTest, InsertCommandReportsAnEmptySlot) {
  auto host = HostBuilder().Module("Module1", "Sub A()\nEnd Sub\n").ActiveCode("Module1", 1, 1, 1, 1).Build();
  InsertRegisteredComment(*host.vbe, Settings());
  ASSERT_EQ(h.Messages().size(), 1u);
  EXPECT_EQ(h.Messages()[0].text, U("コメントが入力されていません"));
  EXPECT_EQ(h.Messages()[0].Icon(), ui::vbExclamation);
  EXPECT_EQ(h.Messages()[0].title, u"Tarno Kit");
}

}  // namespace
}  // namespace tarno::codegen

namespace tarno::codegen {
namespace {

TEST_F(WindowTest, BulkWindowsCloseOnlyThroughTheirCloseButton) {
  auto host = HostBuilder().Module("Module1", "Public Sub A()\nEnd Sub\n").Build();
  Use(host);
  frmComment c;
  c.Show();
  EXPECT_THROW(ui::ClickCloseBox(c), ui::InputRejected);
  ui::Click(c.Command3);
  EXPECT_FALSE(c.Loaded());
  frmErrInput e;
  e.Show();
  EXPECT_THROW(ui::ClickCloseBox(e), ui::InputRejected);
  ui::Click(e.Command3);
  EXPECT_FALSE(e.Loaded());
}

}  // namespace
}  // namespace tarno::codegen
