// Saving components and projects to disk. The in-memory host does not know
// file formats; the project-file layer implements this and hands it to the
// MemVBE. Without a store, SaveAs only records the new file name.
#pragma once

#include <string>
#include <vector>

namespace tarno::host {

class MemProject;
class MemComponent;

class ComponentStore {
 public:
  virtual ~ComponentStore() = default;
  // Writes the project file (and whatever it needs) to path; throws on failure.
  virtual void SaveProject(MemProject& project, const std::u16string& path) = 0;
  // Writes the component's file to path; throws on failure.
  virtual void SaveComponent(MemComponent& component, const std::u16string& path) = 0;
  // The Reference= and Object= lines the project file gains at its next save
  // for the components new to it (none where the store writes no project files).
  virtual std::vector<std::u16string> AddedReferences(MemProject&) { return {}; }
};

}  // namespace tarno::host
