// tarno setup | unsetup | settings import: the companion programs'
// actions from the command line, with their messages and exit statuses
// (0 done, 1 an input refused or an overwrite declined, 2 a failure).
#include <unistd.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/command_registry.h"
#include "companion/terminal.h"

namespace tarno::cli {
namespace {

companion::Terminal StandardTerminal() {
  return companion::Terminal{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1, false};
}

void AddCompanionCommands(CLI::App& app, int& exit_code) {
  app.add_subcommand("setup",
                     "write the add-in's entry (Add-Ins32, value 0) into the IDE's VBADDIN.INI in the Windows "
                     "directory ($TARNO_WINDOWS_DIR, else $XDG_CONFIG_HOME/tarno). The COM registration "
                     "(RegSvr32) runs only where the system has RegSvr32, that is on Windows; elsewhere the "
                     "entry is all that set-up does (TarnoSetUp)")
      ->callback([&exit_code] {
        companion::Terminal t = StandardTerminal();
        exit_code = companion::RunSetUp(t);
      });
  app.add_subcommand("unsetup",
                     "remove the add-in's entry from VBADDIN.INI and delete its settings file TarnoAddIn.ini in "
                     "the system directory; the COM unregistration (RegSvr32 /U) runs only where the system has "
                     "RegSvr32, that is on Windows (TarnoUnSetUp)")
      ->callback([&exit_code] {
        companion::Terminal t = StandardTerminal();
        exit_code = companion::RunUnSetUp(t);
      });

  auto* settings = app.add_subcommand("settings", "the add-in's settings file TarnoAddIn.ini");
  settings->require_subcommand(1);
  auto* import = settings->add_subcommand(
      "import",
      "copy a saved settings file, as it is, over TarnoAddIn.ini in the system directory, read at the add-in's "
      "next connection; a file over 1 MiB is refused (TarnoOption)");
  auto file = std::make_shared<std::string>();
  auto yes = std::make_shared<bool>(false);
  import->add_option("FILE", *file, "the settings file to import; its path must hold the name TarnoAddIn.ini")
      ->required();
  import->add_flag("-y,--yes", *yes, "overwrite the existing settings file without asking");
  import->callback([&exit_code, file, yes] {
    companion::Terminal t = StandardTerminal();
    t.assume_yes = *yes;
    exit_code = companion::RunImport(t, *file);
  });
}

RegisterCommand companionCommands(AddCompanionCommands);

}  // namespace
}  // namespace tarno::cli
