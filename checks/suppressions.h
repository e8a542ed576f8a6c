// Findings a team has decided to keep: a `' tarno: ignore` marker on the
// declaration (or alone on the line above it), `' tarno: ignore-module` in a
// module's declarations, and an ignore file of Module.Name patterns.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "checks/check_run.h"

namespace tarno::checks {

// An ignore file: one pattern a line, `Module.Name`, `Module.*` or `*.Name`
// (names in any case), blank lines and `#` comments.
class IgnoreList {
 public:
  // Throws std::runtime_error naming the file and line of a bad pattern.
  static IgnoreList Parse(std::u16string_view text, const std::string& fileName);
  // Reads a UTF-8 file; throws std::runtime_error naming it when it cannot be read.
  static IgnoreList Load(const std::filesystem::path& path);
  bool Matches(std::u16string_view module, std::u16string_view name) const;
  size_t size() const { return patterns_.size(); }

 private:
  struct Pattern {
    std::u16string module;  // upper-case ASCII; empty for "*"
    std::u16string name;
  };
  std::vector<Pattern> patterns_;
};

// Whether a line holds a marker: `' tarno: ignore` (any case, blanks around),
// optionally followed by the ids of the checks it is for. `module` asks for
// `ignore-module` instead.
bool IsMarkerFor(View line, std::string_view checkId, bool module, bool alone);

// Marks the findings that a marker or the ignore list suppresses
// (Finding::suppressed: "marker", "module marker", "ignore file").
void ApplySuppressions(ProjectSource& source, const IgnoreList* ignore, std::vector<Finding>& findings);

}  // namespace tarno::checks
