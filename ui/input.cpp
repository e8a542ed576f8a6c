#include "ui/input.h"

#include "platform/vb_text.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

namespace tarno::ui {

namespace {

bool FormUsable(const Form& form, std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why) *why = vb::ToUtf8(form.Name()) + " " + reason;
    return false;
  };
  if (!form.Loaded()) return fail("is not loaded");
  if (!form.Visible()) return fail("is not visible");
  if (!form.Enabled()) return fail("is disabled");
  auto modal = ModalStack();
  if (!modal.empty() && modal.back() != &form)
    return fail("is covered by the modal window " + vb::ToUtf8(modal.back()->Name()));
  return true;
}

void Require(const Control& c) {
  std::string why;
  if (!CanUse(c, &why)) throw InputRejected(why);
}

void Require(const Form& f) {
  std::string why;
  if (!FormUsable(f, &why)) throw InputRejected(why);
}

void FocusIfPossible(Control& c) {
  if (c.CanFocus()) c.SetFocus();
}

}  // namespace

bool CanUse(const Control& control, std::string* why) {
  if (!FormUsable(control.Parent(), why)) return false;
  std::string name = vb::ToUtf8(control.DisplayName());
  if (!control.EffectivelyVisible()) {
    if (why) *why = name + " is not visible";
    return false;
  }
  if (!control.EffectivelyEnabled()) {
    if (why) *why = name + " is disabled";
    return false;
  }
  return true;
}

void Focus(Control& control) {
  Require(control);
  if (!control.CanFocus()) throw InputRejected(vb::ToUtf8(control.DisplayName()) + " cannot take the focus");
  control.SetFocus();
}

void Click(Control& control) {
  Require(control);
  FocusIfPossible(control);
  if (auto* check = dynamic_cast<CheckBox*>(&control)) {
    check->SetValue(check->Value() == vbChecked ? vbUnchecked : vbChecked);
    return;
  }
  if (auto* option = dynamic_cast<OptionButton*>(&control)) {
    option->SetValue(true);
    return;
  }
  if (control.OnClick) control.OnClick();
}

void DblClick(Control& control) {
  Click(control);
  if (control.OnDblClick) control.OnDblClick();
}

void PressKey(Control& control, int16_t keyAscii) {
  Require(control);
  if (!control.HasFocus()) Focus(control);
  Form& form = control.Parent();
  auto* box = dynamic_cast<TextBox*>(&control);
  bool multiLine = box && box->MultiLine();
  // Enter and Escape go to the window's Default and Cancel buttons before the
  // control sees them (a focused button takes Enter itself).
  if (keyAscii == vbKeyReturn && !multiLine) {
    CommandButton* target = dynamic_cast<CommandButton*>(&control);
    if (!target) target = form.DefaultButton();
    if (target && CanUse(*target)) {
      if (target->OnClick) target->OnClick();
      return;
    }
  }
  if (keyAscii == vbKeyEscape) {
    if (CommandButton* cancel = form.CancelButton(); cancel && CanUse(*cancel)) {
      if (cancel->OnClick) cancel->OnClick();
      return;
    }
  }
  int16_t key = keyAscii;
  if (form.KeyPreview()) {
    form.Form_KeyPress(key);
    if (key == 0) return;
  }
  if (control.OnKeyPress) control.OnKeyPress(key);
  if (key == 0) return;
  control.DefaultKeyPress(key);
}

void PressTab(Form& form) {
  Require(form);
  form.FocusNext();
}

void Type(Control& control, std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    if (c == u'\n') c = u'\r';
    PressKey(control, static_cast<int16_t>(c));
  }
}

void ClearText(TextBox& box) {
  Focus(box);
  if (box.Text().empty()) return;
  box.SelectAll();
  PressKey(box, vbKeyBack);
}

void Choose(ComboBox& combo, int index) {
  Require(combo);
  if (index < 0 || index >= combo.ListCount())
    throw InputRejected(vb::ToUtf8(combo.DisplayName()) + " has no entry " + std::to_string(index));
  if (combo.Locked()) throw InputRejected(vb::ToUtf8(combo.DisplayName()) + " is locked");
  FocusIfPossible(combo);
  if (combo.ListIndex() == index) {
    if (combo.OnClick) combo.OnClick();
  } else {
    combo.SetListIndex(index);
  }
}

void Choose(ComboBox& combo, const std::u16string& text) {
  for (int i = 0; i < combo.ListCount(); ++i)
    if (combo.List(i) == text) return Choose(combo, i);
  throw InputRejected(vb::ToUtf8(combo.DisplayName()) + " has no entry \"" + vb::ToUtf8(text) + "\"");
}

void Choose(ListBox& list, int index) {
  Require(list);
  if (index < 0 || index >= list.ListCount())
    throw InputRejected(vb::ToUtf8(list.DisplayName()) + " has no entry " + std::to_string(index));
  FocusIfPossible(list);
  if (list.ListIndex() == index) {
    if (list.OnClick) list.OnClick();
  } else {
    list.SetListIndex(index);
  }
}

namespace {
ListItem& RowOf(ListView& view, int index) {
  if (index < 1 || index > view.ListItems.Count())
    throw InputRejected(vb::ToUtf8(view.DisplayName()) + " has no row " + std::to_string(index));
  return view.ListItems.Item(index);
}
void RequireNode(TreeView& tree, Node& node) {
  if (&node.Tree() != &tree) throw InputRejected("node is not in " + vb::ToUtf8(tree.DisplayName()));
  for (Node* p = node.Parent(); p; p = p->Parent())
    if (!p->Expanded()) throw InputRejected("node \"" + vb::ToUtf8(node.Text()) + "\" is inside a collapsed node");
}
}  // namespace

void ClickItem(ListView& view, int index) {
  Require(view);
  ListItem& item = RowOf(view, index);
  FocusIfPossible(view);
  item.SetSelected(true);
  if (view.OnItemClick) view.OnItemClick(item);
  if (view.OnClick) view.OnClick();
}

void DblClickItem(ListView& view, int index) {
  ClickItem(view, index);
  if (view.OnDblClick) view.OnDblClick();
}

void CheckItem(ListView& view, int index, bool checked) {
  Require(view);
  if (!view.Checkboxes()) throw InputRejected(vb::ToUtf8(view.DisplayName()) + " has no check boxes");
  ListItem& item = RowOf(view, index);
  FocusIfPossible(view);
  item.SetChecked(checked);
  if (view.OnItemCheck) view.OnItemCheck(item);
}

void ClickColumn(ListView& view, int index) {
  Require(view);
  if (index < 1 || index > view.ColumnHeaders.Count())
    throw InputRejected(vb::ToUtf8(view.DisplayName()) + " has no column " + std::to_string(index));
  if (view.OnColumnClick) view.OnColumnClick(view.ColumnHeaders.Item(index));
}

void ClickNode(TreeView& tree, Node& node) {
  Require(tree);
  RequireNode(tree, node);
  FocusIfPossible(tree);
  tree.SetSelectedItem(&node);
  if (tree.OnNodeClick) tree.OnNodeClick(node);
  if (tree.OnClick) tree.OnClick();
}

void DblClickNode(TreeView& tree, Node& node) {
  ClickNode(tree, node);
  if (tree.OnDblClick) tree.OnDblClick();
}

void ToggleNode(TreeView& tree, Node& node) {
  Require(tree);
  RequireNode(tree, node);
  if (node.Children() == 0) return;
  bool expand = !node.Expanded();
  node.SetExpanded(expand);
  if (expand && tree.OnExpand) tree.OnExpand(node);
  if (!expand && tree.OnCollapse) tree.OnCollapse(node);
}

void ChooseTab(SSTab& tab, int16_t index) {
  Require(tab);
  if (index < 0 || index >= tab.Tabs()) throw InputRejected(vb::ToUtf8(tab.DisplayName()) + " has no such tab");
  if (!tab.TabEnabled(index)) throw InputRejected(vb::ToUtf8(tab.DisplayName()) + " tab is disabled");
  tab.SetTab(index);
}

void ClickUp(UpDown& updown) {
  Require(updown);
  updown.StepUp();
}

void ClickDown(UpDown& updown) {
  Require(updown);
  updown.StepDown();
}

void ClickCloseBox(Form& form) {
  Require(form);
  if (!form.ControlBox()) throw InputRejected(vb::ToUtf8(form.Name()) + " has no close box");
  form.CloseBox();
}

void ResizeWindow(Form& form, int width, int height) {
  Require(form);
  if (form.BorderStyle() != 2 && form.BorderStyle() != 5)
    throw InputRejected(vb::ToUtf8(form.Name()) + " has a fixed border");
  form.SetSize(width, height);
}

}  // namespace tarno::ui
