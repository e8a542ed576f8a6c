// What a copy makes, written to disk: the new designer file with its
// controls, its own binary file, its .vbp line and Object entries; loading
// the saved project gives the copy back. Also the auto-save on files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "files/temp_project.h"
#include "host/controls.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"
#include "project/form_copy.h"
#include "project/frm_project.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::project {
namespace {

namespace files = host::files;
using files::testing::TempProject;

std::string Sidecar() {
  std::string b = "\x01ICONDAT";                 // 0000: an icon's bytes
  b += std::string("\x02\x00\x01\x00\x00\x00\x02\x00\x00\x00", 10);  // 0008: ItemData
  b += std::string("\x02\x00\x03\x00one\x03\x00two\x00\x00", 14);   // 0012: List
  b += std::string("\x0C\x00\x00\x00", 4) + "line1\r\nline2";        // 0020: a long text
  b += "\x05hello";                                                  // 0030: a text box's text
  return b;
}

const char* const kForm =
    "VERSION 5.00\r\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form frmSrc \r\n"
    "   Caption         =   \"Source\"\r\n"
    "   ClientHeight    =   3000\r\n"
    "   ClientLeft      =   60\r\n"
    "   ClientTop       =   345\r\n"
    "   ClientWidth     =   4000\r\n"
    "   Icon            =   \"frmSrc.frx\":0000\r\n"
    "   LinkTopic       =   \"Form1\"\r\n"
    "   ScaleHeight     =   3000\r\n"
    "   ScaleWidth      =   4000\r\n"
    "   StartUpPosition =   3  'Windows Default\r\n"
    "   Begin VB.Frame Frame1 \r\n"
    "      Caption         =   \"Frame\"\r\n"
    "      Height          =   1500\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   0\r\n"
    "      Top             =   120\r\n"
    "      Width           =   1800\r\n"
    "      Begin VB.TextBox Text1 \r\n"
    "         Height          =   300\r\n"
    "         Left            =   120\r\n"
    "         TabIndex        =   1\r\n"
    "         Text            =   \"frmSrc.frx\":0030\r\n"
    "         Top             =   300\r\n"
    "         Width           =   1500\r\n"
    "      End\r\n"
    "      Begin VB.TextBox Text2 \r\n"
    "         Height          =   300\r\n"
    "         Left            =   120\r\n"
    "         MultiLine       =   -1  'True\r\n"
    "         TabIndex        =   2\r\n"
    "         Text            =   $\"frmSrc.frx\":0020\r\n"
    "         Top             =   700\r\n"
    "         Width           =   1500\r\n"
    "      End\r\n"
    "   End\r\n"
    "   Begin VB.ListBox List1 \r\n"
    "      Height          =   600\r\n"
    "      ItemData        =   \"frmSrc.frx\":0008\r\n"
    "      Left            =   2000\r\n"
    "      List            =   \"frmSrc.frx\":0012\r\n"
    "      TabIndex        =   3\r\n"
    "      Top             =   120\r\n"
    "      Width           =   1500\r\n"
    "   End\r\n"
    "   Begin MSComctlLib.ProgressBar ProgressBar1 \r\n"
    "      Height          =   255\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   4\r\n"
    "      Top             =   2400\r\n"
    "      Width           =   3000\r\n"
    "      _ExtentX        =   5292\r\n"
    "      _ExtentY        =   450\r\n"
    "      _Version        =   393216\r\n"
    "      Appearance      =   1\r\n"
    "   End\r\n"
    "   Begin MSComctlLib.ImageList ImageList1 \r\n"
    "      Left            =   3000\r\n"
    "      Top             =   2000\r\n"
    "      _ExtentX        =   1005\r\n"
    "      _ExtentY        =   1005\r\n"
    "      _Version        =   393216\r\n"
    "      BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628} \r\n"
    "         NumListImages   =   1\r\n"
    "         BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628} \r\n"
    "            Picture         =   \"frmSrc.frx\":0000\r\n"
    "            Key             =   \"\"\r\n"
    "         EndProperty\r\n"
    "      EndProperty\r\n"
    "   End\r\n"
    "   Begin VB.Menu mnuFile \r\n"
    "      Caption         =   \"File\"\r\n"
    "      Begin VB.Menu mnuOpen \r\n"
    "         Caption         =   \"Open\"\r\n"
    "      End\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmSrc\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\n"
    "Attribute VB_PredeclaredId = True\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Private Sub Form_Load()\r\n"
    "    Text1.Text = mnuOpen.Caption\r\n"
    "End Sub\r\n";

struct Fixture {
  TempProject t;
  Fixture() {
    t.Write("src/S.vbp", "Type=Exe\r\nObject={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
                         "Form=frmSrc.frm\r\nName=\"S\"\r\n");
    t.Write("src/frmSrc.frm", kForm);
    t.Write("src/frmSrc.frx", Sidecar());
    t.Write("tgt/Main.frm", "VERSION 5.00\r\nBegin VB.Form Main \r\n   Caption         =   \"Main\"\r\nEnd\r\n"
                            "Attribute VB_Name = \"Main\"\r\n");
  }
  // Loads the source and the target (with the target's .vbp text) into one IDE.
  std::pair<files::LoadedWorkspace, std::shared_ptr<host::MemProject>> Open(const std::string& vbp) {
    t.Write("tgt/T.vbp", vbp);
    auto ws = files::LoadPath(t.dir() / "src" / "S.vbp", CodePage::Cp932());
    auto target_ws = files::LoadPath(t.dir() / "tgt" / "T.vbp", CodePage::Cp932());
    ws.vbe->AddProject(target_ws.projects[0]);
    ws.projects.push_back(target_ws.projects[0]);
    return {std::move(ws), target_ws.projects[0]};
  }
};

size_t CountIgnoringCase(std::string text, std::string what) {
  for (auto* s : {&text, &what})
    for (auto& ch : *s) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  size_t n = 0;
  for (size_t pos = 0; (pos = text.find(what, pos)) != std::string::npos; pos += what.size()) ++n;
  return n;
}

TEST(CopyWriterTest, ACopiedFormIsWrittenWholeAndLoadsBackEqual) {
  const char* const targets[] = {
      // The library listed already, its GUID in other letter case: not listed twice.
      "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation\r\n"
      "Object={831fdd16-0c5c-11d2-a9fc-0000f8754da1}#2.0#0; mscomctl.ocx\r\nForm=Main.frm\r\nName=\"T\"\r\n",
      // Not listed: the entry is added after the references.
      "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation\r\n"
      "Form=Main.frm\r\nName=\"T\"\r\n",
  };
  for (const char* vbp : targets) {
    Fixture f;
    auto [ws, target] = f.Open(vbp);
    auto source = ws.projects[0]->Component(u"frmSrc");
    const std::string source_bytes = f.t.Read("src/frmSrc.frm");
    auto copy = CopyComponent(*source, *target, u"frmCopy", {true, true});
    ASSERT_NE(copy, nullptr);
    auto written = files::Save(ws);
    EXPECT_EQ(f.t.Read("src/frmSrc.frm"), source_bytes);  // the source is not written
    EXPECT_EQ(f.t.Read("src/frmSrc.frx"), Sidecar());

    const std::string vbp_after = f.t.Read("tgt/T.vbp");
    EXPECT_EQ(CountIgnoringCase(vbp_after, "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"), 1u) << vbp_after;
    EXPECT_NE(vbp_after.find("Form=Main.frm\r\nForm=frmCopy.frm\r\n"), std::string::npos) << vbp_after;
    if (CountIgnoringCase(vbp, "831FDD16") == 0) {
      EXPECT_NE(vbp_after.find("OLE Automation\r\nObject={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"),
                std::string::npos)
          << vbp_after;
    }
    const std::string frm = f.t.Read("tgt/frmCopy.frm");
    EXPECT_TRUE(frm.starts_with("VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; "
                                "\"MSCOMCTL.OCX\"\r\nBegin VB.Form frmCopy \r\n"))
        << frm;
    EXPECT_NE(frm.find("   Icon            =   \"frmCopy.frx\":0000\r\n"), std::string::npos) << frm;
    EXPECT_NE(frm.find("      List            =   \"frmCopy.frx\":0012\r\n"), std::string::npos) << frm;
    EXPECT_NE(frm.find("Text            =   $\"frmCopy.frx\":"), std::string::npos) << frm;
    // An ActiveX control's own group arrives whole, its reference into the new file.
    EXPECT_NE(frm.find("      BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628} \r\n"
                       "         NumListImages   =   1\r\n"
                       "         BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628} \r\n"
                       "            Picture         =   \"frmCopy.frx\":0000\r\n"),
              std::string::npos)
        << frm;
    // The new binary file holds the source's bytes at the same offsets, then the long text.
    const std::string frx = f.t.Read("tgt/frmCopy.frx");
    EXPECT_TRUE(frx.starts_with(Sidecar()));

    auto again = files::LoadPath(f.t.dir() / "tgt" / "T.vbp", CodePage::Cp932());
    ASSERT_TRUE(again.warnings.empty()) << again.warnings[0].ToString();
    auto loaded = again.projects[0]->Component(u"frmCopy");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->code()->text().CodeText(), source->code()->text().CodeText());
    auto a = source->designer(), b = loaded->designer();
    ASSERT_EQ(b->controls().size(), a->controls().size());
    auto same_value = [&](const host::MemControl& x, const host::MemControl& y, int k) {
      ide::Variant vx = x.ValueAt(k);
      // A tab index the file does not set reads as 0; the copy's designer gives it a place.
      if (x.PropertyDef(k).name == u"TabIndex" && !x.IsLoaded(u"TabIndex")) return;
      int ky = y.PropertyPosition(x.PropertyDef(k).name);
      EXPECT_GE(ky, 0) << vb::ToUtf8(x.PropertyDef(k).name);
      if (ky < 0) return;
      ide::Variant vy = y.ValueAt(ky);
      const auto type = x.PropertyDef(k).type;
      if (auto* s = std::get_if<std::u16string>(&vx); s && (type == host::PropType::Picture || type == host::PropType::Group)) {
        // The same offset, in the copy's own binary file.
        EXPECT_EQ(vy, ide::Variant(vb::Replace(*s, u"frmSrc.frx", u"frmCopy.frx")));
        return;
      }
      EXPECT_EQ(vy, vx) << vb::ToUtf8(x.name()) << "." << vb::ToUtf8(x.PropertyDef(k).name);
    };
    for (int k = 0; k < a->form()->PropertyCount(); ++k)
      if (a->form()->PropertyDef(k).name != u"Name") same_value(*a->form(), *b->form(), k);
    for (size_t i = 0; i < a->controls().size(); ++i) {
      const auto& x = *a->controls()[i];
      const auto& y = *b->controls()[i];
      EXPECT_EQ(y.name(), x.name());
      EXPECT_EQ(y.parent() ? y.parent()->name() : u"", x.parent() ? x.parent()->name() : u"");
      for (int k = 0; k < x.PropertyCount(); ++k) same_value(x, y, k);
      if (x.GetFont()) {
        EXPECT_EQ(y.GetFont()->values(), x.GetFont()->values());
      }
    }
    EXPECT_EQ(a->Control(u"Text1")->Get(u"Text"), ide::Variant(std::u16string(u"hello")));
    EXPECT_EQ(b->Control(u"Text2")->Get(u"Text"), ide::Variant(std::u16string(u"line1\r\nline2")));
  }
}

TEST(CopyWriterTest, AutoSaveOnFilesWritesOnlyWhatChangedAndNeverANewComponent) {
  test::UiHarness h;
  ResetSettings();
  Fixture f;
  auto [ws, target] = f.Open("Type=Exe\r\nForm=Main.frm\r\nName=\"T\"\r\n");
  HostVBE = ws.vbe;
  ws.projects[0]->Component(u"frmSrc")->code()->InsertLines(1, u"' saved by the timer");
  auto fresh = target->NewComponent(ide::ComponentType::StdModule);  // never saved
  const std::string main_before = f.t.Read("tgt/Main.frm"), vbp_before = f.t.Read("tgt/T.vbp");
  const std::string frx_before = f.t.Read("src/frmSrc.frx"), s_vbp_before = f.t.Read("src/S.vbp");
  const size_t files_before = f.t.FileCount();
  Settings().AutoSaveOn = 1;
  Settings().AutoSaveInterval = 1;
  ProjectToolFromMenu = 0;
  AutoSaveWindow().load_hidden();
  h.AdvanceTime(60 * 1000);
  AutoSaveWindow().unload();
  HostVBE.reset();
  EXPECT_TRUE(h.Messages().empty());
  std::string expected = kForm;
  expected.insert(expected.find("Option Explicit"), "' saved by the timer\r\n");
  EXPECT_EQ(f.t.Read("src/frmSrc.frm"), expected);
  EXPECT_EQ(f.t.Read("src/frmSrc.frx"), frx_before);
  EXPECT_EQ(f.t.Read("src/S.vbp"), s_vbp_before);
  EXPECT_EQ(f.t.Read("tgt/Main.frm"), main_before);
  EXPECT_EQ(f.t.Read("tgt/T.vbp"), vbp_before);  // the new module has no line
  EXPECT_EQ(f.t.FileCount(), files_before);     // and no file, nor temporary files left
  EXPECT_TRUE(fresh->fileNames().empty());
}

}  // namespace
}  // namespace tarno::project
