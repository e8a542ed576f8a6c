// frmCopy, the form copy window: a source project and one of its components,
// a target project and a new object name; copies the component (optionally
// with its controls and code) into the target. The window stays open after a
// copy.
#pragma once

#include <memory>
#include <vector>

#include "addin/host_api.h"
#include "ui/ui.h"

namespace tarno::project {

class frmCopy : public ui::Form {
 public:
  ui::Label Label1{*this, u"Label1"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::ListView ListView1{*this, u"ListView1"};
  ui::Label Label2{*this, u"Label2"};
  ui::ComboBox Combo2{*this, u"Combo2"};
  ui::Label Label3{*this, u"Label3"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::CheckBox Check2{*this, u"Check2"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};

  frmCopy();

  void Combo1_Click();
  void ListView1_Click();
  void Text1_GotFocus() { Text1.SelectAll(); }
  void Command1_Click();
  void Command2_Click() { Unload(); }

 protected:
  void Form_Load() override;

 private:
  // The component of the selected row; nullptr when none is selected.
  std::shared_ptr<ide::VBComponent> SelectedComponent();
  // Position (1-based) in the source project of each row's component.
  std::vector<int> rowComponents_;
};

}  // namespace tarno::project
