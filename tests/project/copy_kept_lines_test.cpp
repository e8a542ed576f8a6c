// A form copy keeps what the catalog does not own: menu shortcuts in their
// key text, properties of intrinsic controls the catalog lacks, and binary
// values kept in more than one binary file, all carried into the copy's own
// binary file at the right offsets. The copy window lists the references
// and libraries the target project gains.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "addin/addin_globals.h"
#include "host/controls.h"
#include "host/files/project_loader.h"
#include "host/files/text_lines.h"
#include "platform/vb_text.h"
#include "project/frm_copy.h"
#include "support/tarno_run.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::project {
namespace {

namespace fs = std::filesystem;
namespace files = host::files;
using vb::U;

const char kForm[] =
    "VERSION 5.00\r\n"
    "Begin VB.Form F \r\n"
    "   Caption         =   \"F\"\r\n"
    "   ClientHeight    =   3000\r\n"
    "   ClientLeft      =   60\r\n"
    "   ClientTop       =   345\r\n"
    "   ClientWidth     =   4000\r\n"
    "   Icon            =   \"F.frx\":0000\r\n"
    "   LinkTopic       =   \"Form1\"\r\n"
    "   LockControls    =   -1  'True\r\n"
    "   ScaleHeight     =   3000\r\n"
    "   ScaleWidth      =   4000\r\n"
    "   Begin VB.TextBox Text1 \r\n"
    "      BeginProperty DataFormat \r\n"
    "         Type            =   1\r\n"
    "         Format          =   \"0.00\"\r\n"
    "         HaveTrueFalseNull=   0\r\n"
    "         FirstDayOfWeek  =   0\r\n"
    "         FirstWeekOfYear =   0\r\n"
    "         LCID            =   1041\r\n"
    "         SubFormatType   =   1\r\n"
    "      EndProperty\r\n"
    "      Height          =   300\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   0\r\n"
    "      Text            =   \"a\"\r\n"
    "      Top             =   120\r\n"
    "      Width           =   1000\r\n"
    "   End\r\n"
    "   Begin VB.Label Label1 \r\n"
    "      Caption         =   $\"Shared.frx\":0008\r\n"
    "      Height          =   300\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   1\r\n"
    "      Top             =   600\r\n"
    "      Width           =   1000\r\n"
    "   End\r\n"
    "   Begin VB.Image Image1 \r\n"
    "      Height          =   300\r\n"
    "      Left            =   120\r\n"
    "      Picture         =   \"shared.FRX\":0000\r\n"
    "      Top             =   1000\r\n"
    "      Width           =   300\r\n"
    "   End\r\n"
    "   Begin VB.Menu mnuFile \r\n"
    "      Caption         =   \"&File\"\r\n"
    "      Begin VB.Menu mnuSave \r\n"
    "         Caption         =   \"&Save\"\r\n"
    "         Shortcut        =   ^S\r\n"
    "      End\r\n"
    "      Begin VB.Menu mnuRun \r\n"
    "         Caption         =   \"&Run\"\r\n"
    "         Shortcut        =   {F5}\r\n"
    "      End\r\n"
    "      Begin VB.Menu mnuRename \r\n"
    "         Caption         =   \"Re&name\"\r\n"
    "         Shortcut        =   +{F2}\r\n"
    "      End\r\n"
    "      Begin VB.Menu mnuDelete \r\n"
    "         Caption         =   \"&Delete\"\r\n"
    "         Shortcut        =   +{DEL}\r\n"
    "      End\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"F\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\n"
    "Attribute VB_PredeclaredId = True\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Private Sub mnuSave_Click()\r\n"
    "End Sub\r\n";

// The form's own binary file (an icon) and one it shares with another form
// (a picture, then a long caption with its 4-byte length).
const std::string kOwnFrx("ICONDATA\0\0\0\0\0\0\0\x01", 16);
const std::string kSharedFrx("PICTURE\0\x0D\0\0\0two\r\nlines ok", 25);

const char kSourceProject[] =
    "Type=Exe\r\n"
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\Windows\\System32\\stdole2.tlb#OLE Automation\r\n"
    "Reference=*\\G{00000205-0000-0010-8000-00AA006D2EA4}#2.5#0#C:\\Program Files\\Common Files\\System\\ado\\msado25.tlb#"
    "Microsoft ActiveX Data Objects 2.5 Library\r\n"
    "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
    "Form=F.frm\r\n"
    "Name=\"S\"\r\n";
const char kTargetProject[] =
    "Type=Exe\r\n"
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\Windows\\System32\\stdole2.tlb#OLE Automation\r\n"
    "Name=\"T\"\r\n";

class CopyKeptLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("tarno_copy_kept_" + std::to_string(rd()) + std::to_string(rd()));
    Write("src/F.frm", kForm);
    Write("src/F.frx", kOwnFrx);
    Write("src/Shared.frx", kSharedFrx);
    Write("src/S.vbp", kSourceProject);
    Write("tgt/T.vbp", kTargetProject);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void Write(const std::string& relative, const std::string& bytes) {
    fs::create_directories((dir_ / relative).parent_path());
    std::ofstream(dir_ / relative, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) { return files::ReadFileBytes(dir_ / relative); }
  fs::path dir_;
};

std::string Replaced(std::string s, const std::vector<std::pair<std::string, std::string>>& edits) {
  for (const auto& [from, to] : edits) {
    size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
  }
  return s;
}

TEST_F(CopyKeptLinesTest, TheCopyDiffersFromItsSourceOnlyInItsNameAndItsMergedBinaryReferences) {
  auto run = test::RunTarno("copy src/S.vbp --component F --to tgt/T.vbp --name G --controls --code", dir_);
  ASSERT_EQ(run.status, 0) << run.err;
  // Only the form's name and the binary references differ: the shared file's
  // bytes follow the form's own in the new file, the references move with them.
  EXPECT_EQ(Read("tgt/G.frm"), Replaced(kForm, {{"Begin VB.Form F \r\n", "Begin VB.Form G \r\n"},
                                                {"\"F.frx\":0000", "\"G.frx\":0000"},
                                                {"$\"Shared.frx\":0008", "$\"G.frx\":0018"},
                                                {"\"shared.FRX\":0000", "\"G.frx\":0010"},
                                                {"Attribute VB_Name = \"F\"", "Attribute VB_Name = \"G\""}}));
  EXPECT_EQ(Read("tgt/G.frx"), kOwnFrx + kSharedFrx);
  // The source is never written.
  EXPECT_EQ(Read("src/F.frm"), kForm);
  EXPECT_EQ(Read("src/Shared.frx"), kSharedFrx);
  // What the target lacked is added and listed; what it had is not.
  EXPECT_THAT(run.out, ::testing::HasSubstr("added Reference=*\\G{00000205-0000-0010-8000-00AA006D2EA4}"));
  EXPECT_THAT(run.out, ::testing::HasSubstr("added Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\n"));
  EXPECT_THAT(run.out, ::testing::Not(::testing::HasSubstr("stdole2")));

  // Loaded back, the copy reads every value of its source: the long text at
  // its new offset, the shortcuts as key texts, the properties no catalog knows.
  auto ws = files::LoadPath(dir_ / "tgt/T.vbp", CodePage::Cp932());
  auto copy = ws.projects.at(0)->Component(u"G");
  ASSERT_TRUE(copy);
  auto d = copy->designer();
  EXPECT_EQ(d->Control(u"Label1")->Get(u"Caption"), ide::Variant(std::u16string(u"two\r\nlines ok")));
  const std::pair<const char16_t*, const char16_t*> shortcuts[] = {
      {u"mnuSave", u"^S"}, {u"mnuRun", u"{F5}"}, {u"mnuRename", u"+{F2}"}, {u"mnuDelete", u"+{DEL}"}, {u"mnuFile", u""}};
  for (const auto& [menu, key] : shortcuts)
    EXPECT_EQ(d->Control(menu)->Get(u"Shortcut"), ide::Variant(std::u16string(key))) << vb::ToUtf8(menu);
  EXPECT_EQ(d->form()->Properties()->Item(u"LockControls")->Value(), ide::Variant(true));
  auto format = d->Control(u"Text1")->Get(u"DataFormat");
  ASSERT_TRUE(format && std::holds_alternative<std::u16string>(*format));
  EXPECT_NE(std::get<std::u16string>(*format).find(u"Format          =   \"0.00\""), std::u16string::npos);
}

TEST_F(CopyKeptLinesTest, KeyTextsAndUnknownPropertiesAreReadWrittenAndRefusedAsVbDoes) {
  auto ws = files::LoadPath(dir_ / "src/S.vbp", CodePage::Cp932());
  auto form = ws.projects.at(0)->Component(u"F");
  auto d = form->designer();
  // Shortcut takes the Menu Editor's keys in any case, "" for none, and nothing else.
  struct Case {
    const char16_t* menu;
    ide::Variant value;
    const char* line;  // the line written; nullptr: refused or no line
  };
  const Case cases[] = {
      {u"mnuSave", std::u16string(u"^o"), "         Shortcut        =   ^O\r\n"},
      {u"mnuRun", std::u16string(u"^{f12}"), "         Shortcut        =   ^{F12}\r\n"},
      {u"mnuRename", std::u16string(u"%{BKSP}"), "         Shortcut        =   %{BKSP}\r\n"},
      {u"mnuDelete", std::u16string(), nullptr},
  };
  for (const auto& c : cases) d->Control(c.menu)->Properties()->Item(u"Shortcut")->SetValue(c.value);
  for (const ide::Variant& bad : {ide::Variant(std::u16string(u"^1")), ide::Variant(std::u16string(u"{F13}")),
                                  ide::Variant(std::u16string(u"+^S")), ide::Variant(int16_t(83))}) {
    EXPECT_THROW(d->Control(u"mnuFile")->Properties()->Item(u"Shortcut")->SetValue(bad), ide::HostError);
  }
  // A property only the file knows is changed like any other.
  d->form()->Properties()->Item(u"LockControls")->SetValue(false);
  // A new menu item writes its shortcut too.
  auto item = d->Control(u"mnuFile")->ContainedVBControls()->Add(u"VB.Menu", nullptr, false);
  item->Properties()->Item(u"Caption")->SetValue(std::u16string(u"&Find"));
  item->Properties()->Item(u"Shortcut")->SetValue(std::u16string(u"{F3}"));
  files::Save(ws);
  std::string expected = Replaced(kForm, {{"         Shortcut        =   ^S\r\n", cases[0].line},
                                          {"         Shortcut        =   {F5}\r\n", cases[1].line},
                                          {"         Shortcut        =   +{F2}\r\n", cases[2].line},
                                          {"         Shortcut        =   +{DEL}\r\n", ""},
                                          {"   LockControls    =   -1  'True\r\n", "   LockControls    =   0   'False\r\n"}});
  expected = Replaced(expected, {{"   End\r\nEnd\r\n", "      Begin VB.Menu mnu1 \r\n         Caption         =   \"&Find\"\r\n"
                                                     "         Shortcut        =   {F3}\r\n      End\r\n   End\r\nEnd\r\n"}});
  EXPECT_EQ(Read("src/F.frm"), expected);
}

TEST_F(CopyKeptLinesTest, TheCopyWindowListsTheReferencesAndLibrariesTheTargetGains) {
  auto ws = files::LoadPath(dir_ / "src/S.vbp", CodePage::Cp932());
  auto target = files::LoadPath(dir_ / "tgt/T.vbp", CodePage::Cp932());
  ws.vbe->AddProject(target.projects.at(0));
  HostVBE = ws.vbe;
  test::UiHarness h;
  // The first copy brings what the target lacks; a second copy of the same
  // form brings nothing more.
  for (const char16_t* name : {u"G", u"H"}) {
    h.OnShow<frmCopy>([&](frmCopy& f) {
      ui::ClickItem(f.ListView1, 1);
      ui::Choose(f.Combo2, 1);
      ui::ClearText(f.Text1);
      ui::Type(f.Text1, name);
      ui::Click(f.Check1);
      ui::Click(f.Command1);
      ui::Click(f.Command2);
    });
    ASSERT_TRUE(RunCommand(Command::CopyTool));
  }
  HostVBE.reset();
  EXPECT_THAT(h.MessageTexts(),
              ::testing::ElementsAre(
                  U("コピー完了しました") +
                      u"\r\n\r\nReference=*\\G{00000205-0000-0010-8000-00AA006D2EA4}#2.5#0#C:\\Program Files\\Common "
                      u"Files\\System\\ado\\msado25.tlb#Microsoft ActiveX Data Objects 2.5 Library\r\n"
                      u"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX",
                  U("コピー完了しました")));
}

}  // namespace
}  // namespace tarno::project
