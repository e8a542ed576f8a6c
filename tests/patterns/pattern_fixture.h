// A temporary add-in folder whose CodePatrn folder is the pattern root, with
// helpers that lay out folders and pattern files byte by byte.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/code_page.h"
#include "platform/utf8_path.h"
#include "platform/vb_text.h"

namespace tarno::test {

namespace fs = std::filesystem;

// CP932 bytes of UTF-8 text, as pattern files hold it.
inline std::string Sjis(const std::string& utf8) { return CodePage::Cp932().Encode(vb::U(utf8)); }

// A message's first line (a failure's second line names the path and reason).
inline std::u16string FirstLine(const std::u16string& text) { return text.substr(0, text.find(u"\r\n")); }

class PatternFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_patterns_XXXXXX";
    dir_ = mkdtemp(tmpl);
    addin_ = dir_ / "addin";
    root_ = addin_ / "CodePatrn";
    ::setenv("TARNO_ADDIN_DIR", addin_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("TARNO_ADDIN_DIR");
    fs::remove_all(dir_);
  }

  // Paths inside the root from UTF-8 names.
  fs::path At(const std::string& folder) const { return root_ / files::PathOfUtf8(folder); }
  fs::path At(const std::string& folder, const std::string& file) const {
    return root_ / files::PathOfUtf8(folder) / files::PathOfUtf8(file);
  }
  void MakeFolder(const std::string& folder) const { fs::create_directories(At(folder)); }
  void Put(const fs::path& path, const std::string& bytes) const {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  void PutPattern(const std::string& folder, const std::string& file, const std::string& bytes) const {
    Put(At(folder, file), bytes);
  }
  static std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Every entry name under a directory, recursively (what is on disk).
  static std::set<std::string> Tree(const fs::path& dir) {
    std::set<std::string> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
      out.insert(files::Utf8OfPath(fs::relative(it->path(), dir)));
    return out;
  }

  fs::path dir_, addin_, root_;
};

}  // namespace tarno::test
