// tarno: runs the kit's tools on VB 6 project files from the command line.
#include <iostream>

#include "cli/command_registry.h"
#include "platform/console.h"
#include "platform/huge_pages.h"

namespace tarno::cli {
std::vector<CommandInstaller>& CommandInstallers() {
  static std::vector<CommandInstaller> installers;
  return installers;
}
}  // namespace tarno::cli

int main(int argc, char** argv) {
  // A large project's check touches a few hundred megabytes: fewer, larger pages.
  tarno::BackTheHeapWithHugePages(std::size_t{1} << 30);
  tarno::SetUpCommandLineProgram();
  CLI::App app{"Tarno Kit: tools for Visual Basic 6 code, run on project files"};
  app.set_version_flag("--version", std::string("tarno ") + TARNO_VERSION);
  app.require_subcommand(0, 1);
  // Options are "--name" on every system: on Windows CLI11 would also take
  // "/name", and a path written with forward slashes would be read as an option.
  app.allow_windows_style_options(false);
  int exit_code = 0;
  for (auto& install : tarno::cli::CommandInstallers()) install(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    // Usage errors exit with 2, as the check commands document.
    return rc == 0 ? 0 : 2;
  }
  if (app.get_subcommands().empty()) std::cout << app.help();
  return exit_code;
}
