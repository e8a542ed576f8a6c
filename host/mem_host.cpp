#include "host/mem_host.h"

#include <algorithm>

#include "host/faults.h"
#include "host/vb_syntax.h"
#include "platform/vb_text.h"

namespace tarno::host {

namespace {

class MemProjects : public ide::VBProjects {
 public:
  explicit MemProjects(std::shared_ptr<MemVBE> vbe) : vbe_(std::move(vbe)) {}
  int Count() override {
    CheckFault("VBProjects.Count");
    return static_cast<int>(vbe_->projects().size());
  }
  std::shared_ptr<ide::VBProject> Item(int index) override {
    CheckFault("VBProjects.Item");
    const auto& p = vbe_->projects();
    if (index < 1 || index > static_cast<int>(p.size())) {
      throw ide::HostError("VBProjects.Item", "no project at position " + std::to_string(index));
    }
    return p[static_cast<size_t>(index - 1)];
  }

 private:
  std::shared_ptr<MemVBE> vbe_;
};

class MemComponents : public ide::VBComponents {
 public:
  explicit MemComponents(std::shared_ptr<MemProject> project) : project_(std::move(project)) {}
  int Count() override {
    CheckFault("VBComponents.Count");
    return static_cast<int>(project_->components().size());
  }
  std::shared_ptr<ide::VBComponent> Item(int index) override {
    CheckFault("VBComponents.Item");
    const auto& c = project_->components();
    if (index < 1 || index > static_cast<int>(c.size())) {
      throw ide::HostError("VBComponents.Item", "no component at position " + std::to_string(index));
    }
    return c[static_cast<size_t>(index - 1)];
  }
  std::shared_ptr<ide::VBComponent> Add(int componentType) override {
    CheckFault("VBComponents.Add");
    return project_->NewComponent(componentType);
  }
  void Remove(const std::shared_ptr<ide::VBComponent>& component) override {
    CheckFault("VBComponents.Remove");
    auto c = std::dynamic_pointer_cast<MemComponent>(component);
    if (!c || c->project() != project_) throw ide::HostError("VBComponents.Remove", "not a component of this project");
    project_->RemoveComponent(c);
  }

 private:
  std::shared_ptr<MemProject> project_;
};

bool HasCode(int type) {
  return type != ide::ComponentType::ResFile && type != ide::ComponentType::RelatedDocument;
}

bool IsValidName(const std::u16string& name) {
  if (name.empty() || name.size() > 40) return false;
  char16_t c0 = name[0];
  if (!((c0 >= u'A' && c0 <= u'Z') || (c0 >= u'a' && c0 <= u'z') || c0 >= 0x80)) return false;
  for (char16_t c : name) {
    if (!syntax::IsWordChar(c)) return false;
  }
  return true;
}

}  // namespace

// --- windows and panes -------------------------------------------------------

int MemWindow::Type() {
  CheckFault("Window.Type");
  return type_;
}

std::u16string MemWindow::Caption() {
  CheckFault("Window.Caption");
  return caption_;
}

void MemCodePane::GetSelection(int& startLine, int& startColumn, int& endLine, int& endColumn) {
  CheckFault("CodePane.GetSelection");
  startLine = startLine_;
  startColumn = startColumn_;
  endLine = endLine_;
  endColumn = endColumn_;
}

void MemCodePane::SetSelection(int startLine, int startColumn, int endLine, int endColumn) {
  CheckFault("CodePane.SetSelection");
  const int n = module_->text().CountOfLines();
  if (startLine < 1 || endLine < startLine || endLine > std::max(n, 1) || startColumn < 1 || endColumn < 1) {
    throw ide::HostError("CodePane.SetSelection", "invalid selection " + std::to_string(startLine) + "," +
                                                      std::to_string(startColumn) + " to " +
                                                      std::to_string(endLine) + "," + std::to_string(endColumn));
  }
  Select(startLine, startColumn, endLine, endColumn);
}

std::shared_ptr<ide::CodeModule> MemCodePane::CodeModule() {
  CheckFault("CodePane.CodeModule");
  return module_;
}

// --- components --------------------------------------------------------------

std::shared_ptr<MemComponent> MemComponent::Create(int type, const std::u16string& name) {
  std::shared_ptr<MemComponent> c(new MemComponent(type, name));
  c->Init();
  return c;
}

void MemComponent::Init() {
  if (HasCode(type_)) {
    code_ = std::make_shared<MemCodeModule>();
    code_->SetParent(weak_from_this());
  }
  designer_ = MemDesigner::Create(type_, name_);
  if (designer_) designer_->SetOwner(weak_from_this());
}

std::u16string MemComponent::Name() {
  CheckFault("VBComponent.Name");
  return name_;
}

void MemComponent::SetName(const std::u16string& name) {
  CheckFault("VBComponent.SetName");
  Rename(name, "VBComponent.SetName");
}

void MemComponent::Rename(const std::u16string& name, const char* operation) {
  if (!IsValidName(name)) throw ide::HostError(operation, "invalid name \"" + vb::ToUtf8(name) + "\"");
  if (auto p = project_.lock()) {
    auto other = p->Component(name);
    if (other && other.get() != this) {
      throw ide::HostError(operation, "the name \"" + vb::ToUtf8(name) + "\" is already used");
    }
  }
  if (name_ == name) return;
  set_name(name);
  MarkDirty();
}

std::vector<std::shared_ptr<MemDesigner>> MemComponent::OpenDesigners() const {
  auto project = project_.lock();
  auto vbe = project ? project->vbe() : nullptr;
  std::vector<std::shared_ptr<MemProject>> projects;
  if (vbe) projects = vbe->projects();
  else if (project) projects.push_back(project);
  std::vector<std::shared_ptr<MemDesigner>> designers;
  for (const auto& p : projects)
    for (const auto& component : p->components())
      if (component->designer()) designers.push_back(component->designer());
  return designers;
}

void MemComponent::set_name(std::u16string name) {
  name_ = std::move(name);
  if (designer_) designer_->form()->set_name(name_);
}

int MemComponent::Type() {
  CheckFault("VBComponent.Type");
  return type_;
}

std::shared_ptr<ide::CodeModule> MemComponent::CodeModule() {
  CheckFault("VBComponent.CodeModule");
  return code_;
}

std::shared_ptr<ide::VBForm> MemComponent::Designer() {
  CheckFault("VBComponent.Designer");
  return designer_;
}

std::shared_ptr<ide::Properties> MemComponent::Properties() {
  CheckFault("VBComponent.Properties");
  if (!designer_) throw ide::HostError("VBComponent.Properties", "the component has no designer properties");
  return PropertiesOf(designer_->form());
}

std::u16string MemComponent::FileNames(int index) {
  CheckFault("VBComponent.FileNames");
  if (index < 1) throw ide::HostError("VBComponent.FileNames", "index " + std::to_string(index) + " is below 1");
  if (index > static_cast<int>(fileNames_.size())) return u"";
  return fileNames_[static_cast<size_t>(index - 1)];
}

bool MemComponent::IsDirty() {
  CheckFault("VBComponent.IsDirty");
  return dirty_;
}

void MemComponent::SetIsDirty(bool dirty) {
  CheckFault("VBComponent.SetIsDirty");
  dirty_ = dirty;
}

void MemComponent::SaveAs(const std::u16string& fileName) {
  CheckFault("VBComponent.SaveAs");
  if (fileName.empty()) throw ide::HostError("VBComponent.SaveAs", "empty file name");
  auto p = project_.lock();
  auto vbe = p ? p->vbe() : nullptr;
  if (vbe && vbe->store()) {
    try {
      vbe->store()->SaveComponent(*this, fileName);
    } catch (const ide::HostError&) {
      throw;
    } catch (const std::exception& e) {
      throw ide::HostError("VBComponent.SaveAs", e.what());
    }
    dirty_ = false;
  }
  if (fileNames_.empty()) fileNames_.push_back(fileName);
  else fileNames_[0] = fileName;
}

std::shared_ptr<ide::VBProject> MemComponent::Collection() {
  CheckFault("VBComponent.Collection");
  return project_.lock();
}

// --- projects ----------------------------------------------------------------

std::shared_ptr<MemProject> MemProject::Create(const std::u16string& name, int type) {
  return std::shared_ptr<MemProject>(new MemProject(name, type));
}

std::u16string MemProject::Name() {
  CheckFault("VBProject.Name");
  return name_;
}

int MemProject::Type() {
  CheckFault("VBProject.Type");
  return type_;
}

std::u16string MemProject::FileName() {
  CheckFault("VBProject.FileName");
  return fileName_;
}

bool MemProject::Saved() {
  CheckFault("VBProject.Saved");
  if (!saved_) return false;
  for (const auto& c : components_) {
    if (c->dirty()) return false;
  }
  return true;
}

void MemProject::SaveAs(const std::u16string& fileName) {
  CheckFault("VBProject.SaveAs");
  if (fileName.empty()) throw ide::HostError("VBProject.SaveAs", "empty file name");
  auto v = vbe_.lock();
  if (v && v->store()) {
    try {
      v->store()->SaveProject(*this, fileName);
    } catch (const ide::HostError&) {
      throw;
    } catch (const std::exception& e) {
      throw ide::HostError("VBProject.SaveAs", e.what());
    }
    saved_ = true;
  }
  fileName_ = fileName;
}

std::vector<std::u16string> MemProject::AddedReferences() {
  CheckFault("VBProject.AddedReferences");
  auto v = vbe();
  if (!v || !v->store()) return {};
  return v->store()->AddedReferences(*this);
}

std::shared_ptr<ide::VBComponents> MemProject::VBComponents() {
  CheckFault("VBProject.VBComponents");
  return std::make_shared<MemComponents>(shared_from_this());
}

void MemProject::AddComponent(const std::shared_ptr<MemComponent>& component) {
  component->SetProject(weak_from_this());
  components_.push_back(component);
}

std::u16string MemProject::DefaultName(int type) const {
  std::u16string prefix;
  switch (type) {
    case ide::ComponentType::StdModule: prefix = u"Module"; break;
    case ide::ComponentType::ClassModule: prefix = u"Class"; break;
    case ide::ComponentType::MSForm: prefix = u"UserForm"; break;
    case ide::ComponentType::VBForm: prefix = u"Form"; break;
    case ide::ComponentType::MDIForm: prefix = u"MDIForm"; break;
    case ide::ComponentType::PropPage: prefix = u"PropertyPage"; break;
    case ide::ComponentType::UserControl: prefix = u"UserControl"; break;
    case ide::ComponentType::DocObject: prefix = u"UserDocument"; break;
    case ide::ComponentType::ActiveXDesigner: prefix = u"DataEnvironment"; break;
    default: return u"";
  }
  for (int n = 1;; ++n) {
    std::u16string candidate = prefix + vb::FromInt(n);
    if (!Component(candidate)) return candidate;
  }
}

std::shared_ptr<MemComponent> MemProject::NewComponent(int type) {
  std::u16string name = DefaultName(type);
  if (name.empty()) {
    throw ide::HostError("VBComponents.Add", "a component of type " + std::to_string(type) + " cannot be added");
  }
  if (type == ide::ComponentType::MDIForm) {
    for (const auto& c : components_) {
      if (c->type() == ide::ComponentType::MDIForm) {
        throw ide::HostError("VBComponents.Add", "the project already has an MDI form");
      }
    }
  }
  auto c = MemComponent::Create(type, name);
  if (c->designer()) c->designer()->form()->SetInitial(u"Caption", name);
  AddComponent(c);
  c->MarkDirty();
  saved_ = false;
  return c;
}

void MemProject::RemoveComponent(const std::shared_ptr<MemComponent>& component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->SetProject({});
  saved_ = false;
}

std::shared_ptr<MemComponent> MemProject::Component(const std::u16string& name) const {
  for (const auto& c : components_) {
    if (vb::EqualsIgnoreCaseAscii(c->name(), name)) return c;
  }
  return nullptr;
}

// --- VBE ---------------------------------------------------------------------

std::shared_ptr<MemVBE> MemVBE::Create() {
  std::shared_ptr<MemVBE> v(new MemVBE());
  v->commandBars_ = MemCommandBars::CreateDefault();
  v->events_ = std::make_shared<MemEvents>();
  return v;
}

MemCommandBarControl::ClickResult MemVBE::Click(const std::shared_ptr<ide::CommandBarControl>& control) {
  auto c = std::dynamic_pointer_cast<MemCommandBarControl>(control);
  if (!c) throw ide::HostError("VBE.Click", "not a command bar control of this host");
  return c->Click();
}

std::shared_ptr<ide::VBProjects> MemVBE::VBProjects() {
  CheckFault("VBE.VBProjects");
  return std::make_shared<MemProjects>(shared_from_this());
}

std::shared_ptr<ide::CodePane> MemVBE::ActiveCodePane() {
  CheckFault("VBE.ActiveCodePane");
  return activeCodePane_;
}

std::shared_ptr<ide::Window> MemVBE::ActiveWindow() {
  CheckFault("VBE.ActiveWindow");
  return activeWindow_;
}

std::shared_ptr<ide::VBComponent> MemVBE::SelectedVBComponent() {
  CheckFault("VBE.SelectedVBComponent");
  return selected_;
}

std::shared_ptr<ide::CommandBars> MemVBE::CommandBars() {
  CheckFault("VBE.CommandBars");
  return commandBars_;
}

std::shared_ptr<ide::Events> MemVBE::Events() {
  CheckFault("VBE.Events");
  return events_;
}

void MemVBE::AddProject(const std::shared_ptr<MemProject>& project) {
  project->SetVBE(weak_from_this());
  projects_.push_back(project);
}

void MemVBE::RemoveProject(const std::shared_ptr<MemProject>& project) {
  std::erase(projects_, project);
  auto owned = [&](const std::shared_ptr<ide::VBComponent>& c) {
    auto mem = std::dynamic_pointer_cast<MemComponent>(c);
    return mem && mem->project() == project;
  };
  if (owned(selected_)) selected_.reset();
  if (auto pane = std::dynamic_pointer_cast<MemCodePane>(activeCodePane_)) {
    auto parent = pane->module() ? std::dynamic_pointer_cast<MemComponent>(pane->module()->Parent()) : nullptr;
    if (parent && parent->project() == project) {
      activeCodePane_.reset();
      activeWindow_.reset();
    }
  }
  project->SetVBE({});
}

std::shared_ptr<MemProject> MemVBE::Project(const std::u16string& name) const {
  for (const auto& p : projects_) {
    if (vb::EqualsIgnoreCaseAscii(p->name(), name)) return p;
  }
  return nullptr;
}

static std::u16string WindowCaption(const std::shared_ptr<MemComponent>& c, const char16_t* what) {
  std::u16string caption;
  if (auto p = c->project()) caption = p->name() + u" - ";
  return caption + c->name() + u" (" + what + u")";
}

std::shared_ptr<MemCodePane> MemVBE::ShowCode(const std::shared_ptr<MemComponent>& component, int startLine,
                                              int startColumn, int endLine, int endColumn) {
  if (!component->code()) throw ide::HostError("VBE.ShowCode", "the component has no code");
  auto pane = std::make_shared<MemCodePane>(component->code());
  pane->Select(startLine, startColumn, endLine, endColumn);
  activeCodePane_ = pane;
  activeWindow_ = std::make_shared<MemWindow>(MemWindow::kCodeWindow, WindowCaption(component, u"Code"));
  selected_ = component;
  return pane;
}

void MemVBE::ShowDesigner(const std::shared_ptr<MemComponent>& component) {
  activeWindow_ = std::make_shared<MemWindow>(MemWindow::kDesignerWindow, WindowCaption(component, u"Form"));
  selected_ = component;
}

}  // namespace tarno::host
