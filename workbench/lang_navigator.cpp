#include "workbench/lang_navigator.h"

#include <algorithm>
#include <thread>
#include <tuple>

#include "lang/model.h"
#include "lang/project_code.h"

namespace tarno::workbench {
namespace {

std::u16string U(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

std::u16string KindOfComponent(int type) {
  switch (type) {
    case ide::ComponentType::StdModule: return u"Module";
    case ide::ComponentType::ClassModule: return u"Class";
    case ide::ComponentType::VBForm: return u"Form";
    case ide::ComponentType::MDIForm: return u"MDIForm";
    case ide::ComponentType::PropPage: return u"PropertyPage";
    case ide::ComponentType::UserControl: return u"UserControl";
    case ide::ComponentType::DocObject: return u"UserDocument";
    default: return u"Designer";
  }
}

bool Continued(std::u16string_view line) {
  while (!line.empty() && (line.back() == u' ' || line.back() == u'\t')) line.remove_suffix(1);
  return line.size() >= 2 && line.back() == u'_' && (line[line.size() - 2] == u' ' || line[line.size() - 2] == u'\t');
}

std::u16string Trimmed(std::u16string_view s) {
  size_t a = s.find_first_not_of(u" \t");
  if (a == std::u16string_view::npos) return {};
  size_t b = s.find_last_not_of(u" \t");
  return std::u16string(s.substr(a, b - a + 1));
}

}  // namespace

LangNavigator::LangNavigator(Projects projects) : projects_(std::move(projects)) {}
LangNavigator::~LangNavigator() = default;

void LangNavigator::Invalidate() {
  stale_ = true;
  model_.reset();
  components_.clear();
  modules_.clear();
  stamp_.clear();
}

LangNavigator::Stamp LangNavigator::Current() const {
  Stamp s;
  for (const auto& p : projects_())
    for (const auto& c : p->components())
      if (c->code()) s.emplace_back(c.get(), c->code()->text().version());
  return s;
}

const lang::Model* LangNavigator::Fresh() {
  Stamp now = Current();
  if (!stale_ && now == stamp_) return model_.get();
  Invalidate();
  stale_ = false;
  stamp_ = std::move(now);
  error_.clear();
  ++builds_;
  const auto& projects = projects_();
  try {
    std::vector<lang::ProjectCode> code;
    code.reserve(projects.size());
    for (const auto& p : projects) {
      lang::CondComp condComp;
      try {
        condComp = lang::ProjectCondComp(*p);
      } catch (const std::runtime_error&) {
        // A CondComp that does not read: the code is read without its constants.
      }
      code.push_back(lang::ReadProjectCode(*p, std::move(condComp)));
      const lang::ProjectCode& read = code.back();
      for (size_t k = 0; k < read.modules.size(); ++k) {
        const auto& all = p->components();
        const size_t index = static_cast<size_t>(read.componentIndex[k] - 1);
        components_.push_back(index < all.size() ? all[index] : nullptr);
      }
    }
    lang::Model::Options options;
    options.jobs = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    model_ = lang::Model::Build(std::move(code), options);
  } catch (const std::exception& e) {
    error_ = U(e.what());
    model_.reset();
    components_.clear();
    return nullptr;
  }
  for (uint32_t m = 0; m < components_.size(); ++m)
    if (components_[m]) modules_.emplace(components_[m].get(), m);
  return model_.get();
}

int LangNavigator::ModuleOf(const host::MemComponent* component) const {
  auto it = modules_.find(component);
  return it == modules_.end() ? -1 : static_cast<int>(it->second);
}

LangNavigator::Hit LangNavigator::HitAt(const CodePlace& at) {
  Hit hit;
  const lang::Model* model = Fresh();
  if (!model || !at.component) return hit;
  const int m = ModuleOf(at.component.get());
  if (m < 0) return hit;
  hit.module = static_cast<uint32_t>(m);
  const lang::ModuleInfo& info = model->Module(hit.module);
  for (int column : {at.column, at.column - 1}) {
    auto covers = [&](int32_t line, int c, int length) {
      return line == at.line && column >= c && column < c + std::max(length, 1);
    };
    for (size_t i = 0; i < info.syntax.decls.size(); ++i) {
      const lang::Decl& d = info.syntax.decls[i];
      if (covers(d.line, d.column, d.length)) {
        hit.symbol = info.firstDecl + static_cast<lang::SymbolId>(i);
        hit.found = true;
        return hit;
      }
    }
    for (const lang::Ref& r : info.syntax.refs) {
      if ((r.flags & lang::kRefWiring) || !covers(r.line, r.column, r.length)) continue;
      hit.symbol = r.target;
      hit.ref = &r;
      hit.found = true;
      return hit;
    }
  }
  return hit;
}

std::optional<CodePlace> LangNavigator::PlaceOf(lang::SymbolId s) const {
  const lang::Symbol& sym = model_->Sym(s);
  if (sym.module == lang::kUnbound || sym.module >= components_.size() || !components_[sym.module])
    return std::nullopt;
  CodePlace place;
  place.component = components_[sym.module];
  if (sym.decl.line > 0) {
    place.line = sym.decl.line;
    place.column = sym.decl.column;
    place.length = sym.decl.length;
  } else if (sym.decl.kind == lang::DeclKind::Component || sym.decl.kind == lang::DeclKind::Control) {
    place.line = 0;  // the component itself: its designer, else its code
  } else {
    return std::nullopt;
  }
  return place;
}

std::optional<CodePlace> LangNavigator::DefinitionAt(const CodePlace& at) {
  Hit hit = HitAt(at);
  if (!hit.found || hit.symbol == lang::kNoSymbol) return std::nullopt;
  return PlaceOf(hit.symbol);
}

std::vector<CodePlace> LangNavigator::PlacesOfRefs(const std::vector<lang::SymbolId>& symbols) const {
  std::vector<lang::RefId> refs;
  for (lang::SymbolId s : symbols) refs.insert(refs.end(), model_->References(s).begin(), model_->References(s).end());
  // In project, module and line order, as the results of a find.
  std::sort(refs.begin(), refs.end(), [&](const lang::RefId& a, const lang::RefId& b) {
    const lang::Ref& x = model_->RefAt(a);
    const lang::Ref& y = model_->RefAt(b);
    return std::tie(a.module, x.line, x.column) < std::tie(b.module, y.line, y.column);
  });
  std::vector<CodePlace> out;
  out.reserve(refs.size());
  for (const lang::RefId& id : refs) {
    if (id.module >= components_.size() || !components_[id.module]) continue;
    const lang::Ref& r = model_->RefAt(id);
    out.push_back({components_[id.module], r.line, r.column, r.length});
  }
  return out;
}

std::vector<CodePlace> LangNavigator::ReferencesAt(const CodePlace& at) {
  Hit hit = HitAt(at);
  if (!hit.found || hit.symbol == lang::kNoSymbol) return {};
  std::vector<lang::SymbolId> symbols{hit.symbol};
  // A property is its Get, Let and Set together: reading and assigning it
  // are both its uses.
  const lang::Symbol& sym = model_->Sym(hit.symbol);
  auto isProperty = [](lang::DeclKind k) {
    return k == lang::DeclKind::PropertyGet || k == lang::DeclKind::PropertyLet || k == lang::DeclKind::PropertySet;
  };
  if (isProperty(sym.decl.kind)) {
    for (lang::SymbolId other : model_->SymbolsNamed(sym.decl.name)) {
      const lang::Symbol& o = model_->Sym(other);
      if (other != hit.symbol && o.module == sym.module && o.parent == sym.parent && isProperty(o.decl.kind))
        symbols.push_back(other);
    }
  }
  return PlacesOfRefs(symbols);
}

std::vector<CodePlace> LangNavigator::ReferencesOf(std::u16string_view dotted) {
  if (!Fresh()) return {};
  return PlacesOfRefs(model_->Lookup(dotted));
}

NameAt LangNavigator::Describe(const CodePlace& at) {
  NameAt out;
  Hit hit = HitAt(at);
  if (!hit.found) {
    if (!error_.empty()) out.unresolved = u"The code could not be read: " + error_;
    return out;
  }
  const lang::Model& model = *model_;
  if (hit.symbol == lang::kNoSymbol) {
    const lang::Ref& r = *hit.ref;
    out.name = std::u16string(model.NameOf(r.name));
    if (r.flags & lang::kRefInactive) {
      out.unresolved = out.name + u" is in a branch of #If that is not compiled.";
    } else if ((r.flags & lang::kRefMember) && (r.flags & lang::kRefExternal)) {
      out.unresolved = out.name + u" is a member of a type outside the projects.";
    } else if (r.flags & (lang::kRefMember | lang::kRefLiteral)) {
      out.unresolved = u"Unresolved member " + out.name + u": the type of the object it belongs to is not known.";
    } else {
      out.unresolved = out.name + u" is not declared in the projects (VB or a reference declares it).";
    }
    return out;
  }
  const lang::Symbol& sym = model.Sym(hit.symbol);
  out.name = std::u16string(model.SymbolName(hit.symbol));
  out.definition = PlaceOf(hit.symbol);
  if (sym.module == lang::kUnbound) {
    out.declaration = u"Project " + out.name;
    return out;
  }
  const lang::ModuleInfo& info = model.Module(sym.module);
  const std::u16string project = model.Projects().size() > 1 ? model.Projects()[info.project].name + u"." : u"";
  const std::u16string& module = info.code->name;
  if (sym.decl.kind == lang::DeclKind::Component) {
    out.declaration = KindOfComponent(info.code->type) + u" " + out.name;
    out.where = project + module;
  } else if (sym.decl.kind == lang::DeclKind::Control) {
    const size_t i = hit.symbol - info.firstControl;
    const std::u16string& cls = i < info.code->controls.size() ? info.code->controls[i].className : u"";
    out.declaration = out.name + u" As " + cls;
    out.where = u"a control of " + project + module;
  } else if (out.definition && out.definition->line > 0) {
    // The statement from the host's text (the model's lines are the host's too).
    const auto& text = out.definition->component->code()->text();
    for (int line = sym.decl.line, shown = 0; line <= text.CountOfLines() && shown < 8; ++line, ++shown) {
      const std::u16string_view s = text.Line(line);
      if (!out.declaration.empty()) out.declaration += u'\n';
      out.declaration += Trimmed(s);
      if (!Continued(s)) break;
    }
    out.where = project + module + u", line " + U(std::to_string(sym.decl.line));
  }
  return out;
}

}  // namespace tarno::workbench
