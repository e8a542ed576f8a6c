#include "workbench/code_outline.h"

#include <algorithm>
#include <set>

#include "host/controls.h"

namespace tarno::workbench {
namespace {

std::u16string Lower(std::u16string s) {
  for (auto& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

// The name the module's code calls the component's own object by.
std::u16string FormObjectName(host::MemComponent& c) {
  switch (c.type()) {
    case ide::ComponentType::VBForm: return u"Form";
    case ide::ComponentType::MDIForm: return u"MDIForm";
    case ide::ComponentType::UserControl: return u"UserControl";
    case ide::ComponentType::PropPage: return u"PropertyPage";
    case ide::ComponentType::DocObject: return u"UserDocument";
    case ide::ComponentType::ClassModule: return u"Class";
    default: return {};
  }
}

const char16_t* KindSuffix(int kind) {
  switch (kind) {
    case ide::ProcKind::Get: return u" [PropertyGet]";
    case ide::ProcKind::Let: return u" [PropertyLet]";
    case ide::ProcKind::Set: return u" [PropertySet]";
    default: return u"";
  }
}

// The object a procedure handles an event of ("" when it handles none).
std::u16string HandledObject(const std::u16string& proc, const std::vector<OutlineObject>& objects) {
  size_t us = proc.rfind(u'_');
  if (us == std::u16string::npos || us == 0) return {};
  const std::u16string owner = Lower(proc.substr(0, us));
  for (const auto& o : objects)
    if (Lower(o.name) == owner) return o.name;
  return {};
}

}  // namespace

std::vector<ModuleProc> ModuleProcs(host::MemCodeModule& module) {
  std::vector<ModuleProc> out;
  const int n = module.CountOfLines();
  for (int line = module.CountOfDeclarationLines() + 1; line <= n;) {
    int kind = 0;
    std::u16string name = module.ProcOfLine(line, &kind);
    if (name.empty()) {
      ++line;
      continue;
    }
    ModuleProc p{name, kind, module.ProcBodyLine(name, kind), module.ProcStartLine(name, kind)};
    // Two procedures of one name and kind: the first one's range answers.
    if (std::any_of(out.begin(), out.end(), [&](const ModuleProc& q) { return q.start == p.start; })) {
      ++line;
      continue;
    }
    out.push_back(p);
    line = std::max(line + 1, p.start + module.ProcCountLines(name, kind));
  }
  return out;
}

std::vector<OutlineObject> OutlineObjects(host::MemComponent& component) {
  std::vector<OutlineObject> out{{kGeneral, {}, false}};
  const std::u16string self = FormObjectName(component);
  if (!self.empty()) {
    // The form's events are those of its designer class (Form, MDIForm, ...).
    auto designer = component.designer();
    out.push_back({self, designer ? designer->form()->cls().name : self, false});
  }
  if (auto d = component.designer()) {
    std::vector<OutlineObject> controls;
    std::set<std::u16string> seen;
    for (const auto& c : d->controls()) {
      const std::u16string name = c->name();
      if (!seen.insert(Lower(name)).second) continue;
      controls.push_back({name, c->cls().name, c->index() >= 0});
    }
    std::sort(controls.begin(), controls.end(),
              [](const OutlineObject& a, const OutlineObject& b) { return Lower(a.name) < Lower(b.name); });
    out.insert(out.end(), controls.begin(), controls.end());
  }
  return out;
}

std::vector<OutlineProc> OutlineProcs(host::MemComponent& component, const OutlineObject& object) {
  std::vector<OutlineProc> out;
  auto module = component.code();
  if (!module) return out;
  const auto procs = ModuleProcs(*module);
  if (object.name == kGeneral) {
    const auto objects = OutlineObjects(component);
    out.push_back({kDeclarations, {}, 0, true});
    std::vector<OutlineProc> general;
    for (const auto& p : procs) {
      const std::u16string owner = HandledObject(p.name, objects);
      if (!owner.empty() && owner != kGeneral) continue;
      general.push_back({p.name + KindSuffix(p.kind), p.name, p.kind, true});
    }
    std::sort(general.begin(), general.end(),
              [](const OutlineProc& a, const OutlineProc& b) { return Lower(a.label) < Lower(b.label); });
    out.insert(out.end(), general.begin(), general.end());
    return out;
  }
  const std::u16string prefix = Lower(object.name + u"_");
  std::set<std::u16string> listed;
  for (const auto& e : EventsOf(object.className)) {
    const std::u16string name = object.name + u"_" + e.name;
    bool exists = std::any_of(procs.begin(), procs.end(), [&](const ModuleProc& p) { return Lower(p.name) == Lower(name); });
    out.push_back({e.name, name, 0, exists});
    listed.insert(Lower(name));
  }
  // Handlers of events the table does not know (an ActiveX control's).
  for (const auto& p : procs) {
    const std::u16string lower = Lower(p.name);
    if (lower.rfind(prefix, 0) == 0 && !listed.count(lower)) {
      out.push_back({p.name.substr(prefix.size()), p.name, p.kind, true});
      listed.insert(lower);
    }
  }
  std::sort(out.begin(), out.end(), [](const OutlineProc& a, const OutlineProc& b) { return Lower(a.label) < Lower(b.label); });
  return out;
}

OutlinePlace Locate(host::MemComponent& component, int line) {
  auto module = component.code();
  if (!module) return {kGeneral, kDeclarations};
  int kind = 0;
  const std::u16string name = line >= 1 && line <= module->CountOfLines() ? module->ProcOfLine(line, &kind) : u"";
  if (name.empty()) return {kGeneral, kDeclarations};
  const std::u16string owner = HandledObject(name, OutlineObjects(component));
  if (owner.empty()) return {kGeneral, name + KindSuffix(kind)};
  return {owner, name.substr(owner.size() + 1)};
}

int GoToProc(host::MemComponent& component, const OutlineObject& object, const OutlineProc& proc) {
  auto module = component.code();
  if (!module) return 1;
  if (proc.name.empty()) return 1;  // the declarations
  if (proc.exists) return module->ProcBodyLine(proc.name, proc.kind);
  const EventDef* event = nullptr;
  for (const auto& e : EventsOf(object.className))
    if (e.name == proc.label) event = &e;
  if (!event) return 1;
  // At the end, after a blank line, as the IDE adds it.
  int at = module->CountOfLines() + 1;
  std::u16string text = HandlerDeclaration(object.name, *event, object.array) + u"\r\n\r\nEnd Sub";
  if (at > 1 && !module->text().Line(at - 1).empty()) text = u"\r\n" + text, ++at;
  module->InsertLines(module->CountOfLines() + 1, text);
  return at;
}

}  // namespace tarno::workbench
