#include "companion/program_window.h"

#include "companion/registration.h"
#include "platform/vb_text.h"

namespace tarno::companion {

void SetProgramFont(ui::Form& form) {
  for (ui::Control* c : form.Controls()) c->MutableFont().Name = kProgramFont;
}

void ShowMessage(const std::u16string& text, int icon) { ShowMessage(text, icon, kMessageTitle); }

void ShowMessage(const std::u16string& text, int icon, const std::u16string& title) {
  ui::MsgBox(text, ui::vbOKOnly + icon, title);
}

OneActionWindow::OneActionWindow(const std::u16string& name, const std::u16string& caption,
                                 const std::u16string& action)
    : Form(name) {
  SetCaption(caption);
  Move(0, 0, 4200, 1500);
  Command2.SetCaption(action);
  Command2.Move(360, 360, 1500, 400);
  Command1.SetCaption(vb::U("閉じる"));
  Command1.SetToolTipText(vb::U("画面を閉じます"));
  Command1.Move(2040, 360, 1500, 400);
  SetProgramFont(*this);
  Command2.OnClick = [this] { Command2_Click(); };
  Command1.OnClick = [this] { Command1_Click(); };
}

}  // namespace tarno::companion
