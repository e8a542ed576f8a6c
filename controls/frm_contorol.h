// frmContorol: position, size, font and BackStyle of the controls selected
// on the selected form's designer, one tab of SSTab1 at a time.
#pragma once

#include <memory>

#include "controls/control_layout.h"
#include "ui/ui.h"

namespace tarno::controls {

class frmContorol : public ui::Form {
 public:
  frmContorol();

  ui::SSTab SSTab1{*this, u"SSTab1"};
  ui::Label Label2{*this, u"Label2"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::Label Label1{*this, u"Label1"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::Label Label3{*this, u"Label3"};
  ui::TextBox Text3{*this, u"Text3"};
  ui::Label Label4{*this, u"Label4"};
  ui::TextBox Text4{*this, u"Text4"};
  ui::TextBox Text5{*this, u"Text5"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::Label Label7{*this, u"Label7"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::Label Label5{*this, u"Label5"};
  ui::Label Label6{*this, u"Label6"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommonDialog CommonDialog1{*this, u"CommonDialog1"};

  // The font the font tab applies.
  const HeldFont& Font() const { return font_; }

  void Command1_Click();
  void Command2_Click() { Unload(); }
  void Command3_Click();
  // Text1 to Text4 take only digits and Backspace.
  static void Digits_KeyPress(int16_t& KeyAscii);

 protected:
  void Form_Load() override;

 private:
  std::shared_ptr<ide::VBForm> designer_;
  HeldFont font_;
};

}  // namespace tarno::controls
