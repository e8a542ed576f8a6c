#include "controls/frm_contorol.h"

#include "addin/addin_globals.h"
#include "controls/control_values.h"
#include "controls/font_dialog.h"
#include "platform/vb_text.h"

namespace tarno::controls {

namespace {

void Warn(const std::u16string& text) { ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, u"Tarno Kit"); }

}  // namespace

frmContorol::frmContorol() : Form(u"frmContorol") {
  SetCaption(vb::U("VB自動コントロール整列 For VisualBasic6.0"));
  Move(0, 0, 5400, 4200);
  SSTab1.SetTabs(3);
  SSTab1.SetTabCaption(0, vb::U("配置"));
  SSTab1.SetTabCaption(1, vb::U("フォント"));
  SSTab1.SetTabCaption(2, vb::U("ラベル"));
  SSTab1.Move(120, 120, 5040, 2400);
  struct Field {
    ui::Label* label;
    ui::TextBox* box;
    const char* caption;
    const char* tip;
  };
  const Field fields[] = {{&Label2, &Text1, "Top", "Topプロパティを入力してください"},
                          {&Label1, &Text2, "Left", "Leftプロパティを入力してください"},
                          {&Label3, &Text3, "Height", "Heightプロパティを入力してください"},
                          {&Label4, &Text4, "Width", "Widthプロパティを入力してください"}};
  int row = 0;
  for (const auto& f : fields) {
    f.label->SetContainer(&SSTab1, 0);
    f.label->SetCaption(vb::U(f.caption));
    f.label->Move(240, 540 + row * 420, 1000, 255);
    f.box->SetContainer(&SSTab1, 0);
    f.box->SetToolTipText(vb::U(f.tip));
    f.box->SetMaxLength(10);
    f.box->Move(1320, 510 + row * 420, 1500, 300);
    ui::TextBox* box = f.box;
    box->OnGotFocus = [box] { box->SelectAll(); };
    box->OnKeyPress = [](int16_t& KeyAscii) { Digits_KeyPress(KeyAscii); };
    ++row;
  }
  Text5.SetContainer(&SSTab1, 1);
  Text5.SetLocked(true);
  Text5.Move(240, 540, 3000, 300);
  Text5.OnGotFocus = [this] { Text5.SelectAll(); };
  Command3.SetContainer(&SSTab1, 1);
  Command3.SetCaption(vb::U("フォント"));
  Command3.SetToolTipText(vb::U("フォントダイアログを表示します"));
  Command3.Move(3360, 510, 1200, 360);
  Label7.SetContainer(&SSTab1, 2);
  Label7.SetCaption(u"BackStyle");
  Label7.Move(240, 540, 1000, 255);
  Combo1.SetContainer(&SSTab1, 2);
  Combo1.SetStyle(ui::vbComboDropdownList);
  Combo1.Move(1320, 510, 2000, 300);
  Label5.Move(120, 2640, 5040, 255);
  Label6.Move(120, 2940, 5040, 255);
  Command1.SetCaption(vb::U("設定"));
  Command1.SetToolTipText(vb::U("入力された値を各プロパティの値として設定します"));
  Command1.Move(2280, 3300, 1300, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Command2.Move(3720, 3300, 1300, 400);
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void frmContorol::Digits_KeyPress(int16_t& KeyAscii) {
  if (KeyAscii == ui::vbKeyBack) return;
  if (KeyAscii >= '0' && KeyAscii <= '9') return;
  KeyAscii = 0;
}

void frmContorol::Form_Load() {
  CommonValues v = GatherCommonValues(*HostVBE);
  if (v.formModule) {
    Combo1.AddItem(vb::U("0 - 透明"));
    Combo1.AddItem(vb::U("1 - 不透明"));
    designer_ = v.designer;
    if (v.count >= 0)
      Label5.SetCaption(vb::U("現在、選択されているオブジェクト数は") + vb::FromInt(v.count) + vb::U("個です"));
    if (v.count == 1) Label6.SetCaption(vb::U("オブジェクト名：") + v.objectName);
    ui::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4};
    if (v.count > 0) {
      for (size_t k = 0; k < 4; ++k) boxes[k]->SetEnabled(v.positionEnabled[k]);
      Command3.SetEnabled(v.fontEnabled);
      Combo1.SetEnabled(v.backStyleEnabled);
    }
    for (size_t k = 0; k < 4; ++k) boxes[k]->SetText(v.positions[k]);
  }
  font_ = v.font;
  Text5.SetText(font_.Name);
  if (!vb::Trim(v.backStyle).empty()) {
    if (auto index = vb::ToInteger(vb::Trim(v.backStyle)); index && *index >= 0 && *index < Combo1.ListCount())
      Combo1.SetListIndex(*index);
  }
}

void frmContorol::Command1_Click() {
  LayoutResult r = LayoutResult::Done;
  switch (SSTab1.Tab()) {
    case 0:
      r = ApplyPositions(SelectedIsForm(*HostVBE), designer_.get(), {Text1.Text(), Text2.Text(), Text3.Text(), Text4.Text()});
      break;
    case 1:
      r = ApplyFont(SelectedIsForm(*HostVBE), designer_.get(), Text5.Text(), font_);
      break;
    case 2:
      r = ApplyBackStyle(SelectedIsForm(*HostVBE), designer_.get(), Combo1.ListIndex());
      break;
  }
  if (r != LayoutResult::Done) Warn(LayoutMessage(r));
}

void frmContorol::Command3_Click() {
  if (ChooseFont(CommonDialog1, font_)) Text5.SetText(font_.Name);
}

}  // namespace tarno::controls
