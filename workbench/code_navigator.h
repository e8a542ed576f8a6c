// What the code panes ask a model of the language for: where the name at a
// place is declared, and every place that refers to the same declaration.
// The window holds one when a model is loaded; the results pane lists
// references as it lists Find's matches (CodePlace rows).
#pragma once

#include <optional>
#include <vector>

#include "workbench/code_place.h"

namespace tarno::workbench {

class CodeNavigator {
 public:
  virtual ~CodeNavigator() = default;
  // The declaration of the name at `at` (its line and the name's run), across
  // the modules and projects of the group; nullopt when it is not resolved.
  virtual std::optional<CodePlace> DefinitionAt(const CodePlace& at) = 0;
  // Every reference to the declaration the name at `at` resolves to.
  virtual std::vector<CodePlace> ReferencesAt(const CodePlace& at) = 0;
};

}  // namespace tarno::workbench
