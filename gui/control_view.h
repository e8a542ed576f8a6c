// The widget of one control and the two directions between them: Sync copies
// the control's state to the widget; the widget's user actions go to the
// model through ui/input.h (Act), which raises the control's events.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/ui.h"

class QKeyEvent;

namespace tarno::gui {

class Desktop;
class FormView;

class ControlView : public QObject {
 public:
  ControlView(FormView& form, ui::Control& control, QWidget* widget);
  ~ControlView() override;

  ui::Control& control() const { return *control_; }
  QWidget* widget() const { return widget_; }
  // Where contained controls go: the widget itself (frames, picture boxes,
  // tab controls).
  virtual QWidget* ContentWidget() { return widget_; }
  // The widget that takes the keyboard focus (a combo box's edit field...).
  virtual QWidget* FocusWidget() { return widget_; }

  // Geometry, visibility, enabled state, tool tip and font; then Update().
  void Sync();
  // Cuts the view off its control (the control is going away): the widget
  // raises nothing any more.
  void Detach();
  bool Detached() const { return detached_; }

 protected:
  // The kind's own state.
  virtual void Update() {}
  // A key the user pressed; true when handled (the widget does not see it).
  // By default a typed character, Enter, Escape or Backspace becomes
  // ui::PressKey; other keys go to the widget.
  virtual bool Key(QKeyEvent& e);
  // Keys a widget handles itself after KeyPress (a button's Space).
  virtual bool WidgetHandlesAfterKeyPress(int keyAscii) const { return false; }
  // Whether a left click on the widget is the control's Click (labels,
  // pictures, frames: widgets without a click signal of their own).
  virtual bool ClickOnRelease() const { return false; }
  // A double click on the widget (the first click has been handled).
  virtual void DoubleClicked();

  // Runs a user action on the model through the desktop.
  void Act(const std::function<void()>& action);
  bool Syncing() const;
  Desktop& desktop() const;
  FormView& form() const { return *form_; }
  int Px(int twips) const;
  // Watches a child widget too (keys, focus, mouse).
  void Watch(QWidget* w);

  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  FormView* form_;
  ui::Control* control_;
  QPointer<QWidget> widget_;
  ui::StdFont font_;
  bool font_set_ = false;
  bool detached_ = false;
};

// The view of a control, nullptr for controls without a window.
std::unique_ptr<ControlView> MakeControlView(FormView& form, ui::Control& control);

// The typed character codes of a key event, as VB's KeyPress sees them:
// Enter 13, Escape 27, Backspace 8, otherwise the UTF-16 units of its text;
// empty for keys that type nothing (arrows, function keys, Ctrl+letter).
std::u16string KeyAsciiOf(const QKeyEvent& e);

}  // namespace tarno::gui
