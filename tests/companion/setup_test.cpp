// The set-up and uninstall windows: the add-in's entry in VBADDIN.INI, the
// registration commands, the settings file, and what the user is told.
#include <gmock/gmock.h>

#include "addin/settings.h"
#include "companion/frm_set_up.h"
#include "companion/frm_torikomi.h"
#include "companion/frm_un_inst.h"
#include "companion_fixture.h"
#include "platform/vb_text.h"
#include "support/ui_harness.h"

namespace tarno::companion::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vb::U;

// Another add-in's entry, other sections, a comment and CR LF line ends: all
// of it must survive set-up and uninstall byte for byte.
const std::string kOtherLines =
    "; added by hand\r\n"
    "[Add-Ins32]\r\n"
    "Other.Connect=1\r\n"
    "VBSDIAddIn.Connect = 0\r\n";
const std::string kTail =
    "\r\n"
    "[Other]\r\n"
    "prjTarnoAddIn.clsTarnoAddInP=3\r\n";

class SetUpTest : public CompanionTest {
 protected:
  tarno::test::UiHarness ui_;
};

struct Expected {
  const char* control;
  const char* caption;
  const char* tool_tip;
};

void ExpectWindow(ui::Form& form, const char* caption, const std::vector<Expected>& controls) {
  EXPECT_EQ(form.Caption(), U(caption));
  std::vector<std::u16string> names;
  for (ui::Control* c : form.Controls()) {
    names.push_back(c->DisplayName());
    EXPECT_EQ(c->Font().Name, U("ＭＳ Ｐゴシック")) << vb::ToUtf8(c->DisplayName());
  }
  ASSERT_EQ(names.size(), controls.size()) << vb::ToUtf8(form.Name());
  for (const Expected& e : controls) {
    ui::Control* c = form.FindControl(U(e.control));
    ASSERT_NE(c, nullptr) << e.control;
    EXPECT_EQ(c->Describe().caption, U(e.caption)) << e.control;
    EXPECT_EQ(c->ToolTipText(), U(e.tool_tip)) << e.control;
  }
}

TEST_F(SetUpTest, WindowsCarryTheirCaptionsButtonsToolTipsAndFont) {
  frmSetUp setup;
  ExpectWindow(setup, "Tarno Kit セットアップ",
               {{"Command2", "セットアップ", ""}, {"Command1", "閉じる", "画面を閉じます"}});
  frmUnInst uninst;
  ExpectWindow(uninst, "Tarno Kit アンインストール",
               {{"Command2", "アンインストール", ""}, {"Command1", "閉じる", "画面を閉じます"}});
  frmTorikomi import;
  ExpectWindow(import, "Tarno Kit",
               {{"Label2", "既存の設定ファイルを取り込み自動的に設定します", ""},
                {"Label1", "ファイル名", ""},
                {"Text1", "", "取り込むファイルを入力してください"},
                {"Command2", "参照", "ファイル選択画面を表示します"},
                {"Command1", "取り込み", "設定ファイルを取り込みます"},
                {"Command3", "閉じる", "画面を閉じます"},
                {"CommonDialog1", "", ""}});
}

TEST_F(SetUpTest, CloseButtonsEndTheWindows) {
  frmSetUp setup;
  setup.Show();
  ui::Click(setup.Command1);
  EXPECT_FALSE(setup.Loaded());
  frmUnInst uninst;
  uninst.Show();
  ui::Click(uninst.Command1);
  EXPECT_FALSE(uninst.Loaded());
  frmTorikomi import;
  import.Show();
  ui::Click(import.Command3);
  EXPECT_FALSE(import.Loaded());
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_TRUE(started_.empty());
}

TEST_F(SetUpTest, SetUpTwiceLeavesOneEntryZeroAndKeepsEveryOtherLine) {
  for (bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "over a file with other add-ins and a changed entry" : "no file yet");
    fs::remove_all(win_);
    if (existing) WriteBytes(AddIns(), kOtherLines + "prjTarnoAddIn.clsTarnoAddInP=1\r\n" + kTail);
    started_.clear();
    ui_.ClearMessages();
    for (int run = 0; run < 2; ++run) {
      frmSetUp w;
      w.Show();
      ui::Click(w.Command2);
      EXPECT_EQ(w.LastOutcome(), Outcome::kDone);
    }
    std::string expected = existing ? kOtherLines + "prjTarnoAddIn.clsTarnoAddInP=0\r\n" + kTail
                                    : "[Add-Ins32]\r\nprjTarnoAddIn.clsTarnoAddInP=0\r\n";
    EXPECT_EQ(ReadBytes(AddIns()), expected);
    EXPECT_THAT(started_, ElementsAre("RegSvr32 /S TarnoToolkit.dll", "RegSvr32 /S TarnoToolkit.dll"));
    ASSERT_EQ(ui_.Messages().size(), 2u);
    for (const auto& m : ui_.Messages()) {
      EXPECT_EQ(m.text, U("セットアップが完了しました"));
      EXPECT_EQ(m.Icon(), ui::vbInformation);
      EXPECT_EQ(m.ButtonSet(), ui::vbOKOnly);
      EXPECT_EQ(m.title, u"Tarno Kit");
    }
  }
}

TEST_F(SetUpTest, UninstallRemovesOnlyTheEntryWhateverItsValueAndDeletesTheSettingsFile) {
  for (const char* value : {"0", "1", "3", " 0 ", ""}) {
    SCOPED_TRACE(std::string("value '") + value + "'");
    WriteBytes(AddIns(), kOtherLines + "prjTarnoAddIn.clsTarnoAddInP=" + value + "\r\n" + kTail);
    WriteBytes(Destination(), "[COMMENT_NO]\r\nNO=2\r\n");
    started_.clear();
    ui_.ClearMessages();
    frmUnInst w;
    w.Show();
    ui::Click(w.Command2);
    EXPECT_EQ(ReadBytes(AddIns()), kOtherLines + kTail);
    EXPECT_FALSE(fs::exists(Destination()));
    EXPECT_THAT(started_, ElementsAre("RegSvr32 /U /S TarnoToolkit.dll"));
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_EQ(ui_.Messages()[0].text, U("アンインストールしました"));
    EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbInformation);
    EXPECT_EQ(ui_.Messages()[0].title, u"Tarno Kit");
    EXPECT_EQ(w.LastOutcome(), Outcome::kDone);
  }
}

TEST_F(SetUpTest, UninstallWithoutSettingsFileOrEntryStillAnswersUninstalled) {
  for (bool addins_file : {false, true}) {
    SCOPED_TRACE(addins_file ? "VBADDIN.INI without the entry" : "no VBADDIN.INI");
    fs::remove_all(win_);
    if (addins_file) WriteBytes(AddIns(), kOtherLines);
    // A folder of the settings file's name is not a settings file: it stays.
    fs::create_directories(sys_ / "TarnoAddIn.ini");
    ui_.ClearMessages();
    frmUnInst w;
    w.Show();
    ui::Click(w.Command2);
    EXPECT_THAT(ui_.MessageTexts(), ElementsAre(U("アンインストールしました")));
    EXPECT_EQ(w.LastOutcome(), Outcome::kDone);
    EXPECT_EQ(fs::exists(AddIns()), addins_file);
    if (addins_file) {
      EXPECT_EQ(ReadBytes(AddIns()), kOtherLines);
    }
    EXPECT_TRUE(fs::is_directory(sys_ / "TarnoAddIn.ini"));
  }
}

// The system directory is read into 255 bytes: a folder of 254 bytes is
// found, a longer one is not, and nothing is deleted then.
TEST_F(SetUpTest, UninstallFindsTheSystemDirectoryOnlyWhenItFitsTheBuffer) {
  for (size_t length : {254u, 255u}) {
    SCOPED_TRACE(length);
    fs::path sys = root_ / std::string(length - root_.string().size() - 1, 'd');
    ASSERT_EQ(sys.string().size(), length);
    ::setenv("TARNO_SYSTEM_DIR", sys.c_str(), 1);
    WriteBytes(sys / "TarnoAddIn.ini", "[COMMENT_NO]\r\nNO=1\r\n");
    ui_.ClearMessages();
    frmUnInst w;
    w.Show();
    ui::Click(w.Command2);
    EXPECT_THAT(ui_.MessageTexts(), ElementsAre(U("アンインストールしました")));
    EXPECT_EQ(fs::exists(sys / "TarnoAddIn.ini"), length == 255);
  }
}

// The entry cannot be written or removed: a folder where the file should be,
// or a Windows directory that cannot be made (a file holds its name; there
// is then no entry to remove either).
TEST_F(SetUpTest, EntryThatCannotBeWrittenOrRemovedIsReportedAndTheCommandStillStarts) {
  struct Case {
    const char* name;
    bool uninstall;
    std::function<void(const fs::path& win)> arrange;
    bool fails;
  };
  auto folder_in_place = [](const fs::path& win) { fs::create_directories(win / "VBADDIN.INI"); };
  auto directory_is_a_file = [](const fs::path& win) { WriteBytes(win, "not a folder"); };
  const Case cases[] = {
      {"set-up, folder in the file's place", false, folder_in_place, true},
      {"uninstall, folder in the file's place", true, folder_in_place, true},
      {"set-up, Windows directory is a file", false, directory_is_a_file, true},
      {"uninstall, Windows directory is a file", true, directory_is_a_file, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(win_);
    c.arrange(win_);
    WriteBytes(Destination(), "[COMMENT_NO]\r\nNO=1\r\n");
    started_.clear();
    ui_.ClearMessages();
    Outcome outcome;
    if (c.uninstall) {
      frmUnInst w;
      w.Show();
      ui::Click(w.Command2);
      outcome = w.LastOutcome();
    } else {
      frmSetUp w;
      w.Show();
      ui::Click(w.Command2);
      outcome = w.LastOutcome();
    }
    EXPECT_THAT(started_, ElementsAre(c.uninstall ? kUnregisterCommand : kRegisterCommand));
    // The uninstaller still removes what it can.
    EXPECT_EQ(fs::exists(Destination()), !c.uninstall);
    ASSERT_EQ(ui_.Messages().size(), 1u);
    const auto& m = ui_.Messages()[0];
    EXPECT_EQ(m.title, u"Tarno Kit");
    if (!c.fails) {
      EXPECT_EQ(outcome, Outcome::kDone);
      EXPECT_EQ(m.text, U("アンインストールしました"));
      continue;
    }
    EXPECT_EQ(outcome, Outcome::kFailed);
    EXPECT_EQ(m.Icon(), ui::vbExclamation);
    EXPECT_EQ(m.text, U(c.uninstall ? "VBADDIN.INIからアドインの登録を削除できませんでした"
                                    : "VBADDIN.INIにアドインを登録できませんでした") +
                          vb::kCrLf + U(AddIns().string()));
  }
}

TEST_F(SetUpTest, UnknownWindowsDirectoryWritesNothingInTheCurrentFolder) {
  ::unsetenv("TARNO_WINDOWS_DIR");
  const char* home = std::getenv("HOME");
  std::string saved_home = home ? home : "";
  ::unsetenv("HOME");
  fs::path cwd = fs::current_path();
  fs::current_path(root_);
  frmSetUp w;
  w.Show();
  ui::Click(w.Command2);
  fs::current_path(cwd);
  if (!saved_home.empty()) ::setenv("HOME", saved_home.c_str(), 1);
  EXPECT_EQ(w.LastOutcome(), Outcome::kFailed);
  EXPECT_FALSE(fs::exists(root_ / "VBADDIN.INI"));
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
}

}  // namespace
}  // namespace tarno::companion::test
