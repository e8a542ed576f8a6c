// Find and Replace over code: the next or previous match in the scope (the
// current procedure, module, project or every project), every match listed
// in the results pane, and replacing through the code modules. A match in
// another module opens its code pane. Replace All changes each module with
// its matches once, so each open pane undoes it in one step.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "workbench/code_search.h"
#include "workbench/find_pattern.h"

namespace tarno::workbench {

class MainWindow;
class CodeEditor;

class FindReplace {
 public:
  explicit FindReplace(MainWindow& window) : window_(window) {}

  FindOptions options;
  FindScope scope = FindScope::Module;
  QString with;

  // Selects the next (previous) match after (before) the active pane's
  // selection, going on through the scope's other modules and round to the
  // start; false when there is none (message() says why).
  bool FindNext(bool forward = true);
  // Replaces the match that is selected, then finds the next one.
  bool Replace();
  // Every match in the scope replaced; how many.
  int ReplaceAll();
  // Every match in the scope in the results pane; how many.
  int FindAll();
  const QString& message() const { return message_; }

 private:
  struct Target {
    std::shared_ptr<host::MemComponent> component;
    LineRange range;
  };
  std::optional<QRegularExpression> Compile();
  // The modules of the scope and the active pane; the active module first
  // when `fromActive` (the search goes on from there), else in project order.
  std::vector<Target> Targets(CodeEditor** active, bool fromActive = true);
  void Select(const CodePlace& place);

  MainWindow& window_;
  QString message_;
};

}  // namespace tarno::workbench
