// frmUnInst: the window of TarnoUnSetUp. Its button removes the add-in's
// entry from the IDE's "VBADDIN.INI", starts the COM unregistration and
// deletes the settings file.
#pragma once

#include "companion/registration.h"
#include "ui/ui.h"

namespace tarno::companion {

class frmUnInst : public ui::Form {
 public:
  frmUnInst();

  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommandButton Command1{*this, u"Command1"};

  void Command2_Click();
  void Command1_Click() { Unload(); }

  Outcome LastOutcome() const { return outcome_; }

 private:
  Outcome outcome_ = Outcome::kNotRun;
};

}  // namespace tarno::companion
