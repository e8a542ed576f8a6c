// frmSetUp: the window of TarnoSetUp. Its button writes the add-in's entry
// into the IDE's "VBADDIN.INI" and starts the COM registration.
#pragma once

#include "companion/registration.h"
#include "ui/ui.h"

namespace tarno::companion {

class frmSetUp : public ui::Form {
 public:
  frmSetUp();

  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommandButton Command1{*this, u"Command1"};

  void Command2_Click();
  void Command1_Click() { Unload(); }

  // How the last press of Command2 ended.
  Outcome LastOutcome() const { return outcome_; }

 private:
  Outcome outcome_ = Outcome::kNotRun;
};

}  // namespace tarno::companion
