#include "patterns/frm_code_patrn_input.h"

#include "patterns/message_boxes.h"
#include "patterns/pattern_edits.h"
#include "patterns/pattern_store.h"
#include "platform/vb_text.h"

namespace tarno::patterns {

namespace {
// The editor's smallest size, twips.
constexpr int kMinWidth = 7950;
constexpr int kMinHeight = 7635;
}  // namespace

frmCodePatrnInput::frmCodePatrnInput() : Form(u"frmCodePatrnInput") {
  SetCaption(vb::U("VB自動コードパターン For VisualBasic6.0"));
  Move(0, 0, kMinWidth, kMinHeight);
  Label1.SetCaption(vb::U("プロシージャ名"));
  Label1.Move(120, 120, 1800, 255);
  Text1.SetToolTipText(vb::U("プロシージャ名を入力してください"));
  Text1.Move(120, 390, 4800, 300);
  Label2.SetCaption(vb::U("コード内容"));
  Label2.Move(120, 810, 1800, 255);
  Text2.SetToolTipText(vb::U("コード内容を入力するか貼り付けてください"));
  Text2.SetMultiLine(true);
  Text2.SetScrollBars(3);
  Text2.Move(120, 1080, kMinWidth - 375, kMinHeight - 2100);
  Command1.SetCaption(vb::U("登録"));
  Command1.SetToolTipText(vb::U("コードパターンを登録します"));
  Command1.Move(kMinWidth - 2790, kMinHeight - 915, 1200, 400);
  Command3.SetCaption(vb::U("閉じる"));
  Command3.SetToolTipText(vb::U("画面を閉じます"));
  Command3.Move(kMinWidth - 1470, kMinHeight - 915, 1200, 400);
  Text1.OnGotFocus = [this] { Text1_GotFocus(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void frmCodePatrnInput::Init(const std::u16string& strFolderName, std::u16string& strFileName) {
  strFolderName_ = strFolderName;
  strFileName_ = strFileName;
  Show(ui::vbModal);
  strFileName = strFileName_;
}

void frmCodePatrnInput::Form_Load() {
  if (vb::Trim(strFileName_).empty()) {
    Command1.SetCaption(vb::U("登録"));
    return;
  }
  Command1.SetCaption(vb::U("修正"));
  Text1.SetText(PatternNameOfFile(strFileName_));
  if (!PatternFileExists(strFolderName_, strFileName_)) {
    Warn(vb::U(msg::PatternGone));
    return;
  }
  try {
    Text2.SetText(ReadPatternFile(strFolderName_, strFileName_));
  } catch (const PatternStoreError& e) {
    // Storing from an empty code box would replace a text the user never
    // saw: the editor does not open.
    std::u16string failure = FailureMessage(e);
    Warn(vb::U(msg::PatternUnreadable) + failure.substr(failure.find(vb::kCrLf)));
    strFileName_.clear();
    Unload();
  }
}

void frmCodePatrnInput::Command1_Click() {
  try {
    strFileName_ = StorePattern(strFolderName_, strFileName_, Text1.Text(), Text2.Text());
  } catch (const PatternRefusal& r) {
    Warn(r.message());
    (r.field() == Field::Code ? Text2 : Text1).SetFocus();
    return;
  } catch (const PatternStoreError& e) {
    ReportFailure(e);
    Text1.SetFocus();
    return;
  }
  Unload();
}

void frmCodePatrnInput::Command3_Click() {
  strFileName_.clear();
  Unload();
}

void frmCodePatrnInput::Form_QueryUnload(int16_t&, int16_t UnloadMode) {
  // The close box stores nothing, like the close button.
  if (UnloadMode == ui::vbFormControlMenu) strFileName_.clear();
}

void frmCodePatrnInput::Form_Resize() {
  if (Height() > kMinHeight) {
    Text2.SetHeight(Height() - 2100);
    Command1.SetTop(Height() - 915);
    Command3.SetTop(Height() - 915);
  } else {
    SetHeight(kMinHeight);
    Text2.SetHeight(5535);
    Command1.SetTop(6720);
    Command3.SetTop(6720);
  }
  if (Width() > kMinWidth) {
    Text2.SetWidth(Width() - 375);
    Command1.SetLeft(Width() - 2790);
    Command3.SetLeft(Width() - 1470);
  } else {
    SetWidth(kMinWidth);
    Text2.SetWidth(7575);
    Command1.SetLeft(5160);
    Command3.SetLeft(6480);
  }
}

}  // namespace tarno::patterns
