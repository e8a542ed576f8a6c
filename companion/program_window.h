// Shared by the three companion programs' windows.
#pragma once

#include <string>

#include "companion/registration.h"
#include "ui/ui.h"

namespace tarno::companion {

inline constexpr const char16_t* kProgramFont = u"ＭＳ Ｐゴシック";

// Gives every control of the window the programs' font.
void SetProgramFont(ui::Form& form);

// A message of the programs: OK button, the given icon, title "Tarno Kit"
// unless another is given.
void ShowMessage(const std::u16string& text, int icon);
void ShowMessage(const std::u16string& text, int icon, const std::u16string& title);

// The window of the set-up and uninstall programs: Command2 does the
// program's one piece of work, Command1 closes the window.
class OneActionWindow : public ui::Form {
 public:
  ui::CommandButton Command2{*this, u"Command2"};
  ui::CommandButton Command1{*this, u"Command1"};

  virtual void Command2_Click() = 0;
  void Command1_Click() { Unload(); }

  // How the last press of Command2 ended.
  Outcome LastOutcome() const { return outcome_; }

 protected:
  // `action` is Command2's caption.
  OneActionWindow(const std::u16string& name, const std::u16string& caption, const std::u16string& action);
  Outcome outcome_ = Outcome::kNotRun;
};

}  // namespace tarno::companion
