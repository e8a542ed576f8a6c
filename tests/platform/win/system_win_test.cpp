// The Windows files of the platform layer: folders from Windows, whole-file
// writes through the wide API, process start, the system code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/code_page.h"
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
  EnvVar(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[4096];
    DWORD n = GetEnvironmentVariableW(name, old, 4096);
    if (n > 0 && n < 4096) had_ = true, old_.assign(old, n);
    Set(value);
  }
  ~EnvVar() { Set(had_ ? old_.c_str() : nullptr); }

 private:
  // Through the C runtime, which also sets the process's block.
  void Set(const wchar_t* value) { _wputenv_s(name_, value ? value : L""); }
  const wchar_t* name_;
  std::wstring old_;
  bool had_ = false;
};

class WindowsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir_ = fs::path(tmp) / (L"tarno-win-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(dir_, ec))
      SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(dir_, ec);
  }
  int Entries(const fs::path& dir) {
    int n = 0;
    for (auto& e : fs::directory_iterator(dir)) (void)e, ++n;
    return n;
  }
  fs::path dir_;
};

TEST(WindowsSystemDirs, TheFoldersComeFromWindowsUnlessAVariableMovesThem) {
  EnvVar a(L"TARNO_SYSTEM_DIR", nullptr), b(L"TARNO_WINDOWS_DIR", nullptr), c(L"TARNO_ADDIN_DIR", nullptr);
  wchar_t sys[MAX_PATH], win[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(sys, MAX_PATH), 0u);
  ASSERT_GT(GetWindowsDirectoryW(win, MAX_PATH), 0u);
  EXPECT_EQ(win::SystemDirectory(), fs::path(sys));
  EXPECT_EQ(win::WindowsDirectory(), fs::path(win));
  EXPECT_EQ(win::ResolveInWindowsDirectory("VBADDIN.INI"), fs::path(win) / "VBADDIN.INI");
  EXPECT_EQ(win::AddInDirectory().filename(), fs::path("tarno"));

  // The ANSI call as Windows answers it, including the size needed when too small.
  std::string expected(MAX_PATH, '\0');
  expected.resize(::GetSystemDirectoryA(expected.data(), MAX_PATH));
  std::string buf(255, ' ');
  ASSERT_EQ(win::GetSystemDirectoryA(buf, 255), expected.size());
  EXPECT_EQ(buf.substr(0, expected.size() + 1), expected + '\0');
  std::string small = "unchanged";
  EXPECT_EQ(win::GetSystemDirectoryA(small, 4), expected.size() + 1);
  EXPECT_EQ(small, "unchanged");

  EnvVar moved(L"TARNO_SYSTEM_DIR", L"C:\\srv\\sys"), movedWin(L"TARNO_WINDOWS_DIR", L"D:\\win");
  EXPECT_EQ(win::SystemDirectory(), fs::path(L"C:\\srv\\sys"));
  EXPECT_EQ(win::ResolveInWindowsDirectory("VBADDIN.INI"), fs::path(L"D:\\win\\VBADDIN.INI"));
  std::string moved_buf;
  ASSERT_EQ(win::GetSystemDirectoryA(moved_buf, 255), 10u);
  EXPECT_EQ(moved_buf.substr(0, 11), std::string("C:\\srv\\sys\0", 11));
  EXPECT_EQ(win::JoinPath("C:\\srv\\sys", "TarnoAddIn.ini"), fs::path(L"C:\\srv\\sys\\TarnoAddIn.ini"));
}

TEST(WindowsCodePage, TheSystemCodePageIsTheAnsiCodePage) {
  EXPECT_EQ(CodePage::Named(std::to_string(GetACP())).name(), SystemCodePage().name());
}

TEST_F(WindowsFilesTest, WritesReplaceThroughATemporaryFileAndNeverAReadOnlyFile) {
  fs::path f = dir_ / "a.txt";
  files::WriteAllBytes(f, "first");
  files::WriteAllBytes(f, std::string("second\0bytes\r\n", 14));
  EXPECT_EQ(files::ReadAllBytes(f), std::string("second\0bytes\r\n", 14));
  EXPECT_EQ(Entries(dir_), 1);

  SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(files::WriteAllBytes(f, "third"), files::FileError);
  EXPECT_EQ(files::ReadAllBytes(f), std::string("second\0bytes\r\n", 14));
  EXPECT_EQ(Entries(dir_), 1);

  for (auto fault : {files::WriteFault::CannotCreate, files::WriteFault::DiskFull, files::WriteFault::RenameFails}) {
    files::SimulateWriteFault(fault);
    EXPECT_THROW(files::WriteAllBytes(dir_ / "b.txt", "x"), files::FileError);
    files::SimulateWriteFault(files::WriteFault::None);
    EXPECT_FALSE(fs::exists(dir_ / "b.txt"));
    EXPECT_EQ(Entries(dir_), 1);
  }
  try {
    files::ReadAllBytes(dir_ / "nope.txt");
    ADD_FAILURE() << "no error";
  } catch (const files::FileError& e) {
    EXPECT_NE(std::string(e.what()).find("nope.txt"), std::string::npos) << e.what();
  }
}

TEST_F(WindowsFilesTest, JapaneseNamesOpenWhateverTheAnsiCodePage) {
  // 設定 and 表示.txt, given wide: the file API must not go through ANSI.
  fs::path folder = dir_ / fs::path(u8"\u8A2D\u5B9A");
  fs::create_directories(folder);
  fs::path f = folder / fs::path(u8"\u8868\u793A.txt");
  files::WriteTextFile(f, vb::U("表示\r\n"), CodePage::Cp932());
  EXPECT_EQ(files::ReadAllBytes(f), "\x95\x5C\x8E\xA6\r\n");
  EXPECT_EQ(files::ReadTextFile(f, CodePage::Cp932()), vb::U("表示\r\n"));
  files::CopyFileAtomic(f, folder / "copy.txt");
  EXPECT_EQ(files::ReadAllBytes(folder / "copy.txt"), "\x95\x5C\x8E\xA6\r\n");
}

TEST(WindowsProcess, RunReportsExitCodesAndStartFailures) {
  EXPECT_EQ(win::RunProcess("cmd", {"/c", "exit 0"}), 0);
  EXPECT_EQ(win::RunProcess("cmd", {"/c", "exit 7"}), 7);
  EXPECT_THROW(win::RunProcess("no-such-program-tarno", {}), win::ProcessError);
  EXPECT_GT(win::StartProcess("cmd", {"/c", "exit 0"}), 0);
  EXPECT_GT(win::Shell("cmd /c  exit", 0), 0);
  EXPECT_THROW(win::Shell("   "), win::ProcessError);
}

}  // namespace
}  // namespace tarno
