// A folder of project files for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "host/files/text_lines.h"

namespace tarno::host::files::testing {

class TempProject {
 public:
  TempProject() {
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("tarno_files_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
  }
  ~TempProject() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempProject(const TempProject&) = delete;
  TempProject& operator=(const TempProject&) = delete;

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path p = dir_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  std::string Read(const std::string& relative) const { return ReadFileBytes(dir_ / relative); }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(dir_ / relative); }
  size_t FileCount() const {
    size_t n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir_))
      if (e.is_regular_file()) ++n;
    return n;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace tarno::host::files::testing
