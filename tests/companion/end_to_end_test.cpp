// Settings carried from one set-up to another: the add-in of the first
// writes its settings file at disconnection, TarnoOption copies it into the
// second, and the second add-in's next connection reads what was imported.
#include <gmock/gmock.h>

#include "addin/connect/connect.h"
#include "addin/settings.h"
#include "companion_fixture.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"
#include "support/tarno_run.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::companion::test {
namespace {

using vb::U;

class CarriedSettingsTest : public CompanionTest {
 protected:
  void SetUp() override {
    CompanionTest::SetUp();
    ResetSettings();
  }
  void TearDown() override {
    ResetSettings();
    CompanionTest::TearDown();
  }
  // One connection and disconnection of the add-in with the system directory
  // `sys`; `change` runs on the model between them.
  void Session(const fs::path& sys, const std::function<void(SettingsModel&)>& change) {
    ::setenv("TARNO_SYSTEM_DIR", sys.string().c_str(), 1);
    tarno::test::UiHarness ui;
    auto host = tarno::test::HostBuilder().Module("Module1", "Dim a\n").Build();
    CustomArray custom;
    clsTarnoAddInP addin{AddInCommands()};
    addin.OnConnection(host.vbe, 0, nullptr, custom);
    EXPECT_TRUE(ui.Messages().empty()) << vb::ToUtf8(ui.Messages().empty() ? u"" : ui.Messages()[0].text);
    change(Settings());
    addin.OnDisconnection(ext_dm_HostShutdown, custom);
    ui.AdvanceTime(2000);  // the splash window closes
  }
};

TEST_F(CarriedSettingsTest, ImportedFileIsWhatTheNextConnectionReads) {
  fs::path first = root_ / "first";
  fs::path second = root_ / "second";

  // The first set-up: settings registered in the tools and saved at disconnection.
  Session(first, [](SettingsModel& s) {
    s.CommentTexts[0] = U("'作成者：田中");
    s.CommentTexts[9] = U("'line one'line two");
    s.CurrentCommentNo = 9;
    s.AutoSaveInterval = 15;
    s.AutoSaveMsgFlag = 1;
    s.ErrExitFlag = u"1";
    s.ErrHeaderLabel = u"ErrHandler";
    s.ErrFooterText = U("ErrHandler:\r\n    MsgBox Err.Description");
    auto style = std::make_shared<clsCotrolStyle>();
    style->SetPatrnName(U("入力欄"));
    style->SetCType(0);
    style->SetWidth(2400);
    style->SetFontBold(true);
    s.PatternCollection.Add(style);
  });
  ASSERT_TRUE(fs::exists(first / "TarnoAddIn.ini"));

  // The second set-up has settings of its own, replaced by the import.
  ResetSettings();
  Session(second, [](SettingsModel& s) {
    s.CommentTexts[0] = u"'mine";
    s.AutoSaveInterval = 3;
  });
  auto run = tarno::test::RunProgram(TarnoOption_EXE, "--yes " + tarno::test::ShellQuote((first / "TarnoAddIn.ini").string()),
                                     {}, "TARNO_SYSTEM_DIR=" + tarno::test::ShellQuote(second.string()));
  ASSERT_EQ(run.status, 0) << run.err;

  // A fresh library load in the second set-up reads the imported values.
  ResetSettings();
  SettingsModel seen;
  Session(second, [&](SettingsModel& s) { seen = s; });
  EXPECT_EQ(seen.CommentTexts[0], U("'作成者：田中"));
  EXPECT_EQ(seen.CommentTexts[9], U("'line one\r\n'line two"));
  EXPECT_EQ(seen.CurrentCommentNo, 9);
  EXPECT_EQ(seen.AutoSaveOn, 0);
  EXPECT_EQ(seen.AutoSaveInterval, 15);
  EXPECT_EQ(seen.AutoSaveMsgFlag, 1);
  EXPECT_EQ(seen.ErrExitFlag, u"1");
  EXPECT_EQ(seen.ErrHeaderLabel, u"ErrHandler");
  EXPECT_EQ(seen.ErrFooterText, U("ErrHandler:\r\n    MsgBox Err.Description"));
  ASSERT_EQ(seen.PatternCount, 1);
  ASSERT_EQ(seen.PatternCollection.Count(), 1);
  EXPECT_EQ(seen.PatternCollection.Item(1).PatrnName(), U("入力欄"));
  EXPECT_EQ(seen.PatternCollection.Item(1).Width(), 2400);
  EXPECT_TRUE(seen.PatternCollection.Item(1).FontBold());
}

}  // namespace
}  // namespace tarno::companion::test
