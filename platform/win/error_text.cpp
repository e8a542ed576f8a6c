#include "platform/win/error_text.h"

#include <windows.h>

#include <filesystem>

namespace tarno::win {

std::string ErrorText(unsigned long err) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, err, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                           reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out;
  if (n > 0 && text) {
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ' || text[n - 1] == L'.')) --n;
    out = std::filesystem::path(std::wstring(text, n)).string();  // UTF-8
  }
  if (text) LocalFree(text);
  return out.empty() ? "error " + std::to_string(err) : out;
}

}  // namespace tarno::win
