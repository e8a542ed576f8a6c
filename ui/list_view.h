// The list view in report view: column headers with widths, items with
// sub-items, selection, check boxes and sorting.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace tarno::ui {

class ListView;

class ColumnHeader {
 public:
  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string v) { text_ = std::move(v); }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  const std::u16string& Key() const { return key_; }
  int Alignment() const { return alignment_; }
  void SetAlignment(int v) { alignment_ = v; }
  int Index() const { return index_; }  // 1-based

 private:
  friend class ColumnHeaderList;
  std::u16string text_, key_;
  int width_ = 1440, alignment_ = 0, index_ = 0;
};

class ColumnHeaderList {
 public:
  explicit ColumnHeaderList(ListView& owner) : owner_(&owner) {}
  // Appends a column (Width in twips).
  ColumnHeader& Add(const std::u16string& text, int width = 1440, const std::u16string& key = u"");
  int Count() const { return static_cast<int>(columns_.size()); }
  // 1-based; VbError 35600 out of range.
  ColumnHeader& Item(int index);
  const ColumnHeader& Item(int index) const;
  void Remove(int index);
  void Clear();

 private:
  ListView* owner_;
  std::vector<std::unique_ptr<ColumnHeader>> columns_;
};

class ListItem {
 public:
  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string v) { text_ = std::move(v); }
  const std::u16string& Key() const { return key_; }
  // SubItems(i), 1-based, up to ColumnHeaders.Count - 1 (VbError 35600 beyond);
  // unset sub-items are empty.
  std::u16string SubItems(int index) const;
  void SetSubItems(int index, std::u16string v);
  int Index() const { return index_; }  // 1-based position in the list
  // Selecting an item deselects the others unless the view is MultiSelect.
  bool Selected() const { return selected_; }
  void SetSelected(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  const std::u16string& Tag() const { return tag_; }
  void SetTag(std::u16string v) { tag_ = std::move(v); }
  bool Ghosted() const { return ghosted_; }
  void SetGhosted(bool v) { ghosted_ = v; }
  void EnsureVisible();
  ListView& Parent() const { return *owner_; }

 private:
  friend class ListItemList;
  friend class ListView;
  ListView* owner_ = nullptr;
  std::u16string text_, key_, tag_;
  std::vector<std::u16string> sub_items_;
  int index_ = 0;
  bool selected_ = false, checked_ = false, ghosted_ = false;
};

class ListItemList {
 public:
  explicit ListItemList(ListView& owner) : owner_(&owner) {}
  // Appends (or inserts at a 1-based index); VbError 35602 for a duplicate non-empty key.
  ListItem& Add(const std::u16string& text, const std::u16string& key = u"", int index = 0);
  int Count() const { return static_cast<int>(items_.size()); }
  // 1-based; VbError 35600 out of range.
  ListItem& Item(int index);
  const ListItem& Item(int index) const;
  // VbError 35601 for an unknown key.
  ListItem& Item(const std::u16string& key);
  void Remove(int index);
  void Clear();

  struct iterator {
    std::vector<std::unique_ptr<ListItem>>::const_iterator it;
    ListItem& operator*() const { return **it; }
    ListItem* operator->() const { return it->get(); }
    iterator& operator++() { ++it; return *this; }
    bool operator!=(const iterator& o) const { return it != o.it; }
  };
  iterator begin() const { return {items_.begin()}; }
  iterator end() const { return {items_.end()}; }

 private:
  friend class ListView;
  void Renumber();
  ListView* owner_;
  std::vector<std::unique_ptr<ListItem>> items_;
};

class ListView : public Control {
 public:
  ListView(Form& form, std::u16string name, int16_t index = -1);
  const char* Kind() const override { return "ListView"; }
  bool CanFocus() const override { return true; }

  ColumnHeaderList ColumnHeaders;
  ListItemList ListItems;

  // The selected item (the last one selected in a multi-select view); nullptr
  // when nothing is selected. Adding items selects nothing: a window that
  // wants a first row selected selects it.
  ListItem* SelectedItem() const { return selected_; }
  // nullptr deselects everything.
  void SetSelectedItem(ListItem* item);

  int View() const { return view_; }
  void SetView(int v) { view_ = v; }
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool v) { multi_select_ = v; }
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool v) { checkboxes_ = v; }
  bool FullRowSelect() const { return full_row_select_; }
  void SetFullRowSelect(bool v) { full_row_select_ = v; }
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool v) { grid_lines_ = v; }
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool v) { hide_selection_ = v; }
  int LabelEdit() const { return label_edit_; }
  void SetLabelEdit(int v) { label_edit_ = v; }

  // While Sorted is True the items are kept ordered by column SortKey (0 the
  // item text, n sub-item n), ignoring ASCII case, in SortOrder; Index follows.
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  int SortKey() const { return sort_key_; }
  void SetSortKey(int v);
  int SortOrder() const { return sort_order_; }
  void SetSortOrder(int v);
  void Sort();

  // The item last scrolled into view by EnsureVisible (nullptr if none).
  ListItem* EnsuredVisible() const { return ensured_visible_; }

  std::function<void(ListItem& Item)> OnItemClick;
  std::function<void(ListItem& Item)> OnItemCheck;
  std::function<void(ColumnHeader& ColumnHeader)> OnColumnClick;

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  friend class ListItem;
  friend class ListItemList;
  void Select(ListItem& item, bool v);
  void Forget(ListItem* item);
  ListItem* selected_ = nullptr;
  ListItem* ensured_visible_ = nullptr;
  int view_ = lvwReport, label_edit_ = 0, sort_key_ = 0, sort_order_ = lvwAscending;
  bool multi_select_ = false, checkboxes_ = false, full_row_select_ = false, grid_lines_ = false,
       hide_selection_ = true, sorted_ = false;
};

}  // namespace tarno::ui
