// Control layout: the common values of the selected controls and the three
// tabs of frmContorol, driven as a user would.
#include "controls/control_layout.h"

#include "controls/frm_contorol.h"
#include "fixture.h"
#include "platform/vb_text.h"

namespace tarno::controls::testing {
namespace {

using vb::U;

TEST_F(ControlsTest, OneLabelShowsItsValuesNameAndBackStyle) {
  Form({{"Label", "Label1", -1, "", {{"Top", float(120)}, {"Left", float(240)}, {"BackStyle", int16_t(0)}}}});
  Select({Ctl("Label1")});
  frmContorol w;
  w.Show();
  EXPECT_EQ(w.Caption(), U("VB自動コントロール整列 For VisualBasic6.0"));
  EXPECT_EQ(w.Text1.Text(), u"120");
  EXPECT_EQ(w.Text2.Text(), u"240");
  EXPECT_EQ(w.Label5.Caption(), U("現在、選択されているオブジェクト数は1個です"));
  EXPECT_EQ(w.Label6.Caption(), U("オブジェクト名：Label1"));
  EXPECT_EQ(w.Combo1.ListIndex(), 0);
  EXPECT_TRUE(w.Combo1.Enabled());
}

TEST_F(ControlsTest, DifferingValuesGiveEmptyFieldsAndOnlyFilledFieldsAreWritten) {
  Form({{"TextBox", "Text1", -1, "", {{"Top", float(100)}, {"Left", float(200)}}},
        {"TextBox", "Text2", -1, "", {{"Top", float(100)}, {"Left", float(300)}}}});
  Select({Ctl("Text1"), Ctl("Text2")});
  frmContorol w;
  w.Show();
  EXPECT_EQ(w.Text1.Text(), u"100");
  EXPECT_EQ(w.Text2.Text(), u"");
  EXPECT_EQ(w.Label6.Caption(), u"");
  ui::ClearText(w.Text1);
  ui::Type(w.Text1, u"500");
  ui::Click(w.Command1);
  EXPECT_TRUE(h_.Messages().empty());
  EXPECT_EQ(Get("Text1", "Top"), ide::Variant(float(500)));
  EXPECT_EQ(Get("Text2", "Top"), ide::Variant(float(500)));
  EXPECT_EQ(Get("Text1", "Left"), ide::Variant(float(200)));
  EXPECT_EQ(Get("Text2", "Left"), ide::Variant(float(300)));
  EXPECT_TRUE(w.Visible());  // applying keeps the window open
}

TEST_F(ControlsTest, ControlsWithoutAPropertyDisableItsField) {
  // A timer has no Height, Width, Font or BackStyle; a text box has no BackStyle.
  struct Case {
    const char* name;
    std::vector<ControlSpec> controls;
    std::vector<std::string> selected;
    std::array<bool, 4> positions;
    bool font, backStyle;
  };
  const Case cases[] = {
      {"label then text box", {{"Label", "Label1"}, {"TextBox", "Text1"}}, {"Label1", "Text1"},
       {true, true, true, true}, true, false},
      {"text box first", {{"TextBox", "Text1"}, {"Label", "Label1"}}, {"Text1", "Label1"}, {true, true, true, true},
       true, false},
      {"timer first", {{"Timer", "Timer1"}, {"Label", "Label1"}}, {"Timer1", "Label1"}, {true, true, false, false},
       false, false},
      {"label then timer", {{"Label", "Label1"}, {"Timer", "Timer1"}}, {"Label1", "Timer1"},
       {true, true, false, false}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Form(c.controls);
    std::vector<std::shared_ptr<host::MemControl>> sel;
    for (const auto& n : c.selected) sel.push_back(Ctl(n));
    Select(sel);
    frmContorol w;
    w.Show();
    ui::TextBox* boxes[] = {&w.Text1, &w.Text2, &w.Text3, &w.Text4};
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(boxes[k]->Enabled(), c.positions[k]) << k;
    EXPECT_EQ(w.Command3.Enabled(), c.font);
    EXPECT_EQ(w.Combo1.Enabled(), c.backStyle);
    EXPECT_EQ(w.Combo1.ListIndex(), -1);
    w.Unload();
  }
}

TEST_F(ControlsTest, FontsInCommonAndTheFirstSizeHeldWhenSizesDiffer) {
  Form({{"Label", "Label1"}, {"Label", "Label2"}, {"Label", "Label3"}});
  auto font = [&](const char* name, const char* face, double size, bool bold) {
    host::FontValues f = host::DefaultFont();
    f.name = U(face);
    f.size = size;
    f.bold = bold;
    Ctl(name)->LoadFont(u"Font", f);
  };
  font("Label1", "Arial", 10.5, true);
  font("Label2", "Arial", 14, true);
  font("Label3", "Courier", 14, false);
  Select({Ctl("Label1"), Ctl("Label2")});
  CommonValues same = GatherCommonValues(*host_.vbe);
  EXPECT_EQ(same.font, (HeldFont{u"Arial", 10, true, false, false, false}));  // 10.5 held as 10
  Select({Ctl("Label1"), Ctl("Label3")});
  CommonValues differ = GatherCommonValues(*host_.vbe);
  EXPECT_EQ(differ.font.Name, u"");
  EXPECT_FALSE(differ.font.Bold);

  frmContorol w;
  w.Show();
  ui::ChooseTab(w.SSTab1, 1);
  EXPECT_EQ(w.Text5.Text(), u"");
  ui::Click(w.Command1);
  EXPECT_EQ(h_.MessageTexts().back(), U("フォントが設定されていません"));
  EXPECT_EQ(h_.Messages().back().Icon(), ui::vbExclamation);
  EXPECT_EQ(h_.Messages().back().title, u"Tarno Kit");
  h_.ChooseFont({u"Verdana", 11.5, false, true, false, false});
  ui::Click(w.Command3);
  ASSERT_EQ(h_.DialogRequests().size(), 1u);
  EXPECT_EQ(h_.DialogRequests()[0].flags, 3);
  EXPECT_TRUE(h_.DialogRequests()[0].cancel_error);
  EXPECT_EQ(w.Text5.Text(), u"Verdana");
  EXPECT_EQ(w.Font().Size, 12);  // 11.5 held as 12
  ui::Click(w.Command1);
  for (const char* name : {"Label1", "Label3"}) {
    auto f = Ctl(name)->GetFont()->values();
    EXPECT_EQ(f.name, u"Verdana");
    EXPECT_EQ(f.size, 12);
    EXPECT_TRUE(f.italic);
    EXPECT_FALSE(f.bold);
  }
  EXPECT_EQ(Ctl("Label2")->GetFont()->values().size, 14);
  // A cancelled dialog changes nothing.
  h_.CancelDialog();
  ui::Click(w.Command3);
  EXPECT_EQ(w.Text5.Text(), u"Verdana");
}

TEST_F(ControlsTest, DialogSizesAreHeldAsWholePointsHalvesToEven) {
  const std::pair<double, int32_t> cases[] = {{10.5, 10}, {11.5, 12}, {9.75, 10}, {8.25, 8}};
  Form({{"Label", "Label1"}});
  Select({Ctl("Label1")});
  for (const auto& [chosen, held] : cases) {
    SCOPED_TRACE(chosen);
    frmContorol w;
    w.Show();
    h_.ChooseFont({u"Arial", chosen, true, false, true, false});
    ui::ChooseTab(w.SSTab1, 1);
    ui::Click(w.Command3);
    EXPECT_EQ(w.Font(), (HeldFont{u"Arial", held, true, false, true, false}));
    ui::Click(w.Command1);
    EXPECT_EQ(Ctl("Label1")->GetFont()->values().size, held);
  }
}

TEST_F(ControlsTest, PositionFieldsTakeDigitsAndBackspaceOnly) {
  Form({{"TextBox", "Text1", -1, "", {{"Top", float(12)}}}});
  Select({Ctl("Text1")});
  frmContorol w;
  w.Show();
  ui::Focus(w.Text1);
  EXPECT_EQ(w.Text1.SelLength(), 2);  // the whole text is selected on focus
  ui::Type(w.Text1, u"-3.5a7");
  EXPECT_EQ(w.Text1.Text(), u"357");
  ui::PressKey(w.Text1, ui::vbKeyBack);
  EXPECT_EQ(w.Text1.Text(), u"35");
}

TEST_F(ControlsTest, RefusalsComeInOrderOnEveryTab) {
  // Tab, situation, message.
  struct Case {
    int16_t tab;
    bool codeModule, select;
    const char* message;
  };
  const Case cases[] = {
      {0, true, true, "現在、フォームモジュール以外はサポートされていません"},
      {1, true, true, "現在、フォームモジュール以外はサポートされていません"},
      {2, true, true, "現在、フォームモジュール以外はサポートされていません"},
      {0, false, false, "コントロールが選択されていませんので設定できません"},
      {1, false, false, "コントロールが選択されていませんので設定できません"},
      {2, false, false, "コントロールが選択されていませんので設定できません"},
      {0, false, true, "プロパティの値が入力されていませんので設定できません"},
      {2, false, true, "BackStyleプロパティが設定されていません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    // Nothing in common: every position field is empty.
    Form({{"Label", "Label1"},
          {"Label", "Label2", -1, "",
           {{"Top", float(99)}, {"Left", float(99)}, {"Height", float(99)}, {"Width", float(99)}, {"BackStyle", int16_t(0)}}}});
    if (c.select) Select({Ctl("Label1"), Ctl("Label2")});
    if (c.codeModule) host_.ShowCode("Module1");
    h_.ClearMessages();
    frmContorol w;
    w.Show();
    if (c.codeModule) {
      EXPECT_EQ(w.Combo1.ListCount(), 0);
      EXPECT_EQ(w.Text1.Text(), u"");
    }
    ui::ChooseTab(w.SSTab1, c.tab);
    ui::Click(w.Command1);
    ASSERT_EQ(h_.MessageTexts().size(), 1u);
    EXPECT_EQ(h_.MessageTexts()[0], U(c.message));
    EXPECT_EQ(Get("Label1", "Top"), ide::Variant(float(0)));
    w.Unload();
  }
}

TEST_F(ControlsTest, BackStyleTabWritesTheEntryAndSkipsControlsWithoutIt) {
  Form({{"Label", "Label1"}, {"TextBox", "Text1"}, {"Label", "Label2"}});
  Select({Ctl("Label1"), Ctl("Text1"), Ctl("Label2")});
  EXPECT_EQ(ApplyBackStyle(true, Designer().get(), 0), LayoutResult::Done);
  EXPECT_EQ(Get("Label1", "BackStyle"), ide::Variant(int16_t(0)));
  EXPECT_EQ(Get("Label2", "BackStyle"), ide::Variant(int16_t(0)));
  EXPECT_FALSE(Ctl("Text1")->IsChanged(u"Top"));
}

TEST_F(ControlsTest, AFailingWriteSkipsOnlyThatProperty) {
  Form({{"TextBox", "Text1"}, {"TextBox", "Text2"}});
  Select({Ctl("Text1"), Ctl("Text2")});
  host::Faults().FailOnce("Property.SetValue");
  EXPECT_EQ(ApplyPositions(true, Designer().get(), {u"10", u"", u"30", u""}), LayoutResult::Done);
  EXPECT_EQ(Get("Text1", "Top"), ide::Variant(float(0)));  // the failed write
  EXPECT_EQ(Get("Text1", "Height"), ide::Variant(float(30)));
  EXPECT_EQ(Get("Text2", "Top"), ide::Variant(float(10)));
  EXPECT_EQ(Get("Text2", "Height"), ide::Variant(float(30)));
}

}  // namespace
}  // namespace tarno::controls::testing
