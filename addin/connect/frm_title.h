// The splash window shown while the add-in connects. Its timer closes it on
// the second tick, once the host's message loop runs.
#pragma once

#include <cstdint>

#include "ui/ui.h"

namespace tarno {

class frmTitle : public ui::Form {
 public:
  frmTitle();

  ui::Image Image1{*this, u"Image1"};
  ui::Label Label1{*this, u"Label1"};
  ui::Label Label2{*this, u"Label2"};
  ui::Timer Timer1{*this, u"Timer1"};

  void Timer1_Timer();
  int16_t Ticks() const { return intCount; }

 private:
  int16_t intCount = 0;  // ticks since the window was shown
};

}  // namespace tarno
