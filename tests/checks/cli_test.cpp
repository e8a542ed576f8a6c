// `tarno check` run as a program on small projects written to a temporary folder.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "support/tarno_run.h"
#include "platform/code_page.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CheckCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tarno_check_cli_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes UTF-8 text as CP932 with CR LF line ends.
  void Write(const std::string& name, const std::string& utf8) {
    std::string crlf;
    for (char c : utf8) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    std::ofstream(dir_ / name, std::ios::binary) << CodePage::Cp932().Encode(vb::U(crlf));
  }

  void WriteProject() {
    Write("App.vbp",
          "Type=Exe\n"
          "Module=Module1; Module1.bas\n"
          "Form=Form1.frm\n"
          "Name=\"App\"\n");
    Write("Module1.bas",
          "Attribute VB_Name = \"Module1\"\n"
          "Option Explicit\n"
          "Public g_shared As Long\n"
          "Private m_unused As Long\n"
          "\n"
          "Public Sub Main()\n"
          "    Dim 件数 As Long\n"
          "End Sub\n"
          "\n"
          "Private Sub Helper()\n"
          "End Sub\n");
    Write("Form1.frm",
          "VERSION 5.00\n"
          "Begin VB.Form Form1\n"
          "   Caption         =   \"Form1\"\n"
          "   ClientHeight    =   3000\n"
          "   ClientWidth     =   4000\n"
          "   Begin VB.CommandButton Command1\n"
          "      Caption         =   \"OK\"\n"
          "      Height          =   375\n"
          "      Left            =   120\n"
          "      TabIndex        =   0\n"
          "      Top             =   120\n"
          "      Width           =   1215\n"
          "   End\n"
          "End\n"
          "Attribute VB_Name = \"Form1\"\n"
          "Attribute VB_GlobalNameSpace = False\n"
          "Attribute VB_Creatable = False\n"
          "Attribute VB_PredeclaredId = True\n"
          "Attribute VB_Exposed = False\n"
          "Option Explicit\n"
          "\n"
          "Private Sub Command1_Click()\n"
          "    g_shared = 1\n"
          "    Main\n"
          "End Sub\n");
  }

  RunResult Tarno(const std::string& args) {
    auto run = test::RunTarno(args, dir_);
    RunResult r;
    r.status = run.status;
    r.out = std::move(run.out);
    r.err = std::move(run.err);
    return r;
  }

  fs::path dir_;
};

TEST_F(CheckCli, VariablesJsonHasTheDocumentedShapeAndFileLines) {
  WriteProject();
  RunResult r = Tarno("check variables App.vbp --format json --rules ide");
  ASSERT_EQ(r.status, 1) << r.err;
  auto j = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(j.dump(),
            R"({"check":"variables","project":"App","modules":[{"name":"Module1","file":"Module1.bas","findings":[)"
            R"({"name":"m_unused","line":3,"file_line":4,"level":0,"procedure":"Declarations"},)"
            R"({"name":"件数","line":6,"file_line":7,"level":1,"procedure":"Main"}]}],"total":2})");
}

TEST_F(CheckCli, ProceduresTextReportAndExitStatus) {
  WriteProject();
  RunResult r = Tarno("check procedures App.vbp --rules ide");
  ASSERT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out,
            "******未使用のプロシージャを検出しました******\n\n"
            "プロジェクト名：App\n\n"
            "\tモジュール名：Module1\n\n"
            "\t\tプロシージャ名：Helper\n"
            "\t\t宣言されている行数：9\n\n"
            "結果：検出されたプロシージャは1個です\n");
}

TEST_F(CheckCli, OneModuleByNameInAnyCaseAndUnknownNames) {
  WriteProject();
  RunResult r = Tarno("check procedures App.vbp --module FORM1 --rules ide");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "正常終了しました\n");
  r = Tarno("check procedures App.vbp --module Nope --format json --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("Nope"), std::string::npos) << r.err;
}

TEST_F(CheckCli, NoFindingsGivesAnEmptyJsonResult) {
  WriteProject();
  RunResult r = Tarno("check variables App.vbp --module form1 --format json --rules ide");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "{\"check\":\"variables\",\"project\":\"App\",\"modules\":[],\"total\":0}\n");
}

TEST_F(CheckCli, ProjectWithoutComponents) {
  Write("Empty.vbp", "Type=Exe\nName=\"Empty\"\n");
  RunResult r = Tarno("check variables Empty.vbp --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "指定されたプロジェクトには、モジュールが存在しませんので実行できません\n");
}

TEST_F(CheckCli, LogFileIsTheReportInTheCodePage) {
  WriteProject();
  RunResult r = Tarno("check variables App.vbp --log out.log --format json --rules ide");
  ASSERT_EQ(r.status, 1) << r.err;
  std::string bytes = files::ReadAllBytes(dir_ / "out.log");
  std::u16string text = CodePage::Cp932().Decode(bytes);
  EXPECT_TRUE(text.starts_with(vb::U("******未使用の変数を検出しました******\r\n\r\nプロジェクト名：App\r\n")));
  EXPECT_TRUE(text.ends_with(vb::U("結果：検出された変数は2個です")));
  // A log that cannot be written is an error, not a clean run.
  r = Tarno("check variables App.vbp --log missing/out.log --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("out.log"), std::string::npos) << r.err;
}

TEST_F(CheckCli, SarifNamesFileAndFileLine) {
  WriteProject();
  RunResult r = Tarno("check procedures App.vbp --format sarif --rules ide");
  ASSERT_EQ(r.status, 1) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["version"], "2.1.0");
  ASSERT_EQ(j["runs"].size(), 1u);
  EXPECT_EQ(j["runs"][0]["tool"]["driver"]["rules"][0]["id"], "unused-procedure");
  ASSERT_EQ(j["runs"][0]["results"].size(), 1u);
  const auto& loc = j["runs"][0]["results"][0]["locations"][0]["physicalLocation"];
  EXPECT_EQ(loc["artifactLocation"]["uri"], "Module1.bas");
  EXPECT_EQ(loc["region"]["startLine"], 10);
}

TEST_F(CheckCli, BadInputIsAnErrorNamingTheFile) {
  RunResult r = Tarno("check variables Missing.vbp --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Missing.vbp"), std::string::npos) << r.err;
  WriteProject();
  r = Tarno("check variables App.vbp --format xml --rules ide");
  EXPECT_EQ(r.status, 2);
  r = Tarno("check variables App.vbp --encoding klingon --rules ide");
  EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace tarno::checks
