// The VB 6 controls the in-memory IDE knows: each intrinsic class with its
// design-time properties, their types and VB 6 defaults, so a control shows
// its whole property set although its file stores only non-default values.
// A class the catalog lacks (an ActiveX control) gets the extender properties.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host_api.h"
#include "platform/code_page.h"

namespace tarno::host {

enum class PropType {
  Boolean,  // bool
  Integer,  // int16_t (enumerations too)
  Long,     // int32_t (colours too)
  Single,   // float (positions and sizes in twips)
  Double,   // double
  String,   // std::u16string
  Picture,  // monostate (none) or the file's reference text
  Font,     // an object: ide::Font
  Group,    // an ActiveX control's own BeginProperty group, kept as its file's lines
  KeyText,  // std::u16string written bare: a menu's Shortcut (^S, {F5}, +{DEL}; "" for none)
};

struct PropDef {
  std::u16string name;
  PropType type = PropType::String;
  ide::Variant defaultValue;
};

struct ControlClass {
  std::u16string name;         // "TextBox"
  std::u16string progId;       // "VB.TextBox"
  std::u16string defaultName;  // "Text": new controls are Text1, Text2, ...
  bool intrinsic = true;       // false: an ActiveX class not in the catalog
  bool container = false;      // can hold others (Frame, PictureBox, a menu its items, forms)
  bool designer = false;       // Form, MDIForm, UserControl, PropertyPage, UserDocument
  std::vector<PropDef> props;  // in the order Properties lists them

  const PropDef* Find(std::u16string_view propName) const;
};

// The class for "TextBox", "VB.TextBox" (any case); nullptr when not intrinsic.
const ControlClass* FindIntrinsicClass(std::u16string_view nameOrProgId);
// An ActiveX class: the extender properties only. The class name is the
// ProgId's middle part ("MSComctlLib.ListViewCtrl.2" gives "ListViewCtrl").
ControlClass ActiveXClass(std::u16string_view progId);
// The designer class of a component type (Form for a form, ...); nullptr for
// types without a designer.
const ControlClass* DesignerClass(int componentType);
// Every intrinsic class, designers included.
const std::vector<ControlClass>& IntrinsicClasses();

// The default font of new forms and controls: "ＭＳ Ｐゴシック" 9 pt under the
// Japanese code page, "MS Sans Serif" 8.25 pt otherwise.
struct FontValues {
  std::u16string name;
  double size = 8.25;
  bool bold = false;
  bool italic = false;
  bool strikethru = false;
  bool underline = false;
  int16_t weight = 400;
  int16_t charset = 0;
  bool operator==(const FontValues&) const = default;
};
FontValues DefaultFont();
// The font VB gives a form whose file sets none, by the file's code page
// (CP932: "ＭＳ Ｐゴシック" 9 pt, charset 128; CP936: "宋体" 9 pt, charset
// 134; others "MS Sans Serif" 8.25 pt, charset 0). A control whose file sets
// none has its container's font.
FontValues DefaultFontFor(const CodePage& cp);

// VB's conversion of a value to the property's type (CInt, CBool, ...);
// false when VB would report a type mismatch or an overflow.
bool CoerceValue(PropType type, const ide::Variant& in, ide::Variant& out);
// Whether VB takes the value (already converted to the property's type;
// `given` is the value as written) for the property of a control of the
// class: no negative size or length, an enumeration within its values, a
// position or size that a Single holds exactly. VB refuses the others.
bool AcceptedValue(const ControlClass& cls, const PropDef& def, const ide::Variant& given, const ide::Variant& converted);
// A menu shortcut as VB writes it (upper case: "^S", "+^{F2}") when VB offers
// that key; nullopt otherwise. Lower case is taken ("^s" gives "^S").
std::optional<std::u16string> MenuShortcut(std::u16string_view text);
// The type a value of unknown class is kept as (ActiveX properties from a file).
PropType TypeOfValue(const ide::Variant& v);

}  // namespace tarno::host
