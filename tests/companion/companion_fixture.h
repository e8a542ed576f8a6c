// A temporary Windows directory and system directory for the companion
// programs, and a record of the commands they start.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "companion/registration.h"

namespace tarno::companion::test {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

class CompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_companion_XXXXXX";
    root_ = mkdtemp(tmpl);
    win_ = root_ / "win";
    sys_ = root_ / "sys";
    ::setenv("TARNO_WINDOWS_DIR", win_.c_str(), 1);
    ::setenv("TARNO_SYSTEM_DIR", sys_.c_str(), 1);
    SetCommandStarter([this](const std::string& line) { started_.push_back(line); });
  }
  void TearDown() override {
    SetCommandStarter(nullptr);
    ::unsetenv("TARNO_WINDOWS_DIR");
    ::unsetenv("TARNO_SYSTEM_DIR");
    fs::remove_all(root_);
  }

  fs::path AddIns() const { return win_ / "VBADDIN.INI"; }
  fs::path Destination() const { return sys_ / "TarnoAddIn.ini"; }
  // Names in a folder, to see that nothing was left beside a file.
  static std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> out;
    for (auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    return out;
  }

  fs::path root_, win_, sys_;
  std::vector<std::string> started_;
};

}  // namespace tarno::companion::test
