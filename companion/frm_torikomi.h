// frmTorikomi: the window of TarnoOption. It checks the name of a settings
// file saved elsewhere and copies the file whole over the add-in's
// "TarnoAddIn.ini" in the system directory, which the add-in reads at its
// next connection.
#pragma once

#include <string>

#include "companion/registration.h"
#include "ui/ui.h"

namespace tarno::companion {

class frmTorikomi : public ui::Form {
 public:
  frmTorikomi();

  ui::Label Label2{*this, u"Label2"};
  ui::Label Label1{*this, u"Label1"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::CommonDialog CommonDialog1{*this, u"CommonDialog1"};

  void Command2_Click();
  void Command1_Click();
  void Command3_Click() { Unload(); }
  void Text1_GotFocus() { Text1.SelectAll(); }

  // How the last import ended.
  Outcome LastOutcome() const { return outcome_; }
  // The system directory found by the last import.
  const std::string& SystemDir() const { return strSystemDir_; }

 private:
  void Refuse(const std::u16string& text);
  void Fail();

  std::string strSystemDir_;
  Outcome outcome_ = Outcome::kNotRun;
};

}  // namespace tarno::companion
