#include "ui/controls.h"

#include <algorithm>

#include "platform/vb_text.h"
#include "ui/form.h"
#include "ui/services.h"

namespace tarno::ui {

namespace {
std::u16string Bool(bool v) { return v ? u"True" : u"False"; }
std::u16string Num(long long v) { return vb::FromInt(v); }
}  // namespace

// ---- TextBox ---------------------------------------------------------------

void TextBox::SetText(std::u16string v) {
  if (v == text_) return;
  text_ = std::move(v);
  sel_start_ = 0;
  sel_length_ = 0;
  Raise(OnChange);
}

void TextBox::SetSelStart(int v) {
  if (v < 0) throw VbError(err::InvalidPropertyValue, "Invalid property value: SelStart");
  sel_start_ = std::min(v, static_cast<int>(text_.size()));
  sel_length_ = 0;
}

void TextBox::SetSelLength(int v) {
  if (v < 0) throw VbError(err::InvalidPropertyValue, "Invalid property value: SelLength");
  sel_length_ = std::min(v, static_cast<int>(text_.size()) - sel_start_);
}

std::u16string TextBox::SelText() const { return text_.substr(sel_start_, sel_length_); }

void TextBox::SetSelText(const std::u16string& v) {
  std::u16string t = text_;
  t.replace(sel_start_, sel_length_, v);
  int caret = sel_start_ + static_cast<int>(v.size());
  bool changed = t != text_;
  text_ = std::move(t);
  sel_start_ = caret;
  sel_length_ = 0;
  if (changed) Raise(OnChange);
}

void TextBox::SelectAll() {
  sel_start_ = 0;
  sel_length_ = static_cast<int>(text_.size());
}

void TextBox::DefaultKeyPress(int16_t keyAscii) {
  if (locked_) return;
  char16_t c = static_cast<char16_t>(keyAscii);
  if (c == vbKeyBack) {
    if (sel_length_ == 0) {
      if (sel_start_ == 0) return;
      --sel_start_;
      sel_length_ = 1;
      // A CR LF pair goes as one.
      if (sel_start_ > 0 && text_[sel_start_] == u'\n' && text_[sel_start_ - 1] == u'\r') {
        --sel_start_;
        sel_length_ = 2;
      }
    }
    SetSelText(u"");
    return;
  }
  std::u16string insert;
  if (c == vbKeyReturn) {
    if (!multi_line_) return;
    insert = u"\r\n";
  } else if (c < 32) {
    return;
  } else {
    insert.assign(1, c);
  }
  if (max_length_ > 0 &&
      static_cast<int>(text_.size()) - sel_length_ + static_cast<int>(insert.size()) > max_length_)
    return;
  SetSelText(insert);
}

ControlDescription TextBox::Describe() const {
  ControlDescription d = Control::Describe();
  d.caption = text_;
  return d;
}

void TextBox::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"MaxLength", Num(max_length_)});
  d.properties.push_back({"Locked", Bool(locked_)});
  d.properties.push_back({"MultiLine", Bool(multi_line_)});
  d.properties.push_back({"SelStart", Num(sel_start_)});
  d.properties.push_back({"SelLength", Num(sel_length_)});
}

// ---- CommandButton ----------------------------------------------------------

void CommandButton::SetDefault(bool v) {
  if (v)
    for (Control* c : Parent().Controls())
      if (auto* b = dynamic_cast<CommandButton*>(c); b && b != this) b->default_ = false;
  default_ = v;
}

void CommandButton::SetCancel(bool v) {
  if (v)
    for (Control* c : Parent().Controls())
      if (auto* b = dynamic_cast<CommandButton*>(c); b && b != this) b->cancel_ = false;
  cancel_ = v;
}

void CommandButton::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"Default", Bool(default_)});
  d.properties.push_back({"Cancel", Bool(cancel_)});
}

// ---- CheckBox / OptionButton ------------------------------------------------

void CheckBox::SetValue(int16_t v) {
  if (v < vbUnchecked || v > vbGrayed) throw VbError(err::InvalidPropertyValue, "Invalid property value: Value");
  if (v == value_) return;
  value_ = v;
  Raise(OnClick);
}

void CheckBox::DescribeProperties(ControlDescription& d) const { d.properties.push_back({"Value", Num(value_)}); }

void OptionButton::SetValue(bool v) {
  if (v == value_) return;
  value_ = v;
  if (!v) return;
  for (Control* c : Parent().Controls())
    if (auto* o = dynamic_cast<OptionButton*>(c); o && o != this && o->Container() == Container() &&
                                                  o->ContainerTab() == ContainerTab())
      o->value_ = false;
  Raise(OnClick);
}

void OptionButton::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"Value", Bool(value_)});
}

// ---- ListControl / ComboBox / ListBox -----------------------------------------

void ListControl::AddItem(const std::u16string& item, int index) {
  if (index < -1 || index > ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  if (index == -1) {
    index = ListCount();
    if (sorted_) {
      index = 0;
      std::u16string key = vb::UCaseAscii(item);
      while (index < ListCount() && vb::UCaseAscii(items_[index].text) <= key) ++index;
    }
  }
  items_.insert(items_.begin() + index, Item{item, 0, false});
  if (list_index_ >= index) ++list_index_;
  new_index_ = index;
}

void ListControl::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  items_.erase(items_.begin() + index);
  if (list_index_ == index) {
    list_index_ = -1;
    ListIndexChanged();
  } else if (list_index_ > index) {
    --list_index_;
  }
}

void ListControl::Clear() {
  items_.clear();
  list_index_ = -1;
  new_index_ = -1;
  ListIndexChanged();
}

const std::u16string& ListControl::List(int index) const {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  return items_[index].text;
}

void ListControl::SetList(int index, std::u16string v) {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  items_[index].text = std::move(v);
}

int32_t ListControl::ItemData(int index) const {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  return items_[index].data;
}

void ListControl::SetItemData(int index, int32_t v) {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  items_[index].data = v;
}

void ListControl::SetListIndex(int v) {
  if (v < -1 || v >= ListCount()) throw VbError(err::InvalidPropertyValue, "Invalid property value: ListIndex");
  if (v == list_index_) return;
  list_index_ = v;
  ListIndexChanged();
  Raise(OnClick);
}

void ListControl::DescribeProperties(ControlDescription& d) const {
  std::u16string joined;
  for (size_t i = 0; i < items_.size(); ++i) joined += (i ? u"|" : u"") + items_[i].text;
  d.properties.push_back({"Items", joined});
  d.properties.push_back({"ListIndex", Num(list_index_)});
  d.properties.push_back({"Style", Num(style_)});
}

void ComboBox::ListIndexChanged() {
  std::u16string t = list_index_ >= 0 ? items_[list_index_].text : u"";
  if (t != text_) {
    text_ = std::move(t);
    if (Style() != vbComboDropdownList) Raise(OnChange);
  }
}

void ComboBox::SetText(std::u16string v) {
  if (Style() == vbComboDropdownList) {
    for (int i = 0; i < ListCount(); ++i)
      if (items_[i].text == v) return SetListIndex(i);
    throw VbError(383, "'Text' property is read-only");
  }
  if (v == text_) return;
  text_ = std::move(v);
  list_index_ = -1;
  for (int i = 0; i < ListCount(); ++i)
    if (items_[i].text == text_) {
      list_index_ = i;
      break;
    }
  Raise(OnChange);
}

void ComboBox::DefaultKeyPress(int16_t keyAscii) {
  if (locked_) return;
  char16_t c = static_cast<char16_t>(keyAscii);
  if (Style() == vbComboDropdownList) {
    // Typing picks the next entry that starts with the character.
    if (c < 32 || ListCount() == 0) return;
    std::u16string key = vb::UCaseAscii(std::u16string(1, c));
    for (int step = 1; step <= ListCount(); ++step) {
      int i = (list_index_ + step) % ListCount();
      if (vb::UCaseAscii(vb::Left(items_[i].text, 1)) == key) return SetListIndex(i);
    }
    return;
  }
  if (c == vbKeyBack) {
    if (!text_.empty()) SetText(text_.substr(0, text_.size() - 1));
  } else if (c >= 32) {
    SetText(text_ + c);
  }
}

ControlDescription ComboBox::Describe() const {
  ControlDescription d = Control::Describe();
  d.caption = text_;
  return d;
}

void ListBox::ListIndexChanged() {
  if (multi_select_ != 0) {
    if (list_index_ >= 0) items_[list_index_].selected = true;
    return;
  }
  for (int i = 0; i < ListCount(); ++i) items_[i].selected = i == list_index_;
}

bool ListBox::Selected(int index) const {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  return items_[index].selected;
}

void ListBox::SetSelected(int index, bool v) {
  if (index < 0 || index >= ListCount()) throw VbError(err::InvalidArrayIndex, "Invalid property array index");
  if (multi_select_ == 0) {
    if (v) SetListIndex(index);
    else if (index == list_index_) SetListIndex(-1);
    return;
  }
  items_[index].selected = v;
}

int ListBox::SelCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.selected; }));
}

// ---- Shape / PictureBox / Image ---------------------------------------------

void Shape::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"Shape", Num(shape_)});
  d.properties.push_back({"BorderColor", Num(border_color_)});
  d.properties.push_back({"BackColor", Num(back_color_)});
  d.properties.push_back({"BackStyle", Num(back_style_)});
}

void PictureBox::DescribeProperties(ControlDescription& d) const {
  if (picture_) d.properties.push_back({"Picture", vb::U(picture_->name)});
}

void Image::DescribeProperties(ControlDescription& d) const {
  if (picture_) d.properties.push_back({"Picture", vb::U(picture_->name)});
}

// ---- UpDown ------------------------------------------------------------------

void UpDown::SetValue(int32_t v) {
  if (v == value_) return;
  value_ = v;
  if (buddy_ && sync_buddy_) buddy_->SetText(vb::FromInt(value_));
  Raise(OnChange);
}

void UpDown::Step(int32_t delta) {
  int64_t v = static_cast<int64_t>(value_) + delta;
  if (v > max_) v = wrap_ ? min_ : max_;
  if (v < min_) v = wrap_ ? max_ : min_;
  SetValue(static_cast<int32_t>(v));
}

void UpDown::StepUp() {
  Step(increment_);
  Raise(OnUpClick);
}

void UpDown::StepDown() {
  Step(-increment_);
  Raise(OnDownClick);
}

void UpDown::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"Value", Num(value_)});
  d.properties.push_back({"Min", Num(min_)});
  d.properties.push_back({"Max", Num(max_)});
  if (buddy_) d.properties.push_back({"BuddyControl", buddy_->DisplayName()});
}

// ---- SSTab -------------------------------------------------------------------

void SSTab::CheckTab(int index) const {
  if (index < 0 || index >= Tabs()) throw VbError(err::InvalidPropertyValue, "Invalid property value: Tab");
}

void SSTab::SetTabs(int n) {
  if (n < 1) throw VbError(err::InvalidPropertyValue, "Invalid property value: Tabs");
  while (Tabs() < n) {
    captions_.push_back(u"Tab " + vb::FromInt(Tabs()));
    tab_enabled_.push_back(true);
  }
  captions_.resize(n);
  tab_enabled_.resize(n);
  if (tab_ >= n) tab_ = static_cast<int16_t>(n - 1);
}

void SSTab::SetTab(int16_t v) {
  CheckTab(v);
  if (v == tab_) return;
  int16_t previous = tab_;
  tab_ = v;
  // The focus leaves a control that went off screen with its page.
  if (Control* a = Parent().ActiveControl(); a && !a->EffectivelyVisible()) Parent().FocusNext();
  if (OnTabClick) OnTabClick(previous);
}

const std::u16string& SSTab::TabCaption(int index) const {
  CheckTab(index);
  return captions_[index];
}

void SSTab::SetTabCaption(int index, std::u16string v) {
  CheckTab(index);
  captions_[index] = std::move(v);
}

bool SSTab::TabEnabled(int index) const {
  CheckTab(index);
  return tab_enabled_[index];
}

void SSTab::SetTabEnabled(int index, bool v) {
  CheckTab(index);
  tab_enabled_[index] = v;
}

void SSTab::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"Tab", Num(tab_)});
  std::u16string joined;
  for (size_t i = 0; i < captions_.size(); ++i) joined += (i ? u"|" : u"") + captions_[i];
  d.properties.push_back({"TabCaptions", joined});
}

// ---- ImageList ---------------------------------------------------------------

void ImageList::Add(const std::u16string& key, tarno::Picture picture) {
  if (!key.empty() && images_.count(key)) throw VbError(err::KeyNotUnique, "Key is not unique in collection");
  images_[key] = std::move(picture);
  order_.push_back(key);
}

const tarno::Picture& ImageList::Item(const std::u16string& key) const {
  auto it = images_.find(key);
  if (it == images_.end()) throw VbError(err::ElementNotFound, "Element not found");
  return it->second;
}

// ---- CommonDialog ------------------------------------------------------------

namespace {
bool Finish(bool accepted, const CommonDialog& d) {
  if (!accepted && d.CancelError) throw VbError(err::DialogCancelled, "Cancel was selected.");
  return accepted;
}
}  // namespace

bool CommonDialog::ShowOpen() { return Finish(Dialogs().ShowOpen(*this), *this); }
bool CommonDialog::ShowSave() { return Finish(Dialogs().ShowSave(*this), *this); }
bool CommonDialog::ShowFont() { return Finish(Dialogs().ShowFont(*this), *this); }

}  // namespace tarno::ui
