#include "controls/control_layout.h"

#include <functional>

#include "controls/control_values.h"
#include "platform/vb_text.h"

namespace tarno::controls {

namespace {

bool Blank(const std::u16string& s) { return vb::Trim(s).empty(); }

// Numbers compared as numbers; text that is not numeric compared as text.
bool SameNumber(const ide::Variant& value, const std::u16string& held) {
  auto a = VariantNumber(value);
  auto b = vb::ToDouble(vb::Trim(held));
  if (a && b) return *a == *b;
  return VariantText(value) == held;
}

HeldFont HeldFromFont(ide::Font& f) {
  HeldFont h;
  h.Name = f.Name();
  h.Size = RoundHalfEven(f.Size());
  h.Bold = f.Bold();
  h.Italic = f.Italic();
  h.Strikethru = f.Strikethru();
  h.Underline = f.Underline();
  return h;
}

// A flag stays held only while every control can be read and agrees.
void Agree(bool& held, const std::function<bool()>& read) {
  try {
    if (read() != held) held = false;
  } catch (const ide::HostError&) {
    held = false;
  }
}

int SelectedCount(ide::VBForm* designer) {
  if (!designer) return 0;
  try {
    return designer->SelectedVBControls()->Count();
  } catch (const ide::HostError&) {
    return 0;
  }
}

LayoutResult CheckSelection(bool formModule, ide::VBForm* designer) {
  if (!formModule) return LayoutResult::NotForm;
  if (SelectedCount(designer) == 0) return LayoutResult::NoSelection;
  return LayoutResult::Done;
}

// Runs `write` on every selected control; a failure goes on with the next.
void ForEachSelected(ide::VBForm& designer, const std::function<void(ide::VBControl&)>& write) {
  std::shared_ptr<ide::VBControls> selected;
  int count = 0;
  try {
    selected = designer.SelectedVBControls();
    count = selected->Count();
  } catch (const ide::HostError&) {
    return;
  }
  for (int i = 0; i < count; ++i) {
    Step([&] { write(*selected->Item(i)); });
  }
}

}  // namespace

CommonValues GatherCommonValues(ide::VBE& vbe) {
  bool formModule = false;
  std::shared_ptr<ide::VBForm> designer;
  Step([&] {
    auto component = vbe.SelectedVBComponent();
    formModule = component && component->Type() == ide::ComponentType::VBForm;
    if (formModule) designer = component->Designer();
  });
  return GatherCommonValues(formModule, designer);
}

CommonValues GatherCommonValues(bool formModule, const std::shared_ptr<ide::VBForm>& designer) {
  CommonValues v;
  v.formModule = formModule;
  if (formModule) v.designer = designer;
  if (!v.formModule || !v.designer) return v;
  std::shared_ptr<ide::VBControls> selected;
  Step([&] {
    selected = v.designer->SelectedVBControls();
    v.count = selected->Count();
  });
  if (!selected || v.count <= 0) return v;
  if (v.count == 1) Step([&] { v.objectName = VariantText(ReadProperty(*selected->Item(0), u"Name")); });

  std::shared_ptr<ide::VBControl> first;
  Step([&] { first = selected->Item(0); });
  for (size_t k = 0; k < 4; ++k) {
    try {
      if (!first) throw ide::HostError("VBControls.Item", "no first control");
      v.positions[k] = VariantText(ReadProperty(*first, kPositionNames[k]));
    } catch (const ide::HostError&) {
      v.positionEnabled[k] = false;
    }
  }
  try {
    if (!first) throw ide::HostError("VBControls.Item", "no first control");
    v.font = HeldFromFont(*ReadFont(*first));
  } catch (const ide::HostError&) {
    v.fontEnabled = false;
  }
  try {
    if (!first || first->ControlObject() != u"Label") {
      v.backStyleEnabled = false;
    } else {
      v.backStyle = VariantText(ReadProperty(*first, u"BackStyle"));
    }
  } catch (const ide::HostError&) {
    v.backStyleEnabled = false;
  }

  for (int i = 0; i < v.count; ++i) {
    std::shared_ptr<ide::VBControl> c;
    try {
      c = selected->Item(i);
    } catch (const ide::HostError&) {
      continue;
    }
    for (size_t k = 0; k < 4; ++k) {
      if (Blank(v.positions[k])) continue;
      try {
        if (!SameNumber(ReadProperty(*c, kPositionNames[k]), v.positions[k])) v.positions[k].clear();
      } catch (const ide::HostError&) {
        v.positionEnabled[k] = false;
        v.positions[k].clear();
      }
    }
    if (!Blank(v.font.Name)) {
      std::shared_ptr<ide::Font> f;
      try {
        f = ReadFont(*c);
      } catch (const ide::HostError&) {
        v.fontEnabled = false;
      }
      if (f) {
        Step([&] {
          if (f->Name() != v.font.Name) v.font.Name.clear();
        });
        Agree(v.font.Bold, [&] { return f->Bold(); });
        Agree(v.font.Italic, [&] { return f->Italic(); });
        Agree(v.font.Strikethru, [&] { return f->Strikethru(); });
        Agree(v.font.Underline, [&] { return f->Underline(); });
      }
    }
    if (!Blank(v.backStyle)) {
      try {
        if (!SameNumber(ReadProperty(*c, u"BackStyle"), v.backStyle)) v.backStyle.clear();
      } catch (const ide::HostError&) {
        v.backStyleEnabled = false;
        v.backStyle.clear();
      }
    }
  }
  return v;
}

std::u16string LayoutMessage(LayoutResult r) {
  switch (r) {
    case LayoutResult::Done: return u"";
    case LayoutResult::NotForm: return vb::U("現在、フォームモジュール以外はサポートされていません");
    case LayoutResult::NoSelection: return vb::U("コントロールが選択されていませんので設定できません");
    case LayoutResult::NoValues: return vb::U("プロパティの値が入力されていませんので設定できません");
    case LayoutResult::NoFont: return vb::U("フォントが設定されていません");
    case LayoutResult::NoBackStyle: return vb::U("BackStyleプロパティが設定されていません");
  }
  return u"";
}

LayoutResult ApplyPositions(bool formModule, ide::VBForm* designer, const std::array<std::u16string, 4>& fields) {
  if (auto r = CheckSelection(formModule, designer); r != LayoutResult::Done) return r;
  bool any = false;
  for (const auto& f : fields) any = any || !Blank(f);
  if (!any) return LayoutResult::NoValues;
  ForEachSelected(*designer, [&](ide::VBControl& c) {
    for (size_t k = 0; k < 4; ++k) {
      if (!Blank(fields[k])) Step([&] { WriteProperty(c, kPositionNames[k], fields[k]); });
    }
  });
  return LayoutResult::Done;
}

LayoutResult ApplyFont(bool formModule, ide::VBForm* designer, const std::u16string& fontField, const HeldFont& font) {
  if (auto r = CheckSelection(formModule, designer); r != LayoutResult::Done) return r;
  if (Blank(fontField)) return LayoutResult::NoFont;
  ForEachSelected(*designer, [&](ide::VBControl& c) {
    auto f = ReadFont(c);
    Step([&] { f->SetName(font.Name); });
    Step([&] { f->SetSize(font.Size); });
    Step([&] { f->SetBold(font.Bold); });
    Step([&] { f->SetItalic(font.Italic); });
    Step([&] { f->SetStrikethru(font.Strikethru); });
    Step([&] { f->SetUnderline(font.Underline); });
    WriteFont(c, f);
  });
  return LayoutResult::Done;
}

LayoutResult ApplyBackStyle(bool formModule, ide::VBForm* designer, int listIndex) {
  if (auto r = CheckSelection(formModule, designer); r != LayoutResult::Done) return r;
  if (listIndex < 0) return LayoutResult::NoBackStyle;
  ForEachSelected(*designer, [&](ide::VBControl& c) {
    WriteProperty(c, u"BackStyle", static_cast<int16_t>(listIndex));
  });
  return LayoutResult::Done;
}

}  // namespace tarno::controls
