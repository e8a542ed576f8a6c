// The TabIndex and Index lists: sorting by position, row moves, setting the
// values, and the two windows driven as a user would.
#include "controls/order_list.h"

#include "controls/frm_tab_index.h"
#include "fixture.h"
#include "platform/vb_text.h"

namespace tarno::controls::testing {
namespace {

using vb::U;

std::vector<int32_t> Numbers(const std::vector<OrderRow>& rows) {
  std::vector<int32_t> out;
  for (const auto& r : rows) out.push_back(r.No);
  return out;
}

std::vector<std::u16string> Names(const std::vector<OrderRow>& rows) {
  std::vector<std::u16string> out;
  for (const auto& r : rows) out.push_back(r.Name);
  return out;
}

TEST(OrderSort, TopThenLeftKeepingEqualPositionsInCollectionOrder) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> positions;  // (top, left) of rows 1..n
    std::vector<int32_t> order;
  };
  const Case cases[] = {
      {"by top", {{300, 0}, {100, 0}, {200, 0}}, {2, 3, 1}},
      {"equal tops by left", {{100, 500}, {100, 20}, {100, 300}}, {2, 3, 1}},
      {"equal positions keep their order", {{50, 50}, {10, 10}, {50, 50}, {50, 50}}, {2, 1, 3, 4}},
      {"left only counts between equal tops", {{200, 0}, {100, 900}}, {2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<OrderRow> rows;
    for (size_t i = 0; i < c.positions.size(); ++i) {
      OrderRow r;
      r.No = int32_t(i + 1);
      r.Top = c.positions[i].first;
      r.Left = c.positions[i].second;
      rows.push_back(r);
    }
    SortByPosition(rows);
    EXPECT_EQ(Numbers(rows), c.order);
  }
}

TEST(OrderSort, EmptySlotsNeverMoveAndSplitTheRowsAroundThem) {
  std::vector<OrderRow> rows(5);
  const int tops[] = {500, 400, 0, 200, 100};
  for (int i = 0; i < 5; ++i) {
    rows[size_t(i)].No = i + 1;
    rows[size_t(i)].Top = tops[i];
  }
  rows[2].empty = true;
  SortByPosition(rows);
  EXPECT_EQ(Numbers(rows), (std::vector<int32_t>{2, 1, 3, 5, 4}));
}

TEST(OrderMoves, MovesStopAtTheEnds) {
  std::vector<OrderRow> rows(3);
  for (int i = 0; i < 3; ++i) rows[size_t(i)].No = i + 1;
  EXPECT_EQ(MoveRowUp(rows, 1), 1);
  EXPECT_EQ(MoveRowDown(rows, 3), 3);
  EXPECT_EQ(Numbers(rows), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(MoveRowDown(rows, 1), 2);
  EXPECT_EQ(MoveRowUp(rows, 3), 2);
  EXPECT_EQ(Numbers(rows), (std::vector<int32_t>{2, 3, 1}));
}

TEST_F(ControlsTest, TabIndexListLeavesOutControlsWithoutATabOrder) {
  Form({{"TextBox", "Text1", -1, "", With(At(300, 0, 0), {{"Text", Str("hello")}})},
        {"Timer", "Timer1", -1, "", {{"Top", float(0)}}},
        {"Line", "Line1"},
        {"Shape", "Shape1"},
        {"Image", "Image1"},
        {"Menu", "mnuFile", -1, "", {{"Caption", Str("&File")}}},
        {"CommandButton", "Command1", 2, "", With(At(100, 50, 1), {{"Caption", Str("OK")}})},
        {"Frame", "Frame1", -1, "", At(100, 10, 2)}});
  auto rows = TabIndexRows(*Designer());
  EXPECT_EQ(Names(rows), (std::vector<std::u16string>{u"Frame1", u"Command1(2)", u"Text1"}));
  EXPECT_EQ(Numbers(rows), (std::vector<int32_t>{8, 7, 1}));
  EXPECT_EQ(rows[1].Text, u"OK");
  EXPECT_EQ(rows[2].Text, u"hello");
  EXPECT_EQ(rows[2].Value, u"0");
  EXPECT_EQ(rows[0].TopText(), u"100");
}

TEST_F(ControlsTest, TabIndexWindowSetsTheListOrderAfterMoves) {
  Form({{"TextBox", "Text1", -1, "", At(300, 0, 0)},
        {"TextBox", "Text2", -1, "", At(100, 0, 1)},
        {"TextBox", "Text3", -1, "", At(200, 0, 2)},
        {"Timer", "Timer1"}});
  frmTabIndex w;
  w.Show();
  EXPECT_EQ(w.Label5.Caption(), U("現在のオブジェクト数は4個です"));
  ASSERT_EQ(w.ListView1.ColumnHeaders.Count(), 6);
  EXPECT_EQ(w.ListView1.ColumnHeaders.Item(4).Text(), u"TabIndex");
  auto listed = [&] {
    std::vector<std::u16string> out;
    for (const auto& item : w.ListView1.ListItems) out.push_back(item.SubItems(1));
    return out;
  };
  EXPECT_EQ(listed(), (std::vector<std::u16string>{u"Text2", u"Text3", u"Text1"}));
  ui::ClickItem(w.ListView1, 1);
  ui::Click(w.Command3);  // the first row cannot move up
  EXPECT_EQ(listed(), (std::vector<std::u16string>{u"Text2", u"Text3", u"Text1"}));
  EXPECT_TRUE(w.ListView1.HasFocus());
  ui::ClickItem(w.ListView1, 3);
  ui::Click(w.Command3);
  EXPECT_EQ(listed(), (std::vector<std::u16string>{u"Text2", u"Text1", u"Text3"}));
  EXPECT_EQ(w.ListView1.SelectedItem()->Index(), 2);
  ui::Click(w.Command1);
  EXPECT_EQ(h_.MessageTexts().back(), U("TabIndexを設定しました"));
  EXPECT_EQ(h_.Messages().back().Icon(), ui::vbInformation);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(Get("Text2", "TabIndex"), ide::Variant(int16_t(0)));
  EXPECT_EQ(Get("Text1", "TabIndex"), ide::Variant(int16_t(1)));
  EXPECT_EQ(Get("Text3", "TabIndex"), ide::Variant(int16_t(2)));
}

TEST_F(ControlsTest, OrderWindowsRefuseAnythingButAFormAndAnEmptyForm) {
  Form({});
  struct Case {
    bool codeModule;
    const char* opening;
    const char* setting;
  };
  for (bool index : {false, true}) {
    for (const Case& c : {Case{true, "現在、フォームモジュール以外はサポートされていません",
                               "現在、フォームモジュール以外はサポートされていません"},
                          Case{false, nullptr,
                               index ? "Indexを設定するコントロールがありません"
                                     : "TabIndexを設定するコントロールがありません"}}) {
      SCOPED_TRACE(c.setting);
      if (c.codeModule) host_.ShowCode("Module1");
      else host_.ShowDesigner("Form1");
      h_.ClearMessages();
      std::unique_ptr<OrderWindow> w;
      if (index) w = std::make_unique<frmIndex>();
      else w = std::make_unique<frmTabIndex>();
      w->Show();
      if (c.opening) EXPECT_EQ(h_.MessageTexts().at(0), U(c.opening));
      else EXPECT_EQ(w->Label5.Caption(), U("現在のオブジェクト数は0個です"));
      EXPECT_EQ(w->ListView1.ListItems.Count(), 0);
      ui::Click(w->Command1);
      EXPECT_EQ(h_.MessageTexts().back(), U(c.setting));
      EXPECT_TRUE(w->Visible());
    }
  }
}

TEST_F(ControlsTest, IndexTableRecordsArraysByRunsOfTheCollection) {
  Form({{"TextBox", "Text1", 0, "", At(500, 0)},
        {"TextBox", "Text1", 1, "", At(100, 0)},
        {"Label", "Label1"},
        {"OptionButton", "Option1", 0, "", At(0, 0)},
        {"TextBox", "Text1", 2, "", At(50, 0)}});
  IndexTable t = BuildIndexTable(*Designer());
  ASSERT_EQ(t.arrays.size(), 2u);
  EXPECT_EQ(t.arrays[0].name, u"Text1");
  EXPECT_EQ(t.arrays[0].count, 2);
  EXPECT_EQ(t.arrays[1].name, u"Option1");
  EXPECT_EQ(t.arrays[1].count, 1);
  EXPECT_FALSE(t.NoFreeIndex());
  // Text1(0) and Text1(1) are sorted; the label between splits them from the rest.
  EXPECT_EQ(Names(t.Rows()), (std::vector<std::u16string>{u"Text1(1)", u"Text1(0)", u"Option1(0)", u"Text1(2)"}));
}

TEST_F(ControlsTest, InterleavedArraysAreNumberedEachFromZero) {
  Form({{"TextBox", "Text1", 5, "", At(100, 0)},
        {"CommandButton", "Command1", 3, "", At(150, 0)},
        {"TextBox", "Text1", 9, "", At(200, 0)},
        {"CommandButton", "Command1", 7, "", At(250, 0)}});
  IndexTable t = BuildIndexTable(*Designer());
  EXPECT_EQ(SetIndexes(*Designer(), t.arrays, t.Rows()), IndexSetResult::Done);
  EXPECT_EQ(Ctl("Text1", 0)->Get(u"Top"), ide::Variant(float(100)));
  EXPECT_EQ(Ctl("Text1", 1)->Get(u"Top"), ide::Variant(float(200)));
  EXPECT_EQ(Ctl("Command1", 0)->Get(u"Top"), ide::Variant(float(150)));
  EXPECT_EQ(Ctl("Command1", 1)->Get(u"Top"), ide::Variant(float(250)));
}

TEST_F(ControlsTest, ReversedIndexesAreRenumberedWithoutACollision) {
  // By position the members stand in the reverse order of their indexes:
  // giving the first 0 directly would collide with the member holding 0.
  Form({{"TextBox", "Text1", 0, "", At(300, 0)},
        {"TextBox", "Text1", 1, "", At(200, 0)},
        {"TextBox", "Text1", 2, "", At(100, 0)}});
  auto bottom = Ctl("Text1", 0), middle = Ctl("Text1", 1), top = Ctl("Text1", 2);
  IndexTable t = BuildIndexTable(*Designer());
  EXPECT_EQ(SetIndexes(*Designer(), t.arrays, t.Rows()), IndexSetResult::Done);
  EXPECT_EQ(top->index(), 0);
  EXPECT_EQ(middle->index(), 1);
  EXPECT_EQ(bottom->index(), 2);
}

TEST_F(ControlsTest, AFailureHalfWayRestoresEveryIndex) {
  Form({{"TextBox", "Text1", 0, "", At(300, 0)},
        {"TextBox", "Text1", 1, "", At(200, 0)},
        {"TextBox", "Text1", 2, "", At(100, 0)}});
  auto a = Ctl("Text1", 0), b = Ctl("Text1", 1), c = Ctl("Text1", 2);
  IndexTable t = BuildIndexTable(*Designer());
  // Three moves to free indexes, then the second final value fails.
  host::Faults().FailOnCall("Property.SetValue", 5);
  EXPECT_EQ(SetIndexes(*Designer(), t.arrays, t.Rows()), IndexSetResult::Failed);
  EXPECT_EQ(a->index(), 0);
  EXPECT_EQ(b->index(), 1);
  EXPECT_EQ(c->index(), 2);
}

TEST_F(ControlsTest, MenuArraysAreListedAfterTheOthersAndRenumbered) {
  Form({{"Menu", "mnuItem", 4, "", {{"Caption", Str("b")}}},
        {"Menu", "mnuItem", 2, "", {{"Caption", Str("a")}}},
        {"TextBox", "Text1", 3, "", At(100, 0)}});
  IndexTable t = BuildIndexTable(*Designer());
  auto rows = t.Rows();
  EXPECT_EQ(Names(rows), (std::vector<std::u16string>{u"Text1(3)", u"mnuItem(4)", u"mnuItem(2)"}));
  EXPECT_EQ(rows[1].TopText(), u"");
  EXPECT_EQ(rows[1].Text, u"b");
  EXPECT_EQ(SetIndexes(*Designer(), t.arrays, rows), IndexSetResult::Done);
  EXPECT_EQ(Designer()->controls()[0]->index(), 0);
  EXPECT_EQ(Designer()->controls()[1]->index(), 1);
  EXPECT_EQ(Designer()->controls()[2]->index(), 0);
}

TEST_F(ControlsTest, IndexWindowListsOnlyArrayMembersAndSetsTheListOrder) {
  Form({{"Label", "Label1"},
        {"CommandButton", "Command1", 0, "", At(100, 0)},
        {"CommandButton", "Command1", 1, "", At(200, 0)}});
  frmIndex w;
  w.Show();
  EXPECT_EQ(w.Label5.Caption(), U("現在のオブジェクト数は3個です"));
  ASSERT_EQ(w.ListView1.ListItems.Count(), 2);
  EXPECT_EQ(w.ListView1.ListItems.Item(1).SubItems(1), u"Command1(0)");
  ui::ClickItem(w.ListView1, 1);
  ui::Click(w.Command4);
  ui::Click(w.Command1);
  EXPECT_EQ(h_.MessageTexts().back(), U("Indexを設定しました"));
  EXPECT_EQ(Designer()->controls()[1]->index(), 1);
  EXPECT_EQ(Designer()->controls()[2]->index(), 0);
}

TEST_F(ControlsTest, IndexWindowReportsAFailureAndStaysOpen) {
  Form({{"CommandButton", "Command1", 0, "", At(200, 0)}, {"CommandButton", "Command1", 1, "", At(100, 0)}});
  frmIndex w;
  w.Show();
  host::Faults().FailAlways("Property.SetValue");
  ui::Click(w.Command1);
  host::Faults().ClearAll();
  EXPECT_EQ(h_.MessageTexts().back(), U("Indexの設定に失敗しました"));
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(Designer()->controls()[0]->index(), 0);
}

TEST_F(ControlsTest, FormsWithoutArraysChangeNothing) {
  Form({{"TextBox", "Text1", -1, "", At(0, 0)}});
  frmIndex w;
  w.Show();
  EXPECT_EQ(w.ListView1.ListItems.Count(), 0);
  ui::Click(w.Command1);
  EXPECT_EQ(h_.MessageTexts().back(), U("Indexを設定しました"));
  EXPECT_TRUE(Ctl("Text1")->ChangedProperties().empty());
}

}  // namespace
}  // namespace tarno::controls::testing
