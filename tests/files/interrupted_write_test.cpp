// A write killed half-way (the file size limit kills the writing process the
// way a crash or a power cut would) leaves its temporary file behind; the
// next write of the same file must take it over, so that nothing is left
// beside the file once that write is done.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "companion/terminal.h"
#include "patterns/pattern_store.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Put(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

// Runs `write` in a child process that the kernel kills once it has written
// `limit` bytes to any file; true when it was killed so.
bool KilledHalfWay(const std::function<void()>& write, rlim_t limit) {
  pid_t pid = ::fork();
  if (pid == 0) {
    struct rlimit none = {0, 0}, small = {limit, limit};
    ::setrlimit(RLIMIT_CORE, &none);
    ::signal(SIGXFSZ, SIG_DFL);
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
      write();
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

class InterruptedWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_interrupted_XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    ::setenv("TARNO_ADDIN_DIR", (dir_ / "addin").c_str(), 1);
    ::setenv("TARNO_SYSTEM_DIR", (dir_ / "sys").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("TARNO_ADDIN_DIR");
    ::unsetenv("TARNO_SYSTEM_DIR");
    fs::remove_all(dir_);
  }
  // A saved settings file of Content(fill), made before any write is limited.
  fs::path Saved(char fill) const { return dir_ / (std::string("saved-") + fill) / "TarnoAddIn.ini"; }
  fs::path dir_;
};

// 64 KiB of settings lines: far over the limit, well under any size cap.
std::string Content(char fill) {
  std::string s = "[Big]\r\n";
  for (int i = 0; s.size() < 64 * 1024; ++i) s += "K" + std::to_string(i) + "=" + std::string(50, fill) + "\r\n";
  return s;
}

TEST_F(InterruptedWriteTest, TheNextWriteOfTheFileLeavesNoTemporaryFileBehind) {
  struct Case {
    const char* writer;
    fs::path folder;     // where the file is written
    std::string target;  // its name there
    // Writes the file with content made of `fill`.
    std::function<void(char fill)> write;
  } cases[] = {
      {"whole-file write", dir_ / "w", "Form1.frm",
       [this](char fill) { files::WriteAllBytes(dir_ / "w" / "Form1.frm", Content(fill)); }},
      {"file copy", dir_ / "c", "copy.ini",
       [this](char fill) { files::CopyFileAtomic(Saved(fill), dir_ / "c" / "copy.ini"); }},
      {"pattern store", dir_ / "addin" / "CodePatrn" / "F", "p.Dat",
       [](char fill) { patterns::WritePatternFile(u"F", u"p", vb::U(Content(fill))); }},
      {"settings import", dir_ / "sys", "TarnoAddIn.ini",
       [this](char fill) {
         std::istringstream in;
         std::ostringstream out, err;
         companion::Terminal t{in, out, err, false, true};
         ASSERT_EQ(companion::RunImport(t, Saved(fill).string()), 0) << err.str();
       }},
  };
  for (char fill : {'a', 'b'}) Put(Saved(fill), Content(fill));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.writer);
    fs::create_directories(c.folder);
    Put(c.folder / c.target, "old\r\n");
    ASSERT_TRUE(KilledHalfWay([&] { c.write('a'); }, 4096));
    EXPECT_EQ(Bytes(c.folder / c.target), "old\r\n");
    // The killed write did leave something, or this test would prove nothing.
    ASSERT_GT(Names(c.folder).size(), 1u);

    c.write('b');
    EXPECT_EQ(Names(c.folder), std::set<std::string>{c.target});
    EXPECT_EQ(Bytes(c.folder / c.target), Content('b'));
  }
}

}  // namespace
}  // namespace tarno
