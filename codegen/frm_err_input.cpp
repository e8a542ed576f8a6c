#include "codegen/frm_err_input.h"

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "codegen/frm_err_comment.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

frmErrInput::frmErrInput() : Form(u"frmErrInput") {
  SetCaption(vb::U("VB自動エラーヘッダフッタ一括挿入 For VisualBasic6.0"));
  Move(0, 0, 7800, 5900);
  // Only the close button closes it.
  SetControlBox(false);
  panel_.Setup();
  Command1.Move(1440, 4980, 1400, 400);
  Command2.Move(2940, 4980, 1400, 400);
  Command4.Move(4440, 4980, 1400, 400);
  Command3.Move(6120, 4980, 1400, 400);
  Command1.SetCaption(vb::U("定型挿入"));
  Command1.SetToolTipText(vb::U("選択されたプロシージャに定型エラーヘッダフッタを挿入します"));
  Command2.SetCaption(vb::U("挿入"));
  Command2.SetToolTipText(vb::U("選択されたプロシージャに登録されたエラーヘッダフッタを挿入します"));
  Command4.SetCaption(vb::U("登録"));
  Command4.SetToolTipText(vb::U("エラーヘッダフッタを登録します"));
  Command3.SetCaption(vb::U("閉じる"));
  Command3.SetToolTipText(vb::U("画面を閉じます"));
  Combo1.OnClick = [this] { Combo1_Click(); };
  Combo2.OnClick = [this] { Combo2_Click(); };
  Check1.OnClick = [this] { Check1_Click(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
}

void frmErrInput::Form_Load() { panel_.Load(HostVBE); }

void frmErrInput::Command1_Click() { Insert(StandardErrorTexts(), false); }

void frmErrInput::Command2_Click() {
  const SettingsModel& s = Settings();
  Insert(RegisteredErrorTexts(s.ErrHeaderLabel, s.ErrFooterText, s.ErrExitFlag), true);
}

void frmErrInput::Insert(const ErrorHandlingTexts& texts, bool registered) {
  if (panel_.Rows().empty()) {
    ShowRefusal(vb::U("プロシージャが存在しませんので実行できません"));
    return;
  }
  if (registered && (vb::Trim(texts.Label).empty() || vb::Trim(texts.Footer).empty())) {
    ShowRefusal(vb::U("エラーヘッダフッタ情報が存在しませんので実行できません"));
    return;
  }
  auto selected = panel_.SelectedRow();
  if (!selected) {
    ShowRefusal(vb::U("プロシージャを選択してください"));
    return;
  }
  auto module = panel_.ChosenModule();
  if (!module) return;
  if (!panel_.WholeModule()) {
    InsertErrorHandling(*module, selected->Name, selected->Kind, texts);
    return;
  }
  // Each row by its own kind, so that every accessor of a property is done once.
  for (const auto& row : panel_.Rows()) InsertErrorHandling(*module, row.Name, row.Kind, texts);
}

void frmErrInput::Command4_Click() {
  frmErrComment form;
  form.Show(ui::vbModal);
}

}  // namespace tarno::codegen
