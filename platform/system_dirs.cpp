#include "platform/system_dirs.h"

#include <cstdlib>
#include <cstring>
#include <system_error>

namespace tarno::win {
namespace fs = std::filesystem;
namespace {

// An unset or empty variable counts as absent.
const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return (v && *v) ? v : nullptr;
}

// $XDG_<kind>_HOME/tarno, else ~/<fallback>/tarno. Relative XDG paths are
// ignored, as the XDG base directory rules ask.
fs::path XdgFolder(const char* xdg_var, const char* home_relative) {
  if (const char* x = Env(xdg_var); x && x[0] == '/') return fs::path(x) / "tarno";
  if (const char* home = Env("HOME")) return fs::path(home) / home_relative / "tarno";
  return {};
}

uint32_t CopyOut(const fs::path& dir, std::string& buffer, uint32_t size) {
  const std::string& native = dir.native();
  if (native.empty()) return 0;
  uint32_t n = static_cast<uint32_t>(native.size());
  if (n + 1 > size) return n + 1;
  if (buffer.size() < size) buffer.resize(size);
  std::memcpy(buffer.data(), native.data(), n);
  buffer[n] = '\0';
  return n;
}

}  // namespace

fs::path SystemDirectory() {
  if (const char* d = Env("TARNO_SYSTEM_DIR")) return fs::path(d);
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

fs::path WindowsDirectory() {
  if (const char* d = Env("TARNO_WINDOWS_DIR")) return fs::path(d);
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

fs::path AddInDirectory() {
  if (const char* d = Env("TARNO_ADDIN_DIR")) return fs::path(d);
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}

uint32_t GetSystemDirectoryA(std::string& lpBuffer, uint32_t uSize) {
  return CopyOut(SystemDirectory(), lpBuffer, uSize);
}

uint32_t GetWindowsDirectoryA(std::string& lpBuffer, uint32_t uSize) {
  return CopyOut(WindowsDirectory(), lpBuffer, uSize);
}

fs::path JoinPath(std::string_view dir, std::string_view name) {
  return fs::path(std::string(dir)) / fs::path(std::string(name));
}

}  // namespace tarno::win
