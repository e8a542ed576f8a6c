#include "patterns/frm_code_patrn.h"

#include "patterns/frm_code_patrn_add_folder.h"
#include "patterns/frm_code_patrn_input.h"
#include "patterns/message_boxes.h"
#include "patterns/pattern_edits.h"
#include "patterns/pattern_store.h"
#include "platform/clipboard.h"
#include "platform/vb_text.h"
#include "ui/tree_images.h"

namespace tarno::patterns {

namespace {

const std::u16string kFolder = u"Folder";
const std::u16string kOpenFolder = u"OpenFolder";
const std::u16string kFile = u"File";

bool IsFolder(const ui::Node* node) { return node && node->Image() == kFolder; }
bool IsPattern(const ui::Node* node) { return node && node->Image() == kFile && node->Parent(); }

}  // namespace

frmCodePatrn::frmCodePatrn() : Form(u"frmCodePatrn") {
  SetCaption(vb::U("VB自動コードパターン For VisualBasic6.0"));
  Move(0, 0, 6600, 6300);
  ImageList1.Add(kFolder, ui::FolderImage());
  ImageList1.Add(kOpenFolder, ui::OpenFolderImage());
  ImageList1.Add(kFile, ui::FileImage());
  TreeView1.SetImageList(&ImageList1);
  TreeView1.Move(120, 120, 4440, 5640);
  struct Button {
    ui::CommandButton& button;
    const char* caption;
    const char* tip;
  };
  const Button buttons[] = {
      {Command1, "登録", "コードパターン登録を行います"},
      {Command2, "フォルダ作成", "フォルダを作成します"},
      {Command4, "フォルダ名変更", "選択されたフォルダ名を変更します"},
      {Command5, "フォルダ削除", "フォルダを削除します"},
      {Command6, "削除", "コードパターンを削除します"},
      {Command7, "クリップボード", "コードパターンをクリップボードに貼り付けます"},
      {Command3, "閉じる", "画面を閉じます"},
  };
  int top = 120;
  for (const Button& b : buttons) {
    b.button.SetCaption(vb::U(b.caption));
    b.button.SetToolTipText(vb::U(b.tip));
    b.button.Move(4740, top, 1620, 400);
    top += &b.button == &Command7 ? 1320 : 520;
  }
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Command5.OnClick = [this] { Command5_Click(); };
  Command6.OnClick = [this] { Command6_Click(); };
  Command7.OnClick = [this] { Command7_Click(); };
  TreeView1.OnDblClick = [this] { TreeView1_DblClick(); };
  TreeView1.OnNodeClick = [this](ui::Node& node) { TreeView1_NodeClick(node); };
}

void frmCodePatrn::Form_Load() {
  try {
    if (!PatternRootExists()) {
      CreatePatternRoot();
      return;
    }
    TreeView1.Nodes.Clear();
    for (const std::u16string& folder : ListPatternFolders()) TreeView1.Nodes.Add(u"", folder, kFolder);
    // All folders first, then the files of each: the listings never interleave.
    // A folder that cannot be listed is named once the others are filled.
    std::u16string unreadable;
    int folders = TreeView1.Nodes.Count();
    for (int i = 1; i <= folders; ++i) {
      ui::Node& folder = TreeView1.Nodes.Item(i);
      try {
        for (const std::u16string& file : ListPatternFiles(folder.Text()))
          TreeView1.Nodes.Add(&folder, ui::tvwChild, u"", file, kFile);
      } catch (const PatternStoreError& e) {
        std::u16string failure = FailureMessage(e);
        unreadable += unreadable.empty() ? failure : failure.substr(failure.find(vb::kCrLf));
      }
    }
    if (!unreadable.empty()) Warn(unreadable);
  } catch (const PatternStoreError& e) {
    ReportFailure(e);
  }
}

void frmCodePatrn::SelectNewestNode() {
  TreeView1.Nodes.Item(TreeView1.Nodes.Count()).SetSelected(true);
  TreeView1.SetFocus();
}

void frmCodePatrn::Command1_Click() {
  if (TreeView1.Nodes.Count() == 0) return Warn(vb::U(msg::CreateFolderFirst));
  ui::Node* selected = TreeView1.SelectedItem();
  if (!selected) return Warn(vb::U(msg::SelectFolder));
  ui::Node* folder = selected->Parent() ? selected->Parent() : selected;
  std::u16string file;
  frmCodePatrnInput editor;
  editor.Init(folder->Text(), file);
  if (vb::Trim(file).empty()) return;
  ui::Node& added = TreeView1.Nodes.Add(folder, ui::tvwChild, u"", file, kFile);
  if (selected == folder)
    added.EnsureVisible();
  else
    folder->EnsureVisible();
  SelectNewestNode();
}

void frmCodePatrn::Command2_Click() {
  std::u16string name;
  frmCodePatrnAddFolder dialog;
  dialog.Init(name);
  if (vb::Trim(name).empty()) return;
  TreeView1.Nodes.Add(nullptr, ui::tvwLast, u"", name, kFolder);
  SelectNewestNode();
}

void frmCodePatrn::RenameSelectedFolder() {
  ui::Node* selected = TreeView1.SelectedItem();
  std::u16string name = selected->Text();
  frmCodePatrnAddFolder dialog;
  dialog.Init(name);
  if (!vb::Trim(name).empty()) selected->SetText(name);
  selected->EnsureVisible();
}

void frmCodePatrn::Command4_Click() {
  if (TreeView1.Nodes.Count() == 0) return Warn(vb::U(msg::CreateFolderFirst));
  if (!IsFolder(TreeView1.SelectedItem())) return Warn(vb::U(msg::SelectFolder));
  RenameSelectedFolder();
}

void frmCodePatrn::Command5_Click() {
  if (TreeView1.Nodes.Count() == 0) return Warn(vb::U(msg::CreateFolderFirst));
  ui::Node* selected = TreeView1.SelectedItem();
  if (!selected) return Warn(vb::U(msg::SelectFolder));
  // The existence test comes first: with a pattern selected it is the usual answer.
  if (!PatternFolderExists(selected->Text())) return Warn(vb::U(msg::FolderMissing));
  if (!IsFolder(selected)) return Warn(vb::U(msg::SelectFolder));
  if (!AskYes(vb::U(msg::ConfirmDelete))) return;
  try {
    RemovePatternFolder(selected->Text());
  } catch (const PatternStoreError& e) {
    return ReportFailure(e);
  }
  TreeView1.Nodes.Remove(*selected);
  Inform(vb::U(msg::Deleted));
}

ui::Node* frmCodePatrn::ExistingSelectedPattern() {
  if (TreeView1.Nodes.Count() == 0) {
    Warn(vb::U(msg::CreateFolderFirst));
    return nullptr;
  }
  ui::Node* selected = TreeView1.SelectedItem();
  if (!IsPattern(selected)) {
    Warn(vb::U(msg::SelectPattern));
    return nullptr;
  }
  if (!PatternFileExists(selected->Parent()->Text(), selected->Text())) {
    Warn(vb::U(msg::FolderMissing));
    return nullptr;
  }
  return selected;
}

void frmCodePatrn::Command6_Click() {
  ui::Node* pattern = ExistingSelectedPattern();
  if (!pattern) return;
  if (!AskYes(vb::U(msg::ConfirmDelete))) return;
  try {
    DeletePatternFile(pattern->Parent()->Text(), pattern->Text());
  } catch (const PatternStoreError& e) {
    return ReportFailure(e);
  }
  TreeView1.Nodes.Remove(*pattern);
  Inform(vb::U(msg::Deleted));
}

void frmCodePatrn::Command7_Click() {
  ui::Node* pattern = ExistingSelectedPattern();
  if (!pattern) return;
  std::u16string text;
  try {
    text = ReadPatternFile(pattern->Parent()->Text(), pattern->Text());
  } catch (const PatternStoreError& e) {
    return ReportFailure(e);
  }
  SystemClipboard().Clear();
  SystemClipboard().SetText(text);
  Inform(vb::U(msg::Copied));
}

void frmCodePatrn::TreeView1_DblClick() {
  if (TreeView1.Nodes.Count() == 0) return;
  ui::Node* selected = TreeView1.SelectedItem();
  if (!selected) return;
  if (IsFolder(selected)) return RenameSelectedFolder();
  if (!selected->Parent()) return;
  std::u16string file = selected->Text();
  frmCodePatrnInput editor;
  editor.Init(selected->Parent()->Text(), file);
  if (!vb::Trim(file).empty()) selected->SetText(file);
}

void frmCodePatrn::TreeView1_NodeClick(ui::Node& Node) {
  if (Node.Image() == kFolder) Node.SetSelectedImage(kOpenFolder);
}

}  // namespace tarno::patterns
