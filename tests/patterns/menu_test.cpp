// The pattern browser as the user reaches it: the add-in connected to the
// in-memory IDE, its Tools menu item clicked.
#include <gmock/gmock.h>

#include "addin/connect/connect.h"
#include "addin/settings.h"
#include "pattern_fixture.h"
#include "patterns/frm_code_patrn.h"
#include "patterns/frm_code_patrn_add_folder.h"
#include "patterns/frm_code_patrn_input.h"
#include "patterns/pattern_edits.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::patterns {
namespace {

using ::testing::ElementsAre;
using vb::U;

class MenuTest : public test::PatternFolderTest {
 protected:
  void SetUp() override {
    PatternFolderTest::SetUp();
    ::setenv("TARNO_SYSTEM_DIR", (dir_ / "sys").c_str(), 1);
    ResetSettings();
    host_ = test::HostBuilder().Module("Module1", "Dim a\n").Build();
    addin_.OnConnection(host_.vbe, 0, nullptr, custom_);
  }
  void TearDown() override {
    addin_.OnDisconnection(ext_dm_HostShutdown, custom_);
    ::unsetenv("TARNO_SYSTEM_DIR");
    ResetSettings();
    PatternFolderTest::TearDown();
  }

  test::UiHarness ui_;
  test::TestHost host_;
  CustomArray custom_;
  clsTarnoAddInP addin_{AddInCommands()};
};

TEST_F(MenuTest, TheToolsItemOpensTheBrowserWhereAPatternIsRegisteredAndCopied) {
  ui_.OnShow<frmCodePatrnAddFolder>([](frmCodePatrnAddFolder& f) {
    ui::Type(f.Text1, U("エラー処理"));
    ui::Click(f.Command1);
  });
  ui_.OnShow<frmCodePatrnInput>([](frmCodePatrnInput& f) {
    ui::Type(f.Text1, u"Header");
    f.Text2.SetText(u"On Error GoTo ErrHandler\r\n");
    ui::Click(f.Command1);
  });
  bool shownModal = false;
  ui_.OnShow<frmCodePatrn>([&](frmCodePatrn& f) {
    shownModal = f.ShownModal();
    ui::Click(f.Command2);  // the folder, selected when created
    ui::Click(f.Command1);  // a pattern in it, selected when registered
    ui::Click(f.Command7);
    ui::Click(f.Command3);
  });
  host_.Click(host_.BarItem("Tools", "コードパターン挿入(&S)"));

  EXPECT_TRUE(shownModal);
  EXPECT_THAT(ui_.ModalShown(), ElementsAre(u"frmCodePatrn", u"frmCodePatrnAddFolder", u"frmCodePatrnInput"));
  EXPECT_THAT(ui_.MessageTexts(), ElementsAre(U(msg::Copied)));
  EXPECT_EQ(ui_.clipboard().GetText(), u"On Error GoTo ErrHandler\r\n");
  EXPECT_EQ(Bytes(At("エラー処理", "Header.Dat")), "On Error GoTo ErrHandler\r\n");
}

}  // namespace
}  // namespace tarno::patterns
