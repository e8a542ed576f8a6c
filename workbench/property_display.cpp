#include "workbench/property_display.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>

#include "workbench/property_values.h"

namespace tarno::workbench {
namespace {

using Names = std::vector<const char*>;

const Names kMousePointer = {"0 - Default",      "1 - Arrow",           "2 - Cross",          "3 - I-Beam",
                             "4 - Icon",         "5 - Size",            "6 - Size NE SW",     "7 - Size N S",
                             "8 - Size NW SE",   "9 - Size W E",        "10 - Up Arrow",      "11 - Hourglass",
                             "12 - No Drop",     "13 - Arrow and Hourglass", "14 - Arrow and Question",
                             "15 - Size All",    "99 - Custom"};
const Names kLineStyles = {"0 - Transparent", "1 - Solid", "2 - Dash", "3 - Dot", "4 - Dash-Dot", "5 - Dash-Dot-Dot",
                           "6 - Inside Solid"};

// The enumerations by property, with the class where one differs.
const Names* EnumOf(std::u16string_view cls, std::u16string_view name) {
  static const std::map<std::u16string_view, Names> common = {
      {u"Appearance", {"0 - Flat", "1 - 3D"}},
      {u"BackStyle", {"0 - Transparent", "1 - Opaque"}},
      {u"BorderStyle", {"0 - None", "1 - Fixed Single"}},
      {u"ScaleMode",
       {"0 - User", "1 - Twip", "2 - Point", "3 - Pixel", "4 - Character", "5 - Inch", "6 - Millimeter",
        "7 - Centimeter"}},
      {u"StartUpPosition", {"0 - Manual", "1 - CenterOwner", "2 - CenterScreen", "3 - Windows Default"}},
      {u"WindowState", {"0 - Normal", "1 - Minimized", "2 - Maximized"}},
      {u"MousePointer", kMousePointer},
      {u"DragMode", {"0 - Manual", "1 - Automatic"}},
      {u"OLEDragMode", {"0 - Manual", "1 - Automatic"}},
      {u"OLEDropMode", {"0 - None", "1 - Manual"}},
      {u"ScrollBars", {"0 - None", "1 - Horizontal", "2 - Vertical", "3 - Both"}},
      {u"FillStyle",
       {"0 - Solid", "1 - Transparent", "2 - Horizontal Line", "3 - Vertical Line", "4 - Upward Diagonal",
        "5 - Downward Diagonal", "6 - Cross", "7 - Diagonal Cross"}},
      {u"DrawStyle", {"0 - Solid", "1 - Dash", "2 - Dot", "3 - Dash-Dot", "4 - Dash-Dot-Dot", "5 - Transparent",
                      "6 - Inside Solid"}},
      {u"Shape", {"0 - Rectangle", "1 - Square", "2 - Oval", "3 - Circle", "4 - Rounded Rectangle",
                  "5 - Rounded Square"}},
      {u"MultiSelect", {"0 - None", "1 - Simple", "2 - Extended"}},
      {u"Align", {"0 - None", "1 - Align Top", "2 - Align Bottom", "3 - Align Left", "4 - Align Right"}},
      {u"Alignment", {"0 - Left Justify", "1 - Right Justify", "2 - Center"}},
      {u"LinkMode", {"0 - None", "1 - Automatic", "2 - Manual", "3 - Notify"}},
      {u"NegotiatePosition", {"0 - None", "1 - Left", "2 - Middle", "3 - Right"}},
      {u"Style", {"0 - Standard", "1 - Graphical"}},
  };
  static const std::map<std::pair<std::u16string_view, std::u16string_view>, Names> byClass = {
      {{u"Form", u"BorderStyle"},
       {"0 - None", "1 - Fixed Single", "2 - Sizable", "3 - Fixed Dialog", "4 - Fixed ToolWindow",
        "5 - Sizable ToolWindow"}},
      {{u"Form", u"LinkMode"}, {"0 - None", "1 - Source"}},
      {{u"Shape", u"BorderStyle"}, kLineStyles},
      {{u"Line", u"BorderStyle"}, kLineStyles},
      {{u"CheckBox", u"Alignment"}, {"0 - Left Justify", "1 - Right Justify"}},
      {{u"OptionButton", u"Alignment"}, {"0 - Left Justify", "1 - Right Justify"}},
      {{u"CheckBox", u"Value"}, {"0 - Unchecked", "1 - Checked", "2 - Grayed"}},
      {{u"ComboBox", u"Style"}, {"0 - Dropdown Combo", "1 - Simple Combo", "2 - Dropdown List"}},
      {{u"ListBox", u"Style"}, {"0 - Standard", "1 - Checkbox"}},
  };
  if (auto it = byClass.find({cls, name}); it != byClass.end()) return &it->second;
  if (name == u"Style" && cls != u"CommandButton" && cls != u"CheckBox" && cls != u"OptionButton") return nullptr;
  if (auto it = common.find(name); it != common.end()) return &it->second;
  return nullptr;
}

// The number an enumerated name starts with ("2 - Sizable" is 2).
std::optional<int> LeadingNumber(const QString& text) {
  bool ok = false;
  int n = text.section(u' ', 0, 0).toInt(&ok);
  return ok ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

QString ShownName(const host::PropDef& def) {
  return def.name == u"Name" ? QStringLiteral("(Name)") : QString::fromStdU16String(def.name);
}

QString CategoryOf(const host::PropDef& def) {
  static const std::map<std::u16string_view, const char*> categories = {
      {u"Appearance", "Appearance"}, {u"BackColor", "Appearance"}, {u"BackStyle", "Appearance"},
      {u"BorderColor", "Appearance"}, {u"BorderStyle", "Appearance"}, {u"BorderWidth", "Appearance"},
      {u"Caption", "Appearance"}, {u"DrawMode", "Appearance"}, {u"DrawStyle", "Appearance"},
      {u"DrawWidth", "Appearance"}, {u"FillColor", "Appearance"}, {u"FillStyle", "Appearance"},
      {u"ForeColor", "Appearance"}, {u"Picture", "Appearance"}, {u"Icon", "Appearance"}, {u"Shape", "Appearance"},
      {u"Style", "Appearance"}, {u"Text", "Appearance"}, {u"PasswordChar", "Appearance"},
      {u"Alignment", "Appearance"}, {u"FontTransparent", "Appearance"}, {u"Palette", "Appearance"},
      {u"PaletteMode", "Appearance"}, {u"DownPicture", "Appearance"}, {u"DisabledPicture", "Appearance"},
      {u"MaskColor", "Appearance"}, {u"UseMaskColor", "Appearance"}, {u"Stretch", "Appearance"},
      {u"AutoRedraw", "Behavior"}, {u"AutoSize", "Behavior"}, {u"Cancel", "Behavior"},
      {u"CausesValidation", "Behavior"}, {u"ClipControls", "Behavior"}, {u"ControlBox", "Behavior"},
      {u"Default", "Behavior"}, {u"Enabled", "Behavior"}, {u"HideSelection", "Behavior"},
      {u"KeyPreview", "Behavior"}, {u"Locked", "Behavior"}, {u"MaxButton", "Behavior"}, {u"MinButton", "Behavior"},
      {u"MaxLength", "Behavior"}, {u"MultiLine", "Behavior"}, {u"OLEDropMode", "Behavior"},
      {u"RightToLeft", "Behavior"}, {u"ScrollBars", "Behavior"}, {u"TabIndex", "Behavior"},
      {u"TabStop", "Behavior"}, {u"Visible", "Behavior"}, {u"WhatsThisButton", "Behavior"},
      {u"WhatsThisHelp", "Behavior"}, {u"WordWrap", "Behavior"}, {u"Interval", "Behavior"}, {u"Value", "Behavior"},
      {u"Sorted", "Behavior"}, {u"MultiSelect", "Behavior"}, {u"UseMnemonic", "Behavior"},
      {u"ShowInTaskbar", "Behavior"}, {u"Checked", "Behavior"}, {u"Shortcut", "Behavior"},
      {u"WindowList", "Behavior"}, {u"HasDC", "Behavior"}, {u"Max", "Behavior"}, {u"Min", "Behavior"},
      {u"SmallChange", "Behavior"}, {u"LargeChange", "Behavior"},
      {u"LinkItem", "DDE"}, {u"LinkMode", "DDE"}, {u"LinkTimeout", "DDE"}, {u"LinkTopic", "DDE"},
      {u"Font", "Font"},
      {u"List", "List"}, {u"ItemData", "List"}, {u"Columns", "List"}, {u"IntegralHeight", "List"},
      {u"Height", "Position"}, {u"Left", "Position"}, {u"Top", "Position"}, {u"Width", "Position"},
      {u"Moveable", "Position"}, {u"StartUpPosition", "Position"}, {u"WindowState", "Position"},
      {u"X1", "Position"}, {u"X2", "Position"}, {u"Y1", "Position"}, {u"Y2", "Position"},
      {u"ScaleHeight", "Scale"}, {u"ScaleLeft", "Scale"}, {u"ScaleMode", "Scale"}, {u"ScaleTop", "Scale"},
      {u"ScaleWidth", "Scale"},
      {u"DataField", "Data"}, {u"DataFormat", "Data"}, {u"DataMember", "Data"}, {u"DataSource", "Data"},
  };
  auto it = categories.find(def.name);
  return QString::fromLatin1(it == categories.end() ? "Misc" : it->second);
}

QStringList EnumNames(const host::MemControl& control, const host::PropDef& def) {
  QStringList out;
  if (def.type != host::PropType::Integer && def.type != host::PropType::Long) return out;
  if (const Names* names = EnumOf(control.cls().name, def.name))
    for (const char* n : *names) out << QString::fromLatin1(n);
  return out;
}

bool IsColour(const host::PropDef& def) {
  return def.type == host::PropType::Long && def.name.size() > 5 && def.name.ends_with(u"Color");
}

QString DisplayValue(const host::MemControl& control, const host::PropDef& def) {
  auto v = control.Get(def.name);
  switch (def.type) {
    case host::PropType::Boolean: return FlagOf(control, def.name) ? QStringLiteral("True") : QStringLiteral("False");
    case host::PropType::Font: {
      auto font = control.GetFont(def.name);
      return font ? QString::fromStdU16String(font->values().name) : QString();
    }
    case host::PropType::Picture: {
      if (Utf16Of(control, def.name).empty()) return QStringLiteral("(None)");
      return def.name.ends_with(u"Icon") ? QStringLiteral("(Icon)") : QStringLiteral("(Bitmap)");
    }
    case host::PropType::String:
    case host::PropType::KeyText: return TextOf(control, def.name);
    case host::PropType::Group: return QStringLiteral("(Custom)");
    default: break;
  }
  if (IsColour(def)) {
    const auto n = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int64_t>(NumberOf(v))));
    return QStringLiteral("&H%1&").arg(n, 8, 16, QLatin1Char('0')).toUpper();
  }
  const double n = NumberOf(v);
  const QStringList names = EnumNames(control, def);
  for (const QString& name : names)
    if (LeadingNumber(name) == static_cast<int>(n)) return name;
  return QString::number(n, 'g', 10);
}

std::optional<ide::Variant> ParseValue(const host::MemControl& control, const host::PropDef& def, const QString& typed) {
  const QString text = typed.trimmed();
  bool ok = false;
  switch (def.type) {
    case host::PropType::Boolean: {
      if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 || text == QStringLiteral("-1")) return ide::Variant(true);
      if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0 || text == QStringLiteral("0")) return ide::Variant(false);
      return std::nullopt;
    }
    case host::PropType::String: return ide::Variant(typed.toStdU16String());
    case host::PropType::KeyText: return ide::Variant(text.toStdU16String());
    case host::PropType::Integer:
    case host::PropType::Long: {
      long long n = 0;
      if (text.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        QString hex = text.mid(2);
        if (hex.endsWith(u'&')) hex.chop(1);
        n = static_cast<long long>(hex.toUInt(&ok, 16));
        if (ok && def.type == host::PropType::Long) n = static_cast<int32_t>(static_cast<uint32_t>(n));
      } else if (auto lead = LeadingNumber(text)) {
        n = *lead;
        ok = true;
      }
      if (!ok) return std::nullopt;
      const QStringList names = EnumNames(control, def);
      if (!names.isEmpty() && std::none_of(names.begin(), names.end(), [&](const QString& s) { return LeadingNumber(s) == n; }))
        return std::nullopt;
      if (def.type == host::PropType::Integer) {
        if (n < -32768 || n > 32767) return std::nullopt;
        return ide::Variant(static_cast<int16_t>(n));
      }
      if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
      return ide::Variant(static_cast<int32_t>(n));
    }
    case host::PropType::Single: {
      const float f = text.toFloat(&ok);
      return ok ? std::optional<ide::Variant>(ide::Variant(f)) : std::nullopt;
    }
    case host::PropType::Double: {
      const double d = text.toDouble(&ok);
      return ok ? std::optional<ide::Variant>(ide::Variant(d)) : std::nullopt;
    }
    default: return std::nullopt;  // pictures, fonts and groups have their own editors
  }
}

}  // namespace tarno::workbench
