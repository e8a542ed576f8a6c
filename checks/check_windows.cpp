#include "checks/check_windows.h"

#include <filesystem>
#include <iostream>

#include "addin/addin_globals.h"
#include "checks/check_reports.h"
#include "platform/vb_text.h"

namespace tarno::checks {

namespace {

const std::u16string kTitle = u"Tarno Kit";

void Warn(const std::u16string& text) { ui::MsgBox(text, ui::vbExclamation, kTitle); }

}  // namespace

std::u16string ComponentKindText(int type) {
  switch (type) {
    case ide::ComponentType::StdModule: return vb::U("標準 モジュール");
    case ide::ComponentType::ClassModule: return vb::U("クラス モジュール");
    case ide::ComponentType::VBForm: return vb::U("フォーム モジュール");
    case ide::ComponentType::MDIForm: return vb::U("MDIフォーム モジュール");
    case ide::ComponentType::PropPage: return vb::U("プロパティページ");
    case ide::ComponentType::UserControl: return vb::U("ユーザー コントロール");
    case ide::ComponentType::DocObject: return vb::U("ユーザー ドキュメント");
    // Kinds the check windows had no text for; named as the IDE names them.
    case ide::ComponentType::MSForm: return vb::U("MS フォーム");
    case ide::ComponentType::ResFile: return vb::U("リソース ファイル");
    case ide::ComponentType::RelatedDocument: return vb::U("関連ドキュメント");
    case ide::ComponentType::ActiveXDesigner: return vb::U("ActiveX デザイナ");
    default: return u"";
  }
}

// --- Check windows ---------------------------------------------------------

CheckWindow::CheckWindow(std::u16string name, const std::u16string& caption, const std::u16string& startToolTip)
    : Form(std::move(name)) {
  SetCaption(caption);
  Move(0, 0, 10560, 6000);
  Label1.Move(120, 150, 1500, 255);
  Label1.SetCaption(vb::U("プロジェクト名："));
  Combo1.Move(1680, 120, 4000, 300);
  Combo1.SetStyle(2);
  ListView1.Move(120, 600, 10200, 3900);
  ListView1.SetView(3);
  ListView1.SetFullRowSelect(true);
  ListView1.SetHideSelection(false);
  Check1.Move(120, 4620, 4000, 300);
  Check1.SetCaption(vb::U("全てのファイルをチェック"));
  Check1.SetToolTipText(vb::U("選択されたプロジェクトのモジュール全てを対象にします"));
  Command1.Move(7320, 5040, 1400, 400);
  Command1.SetCaption(vb::U("実行"));
  Command1.SetToolTipText(startToolTip);
  Command2.Move(8880, 5040, 1400, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Picture1.Move(3480, 2160, 3600, 900);
  Label2.SetContainer(&Picture1);
  Label2.Move(240, 300, 3120, 300);
  Label2.SetCaption(vb::U("チェック中・・・"));
  Combo1.OnClick = [this] { Combo1_Click(); };
  Check1.OnClick = [this] { Check1_Click(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
}

void CheckWindow::Form_Load() {
  try {
    auto projects = HostVBE->VBProjects();
    for (int i = 1; i <= projects->Count(); ++i) Combo1.AddItem(projects->Item(i)->Name());
  } catch (const ide::HostError&) {
    // The list shows the projects read so far.
  }
  // The columns go in before the first project is chosen: that fills the
  // rows' sub-items, which need their columns.
  ListView1.ColumnHeaders.Add(vb::U("オブジェクト名"), 2000);
  ListView1.ColumnHeaders.Add(vb::U("種類"), 2000);
  ListView1.ColumnHeaders.Add(vb::U("ファイル名"), 6000);
  if (Combo1.ListCount() > 0) Combo1.SetListIndex(0);
  Picture1.SetVisible(false);
}

std::shared_ptr<ide::VBProject> CheckWindow::ChosenProject() {
  if (Combo1.ListIndex() < 0) return nullptr;
  return HostVBE->VBProjects()->Item(Combo1.ListIndex() + 1);
}

void CheckWindow::Combo1_Click() {
  ListView1.ListItems.Clear();
  try {
    auto project = ChosenProject();
    if (project) {
      auto comps = project->VBComponents();
      for (int i = 1; i <= comps->Count(); ++i) {
        auto c = comps->Item(i);
        ui::ListItem& item = ListView1.ListItems.Add(c->Name());
        item.SetSubItems(1, ComponentKindText(c->Type()));
        std::u16string file;
        try {
          file = c->FileNames(1);
        } catch (const ide::HostError&) {
          // A component never saved has no file name.
        }
        item.SetSubItems(2, file);
      }
    }
  } catch (const ide::HostError&) {
    // The list shows the components read so far.
  }
  if (ListView1.ListItems.Count() > 0) ListView1.ListItems.Item(1).SetSelected(true);
  Check1.SetValue(ui::vbUnchecked);
}

void CheckWindow::Check1_Click() { ListView1.SetEnabled(Check1.Value() != ui::vbChecked); }

void CheckWindow::Command1_Click() {
  if (ListView1.ListItems.Count() == 0) {
    Warn(vb::U("指定されたプロジェクトには、モジュールが存在しませんので実行できません"));
    return;
  }
  ui::ListItem* selected = ListView1.SelectedItem();
  if (!selected) {
    Warn(vb::U("モジュールを選択してください"));
    return;
  }
  ui::Screen().SetMousePointer(ui::vbHourglass);
  Picture1.SetVisible(true);
  Refresh();
  std::u16string failure;
  try {
    RunCheck(Check1.Value() == ui::vbChecked, selected->Index());
  } catch (const ide::HostError& e) {
    failure = vb::U(e.what());
  }
  Picture1.SetVisible(false);
  ui::Screen().SetMousePointer(ui::vbDefault);
  if (!failure.empty()) {
    // A check that did not run to its end has no result to show, and must
    // not look like a clean one.
    // The message box says only that the check stopped; the host's own
    // reason is for the one who started the program.
    DropResult();
    std::cerr << vb::ToUtf8(Name()) << ": the check stopped: " << vb::ToUtf8(failure) << "\n";
    Warn(vb::U("チェック中にエラーが発生しましたので中断しました"));
    return;
  }
  if (ResultEmpty()) {
    DropResult();
    ui::MsgBox(vb::U("正常終了しました"), ui::vbInformation, kTitle);
  } else {
    ShowResults();
  }
}

// --- frmHensuFind ----------------------------------------------------------

frmHensuFind::frmHensuFind()
    : CheckWindow(u"frmHensuFind", vb::U("VB自動変数チェック For VisualBasic6.0"),
                  vb::U("変数チェックを開始します")) {}

void frmHensuFind::CheckModuleVariables(int componentIndex) {
  auto& result = CurrentVariableCheckResult();
  result = std::make_unique<VariableCheckResult>();
  result->projectName = Combo1.Text();
  auto project = ChosenProject();
  checks::CheckModuleVariables(*project, componentIndex, ListView1.SelectedItem()->Text(), *result);
}

void frmHensuFind::CheckProjectVariables() {
  auto& result = CurrentVariableCheckResult();
  result = std::make_unique<VariableCheckResult>();
  result->projectName = Combo1.Text();
  auto project = ChosenProject();
  checks::CheckProjectVariables(*project, *result);
}

void frmHensuFind::RunCheck(bool allModules, int componentIndex) {
  if (allModules) {
    CheckProjectVariables();
  } else {
    CheckModuleVariables(componentIndex);
  }
}

bool frmHensuFind::ResultEmpty() const {
  const auto& result = CurrentVariableCheckResult();
  return !result || result->modules.empty();
}

void frmHensuFind::ShowResults() {
  {
    frmKekka results;
    results.Show(ui::vbModal);
  }
  CurrentVariableCheckResult().reset();
}

void frmHensuFind::DropResult() { CurrentVariableCheckResult().reset(); }

// --- frmProcFind -----------------------------------------------------------

frmProcFind::frmProcFind()
    : CheckWindow(u"frmProcFind", vb::U("VB自動プロシージャチェック For VisualBasic6.0"),
                  vb::U("プロシージャチェックを開始します")) {}

void frmProcFind::CheckModuleProcedures(int componentIndex) {
  auto project = ChosenProject();
  checks::CheckModuleProcedures(*project, componentIndex, ListView1.SelectedItem()->Text(), *result_);
}

void frmProcFind::CheckProjectProcedures() {
  auto project = ChosenProject();
  checks::CheckProjectProcedures(*project, *result_);
}

void frmProcFind::RunCheck(bool allModules, int componentIndex) {
  result_ = std::make_unique<ProcedureCheckResult>();
  if (allModules) {
    CheckProjectProcedures();
  } else {
    CheckModuleProcedures(componentIndex);
  }
}

bool frmProcFind::ResultEmpty() const { return !result_ || result_->modules.empty(); }

void frmProcFind::ShowResults() {
  {
    frmProcFindKekka results;
    results.Init(Combo1.Text(), *result_);
  }
  result_.reset();
}

void frmProcFind::DropResult() { result_.reset(); }

// --- Results windows -------------------------------------------------------

ResultWindow::ResultWindow(std::u16string name, const std::u16string& caption, const std::u16string& saveToolTip)
    : Form(std::move(name)) {
  SetCaption(caption);
  Move(0, 0, 9600, 7200);
  Text1.Move(120, 120, 9240, 5880);
  Text1.SetMultiLine(true);
  Text1.SetScrollBars(3);
  Text1.SetLocked(true);
  Command1.Move(6360, 6180, 1400, 400);
  Command1.SetCaption(vb::U("保存"));
  Command1.SetToolTipText(saveToolTip);
  Command2.Move(7920, 6180, 1400, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
}

void ResultWindow::Command1_Click() {
  CommonDialog1.CancelError = true;
  CommonDialog1.FileName = u"*.log";
  CommonDialog1.Flags = ui::cdlOFNOverwritePrompt;
  CommonDialog1.Filter = vb::U("logファイル|*.log");
  try {
    CommonDialog1.ShowSave();
  } catch (const ui::VbError&) {
    return;  // cancelled
  }
  try {
    WriteLogFile(std::filesystem::path(vb::ToUtf8(CommonDialog1.FileName)), Text1.Text());
  } catch (const std::exception&) {
    // A log that was not written must not pass for a saved one.
    Warn(vb::U("ファイルを保存できませんでした") + u"\r\n" + CommonDialog1.FileName);
  }
}

frmKekka::frmKekka() : ResultWindow(u"frmKekka", vb::U("変数チェック実行結果"), vb::U("変数チェックの結果をファイルに保存します")) {}

void frmKekka::Form_Load() {
  const auto& result = CurrentVariableCheckResult();
  if (result) Text1.SetText(VariableReportText(*result));
}

frmProcFindKekka::frmProcFindKekka()
    : ResultWindow(u"frmProcFindKekka", vb::U("プロシージャチェック実行結果"),
                   vb::U("プロシージャチェックの結果をファイルに保存します")) {}

void frmProcFindKekka::Init(const std::u16string& projectName, const ProcedureCheckResult& result) {
  projectName_ = projectName;
  result_ = result;
  Show(ui::vbModal);
}

void frmProcFindKekka::Form_Load() { Text1.SetText(ProcedureReportText(projectName_, result_)); }

}  // namespace tarno::checks
