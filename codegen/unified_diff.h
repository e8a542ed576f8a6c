// A unified diff of two texts split into lines, as `diff -u` prints it, for
// the command line's --diff option.
#pragma once

#include <string>
#include <vector>

namespace tarno::codegen {

// Lines are compared as whole strings. The result is empty when the two are
// equal; otherwise "--- " oldName, "+++ " newName, then hunks with `context`
// lines around each change, every line ended by "\n". Past `maxEdits` inserted
// and deleted lines the search stops (its memory grows with their square) and
// everything between the common head and tail is shown as one change.
std::string UnifiedDiff(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines,
                        const std::string& oldName, const std::string& newName, int context = 3,
                        int maxEdits = 4000);

}  // namespace tarno::codegen
