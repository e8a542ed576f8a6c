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

}  // namespace
}  // namespace tarno::lang
