#include "project/frm_copy.h"

#include <algorithm>

#include "addin/addin_globals.h"
#include "platform/vb_text.h"
#include "project/form_copy.h"

namespace tarno::project {

namespace {

const std::u16string kTitle = u"Tarno Kit";

}  // namespace

frmCopy::frmCopy() : Form(u"frmCopy") {
  SetCaption(vb::U("VB自動ファイルコピー For VisualBasic6.0"));
  Move(0, 0, 10560, 6600);
  Label1.Move(120, 150, 1800, 255);
  Label1.SetCaption(vb::U("コピー元プロジェクト："));
  Combo1.Move(2040, 120, 4000, 300);
  Combo1.SetStyle(2);
  Combo1.SetToolTipText(vb::U("コピー元のプロジェクトを選択してください"));
  ListView1.Move(120, 540, 10200, 3300);
  ListView1.SetView(ui::lvwReport);
  ListView1.SetFullRowSelect(true);
  ListView1.SetHideSelection(false);
  ListView1.SetToolTipText(vb::U("コピー元のモジュールを選択してください"));
  Label2.Move(120, 4020, 1800, 255);
  Label2.SetCaption(vb::U("コピー先プロジェクト："));
  Combo2.Move(2040, 3990, 4000, 300);
  Combo2.SetStyle(2);
  Combo2.SetToolTipText(vb::U("コピー先のプロジェクトを選択してください"));
  Label3.Move(120, 4470, 1800, 255);
  Label3.SetCaption(vb::U("新しいオブジェクト名："));
  Text1.Move(2040, 4440, 4000, 300);
  Text1.SetToolTipText(vb::U("新しいオブジェクト名を入力してください"));
  Check1.Move(2040, 4860, 4000, 300);
  Check1.SetCaption(vb::U("コントロールをコピーします"));
  Check1.SetToolTipText(vb::U("印を付けるとコントロールもコピーします"));
  Check2.Move(2040, 5220, 4000, 300);
  Check2.SetCaption(vb::U("ソースコードをコピーします"));
  Check2.SetToolTipText(vb::U("印を付けるとソースコードもコピーします"));
  Command1.Move(7320, 5640, 1400, 400);
  Command1.SetCaption(vb::U("実行"));
  Command1.SetToolTipText(vb::U("ファイルをコピーします"));
  Command2.Move(8880, 5640, 1400, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Combo1.OnClick = [this] { Combo1_Click(); };
  ListView1.OnClick = [this] { ListView1_Click(); };
  Text1.OnGotFocus = [this] { Text1_GotFocus(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
}

void frmCopy::Form_Load() {
  try {
    auto projects = HostVBE->VBProjects();
    for (int i = 1; i <= projects->Count(); ++i) {
      std::u16string name = projects->Item(i)->Name();
      Combo1.AddItem(name);
      Combo2.AddItem(name);
    }
  } catch (const ide::HostError&) {
    // The lists show the projects read so far.
  }
  // The columns go in before the first project is chosen: its rows need them.
  ListView1.ColumnHeaders.Add(vb::U("オブジェクト名"), 2000);
  ListView1.ColumnHeaders.Add(vb::U("種類"), 2000);
  ListView1.ColumnHeaders.Add(vb::U("ファイル名"), 6000);
  if (Combo1.ListCount() > 0) Combo1.SetListIndex(0);
  if (Combo2.ListCount() > 0) Combo2.SetListIndex(0);
}

void frmCopy::Combo1_Click() {
  ListView1.ListItems.Clear();
  rowComponents_.clear();
  try {
    if (Combo1.ListIndex() >= 0) {
      auto components = HostVBE->VBProjects()->Item(Combo1.ListIndex() + 1)->VBComponents();
      for (int i = 1; i <= components->Count(); ++i) {
        auto c = components->Item(i);
        std::u16string kind = ListedKindText(c->Type());
        if (kind.empty()) continue;
        ui::ListItem& row = ListView1.ListItems.Add(c->Name());
        row.SetSubItems(1, kind);
        std::u16string file;
        try {
          file = c->FileNames(1);
        } catch (const ide::HostError&) {
          // A component never saved has no file name.
        }
        row.SetSubItems(2, file);
        rowComponents_.push_back(i);
      }
    }
  } catch (const ide::HostError&) {
    // The list shows the components read so far.
  }
  if (ListView1.ListItems.Count() > 0) ListView1.ListItems.Item(1).SetSelected(true);
  Check1.SetEnabled(true);
  Check1.SetValue(ui::vbUnchecked);
}

std::shared_ptr<ide::VBComponent> frmCopy::SelectedComponent() {
  ui::ListItem* row = ListView1.SelectedItem();
  if (!row || Combo1.ListIndex() < 0) return nullptr;
  int position = rowComponents_.at(static_cast<size_t>(row->Index() - 1));
  return HostVBE->VBProjects()->Item(Combo1.ListIndex() + 1)->VBComponents()->Item(position);
}

void frmCopy::ListView1_Click() {
  int kind = 0;
  try {
    if (auto c = SelectedComponent()) kind = c->Type();
  } catch (const ide::HostError&) {
  }
  if (ControlsCopyable(kind)) {
    Check1.SetEnabled(true);
  } else {
    Check1.SetValue(ui::vbUnchecked);
    Check1.SetEnabled(false);
  }
}

void frmCopy::Command1_Click() {
  std::shared_ptr<ide::VBComponent> source;
  std::shared_ptr<ide::VBProject> target;
  std::optional<CopyRefusal> refusal;
  try {
    const int rows = ListView1.ListItems.Count();
    if (rows > 0) source = SelectedComponent();
    if (Combo2.ListIndex() >= 0) target = HostVBE->VBProjects()->Item(Combo2.ListIndex() + 1);
    refusal = CheckCopy(rows, source, Text1.Text(), target.get());
  } catch (const ide::HostError&) {
    refusal = CopyRefusal{0, vb::U("フォームのコピーに失敗しました"), false};
  }
  if (refusal) {
    ui::MsgBox(refusal->message, ui::vbExclamation, kTitle);
    if (refusal->focus_name) Text1.SetFocus();
    return;
  }
  CopyOptions options;
  options.controls = Check1.Value() == ui::vbChecked;
  // A control whose name the copy could not keep: nothing is copied.
  if (options.controls && UncopyableControl(*source)) {
    ui::MsgBox(vb::U("フォームのコピーに失敗しました"), ui::vbExclamation, kTitle);
    return;
  }
  ui::Screen().SetMousePointer(ui::vbHourglass);
  options.code = Check2.Value() == ui::vbChecked;
  // What the target gains with this copy: the references and libraries its
  // code and controls need that the target did not have.
  std::vector<std::u16string> had;
  try {
    had = target->AddedReferences();
  } catch (const ide::HostError&) {
  }
  auto copy = CopyComponent(*source, *target, Text1.Text(), options);
  ui::Screen().SetMousePointer(ui::vbDefault);
  if (!copy) {
    ui::MsgBox(vb::U("フォームのコピーに失敗しました"), ui::vbExclamation, kTitle);
    return;
  }
  std::u16string done = vb::U("コピー完了しました");
  try {
    bool first = true;
    for (const auto& line : target->AddedReferences()) {
      if (std::find(had.begin(), had.end(), line) != had.end()) continue;
      done += (first ? u"\r\n\r\n" : u"\r\n") + line;
      first = false;
    }
  } catch (const ide::HostError&) {
  }
  ui::MsgBox(done, ui::vbInformation, kTitle);
}

}  // namespace tarno::project
