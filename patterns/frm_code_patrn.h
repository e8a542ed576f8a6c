// frmCodePatrn: the pattern browser. Shows the pattern folders and their
// patterns as a tree, opens the folder and pattern editors, deletes folders
// and patterns and puts a pattern's code on the clipboard. The tree is a
// view of the disk at opening, kept in step by the window's own actions.
#pragma once

#include "ui/ui.h"

namespace tarno::patterns {

class frmCodePatrn : public ui::Form {
 public:
  frmCodePatrn();

  ui::TreeView TreeView1{*this, u"TreeView1"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommandButton Command4{*this, u"Command4"};
  ui::CommandButton Command5{*this, u"Command5"};
  ui::CommandButton Command6{*this, u"Command6"};
  ui::CommandButton Command7{*this, u"Command7"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::ImageList ImageList1{*this, u"ImageList1"};

  void Command1_Click();  // register a pattern
  void Command2_Click();  // create a folder
  void Command3_Click() { Unload(); }
  void Command4_Click();  // rename the selected folder
  void Command5_Click();  // delete the selected folder
  void Command6_Click();  // delete the selected pattern
  void Command7_Click();  // copy the selected pattern to the clipboard
  void TreeView1_DblClick();
  void TreeView1_NodeClick(ui::Node& Node);

 protected:
  void Form_Load() override;

 private:
  // Renames the selected folder node through the folder name dialog.
  void RenameSelectedFolder();
  // The selected pattern node, after the checks that deletion and copying share.
  ui::Node* ExistingSelectedPattern();
  void SelectNewestNode();
};

}  // namespace tarno::patterns
