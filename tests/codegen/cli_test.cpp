// The command-line tools, run as a user runs them on copies of corpus files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/code_page.h"
#include "support/tarno_run.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

std::string Quote(const std::string& s) { return tarno::test::ShellQuote(s); }

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarno_codegen_cli_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sys");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Copies a corpus folder (or file) into the temporary folder.
  fs::path Copy(const std::string& corpusPath) {
    fs::path from = fs::path(TARNO_CORPUS_DIR) / corpusPath;
    fs::path to = dir_ / from.filename();
    fs::copy(from, to, fs::copy_options::recursive);
    // A working copy the user may write (the corpus itself is read-only).
    fs::permissions(to, fs::perms::owner_write, fs::perm_options::add);
    if (fs::is_directory(to))
      for (const auto& e : fs::recursive_directory_iterator(to))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    return to;
  }

  Result Run(const std::string& args) {
    auto r = tarno::test::RunTarno(args, dir_, "TARNO_SYSTEM_DIR=" + Quote((dir_ / "sys").string()), dir_);
    return {r.status, r.out, r.err};
  }

  fs::path Settings() const { return dir_ / "sys" / "TarnoAddIn.ini"; }

  fs::path dir_;
};

// CP932 bytes of UTF-8 text, as the files and the settings hold them.
std::string Sjis(const std::string& utf8) {
  std::u16string u;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = utf8[i];
    char32_t cp = c < 0x80 ? c : (c & 0xE0) == 0xC0 ? c & 0x1F : c & 0x0F;
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : 2;
    ++i;
    for (int k = 0; k < extra; ++k, ++i) cp = (cp << 6) | (utf8[i] & 0x3F);
    u.push_back(static_cast<char16_t>(cp));
  }
  return tarno::CodePage::Cp932().Encode(u);
}

const char* kTimer = "tannerhelland__PhotoDemon/Classes/pdTimerCountdown.cls";

TEST_F(CliTest, CommentThenUncommentGivesBackTheFileByteForByte) {
  fs::path file = Copy(kTimer);
  std::string before = ReadFile(file);
  Result r = Run("comment pdTimerCountdown.cls --lines 58:64 --encoding CP1252");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string commented = ReadFile(file);
  EXPECT_NE(commented.find("'Friend Function GetIntervalTime() As Long\n'    GetIntervalTime = m_IntervalInMS\n"
                           "'End Function\n\n'Friend Sub SetIntervalTimeInMS"),
            std::string::npos);
  EXPECT_EQ(commented.find("\r"), std::string::npos);  // the file stays LF-only
  r = Run("uncomment pdTimerCountdown.cls --lines 58:64 --encoding CP1252");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(file), before);
}

TEST_F(CliTest, DiffPrintsTheChangeAndWritesNothing) {
  fs::path file = Copy(kTimer);
  std::string before = ReadFile(file);
  auto stamp = fs::last_write_time(file);
  Result r = Run("comment pdTimerCountdown.cls --lines 62 --diff");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("--- a/pdTimerCountdown.cls\n+++ b/pdTimerCountdown.cls\n@@ -59,7 +59,7 @@\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n-Friend Sub SetIntervalTimeInMS(ByVal newInterval As Long)\n"
                       "+'Friend Sub SetIntervalTimeInMS(ByVal newInterval As Long)\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(ReadFile(file), before);
  EXPECT_EQ(fs::last_write_time(file), stamp);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4);  // file, sys, stdout, stderr
}

TEST_F(CliTest, HiddenLinesAndLinesOutsideTheFileAreRefused) {
  fs::path file = Copy(kTimer);
  std::string before = ReadFile(file);
  Result r = Run("comment pdTimerCountdown.cls --lines 9:12");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("pdTimerCountdown.cls:9: line 9 is in the hidden header (lines 1 to 13)"), std::string::npos)
      << r.err;
  // A procedure's member attribute line is hidden too.
  WriteFile(dir_ / "Described.bas",
            "Attribute VB_Name = \"Described\"\r\nPublic Sub Run()\r\n"
            "Attribute Run.VB_Description = \"Runs\"\r\nEnd Sub\r\n");
  r = Run("uncomment Described.bas --lines 2:3");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Described.bas:3: line 3 is a hidden member attribute line"), std::string::npos) << r.err;
  r = Run("insert error-header pdTimerCountdown.cls --line 500");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("pdTimerCountdown.cls:500: no such line: the file has 116 lines"), std::string::npos) << r.err;
  r = Run("comment pdTimerCountdown.cls --lines 9:3");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("--lines 9:3"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(file), before);
}

TEST_F(CliTest, ALineAfterAHiddenAttributeMapsToTheRightCodeLine) {
  fs::path file = Copy(kTimer);
  Result r = Run("comment pdTimerCountdown.cls --lines 41:44");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string text = ReadFile(file);
  EXPECT_NE(text.find("\n'Private WithEvents m_Timer As pdTimer\n"), std::string::npos);
  EXPECT_NE(text.find("\n''Callers get to set two properties"), std::string::npos);
}

TEST_F(CliTest, InsertErrorHeaderAndFooterAboveTheLine) {
  fs::path file = Copy(kTimer);
  ASSERT_EQ(Run("insert error-footer pdTimerCountdown.cls --line 64").status, 0);
  ASSERT_EQ(Run("insert error-header pdTimerCountdown.cls --line 63").status, 0);
  std::string text = ReadFile(file);
  std::string expected =
      "Friend Sub SetIntervalTimeInMS(ByVal newInterval As Long)\n"
      "On Error GoTo Error_Exit\n\nScreen.MousePointer = vbHourglass\n"
      "    m_IntervalInMS = newInterval\n" +
      Sjis("'エラーの場合\nError_Exit:\n\nScreen.MousePointer = vbDefault\n\n"
           "MsgBox \"エラー番号：\"& Err.Number & vbCrLf _\n"
           "   &\"エラー内容：\"& Err.Description,vbExclamation\n") +
      "End Sub\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text.substr(0, 4000);
}

TEST_F(CliTest, CommentOutAProcedureOfAProjectWritesOnlyItsModule) {
  fs::path project = Copy("dtinth__UCN-BMSE/BMSE");
  std::string vbp = ReadFile(project / "BMSE.vbp");
  std::string other = ReadFile(project / "modMain.bas");
  Result r = Run("comment-out BMSE/BMSE.vbp --module modEasterEgg --procedure DrawEffect");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("modEasterEgg.bas"), std::string::npos) << r.out;
  std::string text = ReadFile(project / "modEasterEgg.bas");
  EXPECT_NE(text.find("\r\n'Public Sub DrawEffect()\r\n\r\n'    Select Case g_disp.intEffect\r\n"), std::string::npos);
  EXPECT_NE(text.find("'End Sub\r\n\r\nPublic Sub KeyCheck("), std::string::npos);
  EXPECT_EQ(ReadFile(project / "BMSE.vbp"), vbp);
  EXPECT_EQ(ReadFile(project / "modMain.bas"), other);
}

TEST_F(CliTest, CommentOutAndErrorHandlingRefusals) {
  Copy("dtinth__UCN-BMSE/BMSE");
  Result r = Run("comment-out BMSE/BMSE.vbp --procedure DrawEffect");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("--module is required"), std::string::npos);
  r = Run("comment-out BMSE/BMSE.vbp --module modEasterEgg --procedure NoSuch");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("has no procedure \"NoSuch\""), std::string::npos) << r.err;
  r = Run("comment-out BMSE/BMSE.vbp --module modEasterEgg");
  EXPECT_EQ(r.status, 1);
  r = Run("error-handling BMSE/BMSE.vbp --module modEasterEgg --all --registered");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("エラーヘッダフッタ情報が存在しませんので実行できません"), std::string::npos) << r.err;
  r = Run("error-handling BMSE/BMSE.vbp --module NoModule --all");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no module named \"NoModule\""), std::string::npos) << r.err;
}

TEST_F(CliTest, ErrorHandlingForEveryProcedureOfAnLfOnlyModule) {
  fs::path file = Copy(kTimer);
  Result r = Run("error-handling pdTimerCountdown.cls --all --encoding CP932");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string text = ReadFile(file);
  EXPECT_EQ(text.find("\r"), std::string::npos);
  size_t labels = 0;
  for (size_t pos = 0; (pos = text.find("\nError_Exit:\n", pos)) != std::string::npos; ++pos) ++labels;
  EXPECT_EQ(labels, 8u);
  EXPECT_NE(text.find("\nExit Function\n\n'"), std::string::npos);
  EXPECT_NE(text.find("    m_IntervalInMS = newInterval\n\nExit Sub\n\n'"), std::string::npos);
  // Still loads, and every procedure now has its handler.
  r = Run("error-handling pdTimerCountdown.cls --procedure GetIntervalTime --diff");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(CliTest, TextTheCodePageCannotHoldIsRefused) {
  fs::path file = Copy(kTimer);
  std::string before = ReadFile(file);
  Result r = Run("insert error-footer pdTimerCountdown.cls --line 64 --encoding CP1252");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("pdTimerCountdown.cls:64: the new text holds characters that code page"), std::string::npos)
      << r.err;
  r = Run("error-handling pdTimerCountdown.cls --all --encoding CP1252 --diff");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(ReadFile(file), before);
}

TEST_F(CliTest, RegisteredCommentsInTheSettingsFile) {
  Result r = Run("comments set 3 --text " + Quote("one\ntwo"));
  ASSERT_EQ(r.status, 0) << r.err;
  r = Run("comments list");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("*3\n    'one\n    'two\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" 1 (empty)\n"), std::string::npos) << r.out;
  std::string ini = ReadFile(Settings());
  EXPECT_NE(ini.find("3='one'two"), std::string::npos) << ini;

  WriteFile(dir_ / "c.txt", Sjis("'日本語\r\n説明\r\n"));
  ASSERT_EQ(Run("comments set 5 --file c.txt").status, 0);
  ASSERT_EQ(Run("comments use 3").status, 0);
  r = Run("comments list");
  EXPECT_NE(r.out.find("*3\n"), std::string::npos);
  EXPECT_NE(r.out.find(" 5\n    '日本語\n    '説明\n"), std::string::npos) << r.out;
  ASSERT_EQ(Run("comments clear 3").status, 0);
  r = Run("comments list");
  EXPECT_NE(r.out.find("*3 (empty)\n"), std::string::npos) << r.out;
  r = Run("comments use 11");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("expected 1 to 10"), std::string::npos);

  // Insert: the current slot is empty now.
  fs::path file = Copy(kTimer);
  r = Run("insert comment pdTimerCountdown.cls --line 58");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("コメントが入力されていません"), std::string::npos) << r.err;
  ASSERT_EQ(Run("comments use 5").status, 0);
  r = Run("insert comment pdTimerCountdown.cls --line 58 --encoding CP932");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFile(file).find(Sjis("\n'日本語\n'説明\nFriend Function GetIntervalTime()")), std::string::npos);
}

TEST_F(CliTest, ErrorTextsValidateAsTheWindowAndDriveRegisteredHandling) {
  Result r = Run("error-texts set --label ' ' --footer x");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ラベル名を入力してください"), std::string::npos) << r.err;
  r = Run("error-texts set --label L --footer '  '");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("フッタ内容を入力してください"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Settings()) && ReadFile(Settings()).find("ErrHeader=L") != std::string::npos);

  r = Run("error-texts set --label ' ErrTrap ' --footer " + Quote("MsgBox Err.Description\nResume Next") +
          " --exit on");
  ASSERT_EQ(r.status, 0) << r.err;
  r = Run("error-texts show");
  EXPECT_EQ(r.out, "label: ErrTrap\nexit: on\nfooter:\n    MsgBox Err.Description\n    Resume Next\n");
  EXPECT_NE(ReadFile(Settings()).find("ErrHuter=MsgBox Err.Description*9*9Resume Next"), std::string::npos);

  fs::path file = Copy(kTimer);
  r = Run("error-handling pdTimerCountdown.cls --procedure SetIntervalTimeInMS --registered");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFile(file).find("Friend Sub SetIntervalTimeInMS(ByVal newInterval As Long)\n\nOn Error GoTo ErrTrap\n"
                                "    m_IntervalInMS = newInterval\nExit Sub\n\nErrTrap:\n\nMsgBox Err.Description\n"
                                "Resume Next\nEnd Sub\n"),
            std::string::npos);
  // Without --exit the option stays as it was.
  ASSERT_EQ(Run("error-texts set --label E2 --footer F").status, 0);
  EXPECT_NE(Run("error-texts show").out.find("exit: on\n"), std::string::npos);
  ASSERT_EQ(Run("error-texts set --label E2 --footer F --exit off").status, 0);
  EXPECT_NE(Run("error-texts show").out.find("exit: off\n"), std::string::npos);
}

}  // namespace

namespace {

// A tool that drops hidden member attribute lines says so, naming each one
// with the file line it stood on; one that keeps them says nothing.
TEST_F(CliTest, DroppedHiddenAttributeLinesAreNamedOnTheErrorOutput) {
  const std::string kItems =
      "VERSION 1.0 CLASS\r\n"                                // 1
      "BEGIN\r\n"                                            // 2
      "  MultiUse = -1  'True\r\n"                           // 3
      "END\r\n"                                              // 4
      "Attribute VB_Name = \"Items\"\r\n"                    // 5
      "Option Explicit\r\n"                                  // 6
      "Private WithEvents m_tmr As Timer\r\n"                // 7
      "Attribute m_tmr.VB_VarHelpID = -1\r\n"                // 8
      "\r\n"                                                 // 9
      "Public Property Get Item(ByVal i As Long) As Variant\r\n"  // 10
      "Attribute Item.VB_UserMemId = 0\r\n"                  // 11
      "Attribute Item.VB_Description = \"The item\"\r\n"     // 12
      "    Item = i\r\n"                                     // 13
      "End Property\r\n"                                     // 14
      "Public Sub Run()\r\n"                                 // 15
      "End Sub\r\n";                                         // 16
  const std::string kDefault = "Items.cls:11: the hidden attribute line \"Attribute Item.VB_UserMemId = 0\" is dropped";
  const std::string kDescription =
      "Items.cls:12: the hidden attribute line \"Attribute Item.VB_Description = \"The item\"\" is dropped";
  const std::string kHelpId = "Items.cls:8: the hidden attribute line \"Attribute m_tmr.VB_VarHelpID = -1\" is dropped";
  struct Case {
    std::string args;
    std::vector<std::string> warnings;
    bool writes;
  };
  const Case cases[] = {
      {"comment-out Items.cls --procedure Item", {kDefault, kDescription}, true},
      {"comment-out Items.cls --procedure Item --diff", {kDefault, kDescription}, false},
      {"comment-out Items.cls --all", {kDefault, kDescription}, true},  // the declarations stay
      {"comment Items.cls --lines 7", {kHelpId}, true},
      {"comment Items.cls --lines 15:16", {}, true},
      {"error-handling Items.cls --procedure Item", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    WriteFile(dir_ / "Items.cls", kItems);
    Result r = Run(c.args);
    ASSERT_EQ(r.status, 0) << r.err;
    size_t count = 0;
    for (size_t at = r.err.find("hidden attribute line"); at != std::string::npos;
         at = r.err.find("hidden attribute line", at + 1))
      ++count;
    EXPECT_EQ(count, c.warnings.size()) << r.err;
    for (const auto& w : c.warnings) EXPECT_NE(r.err.find(w), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "Items.cls") != kItems, c.writes);
  }
}

}  // namespace
