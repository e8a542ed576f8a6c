// The tarno argument parser over any argument list (the input split at NUL
// bytes): parsing ends in a result or a CLI11 usage error, never another
// exception. The commands themselves are not run: their callbacks are taken
// out, so that no input reads or writes a file through them.
#include <CLI/CLI.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_registry.h"

namespace tarno::cli {
std::vector<CommandInstaller>& CommandInstallers() {
  static std::vector<CommandInstaller> installers;
  return installers;
}
}  // namespace tarno::cli

namespace {

void DropCallbacks(CLI::App& app) {
  for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
    sub->callback(std::function<void()>());
    DropCallbacks(*sub);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args{"tarno"};
  for (size_t start = 0; start <= input.size() && args.size() < 64;) {
    size_t nul = input.find('\0', start);
    if (nul == std::string_view::npos) nul = input.size();
    args.emplace_back(input.substr(start, nul - start));
    start = nul + 1;
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());

  // The same app as main() builds.
  CLI::App app{"Tarno Kit"};
  app.set_version_flag("--version", "tarno");
  app.require_subcommand(0, 1);
  int exit_code = 0;
  for (auto& install : tarno::cli::CommandInstallers()) install(app, exit_code);
  DropCallbacks(app);
  try {
    app.parse(int(argv.size()), argv.data());
  } catch (const CLI::ParseError&) {
  }
  return 0;
}
