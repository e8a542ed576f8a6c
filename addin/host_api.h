// The operations of the VB 6 IDE's extensibility model that the add-in uses.
// Every tool reaches the IDE only through these interfaces; host/ holds the
// in-memory implementation (loaded from project files on disk), and another
// host (a desktop front end, the real IDE) can implement them too.
//
// Conventions: collections are 1-based (except SelectedVBControls, 0-based),
// line numbers and columns are 1-based, text is UTF-16. Any failure of a host
// operation throws HostError; each caller decides whether to ignore it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarno::ide {

class HostError : public std::runtime_error {
 public:
  HostError(const std::string& operation, const std::string& reason)
      : std::runtime_error(operation + ": " + reason), operation_(operation) {}
  const std::string& operation() const { return operation_; }

 private:
  std::string operation_;
};

// Component type codes (VBComponent.Type).
namespace ComponentType {
inline constexpr int StdModule = 1;
inline constexpr int ClassModule = 2;
inline constexpr int MSForm = 3;
inline constexpr int ResFile = 4;
inline constexpr int VBForm = 5;
inline constexpr int MDIForm = 6;
inline constexpr int PropPage = 7;
inline constexpr int UserControl = 8;
inline constexpr int DocObject = 9;
inline constexpr int RelatedDocument = 10;
inline constexpr int ActiveXDesigner = 11;
}  // namespace ComponentType

// Project type codes (VBProject.Type).
namespace ProjectType {
inline constexpr int StdExe = 0;
inline constexpr int ActiveXExe = 1;
inline constexpr int ActiveXDll = 2;
inline constexpr int ActiveXControl = 3;
}  // namespace ProjectType

// Procedure kinds used by the Proc* queries.
namespace ProcKind {
inline constexpr int Proc = 0;
inline constexpr int Let = 1;
inline constexpr int Set = 2;
inline constexpr int Get = 3;
}  // namespace ProcKind

// Member.Type and Member.Scope codes.
namespace MemberType {
inline constexpr int Method = 1;
inline constexpr int Property = 2;
inline constexpr int Variable = 3;
inline constexpr int Event = 4;
inline constexpr int Const = 5;
}  // namespace MemberType
namespace MemberScope {
inline constexpr int Private = 1;
inline constexpr int Public = 2;
inline constexpr int Friend = 3;
}  // namespace MemberScope

// The subset of VB's Variant that control properties hold. Integer is
// int16_t, Long int32_t, Single float, Double/Currency double.
using Variant = std::variant<std::monostate, bool, int16_t, int32_t, float, double, std::u16string>;

struct Member {
  std::u16string Name;
  int Type = 0;
  int Scope = 0;
  int CodeLocation = 0;
};

class VBE;
class VBProject;
class VBComponent;
class CodeModule;
class CodePane;
class VBForm;
class VBControl;
class VBControls;
class Property;
class Properties;
class Font;
class CommandBar;
class CommandBarControl;

class CodeModule {
 public:
  virtual ~CodeModule() = default;
  virtual std::u16string Lines(int start, int count) = 0;
  // Every code line as a view into the host's own text, valid until the
  // module next changes: for readers that go through a large module many
  // times and should not hold a second copy of it. Empty when the host has
  // no such text to lend (then read the lines with Lines).
  virtual std::vector<std::u16string_view> LineViews() { return {}; }
  virtual int CountOfLines() = 0;
  virtual int CountOfDeclarationLines() = 0;
  virtual void InsertLines(int line, const std::u16string& text) = 0;
  virtual void DeleteLines(int start, int count = 1) = 0;
  virtual int ProcStartLine(const std::u16string& name, int kind) = 0;
  virtual int ProcBodyLine(const std::u16string& name, int kind) = 0;
  virtual int ProcCountLines(const std::u16string& name, int kind) = 0;
  // The procedure holding the line ("" in the declarations); its kind goes to *kind.
  virtual std::u16string ProcOfLine(int line, int* kind) = 0;
  // On a match sets the range to the match (end column just after it) and returns true.
  virtual bool Find(const std::u16string& target, int& startLine, int& startColumn, int& endLine,
                    int& endColumn, bool wholeWord = false, bool matchCase = false,
                    bool patternSearch = false) = 0;
  virtual std::vector<Member> Members() = 0;
  virtual std::shared_ptr<VBComponent> Parent() = 0;
};

class CodePane {
 public:
  virtual ~CodePane() = default;
  virtual void GetSelection(int& startLine, int& startColumn, int& endLine, int& endColumn) = 0;
  virtual void SetSelection(int startLine, int startColumn, int endLine, int endColumn) = 0;
  virtual std::shared_ptr<ide::CodeModule> CodeModule() = 0;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual int Type() = 0;  // 0: code window
  virtual std::u16string Caption() = 0;
};

// The Font property's object (StdFont). Sub-properties by position 1..Count
// for copying value by value: Name, Size, Bold, Italic, Strikethru, Underline,
// Weight, Charset.
class Font {
 public:
  virtual ~Font() = default;
  virtual std::u16string Name() = 0;
  virtual void SetName(const std::u16string& v) = 0;
  virtual double Size() = 0;
  virtual void SetSize(double v) = 0;
  virtual bool Bold() = 0;
  virtual void SetBold(bool v) = 0;
  virtual bool Italic() = 0;
  virtual void SetItalic(bool v) = 0;
  virtual bool Strikethru() = 0;
  virtual void SetStrikethru(bool v) = 0;
  virtual bool Underline() = 0;
  virtual void SetUnderline(bool v) = 0;
  virtual int Count() = 0;
  virtual std::u16string ItemName(int index) = 0;
  virtual Variant ItemValue(int index) = 0;
  virtual void SetItemValue(int index, const Variant& v) = 0;
};

class Property {
 public:
  virtual ~Property() = default;
  virtual std::u16string Name() = 0;
  virtual Variant Value() = 0;
  virtual void SetValue(const Variant& v) = 0;
  // The object of an object-valued property (Font); nullptr for others.
  virtual std::shared_ptr<ide::Font> Object() = 0;
  virtual void SetObject(const std::shared_ptr<ide::Font>& font) = 0;
};

class Properties {
 public:
  virtual ~Properties() = default;
  virtual int Count() = 0;
  virtual std::shared_ptr<Property> Item(int index) = 0;
  virtual std::shared_ptr<Property> Item(const std::u16string& name) = 0;
};

class VBControl {
 public:
  virtual ~VBControl() = default;
  virtual std::u16string ClassName() = 0;  // e.g. "TextBox"
  virtual std::u16string ProgId() = 0;     // e.g. "VB.TextBox"
  // Type name of the control object, for TypeOf tests ("Label", ...).
  virtual std::u16string ControlObject() = 0;
  virtual std::shared_ptr<ide::Properties> Properties() = 0;
  // The controls placed directly inside this one (a frame's, a picture box's,
  // a menu's items), in file order; Add with the container flag places a new
  // control inside a container. A host error for hosts without containers.
  virtual std::shared_ptr<ide::VBControls> ContainedVBControls();
};

// A collection of controls. VBControls and ContainedVBControls are 1-based,
// SelectedVBControls 0-based.
class VBControls {
 public:
  virtual ~VBControls() = default;
  virtual int Count() = 0;
  virtual std::shared_ptr<VBControl> Item(int index) = 0;
  // ContainedVBControls only: a new control of the ProgId.
  virtual std::shared_ptr<VBControl> Add(const std::u16string& progId,
                                         const std::shared_ptr<VBControl>& relative,
                                         bool container) = 0;
};

class VBForm {
 public:
  virtual ~VBForm() = default;
  virtual std::shared_ptr<ide::VBControls> VBControls() = 0;
  virtual std::shared_ptr<ide::VBControls> SelectedVBControls() = 0;
  virtual std::shared_ptr<ide::VBControls> ContainedVBControls() = 0;
};

class VBComponent {
 public:
  virtual ~VBComponent() = default;
  virtual std::u16string Name() = 0;
  virtual void SetName(const std::u16string& name) = 0;
  virtual int Type() = 0;
  // nullptr when the component has no code module (resource file, related document).
  virtual std::shared_ptr<ide::CodeModule> CodeModule() = 0;
  // nullptr when the component has no designer.
  virtual std::shared_ptr<VBForm> Designer() = 0;
  // The designer's own (form) properties.
  virtual std::shared_ptr<ide::Properties> Properties() = 0;
  virtual std::u16string FileNames(int index) = 0;
  virtual bool IsDirty() = 0;
  virtual void SetIsDirty(bool dirty) = 0;
  virtual void SaveAs(const std::u16string& fileName) = 0;
  virtual std::shared_ptr<VBProject> Collection() = 0;
};

class VBComponents {
 public:
  virtual ~VBComponents() = default;
  virtual int Count() = 0;
  virtual std::shared_ptr<VBComponent> Item(int index) = 0;
  virtual std::shared_ptr<VBComponent> Add(int componentType) = 0;
  // Takes the component out of the project. A host error for hosts that cannot.
  virtual void Remove(const std::shared_ptr<VBComponent>& component);
};

class VBProject {
 public:
  virtual ~VBProject() = default;
  virtual std::u16string Name() = 0;
  virtual int Type() = 0;
  virtual std::u16string FileName() = 0;
  virtual bool Saved() = 0;
  virtual void SaveAs(const std::u16string& fileName) = 0;
  virtual std::shared_ptr<ide::VBComponents> VBComponents() = 0;
  // The references and ActiveX libraries the project gains for components
  // added to it (a copied form brings what its code and controls need), as
  // its project file will list them ("Reference=*\G{...}#...",
  // "Object={...}#2.0#0; X.OCX"); empty where the host adds none.
  virtual std::vector<std::u16string> AddedReferences() { return {}; }
};

class VBProjects {
 public:
  virtual ~VBProjects() = default;
  virtual int Count() = 0;
  virtual std::shared_ptr<VBProject> Item(int index) = 0;
};

class CommandBarControls;

namespace ControlType {
inline constexpr int Button = 1;
inline constexpr int Popup = 10;
}  // namespace ControlType

class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  virtual int Type() = 0;
  virtual std::u16string Caption() = 0;
  virtual void SetCaption(const std::u16string& v) = 0;
  virtual std::u16string ToolTipText() = 0;
  virtual void SetToolTipText(const std::u16string& v) = 0;
  virtual std::u16string DescriptionText() = 0;
  virtual void SetDescriptionText(const std::u16string& v) = 0;
  virtual bool BeginGroup() = 0;
  virtual void SetBeginGroup(bool v) = 0;
  // Takes the picture on the clipboard as the control's face.
  virtual void PasteFace() = 0;
  virtual void Delete() = 0;
  // A popup's own items; a host error for other controls.
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual int Count() = 0;
  virtual std::shared_ptr<CommandBarControl> Item(int index) = 0;
  // before 0 appends; otherwise the new control takes position `before`.
  virtual std::shared_ptr<CommandBarControl> Add(int type = ControlType::Button, int before = 0) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::u16string Name() = 0;
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
  virtual bool Visible() = 0;
  virtual void SetVisible(bool v) = 0;
  virtual void Delete() = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  virtual int Count() = 0;
  // A host error when no bar has the name.
  virtual std::shared_ptr<CommandBar> Item(const std::u16string& name) = 0;
  virtual std::shared_ptr<CommandBar> Add(const std::u16string& name, int position, bool temporary) = 0;
};

// Click(control, handled, cancelDefault), raised on the UI thread.
using ClickHandler =
    std::function<void(const std::shared_ptr<CommandBarControl>& control, bool& handled, bool& cancelDefault)>;

class CommandBarEvents {
 public:
  virtual ~CommandBarEvents() = default;
  // The sink of this event source; an empty handler disconnects it.
  virtual void SetClickHandler(ClickHandler handler) = 0;
};

class Events {
 public:
  virtual ~Events() = default;
  virtual std::shared_ptr<ide::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) = 0;
};

class VBE {
 public:
  virtual ~VBE() = default;
  virtual std::shared_ptr<ide::VBProjects> VBProjects() = 0;
  // nullptr when no code pane is active.
  virtual std::shared_ptr<CodePane> ActiveCodePane() = 0;
  virtual std::shared_ptr<Window> ActiveWindow() = 0;
  virtual std::shared_ptr<VBComponent> SelectedVBComponent() = 0;
  virtual std::shared_ptr<ide::CommandBars> CommandBars() = 0;
  virtual std::shared_ptr<ide::Events> Events() = 0;
};

inline std::shared_ptr<VBControls> VBControl::ContainedVBControls() {
  throw HostError("VBControl.ContainedVBControls", "not supported by this host");
}

inline void VBComponents::Remove(const std::shared_ptr<VBComponent>&) {
  throw HostError("VBComponents.Remove", "not supported by this host");
}

}  // namespace tarno::ide
