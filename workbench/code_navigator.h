// What the code panes ask a model of the language for: where the name at a
// place is declared, and every place that refers to the same declaration.
// The window holds one when a model is loaded; the results pane lists
// references as it lists Find's matches (CodePlace rows).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/code_place.h"

namespace tarno::workbench {

// The name at a place as the model understands it.
struct NameAt {
  std::u16string name;  // empty: no name there
  // Its declaration; nullopt when the name is not bound to one.
  // A form, class or control, declared by no statement, is its component
  // at line 0 (the designer, else the code).
  std::optional<CodePlace> definition;
  // The declaration's statement as written (continued lines joined by line
  // breaks) and where it is ("modInput, line 12"); a form, class or control
  // (declared by no statement) says what it is.
  std::u16string declaration;
  std::u16string where;
  // Why a name has no declaration: an unresolved member, a member of a type
  // outside the projects, a name VB or a reference declares.
  std::u16string unresolved;
};

class CodeNavigator {
 public:
  virtual ~CodeNavigator() = default;
  // The declaration of the name at `at` (its line and the name's run), across
  // the modules and projects of the group; nullopt when it is not resolved.
  virtual std::optional<CodePlace> DefinitionAt(const CodePlace& at) = 0;
  // Every reference to the declaration the name at `at` resolves to (to
  // each of a property's Get, Let and Set).
  virtual std::vector<CodePlace> ReferencesAt(const CodePlace& at) = 0;
  // The name at `at`, its declaration or why it has none.
  virtual NameAt Describe(const CodePlace& at) = 0;
  // The references of every declaration a name names: "Name",
  // "Module.Member" or "Module.Procedure.Local", in any case.
  virtual std::vector<CodePlace> ReferencesOf(std::u16string_view dotted) = 0;
};

}  // namespace tarno::workbench
