// The standard controls of the tool windows (intrinsic VB controls plus the
// tab, up-down, image list and common dialog controls). List and tree views
// are in list_view.h and tree_view.h.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "ui/control.h"

namespace tarno::ui {

class Label : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  const char* Kind() const override { return "Label"; }
  bool HasTabIndex() const override { return true; }
  int Alignment() const { return alignment_; }
  void SetAlignment(int v) { alignment_ = v; }
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v) { auto_size_ = v; }
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool v) { word_wrap_ = v; }
  int BorderStyle() const { return border_style_; }
  void SetBorderStyle(int v) { border_style_ = v; }
  int BackStyle() const { return back_style_; }
  void SetBackStyle(int v) { back_style_ = v; }

 private:
  int alignment_ = 0, border_style_ = 0, back_style_ = 1;
  bool auto_size_ = false, word_wrap_ = false;
};

class TextBox : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "TextBox"; }
  bool CanFocus() const override { return true; }

  const std::u16string& Text() const { return text_; }
  // Raises Change when the text differs; the caret goes to the start.
  void SetText(std::u16string v);
  // 0-based caret position and selection length in UTF-16 units.
  int SelStart() const { return sel_start_; }
  void SetSelStart(int v);  // clamped to the text; clears the selection
  int SelLength() const { return sel_length_; }
  void SetSelLength(int v);  // clamped to the text after SelStart
  std::u16string SelText() const;
  // Replaces the selection (raises Change); the caret ends after the new text.
  void SetSelText(const std::u16string& v);
  // Selects the whole text (what the tool windows do on GotFocus).
  void SelectAll();

  // Limit for typed text in UTF-16 units; 0 means no limit. Text set in code is not cut.
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int v) { max_length_ = v; }
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool v) { multi_line_ = v; }
  int ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(int v) { scroll_bars_ = v; }
  int Alignment() const { return alignment_; }
  void SetAlignment(int v) { alignment_ = v; }
  int IMEMode() const { return ime_mode_; }
  void SetIMEMode(int v) { ime_mode_ = v; }
  char16_t PasswordChar() const { return password_char_; }
  void SetPasswordChar(char16_t v) { password_char_ = v; }

  std::function<void()> OnChange;

  // Typed characters: Backspace deletes, Enter adds a line break in a
  // multi-line box, printable characters replace the selection (not when
  // Locked, not beyond MaxLength).
  void DefaultKeyPress(int16_t keyAscii) override;

 protected:
  void DescribeProperties(ControlDescription& d) const override;
  ControlDescription Describe() const override;

 private:
  std::u16string text_;
  int sel_start_ = 0, sel_length_ = 0, max_length_ = 0, scroll_bars_ = 0, alignment_ = 0, ime_mode_ = 0;
  bool locked_ = false, multi_line_ = false;
  char16_t password_char_ = 0;
};

class CommandButton : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  const char* Kind() const override { return "CommandButton"; }
  bool CanFocus() const override { return true; }
  // Enter on the form presses the Default button, Escape the Cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v);
  // Value = True in VB: raises Click.
  void PerformClick() { Raise(OnClick); }

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  bool default_ = false, cancel_ = false;
};

class CheckBox : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  const char* Kind() const override { return "CheckBox"; }
  bool CanFocus() const override { return true; }
  // vbUnchecked, vbChecked or vbGrayed. Setting a different value raises Click.
  int16_t Value() const { return value_; }
  void SetValue(int16_t v);

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  int16_t value_ = vbUnchecked;
};

class OptionButton : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  const char* Kind() const override { return "OptionButton"; }
  bool CanFocus() const override { return true; }
  // Setting True clears the other option buttons of the same container and raises Click.
  bool Value() const { return value_; }
  void SetValue(bool v);

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  bool value_ = false;
};

// Shared by ComboBox and ListBox: the item list with ItemData and ListIndex.
class ListControl : public Control {
 public:
  using Control::Control;
  bool CanFocus() const override { return true; }

  // Appends (index -1) or inserts at a 0-based index; a sorted list keeps its order.
  void AddItem(const std::u16string& item, int index = -1);
  void RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  // VbError 381 outside 0..ListCount-1.
  const std::u16string& List(int index) const;
  void SetList(int index, std::u16string v);
  int32_t ItemData(int index) const;
  void SetItemData(int index, int32_t v);
  int NewIndex() const { return new_index_; }
  // -1 for no selection. Setting it raises Click (also when set in code, as in
  // VB); VbError 380 outside -1..ListCount-1.
  int ListIndex() const { return list_index_; }
  void SetListIndex(int v);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v) { sorted_ = v; }
  int Style() const { return style_; }
  void SetStyle(int v) { style_ = v; }

 protected:
  void DescribeProperties(ControlDescription& d) const override;
  virtual void ListIndexChanged() {}
  struct Item {
    std::u16string text;
    int32_t data = 0;
    bool selected = false;  // list boxes
  };
  std::vector<Item> items_;
  int list_index_ = -1;

 private:
  int new_index_ = -1;
  bool sorted_ = false;
  int style_ = 0;
};

class ComboBox : public ListControl {
 public:
  using ListControl::ListControl;
  const char* Kind() const override { return "ComboBox"; }
  // The edit text; in a dropdown list (Style 2) the chosen item's text.
  const std::u16string& Text() const { return text_; }
  // Style 2: the text must be an item (VbError 383 otherwise) and selects it.
  // Other styles: raises Change when the text differs.
  void SetText(std::u16string v);
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  std::function<void()> OnChange;
  void DefaultKeyPress(int16_t keyAscii) override;

 protected:
  ControlDescription Describe() const override;
  void ListIndexChanged() override;

 private:
  std::u16string text_;
  bool locked_ = false;
};

class ListBox : public ListControl {
 public:
  using ListControl::ListControl;
  const char* Kind() const override { return "ListBox"; }
  // 0 none, 1 simple, 2 extended. Selected(i) follows ListIndex unless MultiSelect.
  int MultiSelect() const { return multi_select_; }
  void SetMultiSelect(int v) { multi_select_ = v; }
  bool Selected(int index) const;
  void SetSelected(int index, bool v);
  int SelCount() const;
  std::u16string Text() const { return list_index_ >= 0 ? items_[list_index_].text : std::u16string(); }

 protected:
  void ListIndexChanged() override;

 private:
  int multi_select_ = 0;
};

// Containers: controls placed in them via SetContainer.
class Frame : public CaptionControl {
 public:
  using CaptionControl::CaptionControl;
  const char* Kind() const override { return "Frame"; }
};

class Shape : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "Shape"; }
  bool HasTabIndex() const override { return false; }
  // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square.
  int ShapeKind() const { return shape_; }
  void SetShapeKind(int v) { shape_ = v; }
  int32_t BorderColor() const { return border_color_; }
  void SetBorderColor(int32_t v) { border_color_ = v; }
  int32_t BackColor() const { return back_color_; }
  void SetBackColor(int32_t v) { back_color_ = v; }
  int BackStyle() const { return back_style_; }
  void SetBackStyle(int v) { back_style_ = v; }

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  int shape_ = 0, back_style_ = 0;
  int32_t border_color_ = 0, back_color_ = 0xFFFFFF;
};

class PictureBox : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "PictureBox"; }
  bool CanFocus() const override { return true; }
  const std::optional<tarno::Picture>& Picture() const { return picture_; }
  void SetPicture(std::optional<tarno::Picture> p) { picture_ = std::move(p); }
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v) { auto_size_ = v; }
  int BorderStyle() const { return border_style_; }
  void SetBorderStyle(int v) { border_style_ = v; }

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  std::optional<tarno::Picture> picture_;
  bool auto_size_ = false;
  int border_style_ = 1;
};

class Image : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "Image"; }
  bool HasTabIndex() const override { return false; }
  const std::optional<tarno::Picture>& Picture() const { return picture_; }
  void SetPicture(std::optional<tarno::Picture> p) { picture_ = std::move(p); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v) { stretch_ = v; }

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  std::optional<tarno::Picture> picture_;
  bool stretch_ = false;
};

// A message-loop timer. While its form is loaded, Enabled is True and
// Interval is above 0, it raises OnTimer every Interval milliseconds of
// toolkit time; nothing sleeps: time advances only through AdvanceTimers
// (services.h), which a front end's loop or a test calls.
class Timer : public Control {
 public:
  Timer(Form& form, std::u16string name, int16_t index = -1);
  ~Timer() override;
  const char* Kind() const override { return "Timer"; }
  bool HasTabIndex() const override { return false; }
  // Milliseconds; 0 stops the timer. Setting it restarts the count.
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  // Timers use their own Enabled (default True); setting it restarts the count.
  bool TimerEnabled() const { return Enabled(); }
  void SetTimerEnabled(bool v);
  // Whether the timer would fire now (form loaded, enabled, interval above 0).
  bool Running() const;
  std::function<void()> OnTimer;

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  friend void AdvanceTimers(int64_t ms);
  friend int64_t NextTimerDue();
  int interval_ = 0;
  int64_t elapsed_ = 0;
};

// Spin buttons. With a buddy text box and SyncBuddy, the value is copied to
// the buddy's text; the tool windows mostly handle UpClick/DownClick themselves.
class UpDown : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "UpDown"; }
  bool CanFocus() const override { return false; }
  int32_t Value() const { return value_; }
  // Raises Change when the value differs.
  void SetValue(int32_t v);
  int32_t Min() const { return min_; }
  void SetMin(int32_t v) { min_ = v; }
  int32_t Max() const { return max_; }
  void SetMax(int32_t v) { max_ = v; }
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t v) { increment_ = v; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v) { wrap_ = v; }
  TextBox* BuddyControl() const { return buddy_; }
  void SetBuddyControl(TextBox* b) { buddy_ = b; }
  bool SyncBuddy() const { return sync_buddy_; }
  void SetSyncBuddy(bool v) { sync_buddy_ = v; }

  // What pressing the up or down arrow does: step the value (within Min..Max,
  // or wrapping), sync the buddy, raise Change, then UpClick / DownClick.
  void StepUp();
  void StepDown();

  std::function<void()> OnChange;
  std::function<void()> OnUpClick;
  std::function<void()> OnDownClick;

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  void Step(int32_t delta);
  int32_t value_ = 0, min_ = 0, max_ = 10, increment_ = 1;
  bool wrap_ = false, sync_buddy_ = false;
  TextBox* buddy_ = nullptr;
};

// The tabbed dialog control. Controls placed on a page (SetContainer(&SSTab1,
// page)) are visible only while that page is current.
class SSTab : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "SSTab"; }
  bool CanFocus() const override { return true; }
  int Tabs() const { return static_cast<int>(captions_.size()); }
  // Resizes the page list (new pages get empty captions).
  void SetTabs(int n);
  // Current page, 0-based; setting another page raises Click(PreviousTab).
  // VbError 380 outside 0..Tabs-1.
  int16_t Tab() const { return tab_; }
  void SetTab(int16_t v);
  const std::u16string& TabCaption(int index) const;
  void SetTabCaption(int index, std::u16string v);
  bool TabEnabled(int index) const;
  void SetTabEnabled(int index, bool v);
  std::function<void(int16_t PreviousTab)> OnTabClick;

 protected:
  void DescribeProperties(ControlDescription& d) const override;

 private:
  void CheckTab(int index) const;
  std::vector<std::u16string> captions_{u"Tab 0", u"Tab 1", u"Tab 2"};
  std::vector<bool> tab_enabled_{true, true, true};
  int16_t tab_ = 0;
};

// Pictures by key for list and tree views.
class ImageList : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "ImageList"; }
  bool HasTabIndex() const override { return false; }
  // VbError 35602 for a duplicate key.
  void Add(const std::u16string& key, tarno::Picture picture);
  bool Contains(const std::u16string& key) const { return images_.count(key) != 0; }
  // VbError 35601 for an unknown key.
  const tarno::Picture& Item(const std::u16string& key) const;
  int Count() const { return static_cast<int>(order_.size()); }
  const std::vector<std::u16string>& Keys() const { return order_; }
  int ImageWidth() const { return image_width_; }
  int ImageHeight() const { return image_height_; }
  void SetImageSize(int w, int h) { image_width_ = w, image_height_ = h; }

 private:
  std::map<std::u16string, tarno::Picture> images_;
  std::vector<std::u16string> order_;
  int image_width_ = 16, image_height_ = 16;
};

// Open, save and font dialogs, driven through the properties of the VB control.
// The dialogs themselves come from the dialog service (services.h).
class CommonDialog : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "CommonDialog"; }
  bool HasTabIndex() const override { return false; }

  std::u16string FileName, FileTitle, Filter, DialogTitle, InitDir, DefaultExt;
  int FilterIndex = 0;
  int Flags = 0;
  bool CancelError = false;
  std::u16string FontName;
  double FontSize = 0;
  bool FontBold = false, FontItalic = false, FontStrikethru = false, FontUnderline = false;

  // Each returns true when the user accepted. A cancelled dialog raises
  // VbError 32755 when CancelError is set, else returns false and changes nothing.
  bool ShowOpen();
  bool ShowSave();
  bool ShowFont();
};

// A control array (Option1(0), Option1(1), ...): members share the name and
// carry their Index. Wire events per member, e.g.
//   for (auto& o : Option1) o.OnClick = [this, i = o.Index()] { Option1_Click(i); };
template <class T>
class ControlArray {
 public:
  ControlArray(Form& form, std::u16string name, int count) : form_(&form), name_(std::move(name)) {
    for (int i = 0; i < count; ++i) Load(static_cast<int16_t>(i));
  }
  // Member by VB index; VbError 340 when no member has it.
  T& operator[](int16_t index) { return *Find(index); }
  T& operator()(int16_t index) { return *Find(index); }
  int Count() const { return static_cast<int>(members_.size()); }
  int16_t LBound() const { return members_.empty() ? 0 : members_.front()->Index(); }
  int16_t UBound() const { return members_.empty() ? -1 : members_.back()->Index(); }
  // Load Option1(n): a new member with index n.
  T& Load(int16_t index) {
    auto m = std::make_unique<T>(*form_, name_, index);
    T& ref = *m;
    auto it = members_.begin();
    while (it != members_.end() && (*it)->Index() < index) ++it;
    if (it != members_.end() && (*it)->Index() == index) throw VbError(360, "Object already loaded");
    members_.insert(it, std::move(m));
    return ref;
  }
  struct iterator {
    typename std::vector<std::unique_ptr<T>>::iterator it;
    T& operator*() const { return **it; }
    T* operator->() const { return it->get(); }
    iterator& operator++() { ++it; return *this; }
    bool operator!=(const iterator& o) const { return it != o.it; }
  };
  iterator begin() { return {members_.begin()}; }
  iterator end() { return {members_.end()}; }

 private:
  T* Find(int16_t index) {
    for (auto& m : members_)
      if (m->Index() == index) return m.get();
    throw VbError(340, "Control array element does not exist");
  }
  Form* form_;
  std::u16string name_;
  std::vector<std::unique_ptr<T>> members_;
};

}  // namespace tarno::ui
