// Controls copied from a form designer (Ctrl+C, Ctrl+X) for pasting into the
// same form or another one (Ctrl+V): copies of the chosen controls and of
// what they hold, with the bytes of the binary files their pictures and
// lists name, so that a paste elsewhere carries them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/controls.h"
#include "host/mem_host.h"

namespace tarno::workbench {

struct CopiedControls {
  struct Item {
    std::shared_ptr<host::MemControl> control;  // a host copy, on no designer
    int parent = -1;                            // the item it is inside, -1 for a chosen one
  };
  // In the designer's order: a container before what it holds.
  std::vector<Item> items;
  std::shared_ptr<host::MemComponent> source;
  // What each binary reference of the values ("frmMain.frx":08CA) names:
  // a picture's record alone (offset 0), else the whole file it is in.
  struct Binary {
    std::string bytes;
    size_t offset = 0;
  };
  std::map<std::u16string, Binary> binaries;

  bool empty() const { return items.empty(); }
};

// Copies of the controls and of everything inside them (a control inside
// another chosen one is copied once, with its container).
CopiedControls CopyControls(const std::shared_ptr<host::MemComponent>& component,
                            const std::vector<std::shared_ptr<host::MemControl>>& chosen);

// The file a binary reference names ("frmMain.frx" of "frmMain.frx":0010),
// empty for a value that is no reference.
std::u16string ReferencedFile(const std::u16string& value);

// Every binary reference of a control's values: its pictures and lists,
// and each line's value in an ActiveX control's property groups.
std::vector<std::u16string> ReferencesOf(const host::MemControl& control);

}  // namespace tarno::workbench
