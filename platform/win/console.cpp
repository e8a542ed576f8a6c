#include <fcntl.h>
#include <io.h>

#include <clocale>
#include <cstdio>

#include <windows.h>

#include "platform/console.h"

namespace tarno {

void SetUpCommandLineProgram() {
  std::fflush(stdout);
  std::fflush(stderr);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // std::filesystem::path reads a narrow string through the C runtime's
  // character type: the ANSI code page, as the arguments are.
  std::setlocale(LC_CTYPE, "");
}

std::u16string ArgumentText(std::string_view arg) {
  if (arg.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, arg.data(), static_cast<int>(arg.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, arg.data(), static_cast<int>(arg.size()), wide.data(), n);
  return std::u16string(wide.begin(), wide.end());
}

}  // namespace tarno
