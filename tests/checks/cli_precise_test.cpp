// `tarno check` with the precise rules, suppressions, a baseline, all
// checks at once and CSV, run as a program on an ActiveX DLL project written
// to a temporary folder (the rules' facts come from its files).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <unistd.h>

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

const char* const kApi =
    "VERSION 1.0 CLASS\n"
    "BEGIN\n"
    "  MultiUse = -1  'True\n"
    "END\n"
    "Attribute VB_Name = \"Api\"\n"
    "Attribute VB_GlobalNameSpace = False\n"
    "Attribute VB_Creatable = True\n"
    "Attribute VB_PredeclaredId = False\n"
    "Attribute VB_Exposed = True\n"
    "Option Explicit\n"
    "Implements IRunner\n"
    "Private m_unused As Long\n"
    "\n"
    "Public Property Get Item(ByVal i As Long) As Variant\n"
    "Attribute Item.VB_UserMemId = 0\n"
    "End Property\n"
    "Public Function NewEnum() As IUnknown\n"
    "Attribute NewEnum.VB_UserMemId = -4\n"
    "End Function\n"
    "Public Sub Open()\n"
    "End Sub\n"
    "Private Sub IRunner_Run()\n"
    "    Step1\n"
    "End Sub\n"
    "Private Sub Step1()\n"
    "End Sub\n"
    "Private Sub Helper() ' tarno: ignore\n"
    "End Sub\n"
    "Private Sub Orphan()\n"
    "    Step2\n"
    "End Sub\n"
    "Private Sub Step2()\n"
    "End Sub\n";

class CheckCliPrecise : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tarno_check_precise_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Write("Lib.vbp",
          "Type=OleDll\n"
          "Class=Api; Api.cls\n"
          "Module=Module1; Module1.bas\n"
          "Startup=\"Sub Main\"\n"
          "Name=\"Lib\"\n");
    Write("Api.cls", kApi);
    Write("Module1.bas",
          "Attribute VB_Name = \"Module1\"\n"
          "Option Explicit\n"
          "\n"
          "Public Sub Main()\n"
          "End Sub\n"
          "Private Sub Legacy()\n"
          "End Sub\n");
    Write(".tarno-ignore", "# kept on purpose\nModule1.Legacy\n");
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Write(const std::string& name, const std::string& utf8) {
    std::string crlf;
    for (char c : utf8) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    std::ofstream(dir_ / name, std::ios::binary) << CodePage::Cp932().Encode(vb::U(crlf));
  }

  RunResult Tarno(const std::string& args) {
    auto run = test::RunTarno(args, dir_);
    RunResult r;
    r.status = run.status;
    r.out = std::move(run.out);
    r.err = std::move(run.err);
    return r;
  }

  // "check:Module.name:verdict[:reason]" for every finding of a JSON run of all checks.
  static std::vector<std::string> Names(const std::string& out) {
    std::vector<std::string> names;
    auto j = nlohmann::json::parse(out);
    for (const char* check : {"variables", "procedures"}) {
      for (const auto& m : j[check]["modules"]) {
        for (const auto& f : m["findings"]) {
          std::string s = std::string(check) + ":" + m["name"].get<std::string>() + "." + f["name"].get<std::string>() +
                          ":" + f.value("verdict", "unused");
          if (f.contains("reason")) s += ":" + f["reason"].get<std::string>();
          if (f.contains("suppressed")) s += ":" + f["suppressed"].get<std::string>();
          names.push_back(s);
        }
      }
    }
    return names;
  }

  fs::path dir_;
};

using V = std::vector<std::string>;

TEST_F(CheckCliPrecise, RulesAreListedWithReasons) {
  RunResult r = Tarno("check rules");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* id : {"interface-member", "exposed-member", "startup-sub-main", "default-member",
                         "used-only-by-unused"}) {
    EXPECT_NE(r.out.find(std::string("  ") + id + " ["), std::string::npos) << id << "\n" << r.out;
  }
}

TEST_F(CheckCliPrecise, IdeAndPreciseFindingsFromTheProjectFiles) {
  RunResult ide = Tarno("check all Lib.vbp --format json --rules ide");
  ASSERT_EQ(ide.status, 1) << ide.err;
  EXPECT_EQ(Names(ide.out), (V{"variables:Api.m_unused:unused", "procedures:Api.Item:unused",
                               "procedures:Api.NewEnum:unused", "procedures:Api.Open:unused",
                               "procedures:Api.IRunner_Run:unused", "procedures:Api.Orphan:unused",
                               "procedures:Module1.Main:unused"}));
  EXPECT_EQ(nlohmann::json::parse(ide.out)["suppressed"], 2);

  RunResult precise = Tarno("check all Lib.vbp --rules precise --format json");
  ASSERT_EQ(precise.status, 1) << precise.err;
  EXPECT_EQ(Names(precise.out),
            (V{"variables:Api.m_unused:unused", "procedures:Api.Open:exposed", "procedures:Api.Orphan:unused"}));
  auto j = nlohmann::json::parse(precise.out);
  EXPECT_EQ(j["total"], 2);  // the exposed member is listed, not counted
  EXPECT_EQ(j["exposed"], 1);

  RunResult transitive = Tarno("check procedures Lib.vbp --rules precise --transitive --show-suppressed --format json");
  ASSERT_EQ(transitive.status, 1) << transitive.err;
  auto t = nlohmann::json::parse(transitive.out);
  std::vector<std::string> got;
  for (const auto& m : t["modules"]) {
    for (const auto& f : m["findings"]) got.push_back(f["name"].get<std::string>() + ":" + f.value("reason", f.value("suppressed", "")));
  }
  EXPECT_EQ(got, (V{"Open:", "Helper:marker", "Orphan:", "Step2:used only by unused declarations", "Legacy:ignore file"}));
  // --transitive belongs to the precise rules.
  EXPECT_EQ(Tarno("check procedures Lib.vbp --transitive --rules ide").status, 2);
}

TEST_F(CheckCliPrecise, ExposedMembersOnlyWithShowExposed) {
  RunResult text = Tarno("check procedures Lib.vbp --rules precise");
  ASSERT_EQ(text.status, 1) << text.err;
  EXPECT_EQ(text.out.find("Open"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("exposed: 1 public members"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("suppressed: 2 (--show-suppressed lists them)"), std::string::npos) << text.out;
  RunResult shown = Tarno("check procedures Lib.vbp --rules precise --show-exposed");
  EXPECT_NE(shown.out.find("\t\tプロシージャ名：Open\n\t\t宣言されている行数：9\n\t\t理由：exposed (exposed-member)\n"),
            std::string::npos)
      << shown.out;
  // With Orphan suppressed, the exposed member alone decides the exit status.
  Write(".tarno-ignore", "Module1.Legacy\nApi.Orphan\n");
  EXPECT_EQ(Tarno("check procedures Lib.vbp --rules precise").status, 0);
  EXPECT_EQ(Tarno("check procedures Lib.vbp --rules precise --show-exposed").status, 1);
  RunResult sarif = Tarno("check procedures Lib.vbp --rules precise --format sarif --show-suppressed");
  auto s = nlohmann::json::parse(sarif.out);
  std::vector<std::string> results;
  for (const auto& res : s["runs"][0]["results"]) {
    results.push_back(res["level"].get<std::string>() + ":" + res["properties"]["verdict"].get<std::string>() + ":" +
                      (res.contains("suppressions") ? res["suppressions"][0]["kind"].get<std::string>() : ""));
  }
  EXPECT_EQ(results, (V{"note:exposed:", "warning:unused:inSource", "warning:unused:external", "warning:unused:external"}));
}

TEST_F(CheckCliPrecise, CsvRowsInStableOrderAndJobsChangeNothing) {
  RunResult one = Tarno("check all Lib.vbp --format csv --jobs 1 --rules ide");
  ASSERT_EQ(one.status, 1) << one.err;
  EXPECT_EQ(one.out,
            "check,project,component,file,line,file_line,name,procedure,verdict,rule,reason,suppressed\n"
            "unused-variable,Lib,Api,Api.cls,3,12,m_unused,Declarations,unused,,,\n"
            "unused-procedure,Lib,Api,Api.cls,5,14,Item,Item,unused,,,\n"
            "unused-procedure,Lib,Api,Api.cls,7,17,NewEnum,NewEnum,unused,,,\n"
            "unused-procedure,Lib,Api,Api.cls,9,20,Open,Open,unused,,,\n"
            "unused-procedure,Lib,Api,Api.cls,11,22,IRunner_Run,IRunner_Run,unused,,,\n"
            "unused-procedure,Lib,Api,Api.cls,18,29,Orphan,Orphan,unused,,,\n"
            "unused-procedure,Lib,Module1,Module1.bas,3,4,Main,Main,unused,,,\n");
  EXPECT_EQ(Tarno("check all Lib.vbp --format csv --jobs 2 --rules ide").out, one.out);
  EXPECT_EQ(Tarno("check all Lib.vbp --format csv --jobs 7 --rules precise --transitive").out,
            Tarno("check all Lib.vbp --format csv --jobs 1 --rules precise --transitive").out);
}

TEST_F(CheckCliPrecise, BaselineWrittenThenOnlyNewFindingsFail) {
  RunResult w = Tarno("check all Lib.vbp --write-baseline base.json --format json --rules ide");
  EXPECT_EQ(w.status, 0) << w.err;
  EXPECT_NE(w.err.find("wrote 7 findings"), std::string::npos) << w.err;
  RunResult same = Tarno("check all Lib.vbp --baseline base.json --rules ide");
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "正常終了しました\nsuppressed: 2 (--show-suppressed lists them)\n"
                      "baseline: 7 known findings left out, 0 entries gone (fixed)\n");
  // Ten lines further down, Open used, a new unused procedure.
  std::string moved = kApi;
  moved.replace(moved.find("Option Explicit\n"), 16, "Option Explicit\n" + std::string(10, '\n'));
  moved.replace(moved.find("Private Sub Step1()\n"), 20, "Private Sub Step1()\n    Open\n");
  moved += "Private Sub Added()\nEnd Sub\n";
  Write("Api.cls", moved);
  RunResult r = Tarno("check all Lib.vbp --baseline base.json --format json --rules ide");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(Names(r.out), (V{"procedures:Api.Added:unused"}));
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["baseline"]["known"], 6);
  EXPECT_EQ(j["baseline"]["gone"], 1);  // Open, now called
}

TEST_F(CheckCliPrecise, BadIgnoreAndBaselineFilesAreErrors) {
  Write("bad.ignore", "Module1.Legacy\nModule1\n");
  RunResult r = Tarno("check all Lib.vbp --ignore bad.ignore --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("bad.ignore:2:"), std::string::npos) << r.err;
  r = Tarno("check all Lib.vbp --ignore missing.ignore --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("missing.ignore"), std::string::npos) << r.err;
  Write("base.json", "[1, 2]");
  r = Tarno("check all Lib.vbp --baseline base.json --rules ide");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("base.json"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
}

TEST_F(CheckCliPrecise, GroupLinesKindsParseErrorsAndFilesOutsideTheFolder) {
  fs::create_directories(dir_ / "app");
  fs::create_directories(dir_ / "shared");
  Write("app/App.vbp", "Type=Exe\nModule=Main; Main.bas\nClass=Util; ..\\shared\\Util.cls\nStartup=\"Sub Main\"\nName=\"App\"\n");
  Write("app/Main.bas",
        "Attribute VB_Name = \"Main\"\nOption Explicit\nPrivate Const UNUSED_C = 1\n"
        "Public Sub Main()\n    Dim t As Tool\n    Set t = New Tool\n    t.Run\nEnd Sub\n");
  Write("shared/Util.cls",
        "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"Util\"\n"
        "Public Sub Spare()\nEnd Sub\n");
  Write("Tools.vbp", "Type=OleDll\nClass=Tool; Tool.cls\nName=\"Tools\"\n");
  Write("Tool.cls",
        "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"Tool\"\n"
        "Public Sub Run()\nEnd Sub\nPublic Sub Idle()\nEnd Sub\n");
  Write("All.vbg", "VBGROUP 5.0\nStartupProject=app\\App.vbp\nProject=Tools.vbp\n");

  // Run is used only from the other project of the group.
  RunResult lines = Tarno("check all All.vbg --format lines");
  EXPECT_EQ(lines.status, 1) << lines.err;
  EXPECT_EQ(lines.out,
            "app/Main.bas:3:15: unused constant 'UNUSED_C' [unused-variable]\n"
            "shared/Util.cls:6:12: unused procedure 'Spare' [unused-procedure]\n"
            "Tool.cls:8:12: unused procedure 'Idle' [unused-procedure]\n");
  auto j = nlohmann::json::parse(Tarno("check all All.vbg --format json").out);
  ASSERT_EQ(j["projects"].size(), 2u) << j.dump();
  EXPECT_EQ(j["projects"][0]["project"], "App");
  EXPECT_EQ(j["projects"][0]["variables"]["modules"][0]["findings"][0]["kind"], "constant");
  EXPECT_EQ(j["projects"][0]["procedures"]["modules"][0]["file"], "..\\shared\\Util.cls");
  EXPECT_EQ(j["projects"][1]["procedures"]["modules"][0]["findings"][0]["name"], "Idle");
  EXPECT_EQ(j["total"], 3);
  EXPECT_EQ(Tarno("check all All.vbg --format lines --kinds procedure").out.find("UNUSED_C"), std::string::npos);
  EXPECT_EQ(Tarno("check all All.vbg --kinds variables").status, 2);

  // A module that does not parse: no findings of it, its error listed, exit 2.
  Write("Tool.cls",
        "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"Tool\"\n"
        "Public Sub Run()\n    If Then Else )\nEnd Sub\nPublic Sub Idle()\nEnd Sub\n");
  RunResult broken = Tarno("check all All.vbg --format json");
  EXPECT_EQ(broken.status, 2) << broken.err;
  auto b = nlohmann::json::parse(broken.out);
  ASSERT_EQ(b["parse_errors"].size(), 1u) << broken.out;
  EXPECT_EQ(b["parse_errors"][0]["file"], "Tool.cls");
  EXPECT_EQ(b["parse_errors"][0]["line"], 7);
  EXPECT_EQ(b["projects"][1]["total"], 0);
  RunResult allowed = Tarno("check all All.vbg --allow-parse-errors");
  EXPECT_EQ(allowed.status, 1) << allowed.err;
  EXPECT_EQ(allowed.out.rfind("parse errors: 1", 0), 0u) << allowed.out;
  auto sarif = nlohmann::json::parse(Tarno("check all All.vbg --format sarif").out);
  EXPECT_EQ(sarif["runs"][0]["invocations"][0]["toolExecutionNotifications"].size(), 1u);
}

}  // namespace
}  // namespace tarno::checks
