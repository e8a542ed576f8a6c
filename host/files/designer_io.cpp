// The designer block of a component file and the host's designer.
#include <string>

#include "host/files/file_state.h"
#include "platform/vb_text.h"

namespace tarno::host::files {

namespace {

// Controls in VBControls order: every Begin block under the form, depth first.
void CollectControls(const ComponentFile& f, int node, std::vector<int>& out) {
  for (int c : f.nodes()[size_t(node)].children) {
    if (f.nodes()[size_t(c)].kind != DesignerNode::Kind::Block) continue;
    out.push_back(c);
    CollectControls(f, c, out);
  }
}

void MapNodes(ComponentState& state) {
  state.control_nodes.clear();
  state.form_node = state.file ? state.file->designer_root() : -1;
  if (state.form_node >= 0) CollectControls(*state.file, state.form_node, state.control_nodes);
}

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

}  // namespace

void LoadDesigner(MemComponent& component, ComponentState& state, Warnings& warnings) { MapNodes(state); }

void AdoptDesignerState(MemComponent& component, ComponentState& state) { MapNodes(state); }

void ApplyDesignerChanges(MemComponent& component, ComponentState& state, std::vector<OutLine>& header,
                          const std::string& old_sidecar, const std::string& new_sidecar) {
  if (!state.file || old_sidecar.empty() || old_sidecar == new_sidecar) return;
  // The copied binary file takes the new name in every reference to it.
  const std::string from = "\"" + old_sidecar + "\":";
  const std::string to = "\"" + new_sidecar + "\":";
  for (const auto& n : state.file->nodes()) {
    if (n.kind != DesignerNode::Kind::Property) continue;
    std::string& text = header[n.line].text;
    size_t pos = text.find(from);
    if (pos != std::string::npos) text.replace(pos, from.size(), to);
  }
}

void RenderNewDesigner(MemComponent& component, const CodePage& cp, std::vector<OutLine>& out) {
  std::string cls = "VB.Form";
  switch (component.type()) {
    case ide::ComponentType::MDIForm:
      cls = "VB.MDIForm";
      break;
    case ide::ComponentType::UserControl:
      cls = "VB.UserControl";
      break;
    case ide::ComponentType::PropPage:
      cls = "VB.PropertyPage";
      break;
    case ide::ComponentType::DocObject:
      cls = "VB.UserDocument";
      break;
    default:
      break;
  }
  std::string name = cp.Encode(component.name());
  auto add = [&](std::string s) { out.push_back({std::move(s), LineEnd::CrLf}); };
  add("Begin " + cls + " " + name + " ");
  if (cls == "VB.Form" || cls == "VB.MDIForm") add("   Caption         =   " + Quote(name));
  add("   ClientHeight    =   3195");
  add("   ClientLeft      =   60");
  add("   ClientTop       =   345");
  add("   ClientWidth     =   4680");
  add("End");
}

}  // namespace tarno::host::files
