#include "controls/style_apply.h"

#include <functional>

#include "controls/control_values.h"
#include "platform/vb_text.h"

namespace tarno::controls {

namespace {

// Enabled and Locked are stored as the index of a "True", "False" list.
bool ListBoolean(int16_t index) { return index == 0; }

class PatternWriter {
 public:
  PatternWriter(ide::VBControl& c, const clsCotrolStyle& p) : c_(c), p_(p), skipEmpty_(p.FlgValue() == 1) {}

  void Plain(const char16_t* name, const ide::Variant& v) {
    Step([&] { WriteProperty(c_, name, v); });
  }
  // (n): zero or negative values are left alone when the switch is on.
  void Number(const char16_t* name, int32_t v) {
    if (skipEmpty_ && v <= 0) return;
    Plain(name, v);
  }
  // (t): blank texts are left alone when the switch is on.
  void Text(const char16_t* name, const std::u16string& v) {
    if (skipEmpty_ && vb::Trim(v).empty()) return;
    Plain(name, v);
  }
  void Font() {
    Step([&] {
      auto f = ReadFont(c_);
      Step([&] { f->SetName(p_.Font()); });
      Step([&] { f->SetSize(p_.FontSize()); });
      Step([&] { f->SetBold(p_.FontBold()); });
      Step([&] { f->SetItalic(p_.FontItalic()); });
      Step([&] { f->SetStrikethru(p_.FontStrikethru()); });
      Step([&] { f->SetUnderline(p_.FontUnderline()); });
      WriteFont(c_, f);
    });
  }

 private:
  ide::VBControl& c_;
  const clsCotrolStyle& p_;
  bool skipEmpty_;
};

void WritePattern(ide::VBControl& c, const clsCotrolStyle& p) {
  PatternWriter w(c, p);
  switch (p.CType()) {
    case 0:
      w.Plain(u"Alignment", p.Alignment());
      w.Plain(u"Enabled", ListBoolean(p.Enabled()));
      w.Font();
      w.Number(u"Height", p.Height());
      w.Plain(u"IMEMode", p.IMEMode());
      w.Plain(u"Locked", ListBoolean(p.Locked()));
      w.Number(u"MaxLength", p.MaxLength());
      w.Text(u"Tag", p.Tag());
      w.Number(u"Width", p.Width());
      break;
    case 1:
      w.Plain(u"Alignment", p.Alignment());
      w.Plain(u"BackStyle", p.BackStyle());
      w.Plain(u"Enabled", ListBoolean(p.Enabled()));
      w.Font();
      w.Number(u"Height", p.Height());
      w.Text(u"Tag", p.Tag());
      w.Number(u"Width", p.Width());
      break;
    case 2:
      w.Text(u"Caption", p.Caption());
      w.Plain(u"Enabled", ListBoolean(p.Enabled()));
      w.Font();
      w.Number(u"Height", p.Height());
      w.Number(u"Left", p.Left());
      w.Text(u"Tag", p.Tag());
      w.Number(u"Top", p.Top());
      w.Number(u"Width", p.Width());
      break;
  }
}

}  // namespace

std::u16string PatternTypeName(int16_t ctype) {
  switch (ctype) {
    case 0: return u"TextBox";
    case 1: return u"Label";
    case 2: return u"CommandButton";
  }
  return u"";
}

std::u16string StyleApplyMessage(StyleApplyResult r) {
  switch (r) {
    case StyleApplyResult::Done: return u"";
    case StyleApplyResult::NotForm: return vb::U("現在、フォームモジュール以外はサポートされていません");
    case StyleApplyResult::NoSelection: return vb::U("コントロールが選択されていませんので設定できません");
    case StyleApplyResult::TypeMismatch: return vb::U("タイプが異なるコントロールが選択されています");
  }
  return u"";
}

StyleApplyResult ApplyStylePattern(const std::shared_ptr<ide::VBForm>& designer, const clsCotrolStyle& pattern) {
  if (!designer) return StyleApplyResult::NotForm;
  std::shared_ptr<ide::VBControls> selected;
  int count = 0;
  try {
    selected = designer->SelectedVBControls();
    count = selected->Count();
  } catch (const ide::HostError&) {
    count = 0;
  }
  if (count == 0) return StyleApplyResult::NoSelection;
  const std::u16string type = PatternTypeName(pattern.CType());
  std::vector<std::shared_ptr<ide::VBControl>> controls;
  for (int i = 0; i < count; ++i) {
    // A control whose class cannot be read is not known to be of the type.
    try {
      auto c = selected->Item(i);
      if (type.empty() || vb::Trim(c->ClassName()) != type) return StyleApplyResult::TypeMismatch;
      controls.push_back(std::move(c));
    } catch (const ide::HostError&) {
      return StyleApplyResult::TypeMismatch;
    }
  }
  for (const auto& c : controls) WritePattern(*c, pattern);
  return StyleApplyResult::Done;
}

std::vector<int32_t> LivePatternNumbers(const CotrolStyleCollection& patterns) {
  std::vector<int32_t> out;
  for (int32_t n = 1; n <= patterns.Count(); ++n)
    if (patterns.Item(n).DelFlg() == 0) out.push_back(n);
  return out;
}

bool PatternNameTaken(const CotrolStyleCollection& patterns, std::u16string_view name) {
  const std::u16string wanted = vb::Trim(name);
  for (const auto& p : patterns)
    if (vb::Trim(p->PatrnName()) == wanted) return true;
  return false;
}

bool NumberFieldValid(std::u16string_view text, bool zeroAllowed) {
  if (!vb::IsNumeric(text)) return false;
  auto v = vb::ToLong(text);
  if (!v) return false;
  return zeroAllowed || *v != 0;
}

bool MaxLengthValid(std::u16string_view text) {
  if (!vb::IsNumeric(text)) return false;
  auto v = vb::ToLong(text);
  return v && *v >= 0 && *v <= 65535;
}

}  // namespace tarno::controls
