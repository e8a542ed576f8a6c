// The in-memory IDE: projects, components, code panes and windows behind the
// interfaces of addin/host_api.h. Tools see only those interfaces; whoever
// drives the host (tests, the command line, a front end, the project loader)
// uses the Mem* classes to build the model and to set what the user would
// have selected.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addin/host_api.h"
#include "host/code_module.h"
#include "host/command_bars.h"
#include "host/component_store.h"
#include "host/controls.h"

namespace tarno::host {

class MemVBE;
class MemProject;
class MemComponent;
class MemDesigner;

class MemWindow : public ide::Window {
 public:
  static constexpr int kCodeWindow = 0;
  static constexpr int kDesignerWindow = 1;
  MemWindow(int type, std::u16string caption) : type_(type), caption_(std::move(caption)) {}
  int Type() override;
  std::u16string Caption() override;

 private:
  int type_;
  std::u16string caption_;
};

class MemCodePane : public ide::CodePane {
 public:
  explicit MemCodePane(std::shared_ptr<MemCodeModule> module) : module_(std::move(module)) {}
  void GetSelection(int& startLine, int& startColumn, int& endLine, int& endColumn) override;
  void SetSelection(int startLine, int startColumn, int endLine, int endColumn) override;
  std::shared_ptr<ide::CodeModule> CodeModule() override;
  const std::shared_ptr<MemCodeModule>& module() const { return module_; }
  // Sets the selection as the user would (no checks).
  void Select(int startLine, int startColumn, int endLine, int endColumn) {
    startLine_ = startLine;
    startColumn_ = startColumn;
    endLine_ = endLine;
    endColumn_ = endColumn;
  }

 private:
  std::shared_ptr<MemCodeModule> module_;
  int startLine_ = 1, startColumn_ = 1, endLine_ = 1, endColumn_ = 1;
};

// A component owns its code module and its designer, which reach it only
// through the narrow owner interfaces they define.
class MemComponent : public ide::VBComponent,
                     public CodeModuleOwner,
                     public DesignerOwner,
                     public std::enable_shared_from_this<MemComponent> {
 public:
  // A component of the type with an empty code module (none for a resource
  // file or related document) and, for designer types, an empty designer.
  static std::shared_ptr<MemComponent> Create(int type, const std::u16string& name);

  std::u16string Name() override;
  void SetName(const std::u16string& name) override;
  int Type() override;
  std::shared_ptr<ide::CodeModule> CodeModule() override;
  std::shared_ptr<ide::VBForm> Designer() override;
  std::shared_ptr<ide::Properties> Properties() override;
  std::u16string FileNames(int index) override;
  bool IsDirty() override;
  void SetIsDirty(bool dirty) override;
  void SaveAs(const std::u16string& fileName) override;
  std::shared_ptr<ide::VBProject> Collection() override;

  // Model access (no fault checks, no dirty marking).
  const std::u16string& name() const { return name_; }
  void set_name(std::u16string name);
  int type() const { return type_; }
  const std::shared_ptr<MemCodeModule>& code() const { return code_; }
  const std::shared_ptr<MemDesigner>& designer() const { return designer_; }
  std::vector<std::u16string>& fileNames() { return fileNames_; }
  bool dirty() const { return dirty_; }
  std::shared_ptr<MemProject> project() const { return project_.lock(); }
  void SetProject(const std::weak_ptr<MemProject>& project) { project_ = project; }
  // Renames after the IDE's checks (an identifier of at most 40 characters,
  // unique in the project); throws ide::HostError(operation, ...).
  void Rename(const std::u16string& name, const char* operation) override;
  // Called by every edit of code or controls.
  void MarkDirty() override { dirty_ = true; }
  std::shared_ptr<ide::VBComponent> AsVBComponent() override { return shared_from_this(); }
  std::vector<std::shared_ptr<MemDesigner>> OpenDesigners() const override;
  // The loaded component this one was copied from (the form copy): until the
  // copy has a file of its own, it is written in its source's text, so that
  // what the model does not hold (lines of unknown properties, the file's own
  // value forms) is carried over.
  void set_copied_from(const std::weak_ptr<MemComponent>& source) { copiedFrom_ = source; }
  std::shared_ptr<MemComponent> copied_from() const { return copiedFrom_.lock(); }

  // The project-file layer's own state for this component (header lines, ...).
  std::shared_ptr<void> file_state;

 private:
  MemComponent(int type, std::u16string name) : type_(type), name_(std::move(name)) {}
  void Init();

  int type_;
  std::u16string name_;
  std::shared_ptr<MemCodeModule> code_;
  std::shared_ptr<MemDesigner> designer_;
  std::vector<std::u16string> fileNames_;
  bool dirty_ = false;
  std::weak_ptr<MemProject> project_;
  std::weak_ptr<MemComponent> copiedFrom_;
};

class MemProject : public ide::VBProject, public std::enable_shared_from_this<MemProject> {
 public:
  static std::shared_ptr<MemProject> Create(const std::u16string& name, int type = ide::ProjectType::StdExe);

  std::u16string Name() override;
  int Type() override;
  std::u16string FileName() override;
  bool Saved() override;
  void SaveAs(const std::u16string& fileName) override;
  std::shared_ptr<ide::VBComponents> VBComponents() override;
  std::vector<std::u16string> AddedReferences() override;

  // Model access.
  const std::u16string& name() const { return name_; }
  void set_name(std::u16string name) { name_ = std::move(name); }
  int type() const { return type_; }
  void set_type(int type) { type_ = type; }
  const std::u16string& fileName() const { return fileName_; }
  void set_fileName(std::u16string f) { fileName_ = std::move(f); }
  // Saved is false while the project itself or any component is changed.
  void set_saved(bool saved) { saved_ = saved; }
  const std::vector<std::shared_ptr<MemComponent>>& components() const { return components_; }
  // Appends a loaded component (not an edit: nothing becomes dirty).
  void AddComponent(const std::shared_ptr<MemComponent>& component);
  // VBComponents.Add: a new component with the IDE's default name, last.
  std::shared_ptr<MemComponent> NewComponent(int type);
  // VBComponents.Remove: the component leaves the project.
  void RemoveComponent(const std::shared_ptr<MemComponent>& component);
  // Case-insensitive; nullptr when absent.
  std::shared_ptr<MemComponent> Component(const std::u16string& name) const;
  // The IDE's default name for a new component of the type: Form1, Module2, ...
  std::u16string DefaultName(int type) const;
  std::shared_ptr<MemVBE> vbe() const { return vbe_.lock(); }
  void SetVBE(const std::weak_ptr<MemVBE>& vbe) { vbe_ = vbe; }

  std::shared_ptr<void> file_state;

 private:
  MemProject(std::u16string name, int type) : name_(std::move(name)), type_(type) {}
  std::u16string name_;
  int type_;
  std::u16string fileName_;
  bool saved_ = true;
  std::vector<std::shared_ptr<MemComponent>> components_;
  std::weak_ptr<MemVBE> vbe_;
};

class MemVBE : public ide::VBE, public std::enable_shared_from_this<MemVBE> {
 public:
  static std::shared_ptr<MemVBE> Create();

  std::shared_ptr<ide::VBProjects> VBProjects() override;
  std::shared_ptr<ide::CodePane> ActiveCodePane() override;
  std::shared_ptr<ide::Window> ActiveWindow() override;
  std::shared_ptr<ide::VBComponent> SelectedVBComponent() override;
  std::shared_ptr<ide::CommandBars> CommandBars() override;
  std::shared_ptr<ide::Events> Events() override;

  // Driving the host.
  const std::vector<std::shared_ptr<MemProject>>& projects() const { return projects_; }
  void AddProject(const std::shared_ptr<MemProject>& project);
  // Closes the project: it leaves the collection, and the active pane, window
  // and selected component go when they belong to it.
  void RemoveProject(const std::shared_ptr<MemProject>& project);
  // nullptr when absent (case-insensitive).
  std::shared_ptr<MemProject> Project(const std::u16string& name) const;
  // Opens the component's code window: it becomes the active window, its pane
  // the active code pane (with the selection) and the component the selected one.
  std::shared_ptr<MemCodePane> ShowCode(const std::shared_ptr<MemComponent>& component, int startLine = 1,
                                        int startColumn = 1, int endLine = 1, int endColumn = 1);
  // Opens the component's designer window: the active window is not a code
  // window; the active code pane stays what it was.
  void ShowDesigner(const std::shared_ptr<MemComponent>& component);
  void SetActiveCodePane(std::shared_ptr<ide::CodePane> pane) { activeCodePane_ = std::move(pane); }
  void SetActiveWindow(std::shared_ptr<ide::Window> window) { activeWindow_ = std::move(window); }
  void SetSelectedComponent(std::shared_ptr<ide::VBComponent> c) { selected_ = std::move(c); }
  void SetStore(std::shared_ptr<ComponentStore> store) { store_ = std::move(store); }
  const std::shared_ptr<ComponentStore>& store() const { return store_; }
  const std::shared_ptr<MemCommandBars>& commandBars() const { return commandBars_; }
  // The user clicks a command bar control: its event sources raise Click.
  MemCommandBarControl::ClickResult Click(const std::shared_ptr<ide::CommandBarControl>& control);

 private:
  MemVBE() = default;
  std::vector<std::shared_ptr<MemProject>> projects_;
  std::shared_ptr<ide::CodePane> activeCodePane_;
  std::shared_ptr<ide::Window> activeWindow_;
  std::shared_ptr<ide::VBComponent> selected_;
  std::shared_ptr<ComponentStore> store_;
  std::shared_ptr<MemCommandBars> commandBars_;
  std::shared_ptr<MemEvents> events_;
};

}  // namespace tarno::host
