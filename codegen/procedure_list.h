// The procedure list of a module as the bulk comment and bulk error-handling
// windows (and their command-line twins) show it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "addin/host_api.h"

namespace tarno::codegen {

struct ProcedureRow {
  std::u16string Name;
  int StartLine = 0;       // ProcStartLine for the row's kind
  int Kind = 0;            // ide::ProcKind of the row: 0 for methods and events
  std::u16string Scope;    // "Private", "Public", "Friend" or ""
  std::u16string KindText; // "メソッド", "イベント", "プロパティ[Get]", ...
};

// Texts shown for a component type and a member scope ("" for other codes).
std::u16string ModuleKindText(int componentType);
std::u16string ScopeText(int scope);
// "プロパティ[Get]" / "[Let]" / "[Set]" for the property kinds, "" otherwise.
std::u16string PropertyKindText(int kind);

// One row per procedure below the declarations section, in member order; a
// property gives a row for each accessor it has (Get, Let, Set). Host errors
// on one member or kind drop that row only.
std::vector<ProcedureRow> ListProcedures(ide::CodeModule& module);

// The first kind the host accepts for the name, tried in the order procedure,
// Get, Let, Set; nullopt when none is accepted.
std::optional<int> FirstAcceptedKind(ide::CodeModule& module, const std::u16string& name);

}  // namespace tarno::codegen
