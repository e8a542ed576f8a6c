// The IDE's add-in list: the "Add-Ins32" section of "VBADDIN.INI" in the
// Windows directory, one key per add-in (its programmatic identifier), as
// TarnoSetUp writes it. The value says whether the add-in is connected when
// the workbench starts: 1 (or any odd number, as 3) connects it, 0 lists it
// unloaded; text that is not a number counts as 0.
#pragma once

#include <string>
#include <vector>

namespace tarno::workbench {

inline constexpr const char* kAddInFile = "VBADDIN.INI";
inline constexpr const char* kAddInSection = "Add-Ins32";

struct AddInEntry {
  std::string progId;
  std::string value;
  bool LoadAtStart() const;
};

// The entries in file order; none when the file or the section is missing.
std::vector<AddInEntry> ReadAddInList();
// Writes the entry's value ("1" or "0"); false when the file cannot be written.
bool SetLoadAtStart(const std::string& progId, bool loadAtStart);

}  // namespace tarno::workbench
