// TarnoOption: copies a settings file saved elsewhere over the add-in's
// "TarnoAddIn.ini", after the checks of the import window.
#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "companion/terminal.h"
#include "platform/console.h"

namespace {

constexpr const char* kUsage =
    "Usage: TarnoOption [--yes] [FILE]\n"
    "Copies FILE (a settings file TarnoAddIn.ini saved elsewhere), byte for byte and unparsed, over the\n"
    "add-in's settings file. A file over 1 MiB is refused.\n"
    "Without FILE the path is read from standard input.\n"
    "  -y, --yes   answer Yes when asked whether to overwrite the existing file\n";

}  // namespace

int main(int argc, char** argv) {
  tarno::SetUpCommandLineProgram();
  tarno::companion::Terminal terminal{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1, false};
  std::optional<std::string> file;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (!options_end && (arg == "--help" || arg == "-h")) {
      std::cout << kUsage;
      return 0;
    }
    if (!options_end && (arg == "--yes" || arg == "-y")) {
      terminal.assume_yes = true;
    } else if (!options_end && arg == "--") {
      options_end = true;
    } else if (!options_end && arg.size() > 1 && arg.front() == '-') {
      std::cerr << "TarnoOption: unknown option " << arg << " (see --help)\n";
      return 2;
    } else if (file) {
      std::cerr << "TarnoOption: one file at a time (see --help)\n";
      return 2;
    } else {
      file = std::string(arg);
    }
  }
  return tarno::companion::RunImport(terminal, file);
}
