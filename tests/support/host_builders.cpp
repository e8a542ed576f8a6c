#include "host_builders.h"

#include <stdexcept>

#include "platform/vb_text.h"

namespace tarno::test {

ide::Variant Str(std::string_view utf8) { return vb::U(utf8); }

host::ModuleText CodeText(std::string_view utf8) {
  std::u16string text = vb::U(utf8);
  std::vector<std::u16string> lines;
  size_t b = 0;
  while (b < text.size()) {
    size_t e = text.find(u'\n', b);
    if (e == std::u16string::npos) {
      lines.push_back(text.substr(b));
      break;
    }
    size_t end = (e > b && text[e - 1] == u'\r') ? e - 1 : e;
    lines.push_back(text.substr(b, end - b));
    b = e + 1;
  }
  return host::ModuleText(lines);
}

std::shared_ptr<host::MemProject> TestHost::Project(int index) const {
  const auto& p = mem->projects();
  if (index < 1 || index > static_cast<int>(p.size())) throw std::out_of_range("no project " + std::to_string(index));
  return p[static_cast<size_t>(index - 1)];
}

std::shared_ptr<host::MemComponent> TestHost::Component(std::string_view name) const {
  for (const auto& p : mem->projects()) {
    if (auto c = p->Component(vb::U(name))) return c;
  }
  throw std::out_of_range("no component " + std::string(name));
}

std::shared_ptr<ide::CodeModule> TestHost::Module(std::string_view name) const { return Component(name)->code(); }

std::string TestHost::Code(std::string_view name) const {
  return vb::ToUtf8(Component(name)->code()->text().CodeText());
}

std::vector<std::string> TestHost::Lines(std::string_view name) const {
  const auto& t = Component(name)->code()->text();
  std::vector<std::string> out;
  for (int i = 1; i <= t.CountOfLines(); ++i) out.push_back(vb::ToUtf8(t.Line(i)));
  return out;
}

void TestHost::ShowCode(std::string_view component, int startLine, int startColumn, int endLine,
                        int endColumn) const {
  mem->ShowCode(Component(component), startLine, startColumn, endLine, endColumn);
}

void TestHost::ShowDesigner(std::string_view component) const { mem->ShowDesigner(Component(component)); }

std::shared_ptr<host::MemDesigner> TestHost::Designer(std::string_view component) const {
  auto d = Component(component)->designer();
  if (!d) throw std::out_of_range(std::string(component) + " has no designer");
  return d;
}

std::shared_ptr<host::MemControl> TestHost::Control(std::string_view component, std::string_view name,
                                                    int index) const {
  auto c = Designer(component)->Control(vb::U(name), index);
  if (!c) throw std::out_of_range("no control " + std::string(name) + " on " + std::string(component));
  return c;
}

void TestHost::Select(std::string_view component, const std::vector<std::string>& names) const {
  std::vector<std::shared_ptr<host::MemControl>> sel;
  for (const auto& n : names) sel.push_back(Control(component, n));
  Designer(component)->SetSelected(std::move(sel));
}

std::shared_ptr<host::MemCommandBarControl> TestHost::BarItem(std::string_view bar, std::string_view caption) const {
  auto b = mem->commandBars()->Bar(vb::U(bar));
  if (!b) throw std::out_of_range("no command bar " + std::string(bar));
  auto c = b->items()->Find(vb::U(caption));
  if (!c) throw std::out_of_range("no item " + std::string(caption) + " on " + std::string(bar));
  return c;
}

HostBuilder::HostBuilder() : vbe_(host::MemVBE::Create()) {}

HostBuilder& HostBuilder::Project(std::string_view name, int type) {
  project_ = host::MemProject::Create(vb::U(name), type);
  vbe_->AddProject(project_);
  return *this;
}

std::shared_ptr<host::MemProject> HostBuilder::CurrentProject() {
  if (!project_) Project("Project1");
  return project_;
}

HostBuilder& HostBuilder::Module(std::string_view name, std::string_view code) {
  return Component(ide::ComponentType::StdModule, name, code);
}

HostBuilder& HostBuilder::Class(std::string_view name, std::string_view code) {
  return Component(ide::ComponentType::ClassModule, name, code);
}

HostBuilder& HostBuilder::Form(std::string_view name, std::string_view code, std::vector<ControlSpec> controls) {
  return Component(ide::ComponentType::VBForm, name, code, std::move(controls));
}

HostBuilder& HostBuilder::UserControl(std::string_view name, std::string_view code,
                                      std::vector<ControlSpec> controls) {
  return Component(ide::ComponentType::UserControl, name, code, std::move(controls));
}

HostBuilder& HostBuilder::Component(int type, std::string_view name, std::string_view code,
                                    std::vector<ControlSpec> controls) {
  auto c = host::MemComponent::Create(type, vb::U(name));
  if (c->code()) c->code()->SetText(CodeText(code));
  CurrentProject()->AddComponent(c);
  if (!controls.empty() && !c->designer()) {
    throw std::invalid_argument(std::string(name) + " has no designer for its controls");
  }
  for (const auto& spec : controls) {
    std::shared_ptr<host::MemControl> parent;
    if (!spec.container.empty()) {
      parent = c->designer()->Control(vb::U(spec.container));
      if (!parent) throw std::invalid_argument("no container " + spec.container + " for " + spec.name);
    }
    auto ctl = c->designer()->AddControl(vb::U(spec.cls), vb::U(spec.name), parent, spec.index);
    for (const auto& [prop, value] : spec.props) {
      if (!ctl->Load(vb::U(prop), value)) {
        throw std::invalid_argument(spec.name + " cannot take property " + prop);
      }
    }
  }
  return *this;
}

HostBuilder& HostBuilder::ActiveCode(std::string_view component, int startLine, int startColumn, int endLine,
                                     int endColumn) {
  for (const auto& p : vbe_->projects()) {
    if (auto c = p->Component(vb::U(component))) {
      vbe_->ShowCode(c, startLine, startColumn, endLine, endColumn);
      return *this;
    }
  }
  throw std::out_of_range("no component " + std::string(component));
}

HostBuilder& HostBuilder::ActiveDesigner(std::string_view component) {
  for (const auto& p : vbe_->projects()) {
    if (auto c = p->Component(vb::U(component))) {
      vbe_->ShowDesigner(c);
      return *this;
    }
  }
  throw std::out_of_range("no component " + std::string(component));
}

TestHost HostBuilder::Build() {
  CurrentProject();
  return TestHost{vbe_, vbe_};
}

}  // namespace tarno::test
