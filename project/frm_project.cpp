#include "project/frm_project.h"

#include <memory>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "platform/vb_text.h"
#include "project/auto_save.h"

namespace tarno::project {

namespace {

const std::u16string kTitle = u"Tarno Kit";

void Warn(const std::u16string& text) { ui::MsgBox(text, ui::vbExclamation, kTitle); }

std::unique_ptr<frmProject>& Instance() {
  static std::unique_ptr<frmProject> window;
  return window;
}

frmProject& LoadedInstance() {
  auto& w = Instance();
  if (!w) w = std::make_unique<frmProject>();
  return *w;
}

}  // namespace

frmProject::frmProject() : Form(u"frmProject") {
  SetCaption(vb::U("VB自動プロジェクト保存 For VisualBasic6.0"));
  Move(0, 0, 5400, 3300);
  Check1.Move(240, 180, 4000, 300);
  Check1.SetCaption(vb::U("自動保存します"));
  Frame1.Move(240, 600, 4800, 1500);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&Label2, &Text1, &UpDown1, &Label1, &Check2, &Label3})
    c->SetContainer(&Frame1);
  Label2.Move(240, 300, 1200, 255);
  Label2.SetCaption(vb::U("インターバル"));
  Text1.Move(1500, 270, 600, 300);
  Text1.SetAlignment(1);
  UpDown1.Move(2100, 270, 240, 300);
  Label1.Move(2460, 300, 400, 255);
  Label1.SetCaption(vb::U("分"));
  Check2.Move(240, 720, 4400, 300);
  Check2.SetCaption(vb::U("保存する時に確認メッセージを表示します"));
  Label3.Move(240, 1140, 4400, 255);
  Label3.SetCaption(vb::U("※新規ファイルについは、現在サポートしていません"));
  Command1.Move(2400, 2280, 1200, 400);
  Command1.SetCaption(vb::U("設定"));
  Command1.SetToolTipText(vb::U("入力された値を設定します"));
  Command2.Move(3780, 2280, 1200, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Check1.OnClick = [this] { Check1_Click(); };
  Text1.OnKeyPress = [this](int16_t& k) { Text1_KeyPress(k); };
  Text1.OnGotFocus = [this] { Text1_GotFocus(); };
  UpDown1.OnUpClick = [this] { UpDown1_UpClick(); };
  UpDown1.OnDownClick = [this] { UpDown1_DownClick(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void frmProject::Form_Load() {
  // Loaded at connection, or first shown by the command (whose activation
  // then stops the timer again).
  elapsed_ = 0;
  Timer1.SetInterval(1000);
}

void frmProject::Form_Activate() {
  const SettingsModel& s = Settings();
  Check1.SetValue(s.AutoSaveOn == 1 ? ui::vbChecked : ui::vbUnchecked);
  Check1_Click();  // also when the value did not change
  Text1.SetText(vb::FromInt(s.AutoSaveInterval));
  Check2.SetValue(s.AutoSaveMsgFlag == 1 ? ui::vbChecked : ui::vbUnchecked);
  if (ProjectToolFromMenu != 0) {
    Timer1.SetInterval(0);
  } else {
    Timer1.SetInterval(1000);
  }
  elapsed_ = 0;
}

void frmProject::Check1_Click() { Frame1.SetEnabled(Check1.Value() == ui::vbChecked); }

void frmProject::Text1_KeyPress(int16_t& KeyAscii) {
  if ((KeyAscii >= u'0' && KeyAscii <= u'9') || KeyAscii == ui::vbKeyBack) return;
  KeyAscii = 0;
}

void frmProject::UpDown1_UpClick() {
  if (!vb::IsNumeric(Text1.Text())) {
    Text1.SetText(u"1");
    return;
  }
  double v = vb::ToDouble(Text1.Text()).value_or(0);
  if (v < 60) Text1.SetText(vb::FromInt(static_cast<long long>(vb::ToLong(Text1.Text()).value_or(0)) + 1));
}

void frmProject::UpDown1_DownClick() {
  if (!vb::IsNumeric(Text1.Text())) {
    Text1.SetText(u"1");
    return;
  }
  double v = vb::ToDouble(Text1.Text()).value_or(0);
  if (v > 1) Text1.SetText(vb::FromInt(static_cast<long long>(vb::ToLong(Text1.Text()).value_or(0)) - 1));
}

void frmProject::Command1_Click() {
  SettingsModel& s = Settings();
  if (Check1.Value() == ui::vbChecked) {
    auto back = [this] {
      if (Text1.EffectivelyEnabled() && Text1.EffectivelyVisible()) Text1.SetFocus();
    };
    if (!vb::IsNumeric(Text1.Text())) {
      Warn(vb::U("インターバルの値が不正です"));
      back();
      return;
    }
    // The whole number of the text with a "0" put in front ("007" is 7).
    std::optional<double> value = vb::ToDouble(u"0" + Text1.Text());
    if (!value) {
      Warn(vb::U("インターバルの値が不正です"));
      back();
      return;
    }
    if (*value < 1) {
      Warn(vb::U("インターバルの値が不正です\r\n最小01分までの設定しかできません"));
      back();
      return;
    }
    if (*value > 60) {
      Warn(vb::U("インターバルが大きすぎます\r\n最大60分までの設定しかできません"));
      back();
      return;
    }
    s.AutoSaveOn = 1;
    s.AutoSaveInterval = vb::ToInteger(u"0" + Text1.Text()).value_or(1);
    s.AutoSaveMsgFlag = Check2.Value() == ui::vbChecked ? 1 : 0;
    Timer1.SetInterval(1000);
  } else {
    s.AutoSaveOn = 0;
    s.AutoSaveInterval = 1;
    s.AutoSaveMsgFlag = 0;
    Timer1.SetInterval(0);
  }
  // Hidden, not unloaded: the timer keeps running.
  Hide();
}

void frmProject::Timer1_Timer() {
  elapsed_ += 1;
  const SettingsModel& s = Settings();
  // At or past the interval (one shortened while counting is due at once); a
  // stored interval below a minute counts as one minute, not as every tick.
  int minutes = s.AutoSaveInterval < 1 ? 1 : s.AutoSaveInterval;
  if (elapsed_ < static_cast<double>(minutes) * 60) return;
  elapsed_ = 0;
  if (s.AutoSaveMsgFlag == 1) {
    int answer = ui::MsgBox(vb::U("保存してもよろしいですか？"), ui::vbYesNo + ui::vbInformation, kTitle);
    if (answer != ui::vbYes) return;
  }
  try {
    if (SomethingToSave(*HostVBE)) SaveAllProjects(*HostVBE);
  } catch (const ide::HostError&) {
    // What was saved before the failure stays saved; the timer goes on.
    Warn(vb::U("現在、プロジェクトが読み取り専用になっております"));
  }
}

void ShowProjectWindow() {
  ProjectToolFromMenu = 1;
  LoadedInstance().Show(ui::vbModal);
}

void LoadProjectWindowHidden() { LoadedInstance().Load(); }

void UnloadProjectWindow() {
  auto& w = Instance();
  if (!w) return;
  w->Unload();
  w.reset();
}

frmProject* ProjectWindow() { return Instance().get(); }

}  // namespace tarno::project
