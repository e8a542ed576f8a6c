// The language model of a project or a group of projects: every module
// parsed, every declaration a symbol, every reference bound to its symbol by
// VB's rules. Built once from the host's code (ReadProjectCode), on several
// threads, module by module; read-only afterwards and safe to read from any
// thread.
//
// For the unused-code checks:
//   - Symbols(): every symbol with its kind, scope (parent symbol: the
//     procedure, Type, Enum or component it is declared in), access and
//     declaration position; flags say what the runtime calls without a
//     visible use (kDeclHandler event procedures, kDeclImplements interface
//     members, kDeclDefaultMember / kDeclEnumerator from VB_UserMemId).
//   - References(symbol): where code uses it, each with its module, line,
//     column and flags (assigned, called, Set, ...); ProcedureAt(module,
//     line) says from which procedure.
//   - InactiveUses(name): names met in dead #If branches; a symbol with such
//     a use must never be called unused.
//   - UnresolvedMembers(name): `x.name` where the type of x is not known (an
//     Object, a Variant, an item of a collection): a possible use of every
//     member so named. CallByName and Controls("...") literals are among them.
//   - FullyUnderstood(module): false when the module has parse errors
//     (Errors(module)); draw no conclusion from such a module, nor about
//     symbols it could use.
// For go-to-definition: At(module, line, column) gives the symbol of the
// declaration or reference there; References(symbol) its uses.
//
// Scopes: procedure (parameters, locals, labels), module (module-level
// declarations, the controls of a designer, enum members), project (Public
// and Global members of standard modules, public enums and their members,
// component names, the project name) and group (the other projects' names
// and components). Names compare without case.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lang/names.h"
#include "lang/project_code.h"
#include "lang/syntax.h"

namespace tarno::lang {

using SymbolId = uint32_t;
inline constexpr SymbolId kNoSymbol = kUnbound;

struct Symbol {
  Decl decl;                   // name, kind, access, flags, position (component, control, project: 0)
  uint32_t project = 0;        // index of its project
  uint32_t module = kUnbound;  // index of its module (kUnbound for a project)
  SymbolId parent = kNoSymbol;  // procedure, Type, Enum, Declare, Event, component or project
  SymbolId type = kNoSymbol;    // the declared type when it is one of the projects' (class, form, Type, Enum)
};

// A reference by its place: module and index in that module's references.
struct RefId {
  uint32_t module = 0;
  uint32_t index = 0;
};

struct ModuleInfo {
  uint32_t project = 0;
  SymbolId component = kNoSymbol;  // the component's own symbol
  SymbolId firstControl = kNoSymbol;  // the designer's controls follow the component
  uint32_t controlCount = 0;
  SymbolId firstDecl = kNoSymbol;  // the symbol of syntax.decls[i] is firstDecl + i
  const ModuleCode* code = nullptr;
  ModuleSyntax syntax;
};

class Model {
 public:
  // Seconds spent, for the benchmark: lexing and parsing (with the merge of
  // the name tables), then everything the binder does.
  struct Timings {
    double parse = 0;
    double bind = 0;
  };
  struct Options {
    int jobs = 2;
    Timings* timings = nullptr;
  };
  // The projects stay owned by the model (their ModuleCode lends the lines
  // that positions point into). A group passes every project it lists.
  static std::unique_ptr<Model> Build(std::vector<ProjectCode> projects, Options options);
  static std::unique_ptr<Model> Build(std::vector<ProjectCode> projects) { return Build(std::move(projects), Options{}); }

  const NameTable& Names() const { return names_; }
  std::u16string_view NameOf(Atom a) const { return names_.Text(a); }
  Atom FindName(std::u16string_view name) const { return names_.Find(name); }

  const std::vector<ProjectCode>& Projects() const { return projects_; }
  size_t ModuleCount() const { return modules_.size(); }
  const ModuleInfo& Module(uint32_t m) const { return modules_[m]; }
  // The module of a component (case-insensitive name) in a project; kUnbound when none.
  uint32_t FindModule(uint32_t project, std::u16string_view name) const;
  const std::vector<ParseError>& Errors(uint32_t m) const { return modules_[m].syntax.errors; }
  bool FullyUnderstood(uint32_t m) const { return modules_[m].syntax.errors.empty(); }

  size_t SymbolCount() const { return symbols_.size(); }
  const Symbol& Sym(SymbolId s) const { return symbols_[s]; }
  std::u16string_view SymbolName(SymbolId s) const { return names_.Text(symbols_[s].decl.name); }
  // Every symbol of the name, in project, module and line order.
  std::vector<SymbolId> SymbolsNamed(Atom name) const;
  // The symbols a dotted name names, any case: "Name" (every symbol so
  // named), "Module.Member" (module level, enum members too) or
  // "Module.Procedure.Local" (parameters, locals and labels).
  std::vector<SymbolId> Lookup(std::u16string_view dotted) const;

  const Ref& RefAt(RefId r) const { return modules_[r.module].syntax.refs[r.index]; }
  std::span<const RefId> References(SymbolId s) const {
    return {refsBySymbol_.data() + refStart_[s], refsBySymbol_.data() + refStart_[s + 1]};
  }
  std::span<const RefId> InactiveUses(Atom name) const;
  std::span<const RefId> UnresolvedMembers(Atom name) const;
  // Every unresolved member reference, in module and line order.
  const std::vector<RefId>& UnresolvedMembers() const { return unresolved_; }

  // The procedure symbol whose lines (declaration to End) hold the line; kNoSymbol outside procedures.
  SymbolId ProcedureAt(uint32_t module, int line) const;
  // The symbol declared or referenced at the position (1-based line and
  // column, anywhere in the name); kNoSymbol when there is none there.
  SymbolId At(uint32_t module, int line, int column) const;

  // Bytes held by the model (names, syntax, symbols, indexes), for the figures.
  size_t Bytes() const;

 private:
  friend class Binder;
  Model() = default;
  std::vector<ProjectCode> projects_;
  NameTable names_;
  std::vector<ModuleInfo> modules_;
  std::vector<Symbol> symbols_;
  std::vector<uint32_t> refStart_;  // per symbol, into refsBySymbol_ (SymbolCount + 1)
  std::vector<RefId> refsBySymbol_;
  std::vector<RefId> unresolved_;   // sorted by name within byName index below
  std::vector<std::pair<Atom, std::pair<uint32_t, uint32_t>>> unresolvedByName_;  // name -> [from, to) of unresolvedSorted_
  std::vector<RefId> unresolvedSorted_;
  std::vector<std::pair<Atom, std::pair<uint32_t, uint32_t>>> inactiveByName_;
  std::vector<RefId> inactiveSorted_;
  std::vector<std::pair<Atom, SymbolId>> symbolsByName_;  // sorted
};

}  // namespace tarno::lang
