// The Windows directories the tools rely on, mapped to per-user folders:
//   system directory   $TARNO_SYSTEM_DIR,  else $XDG_CONFIG_HOME/tarno, else ~/.config/tarno
//   Windows directory  $TARNO_WINDOWS_DIR, else the system directory's default
//   add-in folder      $TARNO_ADDIN_DIR,   else $XDG_DATA_HOME/tarno, else ~/.local/share/tarno
// The variables are read on every call, so tests can move them. The folders
// are not created here; writers create them on first write
// (EnsureStandardDirectory).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarno::win {

// Empty when no folder can be found (no variable and no HOME).
std::filesystem::path SystemDirectory();
std::filesystem::path WindowsDirectory();
std::filesystem::path AddInDirectory();

// As the Windows calls: when the folder (native path bytes) fits in uSize - 1
// bytes it is copied to lpBuffer followed by a NUL (lpBuffer grows to uSize if
// shorter) and its length is returned; when it does not fit, lpBuffer is left
// alone and the size needed (with the NUL) is returned; 0 when unknown.
uint32_t GetSystemDirectoryA(std::string& lpBuffer, uint32_t uSize);
uint32_t GetWindowsDirectoryA(std::string& lpBuffer, uint32_t uSize);

// dir + separator + name (the tools' "dir\name"), with the platform's separator.
std::filesystem::path JoinPath(std::string_view dir, std::string_view name);

// A profile or data file given without a folder lives in the Windows directory.
std::filesystem::path ResolveInWindowsDirectory(const std::filesystem::path& file);

// Creates `dir` (with parents) when it is one of the three folders above and
// missing. Returns true when the folder exists afterwards. Other folders are
// never created.
bool EnsureStandardDirectory(const std::filesystem::path& dir);

}  // namespace tarno::win
