// `tarno menus` as a user runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/tarno_run.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

struct CliRun {
  std::string out;
  int status = -1;
};

CliRun Tarno(const std::string& args, const fs::path& sysDir) {
  // Both outputs in one: the assertions look for texts in either.
  auto run = tarno::test::RunTarno(args, {}, "TARNO_SYSTEM_DIR=" + tarno::test::ShellQuote(sysDir.string()));
  return {run.out + run.err, run.status};
}

class MenusCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_menus_XXXXXX";
    root_ = mkdtemp(tmpl);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(MenusCli, PrintsTheItemsPositionsGroupsAndToolTips) {
  CliRun r = Tarno("menus", root_ / "sys");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_THAT(r.out, HasSubstr("  *  3 | コメント登録(&C)  face: picComMnt  runs: frmMain"));
  EXPECT_THAT(r.out, HasSubstr("  *  8 | 開発支援ツール(&T)  (popup)  tip: 開発を支援するツール"));
  EXPECT_THAT(r.out, HasSubstr("  *      6 | コントロールのIndexプロパティの一括設定(&I)"));
  EXPECT_THAT(r.out, HasSubstr("  *  4   コメントブロック(&O)  face: picComBlck  runs: CommentSelection\n"));
  EXPECT_THAT(r.out, HasSubstr("     8 | Cu&t"));
  EXPECT_THAT(r.out, HasSubstr("Toolbar \"Tarno Kit\" (17 buttons, visible"));
  EXPECT_THAT(r.out, HasSubstr("  * 17 | Tarno Kitの定型エラーヘッダーフッタ処理を一括挿入します  face: picErrInst"));
  EXPECT_FALSE(fs::exists(root_ / "sys" / "TarnoAddIn.ini"));  // nothing written
}

TEST_F(MenusCli, AddedOnlyLeavesTheIdesOwnItemsOut) {
  CliRun r = Tarno("menus --added-only", root_ / "sys");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_THAT(r.out, Not(HasSubstr("Cu&t")));
  EXPECT_THAT(r.out, HasSubstr("コメント解除(&D)"));
}

TEST_F(MenusCli, SettingsFileIsReadButNeverRewritten) {
  fs::create_directories(root_ / "sys");
  const std::string bytes = "[Project]\r\nSaved=0\r\nInterval=7\r\n[COMMENT]\r\n1='x\r\n";
  std::ofstream(root_ / "sys" / "TarnoAddIn.ini", std::ios::binary) << bytes;
  CliRun r = Tarno("menus", root_ / "sys");
  ASSERT_EQ(r.status, 0) << r.out;
  std::ifstream in(root_ / "sys" / "TarnoAddIn.ini", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), bytes);
}

TEST_F(MenusCli, MalformedSettingsFileReportsTheStartUpFailure) {
  fs::create_directories(root_ / "sys");
  std::ofstream(root_ / "sys" / "TarnoAddIn.ini", std::ios::binary) << "[COMMENT_NO]\r\nNO=abc\r\n";
  CliRun r = Tarno("menus", root_ / "sys");
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.out, HasSubstr("Tarno Kitの起動時にエラーが発生しました。"));
}

}  // namespace
