// Connecting the add-in to the in-memory IDE: menus, toolbar, faces, command
// dispatch, settings, the failure path and the clean-up.
#include "addin/connect/connect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "addin/addin_globals.h"
#include "addin/connect/frm_image.h"
#include "addin/connect/frm_title.h"
#include "addin/settings.h"
#include "host/command_bars.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using vb::U;

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

class ConnectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_connect_XXXXXX";
    root_ = mkdtemp(tmpl);
    ::setenv("TARNO_SYSTEM_DIR", (root_ / "sys").c_str(), 1);
    ini_ = root_ / "sys" / "TarnoAddIn.ini";
    ResetSettings();
    host_ = test::HostBuilder().Module("Module1", "Dim a\nDim b\n").Build();
  }
  void TearDown() override {
    host::Faults().ClearAll();
    ::unsetenv("TARNO_SYSTEM_DIR");
    fs::remove_all(root_);
    ResetSettings();
  }
  void Connect() { addin_.OnConnection(host_.vbe, 0, nullptr, custom_); }
  void Disconnect() { addin_.OnDisconnection(ext_dm_HostShutdown, custom_); }

  std::shared_ptr<host::MemCommandBar> Bar(const char16_t* name) { return host_.mem->commandBars()->Bar(name); }
  // Captions of a bar's items (or a popup's), in order.
  static std::vector<std::u16string> Captions(const host::MemCommandBarControls& items) {
    std::vector<std::u16string> out;
    for (auto& c : items.items()) out.push_back(c->caption());
    return out;
  }
  int TarnoBars() {
    int n = 0;
    for (auto& b : host_.mem->commandBars()->bars()) n += b->name() == kToolbarName ? 1 : 0;
    return n;
  }
  // Items of the IDE's menus that the add-in added and that are still there.
  int AddInItemsLeft() {
    int n = 0;
    for (auto* menu : {u"Tools", u"Edit"})
      for (auto& c : Bar(menu)->items()->items()) n += c->builtIn() ? 0 : 1;
    return n;
  }

  fs::path root_, ini_;
  test::UiHarness ui_;
  test::TestHost host_;
  CustomArray custom_;
  clsTarnoAddInP addin_{AddInCommands()};
};

TEST_F(ConnectTest, SplashShowsAndClosesOnTheSecondTick) {
  Connect();
  frmTitle* splash = addin_.Splash();
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(splash->Visible());
  EXPECT_FALSE(splash->ShownModal());
  EXPECT_EQ(splash->Timer1.Interval(), 1000);
  ui_.AdvanceTime(1999);
  EXPECT_TRUE(splash->Loaded());
  EXPECT_EQ(splash->Ticks(), 1);
  ui_.AdvanceTime(1);
  EXPECT_FALSE(splash->Loaded());
  EXPECT_EQ(splash->Timer1.Interval(), 0);
  EXPECT_EQ(HostVBE, host_.vbe);
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(ConnectTest, ToolsMenuHoldsTheItemsAtTheirPositions) {
  Connect();
  auto tools = Bar(u"Tools")->items();
  std::vector<std::u16string> caps = Captions(*tools);
  ASSERT_EQ(caps.size(), 9u);
  EXPECT_EQ(caps[2], U("コメント登録(&C)"));
  EXPECT_EQ(caps[3], U("変数未使用チェック(&F)"));
  EXPECT_EQ(caps[4], U("プロシージャ未使用チェック(&P)"));
  EXPECT_EQ(caps[5], U("コードパターン挿入(&S)"));
  EXPECT_EQ(caps[7], U("開発支援ツール(&T)"));
  for (int i : {2, 3, 4, 5, 7}) EXPECT_TRUE(tools->items()[i]->beginGroup()) << i;
  auto popup = tools->items()[7];
  EXPECT_EQ(popup->Type(), ide::ControlType::Popup);
  EXPECT_EQ(popup->descriptionText(), U("開発を支援するツール"));
  EXPECT_EQ(popup->toolTipText(), U("開発を支援するツール"));
  EXPECT_FALSE(popup->face());
  EXPECT_THAT(Captions(*popup->items()),
              ElementsAre(U("プロジェクト自動保存(&S)"), U("ファイルコピー(&F)"), U("コントロール整列設定(&C)"),
                          U("コントロールスタイルパターン設定・登録(&P)"),
                          U("コントロールのTabIndexプロパティの一括設定(&T)"),
                          U("コントロールのIndexプロパティの一括設定(&I)")));
  for (auto& item : popup->items()->items()) EXPECT_TRUE(item->beginGroup());
  EXPECT_EQ(tools->items()[2]->face(), Images().Face("picComMnt"));
  EXPECT_EQ(popup->items()->items()[5]->face(), Images().Face("picCtlIndex"));
}

TEST_F(ConnectTest, EditMenuHoldsTheItemsAndTheNextHostItemStartsAGroup) {
  Connect();
  auto edit = Bar(u"Edit")->items();
  const auto& items = edit->items();
  EXPECT_EQ(items[2]->caption(), U("コメントを挿入(&T)"));
  EXPECT_EQ(items[3]->caption(), U("コメントブロック(&O)"));
  EXPECT_EQ(items[4]->caption(), U("コメント解除(&D)"));
  EXPECT_EQ(items[5]->caption(), U("一括コメントブロック(&I)"));
  EXPECT_EQ(items[6]->caption(), U("エラー処理挿入(&R)"));
  EXPECT_TRUE(items[2]->beginGroup());
  for (int i : {3, 4, 5, 6}) EXPECT_FALSE(items[i]->beginGroup()) << i;
  EXPECT_TRUE(items[7]->builtIn());
  EXPECT_TRUE(items[7]->beginGroup());
  EXPECT_EQ(items[7]->caption(), u"Cu&t");
  EXPECT_FALSE(items[6]->face());
  EXPECT_THAT(Captions(*items[6]->items()), ElementsAre(U("エラー処理ヘッダ挿入(&H)"), U("エラー処理フッタ挿入(&F)"),
                                                        U("エラーヘッダフッタ一括挿入(&E)")));
  for (auto& item : items[6]->items()->items()) EXPECT_TRUE(item->beginGroup());
  EXPECT_EQ(items[3]->face(), Images().Face("picComBlck"));
}

TEST_F(ConnectTest, LeftoverToolbarIsReplacedByExactlyOneWithSeventeenButtons) {
  host_.vbe->CommandBars()->Add(kToolbarName, 1, true);
  ASSERT_EQ(TarnoBars(), 1);
  Connect();
  EXPECT_EQ(TarnoBars(), 1);
  auto bar = Bar(kToolbarName);
  EXPECT_EQ(bar, addin_.Toolbar());
  EXPECT_TRUE(bar->visible());
  EXPECT_TRUE(bar->temporary());
  EXPECT_EQ(bar->position(), 1);
  const auto& buttons = bar->items()->items();
  ASSERT_EQ(buttons.size(), 17u);
  std::vector<int> groups;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const CommandRow& row = CommandRows()[i];
    EXPECT_EQ(buttons[i]->toolTipText(), U(row.tool_tip));
    EXPECT_EQ(buttons[i]->caption(), u"");
    EXPECT_EQ(buttons[i]->face(), Images().Face(row.face));
    if (buttons[i]->beginGroup()) groups.push_back(static_cast<int>(i) + 1);
  }
  EXPECT_THAT(groups, ElementsAre(2, 3, 4, 5, 11, 15, 17));
  EXPECT_EQ(buttons[0]->toolTipText(), U("Tarno Kitで挿入するコメントを登録します"));
  EXPECT_EQ(buttons[16]->toolTipText(), U("Tarno Kitの定型エラーヘッダーフッタ処理を一括挿入します"));
  // The clipboard keeps the last face pasted.
  EXPECT_EQ(ui_.clipboard().GetData(), Images().Face("picErrInst"));
}

TEST_F(ConnectTest, EachMenuItemAndItsButtonRunTheSameCommandThroughTheirOwnSinks) {
  std::vector<std::function<void()>> saved;
  std::vector<int> ran;
  for (int i = 0; i < kCommandCount; ++i) {
    saved.push_back(CommandAction(static_cast<Command>(i)));
    CommandAction(static_cast<Command>(i)) = [&ran, i] { ran.push_back(i); };
  }
  Connect();
  std::set<ide::CommandBarEvents*> sinks;
  for (const CommandRow& row : CommandRows()) {
    auto item = host_.BarItem(row.menu == MenuPlace::Tools || row.menu == MenuPlace::ToolsPopup ? "Tools" : "Edit",
                              row.caption);
    auto button = addin_.ToolbarButtons().at(row.button - 1);
    ran.clear();
    auto r1 = host_.Click(item);
    auto r2 = host_.Click(button);
    EXPECT_THAT(ran, ElementsAre(static_cast<int>(CommandOf(row)), static_cast<int>(CommandOf(row)))) << row.caption;
    EXPECT_EQ(r1.sinks, 1);
    EXPECT_FALSE(r1.handled || r1.cancelDefault || r2.handled || r2.cancelDefault);
    sinks.insert(addin_.MenuSink(row).get());
    sinks.insert(addin_.CtrlSink(row).get());
  }
  sinks.insert(addin_.MenuToolsPopup.get());
  sinks.insert(addin_.MenuEditPopup.get());
  sinks.erase(nullptr);
  EXPECT_EQ(sinks.size(), 36u);
  for (int i = 0; i < kCommandCount; ++i) CommandAction(static_cast<Command>(i)) = saved[i];
}

TEST_F(ConnectTest, CommentBlockItemEditsTheActiveCodePane) {
  Connect();
  host_.ShowCode("Module1", 1, 1, 2, 1);
  host_.Click(host_.BarItem("Edit", "コメントブロック(&O)"));
  EXPECT_THAT(host_.Lines("Module1"), ElementsAre("'Dim a", "'Dim b"));
  host_.Click(addin_.ToolbarButtons().at(12));  // コメント解除
  EXPECT_THAT(host_.Lines("Module1"), ElementsAre("Dim a", "Dim b"));
}

TEST_F(ConnectTest, InsertCommentWithAnEmptySlotWarns) {
  Connect();
  host_.ShowCode("Module1", 1, 1, 1, 1);
  host_.Click(host_.BarItem("Edit", "コメントを挿入(&T)"));
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].text, U("コメントが入力されていません"));
  EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
  EXPECT_EQ(ui_.Messages()[0].title, u"Tarno Kit");
}

TEST_F(ConnectTest, DisconnectionRemovesEverythingEvenWhenDeletionsFail) {
  Connect();
  ASSERT_EQ(AddInItemsLeft(), 10);
  host::Faults().FailOnce("CommandBarControl.Delete");
  host::Faults().FailOnCall("CommandBarControl.Delete", 5);
  host::Faults().FailOnce("CommandBar.Delete");
  Disconnect();
  EXPECT_EQ(AddInItemsLeft(), 0);
  EXPECT_EQ(TarnoBars(), 0);
  EXPECT_EQ(Bar(u"Tools")->items()->items().size(), 4u);
  EXPECT_EQ(HostVBE, nullptr);
  EXPECT_EQ(addin_.MenuHensuu, nullptr);
}

TEST_F(ConnectTest, DisconnectionGoesOnPastStepsThatKeepFailing) {
  Connect();
  Settings().CommentTexts[0] = u"'kept";
  host::Faults().FailAlways("CommandBarControl.Delete");
  Disconnect();
  host::Faults().ClearAll();
  EXPECT_EQ(TarnoBars(), 0);                        // the toolbar still went, with its buttons
  EXPECT_NE(ReadBytes(ini_).find("'kept"), std::string::npos);  // and the settings were saved
}

TEST_F(ConnectTest, ClicksAfterDisconnectionRunNothing) {
  int runs = 0;
  auto saved = CommandAction(Command::Hensuu);
  CommandAction(Command::Hensuu) = [&] { ++runs; };
  Connect();
  auto item = host_.BarItem("Tools", "変数未使用チェック(&F)");
  auto sink = addin_.MenuHensuu;
  host::Faults().FailAlways("CommandBarControl.Delete");
  Disconnect();
  host::Faults().ClearAll();
  // Even a control the host failed to delete no longer reaches the add-in.
  if (!item->deleted()) host_.Click(item);
  EXPECT_EQ(runs, 0);
  CommandAction(Command::Hensuu) = saved;
}

TEST_F(ConnectTest, MalformedSettingsFileGivesTheStartUpMessageAndStaysAsItWas) {
  const std::string bytes = "[COMMENT_NO]\r\nNO=1\r\n[Project]\r\nSaved=x1\r\nInterval=5\r\n";
  WriteBytes(ini_, bytes);
  Connect();
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].text,
            U("Tarno Kitの起動時にエラーが発生しました。\r\nアドインマネージャーを起動しアンロードしてください。"));
  EXPECT_EQ(ui_.Messages()[0].buttons, ui::vbExclamation);
  EXPECT_EQ(ui_.Messages()[0].title, u"Tarno Kit");
  EXPECT_EQ(AddInItemsLeft(), 0);
  EXPECT_EQ(TarnoBars(), 0);
  EXPECT_EQ(ReadBytes(ini_), bytes);
}

TEST_F(ConnectTest, FailureBeforeTheLoadNeverWritesTheEarlierModelOverTheFile) {
  // A first connection loads and saves normally.
  WriteBytes(ini_, "[COMMENT]\r\n1='first\r\n");
  Connect();
  Disconnect();
  // The file changes between connections; a failing second connection must not
  // write the model of the first over it.
  const std::string bytes = "[COMMENT]\r\n1='second\r\n";
  WriteBytes(ini_, bytes);
  host::Faults().FailOnce("CommandBars.Add");
  Connect();
  EXPECT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ReadBytes(ini_), bytes);
  EXPECT_EQ(AddInItemsLeft(), 0);
}

TEST_F(ConnectTest, NoApplicationObjectTakesTheFailurePathAndLeavesTheSettingsAlone) {
  const std::string bytes = "[COMMENT]\r\n1='kept\r\n";
  WriteBytes(ini_, bytes);
  addin_.OnConnection(nullptr, 0, nullptr, custom_);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].text,
            U("Tarno Kitの起動時にエラーが発生しました。\r\nアドインマネージャーを起動しアンロードしてください。"));
  EXPECT_EQ(HostVBE, nullptr);
  EXPECT_EQ(AddInItemsLeft(), 0);
  EXPECT_EQ(TarnoBars(), 0);
  EXPECT_EQ(ReadBytes(ini_), bytes);
  // The same connect class connects normally afterwards.
  Connect();
  EXPECT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(AddInItemsLeft(), 10);
}

TEST_F(ConnectTest, NoSettingsFileConnectsWithoutAutoSave) {
  int loads = 0;
  auto saved = AutoSaveWindow();
  AutoSaveWindow().load_hidden = [&] { ++loads; };
  Connect();
  EXPECT_EQ(loads, 0);
  EXPECT_EQ(Settings().AutoSaveOn, 0);
  EXPECT_EQ(Settings().AutoSaveInterval, 0);
  EXPECT_EQ(AddInItemsLeft(), 10);
  EXPECT_TRUE(ui_.Messages().empty());
  AutoSaveWindow() = saved;
}

TEST_F(ConnectTest, AutoSaveOnLoadsTheAutoSaveWindowHiddenAndDisconnectionUnloadsIt) {
  WriteBytes(ini_, "[Project]\r\nSaved=1\r\nInterval=3\r\nMsgFlg=0\r\n");
  auto saved = AutoSaveWindow();
  std::vector<std::string> calls;
  AutoSaveWindow().load_hidden = [&] {
    calls.push_back("load " + std::to_string(ProjectToolFromMenu) + " " + std::to_string(Settings().AutoSaveInterval));
  };
  AutoSaveWindow().unload = [&] { calls.push_back("unload"); };
  ProjectToolFromMenu = 1;
  Connect();
  EXPECT_THAT(calls, ElementsAre("load 0 3"));
  Disconnect();
  EXPECT_THAT(calls, ElementsAre("load 0 3", "unload"));
  AutoSaveWindow() = saved;
}

TEST(Faces, SeventeenDistinctSmallPicturesOneForEachRole) {
  std::set<std::vector<uint32_t>> distinct;
  for (const CommandRow& row : CommandRows()) {
    const Picture& face = Images().Face(row.face);
    EXPECT_EQ(face.width, kFaceSize);
    EXPECT_EQ(face.height, kFaceSize);
    EXPECT_EQ(face.name, row.face);
    EXPECT_EQ(face.pixels.size(), static_cast<size_t>(kFaceSize * kFaceSize));
    distinct.insert(face.pixels);
  }
  EXPECT_EQ(distinct.size(), 17u);
  EXPECT_FALSE(Images().Visible());
}

TEST(CommandTable, CommandsWithoutTheirWindowRunNothing) {
  // Generators are bound; windows are bound as they are built.
  EXPECT_TRUE(static_cast<bool>(CommandAction(Command::CommentOut)));
  EXPECT_TRUE(static_cast<bool>(CommandAction(Command::ErrorHuter)));
  for (const CommandRow& row : CommandRows()) {
    if (!CommandAction(CommandOf(row))) {
      EXPECT_FALSE(RunCommand(CommandOf(row))) << row.runs;
    }
  }
}

}  // namespace
}  // namespace tarno
