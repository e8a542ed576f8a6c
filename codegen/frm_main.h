// frmMain: edits the ten registered comments and picks the current one;
// frmTeikei: fills the current slot from the procedure header template.
#pragma once

#include <cstdint>
#include <string>

#include "ui/ui.h"

namespace tarno::codegen {

class frmMain : public ui::Form {
 public:
  frmMain();

  ui::Label Label1{*this, u"Label1"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::TextBox txtComment{*this, u"txtComment"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::CommandButton Command4{*this, u"Command4"};

  // The slot whose text is in the editor and that slot's stored text when it
  // was shown. Form variables: they live as long as the library, across openings.
  static int16_t intCommentNo;
  static std::u16string strOldComment;

  // Normalises the editor text into slot intCommentNo.
  void StoreComment();

  void Combo1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void txtComment_GotFocus() { txtComment.SelectAll(); }

 protected:
  void Form_Load() override;

 private:
  bool loading_ = false;
};

class frmTeikei : public ui::Form {
 public:
  frmTeikei();

  ui::Label Label1{*this, u"Label1"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::Label Label2{*this, u"Label2"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::Label Label3{*this, u"Label3"};
  ui::TextBox Text3{*this, u"Text3"};
  ui::Label Label4{*this, u"Label4"};
  ui::TextBox Text4{*this, u"Text4"};
  ui::Label Label5{*this, u"Label5"};
  ui::TextBox Text5{*this, u"Text5"};
  ui::Label Label6{*this, u"Label6"};
  ui::TextBox Text6{*this, u"Text6"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};

  void Command1_Click();
  void Command2_Click() { Unload(); }

 protected:
  void Form_Load() override;
};

}  // namespace tarno::codegen
