#include "host/control_catalog.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/code_page.h"
#include "platform/vb_text.h"

namespace tarno::host {

namespace {

using ide::Variant;

// System colours as VB 6 stores them (&H800000xx&).
constexpr int32_t kWindowBackground = static_cast<int32_t>(0x80000005u);
constexpr int32_t kWindowText = static_cast<int32_t>(0x80000008u);
constexpr int32_t kAppWorkspace = static_cast<int32_t>(0x8000000Cu);
constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000Fu);
constexpr int32_t kButtonText = static_cast<int32_t>(0x80000012u);
constexpr int32_t kMaskColor = 0x00C0C0C0;

class Def {
 public:
  Def(const char16_t* name, const char16_t* defaultName) {
    c_.name = name;
    c_.progId = std::u16string(u"VB.") + name;
    c_.defaultName = defaultName;
    Str(u"Name", u"");
  }
  Def& B(const char16_t* n, bool d) { return Add(n, PropType::Boolean, d); }
  Def& I(const char16_t* n, int d) { return Add(n, PropType::Integer, static_cast<int16_t>(d)); }
  Def& L(const char16_t* n, int32_t d) { return Add(n, PropType::Long, d); }
  Def& S(const char16_t* n, double d) { return Add(n, PropType::Single, static_cast<float>(d)); }
  Def& Str(const char16_t* n, const char16_t* d) { return Add(n, PropType::String, std::u16string(d)); }
  Def& K(const char16_t* n) { return Add(n, PropType::KeyText, std::u16string()); }
  Def& P(const char16_t* n) { return Add(n, PropType::Picture, std::monostate{}); }
  Def& Font() { return Add(u"Font", PropType::Font, std::monostate{}); }
  Def& Container() {
    c_.container = true;
    return *this;
  }
  Def& Designer() {
    c_.designer = true;
    c_.container = true;
    return *this;
  }
  // Name, Index, position and the extender properties most controls share.
  Def& Index() { return I(u"Index", -1); }
  Def& Pos(double w, double h) { return S(u"Left", 0).S(u"Top", 0).S(u"Width", w).S(u"Height", h); }
  // A designer's inner size and place as its file keeps them.
  Def& Client(double h, double l, double t, double w) {
    return S(u"ClientHeight", h).S(u"ClientLeft", l).S(u"ClientTop", t).S(u"ClientWidth", w);
  }
  Def& Tab(bool tabStop) {
    I(u"TabIndex", 0);
    if (tabStop) B(u"TabStop", true);
    return *this;
  }
  Def& Common() {
    return Index().Str(u"Tag", u"").B(u"Visible", true).B(u"Enabled", true).P(u"DragIcon").I(u"DragMode", 0);
  }
  Def& Help() { return L(u"HelpContextID", 0).L(u"WhatsThisHelpID", 0); }
  Def& Mouse() { return P(u"MouseIcon").I(u"MousePointer", 0); }
  Def& Tip() { return Str(u"ToolTipText", u""); }
  Def& Data() { return Str(u"DataField", u"").Str(u"DataMember", u"").Str(u"DataSource", u""); }
  Def& Link() { return Str(u"LinkItem", u"").I(u"LinkMode", 0).I(u"LinkTimeout", 50).Str(u"LinkTopic", u""); }
  Def& Drawing() {
    return B(u"AutoRedraw", false).I(u"DrawMode", 13).I(u"DrawStyle", 0).I(u"DrawWidth", 1).L(u"FillColor", 0)
        .I(u"FillStyle", 1).B(u"FontTransparent", true).B(u"HasDC", true).B(u"ClipControls", true);
  }
  Def& Scale(double w, double h) {
    return S(u"ScaleHeight", h).S(u"ScaleLeft", 0).I(u"ScaleMode", 1).S(u"ScaleTop", 0).S(u"ScaleWidth", w);
  }

  ControlClass Done() {
    // VB lists (Name) first and the rest alphabetically.
    std::stable_sort(c_.props.begin() + 1, c_.props.end(), [](const PropDef& a, const PropDef& b) {
      return vb::UCaseAscii(a.name) < vb::UCaseAscii(b.name);
    });
    return c_;
  }

 private:
  Def& Add(const char16_t* n, PropType t, Variant d) {
    for (auto& p : c_.props) {
      if (p.name == n) {
        p.type = t;
        p.defaultValue = std::move(d);
        return *this;
      }
    }
    c_.props.push_back(PropDef{n, t, std::move(d)});
    return *this;
  }
  ControlClass c_;
};

std::vector<ControlClass> BuildCatalog() {
  std::vector<ControlClass> v;
  auto listLike = [](Def& d) -> Def& {
    return d.Common().Pos(1215, 495).Tab(true).Help().Mouse().Tip().Font().I(u"Appearance", 1)
        .L(u"BackColor", kWindowBackground).L(u"ForeColor", kWindowText).B(u"CausesValidation", true)
        .I(u"OLEDropMode", 0);
  };
  auto buttonLike = [](Def& d) -> Def& {
    return d.Common().Pos(1215, 495).Tab(true).Help().Mouse().Tip().Font().I(u"Appearance", 1)
        .L(u"BackColor", kButtonFace).Str(u"Caption", u"").B(u"CausesValidation", true).P(u"DisabledPicture")
        .P(u"DownPicture").P(u"Picture").L(u"MaskColor", kMaskColor).B(u"UseMaskColor", false).I(u"Style", 0)
        .B(u"RightToLeft", false).I(u"OLEDropMode", 0);
  };

  {
    Def d(u"Form", u"Form");
    d.Designer().Str(u"Tag", u"").B(u"Visible", true).B(u"Enabled", true).Pos(4800, 3600).Client(3195, 60, 345, 4680).Mouse()
        .Font().Drawing().Scale(4680, 3195).I(u"Appearance", 1).L(u"BackColor", kButtonFace)
        .I(u"BorderStyle", 2).Str(u"Caption", u"").B(u"ControlBox", true).L(u"ForeColor", kButtonText)
        .L(u"HelpContextID", 0).P(u"Icon").B(u"KeyPreview", false).I(u"LinkMode", 0).Str(u"LinkTopic", u"")
        .B(u"MaxButton", true).B(u"MDIChild", false).B(u"MinButton", true).B(u"Moveable", true)
        .B(u"NegotiateMenus", true).I(u"OLEDropMode", 0).P(u"Palette").I(u"PaletteMode", 0).P(u"Picture")
        .B(u"RightToLeft", false).B(u"ShowInTaskbar", true).I(u"StartUpPosition", 3)
        .B(u"WhatsThisButton", false).B(u"WhatsThisHelp", false).I(u"WindowState", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"MDIForm", u"MDIForm");
    d.Designer().Str(u"Tag", u"").B(u"Visible", true).B(u"Enabled", true).Pos(4800, 3600).Client(3195, 60, 345, 4680).Mouse()
        .I(u"Appearance", 1).B(u"AutoShowChildren", true).L(u"BackColor", kAppWorkspace)
        .Str(u"Caption", u"").L(u"HelpContextID", 0).P(u"Icon").I(u"LinkMode", 0).Str(u"LinkTopic", u"")
        .B(u"Moveable", true).B(u"NegotiateToolbars", true).I(u"OLEDropMode", 0).P(u"Picture")
        .B(u"RightToLeft", false).B(u"ScrollBars", true).I(u"StartUpPosition", 3).B(u"WhatsThisHelp", false)
        .I(u"WindowState", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"UserControl", u"UserControl");
    d.Designer().Str(u"Tag", u"").Client(3600, 0, 0, 4800).B(u"Enabled", true).S(u"Width", 4800).S(u"Height", 3600).Mouse().Font()
        .Drawing().Scale(4800, 3600).Str(u"AccessKeys", u"").B(u"Alignable", false).I(u"Appearance", 1)
        .L(u"BackColor", kButtonFace).I(u"BackStyle", 1).I(u"BorderStyle", 0).B(u"CanGetFocus", true)
        .I(u"ClipBehavior", 1).B(u"ControlContainer", false).I(u"DataBindingBehavior", 0)
        .I(u"DataSourceBehavior", 0).B(u"DefaultCancel", false).B(u"EditAtDesignTime", false)
        .L(u"ForeColor", kButtonText).B(u"ForwardFocus", false).I(u"HitBehavior", 1)
        .B(u"InvisibleAtRuntime", false).L(u"MaskColor", kMaskColor).P(u"MaskPicture").I(u"OLEDropMode", 0)
        .P(u"Palette").I(u"PaletteMode", 0).P(u"Picture").Str(u"PropertyPages", u"").B(u"Public", true)
        .B(u"RightToLeft", false).P(u"ToolboxBitmap").B(u"Windowless", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"PropertyPage", u"PropertyPage");
    d.Designer().Str(u"Tag", u"").Client(3600, 0, 0, 4800).S(u"Width", 4800).S(u"Height", 3600).Mouse().Font().Drawing()
        .Scale(4800, 3600).I(u"Appearance", 1).L(u"BackColor", kButtonFace).Str(u"Caption", u"")
        .L(u"ForeColor", kButtonText).B(u"KeyPreview", false).I(u"OLEDropMode", 0).P(u"Palette")
        .I(u"PaletteMode", 0).P(u"Picture").B(u"RightToLeft", false).I(u"StandardSize", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"UserDocument", u"UserDocument");
    d.Designer().Str(u"Tag", u"").Client(3600, 0, 0, 4800).S(u"Width", 4800).S(u"Height", 3600).Mouse().Font().Drawing()
        .Scale(4800, 3600).I(u"Appearance", 1).L(u"BackColor", kButtonFace).B(u"ContinuousScroll", true)
        .L(u"ForeColor", kButtonText).S(u"HScrollSmallChange", 225).B(u"KeyPreview", false)
        .I(u"OLEDropMode", 0).P(u"Palette").I(u"PaletteMode", 0).P(u"Picture").B(u"RightToLeft", false)
        .I(u"ScrollBars", 3).S(u"VScrollSmallChange", 225);
    v.push_back(d.Done());
  }
  {
    Def d(u"TextBox", u"Text");
    listLike(d).Data().Link().I(u"Alignment", 0).I(u"BorderStyle", 1).B(u"HideSelection", true)
        .I(u"IMEMode", 0).B(u"Locked", false).L(u"MaxLength", 0).B(u"MultiLine", false).I(u"OLEDragMode", 0)
        .Str(u"PasswordChar", u"").B(u"RightToLeft", false).I(u"ScrollBars", 0).Str(u"Text", u"");
    v.push_back(d.Done());
  }
  {
    Def d(u"Label", u"Label");
    d.Common().Pos(1215, 495).Tab(false).L(u"WhatsThisHelpID", 0).Mouse().Tip().Font().Data().Link()
        .I(u"Alignment", 0).I(u"Appearance", 1).B(u"AutoSize", false).L(u"BackColor", kButtonFace)
        .I(u"BackStyle", 1).I(u"BorderStyle", 0).Str(u"Caption", u"").L(u"ForeColor", kButtonText)
        .I(u"OLEDropMode", 0).B(u"RightToLeft", false).B(u"UseMnemonic", true).B(u"WordWrap", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"CommandButton", u"Command");
    buttonLike(d).B(u"Cancel", false).B(u"Default", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"CheckBox", u"Check");
    buttonLike(d).Data().I(u"Alignment", 0).L(u"ForeColor", kButtonText).I(u"Value", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"OptionButton", u"Option");
    buttonLike(d).I(u"Alignment", 0).L(u"ForeColor", kButtonText).B(u"Value", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"Frame", u"Frame");
    d.Container().Common().Pos(1215, 495).Tab(false).Help().Mouse().Tip().Font().I(u"Appearance", 1)
        .L(u"BackColor", kButtonFace).I(u"BorderStyle", 1).Str(u"Caption", u"").B(u"ClipControls", true)
        .L(u"ForeColor", kButtonText).I(u"OLEDropMode", 0).B(u"RightToLeft", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"PictureBox", u"Picture");
    d.Container().Common().Pos(1215, 495).Tab(true).Help().Mouse().Tip().Font().Data().Link().Drawing()
        .Scale(1155, 435).I(u"Align", 0).I(u"Appearance", 1).B(u"AutoSize", false).L(u"BackColor", kButtonFace)
        .I(u"BorderStyle", 1).B(u"CausesValidation", true).L(u"ForeColor", kButtonText).B(u"Negotiate", false)
        .I(u"OLEDragMode", 0).I(u"OLEDropMode", 0).P(u"Picture").B(u"RightToLeft", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"ComboBox", u"Combo");
    listLike(d).S(u"Height", 300).Data().I(u"IMEMode", 0).B(u"IntegralHeight", true).B(u"Locked", false)
        .I(u"OLEDragMode", 0).B(u"RightToLeft", false).B(u"Sorted", false).I(u"Style", 0).Str(u"Text", u"")
        .P(u"ItemData").P(u"List");  // design-time items: bytes in the binary file
    v.push_back(d.Done());
  }
  {
    Def d(u"ListBox", u"List");
    listLike(d).Data().I(u"Columns", 0).B(u"IntegralHeight", true).I(u"MultiSelect", 0).I(u"OLEDragMode", 0)
        .B(u"RightToLeft", false).B(u"Sorted", false).I(u"Style", 0).P(u"ItemData").P(u"List");
    v.push_back(d.Done());
  }
  {
    Def d(u"Timer", u"Timer");
    d.Index().Str(u"Tag", u"").B(u"Enabled", true).L(u"Interval", 0).S(u"Left", 0).S(u"Top", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"Image", u"Image");
    d.Common().Pos(1215, 495).L(u"WhatsThisHelpID", 0).Mouse().Tip().Data().I(u"Appearance", 1)
        .I(u"BorderStyle", 0).I(u"OLEDragMode", 0).I(u"OLEDropMode", 0).P(u"Picture").B(u"Stretch", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"Line", u"Line");
    d.Index().Str(u"Tag", u"").B(u"Visible", true).L(u"BorderColor", kWindowText).I(u"BorderStyle", 1)
        .I(u"BorderWidth", 1).I(u"DrawMode", 13).S(u"X1", 0).S(u"X2", 0).S(u"Y1", 0).S(u"Y2", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"Shape", u"Shape");
    d.Index().Str(u"Tag", u"").B(u"Visible", true).Pos(1215, 495).L(u"BackColor", kWindowBackground)
        .I(u"BackStyle", 0).L(u"BorderColor", kWindowText).I(u"BorderStyle", 1).I(u"BorderWidth", 1)
        .I(u"DrawMode", 13).L(u"FillColor", 0).I(u"FillStyle", 1).I(u"Shape", 0);
    v.push_back(d.Done());
  }
  for (auto [cls, prefix, w, h] : {std::tuple{u"HScrollBar", u"HScroll", 1215.0, 255.0},
                                   std::tuple{u"VScrollBar", u"VScroll", 255.0, 1215.0}}) {
    Def d(cls, prefix);
    d.Common().Pos(w, h).Tab(true).Help().Mouse().B(u"CausesValidation", true).I(u"LargeChange", 1)
        .I(u"Max", 32767).I(u"Min", 0).B(u"RightToLeft", false).I(u"SmallChange", 1).I(u"Value", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"DriveListBox", u"Drive");
    listLike(d).S(u"Height", 300);
    v.push_back(d.Done());
  }
  {
    Def d(u"DirListBox", u"Dir");
    listLike(d).I(u"OLEDragMode", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"FileListBox", u"File");
    listLike(d).B(u"Archive", true).B(u"Hidden", false).I(u"MultiSelect", 0).B(u"Normal", true)
        .I(u"OLEDragMode", 0).Str(u"Pattern", u"*.*").B(u"ReadOnly", true).B(u"System", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"Data", u"Data");
    d.Common().Pos(1140, 345).L(u"WhatsThisHelpID", 0).Mouse().Tip().Font().I(u"Align", 0)
        .I(u"Appearance", 1).L(u"BackColor", kWindowBackground).I(u"BOFAction", 0).Str(u"Caption", u"")
        .Str(u"Connect", u"Access").Str(u"DatabaseName", u"").I(u"DefaultCursorType", 0).I(u"DefaultType", 2)
        .I(u"EOFAction", 0).B(u"Exclusive", false).L(u"ForeColor", kWindowText).B(u"Negotiate", false)
        .I(u"OLEDropMode", 0).I(u"Options", 0).B(u"ReadOnly", false).I(u"RecordsetType", 1)
        .Str(u"RecordSource", u"").B(u"RightToLeft", false);
    v.push_back(d.Done());
  }
  {
    Def d(u"OLE", u"OLE");
    d.Common().Pos(1215, 495).Tab(true).Help().Mouse().Data().I(u"Appearance", 1).I(u"AutoActivate", 2)
        .B(u"AutoVerbMenu", true).L(u"BackColor", kWindowBackground).I(u"BackStyle", 1).I(u"BorderStyle", 1)
        .B(u"CausesValidation", true).Str(u"Class", u"").I(u"DisplayType", 0).Str(u"HostName", u"")
        .I(u"MiscFlags", 0).B(u"OLEDropAllowed", false).I(u"OLETypeAllowed", 2).I(u"SizeMode", 0)
        .Str(u"SourceDoc", u"").Str(u"SourceItem", u"").I(u"UpdateOptions", 0).I(u"Verb", 0);
    v.push_back(d.Done());
  }
  {
    Def d(u"Menu", u"mnu");
    d.Container().Index().Str(u"Tag", u"").B(u"Visible", true).B(u"Enabled", true).Str(u"Caption", u"")
        .B(u"Checked", false).L(u"HelpContextID", 0).I(u"NegotiatePosition", 0).K(u"Shortcut")
        .B(u"WindowList", false);
    v.push_back(d.Done());
  }
  return v;
}

std::u16string_view StripVbPrefix(std::u16string_view s) {
  if (s.size() > 3 && vb::EqualsIgnoreCaseAscii(s.substr(0, 3), u"VB.")) return s.substr(3);
  return s;
}

}  // namespace

const PropDef* ControlClass::Find(std::u16string_view propName) const {
  for (const auto& p : props) {
    if (vb::EqualsIgnoreCaseAscii(p.name, propName)) return &p;
  }
  return nullptr;
}

const std::vector<ControlClass>& IntrinsicClasses() {
  static const std::vector<ControlClass> catalog = BuildCatalog();
  return catalog;
}

const ControlClass* FindIntrinsicClass(std::u16string_view nameOrProgId) {
  auto bare = StripVbPrefix(nameOrProgId);
  for (const auto& c : IntrinsicClasses()) {
    if (vb::EqualsIgnoreCaseAscii(c.name, bare)) return &c;
  }
  return nullptr;
}

ControlClass ActiveXClass(std::u16string_view progId) {
  ControlClass c;
  c.progId = std::u16string(progId);
  // "Library.Class[.Version]": the class is the part after the first dot.
  auto dot = progId.find(u'.');
  std::u16string_view cls = dot == std::u16string_view::npos ? progId : progId.substr(dot + 1);
  auto dot2 = cls.find(u'.');
  if (dot2 != std::u16string_view::npos) cls = cls.substr(0, dot2);
  c.name = std::u16string(cls);
  c.defaultName = c.name;
  c.intrinsic = false;
  // Whether an ActiveX control holds others (a tab control does) only its
  // file tells; let it.
  c.container = true;
  Def d(u"", u"");
  d.Common().Pos(1215, 495).Tab(true).Help().Tip().B(u"CausesValidation", true);
  c.props = d.Done().props;
  return c;
}

const ControlClass* DesignerClass(int componentType) {
  switch (componentType) {
    case ide::ComponentType::VBForm: return FindIntrinsicClass(u"Form");
    case ide::ComponentType::MDIForm: return FindIntrinsicClass(u"MDIForm");
    case ide::ComponentType::UserControl: return FindIntrinsicClass(u"UserControl");
    case ide::ComponentType::PropPage: return FindIntrinsicClass(u"PropertyPage");
    case ide::ComponentType::DocObject: return FindIntrinsicClass(u"UserDocument");
  }
  return nullptr;
}

namespace {

// Enumerations the control tools write, with their values.
struct EnumRange {
  const char16_t* property;
  const char16_t* cls;  // nullptr: every class
  int low, high;
};
constexpr EnumRange kEnumRanges[] = {
    {u"Alignment", u"TextBox", 0, 2},     {u"Alignment", u"Label", 0, 2},  {u"Alignment", u"CheckBox", 0, 1},
    {u"Alignment", u"OptionButton", 0, 1}, {u"BackStyle", nullptr, 0, 1}, {u"IMEMode", nullptr, 0, 10},
};

bool IsNamed(std::u16string_view name, std::initializer_list<const char16_t*> names) {
  for (const char16_t* n : names)
    if (vb::EqualsIgnoreCaseAscii(name, n)) return true;
  return false;
}

}  // namespace

bool AcceptedValue(const ControlClass& cls, const PropDef& def, const ide::Variant& given, const ide::Variant& converted) {
  double number = 0;
  ide::Variant d;
  if (!CoerceValue(PropType::Double, converted, d)) return true;  // not a number
  number = std::get<double>(d);
  if (IsNamed(def.name, {u"Height", u"Width", u"MaxLength"}) && number < 0) return false;
  if (def.type == PropType::Single && IsNamed(def.name, {u"Left", u"Top", u"Height", u"Width"})) {
    // A Single holds whole numbers exactly up to 2^24: beyond, VB would keep another value.
    ide::Variant was;
    if (CoerceValue(PropType::Double, given, was) && std::fabs(std::get<double>(was)) > 16777216.0 &&
        static_cast<double>(static_cast<float>(std::get<double>(was))) != std::get<double>(was))
      return false;
  }
  for (const auto& r : kEnumRanges)
    if (vb::EqualsIgnoreCaseAscii(def.name, r.property) && (!r.cls || vb::EqualsIgnoreCaseAscii(cls.name, r.cls)))
      return number >= r.low && number <= r.high;
  return true;
}

FontValues DefaultFontFor(const CodePage& cp) {
  FontValues f;
  if (cp == CodePage::Cp932()) {
    f.name = vb::U("ＭＳ Ｐゴシック");
    f.size = 9;
    f.charset = 128;
  } else if (cp.name() == "CP936") {
    f.name = vb::U("宋体");
    f.size = 9;
    f.charset = 134;
  } else {
    f.name = u"MS Sans Serif";
    f.size = 8.25;
    f.charset = 0;
  }
  return f;
}

FontValues DefaultFont() { return DefaultFontFor(SystemCodePage()); }

namespace {

std::optional<double> NumberOf(const Variant& v) {
  if (auto* b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
  if (auto* i = std::get_if<int16_t>(&v)) return *i;
  if (auto* l = std::get_if<int32_t>(&v)) return *l;
  if (auto* f = std::get_if<float>(&v)) return *f;
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* s = std::get_if<std::u16string>(&v)) {
    if (auto b = vb::ToBoolean(*s); b && !vb::IsNumeric(*s)) return *b ? -1.0 : 0.0;
    return vb::ToDouble(*s);
  }
  return std::nullopt;
}

// Round half to even, as CInt/CLng do.
bool RoundTo(double d, double lo, double hi, long long& out) {
  if (!std::isfinite(d)) return false;
  double r = std::nearbyint(d);
  if (std::fabs(d - std::trunc(d)) == 0.5) r = 2.0 * std::round(d / 2.0);
  if (r < lo || r > hi) return false;
  out = static_cast<long long>(r);
  return true;
}

}  // namespace

bool CoerceValue(PropType type, const Variant& in, Variant& out) {
  switch (type) {
    case PropType::Boolean: {
      if (auto* b = std::get_if<bool>(&in)) {
        out = *b;
        return true;
      }
      if (auto* s = std::get_if<std::u16string>(&in)) {
        auto b = vb::ToBoolean(*s);
        if (!b) return false;
        out = *b;
        return true;
      }
      auto n = NumberOf(in);
      if (!n) return false;
      out = *n != 0;
      return true;
    }
    case PropType::Integer:
    case PropType::Long: {
      auto n = NumberOf(in);
      if (!n) return false;
      long long r;
      if (type == PropType::Integer) {
        if (!RoundTo(*n, -32768, 32767, r)) return false;
        out = static_cast<int16_t>(r);
      } else {
        if (!RoundTo(*n, -2147483648.0, 2147483647.0, r)) return false;
        out = static_cast<int32_t>(r);
      }
      return true;
    }
    case PropType::Single:
    case PropType::Double: {
      auto n = NumberOf(in);
      if (!n) return false;
      if (type == PropType::Single) {
        if (std::fabs(*n) > std::numeric_limits<float>::max()) return false;
        out = static_cast<float>(*n);
      } else {
        out = *n;
      }
      return true;
    }
    case PropType::String: {
      if (auto* s = std::get_if<std::u16string>(&in)) out = *s;
      else if (auto* b = std::get_if<bool>(&in)) out = std::u16string(*b ? u"True" : u"False");
      else if (std::holds_alternative<std::monostate>(in)) out = std::u16string();
      else if (auto* i = std::get_if<int16_t>(&in)) out = vb::FromInt(*i);
      else if (auto* l = std::get_if<int32_t>(&in)) out = vb::FromInt(*l);
      else {
        double d = *NumberOf(in);
        if (d == std::trunc(d) && std::fabs(d) < 1e15) out = vb::FromInt(static_cast<long long>(d));
        else {
          char buf[64];
          snprintf(buf, sizeof buf, "%.15g", d);
          out = vb::U(buf);
        }
      }
      return true;
    }
    case PropType::KeyText: {
      if (std::holds_alternative<std::monostate>(in)) {
        out = std::u16string();
        return true;
      }
      auto* s = std::get_if<std::u16string>(&in);
      auto key = s ? MenuShortcut(*s) : std::nullopt;
      if (!key) return false;
      out = *key;
      return true;
    }
    case PropType::Picture:
    case PropType::Group:
      if (std::holds_alternative<std::monostate>(in) || std::holds_alternative<std::u16string>(in)) {
        out = in;
        return true;
      }
      return false;
    case PropType::Font:
      return false;
  }
  return false;
}

std::optional<std::u16string> MenuShortcut(std::u16string_view text) {
  // The keys of the Menu Editor's Shortcut list: Ctrl+A..Z, F1..F12 with
  // none, Ctrl, Shift or Shift+Ctrl, Ctrl/Shift+Insert, Del, Shift+Del, Alt+Backspace.
  std::u16string key = vb::UCaseAscii(text);
  if (key.empty()) return key;
  if (key.size() == 2 && key[0] == u'^' && key[1] >= u'A' && key[1] <= u'Z') return key;
  for (const char16_t* named : {u"^{INSERT}", u"+{INSERT}", u"{DEL}", u"+{DEL}", u"%{BKSP}"})
    if (key == named) return key;
  std::u16string_view rest = key;
  for (const char16_t* prefix : {u"+^", u"^", u"+"})
    if (rest.starts_with(prefix)) {
      rest.remove_prefix(std::u16string_view(prefix).size());
      break;
    }
  if (rest.size() < 4 || !rest.starts_with(u"{F") || rest.back() != u'}') return std::nullopt;
  std::u16string_view digits = rest.substr(2, rest.size() - 3);
  if (digits.empty() || digits.size() > 2 || digits[0] == u'0') return std::nullopt;
  int n = 0;
  for (char16_t ch : digits) {
    if (ch < u'0' || ch > u'9') return std::nullopt;
    n = n * 10 + (ch - u'0');
  }
  if (n < 1 || n > 12) return std::nullopt;
  return key;
}

PropType TypeOfValue(const Variant& v) {
  switch (v.index()) {
    case 1: return PropType::Boolean;
    case 2: return PropType::Integer;
    case 3: return PropType::Long;
    case 4: return PropType::Single;
    case 5: return PropType::Double;
    case 6: return PropType::String;
  }
  return PropType::Picture;
}

}  // namespace tarno::host
