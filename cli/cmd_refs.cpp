// tarno refs PROJECT.vbp|GROUP.vbg NAME: every symbol of that name (a bare
// name, Module.Member or Module.Procedure.Local, any case) with its
// declaration and every reference the binder finds, each as the file
// (relative to its project's folder), the file's line, the UTF-16 column and
// the line's text. --unresolved lists the member names that could not be
// bound to a type (all of them, or those of NAME). Exit status: 0 when
// something is listed, 1 when nothing is, 2 when the project cannot be loaded.
#include <algorithm>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/check_output.h"
#include "cli/command_registry.h"
#include "host/files/project_loader.h"
#include "lang/model.h"
#include "platform/console.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

namespace files = host::files;
using json = nlohmann::ordered_json;

struct RefsOptions {
  std::string path;
  std::string name;
  std::string encoding;
  std::string format = "text";
  bool unresolved = false;
};

struct Place {
  std::string file;
  int line = 0;
  int column = 0;
  std::string text;
};

class Places {
 public:
  Places(files::LoadedWorkspace& ws, const lang::Model& model) : ws_(ws), model_(model) {}
  Place At(uint32_t module, int line, int column) {
    const lang::ModuleInfo& info = model_.Module(module);
    auto key = std::pair{info.project, info.code->name};
    auto it = files_.find(key);
    if (it == files_.end()) {
      const auto& project = model_.Projects()[info.project];
      size_t m = 0;
      while (&project.modules[m] != info.code) ++m;
      it = files_.emplace(key, ComponentFileOf(*ws_.projects[info.project], static_cast<size_t>(project.componentIndex[m] - 1))).first;
    }
    Place p;
    p.file = it->second.shown;
    p.line = line > 0 ? it->second.FileLine(line) : 0;
    p.column = column;
    if (line > 0 && static_cast<size_t>(line) <= info.code->lines.size()) p.text = vb::ToUtf8(info.code->lines[static_cast<size_t>(line - 1)]);
    return p;
  }

 private:
  files::LoadedWorkspace& ws_;
  const lang::Model& model_;
  std::map<std::pair<uint32_t, std::u16string>, ComponentFile> files_;
};

json PlaceJson(const Place& p) { return {{"file", p.file}, {"line", p.line}, {"column", p.column}, {"text", p.text}}; }
std::string PlaceText(const Place& p) {
  return p.file + ":" + std::to_string(p.line) + ":" + std::to_string(p.column) + ": " + p.text;
}

int RunRefs(const RefsOptions& opts) {
  const std::string me = "tarno refs: ";
  files::LoadOptions load;
  if (!opts.encoding.empty()) {
    try {
      load.code_page = CodePage::Named(opts.encoding);
    } catch (const std::invalid_argument&) {
      std::cerr << me << "unknown code page \"" << opts.encoding << "\"\n";
      return 2;
    }
  }
  if (opts.name.empty() && !opts.unresolved) {
    std::cerr << me << "give the NAME to look up, or --unresolved\n";
    return 2;
  }
  files::LoadedWorkspace ws;
  std::unique_ptr<lang::Model> model;
  try {
    ws = files::LoadPath(opts.path, load);
    std::vector<lang::ProjectCode> code;
    for (auto& p : ws.projects) code.push_back(lang::ReadProjectCode(*p, lang::ProjectCondComp(*p)));
    lang::Model::Options options;
    options.jobs = std::max(1, std::min(2, static_cast<int>(std::thread::hardware_concurrency())));
    model = lang::Model::Build(std::move(code), options);
  } catch (const std::exception& e) {
    std::cerr << me << e.what() << "\n";
    return 2;
  }
  for (const auto& w : ws.warnings) std::cerr << "warning: " << w.ToString() << "\n";
  for (uint32_t m = 0; m < model->ModuleCount(); ++m) {
    if (!model->FullyUnderstood(m)) {
      std::cerr << "warning: " << vb::ToUtf8(model->Module(m).code->name)
                << " has parse errors (see tarno parse): its references may be incomplete\n";
    }
  }
  Places places(ws, *model);
  const bool asJson = opts.format == "json";
  json out = json::array();
  int listed = 0;
  if (opts.unresolved) {
    const lang::Atom only = opts.name.empty() ? lang::kNoAtom : model->FindName(ArgumentText(opts.name));
    if (!opts.name.empty() && only == lang::kNoAtom) return 1;
    for (const lang::RefId& id : model->UnresolvedMembers()) {
      const lang::Ref& r = model->RefAt(id);
      if (only != lang::kNoAtom && r.name != only) continue;
      Place p = places.At(id.module, r.line, r.column);
      std::string name = vb::ToUtf8(model->NameOf(r.name));
      ++listed;
      if (asJson) {
        json j = {{"name", name}};
        j.update(PlaceJson(p));
        out.push_back(std::move(j));
      } else {
        std::cout << PlaceText(p) << "\n";
      }
    }
  } else {
    for (lang::SymbolId s : model->Lookup(ArgumentText(opts.name))) {
      const lang::Symbol& sym = model->Sym(s);
      std::string module = sym.module == lang::kUnbound ? "" : vb::ToUtf8(model->Module(sym.module).code->name);
      Place decl = sym.module == lang::kUnbound ? Place{} : places.At(sym.module, sym.decl.line, sym.decl.column);
      std::vector<lang::RefId> refs(model->References(s).begin(), model->References(s).end());
      std::sort(refs.begin(), refs.end(), [&](const lang::RefId& a, const lang::RefId& b) {
        const lang::Ref& x = model->RefAt(a);
        const lang::Ref& y = model->RefAt(b);
        return std::tie(a.module, x.line, x.column) < std::tie(b.module, y.line, y.column);
      });
      ++listed;
      const std::string name = vb::ToUtf8(model->SymbolName(s));
      const char* kind = lang::DeclKindName(sym.decl.kind);
      if (asJson) {
        json j = {{"name", name}, {"kind", kind}, {"module", module}, {"declaration", PlaceJson(decl)}};
        json list = json::array();
        for (const auto& id : refs) {
          const lang::Ref& r = model->RefAt(id);
          list.push_back(PlaceJson(places.At(id.module, r.line, r.column)));
        }
        j["references"] = std::move(list);
        out.push_back(std::move(j));
      } else {
        std::cout << name << " (" << kind << ")" << (module.empty() ? "" : " in " + module) << ", " << refs.size()
                  << (refs.size() == 1 ? " reference" : " references") << "\n";
        if (decl.line > 0) std::cout << "  declared " << PlaceText(decl) << "\n";
        for (const auto& id : refs) {
          const lang::Ref& r = model->RefAt(id);
          std::cout << "  " << PlaceText(places.At(id.module, r.line, r.column)) << "\n";
        }
      }
    }
  }
  if (asJson) std::cout << out.dump(2) << "\n";
  return listed ? 0 : 1;
}

RegisterCommand refs([](CLI::App& app, int& exit_code) {
  auto opts = std::make_shared<RefsOptions>();
  CLI::App* sub = app.add_subcommand("refs", "list the declaration and every reference of a name, as the VB 6 binder finds them");
  sub->add_option("path", opts->path, "a .vbp project or a .vbg group")->required();
  sub->add_option("name", opts->name, "Name, Module.Member or Module.Procedure.Local (any case)");
  sub->add_option("--encoding", opts->encoding, "code page of the files (default: the system code page, CP932)");
  sub->add_option("--format", opts->format, "text or json")->check(CLI::IsMember({"text", "json"}));
  sub->add_flag("--unresolved", opts->unresolved, "list the member names that could not be bound to a type");
  sub->callback([opts, &exit_code] { exit_code = RunRefs(*opts); });
});

}  // namespace
}  // namespace tarno::cli
