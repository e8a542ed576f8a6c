// frmCodePatrnInput: the pattern editor of the pattern browser, which
// registers a new pattern (opened with an empty file name) or stores an
// edited one.
#pragma once

#include <string>

#include "ui/ui.h"

namespace tarno::patterns {

class frmCodePatrnInput : public ui::Form {
 public:
  frmCodePatrnInput();

  ui::Label Label1{*this, u"Label1"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::Label Label2{*this, u"Label2"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command3{*this, u"Command3"};

  // The pattern's folder and, in, its current file name or empty for a new
  // pattern. Shows the window modally; out: the stored file name (name +
  // ".Dat"), or empty when nothing was stored.
  void Init(const std::u16string& strFolderName, std::u16string& strFileName);

  void Command1_Click();
  void Command3_Click();
  void Text1_GotFocus() { Text1.SelectAll(); }

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;

 private:
  std::u16string strFolderName_, strFileName_;
};

}  // namespace tarno::patterns
