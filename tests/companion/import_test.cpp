// The settings import window: its checks in order, the overwrite question,
// the copy through a temporary file and the files it refuses.
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <sstream>

#include "companion/frm_torikomi.h"
#include "companion/settings_import.h"
#include "companion/terminal.h"
#include "companion_fixture.h"
#include "platform/vb_text.h"
#include "support/ui_harness.h"

namespace tarno::companion::test {
namespace {

using ::testing::ElementsAre;
using vb::U;

const std::string kOld = "[COMMENT_NO]\r\nNO=1\r\n[COMMENT]\r\n1='old\r\n";
const std::string kNew = "[COMMENT_NO]\r\nNO=4\r\n[COMMENT]\r\n5='new one\r\n[Project]\r\nSaved=1\r\n";

class ImportTest : public CompanionTest {
 protected:
  void SetUp() override {
    CompanionTest::SetUp();
    source_ = root_ / "saved" / "TarnoAddIn.ini";
    WriteBytes(source_, kNew);
    WriteBytes(Destination(), kOld);
    form_.Show();
  }

  // Types the path and presses the import button, as the user does.
  Outcome Import(const std::u16string& text) {
    ui::ClearText(form_.Text1);
    ui::Type(form_.Text1, text);
    ui::Click(form_.Command1);
    return form_.LastOutcome();
  }
  Outcome Import(const fs::path& path) { return Import(U(path.string())); }

  // Exactly one warning with the window's caption as its title.
  void ExpectOneWarning(const char* text) {
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_EQ(ui_.Messages()[0].text, U(text));
    EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
    EXPECT_EQ(ui_.Messages()[0].ButtonSet(), ui::vbOKOnly);
    EXPECT_EQ(ui_.Messages()[0].title, u"Tarno Kit");
  }

  tarno::test::UiHarness ui_;
  frmTorikomi form_;
  fs::path source_;
};

TEST_F(ImportTest, ChecksRunInOrderAndRefuseWithTheFocusOnTheFileName) {
  // Files that make a later check pass, so that each case stops where it says.
  WriteBytes(root_ / "saved" / "tarnoaddin.ini", kNew);
  WriteBytes(root_ / "Sys" / "TarnoAddIn.ini", kNew);  // the destination's folder in other letter case
  fs::create_directories(root_ / "links");
  fs::create_symlink(sys_, root_ / "links" / "sysdir");
  fs::create_symlink(Destination(), root_ / "links" / "TarnoAddIn.ini");
  fs::create_directories(root_ / "hard");
  fs::create_hard_link(Destination(), root_ / "hard" / "TarnoAddIn.ini");

  const char* kEmpty = "ファイル名を入力するか選択してください";
  const char* kInvalid = "不正なファイルを指定しています";
  const char* kMissing = "指定されたファイルは存在しません";
  const char* kItself = "取り込み先のファイルは指定できません";
  struct Case {
    const char* name;
    std::u16string text;
    const char* message;
  } cases[] = {
      {"empty", u"", kEmpty},
      {"only spaces", u"   ", kEmpty},
      {"name in other letter case", U((root_ / "saved" / "tarnoaddin.ini").string()), kInvalid},
      {"name without its extension", U((root_ / "saved" / "TarnoAddIn").string()), kInvalid},
      {"missing file with the name in other letter case", U((root_ / "nowhere" / "tarnoaddin.ini").string()),
       kInvalid},
      {"missing file", U((root_ / "nowhere" / "TarnoAddIn.ini").string()), kMissing},
      {"the destination", U(Destination().string()), kItself},
      {"the destination in other letter case", U((root_ / "Sys" / "TarnoAddIn.ini").string()), kItself},
      {"the destination with ./", U((sys_ / "." / "TarnoAddIn.ini").string()), kItself},
      {"the destination through ..", U((sys_ / ".." / "sys" / "TarnoAddIn.ini").string()), kItself},
      {"the destination through a doubled slash", U(sys_.string() + "//TarnoAddIn.ini"), kItself},
      {"the destination relative to the current folder", u"sys/TarnoAddIn.ini", kItself},
      {"the destination through a linked folder", U((root_ / "links" / "sysdir" / "TarnoAddIn.ini").string()),
       kItself},
      {"a link to the destination", U((root_ / "links" / "TarnoAddIn.ini").string()), kItself},
      {"a hard link to the destination", U((root_ / "hard" / "TarnoAddIn.ini").string()), kItself},
  };
  fs::path cwd = fs::current_path();
  fs::current_path(root_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.ClearMessages();
    EXPECT_EQ(Import(c.text), Outcome::kRefused);
    ExpectOneWarning(c.message);
    EXPECT_EQ(form_.ActiveControl(), &form_.Text1);
    EXPECT_EQ(ReadBytes(Destination()), kOld);
  }
  fs::current_path(cwd);
}

TEST_F(ImportTest, NameInAFolderNamePassesTheNameTest) {
  fs::path in_folder = root_ / "TarnoAddIn.ini.d" / "settings.txt";
  EXPECT_EQ(Import(in_folder), Outcome::kRefused);
  ExpectOneWarning("指定されたファイルは存在しません");

  WriteBytes(in_folder, kNew);
  ui_.ClearMessages();
  ui_.Answer(ui::vbYes);
  EXPECT_EQ(Import(in_folder), Outcome::kDone);
  EXPECT_EQ(ReadBytes(Destination()), kNew);
}

TEST_F(ImportTest, OverwriteQuestionAnsweredNoKeepsTheFileAndYesReplacesIt) {
  for (int answer : {ui::vbNo, ui::vbYes}) {
    SCOPED_TRACE(answer == ui::vbYes ? "Yes" : "No");
    WriteBytes(Destination(), kOld);
    ui_.ClearMessages();
    ui_.Answer(answer);
    Outcome outcome = Import(source_);
    ASSERT_EQ(ui_.Messages().size(), 1u);  // the question only: a copy is not announced
    const auto& q = ui_.Messages()[0];
    EXPECT_EQ(q.text, U("TarnoAddIn.iniは既に存在しています上書きしてもよろしいですか？"));
    EXPECT_EQ(q.ButtonSet(), ui::vbYesNo);
    EXPECT_EQ(q.Icon(), ui::vbInformation);
    EXPECT_EQ(q.title, u"Tarno Kit");
    EXPECT_EQ(outcome, answer == ui::vbYes ? Outcome::kDone : Outcome::kDeclined);
    EXPECT_EQ(ReadBytes(Destination()), answer == ui::vbYes ? kNew : kOld);
    EXPECT_THAT(Names(sys_), ElementsAre("TarnoAddIn.ini"));
  }
}

TEST_F(ImportTest, MissingDestinationIsCopiedWithoutAQuestionIntoAFolderMadeForIt) {
  fs::remove_all(sys_);
  EXPECT_EQ(Import(source_), Outcome::kDone);
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_EQ(ReadBytes(Destination()), kNew);
  EXPECT_EQ(form_.SystemDir(), sys_.string());
}

// The write of the copy fails half-way (the file size limit stands in for a
// full disk): the old file stays whole and no temporary file is left.
TEST_F(ImportTest, CopyThatFailsLeavesTheOldFileWhole) {
  std::string big;
  for (int i = 0; big.size() < 256 * 1024; ++i) big += "Key" + std::to_string(i) + "=" + std::string(60, 'x') + "\r\n";
  WriteBytes(source_, "[Big]\r\n" + big);
  ui_.Answer(ui::vbYes);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Outcome outcome = Import(source_);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);

  EXPECT_EQ(outcome, Outcome::kFailed);
  ASSERT_EQ(ui_.Messages().size(), 2u);
  EXPECT_EQ(ui_.Messages()[1].text, U("ファイルの取り込みに失敗しました"));
  EXPECT_EQ(ui_.Messages()[1].Icon(), ui::vbExclamation);
  EXPECT_EQ(ui_.Messages()[1].title, u"Tarno Kit");
  EXPECT_EQ(ReadBytes(Destination()), kOld);
  EXPECT_THAT(Names(sys_), ElementsAre("TarnoAddIn.ini"));
}

// The program copies the file whole and never parses it: whatever the add-in
// makes of the bytes, they arrive as they were.
TEST_F(ImportTest, AnyPlainFileIsCopiedByteForByte) {
  const std::string cases[] = {
      "\xEF\xBB\xBF[COMMENT_NO]\r\nNO=1\r\n",                 // a UTF-8 byte-order mark from an editor
      "; settings of 2024\r\nmy note without an equals sign\r\n[X]\r\n",  // a note line
      "[COMMENT_NO]\r\nNO=1\r\n\x1A",                             // a trailing Ctrl-Z
      std::string("MZ\x90\0\x03\0\0\0", 8) + "[x]\r\n",          // binary
      std::string("\xFF\xFE[\0x\0]\0", 8),                         // UTF-16
      "",                                                            // empty
      std::string(kMaxSettingsFileBytes, 'k'),                       // exactly the largest size
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.substr(0, 16));
    WriteBytes(source_, bytes);
    ui_.ClearMessages();
    ui_.Answer(ui::vbYes);
    EXPECT_EQ(Import(source_), Outcome::kDone);
    EXPECT_EQ(ui_.Messages().size(), 1u);  // the overwrite question only
    EXPECT_EQ(ReadBytes(Destination()), bytes);
    EXPECT_THAT(Names(sys_), ElementsAre("TarnoAddIn.ini"));
  }
}

// What is not a plain file is not there to import; and a file larger than a
// settings file can be is refused, saying so, before it is read.
TEST_F(ImportTest, WhatIsNoPlainFileOrTooLargeIsRefusedWithTheFocusOnTheFileName) {
  fs::create_directories(root_ / "dev");
  fs::create_symlink("/dev/null", root_ / "dev" / "TarnoAddIn.ini");
  const char* kMissing = "指定されたファイルは存在しません";
  const char* kTooLarge = "指定されたファイルは大きすぎます（設定ファイルは 1 MiB まで）";
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* message;
  } cases[] = {
      {"folder", [](const fs::path& p) { fs::create_directories(p); }, kMissing},
      {"FIFO (never opened: that would wait for a writer)", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); },
       kMissing},
      {"link to a device", [this](const fs::path& p) { fs::create_symlink(root_ / "dev" / "TarnoAddIn.ini", p); },
       kMissing},
      {"link to nothing", [](const fs::path& p) { fs::create_symlink("nowhere", p); }, kMissing},
      {"one byte over 1 MiB", [](const fs::path& p) { WriteBytes(p, std::string(kMaxSettingsFileBytes + 1, 'k')); },
       kTooLarge},
      {"2 GiB, sparse", [](const fs::path& p) {
         WriteBytes(p, "");
         fs::resize_file(p, std::uintmax_t(2) << 30);
       },
       kTooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(source_);
    c.make(source_);
    ui_.ClearMessages();
    EXPECT_EQ(Import(source_), Outcome::kRefused);
    ExpectOneWarning(c.message);
    EXPECT_EQ(form_.ActiveControl(), &form_.Text1);
    EXPECT_EQ(ReadBytes(Destination()), kOld);
    EXPECT_THAT(Names(sys_), ElementsAre("TarnoAddIn.ini"));
  }
}

// A path is the bytes the user gave, whatever they are: names made on a
// CP932 system, or a byte that only starts a UTF-8 character.
TEST_F(ImportTest, PathBytesThatAreNotUtf8AreTakenAsTheyAre) {
  const std::string folders[] = {"\x92\xE8\x8C^", "saved\xE3", "\xFF\xFE", "\xE3\x81"};
  for (const std::string& folder : folders) {
    fs::path source = root_ / folder / "TarnoAddIn.ini";
    SCOPED_TRACE(source.string());
    WriteBytes(source, folder + "\r\n");
    std::istringstream in;
    std::ostringstream out, err;
    Terminal t{in, out, err, false, true};
    EXPECT_EQ(RunImport(t, source.string()), 0) << err.str();
    EXPECT_EQ(ReadBytes(Destination()), folder + "\r\n");
  }
}

TEST_F(ImportTest, UnknownSystemDirectoryFailsAndWritesNothingInTheCurrentFolder) {
  ::unsetenv("TARNO_SYSTEM_DIR");
  const char* home = std::getenv("HOME");
  std::string saved_home = home ? home : "";
  ::unsetenv("HOME");
  fs::path cwd = fs::current_path();
  fs::current_path(root_);
  Outcome outcome = Import(source_);
  fs::current_path(cwd);
  if (!saved_home.empty()) ::setenv("HOME", saved_home.c_str(), 1);
  EXPECT_EQ(outcome, Outcome::kFailed);
  ExpectOneWarning("ファイルの取り込みに失敗しました");
  EXPECT_FALSE(fs::exists(root_ / "TarnoAddIn.ini"));
}

TEST_F(ImportTest, SystemDirectoryTooLongForTheBufferFails) {
  for (size_t length : {254u, 255u}) {
    SCOPED_TRACE(length);
    fs::path sys = root_ / std::string(length - root_.string().size() - 1, 'd');
    ::setenv("TARNO_SYSTEM_DIR", sys.c_str(), 1);
    ui_.ClearMessages();
    EXPECT_EQ(Import(source_), length == 254 ? Outcome::kDone : Outcome::kFailed);
    EXPECT_EQ(fs::exists(sys / "TarnoAddIn.ini"), length == 254);
    if (length == 255) ExpectOneWarning("ファイルの取り込みに失敗しました");
  }
}

TEST_F(ImportTest, BrowseFillsTheFileNameAndCancelLeavesIt) {
  ui::Type(form_.Text1, u"typed");
  ui_.CancelDialog();
  ui::Click(form_.Command2);
  EXPECT_EQ(form_.Text1.Text(), u"typed");
  ui_.ChooseFile(U(source_.string()));
  ui::Click(form_.Command2);
  EXPECT_EQ(form_.Text1.Text(), U(source_.string()));
  ASSERT_EQ(ui_.DialogRequests().size(), 2u);
  const auto& r = ui_.DialogRequests()[0];
  EXPECT_EQ(r.kind, tarno::test::DialogRequest::Open);
  EXPECT_EQ(r.file_name, u"TarnoAddIn.ini");
  EXPECT_EQ(r.filter, U("設定ファイル|*.ini"));
  EXPECT_EQ(r.flags, 2);
  EXPECT_TRUE(r.cancel_error);
  EXPECT_TRUE(r.cancelled);
  EXPECT_TRUE(ui_.Messages().empty());
}

}  // namespace
}  // namespace tarno::companion::test
