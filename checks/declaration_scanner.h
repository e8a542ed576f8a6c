// Finding variable and constant declarations in module statements and cutting
// the declared names out of them. These are plain text rules (substring
// searches and fixed positions), not a parser: their odd results (a name with
// its array bounds, a trailing comment taken with the name, an empty name)
// are what the variable check reports.
#pragma once

#include <string>
#include <vector>

#include "checks/source_reader.h"

namespace tarno::checks {

enum class DeclScope { None, Global, Public, Private, Dim, Const, Static };
enum class Section { Declarations, Procedures };

// What one statement declares.
struct DeclarationScan {
  DeclScope scope = DeclScope::None;
  // The statement is a comment, has no scope, or was skipped by the Declare
  // flag: it declares nothing.
  bool declaration = false;
  std::vector<std::u16string> names;
};

// Scans one statement of the given section. `declareFlag` carries the
// Declare state from statement to statement (and module to module in a
// project check): comment statements and statements with a scope update it;
// statements without a scope leave it as it is.
DeclarationScan ScanDeclarationStatement(View text, Section section, bool& declareFlag);

// The keyword length + 1 of a scope (where the names begin).
int NameStartOf(DeclScope scope);

}  // namespace tarno::checks
