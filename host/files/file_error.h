// Errors and warnings of reading and writing VB 6 project files.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarno::host::files {

// A file that cannot be loaded or saved. line is 1-based; 0 when the fault is
// not on one line (a missing or unreadable file).
class ProjectFileError : public std::runtime_error {
 public:
  ProjectFileError(std::filesystem::path file, int line, const std::string& reason)
      : std::runtime_error(Describe(file, line, reason)), file_(std::move(file)), line_(line), reason_(reason) {}
  const std::filesystem::path& file() const { return file_; }
  int line() const { return line_; }
  const std::string& reason() const { return reason_; }

  static std::string Describe(const std::filesystem::path& file, int line, const std::string& reason) {
    std::string s = file.string();
    if (line > 0) s += ":" + std::to_string(line);
    return s + ": " + reason;
  }

 private:
  std::filesystem::path file_;
  int line_;
  std::string reason_;
};

// Something VB 6 itself would load past (it logs it and goes on).
struct LoadWarning {
  std::filesystem::path file;
  int line = 0;  // 1-based, 0 for the whole file
  std::string message;
  std::string ToString() const { return ProjectFileError::Describe(file, line, message); }
};

using Warnings = std::vector<LoadWarning>;

}  // namespace tarno::host::files
