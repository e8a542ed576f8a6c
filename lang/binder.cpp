// Builds the Model: parses the modules on several threads, merges their name
// tables, makes a symbol of every declaration, wires event procedures, and
// binds every reference by VB's rules (procedure, module, project, group).
// Modules are parsed and bound in parallel; everything that spans modules
// (symbols, scopes, indexes) is built in between on one thread.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "lang/keywords.h"
#include "lang/model.h"
#include "lang/parser.h"

namespace tarno::lang {
namespace {

// Runs fn(i, worker) for i in [0, n) on `jobs` threads.
template <class Fn>
void ParallelFor(size_t n, int jobs, Fn fn) {
  const size_t workers = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(std::max(jobs, 1)), n));
  if (workers <= 1) {
    for (size_t i = 0; i < n; ++i) fn(i, 0);
    return;
  }
  std::atomic<size_t> next{0};
  std::vector<std::thread> threads;
  std::exception_ptr failure;
  std::mutex failureLock;
  for (size_t w = 0; w < workers; ++w) {
    threads.emplace_back([&, w] {
      try {
        for (size_t i = next++; i < n; i = next++) fn(i, w);
      } catch (...) {
        std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
      }
    });
  }
  for (auto& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}

bool IsClassLike(int componentType) {
  using namespace ide::ComponentType;
  return componentType == ClassModule || componentType == VBForm || componentType == MDIForm ||
         componentType == UserControl || componentType == PropPage || componentType == DocObject ||
         componentType == ActiveXDesigner;
}
bool HasBuiltInMembers(int componentType) {
  using namespace ide::ComponentType;
  return componentType == VBForm || componentType == MDIForm || componentType == UserControl ||
         componentType == PropPage || componentType == DocObject || componentType == ActiveXDesigner;
}

// What a qualifier is, for looking up its members.
struct Qualified {
  enum Kind { Unknown, External, Namespace } kind = Unknown;
  SymbolId symbol = kNoSymbol;
};

struct ProcScope {
  int32_t decl;       // index in the module's decls
  int32_t localFrom;  // decls [localFrom, localTo) belong to it
  int32_t localTo;
  int32_t firstLine, lastLine;
};

using NameIndex = std::vector<std::pair<Atom, SymbolId>>;  // sorted by atom

std::pair<NameIndex::const_iterator, NameIndex::const_iterator> Range(const NameIndex& index, Atom name) {
  return std::equal_range(index.begin(), index.end(), std::pair<Atom, SymbolId>{name, 0},
                          [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace

class Binder {
 public:
  Binder(Model& model, int jobs) : m_(model), jobs_(jobs) {}

  void Run(Model::Timings* timings) {
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    Parse();
    const auto t1 = Clock::now();
    MakeSymbols();
    ParallelFor(m_.modules_.size(), jobs_, [&](size_t i, size_t) { BindTypeNames(static_cast<uint32_t>(i)); });
    SetDeclaredTypes();
    ParallelFor(m_.modules_.size(), jobs_, [&](size_t i, size_t) { Wire(static_cast<uint32_t>(i)); });
    ParallelFor(m_.modules_.size(), jobs_, [&](size_t i, size_t) { BindModule(static_cast<uint32_t>(i)); });
    ImplicitArrays();
    ApplyAttributes();
    Index();
    if (timings) {
      timings->parse = std::chrono::duration<double>(t1 - t0).count();
      timings->bind = std::chrono::duration<double>(Clock::now() - t1).count();
    }
  }

 private:
  // ---- parsing
  void Parse() {
    for (uint32_t p = 0; p < m_.projects_.size(); ++p) {
      for (const auto& code : m_.projects_[p].modules) {
        ModuleInfo info;
        info.project = p;
        info.code = &code;
        m_.modules_.push_back(std::move(info));
      }
    }
    const size_t n = m_.modules_.size();
    const size_t workers = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(std::max(jobs_, 1)), n));
    std::vector<NameTable> tables(workers);
    std::vector<uint32_t> owner(n, 0);
    ParallelFor(n, static_cast<int>(workers), [&](size_t i, size_t w) {
      ModuleInfo& info = m_.modules_[i];
      info.syntax = ParseModule(info.code->lines, tables[w], m_.projects_[info.project].condComp);
      owner[i] = static_cast<uint32_t>(w);
    });
    m_.names_ = std::move(tables[0]);
    std::vector<std::vector<Atom>> maps(workers);
    for (size_t w = 1; w < workers; ++w) maps[w] = m_.names_.Merge(tables[w]);
    ParallelFor(n, jobs_, [&](size_t i, size_t) {
      if (owner[i] == 0) return;
      const auto& map = maps[owner[i]];
      auto& s = m_.modules_[i].syntax;
      for (auto& d : s.decls) {
        d.name = map[d.name];
        if (d.typeName != kNoAtom) d.typeName = map[d.typeName];
      }
      for (auto& r : s.refs) r.name = map[r.name];
      for (auto& a : s.attributes) a.member = map[a.member], a.attribute = map[a.attribute];
    });
  }

  // ---- symbols and scopes
  static bool IsPublic(const Decl& d) {
    switch (d.kind) {
      case DeclKind::Variable: case DeclKind::Constant:
        return d.access == Access::Public || d.access == Access::Global;
      case DeclKind::Sub: case DeclKind::Function: case DeclKind::PropertyGet: case DeclKind::PropertyLet:
      case DeclKind::PropertySet: case DeclKind::DeclareSub: case DeclKind::DeclareFunction: case DeclKind::Type:
      case DeclKind::Enum:
        return d.access != Access::Private;
      case DeclKind::Event: case DeclKind::TypeMember: case DeclKind::Control: case DeclKind::Component:
      case DeclKind::Project:
        return true;
      default:
        return false;
    }
  }

  SymbolId Add(Symbol s) {
    m_.symbols_.push_back(s);
    return static_cast<SymbolId>(m_.symbols_.size() - 1);
  }

  void MakeSymbols() {
    NameTable& names = m_.names_;
    atomForm_ = names.Intern(u"Form");
    atomControl_ = names.Intern(u"Control");
    atomMDIForm_ = names.Intern(u"MDIForm");
    atomUserControl_ = names.Intern(u"UserControl");
    atomClass_ = names.Intern(u"Class");
    atomPropertyPage_ = names.Intern(u"PropertyPage");
    atomUserDocument_ = names.Intern(u"UserDocument");
    atomVBUserMemId_ = names.Intern(u"VB_UserMemId");
    const size_t projectCount = m_.projects_.size();
    projectSymbol_.resize(projectCount);
    projectScope_.resize(projectCount);
    moduleScope_.resize(m_.modules_.size());
    procs_.resize(m_.modules_.size());
    size_t total = projectCount;
    for (const auto& info : m_.modules_) total += 1 + info.code->controls.size() + info.syntax.decls.size();
    m_.symbols_.reserve(total + 64);
    for (uint32_t p = 0; p < projectCount; ++p) {
      Symbol s;
      s.decl.name = names.Intern(m_.projects_[p].name);
      s.decl.kind = DeclKind::Project;
      s.decl.access = Access::Public;
      s.project = p;
      projectSymbol_[p] = Add(s);
    }
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      ModuleInfo& info = m_.modules_[mi];
      const ModuleCode& code = *info.code;
      Symbol c;
      c.decl.name = names.Intern(code.name);
      c.decl.kind = DeclKind::Component;
      c.decl.access = Access::Public;
      c.project = info.project;
      c.module = mi;
      c.parent = projectSymbol_[info.project];
      info.component = Add(c);
      info.firstControl = static_cast<SymbolId>(m_.symbols_.size());
      info.controlCount = static_cast<uint32_t>(code.controls.size());
      for (const auto& control : code.controls) {
        Symbol s;
        s.decl.name = names.Intern(control.name);
        s.decl.kind = DeclKind::Control;
        s.decl.access = Access::Public;
        s.decl.flags = control.array ? kDeclControlArray : 0;
        std::u16string_view cls = control.className;
        if (auto dot = cls.rfind(u'.'); dot != std::u16string_view::npos) cls = cls.substr(dot + 1);
        s.decl.typeName = names.Intern(cls);
        s.project = info.project;
        s.module = mi;
        s.parent = info.component;
        Add(s);
      }
      info.firstDecl = static_cast<SymbolId>(m_.symbols_.size());
      const auto& decls = info.syntax.decls;
      for (const auto& d : decls) {
        Symbol s;
        s.decl = d;
        s.project = info.project;
        s.module = mi;
        s.parent = d.parent >= 0 ? info.firstDecl + static_cast<SymbolId>(d.parent) : info.component;
        Add(s);
      }
      // The module's own scope: module-level declarations, enum members, controls.
      NameIndex& scope = moduleScope_[mi];
      for (uint32_t k = 0; k < info.controlCount; ++k) scope.push_back({m_.symbols_[info.firstControl + k].decl.name, info.firstControl + k});
      for (size_t i = 0; i < decls.size(); ++i) {
        const Decl& d = decls[i];
        bool moduleLevel = d.parent < 0 && d.kind != DeclKind::Label;
        bool enumMember = d.kind == DeclKind::EnumMember;
        if (moduleLevel || enumMember) scope.push_back({d.name, info.firstDecl + static_cast<SymbolId>(i)});
      }
      std::sort(scope.begin(), scope.end());
      // Procedures and their locals.
      for (int32_t p : info.syntax.procedures) {
        ProcScope ps;
        ps.decl = p;
        ps.localFrom = p + 1;
        int32_t q = p + 1;
        while (q < static_cast<int32_t>(decls.size()) && decls[static_cast<size_t>(q)].parent == p) ++q;
        ps.localTo = q;
        ps.firstLine = decls[static_cast<size_t>(p)].line;
        ps.lastLine = decls[static_cast<size_t>(p)].endLine ? decls[static_cast<size_t>(p)].endLine : info.syntax.lineCount;
        procs_[mi].push_back(ps);
      }
    }
    // Project and group scopes.
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      const ModuleInfo& info = m_.modules_[mi];
      auto& scope = projectScope_[info.project];
      const int type = info.code->type;
      scope[m_.symbols_[info.component].decl.name].push_back(info.component);
      if (type == ide::ComponentType::ClassModule || type == ide::ComponentType::UserControl) {
        groupScope_[m_.symbols_[info.component].decl.name].push_back(info.component);
      }
      const auto& decls = info.syntax.decls;
      for (size_t i = 0; i < decls.size(); ++i) {
        const Decl& d = decls[i];
        const SymbolId id = info.firstDecl + static_cast<SymbolId>(i);
        bool visible = false;
        if (type == ide::ComponentType::StdModule) {
          visible = d.parent < 0 && IsPublic(d) && d.kind != DeclKind::Event;
        }
        if (d.kind == DeclKind::Enum && IsPublic(d)) visible = true;
        if (d.kind == DeclKind::EnumMember && IsPublic(decls[static_cast<size_t>(d.parent)])) visible = true;
        if (visible) scope[d.name].push_back(id);
        if (type != ide::ComponentType::StdModule &&
            ((d.kind == DeclKind::Enum && IsPublic(d)) ||
             (d.kind == DeclKind::EnumMember && IsPublic(decls[static_cast<size_t>(d.parent)])))) {
          groupScope_[d.name].push_back(id);
        }
      }
    }
    for (uint32_t p = 0; p < projectCount; ++p) {
      projectScope_[p][m_.symbols_[projectSymbol_[p]].decl.name].push_back(projectSymbol_[p]);
      groupScope_[m_.symbols_[projectSymbol_[p]].decl.name].push_back(projectSymbol_[p]);
    }
  }

  // ---- lookups
  const Symbol& S(SymbolId s) const { return m_.symbols_[s]; }
  Ref& R(uint32_t mi, int32_t i) { return m_.modules_[mi].syntax.refs[static_cast<size_t>(i)]; }

  const ProcScope* ProcAt(uint32_t mi, int32_t line) const {
    const auto& ps = procs_[mi];
    auto it = std::upper_bound(ps.begin(), ps.end(), line, [](int32_t l, const ProcScope& p) { return l < p.firstLine; });
    if (it == ps.begin()) return nullptr;
    --it;
    return line <= it->lastLine ? &*it : nullptr;
  }

  // Among symbols of one name, the one a reference means: a property's
  // accessor by how it is used, else the first.
  SymbolId Pick(const SymbolId* from, size_t count, uint32_t flags) const {
    if (count == 0) return kNoSymbol;
    if (count == 1) return from[0];
    DeclKind want = (flags & kRefSet) ? DeclKind::PropertySet : (flags & kRefAssign) ? DeclKind::PropertyLet : DeclKind::PropertyGet;
    for (size_t i = 0; i < count; ++i) {
      if (S(from[i]).decl.kind == want) return from[i];
    }
    if (flags & kRefAssign) {  // x = ... of a property with only Set, or Set of one with only Let
      for (size_t i = 0; i < count; ++i) {
        DeclKind k = S(from[i]).decl.kind;
        if (k == DeclKind::PropertyLet || k == DeclKind::PropertySet) return from[i];
      }
    }
    return from[0];
  }

  // A name in the module's own scope; with `publicOnly`, only what other modules see.
  SymbolId InModule(uint32_t mi, Atom name, uint32_t flags, bool publicOnly, bool typesOnly = false) const {
    auto [b, e] = Range(moduleScope_[mi], name);
    SymbolId found[8];
    size_t n = 0;
    for (auto it = b; it != e && n < 8; ++it) {
      const Decl& d = S(it->second).decl;
      if (publicOnly && !IsPublic(d)) continue;
      if (typesOnly && d.kind != DeclKind::Type && d.kind != DeclKind::Enum) continue;
      if (!typesOnly && (d.kind == DeclKind::Type)) continue;  // a Type is no value
      found[n++] = it->second;
    }
    return Pick(found, n, flags);
  }

  SymbolId InLocals(uint32_t mi, const ProcScope& p, Atom name, bool labels) const {
    const auto& decls = m_.modules_[mi].syntax.decls;
    for (int32_t i = p.localFrom; i < p.localTo; ++i) {
      const Decl& d = decls[static_cast<size_t>(i)];
      if (d.name == name && (d.kind == DeclKind::Label) == labels) return m_.modules_[mi].firstDecl + static_cast<SymbolId>(i);
    }
    if (!labels) {
      if (auto it = implicitLocals_.find(ProcKey(mi, p.decl)); it != implicitLocals_.end()) {
        for (SymbolId s : it->second) {
          if (S(s).decl.name == name) return s;
        }
      }
    }
    return kNoSymbol;
  }
  static uint64_t ProcKey(uint32_t mi, int32_t decl) { return (static_cast<uint64_t>(mi) << 32) | static_cast<uint32_t>(decl); }

  SymbolId InProject(uint32_t project, Atom name, uint32_t flags, bool typesOnly) const {
    const auto& scope = projectScope_[project];
    auto it = scope.find(name);
    if (it == scope.end()) return kNoSymbol;
    SymbolId found[8];
    size_t n = 0;
    for (SymbolId s : it->second) {
      if (n == 8) break;
      const Symbol& sym = S(s);
      if (typesOnly) {
        bool type = sym.decl.kind == DeclKind::Type || sym.decl.kind == DeclKind::Enum || sym.decl.kind == DeclKind::Project ||
                    (sym.decl.kind == DeclKind::Component && IsClassLike(ComponentType(sym)));
        if (!type) continue;
      } else if (sym.decl.kind == DeclKind::Type) {
        continue;
      }
      found[n++] = s;
    }
    return Pick(found, n, flags);
  }

  SymbolId InGroup(uint32_t project, Atom name) const {
    auto it = groupScope_.find(name);
    if (it == groupScope_.end()) return kNoSymbol;
    for (SymbolId s : it->second) {
      if (S(s).project != project) return s;
    }
    return kNoSymbol;
  }

  // The component of the project so named; kNoSymbol when none.
  SymbolId ComponentNamed(uint32_t project, Atom name) const {
    const auto& scope = projectScope_[project];
    auto it = scope.find(name);
    if (it == scope.end()) return kNoSymbol;
    for (SymbolId s : it->second) {
      if (S(s).decl.kind == DeclKind::Component) return s;
    }
    return kNoSymbol;
  }

  int ComponentType(const Symbol& component) const { return m_.modules_[component.module].code->type; }

  SymbolId ResolveTypeName(uint32_t mi, const Ref& r) {
    const uint32_t project = m_.modules_[mi].project;
    if (r.qualifier >= 0) {
      const Ref& q = R(mi, r.qualifier);
      if (q.target != kNoSymbol && S(q.target).decl.kind == DeclKind::Project) {
        return InProject(S(q.target).project, r.name, 0, true);
      }
      return kNoSymbol;
    }
    if (SymbolId s = InModule(mi, r.name, 0, false, true); s != kNoSymbol) return s;
    if (SymbolId s = InProject(project, r.name, 0, true); s != kNoSymbol) return s;
    return InGroup(project, r.name);
  }

  void BindTypeNames(uint32_t mi) {
    auto& refs = m_.modules_[mi].syntax.refs;
    for (size_t i = 0; i < refs.size(); ++i) {
      Ref& r = refs[i];
      if (!(r.flags & kRefTypeName) || (r.flags & kRefInactive)) continue;
      r.target = ResolveTypeName(mi, r);
    }
  }

  void SetDeclaredTypes() {
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      ModuleInfo& info = m_.modules_[mi];
      const auto& decls = info.syntax.decls;
      for (size_t i = 0; i < decls.size(); ++i) {
        if (decls[i].typeRef < 0) continue;
        SymbolId t = info.syntax.refs[static_cast<size_t>(decls[i].typeRef)].target;
        if (t != kNoSymbol && S(t).decl.kind != DeclKind::Project) m_.symbols_[info.firstDecl + i].type = t;
      }
      // A control placed from one of the project's user controls has that type.
      for (uint32_t k = 0; k < info.controlCount; ++k) {
        Symbol& c = m_.symbols_[info.firstControl + k];
        SymbolId t = InProject(info.project, c.decl.typeName, 0, true);
        if (t == kNoSymbol) t = InGroup(info.project, c.decl.typeName);
        if (t != kNoSymbol && S(t).decl.kind == DeclKind::Component) c.type = t;
      }
    }
  }

  // ---- event wiring
  Ref WiringRef(const Decl& d, Atom name, uint16_t offset, uint16_t length, SymbolId target) const {
    Ref r;
    r.name = name;
    r.line = d.line;
    r.column = static_cast<uint16_t>(d.column + offset);
    r.length = length;
    r.qualifier = kNoQualifier;
    r.target = target;
    r.flags = kRefWiring;
    return r;
  }

  void Wire(uint32_t mi) {
    ModuleInfo& info = m_.modules_[mi];
    auto& syntax = info.syntax;
    const int type = info.code->type;
    // Event sources of this module, by name: controls, WithEvents variables,
    // implemented interfaces and the module's own object.
    struct Source {
      Atom name;
      SymbolId symbol;  // control, variable, interface component (kNoSymbol: an interface outside the projects)
      enum { Object, Variable, Interface } kind;
    };
    std::vector<Source> sources;
    for (uint32_t k = 0; k < info.controlCount; ++k) sources.push_back({S(info.firstControl + k).decl.name, info.firstControl + k, Source::Object});
    Atom self = kNoAtom;
    switch (type) {
      case ide::ComponentType::VBForm: self = atomForm_; break;
      case ide::ComponentType::MDIForm: self = atomMDIForm_; break;
      case ide::ComponentType::UserControl: self = atomUserControl_; break;
      case ide::ComponentType::PropPage: self = atomPropertyPage_; break;
      case ide::ComponentType::DocObject: self = atomUserDocument_; break;
      case ide::ComponentType::ClassModule: self = atomClass_; break;
      default: break;
    }
    if (self != kNoAtom) sources.push_back({self, info.component, Source::Object});
    for (size_t i = 0; i < syntax.decls.size(); ++i) {
      const Decl& d = syntax.decls[i];
      if (d.parent < 0 && (d.flags & kDeclWithEvents)) sources.push_back({d.name, info.firstDecl + static_cast<SymbolId>(i), Source::Variable});
    }
    for (const Ref& r : syntax.refs) {
      if ((r.flags & kRefImplements) && !(r.flags & kRefInactive) && r.qualifier == kNoQualifier) {
        sources.push_back({r.name, r.target, Source::Interface});
      }
    }
    if (sources.empty()) return;
    std::vector<Ref> added;
    for (int32_t p : syntax.procedures) {
      const Decl& d = syntax.decls[static_cast<size_t>(p)];
      std::u16string_view name = m_.names_.Text(d.name);
      for (size_t k = name.find(u'_'); k != std::u16string_view::npos && k + 1 < name.size(); k = name.find(u'_', k + 1)) {
        Atom prefix = m_.names_.Find(name.substr(0, k));
        if (prefix == kNoAtom) continue;
        const Source* src = nullptr;
        for (const auto& s : sources) {
          if (s.name == prefix) src = &s;
        }
        if (!src) continue;
        // A class's own object raises only Initialize and Terminate.
        if (prefix == atomClass_ && src->symbol == info.component) {
          std::u16string_view event = name.substr(k + 1);
          if (!SameName(event, u"Initialize") && !SameName(event, u"Terminate")) break;
        }
        Symbol& proc = m_.symbols_[info.firstDecl + static_cast<SymbolId>(p)];
        Atom suffix = m_.names_.Find(name.substr(k + 1));
        const uint16_t suffixColumn = static_cast<uint16_t>(k + 1), suffixLength = static_cast<uint16_t>(name.size() - k - 1);
        if (src->kind == Source::Interface) {
          proc.decl.flags |= kDeclImplements;
          if (src->symbol != kNoSymbol) {
            added.push_back(WiringRef(d, prefix, 0, static_cast<uint16_t>(k), src->symbol));
            if (suffix != kNoAtom && S(src->symbol).decl.kind == DeclKind::Component) {
              DeclKind kind = d.kind;
              uint32_t flags = kind == DeclKind::PropertyLet ? kRefAssign : kind == DeclKind::PropertySet ? (kRefAssign | kRefSet) : 0;
              SymbolId member = InModule(S(src->symbol).module, suffix, flags, true);
              if (member != kNoSymbol) added.push_back(WiringRef(d, suffix, suffixColumn, suffixLength, member));
            }
          }
        } else {
          proc.decl.flags |= kDeclHandler;
          added.push_back(WiringRef(d, prefix, 0, static_cast<uint16_t>(k), src->symbol));
          if (src->kind == Source::Variable && suffix != kNoAtom) {
            SymbolId t = S(src->symbol).type;
            if (t != kNoSymbol && S(t).decl.kind == DeclKind::Component) {
              SymbolId event = InModule(S(t).module, suffix, 0, true);
              if (event != kNoSymbol && S(event).decl.kind == DeclKind::Event) {
                added.push_back(WiringRef(d, suffix, suffixColumn, suffixLength, event));
              }
            }
          }
        }
        break;
      }
    }
    syntax.refs.insert(syntax.refs.end(), added.begin(), added.end());
  }

  // ---- binding references
  Qualified TypeOf(uint32_t mi, const Ref& q) const {
    const ModuleInfo& info = m_.modules_[mi];
    if (q.target == kNoSymbol) {
      if (q.flags & (kRefMember | kRefExternal)) return {};
      if (q.flags & kRefTypeName) return {Qualified::External, kNoSymbol};
      // A name of no project: a library's object (Err, App, Screen) where
      // every variable must be declared.
      if (info.syntax.optionExplicit && !(q.flags & kRefCalled)) return {Qualified::External, kNoSymbol};
      return {};
    }
    const Symbol& s = S(q.target);
    const bool called = q.flags & kRefCalled;
    switch (s.decl.kind) {
      case DeclKind::Component:
        if (called) return {};
        return {Qualified::Namespace, q.target};
      case DeclKind::Project: case DeclKind::Enum: case DeclKind::Type:
        return {Qualified::Namespace, q.target};
      case DeclKind::Control:
        // A control array's own members: Count, LBound, UBound, Item.
        if ((s.decl.flags & kDeclControlArray) && !called) return {Qualified::External, kNoSymbol};
        if (s.type != kNoSymbol) return {Qualified::Namespace, s.type};
        return {Qualified::External, kNoSymbol};
      case DeclKind::Variable: case DeclKind::Parameter: case DeclKind::Constant: case DeclKind::TypeMember:
      case DeclKind::Function: case DeclKind::PropertyGet: case DeclKind::DeclareFunction: {
        const bool array = s.decl.flags & kDeclArray;
        const bool value = s.decl.kind == DeclKind::Function || s.decl.kind == DeclKind::PropertyGet ||
                           s.decl.kind == DeclKind::DeclareFunction;
        if (array && !called && !value) return {};
        if (s.type != kNoSymbol) {
          if (called && !array && !value) return {};  // the default member of an object
          return {Qualified::Namespace, s.type};
        }
        const Atom t = s.decl.typeName;
        if (t == kNoAtom || t == A(Kw::Object) || t == A(Kw::Variant) || t == atomForm_ || t == atomControl_ ||
            t == atomMDIForm_ || t == atomUserControl_) {
          return {};
        }
        if (IsBuiltinType(t)) {
          // A Long or a String has no members: `NPCs.Damage` beside a
          // `Public NPCs As Long` names the module NPCs (VB compiles it so).
          if (SymbolId c = ComponentNamed(info.project, q.name); c != kNoSymbol) return {Qualified::Namespace, c};
          return {Qualified::External, kNoSymbol};
        }
        if (called && !array && !value) return {};
        return {Qualified::External, kNoSymbol};
      }
      default:
        return {};
    }
  }

  // Binds member `r` of the namespace; leaves it unbound (Unresolved or External) when not found.
  void BindMember(uint32_t mi, Ref& r, const Qualified& q) {
    if (q.kind == Qualified::External) {
      r.flags |= kRefExternal;
      return;
    }
    if (q.kind == Qualified::Unknown) return;
    const Symbol& ns = S(q.symbol);
    switch (ns.decl.kind) {
      case DeclKind::Component: {
        const bool own = q.symbol == m_.modules_[mi].component;
        r.target = InModule(ns.module, r.name, r.flags, !own);
        if (r.target == kNoSymbol && HasBuiltInMembers(ComponentType(ns))) r.flags |= kRefExternal;
        return;
      }
      case DeclKind::Project:
        r.target = InProject(ns.project, r.name, r.flags, false);
        return;
      case DeclKind::Enum: case DeclKind::Type: {
        const ModuleInfo& owner = m_.modules_[ns.module];
        const int32_t parent = static_cast<int32_t>(q.symbol - owner.firstDecl);
        const auto& decls = owner.syntax.decls;
        for (size_t i = static_cast<size_t>(parent) + 1; i < decls.size() && decls[i].parent == parent; ++i) {
          if (decls[i].name == r.name) {
            r.target = owner.firstDecl + static_cast<SymbolId>(i);
            return;
          }
        }
        return;
      }
      default:
        return;
    }
  }

  void BindModule(uint32_t mi) {
    ModuleInfo& info = m_.modules_[mi];
    auto& refs = info.syntax.refs;
    const uint32_t project = info.project;
    for (size_t i = 0; i < refs.size(); ++i) {
      Ref& r = refs[i];
      if (r.flags & (kRefInactive | kRefTypeName | kRefWiring)) continue;
      if (r.flags & kRefMe) {
        r.target = info.component;
        continue;
      }
      const ProcScope* proc = ProcAt(mi, r.line);
      if (r.flags & kRefLabel) {
        if (proc) r.target = InLocals(mi, *proc, r.name, true);
        continue;
      }
      if (r.flags & kRefNamedArg) {
        // name:= of a call whose callee is no name (Print, (f)(n:=1)) names nothing of the projects.
        const Ref* callee = r.qualifier >= 0 ? &refs[static_cast<size_t>(r.qualifier)] : nullptr;
        if (callee && callee->target != kNoSymbol && m_.symbols_[callee->target].module != kUnbound) {
          const Symbol& c = S(callee->target);
          const ModuleInfo& owner = m_.modules_[c.module];
          const int32_t parent = static_cast<int32_t>(callee->target - owner.firstDecl);
          const auto& decls = owner.syntax.decls;
          if (callee->target >= owner.firstDecl) {
            for (size_t k = static_cast<size_t>(parent) + 1; k < decls.size() && decls[k].parent == parent; ++k) {
              if (decls[k].name == r.name && decls[k].kind == DeclKind::Parameter) r.target = owner.firstDecl + static_cast<SymbolId>(k);
            }
          }
        }
        if (r.target == kNoSymbol) r.flags |= kRefExternal;
        continue;
      }
      if (r.flags & kRefRaiseEvent) {
        r.target = InModule(mi, r.name, 0, false);
        continue;
      }
      if (r.flags & kRefMember) {
        Qualified q;
        if (r.qualifier == kSelfQualifier) q = {Qualified::Namespace, info.component};
        else if (r.qualifier >= 0) q = TypeOf(mi, refs[static_cast<size_t>(r.qualifier)]);
        BindMember(mi, r, q);
        continue;
      }
      // A plain name: procedure, module, project, group. Inside a Function
      // or Property Get, assigning its own name sets the value it returns.
      if (proc && (r.flags & kRefAssign)) {
        const Decl& own = info.syntax.decls[static_cast<size_t>(proc->decl)];
        if (own.name == r.name && (own.kind == DeclKind::Function || own.kind == DeclKind::PropertyGet)) {
          r.target = info.firstDecl + static_cast<SymbolId>(proc->decl);
          continue;
        }
      }
      if (proc) {
        if (SymbolId s = InLocals(mi, *proc, r.name, false); s != kNoSymbol) {
          r.target = s;
          continue;
        }
      }
      if (SymbolId s = InModule(mi, r.name, r.flags, false); s != kNoSymbol) {
        r.target = s;
        continue;
      }
      if (SymbolId s = InProject(project, r.name, r.flags, false); s != kNoSymbol) {
        r.target = s;
        continue;
      }
      r.target = InGroup(project, r.name);
    }
  }

  // ReDim of a name declared nowhere declares a local array.
  void ImplicitArrays() {
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      ModuleInfo& info = m_.modules_[mi];
      auto& refs = info.syntax.refs;
      for (size_t i = 0; i < refs.size(); ++i) {
        Ref& r = refs[i];
        if (!(r.flags & kRefReDim) || r.target != kNoSymbol || r.qualifier != kNoQualifier) continue;
        const ProcScope* proc = ProcAt(mi, r.line);
        if (!proc) continue;
        Symbol s;
        s.decl.name = r.name;
        s.decl.line = r.line;
        s.decl.column = r.column;
        s.decl.length = r.length;
        s.decl.kind = DeclKind::Variable;
        s.decl.access = Access::Implicit;
        s.decl.flags = kDeclImplicit | kDeclArray;
        s.decl.parent = proc->decl;
        s.project = info.project;
        s.module = mi;
        s.parent = info.firstDecl + static_cast<SymbolId>(proc->decl);
        SymbolId id = Add(s);
        implicitLocals_[ProcKey(mi, proc->decl)].push_back(id);
        for (size_t k = 0; k < refs.size(); ++k) {
          Ref& o = refs[k];
          if (o.name == r.name && o.target == kNoSymbol && o.qualifier == kNoQualifier &&
              !(o.flags & (kRefInactive | kRefLabel | kRefTypeName | kRefNamedArg)) && o.line >= proc->firstLine &&
              o.line <= proc->lastLine) {
            o.target = id;
          }
        }
      }
    }
  }

  // VB_UserMemId 0 (the default member) and -4 (the enumerator) are called
  // without their names.
  void ApplyAttributes() {
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      ModuleInfo& info = m_.modules_[mi];
      auto mark = [&](Atom member, Atom attribute, int value) {
        if (attribute != atomVBUserMemId_ || (value != 0 && value != -4)) return;
        auto [b, e] = Range(moduleScope_[mi], member);
        for (auto it = b; it != e; ++it) m_.symbols_[it->second].decl.flags |= value == 0 ? kDeclDefaultMember : kDeclEnumerator;
      };
      for (const auto& a : info.syntax.attributes) mark(a.member, a.attribute, a.value);
      for (std::u16string_view line : info.code->hidden) {
        // Attribute Name.VB_UserMemId = -4
        size_t at = line.find_first_not_of(u" \t");
        if (at == std::u16string_view::npos) continue;
        line = line.substr(at + 9);  // "Attribute"
        size_t dot = line.find(u'.'), eq = line.find(u'=');
        if (dot == std::u16string_view::npos || eq == std::u16string_view::npos || eq < dot) continue;
        auto trim = [](std::u16string_view s) {
          while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
          while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
          return s;
        };
        std::u16string_view member = trim(line.substr(0, dot));
        if (!member.empty() && member.front() == u'[' && member.back() == u']') member = member.substr(1, member.size() - 2);
        Atom m = m_.names_.Find(member), a = m_.names_.Find(trim(line.substr(dot + 1, eq - dot - 1)));
        std::u16string_view v = trim(line.substr(eq + 1));
        bool minus = !v.empty() && v.front() == u'-';
        if (minus) v.remove_prefix(1);
        int value = 0;
        for (char16_t c : v) {
          if (c < u'0' || c > u'9') break;
          value = value * 10 + (c - u'0');
        }
        if (m != kNoAtom && a != kNoAtom) mark(m, a, minus ? -value : value);
      }
    }
  }

  // ---- indexes
  void Index() {
    const size_t n = m_.symbols_.size();
    m_.refStart_.assign(n + 1, 0);
    std::vector<std::pair<Atom, RefId>> unresolved, inactive;
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      const auto& refs = m_.modules_[mi].syntax.refs;
      for (uint32_t i = 0; i < refs.size(); ++i) {
        const Ref& r = refs[i];
        if (r.target != kNoSymbol) {
          if (!(r.flags & kRefMe)) ++m_.refStart_[r.target + 1];
        } else if (r.flags & kRefInactive) {
          inactive.push_back({r.name, {mi, i}});
        } else if ((r.flags & kRefMember) && !(r.flags & (kRefExternal | kRefTypeName))) {
          unresolved.push_back({r.name, {mi, i}});
          m_.unresolved_.push_back({mi, i});
        }
      }
    }
    for (size_t s = 0; s < n; ++s) m_.refStart_[s + 1] += m_.refStart_[s];
    m_.refsBySymbol_.resize(m_.refStart_[n]);
    std::vector<uint32_t> fill(m_.refStart_.begin(), m_.refStart_.end() - 1);
    for (uint32_t mi = 0; mi < m_.modules_.size(); ++mi) {
      const auto& refs = m_.modules_[mi].syntax.refs;
      for (uint32_t i = 0; i < refs.size(); ++i) {
        const Ref& r = refs[i];
        if (r.target != kNoSymbol && !(r.flags & kRefMe)) m_.refsBySymbol_[fill[r.target]++] = {mi, i};
      }
    }
    auto byName = [](std::vector<std::pair<Atom, RefId>>& list, std::vector<RefId>& sorted,
                     std::vector<std::pair<Atom, std::pair<uint32_t, uint32_t>>>& index) {
      std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
      sorted.reserve(list.size());
      for (size_t i = 0; i < list.size(); ++i) {
        if (i == 0 || list[i].first != list[i - 1].first) index.push_back({list[i].first, {static_cast<uint32_t>(i), static_cast<uint32_t>(i)}});
        sorted.push_back(list[i].second);
        index.back().second.second = static_cast<uint32_t>(i + 1);
      }
    };
    byName(unresolved, m_.unresolvedSorted_, m_.unresolvedByName_);
    byName(inactive, m_.inactiveSorted_, m_.inactiveByName_);
    m_.symbolsByName_.reserve(n);
    for (SymbolId s = 0; s < n; ++s) m_.symbolsByName_.push_back({m_.symbols_[s].decl.name, s});
    std::sort(m_.symbolsByName_.begin(), m_.symbolsByName_.end());
  }

  Model& m_;
  int jobs_;
  std::vector<SymbolId> projectSymbol_;
  std::vector<NameIndex> moduleScope_;
  std::vector<std::vector<ProcScope>> procs_;
  std::vector<std::unordered_map<Atom, std::vector<SymbolId>>> projectScope_;
  std::unordered_map<Atom, std::vector<SymbolId>> groupScope_;
  std::unordered_map<uint64_t, std::vector<SymbolId>> implicitLocals_;
  Atom atomForm_ = kNoAtom, atomControl_ = kNoAtom, atomMDIForm_ = kNoAtom, atomUserControl_ = kNoAtom,
       atomClass_ = kNoAtom, atomPropertyPage_ = kNoAtom, atomUserDocument_ = kNoAtom, atomVBUserMemId_ = kNoAtom;
};

std::unique_ptr<Model> Model::Build(std::vector<ProjectCode> projects, Options options) {
  std::unique_ptr<Model> model(new Model());
  model->projects_ = std::move(projects);
  Binder(*model, options.jobs).Run(options.timings);
  return model;
}

}  // namespace tarno::lang
