// A headless window with VB's life cycle. Subclasses are named like the
// windows (frmHensuFind) and override the Form_* handlers they need.
//
//   Load()        loads once: Form_Load.
//   Show(vbModal) loads, shows (Form_Resize, Form_Activate, focus to the first
//                 control in tab order), then hands the window to the modal
//                 loop of the services; returns when it is unloaded or hidden.
//                 A window already visible cannot be shown modally (VbError 400).
//   Show()        the same without waiting (modeless).
//   Hide()        makes it invisible, still loaded (ends a modal Show).
//   Unload()      Form_QueryUnload(Cancel, vbFormCode), Form_Unload(Cancel);
//                 either may cancel. Returns whether the window unloaded.
//   CloseBox()    the user's close box: the same with UnloadMode vbFormControlMenu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/basics.h"

namespace tarno::ui {

class Control;
class CommandButton;

class Form {
 public:
  explicit Form(std::u16string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::u16string& Name() const { return name_; }
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string v) { caption_ = std::move(v); }

  void Load();
  void Show(int modal = vbModeless);
  void Hide();
  bool Unload();
  bool CloseBox();

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  // True while a modal Show of this window is running.
  bool ShownModal() const { return modal_depth_ > 0; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool v) { key_preview_ = v; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int ScaleWidth() const { return width_ - 2 * 60; }
  int ScaleHeight() const { return height_ - 60 - 360; }
  // Resizing a shown window raises Form_Resize.
  void Move(int left, int top, int width, int height);
  void SetSize(int width, int height) { Move(left_, top_, width, height); }
  void SetLeft(int v) { Move(v, top_, width_, height_); }
  void SetTop(int v) { Move(left_, v, width_, height_); }
  void SetWidth(int v) { Move(left_, top_, v, height_); }
  void SetHeight(int v) { Move(left_, top_, width_, v); }
  // 0 normal, 1 minimized, 2 maximized; raises Form_Resize when shown.
  int WindowState() const { return window_state_; }
  void SetWindowState(int v);
  int BorderStyle() const { return border_style_; }
  void SetBorderStyle(int v) { border_style_ = v; }
  bool ControlBox() const { return control_box_; }
  void SetControlBox(bool v) { control_box_ = v; }
  int StartUpPosition() const { return startup_position_; }
  void SetStartUpPosition(int v) { startup_position_ = v; }
  const std::u16string& Tag() const { return tag_; }
  void SetTag(std::u16string v) { tag_ = std::move(v); }

  // The control that has the focus, nullptr when none.
  Control* ActiveControl() const { return active_; }
  // Every control in order of construction.
  const std::vector<Control*>& Controls() const { return controls_; }
  // Controls with a tab order, in tab order.
  std::vector<Control*> TabOrder() const;
  Control* FindControl(const std::u16string& displayName) const;
  // Moves the focus to the next control in tab order that can take it.
  void FocusNext();
  // The command button with Default (Enter) or Cancel (Escape) set, nullptr when none.
  CommandButton* DefaultButton() const;
  CommandButton* CancelButton() const;

  FormDescription Describe() const;

  // Redraws the window now (the event service's Repaint; a no-op headless).
  void Refresh();

 protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Deactivate() {}
  virtual void Form_Resize() {}
  virtual void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {}
  virtual void Form_Unload(int16_t& Cancel) {}
  // Runs before the focused control's KeyPress when KeyPreview is True.
  virtual void Form_KeyPress(int16_t& KeyAscii) {}

 private:
  friend class Control;
  friend void PressKey(Control& control, int16_t keyAscii);
  bool DoUnload(int16_t mode);
  void Register(Control* c);
  void Unregister(Control* c);
  void MoveFocus(Control* to);
  void ControlLostFocusAbility(Control* c);
  void MoveInTabOrder(Control* c, int position);

  std::u16string name_, caption_, tag_;
  std::vector<Control*> controls_;
  std::vector<Control*> tab_order_;  // every control; filtered by HasTabIndex when read
  Control* active_ = nullptr;
  bool loaded_ = false, visible_ = false, enabled_ = true, key_preview_ = false, control_box_ = true;
  bool resized_once_ = false;
  int modal_depth_ = 0;
  int left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;
  int window_state_ = 0, border_style_ = 2, startup_position_ = 1;
};

// Lets pending window messages run (the event service of services.h; headless
// nothing is pending, so it only returns).
void DoEvents();

// The loaded windows, in order of loading (VB's Forms collection).
std::vector<Form*> LoadedForms();
// The windows being shown modally, innermost last.
std::vector<Form*> ModalStack();

}  // namespace tarno::ui
