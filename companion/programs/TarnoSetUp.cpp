// TarnoSetUp: registers the add-in with the IDE (its entry in "VBADDIN.INI")
// and starts the COM registration where the system has RegSvr32. Takes no
// arguments.
#include <unistd.h>

#include <iostream>
#include <string_view>

#include "companion/terminal.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  tarno::SetUpCommandLineProgram();
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << "Usage: TarnoSetUp\n"
                 "Writes the add-in's entry (Add-Ins32, value 0) into VBADDIN.INI in the Windows directory.\n"
                 "The COM registration (RegSvr32) runs only where the system has RegSvr32, that is on\n"
                 "Windows; elsewhere the entry is all that set-up does.\n";
    return 0;
  }
  if (argc > 1) {
    std::cerr << "TarnoSetUp: takes no arguments (see --help)\n";
    return 2;
  }
  tarno::companion::Terminal terminal{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1, false};
  return tarno::companion::RunSetUp(terminal);
}
