// Hostile settings files: huge values, thousands of sections, garbage, and a
// save that fails. Each loads or fails with its documented result, and a
// save never loses a line it does not own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "addin/settings.h"
#include "platform/code_page.h"
#include "platform/text_file.h"

namespace tarno {
namespace {
namespace fs = std::filesystem;

class HostileSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_hostile_XXXXXX";
    root_ = mkdtemp(tmpl);
    ::setenv("TARNO_SYSTEM_DIR", root_.c_str(), 1);
    SetSystemCodePage(CodePage::Cp932());
    GetSystemDir(model_);
    ini_ = root_ / "TarnoAddIn.ini";
  }
  void TearDown() override {
    files::SimulateWriteFault(files::WriteFault::None);
    ::unsetenv("TARNO_SYSTEM_DIR");
    fs::remove_all(root_);
  }
  void Put(const std::string& bytes) { files::WriteAllBytes(ini_, bytes); }
  std::string File() const { return files::ReadAllBytes(ini_); }
  fs::path root_, ini_;
  SettingsModel model_;
};

std::string Garbage() {
  std::string g;
  uint32_t x = 12345;
  for (int i = 0; i < 20000; ++i) {
    x = x * 1103515245u + 12345u;
    g += char(x >> 24);
  }
  return "[COMMENT]\r\n1='kept\r\n" + g;
}

struct SettingsCase {
  const char* what;
  std::string file;
  const char* error;  // part of the SettingsError, nullptr: loads
};

TEST_F(HostileSettingsTest, EachFileLoadsOrFailsNamingTheKey) {
  std::string sections;
  for (int i = 0; i < 10000; ++i) sections += "[Other" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
  const SettingsCase cases[] = {
      {"a 1 MB comment", "[COMMENT]\r\n1='" + std::string(1u << 20, 'x') + "\r\n", nullptr},
      {"an Interval beyond Integer", "[Project]\r\nInterval=99999999999999999999\r\n", "[Project] Interval"},
      {"a comment number beyond Long", "[COMMENT_NO]\r\nNO=1E+300\r\n", "[COMMENT_NO] NO"},
      {"a pattern count with no patterns", "[CONTROL_NO]\r\nNO=2147483647\r\n", "[CONTROL_NO1] Type"},
      {"10,000 foreign sections", sections + "[Project]\r\nInterval=7\r\n", nullptr},
      {"garbage after a comment", Garbage(), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Put(c.file);
    SettingsModel m;
    GetSystemDir(m);
    try {
      LoadSettings(m);
      EXPECT_EQ(c.error, nullptr) << "loaded";
      EXPECT_TRUE(m.LoadCompleted);
      // A save keeps every line it does not own.
      ASSERT_TRUE(SaveSettings(m));
    } catch (const SettingsError& e) {
      ASSERT_NE(c.error, nullptr) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("TarnoAddIn.ini"), std::string::npos) << e.what();
      EXPECT_FALSE(m.LoadCompleted);
      EXPECT_FALSE(SaveSettings(m));
      EXPECT_EQ(File(), c.file);  // a failed load never leads to a write
    }
  }
}

TEST_F(HostileSettingsTest, HugeValuesAreCutAndForeignSectionsSurviveASave) {
  Put("[COMMENT]\r\n1='" + std::string(1u << 20, 'x') + "\r\n");
  LoadSettings(model_);
  EXPECT_EQ(model_.CommentTexts[0], u"'" + std::u16string(253, u'x'));  // the 255-byte buffer
  std::string sections;
  for (int i = 0; i < 10000; ++i) sections += "[Other" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
  Put(sections);
  LoadSettings(model_);
  model_.AutoSaveInterval = 5;
  ASSERT_TRUE(SaveSettings(model_));
  EXPECT_EQ(File().substr(0, sections.size()), sections);
}

TEST_F(HostileSettingsTest, AFailedSaveLeavesTheFileAsItWas) {
  using files::WriteFault;
  const std::string old = "[Project]\r\nInterval=7\r\n";
  for (auto fault : {WriteFault::CannotCreate, WriteFault::DiskFull, WriteFault::RenameFails}) {
    Put(old);
    LoadSettings(model_);
    model_.AutoSaveInterval = 9;
    files::SimulateWriteFault(fault);
    EXPECT_FALSE(SaveSettings(model_));
    files::SimulateWriteFault(WriteFault::None);
    EXPECT_EQ(File(), old);
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(root_)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1u);  // no temporary file left behind
  }
}

}  // namespace
}  // namespace tarno
