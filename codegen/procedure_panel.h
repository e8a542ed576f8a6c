// The project, module and procedure lists that frmComment and frmErrInput
// share: the same controls, columns and rules, written once here. A window
// owns the controls and hands them to a ProcedurePanel, which fills them from
// the host and answers which module and rows are chosen.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "addin/host_api.h"
#include "codegen/procedure_list.h"
#include "ui/ui.h"

namespace tarno::codegen {

struct ProcedurePanelControls {
  ui::Label& Label1;      // "プロジェクト名："
  ui::ComboBox& Combo1;   // project names
  ui::Label& Label2;      // "モジュール名："
  ui::ComboBox& Combo2;   // component names of the chosen project
  ui::Label& Label3;      // kind of the chosen module
  ui::ListView& ListView1;
  ui::CheckBox& Check1;   // whole-module mode
};

class ProcedurePanel {
 public:
  explicit ProcedurePanel(ProcedurePanelControls controls) : c_(controls) {}

  // Captions, columns and tool tips; the window calls it from its constructor
  // and wires the three Click events to Combo1_Click, Combo2_Click and Check1_Click.
  void Setup();
  // Form_Load: the projects of the host, the first one chosen.
  void Load(const std::shared_ptr<ide::VBE>& vbe);

  void Combo1_Click();
  void Combo2_Click();
  void Check1_Click();

  // Rebuilds the procedure list of the chosen module (as choosing it does).
  void Refresh() { Combo2_Click(); }

  bool WholeModule() const { return c_.Check1.Value() == ui::vbChecked; }
  const std::vector<ProcedureRow>& Rows() const { return rows_; }
  // The row of the selected list item, nullopt when none is selected.
  std::optional<ProcedureRow> SelectedRow() const;
  // The chosen component's code module; nullptr when none (or the host fails).
  std::shared_ptr<ide::CodeModule> ChosenModule() const;

 private:
  std::shared_ptr<ide::VBProject> ChosenProject() const;
  std::shared_ptr<ide::VBComponent> ChosenComponent() const;

  ProcedurePanelControls c_;
  std::shared_ptr<ide::VBE> vbe_;
  std::vector<ProcedureRow> rows_;  // rows_[i] is list item i + 1
};

// The messages of the two windows: exclamation icon, OK button, title "Tarno Kit".
void ShowRefusal(const std::u16string& text);

}  // namespace tarno::codegen
