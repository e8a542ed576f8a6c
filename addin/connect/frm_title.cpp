#include "addin/connect/frm_title.h"

#include "platform/vb_text.h"

namespace tarno {

namespace {

// A 96 x 64 banner: a blue band with a lighter stripe (any picture will do).
Picture Banner() {
  Picture p;
  p.width = 96;
  p.height = 64;
  p.name = "TarnoKitSplash";
  p.pixels.assign(p.width * p.height, 0xFF1E5AA8);
  for (int y = 40; y < 48; ++y)
    for (int x = 0; x < p.width; ++x) p.pixels[y * p.width + x] = 0xFF87CEEB;
  return p;
}

}  // namespace

frmTitle::frmTitle() : Form(u"frmTitle") {
  SetCaption(u"Tarno Kit");
  SetBorderStyle(0);
  SetControlBox(false);
  SetStartUpPosition(2);
  Move(0, 0, 4800, 2400);
  Image1.SetPicture(Banner());
  Image1.Move(240, 240, 1440, 960);
  Label1.SetCaption(u"Tarno Kit");
  Label1.MutableFont().Size = 18;
  Label1.MutableFont().Bold = true;
  Label1.Move(1920, 360, 2640, 480);
  Label2.SetCaption(vb::U("開発支援ツール"));
  Label2.Move(1920, 960, 2640, 300);
  Timer1.SetInterval(1000);
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void frmTitle::Timer1_Timer() {
  ++intCount;
  if (intCount >= 2) {
    Timer1.SetInterval(0);
    Unload();
  }
}

}  // namespace tarno
