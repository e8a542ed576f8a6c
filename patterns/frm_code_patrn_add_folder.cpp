#include "patterns/frm_code_patrn_add_folder.h"

#include "patterns/message_boxes.h"
#include "patterns/pattern_edits.h"
#include "platform/vb_text.h"

namespace tarno::patterns {

frmCodePatrnAddFolder::frmCodePatrnAddFolder() : Form(u"frmCodePatrnAddFolder") {
  SetCaption(vb::U("VB自動コードパターン For VisualBasic6.0"));
  Move(0, 0, 5400, 1800);
  Label1.SetCaption(vb::U("フォルダ名"));
  Label1.Move(120, 150, 1100, 255);
  Text1.SetToolTipText(vb::U("フォルダ名を入力してください"));
  Text1.Move(1320, 120, 3840, 300);
  Command1.SetCaption(vb::U("作成"));
  Command1.SetToolTipText(vb::U("フォルダを作成します"));
  Command1.Move(2400, 720, 1300, 400);
  Command3.SetCaption(vb::U("閉じる"));
  Command3.SetToolTipText(vb::U("画面を閉じます"));
  Command3.Move(3860, 720, 1300, 400);
  Text1.OnGotFocus = [this] { Text1_GotFocus(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void frmCodePatrnAddFolder::Init(std::u16string& strFolderName) {
  strFolderName_ = strFolderName;
  Show(ui::vbModal);
  strFolderName = strFolderName_;
}

void frmCodePatrnAddFolder::Form_Load() {
  Text1.SetText(strFolderName_);
  Command1.SetCaption(vb::U(vb::Trim(strFolderName_).empty() ? "作成" : "変更"));
}

void frmCodePatrnAddFolder::Command1_Click() {
  try {
    strFolderName_ = StoreFolder(strFolderName_, Text1.Text());
  } catch (const PatternRefusal& r) {
    Warn(r.message());
    Text1.SetFocus();
    return;
  } catch (const PatternStoreError& e) {
    ReportFailure(e);
    Text1.SetFocus();
    return;
  }
  Unload();
}

void frmCodePatrnAddFolder::Command3_Click() {
  strFolderName_.clear();
  Unload();
}

void frmCodePatrnAddFolder::Form_QueryUnload(int16_t&, int16_t UnloadMode) {
  // The close box stores nothing, like the close button.
  if (UnloadMode == ui::vbFormControlMenu) strFolderName_.clear();
}

}  // namespace tarno::patterns
