// The project tools behind the add-in's menu items, and the auto-save window
// that the connection loads hidden.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "addin/addin_globals.h"
#include "addin/connect/connect.h"
#include "addin/settings.h"
#include "platform/vb_text.h"
#include "project/frm_copy.h"
#include "project/frm_project.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::project {
namespace {

namespace fs = std::filesystem;
using vb::U;

class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_project_connect_XXXXXX";
    root_ = mkdtemp(tmpl);
    ::setenv("TARNO_SYSTEM_DIR", (root_ / "sys").c_str(), 1);
    fs::create_directories(root_ / "sys");
    ResetSettings();
    host_ = test::HostBuilder().Module("Module1", "Dim a\n").Build();
    auto m = host_.Component("Module1");
    m->fileNames().push_back(u"Module1.bas");
    m->MarkDirty();
  }
  void TearDown() override {
    ::unsetenv("TARNO_SYSTEM_DIR");
    fs::remove_all(root_);
    ResetSettings();
  }
  void Settings(const std::string& ini) { std::ofstream(root_ / "sys" / "TarnoAddIn.ini", std::ios::binary) << ini; }
  std::shared_ptr<ide::CommandBarControl> Item(const char* caption) {
    return host_.BarItem("Tools", vb::ToUtf8(U(caption)));
  }
  test::UiHarness ui_;
  test::TestHost host_;
  clsTarnoAddInP addin_{AddInCommands()};
  CustomArray custom_;
  fs::path root_;
};

TEST_F(ConnectionTest, AutoSaveOnStartsTheHiddenTimerAndTheMenuItemOpensItStopped) {
  Settings("[Project]\r\nSaved=1\r\nInterval=1\r\nMsgFlg=0\r\n");
  addin_.OnConnection(host_.vbe, 0, nullptr, custom_);
  frmProject* w = ProjectWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(ProjectToolFromMenu, 0);
  EXPECT_FALSE(w->Visible());
  ui_.AdvanceTime(60 * 1000);  // one minute: the dirty module is saved
  EXPECT_FALSE(host_.Component("Module1")->dirty());

  host_.Component("Module1")->MarkDirty();
  ui_.OnShow<frmProject>([&](frmProject& f) {
    EXPECT_EQ(ProjectToolFromMenu, 1);
    EXPECT_EQ(f.Check1.Value(), ui::vbChecked);
    EXPECT_EQ(f.Text1.Text(), u"1");
    ui::Click(f.Command2);
  });
  host_.Click(Item("プロジェクト自動保存(&S)"));
  ui_.AdvanceTime(5 * 60 * 1000);  // stopped by opening it from the menu
  EXPECT_TRUE(host_.Component("Module1")->dirty());

  addin_.OnDisconnection(ext_dm_HostShutdown, custom_);
  EXPECT_EQ(ProjectWindow(), nullptr);
}

TEST_F(ConnectionTest, WithAutoSaveOffNothingIsLoadedAndTheCopyItemOpensTheCopyWindow) {
  addin_.OnConnection(host_.vbe, 0, nullptr, custom_);
  EXPECT_EQ(ProjectWindow(), nullptr);
  bool shown = false;
  ui_.OnShow<frmCopy>([&](frmCopy& f) {
    shown = true;
    EXPECT_EQ(f.Combo1.ListCount(), 1);
    ui::Click(f.Command2);
  });
  host_.Click(Item("ファイルコピー(&F)"));
  EXPECT_TRUE(shown);
  addin_.OnDisconnection(ext_dm_HostShutdown, custom_);
}

}  // namespace
}  // namespace tarno::project
