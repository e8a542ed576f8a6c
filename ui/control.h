// The base of every control of a headless window. A control is a member of
// its form's class and registers itself with the form when constructed:
//
//   class frmSample : public ui::Form {
//    public:
//     ui::CommandButton Command1{*this, u"Command1"};
//     frmSample() : Form(u"frmSample") { Command1.OnClick = [this] { Command1_Click(); }; }
//     void Command1_Click();
//   };
//
// Events are std::function members named On<Event>; a window wires them to
// its handler methods. Programmatic property changes raise the same events as
// in VB (setting ListIndex or CheckBox.Value raises Click, setting Text raises
// Change), so handlers written the VB way keep working.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/basics.h"

namespace tarno::ui {

class Form;

class Control {
 public:
  // index: position in a control array, -1 for a plain control.
  Control(Form& form, std::u16string name, int16_t index = -1);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The VB type name ("CommandButton", "TextBox", ...).
  virtual const char* Kind() const = 0;

  const std::u16string& Name() const { return name_; }
  int16_t Index() const { return index_; }
  // "Command1" or "Command1(2)".
  std::u16string DisplayName() const;
  Form& Parent() const { return *form_; }

  // The Frame, PictureBox or SSTab holding the control; nullptr for the form.
  Control* Container() const { return container_; }
  // Places the control in a container; `tab` is the SSTab page (ignored otherwise).
  void SetContainer(Control* container, int tab = -1);
  int ContainerTab() const { return container_tab_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const std::u16string& ToolTipText() const { return tool_tip_; }
  void SetToolTipText(std::u16string v) { tool_tip_ = std::move(v); }
  const std::u16string& Tag() const { return tag_; }
  void SetTag(std::u16string v) { tag_ = std::move(v); }
  const StdFont& Font() const { return font_; }
  void SetFont(const StdFont& f) { font_ = f; }
  StdFont& MutableFont() { return font_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { left_ = v; }
  void SetTop(int v) { top_ = v; }
  void SetWidth(int v) { width_ = v; }
  void SetHeight(int v) { height_ = v; }
  void Move(int left, int top, int width, int height);

  // Tab order: controls that can take the focus get 0, 1, 2, ... in order of
  // construction; setting one renumbers the others as VB does.
  virtual bool HasTabIndex() const { return true; }
  int TabIndex() const;
  void SetTabIndex(int v);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v) { tab_stop_ = v; }

  // Controls that can hold the focus (not labels, frames, timers, ...).
  virtual bool CanFocus() const { return false; }
  // Enabled and visible, and so are its containers (and its SSTab page is current).
  bool EffectivelyEnabled() const;
  bool EffectivelyVisible() const;
  // Moves the focus here (LostFocus on the old control, then GotFocus). Raises
  // VbError 5 when the form is not loaded or the control cannot take the focus.
  void SetFocus();
  bool HasFocus() const;

  // Redraws the control's window now (a no-op headless).
  void Refresh();

  virtual ControlDescription Describe() const;

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void()> OnGotFocus;
  std::function<void()> OnLostFocus;
  // KeyAscii set to 0 swallows the key. For non-ASCII characters KeyAscii holds
  // the UTF-16 code unit (as a 16-bit integer).
  std::function<void(int16_t& KeyAscii)> OnKeyPress;

  // Runs the control's own handling of a typed character after KeyPress let it
  // through (text boxes insert it). Used by the input layer.
  virtual void DefaultKeyPress(int16_t keyAscii) {}

 protected:
  // Kind-specific entries of the description.
  virtual void DescribeProperties(ControlDescription& d) const {}
  void Raise(const std::function<void()>& event) {
    if (event) event();
  }


 private:
  friend class Form;
  Form* form_;
  std::u16string name_;
  int16_t index_;
  Control* container_ = nullptr;
  int container_tab_ = -1;
  bool enabled_ = true;
  bool visible_ = true;
  bool tab_stop_ = true;
  std::u16string tool_tip_;
  std::u16string tag_;
  StdFont font_;
  int left_ = 0, top_ = 0, width_ = 1215, height_ = 375;
};

// A control with a Caption (labels, buttons, check boxes, frames).
class CaptionControl : public Control {
 public:
  using Control::Control;
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string v) { caption_ = std::move(v); }
  ControlDescription Describe() const override;

 private:
  std::u16string caption_;
};

}  // namespace tarno::ui
