// frmSetUp: the window of TarnoSetUp. Its button writes the add-in's entry
// into the IDE's "VBADDIN.INI" and starts the COM registration.
#pragma once

#include "companion/program_window.h"

namespace tarno::companion {

class frmSetUp : public OneActionWindow {
 public:
  frmSetUp();
  void Command2_Click() override;
};

}  // namespace tarno::companion
