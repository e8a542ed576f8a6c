// frmUnInst: the window of TarnoUnSetUp. Its button removes the add-in's
// entry from the IDE's "VBADDIN.INI", starts the COM unregistration and
// deletes the settings file.
#pragma once

#include "companion/program_window.h"

namespace tarno::companion {

class frmUnInst : public OneActionWindow {
 public:
  frmUnInst();
  void Command2_Click() override;
};

}  // namespace tarno::companion
