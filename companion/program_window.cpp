#include "companion/program_window.h"

#include "companion/registration.h"

namespace tarno::companion {

void SetProgramFont(ui::Form& form) {
  for (ui::Control* c : form.Controls()) c->MutableFont().Name = kProgramFont;
}

void ShowMessage(const std::u16string& text, int icon) { ShowMessage(text, icon, kMessageTitle); }

void ShowMessage(const std::u16string& text, int icon, const std::u16string& title) {
  ui::MsgBox(text, ui::vbOKOnly + icon, title);
}

}  // namespace tarno::companion
