#include "host/files/property_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/files/component_file.h"
#include "platform/vb_text.h"

namespace tarno::host::files {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// The text of an enumerated value as VB 6 writes it after the apostrophe.
struct EnumName {
  const char16_t* cls;  // nullptr: every class
  const char* prop;
  int value;
  const char* name;
};

constexpr EnumName kEnums[] = {
    {nullptr, "Alignment", 0, "Left Justify"}, {nullptr, "Alignment", 1, "Right Justify"},
    {nullptr, "Alignment", 2, "Center"}, {nullptr, "Appearance", 0, "Flat"}, {nullptr, "Appearance", 1, "3D"},
    {nullptr, "BackStyle", 0, "Transparent"}, {nullptr, "BackStyle", 1, "Opaque"},
    {u"Form", "BorderStyle", 0, "None"}, {u"Form", "BorderStyle", 1, "Fixed Single"},
    {u"Form", "BorderStyle", 2, "Sizable"}, {u"Form", "BorderStyle", 3, "Fixed Dialog"},
    {u"Form", "BorderStyle", 4, "Fixed ToolWindow"}, {u"Form", "BorderStyle", 5, "Sizable ToolWindow"},
    {u"Shape", "BorderStyle", 0, "Transparent"}, {u"Shape", "BorderStyle", 1, "Solid"},
    {u"Line", "BorderStyle", 0, "Transparent"}, {u"Line", "BorderStyle", 1, "Solid"},
    {nullptr, "BorderStyle", 0, "None"}, {nullptr, "BorderStyle", 1, "Fixed Single"},
    {nullptr, "StartUpPosition", 0, "Manual"}, {nullptr, "StartUpPosition", 1, "CenterOwner"},
    {nullptr, "StartUpPosition", 2, "CenterScreen"}, {nullptr, "StartUpPosition", 3, "Windows Default"},
    {nullptr, "WindowState", 0, "Normal"}, {nullptr, "WindowState", 1, "Minimized"},
    {nullptr, "WindowState", 2, "Maximized"}, {nullptr, "ScaleMode", 0, "User"}, {nullptr, "ScaleMode", 1, "Twip"},
    {nullptr, "ScaleMode", 2, "Point"}, {nullptr, "ScaleMode", 3, "Pixel"}, {nullptr, "ScaleMode", 4, "Character"},
    {nullptr, "ScaleMode", 5, "Inch"}, {nullptr, "ScaleMode", 6, "Millimeter"},
    {nullptr, "ScaleMode", 7, "Centimeter"}, {nullptr, "MousePointer", 0, "Default"},
    {nullptr, "MousePointer", 1, "Arrow"}, {nullptr, "MousePointer", 2, "Cross"},
    {nullptr, "MousePointer", 3, "I-Beam"}, {nullptr, "MousePointer", 4, "Icon"},
    {nullptr, "MousePointer", 5, "Size"}, {nullptr, "MousePointer", 6, "Size NE SW"},
    {nullptr, "MousePointer", 7, "Size N S"}, {nullptr, "MousePointer", 8, "Size NW SE"},
    {nullptr, "MousePointer", 9, "Size W E"}, {nullptr, "MousePointer", 10, "Up Arrow"},
    {nullptr, "MousePointer", 11, "Hourglass"}, {nullptr, "MousePointer", 12, "No Drop"},
    {nullptr, "MousePointer", 13, "Arrow and Hourglass"}, {nullptr, "MousePointer", 14, "Arrow and Question"},
    {nullptr, "MousePointer", 15, "Size All"}, {nullptr, "MousePointer", 99, "Custom"},
    {nullptr, "DragMode", 0, "Manual"}, {nullptr, "DragMode", 1, "Automatic"},
    {u"ComboBox", "Style", 0, "Dropdown Combo"}, {u"ComboBox", "Style", 1, "Simple Combo"},
    {u"ComboBox", "Style", 2, "Dropdown List"}, {u"ListBox", "Style", 0, "Standard"},
    {u"ListBox", "Style", 1, "Checkbox"}, {nullptr, "Style", 0, "Standard"}, {nullptr, "Style", 1, "Graphical"},
    {nullptr, "ScrollBars", 0, "None"}, {nullptr, "ScrollBars", 1, "Horizontal"},
    {nullptr, "ScrollBars", 2, "Vertical"}, {nullptr, "ScrollBars", 3, "Both"},
    {u"CheckBox", "Value", 0, "Unchecked"}, {u"CheckBox", "Value", 1, "Checked"},
    {u"CheckBox", "Value", 2, "Grayed"}, {nullptr, "Align", 0, "None"}, {nullptr, "Align", 1, "Align Top"},
    {nullptr, "Align", 2, "Align Bottom"}, {nullptr, "Align", 3, "Align Left"},
    {nullptr, "Align", 4, "Align Right"}, {nullptr, "OLEDropMode", 0, "None"},
    {nullptr, "OLEDropMode", 1, "Manual"}, {nullptr, "OLEDropMode", 2, "Automatic"},
    {nullptr, "OLEDragMode", 0, "Manual"}, {nullptr, "OLEDragMode", 1, "Automatic"},
    {u"Form", "LinkMode", 0, "None"}, {u"Form", "LinkMode", 1, "Source"}, {nullptr, "LinkMode", 0, "None"},
    {nullptr, "LinkMode", 1, "Automatic"}, {nullptr, "LinkMode", 2, "Manual"}, {nullptr, "LinkMode", 3, "Notify"},
    {nullptr, "FillStyle", 0, "Solid"}, {nullptr, "FillStyle", 1, "Transparent"},
    {nullptr, "FillStyle", 2, "Horizontal Line"}, {nullptr, "FillStyle", 3, "Vertical Line"},
    {nullptr, "FillStyle", 4, "Upward Diagonal"}, {nullptr, "FillStyle", 5, "Downward Diagonal"},
    {nullptr, "FillStyle", 6, "Cross"}, {nullptr, "FillStyle", 7, "Diagonal Cross"},
    {nullptr, "DrawStyle", 0, "Solid"}, {nullptr, "DrawStyle", 1, "Dash"}, {nullptr, "DrawStyle", 2, "Dot"},
    {nullptr, "DrawStyle", 3, "Dash-Dot"}, {nullptr, "DrawStyle", 4, "Dash-Dot-Dot"},
    {nullptr, "DrawStyle", 5, "Transparent"}, {nullptr, "DrawStyle", 6, "Inside Solid"},
    {nullptr, "Shape", 0, "Rectangle"}, {nullptr, "Shape", 1, "Square"}, {nullptr, "Shape", 2, "Oval"},
    {nullptr, "Shape", 3, "Circle"}, {nullptr, "Shape", 4, "Rounded Rectangle"},
    {nullptr, "Shape", 5, "Rounded Square"}, {nullptr, "MultiSelect", 0, "None"},
    {nullptr, "MultiSelect", 1, "Simple"}, {nullptr, "MultiSelect", 2, "Extended"},
    {nullptr, "PaletteMode", 0, "Halftone"}, {nullptr, "PaletteMode", 1, "UseZOrder"},
    {nullptr, "PaletteMode", 2, "Custom"}, {nullptr, "NegotiatePosition", 0, "None"},
    {nullptr, "NegotiatePosition", 1, "Left"}, {nullptr, "NegotiatePosition", 2, "Middle"},
    {nullptr, "NegotiatePosition", 3, "Right"}, {nullptr, "IMEMode", 0, "NoControl"}, {nullptr, "IMEMode", 1, "On"},
    {nullptr, "IMEMode", 2, "Off"}, {nullptr, "IMEMode", 3, "Disable"}, {nullptr, "IMEMode", 4, "Hiragana"},
    {nullptr, "IMEMode", 5, "Katakana"}, {nullptr, "IMEMode", 6, "Katakana Half"},
    {nullptr, "IMEMode", 7, "Alpha Full"}, {nullptr, "IMEMode", 8, "Alpha"}, {nullptr, "IMEMode", 9, "Hangul Full"},
    {nullptr, "IMEMode", 10, "Hangul"}, {nullptr, "DrawMode", 13, "Copy Pen"},
};

const char* EnumText(std::u16string_view cls, std::string_view prop, int value) {
  // The first entry for the class wins over the entries for every class.
  for (const auto& e : kEnums) {
    if (!EqualsIgnoreCase(e.prop, prop)) continue;
    bool class_match = e.cls == nullptr || cls == e.cls || (std::u16string_view(e.cls) == u"Form" && cls == u"MDIForm");
    if (class_match && e.value == value) return e.name;
  }
  return nullptr;
}

std::string QuoteBytes(std::string_view s) {
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

std::string NumberText(double d, int digits) {
  if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", d);
    return buf;
  }
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*g", digits, d);
  return buf;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char x = Upper(a[i]), y = Upper(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

ParsedValue ParseValue(std::string_view raw) {
  ParsedValue v;
  std::string_view s = TrimBlanks(raw);
  if (s.starts_with("$\"") || s.starts_with('"')) {
    bool dollar = s.front() == '$';
    size_t i = dollar ? 2 : 1;
    std::string text;
    bool closed = false;
    for (; i < s.size(); ++i) {
      if (s[i] == '"') {
        if (i + 1 < s.size() && s[i + 1] == '"') {
          text += '"';
          ++i;
          continue;
        }
        closed = true;
        ++i;
        break;
      }
      text += s[i];
    }
    std::string_view rest = s.substr(i);
    if (closed && rest.starts_with(':')) {
      v.kind = dollar ? ParsedValue::Kind::StringReference : ParsedValue::Kind::Reference;
      v.text = std::string(s);
      return v;
    }
    if (!closed || dollar) {
      v.text = std::string(s);
      return v;
    }
    v.kind = ParsedValue::Kind::String;
    v.text = std::move(text);
    return v;
  }
  // A number, maybe followed by an apostrophe comment.
  std::string_view num = s;
  if (size_t q = s.find('\''); q != std::string_view::npos) {
    v.comment = std::string(s.substr(q + 1));
    num = TrimBlanks(s.substr(0, q));
  }
  if (num.size() > 2 && (num[0] == '&') && (num[1] == 'H' || num[1] == 'h')) {
    std::string hex(num.substr(2));
    if (!hex.empty() && hex.back() == '&') hex.pop_back();
    char* end = nullptr;
    unsigned long long x = std::strtoull(hex.c_str(), &end, 16);
    if (!hex.empty() && end && *end == '\0' && x <= 0xFFFFFFFFull) {
      v.kind = ParsedValue::Kind::Number;
      v.number = double(int32_t(uint32_t(x)));
      v.integral = true;
      return v;
    }
  }
  if (!num.empty()) {
    std::string t(num);
    char* end = nullptr;
    double d = std::strtod(t.c_str(), &end);
    if (end && *end == '\0' && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-' || t[0] == '.' || t[0] == '+')) {
      v.kind = ParsedValue::Kind::Number;
      v.number = d;
      v.integral = t.find_first_of(".eE") == std::string::npos;
      return v;
    }
  }
  v.text = std::string(s);
  return v;
}

std::optional<ide::Variant> ToVariant(const ParsedValue& v, PropType type, const CodePage& cp) {
  switch (v.kind) {
    case ParsedValue::Kind::String:
      if (type == PropType::Picture || type == PropType::Font) return std::nullopt;
      return ide::Variant(cp.Decode(v.text));
    case ParsedValue::Kind::Reference:
      // Pictures and other binary values stay references to their bytes.
      if (type != PropType::Picture) return std::nullopt;
      return ide::Variant(cp.Decode(v.text));
    case ParsedValue::Kind::Number:
      if (type == PropType::String || type == PropType::Picture || type == PropType::Font) return std::nullopt;
      if (v.integral && std::fabs(v.number) <= 2147483647.0) return ide::Variant(int32_t(v.number));
      return ide::Variant(v.number);
    case ParsedValue::Kind::Other:
      // A key text is written bare (Shortcut = ^S).
      if (type == PropType::KeyText) return ide::Variant(cp.Decode(v.text));
      break;
    case ParsedValue::Kind::StringReference:
      break;
  }
  return std::nullopt;
}

std::optional<std::string> FormatValue(std::u16string_view className, const PropDef& def, const ide::Variant& v,
                                       const CodePage& cp) {
  std::string prop = vb::ToUtf8(def.name);
  ide::Variant c;
  if (!CoerceValue(def.type, v, c)) c = v;
  switch (def.type) {
    case PropType::Boolean: {
      bool b = std::holds_alternative<bool>(c) && std::get<bool>(c);
      return b ? std::string("-1  'True") : std::string("0   'False");
    }
    case PropType::Integer:
    case PropType::Long: {
      long long n = 0;
      if (auto* i16 = std::get_if<int16_t>(&c)) n = *i16;
      else if (auto* i32 = std::get_if<int32_t>(&c)) n = *i32;
      else return std::nullopt;
      if (def.type == PropType::Long && prop.size() > 5 && EqualsIgnoreCase(std::string_view(prop).substr(prop.size() - 5), "Color")) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "&H%08X&", unsigned(uint32_t(int32_t(n))));
        return std::string(buf);
      }
      std::string text = std::to_string(n);
      if (const char* name = EnumText(className, prop, int(n))) return text + "  '" + name;
      return text;
    }
    case PropType::Single:
      if (auto* f = std::get_if<float>(&c)) return NumberText(*f, 7);
      return std::nullopt;
    case PropType::Double:
      if (auto* d = std::get_if<double>(&c)) return NumberText(*d, 15);
      return std::nullopt;
    case PropType::String: {
      auto* s = std::get_if<std::u16string>(&c);
      if (!s || s->find_first_of(u"\r\n") != std::u16string::npos) return std::nullopt;
      return QuoteBytes(cp.Encode(*s));
    }
    case PropType::Picture: {
      auto* s = std::get_if<std::u16string>(&c);
      if (!s) return std::nullopt;
      return cp.Encode(*s);
    }
    case PropType::KeyText: {
      auto* s = std::get_if<std::u16string>(&c);
      if (!s || s->empty()) return std::nullopt;  // no shortcut: no line
      return cp.Encode(*s);
    }
    case PropType::Font:
    case PropType::Group:
      break;
  }
  return std::nullopt;
}

std::string PropertyLineText(std::string_view name, const std::string& value) {
  std::string out(name);
  if (out.size() < 16) out.append(16 - out.size(), ' ');
  return out + "=   " + value;
}

std::vector<std::string> FontGroupLines(std::string_view name, std::string_view guid, const FontValues& font,
                                        size_t indent, const CodePage& cp) {
  std::string pad(indent, ' '), inner(indent + 3, ' ');
  int weight = font.weight;
  if (font.bold && weight < 600) weight = 700;
  if (!font.bold && weight >= 600) weight = 400;
  auto flag = [](bool b) { return b ? std::string("-1  'True") : std::string("0   'False"); };
  std::vector<std::string> out;
  out.push_back(pad + "BeginProperty " + std::string(name) + " " + (guid.empty() ? "" : std::string(guid) + " "));
  out.push_back(inner + PropertyLineText("Name", QuoteBytes(cp.Encode(font.name))));
  out.push_back(inner + PropertyLineText("Size", NumberText(font.size, 7)));
  out.push_back(inner + PropertyLineText("Charset", std::to_string(font.charset)));
  out.push_back(inner + PropertyLineText("Weight", std::to_string(weight)));
  out.push_back(inner + PropertyLineText("Underline", flag(font.underline)));
  out.push_back(inner + PropertyLineText("Italic", flag(font.italic)));
  out.push_back(inner + PropertyLineText("Strikethrough", flag(font.strikethru)));
  out.push_back(pad + "EndProperty");
  return out;
}

}  // namespace tarno::host::files
