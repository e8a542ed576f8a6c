#include "controls/frm_tab_index.h"

#include "addin/addin_globals.h"
#include "controls/control_values.h"
#include "platform/vb_text.h"

namespace tarno::controls {

OrderWindow::OrderWindow(std::u16string name, const char* caption, const char* valueHeader, const char* setTip)
    : Form(std::move(name)), valueHeader_(valueHeader) {
  SetCaption(vb::U(caption));
  Form::Move(0, 0, 9000, 5760);
  ListView1.SetView(ui::lvwReport);
  ListView1.SetFullRowSelect(true);
  ListView1.SetHideSelection(false);
  // The list holds its six columns (7000 twips) and a scroll bar.
  ListView1.Move(120, 120, 7440, 4200);
  Label5.Move(120, 4440, 7440, 255);
  Command3.SetCaption(vb::U("上"));
  Command3.SetToolTipText(vb::U("選択されたコントロールを上に移動します"));
  Command3.Move(7680, 1200, 1100, 400);
  Command4.SetCaption(vb::U("下"));
  Command4.SetToolTipText(vb::U("選択されたコントロールを下に移動します"));
  Command4.Move(7680, 1720, 1100, 400);
  Command1.SetCaption(vb::U("設定"));
  Command1.SetToolTipText(vb::U(setTip));
  Command1.Move(5520, 4800, 1300, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Command2.Move(6960, 4800, 1300, 400);
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
}

void OrderWindow::Warn(const char* text) { ui::MsgBox(vb::U(text), ui::vbOKOnly | ui::vbExclamation, u"Tarno Kit"); }
void OrderWindow::Inform(const char* text) { ui::MsgBox(vb::U(text), ui::vbOKOnly | ui::vbInformation, u"Tarno Kit"); }

bool OrderWindow::OpenDesigner() {
  ListView1.ColumnHeaders.Add(u"No.", 500);
  ListView1.ColumnHeaders.Add(vb::U("オブジェクト名"), 1500);
  ListView1.ColumnHeaders.Add(u"[Caption] Or [Text]", 2000);
  ListView1.ColumnHeaders.Add(vb::U(valueHeader_), 1000);
  ListView1.ColumnHeaders.Add(u"Top", 1000);
  ListView1.ColumnHeaders.Add(u"Left", 1000);
  designer_ = SelectedFormDesigner(*HostVBE);
  if (!designer_) {
    Warn("現在、フォームモジュール以外はサポートされていません");
    return false;
  }
  try {
    controlCount_ = designer_->VBControls()->Count();
  } catch (const ide::HostError&) {
    controlCount_ = 0;
  }
  Label5.SetCaption(vb::U("現在のオブジェクト数は") + vb::FromInt(controlCount_) + vb::U("個です"));
  return true;
}

void OrderWindow::ShowRows(const std::vector<OrderRow>& rows) {
  ListView1.ListItems.Clear();
  for (const auto& r : rows) {
    ui::ListItem& item = ListView1.ListItems.Add(vb::FromInt(r.No));
    item.SetSubItems(1, r.Name);
    item.SetSubItems(2, r.Text);
    item.SetSubItems(3, r.Value);
    item.SetSubItems(4, r.TopText());
    item.SetSubItems(5, r.LeftText());
  }
}

std::vector<OrderRow> OrderWindow::ListedRows() const {
  std::vector<OrderRow> rows;
  for (const auto& item : ListView1.ListItems) {
    OrderRow r;
    r.No = vb::ToLong(item.Text()).value_or(0);
    r.Name = item.SubItems(1);
    r.Text = item.SubItems(2);
    r.Value = item.SubItems(3);
    r.positioned = !item.SubItems(4).empty();
    r.Top = vb::ToLong(item.SubItems(4)).value_or(0);
    r.Left = vb::ToLong(item.SubItems(5)).value_or(0);
    rows.push_back(std::move(r));
  }
  return rows;
}

void OrderWindow::Move(bool up) {
  const int count = ListView1.ListItems.Count();
  if (count == 0) return;
  // Without a selected row there is nothing to move; the focus still returns.
  if (ui::ListItem* selected = ListView1.SelectedItem()) {
    std::vector<OrderRow> rows = ListedRows();
    int k = selected->Index();
    int to = up ? MoveRowUp(rows, k) : MoveRowDown(rows, k);
    if (to != k) {
      ShowRows(rows);
      ListView1.SetSelectedItem(&ListView1.ListItems.Item(to));
    }
  }
  try {
    ListView1.SetFocus();
  } catch (const ui::VbError&) {
  }
}

bool OrderWindow::ReadyToSet(const char* noControlsMessage) {
  if (!SelectedIsForm(*HostVBE) || !designer_) {
    Warn("現在、フォームモジュール以外はサポートされていません");
    return false;
  }
  int count = 0;
  try {
    count = designer_->VBControls()->Count();
  } catch (const ide::HostError&) {
  }
  if (count == 0) {
    Warn(noControlsMessage);
    return false;
  }
  return true;
}

void OrderWindow::Command3_Click() { Move(true); }
void OrderWindow::Command4_Click() { Move(false); }

// --- frmTabIndex ------------------------------------------------------------------

frmTabIndex::frmTabIndex()
    : OrderWindow(u"frmTabIndex", "VBコントロールTabIndexプロパティの一括設定 For VisualBasic6.0", "TabIndex",
                  "TabIndexプロパティを設定します") {}

void frmTabIndex::Form_Load() {
  if (!OpenDesigner() || controlCount_ == 0) return;
  try {
    ShowRows(TabIndexRows(*designer_));
  } catch (const ide::HostError&) {
    ListView1.ListItems.Clear();
  }
}

void frmTabIndex::Command1_Click() {
  if (!ReadyToSet("TabIndexを設定するコントロールがありません")) return;
  SetTabIndexes(*designer_, ListedRows());
  Inform("TabIndexを設定しました");
  Unload();
}

// --- frmIndex ---------------------------------------------------------------------

frmIndex::frmIndex()
    : OrderWindow(u"frmIndex", "VBコントロールIndexプロパティの一括設定 For VisualBasic6.0", "Index",
                  "Indexプロパティを設定します") {}

void frmIndex::Form_Load() {
  if (!OpenDesigner() || controlCount_ == 0) return;
  IndexTable table;
  try {
    table = BuildIndexTable(*designer_);
  } catch (const ide::HostError&) {
    return;
  }
  arrays_ = table.arrays;
  ShowRows(table.Rows());
  if (table.NoFreeIndex()) {
    Warn("Indexの空きがありませんので設定できません");
    Unload();
  }
}

void frmIndex::Command1_Click() {
  if (!ReadyToSet("Indexを設定するコントロールがありません")) return;
  if (SetIndexes(*designer_, arrays_, ListedRows()) != IndexSetResult::Done) {
    Warn("Indexの設定に失敗しました");
    return;
  }
  Inform("Indexを設定しました");
  Unload();
}

}  // namespace tarno::controls
