// What a window reaches outside itself: message boxes, common dialogs, the
// modal loop, the mouse pointer and the clock. Each is an interface with a
// replaceable process-wide instance, so that a desktop front end supplies the
// real ones and tests supply scripted fakes (tests/support/ui_harness.h).
// The clipboard is platform/clipboard.h's SystemClipboard().
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/basics.h"

namespace tarno::ui {

class Form;
class CommonDialog;

// MsgBox(prompt, buttons, title) as in VB; buttons combine the button set,
// the icon and the default button. Returns the answer (vbOK, vbYes, ...).
int MsgBox(const std::u16string& prompt, int buttons = vbOKOnly, const std::u16string& title = u"");

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual int Show(const std::u16string& prompt, int buttons, const std::u16string& title) = 0;
};

// Fills the dialog's FileName (open, save) or font fields (font) and returns
// true, or returns false when the user cancels.
class DialogService {
 public:
  virtual ~DialogService() = default;
  virtual bool ShowOpen(CommonDialog& dialog) = 0;
  virtual bool ShowSave(CommonDialog& dialog) = 0;
  virtual bool ShowFont(CommonDialog& dialog) = 0;
};

// Runs a modal window: returns once the window is unloaded or hidden.
class ModalLoop {
 public:
  virtual ~ModalLoop() = default;
  virtual void Run(Form& form) = 0;
};

// Screen.MousePointer.
class ScreenService {
 public:
  virtual ~ScreenService() = default;
  virtual int MousePointer() const = 0;
  virtual void SetMousePointer(int pointer) = 0;
};

struct DateTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  bool operator==(const DateTime&) const = default;
};

class ClockService {
 public:
  virtual ~ClockService() = default;
  virtual DateTime Now() const = 0;
};

// DoEvents runs the window messages that are waiting, then returns; Repaint
// (Form.Refresh, Control.Refresh) draws the windows' current state at once
// without taking any input.
class EventService {
 public:
  virtual ~EventService() = default;
  virtual void DoEvents() = 0;
  virtual void Repaint() = 0;
};

MessageBoxService& MessageBoxes();
DialogService& Dialogs();
ModalLoop& Modal();
ScreenService& Screen();
ClockService& Clock();
EventService& Events();

// Replace a service; nullptr restores the default. The defaults suit a
// program without windows: message boxes are written to standard error and
// answered with their default button, dialogs are cancelled, a modal window
// cannot be shown (VbError 5), the clock is the system's local time, DoEvents
// only returns.
void SetMessageBoxService(std::shared_ptr<MessageBoxService> s);
void SetDialogService(std::shared_ptr<DialogService> s);
void SetModalLoop(std::shared_ptr<ModalLoop> s);
void SetScreenService(std::shared_ptr<ScreenService> s);
void SetClockService(std::shared_ptr<ClockService> s);
void SetEventService(std::shared_ptr<EventService> s);

// VB's Now / Date.
DateTime Now();
// Format(Date, "yyyy/mm/dd").
std::u16string FormatDateYmd(const DateTime& d);

// Advances toolkit time: every running timer fires once for each whole
// Interval that passes, in time order (ties in order of creation). A timer
// that a handler stops or retimes takes the change at once.
void AdvanceTimers(int64_t ms);
// Milliseconds of toolkit time until the next running timer fires; -1 when no
// timer runs. A front end's loop sleeps this long before advancing the timers.
int64_t NextTimerDue();

// The answer a message box gets when nobody chooses: its default button.
int DefaultAnswer(int buttons);

}  // namespace tarno::ui
