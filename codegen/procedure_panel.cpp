#include "codegen/procedure_panel.h"

#include "platform/vb_text.h"

namespace tarno::codegen {

void ShowRefusal(const std::u16string& text) {
  ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, u"Tarno Kit");
}

void ProcedurePanel::Setup() {
  // Both windows place the lists alike.
  c_.Label1.Move(120, 120, 1500, 255);
  c_.Combo1.Move(1680, 90, 3000, 300);
  c_.Label2.Move(120, 510, 1500, 255);
  c_.Combo2.Move(1680, 480, 3000, 300);
  c_.Label3.Move(4800, 510, 2400, 255);
  c_.ListView1.Move(120, 900, 7440, 3600);
  c_.Check1.Move(120, 4620, 4000, 300);
  c_.Label1.SetCaption(vb::U("プロジェクト名："));
  c_.Label2.SetCaption(vb::U("モジュール名："));
  c_.Label3.SetCaption(u"");
  c_.Combo1.SetStyle(ui::vbComboDropdownList);
  c_.Combo2.SetStyle(ui::vbComboDropdownList);
  c_.ListView1.SetView(ui::lvwReport);
  c_.ListView1.SetFullRowSelect(true);
  c_.ListView1.SetHideSelection(false);
  c_.Check1.SetCaption(vb::U("全てのプロシージャを対象にする"));
  c_.Check1.SetToolTipText(vb::U("選択ｻﾚﾀモジュールのコード全てを対象にします"));
}

void ProcedurePanel::Load(const std::shared_ptr<ide::VBE>& vbe) {
  vbe_ = vbe;
  // The columns come first: rows are added as soon as a project is chosen.
  c_.ListView1.ColumnHeaders.Clear();
  c_.ListView1.ColumnHeaders.Add(vb::U("プロシージャ名"), 3000);
  c_.ListView1.ColumnHeaders.Add(vb::U("先頭行"), 1000);
  c_.ListView1.ColumnHeaders.Add(vb::U("スコープ"), 1500);
  c_.ListView1.ColumnHeaders.Add(vb::U("タイプ"), 1500);
  c_.Combo1.Clear();
  if (!vbe_) return;
  try {
    auto projects = vbe_->VBProjects();
    for (int i = 1; i <= projects->Count(); ++i) c_.Combo1.AddItem(projects->Item(i)->Name());
  } catch (const ide::HostError&) {
  }
  if (c_.Combo1.ListCount() > 0) c_.Combo1.SetListIndex(0);
}

std::shared_ptr<ide::VBProject> ProcedurePanel::ChosenProject() const {
  int index = c_.Combo1.ListIndex();
  if (!vbe_ || index < 0) return nullptr;
  try {
    return vbe_->VBProjects()->Item(index + 1);
  } catch (const ide::HostError&) {
    return nullptr;
  }
}

std::shared_ptr<ide::VBComponent> ProcedurePanel::ChosenComponent() const {
  int index = c_.Combo2.ListIndex();
  auto project = ChosenProject();
  if (!project || index < 0) return nullptr;
  try {
    return project->VBComponents()->Item(index + 1);
  } catch (const ide::HostError&) {
    return nullptr;
  }
}

std::shared_ptr<ide::CodeModule> ProcedurePanel::ChosenModule() const {
  auto component = ChosenComponent();
  if (!component) return nullptr;
  try {
    return component->CodeModule();
  } catch (const ide::HostError&) {
    return nullptr;
  }
}

void ProcedurePanel::Combo1_Click() {
  c_.Combo2.Clear();
  if (auto project = ChosenProject()) {
    try {
      auto components = project->VBComponents();
      for (int i = 1; i <= components->Count(); ++i) c_.Combo2.AddItem(components->Item(i)->Name());
    } catch (const ide::HostError&) {
    }
  }
  if (c_.Combo2.ListCount() > 0) {
    c_.Combo2.SetListIndex(0);
  } else {
    // A project without components: nothing to list.
    rows_.clear();
    c_.ListView1.ListItems.Clear();
    c_.Label3.SetCaption(u"");
  }
  c_.Check1.SetValue(ui::vbUnchecked);
  c_.ListView1.SetEnabled(true);
}

void ProcedurePanel::Combo2_Click() {
  rows_.clear();
  c_.ListView1.ListItems.Clear();
  auto component = ChosenComponent();
  std::u16string kind;
  if (component) {
    try {
      kind = ModuleKindText(component->Type());
    } catch (const ide::HostError&) {
    }
  }
  c_.Label3.SetCaption(kind);
  if (auto module = ChosenModule()) rows_ = ListProcedures(*module);
  for (const auto& row : rows_) {
    auto& item = c_.ListView1.ListItems.Add(row.Name);
    item.SetSubItems(1, vb::FromInt(row.StartLine));
    item.SetSubItems(2, row.Scope);
    item.SetSubItems(3, row.KindText);
  }
  if (c_.ListView1.ListItems.Count() > 0) c_.ListView1.ListItems.Item(1).SetSelected(true);
  c_.Check1.SetValue(ui::vbUnchecked);
  c_.ListView1.SetEnabled(true);
}

void ProcedurePanel::Check1_Click() { c_.ListView1.SetEnabled(c_.Check1.Value() != ui::vbChecked); }

std::optional<ProcedureRow> ProcedurePanel::SelectedRow() const {
  const ui::ListItem* item = c_.ListView1.SelectedItem();
  if (!item) return std::nullopt;
  size_t index = static_cast<size_t>(item->Index());
  if (index < 1 || index > rows_.size()) return std::nullopt;
  return rows_[index - 1];
}

}  // namespace tarno::codegen
