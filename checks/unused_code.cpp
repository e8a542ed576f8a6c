#include "checks/unused_code.h"

#include <algorithm>
#include <unordered_map>

#include "platform/vb_text.h"

namespace tarno::checks {

using lang::DeclKind;
using lang::kNoSymbol;
using lang::SymbolId;

namespace {

bool IsWordChar16(char16_t c) {
  return c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x80;
}

// The name stands as a whole word in the text (names compared as VB does).
bool HasWord(std::u16string_view text, std::u16string_view name) {
  if (name.empty() || text.size() < name.size()) return false;
  for (size_t i = 0; i + name.size() <= text.size(); ++i) {
    if (i > 0 && IsWordChar16(text[i - 1])) continue;
    if (i + name.size() < text.size() && IsWordChar16(text[i + name.size()])) continue;
    if (lang::SameName(text.substr(i, name.size()), name)) return true;
  }
  return false;
}

class UnusedFinder {
 public:
  UnusedFinder(const lang::Model& model, const std::vector<ProjectFacts>& facts, const UnusedOptions& options)
      : m_(model), context_(model, facts), o_(options) {}

  std::vector<Finding> Run() {
    Candidates();
    Rules();
    Parameters();
    Uses();
    return Findings();
  }

 private:
  // ---- candidates: every declaration of a fully understood module that
  // could be unused, each property's accessors as one (the first accessor).
  static UnusedKind KindOf(const lang::Decl& d) {
    switch (d.kind) {
      case DeclKind::Variable: return (d.flags & lang::kDeclImplicit) ? UnusedKind::None : UnusedKind::Variable;
      case DeclKind::Constant: return UnusedKind::Constant;
      case DeclKind::Parameter: return UnusedKind::Parameter;
      case DeclKind::Sub: case DeclKind::Function: case DeclKind::PropertyGet: case DeclKind::PropertyLet:
      case DeclKind::PropertySet:
        return (d.flags & lang::kDeclHandler) ? UnusedKind::None : UnusedKind::Procedure;
      case DeclKind::Type: return UnusedKind::Type;
      case DeclKind::Enum: return UnusedKind::Enum;
      case DeclKind::DeclareSub: case DeclKind::DeclareFunction: return UnusedKind::Declare;
      case DeclKind::Event: return UnusedKind::Event;
      default: return UnusedKind::None;
    }
  }
  static bool IsProperty(DeclKind k) {
    return k == DeclKind::PropertyGet || k == DeclKind::PropertyLet || k == DeclKind::PropertySet;
  }

  void Candidates() {
    const size_t n = m_.SymbolCount();
    rep_.assign(n, kNoSymbol);
    kind_.assign(n, UnusedKind::None);
    used_.assign(n, 0);
    hasUse_.assign(n, 0);
    exposed_.assign(n, 0);
    rule_.assign(n, nullptr);
    for (uint32_t mi = 0; mi < m_.ModuleCount(); ++mi) {
      if (!m_.FullyUnderstood(mi)) {
        unread_.push_back(mi);
        continue;
      }
      const lang::ModuleInfo& info = m_.Module(mi);
      const auto& decls = info.syntax.decls;
      std::unordered_map<lang::Atom, SymbolId> properties;
      for (size_t i = 0; i < decls.size(); ++i) {
        // The symbol's declaration: the binder adds flags (event handlers) to it.
        const SymbolId s = info.firstDecl + static_cast<SymbolId>(i);
        const lang::Decl& d = m_.Sym(s).decl;
        UnusedKind k = KindOf(d);
        if (k == UnusedKind::None) continue;
        if (k == UnusedKind::Parameter) {
          const lang::Decl& owner = m_.Sym(info.firstDecl + static_cast<SymbolId>(d.parent)).decl;
          if (!lang::IsProcedure(owner.kind) || (owner.flags & lang::kDeclHandler)) continue;
        }
        SymbolId rep = s;
        if (IsProperty(d.kind) && d.parent < 0) rep = properties.emplace(d.name, s).first->second;
        rep_[s] = rep;
        kind_[rep] = k;
        if (rep == s) reps_.push_back(s);
      }
    }
  }

  bool IsCandidate(SymbolId s) const { return s < rep_.size() && rep_[s] != kNoSymbol; }

  // Every symbol of a candidate: a property's accessors, an enum's members.
  template <class Fn>
  void ForGroup(SymbolId rep, Fn fn) const {
    const lang::Symbol& r = m_.Sym(rep);
    const lang::ModuleInfo& info = m_.Module(r.module);
    const auto& decls = info.syntax.decls;
    fn(rep);
    const size_t at = rep - info.firstDecl;
    if (IsProperty(r.decl.kind)) {
      for (size_t i = at + 1; i < decls.size(); ++i) {
        const SymbolId s = info.firstDecl + static_cast<SymbolId>(i);
        if (s < rep_.size() && rep_[s] == rep && s != rep) fn(s);
      }
    } else if (r.decl.kind == DeclKind::Enum) {
      for (size_t i = at + 1; i < decls.size() && decls[i].parent == static_cast<int32_t>(at); ++i) {
        fn(info.firstDecl + static_cast<SymbolId>(i));
      }
    }
  }

  // ---- the precise rules, and the names of lines no one could read
  void Rules() {
    std::vector<std::u16string_view> unreadLines;
    for (uint32_t mi : unread_) {
      const auto& lines = m_.Module(mi).code->lines;
      for (const auto& e : m_.Errors(mi)) {
        if (e.line >= 1 && static_cast<size_t>(e.line) <= lines.size()) unreadLines.push_back(lines[static_cast<size_t>(e.line - 1)]);
      }
    }
    for (SymbolId rep : reps_) {
      const lang::Symbol& s = m_.Sym(rep);
      if (s.decl.parent >= 0) continue;  // the rules are for module-level declarations
      for (const auto& entry : PreciseRules()) {
        if (!entry.rule) continue;
        RuleVerdict v = entry.rule->Decide(context_, rep);
        if (v == RuleVerdict::None) continue;
        rule_[rep] = &entry;
        if (v == RuleVerdict::Used) used_[rep] = 1;
        if (v == RuleVerdict::Exposed) exposed_[rep] = 1;
        break;
      }
      if (used_[rep] || exposed_[rep]) continue;
      // A name a module with parse errors may use where it could not be read.
      if (!unreadLines.empty() && s.decl.access != lang::Access::Private) {
        std::u16string_view name = m_.SymbolName(rep);
        for (auto line : unreadLines) {
          if (HasWord(line, name)) {
            used_[rep] = 1;
            break;
          }
        }
      }
    }
    // Classes others implement: their members are the interface, their parameters its shape.
    interfaceModule_.assign(m_.ModuleCount(), 0);
    for (uint32_t mi = 0; mi < m_.ModuleCount(); ++mi) {
      for (const lang::Ref& r : m_.Module(mi).syntax.refs) {
        if ((r.flags & lang::kRefImplements) && r.target != kNoSymbol && m_.Sym(r.target).module != lang::kUnbound &&
            m_.Sym(r.target).decl.kind == DeclKind::Component) {
          interfaceModule_[m_.Sym(r.target).module] = 1;
        }
      }
    }
  }

  // Parameters only of procedures whose shape their own code chooses: not
  // of event handlers, interface members and implementations, or members
  // that the rules find called from elsewhere.
  void Parameters() {
    for (SymbolId rep : reps_) {
      if (kind_[rep] != UnusedKind::Parameter) continue;
      const lang::Symbol& p = m_.Sym(rep);
      const SymbolId owner = rep_[p.parent] != kNoSymbol ? rep_[p.parent] : p.parent;
      const bool fixed = interfaceModule_[p.module] || !IsCandidate(p.parent) || rule_[owner] != nullptr;
      if (fixed) rep_[rep] = kNoSymbol;
    }
    reps_.erase(std::remove_if(reps_.begin(), reps_.end(), [&](SymbolId s) { return rep_[s] == kNoSymbol; }),
                reps_.end());
  }

  // ---- uses
  bool InOwnBody(SymbolId rep, const lang::RefId& id, const lang::Ref& r) const {
    const lang::Symbol& s = m_.Sym(rep);
    if (id.module != s.module) return false;
    const DeclKind k = s.decl.kind;
    if (!lang::IsProcedure(k) && k != DeclKind::Type && k != DeclKind::Enum) return false;
    bool inside = false;
    ForGroup(rep, [&](SymbolId g) {
      const lang::Decl& d = m_.Sym(g).decl;
      if ((lang::IsProcedure(d.kind) || d.kind == DeclKind::Type || d.kind == DeclKind::Enum) && r.line >= d.line &&
          r.line <= (d.endLine ? d.endLine : d.line)) {
        inside = true;
      }
    });
    return inside;
  }

  // The declaration whose statement holds the reference (the last declared
  // before it on its line), else the procedure around it; kNoSymbol at module level.
  SymbolId ContainerOf(const lang::RefId& id, const lang::Ref& r) {
    const lang::ModuleInfo& info = m_.Module(id.module);
    auto& byLine = DeclLines(id.module);
    if (r.flags & lang::kRefTypeName) {
      // The As type of a declaration belongs to it (a Function's to the Function).
      const auto& owners = typeOwner_[id.module];
      auto o = std::lower_bound(owners.begin(), owners.end(), std::pair<uint32_t, uint32_t>{id.index, 0});
      if (o != owners.end() && o->first == id.index) return info.firstDecl + o->second;
    }
    auto it = std::lower_bound(byLine.begin(), byLine.end(), std::pair<int32_t, uint32_t>{r.line, 0});
    SymbolId found = kNoSymbol;
    for (; it != byLine.end() && it->first == r.line; ++it) {
      const lang::Decl& d = info.syntax.decls[it->second];
      const bool holds = d.kind == DeclKind::Variable || d.kind == DeclKind::Constant || d.kind == DeclKind::TypeMember;
      if (d.column < r.column && holds) found = info.firstDecl + it->second;
    }
    if (found != kNoSymbol) return found;
    return m_.ProcedureAt(id.module, r.line);
  }
  std::vector<std::pair<int32_t, uint32_t>>& DeclLines(uint32_t mi) {
    if (declLines_.empty()) {
      declLines_.resize(m_.ModuleCount());
      typeOwner_.resize(m_.ModuleCount());
    }
    auto& v = declLines_[mi];
    if (v.empty()) {
      const auto& decls = m_.Module(mi).syntax.decls;
      v.reserve(decls.size() + 1);
      for (uint32_t i = 0; i < decls.size(); ++i) {
        v.push_back({decls[i].line, i});
        if (decls[i].typeRef >= 0) typeOwner_[mi].push_back({static_cast<uint32_t>(decls[i].typeRef), i});
      }
      std::sort(v.begin(), v.end());
      std::sort(typeOwner_[mi].begin(), typeOwner_[mi].end());
      if (v.empty()) v.push_back({-1, 0});
    }
    return v;
  }

  // The first candidate around the reference that is not known to be used;
  // kNoSymbol when everything around it is live.
  SymbolId FirstDead(SymbolId container) const {
    for (SymbolId s = container; s != kNoSymbol;) {
      const lang::Symbol& sym = m_.Sym(s);
      if (sym.decl.kind == DeclKind::Component || sym.decl.kind == DeclKind::Project) break;
      // Parameters are no container: a default value or As type stays with the procedure.
      if (IsCandidate(s) && sym.decl.kind != DeclKind::Parameter && !used_[rep_[s]] && !exposed_[rep_[s]]) return rep_[s];
      s = sym.parent;
    }
    return kNoSymbol;
  }

  void MarkUsed(SymbolId rep, std::vector<SymbolId>& work) {
    if (used_[rep]) return;
    used_[rep] = 1;
    work.push_back(rep);
  }

  void Uses() {
    std::vector<SymbolId> work;
    // Waiting uses: a candidate's uses inside an unused declaration, kept
    // on that declaration until it turns out used.
    std::unordered_map<SymbolId, std::vector<std::pair<SymbolId, SymbolId>>> waiting;  // dead -> (target rep, container)
    for (SymbolId rep : reps_) {
      if (used_[rep] || exposed_[rep]) {
        if (o_.transitive) work.push_back(rep);
        continue;
      }
      const lang::Symbol& s = m_.Sym(rep);
      const bool member = s.decl.parent < 0 && s.decl.access != lang::Access::Private &&
                          (lang::IsProcedure(s.decl.kind) || s.decl.kind == DeclKind::Variable);
      bool root = false;
      ForGroup(rep, [&](SymbolId g) {
        const lang::Atom name = m_.Sym(g).decl.name;
        if (member && !m_.UnresolvedMembers(name).empty()) root = true;
        // A name in dead #If code is a use, unless it stands in the body it names.
        for (const lang::RefId& id : m_.InactiveUses(name)) {
          if (!InOwnBody(rep, id, m_.RefAt(id))) root = true;
        }
      });
      if (root) {
        MarkUsed(rep, work);
        continue;
      }
      bool live = false;
      ForGroup(rep, [&](SymbolId g) {
        for (const lang::RefId& id : m_.References(g)) {
          if (live) return;
          const lang::Ref& r = m_.RefAt(id);
          // An implementation names the interface's member; it does not use it.
          if ((r.flags & lang::kRefWiring) && lang::IsProcedure(m_.Sym(g).decl.kind)) continue;
          if (InOwnBody(rep, id, r)) continue;
          hasUse_[rep] = 1;
          if (!o_.transitive) {
            live = true;
            return;
          }
          const SymbolId container = ContainerOf(id, r);
          const SymbolId dead = FirstDead(container);
          if (dead == kNoSymbol || dead == rep) {
            if (dead == kNoSymbol) live = true;
          } else {
            waiting[dead].push_back({rep, container});
          }
        }
      });
      if (live) MarkUsed(rep, work);
    }
    if (!o_.transitive) return;
    while (!work.empty()) {
      const SymbolId now = work.back();
      work.pop_back();
      auto it = waiting.find(now);
      if (it == waiting.end()) continue;
      auto list = std::move(it->second);
      waiting.erase(it);
      for (const auto& [target, container] : list) {
        if (used_[target]) continue;
        const SymbolId dead = FirstDead(container);
        if (dead == kNoSymbol) {
          MarkUsed(target, work);
        } else if (dead != target) {
          waiting[dead].push_back({target, container});
        }
      }
    }
  }

  // ---- findings
  bool Reported(SymbolId rep) const { return rep != kNoSymbol && IsCandidate(rep) && !used_[rep] && !exposed_[rep]; }

  std::vector<Finding> Findings() {
    std::vector<Finding> out;
    std::vector<SymbolId> byModule = reps_;  // reps_ is in module then declaration order
    for (uint32_t p = 0; p < m_.Projects().size(); ++p) {
      for (CheckKind check : {CheckKind::Variables, CheckKind::Procedures}) {
        if (check == CheckKind::Variables ? !o_.variables : !o_.procedures) continue;
        for (SymbolId rep : byModule) {
          const lang::Symbol& s = m_.Sym(rep);
          if (s.project != p || CheckOf(kind_[rep]) != check || !(o_.kinds & KindBit(kind_[rep]))) continue;
          if (o_.onlyModule != lang::kUnbound && s.module != o_.onlyModule) continue;
          if (used_[rep]) continue;
          // Inside a procedure reported unused: its parameters go with it,
          // and what only it uses is no finding of its own.
          if (s.decl.parent >= 0) {
            const SymbolId owner = IsCandidate(s.parent) ? rep_[s.parent] : kNoSymbol;
            if (Reported(owner) && (kind_[rep] == UnusedKind::Parameter || hasUse_[rep])) continue;
          }
          out.push_back(MakeFinding(rep));
        }
      }
    }
    return out;
  }

  // The name as its declaration spells it (the model keeps the first spelling met).
  std::u16string DeclaredName(SymbolId s) const {
    const lang::Symbol& sym = m_.Sym(s);
    const auto& lines = m_.Module(sym.module).code->lines;
    const std::u16string_view name = m_.SymbolName(s);
    if (sym.decl.line >= 1 && static_cast<size_t>(sym.decl.line) <= lines.size() && sym.decl.column >= 1) {
      std::u16string_view line = lines[static_cast<size_t>(sym.decl.line - 1)];
      size_t at = static_cast<size_t>(sym.decl.column - 1);
      if (at < line.size() && line[at] == u'[') ++at;
      if (at + name.size() <= line.size() && lang::SameName(line.substr(at, name.size()), name)) {
        return std::u16string(line.substr(at, name.size()));
      }
    }
    return std::u16string(name);
  }

  Finding MakeFinding(SymbolId rep) const {
    const lang::Symbol& s = m_.Sym(rep);
    const lang::ModuleInfo& info = m_.Module(s.module);
    const lang::ProjectCode& project = m_.Projects()[s.project];
    Finding f;
    f.kind = kind_[rep];
    f.check = CheckOf(f.kind);
    f.project = static_cast<int>(s.project);
    f.component = project.componentIndex[static_cast<size_t>(info.code - project.modules.data())];
    f.module = info.code->name;
    f.name = DeclaredName(rep);
    f.line = s.decl.line;
    f.column = s.decl.column;
    const bool inProcedure = s.decl.parent >= 0 && lang::IsProcedure(m_.Sym(s.parent).decl.kind);
    f.level = inProcedure ? 1 : 0;
    if (f.check == CheckKind::Variables) {
      f.procedure = inProcedure ? DeclaredName(s.parent) : kDeclarationsProcedure;
    } else {
      f.procedure = f.name;
    }
    if (exposed_[rep]) {
      f.verdict = Verdict::Exposed;
      f.rule = std::string(rule_[rep]->id);
      f.reason = std::string(rule_[rep]->findingReason);
    } else if (hasUse_[rep]) {
      f.rule = std::string(kTransitiveRuleId);
      f.reason = std::string(kTransitiveReason);
    }
    return f;
  }

  const lang::Model& m_;
  RuleContext context_;
  const UnusedOptions& o_;
  std::vector<SymbolId> rep_;  // per symbol: its candidate (a property's first accessor), kNoSymbol for none
  std::vector<SymbolId> reps_;  // the candidates, in module and declaration order
  std::vector<UnusedKind> kind_;
  std::vector<char> used_, hasUse_, exposed_;
  std::vector<const PreciseRuleEntry*> rule_;
  std::vector<uint32_t> unread_;  // modules with parse errors
  std::vector<char> interfaceModule_;
  std::vector<std::vector<std::pair<int32_t, uint32_t>>> declLines_;  // per module: (line, decl), sorted
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> typeOwner_;  // per module: (As type reference, decl), sorted
};

}  // namespace

std::string_view KindName(UnusedKind k) {
  switch (k) {
    case UnusedKind::Variable: return "variable";
    case UnusedKind::Constant: return "constant";
    case UnusedKind::Parameter: return "parameter";
    case UnusedKind::Type: return "type";
    case UnusedKind::Enum: return "enum";
    case UnusedKind::Declare: return "declare";
    case UnusedKind::Procedure: return "procedure";
    case UnusedKind::Event: return "event";
    default: return "";
  }
}

unsigned DefaultKinds() {
  unsigned all = 0;
  for (int k = 1; k <= static_cast<int>(UnusedKind::Event); ++k) all |= KindBit(static_cast<UnusedKind>(k));
  return all & ~KindBit(UnusedKind::Parameter);
}

std::optional<unsigned> ParseKinds(std::string_view list, std::string& bad) {
  unsigned kinds = 0;
  size_t from = 0;
  while (from <= list.size()) {
    size_t comma = list.find(',', from);
    std::string_view word = list.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
    while (!word.empty() && word.front() == ' ') word.remove_prefix(1);
    while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    bool known = false;
    for (int k = 1; k <= static_cast<int>(UnusedKind::Event); ++k) {
      if (word == KindName(static_cast<UnusedKind>(k))) {
        kinds |= KindBit(static_cast<UnusedKind>(k));
        known = true;
      }
    }
    if (!known) {
      bad = std::string(word);
      return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  return kinds;
}

CheckKind CheckOf(UnusedKind k) {
  switch (k) {
    case UnusedKind::Declare: case UnusedKind::Procedure: case UnusedKind::Event: return CheckKind::Procedures;
    default: return CheckKind::Variables;
  }
}

std::vector<Finding> FindUnused(const lang::Model& model, const std::vector<ProjectFacts>& facts,
                                const UnusedOptions& options) {
  return UnusedFinder(model, facts, options).Run();
}

}  // namespace tarno::checks
