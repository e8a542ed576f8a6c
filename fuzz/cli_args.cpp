// The tarno argument parser over any argument list (the input split at NUL
// bytes): parsing and the command it selects end in a result, an error or a
// CLI11 usage error, never another exception or a crash. The commands run in
// the scratch folder with every tool folder inside it, and arguments that could
// name a file outside it (absolute, "..", "~") are not tried.
#include <CLI/CLI.hpp>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_registry.h"
#include "fuzz/fuzz_support.h"

namespace tarno::cli {
std::vector<CommandInstaller>& CommandInstallers() {
  static std::vector<CommandInstaller> installers;
  return installers;
}
}  // namespace tarno::cli

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const auto& dir = tarno::fuzz::ScratchDir();
  for (const char* var : {"TARNO_SYSTEM_DIR", "TARNO_WINDOWS_DIR", "TARNO_ADDIN_DIR"})
    ::setenv(var, (dir / "folders").c_str(), 1);
  if (::chdir(dir.c_str()) != 0) return 1;
  if (!std::freopen("/dev/null", "w", stdout)) return 1;  // the commands' output
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args{"tarno"};
  for (size_t start = 0; start <= input.size() && args.size() < 64;) {
    size_t nul = input.find('\0', start);
    if (nul == std::string_view::npos) nul = input.size();
    std::string_view arg = input.substr(start, nul - start);
    if (arg.find('/') != std::string_view::npos || arg.find("..") != std::string_view::npos ||
        arg.find('~') != std::string_view::npos)
      return 0;
    args.emplace_back(arg);
    start = nul + 1;
  }
  tarno::fuzz::ClearScratch();
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());

  // The same app as main() builds.
  CLI::App app{"Tarno Kit"};
  app.set_version_flag("--version", "tarno");
  app.require_subcommand(0, 1);
  int exit_code = 0;
  for (auto& install : tarno::cli::CommandInstallers()) install(app, exit_code);
  try {
    app.parse(int(argv.size()), argv.data());
  } catch (const CLI::ParseError&) {
  }
  return 0;
}
