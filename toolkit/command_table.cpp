#include "toolkit/command_table.h"

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "checks/check_windows.h"
#include "codegen/comment_block.h"
#include "codegen/error_block.h"
#include "codegen/frm_comment.h"
#include "codegen/frm_err_input.h"
#include "codegen/frm_main.h"
#include "codegen/registered_comment.h"
#include "controls/frm_contorol.h"
#include "controls/frm_contorol_patrn.h"
#include "controls/frm_tab_index.h"
#include "patterns/frm_code_patrn.h"
#include "project/frm_copy.h"
#include "project/frm_project.h"
#include "ui/services.h"

namespace tarno {

namespace {

using M = MenuPlace;

// Shows a window of class F modally; it is created afresh for each opening.
template <class F>
void ShowModal() {
  F window;
  window.Show(ui::vbModal);
}

// The registration table, in Command order: where each command sits and
// what it runs. A tool's window is bound here, in the row's last field, when
// it exists; until then its command runs nothing.
std::array<CommandRow, kCommandCount>& Rows() {
  static std::array<CommandRow, kCommandCount> rows = {{
      {"Handler", M::Tools, 3, "コメント登録(&C)", true, 1, "Tarno Kitで挿入するコメントを登録します", false,
       "picComMnt", "frmMain", ShowModal<codegen::frmMain>},
      {"Hensuu", M::Tools, 4, "変数未使用チェック(&F)", true, 2, "未使用の変数をチェックし検出します", true,
       "picHenMnt", "frmHensuFind", ShowModal<checks::frmHensuFind>},
      {"Proc", M::Tools, 5, "プロシージャ未使用チェック(&P)", true, 3, "未使用のプロシージャをチェックし検出します",
       true, "picProcMnt", "frmProcFind", ShowModal<checks::frmProcFind>},
      {"CodePatrn", M::Tools, 6, "コードパターン挿入(&S)", true, 4, "コードパターンを登録し挿入します", true,
       "picCodeMnt", "frmCodePatrn", ShowModal<patterns::frmCodePatrn>},
      {"ProjectTool", M::ToolsPopup, 1, "プロジェクト自動保存(&S)", true, 5,
       "指定されたプロジェクトを設定されたインターバルで保存します", true, "picPrjSave", "frmProject",
       project::ShowProjectWindow},
      {"CopyTool", M::ToolsPopup, 2, "ファイルコピー(&F)", true, 6,
       "指定されたファイルをコピーし新しくフォームを追加します", false, "picFrmCopy", "frmCopy",
       ShowModal<project::frmCopy>},
      {"ContorolTool", M::ToolsPopup, 3, "コントロール整列設定(&C)", true, 7,
       "指定されたコントロールの整列の設定を行います", false, "picCtlSize", "frmContorol",
       ShowModal<controls::frmContorol>},
      {"ContorolPatrnTool", M::ToolsPopup, 4, "コントロールスタイルパターン設定・登録(&P)", true, 8,
       "コントロールのスタイル情報の設定及びパターン登録を行います", false, "picCtlPatrn", "frmContorolPatrn",
       ShowModal<controls::frmContorolPatrn>},
      {"ContorolTabIndexTool", M::ToolsPopup, 5, "コントロールのTabIndexプロパティの一括設定(&T)", true, 9,
       "コントロールのTabIndexプロパティの一括設定を行います", false, "picCtlTabIndex", "frmTabIndex",
       ShowModal<controls::frmTabIndex>},
      {"ContorolIndexTool", M::ToolsPopup, 6, "コントロールのIndexプロパティの一括設定(&I)", true, 10,
       "コントロールのIndexプロパティの一括設定を行います", false, "picCtlIndex", "frmIndex",
       ShowModal<controls::frmIndex>},
      {"Edit", M::Edit, 3, "コメントを挿入(&T)", true, 11, "Tarno Kitで登録されたコメントを挿入します", true,
       "picComInst", "InsertRegisteredComment", [] { codegen::InsertRegisteredComment(*HostVBE, Settings()); }},
      {"CommentOut", M::Edit, 4, "コメントブロック(&O)", false, 12, "選択されたコードをコメントブロックします",
       false, "picComBlck", "CommentSelection", [] { codegen::CommentSelection(*HostVBE); }},
      {"CommentDel", M::Edit, 5, "コメント解除(&D)", false, 13, "選択されたコードをコメント解除します", false,
       "picComNBlk", "UncommentSelection", [] { codegen::UncommentSelection(*HostVBE); }},
      {"Comment", M::Edit, 6, "一括コメントブロック(&I)", false, 14,
       "選択されたプロシージャをコメントブロックします", false, "picComIBlk", "frmComment",
       ShowModal<codegen::frmComment>},
      {"ErrorHeader", M::EditPopup, 1, "エラー処理ヘッダ挿入(&H)", true, 15,
       "Tarno Kitの定型エラーヘッダー処理を挿入します", true, "picErrHInst", "InsertErrorHeader",
       [] { codegen::InsertErrorHeader(*HostVBE); }},
      {"ErrorHuter", M::EditPopup, 2, "エラー処理フッタ挿入(&F)", true, 16,
       "Tarno Kitの定型エラーフッタ処理を挿入します", false, "picErrFInst", "InsertErrorFooter",
       [] { codegen::InsertErrorFooter(*HostVBE); }},
      {"ContorolErrTool", M::EditPopup, 3, "エラーヘッダフッタ一括挿入(&E)", true, 17,
       "Tarno Kitの定型エラーヘッダーフッタ処理を一括挿入します", true, "picErrInst", "frmErrInput",
       ShowModal<codegen::frmErrInput>},
  }};
  return rows;
}

}  // namespace

const std::array<CommandRow, kCommandCount>& CommandRows() { return Rows(); }

const CommandRow& RowOf(Command command) { return Rows()[static_cast<size_t>(command)]; }

Command CommandOf(const CommandRow& row) { return static_cast<Command>(&row - Rows().data()); }

std::function<void()>& CommandAction(Command command) { return Rows()[static_cast<size_t>(command)].action; }

bool RunCommand(Command command) { return RunRow(RowOf(command)); }

AutoSaveWindowHooks& AutoSaveWindow() {
  // frmProject: load_hidden loads it without showing it, unload unloads it.
  static AutoSaveWindowHooks hooks{project::LoadProjectWindowHidden, project::UnloadProjectWindow};
  return hooks;
}

CommandTable AddInCommands() { return {Rows(), AutoSaveWindow()}; }

}  // namespace tarno
