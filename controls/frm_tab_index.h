// frmTabIndex and frmIndex: the controls (or the control-array members) of
// the selected form listed by position, reordered by the user, then given
// TabIndex 0, 1, 2, ... (or each array's Index 0, 1, 2, ...) in list order.
#pragma once

#include <memory>
#include <vector>

#include "controls/order_list.h"
#include "ui/ui.h"

namespace tarno::controls {

// What the two windows share: the list, the count label and the buttons.
class OrderWindow : public ui::Form {
 public:
  ui::ListView ListView1{*this, u"ListView1"};
  ui::Label Label5{*this, u"Label5"};
  ui::CommandButton Command3{*this, u"Command3"};
  ui::CommandButton Command4{*this, u"Command4"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};

  void Command2_Click() { Unload(); }
  void Command3_Click();
  void Command4_Click();

 protected:
  OrderWindow(std::u16string name, const char* caption, const char* valueHeader, const char* setTip);
  virtual void Command1_Click() = 0;
  // Adds the column headers; the designer of the selected form, or nullptr
  // after the "not a form" message.
  bool OpenDesigner();
  void ShowRows(const std::vector<OrderRow>& rows);
  std::vector<OrderRow> ListedRows() const;
  // The checks 設定 makes before it writes: the selection is still a form and
  // it still has controls; false after the message that says which failed.
  bool ReadyToSet(const char* noControlsMessage);
  void Warn(const char* text);
  void Inform(const char* text);

  std::shared_ptr<ide::VBForm> designer_;
  int controlCount_ = 0;

 private:
  void Move(bool up);
  const char* valueHeader_;
};

class frmTabIndex : public OrderWindow {
 public:
  frmTabIndex();
  void Command1_Click() override;

 protected:
  void Form_Load() override;
};

class frmIndex : public OrderWindow {
 public:
  frmIndex();
  void Command1_Click() override;

 protected:
  void Form_Load() override;

 private:
  std::vector<ArrayRecord> arrays_;
};

}  // namespace tarno::controls
