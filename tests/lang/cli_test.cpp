// tarno parse and tarno refs on small projects written to a temporary folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/tarno_run.h"

namespace tarno::lang {
namespace {

namespace fs = std::filesystem;

class LangCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tarno_lang_cli_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name, std::ios::binary) << text; }
  fs::path dir_;
};

TEST_F(LangCli, ParseListsErrorsWithFileLinesAndExitStatus) {
  Write("Good.bas", "Attribute VB_Name = \"Good\"\r\nSub S()\r\n  x = 1\r\nEnd Sub\r\n");
  Write("Bad.bas", "Attribute VB_Name = \"Bad\"\r\nSub S()\r\n  x = (1\r\nEnd Sub\r\n");
  Write("P.vbp", "Type=Exe\r\nModule=Good; Good.bas\r\nModule=Bad; Bad.bas\r\n");
  auto good = test::RunTarno("parse " + test::ShellQuote((dir_ / "Good.bas").string()));
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(good.out, "");
  auto bad = test::RunTarno("parse " + test::ShellQuote((dir_ / "P.vbp").string()));
  EXPECT_EQ(bad.status, 1) << bad.err;
  EXPECT_EQ(bad.out, "Bad.bas:3:9: expected ), found the end of the statement\n");
  auto missing = test::RunTarno("parse " + test::ShellQuote((dir_ / "None.vbp").string()));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("None.vbp"), std::string::npos) << missing.err;
}

TEST_F(LangCli, RefsGivesFileLinesColumnsAndText) {
  Write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\nPublic Total As Long\r\nSub Add(ByVal n As Long)\r\n  Total = Total + n\r\nEnd Sub\r\n");
  Write("Class1.cls",
        "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1\r\nEND\r\nAttribute VB_Name = \"Class1\"\r\n"
        "Sub S(o As Object)\r\n  module1.total = 0\r\n  o.Total = 1\r\nEnd Sub\r\n");
  Write("P.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nClass=Class1; Class1.cls\r\nCondComp=\"DEBUG = 1\"\r\n");
  const std::string vbp = test::ShellQuote((dir_ / "P.vbp").string());
  auto json = test::RunTarno("refs " + vbp + " Module1.TOTAL --format json");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out,
            "[\n  {\n    \"name\": \"Total\",\n    \"kind\": \"variable\",\n    \"module\": \"Module1\",\n"
            "    \"declaration\": {\n      \"file\": \"Module1.bas\",\n      \"line\": 2,\n      \"column\": 8,\n"
            "      \"text\": \"Public Total As Long\"\n    },\n    \"references\": [\n"
            "      {\n        \"file\": \"Module1.bas\",\n        \"line\": 4,\n        \"column\": 3,\n        \"text\": \"  Total = Total + n\"\n      },\n"
            "      {\n        \"file\": \"Module1.bas\",\n        \"line\": 4,\n        \"column\": 11,\n        \"text\": \"  Total = Total + n\"\n      },\n"
            "      {\n        \"file\": \"Class1.cls\",\n        \"line\": 7,\n        \"column\": 11,\n        \"text\": \"  module1.total = 0\"\n      }\n"
            "    ]\n  }\n]\n");
  auto unresolved = test::RunTarno("refs " + vbp + " --unresolved");
  EXPECT_EQ(unresolved.status, 0) << unresolved.err;
  EXPECT_EQ(unresolved.out, "Class1.cls:8:5:   o.Total = 1\n");
  auto none = test::RunTarno("refs " + vbp + " Module1.Nothing_Here");
  EXPECT_EQ(none.status, 1);
  Write("Bad.vbp", "Type=Exe\r\nModule=Module1; Module1.bas\r\nCondComp=\"DEBUG 1\"\r\n");
  auto bad = test::RunTarno("refs " + test::ShellQuote((dir_ / "Bad.vbp").string()) + " Total");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("Bad.vbp: CondComp"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace tarno::lang
