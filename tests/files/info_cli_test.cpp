// tarno info: the JSON keys scripts depend on, groups, errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/tarno_run.h"
#include "temp_project.h"

namespace tarno::host::files {
namespace {

using testing::TempProject;

struct CommandRun {
  int status = -1;
  std::string out;
};

CommandRun Tarno(const std::string& args) {
  auto run = tarno::test::RunTarno(args);
  return {run.status, std::move(run.out)};
}

const char kModule[] =
    "Attribute VB_Name = \"Module1\"\r\n"
    "Option Explicit\r\n"
    "Private mCount As Long\r\n"
    "\r\n"
    "Public Sub Main()\r\n"
    "End Sub\r\n"
    "Property Get Count() As Long\r\n"
    "  Count = mCount\r\n"
    "End Property\r\n";

const char kForm[] =
    "VERSION 5.00\r\n"
    "Begin VB.Form Form1 \r\n"
    "   Caption         =   \"Form1\"\r\n"
    "   Begin VB.Frame Frame1 \r\n"
    "      Begin VB.OptionButton Option1 \r\n"
    "         Index           =   3\r\n"
    "      End\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"Form1\"\r\n";

TEST(InfoCommandTest, JsonHasTheDocumentedKeys) {
  TempProject t;
  t.Write("Module1.bas", kModule);
  t.Write("Form1.frm", kForm);
  auto vbp = t.Write("P.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nForm=Form1.frm\r\nName=\"Proj\"\r\n");
  CommandRun r = Tarno("info \"" + vbp.string() + "\" --format json");
  ASSERT_EQ(r.status, 0) << r.out;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["project"], "Proj");
  EXPECT_EQ(j["type"], 0);
  EXPECT_EQ(j["file"], vbp.string());
  ASSERT_EQ(j["components"].size(), 2u);
  const auto& m = j["components"][0];
  EXPECT_EQ(m["name"], "Module1");
  EXPECT_EQ(m["type"], 1);
  EXPECT_EQ(m["code_lines"], 8);
  EXPECT_EQ(m["declaration_lines"], 2);
  ASSERT_EQ(m["procedures"].size(), 2u);
  EXPECT_EQ(m["procedures"][0], nlohmann::json({{"name", "Main"}, {"kind", 0}, {"start", 3}, {"body", 4}, {"count", 3}}));
  EXPECT_EQ(m["procedures"][1], nlohmann::json({{"name", "Count"}, {"kind", 3}, {"start", 6}, {"body", 6}, {"count", 3}}));
  ASSERT_EQ(m["members"].size(), 3u);
  EXPECT_EQ(m["members"][0], nlohmann::json({{"name", "mCount"}, {"type", 3}, {"scope", 1}, {"line", 2}}));
  const auto& f = j["components"][1];
  EXPECT_EQ(f["type"], 5);
  ASSERT_EQ(f["controls"].size(), 2u);
  EXPECT_EQ(f["controls"][0], nlohmann::json({{"name", "Frame1"}, {"class", "Frame"}, {"index", -1}, {"parent", ""}}));
  EXPECT_EQ(f["controls"][1],
            nlohmann::json({{"name", "Option1"}, {"class", "OptionButton"}, {"index", 3}, {"parent", "Frame1"}}));
  for (const char* key : {"name", "type", "file", "code_lines", "declaration_lines", "procedures", "members", "controls"})
    EXPECT_TRUE(f.contains(key)) << key;

  // Text output names the project and its components.
  CommandRun text = Tarno("info \"" + vbp.string() + "\"");
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Project Proj"), std::string::npos);
  EXPECT_NE(text.out.find("Module1 (type 1)"), std::string::npos);
}

TEST(InfoCommandTest, GroupPrintsAnArrayAndErrorsExitNonZero) {
  TempProject t;
  t.Write("Module1.bas", kModule);
  t.Write("A.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\n");
  t.Write("B.vbp", "Type=OleDll\r\n");
  auto vbg = t.Write("G.vbg", "VBGROUP 5.0\r\nStartupProject=A.vbp\r\nProject=B.vbp\r\n");
  CommandRun r = Tarno("info \"" + vbg.string() + "\" --format json");
  ASSERT_EQ(r.status, 0);
  auto j = nlohmann::json::parse(r.out);
  ASSERT_TRUE(j.is_array());
  ASSERT_EQ(j.size(), 2u);
  EXPECT_EQ(j[0]["project"], "A");
  EXPECT_EQ(j[1]["type"], 2);

  // A single component file is a project of one component.
  CommandRun one = Tarno("info \"" + (t.dir() / "Module1.bas").string() + "\" --format json");
  ASSERT_EQ(one.status, 0);
  EXPECT_EQ(nlohmann::json::parse(one.out)["components"][0]["name"], "Module1");

  // A project that cannot be loaded (a component that is no source file) is an error.
  t.Write("Bad.frm", std::string("VERSION 5.00\r\n\0\r\n", 17));
  t.Write("Bad.vbp", "Type=Exe\r\nForm=Bad.frm\r\n");
  EXPECT_EQ(Tarno("info \"" + (t.dir() / "Bad.vbp").string() + "\"").status, 1);
  EXPECT_EQ(Tarno("info \"" + vbg.string() + "\" --encoding NoSuchCodePage").status, 2);
  EXPECT_EQ(Tarno("info \"" + vbg.string() + "\" --format xml").status, 2);
}

}  // namespace
}  // namespace tarno::host::files
