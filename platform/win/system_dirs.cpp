// The Windows directories from Windows itself; the TARNO_*_DIR variables
// still move them (tests, a user without rights to the real folders).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/code_page.h"
#include "platform/system_dirs.h"

namespace tarno::win {
namespace fs = std::filesystem;
namespace {

// An unset or empty variable counts as absent; read wide, so any folder name
// works, and from the process's block, which the C runtime's putenv also sets.
fs::path EnvPath(const wchar_t* name) {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH * 4);
  if (n == 0 || n >= MAX_PATH * 4) return {};
  return fs::path(std::wstring(buf, n));
}

fs::path FromSystem(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buf[MAX_PATH + 1];
  UINT n = get(buf, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return {};
  return fs::path(std::wstring(buf, n));
}

// The folder's name in the system code page, the bytes an ANSI caller sees.
std::string NarrowName(const fs::path& dir) {
  const std::wstring& w = dir.native();
  return SystemCodePage().Encode(std::u16string(w.begin(), w.end()));
}

uint32_t CopyOut(const std::string& native, std::string& buffer, uint32_t size) {
  if (native.empty()) return 0;
  uint32_t n = static_cast<uint32_t>(native.size());
  if (n + 1 > size) return n + 1;
  if (buffer.size() < size) buffer.resize(size);
  std::memcpy(buffer.data(), native.data(), n);
  buffer[n] = '\0';
  return n;
}

uint32_t CallSystem(UINT(WINAPI* get)(LPSTR, UINT), std::string& buffer, uint32_t size) {
  std::string buf(size + 1, '\0');
  UINT n = get(buf.data(), size);
  if (n == 0 || n >= size) return n;  // unknown, or the size needed
  return CopyOut(buf.substr(0, n), buffer, size);
}

}  // namespace

fs::path SystemDirectory() {
  if (fs::path d = EnvPath(L"TARNO_SYSTEM_DIR"); !d.empty()) return d;
  return FromSystem(GetSystemDirectoryW);
}

fs::path WindowsDirectory() {
  if (fs::path d = EnvPath(L"TARNO_WINDOWS_DIR"); !d.empty()) return d;
  return FromSystem(GetWindowsDirectoryW);
}

fs::path AddInDirectory() {
  if (fs::path d = EnvPath(L"TARNO_ADDIN_DIR"); !d.empty()) return d;
  if (fs::path appData = EnvPath(L"APPDATA"); !appData.empty()) return appData / "tarno";
  return {};
}

uint32_t GetSystemDirectoryA(std::string& lpBuffer, uint32_t uSize) {
  if (fs::path d = EnvPath(L"TARNO_SYSTEM_DIR"); !d.empty()) return CopyOut(NarrowName(d), lpBuffer, uSize);
  return CallSystem(::GetSystemDirectoryA, lpBuffer, uSize);
}

uint32_t GetWindowsDirectoryA(std::string& lpBuffer, uint32_t uSize) {
  if (fs::path d = EnvPath(L"TARNO_WINDOWS_DIR"); !d.empty()) return CopyOut(NarrowName(d), lpBuffer, uSize);
  return CallSystem(::GetWindowsDirectoryA, lpBuffer, uSize);
}

fs::path JoinPath(std::string_view dir, std::string_view name) {
  auto wide = [](std::string_view bytes) {
    std::u16string u = SystemCodePage().Decode(bytes);
    return fs::path(std::wstring(u.begin(), u.end()));
  };
  return wide(dir) / wide(name);
}

}  // namespace tarno::win
