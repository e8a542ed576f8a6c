// Finding and replacing in code modules: the matches of a compiled find in a
// range of a module's lines, and replacing them through the module itself
// (so that tools, dirty marks and open panes see the edit as any other).
#pragma once

#include <QRegularExpression>
#include <QString>
#include <memory>
#include <vector>

#include "host/mem_host.h"
#include "workbench/code_place.h"

namespace tarno::workbench {

// Where Find looks: the procedure holding the caret (or the declarations),
// the module, the module's project, every project of the group.
enum class FindScope { Procedure, Module, Project, AllProjects };

struct LineRange {
  int first = 1;
  int last = 0;  // inclusive; last < first is empty
};

// The lines of the procedure holding `line` (its comments above it too, as
// ProcStartLine counts them), or the declarations when it is in none.
LineRange ProcedureRange(host::MemCodeModule& module, int line);
LineRange WholeModule(host::MemCodeModule& module);

// The non-empty matches in the range, in order.
std::vector<CodePlace> FindInModule(const std::shared_ptr<host::MemComponent>& component,
                                    const QRegularExpression& find, LineRange range);
// Replaces every match in the range with `with` (taken as it stands) line by
// line through the module; returns how many were replaced.
int ReplaceInModule(const std::shared_ptr<host::MemComponent>& component, const QRegularExpression& find,
                    const QString& with, LineRange range);
// Replaces the one match at the hit's place, if the text there still matches.
bool ReplaceHit(const CodePlace& hit, const QRegularExpression& find, const QString& with);

}  // namespace tarno::workbench
