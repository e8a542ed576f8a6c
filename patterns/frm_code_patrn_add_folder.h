// frmCodePatrnAddFolder: the folder name dialog of the pattern browser, which
// creates a folder (opened with an empty name) or renames one.
#pragma once

#include <string>

#include "ui/ui.h"

namespace tarno::patterns {

class frmCodePatrnAddFolder : public ui::Form {
 public:
  frmCodePatrnAddFolder();

  ui::Label Label1{*this, u"Label1"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command3{*this, u"Command3"};

  // In: the folder's current name, or empty to create one. Shows the window
  // modally; out: the name now on disk, or empty when nothing was stored.
  void Init(std::u16string& strFolderName);

  void Command1_Click();
  void Command3_Click();
  void Text1_GotFocus() { Text1.SelectAll(); }

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;

 private:
  std::u16string strFolderName_;
};

}  // namespace tarno::patterns
