// System folders, whole-file writes and process start.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/process.h"
#include "platform/system_dirs.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno {
namespace {
namespace fs = std::filesystem;

// Sets or clears an environment variable for one test and restores it after.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old, had_ = true;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~EnvVar() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(SystemDirs, VariablesWinOverXdgDefaults) {
  EnvVar a("TARNO_SYSTEM_DIR", "/srv/sys"), b("TARNO_WINDOWS_DIR", "/srv/win"),
      c("TARNO_ADDIN_DIR", "/srv/addin");
  EXPECT_EQ(win::SystemDirectory(), fs::path("/srv/sys"));
  EXPECT_EQ(win::WindowsDirectory(), fs::path("/srv/win"));
  EXPECT_EQ(win::AddInDirectory(), fs::path("/srv/addin"));
  EXPECT_EQ(win::ResolveInWindowsDirectory("VBADDIN.INI"), fs::path("/srv/win/VBADDIN.INI"));
  EXPECT_EQ(win::ResolveInWindowsDirectory("sub/x.ini"), fs::path("sub/x.ini"));
}

TEST(SystemDirs, XdgAndHomeDefaults) {
  EnvVar a("TARNO_SYSTEM_DIR", nullptr), b("TARNO_WINDOWS_DIR", ""), c("TARNO_ADDIN_DIR", nullptr);
  EnvVar home("HOME", "/home/u"), cfg("XDG_CONFIG_HOME", "/cfg"), data("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(win::SystemDirectory(), fs::path("/cfg/tarno"));
  EXPECT_EQ(win::WindowsDirectory(), fs::path("/cfg/tarno"));
  EXPECT_EQ(win::AddInDirectory(), fs::path("/home/u/.local/share/tarno"));
  {
    EnvVar relative("XDG_CONFIG_HOME", "relative/dir");  // ignored: not absolute
    EXPECT_EQ(win::SystemDirectory(), fs::path("/home/u/.config/tarno"));
  }
  EnvVar nohome("HOME", nullptr), nocfg("XDG_CONFIG_HOME", nullptr);
  EXPECT_TRUE(win::SystemDirectory().empty());
  std::string buf;
  EXPECT_EQ(win::GetSystemDirectoryA(buf, 255), 0u);
}

TEST(SystemDirs, GetSystemDirectoryFollowsTheWindowsContract) {
  EnvVar a("TARNO_SYSTEM_DIR", "/srv/sys");
  std::string buf(255, ' ');
  ASSERT_EQ(win::GetSystemDirectoryA(buf, 255), 8u);
  EXPECT_EQ(buf.substr(0, 9), std::string("/srv/sys\0", 9));
  std::string small = "unchanged";
  EXPECT_EQ(win::GetSystemDirectoryA(small, 8), 9u);  // too small: size needed, buffer untouched
  EXPECT_EQ(small, "unchanged");
  std::string empty;
  EXPECT_EQ(win::GetWindowsDirectoryA(empty, 255), win::WindowsDirectory().native().size());
  EXPECT_EQ(win::JoinPath("/srv/sys", "TarnoAddIn.ini"), fs::path("/srv/sys/TarnoAddIn.ini"));
}

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_sys_XXXXXX";
    dir_ = mkdtemp(tmpl);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(TempDirTest, OnlyTheStandardFoldersAreCreated) {
  EnvVar a("TARNO_SYSTEM_DIR", (dir_ / "a" / "sys").c_str());
  EXPECT_TRUE(win::EnsureStandardDirectory(dir_ / "a" / "sys"));
  EXPECT_TRUE(fs::is_directory(dir_ / "a" / "sys"));
  EXPECT_FALSE(win::EnsureStandardDirectory(dir_ / "other"));
  EXPECT_FALSE(fs::exists(dir_ / "other"));
  EXPECT_TRUE(win::EnsureStandardDirectory(dir_));  // exists already
}

TEST_F(TempDirTest, WholeFileWritesReplaceAtomicallyAndLeaveNoTemporaryFile) {
  fs::path f = dir_ / "a.txt";
  files::WriteAllBytes(f, "first");
  fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  files::WriteAllBytes(f, std::string("second\0bytes", 12));
  EXPECT_EQ(files::ReadAllBytes(f), std::string("second\0bytes", 12));
  EXPECT_EQ(fs::status(f).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  int entries = 0;
  for (auto& e : fs::directory_iterator(dir_)) (void)e, ++entries;
  EXPECT_EQ(entries, 1);
  EXPECT_THROW(files::WriteAllBytes(dir_ / "missing" / "b.txt", "x"), files::FileError);
  try {
    files::ReadAllBytes(dir_ / "nope.txt");
    ADD_FAILURE() << "no error";
  } catch (const files::FileError& e) {
    EXPECT_NE(std::string(e.what()).find("nope.txt"), std::string::npos);
  }
}

TEST_F(TempDirTest, TextFilesUseTheCodePage) {
  fs::path f = dir_ / "t.txt";
  files::WriteTextFile(f, vb::U("表示\r\n"));
  EXPECT_EQ(files::ReadAllBytes(f), "\x95\x5C\x8E\xA6\r\n");
  EXPECT_EQ(files::ReadTextFile(f), vb::U("表示\r\n"));
  files::WriteTextFile(f, vb::U("表"), CodePage::Named("UTF-8"));
  EXPECT_EQ(files::ReadAllBytes(f), "表");
  files::CopyFileAtomic(f, dir_ / "copy.txt");
  EXPECT_EQ(files::ReadTextFile(dir_ / "copy.txt", CodePage::Named("UTF-8")), vb::U("表"));
}

TEST(Process, RunReportsExitCodesAndStartFailures) {
  EXPECT_EQ(win::RunProcess("true", {}), 0);
  EXPECT_EQ(win::RunProcess("false", {}), 1);
  EXPECT_EQ(win::RunProcess("sh", {"-c", "exit 7"}), 7);
  EXPECT_THROW(win::RunProcess("no-such-program-tarno", {}), win::ProcessError);
  EXPECT_GT(win::StartProcess("true", {}), 0);
  EXPECT_GT(win::Shell("sh -c  true", 0), 0);
  EXPECT_THROW(win::Shell("   "), win::ProcessError);
}

}  // namespace
}  // namespace tarno
