// The few POSIX calls the tests use, for the Windows test builds (given to
// the compiler with -include there; on other systems this file is empty).
#pragma once
#ifdef _WIN32

#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>
#include <string.h>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && getenv(name)) return 0;
  return _putenv_s(name, value);
}

// A path's c_str() is wide on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
  std::wstring wname(name, name + strlen(name));
  if (!overwrite && _wgetenv(wname.c_str())) return 0;
  return _wputenv_s(wname.c_str(), value);
}

// _putenv_s with an empty value removes the variable.
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }

// The trailing "XXXXXX" made unique, the folder created (and its parents:
// "/tmp" is the current drive's, which under Wine is the Linux root).
inline char* mkdtemp(char* tmpl) {
  size_t n = strlen(tmpl);
  if (n < 6 || strcmp(tmpl + n - 6, "XXXXXX") != 0) return nullptr;
  static std::mt19937_64 rng(std::random_device{}());
  const char* digits = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = n - 6; i < n; ++i) tmpl[i] = digits[rng() % 36];
    std::error_code ec;
    std::filesystem::path dir(tmpl);
    std::filesystem::create_directories(dir.parent_path(), ec);
    if (std::filesystem::create_directory(dir, ec)) return tmpl;
  }
  return nullptr;
}

#endif
