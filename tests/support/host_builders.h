// Building in-memory IDE models in tests, in a line or two
// (#include "support/host_builders.h"):
//
//   auto host = HostBuilder()
//                   .Module("Module1", "Option Explicit\nDim a\n")
//                   .Form("Form1", "Private Sub Form_Load()\nEnd Sub\n",
//                         {{"TextBox", "Text1"}, {"Label", "Label1", 0}})
//                   .ActiveCode("Module1", 2, 1, 2, 1)
//                   .Build();
//   tool.Run(*host.vbe);
//   EXPECT_EQ(host.Code("Module1"), "Option Explicit\r\n...");
//
// Code is UTF-8 text; lines end in "\n" or "\r\n" (a final line end adds no
// empty line). Components go into the last project started with Project(),
// or into "Project1".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "addin/host_api.h"
#include "host/faults.h"
#include "host/mem_host.h"

namespace tarno::test {

// One control of a form: class ("TextBox", "VB.TextBox" or an ActiveX ProgId
// such as "MSComctlLib.ListViewCtrl.2"), name, control-array index (-1: none),
// the name of its container ("" for the form) and properties to set.
struct ControlSpec {
  ControlSpec(std::string cls_, std::string name_, int index_ = -1, std::string container_ = {},
              std::vector<std::pair<std::string, ide::Variant>> props_ = {})
      : cls(std::move(cls_)),
        name(std::move(name_)),
        index(index_),
        container(std::move(container_)),
        props(std::move(props_)) {}
  std::string cls;
  std::string name;
  int index = -1;
  std::string container;
  std::vector<std::pair<std::string, ide::Variant>> props;
};

// A string property value from UTF-8 text.
ide::Variant Str(std::string_view utf8);

struct TestHost {
  std::shared_ptr<host::MemVBE> mem;
  std::shared_ptr<ide::VBE> vbe;  // the same object as mem

  // 1-based, in the order they were built.
  std::shared_ptr<host::MemProject> Project(int index = 1) const;
  // Searched in every project; throws std::out_of_range when absent.
  std::shared_ptr<host::MemComponent> Component(std::string_view name) const;
  std::shared_ptr<ide::CodeModule> Module(std::string_view name) const;
  // The component's code lines joined by "\r\n", as UTF-8.
  std::string Code(std::string_view name) const;
  std::vector<std::string> Lines(std::string_view name) const;
  // What the user would do in the IDE.
  void ShowCode(std::string_view component, int startLine = 1, int startColumn = 1, int endLine = 1,
                int endColumn = 1) const;
  void ShowDesigner(std::string_view component) const;
  host::FaultInjector& Faults() const { return host::Faults(); }

  // Designers and controls; throw std::out_of_range when absent.
  std::shared_ptr<host::MemDesigner> Designer(std::string_view component) const;
  std::shared_ptr<host::MemControl> Control(std::string_view component, std::string_view name, int index = -1) const;
  // The designer's selection (SelectedVBControls), by control name.
  void Select(std::string_view component, const std::vector<std::string>& names) const;

  // Command bars: the item captioned so on the bar (popups searched too);
  // throws std::out_of_range when absent.
  std::shared_ptr<host::MemCommandBarControl> BarItem(std::string_view bar, std::string_view caption) const;
  // The user clicks the control; returns the handled and cancel-default flags.
  host::MemCommandBarControl::ClickResult Click(const std::shared_ptr<ide::CommandBarControl>& control) const {
    return mem->Click(control);
  }
};

class HostBuilder {
 public:
  HostBuilder();
  // Starts a new project; later components go into it.
  HostBuilder& Project(std::string_view name, int type = ide::ProjectType::StdExe);
  HostBuilder& Module(std::string_view name, std::string_view code);
  HostBuilder& Class(std::string_view name, std::string_view code);
  HostBuilder& Form(std::string_view name, std::string_view code, std::vector<ControlSpec> controls = {});
  HostBuilder& UserControl(std::string_view name, std::string_view code, std::vector<ControlSpec> controls = {});
  HostBuilder& Component(int type, std::string_view name, std::string_view code,
                         std::vector<ControlSpec> controls = {});
  // The component's code window becomes the active window with this selection.
  HostBuilder& ActiveCode(std::string_view component, int startLine = 1, int startColumn = 1, int endLine = 1,
                          int endColumn = 1);
  // The component's designer becomes the active window (and the selected component).
  HostBuilder& ActiveDesigner(std::string_view component);
  TestHost Build();

 private:
  std::shared_ptr<host::MemProject> CurrentProject();
  std::shared_ptr<host::MemVBE> vbe_;
  std::shared_ptr<host::MemProject> project_;
};

// Module text from UTF-8 code with "\n" or "\r\n" line ends.
host::ModuleText CodeText(std::string_view utf8);

}  // namespace tarno::test
