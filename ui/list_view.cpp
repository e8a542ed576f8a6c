#include "ui/list_view.h"

#include <algorithm>

#include "platform/vb_text.h"

namespace tarno::ui {

namespace {
[[noreturn]] void OutOfBounds() { throw VbError(err::IndexOutOfBounds, "Index out of bounds"); }
}  // namespace

// ---- ColumnHeaderList ------------------------------------------------------------

ColumnHeader& ColumnHeaderList::Add(const std::u16string& text, int width, const std::u16string& key) {
  auto c = std::make_unique<ColumnHeader>();
  c->text_ = text;
  c->width_ = width;
  c->key_ = key;
  c->index_ = Count() + 1;
  columns_.push_back(std::move(c));
  return *columns_.back();
}

ColumnHeader& ColumnHeaderList::Item(int index) {
  if (index < 1 || index > Count()) OutOfBounds();
  return *columns_[index - 1];
}

const ColumnHeader& ColumnHeaderList::Item(int index) const {
  if (index < 1 || index > Count()) OutOfBounds();
  return *columns_[index - 1];
}

void ColumnHeaderList::Remove(int index) {
  if (index < 1 || index > Count()) OutOfBounds();
  columns_.erase(columns_.begin() + (index - 1));
  for (int i = 0; i < Count(); ++i) columns_[i]->index_ = i + 1;
}

void ColumnHeaderList::Clear() { columns_.clear(); }

// ---- ListItem ------------------------------------------------------------------

std::u16string ListItem::SubItems(int index) const {
  if (index < 1 || index >= std::max(owner_->ColumnHeaders.Count(), 1)) OutOfBounds();
  return index <= static_cast<int>(sub_items_.size()) ? sub_items_[index - 1] : std::u16string();
}

void ListItem::SetSubItems(int index, std::u16string v) {
  if (index < 1 || index >= std::max(owner_->ColumnHeaders.Count(), 1)) OutOfBounds();
  if (static_cast<int>(sub_items_.size()) < index) sub_items_.resize(index);
  sub_items_[index - 1] = std::move(v);
}

void ListItem::SetSelected(bool v) { owner_->Select(*this, v); }

void ListItem::EnsureVisible() { owner_->ensured_visible_ = this; }

// ---- ListItemList ----------------------------------------------------------------

ListItem& ListItemList::Add(const std::u16string& text, const std::u16string& key, int index) {
  if (index < 0 || index > Count() + 1) OutOfBounds();
  if (!key.empty())
    for (auto& i : items_)
      if (i->key_ == key) throw VbError(err::KeyNotUnique, "Key is not unique in collection");
  auto item = std::make_unique<ListItem>();
  item->owner_ = owner_;
  item->text_ = text;
  item->key_ = key;
  ListItem& ref = *item;
  if (index == 0) items_.push_back(std::move(item));
  else items_.insert(items_.begin() + (index - 1), std::move(item));
  Renumber();
  if (owner_->Sorted()) owner_->Sort();
  return ref;
}

ListItem& ListItemList::Item(int index) {
  if (index < 1 || index > Count()) OutOfBounds();
  return *items_[index - 1];
}

const ListItem& ListItemList::Item(int index) const {
  if (index < 1 || index > Count()) OutOfBounds();
  return *items_[index - 1];
}

ListItem& ListItemList::Item(const std::u16string& key) {
  for (auto& i : items_)
    if (!key.empty() && i->key_ == key) return *i;
  throw VbError(err::ElementNotFound, "Element not found");
}

void ListItemList::Remove(int index) {
  if (index < 1 || index > Count()) OutOfBounds();
  owner_->Forget(items_[index - 1].get());
  items_.erase(items_.begin() + (index - 1));
  Renumber();
}

void ListItemList::Clear() {
  for (auto& i : items_) owner_->Forget(i.get());
  items_.clear();
}

void ListItemList::Renumber() {
  for (int i = 0; i < Count(); ++i) items_[i]->index_ = i + 1;
}

// ---- ListView --------------------------------------------------------------------

ListView::ListView(Form& form, std::u16string name, int16_t index)
    : Control(form, std::move(name), index), ColumnHeaders(*this), ListItems(*this) {}

void ListView::Select(ListItem& item, bool v) {
  if (!v) {
    item.selected_ = false;
    if (selected_ == &item) {
      selected_ = nullptr;
      for (auto& i : ListItems.items_)
        if (i->selected_) selected_ = i.get();
    }
    return;
  }
  if (!multi_select_)
    for (auto& i : ListItems.items_) i->selected_ = false;
  item.selected_ = true;
  selected_ = &item;
}

void ListView::SetSelectedItem(ListItem* item) {
  if (item) return Select(*item, true);
  for (auto& i : ListItems.items_) i->selected_ = false;
  selected_ = nullptr;
}

void ListView::Forget(ListItem* item) {
  if (ensured_visible_ == item) ensured_visible_ = nullptr;
  if (selected_ == item) {
    item->selected_ = false;
    selected_ = nullptr;
    for (auto& i : ListItems.items_)
      if (i->selected_ && i.get() != item) selected_ = i.get();
  }
}

void ListView::SetSorted(bool v) {
  sorted_ = v;
  if (v) Sort();
}

void ListView::SetSortKey(int v) {
  sort_key_ = v;
  if (sorted_) Sort();
}

void ListView::SetSortOrder(int v) {
  sort_order_ = v;
  if (sorted_) Sort();
}

void ListView::Sort() {
  auto column = [this](const ListItem& i) {
    if (sort_key_ <= 0) return vb::UCaseAscii(i.text_);
    return sort_key_ <= static_cast<int>(i.sub_items_.size()) ? vb::UCaseAscii(i.sub_items_[sort_key_ - 1])
                                                              : std::u16string();
  };
  bool descending = sort_order_ == lvwDescending;
  std::stable_sort(ListItems.items_.begin(), ListItems.items_.end(),
                   [&](const std::unique_ptr<ListItem>& a, const std::unique_ptr<ListItem>& b) {
                     return descending ? column(*b) < column(*a) : column(*a) < column(*b);
                   });
  ListItems.Renumber();
}

void ListView::DescribeProperties(ControlDescription& d) const {
  std::u16string columns;
  for (int i = 1; i <= ColumnHeaders.Count(); ++i) {
    const ColumnHeader& c = ColumnHeaders.Item(i);
    columns += (i > 1 ? u"|" : u"") + c.Text() + u":" + vb::FromInt(c.Width());
  }
  d.properties.push_back({"Columns", columns});
  d.properties.push_back({"ItemCount", vb::FromInt(ListItems.Count())});
  d.properties.push_back({"SelectedIndex", vb::FromInt(selected_ ? selected_->Index() : 0)});
  d.properties.push_back({"Checkboxes", checkboxes_ ? u"True" : u"False"});
}

}  // namespace tarno::ui
