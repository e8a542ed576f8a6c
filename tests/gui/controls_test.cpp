// Every control type on one window: each has its widget where the form puts
// it, and the user's actions on the widgets reach the model.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "gui_driver.h"

namespace tarno::gui {
namespace {

using namespace gui::test;

Picture Square(uint32_t colour) { return Picture{16, 16, std::vector<uint32_t>(256, colour), "square"}; }

class EveryControlForm : public ui::Form {
 public:
  ui::Frame Frame1{*this, u"Frame1"};
  ui::ControlArray<ui::OptionButton> Option1{*this, u"Option1", 2};
  ui::SSTab SSTab1{*this, u"SSTab1"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::ListView ListView1{*this, u"ListView1"};
  ui::TreeView TreeView1{*this, u"TreeView1"};
  ui::ImageList ImageList1{*this, u"ImageList1"};
  ui::UpDown UpDown1{*this, u"UpDown1"};
  ui::Shape Shape1{*this, u"Shape1"};
  ui::PictureBox Picture1{*this, u"Picture1"};
  ui::Image Image1{*this, u"Image1"};
  ui::ListBox List1{*this, u"List1"};
  ui::Timer Timer1{*this, u"Timer1"};
  std::vector<std::string> log;

  EveryControlForm() : Form(u"frmEvery") {
    SetCaption(u"すべてのコントロール");
    Move(0, 0, 9000, 6000);
    Frame1.Move(120, 120, 2400, 1200);
    Frame1.SetCaption(u"選択");
    for (auto& o : Option1) {
      o.SetContainer(&Frame1);
      o.Move(120, 300 + o.Index() * 360, 2000, 300);
      o.SetCaption(u"案 " + vb::FromInt(o.Index()));
      o.OnClick = [this, i = o.Index()] { log.push_back("Option1(" + std::to_string(i) + ").Click"); };
    }
    Option1[0].SetValue(true);
    SSTab1.Move(2640, 120, 3000, 1800);
    SSTab1.SetTabs(2);
    SSTab1.SetTabCaption(0, u"一般");
    SSTab1.SetTabCaption(1, u"詳細");
    Text1.SetContainer(&SSTab1, 0);
    Text1.Move(120, 600, 2000, 300);
    Text2.SetContainer(&SSTab1, 1);
    Text2.Move(120, 600, 2000, 300);
    Text2.SetPasswordChar(u'*');
    SSTab1.OnTabClick = [this](int16_t previous) { log.push_back("SSTab1.Click " + std::to_string(previous)); };
    ListView1.Move(120, 2040, 4000, 1500);
    ListView1.SetCheckboxes(true);
    ListView1.SetFullRowSelect(true);
    ListView1.ColumnHeaders.Add(u"名前", 1500);
    ListView1.ColumnHeaders.Add(u"値", 2000);
    ListView1.ListItems.Add(u"一").SetSubItems(1, u"1");
    ListView1.ListItems.Add(u"二").SetSubItems(1, u"2");
    ListView1.OnItemCheck = [this](ui::ListItem& i) { log.push_back("ItemCheck " + vb::ToUtf8(i.Text())); };
    ListView1.OnItemClick = [this](ui::ListItem& i) { log.push_back("ItemClick " + vb::ToUtf8(i.Text())); };
    ImageList1.Add(u"folder", Square(0xFFD2691E));
    TreeView1.SetImageList(&ImageList1);
    TreeView1.Move(4320, 2040, 2400, 1500);
    ui::Node& root = TreeView1.Nodes.Add(u"root", u"パターン", u"folder");
    TreeView1.Nodes.Add(&root, ui::tvwChild, u"a", u"子", u"folder");
    TreeView1.OnNodeClick = [this](ui::Node& n) { log.push_back("NodeClick " + vb::ToUtf8(n.Key())); };
    TreeView1.OnExpand = [this](ui::Node& n) { log.push_back("Expand " + vb::ToUtf8(n.Key())); };
    UpDown1.Move(5760, 120, 255, 375);
    UpDown1.OnUpClick = [this] { log.push_back("UpClick " + std::to_string(UpDown1.Value())); };
    Shape1.Move(6120, 120, 1200, 600);
    Shape1.SetShapeKind(2);
    Picture1.Move(6120, 840, 600, 600);
    Picture1.SetPicture(Square(0xFF1E5AA8));
    Image1.Move(6840, 840, 600, 600);
    Image1.SetPicture(Square(0xFF2E8B57));
    Image1.SetStretch(true);
    List1.Move(6840, 2040, 1800, 1500);
    List1.AddItem(u"甲");
    List1.AddItem(u"乙");
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  Desktop desktop_;
};

TEST_F(ControlsTest, EveryControlTypeHasItsWidgetInItsContainerAtItsGeometry) {
  EveryControlForm w;
  w.Show();
  desktop_.Sync();
  FormView* view = desktop_.ViewOf(w);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->WidgetOf(w.Timer1), nullptr);
  EXPECT_EQ(view->WidgetOf(w.ImageList1), nullptr);
  for (ui::Control* c : w.Controls()) {
    if (c == &w.Timer1 || c == &w.ImageList1) continue;
    SCOPED_TRACE(vb::ToUtf8(c->DisplayName()));
    QWidget* widget = view->WidgetOf(*c);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(desktop_.Pixels(c->Left()), desktop_.Pixels(c->Top()),
                                        desktop_.Pixels(c->Width()), desktop_.Pixels(c->Height())));
    EXPECT_EQ(widget->parentWidget(), c->Container() ? view->WidgetOf(*c->Container()) : view);
    EXPECT_EQ(widget->isVisible(), c->EffectivelyVisible());
  }
  EXPECT_EQ(qobject_cast<QGroupBox*>(W(w.Frame1))->title(), QString::fromUtf8("選択"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(W(w.Text2))->echoMode(), QLineEdit::Password);
  auto* list = qobject_cast<QTreeWidget*>(W(w.ListView1));
  EXPECT_EQ(list->header()->sectionSize(1), desktop_.Pixels(2000));
  EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("2"));
  auto* tree = qobject_cast<QTreeWidget*>(W(w.TreeView1));
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_FALSE(tree->topLevelItem(0)->icon(0).isNull());
  EXPECT_EQ(desktop_.Pixels(1440), 96);  // 15 twips a pixel at 96 DPI
  // A control array member loaded at run time gets its widget.
  ui::OptionButton& third = w.Option1.Load(2);
  third.SetContainer(&w.Frame1);
  third.Move(120, 1020, 2000, 300);
  desktop_.Sync();
  ASSERT_NE(W(third), nullptr);
  EXPECT_EQ(W(third)->parentWidget(), W(w.Frame1));
  EXPECT_TRUE(W(third)->isVisible());
  w.Unload();
}

TEST_F(ControlsTest, ActionsOnTheWidgetsRaiseTheControlsEvents) {
  EveryControlForm w;
  w.Show();
  desktop_.Sync();
  w.log.clear();
  // Option buttons: the clicked one is set, the other cleared.
  ClickOn(w.Option1[1]);
  EXPECT_TRUE(w.Option1[1].Value());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(W(w.Option1[0]))->isChecked());
  // The second page of the tab control shows its own controls only.
  auto* bar = W(w.SSTab1)->findChild<QTabBar*>();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  EXPECT_EQ(w.SSTab1.Tab(), 1);
  EXPECT_FALSE(W(w.Text1)->isVisible());
  EXPECT_TRUE(W(w.Text2)->isVisible());
  // List view: ticking a row's box, clicking another row.
  auto* list = qobject_cast<QTreeWidget*>(W(w.ListView1));
  list->topLevelItem(0)->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(w.ListView1.ListItems.Item(1).Checked());
  QRect row2 = list->visualItemRect(list->topLevelItem(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2.center());
  EXPECT_EQ(w.ListView1.SelectedItem(), &w.ListView1.ListItems.Item(2));
  // Tree view: expanding, then clicking the child.
  auto* tree = qobject_cast<QTreeWidget*>(W(w.TreeView1));
  tree->topLevelItem(0)->setExpanded(true);
  EXPECT_TRUE(w.TreeView1.Nodes.Item(u"root").Expanded());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(0)->child(0)).center());
  EXPECT_EQ(w.TreeView1.SelectedItem(), &w.TreeView1.Nodes.Item(u"a"));
  // Up-down's upper arrow.
  auto arrows = W(w.UpDown1)->findChildren<QToolButton*>();
  ASSERT_EQ(arrows.size(), 2);
  QTest::mouseClick(arrows[0], Qt::LeftButton);
  EXPECT_EQ(w.UpDown1.Value(), 1);
  EXPECT_EQ(w.log, (std::vector<std::string>{"Option1(1).Click", "SSTab1.Click 0", "ItemCheck 一", "ItemClick 二",
                                             "Expand root", "NodeClick a", "UpClick 1"}));
  w.Unload();
}

}  // namespace
}  // namespace tarno::gui
