// Test harness for windows: scripted fakes for every window service, drivers
// for modal windows, and the user's actions (ui/input.h). One UiHarness per
// test; it installs its fakes on construction and restores the defaults when
// destroyed. See tests/support/README.md.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/clipboard.h"
#include "ui/ui.h"

namespace tarno::test {

// One message box as the user saw it.
struct ShownMessage {
  std::u16string text;
  int buttons = 0;  // as passed: button set + icon + default button
  std::u16string title;
  int answer = 0;   // what the script (or the default) answered
  int ButtonSet() const { return buttons & 0x0F; }
  int Icon() const { return buttons & 0xF0; }
};

// One common dialog request.
struct DialogRequest {
  enum Kind { Open, Save, Font } kind = Open;
  std::u16string title, filter, file_name, init_dir;
  int flags = 0;
  bool cancel_error = false;
  bool cancelled = false;
};

// The answer a scripted dialog gives.
struct DialogAnswer {
  bool cancel = false;
  std::u16string file_name;  // open / save
  ui::StdFont font;          // font
};

class UiHarness {
 public:
  UiHarness();
  ~UiHarness();
  UiHarness(const UiHarness&) = delete;
  UiHarness& operator=(const UiHarness&) = delete;

  // --- Modal windows -------------------------------------------------------
  // The driver runs when a window of class F is shown modally, and acts as
  // the user (ui::Click(f.Command1), ...). If the window is still open when
  // the driver returns, the test fails and the window is closed. A window
  // shown modally without a driver is recorded and closed with its close box.
  template <class F>
  void OnShow(std::function<void(F&)> driver) {
    drivers_[std::type_index(typeid(F))] = [driver](ui::Form& f) { driver(static_cast<F&>(f)); };
  }
  template <class F, class Fn>
  void OnShow(Fn&& driver) {
    OnShow<F>(std::function<void(F&)>(std::forward<Fn>(driver)));
  }
  // Names of the windows shown modally so far, in order ("frmMain", ...).
  const std::vector<std::u16string>& ModalShown() const { return modal_shown_; }

  // --- Message boxes -------------------------------------------------------
  // Queues the answers of the next message boxes that ask something (vbYes,
  // vbNo, ...). A box with only an OK button is answered vbOK and takes no
  // queued answer; any other box without a queued answer fails the test and
  // gets its default button.
  void Answer(int answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  // Texts only, for EXPECT_THAT(h.MessageTexts(), ElementsAre(...)).
  std::vector<std::u16string> MessageTexts() const;
  void ClearMessages() { messages_.clear(); }
  // Runs when a message box shows, before it is answered (e.g. to check state).
  std::function<void(const ShownMessage&)> on_message;

  // --- Common dialogs ------------------------------------------------------
  void AnswerDialog(DialogAnswer a) { dialog_answers_.push_back(std::move(a)); }
  void ChooseFile(const std::u16string& path) { AnswerDialog({false, path, {}}); }
  void ChooseFont(const ui::StdFont& font) { AnswerDialog({false, u"", font}); }
  void CancelDialog() { AnswerDialog({true, u"", {}}); }
  // Dialogs shown so far; a dialog without a scripted answer fails the test and is cancelled.
  const std::vector<DialogRequest>& DialogRequests() const { return dialog_requests_; }

  // --- Mouse pointer, clock, timers, clipboard -----------------------------
  int MousePointer() const;
  // Every value the pointer was set to, in order.
  const std::vector<int>& MousePointerHistory() const;
  void SetNow(const ui::DateTime& now);
  // Advances toolkit time (timers fire) and the fake clock with it.
  void AdvanceTime(int64_t ms);
  // The fresh in-memory clipboard installed for the test.
  Clipboard& clipboard() { return *clipboard_; }

 private:
  class Fakes;
  friend class Fakes;
  std::shared_ptr<Fakes> fakes_;
  std::shared_ptr<MemoryClipboard> clipboard_;
  std::map<std::type_index, std::function<void(ui::Form&)>> drivers_;
  std::vector<std::u16string> modal_shown_;
  std::deque<int> answers_;
  std::vector<ShownMessage> messages_;
  std::deque<DialogAnswer> dialog_answers_;
  std::vector<DialogRequest> dialog_requests_;
};

}  // namespace tarno::test
