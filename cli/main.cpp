// tarno: runs the kit's tools on VB 6 project files from the command line.
#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
  CLI::App app{"Tarno Kit: tools for Visual Basic 6 code, run on project files"};
  app.set_version_flag("--version", std::string("tarno ") + TARNO_VERSION);
  app.require_subcommand(0, 1);
  CLI11_PARSE(app, argc, argv);
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
  }
  return 0;
}
