// What the standard directories mean to their users, the same on every
// system: only how each directory is found differs (system_dirs.cpp, and
// win/system_dirs.cpp on Windows).
#include <system_error>

#include "platform/system_dirs.h"

namespace tarno::win {
namespace fs = std::filesystem;

fs::path ResolveInWindowsDirectory(const fs::path& file) {
  if (file.has_parent_path() || file.empty()) return file;
  fs::path dir = WindowsDirectory();
  return dir.empty() ? file : dir / file;
}

bool EnsureStandardDirectory(const fs::path& dir) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return true;
  if (dir.empty()) return false;
  auto same = [&](const fs::path& known) {
    return !known.empty() && dir.lexically_normal() == known.lexically_normal();
  };
  if (!same(SystemDirectory()) && !same(WindowsDirectory()) && !same(AddInDirectory())) return false;
  fs::create_directories(dir, ec);
  return fs::is_directory(dir, ec);
}

}  // namespace tarno::win
