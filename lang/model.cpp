#include "lang/model.h"

#include <algorithm>

namespace tarno::lang {
namespace {

template <class Index>
std::span<const RefId> RefsNamed(const Index& index, const std::vector<RefId>& sorted, Atom name) {
  auto it = std::lower_bound(index.begin(), index.end(), name, [](const auto& e, Atom a) { return e.first < a; });
  if (it == index.end() || it->first != name) return {};
  return {sorted.data() + it->second.first, sorted.data() + it->second.second};
}

}  // namespace

uint32_t Model::FindModule(uint32_t project, std::u16string_view name) const {
  for (uint32_t m = 0; m < modules_.size(); ++m) {
    if (modules_[m].project == project && SameName(modules_[m].code->name, name)) return m;
  }
  return kUnbound;
}

std::vector<SymbolId> Model::SymbolsNamed(Atom name) const {
  std::vector<SymbolId> out;
  auto it = std::lower_bound(symbolsByName_.begin(), symbolsByName_.end(), std::pair<Atom, SymbolId>{name, 0});
  for (; it != symbolsByName_.end() && it->first == name; ++it) out.push_back(it->second);
  return out;
}

std::vector<SymbolId> Model::Lookup(std::u16string_view dotted) const {
  std::vector<std::u16string_view> parts;
  for (size_t from = 0;;) {
    size_t dot = dotted.find(u'.', from);
    parts.push_back(dotted.substr(from, dot == std::u16string_view::npos ? std::u16string_view::npos : dot - from));
    if (dot == std::u16string_view::npos) break;
    from = dot + 1;
  }
  std::vector<SymbolId> out;
  const Atom name = FindName(parts.back());
  if (name == kNoAtom || parts.size() > 3) return out;
  for (SymbolId s : SymbolsNamed(name)) {
    const Symbol& sym = symbols_[s];
    if (parts.size() == 1) {
      out.push_back(s);
      continue;
    }
    if (sym.module == kUnbound) continue;
    const ModuleInfo& info = modules_[sym.module];
    if (!SameName(info.code->name, parts[0]) || sym.parent == kNoSymbol) continue;
    const Symbol& parent = symbols_[sym.parent];
    if (parts.size() == 2) {
      if (sym.parent == info.component || (sym.decl.kind == DeclKind::EnumMember && parent.parent == info.component)) {
        out.push_back(s);
      }
    } else if (sym.parent != info.component && IsProcedure(parent.decl.kind) && SameName(SymbolName(sym.parent), parts[1])) {
      out.push_back(s);
    }
  }
  return out;
}

std::span<const RefId> Model::InactiveUses(Atom name) const { return RefsNamed(inactiveByName_, inactiveSorted_, name); }
std::span<const RefId> Model::UnresolvedMembers(Atom name) const {
  return RefsNamed(unresolvedByName_, unresolvedSorted_, name);
}

SymbolId Model::ProcedureAt(uint32_t module, int line) const {
  const ModuleInfo& info = modules_[module];
  const auto& procs = info.syntax.procedures;
  const auto& decls = info.syntax.decls;
  auto it = std::upper_bound(procs.begin(), procs.end(), line,
                             [&](int l, int32_t p) { return l < decls[static_cast<size_t>(p)].line; });
  if (it == procs.begin()) return kNoSymbol;
  const Decl& d = decls[static_cast<size_t>(*(it - 1))];
  const int last = d.endLine ? d.endLine : info.syntax.lineCount;
  return line <= last ? info.firstDecl + static_cast<SymbolId>(*(it - 1)) : kNoSymbol;
}

SymbolId Model::At(uint32_t module, int line, int column) const {
  const ModuleInfo& info = modules_[module];
  auto covers = [&](int32_t l, int c, int len) { return l == line && column >= c && column < c + std::max(len, 1); };
  const auto& decls = info.syntax.decls;
  for (size_t i = 0; i < decls.size(); ++i) {
    if (covers(decls[i].line, decls[i].column, decls[i].length)) return info.firstDecl + static_cast<SymbolId>(i);
  }
  for (const Ref& r : info.syntax.refs) {
    if (covers(r.line, r.column, r.length) && !(r.flags & kRefWiring)) return r.target;
  }
  return kNoSymbol;
}

// Sizes, not capacities: the unused tail of a grown vector is never touched
// and so never resident.
size_t Model::Bytes() const {
  size_t b = names_.Bytes() + symbols_.size() * sizeof(Symbol) + refStart_.size() * sizeof(uint32_t) +
             refsBySymbol_.size() * sizeof(RefId) + unresolved_.size() * sizeof(RefId) +
             unresolvedSorted_.size() * sizeof(RefId) + inactiveSorted_.size() * sizeof(RefId) +
             symbolsByName_.size() * sizeof(std::pair<Atom, SymbolId>) +
             (unresolvedByName_.size() + inactiveByName_.size()) * sizeof(unresolvedByName_[0]);
  for (const auto& m : modules_) {
    b += sizeof(ModuleInfo) + m.syntax.decls.size() * sizeof(Decl) + m.syntax.refs.size() * sizeof(Ref) +
         m.syntax.procedures.size() * sizeof(int32_t) + m.syntax.errors.size() * sizeof(ParseError);
  }
  return b;
}

}  // namespace tarno::lang
