#include "controls/frm_contorol_patrn.h"

#include <algorithm>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "controls/control_values.h"
#include "controls/font_dialog.h"
#include "controls/style_apply.h"
#include "platform/vb_text.h"

namespace tarno::controls {

namespace {

const std::u16string kTitle = u"Tarno Kit";

void Warn(const std::u16string& text) { ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, kTitle); }
bool Ask(const char* text) { return ui::MsgBox(vb::U(text), ui::vbYesNo | ui::vbInformation, kTitle) == ui::vbYes; }

void TryFocus(ui::Control& c) {
  try {
    c.SetFocus();
  } catch (const ui::VbError&) {
  }
}

void FillList(ui::ComboBox& combo, std::initializer_list<const char*> items) {
  combo.Clear();
  combo.SetStyle(ui::vbComboDropdownList);
  for (const char* item : items) combo.AddItem(vb::U(item));
}

const std::initializer_list<const char*> kAlignments = {"0 - 左揃え", "1 - 右揃え", "2 - 中央揃え"};
const std::initializer_list<const char*> kBooleans = {"True", "False"};
const std::initializer_list<const char*> kBackStyles = {"0 - 透明", "1 - 不透明"};
const std::initializer_list<const char*> kImeModes = {
    "0 - なし",       "1 - オン",      "2 - オフ",     "3 - オフ固定", "4 - 全角ひらがな", "5 - 全角カタカナ",
    "6 - 半角カタカナ", "7 - 全角英数", "8 - 半角英数", "9 - 全角ハングル", "10 - 半角ハングル"};

int16_t Index16(const ui::ComboBox& c) { return static_cast<int16_t>(c.ListIndex()); }
int32_t Whole(const std::u16string& text) { return vb::ToLong(vb::Trim(text)).value_or(0); }
void ChooseIndex(ui::ComboBox& c, int index) {
  if (index >= 0 && index < c.ListCount()) c.SetListIndex(index);
}

}  // namespace

// --- frmContorolPatrnInput ------------------------------------------------------

frmContorolPatrnInput::frmContorolPatrnInput() : Form(u"frmContorolPatrnInput") {
  SetCaption(vb::U("VB自動コントロール スタイルパターン登録 For VisualBasic6.0"));
  Move(0, 0, 6600, 6600);
  Label10.SetCaption(vb::U("番号："));
  Label10.Move(120, 150, 900, 255);
  Text1.SetLocked(true);
  Text1.Move(1080, 120, 900, 300);
  Label1.SetCaption(vb::U("名称："));
  Label1.Move(120, 540, 900, 255);
  Text2.SetToolTipText(vb::U("パターン名を入力して下さい"));
  Text2.SetMaxLength(50);
  Text2.Move(1080, 510, 5280, 300);
  Label2.SetCaption(vb::U("タイプ："));
  Label2.Move(120, 930, 900, 255);
  Combo1.SetStyle(ui::vbComboDropdownList);
  Combo1.Move(1080, 900, 2400, 300);
  Check1.SetCaption(vb::U("０・空白を無効にする"));
  Check1.SetToolTipText(vb::U("印を付けるとに0や空白の値は設定されません"));
  Check1.Move(3720, 900, 2640, 300);
  SSTab1.SetTabs(3);
  SSTab1.SetTabCaption(0, u"TextBox");
  SSTab1.SetTabCaption(1, u"Label");
  SSTab1.SetTabCaption(2, u"CommandButton");
  SSTab1.Move(120, 1320, 6240, 4320);

  // Each tab's fields in order, with the property name their label shows.
  struct Field {
    ui::Control* field;
    int tab;
    const char* property;
    const char* tip;
  };
  const char* kHeightTip = "Heightプロパティを設定して下さい";
  const char* kWidthTip = "Widthプロパティを設定して下さい";
  const char* kTagTip = "Tagプロパティを設定して下さい";
  const char* kEnabledTip = "Enabledプロパティを設定して下さい";
  const char* kAlignmentTip = "Alignmentプロパティを設定して下さい";
  const Field fields[] = {
      {&Combo2, 0, "Alignment", kAlignmentTip},      {&Combo3, 0, "Enabled", kEnabledTip},
      {&Text3, 0, "Font", ""},                       {&Text4, 0, "Height", kHeightTip},
      {&Combo4, 0, "IMEMode", "IMEModeプロパティを設定して下さい"},
      {&Combo5, 0, "Locked", "Lockedプロパティを設定して下さい"},
      {&Text5, 0, "MaxLength", "MaxLengthプロパティを設定して下さい"},
      {&Text6, 0, "Tag", kTagTip},                   {&Text7, 0, "Width", kWidthTip},
      {&Combo6, 1, "Alignment", kAlignmentTip},      {&Combo7, 1, "BackStyle", "BackStyleプロパティを設定して下さい"},
      {&Combo8, 1, "Enabled", kEnabledTip},          {&Text8, 1, "Font", ""},
      {&Text9, 1, "Height", kHeightTip},             {&Text10, 1, "Tag", kTagTip},
      {&Text11, 1, "Width", kWidthTip},              {&Text12, 2, "Caption", "Captionプロパティを設定して下さい"},
      {&Combo9, 2, "Enabled", kEnabledTip},          {&Text13, 2, "Font", ""},
      {&Text14, 2, "Height", kHeightTip},            {&Text15, 2, "Left", "Leftプロパティを設定して下さい"},
      {&Text16, 2, "Tag", kTagTip},                  {&Text17, 2, "Top", "Topプロパティを設定して下さい"},
      {&Text18, 2, "Width", kWidthTip},
  };
  int row[3] = {0, 0, 0};
  int16_t label = 0;
  for (const auto& f : fields) {
    int y = 480 + row[f.tab]++ * 400;
    ui::Label& l = Label3[label++];
    l.SetContainer(&SSTab1, f.tab);
    l.SetCaption(vb::U(f.property));
    l.Move(240, y + 30, 1200, 255);
    f.field->SetContainer(&SSTab1, f.tab);
    f.field->SetToolTipText(vb::U(f.tip));
    f.field->Move(1560, y, 3000, 300);
    if (auto* box = dynamic_cast<ui::TextBox*>(f.field)) box->OnGotFocus = [box] { box->SelectAll(); };
  }
  for (ui::TextBox* box : {&Text3, &Text8, &Text13}) box->SetLocked(true);
  struct Button {
    ui::CommandButton* button;
    ui::TextBox* box;
    int tab;
  };
  for (const Button& b : {Button{&Command3, &Text3, 0}, Button{&Command4, &Text8, 1}, Button{&Command5, &Text13, 2}}) {
    b.button->SetContainer(&SSTab1, b.tab);
    b.button->SetCaption(vb::U("フォント"));
    b.button->SetToolTipText(vb::U("フォントダイアログを表示します"));
    b.button->Move(4680, b.box->Top(), 1200, 330);
    ui::TextBox* box = b.box;
    b.button->OnClick = [this, box] { FontButton_Click(*box); };
  }
  for (ui::TextBox* box : {&Text4, &Text7, &Text9, &Text11, &Text14, &Text15, &Text17, &Text18}) {
    box->SetMaxLength(10);
    // A number field left blank holds 0.
    box->OnLostFocus = [box] {
      if (vb::Trim(box->Text()).empty()) box->SetText(u"0");
    };
  }
  Text5.SetMaxLength(5);
  Text5.OnLostFocus = [this] {
    if (vb::Trim(Text5.Text()).empty()) Text5.SetText(u"0");
  };
  Text12.SetMaxLength(255);
  Command1.SetCaption(vb::U("登録"));
  Command1.SetToolTipText(vb::U("入力されたスタイル情報を登録します"));
  Command1.Move(3600, 5760, 1300, 400);
  Command2.SetCaption(vb::U("閉じる"));
  Command2.SetToolTipText(vb::U("画面を閉じます"));
  Command2.Move(5040, 5760, 1300, 400);
  Combo1.OnClick = [this] { Combo1_Click(); };
  SSTab1.OnTabClick = [this](int16_t previous) { SSTab1_Click(previous); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
}

void frmContorolPatrnInput::Init(int16_t intMode, bool& bolEndFlg) {
  intMode_ = intMode;
  bolEndFlg_ = false;
  Show(ui::vbModal);
  bolEndFlg = bolEndFlg_;
}

void frmContorolPatrnInput::Form_Load() {
  SettingsModel& s = Settings();
  FillList(Combo1, {"TextBox", "Label", "CommandButton"});
  Combo1.SetListIndex(0);
  font_ = HeldFont{vb::U("ＭＳ Ｐゴシック"), 9};
  FillList(Combo2, kAlignments);
  FillList(Combo3, kBooleans);
  FillList(Combo4, kImeModes);
  FillList(Combo5, kBooleans);
  FillList(Combo6, kAlignments);
  FillList(Combo7, kBackStyles);
  FillList(Combo8, kBooleans);
  FillList(Combo9, kBooleans);
  for (ui::TextBox* box : {&Text3, &Text8, &Text13}) box->SetText(font_.Name);
  for (ui::TextBox* box : {&Text4, &Text5, &Text7, &Text9, &Text11, &Text14, &Text15, &Text17, &Text18})
    box->SetText(u"0");
  for (ui::TextBox* box : {&Text6, &Text10, &Text12, &Text16}) box->SetText(u"");
  for (ui::ComboBox* c : {&Combo2, &Combo6}) c->SetListIndex(0);
  for (ui::ComboBox* c : {&Combo3, &Combo8, &Combo9}) c->SetListIndex(0);
  Combo4.SetListIndex(0);
  Combo5.SetListIndex(1);
  Combo7.SetListIndex(1);
  if (intMode_ == 0) {
    Text1.SetText(vb::FromInt(s.PatternCount + 1));
    s.CurrentPatternNo = s.PatternCount + 1;
    SSTab1.SetTab(0);
    return;
  }
  FillFromPattern();
}

void frmContorolPatrnInput::FillFromPattern() {
  SettingsModel& s = Settings();
  const clsCotrolStyle& p = s.PatternCollection.Item(s.CurrentPatternNo);
  Text1.SetText(vb::FromInt(s.CurrentPatternNo));
  Text2.SetText(p.PatrnName());
  ChooseIndex(Combo1, p.CType());
  Combo1.SetEnabled(false);
  Check1.SetValue(p.FlgValue() == 1 ? ui::vbChecked : ui::vbUnchecked);
  font_ = HeldFont{p.Font(), p.FontSize(), p.FontBold(), p.FontItalic(), p.FontStrikethru(), p.FontUnderline()};
  auto n = [](int32_t v) { return vb::FromInt(v); };
  switch (p.CType()) {
    case 0:
      ChooseIndex(Combo2, p.Alignment());
      ChooseIndex(Combo3, p.Enabled());
      Text3.SetText(font_.Name);
      Text4.SetText(n(p.Height()));
      ChooseIndex(Combo4, p.IMEMode());
      ChooseIndex(Combo5, p.Locked());
      Text5.SetText(n(p.MaxLength()));
      Text6.SetText(p.Tag());
      Text7.SetText(n(p.Width()));
      break;
    case 1:
      ChooseIndex(Combo6, p.Alignment());
      ChooseIndex(Combo7, p.BackStyle());
      ChooseIndex(Combo8, p.Enabled());
      Text8.SetText(font_.Name);
      Text9.SetText(n(p.Height()));
      Text10.SetText(p.Tag());
      Text11.SetText(n(p.Width()));
      break;
    case 2:
      Text12.SetText(p.Caption());
      ChooseIndex(Combo9, p.Enabled());
      Text13.SetText(font_.Name);
      Text14.SetText(n(p.Height()));
      Text15.SetText(n(p.Left()));
      Text16.SetText(p.Tag());
      Text17.SetText(n(p.Top()));
      Text18.SetText(n(p.Width()));
      break;
  }
}

void frmContorolPatrnInput::Combo1_Click() {
  if (Combo1.ListIndex() >= 0 && SSTab1.Tab() != Combo1.ListIndex()) SSTab1.SetTab(Index16(Combo1));
}

void frmContorolPatrnInput::SSTab1_Click(int16_t PreviousTab) {
  // The shown tab always matches the chosen type.
  if (Combo1.ListIndex() >= 0 && SSTab1.Tab() != Combo1.ListIndex()) SSTab1.SetTab(Index16(Combo1));
}

void frmContorolPatrnInput::FontButton_Click(ui::TextBox& fontBox) {
  if (ChooseFont(CommonDialog1, font_)) fontBox.SetText(font_.Name);
}

bool frmContorolPatrnInput::CheckFields() {
  const bool zeroAllowed = Check1.Value() == ui::vbChecked;
  struct Check {
    ui::TextBox* box;
    const char* message;
    bool maxLength;
  };
  std::vector<Check> checks;
  switch (Combo1.ListIndex()) {
    case 0:
      checks = {{&Text4, "Heightプロパティの値が不正です", false},
                {&Text5, "MaxLengthプロパティの値が不正です", true},
                {&Text7, "Widthプロパティの値が不正です", false}};
      break;
    case 1:
      checks = {{&Text9, "Heightプロパティの値が不正です", false}, {&Text11, "Widthプロパティの値が不正です", false}};
      break;
    case 2:
      checks = {{&Text14, "Heightプロパティの値が不正です", false},
                {&Text15, "Leftプロパティの値が不正です", false},
                {&Text17, "Topプロパティの値が不正です", false},
                {&Text18, "Widthプロパティの値が不正です", false}};
      break;
  }
  for (const auto& c : checks) {
    bool ok = c.maxLength ? MaxLengthValid(c.box->Text()) : NumberFieldValid(c.box->Text(), zeroAllowed);
    if (!ok) {
      Warn(vb::U(c.message));
      TryFocus(*c.box);
      return false;
    }
  }
  return true;
}

void frmContorolPatrnInput::Command1_Click() {
  SettingsModel& s = Settings();
  if (vb::Trim(Text2.Text()).empty()) {
    Warn(vb::U("パターン名を入力して下さい"));
    TryFocus(Text2);
    return;
  }
  if (intMode_ == 0 && PatternNameTaken(s.PatternCollection, Text2.Text())) {
    Warn(vb::U("入力されたパターン名は、既に存在しています"));
    TryFocus(Text2);
    return;
  }
  if (!CheckFields()) return;
  if (!Ask(intMode_ == 1 ? "修正してもよろしいですか？" : "登録してもよろしいですか？")) return;
  Store();
  bolEndFlg_ = true;
  Unload();
}

void frmContorolPatrnInput::Store() {
  SettingsModel& s = Settings();
  std::shared_ptr<clsCotrolStyle> record;
  const bool update = intMode_ == 1;
  if (update) {
    s.CurrentPatternNo = Whole(Text1.Text());
    record = s.PatternCollection.ItemPtr(s.CurrentPatternNo);
    record->SetPatrnName(vb::Trim(Text2.Text()));
  } else {
    record = std::make_shared<clsCotrolStyle>();
    record->SetPatrnName(Text2.Text());
  }
  clsCotrolStyle& p = *record;
  p.SetCType(Index16(Combo1));
  p.SetFlg(Check1.Value() == ui::vbChecked ? u"1" : u"0");
  auto setFont = [&](const std::u16string& name) {
    p.SetFont(name);
    p.SetFontSize(static_cast<int16_t>(std::clamp<int32_t>(font_.Size, INT16_MIN, INT16_MAX)));
    p.SetFontBold(font_.Bold);
    p.SetFontItalic(font_.Italic);
    p.SetFontStrikethru(font_.Strikethru);
    p.SetFontUnderline(font_.Underline);
  };
  switch (Combo1.ListIndex()) {
    case 0: {
      // The text box tab is stored trimmed when a pattern is changed.
      auto text = [&](const std::u16string& t) { return update ? vb::Trim(t) : t; };
      if (update) font_.Name = vb::Trim(Text3.Text());
      p.SetAlignment(Index16(Combo2));
      p.SetEnabled(Index16(Combo3));
      setFont(font_.Name);
      p.SetHeight(Whole(Text4.Text()));
      p.SetIMEMode(Index16(Combo4));
      p.SetLocked(Index16(Combo5));
      p.SetMaxLength(Whole(Text5.Text()));
      p.SetTag(text(Text6.Text()));
      p.SetWidth(Whole(Text7.Text()));
      break;
    }
    case 1:
      p.SetAlignment(Index16(Combo6));
      p.SetBackStyle(Index16(Combo7));
      p.SetEnabled(Index16(Combo8));
      setFont(font_.Name);
      p.SetHeight(Whole(Text9.Text()));
      p.SetTag(Text10.Text());
      p.SetWidth(Whole(Text11.Text()));
      break;
    case 2:
      p.SetCaption(Text12.Text());
      p.SetEnabled(Index16(Combo9));
      setFont(font_.Name);
      p.SetHeight(Whole(Text14.Text()));
      p.SetLeft(Whole(Text15.Text()));
      p.SetTag(Text16.Text());
      p.SetTop(Whole(Text17.Text()));
      p.SetWidth(Whole(Text18.Text()));
      break;
  }
  if (!update) {
    s.PatternCollection.Add(record);
    s.PatternCount += 1;
  }
}

void frmContorolPatrnInput::Command2_Click() {
  bolEndFlg_ = false;
  Unload();
}

// --- frmContorolPatrn -------------------------------------------------------------

frmContorolPatrn::frmContorolPatrn() : Form(u"frmContorolPatrn") {
  SetCaption(vb::U("VB自動コントロール スタイルパターン登録 For VisualBasic6.0"));
  Move(0, 0, 8600, 5400);
  ListView1.SetView(ui::lvwReport);
  ListView1.SetFullRowSelect(true);
  ListView1.SetHideSelection(false);
  ListView1.Move(120, 120, 8280, 4080);
  ListView1.ColumnHeaders.Add(vb::U("番号"), 1000);
  ListView1.ColumnHeaders.Add(vb::U("パターン名"), 5000);
  ListView1.ColumnHeaders.Add(vb::U("タイプ"), 2000);
  struct Button {
    ui::CommandButton* button;
    const char* caption;
    const char* tip;
  };
  const Button buttons[] = {
      {&Command3, "登録", "スタイル情報の新規登録画面を表示します"},
      {&Command1, "修正", "選択されたスタイル情報の修正画面を表示します"},
      {&Command4, "削除", "選択されたスタイル情報を削除します"},
      {&Command5, "設定", "選択されたスタイル情報を選択されているコントロールに設定します"},
      {&Command2, "閉じる", "画面を閉じます"},
  };
  int x = 120;
  for (const auto& b : buttons) {
    b.button->SetCaption(vb::U(b.caption));
    b.button->SetToolTipText(vb::U(b.tip));
    b.button->Move(x, 4440, 1500, 400);
    x += 1680;
  }
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Command5.OnClick = [this] { Command5_Click(); };
}

void frmContorolPatrn::Form_Load() { FillList(); }

void frmContorolPatrn::FillList() {
  ListView1.ListItems.Clear();
  const SettingsModel& s = Settings();
  for (int32_t number : LivePatternNumbers(s.PatternCollection)) {
    const clsCotrolStyle& p = s.PatternCollection.Item(number);
    ui::ListItem& item = ListView1.ListItems.Add(vb::FromInt(number));
    item.SetSubItems(1, p.PatrnName());
    item.SetSubItems(2, PatternTypeName(p.CType()));
  }
}

void frmContorolPatrn::SelectNumber(int32_t number) {
  for (auto& item : ListView1.ListItems) {
    if (item.Text() == vb::FromInt(number)) {
      ListView1.SetSelectedItem(&item);
      item.EnsureVisible();
      return;
    }
  }
}

int32_t frmContorolPatrn::ChosenPattern() {
  if (ListView1.ListItems.Count() == 0) {
    Warn(vb::U("スタイル情報が存在しませんので実行できません"));
    return 0;
  }
  ui::ListItem* chosen = nullptr;
  for (auto& item : ListView1.ListItems) {
    if (item.Selected()) {
      chosen = &item;
      break;
    }
  }
  if (!chosen) {
    Warn(vb::U("スタイル情報を選択してください"));
    return 0;
  }
  return Whole(chosen->Text());
}

void frmContorolPatrn::Command3_Click() {
  bool stored = false;
  frmContorolPatrnInput editor;
  editor.Init(0, stored);
  if (!stored) return;
  FillList();
  SelectNumber(Settings().CurrentPatternNo);
}

void frmContorolPatrn::Command1_Click() {
  int32_t number = ChosenPattern();
  if (number == 0) return;
  Settings().CurrentPatternNo = number;
  bool stored = false;
  frmContorolPatrnInput editor;
  editor.Init(1, stored);
  if (!stored) return;
  FillList();
  SelectNumber(Settings().CurrentPatternNo);
}

void frmContorolPatrn::Command4_Click() {
  int32_t number = ChosenPattern();
  if (number == 0) return;
  if (!Ask("指定されたコントロールスタイル情報を削除してもよろしいですか？")) return;
  SettingsModel& s = Settings();
  s.PatternCollection.Item(number).SetDelFlg(1);
  int position = ListView1.SelectedItem() ? ListView1.SelectedItem()->Index() : 1;
  s.CurrentPatternNo = std::max(position - 1, 1);
  FillList();
  if (ListView1.ListItems.Count() > 0 && s.CurrentPatternNo <= ListView1.ListItems.Count())
    ListView1.SetSelectedItem(&ListView1.ListItems.Item(s.CurrentPatternNo));
}

void frmContorolPatrn::Command5_Click() {
  int32_t number = ChosenPattern();
  if (number == 0) return;
  StyleApplyResult r = ApplyStylePattern(SelectedFormDesigner(*HostVBE), Settings().PatternCollection.Item(number));
  if (r != StyleApplyResult::Done) Warn(StyleApplyMessage(r));
}

}  // namespace tarno::controls
