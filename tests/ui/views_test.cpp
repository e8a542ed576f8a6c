// List views and tree views.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/vb_text.h"
#include "support/ui_harness.h"

namespace tarno {
namespace {

using ::testing::ElementsAre;

class frmViews : public ui::Form {
 public:
  ui::ListView ListView1{*this, u"ListView1"};
  ui::TreeView TreeView1{*this, u"TreeView1"};
  ui::ImageList ImageList1{*this, u"ImageList1"};
  std::vector<std::string> log;
  frmViews() : Form(u"frmViews") {
    ListView1.OnItemClick = [this](ui::ListItem& Item) { log.push_back("ItemClick " + vb::ToUtf8(Item.Text())); };
    ListView1.OnClick = [this] { log.push_back("Click"); };
    TreeView1.OnNodeClick = [this](ui::Node& Node) { log.push_back("NodeClick " + vb::ToUtf8(Node.Key())); };
    ListView1.ColumnHeaders.Add(vb::U("オブジェクト名"), 2000);
    ListView1.ColumnHeaders.Add(vb::U("種類"), 2000);
    ListView1.ColumnHeaders.Add(vb::U("ファイル名"), 6000);
  }
};

std::vector<std::u16string> TextsInOrder(const ui::ListView& v) {
  std::vector<std::u16string> out;
  for (auto& i : v.ListItems) out.push_back(i.Text());
  return out;
}

std::vector<std::u16string> KeysByIndex(const ui::TreeView& t) {
  std::vector<std::u16string> out;
  for (int i = 1; i <= t.Nodes.Count(); ++i) out.push_back(t.Nodes.Item(i).Key());
  return out;
}

std::vector<std::u16string> KeysInDisplayOrder(const std::vector<ui::Node*>& level) {
  std::vector<std::u16string> out;
  for (ui::Node* n : level) {
    out.push_back(n->Key());
    for (auto& k : KeysInDisplayOrder(n->ChildNodes())) out.push_back(k);
  }
  return out;
}

TEST(ListView, ColumnsItemsAndSubItems) {
  test::UiHarness h;
  frmViews f;
  ui::ListItem& a = f.ListView1.ListItems.Add(u"Form1");
  a.SetSubItems(1, u"Form");
  a.SetSubItems(2, u"Form1.frm");
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(3).Width(), 6000);
  EXPECT_EQ(f.ListView1.ColumnHeaders.Item(1).Text(), vb::U("オブジェクト名"));
  EXPECT_EQ(f.ListView1.ListItems.Item(1).SubItems(2), u"Form1.frm");
  EXPECT_EQ(f.ListView1.ListItems.Add(u"Module1").SubItems(1), u"");  // unset sub-items are empty
  try {
    a.SetSubItems(3, u"x");  // three columns: sub-items 1 and 2 only
    FAIL();
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), ui::err::IndexOutOfBounds);
  }
  EXPECT_THROW(f.ListView1.ListItems.Item(3), ui::VbError);
}

TEST(ListView, ClickingARowSelectsOnlyItAndRaisesItemClickThenClick) {
  test::UiHarness h;
  frmViews f;
  for (auto t : {u"a", u"b", u"c"}) f.ListView1.ListItems.Add(t);
  EXPECT_EQ(f.ListView1.SelectedItem(), nullptr);
  f.Show();
  ui::ClickItem(f.ListView1, 1);
  ui::ClickItem(f.ListView1, 3);
  EXPECT_EQ(f.ListView1.SelectedItem(), &f.ListView1.ListItems.Item(3));
  EXPECT_FALSE(f.ListView1.ListItems.Item(1).Selected());
  EXPECT_THAT(f.log, ElementsAre("ItemClick a", "Click", "ItemClick c", "Click"));
  f.ListView1.SetEnabled(false);
  EXPECT_THROW(ui::ClickItem(f.ListView1, 2), ui::InputRejected);
}

TEST(ListView, RemovingTheSelectedRowLeavesNoSelectionAndRenumbers) {
  test::UiHarness h;
  frmViews f;
  for (auto t : {u"a", u"b", u"c"}) f.ListView1.ListItems.Add(t);
  f.ListView1.ListItems.Item(2).SetSelected(true);
  f.ListView1.ListItems.Remove(2);
  EXPECT_EQ(f.ListView1.SelectedItem(), nullptr);
  EXPECT_EQ(f.ListView1.ListItems.Item(2).Text(), u"c");
  EXPECT_EQ(f.ListView1.ListItems.Item(2).Index(), 2);
  f.ListView1.ListItems.Item(1).SetSelected(true);
  f.ListView1.ListItems.Clear();
  EXPECT_EQ(f.ListView1.SelectedItem(), nullptr);
}

TEST(ListView, MultiSelectKeepsEarlierSelections) {
  test::UiHarness h;
  frmViews f;
  f.ListView1.SetMultiSelect(true);
  for (auto t : {u"a", u"b"}) f.ListView1.ListItems.Add(t).SetSelected(true);
  EXPECT_TRUE(f.ListView1.ListItems.Item(1).Selected());
  f.ListView1.ListItems.Item(2).SetSelected(false);
  EXPECT_EQ(f.ListView1.SelectedItem(), &f.ListView1.ListItems.Item(1));
}

TEST(ListView, SortsByTheSortKeyColumnAndKeepsNewItemsSorted) {
  test::UiHarness h;
  frmViews f;
  auto add = [&](const char16_t* name, const char16_t* kind) { f.ListView1.ListItems.Add(name).SetSubItems(1, kind); };
  add(u"b", u"2");
  add(u"a", u"3");
  add(u"C", u"1");
  f.ListView1.SetSortKey(1);
  f.ListView1.SetSortOrder(ui::lvwDescending);
  f.ListView1.SetSorted(true);
  EXPECT_THAT(TextsInOrder(f.ListView1), ElementsAre(u"a", u"b", u"C"));
  f.ListView1.SetSortKey(0);
  f.ListView1.SetSortOrder(ui::lvwAscending);
  add(u"B0", u"9");
  EXPECT_THAT(TextsInOrder(f.ListView1), ElementsAre(u"a", u"b", u"B0", u"C"));
}

TEST(ListView, KeysAreUniqueAndCheckboxesRaiseItemCheck) {
  test::UiHarness h;
  frmViews f;
  f.ListView1.ListItems.Add(u"a", u"k1");
  EXPECT_THROW(f.ListView1.ListItems.Add(u"b", u"k1"), ui::VbError);
  EXPECT_EQ(f.ListView1.ListItems.Item(u"k1").Text(), u"a");
  f.Show();
  EXPECT_THROW(ui::CheckItem(f.ListView1, 1, true), ui::InputRejected);
  f.ListView1.SetCheckboxes(true);
  int checks = 0;
  f.ListView1.OnItemCheck = [&](ui::ListItem& i) { checks += i.Checked() ? 1 : 0; };
  ui::CheckItem(f.ListView1, 1, true);
  EXPECT_EQ(checks, 1);
}

TEST(TreeView, IndexFollowsAdditionWhileRelationshipsPlaceNodes) {
  test::UiHarness h;
  frmViews f;
  auto& n = f.TreeView1.Nodes;
  n.Add(u"root", u"Root");
  n.Add(u"root", ui::tvwChild, u"b", u"B");
  n.Add(u"b", ui::tvwPrevious, u"a", u"A");
  n.Add(u"b", ui::tvwNext, u"c", u"C");
  n.Add(u"a", ui::tvwChild, u"a1", u"A1");
  n.Add(u"c", ui::tvwFirst, u"first", u"First");
  EXPECT_THAT(KeysByIndex(f.TreeView1), ElementsAre(u"root", u"b", u"a", u"c", u"a1", u"first"));
  EXPECT_THAT(KeysInDisplayOrder(f.TreeView1.Roots()), ElementsAre(u"root", u"first", u"a", u"a1", u"b", u"c"));
  ui::Node& a1 = n.Item(u"a1");
  EXPECT_EQ(a1.Parent()->Key(), u"a");
  EXPECT_EQ(a1.Index(), 5);
  EXPECT_EQ(n.Item(u"root").Children(), 4);
  EXPECT_EQ(n.Item(u"a").Next()->Key(), u"b");
  EXPECT_EQ(a1.FullPath(), u"Root\\A\\A1");
  EXPECT_THROW(n.Add(u"x", ui::tvwChild, u"y", u"Y"), ui::VbError);  // unknown relative
  EXPECT_THROW(n.Add(u"a", u"dup"), ui::VbError);                    // duplicate key
}

TEST(TreeView, RemoveTakesTheChildrenAndRenumbers) {
  test::UiHarness h;
  frmViews f;
  auto& n = f.TreeView1.Nodes;
  n.Add(u"r", u"R");
  n.Add(u"r", ui::tvwChild, u"a", u"A");
  n.Add(u"a", ui::tvwChild, u"a1", u"A1");
  n.Add(u"r", ui::tvwChild, u"b", u"B");
  n.Add(u"a1", ui::tvwChild, u"a11", u"A11");
  n.Item(u"a11").SetSelected(true);
  n.Remove(u"a");
  EXPECT_EQ(n.Count(), 2);
  EXPECT_THAT(KeysByIndex(f.TreeView1), ElementsAre(u"r", u"b"));
  EXPECT_EQ(n.Item(u"b").Index(), 2);
  EXPECT_EQ(n.Find(u"a1"), nullptr);
  EXPECT_EQ(n.Item(u"r").Children(), 1);
  // The selection was inside the removed branch: it moves to the branch's next sibling.
  EXPECT_EQ(f.TreeView1.SelectedItem(), &n.Item(u"b"));
  n.Remove(2);
  EXPECT_EQ(f.TreeView1.SelectedItem(), &n.Item(u"r"));
  try {
    n.Item(u"b");
    FAIL();
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), ui::err::ElementNotFound);
  }
}

TEST(TreeView, ImagesAreCheckedAgainstTheImageList) {
  test::UiHarness h;
  frmViews f;
  f.ImageList1.Add(u"Folder", Picture{1, 1, {0xFF000000u}, "Folder"});
  f.ImageList1.Add(u"OpenFolder", Picture{1, 1, {0xFFFFFFFFu}, "OpenFolder"});
  f.TreeView1.SetImageList(&f.ImageList1);
  ui::Node& n = f.TreeView1.Nodes.Add(u"k", u"Root", u"Folder");
  n.SetSelectedImage(u"OpenFolder");
  EXPECT_EQ(n.Image(), u"Folder");
  EXPECT_EQ(n.SelectedImage(), u"OpenFolder");
  EXPECT_THROW(n.SetImage(u"File"), ui::VbError);
  EXPECT_EQ(n.Image(), u"Folder");
}

TEST(TreeView, EnsureVisibleExpandsAncestorsAndClicksNeedThem) {
  test::UiHarness h;
  frmViews f;
  auto& n = f.TreeView1.Nodes;
  n.Add(u"r", u"R");
  n.Add(u"r", ui::tvwChild, u"a", u"A");
  n.Add(u"a", ui::tvwChild, u"a1", u"A1");
  f.Show();
  EXPECT_THROW(ui::ClickNode(f.TreeView1, n.Item(u"a1")), ui::InputRejected);
  EXPECT_TRUE(n.Item(u"a1").EnsureVisible());
  EXPECT_TRUE(n.Item(u"r").Expanded());
  EXPECT_TRUE(n.Item(u"a").Expanded());
  EXPECT_EQ(f.TreeView1.EnsuredVisible(), &n.Item(u"a1"));
  ui::ClickNode(f.TreeView1, n.Item(u"a1"));
  EXPECT_TRUE(n.Item(u"a1").Selected());
  EXPECT_THAT(f.log, ElementsAre("NodeClick a1"));
}

}  // namespace
}  // namespace tarno
