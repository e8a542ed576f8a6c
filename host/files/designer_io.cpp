// The designer block of a component file and the host's designer: loading
// controls and typed property values, and writing changed properties back in
// VB 6's own form (only the lines that changed).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "host/controls.h"
#include "host/files/file_state.h"
#include "host/files/new_component_parts.h"
#include "host/files/property_format.h"
#include "platform/vb_text.h"

namespace tarno::host::files {

namespace {

using Kind = DesignerNode::Kind;

struct ControlState {
  int node = -1;
};

int NodeOf(const MemControl& c) {
  auto* s = static_cast<ControlState*>(c.file_state.get());
  return s ? s->node : -1;
}

void SetNode(MemControl& c, int node) { c.file_state = std::make_shared<ControlState>(ControlState{node}); }

// The font a control has when its block sets none: its container's (VB
// writes no Font group for a control whose font is its form's); a form's is
// the default font of its file's code page.
FontValues ContainerFont(const MemControl& c, const CodePage& cp) {
  for (auto p = c.parent(); p; p = p->parent())
    if (auto font = p->GetFont()) return font->values();
  if (auto d = c.designer())
    if (d->form().get() != &c)
      if (auto font = d->form()->GetFont()) return font->values();
  return DefaultFontFor(cp);
}

void TakeContainerFont(MemControl& c, const CodePage& cp) {
  if (auto font = c.GetFont(); font && !c.IsLoaded(u"Font")) font->Assign(ContainerFont(c, cp));
}

// A font name the file's code page cannot hold would be written as "?".
void CheckFontName(const MemControl& c, const FontValues& font, const CodePage& cp, const std::filesystem::path& file,
                   size_t line) {
  if (cp.Decode(cp.Encode(font.name)) == font.name) return;
  throw ProjectFileError(file, int(line) + 1,
                         "the font \"" + vb::ToUtf8(font.name) + "\" of " + vb::ToUtf8(c.name()) +
                             " cannot be written in code page " + cp.name() + "; nothing written");
}

// A designer number as an integer of the given range; nullopt when it is not
// finite or does not fit (a hand-edited "Charset = 95028"), so that it is never
// converted out of range.
template <class T>
std::optional<T> Fitting(double d, double lo, double hi) {
  if (!std::isfinite(d) || d < lo || d > hi) return std::nullopt;
  return static_cast<T>(d);
}

// A control array's index runs from 0 to 32767.
constexpr int kNoIndex = -1;
constexpr int kBadIndex = -2;

int IndexOfBlock(const ComponentFile& f, int node) {
  int p = f.FindProperty(node, "Index");
  if (p < 0) return kNoIndex;
  ParsedValue v = ParseValue(f.nodes()[size_t(p)].value);
  if (v.kind != ParsedValue::Kind::Number) return kNoIndex;
  return Fitting<int>(v.number, 0, 32767).value_or(kBadIndex);
}

FontValues ReadFont(const ComponentFile& f, int group, const CodePage& cp, Warnings& warnings) {
  FontValues font = DefaultFontFor(cp);
  for (int c : f.nodes()[size_t(group)].children) {
    const auto& n = f.nodes()[size_t(c)];
    if (n.kind != Kind::Property) continue;
    ParsedValue v = ParseValue(n.value);
    if (EqualsIgnoreCase(n.name, "Name") && v.kind == ParsedValue::Kind::String)
      font.name = DecodeBytes(cp, v.text);
    else if (v.kind != ParsedValue::Kind::Number)
      continue;
    else if (EqualsIgnoreCase(n.name, "Size"))
      font.size = v.number;
    else if (EqualsIgnoreCase(n.name, "Charset") || EqualsIgnoreCase(n.name, "Weight")) {
      auto fit = Fitting<int16_t>(v.number, -32768, 32767);
      if (!fit)
        warnings.push_back({f.path(), int(n.line) + 1, "font " + n.name + " " + std::string(TrimBlanks(n.value)) +
                                                            " is not an Integer; the default is used"});
      else if (EqualsIgnoreCase(n.name, "Charset"))
        font.charset = *fit;
      else
        font.weight = *fit;
    }
    else if (EqualsIgnoreCase(n.name, "Underline"))
      font.underline = v.number != 0;
    else if (EqualsIgnoreCase(n.name, "Italic"))
      font.italic = v.number != 0;
    else if (EqualsIgnoreCase(n.name, "Strikethrough"))
      font.strikethru = v.number != 0;
  }
  font.bold = font.weight >= 600;
  return font;
}

// Long texts kept in the binary file beside the form ($"Form1.frx":0035): a
// 4-byte little-endian length, then the text's bytes.
class SidecarTexts {
 public:
  explicit SidecarTexts(const ComponentFile& f, const CodePage& cp) : f_(f), cp_(cp) {}
  // `$"F.frx":0035` (a 4-byte length) or, with `one_byte_length`,
  // `"F.frx":001D` as a multi-line text box's text is kept (a 1-byte length).
  std::optional<std::u16string> Text(const std::string& reference, bool one_byte_length = false) {
    const size_t open = one_byte_length ? 1 : 2;
    size_t close = reference.find('"', open);
    if (reference.size() < open + 2 || close == std::string::npos || close + 2 > reference.size()) return std::nullopt;
    std::string file = reference.substr(open, close - open);
    auto it = files_.find(file);
    if (it == files_.end()) {
      std::optional<std::string> bytes;
      auto found = ResolveWindowsPath(f_.path().parent_path(), vb::ToUtf8(DecodeBytes(cp_, file)));
      try {
        if (found) bytes = ReadFileBytes(*found);
      } catch (const ProjectFileError&) {
      }
      it = files_.emplace(file, std::move(bytes)).first;
    }
    if (!it->second) return std::nullopt;
    const std::string& b = *it->second;
    unsigned long offset = std::strtoul(reference.c_str() + close + 2, nullptr, 16);
    if (one_byte_length) {
      // 0xFF starts a longer length form, which is left unread.
      if (offset >= b.size() || static_cast<unsigned char>(b[offset]) == 0xFF) return std::nullopt;
      size_t n = static_cast<unsigned char>(b[offset]);
      if (n > b.size() - offset - 1) return std::nullopt;
      return cp_.Decode(std::string_view(b).substr(offset + 1, n));
    }
    if (offset > b.size() || b.size() - offset < 4) return std::nullopt;
    uint32_t length = 0;
    for (int k = 3; k >= 0; --k) length = (length << 8) | static_cast<unsigned char>(b[offset + size_t(k)]);
    if (length > b.size() - offset - 4) return std::nullopt;
    return cp_.Decode(std::string_view(b).substr(offset + 4, length));
  }

 private:
  const ComponentFile& f_;
  const CodePage& cp_;
  std::map<std::string, std::optional<std::string>> files_;
};

// A group's lines (BeginProperty to EndProperty) without the group's own
// indentation, joined by CR LF: an ActiveX control's property the host
// cannot read but a copy must carry.
std::u16string GroupText(const ComponentFile& f, const DesignerNode& g, const CodePage& cp) {
  std::string text;
  for (size_t l = g.line; l <= g.end_line; ++l) {
    std::string_view line = f.text().line(l);
    size_t cut = 0;
    while (cut < g.indent && cut < line.size() && line[cut] == ' ') ++cut;
    if (l > g.line) text += "\r\n";
    text += line.substr(cut);
  }
  return DecodeBytes(cp, text);
}

void LoadProperties(MemControl& control, const ComponentFile& f, int block, const CodePage& cp,
                    SidecarTexts& texts, Warnings& warnings) {
  for (int c : f.nodes()[size_t(block)].children) {
    const auto& n = f.nodes()[size_t(c)];
    if (n.kind == Kind::Group) {
      // A group the class does not know (an ActiveX control's own, a data
      // format of a bound text box) is kept as the file's lines.
      std::u16string name = DecodeBytes(cp, n.name);
      if (EqualsIgnoreCase(n.name, "Font"))
        control.LoadFont(u"Font", ReadFont(f, c, cp, warnings));
      else if (control.PropertyPosition(name) < 0)
        control.AddProperty(name, PropType::Group, GroupText(f, n, cp));
      continue;
    }
    if (n.kind != Kind::Property || EqualsIgnoreCase(n.name, "Index") || EqualsIgnoreCase(n.name, "Name")) continue;
    std::u16string name = DecodeBytes(cp, n.name);
    int pos = control.PropertyPosition(name);
    ParsedValue parsed = ParseValue(n.value);
    PropType type = PropType::String;
    if (pos >= 0)
      type = control.PropertyDef(pos).type;
    else if (parsed.kind == ParsedValue::Kind::Number && (parsed.comment == "True" || parsed.comment == "False"))
      type = PropType::Boolean;  // a property only the file knows: `-1  'True`
    else if (parsed.kind == ParsedValue::Kind::Number)
      type = parsed.integral ? PropType::Long : PropType::Double;
    else if (parsed.kind == ParsedValue::Kind::Reference)
      type = PropType::Picture;
    if (parsed.kind == ParsedValue::Kind::StringReference && type == PropType::String) {
      if (auto text = texts.Text(parsed.text)) control.Load(name, *text);
      continue;
    }
    if (parsed.kind == ParsedValue::Kind::Reference && type == PropType::String && pos >= 0) {
      if (auto text = texts.Text(parsed.text, true)) control.Load(name, *text);
      continue;
    }
    if (auto v = ToVariant(parsed, type, cp)) {
      // A property only the file knows (an ActiveX control's own, one VB
      // writes that the catalog lacks, such as LockControls) keeps the kind of
      // value it holds (a binary reference stays one).
      if (pos < 0) {
        ide::Variant typed;
        control.AddProperty(name, type, CoerceValue(type, *v, typed) ? typed : *v);
      }
      else
        control.Load(name, *v);
    }
  }
}

// Every Begin block under `block`, depth first, as controls of the designer.
void LoadChildren(MemDesigner& d, const ComponentFile& f, int block, const std::shared_ptr<MemControl>& parent,
                  const CodePage& cp, SidecarTexts& texts, Warnings& warnings, std::vector<std::string>& left_out) {
  for (int c : f.nodes()[size_t(block)].children) {
    const auto& n = f.nodes()[size_t(c)];
    if (n.kind != Kind::Block) continue;
    std::shared_ptr<MemControl> control;
    int index = IndexOfBlock(f, c);
    if (index == kBadIndex) {
      warnings.push_back({f.path(), int(n.line) + 1, "control " + n.name + " left out: its Index is not 0 to 32767"});
      left_out.push_back(n.name);
      continue;
    }
    try {
      control = d.AddControl(DecodeBytes(cp, n.type), DecodeBytes(cp, n.name), parent, index);
    } catch (const std::exception& e) {
      // VB 6 logs a control it cannot load and opens the form without it.
      warnings.push_back({f.path(), int(n.line) + 1, "control " + n.name + " left out: " + e.what()});
      left_out.push_back(n.name);
      continue;
    }
    SetNode(*control, c);
    // VB 6 writes TabIndex for every control that has one.
    if (!control->cls().intrinsic && f.FindProperty(c, "TabIndex") < 0) control->DropExtenderProperty(u"TabIndex");
    LoadProperties(*control, f, c, cp, texts, warnings);
    TakeContainerFont(*control, cp);
    LoadChildren(d, f, c, control, cp, texts, warnings, left_out);
  }
}

void MapBlocks(MemDesigner& d, const ComponentFile& f, int block, const CodePage& cp) {
  for (int c : f.nodes()[size_t(block)].children) {
    const auto& n = f.nodes()[size_t(c)];
    if (n.kind != Kind::Block) continue;
    int index = IndexOfBlock(f, c);
    if (index == kBadIndex) continue;  // left out at the load
    if (auto control = d.Control(DecodeBytes(cp, n.name), index)) {
      SetNode(*control, c);
      control->ClearChanges();
    }
    MapBlocks(d, f, c, cp);
  }
}

// --- writing -------------------------------------------------------------------

struct Edits {
  std::vector<std::vector<std::string>> before;  // lines to put before line i
  std::vector<std::optional<std::vector<std::string>>> replace;
  explicit Edits(size_t n) : before(n + 1), replace(n) {}
};

std::string Pad(size_t n) { return std::string(n, ' '); }

bool SameValue(const ide::Variant& a, const ide::Variant& b) {
  if (a.index() == b.index()) return a == b;
  // Numbers of different widths.
  auto num = [](const ide::Variant& v, double& out) {
    return std::visit(
        [&](const auto& x) {
          using T = std::decay_t<decltype(x)>;
          if constexpr (std::is_same_v<T, bool>) {
            out = x ? -1 : 0;
            return true;
          } else if constexpr (std::is_arithmetic_v<T>) {
            out = double(x);
            return true;
          }
          return false;
        },
        v);
  };
  double x, y;
  return num(a, x) && num(b, y) && x == y;
}

// Where a new property line goes in a block: before the first property or
// group that sorts after it (VB 6 writes them in name order), else after the
// last one, before any control block.
size_t InsertionLine(const ComponentFile& f, int block, std::string_view name) {
  const auto& b = f.nodes()[size_t(block)];
  for (int c : b.children) {
    const auto& n = f.nodes()[size_t(c)];
    if (n.kind == Kind::Block) return n.line;
    if ((n.kind == Kind::Property || n.kind == Kind::Group) && CompareNames(n.name, name) > 0) return n.line;
  }
  return b.end_line;
}

std::string RenderedLine(size_t indent, std::string_view name, const std::string& value) {
  return Pad(indent) + PropertyLineText(name, value);
}

// Lines of the properties of a control that has no block yet, and of its
// children. `sidecar` is the binary file of a component written for the first
// time (nullptr for a control added to a loaded file).
void NewBlock(MemControl& control, const std::vector<std::shared_ptr<MemControl>>& all, size_t indent,
              const CodePage& cp, const std::filesystem::path& file, std::vector<std::string>& out,
              NewSidecar* sidecar) {
  std::string progId = vb::ToUtf8(control.ProgId());
  if (!control.cls().intrinsic) {
    // "Library.Class.2": the file names the class without its version.
    size_t last = progId.rfind('.');
    if (last != std::string::npos && last > progId.find('.') &&
        std::all_of(progId.begin() + long(last) + 1, progId.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); }))
      progId.erase(last);
  }
  out.push_back(Pad(indent) + "Begin " + progId + " " + cp.Encode(control.name()) + " ");
  std::vector<std::pair<std::string, std::vector<std::string>>> props;
  for (int i = 0; i < control.PropertyCount(); ++i) {
    const PropDef& def = control.PropertyDef(i);
    if (def.name == u"Name") continue;
    std::string name = vb::ToUtf8(def.name);
    if (def.type == PropType::Font) {
      auto font = control.GetFont(def.name);
      // An ActiveX control's font group names the StdFont class.
      std::string guid = control.cls().intrinsic ? "" : "{0BE35203-8F91-11CE-9DE3-00AA004BB851}";
      if (font && !(font->values() == ContainerFont(control, cp))) {
        CheckFontName(control, font->values(), cp, file, 0);
        props.emplace_back(name, FontGroupLines(name, guid, font->values(), indent + 3, cp));
      }
      continue;
    }
    ide::Variant v = control.ValueAt(i);
    if (def.type == PropType::Group) {
      auto* text = std::get_if<std::u16string>(&v);
      if (!text || text->empty()) continue;
      std::u16string t = *text;
      if (sidecar)
        for (const auto& [from, to] : sidecar->references) t = vb::Replace(t, from, to);
      std::vector<std::string> lines;
      for (size_t pos = 0; pos <= t.size();) {
        size_t end = t.find(u"\r\n", pos);
        if (end == std::u16string::npos) end = t.size();
        lines.push_back(Pad(indent + 3) + cp.Encode(t.substr(pos, end - pos)));
        pos = end + 2;
      }
      props.emplace_back(name, std::move(lines));
      continue;
    }
    // A property only the control's file knew (an ActiveX control's own) has
    // no default here: it is written whenever it holds a value.
    const bool own = !control.cls().Find(def.name);
    // VB writes a designer's client area and a control's place, size and tab
    // index always (an ActiveX control has a tab index only when its file
    // sets one: the loader drops the extender property otherwise).
    static const std::vector<std::u16string> kAlways = {u"ClientHeight", u"ClientLeft", u"ClientTop", u"ClientWidth",
                                                        u"StartUpPosition"};
    static const std::vector<std::u16string> kPlace = {u"Height", u"Left", u"TabIndex", u"Top", u"Width"};
    bool always = false;
    for (const auto& n : control.cls().designer ? kAlways : kPlace) always = always || def.name == n;
    if (own ? std::holds_alternative<std::monostate>(v) : (!always && SameValue(v, def.defaultValue))) continue;
    if (auto* s = std::get_if<std::u16string>(&v); s && def.type == PropType::Picture && sidecar) {
      if (auto it = sidecar->references.find(*s); it != sidecar->references.end()) v = it->second;
    }
    auto text = FormatValue(control.cls().name, def, v, cp);
    if (!text && sidecar && std::holds_alternative<std::u16string>(v) && def.type == PropType::String)
      text = sidecar->StoreText(cp, std::get<std::u16string>(v));  // a long or multi-line text
    if (!text) throw ProjectFileError(file, 0, "cannot write the value of " + name + " of " + vb::ToUtf8(control.name()));
    props.emplace_back(name, std::vector<std::string>{RenderedLine(indent + 3, name, *text)});
  }
  std::stable_sort(props.begin(), props.end(), [](const auto& a, const auto& b) { return CompareNames(a.first, b.first) < 0; });
  for (auto& p : props)
    for (auto& l : p.second) out.push_back(std::move(l));
  for (const auto& child : all)
    if (child->parent().get() == &control) NewBlock(*child, all, indent + 3, cp, file, out, sidecar);
  out.push_back(Pad(indent) + "End");
}

// The file's own comment for an enumerated value (VB writes them in the
// IDE's language: "2  '中央揃え" or "2  'Center"), taken from another line
// of the same property and value; the value text is kept as it is otherwise.
// When no such line exists and the file's comments are Japanese (a Japanese
// IDE wrote it), the Japanese names of the values the control tools set.
struct JapaneseName {
  const char* prop;
  int value;
  const char* name;
};
constexpr JapaneseName kJapaneseNames[] = {{"BackStyle", 0, "透明"},   {"BackStyle", 1, "不透明"},
                                           {"Alignment", 0, "左揃え"}, {"Alignment", 1, "右揃え"},
                                           {"Alignment", 2, "中央揃え"}};

std::string FileComment(const ComponentFile& f, std::string_view name, const std::string& text, const CodePage& cp) {
  size_t q = text.find('\'');
  if (q == std::string::npos) return text;
  ParsedValue wanted = ParseValue(text);
  if (wanted.kind != ParsedValue::Kind::Number) return text;
  bool japanese = false;
  for (const auto& n : f.nodes()) {
    if (n.kind != Kind::Property) continue;
    ParsedValue v = ParseValue(n.value);
    if (v.kind != ParsedValue::Kind::Number || v.comment.empty()) continue;
    if (EqualsIgnoreCase(n.name, name) && v.number == wanted.number) return text.substr(0, q + 1) + v.comment;
    for (char ch : v.comment) japanese = japanese || static_cast<unsigned char>(ch) >= 0x80;
  }
  if (japanese && cp.name() == CodePage::Cp932().name()) {
    for (const auto& j : kJapaneseNames)
      if (EqualsIgnoreCase(j.prop, name) && j.value == wanted.number)
        return text.substr(0, q + 1) + cp.Encode(vb::U(j.name));
  }
  return text;
}

// A font group rewritten line by line: lines whose text is the same keep
// their bytes, so only the changed sub-properties show as changed.
void ReplaceGroup(const ComponentFile& f, const DesignerNode& g, std::vector<std::string> lines, Edits& edits) {
  if (lines.size() == g.end_line - g.line + 1) {
    for (size_t k = 0; k < lines.size(); ++k) {
      std::string_view old = f.text().line(g.line + k);
      if (old != lines[k]) edits.replace[g.line + k] = std::vector<std::string>{std::move(lines[k])};
    }
    return;
  }
  edits.replace[g.line] = std::move(lines);
  for (size_t l = g.line + 1; l <= g.end_line; ++l) edits.replace[l] = std::vector<std::string>{};
}

// VB 6 writes a control's position, size and tab order even at their
// defaults (every form file holds "TabIndex = 0" and "Left = 0" lines), so
// such a line is rewritten, never dropped, when its value becomes the default.
bool AlwaysWritten(const MemControl& control, const PropDef& def) {
  if (control.cls().designer) return false;
  for (const char16_t* name : {u"TabIndex", u"Left", u"Top", u"Height", u"Width"})
    if (vb::EqualsIgnoreCaseAscii(def.name, name)) return true;
  return false;
}

void ControlEdits(MemControl& control, int block, const ComponentFile& f, const CodePage& cp, Edits& edits,
                  const NewSidecar* sidecar) {
  const auto& b = f.nodes()[size_t(block)];
  size_t indent = b.indent + 3;
  for (const auto& name16 : control.ChangedProperties()) {
    int pos = control.PropertyPosition(name16);
    const PropDef& def = control.PropertyDef(pos);
    std::string name = cp.Encode(name16);
    if (def.name == u"Name") {
      std::string begin = Pad(b.indent) + "Begin " + b.type + " " + cp.Encode(control.name()) + " ";
      edits.replace[b.line] = std::vector<std::string>{begin};
      continue;
    }
    int node = f.FindProperty(block, name);
    if (def.type == PropType::Font) {
      auto font = control.GetFont(name16);
      if (!font) continue;
      if (node >= 0 && f.nodes()[size_t(node)].kind == Kind::Group) {
        const auto& g = f.nodes()[size_t(node)];
        Warnings ignored;  // reported at the load
        if (ReadFont(f, node, cp, ignored) == font->values()) continue;
        CheckFontName(control, font->values(), cp, f.path(), g.line);
        ReplaceGroup(f, g, FontGroupLines(g.name, g.type, font->values(), g.indent, cp), edits);
      } else if (!(font->values() == ContainerFont(control, cp))) {
        CheckFontName(control, font->values(), cp, f.path(), b.line);
        std::string guid = control.cls().intrinsic ? "" : "{0BE35203-8F91-11CE-9DE3-00AA004BB851}";
        auto lines = FontGroupLines(name, guid, font->values(), indent, cp);
        auto& at = edits.before[InsertionLine(f, block, name)];
        at.insert(at.end(), lines.begin(), lines.end());
      }
      continue;
    }
    ide::Variant v = control.ValueAt(pos);
    if (auto* s = std::get_if<std::u16string>(&v); s && def.type == PropType::Picture && sidecar)
      if (auto it = sidecar->references.find(*s); it != sidecar->references.end()) v = it->second;
    if (node >= 0 && f.nodes()[size_t(node)].kind == Kind::Property) {
      const auto& n = f.nodes()[size_t(node)];
      // A value only the file knew, now without one (an entry a tab strip's
      // list no longer has): its line goes.
      if (std::holds_alternative<std::monostate>(v) && !control.cls().Find(def.name)) {
        edits.replace[n.line] = std::vector<std::string>{};
        continue;
      }
      // Unchanged in effect (changed and changed back): the line stays as it is.
      if (auto was = ToVariant(ParseValue(n.value), def.type, cp)) {
        ide::Variant coerced;
        if (CoerceValue(def.type, *was, coerced) && SameValue(coerced, v)) continue;
      }
      if (SameValue(v, def.defaultValue) && !AlwaysWritten(control, def)) {
        edits.replace[n.line] = std::vector<std::string>{};
        continue;
      }
      auto text = FormatValue(control.cls().name, def, v, cp);
      if (!text) throw ProjectFileError(f.path(), int(n.line) + 1, "cannot write the new value of " + name);
      // A flag only the file knows (Tab(0).Control(1).Enabled) is written
      // as its line wrote it: "0   'False", "-1  'True".
      if (ParsedValue old = ParseValue(n.value); !control.cls().Find(def.name) &&
          (old.comment == "True" || old.comment == "False") && (*text == "0" || *text == "-1"))
        text = *text == "0" ? "0   'False" : "-1  'True";
      edits.replace[n.line] = std::vector<std::string>{RenderedLine(n.indent, n.name, FileComment(f, name, *text, cp))};
    } else if (std::holds_alternative<std::monostate>(v) && !control.cls().Find(def.name)) {
      continue;
    } else if (!SameValue(v, def.defaultValue) || AlwaysWritten(control, def)) {
      auto text = FormatValue(control.cls().name, def, v, cp);
      if (!text) throw ProjectFileError(f.path(), int(b.line) + 1, "cannot write the new value of " + name);
      edits.before[InsertionLine(f, block, name)].push_back(RenderedLine(indent, name, FileComment(f, name, *text, cp)));
    }
  }
}

}  // namespace

void LoadDesigner(MemComponent& component, ComponentState& state, Warnings& warnings) {
  state.control_nodes.clear();
  state.form_node = state.file ? state.file->designer_root() : -1;
  auto d = component.designer();
  if (!d || state.form_node < 0) return;
  const ComponentFile& f = *state.file;
  SetNode(*d->form(), state.form_node);
  SidecarTexts texts(f, state.code_page);
  LoadProperties(*d->form(), f, state.form_node, state.code_page, texts, warnings);
  TakeContainerFont(*d->form(), state.code_page);
  state.left_out.clear();
  LoadChildren(*d, f, state.form_node, nullptr, state.code_page, texts, warnings, state.left_out);
  d->form()->ClearChanges();
  for (const auto& c : d->controls()) {
    c->ClearChanges();
    state.control_nodes.push_back(NodeOf(*c));
  }
}

void AdoptDesignerState(MemComponent& component, ComponentState& state) {
  state.form_node = state.file ? state.file->designer_root() : -1;
  auto d = component.designer();
  if (!d || state.form_node < 0) return;
  for (const auto& c : d->controls()) c->file_state.reset();
  SetNode(*d->form(), state.form_node);
  d->form()->ClearChanges();
  MapBlocks(*d, *state.file, state.form_node, state.code_page);
  state.control_nodes.clear();
  for (const auto& c : d->controls()) state.control_nodes.push_back(NodeOf(*c));
}

namespace {

// Marks as changed every property of `copy` whose value differs from the one
// `base` (the same control loaded from the source's file) has.
void MarkDifferences(MemControl& copy, const MemControl& base) {
  copy.ClearChanges();
  for (int i = 0; i < copy.PropertyCount(); ++i) {
    const PropDef& def = copy.PropertyDef(i);
    if (def.name == u"Name" || def.name == u"Index") continue;  // the Begin line and the mapping
    const int j = base.PropertyPosition(def.name);
    if (def.type == PropType::Font) {
      auto font = copy.FontAt(i);
      auto was = j >= 0 ? base.FontAt(j) : nullptr;
      if (font && was && !(font->values() == was->values())) copy.MarkChanged(i);
      continue;
    }
    const ide::Variant v = copy.ValueAt(i);
    if (j >= 0) {
      if (!SameValue(v, base.ValueAt(j))) copy.MarkChanged(i);
    } else if (copy.cls().intrinsic && !SameValue(v, def.defaultValue)) {
      // An ActiveX control's block lacks what the control does not have (a
      // tab index where it takes no focus): the copy's host-made value of it
      // is not written.
      copy.MarkChanged(i);
    }
  }
}

}  // namespace

void MapCopyOntoSource(MemComponent& copy, ComponentState& state) {
  auto d = copy.designer();
  state.control_nodes.clear();
  state.form_node = state.file ? state.file->designer_root() : -1;
  state.drop_unmapped_blocks = true;
  if (!d || state.form_node < 0) return;
  // The source as its file has it, whatever was changed in memory since.
  auto base = MemComponent::Create(copy.type(), state.loaded_name);
  ComponentState scratch = state;
  Warnings ignored;  // reported when the source was loaded
  LoadDesigner(*base, scratch, ignored);
  auto bd = base->designer();
  if (!bd) return;
  SetNode(*d->form(), state.form_node);
  MarkDifferences(*d->form(), *bd->form());
  std::vector<const MemControl*> taken;
  for (const auto& c : d->controls()) {
    c->file_state.reset();
    std::shared_ptr<MemControl> match;
    for (const auto& b : bd->controls())
      if (vb::EqualsIgnoreCaseAscii(b->name(), c->name()) && b->index() == c->index() &&
          std::find(taken.begin(), taken.end(), b.get()) == taken.end()) {
        match = b;
        break;
      }
    if (!match || NodeOf(*match) < 0) {
      c->ClearChanges();
      state.control_nodes.push_back(-1);
      continue;
    }
    taken.push_back(match.get());
    SetNode(*c, NodeOf(*match));
    MarkDifferences(*c, *match);
    state.control_nodes.push_back(NodeOf(*c));
  }
}

std::optional<std::string> RenamedReference(std::string_view value, const SidecarRenames& renames) {
  // $"F.frx":0035 or "F.frx":0035, maybe followed by blanks or a comment.
  size_t open = value.starts_with('$') ? 1 : 0;
  if (value.size() <= open || value[open] != '"') return std::nullopt;
  size_t close = value.find('"', open + 1);
  if (close == std::string_view::npos || close + 2 >= value.size() || value[close + 1] != ':') return std::nullopt;
  size_t digits = close + 2, end = digits;
  while (end < value.size() && std::isxdigit(static_cast<unsigned char>(value[end]))) ++end;
  if (end == digits || end - digits > 8) return std::nullopt;
  std::string_view file = value.substr(open + 1, close - open - 1);
  for (const auto& [old_name, base] : renames.old_names) {
    if (!EqualsIgnoreCase(file, old_name)) continue;
    const unsigned long long offset = std::strtoull(std::string(value.substr(digits, end - digits)).c_str(), nullptr, 16);
    char hex[24];
    std::snprintf(hex, sizeof hex, "%0*llX", int(end - digits), offset + base);
    return std::string(value.substr(0, open + 1)) + renames.new_name + "\":" + hex + std::string(value.substr(end));
  }
  return std::nullopt;
}

void ApplyDesignerChanges(MemComponent& component, ComponentState& state, std::vector<OutLine>& header,
                          const SidecarRenames& renames, NewSidecar* sidecar) {
  if (!state.file) return;
  const ComponentFile& f = *state.file;
  const CodePage& cp = state.code_page;
  size_t lf = 0;
  for (const auto& l : header) lf += l.end == LineEnd::Lf;
  LineEnd nl = lf * 2 > header.size() ? LineEnd::Lf : LineEnd::CrLf;

  Edits edits(header.size());
  auto d = component.designer();
  if (d && state.form_node >= 0) {
    ControlEdits(*d->form(), state.form_node, f, cp, edits, sidecar);
    for (const auto& c : d->controls()) {
      int node = NodeOf(*c);
      if (node >= 0) {
        ControlEdits(*c, node, f, cp, edits, sidecar);
        continue;
      }
      // A control added since loading: a block of its own, last in its container.
      auto parent = c->parent();
      if (parent && NodeOf(*parent) < 0) continue;  // written with its new container
      int parent_node = parent ? NodeOf(*parent) : state.form_node;
      const auto& pn = f.nodes()[size_t(parent_node)];
      NewBlock(*c, d->controls(), pn.indent + 3, cp, f.path(), edits.before[pn.end_line], sidecar);
    }
    // Controls deleted since loading: their blocks go with what they hold.
    std::vector<bool> present(f.nodes().size(), false);
    for (const auto& c : d->controls())
      if (int node = NodeOf(*c); node >= 0) present[size_t(node)] = true;
    for (int node : state.control_nodes) {
      if (node < 0 || present[size_t(node)]) continue;
      const auto& n = f.nodes()[size_t(node)];
      for (size_t l = n.line; l <= n.end_line; ++l) edits.replace[l] = std::vector<std::string>{};
    }
    if (state.drop_unmapped_blocks) {
      std::vector<bool> mapped(f.nodes().size(), false);
      for (const auto& c : d->controls())
        if (int node = NodeOf(*c); node >= 0) mapped[size_t(node)] = true;
      for (size_t i = 0; i < f.nodes().size(); ++i) {
        const auto& n = f.nodes()[i];
        if (n.kind != Kind::Block || mapped[i] || int(i) == state.form_node) continue;
        int up = n.parent;
        while (up >= 0 && up != state.form_node) up = f.nodes()[size_t(up)].parent;
        if (up != state.form_node) continue;
        for (size_t l = n.line; l <= n.end_line; ++l) edits.replace[l] = std::vector<std::string>{};
      }
    }
  }
  if (!renames.new_name.empty()) {
    // The copied binary files take the new name in every reference to them.
    auto fix = [&](std::string& line) {
      size_t eq = line.find('=');
      if (eq == std::string::npos) return;
      size_t at = line.find_first_not_of(' ', eq + 1);
      if (at == std::string::npos) return;
      if (auto moved = RenamedReference(std::string_view(line).substr(at), renames)) line.replace(at, std::string::npos, *moved);
    };
    for (const auto& n : f.nodes()) {
      if (n.kind != Kind::Property) continue;
      if (edits.replace[n.line]) {
        for (auto& l : *edits.replace[n.line]) fix(l);
      } else {
        fix(header[n.line].text);
      }
    }
  }

  bool any = false;
  for (size_t i = 0; i < header.size() && !any; ++i) any = !edits.before[i].empty() || edits.replace[i].has_value();
  if (!any) return;
  std::vector<OutLine> out;
  out.reserve(header.size() + 16);
  for (size_t i = 0; i < header.size(); ++i) {
    for (auto& l : edits.before[i]) out.push_back({std::move(l), nl});
    if (!edits.replace[i]) {
      out.push_back(std::move(header[i]));
      continue;
    }
    for (auto& l : *edits.replace[i]) out.push_back({std::move(l), header[i].end == LineEnd::None ? nl : header[i].end});
  }
  header = std::move(out);
}

void RenderNewDesigner(MemComponent& component, const CodePage& cp, std::vector<OutLine>& out, NewSidecar* sidecar) {
  auto d = component.designer();
  if (!d) return;
  std::vector<std::string> lines;
  NewBlock(*d->form(), d->controls(), 0, cp, {}, lines, sidecar);
  // Controls directly on the designer: NewBlock found them by parent, which
  // for top-level controls is empty rather than the form.
  std::vector<std::string> top;
  for (const auto& c : d->controls())
    if (!c->parent()) NewBlock(*c, d->controls(), 3, cp, {}, top, sidecar);
  lines.insert(lines.end() - 1, top.begin(), top.end());
  for (auto& l : lines) out.push_back({std::move(l), LineEnd::CrLf});
}

}  // namespace tarno::host::files
