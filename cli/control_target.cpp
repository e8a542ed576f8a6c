#include "cli/control_target.h"
#include "cli/display_lines.h"

#include <iostream>

#include "codegen/unified_diff.h"
#include "host/files/file_state.h"
#include "platform/console.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::cli::ctl {

namespace fs = std::filesystem;
namespace files = host::files;

void AddFormOptions(CLI::App& sub, FormOptions& o) {
  sub.add_option("form", o.path, "form file (.frm, .ctl, ...) or project (.vbp, .vbg) with --component")->required();
  sub.add_option("--component", o.component, "the form of the project");
  sub.add_option("--encoding", o.encoding, "code page of the files (default: the system code page, CP932)");
  sub.add_flag("--diff", o.diff, "print a unified diff and write nothing");
}

namespace {

bool IsProjectPath(const fs::path& p) {
  std::string ext = p.extension().string();
  for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return ext == ".vbp" || ext == ".vbg";
}

}  // namespace

FormTarget LoadForm(const FormOptions& o) {
  fs::path path(o.path);
  CodePage cp = o.encoding.empty() ? SystemCodePage() : CodePage::Named(o.encoding);
  FormTarget t{files::LoadPath(path, cp), nullptr, nullptr, "", o.path};
  if (IsProjectPath(path)) {
    if (o.component.empty()) throw Refused{o.path + ": --component is required for a project"};
    for (const auto& p : t.ws.projects)
      if ((t.component = p->Component(ArgumentText(o.component)))) break;
    if (!t.component) throw Refused{o.path + ": no component named \"" + o.component + "\""};
  } else {
    if (t.ws.projects.empty() || t.ws.projects[0]->components().empty()) throw Refused{o.path + ": nothing loaded"};
    t.component = t.ws.projects[0]->components()[0];
    if (!o.component.empty() && !vb::EqualsIgnoreCaseAscii(t.component->name(), ArgumentText(o.component)))
      throw Refused{o.path + ": the file holds \"" + vb::ToUtf8(t.component->name()) + "\", not \"" + o.component +
                    "\""};
  }
  auto* state = files::StateOf(*t.component);
  t.designer = t.component->designer();
  if (!t.designer || !state || !state->file || state->form_node < 0)
    throw Refused{o.path + ": \"" + vb::ToUtf8(t.component->name()) + "\" has no form designer"};
  t.file = state->path.string();
  for (const auto& w : t.ws.warnings) std::cerr << "warning: " << w.ToString() << "\n";
  t.before = tarno::files::ReadAllBytes(state->path);
  t.ws.vbe->ShowDesigner(t.component);
  return t;
}

void RefuseWhenControlsLeftOut(const FormTarget& t, const std::string& what) {
  auto* state = files::StateOf(*t.component);
  if (!state || state->left_out.empty()) return;
  const std::string name = vb::ToUtf8(files::DecodeBytes(state->code_page, state->left_out.front()));
  throw Refused{t.file + ": control " + name + " was left out when the form was loaded; setting " + what +
                " without it could give its number twice; nothing written"};
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t comma = list.find(',', pos);
    if (comma == std::string::npos) comma = list.size();
    std::string item = list.substr(pos, comma - pos);
    while (!item.empty() && item.front() == ' ') item.erase(item.begin());
    while (!item.empty() && item.back() == ' ') item.pop_back();
    out.push_back(item);
    pos = comma + 1;
  }
  return out;
}

std::shared_ptr<host::MemControl> FindControl(const FormTarget& t, const std::string& name) {
  std::string base = name;
  int index = -1;
  size_t open = name.find('(');
  if (open != std::string::npos) {
    std::string digits = name.substr(open + 1, name.size() - open - 2);
    if (name.back() != ')' || digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos || std::stoi(digits) > 32767)
      throw Refused{t.file + ": \"" + name + "\" is not a control name (Text1 or Command1(2))"};
    base = name.substr(0, open);
    index = std::stoi(digits);
  }
  for (const auto& c : t.designer->controls()) {
    if (!vb::EqualsIgnoreCaseAscii(c->name(), vb::U(base))) continue;
    if (index < 0 && c->index() >= 0)
      throw Refused{t.file + ": " + base + " is a control array; name a member as " + base + "(" +
                    std::to_string(c->index()) + ")"};
    if (c->index() == index) return c;
  }
  throw Refused{t.file + ": the form has no control " + name};
}

std::vector<std::shared_ptr<host::MemControl>> FindControls(const FormTarget& t, const std::string& list) {
  std::vector<std::shared_ptr<host::MemControl>> out;
  for (const auto& name : SplitList(list)) {
    if (name.empty()) throw Refused{t.file + ": empty control name in \"" + list + "\""};
    auto c = FindControl(t, name);
    for (const auto& seen : out)
      if (seen == c) throw Refused{t.file + ": " + name + " is named twice"};
    out.push_back(std::move(c));
  }
  return out;
}

void CheckEncodable(const FormTarget& t, const std::u16string& text, const std::string& what) {
  const CodePage& cp = files::StateOf(*t.component)->code_page;
  if (cp.Decode(cp.Encode(text)) != text)
    throw Refused{t.file + ": " + what + " \"" + vb::ToUtf8(text) + "\" holds characters that code page " +
                  cp.name() + " cannot hold; nothing written (choose the file's code page with --encoding)"};
}

void Finish(FormTarget& t, const FormOptions& o) {
  auto* state = files::StateOf(*t.component);
  std::string after = files::RenderComponent(*t.component);
  if (after == t.before) {
    std::cout << t.file << ": no change\n";
    return;
  }
  if (o.diff) {
    std::cout << codegen::UnifiedDiff(DisplayLines(state->code_page, t.before), DisplayLines(state->code_page, after),
                                      "a/" + t.file, "b/" + t.file);
    return;
  }
  for (const auto& written : files::Save(t.ws)) std::cout << "wrote " << written.string() << "\n";
}

void Run(int& exit_code, const std::function<void()>& body) { RunCommand(exit_code, body); }

}  // namespace tarno::cli::ctl
