#include "codegen/frm_comment.h"

#include "addin/addin_globals.h"
#include "codegen/bulk_comment.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

frmComment::frmComment() : Form(u"frmComment") {
  SetCaption(vb::U("VB自動プロシージャ コメントブロック For VisualBasic6.0"));
  Move(0, 0, 7800, 5900);
  // Only the close button closes it.
  SetControlBox(false);
  panel_.Setup();
  Command1.Move(4560, 4980, 1400, 400);
  Command3.Move(6120, 4980, 1400, 400);
  Command1.SetCaption(vb::U("ブロック"));
  Command1.SetToolTipText(vb::U("選択されたプロシージャをコメントブロックします"));
  Command3.SetCaption(vb::U("閉じる"));
  Command3.SetToolTipText(vb::U("画面を閉じます"));
  Combo1.OnClick = [this] { Combo1_Click(); };
  Combo2.OnClick = [this] { Combo2_Click(); };
  Check1.OnClick = [this] { Check1_Click(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void frmComment::Form_Load() { panel_.Load(HostVBE); }

void frmComment::Command1_Click() {
  if (panel_.Rows().empty()) {
    ShowRefusal(vb::U("プロシージャが存在しませんので実行できません"));
    return;
  }
  auto row = panel_.SelectedRow();
  if (!row) {
    ShowRefusal(vb::U("プロシージャを選択してください"));
    return;
  }
  if (auto module = panel_.ChosenModule()) {
    if (panel_.WholeModule())
      CommentOutBelowDeclarations(*module);
    else
      CommentOutProcedure(*module, row->Name, row->Kind, row->StartLine);
  }
  panel_.Refresh();
}

}  // namespace tarno::codegen
