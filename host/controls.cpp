#include "host/controls.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

#include "host/faults.h"
#include "host/vb_syntax.h"
#include "platform/vb_text.h"

namespace tarno::host {

namespace {

std::string U8(std::u16string_view s) { return vb::ToUtf8(s); }

bool IsIdentifier(std::u16string_view name) {
  if (name.empty() || name.size() > 40) return false;
  char16_t c0 = name[0];
  if (!((c0 >= u'A' && c0 <= u'Z') || (c0 >= u'a' && c0 <= u'z') || (c0 >= 0x80 && c0 != 0x3000))) return false;
  for (char16_t c : name) {
    if (!syntax::IsWordChar(c)) return false;
  }
  return true;
}

class MemProperty : public ide::Property {
 public:
  MemProperty(std::shared_ptr<MemControl> c, int pos) : c_(std::move(c)), pos_(pos) {}
  std::u16string Name() override {
    CheckFault("Property.Name");
    return c_->PropertyDef(pos_).name;
  }
  ide::Variant Value() override {
    CheckFault("Property.Value");
    return c_->ValueAt(pos_);
  }
  void SetValue(const ide::Variant& v) override {
    CheckFault("Property.SetValue");
    c_->SetAt(pos_, v, "Property.SetValue");
  }
  std::shared_ptr<ide::Font> Object() override {
    CheckFault("Property.Object");
    return c_->FontAt(pos_);
  }
  void SetObject(const std::shared_ptr<ide::Font>& font) override {
    CheckFault("Property.SetObject");
    if (!c_->FontAt(pos_)) {
      throw ide::HostError("Property.SetObject", U8(c_->PropertyDef(pos_).name) + " is not an object property");
    }
    if (!font) throw ide::HostError("Property.SetObject", "no font given");
    FontValues v;
    if (auto* mem = dynamic_cast<MemFont*>(font.get())) {
      v = mem->values();
    } else {
      v.name = font->Name();
      v.size = font->Size();
      v.bold = font->Bold();
      v.italic = font->Italic();
      v.strikethru = font->Strikethru();
      v.underline = font->Underline();
      v.weight = v.bold ? 700 : 400;
    }
    c_->SetFontAt(pos_, v);
  }

 private:
  std::shared_ptr<MemControl> c_;
  int pos_;
};

class MemProperties : public ide::Properties {
 public:
  explicit MemProperties(std::shared_ptr<MemControl> c) : c_(std::move(c)) {}
  int Count() override {
    CheckFault("Properties.Count");
    return c_->PropertyCount();
  }
  std::shared_ptr<ide::Property> Item(int index) override {
    CheckFault("Properties.Item");
    if (index < 1 || index > c_->PropertyCount()) {
      throw ide::HostError("Properties.Item", "no property at position " + std::to_string(index));
    }
    return std::make_shared<MemProperty>(c_, index - 1);
  }
  std::shared_ptr<ide::Property> Item(const std::u16string& name) override {
    CheckFault("Properties.Item");
    int pos = c_->PropertyPosition(name);
    if (pos < 0) {
      throw ide::HostError("Properties.Item", U8(c_->cls().name) + " " + U8(c_->name()) + " has no property " + U8(name));
    }
    return std::make_shared<MemProperty>(c_, pos);
  }

 private:
  std::shared_ptr<MemControl> c_;
};

enum class ListKind { All, Selected, Contained, Inside };

class MemVBControls : public ide::VBControls {
 public:
  MemVBControls(std::shared_ptr<MemDesigner> d, ListKind kind, std::shared_ptr<MemControl> inside = nullptr)
      : d_(std::move(d)), kind_(kind), inside_(std::move(inside)) {}
  int Count() override {
    CheckFault("VBControls.Count");
    return static_cast<int>(List().size());
  }
  std::shared_ptr<ide::VBControl> Item(int index) override {
    CheckFault("VBControls.Item");
    auto list = List();
    int base = kind_ == ListKind::Selected ? 0 : 1;
    if (index < base || index - base >= static_cast<int>(list.size())) {
      throw ide::HostError("VBControls.Item", "no control at position " + std::to_string(index));
    }
    return list[static_cast<size_t>(index - base)];
  }
  std::shared_ptr<ide::VBControl> Add(const std::u16string& progId, const std::shared_ptr<ide::VBControl>& relative,
                                      bool container) override {
    CheckFault("VBControls.Add");
    if (kind_ != ListKind::Contained && kind_ != ListKind::Inside) {
      throw ide::HostError("VBControls.Add", "controls are added through ContainedVBControls");
    }
    std::shared_ptr<MemControl> parent = inside_;
    if (container) {
      auto rel = std::dynamic_pointer_cast<MemControl>(relative);
      if (!rel || rel->designer() != d_ || !rel->cls().container) {
        throw ide::HostError("VBControls.Add", "the relative control is not a container on this designer");
      }
      parent = rel;
    }
    return d_->NewControl(progId, parent, "VBControls.Add");
  }

 private:
  std::vector<std::shared_ptr<MemControl>> List() const {
    switch (kind_) {
      case ListKind::All: return d_->controls();
      case ListKind::Selected: return d_->selected();
      case ListKind::Contained: return d_->contained();
      case ListKind::Inside: {
        std::vector<std::shared_ptr<MemControl>> out;
        for (const auto& c : d_->controls())
          if (c->parent() == inside_) out.push_back(c);
        return out;
      }
    }
    return {};
  }
  std::shared_ptr<MemDesigner> d_;
  ListKind kind_;
  std::shared_ptr<MemControl> inside_;
};

}  // namespace

// --- fonts -------------------------------------------------------------------

void MemFont::Changed() {
  if (onChange_) onChange_();
}

std::u16string MemFont::Name() {
  CheckFault("Font.Name");
  return v_.name;
}
void MemFont::SetName(const std::u16string& v) {
  CheckFault("Font.SetName");
  if (v.empty()) throw ide::HostError("Font.SetName", "empty font name");
  v_.name = v;
  Changed();
}
double MemFont::Size() {
  CheckFault("Font.Size");
  return v_.size;
}
void MemFont::SetSize(double v) {
  CheckFault("Font.SetSize");
  if (!(v > 0 && v <= 2160)) throw ide::HostError("Font.SetSize", "invalid size " + std::to_string(v));
  v_.size = v;
  Changed();
}
bool MemFont::Bold() {
  CheckFault("Font.Bold");
  return v_.bold;
}
void MemFont::SetBold(bool v) {
  CheckFault("Font.SetBold");
  v_.bold = v;
  v_.weight = v ? 700 : 400;
  Changed();
}
bool MemFont::Italic() {
  CheckFault("Font.Italic");
  return v_.italic;
}
void MemFont::SetItalic(bool v) {
  CheckFault("Font.SetItalic");
  v_.italic = v;
  Changed();
}
bool MemFont::Strikethru() {
  CheckFault("Font.Strikethru");
  return v_.strikethru;
}
void MemFont::SetStrikethru(bool v) {
  CheckFault("Font.SetStrikethru");
  v_.strikethru = v;
  Changed();
}
bool MemFont::Underline() {
  CheckFault("Font.Underline");
  return v_.underline;
}
void MemFont::SetUnderline(bool v) {
  CheckFault("Font.SetUnderline");
  v_.underline = v;
  Changed();
}
int MemFont::Count() {
  CheckFault("Font.Count");
  return 8;
}

static const char16_t* const kFontItems[] = {u"Name",      u"Size",       u"Bold",   u"Italic",
                                             u"Strikethru", u"Underline", u"Weight", u"Charset"};

std::u16string MemFont::ItemName(int index) {
  CheckFault("Font.ItemName");
  if (index < 1 || index > 8) throw ide::HostError("Font.ItemName", "no item " + std::to_string(index));
  return kFontItems[index - 1];
}

ide::Variant MemFont::ItemValue(int index) {
  CheckFault("Font.ItemValue");
  switch (index) {
    case 1: return v_.name;
    case 2: return v_.size;
    case 3: return v_.bold;
    case 4: return v_.italic;
    case 5: return v_.strikethru;
    case 6: return v_.underline;
    case 7: return v_.weight;
    case 8: return v_.charset;
  }
  throw ide::HostError("Font.ItemValue", "no item " + std::to_string(index));
}

void MemFont::SetItemValue(int index, const ide::Variant& v) {
  CheckFault("Font.SetItemValue");
  static const PropType types[] = {PropType::String,  PropType::Double,  PropType::Boolean, PropType::Boolean,
                                   PropType::Boolean, PropType::Boolean, PropType::Integer, PropType::Integer};
  if (index < 1 || index > 8) throw ide::HostError("Font.SetItemValue", "no item " + std::to_string(index));
  ide::Variant c;
  if (!CoerceValue(types[index - 1], v, c)) {
    throw ide::HostError("Font.SetItemValue", "type mismatch for " + U8(kFontItems[index - 1]));
  }
  FontValues n = v_;
  switch (index) {
    case 1: n.name = std::get<std::u16string>(c); break;
    case 2: n.size = std::get<double>(c); break;
    case 3: n.bold = std::get<bool>(c); n.weight = n.bold ? 700 : 400; break;
    case 4: n.italic = std::get<bool>(c); break;
    case 5: n.strikethru = std::get<bool>(c); break;
    case 6: n.underline = std::get<bool>(c); break;
    case 7: n.weight = std::get<int16_t>(c); n.bold = n.weight > 550; break;
    case 8: n.charset = std::get<int16_t>(c); break;
  }
  if ((index == 1 && n.name.empty()) || (index == 2 && !(n.size > 0 && n.size <= 2160))) {
    throw ide::HostError("Font.SetItemValue", "invalid " + U8(kFontItems[index - 1]));
  }
  v_ = n;
  Changed();
}

// --- controls ----------------------------------------------------------------

MemControl::MemControl(std::shared_ptr<const ControlClass> cls) : cls_(std::move(cls)) {}

std::shared_ptr<MemControl> MemControl::Create(std::u16string_view classOrProgId, const std::u16string& name) {
  std::shared_ptr<const ControlClass> cls;
  if (const ControlClass* c = FindIntrinsicClass(classOrProgId)) {
    cls = std::shared_ptr<const ControlClass>(std::shared_ptr<void>(), c);
  } else {
    auto dot = classOrProgId.find(u'.');
    bool vbPrefix = classOrProgId.size() >= 3 && vb::EqualsIgnoreCaseAscii(classOrProgId.substr(0, 3), u"VB.");
    if (dot == std::u16string_view::npos || dot == 0 || dot + 1 >= classOrProgId.size() || vbPrefix) {
      throw std::invalid_argument("unknown control class \"" + U8(classOrProgId) + "\"");
    }
    cls = std::make_shared<const ControlClass>(ActiveXClass(classOrProgId));
  }
  std::shared_ptr<MemControl> c(new MemControl(std::move(cls)));
  c->InitSlots();
  c->set_name(name);
  return c;
}

void MemControl::InitSlots() {
  slots_.clear();
  for (size_t i = 0; i < cls_->props.size(); ++i) {
    const PropDef& d = cls_->props[i];
    Slot s;
    s.value = d.defaultValue;
    if (d.type == PropType::Font) {
      s.font = std::make_shared<MemFont>();
      std::weak_ptr<MemControl> self = weak_from_this();
      int pos = static_cast<int>(i);
      s.font->SetOnChange([self, pos] {
        if (auto c = self.lock()) c->MarkChanged(pos);
      });
    }
    if (vb::EqualsIgnoreCaseAscii(d.name, u"Name")) nameSlot_ = static_cast<int>(i);
    if (vb::EqualsIgnoreCaseAscii(d.name, u"Index")) indexSlot_ = static_cast<int>(i);
    slots_.push_back(std::move(s));
  }
}

std::u16string MemControl::ClassName() {
  CheckFault("VBControl.ClassName");
  return cls_->name;
}

std::u16string MemControl::ProgId() {
  CheckFault("VBControl.ProgId");
  return cls_->progId;
}

std::u16string MemControl::ControlObject() {
  CheckFault("VBControl.ControlObject");
  return cls_->name;
}

std::shared_ptr<ide::Properties> MemControl::Properties() {
  CheckFault("VBControl.Properties");
  return std::make_shared<MemProperties>(shared_from_this());
}

std::shared_ptr<ide::VBControls> MemControl::ContainedVBControls() {
  CheckFault("VBControl.ContainedVBControls");
  auto d = designer();
  if (!d || d->form().get() == this) throw ide::HostError("VBControl.ContainedVBControls", "not a control on a designer");
  if (!cls_->container) throw ide::HostError("VBControl.ContainedVBControls", U8(cls_->name) + " cannot contain controls");
  return std::make_shared<MemVBControls>(d, ListKind::Inside, shared_from_this());
}

std::shared_ptr<ide::Properties> PropertiesOf(const std::shared_ptr<MemControl>& c) {
  return std::make_shared<MemProperties>(c);
}

std::u16string MemControl::name() const { return std::get<std::u16string>(slots_[size_t(nameSlot_)].value); }

void MemControl::set_name(const std::u16string& name) { slots_[size_t(nameSlot_)].value = name; }

int MemControl::index() const {
  if (indexSlot_ < 0) return -1;
  return std::get<int16_t>(slots_[size_t(indexSlot_)].value);
}

void MemControl::set_index(int index) {
  if (indexSlot_ >= 0) slots_[size_t(indexSlot_)].value = static_cast<int16_t>(index);
}

const PropDef& MemControl::PropertyDef(int position) const {
  size_t n = cls_->props.size();
  size_t p = static_cast<size_t>(position);
  return p < n ? cls_->props[p] : extras_.at(p - n);
}

int MemControl::PropertyPosition(std::u16string_view name) const {
  for (int i = 0; i < PropertyCount(); ++i) {
    if (vb::EqualsIgnoreCaseAscii(PropertyDef(i).name, name)) return i;
  }
  return -1;
}

ide::Variant MemControl::ValueAt(int position) const {
  const Slot& s = slots_.at(size_t(position));
  if (s.font) return s.font->values().name;
  return s.value;
}

std::shared_ptr<MemFont> MemControl::FontAt(int position) const { return slots_.at(size_t(position)).font; }

std::optional<ide::Variant> MemControl::Get(std::u16string_view name) const {
  int pos = PropertyPosition(name);
  if (pos < 0) return std::nullopt;
  return ValueAt(pos);
}

std::shared_ptr<MemFont> MemControl::GetFont(std::u16string_view name) const {
  int pos = PropertyPosition(name);
  return pos < 0 ? nullptr : FontAt(pos);
}

void MemControl::AddProperty(std::u16string_view name, PropType type, const ide::Variant& value) {
  int pos = PropertyPosition(name);
  if (pos < 0) {
    extras_.push_back(PropDef{std::u16string(name), type, value});
    Slot s;
    s.value = value;
    pos = PropertyCount();
    if (type == PropType::Font) {
      s.font = std::make_shared<MemFont>();
      std::weak_ptr<MemControl> self = weak_from_this();
      s.font->SetOnChange([self, pos] {
        if (auto c = self.lock()) c->MarkChanged(pos);
      });
    }
    slots_.push_back(std::move(s));
  } else {
    slots_[size_t(pos)].value = value;
  }
  slots_[size_t(pos)].loaded = true;
  slots_[size_t(pos)].changed = false;
}

void MemControl::DropExtenderProperty(std::u16string_view name) {
  if (cls_->intrinsic || !cls_->Find(name)) return;
  ControlClass copy = *cls_;
  std::erase_if(copy.props, [&](const PropDef& d) { return vb::EqualsIgnoreCaseAscii(d.name, name); });
  const std::u16string keepName = this->name();
  const int keepIndex = index();
  cls_ = std::make_shared<const ControlClass>(std::move(copy));
  extras_.clear();
  InitSlots();
  set_name(keepName);
  set_index(keepIndex);
}

bool MemControl::Load(std::u16string_view name, const ide::Variant& value) {
  int pos = PropertyPosition(name);
  if (pos < 0) {
    if (cls_->intrinsic) return false;
    AddProperty(name, TypeOfValue(value), value);
    return true;
  }
  Slot& s = slots_[size_t(pos)];
  if (s.font) {
    auto* str = std::get_if<std::u16string>(&value);
    if (!str || str->empty()) return false;
    FontValues v = s.font->values();
    v.name = *str;
    s.font->Assign(v);
  } else {
    ide::Variant c;
    if (!CoerceValue(PropertyDef(pos).type, value, c)) return false;
    s.value = std::move(c);
  }
  s.loaded = true;
  s.changed = false;
  return true;
}

bool MemControl::LoadFont(std::u16string_view name, const FontValues& font) {
  int pos = PropertyPosition(name);
  if (pos < 0) {
    if (cls_->intrinsic) return false;
    AddProperty(name, PropType::Font, std::monostate{});
    pos = PropertyPosition(name);
  }
  Slot& s = slots_[size_t(pos)];
  if (!s.font) return false;
  s.font->Assign(font);
  s.loaded = true;
  s.changed = false;
  return true;
}

void MemControl::Set(std::u16string_view name, const ide::Variant& value, const char* operation) {
  int pos = PropertyPosition(name);
  if (pos < 0) throw ide::HostError(operation, U8(cls_->name) + " " + U8(this->name()) + " has no property " + U8(name));
  SetAt(pos, value, operation);
}

void MemControl::SetAt(int position, const ide::Variant& value, const char* operation) {
  const PropDef& def = PropertyDef(position);
  Slot& s = slots_.at(size_t(position));
  if (s.font) {
    // A font property's value is its font's name.
    auto* str = std::get_if<std::u16string>(&value);
    if (!str || str->empty()) throw ide::HostError(operation, "type mismatch for " + U8(def.name));
    FontValues v = s.font->values();
    v.name = *str;
    s.font->Assign(v);
    MarkChanged(position);
    return;
  }
  ide::Variant c;
  if (!CoerceValue(def.type, value, c)) throw ide::HostError(operation, "type mismatch for " + U8(def.name));
  if (!AcceptedValue(*cls_, def, value, c)) throw ide::HostError(operation, "invalid property value for " + U8(def.name));
  auto d = designer();
  if (position == nameSlot_) {
    const auto& newName = std::get<std::u16string>(c);
    if (!IsIdentifier(newName)) throw ide::HostError(operation, "invalid name \"" + U8(newName) + "\"");
    if (d && d->form().get() == this) {
      if (auto owner = d->owner()) {
        owner->Rename(newName, operation);
        return;
      }
    } else if (d) {
      for (const auto& other : d->controls()) {
        if (other.get() != this && vb::EqualsIgnoreCaseAscii(other->name(), newName) &&
            (other->index() < 0 || index() < 0 || other->index() == index())) {
          throw ide::HostError(operation, "the name \"" + U8(newName) + "\" is already used");
        }
      }
    }
  } else if (position == indexSlot_) {
    int16_t i = std::get<int16_t>(c);
    if (i < -1) throw ide::HostError(operation, "invalid index " + std::to_string(i));
    if (d && i != index()) {
      for (const auto& other : d->controls()) {
        if (other.get() == this || !vb::EqualsIgnoreCaseAscii(other->name(), name())) continue;
        if (i < 0) throw ide::HostError(operation, "other controls share the array name " + U8(name()));
        if (other->index() == i) {
          throw ide::HostError(operation, "index " + std::to_string(i) + " of " + U8(name()) + " is taken");
        }
      }
    }
  } else if (d && d->form().get() != this && vb::EqualsIgnoreCaseAscii(def.name, u"TabIndex")) {
    // The designer keeps tab indexes 0 .. n-1: moving one shifts the others.
    int16_t i = std::get<int16_t>(c);
    if (i < 0) throw ide::HostError(operation, "invalid TabIndex " + std::to_string(i));
    d->MoveInTabOrder(*this, i);
    return;
  }
  if (s.value == c) {
    // Same value: VB still takes the write, but nothing changes on disk.
    return;
  }
  s.value = std::move(c);
  MarkChanged(position);
}

void MemControl::StoreValue(int position, const ide::Variant& value) {
  Slot& s = slots_.at(size_t(position));
  if (s.value == value) return;
  s.value = value;
  MarkChanged(position);
}

void MemControl::SetFontAt(int position, const FontValues& font) {
  Slot& s = slots_.at(size_t(position));
  if (!s.font) return;
  s.font->Assign(font);
  MarkChanged(position);
}

void MemControl::MarkChanged(int position) {
  slots_.at(size_t(position)).changed = true;
  if (auto d = designer()) d->MarkDirty();
}

void MemControl::SetInitial(std::u16string_view name, const ide::Variant& value) {
  int pos = PropertyPosition(name);
  if (pos < 0) return;
  ide::Variant c;
  if (CoerceValue(PropertyDef(pos).type, value, c)) slots_[size_t(pos)].value = std::move(c);
}

bool MemControl::IsLoaded(std::u16string_view name) const {
  int pos = PropertyPosition(name);
  return pos >= 0 && slots_[size_t(pos)].loaded;
}

bool MemControl::IsChanged(std::u16string_view name) const {
  int pos = PropertyPosition(name);
  return pos >= 0 && slots_[size_t(pos)].changed;
}

std::vector<std::u16string> MemControl::ChangedProperties() const {
  std::vector<std::u16string> out;
  for (int i = 0; i < PropertyCount(); ++i) {
    if (slots_[size_t(i)].changed) out.push_back(PropertyDef(i).name);
  }
  return out;
}

void MemControl::ClearChanges() {
  for (auto& s : slots_) s.changed = false;
}

std::shared_ptr<MemControl> MemControl::Copy() const {
  std::shared_ptr<MemControl> c(new MemControl(cls_));
  c->nameSlot_ = nameSlot_;
  c->indexSlot_ = indexSlot_;
  c->extras_ = extras_;
  for (size_t i = 0; i < slots_.size(); ++i) {
    Slot s;
    s.value = slots_[i].value;
    if (slots_[i].font) {
      s.font = std::make_shared<MemFont>(slots_[i].font->values());
      std::weak_ptr<MemControl> self = c;
      const int pos = static_cast<int>(i);
      s.font->SetOnChange([self, pos] {
        if (auto copy = self.lock()) copy->MarkChanged(pos);
      });
    }
    c->slots_.push_back(std::move(s));
  }
  return c;
}

void MemControl::Attach(const std::weak_ptr<MemDesigner>& designer, const std::weak_ptr<MemControl>& parent) {
  designer_ = designer;
  parent_ = parent;
}

// --- designers ---------------------------------------------------------------

std::shared_ptr<MemDesigner> MemDesigner::Create(int componentType, const std::u16string& name) {
  const ControlClass* cls = DesignerClass(componentType);
  if (!cls) return nullptr;
  std::shared_ptr<MemDesigner> d(new MemDesigner());
  d->form_ = MemControl::Create(cls->name, name);
  d->form_->Attach(d, {});
  return d;
}

std::shared_ptr<ide::VBControls> MemDesigner::VBControls() {
  CheckFault("VBForm.VBControls");
  return std::make_shared<MemVBControls>(shared_from_this(), ListKind::All);
}

std::shared_ptr<ide::VBControls> MemDesigner::SelectedVBControls() {
  CheckFault("VBForm.SelectedVBControls");
  return std::make_shared<MemVBControls>(shared_from_this(), ListKind::Selected);
}

std::shared_ptr<ide::VBControls> MemDesigner::ContainedVBControls() {
  CheckFault("VBForm.ContainedVBControls");
  return std::make_shared<MemVBControls>(shared_from_this(), ListKind::Contained);
}

std::vector<std::shared_ptr<MemControl>> MemDesigner::contained() const {
  std::vector<std::shared_ptr<MemControl>> out;
  for (const auto& c : controls_) {
    if (!c->parent()) out.push_back(c);
  }
  return out;
}

std::shared_ptr<MemControl> MemDesigner::Control(std::u16string_view name, int index) const {
  for (const auto& c : controls_) {
    if (vb::EqualsIgnoreCaseAscii(c->name(), name) && (index < 0 || c->index() == index)) return c;
  }
  return nullptr;
}

void MemDesigner::Insert(const std::shared_ptr<MemControl>& control, const std::shared_ptr<MemControl>& parent) {
  control->Attach(weak_from_this(), parent);
  if (!parent) {
    controls_.push_back(control);
    return;
  }
  auto isInside = [&](const std::shared_ptr<MemControl>& c) {
    for (auto p = c->parent(); p; p = p->parent()) {
      if (p == parent) return true;
    }
    return false;
  };
  size_t at = 0;
  while (at < controls_.size() && controls_[at] != parent) ++at;
  ++at;
  while (at < controls_.size() && isInside(controls_[at])) ++at;
  controls_.insert(controls_.begin() + static_cast<std::ptrdiff_t>(at), control);
}

void MemDesigner::RemoveNewControl(const std::shared_ptr<MemControl>& control, const char* operation) {
  auto inside = [&](const std::shared_ptr<MemControl>& c) {
    for (auto p = c; p; p = p->parent())
      if (p == control) return true;
    return false;
  };
  if (!control || control->designer().get() != this) throw ide::HostError(operation, "the control is not on this designer");
  for (const auto& c : controls_)
    if (inside(c) && c->file_state) throw ide::HostError(operation, "a control read from the file cannot be removed");
  std::erase_if(controls_, inside);
  std::erase_if(selected_, inside);
  MarkDirty();
}

void MemDesigner::InsertCopy(const std::shared_ptr<MemControl>& copy, const std::shared_ptr<MemControl>& parent,
                             const char* operation) {
  if (parent && (parent->designer().get() != this || !(parent->cls().container || !parent->cls().intrinsic)))
    throw ide::HostError(operation, "the container is not a container on this designer");
  if (copy->cls().designer) throw ide::HostError(operation, "a designer cannot be placed on a designer");
  if (!IsIdentifier(copy->name())) throw ide::HostError(operation, "invalid name \"" + U8(copy->name()) + "\"");
  for (const auto& other : controls_)
    if (vb::EqualsIgnoreCaseAscii(other->name(), copy->name()) &&
        (other->index() < 0 || copy->index() < 0 || other->index() == copy->index()))
      throw ide::HostError(operation, "the name \"" + U8(copy->name()) + "\" is already used");
  if (copy->Has(u"TabIndex")) {
    int16_t next = 0;
    for (const auto& other : controls_)
      if (other->Has(u"TabIndex")) ++next;
    copy->SetInitial(u"TabIndex", next);
  }
  Insert(copy, parent);
  MarkDirty();
}

std::u16string MemDesigner::HoldBinary(std::string bytes) {
  std::u16string name = u"<" + vb::FromInt(next_held_++) + u">";
  held_[name] = std::move(bytes);
  return name;
}

const std::string* MemDesigner::HeldBinary(std::u16string_view file) const {
  auto it = held_.find(std::u16string(file));
  return it == held_.end() ? nullptr : &it->second;
}

namespace {

// A tab strip (SSTab) lists each tab's controls by name, "Text1(2)" for one
// of an array, as Tab(t).Control(i) with Tab(t).Control(i).Enabled on the
// current tab and Tab(t).ControlCount: the entries after a removed control
// move up one, the last ones go (their lines with them).
void DropFromTabLists(MemControl& tabs, const MemControl& gone, MemDesigner::Removal& removal) {
  std::u16string listed = gone.name();
  if (gone.index() >= 0) listed += u"(" + vb::FromInt(gone.index()) + u")";
  auto set = [&](const std::u16string& name, const ide::Variant& v) {
    const int pos = tabs.PropertyPosition(name);
    if (pos < 0) return;
    removal.values.emplace_back(tabs.shared_from_this(), pos, tabs.ValueAt(pos));
    tabs.StoreValue(pos, v);
  };
  for (int t = 0;; ++t) {
    const std::u16string tab = u"Tab(" + vb::FromInt(t) + u").";
    const auto count = tabs.Get(tab + u"ControlCount");
    if (!count) return;
    const int n = static_cast<int>(std::visit(
        [](const auto& x) -> double {
          if constexpr (std::is_arithmetic_v<std::decay_t<decltype(x)>>) return static_cast<double>(x);
          else return 0;
        },
        *count));
    auto entry = [&](int i) { return tab + u"Control(" + vb::FromInt(i) + u")"; };
    int at = -1;
    for (int i = 0; i < n && at < 0; ++i) {
      auto v = tabs.Get(entry(i));
      auto* text = v ? std::get_if<std::u16string>(&*v) : nullptr;
      if (text && vb::EqualsIgnoreCaseAscii(*text, listed)) at = i;
    }
    if (at < 0) continue;
    for (int i = at; i + 1 < n; ++i) {
      set(entry(i), *tabs.Get(entry(i + 1)));
      if (auto enabled = tabs.Get(entry(i + 1) + u".Enabled"); enabled && tabs.Has(entry(i) + u".Enabled"))
        set(entry(i) + u".Enabled", *enabled);
    }
    set(entry(n - 1), std::monostate{});
    set(entry(n - 1) + u".Enabled", std::monostate{});
    std::visit(
        [&](const auto& x) {
          using T = std::decay_t<decltype(x)>;
          if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) set(tab + u"ControlCount", T(n - 1));
        },
        *count);
    return;
  }
}

}  // namespace

MemDesigner::Removal MemDesigner::RemoveControls(const std::vector<std::shared_ptr<MemControl>>& controls,
                                                 const char* operation) {
  for (const auto& c : controls)
    if (!c || c->designer().get() != this || c == form_ ||
        std::find(controls_.begin(), controls_.end(), c) == controls_.end())
      throw ide::HostError(operation, "the control is not on this designer");
  auto inside = [&](const std::shared_ptr<MemControl>& c) {
    for (auto p = c; p; p = p->parent())
      if (std::find(controls.begin(), controls.end(), p) != controls.end()) return true;
    return false;
  };
  Removal removal;
  removal.selected = selected_;
  std::vector<std::shared_ptr<MemControl>> kept;
  for (size_t i = 0; i < controls_.size(); ++i) {
    if (inside(controls_[i])) removal.controls.emplace_back(i, controls_[i]);
    else kept.push_back(controls_[i]);
  }
  // The places the removed controls held in the tab order (one read from a
  // file whose block has no TabIndex line holds none).
  std::vector<int16_t> freed;
  for (const auto& [at, c] : removal.controls)
    if (int pos = c->PropertyPosition(u"TabIndex"); pos >= 0 && (c->IsLoaded(u"TabIndex") || !c->file_state))
      freed.push_back(std::get<int16_t>(c->ValueAt(pos)));
  for (const auto& c : kept)
    if (int pos = c->PropertyPosition(u"TabIndex"); pos >= 0)
      removal.tab_indexes.emplace_back(c, std::get<int16_t>(c->ValueAt(pos)));
  for (const auto& [at, c] : removal.controls)
    if (auto p = c->parent(); p && !inside(p) && p->cls().name == u"SSTab") DropFromTabLists(*p, *c, removal);
  controls_ = std::move(kept);
  std::erase_if(selected_, inside);
  for (const auto& [at, c] : removal.controls) c->Attach({}, c->parent());
  // The tab order closes up over those places, keeping the others' order.
  for (const auto& [c, tab] : removal.tab_indexes) {
    const auto before = std::count_if(freed.begin(), freed.end(), [t = tab](int16_t f) { return f < t; });
    if (before > 0) c->StoreValue(c->PropertyPosition(u"TabIndex"), static_cast<int16_t>(tab - before));
  }
  MarkDirty();
  return removal;
}

void MemDesigner::Restore(const Removal& removal) {
  for (const auto& [at, c] : removal.controls) {
    c->Attach(weak_from_this(), c->parent());
    controls_.insert(controls_.begin() + static_cast<std::ptrdiff_t>(std::min(at, controls_.size())), c);
  }
  for (const auto& [c, tab] : removal.tab_indexes) c->StoreValue(c->PropertyPosition(u"TabIndex"), tab);
  for (auto it = removal.values.rbegin(); it != removal.values.rend(); ++it)
    std::get<0>(*it)->StoreValue(std::get<1>(*it), std::get<2>(*it));
  selected_ = removal.selected;
  MarkDirty();
}

std::shared_ptr<MemControl> MemDesigner::AddControl(std::u16string_view classOrProgId, const std::u16string& name,
                                                    const std::shared_ptr<MemControl>& parent, int index) {
  if (parent) {
    if (parent->designer().get() != this || parent.get() == form_.get()) {
      throw std::invalid_argument("the container of " + U8(name) + " is not a control of this designer");
    }
  }
  auto c = MemControl::Create(classOrProgId, name);
  // A file also nests menus in menus and controls in ActiveX containers
  // (tab strips, user controls), which the catalog cannot know.
  if (parent && !parent->cls().container && parent->cls().intrinsic &&
      !(parent->cls().name == u"Menu" && c->cls().name == u"Menu")) {
    throw std::invalid_argument(U8(parent->name()) + " cannot contain controls");
  }
  c->set_index(index);
  Insert(c, parent);
  return c;
}

std::u16string MemDesigner::DefaultControlName(const ControlClass& cls) const {
  for (int n = 1;; ++n) {
    std::u16string candidate = cls.defaultName + vb::FromInt(n);
    if (!Control(candidate) && !vb::EqualsIgnoreCaseAscii(candidate, form_->name())) return candidate;
  }
}

void MemDesigner::TakeActiveXProperties(MemControl& control) const {
  // The IDE knows an ActiveX control's properties from its type library;
  // here the controls loaded from files are what is known of the class.
  auto owner = owner_.lock();
  if (!owner) return;
  for (const auto& d : owner->OpenDesigners())
    for (const auto& other : d->controls()) {
      if (other->cls().intrinsic || !vb::EqualsIgnoreCaseAscii(other->cls().progId, control.cls().progId)) continue;
      for (int i = int(other->cls().props.size()); i < other->PropertyCount(); ++i) {
        const PropDef& def = other->PropertyDef(i);
        if (!control.Has(def.name)) control.AddProperty(def.name, def.type, std::monostate{});
      }
    }
}

std::shared_ptr<MemControl> MemDesigner::NewControl(std::u16string_view progId,
                                                    const std::shared_ptr<MemControl>& parent,
                                                    const char* operation) {
  if (parent && (parent->designer().get() != this || !parent->cls().container)) {
    throw ide::HostError(operation, "the container is not a container on this designer");
  }
  std::shared_ptr<MemControl> c;
  try {
    c = MemControl::Create(progId, u"");
  } catch (const std::invalid_argument& e) {
    throw ide::HostError(operation, e.what());
  }
  if (c->cls().designer) throw ide::HostError(operation, "a designer cannot be placed on a designer");
  if (!c->cls().intrinsic) TakeActiveXProperties(*c);
  c->set_name(DefaultControlName(c->cls()));
  if (int tab = c->PropertyPosition(u"TabIndex"); tab >= 0) {
    int16_t next = 0;
    for (const auto& other : controls_) {
      if (other->Has(u"TabIndex")) ++next;
    }
    c->SetInitial(u"TabIndex", next);
  }
  // An intrinsic control shows its name; what an ActiveX control starts with
  // is its own affair, so its properties stay unset.
  for (const char16_t* text : {u"Caption", u"Text"}) {
    if (c->Has(text) && c->cls().intrinsic) c->SetInitial(text, c->name());
  }
  Insert(c, parent);
  // A new control takes its container's font, as VB gives it.
  if (auto font = c->GetFont()) {
    std::shared_ptr<MemFont> from;
    for (auto p = parent; p && !from; p = p->parent()) from = p->GetFont();
    if (!from) from = form_->GetFont();
    if (from) font->Assign(from->values());
  }
  MarkDirty();
  return c;
}

void MemDesigner::MoveInTabOrder(MemControl& control, int tabIndex) {
  std::vector<MemControl*> order;
  for (const auto& c : controls_) {
    if (c.get() != &control && c->Has(u"TabIndex")) order.push_back(c.get());
  }
  auto tabOf = [](const MemControl* c) { return std::get<int16_t>(*c->Get(u"TabIndex")); };
  std::stable_sort(order.begin(), order.end(), [&](auto* a, auto* b) { return tabOf(a) < tabOf(b); });
  size_t at = std::min(static_cast<size_t>(tabIndex), order.size());
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), &control);
  for (size_t i = 0; i < order.size(); ++i) order[i]->StoreValue(order[i]->PropertyPosition(u"TabIndex"), static_cast<int16_t>(i));
}

void MemDesigner::MarkDirty() {
  if (auto o = owner()) o->MarkDirty();
}

}  // namespace tarno::host
