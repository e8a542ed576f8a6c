// The form designer's view beyond its pictures: geometry in twips whatever
// the ScaleMode, the menu bar and its menus, the .frx values it draws, what a
// control tool changes shown while its window is open, and --open.
#include <QMenu>
#include <QTest>
#include <cstdio>

#include "host/controls.h"
#include "workbench/designer_frame.h"
#include "workbench/frx_values.h"
#include "workbench/property_values.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

DesignerFrame* FrameOf(FormCanvas& canvas) { return static_cast<DesignerFrame*>(canvas.parentWidget()); }

class PixelFormTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    project_dir_ = "tannerhelland__vb6-code/Scanner-TWAIN";
    project_ = "VB_Scanner_Support.vbp";
    code_page_ = CodePage::Named("CP1252");
    Prepare("");
  }
};

TEST_F(PixelFormTest, ControlsOfPixelModeFormsAndFramesLieWithinThemInTwips) {
  FormCanvas* canvas = window_->ShowForm(u"frmScanner");
  ASSERT_NE(canvas, nullptr);
  const auto& designer = *canvas->component()->designer();
  ASSERT_EQ(IntOf(*designer.form(), u"ScaleMode"), 3);
  // The client area is ClientWidth x ClientHeight twips; every control lies
  // inside it and inside its frame.
  EXPECT_EQ(canvas->size(), QSize(IntOf(*designer.form(), u"ClientWidth") / 15,
                                  IntOf(*designer.form(), u"ClientHeight") / 15));
  int inFrames = 0;
  for (const auto& c : designer.controls()) {
    if (!c->Has(u"Left")) continue;
    const QRect r = canvas->RectOf(*c);
    EXPECT_TRUE(canvas->rect().contains(r)) << vb::ToUtf8(c->name());
    if (auto parent = c->parent()) {
      EXPECT_TRUE(canvas->RectOf(*parent).contains(r)) << vb::ToUtf8(c->name());
      ++inFrames;
    }
    EXPECT_EQ(r.left() - (c->parent() ? canvas->RectOf(*c->parent()).left() : 0), IntOf(*c, u"Left") / 15);
  }
  EXPECT_GE(inFrames, 2);
}

TEST_F(WorkbenchTest, TheMenuBarShowsTheTopMenusAndOpensTheirItems) {
  FormCanvas* canvas = window_->ShowForm(u"frmMain");
  ASSERT_NE(canvas, nullptr);
  DesignerFrame* frame = FrameOf(*canvas);
  const auto& designer = *canvas->component()->designer();
  std::vector<std::u16string> top;
  for (const auto& c : designer.controls())
    if (c->ClassName() == u"Menu" && !c->parent() && FlagOf(*c, u"Visible", true)) top.push_back(c->name());
  ASSERT_EQ(frame->Menus().size(), top.size());
  EXPECT_EQ(frame->Menus().front()->name(), u"mnuFile");
  // The bar lies between the title bar and the client area, captions side by side.
  EXPECT_LT(frame->MenuRect(0).bottom(), canvas->y());
  EXPECT_LT(frame->MenuRect(0).right(), frame->MenuRect(1).left() + 1);
  // A click on a caption opens its menu: its items with their shortcuts.
  QTest::mouseClick(frame, Qt::LeftButton, {}, frame->MenuRect(0).center());
  auto* popup = frame->findChild<QMenu*>();
  ASSERT_NE(popup, nullptr);
  QStringList texts;
  for (QAction* a : popup->actions())
    if (!a->isSeparator()) texts << a->text();
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_TRUE(texts.front().startsWith(QStringLiteral("mnuFileNew"))) << texts.front().toStdString();
  int items = 0;
  for (const auto& c : designer.controls())
    if (c->parent() && c->parent()->name() == u"mnuFile" && FlagOf(*c, u"Visible", true) &&
        TextOf(*c, u"Caption") != QStringLiteral("-"))
      ++items;
  EXPECT_EQ(texts.size(), items);
  popup->close();
}

TEST(FrxValuesTest, PicturesAndListItemsAreReadFromTheBinaryFile) {
  const fs::path corpus(TARNO_CORPUS_DIR);
  FrxValues bmse(corpus / "dtinth__UCN-BMSE/BMSE", CodePage::Cp932());
  // An icon and a bitmap, each behind its record header; the file name in any case.
  EXPECT_EQ(bmse.Picture(u"\"frmWindowAbout.frx\":0000").size(), QSize(32, 32));
  EXPECT_EQ(bmse.Picture(u"\"FRMWINDOWABOUT.FRX\":08CA").size(), QSize(526, 196));
  EXPECT_TRUE(bmse.Picture(u"\"frmWindowAbout.frx\":0007").isNull());  // inside a record
  EXPECT_TRUE(bmse.Picture(u"\"missing.frx\":0000").isNull());
  EXPECT_TRUE(bmse.Picture(u"\"frmWindowAbout.frx\":FFFFFFF").isNull());
  EXPECT_EQ(bmse.List(u"\"frmWindowFind.frx\":002B"),
            (QStringList{"1", "2", "3", "4", "5", "6", "7", "SC"}));
  FrxValues sales(corpus / "RizkyKhapidsyah__Sales-Transaction-Inventory-Control_v1.0__VB6", CodePage::Named("CP1252"));
  EXPECT_EQ(sales.List(u"\"adduser.frx\":000A"), (QStringList{"1", "2"}));
  EXPECT_TRUE(sales.List(u"not a reference").isEmpty());
}

TEST_F(WorkbenchTest, ATabStripsTabsAreSwitchedInTheViewWithoutChangingTheForm) {
  project_dir_ = "akinomyoga__vb6programs/src/KBasic";
  project_ = "KBasicTest.vbp";
  TearDown();
  Prepare("");
  FormCanvas* canvas = window_->ShowForm(u"KBasicForm");
  ASSERT_NE(canvas, nullptr);
  auto tabs = canvas->component()->designer()->Control(u"SSTab1");
  ASSERT_NE(tabs, nullptr);
  const QRect strip = canvas->RectOf(*tabs);
  QPoint onTab1;
  for (int x = strip.left(); x < strip.right() && onTab1.isNull(); ++x)
    if (canvas->TabAt(*tabs, QPoint(x, strip.top() + 4)) == 1) onTab1 = QPoint(x + 3, strip.top() + 4);
  ASSERT_FALSE(onTab1.isNull());
  auto shownOnStrip = [&] {
    std::vector<std::u16string> shown;
    for (const auto& c : canvas->component()->designer()->controls())
      if (c->parent() == tabs && canvas->Shown(*c)) shown.push_back(c->name());
    return shown;
  };
  const auto first = shownOnStrip();
  QTest::mouseClick(canvas, Qt::LeftButton, {}, onTab1);
  EXPECT_EQ(canvas->ShownTab(*tabs), 1);
  const auto second = shownOnStrip();
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  // The other tab's controls are drawn inside the strip and can be clicked.
  for (const auto& c : canvas->component()->designer()->controls()) {
    if (c->parent() != tabs || !canvas->Shown(*c)) continue;
    EXPECT_TRUE(strip.contains(canvas->RectOf(*c).center())) << vb::ToUtf8(c->name());
  }
  EXPECT_EQ(IntOf(*tabs, u"Tab"), 0);
  EXPECT_FALSE(canvas->component()->dirty());
}

TEST_F(WorkbenchTest, WhatALayoutToolSetsIsShownWhileItsWindowIsOpen) {
  FormCanvas* canvas = window_->ShowForm(u"frmWindowFind");
  ASSERT_NE(canvas, nullptr);
  auto designer = canvas->component()->designer();
  std::shared_ptr<host::MemControl> button;
  for (const auto& c : designer->controls())
    if (!button && c->ClassName() == u"CommandButton" && canvas->ControlAt(canvas->RectOf(*c).center()) == c) button = c;
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->RectOf(*button).center());
  QApplication::processEvents();
  ASSERT_NE(canvas->PaintedRect(*button).left(), 240 / 15);
  QRect before, whileOpen;
  hook_ = [&](ui::Form& f) {
    // The tool's window is on screen (and the workbench repainted as it lost the focus).
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    before = canvas->PaintedRect(*button);
    auto* left = dynamic_cast<ui::TextBox*>(f.FindControl(u"Text2"));
    ASSERT_NE(left, nullptr);
    // As the user would: each action through the desktop, then the screen shows it.
    gui::Desktop::Current()->Dispatch([&] {
      ui::Focus(*left);
      ui::ClearText(*left);
      ui::Type(*left, u"240");
    });
    gui::Desktop::Current()->Dispatch([&] { ui::Click(*f.FindControl(u"Command1")); });
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    whileOpen = canvas->PaintedRect(*button);
    gui::Desktop::Current()->Dispatch([&] { ui::Click(*f.FindControl(u"Command2")); });
  };
  Run(window_->ToolsMenu(), "コントロール整列設定(&C)");
  EXPECT_NE(before.left(), 240 / 15);
  EXPECT_EQ(whileOpen.left(), 240 / 15);
}

TEST_F(WorkbenchTest, OpenNamesTheComponentShownAtStart) {
  const std::string program = std::string(TARNO_TOOLKIT_DIR) + "/tarno-workbench";
  const fs::path shot = root_ / "find.png";
  auto run = [&](const std::string& args) {
    const std::string command = "QT_QPA_PLATFORM=offscreen '" + program + "' '" + Project().string() + "' " + args +
                                " 2>'" + (root_ / "err.txt").string() + "'";
    return std::system(command.c_str());
  };
  EXPECT_EQ(run("--open frmwindowfind --screenshot '" + shot.string() + "'"), 0);
  const QImage image(QString::fromStdString(shot.string()));
  EXPECT_FALSE(image.isNull());
  EXPECT_NE(run("--open NoSuchForm --screenshot '" + shot.string() + "'"), 0);
  EXPECT_NE(ReadFile(root_ / "err.txt").find("no component named NoSuchForm"), std::string::npos);
  // In-process: the form's view, or its code with --code.
  EXPECT_TRUE(window_->OpenComponent(u"FRMWINDOWFIND", false));
  EXPECT_EQ(window_->FormViews().size(), 1u);
  EXPECT_TRUE(window_->OpenComponent(u"frmWindowFind", true));
  EXPECT_EQ(window_->CodeEditors().size(), 1u);
  EXPECT_FALSE(window_->OpenComponent(u"nothing", false));
}

}  // namespace
}  // namespace tarno::workbench::test
