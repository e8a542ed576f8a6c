// frmErrComment: registers the user's error label, footer text and exit option.
#pragma once

#include "ui/ui.h"

namespace tarno::codegen {

class frmErrComment : public ui::Form {
 public:
  frmErrComment();

  ui::Label Label1{*this, u"Label1"};
  ui::Shape Shape1{*this, u"Shape1"};
  ui::Label Label2{*this, u"Label2"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::Label Label3{*this, u"Label3"};
  ui::Shape Shape2{*this, u"Shape2"};
  ui::Label Label4{*this, u"Label4"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::Label Label5{*this, u"Label5"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command3{*this, u"Command3"};

  void Command1_Click();
  void Command3_Click() { Unload(); }
  void Text1_GotFocus() { Text1.SelectAll(); }
  void Text2_GotFocus() { Text2.SelectAll(); }

 protected:
  void Form_Load() override;
};

// The check box value for an exit flag text: the number of "0" followed by
// the flag; 1 and other non-zero numbers check it, "0", empty or text that
// is no number leave it clear.
int16_t ExitFlagCheckValue(const std::u16string& flag);

}  // namespace tarno::codegen
