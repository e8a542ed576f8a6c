#include "project/form_copy.h"

#include <algorithm>
#include <array>
#include <vector>

#include "host/mem_host.h"
#include "platform/vb_text.h"

namespace tarno::project {

namespace ct = ide::ComponentType;

std::u16string ListedKindText(int type) {
  switch (type) {
    case ct::StdModule: return vb::U("標準 モジュール");
    case ct::ClassModule: return vb::U("クラス モジュール");
    case ct::VBForm: return vb::U("フォーム モジュール");
    case ct::MDIForm: return vb::U("MDIフォーム モジュール");
    case ct::PropPage: return vb::U("プロパティページ");
    case ct::UserControl: return vb::U("ユーザー コントロール");
    case ct::DocObject: return vb::U("ユーザー ドキュメント");
    default: return u"";
  }
}

bool ControlsCopyable(int type) {
  return type == ct::VBForm || type == ct::MDIForm || type == ct::UserControl || type == ct::ActiveXDesigner;
}

namespace {

// Tested one after the other, in this order.
constexpr std::array<char16_t, 30> kForbidden = {u'!', u'"', u'#', u'$', u'%', u'&', u'\'', u'=', u'~', u'^',
                                                 u'|', u'\\', u'(', u')', u'[', u']', u'{', u'}', u'<', u'>',
                                                 u'@', u':', u';', u'`', u'-', u'+', u'*', u'/', u'.', u','};

bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Non-ASCII characters VB takes in a name: letters of the code page, not its
// spaces and symbols (the full-width space, ideographic punctuation, full-width forms
// of the ASCII symbols).
bool IsNameLetter(char16_t c) {
  if (IsAsciiLetter(c)) return true;
  if (c < 0x80) return false;
  if (c == 0x3000) return false;                           // full-width space
  if (c >= 0x3001 && c <= 0x3004) return false;            // 、。〃〄
  if (c >= 0x3008 && c <= 0x3020) return false;            // brackets and marks
  if (c >= 0xFF01 && c <= 0xFF0F) return false;            // full-width ! to /
  if (c >= 0xFF1A && c <= 0xFF20) return false;            // full-width : to @
  if (c >= 0xFF3B && c <= 0xFF40) return false;            // full-width [ to `
  if (c >= 0xFF5B && c <= 0xFF65) return false;            // full-width { to ･
  if (c >= 0x2000 && c <= 0x206F) return false;            // general punctuation
  if (c >= 0x00A0 && c <= 0x00BF) return false;            // Latin-1 symbols
  if (c == 0x00D7 || c == 0x00F7) return false;            // × ÷
  if (c >= 0x2190 && c <= 0x25FF) return false;            // arrows, math, boxes, shapes
  return true;
}

}  // namespace

bool IsObjectName(const std::u16string& name) {
  if (name.empty() || !IsNameLetter(name[0])) return false;
  for (char16_t c : name)
    if (!IsNameLetter(c) && !IsAsciiDigit(c) && c != u'_') return false;
  return true;
}

std::optional<CopyRefusal> CheckCopy(int rows, const std::shared_ptr<ide::VBComponent>& source,
                                     const std::u16string& name, ide::VBProject* target) {
  auto refuse = [](int step, const char* text) {
    return CopyRefusal{step, vb::U(text), step >= 3};
  };
  if (rows == 0) return refuse(1, "指定されたプロジェクトには、モジュールが存在しませんので実行できません");
  if (!source) return refuse(2, "モジュールを選択してください");
  if (vb::Trim(name).empty()) return refuse(3, "オブジェクト名を入力してください");
  if (vb::LenB(name) > 40) return refuse(4, "オブジェクト名が長すぎます");
  if (vb::IsNumeric(name)) return refuse(5, "オブジェクト名が不正です");
  if (name.find(u' ') != std::u16string::npos) return refuse(6, "オブジェクト名にスペースは使用できません");
  for (char16_t c : kForbidden)
    if (name.find(c) != std::u16string::npos) return refuse(7, "オブジェクト名に使用できない記号が含まれています");
  // What the IDE would refuse as a name (a digit first, a full-width space):
  // refused here, before anything changes.
  if (!IsObjectName(name)) return refuse(10, "オブジェクト名が不正です");
  if (!target) return refuse(8, "フォームのコピーに失敗しました");
  auto components = target->VBComponents();
  const std::u16string wanted = vb::Trim(name);
  for (int i = 1; i <= components->Count(); ++i)
    if (vb::Trim(components->Item(i)->Name()) == wanted) return refuse(8, "入力されたオブジェクト名は既に存在しています");
  const int kind = source->Type();
  if (kind == ct::MDIForm) {
    if (target->Type() != ide::ProjectType::StdExe) return refuse(9, "MDIフォームは指定されたプロジェクトにはコピーできません");
    for (int i = 1; i <= components->Count(); ++i)
      if (components->Item(i)->Type() == ct::MDIForm)
        return refuse(9, "MDIフォームは指定されたプロジェクトには既に存在しています");
  }
  if (kind == ct::DocObject &&
      (target->Type() == ide::ProjectType::StdExe || target->Type() == ide::ProjectType::ActiveXControl))
    return refuse(9, "ユーザードキュメントは指定されたプロジェクトにはコピーできません");
  return std::nullopt;
}

namespace {

// Runs one step; a step the host refuses is skipped.
template <class F>
void Try(F&& step) {
  try {
    step();
  } catch (const ide::HostError&) {
  }
}

void CopyFont(ide::Font& from, ide::Font& to) {
  const int n = from.Count();
  for (int j = 1; j <= n; ++j) Try([&] { to.SetItemValue(j, from.ItemValue(j)); });
}

// Property k of `to` takes the value of the same property of `from`: the one
// at the same position, or (when the two lists differ there, as ActiveX
// controls' may) the one of the same name. A font is copied sub-property by
// sub-property.
void CopyProperty(ide::Properties& from, ide::Properties& to, int k, bool skipName) {
  auto dst = to.Item(k);
  std::shared_ptr<ide::Property> src;
  std::u16string name = dst->Name();
  if (k <= from.Count()) src = from.Item(k);
  if (!src || !vb::EqualsIgnoreCaseAscii(src->Name(), name)) src = from.Item(name);
  if (skipName && vb::EqualsIgnoreCaseAscii(name, u"Name")) return;
  if (auto font = src->Object()) {
    if (auto target = dst->Object()) {
      CopyFont(*font, *target);
      return;
    }
  }
  dst->SetValue(src->Value());
}

struct ControlPair {
  std::shared_ptr<ide::VBControl> from, to;
};

// Adds a copy of every control of `from` to `to` (the new container's
// collection), depth first, and records the pairs in that order. `container`
// is the new container (nullptr: the designer itself).
void AddControls(ide::VBControls& from, ide::VBControls& to, const std::shared_ptr<ide::VBControl>& container,
                 std::vector<ControlPair>& pairs) {
  const int n = from.Count();
  for (int i = 1; i <= n; ++i) {
    std::shared_ptr<ide::VBControl> source;
    std::shared_ptr<ide::VBControl> added;
    Try([&] {
      source = from.Item(i);
      if (container)
        added = to.Add(source->ProgId(), container, true);
      else
        added = to.Add(source->ProgId(), source, false);
    });
    if (!added) continue;  // a control the host cannot add is left out, with what it holds
    pairs.push_back({source, added});
    std::shared_ptr<ide::VBControls> inner, innerNew;
    try {
      inner = source->ContainedVBControls();
      innerNew = added->ContainedVBControls();
    } catch (const ide::HostError&) {
      continue;  // not a container
    }
    AddControls(*inner, *innerNew, added, pairs);
  }
}

std::u16string NameOf(ide::VBControl& c) {
  auto v = c.Properties()->Item(u"Name")->Value();
  auto* s = std::get_if<std::u16string>(&v);
  return s ? *s : std::u16string();
}

void CopyControls(ide::VBForm& from, ide::VBForm& to) {
  std::vector<ControlPair> pairs;
  AddControls(*from.ContainedVBControls(), *to.ContainedVBControls(), nullptr, pairs);
  // Names and indexes first: the new controls' default names (Text1, ...)
  // would otherwise refuse the names of the source's, and an array member
  // takes its name only once it has its index. Temporary names clear the way.
  std::vector<std::u16string> sourceNames;
  for (auto& p : pairs) Try([&] { sourceNames.push_back(NameOf(*p.from)); });
  int serial = 0;
  for (auto& p : pairs) {
    std::u16string temp;
    bool clash = true;
    while (clash) {
      temp = u"tarnoCopy" + vb::FromInt(++serial);
      clash = false;
      for (const auto& s : sourceNames) clash = clash || vb::EqualsIgnoreCaseAscii(s, temp);
    }
    Try([&] { p.to->Properties()->Item(u"Name")->SetValue(temp); });
  }
  for (auto& p : pairs) {
    Try([&] {
      auto index = p.from->Properties()->Item(u"Index")->Value();
      if (auto* i = std::get_if<int16_t>(&index); i && *i >= 0) p.to->Properties()->Item(u"Index")->SetValue(index);
    });
    Try([&] { p.to->Properties()->Item(u"Name")->SetValue(p.from->Properties()->Item(u"Name")->Value()); });
  }
  // The tab order: setting each place in rising order puts every control
  // where the source has it (a write moves the others around it). Of equal
  // places the first in the source is set last, so that it keeps the place
  // (a control whose file sets no tab index reads as 0).
  std::vector<std::pair<int, ControlPair*>> tabs;
  for (auto& p : pairs) Try([&] {
    auto v = p.from->Properties()->Item(u"TabIndex")->Value();
    if (auto* t = std::get_if<int16_t>(&v)) tabs.emplace_back(*t, &p);
  });
  std::reverse(tabs.begin(), tabs.end());
  std::stable_sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& entry : tabs) {
    // Named copies: a lambda may not capture structured bindings on every compiler.
    const int tab = entry.first;
    auto* pair = entry.second;
    Try([&] { pair->to->Properties()->Item(u"TabIndex")->SetValue(int16_t(tab)); });
  }
  for (auto& p : pairs) {
    std::shared_ptr<ide::Properties> src, dst;
    Try([&] {
      src = p.from->Properties();
      dst = p.to->Properties();
    });
    if (!src || !dst) continue;
    int count = 0;
    Try([&] { count = dst->Count(); });
    for (int k = 1; k <= count; ++k) Try([&] {
      if (vb::EqualsIgnoreCaseAscii(dst->Item(k)->Name(), u"TabIndex")) return;  // placed above
      CopyProperty(*src, *dst, k, false);
    });
  }
}

}  // namespace

std::shared_ptr<ide::VBComponent> CopyComponent(ide::VBComponent& source, ide::VBProject& target,
                                                const std::u16string& name, const CopyOptions& options) {
  auto components = target.VBComponents();
  std::shared_ptr<ide::VBComponent> copy;
  try {
    copy = components->Add(source.Type());
  } catch (const ide::HostError&) {
    return nullptr;
  }
  if (!copy) return nullptr;
  // Takes the half-made component out again.
  auto fail = [&]() -> std::shared_ptr<ide::VBComponent> {
    Try([&] { components->Remove(copy); });
    return nullptr;
  };
  try {
    copy->SetName(name);
  } catch (const ide::HostError&) {
    return fail();
  }

  // Designer properties by position, except the name; then BackColor again by name.
  std::shared_ptr<ide::Properties> from, to;
  Try([&] {
    from = source.Properties();
    to = copy->Properties();
  });
  if (from && to) {
    int count = 0;
    Try([&] { count = from->Count(); });
    for (int k = 1; k <= count; ++k) Try([&] {
      if (vb::EqualsIgnoreCaseAscii(from->Item(k)->Name(), u"Name")) return;
      CopyProperty(*from, *to, k, true);
    });
    Try([&] { to->Item(u"BackColor")->SetValue(from->Item(u"BackColor")->Value()); });
  }

  if (options.controls) {
    Try([&] {
      auto fromDesigner = source.Designer();
      auto toDesigner = copy->Designer();
      if (fromDesigner && toDesigner) CopyControls(*fromDesigner, *toDesigner);
    });
  }

  if (options.code) {
    try {
      auto fromCode = source.CodeModule();
      auto toCode = copy->CodeModule();
      if (fromCode && toCode) {
        int had = toCode->CountOfLines();
        if (had > 0) toCode->DeleteLines(1, had);
        const int n = fromCode->CountOfLines();
        for (int line = 1; line <= n; ++line) toCode->InsertLines(line, fromCode->Lines(line, 1));
      }
    } catch (const ide::HostError&) {
      // A copy missing code lines would not be the source's code.
      return fail();
    }
  }
  // The in-memory IDE writes a copy in its source's own text (lines of
  // properties it does not model, values in the file's own form).
  if (auto* mem = dynamic_cast<host::MemComponent*>(copy.get()))
    if (auto* origin = dynamic_cast<host::MemComponent*>(&source)) mem->set_copied_from(origin->weak_from_this());
  return copy;
}

std::optional<std::u16string> UncopyableControl(ide::VBComponent& source) {
  try {
    auto designer = source.Designer();
    if (!designer) return std::nullopt;
    auto all = designer->VBControls();
    const int n = all->Count();
    for (int i = 1; i <= n; ++i) {
      std::u16string name = NameOf(*all->Item(i));
      if (name.size() > kMaxControlName) return name;
    }
  } catch (const ide::HostError&) {
    // What the host cannot tell is left to the copy, which skips it.
  }
  return std::nullopt;
}

}  // namespace tarno::project
