// What the precise rules of the checks need to know about a project beyond
// its code lines: the project type and start-up object from the project file,
// and per component whether outside programs see it (VB_Exposed) and the
// procedure ids of its members (VB_UserMemId, VB_VarUserMemId).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace tarno::host {
class MemProject;
}

namespace tarno::checks {

struct ComponentFacts {
  bool exposed = false;  // Attribute VB_Exposed = True
  // Member name in upper-case ASCII -> its id (0 the default member, -4 the
  // enumerator that For Each calls).
  std::unordered_map<std::u16string, int> memberIds;
};

struct ProjectFacts {
  int projectType = 0;      // 0 Standard EXE, 1 ActiveX EXE, 2 ActiveX DLL, 3 ActiveX control
  std::u16string startup;   // Startup= of the project file, unquoted ("Sub Main", "Form1")
  std::vector<ComponentFacts> components;  // in component order (index 1 is components[0])
  const ComponentFacts* Of(int component) const {
    size_t i = static_cast<size_t>(component - 1);
    return i < components.size() ? &components[i] : nullptr;
  }
};

// Reads the facts of a project loaded from files (the file state that the
// loader keeps); a component without a file has default facts.
ProjectFacts ReadProjectFacts(host::MemProject& project);

// `Attribute Name.VB_UserMemId = -4` (or VB_VarUserMemId): the member name
// and the id; false for any other line.
bool ParseMemberIdAttribute(std::u16string_view line, std::u16string& name, int& id);

}  // namespace tarno::checks
