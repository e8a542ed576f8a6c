// tarno info PROJECT.vbp|GROUP.vbg|FILE: what the tools see of a project once
// it is loaded: components, code and declaration line counts, procedures with
// their line ranges, members and controls. Scripts read the JSON form.
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "cli/command_registry.h"
#include "host/controls.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

namespace files = host::files;
// Keys in the documented order.
using json = nlohmann::ordered_json;

std::string U8(const std::u16string& s) { return vb::ToUtf8(s); }

json ComponentJson(host::MemComponent& c) {
  json j;
  j["name"] = U8(c.Name());
  j["type"] = c.Type();
  j["file"] = c.fileNames().empty() ? std::string() : U8(c.fileNames()[0]);
  json procedures = json::array(), members = json::array(), controls = json::array();
  int code_lines = 0, declaration_lines = 0;
  if (auto code = c.CodeModule()) {
    code_lines = code->CountOfLines();
    declaration_lines = code->CountOfDeclarationLines();
    // Procedures in line order: each (name, kind) where its range starts.
    std::set<std::pair<std::u16string, int>> seen;
    for (int line = declaration_lines + 1; line <= code_lines; ++line) {
      int kind = 0;
      std::u16string name = code->ProcOfLine(line, &kind);
      if (name.empty() || !seen.insert({vb::UCaseAscii(name), kind}).second) continue;
      procedures.push_back({{"name", U8(name)},
                            {"kind", kind},
                            {"start", code->ProcStartLine(name, kind)},
                            {"body", code->ProcBodyLine(name, kind)},
                            {"count", code->ProcCountLines(name, kind)}});
    }
    for (const auto& m : code->Members())
      members.push_back({{"name", U8(m.Name)}, {"type", m.Type}, {"scope", m.Scope}, {"line", m.CodeLocation}});
  }
  if (auto d = c.designer()) {
    for (const auto& control : d->controls()) {
      auto parent = control->parent();
      controls.push_back({{"name", U8(control->name())},
                          {"class", U8(control->ClassName())},
                          {"index", control->index()},
                          {"parent", parent ? U8(parent->name()) : std::string()}});
    }
  }
  j["code_lines"] = code_lines;
  j["declaration_lines"] = declaration_lines;
  j["procedures"] = std::move(procedures);
  j["members"] = std::move(members);
  j["controls"] = std::move(controls);
  return j;
}

json ProjectJson(host::MemProject& p) {
  json j;
  j["project"] = U8(p.Name());
  j["type"] = p.Type();
  j["file"] = U8(p.FileName());
  json components = json::array();
  for (const auto& c : p.components()) components.push_back(ComponentJson(*c));
  j["components"] = std::move(components);
  return j;
}

void PrintText(const json& project, std::ostream& out) {
  out << "Project " << project["project"].get<std::string>() << " (type " << project["type"] << ")";
  if (!project["file"].get<std::string>().empty()) out << ": " << project["file"].get<std::string>();
  out << "\n";
  for (const auto& c : project["components"]) {
    out << "  " << c["name"].get<std::string>() << " (type " << c["type"] << "): " << c["code_lines"]
        << " code lines, " << c["declaration_lines"] << " declaration lines, " << c["procedures"].size()
        << " procedures, " << c["members"].size() << " members, " << c["controls"].size() << " controls\n";
    for (const auto& p : c["procedures"])
      out << "    " << p["name"].get<std::string>() << " kind " << p["kind"] << ": lines " << p["start"] << "-"
          << (p["start"].get<int>() + p["count"].get<int>() - 1) << ", declared at " << p["body"] << "\n";
  }
}

RegisterCommand info([](CLI::App& app, int& exit_code) {
  struct Options {
    std::string path;
    std::string format = "text";
    std::string encoding;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand("info", "show the projects, components, procedures and controls the tools see");
  sub->add_option("path", opts->path, "a .vbp project, a .vbg group or one component file")->required();
  sub->add_option("--format", opts->format, "text or json")->check(CLI::IsMember({"text", "json"}));
  sub->add_option("--encoding", opts->encoding, "code page of the files (default: the system code page, CP932)");
  sub->callback([opts, &exit_code] {
    files::LoadOptions load;
    if (!opts->encoding.empty()) {
      try {
        load.code_page = CodePage::Named(opts->encoding);
      } catch (const std::invalid_argument&) {
        std::cerr << "tarno info: unknown code page \"" << opts->encoding << "\"\n";
        exit_code = 2;
        return;
      }
    }
    files::LoadedWorkspace ws;
    try {
      ws = files::LoadPath(opts->path, load);
    } catch (const std::exception& e) {
      std::cerr << "tarno info: " << e.what() << "\n";
      exit_code = 1;
      return;
    }
    for (const auto& w : ws.warnings) std::cerr << "warning: " << w.ToString() << "\n";
    json all = json::array();
    for (const auto& p : ws.projects) all.push_back(ProjectJson(*p));
    if (opts->format == "json") {
      // A group prints one object per project, in an array.
      std::cout << (ws.group ? all : all.at(0)).dump(2) << "\n";
    } else {
      for (const auto& p : all) PrintText(p, std::cout);
    }
    exit_code = 0;
  });
});

}  // namespace
}  // namespace tarno::cli
