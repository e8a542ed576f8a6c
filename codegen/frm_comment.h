// frmComment: comments out a chosen procedure, or everything below the
// declarations of a module, in one step.
#pragma once

#include "codegen/procedure_panel.h"
#include "ui/ui.h"

namespace tarno::codegen {

class frmComment : public ui::Form {
 public:
  frmComment();

  ui::Label Label1{*this, u"Label1"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::Label Label2{*this, u"Label2"};
  ui::ComboBox Combo2{*this, u"Combo2"};
  ui::Label Label3{*this, u"Label3"};
  ui::ListView ListView1{*this, u"ListView1"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command3{*this, u"Command3"};

  void Combo1_Click() { panel_.Combo1_Click(); }
  void Combo2_Click() { panel_.Combo2_Click(); }
  void Check1_Click() { panel_.Check1_Click(); }
  void Command1_Click();
  void Command3_Click() { Unload(); }

  const ProcedurePanel& Panel() const { return panel_; }

 protected:
  void Form_Load() override;

 private:
  ProcedurePanel panel_{{Label1, Combo1, Label2, Combo2, Label3, ListView1, Check1}};
};

}  // namespace tarno::codegen
