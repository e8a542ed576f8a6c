// frmProject, the auto-save window. Shown by its command it is the settings
// dialog; loaded hidden at connection (auto-save on) it hosts the interval
// timer. It stays loaded between uses, hidden, so that the timer keeps
// running, until the add-in disconnects.
#pragma once

#include <cstdint>

#include "ui/ui.h"

namespace tarno::project {

class frmProject : public ui::Form {
 public:
  ui::CheckBox Check1{*this, u"Check1"};
  ui::Frame Frame1{*this, u"Frame1"};
  ui::Label Label2{*this, u"Label2"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::UpDown UpDown1{*this, u"UpDown1"};
  ui::Label Label1{*this, u"Label1"};
  ui::CheckBox Check2{*this, u"Check2"};
  ui::Label Label3{*this, u"Label3"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::Timer Timer1{*this, u"Timer1"};

  frmProject();

  void Check1_Click();
  void Text1_KeyPress(int16_t& KeyAscii);
  void Text1_GotFocus() { Text1.SelectAll(); }
  void UpDown1_UpClick();
  void UpDown1_DownClick();
  void Command1_Click();
  void Command2_Click() { Hide(); }
  void Timer1_Timer();

  // Seconds counted since the last activation, load or due interval.
  double Elapsed() const { return elapsed_; }

 protected:
  void Form_Load() override;
  void Form_Activate() override;

 private:
  double elapsed_ = 0;
};

// The one auto-save window of the add-in.
// Opening by the command: ProjectToolFromMenu is 1, the window shows modally.
void ShowProjectWindow();
// Loading at connection: loaded without showing, its timer running.
void LoadProjectWindowHidden();
// Disconnection: unloads the window, which stops its timer.
void UnloadProjectWindow();
// The loaded window, nullptr when none (tests).
frmProject* ProjectWindow();

}  // namespace tarno::project
