// Sub-commands of `tarno` register themselves here, one file per command
// family (cli/cmd_*.cpp), so that main.cpp needs no edit for a new command.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

namespace tarno::cli {

// Adds the family's sub-commands to the app. A sub-command's callback sets the
// process exit status through `exit_code`.
using CommandInstaller = std::function<void(CLI::App& app, int& exit_code)>;

std::vector<CommandInstaller>& CommandInstallers();

struct RegisterCommand {
  explicit RegisterCommand(CommandInstaller installer) { CommandInstallers().push_back(std::move(installer)); }
};

}  // namespace tarno::cli
