// tarno copy SOURCE.vbp --component NAME --to TARGET.vbp --name NEW: the form
// copy on project files. The same checks as the copy window refuse the copy
// (exit 1); otherwise the component is copied through the in-memory host and
// the target project is saved: the new component's file, its binary file and
// its line (and Object entries) in the target's .vbp. The source project is
// never written. --diff prints what would be written and writes nothing.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_registry.h"
#include "cli/display_lines.h"
#include "codegen/unified_diff.h"
#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/console.h"
#include "platform/text_file.h"
#include "cli/command_run.h"
#include "platform/vb_text.h"
#include "project/form_copy.h"

namespace tarno::cli {
namespace {

namespace fs = std::filesystem;
namespace files = host::files;

struct CopyArgs {
  std::string source, component, target, name, encoding;
  bool controls = false, code = false, diff = false;
};

std::string ExtensionOf(int type) {
  switch (type) {
    case ide::ComponentType::StdModule: return ".bas";
    case ide::ComponentType::ClassModule: return ".cls";
    case ide::ComponentType::UserControl: return ".ctl";
    case ide::ComponentType::PropPage: return ".pag";
    case ide::ComponentType::DocObject: return ".dob";
    default: return ".frm";
  }
}

std::string SidecarOf(int type) {
  switch (type) {
    case ide::ComponentType::VBForm:
    case ide::ComponentType::MDIForm: return ".frx";
    case ide::ComponentType::UserControl: return ".ctx";
    case ide::ComponentType::PropPage: return ".pgx";
    case ide::ComponentType::DocObject: return ".dox";
    default: return "";
  }
}

std::shared_ptr<host::MemProject> OnlyProject(files::LoadedWorkspace& ws, const std::string& path) {
  if (ws.group || ws.projects.size() != 1) throw Refused{path + ": expects a project file (.vbp)"};
  return ws.projects[0];
}

// A path as the user would name it: relative to the current folder when it is inside it.
std::string Shown(const fs::path& p) {
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  fs::path rel = p.lexically_relative(cwd);
  if (ec || rel.empty() || *rel.begin() == "..") return p.string();
  return rel.string();
}

// The lines of `after` that `before` does not have, in order.
std::vector<std::string> AddedLines(const std::string& before, const std::string& after) {
  auto split = [](const std::string& text) {
    std::vector<std::string> out;
    for (size_t pos = 0; pos < text.size();) {
      size_t nl = text.find('\n', pos);
      std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out.push_back(std::move(line));
      if (nl == std::string::npos) break;
      pos = nl + 1;
    }
    return out;
  };
  auto had = split(before);
  std::vector<std::string> out;
  for (auto& line : split(after))
    if (std::find(had.begin(), had.end(), line) == had.end()) out.push_back(std::move(line));
  return out;
}

std::u16string DecodeLine(const CodePage& cp, const std::string& line) { return cp.Decode(line); }

void RunCopy(const CopyArgs& given) {
  // A project named without a folder ("App.vbp") is in the current one.
  CopyArgs a = given;
  a.source = fs::absolute(a.source).lexically_normal().string();
  a.target = fs::absolute(a.target).lexically_normal().string();
  CodePage cp = a.encoding.empty() ? SystemCodePage() : CodePage::Named(a.encoding);
  for (const auto* p : {&a.source, &a.target}) {
    std::string ext = fs::path(*p).extension().string();
    for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext != ".vbp") throw Refused{*p + ": expects a project file (.vbp)"};
  }
  files::LoadedWorkspace ws = files::LoadPath(a.source, cp);
  auto source = OnlyProject(ws, a.source);
  std::shared_ptr<host::MemProject> target = source;
  files::LoadedWorkspace target_ws;
  std::error_code ec;
  if (!fs::equivalent(a.source, a.target, ec)) {
    target_ws = files::LoadPath(a.target, cp);
    target = OnlyProject(target_ws, a.target);
    // One IDE with both projects open, as the copy window sees them.
    ws.vbe->AddProject(target);
  }

  // The rows the window would list, and the chosen one.
  int rows = 0;
  std::shared_ptr<host::MemComponent> chosen;
  for (const auto& c : source->components()) {
    if (project::ListedKindText(c->type()).empty()) continue;
    ++rows;
    if (!chosen && c->name() == ArgumentText(a.component)) chosen = c;
  }
  if (!chosen)
    for (const auto& c : source->components())
      if (!project::ListedKindText(c->type()).empty() && vb::EqualsIgnoreCaseAscii(c->name(), ArgumentText(a.component))) {
        chosen = c;
        break;
      }
  const std::u16string name = ArgumentText(a.name);
  if (auto refusal = project::CheckCopy(rows, chosen, name, target.get())) {
    std::string detail;
    if (refusal->step == 2) detail = " (" + given.source + " has no listed component \"" + a.component + "\")";
    throw Refused{vb::ToUtf8(refusal->message) + detail};
  }
  if (a.controls && !project::ControlsCopyable(chosen->type()))
    throw Refused{"--controls: \"" + vb::ToUtf8(chosen->name()) + "\" is a component without controls"};

  if (a.controls)
    if (auto long_name = project::UncopyableControl(*chosen))
      throw Refused{"control \"" + vb::ToUtf8(*long_name) + "\" of \"" + vb::ToUtf8(chosen->name()) +
                    "\": its name is longer than " + std::to_string(project::kMaxControlName) +
                    " characters, which a copy cannot keep; nothing written"};

  const fs::path dir = fs::path(a.target).parent_path();
  const fs::path file = dir / (a.name + ExtensionOf(chosen->type()));
  fs::path sidecar;
  if (std::string ext = SidecarOf(chosen->type()); !ext.empty()) sidecar = fs::path(file).replace_extension(ext);
  // Files of the same name belong to something else: never overwritten.
  for (const auto& p : {file, sidecar})
    if (!p.empty() && fs::exists(p, ec)) throw Refused{Shown(p) + ": the file exists already; nothing written"};

  // Every file the copy writes must be writable before anything is written.
  if (tarno::files::IsReadOnlyFile(a.target)) throw Refused{Shown(a.target) + ": the file is read-only; nothing written"};

  project::CopyOptions options;
  options.controls = a.controls;
  options.code = a.code;
  auto copy = std::dynamic_pointer_cast<host::MemComponent>(project::CopyComponent(*chosen, *target, name, options));
  if (!copy) throw Refused{vb::ToUtf8(vb::U("フォームのコピーに失敗しました"))};

  if (a.diff) {
    std::string sidecar_bytes;
    std::string bytes = files::RenderNewComponent(*copy, file, sidecar_bytes);
    std::cout << codegen::UnifiedDiff({}, DisplayLines(cp, bytes), "/dev/null", "b/" + Shown(file));
    if (!sidecar_bytes.empty())
      std::cout << "Binary file b/" << Shown(sidecar) << " (" << sidecar_bytes.size() << " bytes) would be written\n";
    copy->fileNames().assign(1, files::FromPath(file));
    std::string vbp_before = tarno::files::ReadAllBytes(a.target);
    std::string vbp_after = files::RenderProject(*target);
    std::cout << codegen::UnifiedDiff(DisplayLines(cp, vbp_before), DisplayLines(cp, vbp_after), "a/" + Shown(a.target),
                                      "b/" + Shown(a.target));
    return;
  }
  const std::string vbp_before = tarno::files::ReadAllBytes(a.target);
  // The copy is whole or not at all: a failure takes back the files written.
  try {
    copy->SaveAs(files::FromPath(file));
    target->SaveAs(target->FileName());
  } catch (...) {
    for (const auto& p : {file, sidecar})
      if (!p.empty()) fs::remove(p, ec);
    throw;
  }
  std::cout << "wrote " << Shown(file) << "\n";
  if (!sidecar.empty() && fs::exists(sidecar, ec)) std::cout << "wrote " << Shown(sidecar) << "\n";
  std::cout << "wrote " << Shown(a.target) << "\n";
  // The references and libraries the copied code needs, new to the target.
  for (const auto& line : AddedLines(vbp_before, tarno::files::ReadAllBytes(a.target)))
    if (line.starts_with("Reference=") || line.starts_with("Object="))
      std::cout << "added " << vb::ToUtf8(DecodeLine(cp, line)) << "\n";
}

RegisterCommand copyCommand([](CLI::App& app, int& exit_code) {
  auto args = std::make_shared<CopyArgs>();
  auto* sub = app.add_subcommand("copy", "copy a form (or other component) of a project into a project under a new name");
  sub->add_option("source", args->source, "the project holding the component (.vbp)")->required();
  sub->add_option("--component", args->component, "the component to copy")->required();
  sub->add_option("--to", args->target, "the project that receives the copy (.vbp; may be the source)")->required();
  sub->add_option("--name", args->name, "the new component's object name")->required();
  sub->add_flag("--controls", args->controls, "also copy the controls");
  sub->add_flag("--code", args->code, "also copy the source code");
  sub->add_flag("--diff", args->diff, "print what would be written and write nothing");
  sub->add_option("--encoding", args->encoding, "code page of the files (default: the system code page, CP932)");
  sub->callback([args, &exit_code] { RunCommand(exit_code, [&] { RunCopy(*args); }, "tarno copy"); });
});

}  // namespace
}  // namespace tarno::cli
