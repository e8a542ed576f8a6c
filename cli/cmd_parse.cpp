// tarno parse PROJECT.vbp|GROUP.vbg|FILE: reads every module with the VB 6
// parser and prints what it could not read, one error a line
// ("file:line:column: message", lines of the file on disk). Exit status: 0
// without errors, 1 with errors, 2 when the project cannot be loaded.
#include <iostream>

#include "cli/check_output.h"
#include "cli/command_registry.h"
#include "host/files/project_loader.h"
#include "lang/parser.h"
#include "lang/project_code.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

namespace files = host::files;

int RunParse(const std::string& path, const std::string& encoding) {
  files::LoadOptions load;
  if (!encoding.empty()) {
    try {
      load.code_page = CodePage::Named(encoding);
    } catch (const std::invalid_argument&) {
      std::cerr << "tarno parse: unknown code page \"" << encoding << "\"\n";
      return 2;
    }
  }
  files::LoadedWorkspace ws;
  std::vector<lang::ProjectCode> projects;
  try {
    ws = files::LoadPath(path, load);
    for (auto& p : ws.projects) projects.push_back(lang::ReadProjectCode(*p, lang::ProjectCondComp(*p)));
  } catch (const std::exception& e) {
    std::cerr << "tarno parse: " << e.what() << "\n";
    return 2;
  }
  for (const auto& w : ws.warnings) std::cerr << "warning: " << w.ToString() << "\n";
  int errors = 0;
  for (size_t p = 0; p < projects.size(); ++p) {
    const auto& code = projects[p];
    for (size_t m = 0; m < code.modules.size(); ++m) {
      lang::NameTable names;
      auto syntax = lang::ParseModule(code.modules[m].lines, names, code.condComp);
      if (syntax.errors.empty()) continue;
      ComponentFile file = ComponentFileOf(*ws.projects[p], static_cast<size_t>(code.componentIndex[m] - 1));
      for (const auto& e : syntax.errors) {
        std::cout << file.shown << ":" << file.FileLine(e.line) << ":" << e.column << ": " << e.message << "\n";
        ++errors;
      }
    }
  }
  return errors ? 1 : 0;
}

RegisterCommand parse([](CLI::App& app, int& exit_code) {
  struct Options {
    std::string path;
    std::string encoding;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand("parse", "read every module with the VB 6 parser and list what it cannot read");
  sub->add_option("path", opts->path, "a .vbp project, a .vbg group or one component file")->required();
  sub->add_option("--encoding", opts->encoding, "code page of the files (default: the system code page, CP932)");
  sub->callback([opts, &exit_code] { exit_code = RunParse(opts->path, opts->encoding); });
});

}  // namespace
}  // namespace tarno::cli
