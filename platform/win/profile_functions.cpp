// On Windows the profile functions are the system's own. The file is found
// as the stand-ins find it (a bare name lies in the Windows directory, which
// TARNO_WINDOWS_DIR may move) and given to Windows by an ANSI name.
#include <windows.h>

#include <vector>

#include "platform/profile.h"
#include "platform/system_dirs.h"

namespace tarno::win {
namespace fs = std::filesystem;
namespace {

// The ANSI spelling of a wide name; false when the code page lacks a character.
bool Ansi(const std::wstring& w, std::string& out) {
  if (w.empty()) return out.clear(), true;
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, &lossy);
  if (n <= 0 || lossy) return false;
  out.assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  return true;
}

// The file's name for the ANSI calls. A folder the ANSI code page cannot
// spell is given by its short (8.3) name; empty when there is none.
std::string AnsiFileName(const fs::path& lpFileName) {
  fs::path file = ResolveInWindowsDirectory(lpFileName);
  std::string out;
  if (Ansi(file.native(), out)) return out;
  std::wstring dir = file.parent_path().native();
  DWORD n = GetShortPathNameW(dir.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring shortDir(n, L'\0');
  n = GetShortPathNameW(dir.c_str(), shortDir.data(), n);
  shortDir.resize(n);
  if (!Ansi((fs::path(shortDir) / file.filename()).native(), out)) return {};
  return out;
}

// A NUL-terminated copy of an optional argument (nullptr for null).
class CText {
 public:
  CText(OptText t) : null_(!t) {
    if (t) text_ = std::string(*t);
  }
  const char* get() const { return null_ ? nullptr : text_.c_str(); }

 private:
  bool null_;
  std::string text_;
};

// Writes create the standard folders as the stand-ins do; Windows would not.
bool PrepareFolder(const fs::path& lpFileName) {
  fs::path dir = ResolveInWindowsDirectory(lpFileName).parent_path();
  std::error_code ec;
  return dir.empty() || fs::is_directory(dir, ec) || EnsureStandardDirectory(dir);
}

}  // namespace

uint32_t GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName, std::string_view lpDefault,
                                  std::string& lpReturnedString, uint32_t nSize, const fs::path& lpFileName) {
  lpReturnedString.clear();
  if (nSize == 0) return 0;
  std::string file = AnsiFileName(lpFileName);
  std::vector<char> buf(nSize + 2, '\0');
  DWORD n = ::GetPrivateProfileStringA(CText(lpAppName).get(), CText(lpKeyName).get(), std::string(lpDefault).c_str(),
                                       buf.data(), nSize, file.empty() ? "" : file.c_str());
  lpReturnedString.assign(buf.data(), n);
  return n;
}

bool WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString, const fs::path& lpFileName) {
  std::string file = AnsiFileName(lpFileName);
  if (file.empty() || !PrepareFolder(lpFileName)) return false;
  return ::WritePrivateProfileStringA(CText(lpAppName).get(), CText(lpKeyName).get(), CText(lpString).get(),
                                      file.c_str()) != 0;
}

bool WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString, const fs::path& lpFileName) {
  std::string file = AnsiFileName(lpFileName);
  if (file.empty() || !PrepareFolder(lpFileName)) return false;
  // The entries are NUL-separated; Windows reads them up to a double NUL.
  std::string entries;
  if (lpString) entries = std::string(*lpString) + std::string(2, '\0');
  return ::WritePrivateProfileSectionA(std::string(lpAppName).c_str(), lpString ? entries.c_str() : nullptr,
                                       file.c_str()) != 0;
}

}  // namespace tarno::win
