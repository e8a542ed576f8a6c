// Byte-level structure of project and component files: lines, line ends,
// the hidden header and the designer tree.
#include <gtest/gtest.h>

#include "host/files/component_file.h"
#include "host/files/text_lines.h"
#include "host/files/vbp_file.h"

namespace tarno::host::files {
namespace {

using Kind = DesignerNode::Kind;

TEST(TextLinesTest, KeepsEveryLineEndAndTheBom) {
  struct Case {
    std::string bytes;
    size_t lines;
    bool bom;
    bool missing_final;
  };
  for (const Case& c : {Case{"", 0, false, false}, Case{"a\r\nb\r\n", 2, false, false}, Case{"a\nb\n", 2, false, false},
                        Case{"a\r\nb\nc", 3, false, true}, Case{"\xEF\xBB\xBF" "x\r\n", 1, true, false},
                        Case{"a\rb\r\n", 1, false, false}, Case{"\n\n", 2, false, false}}) {
    TextLines t = TextLines::Parse(c.bytes);
    EXPECT_EQ(t.size(), c.lines) << c.bytes;
    EXPECT_EQ(t.bom(), c.bom) << c.bytes;
    EXPECT_EQ(t.MissingFinalEnd(), c.missing_final) << c.bytes;
    EXPECT_EQ(t.Join(), c.bytes);
  }
  TextLines mixed = TextLines::Parse("a\r\nb\nc\r\nd");
  EXPECT_EQ(mixed.end(0), LineEnd::CrLf);
  EXPECT_EQ(mixed.end(1), LineEnd::Lf);
  EXPECT_EQ(mixed.end(3), LineEnd::None);
  EXPECT_EQ(mixed.Dominant(), LineEnd::CrLf);
  EXPECT_EQ(TextLines::Parse("a\nb\nc\r\n").Dominant(), LineEnd::Lf);
  // A lone CR is part of the line.
  EXPECT_EQ(TextLines::Parse("a\rb\r\n").line(0), "a\rb");
}

const char kForm[] =
    "VERSION 5.00\r\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form Form1 \r\n"
    "   Caption         =   \"Form1\"\r\n"
    "   BeginProperty Font \r\n"
    "      Name            =   \"MS UI Gothic\"\r\n"
    "      Size            =   9\r\n"
    "   EndProperty\r\n"
    "   Begin VB.Frame Frame1 \r\n"
    "      Height          =   1000\r\n"
    "      Begin VB.CommandButton Command1 \r\n"
    "         Index           =   0\r\n"
    "      End\r\n"
    "   End\r\n"
    "   Begin VB.Menu mnuFile \r\n"
    "      Caption         =   \"File\"\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"Form1\"\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Attribute VB_Name = \"NotHeader\"\r\n";

TEST(ComponentFileTest, FormHeaderAndDesignerTree) {
  Warnings w;
  ComponentFile f = ComponentFile::Parse("Form1.frm", kForm, &w);
  EXPECT_TRUE(w.empty());
  EXPECT_EQ(f.header_end(), 20u);
  ASSERT_EQ(f.body_size(), 2u);
  EXPECT_EQ(f.body_line(0), "Option Explicit");
  EXPECT_EQ(f.VbName(), "Form1");
  ASSERT_EQ(f.attributes().size(), 2u);
  int root = f.designer_root();
  ASSERT_GE(root, 0);
  const auto& form = f.nodes()[size_t(root)];
  EXPECT_EQ(form.type, "VB.Form");
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.end_line, 17u);
  // Caption, Font group, Frame1, mnuFile.
  ASSERT_EQ(form.children.size(), 4u);
  const auto& font = f.nodes()[size_t(form.children[1])];
  EXPECT_EQ(font.kind, Kind::Group);
  EXPECT_EQ(font.name, "Font");
  EXPECT_EQ(f.nodes()[size_t(f.FindProperty(form.children[1], "size"))].value, "9");
  const auto& frame = f.nodes()[size_t(form.children[2])];
  EXPECT_EQ(frame.kind, Kind::Block);
  const auto& button = f.nodes()[size_t(frame.children[1])];
  EXPECT_EQ(button.name, "Command1");
  EXPECT_EQ(button.type, "VB.CommandButton");
  EXPECT_EQ(button.parent, form.children[2]);
  EXPECT_EQ(f.nodes()[size_t(f.FindProperty(frame.children[1], "Index"))].value, "0");
  EXPECT_EQ(f.text().Join(), kForm);
}

TEST(ComponentFileTest, HeadersOfEachKind) {
  Warnings w;
  // A standard module: only its Attribute line is hidden.
  ComponentFile bas = ComponentFile::Parse("m.bas", "Attribute VB_Name = \"Module1\"\nOption Explicit\n", &w);
  EXPECT_EQ(bas.header_end(), 1u);
  EXPECT_EQ(bas.VbName(), "Module1");
  EXPECT_EQ(bas.designer_root(), -1);
  // A module without attribute: no header.
  ComponentFile plain = ComponentFile::Parse("p.bas", "Option Explicit\r\nAttribute VB_Name = \"X\"\r\n", &w);
  EXPECT_EQ(plain.header_end(), 0u);
  EXPECT_FALSE(plain.VbName());
  // A class: the BEGIN block is not a designer.
  ComponentFile cls = ComponentFile::Parse("c.cls",
                                           "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                                           "Attribute VB_Name = \"Class1\"\r\nAttribute VB_Exposed = False\r\n"
                                           "Private m As Long\r\n",
                                           &w);
  EXPECT_EQ(cls.header_end(), 6u);
  EXPECT_EQ(cls.designer_root(), -1);
  ASSERT_EQ(cls.roots().size(), 1u);
  EXPECT_EQ(cls.nodes()[size_t(cls.FindProperty(cls.roots()[0], "MultiUse"))].value, "-1  'True");
  // A user control and a designer with a GUID class.
  ComponentFile ctl = ComponentFile::Parse("u.ctl",
                                           "VERSION 5.00\r\nBegin VB.UserControl UserControl1 \r\n   ClientHeight    =   3600\r\n"
                                           "End\r\nAttribute VB_Name = \"UserControl1\"\r\n",
                                           &w);
  EXPECT_EQ(ctl.nodes()[size_t(ctl.designer_root())].type, "VB.UserControl");
  ComponentFile dsr = ComponentFile::Parse("d.dsr",
                                           "VERSION 5.00\r\nBegin {78E93846-85FD-11D0-8487-00A0C90DC8A9} rpt \r\n"
                                           "   Bindings        =   \"rpt.dsx\":0000\r\nEnd\r\nAttribute VB_Name = \"rpt\"\r\n",
                                           &w);
  EXPECT_EQ(dsr.nodes()[size_t(dsr.designer_root())].type, "{78E93846-85FD-11D0-8487-00A0C90DC8A9}");
  EXPECT_EQ(dsr.nodes()[size_t(dsr.designer_root())].name, "rpt");
  EXPECT_TRUE(w.empty());
}

TEST(ComponentFileTest, BadInputNamesFileAndLine) {
  auto line_of = [](const std::string& bytes) {
    try {
      ComponentFile::Parse("bad.frm", bytes, nullptr);
    } catch (const ProjectFileError& e) {
      EXPECT_EQ(e.file(), "bad.frm");
      EXPECT_NE(std::string(e.what()).find("bad.frm:"), std::string::npos) << e.what();
      return e.line();
    }
    return -1;
  };
  // Truncated inside the designer block: the open Begin is named.
  EXPECT_EQ(line_of("VERSION 5.00\r\nBegin VB.Form F \r\n   Begin VB.Label L \r\n   End\r\n"), 2);
  // A group closed by End.
  EXPECT_EQ(line_of("VERSION 5.00\r\nBegin VB.Form F \r\n   BeginProperty Font \r\n   End\r\nEnd\r\n"), 4);
  // EndProperty without BeginProperty.
  EXPECT_EQ(line_of("VERSION 5.00\r\nBegin VB.Form F \r\n   EndProperty\r\nEnd\r\n"), 3);
  // Binary data.
  EXPECT_EQ(line_of(std::string("VERSION 5.00\r\nBegin\0 VB.Form", 26)), 2);

  // A property line that cannot be read is a warning: VB 6 logs it and loads the rest.
  Warnings w;
  ComponentFile f = ComponentFile::Parse("w.frm", "VERSION 5.00\r\nBegin VB.Form F \r\n   garbage\r\nEnd\r\nCode\r\n", &w);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0].line, 3);
  EXPECT_EQ(f.header_end(), 4u);
}

TEST(VbpFileTest, ProjectKeysComponentsAndSections) {
  const std::string vbp =
      "Type=OleDll\r\n"
      "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation\r\n"
      "Form=Form1.frm\r\n"
      "Module=Module1; codigo\\Module1.bas\r\n"
      "Class=Class1; Class1.cls\r\n"
      "ResFile32=\"res.RES\"\r\n"
      "Name=\"MyProj\"\r\n"
      "Bogus\r\n"
      "Frobnicate=1\r\n"
      "\r\n"
      "[MS Transaction Server]\r\n"
      "Form=NotAComponent.frm\r\n";
  Warnings w;
  VbpFile f = VbpFile::Parse("p.vbp", vbp, &w);
  EXPECT_EQ(f.TypeCode(), 2);
  EXPECT_EQ(f.NameKey(), "MyProj");
  ASSERT_EQ(f.components().size(), 4u);
  EXPECT_EQ(f.components()[1].name, "Module1");
  EXPECT_EQ(f.components()[1].path, "codigo\\Module1.bas");
  EXPECT_EQ(f.components()[3].kind, VbpComponentKind::ResFile);
  EXPECT_EQ(f.components()[3].path, "res.RES");
  EXPECT_EQ(f.project_end(), 10u);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0].line, 8);
  EXPECT_EQ(w[1].line, 9);
  EXPECT_EQ(f.Render(), vbp);
  // A new component line goes after the last component line.
  std::string expected = vbp;
  expected.insert(expected.find("Name=\"MyProj\""), "Form=New.frm\r\n");
  EXPECT_EQ(f.Render({{f.InsertionPoint(), "Form=New.frm"}}), expected);
}

TEST(VbgFileTest, ProjectsInOrder) {
  Warnings w;
  VbgFile g = VbgFile::Parse("g.vbg", "VBGROUP 5.0\r\nStartupProject=a\\A.vbp\r\nProject=B.vbp\r\n", &w);
  ASSERT_EQ(g.projects().size(), 2u);
  EXPECT_TRUE(g.projects()[0].startup);
  EXPECT_EQ(g.projects()[1].path, "B.vbp");
  EXPECT_THROW(VbgFile::Parse("g.vbg", "Project=B.vbp\r\n", &w), ProjectFileError);
}

}  // namespace
}  // namespace tarno::host::files
