// TarnoUnSetUp: removes the add-in's entry from "VBADDIN.INI" and its
// settings file, and starts the COM unregistration where the system has
// RegSvr32. Takes no arguments.
#include <unistd.h>

#include <iostream>
#include <string_view>

#include "companion/terminal.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  tarno::SetUpCommandLineProgram();
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << "Usage: TarnoUnSetUp\n"
                 "Removes the add-in's entry from VBADDIN.INI and deletes its settings file. The COM\n"
                 "unregistration (RegSvr32 /U) runs only where the system has RegSvr32, that is on Windows.\n";
    return 0;
  }
  if (argc > 1) {
    std::cerr << "TarnoUnSetUp: takes no arguments (see --help)\n";
    return 2;
  }
  tarno::companion::Terminal terminal{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1, false};
  return tarno::companion::RunUnSetUp(terminal);
}
