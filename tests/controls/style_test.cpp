// Style patterns: applying them to the selected controls, the pattern list
// and the pattern editor, driven as a user would.
#include "controls/style_apply.h"

#include "controls/frm_contorol_patrn.h"
#include "fixture.h"
#include "platform/vb_text.h"

namespace tarno::controls::testing {
namespace {

using vb::U;

std::shared_ptr<clsCotrolStyle> Pattern(const char* name, int16_t type) {
  auto p = std::make_shared<clsCotrolStyle>();
  p->SetPatrnName(U(name));
  p->SetCType(type);
  return p;
}

// Patterns 1.. in the settings model, as a settings file would give them.
void Register(std::vector<std::shared_ptr<clsCotrolStyle>> patterns) {
  SettingsModel& s = Settings();
  for (auto& p : patterns) s.PatternCollection.Add(p);
  s.PatternCount = s.PatternCollection.Count();
}

TEST_F(ControlsTest, ATypeMismatchChangesNothing) {
  Form({{"Label", "Label1"}, {"TextBox", "Text1"}});
  Select({Ctl("Label1"), Ctl("Text1")});
  auto p = Pattern("wide", 1);
  p->SetWidth(4000);
  p->SetBackStyle(0);
  EXPECT_EQ(ApplyStylePattern(Designer(), *p), StyleApplyResult::TypeMismatch);
  EXPECT_TRUE(Ctl("Label1")->ChangedProperties().empty());
  EXPECT_TRUE(Ctl("Text1")->ChangedProperties().empty());
  EXPECT_EQ(StyleApplyMessage(StyleApplyResult::TypeMismatch), U("タイプが異なるコントロールが選択されています"));
}

TEST_F(ControlsTest, FlgOneLeavesZeroesAndBlanksAloneAndFlgZeroWritesThem) {
  struct Case {
    const char* flg;
    ide::Variant height, tag;
  };
  const Case cases[] = {{"1", float(495), Str("old")}, {"0", float(0), Str("")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flg);
    Form({{"TextBox", "Text1", -1, "", {{"Height", float(495)}, {"Tag", Str("old")}}},
          {"TextBox", "Text2", -1, "", {{"Height", float(495)}, {"Tag", Str("old")}}}});
    Select({Ctl("Text1"), Ctl("Text2")});
    auto p = Pattern("tb", 0);
    p->SetFlg(U(c.flg));
    p->SetWidth(1200);
    EXPECT_EQ(ApplyStylePattern(Designer(), *p), StyleApplyResult::Done);
    for (const char* name : {"Text1", "Text2"}) {
      EXPECT_EQ(Get(name, "Height"), c.height);
      EXPECT_EQ(Get(name, "Tag"), c.tag);
      EXPECT_EQ(Get(name, "Width"), ide::Variant(float(1200)));
    }
  }
}

TEST_F(ControlsTest, EachTypeWritesItsPropertiesWithListIndexesAsBooleans) {
  Form({{"TextBox", "Text1"}, {"Label", "Label1"}, {"CommandButton", "Command1"}});
  auto tb = Pattern("tb", 0);
  tb->SetEnabled(1);  // "False"
  tb->SetLocked(0);   // "True"
  tb->SetAlignment(2);
  tb->SetIMEMode(4);
  tb->SetMaxLength(20);
  tb->SetFont(u"Arial");
  tb->SetFontSize(12);
  tb->SetFontBold(true);
  Select({Ctl("Text1")});
  ASSERT_EQ(ApplyStylePattern(Designer(), *tb), StyleApplyResult::Done);
  EXPECT_EQ(Get("Text1", "Enabled"), ide::Variant(false));
  EXPECT_EQ(Get("Text1", "Locked"), ide::Variant(true));
  EXPECT_EQ(Get("Text1", "Alignment"), ide::Variant(int16_t(2)));
  EXPECT_EQ(Get("Text1", "IMEMode"), ide::Variant(int16_t(4)));
  EXPECT_EQ(Get("Text1", "MaxLength"), ide::Variant(int32_t(20)));
  auto f = Ctl("Text1")->GetFont()->values();
  EXPECT_EQ(f.name, u"Arial");
  EXPECT_EQ(f.size, 12);
  EXPECT_TRUE(f.bold);

  auto label = Pattern("lb", 1);
  label->SetBackStyle(0);
  label->SetEnabled(0);
  Select({Ctl("Label1")});
  ASSERT_EQ(ApplyStylePattern(Designer(), *label), StyleApplyResult::Done);
  EXPECT_EQ(Get("Label1", "BackStyle"), ide::Variant(int16_t(0)));
  EXPECT_EQ(Get("Label1", "Enabled"), ide::Variant(true));

  auto button = Pattern("cb", 2);
  button->SetCaption(u"OK");
  button->SetTop(300);
  button->SetLeft(400);
  Select({Ctl("Command1")});
  ASSERT_EQ(ApplyStylePattern(Designer(), *button), StyleApplyResult::Done);
  EXPECT_EQ(Get("Command1", "Caption"), ide::Variant(std::u16string(u"OK")));
  EXPECT_EQ(Get("Command1", "Top"), ide::Variant(float(300)));
  EXPECT_EQ(Get("Command1", "Left"), ide::Variant(float(400)));
}

TEST_F(ControlsTest, ListShowsLivePatternsAndDeletionKeepsNumbersAndSelectsTheRowAbove) {
  Form({});
  Register({Pattern("one", 0), Pattern("two", 1), Pattern("three", 2), Pattern("four", 9)});
  Settings().PatternCollection.Item(1).SetDelFlg(1);
  frmContorolPatrn w;
  w.Show();
  auto numbers = [&] {
    std::vector<std::u16string> out;
    for (const auto& item : w.ListView1.ListItems) out.push_back(item.Text() + u" " + item.SubItems(2));
    return out;
  };
  EXPECT_EQ(numbers(), (std::vector<std::u16string>{u"2 Label", u"3 CommandButton", u"4 "}));
  // Delete the row numbered 3 (second row): the row above is selected.
  ui::ClickItem(w.ListView1, 2);
  h_.Answer(ui::vbYes);
  ui::Click(w.Command4);
  EXPECT_EQ(h_.Messages().back().text, U("指定されたコントロールスタイル情報を削除してもよろしいですか？"));
  EXPECT_EQ(h_.Messages().back().Icon(), ui::vbInformation);
  EXPECT_EQ(numbers(), (std::vector<std::u16string>{u"2 Label", u"4 "}));
  ASSERT_NE(w.ListView1.SelectedItem(), nullptr);
  EXPECT_EQ(w.ListView1.SelectedItem()->Text(), u"2");
  EXPECT_EQ(Settings().PatternCollection.Item(3).DelFlg(), 1);
  // Deleting the first row selects the new first row; No deletes nothing.
  ui::ClickItem(w.ListView1, 1);
  h_.Answer(ui::vbNo);
  ui::Click(w.Command4);
  EXPECT_EQ(w.ListView1.ListItems.Count(), 2);
  h_.Answer(ui::vbYes);
  ui::Click(w.Command4);
  EXPECT_EQ(w.ListView1.SelectedItem()->Text(), u"4");
  h_.Answer(ui::vbYes);
  ui::Click(w.Command4);
  EXPECT_EQ(w.ListView1.ListItems.Count(), 0);
  EXPECT_EQ(w.ListView1.SelectedItem(), nullptr);
  h_.ClearMessages();
  ui::Click(w.Command5);
  EXPECT_EQ(h_.MessageTexts().back(), U("スタイル情報が存在しませんので実行できません"));
}

TEST_F(ControlsTest, ApplyingNeedsAChosenRowAndActsOnItsNumber) {
  Form({{"Label", "Label1"}});
  Select({Ctl("Label1")});
  auto third = Pattern("third", 1);
  third->SetWidth(777);
  Register({Pattern("one", 1), Pattern("two", 1), third});
  Settings().PatternCollection.Item(1).SetDelFlg(1);
  frmContorolPatrn w;
  w.Show();
  ui::Click(w.Command5);
  EXPECT_EQ(h_.MessageTexts().back(), U("スタイル情報を選択してください"));
  ui::ClickItem(w.ListView1, 2);
  ui::Click(w.Command5);
  EXPECT_EQ(Get("Label1", "Width"), ide::Variant(float(777)));
  host_.ShowCode("Module1");
  ui::Click(w.Command5);
  EXPECT_EQ(h_.MessageTexts().back(), U("現在、フォームモジュール以外はサポートされていません"));
}

TEST_F(ControlsTest, EditorRegistersANewPatternLastAndSelected) {
  Form({});
  Register({Pattern("one", 0), Pattern("two", 0), Pattern("three", 0)});
  Settings().PatternCollection.Item(3).SetDelFlg(1);
  h_.OnShow<frmContorolPatrnInput>([&](frmContorolPatrnInput& e) {
    EXPECT_EQ(e.Text1.Text(), u"4");  // a deleted pattern still counts
    EXPECT_EQ(e.SSTab1.Tab(), 0);
    EXPECT_EQ(e.Combo5.ListIndex(), 1);  // Locked "False"
    ui::Choose(e.Combo1, 1);
    EXPECT_EQ(e.SSTab1.Tab(), 1);
    ui::ChooseTab(e.SSTab1, 2);
    EXPECT_EQ(e.SSTab1.Tab(), 1);  // the tab stays the type's
    ui::Type(e.Text2, u"caption");
    EXPECT_EQ(e.Text8.Text(), U("ＭＳ Ｐゴシック"));
    h_.ChooseFont({u"Verdana", 10.5, false, false, false, true});
    ui::Click(e.Command4);
    EXPECT_EQ(e.Text8.Text(), u"Verdana");
    ui::ClearText(e.Text9);
    ui::Type(e.Text9, u"300");
    ui::ClearText(e.Text11);
    ui::Type(e.Text11, u"1200");
    h_.Answer(ui::vbYes);
    ui::Click(e.Command1);
  });
  frmContorolPatrn w;
  w.Show();
  ui::Click(w.Command3);
  EXPECT_EQ(h_.MessageTexts().back(), U("登録してもよろしいですか？"));
  SettingsModel& s = Settings();
  ASSERT_EQ(s.PatternCollection.Count(), 4);
  EXPECT_EQ(s.PatternCount, 4);
  const auto& p = s.PatternCollection.Item(4);
  EXPECT_EQ(p.PatrnName(), u"caption");
  EXPECT_EQ(p.CType(), 1);
  EXPECT_EQ(p.Height(), 300);
  EXPECT_EQ(p.Width(), 1200);
  EXPECT_EQ(p.BackStyle(), 1);
  EXPECT_EQ(p.Font(), u"Verdana");
  EXPECT_EQ(p.FontSize(), 10);
  EXPECT_TRUE(p.FontUnderline());
  EXPECT_EQ(w.ListView1.ListItems.Count(), 3);
  EXPECT_EQ(w.ListView1.SelectedItem()->Text(), u"4");
}

TEST_F(ControlsTest, EditorChecksRunInOrderAndStoreNothing) {
  Form({});
  Register({Pattern("taken", 0), Pattern(" gone ", 0)});
  Settings().PatternCollection.Item(2).SetDelFlg(1);
  // Fields typed on the text box tab, the switch, and the first message.
  struct Case {
    const char* name;
    const char* height;
    const char* maxLength;
    bool zeroOff;
    const char* message;
  };
  const Case cases[] = {
      {"  ", "10", "0", false, "パターン名を入力して下さい"},
      {" taken", "10", "0", false, "入力されたパターン名は、既に存在しています"},
      {"gone", "10", "0", false, "入力されたパターン名は、既に存在しています"},  // deleted ones count
      {"new", "0", "0", false, "Heightプロパティの値が不正です"},
      {"new", "abc", "0", true, "Heightプロパティの値が不正です"},
      {"new", "99999999999", "0", true, "Heightプロパティの値が不正です"},
      {"new", "10", "70000", false, "MaxLengthプロパティの値が不正です"},
      {"new", "10", "-1", true, "MaxLengthプロパティの値が不正です"},
      {"new", "0", "70000", true, "MaxLengthプロパティの値が不正です"},
      {"new", "10", "0", false, "Widthプロパティの値が不正です"},  // Width 0 with zero values on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    h_.ClearMessages();
    frmContorolPatrnInput e;
    h_.OnShow<frmContorolPatrnInput>([&](frmContorolPatrnInput& f) {
      ui::Type(f.Text2, U(c.name));
      if (c.zeroOff) ui::Click(f.Check1);
      f.Text4.SetText(U(c.height));
      f.Text5.SetText(U(c.maxLength));
      ui::Click(f.Command1);
      EXPECT_TRUE(f.Visible());
      f.Unload();
    });
    bool stored = true;
    e.Init(0, stored);
    EXPECT_FALSE(stored);
    ASSERT_EQ(h_.MessageTexts().size(), 1u);
    EXPECT_EQ(h_.MessageTexts()[0], U(c.message));
    EXPECT_EQ(Settings().PatternCollection.Count(), 2);
  }
}

TEST_F(ControlsTest, EditorChangesAPatternInPlaceTrimmingTheTextBoxTab) {
  Form({});
  auto label = Pattern("lab", 1);
  label->SetFont(u"Courier");
  auto box = Pattern("box", 0);
  box->SetHeight(200);
  box->SetWidth(900);
  Register({label, box});
  SettingsModel& s = Settings();
  // A label pattern shows its own font and its type cannot change.
  s.CurrentPatternNo = 1;
  h_.OnShow<frmContorolPatrnInput>([&](frmContorolPatrnInput& f) {
    EXPECT_EQ(f.Text8.Text(), u"Courier");
    EXPECT_FALSE(f.Combo1.Enabled());
    EXPECT_EQ(f.SSTab1.Tab(), 1);
    // A number field left blank becomes 0.
    ui::ClearText(f.Text9);
    ui::Focus(f.Text11);
    EXPECT_EQ(f.Text9.Text(), u"0");
    f.Unload();
  });
  bool stored = true;
  frmContorolPatrnInput first;
  first.Init(1, stored);
  EXPECT_FALSE(stored);

  s.CurrentPatternNo = 2;
  h_.OnShow<frmContorolPatrnInput>([&](frmContorolPatrnInput& f) {
    EXPECT_EQ(f.Text4.Text(), u"200");
    f.Text2.SetText(u"  renamed  ");
    f.Text6.SetText(u"  tag  ");
    f.Text4.SetText(u" 250 ");
    h_.Answer(ui::vbNo);
    ui::Click(f.Command1);
    EXPECT_TRUE(f.Visible());
    h_.Answer(ui::vbYes);
    ui::Click(f.Command1);
  });
  frmContorolPatrnInput second;
  second.Init(1, stored);
  EXPECT_TRUE(stored);
  EXPECT_EQ(h_.MessageTexts().back(), U("修正してもよろしいですか？"));
  ASSERT_EQ(s.PatternCollection.Count(), 2);
  const auto& p = s.PatternCollection.Item(2);
  EXPECT_EQ(p.PatrnName(), u"renamed");
  EXPECT_EQ(p.Tag(), u"tag");
  EXPECT_EQ(p.Height(), 250);
  EXPECT_EQ(p.Width(), 900);
}

}  // namespace
}  // namespace tarno::controls::testing
