// A baseline of known findings for a legacy code base: stored keyed by
// check, project, component, procedure and name (never by line, so moving
// code does not break it); a later run reports only what is new.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "checks/check_run.h"

namespace tarno::checks {

class Baseline {
 public:
  using Key = std::tuple<std::string, std::string, std::string, std::string, std::string>;
  static Key KeyOf(const Finding& f, const std::u16string& project);

  // The findings that fail a run (not suppressed; exposed ones only when `withExposed`).
  static Baseline Of(const std::vector<Finding>& findings, const std::u16string& project, bool withExposed) {
    return Of(findings, std::vector<std::u16string>{project}, withExposed);
  }
  // A group's: each finding keyed by its own project (projects[Finding::project]).
  static Baseline Of(const std::vector<Finding>& findings, const std::vector<std::u16string>& projects, bool withExposed);
  // Throws std::runtime_error naming the file (and the entry) at fault.
  static Baseline Load(const std::filesystem::path& path);
  // JSON, entries sorted; through a temporary file renamed into place.
  void Write(const std::filesystem::path& path) const;

  // Marks the findings that the baseline holds (Finding::inBaseline), each
  // entry matching as many findings as it was stored for; returns how many
  // entries no finding matched (fixed since).
  int Match(std::vector<Finding>& findings, const std::u16string& project, bool withExposed) const {
    return Match(findings, std::vector<std::u16string>{project}, withExposed);
  }
  int Match(std::vector<Finding>& findings, const std::vector<std::u16string>& projects, bool withExposed) const;
  int size() const;

 private:
  std::map<Key, int> counts_;
};

}  // namespace tarno::checks
