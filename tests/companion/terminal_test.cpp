// The three programs and the tarno commands run from a terminal: what they
// print, what they ask, and their exit statuses.
#include <gmock/gmock.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <sstream>

#include "companion/terminal.h"
#include "companion_fixture.h"

namespace tarno::companion::test {
namespace {

using ::testing::HasSubstr;

struct ProgramRun {
  int status = -1;
  std::string out, err;
};

class TerminalTest : public CompanionTest {
 protected:
  void SetUp() override {
    CompanionTest::SetUp();
    source_ = root_ / "saved" / "TarnoAddIn.ini";
    WriteBytes(source_, kNew);
    fs::create_directories(root_ / "folder" / "TarnoAddIn.ini");
    // No RegSvr32 here unless a test puts one: the programs start nothing and say nothing of it.
    fs::create_directories(root_ / "bin");
  }

  // Runs a command line in root_ with the given standard input.
  ProgramRun Start(const std::string& command, const std::string& input = "") {
    WriteBytes(root_ / "stdin", input);
    std::string line = "cd '" + root_.string() + "' && PATH='" + (root_ / "bin").string() + "' " + command +
                       " <stdin >stdout 2>stderr";
    int rc = std::system(line.c_str());
    ProgramRun r;
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = ReadBytes(root_ / "stdout");
    r.err = ReadBytes(root_ / "stderr");
    return r;
  }

  static constexpr const char* kNew = "[COMMENT_NO]\r\nNO=4\r\n";
  static constexpr const char* kOld = "[COMMENT_NO]\r\nNO=1\r\n";
  fs::path source_;
};

const std::string kSetUp = TarnoSetUp_EXE;
const std::string kUnSetUp = TarnoUnSetUp_EXE;
const std::string kOption = TarnoOption_EXE;
const std::string kTarno = TARNO_EXE;
const std::string kQuestion = "TarnoAddIn.iniは既に存在しています上書きしてもよろしいですか？ [y/N] ";

TEST_F(TerminalTest, SetUpAndUninstallPrintTheirMessageAndExitZero) {
  for (const std::string& setup : {kSetUp, kTarno + " setup"}) {
    SCOPED_TRACE(setup);
    fs::remove_all(win_);
    ProgramRun r = Start(setup);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "セットアップが完了しました\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadBytes(AddIns()), "[Add-Ins32]\r\nprjTarnoAddIn.clsTarnoAddInP=0\r\n");
  }
  for (const std::string& unsetup : {kUnSetUp, kTarno + " unsetup"}) {
    SCOPED_TRACE(unsetup);
    WriteBytes(Destination(), kOld);
    WriteBytes(AddIns(), "[Add-Ins32]\r\nprjTarnoAddIn.clsTarnoAddInP=1\r\n");
    ProgramRun r = Start(unsetup);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "アンインストールしました\n");
    EXPECT_EQ(ReadBytes(AddIns()), "[Add-Ins32]\r\n");
    EXPECT_FALSE(fs::exists(Destination()));
  }
}

// Off Windows there is no COM registration to make: the help says what
// set-up does here, and never that it registers a COM server.
TEST_F(TerminalTest, HelpSaysWhatSetUpDoesOnThisSystem) {
  for (const std::string& help : {kSetUp + " --help", kTarno + " setup --help", kUnSetUp + " --help",
                                   kTarno + " unsetup --help"}) {
    SCOPED_TRACE(help);
    ProgramRun r = Start(help);
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("VBADDIN.INI"));
    EXPECT_THAT(r.out, HasSubstr("only where the system has RegSvr32"));
    EXPECT_THAT(r.out, ::testing::Not(HasSubstr("COM server")));
  }
}

TEST_F(TerminalTest, SetUpThatCannotWriteWarnsAndExitsTwo) {
  for (const std::string& program : {kSetUp, kUnSetUp}) {
    SCOPED_TRACE(program);
    fs::remove_all(win_);
    fs::create_directories(AddIns());
    ProgramRun r = Start(program);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("VBADDIN.INI"));
    EXPECT_THAT(r.err, HasSubstr(AddIns().string()));
  }
}

TEST_F(TerminalTest, ImportExitStatusesFollowTheWindowsChecksAndTheQuestion) {
  struct Case {
    const char* name;
    std::string command;
    std::string input;
    bool destination_exists;
    int status;
    std::string out, err;
    const char* result;  // the destination's bytes afterwards; nullptr: as it was
  } cases[] = {
      {"new file", kOption + " saved/TarnoAddIn.ini", "", false, 0, "", "", kNew},
      {"no terminal answers No", kOption + " saved/TarnoAddIn.ini", "y\n", true, 1, kQuestion + "n\n", "", nullptr},
      {"--yes", kOption + " --yes saved/TarnoAddIn.ini", "", true, 0, kQuestion + "y\n", "", kNew},
      {"path asked for", kOption + " -y", "saved/TarnoAddIn.ini\n", true, 0, kQuestion + "y\n", "", kNew},
      {"no path given", kOption, "", true, 1, "", "ファイル名を入力するか選択してください\n", nullptr},
      {"invalid name", kOption + " saved", "", true, 1, "", "不正なファイルを指定しています\n", nullptr},
      {"missing", kOption + " gone/TarnoAddIn.ini", "", true, 1, "", "指定されたファイルは存在しません\n", nullptr},
      {"itself", kOption + " sys/TarnoAddIn.ini", "", true, 1, "", "取り込み先のファイルは指定できません\n", nullptr},
      {"a folder", kOption + " -y folder/TarnoAddIn.ini", "", true, 1, "", "指定されたファイルは存在しません\n",
       nullptr},
      {"a FIFO", kOption + " -y fifo/TarnoAddIn.ini", "", true, 1, "", "指定されたファイルは存在しません\n", nullptr},
      {"any file, copied as it is", kOption + " -y stdin.TarnoAddIn.ini", "", true, 0, kQuestion + "y\n", "",
       "plain words\n"},
      {"two files", kOption + " a/TarnoAddIn.ini b/TarnoAddIn.ini", "", true, 2, "", "", nullptr},
      {"unknown option", kOption + " --force saved/TarnoAddIn.ini", "", true, 2, "", "", nullptr},
      {"tarno settings import", kTarno + " settings import saved/TarnoAddIn.ini", "", true, 1, kQuestion + "n\n", "",
       nullptr},
      {"tarno settings import --yes", kTarno + " settings import --yes saved/TarnoAddIn.ini", "", true, 0,
       kQuestion + "y\n", "", kNew},
      {"tarno settings import, a FIFO", kTarno + " settings import -y fifo/TarnoAddIn.ini", "", true, 1, "",
       "指定されたファイルは存在しません\n", nullptr},
  };
  fs::create_directories(root_ / "fifo");
  ASSERT_EQ(::mkfifo((root_ / "fifo" / "TarnoAddIn.ini").c_str(), 0600), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(sys_);
    if (c.destination_exists) WriteBytes(Destination(), kOld);
    // The program's own standard input, made a settings file that is none.
    WriteBytes(root_ / "stdin.TarnoAddIn.ini", "plain words\n");
    ProgramRun r = Start(c.command, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (c.status == 2 && c.err.empty())
      EXPECT_THAT(r.err, HasSubstr("--help"));
    else
      EXPECT_EQ(r.err, c.err);
    if (c.result)
      EXPECT_EQ(ReadBytes(Destination()), c.result);
    else
      EXPECT_EQ(fs::exists(Destination()) ? ReadBytes(Destination()) : "(none)",
                c.destination_exists ? kOld : "(none)");
  }
}

// Waits for a file that another process writes (not a timing test: the
// deadline only keeps a broken run from hanging).
bool AppearsWithin(const fs::path& p, int seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!fs::exists(p)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// A RegSvr32 on the path records its arguments and then waits on a gate the
// test opens only after the program has ended: the program did not wait.
TEST_F(TerminalTest, RegistrationCommandIsStartedWithoutWaitingForIt) {
  const std::pair<std::string, std::string> runs[] = {{kSetUp, "/S TarnoToolkit.dll"},
                                                      {kUnSetUp, "/U /S TarnoToolkit.dll"}};
  for (const auto& [program, args] : runs) {
    SCOPED_TRACE(program);
    fs::path bin = root_ / "bin";
    for (const char* f : {"args", "args.tmp", "done", "gate"}) fs::remove(bin / f);
    ASSERT_EQ(::mkfifo((bin / "gate").c_str(), 0600), 0);
    auto q = [&](const char* name) { return "'" + (bin / name).string() + "'"; };
    WriteBytes(bin / "RegSvr32", "#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                 "echo \"$@\" > " + q("args.tmp") + " && mv " + q("args.tmp") + " " + q("args") + "\n" +
                                 "timeout 30 cat " + q("gate") + " > /dev/null\n" +
                                 "echo done > " + q("done") + "\n");
    fs::permissions(bin / "RegSvr32", fs::perms::owner_all);
    ProgramRun r = Start(program);
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(fs::exists(bin / "done"));
    ASSERT_TRUE(AppearsWithin(bin / "args", 30));
    EXPECT_EQ(ReadBytes(bin / "args"), args + "\n");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int fd = -1;
    // Opening for writing succeeds once the script waits on the gate.
    while ((fd = ::open((bin / "gate").c_str(), O_WRONLY | O_NONBLOCK)) < 0 &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_TRUE(AppearsWithin(bin / "done", 30));
  }
}

TEST_F(TerminalTest, QuestionIsAnsweredOnTheTerminal) {
  struct Case {
    const char* typed;
    int status;
    bool replaced;
  } cases[] = {{"y\n", 0, true}, {"yes\n", 0, true}, {"n\n", 1, false}, {"\n", 1, false}, {"", 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    WriteBytes(Destination(), kOld);
    std::istringstream in(c.typed);
    std::ostringstream out, err;
    Terminal t{in, out, err, true, false};
    EXPECT_EQ(RunImport(t, source_.string()), c.status);
    EXPECT_EQ(out.str(), kQuestion);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(ReadBytes(Destination()), c.replaced ? kNew : kOld);
  }
  // Asked for the path on a terminal, with the window's tool tip as the prompt.
  std::istringstream in(source_.string() + "\ny\n");
  std::ostringstream out, err;
  Terminal t{in, out, err, true, false};
  WriteBytes(Destination(), kOld);
  EXPECT_EQ(RunImport(t, std::nullopt), 0);
  EXPECT_EQ(out.str(), "取り込むファイルを入力してください: " + kQuestion);
  EXPECT_EQ(ReadBytes(Destination()), kNew);
}

}  // namespace
}  // namespace tarno::companion::test
