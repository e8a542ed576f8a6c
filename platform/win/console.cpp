#include <fcntl.h>
#include <io.h>

#include <clocale>
#include <cstdio>

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

}  // namespace tarno
