// Changing a form in the workbench: the Properties window, moving and sizing
// with the mouse and the keys, a rubber band, undo and redo; and after Save,
// a form that differs from its source only in the lines of what changed.
#include <QDockWidget>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "host/controls.h"
#include "workbench/designer_edits.h"
#include "workbench/properties_window.h"
#include "workbench/toolbox.h"
#include "workbench/property_values.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

class DesignerEditTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    Prepare("");
    canvas_ = window_->ShowForm(u"frmWindowFind");
    ASSERT_NE(canvas_, nullptr);
    // Two buttons that are topmost at their centres.
    for (const auto& c : canvas_->component()->designer()->controls())
      if (c->ClassName() == u"CommandButton" && canvas_->ControlAt(canvas_->RectOf(*c).center()) == c &&
          buttons_.size() < 2)
        buttons_.push_back(c);
    ASSERT_EQ(buttons_.size(), 2u);
  }
  double Num(const host::MemControl& c, const char16_t* name) { return NumberOf(c, name); }
  static double Snap(double twips) { return std::round(twips / 120) * 120; }

  FormCanvas* canvas_ = nullptr;
  std::vector<std::shared_ptr<host::MemControl>> buttons_;
};

TEST_F(DesignerEditTest, ThePropertiesWindowListsAndEditsTheSelectedControl) {
  const auto& button = buttons_[0];
  QTest::mouseClick(canvas_, Qt::LeftButton, {}, canvas_->RectOf(*button).center());
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(canvas_, Qt::Key_F4);
  PropertiesWindow* props = window_->properties();
  ASSERT_TRUE(props->isVisible());
  ASSERT_EQ(props->control(), button);
  // Alphabetic: (Name) first, then by name whatever the case.
  const QStringList listed = props->Listed();
  ASSERT_GT(listed.size(), 20);
  EXPECT_EQ(listed.front(), QStringLiteral("(Name)"));
  for (qsizetype i = 2; i < listed.size(); ++i)
    EXPECT_LT(listed[i - 1].compare(listed[i], Qt::CaseInsensitive), 0) << listed[i].toStdString();
  // Values in VB's display form.
  EXPECT_EQ(props->ValueText(QStringLiteral("(Name)")), QString::fromStdU16String(button->name()));
  EXPECT_EQ(props->ValueText(QStringLiteral("Appearance")), QStringLiteral("1 - 3D"));
  EXPECT_EQ(props->ValueText(QStringLiteral("BackColor")), QStringLiteral("&H8000000F&"));
  EXPECT_EQ(props->ValueText(QStringLiteral("Enabled")), QStringLiteral("True"));
  EXPECT_EQ(props->ValueText(QStringLiteral("Style")), QStringLiteral("0 - Standard"));
  // By category: the categories with their properties under them.
  props->SetCategorized(true);
  QStringList categories;
  for (int i = 0; i < props->list()->topLevelItemCount(); ++i) categories << props->list()->topLevelItem(i)->text(0);
  for (const char* c : {"Appearance", "Behavior", "Font", "Misc", "Position"})
    EXPECT_TRUE(categories.contains(QString::fromLatin1(c))) << c;
  EXPECT_EQ(props->Listed().size(), listed.size());
  props->SetCategorized(false);

  // Typing a caption into the value column, as the user does.
  const QString before = TextOf(*button, u"Caption");
  QTreeWidgetItem* caption = props->list()->findItems(QStringLiteral("Caption"), Qt::MatchExactly).value(0);
  ASSERT_NE(caption, nullptr);
  props->list()->editItem(caption, 1);
  auto* editor = props->list()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("Go"));
  QTest::keyClick(editor, Qt::Key_Return);
  // The edit is applied once the editor has closed.
  EXPECT_TRUE(QTest::qWaitFor([&] { return TextOf(*button, u"Caption") == QStringLiteral("Go"); }, 2000));
  EXPECT_TRUE(canvas_->component()->dirty());
  EXPECT_TRUE(window_->explorer()->findItems(QStringLiteral("*"), Qt::MatchContains | Qt::MatchRecursive).size() > 0);
  EXPECT_EQ(props->ValueText(QStringLiteral("Caption")), QStringLiteral("Go"));

  // Enumerations by name; a value VB refuses changes nothing.
  EXPECT_TRUE(props->Edit(QStringLiteral("Style"), QStringLiteral("1 - Graphical")));
  EXPECT_EQ(IntOf(*button, u"Style"), 1);
  EXPECT_FALSE(props->Edit(QStringLiteral("Style"), QStringLiteral("7")));
  EXPECT_FALSE(props->Edit(QStringLiteral("Enabled"), QStringLiteral("maybe")));
  EXPECT_EQ(warnings_.size(), 2u);
  EXPECT_EQ(IntOf(*button, u"Style"), 1);
  EXPECT_TRUE(props->Edit(QStringLiteral("BackColor"), QStringLiteral("&H000000FF&")));
  EXPECT_EQ(IntOf(*button, u"BackColor"), 0xFF);

  // The font through its dialog.
  props->ask_font = [](const host::FontValues& f) {
    host::FontValues chosen = f;
    chosen.name = u"Arial";
    chosen.size = 12;
    chosen.bold = true;
    return std::optional<host::FontValues>(chosen);
  };
  QTreeWidgetItem* font = props->list()->findItems(QStringLiteral("Font"), Qt::MatchExactly).value(0);
  ASSERT_NE(font, nullptr);
  Q_EMIT props->list()->itemDoubleClicked(font, 1);
  EXPECT_EQ(button->GetFont()->values().name, u"Arial");
  EXPECT_TRUE(button->GetFont()->values().bold);

  // Undo goes back one edit at a time, Redo forward again.
  QUndoStack& stack = window_->edits().stack();
  EXPECT_EQ(stack.count(), 4);
  stack.undo();
  EXPECT_NE(button->GetFont()->values().name, u"Arial");
  stack.undo();
  stack.undo();
  EXPECT_EQ(IntOf(*button, u"Style"), 0);
  QTest::keyClick(props->list(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(TextOf(*button, u"Caption"), before);
  QTest::keyClick(props->list(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(TextOf(*button, u"Caption"), QStringLiteral("Go"));
}

TEST_F(DesignerEditTest, DragsAndKeysMoveAndSizeOnTheGridUndoably) {
  const auto& button = buttons_[0];
  const double left = Num(*button, u"Left"), top = Num(*button, u"Top");
  const double width = Num(*button, u"Width"), height = Num(*button, u"Height");
  QUndoStack& stack = window_->edits().stack();
  // Drag by 20 x 10 pixels: the place snaps to the 120-twip grid.
  const QPoint from = canvas_->RectOf(*button).center();
  QTest::mousePress(canvas_, Qt::LeftButton, {}, from);
  QTest::mouseMove(canvas_, from + QPoint(10, 5));
  QTest::mouseMove(canvas_, from + QPoint(20, 10));
  QTest::mouseRelease(canvas_, Qt::LeftButton, {}, from + QPoint(20, 10));
  EXPECT_EQ(Num(*button, u"Left"), Snap(left + 300));
  EXPECT_EQ(Num(*button, u"Top"), Snap(top + 150));
  EXPECT_EQ(Num(*button, u"Width"), width);
  EXPECT_EQ(stack.count(), 1);
  stack.undo();
  EXPECT_EQ(Num(*button, u"Left"), left);
  EXPECT_EQ(Num(*button, u"Top"), top);

  // The bottom right handle sizes it; the moved edges snap.
  const QPoint corner = canvas_->RectOf(*button).bottomRight();
  ASSERT_EQ(canvas_->HandleAt(corner), 3);
  QTest::mousePress(canvas_, Qt::LeftButton, {}, corner);
  QTest::mouseMove(canvas_, corner + QPoint(16, 8));
  QTest::mouseRelease(canvas_, Qt::LeftButton, {}, corner + QPoint(16, 8));
  EXPECT_EQ(Num(*button, u"Left"), left);
  EXPECT_EQ(Num(*button, u"Width"), Snap(left + width + 240) - left);
  EXPECT_EQ(Num(*button, u"Height"), Snap(top + height + 120) - top);
  stack.undo();
  EXPECT_EQ(Num(*button, u"Width"), width);

  // Ctrl+arrows move by one grid step, Shift+arrows size.
  canvas_->setFocus();
  QTest::keyClick(canvas_, Qt::Key_Right, Qt::ControlModifier);
  QTest::keyClick(canvas_, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(Num(*button, u"Left"), left + 120);
  EXPECT_EQ(Num(*button, u"Height"), height + 120);
  stack.undo();
  stack.undo();
  EXPECT_EQ(Num(*button, u"Left"), left);
  EXPECT_EQ(Num(*button, u"Height"), height);

  // A band drawn from the bare form selects what it touches.
  const int edits = stack.count();
  QPoint bare;
  for (int y = 2; y < canvas_->height() && bare.isNull(); y += 4)
    for (int x = 2; x < canvas_->width() && bare.isNull(); x += 4)
      if (!canvas_->ControlAt(QPoint(x, y))) bare = QPoint(x, y);
  ASSERT_FALSE(bare.isNull());
  QTest::mousePress(canvas_, Qt::LeftButton, {}, bare);
  QTest::mouseMove(canvas_, QPoint(canvas_->width() - 1, canvas_->height() - 1));
  QTest::mouseRelease(canvas_, Qt::LeftButton, {}, QPoint(canvas_->width() - 1, canvas_->height() - 1));
  const auto& chosen = canvas_->component()->designer()->selected();
  EXPECT_GE(chosen.size(), 2u);
  for (const auto& c : chosen) {
    EXPECT_EQ(c->parent(), nullptr);
    EXPECT_TRUE(canvas_->RectOf(*c).intersects(QRect(bare, canvas_->rect().bottomRight())));
  }
  EXPECT_EQ(stack.count(), edits);  // selecting is no edit
}

TEST_F(DesignerEditTest, TheToolboxPlacesAControlWithItsDefaultNameUndoably) {
  auto& designer = *canvas_->component()->designer();
  const size_t count = designer.controls().size();
  QPoint bare;
  for (int y = canvas_->height() / 2; y < canvas_->height() && bare.isNull(); y += 4)
    for (int x = 2; x < canvas_->width() && bare.isNull(); x += 4)
      if (!canvas_->ControlAt(QPoint(x, y))) bare = QPoint(x, y);
  ASSERT_FALSE(bare.isNull());
  window_->toolbox()->Choose(QStringLiteral("CommandButton"));
  QTest::mouseClick(canvas_, Qt::LeftButton, {}, bare);
  ASSERT_EQ(designer.controls().size(), count + 1);
  const auto placed = designer.controls().back();
  EXPECT_EQ(placed->ClassName(), u"CommandButton");
  EXPECT_EQ(placed->name().rfind(u"Command", 0), 0u);
  EXPECT_EQ(TextOf(*placed, u"Caption"), QString::fromStdU16String(placed->name()));
  EXPECT_EQ(Num(*placed, u"Left"), Snap(bare.x() * 15));
  EXPECT_EQ(Num(*placed, u"Top"), Snap(bare.y() * 15));
  EXPECT_GT(Num(*placed, u"Width"), 0);
  EXPECT_EQ(designer.selected(), (std::vector<std::shared_ptr<host::MemControl>>{placed}));
  EXPECT_TRUE(window_->toolbox()->Armed().isEmpty());  // back to the pointer
  // Undo takes it away, redo places it again under the same name.
  const std::u16string name = placed->name();
  window_->edits().stack().undo();
  EXPECT_EQ(designer.controls().size(), count);
  EXPECT_EQ(designer.Control(name), nullptr);
  window_->edits().stack().redo();
  ASSERT_NE(designer.Control(name), nullptr);
  // Saved, the form has its block.
  ASSERT_TRUE(window_->Save());
  EXPECT_NE(ReadFile(File("frmWindowFind.frm")).find("Begin VB.CommandButton " + vb::ToUtf8(name)), std::string::npos);
}

TEST_F(DesignerEditTest, SaveRewritesOnlyTheLinesOfTheChangedProperties) {
  const fs::path file = File("frmWindowFind.frm");
  const std::string source = ReadFile(file);
  const auto& button = buttons_[1];
  QTest::mouseClick(canvas_, Qt::LeftButton, {}, canvas_->RectOf(*button).center());
  window_->ShowProperties();
  ASSERT_TRUE(window_->properties()->Edit(QStringLiteral("Caption"), QStringLiteral("Replace")));
  const QPoint from = canvas_->RectOf(*button).center();
  QTest::mousePress(canvas_, Qt::LeftButton, {}, from);
  QTest::mouseMove(canvas_, from + QPoint(-16, 16));
  QTest::mouseRelease(canvas_, Qt::LeftButton, {}, from + QPoint(-16, 16));
  ASSERT_TRUE(window_->Save());
  const std::string saved = ReadFile(file);
  auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  };
  const auto a = lines(source), b = lines(saved);
  ASSERT_EQ(a.size(), b.size());
  std::vector<std::string> changed;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      std::string key = b[i].substr(b[i].find_first_not_of(' '));
      changed.push_back(key.substr(0, key.find(' ')));
    }
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<std::string>{"Caption", "Left", "Top"}));
}

}  // namespace
}  // namespace tarno::workbench::test
