// What the user does to a window: the entry points a front end (or a test)
// calls for clicks, typing and choices. Each one first checks that a user
// could do it (the window is loaded and visible, not covered by a modal
// window, the control is enabled and visible) and throws InputRejected
// otherwise, then raises the events in VB's order.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarno::ui {

class Control;
class Form;
class TextBox;
class ComboBox;
class ListBox;
class CheckBox;
class OptionButton;
class ListView;
class TreeView;
class Node;
class SSTab;
class UpDown;

class InputRejected : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Gives the control the focus as a click or Tab would (LostFocus, GotFocus).
void Focus(Control& control);
// Focus (when the control can hold it), then Click. Check boxes toggle and
// option buttons become set first, as their Click follows the change.
void Click(Control& control);
void DblClick(Control& control);
// One key typed into the focused control (the control gets the focus first):
// Form_KeyPress when KeyPreview, the control's KeyPress, then the default
// handling unless KeyAscii was set to 0. Enter and Escape press the Default
// and Cancel buttons of the window when the control leaves them alone.
void PressKey(Control& control, int16_t keyAscii);
// The Tab key: the focus moves to the next control in tab order that can take it.
void PressTab(Form& form);
// PressKey for each UTF-16 unit of the text ("\r\n" gives one Enter).
void Type(Control& control, std::u16string_view text);
// Clears the text box as a user would (select all, Backspace).
void ClearText(TextBox& box);
// Picks a list entry (ListIndex, which raises Click).
void Choose(ComboBox& combo, int index);
void Choose(ListBox& list, int index);
// Picks the entry with this text; InputRejected when there is none.
void Choose(ComboBox& combo, const std::u16string& text);
// Clicks a row: selects it, raises ItemClick then Click.
void ClickItem(ListView& view, int index);
void DblClickItem(ListView& view, int index);
// Ticks or clears a row's check box: raises ItemCheck.
void CheckItem(ListView& view, int index, bool checked);
// Clicks a column header: raises ColumnClick.
void ClickColumn(ListView& view, int index);
// Clicks a node: selects it, raises NodeClick then Click.
void ClickNode(TreeView& tree, Node& node);
void DblClickNode(TreeView& tree, Node& node);
// Expands or collapses a node: raises Expand or Collapse.
void ToggleNode(TreeView& tree, Node& node);
// Clicks a tab of a tab control.
void ChooseTab(SSTab& tab, int16_t index);
// Presses an arrow of an up-down control.
void ClickUp(UpDown& updown);
void ClickDown(UpDown& updown);
// The window's close box (QueryUnload with vbFormControlMenu).
void ClickCloseBox(Form& form);
// The user drags the window's border to a new size (twips): Form_Resize.
void ResizeWindow(Form& form, int width, int height);

// Whether a user could act on the control now, and if not why (for messages).
bool CanUse(const Control& control, std::string* why = nullptr);

}  // namespace tarno::ui
