#include "lang/project_code.h"

#include <map>
#include <stdexcept>

#include "host/files/file_state.h"
#include "host/mem_host.h"
#include "platform/vb_text.h"

namespace tarno::lang {
namespace {

std::vector<ControlCode> ReadControls(ide::VBComponent& component) {
  std::vector<ControlCode> out;
  auto designer = component.Designer();
  if (!designer) return out;
  auto controls = designer->VBControls();
  const int n = controls ? controls->Count() : 0;
  std::map<std::u16string, size_t> seen;  // upper-case name -> entry
  for (int k = 1; k <= n; ++k) {
    auto control = controls->Item(k);
    auto value = control->Properties()->Item(u"Name")->Value();
    auto* name = std::get_if<std::u16string>(&value);
    if (!name || name->empty()) continue;
    bool array = false;
    if (auto* mem = dynamic_cast<host::MemControl*>(control.get())) array = mem->index() >= 0;
    auto key = vb::UCaseAscii(*name);
    if (auto it = seen.find(key); it != seen.end()) {
      out[it->second].array = true;
      continue;
    }
    seen.emplace(key, out.size());
    out.push_back({*name, control->ClassName(), array});
  }
  return out;
}

}  // namespace

ProjectCode ReadProjectCode(ide::VBProject& project, CondComp condComp) {
  ProjectCode p;
  p.name = project.Name();
  p.type = project.Type();
  p.fileName = project.FileName();
  p.condComp = std::move(condComp);
  auto components = project.VBComponents();
  const int n = components->Count();
  p.modules.reserve(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i) {
    auto component = components->Item(i);
    auto code = component->CodeModule();
    if (!code) continue;
    ModuleCode m;
    m.name = component->Name();
    m.type = component->Type();
    m.lines = code->LineViews();
    const int count = code->CountOfLines();
    if (static_cast<int>(m.lines.size()) != count) {
      auto text = std::make_shared<std::vector<std::u16string>>();
      text->reserve(static_cast<size_t>(count));
      for (int line = 1; line <= count; ++line) text->push_back(code->Lines(line, 1));
      m.lines.assign(text->begin(), text->end());
      m.keepAlive = text;
    }
    if (auto* mem = dynamic_cast<host::MemCodeModule*>(code.get())) m.hidden = mem->text().HiddenLines();
    m.controls = ReadControls(*component);
    p.modules.push_back(std::move(m));
    p.componentIndex.push_back(i);
  }
  return p;
}

CondComp ProjectCondComp(ide::VBProject& project) {
  auto* mem = dynamic_cast<host::MemProject*>(&project);
  if (!mem) return {};
  auto* state = host::files::StateOf(*mem);
  if (!state || !state->vbp) return {};
  auto raw = state->vbp->Value("CondComp");
  if (!raw) return {};
  std::string v = *raw;
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  auto parsed = ParseCondComp(host::files::DecodeBytes(state->code_page, v));
  if (!parsed) throw std::runtime_error(state->path.string() + ": CondComp is not a list of name = value: " + v);
  return *parsed;
}

}  // namespace tarno::lang
