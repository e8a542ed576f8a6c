// Loading projects into the host and saving them back.
#include <gtest/gtest.h>

#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"
#include "temp_project.h"

namespace tarno::host::files {
namespace {

using testing::TempProject;
using vb::U;

std::string Sjis(std::string_view utf8) { return CodePage::Cp932().Encode(U(utf8)); }

const char kClass[] =
    "VERSION 1.0 CLASS\r\n"
    "BEGIN\r\n"
    "  MultiUse = -1  'True\r\n"
    "END\r\n"
    "Attribute VB_Name = \"cItem\"\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Public Property Get Value() As Long\r\n"
    "Attribute Value.VB_UserMemId = 0\r\n"
    "  Value = 1\r\n"
    "End Property\r\n";

const char kMdi[] =
    "VERSION 5.00\r\n"
    "Begin VB.MDIForm MDIMain \r\n"
    "   Caption         =   \"Main\"\r\n"
    "End\r\n"
    "Attribute VB_Name = \"MDIMain\"\r\n"
    "Option Explicit\r\n";

struct Fixture {
  TempProject t;
  std::filesystem::path vbp;
  Fixture() {
    vbp = t.Write("App.vbp",
                  "Type=OleDll\r\n"
                  "Module=modMain; codigo\\Main.bas\r\n"
                  "Class=cItem; cItem.cls\r\n"
                  "Form=MDIMain.frm\r\n"
                  "Module=NoAttr; NoAttr.bas\r\n"
                  "ResFile32=\"gone.RES\"\r\n"
                  "Startup=\"Sub Main\"\r\n"
                  "\r\n"
                  "[Settings]\r\n"
                  "Whatever=1\r\n");
    // The folder's case differs from the .vbp line, as on a Windows disk.
    t.Write("CODIGO/Main.bas", "Attribute VB_Name = \"modMain\"\r\nOption Explicit\r\n" + Sjis("' 日本語のコメント") + "\r\n");
    t.Write("cItem.cls", kClass);
    t.Write("MDIMain.frm", kMdi);
    t.Write("NoAttr.bas", "Option Explicit\nPublic x As Long\n");
  }
};

TEST(LoaderTest, ProjectNameTypeComponentsAndCode) {
  Fixture f;
  LoadedWorkspace ws = LoadPath(f.vbp, CodePage::Cp932());
  ASSERT_EQ(ws.projects.size(), 1u);
  auto& p = *ws.projects[0];
  EXPECT_EQ(p.Name(), u"App");  // no Name= key: the file's base name
  EXPECT_EQ(p.Type(), ide::ProjectType::ActiveXDll);
  EXPECT_TRUE(p.Saved());
  ASSERT_EQ(p.components().size(), 4u);  // the missing resource file is left out
  EXPECT_EQ(p.components()[0]->Name(), u"modMain");
  EXPECT_EQ(p.components()[0]->Type(), ide::ComponentType::StdModule);
  EXPECT_EQ(p.components()[1]->Type(), ide::ComponentType::ClassModule);
  EXPECT_EQ(p.components()[2]->Type(), ide::ComponentType::MDIForm);
  EXPECT_EQ(p.components()[3]->Name(), u"NoAttr");  // from the .vbp line
  ASSERT_EQ(ws.warnings.size(), 1u);
  EXPECT_EQ(ws.warnings[0].line, 6);

  auto main = p.components()[0]->CodeModule();
  EXPECT_EQ(main->CountOfLines(), 2);
  EXPECT_EQ(main->Lines(2, 1), U("' 日本語のコメント"));
  // The class's header and member attribute are not code lines.
  auto cls = p.components()[1]->CodeModule();
  EXPECT_EQ(cls->CountOfLines(), 4);
  EXPECT_EQ(cls->Lines(1, 2), u"Option Explicit\r\nPublic Property Get Value() As Long");
  EXPECT_EQ(cls->ProcBodyLine(u"Value", ide::ProcKind::Get), 2);
  EXPECT_EQ(p.components()[3]->CodeModule()->CountOfLines(), 2);
}

TEST(LoaderTest, NameKeyAndSingleFile) {
  TempProject t;
  auto vbp = t.Write("x.vbp", "Type=Control\r\nName=\"MyCtl\"\r\n");
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  EXPECT_EQ(ws.projects[0]->Name(), u"MyCtl");
  EXPECT_EQ(ws.projects[0]->Type(), ide::ProjectType::ActiveXControl);

  auto cls = t.Write("Alone.cls", kClass);
  LoadedWorkspace one = LoadPath(cls, CodePage::Cp932());
  ASSERT_EQ(one.projects[0]->components().size(), 1u);
  EXPECT_EQ(one.projects[0]->components()[0]->Name(), u"cItem");
}

TEST(LoaderTest, TypeOfEachComponentKind) {
  TempProject t;
  auto designer_file = [](const std::string& cls, const std::string& name) {
    return "VERSION 5.00\r\nBegin " + cls + " " + name + " \r\nEnd\r\nAttribute VB_Name = \"" + name + "\"\r\n";
  };
  t.Write("Page.pag", designer_file("VB.PropertyPage", "Page1"));
  t.Write("Doc.dob", designer_file("VB.UserDocument", "Doc1"));
  t.Write("Ctl.ctl", designer_file("VB.UserControl", "Ctl1"));
  t.Write("Env.dsr", designer_file("{C0E45035-5775-11D0-B388-00A0C9055D8E}", "DataEnvironment1"));
  t.Write("Frm2.dsr", designer_file("{C62A69F0-16DC-11CE-9E98-00AA00574A4F}", "UserForm1"));
  t.Write("Notes.txt", "free text\r\n");
  auto vbp = t.Write("K.vbp",
                     "Type=Control\r\nPropertyPage=Page.pag\r\nUserDocument=Doc.dob\r\nUserControl=Ctl.ctl\r\n"
                     "Designer=Env.dsr\r\nDesigner=Frm2.dsr\r\nRelatedDoc=Notes.txt\r\n");
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  const auto& cs = ws.projects[0]->components();
  ASSERT_EQ(cs.size(), 6u);
  const int types[] = {ide::ComponentType::PropPage, ide::ComponentType::DocObject, ide::ComponentType::UserControl,
                       ide::ComponentType::ActiveXDesigner, ide::ComponentType::MSForm,
                       ide::ComponentType::RelatedDocument};
  for (size_t i = 0; i < cs.size(); ++i) EXPECT_EQ(cs[i]->Type(), types[i]) << i;
  EXPECT_EQ(cs[0]->Name(), u"Page1");
  EXPECT_EQ(cs[5]->Name(), u"Notes");
  EXPECT_FALSE(cs[5]->CodeModule());
  for (const auto& c : cs) EXPECT_EQ(RenderComponent(*c), ReadFileBytes(ToPath(c->FileNames(1))));
}

TEST(LoaderTest, GroupLoadsProjectsInOrder) {
  Fixture f;
  f.t.Write("B/B.vbp", "Type=Exe\r\nName=\"Bee\"\r\n");
  auto vbg = f.t.Write("G.vbg", "VBGROUP 5.0\r\nProject=b\\b.vbp\r\nStartupProject=App.vbp\r\nProject=Gone.vbp\r\n");
  LoadedWorkspace ws = LoadPath(vbg, CodePage::Cp932());
  ASSERT_EQ(ws.projects.size(), 2u);
  EXPECT_EQ(ws.projects[0]->Name(), u"Bee");
  EXPECT_EQ(ws.projects[1]->Name(), u"App");
  EXPECT_EQ(ws.vbe->VBProjects()->Item(2)->Name(), u"App");
  bool warned = false;
  for (const auto& w : ws.warnings) warned |= (w.line == 4 && w.file == vbg);
  EXPECT_TRUE(warned);
}

TEST(LoaderTest, SavingWritesOnlyChangedComponents) {
  Fixture f;
  LoadedWorkspace ws = LoadPath(f.vbp, CodePage::Cp932());
  EXPECT_TRUE(Save(ws).empty());
  auto cls = ws.projects[0]->components()[1];
  cls->CodeModule()->InsertLines(2, U("' 追加"));
  auto written = Save(ws);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].filename(), "cItem.cls");
  std::string expected = kClass;
  expected.insert(expected.find("Public Property"), Sjis("' 追加") + "\r\n");
  EXPECT_EQ(f.t.Read("cItem.cls"), expected);
  EXPECT_FALSE(cls->IsDirty());
  EXPECT_TRUE(Save(ws).empty());
}

TEST(LoaderTest, EditAndUndoLeavesEveryKindOfFileIdentical) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::string sjis_invalid = "Attribute VB_Name = \"M\"\r\n' \x81\x20 bad\r\nDim a\r\n";
  for (const Case& c : {Case{"lf.bas", "Attribute VB_Name = \"M\"\nDim a\nDim b\n"},
                        Case{"mixed.bas", "Attribute VB_Name = \"M\"\r\nDim a\nDim b\r\n"},
                        Case{"nofinal.bas", "Attribute VB_Name = \"M\"\r\nDim a\r\nDim b"},
                        Case{"bom.bas", "\xEF\xBB\xBF" "Attribute VB_Name = \"M\"\r\nDim a\r\n"},
                        Case{"invalid.bas", sjis_invalid}}) {
    TempProject t;
    auto path = t.Write(c.name, c.bytes);
    LoadedWorkspace ws = LoadPath(path, CodePage::Cp932());
    auto comp = ws.projects[0]->components()[0];
    auto code = comp->CodeModule();
    std::u16string first = code->Lines(1, 1);
    code->DeleteLines(1, 1);
    code->InsertLines(1, first);
    EXPECT_TRUE(comp->IsDirty());
    Save(ws);
    EXPECT_EQ(t.Read(c.name), c.bytes) << c.name;
  }
}

TEST(LoaderTest, NewLinesTakeTheFilesOwnLineEnds) {
  TempProject t;
  auto path = t.Write("lf.bas", "Attribute VB_Name = \"M\"\nDim a\nDim b");
  LoadedWorkspace ws = LoadPath(path, CodePage::Cp932());
  auto code = ws.projects[0]->components()[0]->CodeModule();
  code->InsertLines(2, u"Dim x");
  code->InsertLines(4, u"Dim z");
  Save(ws);
  // LF-only stays LF-only; the missing final line end stays missing.
  EXPECT_EQ(t.Read("lf.bas"), "Attribute VB_Name = \"M\"\nDim a\nDim x\nDim b\nDim z");
}

TEST(LoaderTest, InvalidBytesAreAWarningAndKept) {
  TempProject t;
  auto path = t.Write("bad.bas", "Attribute VB_Name = \"M\"\r\nDim a\r\n' \xFF\xFE\r\n");
  LoadedWorkspace ws = LoadPath(path, CodePage::Cp932());
  ASSERT_EQ(ws.warnings.size(), 1u);
  EXPECT_EQ(ws.warnings[0].line, 3);
  EXPECT_NE(ws.warnings[0].ToString().find("bad.bas:3"), std::string::npos);
  EXPECT_EQ(RenderComponent(*ws.projects[0]->components()[0]), t.Read("bad.bas"));
}

TEST(LoaderTest, BadInputFailsTheLoadNamingFileAndLine) {
  TempProject t;
  auto expect_error = [&](const std::filesystem::path& path, const std::string& file, int line) {
    size_t before = t.FileCount();
    try {
      LoadPath(path, CodePage::Cp932());
      ADD_FAILURE() << "no error for " << path;
    } catch (const ProjectFileError& e) {
      EXPECT_EQ(e.file().filename(), file) << e.what();
      EXPECT_EQ(e.line(), line) << e.what();
    }
    EXPECT_EQ(t.FileCount(), before);  // nothing written
  };
  t.Write("Form1.frm", std::string(kMdi));
  // (A missing component file is no error: the project loads without it, see
  // missing_component_test.cpp.)
  // Unbalanced Begin/End in a component: the component file and its Begin line.
  t.Write("Trunc.frm", "VERSION 5.00\r\nBegin VB.Form F \r\n   Caption = \"x\"\r\n");
  expect_error(t.Write("Trunc.vbp", "Type=Exe\r\nForm=Trunc.frm\r\n"), "Trunc.frm", 2);
  // A binary file where a module should be.
  t.Write("Bin.bas", std::string("Attribute VB_Name = \"B\"\r\n\x01\x00\x02", 28));
  expect_error(t.Write("Bin.vbp", "Type=Exe\r\nModule=B; Bin.bas\r\n"), "Bin.bas", 2);
  // Not a project file at all.
  expect_error(t.Write("notes.txt", "hello"), "notes.txt", 0);
  expect_error(t.dir() / "absent.vbp", "absent.vbp", 0);
}

TEST(LoaderTest, UnknownProjectLinesAreWarningsAndKept) {
  TempProject t;
  std::string bytes = "Type=Exe\r\nGarbage line\r\nMysteryKey=3\r\nName=\"P\"\r\n";
  auto vbp = t.Write("P.vbp", bytes);
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  ASSERT_EQ(ws.warnings.size(), 2u);
  EXPECT_EQ(ws.warnings[0].line, 2);
  EXPECT_EQ(ws.warnings[1].line, 3);
  EXPECT_EQ(RenderProject(*ws.projects[0]), bytes);
}

TEST(LoaderTest, NewComponentGetsAFileBesideTheProjectAndALine) {
  Fixture f;
  LoadedWorkspace ws = LoadPath(f.vbp, CodePage::Cp932());
  auto& p = *ws.projects[0];
  auto added = p.VBComponents()->Add(ide::ComponentType::StdModule);
  added->SetName(u"modNew");
  added->CodeModule()->InsertLines(1, U("Option Explicit\r\n' 新しい"));
  EXPECT_FALSE(p.Saved());
  Save(ws);
  ASSERT_TRUE(f.t.Exists("modNew.bas"));
  EXPECT_EQ(f.t.Read("modNew.bas"), "Attribute VB_Name = \"modNew\"\r\nOption Explicit\r\n" + Sjis("' 新しい") + "\r\n");
  EXPECT_EQ(f.t.Read("App.vbp"),
            "Type=OleDll\r\n"
            "Module=modMain; codigo\\Main.bas\r\n"
            "Class=cItem; cItem.cls\r\n"
            "Form=MDIMain.frm\r\n"
            "Module=NoAttr; NoAttr.bas\r\n"
            "ResFile32=\"gone.RES\"\r\n"
            "Module=modNew; modNew.bas\r\n"
            "Startup=\"Sub Main\"\r\n"
            "\r\n"
            "[Settings]\r\n"
            "Whatever=1\r\n");
  EXPECT_EQ(added->FileNames(1), FromPath(f.t.dir() / "modNew.bas"));
  EXPECT_TRUE(p.Saved());
  // Saving again adds no second line.
  added->CodeModule()->InsertLines(1, u"'x");
  Save(ws);
  std::string vbp = f.t.Read("App.vbp");
  EXPECT_EQ(vbp.find("modNew.bas"), vbp.rfind("modNew.bas"));
}

TEST(LoaderTest, SaveAsWritesTheNewFileAndCopiesTheBinaryFile) {
  TempProject t;
  std::string frm =
      "VERSION 5.00\r\n"
      "Begin VB.Form frmA \r\n"
      "   Icon            =   \"frmA.frx\":0000\r\n"
      "   Begin VB.Label Label1 \r\n"
      "      Caption         =   $\"frmA.frx\":0010\r\n"
      "   End\r\n"
      "End\r\n"
      "Attribute VB_Name = \"frmA\"\r\n";
  t.Write("frmA.frm", frm);
  t.Write("frmA.frx", std::string("\x01\x02\x03\x00\x04", 5));
  auto vbp = t.Write("P.vbp", "Type=Exe\r\nForm=frmA.frm\r\n");
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  auto c = ws.projects[0]->components()[0];
  c->SaveAs(FromPath(t.dir() / "frmB.frm"));
  std::string expected = frm;
  for (size_t pos; (pos = expected.find("\"frmA.frx\"")) != std::string::npos;) expected.replace(pos, 10, "\"frmB.frx\"");
  EXPECT_EQ(t.Read("frmB.frm"), expected);
  EXPECT_EQ(t.Read("frmB.frx"), t.Read("frmA.frx"));
  EXPECT_EQ(t.Read("frmA.frm"), frm);  // the old file stays
  // The project now names the new file.
  ws.projects[0]->SaveAs(ws.projects[0]->FileName());
  EXPECT_EQ(t.Read("P.vbp"), "Type=Exe\r\nForm=frmB.frm\r\n");
}

TEST(LoaderTest, ProjectSaveAsElsewhereAndRenamedModules) {
  Fixture f;
  LoadedWorkspace ws = LoadPath(f.vbp, CodePage::Cp932());
  auto& p = *ws.projects[0];
  p.components()[3]->SetName(u"Renamed");
  std::filesystem::create_directories(f.t.dir() / "out");
  p.SaveAs(FromPath(f.t.dir() / "out" / "Copy.vbp"));
  // Lines lead to the same files from the new place (also the line of a file
  // missing at the load); the renamed module's line has its new name.
  EXPECT_EQ(f.t.Read("out/Copy.vbp"),
            "Type=OleDll\r\n"
            "Module=modMain; ..\\CODIGO\\Main.bas\r\n"
            "Class=cItem; ..\\cItem.cls\r\n"
            "Form=..\\MDIMain.frm\r\n"
            "Module=Renamed; ..\\NoAttr.bas\r\n"
            "ResFile32=\"..\\gone.RES\"\r\n"
            "Startup=\"Sub Main\"\r\n"
            "\r\n"
            "[Settings]\r\n"
            "Whatever=1\r\n");
  EXPECT_EQ(p.FileName(), FromPath(f.t.dir() / "out" / "Copy.vbp"));
}

TEST(LoaderTest, AFailedSaveLeavesTheOldFileWhole) {
  Fixture f;
  LoadedWorkspace ws = LoadPath(f.vbp, CodePage::Cp932());
  auto c = ws.projects[0]->components()[1];
  c->CodeModule()->InsertLines(1, u"'x");
  EXPECT_THROW(c->SaveAs(FromPath(f.t.dir() / "no" / "such" / "dir" / "c.cls")), ide::HostError);
  EXPECT_EQ(f.t.Read("cItem.cls"), kClass);
  EXPECT_TRUE(c->IsDirty());
}

}  // namespace
}  // namespace tarno::host::files
