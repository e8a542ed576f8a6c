// frmContorolPatrn: the list of registered style patterns, with register,
// change, delete and apply; frmContorolPatrnInput: the editor of one pattern,
// opened through Init.
#pragma once

#include <cstdint>

#include "controls/control_layout.h"
#include "ui/ui.h"

namespace tarno::controls {

class frmContorolPatrnInput : public ui::Form {
 public:
  frmContorolPatrnInput();

  ui::Label Label10{*this, u"Label10"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::Label Label1{*this, u"Label1"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::Label Label2{*this, u"Label2"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::SSTab SSTab1{*this, u"SSTab1"};
  // Tab 0 "TextBox".
  ui::ComboBox Combo2{*this, u"Combo2"};
  ui::ComboBox Combo3{*this, u"Combo3"};
  ui::TextBox Text3{*this, u"Text3"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::TextBox Text4{*this, u"Text4"};
  ui::ComboBox Combo4{*this, u"Combo4"};
  ui::ComboBox Combo5{*this, u"Combo5"};
  ui::TextBox Text5{*this, u"Text5"};
  ui::TextBox Text6{*this, u"Text6"};
  ui::TextBox Text7{*this, u"Text7"};
  // Tab 1 "Label".
  ui::ComboBox Combo6{*this, u"Combo6"};
  ui::ComboBox Combo7{*this, u"Combo7"};
  ui::ComboBox Combo8{*this, u"Combo8"};
  ui::TextBox Text8{*this, u"Text8"};
  ui::CommandButton Command4{*this, u"Command4"};
  ui::TextBox Text9{*this, u"Text9"};
  ui::TextBox Text10{*this, u"Text10"};
  ui::TextBox Text11{*this, u"Text11"};
  // Tab 2 "CommandButton".
  ui::TextBox Text12{*this, u"Text12"};
  ui::ComboBox Combo9{*this, u"Combo9"};
  ui::TextBox Text13{*this, u"Text13"};
  ui::CommandButton Command5{*this, u"Command5"};
  ui::TextBox Text14{*this, u"Text14"};
  ui::TextBox Text15{*this, u"Text15"};
  ui::TextBox Text16{*this, u"Text16"};
  ui::TextBox Text17{*this, u"Text17"};
  ui::TextBox Text18{*this, u"Text18"};
  // The property-name captions of the tab fields.
  ui::ControlArray<ui::Label> Label3{*this, u"Label3", 24};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommonDialog CommonDialog1{*this, u"CommonDialog1"};

  // Shows the editor modally: intMode 0 registers a new pattern, 1 changes
  // the pattern numbered CurrentPatternNo. bolEndFlg comes back true when a
  // pattern was stored.
  void Init(int16_t intMode, bool& bolEndFlg);

  const HeldFont& Font() const { return font_; }

  void Combo1_Click();
  void SSTab1_Click(int16_t PreviousTab);
  void Command1_Click();
  void Command2_Click();
  void FontButton_Click(ui::TextBox& fontBox);

 protected:
  void Form_Load() override;

 private:
  bool CheckFields();
  void Store();
  void FillFromPattern();
  int16_t intMode_ = 0;
  bool bolEndFlg_ = false;
  HeldFont font_;
};

class frmContorolPatrn : public ui::Form {
 public:
  frmContorolPatrn();

  ui::ListView ListView1{*this, u"ListView1"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command4{*this, u"Command4"};
  ui::CommandButton Command5{*this, u"Command5"};
  ui::CommandButton Command2{*this, u"Command2"};

  void FillList();
  void Command1_Click();
  void Command2_Click() { Unload(); }
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();

 protected:
  void Form_Load() override;

 private:
  // The chosen pattern's number, or 0 after the refusal message.
  int32_t ChosenPattern();
  void SelectNumber(int32_t number);
};

}  // namespace tarno::controls
