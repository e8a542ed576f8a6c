// The add-in's commands reach the comment and error-handling tools.
#include <gtest/gtest.h>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "codegen/frm_comment.h"
#include "codegen/frm_err_input.h"
#include "codegen/frm_main.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::codegen {
namespace {

TEST(Commands, WindowsOpenModallyFromTheirCommands) {
  test::UiHarness h;
  ResetSettings();
  auto host = test::HostBuilder().Module("Module1", "Public Sub A()\nEnd Sub\n").Build();
  HostVBE = host.vbe;
  h.OnShow<frmMain>([](frmMain& f) { ui::Click(f.Command2); });
  h.OnShow<frmComment>([](frmComment& f) {
    EXPECT_EQ(f.ListView1.ListItems.Count(), 1);
    ui::Click(f.Command3);
  });
  h.OnShow<frmErrInput>([](frmErrInput& f) { ui::Click(f.Command3); });
  EXPECT_TRUE(RunCommand(Command::Handler));
  EXPECT_TRUE(RunCommand(Command::Comment));
  EXPECT_TRUE(RunCommand(Command::ContorolErrTool));
  EXPECT_EQ(h.ModalShown(), (std::vector<std::u16string>{u"frmMain", u"frmComment", u"frmErrInput"}));
  HostVBE.reset();
}

TEST(Commands, CodePaneCommandsEditTheActiveCodeWindow) {
  test::UiHarness h;
  ResetSettings();
  auto host = test::HostBuilder().Module("Module1", "Public Sub A()\nEnd Sub\n").ActiveCode("Module1", 1, 1, 2, 1).Build();
  HostVBE = host.vbe;
  EXPECT_TRUE(RunCommand(Command::CommentOut));
  EXPECT_EQ(host.Lines("Module1"), (std::vector<std::string>{"'Public Sub A()", "'End Sub"}));
  EXPECT_TRUE(RunCommand(Command::CommentDel));
  EXPECT_TRUE(RunCommand(Command::ErrorHeader));
  EXPECT_EQ(host.Lines("Module1").size(), 5u);
  EXPECT_TRUE(RunCommand(Command::Edit));  // no comment registered: the message
  EXPECT_EQ(h.Messages().size(), 1u);
  HostVBE.reset();
}

}  // namespace
}  // namespace tarno::codegen
