// Designers loaded from form files, and control properties written back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "host/controls.h"
#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"
#include "temp_project.h"

namespace tarno::host::files {
namespace {

using testing::TempProject;
using vb::U;

const char kFrm[] =
    "VERSION 5.00\r\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form frmMain \r\n"
    "   BorderStyle     =   1  'Fixed Single\r\n"
    "   Caption         =   \"Main\"\r\n"
    "   ClientHeight    =   3000\r\n"
    "   BeginProperty Font \r\n"
    "      Name            =   \"Arial\"\r\n"
    "      Size            =   9.75\r\n"
    "      Charset         =   0\r\n"
    "      Weight          =   700\r\n"
    "      Underline       =   0   'False\r\n"
    "      Italic          =   0   'False\r\n"
    "      Strikethrough   =   0   'False\r\n"
    "   EndProperty\r\n"
    "   Icon            =   \"frmMain.frx\":0000\r\n"
    "   Begin VB.Frame Frame1 \r\n"
    "      Caption         =   \"Group\"\r\n"
    "      Height          =   1500\r\n"
    "      Begin VB.TextBox Text1 \r\n"
    "         Height          =   300\r\n"
    "         Index           =   0\r\n"
    "         TabIndex        =   1\r\n"
    "         Text            =   \"a\"\r\n"
    "      End\r\n"
    "      Begin VB.TextBox Text1 \r\n"
    "         Height          =   300\r\n"
    "         Index           =   1\r\n"
    "         TabIndex        =   2\r\n"
    "         Text            =   \"b\"\r\n"
    "      End\r\n"
    "   End\r\n"
    "   Begin VB.Label Label1 \r\n"
    "      BackColor       =   &H00FFFFFF&\r\n"
    "      Caption         =   \"Name:\"\r\n"
    "      Visible         =   0   'False\r\n"
    "   End\r\n"
    "   Begin MSComctlLib.ListView ListView1 \r\n"
    "      Height          =   1000\r\n"
    "      _ExtentX        =   3000\r\n"
    "      _Version        =   393217\r\n"
    "   End\r\n"
    "   Begin VB.Menu mnuFile \r\n"
    "      Caption         =   \"&File\"\r\n"
    "      Begin VB.Menu mnuOpen \r\n"
    "         Caption         =   \"&Open\"\r\n"
    "      End\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmMain\"\r\n"
    "Option Explicit\r\n";

struct FormFixture {
  TempProject t;
  LoadedWorkspace ws;
  std::shared_ptr<MemComponent> form;
  std::shared_ptr<MemDesigner> d;
  explicit FormFixture(const std::string& frm = kFrm) {
    t.Write("frmMain.frm", frm);
    t.Write("frmMain.frx", std::string("ICONDATA\0\0\0\0", 12));
    t.Write("P.vbp", "Type=Exe\r\nForm=frmMain.frm\r\n");
    ws = LoadPath(t.dir() / "P.vbp", CodePage::Cp932());
    form = ws.projects[0]->components()[0];
    d = form->designer();
  }
  // The file after saving, as a list of differing lines against the original.
  std::string Saved() {
    Save(ws);
    return t.Read("frmMain.frm");
  }
};

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  size_t pos = s.find(from);
  EXPECT_NE(pos, std::string::npos) << from;
  if (pos != std::string::npos) s.replace(pos, from.size(), to);
  return s;
}

TEST(DesignerLoadTest, ControlsContainersArraysMenusAndActiveX) {
  FormFixture f;
  ASSERT_TRUE(f.d);
  EXPECT_TRUE(f.ws.warnings.empty()) << f.ws.warnings[0].ToString();
  auto controls = f.d->VBControls();
  ASSERT_EQ(controls->Count(), 7);
  const char16_t* names[] = {u"Frame1", u"Text1", u"Text1", u"Label1", u"ListView1", u"mnuFile", u"mnuOpen"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(f.d->controls()[size_t(i)]->name(), names[i]);
  EXPECT_EQ(f.d->controls()[1]->index(), 0);
  EXPECT_EQ(f.d->controls()[2]->index(), 1);
  EXPECT_EQ(f.d->controls()[3]->index(), -1);
  EXPECT_EQ(f.d->controls()[1]->parent(), f.d->controls()[0]);
  EXPECT_EQ(f.d->controls()[6]->parent(), f.d->controls()[5]);
  EXPECT_EQ(f.d->ContainedVBControls()->Count(), 4);
  // Typed values.
  auto label = f.d->controls()[3];
  EXPECT_EQ(label->Get(u"Caption"), ide::Variant(std::u16string(u"Name:")));
  EXPECT_EQ(label->Get(u"Visible"), ide::Variant(false));
  EXPECT_EQ(label->Get(u"BackColor"), ide::Variant(int32_t(0xFFFFFF)));
  EXPECT_EQ(f.d->form()->Get(u"BorderStyle"), ide::Variant(int16_t(1)));
  // The font group is the font object.
  auto font = f.form->Properties()->Item(u"Font")->Object();
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Name(), u"Arial");
  EXPECT_DOUBLE_EQ(font->Size(), 9.75);
  EXPECT_TRUE(font->Bold());
  // A picture is a reference to the binary file's bytes.
  EXPECT_EQ(f.d->form()->Get(u"Icon"), ide::Variant(std::u16string(u"\"frmMain.frx\":0000")));
  // An ActiveX control keeps what its file holds.
  EXPECT_EQ(f.d->controls()[4]->ClassName(), u"ListView");
  EXPECT_TRUE(f.d->controls()[4]->Has(u"_ExtentX"));
  EXPECT_FALSE(f.form->IsDirty());
}

TEST(DesignerLoadTest, LongTextsAreReadFromTheBinaryFile) {
  TempProject t;
  t.Write("F.frm",
          "VERSION 5.00\r\nBegin VB.Form F \r\n   Begin VB.Label L \r\n      Caption         =   $\"F.frx\":0004\r\n"
          "   End\r\nEnd\r\nAttribute VB_Name = \"F\"\r\n");
  t.Write("F.frx", std::string("\0\0\0\0\x0D\0\0\0two\r\nlines ok!", 21));
  LoadedWorkspace ws = LoadPath(t.dir() / "F.frm", CodePage::Cp932());
  auto label = ws.projects[0]->components()[0]->designer()->controls().at(0);
  EXPECT_EQ(label->Get(u"Caption"), ide::Variant(std::u16string(u"two\r\nlines ok")));
  EXPECT_EQ(RenderComponent(*ws.projects[0]->components()[0]), t.Read("F.frm"));
}

TEST(DesignerWriteTest, AChangedPropertyRewritesExactlyItsLine) {
  FormFixture f;
  f.d->controls()[3]->Properties()->Item(u"Caption")->SetValue(U("氏名:"));
  EXPECT_TRUE(f.form->IsDirty());
  std::string sjis = CodePage::Cp932().Encode(U("氏名:"));
  auto written = Save(f.ws);
  ASSERT_EQ(written.size(), 1u);  // only the form; the project file is untouched
  EXPECT_EQ(written[0].filename(), "frmMain.frm");
  EXPECT_EQ(f.t.Read("frmMain.frm"), Replace(kFrm, "Caption         =   \"Name:\"", "Caption         =   \"" + sjis + "\""));
}

TEST(DesignerWriteTest, TypesAreWrittenAsVbWritesThem) {
  FormFixture f;
  f.d->form()->Properties()->Item(u"BorderStyle")->SetValue(int16_t(3));
  f.d->controls()[3]->Properties()->Item(u"BackColor")->SetValue(int32_t(0x80000005));
  f.d->controls()[1]->Properties()->Item(u"Height")->SetValue(float(412.5));
  std::string expected = Replace(kFrm, "BorderStyle     =   1  'Fixed Single", "BorderStyle     =   3  'Fixed Dialog");
  expected = Replace(expected, "BackColor       =   &H00FFFFFF&", "BackColor       =   &H80000005&");
  expected = Replace(expected, "         Height          =   300\r\n         Index           =   0",
                     "         Height          =   412.5\r\n         Index           =   0");
  EXPECT_EQ(f.Saved(), expected);
}

TEST(DesignerWriteTest, DefaultValueRemovesTheLineAndANewValueAddsOne) {
  FormFixture f;
  auto label = f.d->controls()[3];
  label->Properties()->Item(u"Visible")->SetValue(true);     // the default: the line goes
  label->Properties()->Item(u"Enabled")->SetValue(false);    // not in the file: a line in name order
  label->Properties()->Item(u"Alignment")->SetValue(int16_t(2));
  std::string expected = Replace(kFrm, "      Visible         =   0   'False\r\n", "");
  expected = Replace(expected, "      BackColor       =   &H00FFFFFF&\r\n",
                     "      Alignment       =   2  'Center\r\n      BackColor       =   &H00FFFFFF&\r\n");
  expected = Replace(expected, "      Caption         =   \"Name:\"\r\n",
                     "      Caption         =   \"Name:\"\r\n      Enabled         =   0   'False\r\n");
  EXPECT_EQ(f.Saved(), expected);
}

TEST(DesignerWriteTest, ChangedAndChangedBackLeavesTheFileIdentical) {
  FormFixture f;
  auto text = f.d->controls()[2];
  text->Properties()->Item(u"Text")->SetValue(std::u16string(u"zzz"));
  text->Properties()->Item(u"Text")->SetValue(std::u16string(u"b"));
  f.form->CodeModule()->InsertLines(1, u"'x");
  f.form->CodeModule()->DeleteLines(1, 1);
  EXPECT_EQ(f.Saved(), kFrm);
}

TEST(DesignerWriteTest, FontGroupsAreRewrittenOrAdded) {
  FormFixture f;
  f.form->Properties()->Item(u"Font")->Object()->SetBold(false);
  auto label_font = f.d->controls()[3]->Properties()->Item(u"Font")->Object();
  label_font->SetName(U("ＭＳ ゴシック"));
  label_font->SetSize(12);
  std::string saved = f.Saved();
  std::string expected = Replace(kFrm, "      Weight          =   700\r\n", "      Weight          =   400\r\n");
  std::string group = "      BeginProperty Font \r\n"
                      "         Name            =   \"" + CodePage::Cp932().Encode(U("ＭＳ ゴシック")) + "\"\r\n"
                      "         Size            =   12\r\n"
                      "         Charset         =   " + std::to_string(label_font->ItemValue(8).index() == 1 ? 0 : std::get<int16_t>(label_font->ItemValue(8))) + "\r\n"
                      // The label had the form's font (bold) when loaded; a later
                      // change of the form's font is not the label's.
                      "         Weight          =   700\r\n"
                      "         Underline       =   0   'False\r\n"
                      "         Italic          =   0   'False\r\n"
                      "         Strikethrough   =   0   'False\r\n"
                      "      EndProperty\r\n";
  expected = Replace(expected, "      Caption         =   \"Name:\"\r\n      Visible",
                     "      Caption         =   \"Name:\"\r\n" + group + "      Visible");
  EXPECT_EQ(saved, expected);
}

TEST(DesignerWriteTest, RenamedAndIndexedControlsAndNewControls) {
  FormFixture f;
  f.d->controls()[3]->Properties()->Item(u"Name")->SetValue(std::u16string(u"lblName"));
  f.d->controls()[2]->Properties()->Item(u"Index")->SetValue(int16_t(5));
  auto added = f.d->ContainedVBControls()->Add(u"VB.CommandButton", nullptr, false);
  std::u16string name = std::get<std::u16string>(added->Properties()->Item(u"Name")->Value());
  std::string saved = f.Saved();
  std::string expected = Replace(kFrm, "Begin VB.Label Label1 ", "Begin VB.Label lblName ");
  expected = Replace(expected, "Index           =   1", "Index           =   5");
  EXPECT_EQ(saved.substr(0, saved.find("   Begin VB.CommandButton")), expected.substr(0, expected.find("End\r\nAttribute")));
  EXPECT_NE(saved.find("   Begin VB.CommandButton " + vb::ToUtf8(name) + " \r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("   End\r\nEnd\r\nAttribute VB_Name"), std::string::npos);
  // Loaded again, the new control is there and nothing else moved.
  LoadedWorkspace again = LoadPath(f.t.dir() / "P.vbp", CodePage::Cp932());
  auto d2 = again.projects[0]->components()[0]->designer();
  ASSERT_EQ(d2->controls().size(), 8u);
  EXPECT_EQ(d2->controls()[7]->name(), name);
  EXPECT_EQ(d2->controls()[3]->name(), u"lblName");
  // A second save after the first writes nothing new.
  EXPECT_EQ(Save(f.ws).size(), 0u);
}

TEST(DesignerWriteTest, ANewFormGetsItsControlsAndTheCopiedPictureBytes) {
  FormFixture f;
  auto& p = *f.ws.projects[0];
  auto copy = p.VBComponents()->Add(ide::ComponentType::VBForm);
  copy->SetName(u"frmCopy");
  // Copy the designer properties and the controls on the form, as a form copy does.
  auto src = f.form->Properties();
  auto dst = copy->Properties();
  for (int k = 1; k <= src->Count(); ++k) {
    if (src->Item(k)->Name() == u"Name") continue;
    if (src->Item(k)->Object()) continue;
    try {
      dst->Item(k)->SetValue(src->Item(k)->Value());
    } catch (const ide::HostError&) {
    }
  }
  auto label = copy->Designer()->ContainedVBControls()->Add(u"VB.Label", nullptr, false);
  label->Properties()->Item(u"Caption")->SetValue(std::u16string(u"Copied"));
  Save(f.ws);
  ASSERT_TRUE(f.t.Exists("frmCopy.frm"));
  std::string frm = f.t.Read("frmCopy.frm");
  EXPECT_EQ(frm.rfind("VERSION 5.00\r\nBegin VB.Form frmCopy \r\n", 0), 0u) << frm;
  EXPECT_NE(frm.find("   BorderStyle     =   1  'Fixed Single\r\n"), std::string::npos) << frm;
  EXPECT_NE(frm.find("   Icon            =   \"frmCopy.frx\":0000\r\n"), std::string::npos) << frm;
  EXPECT_NE(frm.find("      Caption         =   \"Copied\"\r\n"), std::string::npos) << frm;
  EXPECT_NE(frm.find("Attribute VB_Name = \"frmCopy\"\r\n"), std::string::npos);
  EXPECT_EQ(f.t.Read("frmCopy.frx"), f.t.Read("frmMain.frx"));
  EXPECT_NE(f.t.Read("P.vbp").find("Form=frmCopy.frm\r\n"), std::string::npos);
  // The written form loads again with its control.
  LoadedWorkspace again = LoadPath(f.t.dir() / "P.vbp", CodePage::Cp932());
  ASSERT_EQ(again.projects[0]->components().size(), 2u);
  EXPECT_EQ(again.projects[0]->components()[1]->designer()->controls().size(), 1u);
}

// Deleting controls read from the file: their blocks leave it (with what
// they hold), every other byte stays; restored (an undo), nothing changes.
TEST(DesignerWriteTest, DeletedControlsLeaveTheirBlocksAndNothingElse) {
  const std::string frame =
      "   Begin VB.Frame Frame1 \r\n      Caption         =   \"Group\"\r\n      Height          =   1500\r\n"
      "      Begin VB.TextBox Text1 \r\n         Height          =   300\r\n         Index           =   0\r\n"
      "         TabIndex        =   1\r\n         Text            =   \"a\"\r\n      End\r\n"
      "      Begin VB.TextBox Text1 \r\n         Height          =   300\r\n         Index           =   1\r\n"
      "         TabIndex        =   2\r\n         Text            =   \"b\"\r\n      End\r\n   End\r\n";
  const std::string label =
      "   Begin VB.Label Label1 \r\n      BackColor       =   &H00FFFFFF&\r\n      Caption         =   \"Name:\"\r\n"
      "      Visible         =   0   'False\r\n   End\r\n";
  const std::string listView =
      "   Begin MSComctlLib.ListView ListView1 \r\n      Height          =   1000\r\n      _ExtentX        =   3000\r\n"
      "      _Version        =   393217\r\n   End\r\n";
  const std::string open = "      Begin VB.Menu mnuOpen \r\n         Caption         =   \"&Open\"\r\n      End\r\n";
  const struct {
    std::vector<int> removed;  // positions in the designer's list
    std::string expected;
  } cases[] = {
      {{3}, Replace(kFrm, label, "")},
      {{0}, Replace(kFrm, frame, "")},  // a container with a control array in it
      {{6}, Replace(kFrm, open, "")},   // a menu item
      {{4, 3}, Replace(Replace(kFrm, label, ""), listView, "")},
      {{2, 0}, Replace(kFrm, frame, "")},  // a child and its container together
  };
  for (const auto& c : cases) {
    FormFixture f;
    std::vector<std::shared_ptr<MemControl>> chosen;
    for (int i : c.removed) chosen.push_back(f.d->controls()[size_t(i)]);
    f.d->SetSelected({f.d->controls()[1], f.d->controls()[5]});
    auto removal = f.d->RemoveControls(chosen);
    EXPECT_TRUE(f.form->IsDirty());
    for (const auto& gone : chosen) {
      EXPECT_EQ(std::find(f.d->controls().begin(), f.d->controls().end(), gone), f.d->controls().end());
      EXPECT_EQ(std::find(f.d->selected().begin(), f.d->selected().end(), gone), f.d->selected().end());
    }
    // Put back, the form is as loaded: a save leaves the file as it was.
    const auto all = f.d->controls();
    f.d->Restore(removal);
    ASSERT_EQ(f.d->controls().size(), 7u);
    EXPECT_EQ(f.d->selected().size(), 2u);
    EXPECT_EQ(f.Saved(), kFrm);
    f.d->RemoveControls(chosen);
    EXPECT_EQ(f.d->controls(), all);
    EXPECT_EQ(f.Saved(), c.expected) << c.removed[0];
    EXPECT_EQ(f.t.Read("frmMain.frx"), std::string("ICONDATA\0\0\0\0", 12));
    // Loaded again, the rest is there as it was.
    LoadedWorkspace again = LoadPath(f.t.dir() / "P.vbp", CodePage::Cp932());
    EXPECT_EQ(again.projects[0]->components()[0]->designer()->controls().size(), all.size());
  }
  FormFixture f;
  EXPECT_THROW(f.d->RemoveControls({f.d->form()}), ide::HostError);
}

// A tab strip lists its tabs' controls: deleting one closes its tab's list
// up (the entries after it move up, the last lines go, the count drops).
TEST(DesignerWriteTest, DeletingAControlOfATabStripClosesUpItsTabsList) {
  const std::string head =
      "VERSION 5.00\r\n"
      "Object = \"{BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0\"; \"TABCTL32.OCX\"\r\n"
      "Begin VB.Form frmMain \r\n"
      "   Caption         =   \"Main\"\r\n"
      "   Begin TabDlg.SSTab SSTab1 \r\n"
      "      Height          =   3000\r\n"
      "      TabIndex        =   0\r\n"
      "      Tab             =   0\r\n"
      "      TabCaption(0)   =   \"One\"\r\n"
      "      Tab(0).ControlEnabled=   -1  'True\r\n";
  const std::string tail =
      "      TabCaption(1)   =   \"Two\"\r\n"
      "      Tab(1).ControlEnabled=   0   'False\r\n"
      "      Tab(1).Control(0)=   \"Text2\"\r\n"
      "      Tab(1).ControlCount=   1\r\n"
      "      Begin VB.TextBox Text1 \r\n"
      "         Index           =   0\r\n"
      "         TabIndex        =   1\r\n"
      "      End\r\n"
      "      Begin VB.TextBox Text1 \r\n"
      "         Index           =   1\r\n"
      "         TabIndex        =   2\r\n"
      "      End\r\n"
      "      Begin VB.CheckBox Check1 \r\n"
      "         TabIndex        =   3\r\n"
      "      End\r\n"
      "      Begin VB.TextBox Text2 \r\n"
      "         Left            =   -74000\r\n"
      "         TabIndex        =   4\r\n"
      "      End\r\n"
      "   End\r\n"
      "End\r\n"
      "Attribute VB_Name = \"frmMain\"\r\n";
  const std::string list =
      "      Tab(0).Control(0)=   \"Text1(0)\"\r\n"
      "      Tab(0).Control(0).Enabled=   0   'False\r\n"
      "      Tab(0).Control(1)=   \"Text1(1)\"\r\n"
      "      Tab(0).Control(1).Enabled=   -1  'True\r\n"
      "      Tab(0).Control(2)=   \"Check1\"\r\n"
      "      Tab(0).Control(2).Enabled=   0   'False\r\n"
      "      Tab(0).ControlCount=   3\r\n";
  FormFixture f(head + list + tail);
  ASSERT_EQ(f.d->controls().size(), 5u);
  f.d->RemoveControls({f.d->Control(u"Text1", 1)});
  const std::string closed =
      "      Tab(0).Control(0)=   \"Text1(0)\"\r\n"
      "      Tab(0).Control(0).Enabled=   0   'False\r\n"
      "      Tab(0).Control(1)=   \"Check1\"\r\n"
      "      Tab(0).Control(1).Enabled=   0   'False\r\n"
      "      Tab(0).ControlCount=   2\r\n";
  std::string expected = Replace(head + closed + tail,
                                 "      Begin VB.TextBox Text1 \r\n         Index           =   1\r\n"
                                 "         TabIndex        =   2\r\n      End\r\n", "");
  expected = Replace(Replace(expected, "TabIndex        =   3", "TabIndex        =   2"), "TabIndex        =   4",
                     "TabIndex        =   3");
  EXPECT_EQ(f.Saved(), expected);
}

// The tab order closes up over deleted controls, as the IDE renumbers it:
// on a real form, deleting a frame with four controls in it changes, besides
// its block, only the TabIndex lines of the controls after them in the tab
// order, each less by the number of deleted ones before it.
TEST(DesignerWriteTest, DeletingControlsClosesUpTheTabOrder) {
  TempProject t;
  std::filesystem::copy(std::filesystem::path(TARNO_CORPUS_DIR) / "dtinth__UCN-BMSE/BMSE", t.dir(),
                        std::filesystem::copy_options::recursive);
  for (auto& e : std::filesystem::recursive_directory_iterator(t.dir()))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  LoadedWorkspace ws = LoadPath(t.dir() / "BMSE.vbp", CodePage::Cp932());
  auto form = ws.projects[0]->Component(u"frmWindowFind");
  ASSERT_TRUE(form);
  const std::filesystem::path file = t.dir() / "frmWindowFind.frm";
  const std::string source = ReadFileBytes(file);
  auto d = form->designer();
  auto victim = d->Control(u"fraSearchNum");
  ASSERT_TRUE(victim);
  std::vector<int> gone;
  for (const auto& c : d->controls())
    for (auto p = c; p; p = p->parent())
      if (p == victim) gone.push_back(std::get<int16_t>(*c->Get(u"TabIndex")));
  ASSERT_EQ(gone.size(), 5u);
  d->RemoveControls({victim});
  Save(ws);
  auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at);
      end = end == std::string::npos ? text.size() : end + 1;
      out.push_back(text.substr(at, end - at));
      at = end;
    }
    return out;
  };
  auto tabOf = [](const std::string& line) { return std::atoi(line.c_str() + line.find('=') + 1); };
  const auto a = lines(source), b = lines(ReadFileBytes(file));
  size_t from = 0;
  while (from < a.size() && a[from].find("Begin VB.Frame fraSearchNum ") == std::string::npos) ++from;
  ASSERT_LT(from, a.size());
  const size_t indent = a[from].find_first_not_of(' ');
  size_t to = from + 1;
  while (to < a.size() && (a[to].find_first_not_of(' ') != indent || a[to].compare(indent, 3, "End") != 0)) ++to;
  ASSERT_EQ(a.size() - (to - from + 1), b.size());
  int renumbered = 0;
  for (size_t i = 0, j = 0; i < a.size(); ++i) {
    if (i >= from && i <= to) continue;
    const bool tab = a[i].find(" TabIndex ") != std::string::npos;
    const int below = tab ? int(std::count_if(gone.begin(), gone.end(), [&](int g) { return g < tabOf(a[i]); })) : 0;
    if (tab) {
      EXPECT_EQ(tabOf(b[j]), tabOf(a[i]) - below) << a[i];
    }
    if (a[i] != b[j]) {
      EXPECT_TRUE(tab && below > 0) << a[i] << b[j];
      EXPECT_EQ(b[j].substr(0, b[j].find('=')), a[i].substr(0, a[i].find('=')));
      ++renumbered;
    }
    ++j;
  }
  EXPECT_GT(renumbered, 10);
}

// Binary values join the form's own binary file at the save, after what it
// holds: a picture the designer held (from a file, from another form) and
// a new control's text too long for a line. Every other byte stays.
TEST(DesignerWriteTest, HeldPicturesAndLongTextsJoinTheBinaryFile) {
  FormFixture f;
  const std::string record = std::string("\x0b\0\0\0lt\0\0\x03\0\0\0BMP", 15);
  const std::u16string held = f.d->HoldBinary(record);
  f.form->Properties()->Item(u"Icon")->SetValue(std::u16string(u"\"" + held + u"\":0000"));
  auto box = f.d->ContainedVBControls()->Add(u"VB.TextBox", nullptr, false);
  box->Properties()->Item(u"MultiLine")->SetValue(true);
  box->Properties()->Item(u"Text")->SetValue(std::u16string(u"two\r\nlines"));
  const std::string saved = f.Saved();
  EXPECT_EQ(f.t.Read("frmMain.frx"), std::string("ICONDATA\0\0\0\0", 12) + record + std::string("\x0a\0\0\0two\r\nlines", 14));
  const std::string kept = Replace(kFrm, "Icon            =   \"frmMain.frx\":0000", "Icon            =   \"frmMain.frx\":000C");
  EXPECT_EQ(saved.substr(0, saved.find("   Begin VB.TextBox Text2 ")), kept.substr(0, kept.find("End\r\nAttribute")));
  EXPECT_NE(saved.find("      Text            =   $\"frmMain.frx\":001B\r\n"), std::string::npos) << saved;
  // The model names the file now; loaded again, the text is there.
  EXPECT_EQ(f.d->form()->Get(u"Icon"), ide::Variant(std::u16string(u"\"frmMain.frx\":000C")));
  EXPECT_TRUE(f.d->held_binaries().empty());
  LoadedWorkspace again = LoadPath(f.t.dir() / "P.vbp", CodePage::Cp932());
  auto text2 = again.projects[0]->components()[0]->designer()->Control(u"Text2");
  ASSERT_TRUE(text2);
  EXPECT_EQ(text2->Get(u"Text"), ide::Variant(std::u16string(u"two\r\nlines")));
  EXPECT_EQ(Save(f.ws).size(), 0u);
}

// A control pasted from another form keeps its values and, for an ActiveX
// control, brings its library's Object line into a file that lacks it.
TEST(DesignerWriteTest, APastedActiveXControlBringsItsObjectLine) {
  TempProject t;
  t.Write("frmMain.frm", kFrm);
  t.Write("frmMain.frx", std::string("ICONDATA\0\0\0\0", 12));
  const std::string form2 =
      "VERSION 5.00\r\nBegin VB.Form Form2 \r\n   Caption         =   \"Two\"\r\nEnd\r\n"
      "Attribute VB_Name = \"Form2\"\r\n";
  t.Write("Form2.frm", form2);
  t.Write("P.vbp", "Type=Exe\r\nForm=frmMain.frm\r\nForm=Form2.frm\r\n");
  LoadedWorkspace ws = LoadPath(t.dir() / "P.vbp", CodePage::Cp932());
  auto from = ws.projects[0]->components()[0]->designer();
  auto to = ws.projects[0]->components()[1]->designer();
  auto copy = from->Control(u"ListView1")->Copy();
  to->InsertCopy(copy, nullptr);
  EXPECT_THROW(to->InsertCopy(from->Control(u"ListView1")->Copy(), nullptr), ide::HostError);  // the name is taken
  Save(ws);
  EXPECT_EQ(t.Read("Form2.frm"),
            "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
            "Begin VB.Form Form2 \r\n   Caption         =   \"Two\"\r\n"
            "   Begin MSComctlLib.ListView ListView1 \r\n      Height          =   1000\r\n"
            "      Left            =   0\r\n      Top             =   0\r\n      Width           =   1215\r\n"
            "      _ExtentX        =   3000\r\n      _Version        =   393217\r\n   End\r\n"
            "End\r\nAttribute VB_Name = \"Form2\"\r\n");
  EXPECT_EQ(t.Read("frmMain.frm"), kFrm);
}

TEST(DesignerWriteTest, AValueThatCannotBeWrittenFailsTheSave) {
  FormFixture f;
  f.d->controls()[3]->Properties()->Item(u"Caption")->SetValue(std::u16string(u"two\r\nlines"));
  EXPECT_THROW(f.form->SaveAs(f.form->FileNames(1)), ide::HostError);
  EXPECT_EQ(f.t.Read("frmMain.frm"), kFrm);
}

}  // namespace
}  // namespace tarno::host::files
