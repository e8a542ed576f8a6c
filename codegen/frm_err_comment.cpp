#include "codegen/frm_err_comment.h"

#include "addin/settings.h"
#include "codegen/procedure_panel.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

int16_t ExitFlagCheckValue(const std::u16string& flag) {
  // A hand-edited flag such as "2" or "x" would be an invalid check box value.
  auto value = vb::ToLong(u"0" + flag);
  return value && *value != 0 ? ui::vbChecked : ui::vbUnchecked;
}

frmErrComment::frmErrComment() : Form(u"frmErrComment") {
  SetCaption(vb::U("VB自動エラーヘッダフッタ一括挿入[登録] For VisualBasic6.0"));
  Move(0, 0, 6600, 5820);
  Label1.SetCaption(vb::U("エラーヘッダー"));
  Label1.Move(240, 120, 2000, 255);
  Shape1.Move(120, 240, 6240, 900);
  Label2.SetCaption(vb::U("ラベル名"));
  Label2.Move(360, 540, 1200, 255);
  Text1.SetToolTipText(vb::U("ラベル名を入力してください"));
  Text1.Move(1680, 510, 4440, 300);
  Label3.SetCaption(vb::U("エラーフッタ"));
  Label3.Move(240, 1320, 2000, 255);
  Shape2.Move(120, 1440, 6240, 3000);
  Label4.SetCaption(vb::U("フッタ内容"));
  Label4.Move(360, 1680, 1200, 255);
  Text2.SetToolTipText(vb::U("エラーフッタ内容を入力してください"));
  Text2.SetMultiLine(true);
  Text2.SetScrollBars(3);
  Text2.Move(1680, 1650, 4440, 2100);
  Label5.SetCaption(vb::U("※ラベル名は、入力しないで下さい"));
  Label5.Move(1680, 3840, 4440, 255);
  Check1.SetCaption(vb::U("Exitを付加する"));
  Check1.SetToolTipText(vb::U("チェックを付けるとExit ～が付加されます"));
  Check1.Move(240, 4560, 3000, 300);
  Command1.SetCaption(vb::U("登録"));
  Command1.SetToolTipText(vb::U("エラーヘッダフッタを登録します"));
  Command1.Move(3360, 4980, 1400, 400);
  Command3.SetCaption(vb::U("閉じる"));
  Command3.SetToolTipText(vb::U("画面を閉じます"));
  Command3.Move(4920, 4980, 1400, 400);
  Text1.OnGotFocus = [this] { Text1_GotFocus(); };
  Text2.OnGotFocus = [this] { Text2_GotFocus(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void frmErrComment::Form_Load() {
  const SettingsModel& s = Settings();
  Text1.SetText(vb::Trim(s.ErrHeaderLabel));
  Text2.SetText(vb::Trim(s.ErrFooterText));
  Check1.SetValue(ExitFlagCheckValue(s.ErrExitFlag));
}

void frmErrComment::Command1_Click() {
  if (vb::Trim(Text1.Text()).empty()) {
    ShowRefusal(vb::U("ラベル名を入力してください"));
    Text1.SetFocus();
    return;
  }
  if (vb::Trim(Text2.Text()).empty()) {
    ShowRefusal(vb::U("フッタ内容を入力してください"));
    Text2.SetFocus();
    return;
  }
  SettingsModel& s = Settings();
  s.ErrHeaderLabel = vb::Trim(Text1.Text());
  s.ErrFooterText = vb::Trim(Text2.Text());
  s.ErrExitFlag = vb::FromInt(Check1.Value());
  Unload();
}

}  // namespace tarno::codegen
