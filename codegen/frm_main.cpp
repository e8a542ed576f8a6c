#include "codegen/frm_main.h"

#include "addin/settings.h"
#include "codegen/registered_comment.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

int16_t frmMain::intCommentNo = 0;
std::u16string frmMain::strOldComment;

frmMain::frmMain() : Form(u"frmMain") {
  SetCaption(vb::U("VB自動コード組み込み コメント登録 For VisualBasic6.0"));
  Move(0, 0, 7200, 5400);
  Label1.SetCaption(vb::U("コメント番号"));
  Label1.Move(120, 150, 1200, 255);
  Combo1.SetStyle(ui::vbComboDropdownList);
  Combo1.Move(1440, 120, 1000, 300);
  txtComment.SetMultiLine(true);
  txtComment.SetScrollBars(3);
  txtComment.Move(120, 540, 6840, 3720);
  Command1.SetCaption(vb::U("登録"));
  Command1.SetToolTipText(vb::U("コメントを登録します"));
  Command1.Move(120, 4440, 1400, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Command2.Move(5560, 4440, 1400, 400);
  Command3.SetCaption(vb::U("定型登録"));
  Command3.SetToolTipText(vb::U("定型文作成画面を表示します"));
  Command3.Move(1640, 4440, 1400, 400);
  Command4.SetCaption(vb::U("クリア"));
  Command4.SetToolTipText(vb::U("内容をクリアします"));
  Command4.Move(3160, 4440, 1400, 400);
  Combo1.OnClick = [this] { Combo1_Click(); };
  txtComment.OnGotFocus = [this] { txtComment_GotFocus(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
}

void frmMain::Form_Load() {
  SettingsModel& s = Settings();
  Combo1.Clear();
  for (int n = 1; n <= 10; ++n) Combo1.AddItem(vb::FromInt(n));
  int current = CurrentCommentIndex(s);
  txtComment.SetText(s.CommentTexts[current]);
  strOldComment = s.CommentTexts[current];
  intCommentNo = static_cast<int16_t>(current);
  // Choosing the slot here must not store anything.
  loading_ = true;
  Combo1.SetListIndex(current);
  loading_ = false;
}

void frmMain::StoreComment() { codegen::StoreComment(Settings(), intCommentNo, txtComment.Text()); }

void frmMain::Combo1_Click() {
  if (loading_ || Combo1.ListIndex() < 0) return;
  StoreComment();
  int chosen = Combo1.ListIndex();
  strOldComment = Settings().CommentTexts[chosen];
  txtComment.SetText(strOldComment);
  intCommentNo = static_cast<int16_t>(chosen);
}

void frmMain::Command1_Click() {
  SettingsModel& s = Settings();
  int chosen = Combo1.ListIndex();
  if (!vb::Trim(txtComment.Text()).empty()) {
    intCommentNo = static_cast<int16_t>(chosen);
    StoreComment();
    s.CurrentCommentNo = chosen;
  } else {
    s.CommentTexts[chosen].clear();
  }
  Unload();
}

void frmMain::Command2_Click() {
  SettingsModel& s = Settings();
  int chosen = Combo1.ListIndex();
  if (vb::Trim(txtComment.Text()) != vb::Trim(strOldComment)) {
    int answer = ui::MsgBox(vb::U("設定が変更されていますが終了しますか？"), ui::vbYesNo | ui::vbInformation, u"");
    if (answer != ui::vbYes) return;
    s.CommentTexts[chosen] = strOldComment;
  }
  s.CurrentCommentNo = chosen;
  Unload();
}

void frmMain::Command3_Click() {
  SettingsModel& s = Settings();
  s.CurrentCommentNo = Combo1.ListIndex();
  frmTeikei form;
  form.Show(ui::vbModal);
  txtComment.SetText(s.CommentTexts[CurrentCommentIndex(s)]);
}

void frmMain::Command4_Click() {
  txtComment.SetText(u"");
  strOldComment.clear();
}

frmTeikei::frmTeikei() : Form(u"frmTeikei") {
  SetCaption(vb::U("VB自動コード組み込み（定型登録） For VisualBasic6.0"));
  Move(0, 0, 6600, 4200);
  const char* labels[] = {"名称：", "概要：", "引数：", "戻値：", "作成者：", "作成日："};
  ui::Label* labelControls[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
  ui::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6};
  for (int i = 0; i < 6; ++i) {
    labelControls[i]->SetCaption(vb::U(labels[i]));
    labelControls[i]->Move(120, 150 + i * 420, 1100, 255);
    boxes[i]->Move(1320, 120 + i * 420, 5040, 300);
    ui::TextBox* box = boxes[i];
    box->OnGotFocus = [box] { box->SelectAll(); };
  }
  Command1.SetCaption(vb::U("登録"));
  Command1.SetToolTipText(vb::U("定型文を自動的に作成します"));
  Command1.Move(3360, 2760, 1400, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Command2.Move(4920, 2760, 1400, 400);
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
}

void frmTeikei::Form_Load() { Text6.SetText(ui::FormatDateYmd(ui::Now())); }

void frmTeikei::Command1_Click() {
  SettingsModel& s = Settings();
  s.CommentTexts[CurrentCommentIndex(s)] =
      HeaderCommentText({Text1.Text(), Text2.Text(), Text3.Text(), Text4.Text(), Text5.Text(), Text6.Text()});
  Unload();
}

}  // namespace tarno::codegen
