// The check windows and the results windows, driven as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "addin/addin_globals.h"
#include "checks/check_reports.h"
#include "checks/check_windows.h"
#include "host/faults.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::checks {
namespace {

using test::HostBuilder;
using vb::U;

class CheckWindowTest : public ::testing::Test {
 protected:
  void Use(const test::TestHost& host) {
    host_ = host;
    HostVBE = host.vbe;
  }
  void TearDown() override {
    HostVBE.reset();
    CurrentVariableCheckResult().reset();
  }
  static test::TestHost TwoProjects() {
    return HostBuilder()
        .Project("Alpha")
        .Module("Module1",
                "Private m_unused As Long\n"
                "Private Sub Foo()\n"
                "    Dim a As Long\n"
                "End Sub\n")
        .Class("Class1", "Private Sub Class_Initialize()\nEnd Sub\n")
        .Form("Form1", "Private Sub Form_Load()\nEnd Sub\n")
        .Component(ide::ComponentType::ResFile, "Res1", "")
        .Project("Beta")
        .Module("Clean", "Sub Main()\nEnd Sub\n")
        .Build();
  }
  test::UiHarness h_;
  test::TestHost host_;
};

TEST_F(CheckWindowTest, OpeningListsProjectsAndTheFirstProjectsComponents) {
  Use(TwoProjects());
  frmHensuFind w;
  w.Show();
  EXPECT_EQ(w.Caption(), U("VB自動変数チェック For VisualBasic6.0"));
  EXPECT_EQ(w.Label1.Caption(), U("プロジェクト名："));
  ASSERT_EQ(w.Combo1.ListCount(), 2);
  EXPECT_EQ(w.Combo1.List(0), u"Alpha");
  EXPECT_EQ(w.Combo1.List(1), u"Beta");
  EXPECT_EQ(w.Combo1.ListIndex(), 0);
  ASSERT_EQ(w.ListView1.ColumnHeaders.Count(), 3);
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(1).Text(), U("オブジェクト名"));
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(1).Width(), 2000);
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(2).Text(), U("種類"));
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(2).Width(), 2000);
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(3).Text(), U("ファイル名"));
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(3).Width(), 6000);
  ASSERT_EQ(w.ListView1.ListItems.Count(), 4);
  EXPECT_EQ(w.ListView1.ListItems.Item(1).Text(), u"Module1");
  EXPECT_EQ(w.ListView1.ListItems.Item(1).SubItems(1), U("標準 モジュール"));
  EXPECT_EQ(w.ListView1.ListItems.Item(2).SubItems(1), U("クラス モジュール"));
  EXPECT_EQ(w.ListView1.ListItems.Item(3).SubItems(1), U("フォーム モジュール"));
  EXPECT_TRUE(w.ListView1.ListItems.Item(1).Selected());
  EXPECT_FALSE(w.Picture1.Visible());
  EXPECT_EQ(w.Label2.Caption(), U("チェック中・・・"));
  EXPECT_EQ(w.Check1.Caption(), U("全てのファイルをチェック"));
  EXPECT_EQ(w.Check1.ToolTipText(), U("選択されたプロジェクトのモジュール全てを対象にします"));
  EXPECT_EQ(w.Command1.Caption(), U("実行"));
  EXPECT_EQ(w.Command1.ToolTipText(), U("変数チェックを開始します"));
  EXPECT_EQ(w.Command2.Caption(), U("閉じる"));
  EXPECT_EQ(w.Command2.ToolTipText(), U("画面を閉じます"));

  // Another project: its components, the first selected, the box cleared.
  ui::Click(w.Check1);
  EXPECT_FALSE(w.ListView1.Enabled());
  ui::Choose(w.Combo1, 1);
  ASSERT_EQ(w.ListView1.ListItems.Count(), 1);
  EXPECT_EQ(w.ListView1.ListItems.Item(1).Text(), u"Clean");
  EXPECT_EQ(w.Check1.Value(), ui::vbUnchecked);
  EXPECT_TRUE(w.ListView1.Enabled());
  w.Unload();
}

TEST_F(CheckWindowTest, KindTexts) {
  EXPECT_EQ(ComponentKindText(6), U("MDIフォーム モジュール"));
  EXPECT_EQ(ComponentKindText(7), U("プロパティページ"));
  EXPECT_EQ(ComponentKindText(8), U("ユーザー コントロール"));
  EXPECT_EQ(ComponentKindText(9), U("ユーザー ドキュメント"));
}

TEST_F(CheckWindowTest, RefusalsBeforeTheCheck) {
  Use(HostBuilder().Project("Empty").Build());
  {
    frmHensuFind w;
    w.Show();
    ui::Click(w.Command1);
  }
  Use(TwoProjects());
  {
    frmProcFind w;
    w.Show();
    w.ListView1.SetSelectedItem(nullptr);
    ui::Click(w.Command1);
    // Also with the all-modules box ticked.
    ui::Click(w.Check1);
    ui::Click(w.Command1);
  }
  ASSERT_EQ(h_.Messages().size(), 3u);
  EXPECT_EQ(h_.Messages()[0].text, U("指定されたプロジェクトには、モジュールが存在しませんので実行できません"));
  EXPECT_EQ(h_.Messages()[0].Icon(), ui::vbExclamation);
  EXPECT_EQ(h_.Messages()[0].title, u"Tarno Kit");
  EXPECT_EQ(h_.Messages()[1].text, U("モジュールを選択してください"));
  EXPECT_EQ(h_.Messages()[2].text, U("モジュールを選択してください"));
  EXPECT_TRUE(h_.ModalShown().empty());
}

TEST_F(CheckWindowTest, CleanModuleShowsTheCompletionMessageOnly) {
  Use(TwoProjects());
  frmHensuFind w;
  w.Show();
  ui::ClickItem(w.ListView1, 3);  // Form1
  bool busyShown = false;
  h_.on_message = [&](const test::ShownMessage&) { busyShown = busyShown || w.Picture1.Visible(); };
  ui::Click(w.Command1);
  ASSERT_EQ(h_.Messages().size(), 1u);
  EXPECT_EQ(h_.Messages()[0].text, U("正常終了しました"));
  EXPECT_EQ(h_.Messages()[0].Icon(), ui::vbInformation);
  EXPECT_FALSE(busyShown);  // hidden again before the message
  EXPECT_EQ(h_.MousePointerHistory(), (std::vector<int>{ui::vbHourglass, ui::vbDefault}));
  EXPECT_TRUE(h_.ModalShown().empty());
  EXPECT_FALSE(CurrentVariableCheckResult());
}

TEST_F(CheckWindowTest, FindingsOpenTheResultsWindowWhichSavesTheLog) {
  Use(TwoProjects());
  const auto dir = std::filesystem::temp_directory_path() / ("tarno_kekka_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::u16string logPath = vb::U((dir / "result.log").string());
  std::u16string shown;
  h_.OnShow<frmKekka>([&](frmKekka& k) {
    EXPECT_EQ(k.Caption(), U("変数チェック実行結果"));
    EXPECT_EQ(k.Command1.Caption(), U("保存"));
    EXPECT_EQ(k.Command1.ToolTipText(), U("変数チェックの結果をファイルに保存します"));
    EXPECT_EQ(k.Command2.ToolTipText(), U("画面を閉じます"));
    ASSERT_TRUE(CurrentVariableCheckResult());
    shown = k.Text1.Text();
    h_.CancelDialog();
    ui::Click(k.Command1);  // cancelled: nothing written
    h_.ChooseFile(logPath);
    ui::Click(k.Command1);
    ui::Click(k.Command2);
  });
  frmHensuFind w;
  w.Show();
  ui::Click(w.Command1);  // Module1 is selected
  EXPECT_EQ(h_.ModalShown(), (std::vector<std::u16string>{u"frmKekka"}));
  EXPECT_TRUE(h_.Messages().empty());
  EXPECT_FALSE(CurrentVariableCheckResult());  // released after the window closed
  VariableCheckResult expected;
  expected.projectName = u"Alpha";
  expected.modules.push_back({u"Module1", 1, {{u"m_unused", 1, 0, u"Declarations"}, {u"a", 3, 1, u"Foo"}}});
  EXPECT_EQ(shown, VariableReportText(expected));
  ASSERT_EQ(h_.DialogRequests().size(), 2u);
  const auto& req = h_.DialogRequests()[1];
  EXPECT_EQ(req.kind, test::DialogRequest::Save);
  EXPECT_EQ(req.file_name, u"*.log");
  EXPECT_EQ(req.filter, U("logファイル|*.log"));
  EXPECT_EQ(req.flags, 2);
  EXPECT_TRUE(req.cancel_error);
  EXPECT_EQ(files::ReadAllBytes(dir / "result.log"), SystemCodePage().Encode(shown));
  std::filesystem::remove_all(dir);
}

TEST_F(CheckWindowTest, AllModulesChecksTheWholeProject) {
  Use(TwoProjects());
  std::u16string shown;
  h_.OnShow<frmProcFindKekka>([&](frmProcFindKekka& k) {
    EXPECT_EQ(k.Caption(), U("プロシージャチェック実行結果"));
    EXPECT_EQ(k.Command1.ToolTipText(), U("プロシージャチェックの結果をファイルに保存します"));
    shown = k.Text1.Text();
    ui::Click(k.Command2);
  });
  frmProcFind w;
  w.Show();
  EXPECT_EQ(w.Caption(), U("VB自動プロシージャチェック For VisualBasic6.0"));
  EXPECT_EQ(w.Command1.ToolTipText(), U("プロシージャチェックを開始します"));
  ui::Click(w.Check1);
  ui::Click(w.Command1);
  ProcedureCheckResult expected;
  expected.modules.push_back({u"Module1", 1, {{u"Foo", 2}}});
  EXPECT_EQ(shown, ProcedureReportText(u"Alpha", expected));
}

TEST_F(CheckWindowTest, AFailedCheckIsReportedAndNeverLooksClean) {
  Use(TwoProjects());
  host::FaultScope faults;
  host::Faults().FailAlways("CodeModule.Lines");
  // Both windows, one module and all of them: the same message, exactly, and
  // the host's reason on the error output only.
  struct Case {
    bool variables;
    bool all;
    const char* window;
  };
  const Case cases[] = {{true, true, "frmHensuFind"}, {true, false, "frmHensuFind"},
                        {false, true, "frmProcFind"}, {false, false, "frmProcFind"}};
  size_t shown = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.window) + (c.all ? " all" : " one"));
    std::ostringstream err;
    std::streambuf* saved = std::cerr.rdbuf(err.rdbuf());
    std::unique_ptr<CheckWindow> w;
    if (c.variables) w = std::make_unique<frmHensuFind>();
    else w = std::make_unique<frmProcFind>();
    w->Show();
    if (c.all) ui::Click(w->Check1);
    ui::Click(w->Command1);
    std::cerr.rdbuf(saved);
    ASSERT_EQ(h_.Messages().size(), ++shown);
    EXPECT_EQ(h_.Messages().back().text, U("チェック中にエラーが発生しましたので中断しました"));
    EXPECT_EQ(h_.Messages().back().Icon(), ui::vbExclamation);
    EXPECT_EQ(err.str().rfind(std::string(c.window) + ": the check stopped: ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("CodeModule.Lines"), std::string::npos) << err.str();
    EXPECT_TRUE(h_.ModalShown().empty());
    EXPECT_FALSE(w->Picture1.Visible());
    EXPECT_EQ(h_.MousePointer(), ui::vbDefault);
    EXPECT_FALSE(CurrentVariableCheckResult());
  }
}

TEST_F(CheckWindowTest, ASaveThatFailsSaysSo) {
  Use(TwoProjects());
  h_.OnShow<frmKekka>([&](frmKekka& k) {
    h_.ChooseFile(u"/nonexistent-folder/x.log");
    ui::Click(k.Command1);
    ui::Click(k.Command2);
  });
  frmHensuFind w;
  w.Show();
  ui::Click(w.Command1);
  ASSERT_EQ(h_.Messages().size(), 1u);
  EXPECT_TRUE(h_.Messages()[0].text.starts_with(U("ファイルを保存できませんでした")));
}

TEST_F(CheckWindowTest, TheAddInsCommandsOpenTheCheckWindows) {
  Use(TwoProjects());
  h_.OnShow<frmHensuFind>([](frmHensuFind& f) { ui::Click(f.Command2); });
  h_.OnShow<frmProcFind>([](frmProcFind& f) { ui::Click(f.Command2); });
  EXPECT_TRUE(RunCommand(Command::Hensuu));
  EXPECT_TRUE(RunCommand(Command::Proc));
  EXPECT_EQ(h_.ModalShown(), (std::vector<std::u16string>{u"frmHensuFind", u"frmProcFind"}));
}

}  // namespace
}  // namespace tarno::checks
