// Designers, controls, properties and fonts of the in-memory IDE.
//
// A designer (MemDesigner) holds its own form object (a MemControl of class
// Form, UserControl, ...) and its controls in file order (pre-order: a
// container is followed by what it contains). Each control exposes every
// property of its class; the project loader sets the values it read with
// Load*, which keeps them apart from later changes, so that a writer can
// rewrite only ChangedProperties().
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "addin/host_api.h"
#include "host/control_catalog.h"

namespace tarno::host {

class MemDesigner;

// What a designer needs of the component that owns it; the designer and its
// controls know their owner only through this.
class DesignerOwner {
 public:
  virtual ~DesignerOwner() = default;
  // The form's Name: renames the component after the IDE's checks; throws
  // ide::HostError(operation, ...).
  virtual void Rename(const std::u16string& name, const char* operation) = 0;
  // Every control edit ends here.
  virtual void MarkDirty() = 0;
  // The designers of every component in the IDE (of the owner's project
  // alone when it is in no IDE, none when in no project), this one included.
  virtual std::vector<std::shared_ptr<MemDesigner>> OpenDesigners() const = 0;
};

class MemFont : public ide::Font {
 public:
  explicit MemFont(FontValues values = DefaultFont()) : v_(std::move(values)) {}

  std::u16string Name() override;
  void SetName(const std::u16string& v) override;
  double Size() override;
  void SetSize(double v) override;
  bool Bold() override;
  void SetBold(bool v) override;
  bool Italic() override;
  void SetItalic(bool v) override;
  bool Strikethru() override;
  void SetStrikethru(bool v) override;
  bool Underline() override;
  void SetUnderline(bool v) override;
  // 1 Name, 2 Size, 3 Bold, 4 Italic, 5 Strikethru, 6 Underline, 7 Weight, 8 Charset.
  int Count() override;
  std::u16string ItemName(int index) override;
  ide::Variant ItemValue(int index) override;
  void SetItemValue(int index, const ide::Variant& v) override;

  const FontValues& values() const { return v_; }
  // Model access: no fault check, no change notice.
  void Assign(const FontValues& v) { v_ = v; }
  // Called after every change made through the interface.
  void SetOnChange(std::function<void()> f) { onChange_ = std::move(f); }

 private:
  void Changed();
  FontValues v_;
  std::function<void()> onChange_;
};

class MemControl : public ide::VBControl, public std::enable_shared_from_this<MemControl> {
 public:
  // A control of the class: "TextBox", "VB.TextBox" or an ActiveX ProgId
  // ("MSComctlLib.ListViewCtrl.2"). Throws std::invalid_argument for a name
  // that is neither ("VB.NoSuchThing", "", "Foo").
  static std::shared_ptr<MemControl> Create(std::u16string_view classOrProgId, const std::u16string& name);

  std::u16string ClassName() override;
  std::u16string ProgId() override;
  std::u16string ControlObject() override;
  std::shared_ptr<ide::Properties> Properties() override;
  std::shared_ptr<ide::VBControls> ContainedVBControls() override;

  // Model access (no fault checks, nothing becomes dirty).
  const ControlClass& cls() const { return *cls_; }
  std::u16string name() const;
  void set_name(const std::u16string& name);
  // -1 when the control is not in a control array.
  int index() const;
  void set_index(int index);
  std::shared_ptr<MemControl> parent() const { return parent_.lock(); }
  std::shared_ptr<MemDesigner> designer() const { return designer_.lock(); }

  int PropertyCount() const { return static_cast<int>(slots_.size()); }
  const PropDef& PropertyDef(int position) const;  // 0-based
  // -1 when the control has no such property (case-insensitive).
  int PropertyPosition(std::u16string_view name) const;
  bool Has(std::u16string_view name) const { return PropertyPosition(name) >= 0; }
  // The value (a Font property gives its font's name); nullopt when absent.
  std::optional<ide::Variant> Get(std::u16string_view name) const;
  // nullptr when the control has no such font property.
  std::shared_ptr<MemFont> GetFont(std::u16string_view name = u"Font") const;

  // Loading: sets a value read from the file, converted to the property's
  // type. A property the class lacks is added when the class is ActiveX;
  // for an intrinsic class, or a value VB could not convert, it returns false.
  bool Load(std::u16string_view name, const ide::Variant& value);
  bool LoadFont(std::u16string_view name, const FontValues& font);
  // A property of the file that no catalog knows, kept with its own type.
  void AddProperty(std::u16string_view name, PropType type, const ide::Variant& value);
  // Loading an ActiveX control: an extender property that this control does
  // not have (its file block lacks the line VB 6 always writes, such as
  // TabIndex for a control that takes no focus). Call before loading values.
  void DropExtenderProperty(std::u16string_view name);

  // Sets the value a new object starts with (neither loaded nor changed);
  // ignored when the control lacks the property or the value does not fit.
  void SetInitial(std::u16string_view name, const ide::Variant& value);

  // Sets a value as an edit would (the property becomes changed, the
  // component dirty). Throws ide::HostError(operation, ...) when the control
  // lacks the property or the value does not fit.
  void Set(std::u16string_view name, const ide::Variant& value, const char* operation = "Property.SetValue");

  bool IsLoaded(std::u16string_view name) const;
  bool IsChanged(std::u16string_view name) const;
  // Properties changed since loading (or since ClearChanges), in property order.
  std::vector<std::u16string> ChangedProperties() const;
  void ClearChanges();

  // A copy for the clipboard: the same class with every value and font, on
  // no designer, nothing loaded or changed (a pasted control is a new one).
  std::shared_ptr<MemControl> Copy() const;

  // The project-file layer's own state for this control.
  std::shared_ptr<void> file_state;

  // Used by the designer and by the property objects.
  void Attach(const std::weak_ptr<MemDesigner>& designer, const std::weak_ptr<MemControl>& parent);
  void SetAt(int position, const ide::Variant& value, const char* operation);
  void SetFontAt(int position, const FontValues& font);
  // Stores an already converted value; marks the property changed when it differs.
  void StoreValue(int position, const ide::Variant& value);
  ide::Variant ValueAt(int position) const;
  std::shared_ptr<MemFont> FontAt(int position) const;
  void MarkChanged(int position);

 private:
  struct Slot {
    ide::Variant value;
    std::shared_ptr<MemFont> font;
    bool loaded = false;
    bool changed = false;
  };
  explicit MemControl(std::shared_ptr<const ControlClass> cls);
  void InitSlots();
  int nameSlot_ = 0;
  int indexSlot_ = -1;
  std::shared_ptr<const ControlClass> cls_;
  std::vector<PropDef> extras_;  // file-only properties, after the class's
  std::vector<Slot> slots_;
  std::weak_ptr<MemDesigner> designer_;
  std::weak_ptr<MemControl> parent_;
};

// The property collection of a control (no fault check: the designer's own
// properties are reached through VBComponent.Properties).
std::shared_ptr<ide::Properties> PropertiesOf(const std::shared_ptr<MemControl>& control);

class MemDesigner : public ide::VBForm, public std::enable_shared_from_this<MemDesigner> {
 public:
  // The designer of a component type, its form object named `name`; nullptr
  // for types without a designer class.
  static std::shared_ptr<MemDesigner> Create(int componentType, const std::u16string& name);

  std::shared_ptr<ide::VBControls> VBControls() override;
  std::shared_ptr<ide::VBControls> SelectedVBControls() override;
  std::shared_ptr<ide::VBControls> ContainedVBControls() override;

  // Model access.
  const std::shared_ptr<MemControl>& form() const { return form_; }
  // Every control in file order (pre-order).
  const std::vector<std::shared_ptr<MemControl>>& controls() const { return controls_; }
  // The controls whose parent is the designer itself.
  std::vector<std::shared_ptr<MemControl>> contained() const;
  const std::vector<std::shared_ptr<MemControl>>& selected() const { return selected_; }
  void SetSelected(std::vector<std::shared_ptr<MemControl>> controls) { selected_ = std::move(controls); }
  // By name (case-insensitive) and, for a control array, index; nullptr when absent.
  std::shared_ptr<MemControl> Control(std::u16string_view name, int index = -1) const;

  // Loading: appends a control in file order inside `parent` (nullptr: the
  // designer). Throws std::invalid_argument for an unknown class or a parent
  // that is not on this designer or cannot contain controls.
  std::shared_ptr<MemControl> AddControl(std::u16string_view classOrProgId, const std::u16string& name,
                                         const std::shared_ptr<MemControl>& parent = nullptr, int index = -1);
  // An edit: a new control with the IDE's default name (Text1, ...), last in
  // its container. Throws ide::HostError(operation, ...).
  std::shared_ptr<MemControl> NewControl(std::u16string_view progId, const std::shared_ptr<MemControl>& parent,
                                         const char* operation = "VBControls.Add");
  std::u16string DefaultControlName(const ControlClass& cls) const;
  // Takes back a NewControl (an undo): the control and what it holds leave
  // the designer and its selection. A control read from the file keeps its
  // block there, so only one added since loading can go; others throw
  // ide::HostError(operation, ...).
  void RemoveNewControl(const std::shared_ptr<MemControl>& control, const char* operation = "VBControls.Remove");
  // Paste: a Copy() placed last in `parent` (nullptr: the designer) with the
  // name and index it has and the next tab index, as a new control. Throws
  // ide::HostError(operation, ...) when the parent is no container here or
  // the name and index are taken.
  void InsertCopy(const std::shared_ptr<MemControl>& copy, const std::shared_ptr<MemControl>& parent,
                  const char* operation = "VBControls.Add");

  // Binary values (the bytes of a .frx) the designer holds until its file is
  // saved: a picture chosen from a file, the binary file of another form a
  // pasted control came from. Values name one as "<n>":offset, a file name
  // no file system has, and the save moves its bytes into the designer's
  // own binary file.
  std::u16string HoldBinary(std::string bytes);
  // nullptr when `file` ("<n>", without quotes) is none of them.
  const std::string* HeldBinary(std::u16string_view file) const;
  const std::map<std::u16string, std::string>& held_binaries() const { return held_; }
  void ForgetHeldBinaries() { held_.clear(); }

  // What RemoveControls took out, for Restore: each control with its place
  // in the designer's list, the selection and the tab indexes before.
  struct Removal {
    std::vector<std::pair<size_t, std::shared_ptr<MemControl>>> controls;  // in list order
    std::vector<std::shared_ptr<MemControl>> selected;
    std::vector<std::pair<std::shared_ptr<MemControl>, int16_t>> tab_indexes;
    // Other values the removal changed (a tab strip's lists of its tabs'
    // controls): control, property position, value before.
    std::vector<std::tuple<std::shared_ptr<MemControl>, int, ide::Variant>> values;
  };
  // Delete: the controls and what they hold leave the designer and its
  // selection, and the others' tab indexes close up over the places the
  // removed ones held, as the IDE renumbers them; a tab strip's list of its tab's controls (Tab(1).Control(0)
  // = "Text1(2)") closes up over one. A control read from the file takes its block out of the
  // file at the next save; one of a control array leaves the others' indexes
  // as they are. Throws ide::HostError(operation, ...) for a control that is
  // not on this designer (nothing removed then).
  Removal RemoveControls(const std::vector<std::shared_ptr<MemControl>>& controls,
                         const char* operation = "VBControls.Remove");
  // Puts back what RemoveControls took out (an undo, before the component is
  // saved): the same objects in their places, the selection and tab indexes.
  void Restore(const Removal& removal);
  // A new ActiveX control gets the properties that loaded controls of its
  // ProgId have beyond the extender's (without their values).
  void TakeActiveXProperties(MemControl& control) const;
  // Gives the control that place in the tab order (clamped to the last) and
  // renumbers the others 0 .. n-1 around it, as the IDE does.
  void MoveInTabOrder(MemControl& control, int tabIndex);

  void SetOwner(const std::weak_ptr<DesignerOwner>& owner) { owner_ = owner; }
  std::shared_ptr<DesignerOwner> owner() const { return owner_.lock(); }
  // Every control edit ends here: the component becomes dirty.
  void MarkDirty();

 private:
  MemDesigner() = default;
  void Insert(const std::shared_ptr<MemControl>& control, const std::shared_ptr<MemControl>& parent);
  std::shared_ptr<MemControl> form_;
  std::vector<std::shared_ptr<MemControl>> controls_;
  std::vector<std::shared_ptr<MemControl>> selected_;
  std::map<std::u16string, std::string> held_;
  int next_held_ = 1;
  std::weak_ptr<DesignerOwner> owner_;
};

}  // namespace tarno::host
