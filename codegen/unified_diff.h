// A unified diff of two texts split into lines, as `diff -u` prints it, for
// the command line's --diff option.
#pragma once

#include <string>
#include <vector>

namespace tarno::codegen {

// Lines are compared as whole strings. The result is empty when the two are
// equal; otherwise "--- " oldName, "+++ " newName, then hunks with `context`
// lines around each change, every line ended by "\n".
std::string UnifiedDiff(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines,
                        const std::string& oldName, const std::string& newName, int context = 3);

}  // namespace tarno::codegen
