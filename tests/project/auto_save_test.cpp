// The auto-save window: interval input, 設定 and 閉じる with their timer
// states, the tick counter, the question, and saving through the host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "host/faults.h"
#include "platform/vb_text.h"
#include "project/frm_project.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::project {
namespace {

using test::HostBuilder;
using vb::U;

// Records what the host saves, in order.
class RecordingStore : public host::ComponentStore {
 public:
  void SaveProject(host::MemProject& p, const std::u16string& path) override {
    saved.push_back("project " + vb::ToUtf8(p.name()) + " " + vb::ToUtf8(path));
  }
  void SaveComponent(host::MemComponent& c, const std::u16string& path) override {
    saved.push_back("component " + vb::ToUtf8(c.name()) + " " + vb::ToUtf8(path));
  }
  std::vector<std::string> saved;
};

class AutoSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    host_ = HostBuilder()
                .Project("Saved1")
                .Module("Module1", "Sub A()\nEnd Sub\n")
                .Form("Form1", "")
                .Module("NewModule", "")
                .Project("Never")
                .Module("Module2", "")
                .Build();
    HostVBE = host_.vbe;
    store_ = std::make_shared<RecordingStore>();
    host_.mem->SetStore(store_);
    auto saved = host_.Project(1);
    saved->set_fileName(u"C:\\p\\Saved1.vbp");
    saved->Component(u"Module1")->fileNames().push_back(u"C:\\p\\Module1.bas");
    saved->Component(u"Form1")->fileNames().push_back(u"  ");  // a blank name is no file
    for (const auto& c : saved->components()) c->MarkDirty();
    host_.Project(2)->Component(u"Module2")->MarkDirty();  // a project never saved
  }
  void TearDown() override {
    UnloadProjectWindow();
    HostVBE.reset();
    ResetSettings();
  }
  // Auto-save on with the interval, loaded at connection.
  void Connected(int16_t minutes, int16_t ask) {
    Settings().AutoSaveOn = 1;
    Settings().AutoSaveInterval = minutes;
    Settings().AutoSaveMsgFlag = ask;
    ProjectToolFromMenu = 0;
    AutoSaveWindow().load_hidden();
  }
  test::UiHarness h_;
  test::TestHost host_;
  std::shared_ptr<RecordingStore> store_;
  host::FaultScope faults_;
};

TEST_F(AutoSaveTest, IntervalInputIsCheckedInOrderAndTakenAsAWholeNumber) {
  struct Case {
    const char* typed;
    const char* message;  // "" when accepted
    int16_t stored;
  };
  const Case cases[] = {
      {"0", "インターバルの値が不正です\r\n最小01分までの設定しかできません", 0},
      {"61", "インターバルが大きすぎます\r\n最大60分までの設定しかできません", 0},
      {"", "インターバルの値が不正です", 0},
      {"60", "", 60},
      {"1", "", 1},
      {"007", "", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Settings().AutoSaveOn = 1;
    Settings().AutoSaveInterval = 5;
    Settings().AutoSaveMsgFlag = 0;
    h_.ClearMessages();
    bool hidden = false;
    h_.OnShow<frmProject>([&](frmProject& f) {
      ui::ClearText(f.Text1);
      ui::Type(f.Text1, U(c.typed));
      ui::Click(f.Check2);
      ui::Click(f.Command1);
      hidden = !f.Visible();
      if (!hidden) {
        EXPECT_TRUE(f.Text1.HasFocus());
        ui::Click(f.Command2);
      }
    });
    ASSERT_TRUE(RunCommand(Command::ProjectTool));
    if (*c.message) {
      EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U(c.message)));
      EXPECT_EQ(h_.Messages()[0].Icon(), ui::vbExclamation);
      EXPECT_EQ(h_.Messages()[0].title, u"Tarno Kit");
      EXPECT_FALSE(hidden);
      EXPECT_EQ(Settings().AutoSaveInterval, 5);
    } else {
      EXPECT_TRUE(h_.Messages().empty());
      EXPECT_TRUE(hidden);
      EXPECT_EQ(Settings().AutoSaveInterval, c.stored);
      EXPECT_EQ(Settings().AutoSaveMsgFlag, 1);
      EXPECT_EQ(ProjectWindow()->Timer1.Interval(), 1000);
    }
    UnloadProjectWindow();
  }
}

TEST_F(AutoSaveTest, TheNumberTakesDigitsAndBackspaceAndTheSpinButtonsStayWithinOneToSixty) {
  Settings().AutoSaveOn = 1;
  Settings().AutoSaveInterval = 59;
  h_.OnShow<frmProject>([&](frmProject& f) {
    EXPECT_EQ(f.Text1.Text(), u"59");
    ui::ClickUp(f.UpDown1);
    ui::ClickUp(f.UpDown1);
    EXPECT_EQ(f.Text1.Text(), u"60");
    ui::ClearText(f.Text1);
    ui::Type(f.Text1, u"2");
    ui::ClickDown(f.UpDown1);
    ui::ClickDown(f.UpDown1);
    EXPECT_EQ(f.Text1.Text(), u"1");
    ui::ClearText(f.Text1);
    ui::Type(f.Text1, u"1a-.2 ");
    EXPECT_EQ(f.Text1.Text(), u"12");
    ui::PressKey(f.Text1, ui::vbKeyBack);
    EXPECT_EQ(f.Text1.Text(), u"1");
    f.Text1.SetText(u"x");  // not typed: the spin buttons put 1 back
    ui::ClickUp(f.UpDown1);
    EXPECT_EQ(f.Text1.Text(), u"1");
    ui::Click(f.Command2);
  });
  RunCommand(Command::ProjectTool);
}

TEST_F(AutoSaveTest, OffStoresIntervalOneAndStopsTheTimer) {
  Connected(3, 1);
  h_.OnShow<frmProject>([&](frmProject& f) {
    EXPECT_TRUE(f.Frame1.Enabled());
    ui::Click(f.Check1);
    EXPECT_FALSE(f.Frame1.Enabled());
    ui::Click(f.Command1);
  });
  RunCommand(Command::ProjectTool);
  EXPECT_EQ(Settings().AutoSaveOn, 0);
  EXPECT_EQ(Settings().AutoSaveInterval, 1);
  EXPECT_EQ(Settings().AutoSaveMsgFlag, 0);
  EXPECT_FALSE(ProjectWindow()->Timer1.Running());
  h_.AdvanceTime(10 * 60 * 1000);
  EXPECT_TRUE(store_->saved.empty());
}

TEST_F(AutoSaveTest, TheCommandSetsTheMenuFlagBeforeShowingAndCloseLeavesTheTimerStopped) {
  Connected(1, 0);
  frmProject* w = ProjectWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Loaded());
  EXPECT_FALSE(w->Visible());
  EXPECT_TRUE(w->Timer1.Running());
  h_.AdvanceTime(30 * 1000);
  EXPECT_EQ(w->Elapsed(), 30);
  h_.OnShow<frmProject>([&](frmProject& f) {
    EXPECT_EQ(ProjectToolFromMenu, 1);
    EXPECT_EQ(&f, w);  // the window that stayed loaded
    EXPECT_EQ(f.Elapsed(), 0);
    ui::Click(f.Command2);
  });
  RunCommand(Command::ProjectTool);
  EXPECT_EQ(Settings().AutoSaveInterval, 1);
  EXPECT_FALSE(w->Timer1.Running());
  h_.AdvanceTime(5 * 60 * 1000);
  EXPECT_TRUE(store_->saved.empty());
  AutoSaveWindow().unload();
  EXPECT_EQ(ProjectWindow(), nullptr);
}

TEST_F(AutoSaveTest, ADueIntervalSavesComponentsWithFilesThenProjectsWithFilesOnly) {
  Connected(2, 0);
  h_.AdvanceTime(2 * 60 * 1000 - 1000);
  EXPECT_TRUE(store_->saved.empty());
  h_.AdvanceTime(1000);
  EXPECT_THAT(store_->saved, ::testing::ElementsAre("component Module1 C:\\p\\Module1.bas",
                                                    "project Saved1 C:\\p\\Saved1.vbp"));
  EXPECT_FALSE(host_.Component("Module1")->dirty());
  EXPECT_TRUE(host_.Component("NewModule")->dirty());
  EXPECT_TRUE(host_.Component("Module2")->dirty());
  EXPECT_EQ(ProjectWindow()->Elapsed(), 0);
}

TEST_F(AutoSaveTest, AnsweringNoSkipsThatIntervalAndTheNextSaveComesOneWholeIntervalLater) {
  Connected(1, 1);
  h_.Answer(ui::vbNo);
  h_.AdvanceTime(60 * 1000);
  ASSERT_EQ(h_.Messages().size(), 1u);
  EXPECT_EQ(h_.Messages()[0].text, U("保存してもよろしいですか？"));
  EXPECT_EQ(h_.Messages()[0].buttons, ui::vbYesNo + ui::vbInformation);
  EXPECT_TRUE(store_->saved.empty());
  h_.AdvanceTime(59 * 1000);
  EXPECT_EQ(h_.Messages().size(), 1u);
  h_.Answer(ui::vbYes);
  h_.AdvanceTime(1000);
  EXPECT_EQ(h_.Messages().size(), 2u);
  EXPECT_EQ(store_->saved.size(), 2u);
}

TEST_F(AutoSaveTest, NothingToSaveAsksButSavesNothing) {
  host_.Component("Module1")->SetIsDirty(false);
  host_.Project(1)->set_saved(true);
  for (const auto& c : host_.Project(1)->components()) c->SetIsDirty(false);
  Connected(1, 1);
  h_.Answer(ui::vbYes);
  h_.AdvanceTime(60 * 1000);
  EXPECT_EQ(h_.Messages().size(), 1u);
  EXPECT_TRUE(store_->saved.empty());
}

TEST_F(AutoSaveTest, AHostFailureInTheMiddleKeepsWhatWasSavedAndTheTimerGoesOn) {
  auto p = host_.Project(1);
  p->Component(u"Form1")->fileNames()[0] = u"C:\\p\\Form1.frm";
  Connected(1, 0);
  host::Faults().FailOnCall("VBComponent.SaveAs", 2);
  h_.AdvanceTime(60 * 1000);
  EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U("現在、プロジェクトが読み取り専用になっております")));
  EXPECT_EQ(h_.Messages()[0].Icon(), ui::vbExclamation);
  EXPECT_THAT(store_->saved, ::testing::ElementsAre("component Module1 C:\\p\\Module1.bas"));
  EXPECT_FALSE(host_.Component("Module1")->dirty());
  EXPECT_TRUE(host_.Component("Form1")->dirty());
  EXPECT_TRUE(ProjectWindow()->Timer1.Running());
  host::Faults().ClearAll();
  h_.AdvanceTime(60 * 1000);
  EXPECT_THAT(store_->saved, ::testing::ElementsAre("component Module1 C:\\p\\Module1.bas",
                                                    "component Form1 C:\\p\\Form1.frm",
                                                    "project Saved1 C:\\p\\Saved1.vbp"));
}

}  // namespace
}  // namespace tarno::project
