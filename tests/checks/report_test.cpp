// The report texts and the log file.
#include <gtest/gtest.h>

#include <filesystem>

#include "checks/check_reports.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::checks {
namespace {

using vb::U;

TEST(VariableReport, HeadingsPerLevelAndProcedureAndTheTotal) {
  VariableCheckResult r;
  r.projectName = u"Project1";
  r.modules.push_back({u"Module1", 1,
                       {{u"a", 2, 0, u"Declarations"},
                        {u"b", 3, 0, u"Declarations"},
                        {u"c", 7, 1, u"Foo"}}});
  const std::u16string expected = U(
      "******未使用の変数を検出しました******\r\n\r\n"
      "プロジェクト名：Project1\r\n\r\n"
      "\tモジュール名：Module1\r\n\r\n"
      "\t\tプロシージャ名：Declarations\r\n\r\n"
      "\t\t\t変数名：a\r\n"
      "\t\t\t宣言されている行数：2\r\n\r\n"
      "\t\t\t変数名：b\r\n"
      "\t\t\t宣言されている行数：3\r\n\r\n"
      "\t\tプロシージャ名：Foo\r\n\r\n"
      "\t\t\t変数名：c\r\n"
      "\t\t\t宣言されている行数：7\r\n\r\n"
      "結果：検出された変数は3個です");
  EXPECT_EQ(VariableReportText(r), expected);
}

TEST(VariableReport, EachProcedureChangeAndEachModuleStartsAHeading) {
  VariableCheckResult r;
  r.projectName = u"P";
  r.modules.push_back({u"M1", 1, {{u"x", 5, 1, u"Foo"}, {u"y", 6, 1, u"Foo"}, {u"z", 9, 1, u"Bar"}}});
  r.modules.push_back({u"M2", 2, {{u"w", 4, 1, u"Bar"}}});
  std::u16string text = VariableReportText(r);
  auto count = [&](std::u16string_view what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::u16string::npos; p = text.find(what, p + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count(U("プロシージャ名：Foo")), 1);
  // Bar once in M1, and again at the start of M2.
  EXPECT_EQ(count(U("プロシージャ名：Bar")), 2);
  EXPECT_EQ(count(U("モジュール名：")), 2);
  EXPECT_TRUE(text.ends_with(U("結果：検出された変数は4個です")));
}

TEST(VariableReport, EmptyResultStillHasHeaderAndZeroTotal) {
  VariableCheckResult r;
  r.projectName = u"P";
  EXPECT_EQ(VariableReportText(r),
            U("******未使用の変数を検出しました******\r\n\r\nプロジェクト名：P\r\n\r\n結果：検出された変数は0個です"));
}

TEST(ProcedureReport, EveryFindingHasItsOwnHeading) {
  ProcedureCheckResult r;
  r.modules.push_back({u"Module1", 1, {{u"Foo", 3}, {u"Bar", 9}}});
  r.modules.push_back({u"Form1", 2, {{u"Text9_Change", 12}}});
  const std::u16string expected = U(
      "******未使用のプロシージャを検出しました******\r\n\r\n"
      "プロジェクト名：Project1\r\n\r\n"
      "\tモジュール名：Module1\r\n\r\n"
      "\t\tプロシージャ名：Foo\r\n"
      "\t\t宣言されている行数：3\r\n\r\n"
      "\t\tプロシージャ名：Bar\r\n"
      "\t\t宣言されている行数：9\r\n\r\n"
      "\tモジュール名：Form1\r\n\r\n"
      "\t\tプロシージャ名：Text9_Change\r\n"
      "\t\t宣言されている行数：12\r\n\r\n"
      "結果：検出されたプロシージャは3個です");
  EXPECT_EQ(ProcedureReportText(u"Project1", r), expected);
}

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tarno_checks_log_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(LogFileTest, WrittenInTheCodePageWithoutATrailingLineEnd) {
  const std::u16string text = U("結果：検出された変数は0個です");
  auto path = dir_ / "check.log";
  WriteLogFile(path, text, CodePage::Cp932());
  std::string bytes = files::ReadAllBytes(path);
  EXPECT_EQ(bytes, CodePage::Cp932().Encode(text));
  // "結" in CP932 is 0x8C 0x8B.
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x8C);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x8B);
  // Saving again replaces the file.
  WriteLogFile(path, u"x", CodePage::Cp932());
  EXPECT_EQ(files::ReadAllBytes(path), "x");
}

TEST_F(LogFileTest, AFolderThatDoesNotExistIsAnError) {
  EXPECT_THROW(WriteLogFile(dir_ / "missing" / "check.log", u"x", CodePage::Cp932()), files::FileError);
}

}  // namespace
}  // namespace tarno::checks
