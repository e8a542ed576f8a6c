// Changing a form in the workbench: the Properties window, moving and sizing
// with the mouse and the keys, a rubber band, undo and redo; and after Save,
// a form that differs from its source only in the lines of what changed.
#include <QDockWidget>
#include <QLineEdit>
#include <QToolButton>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
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

// A file's lines with their line ends, and the block from the line holding
// `begin` to its End taken out.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> out;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    out.push_back(text.substr(at, end - at));
    at = end;
  }
  return out;
}
std::vector<std::string> WithoutBlock(std::vector<std::string> lines, const std::string& begin) {
  size_t from = 0;
  while (from < lines.size() && lines[from].find(begin) == std::string::npos) ++from;
  EXPECT_LT(from, lines.size()) << begin;
  if (from == lines.size()) return lines;
  const size_t indent = lines[from].find_first_not_of(' ');
  size_t to = from + 1;
  while (to < lines.size() && (lines[to].find_first_not_of(' ') != indent || lines[to].compare(indent, 3, "End") != 0))
    ++to;
  lines.erase(lines.begin() + long(from), lines.begin() + long(to) + 1);
  return lines;
}
int TabOf(const std::string& line) { return std::atoi(line.c_str() + line.find('=') + 1); }

// Del and Edit > Remove delete the selected controls with what they hold,
// undoably; saved, the form loses exactly their blocks, and the others' tab
// indexes close up to 0 .. n-1 in their old order.
TEST_F(DesignerEditTest, DeleteTakesControlsOutUndoablyAndSaveDropsTheirBlocks) {
  auto& designer = *canvas_->component()->designer();
  const std::string source = ReadFile(File("frmWindowFind.frm"));
  const auto all = designer.controls();
  auto frame = designer.Control(u"fraSearchNum"), close = designer.Control(u"cmdClose"),
       list = designer.Control(u"lstGrid", 2);
  ASSERT_TRUE(frame && close && list);
  QTest::mouseClick(canvas_, Qt::LeftButton, {}, canvas_->RectOf(*frame).topLeft() + QPoint(3, 3));
  QTest::mouseClick(canvas_, Qt::LeftButton, Qt::ControlModifier, canvas_->RectOf(*close).center());
  ASSERT_EQ(designer.selected(), (std::vector<std::shared_ptr<host::MemControl>>{frame, close}));
  QTest::keyClick(canvas_, Qt::Key_Delete);
  EXPECT_EQ(designer.controls().size(), all.size() - 6);  // the frame held four
  EXPECT_TRUE(designer.selected().empty());
  EXPECT_EQ(window_->properties()->Shown(), designer.form().get());
  EXPECT_NE(canvas_->ControlAt(canvas_->RectOf(*close).center()), close);
  window_->edits().stack().undo();
  EXPECT_EQ(designer.controls(), all);
  window_->edits().stack().redo();
  EXPECT_EQ(designer.controls().size(), all.size() - 6);
  // One of a control array, through the Edit menu.
  designer.SetSelected({list});
  Run(window_->EditMenu(), "&Remove");
  EXPECT_EQ(designer.Control(u"lstGrid", 2), nullptr);
  ASSERT_NE(designer.Control(u"lstGrid", 3), nullptr);
  ASSERT_TRUE(window_->Save());

  auto expected = WithoutBlock(LinesOf(source), "Begin VB.Frame fraSearchNum ");
  expected = WithoutBlock(expected, "Begin VB.CommandButton cmdClose ");
  expected = WithoutBlock(expected, "Begin VB.ListBox lstGrid ");  // the first lstGrid block is Index 2
  const auto saved = LinesOf(ReadFile(File("frmWindowFind.frm")));
  ASSERT_EQ(saved.size(), expected.size());
  std::vector<int> tabs;
  for (size_t i = 0; i < saved.size(); ++i) {
    if (saved[i].find(" TabIndex ") == std::string::npos) {
      EXPECT_EQ(saved[i], expected[i]);
      continue;
    }
    tabs.push_back(TabOf(saved[i]));
    EXPECT_LE(tabs.back(), TabOf(expected[i]));
  }
  std::vector<int> order(tabs.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  std::sort(tabs.begin(), tabs.end());
  EXPECT_EQ(tabs, order);
}

// Copy and paste within a form: a taken name asks VB's question; Yes makes
// a control array, No a new default name; a name an array has takes its
// next index without asking. Each paste is one undoable step.
TEST_F(DesignerEditTest, PasteAsksForAControlArrayWhenTheNameIsTaken) {
  auto& designer = *canvas_->component()->designer();
  const auto button = designer.Control(u"cmdClose");
  const struct {
    bool yes;
    std::vector<std::pair<std::u16string, int>> after;  // names and indexes of the two, then a third paste's
  } cases[] = {
      {true, {{u"cmdClose", 0}, {u"cmdClose", 1}, {u"cmdClose", 2}}},
      {false, {{u"cmdClose", -1}, {u"Command1", -1}, {u"Command2", -1}}},
  };
  for (const auto& c : cases) {
    std::vector<QString> asked;
    window_->ask_array = [&](const QString& q) {
      asked.push_back(q);
      return c.yes;
    };
    designer.SetSelected({button});
    canvas_->setFocus();
    QTest::keyClick(canvas_, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(canvas_, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("You already have a control named 'cmdClose'. Do you want to create a control array?"));
    ASSERT_EQ(designer.selected().size(), 1u);
    const auto pasted = designer.selected()[0];
    EXPECT_NE(pasted, button);
    EXPECT_EQ(TextOf(*pasted, u"Caption"), TextOf(*button, u"Caption"));
    EXPECT_EQ(Num(*pasted, u"Left"), 0);
    EXPECT_EQ(Num(*pasted, u"Top"), 0);
    EXPECT_EQ(std::make_pair(button->name(), button->index()), c.after[0]);
    EXPECT_EQ(std::make_pair(pasted->name(), pasted->index()), c.after[1]);
    QTest::keyClick(canvas_, Qt::Key_V, Qt::ControlModifier);
    const auto third = designer.selected()[0];
    EXPECT_EQ(std::make_pair(third->name(), third->index()), c.after[2]);
    EXPECT_EQ(asked.size(), c.yes ? 1u : 2u);
    window_->edits().stack().undo();
    window_->edits().stack().undo();
    EXPECT_EQ(button->index(), -1);
    EXPECT_EQ(designer.Control(u"Command1"), nullptr);
    EXPECT_EQ(designer.Control(u"cmdClose", 1), nullptr);
  }
  EXPECT_FALSE(window_->edits().stack().canUndo());
}

// Cut from one form and pasted into another, a picture box keeps its
// properties, its timer and its picture: saved, the target's binary file
// gets the picture's record and the form only the new block.
TEST_F(DesignerEditTest, PasteIntoAnotherFormCarriesThePictureIntoItsBinaryFile) {
  const std::string frm = ReadFile(File("frmWindowFind.frm")), frx = ReadFile(File("frmWindowFind.frx"));
  const std::string aboutFrx = ReadFile(File("frmWindowAbout.frx"));
  FormCanvas* about = window_->ShowForm(u"frmWindowAbout");
  ASSERT_NE(about, nullptr);
  auto& from = *about->component()->designer();
  const auto picture = from.Control(u"picMain");
  ASSERT_TRUE(picture);
  from.SetSelected({picture});
  Run(window_->EditMenu(), "Cu&t");
  EXPECT_EQ(from.Control(u"picMain"), nullptr);
  EXPECT_EQ(from.Control(u"tmrMain"), nullptr);
  window_->ShowForm(u"frmWindowFind");
  auto& to = *canvas_->component()->designer();
  to.SetSelected({});
  Run(window_->EditMenu(), "&Paste");
  const auto pasted = to.Control(u"picMain");
  ASSERT_TRUE(pasted);
  ASSERT_NE(to.Control(u"tmrMain"), nullptr);
  EXPECT_EQ(to.Control(u"tmrMain")->parent(), pasted);
  EXPECT_EQ(to.selected(), (std::vector<std::shared_ptr<host::MemControl>>{pasted}));
  EXPECT_EQ(pasted->GetFont()->values().size, 12);
  EXPECT_FALSE(canvas_->frx().Picture(Utf16Of(*pasted, u"Picture")).isNull());
  ASSERT_TRUE(window_->Save());

  // The form: its own lines and the new block before its End.
  const auto saved = LinesOf(ReadFile(File("frmWindowFind.frm")));
  EXPECT_EQ(WithoutBlock(saved, "   Begin VB.PictureBox picMain "), LinesOf(frm));
  // The binary file: its own bytes, then the picture's record.
  const std::string grown = ReadFile(File("frmWindowFind.frx"));
  ASSERT_GT(grown.size(), frx.size());
  EXPECT_EQ(grown.substr(0, frx.size()), frx);
  const size_t at = 0x8CA;
  const size_t record = 4 + (uint8_t(aboutFrx[at]) | uint8_t(aboutFrx[at + 1]) << 8 | uint8_t(aboutFrx[at + 2]) << 16);
  EXPECT_EQ(grown.substr(frx.size()), aboutFrx.substr(at, record));
  char ref[64];
  std::snprintf(ref, sizeof ref, "Picture         =   \"frmWindowFind.frx\":%04zX", frx.size());
  bool found = false;
  for (const auto& line : saved) found = found || line.find(ref) != std::string::npos;
  EXPECT_TRUE(found) << ref;
  // The model names the written file now; the view still draws it.
  EXPECT_EQ(Utf16Of(*pasted, u"Picture").find(u"frmWindowFind.frx"), 1u);
  EXPECT_FALSE(canvas_->frx().Picture(Utf16Of(*pasted, u"Picture")).isNull());
  // The source form lost its block, its binary file is as it was.
  const std::string aboutSource = ReadFile(fs::path(TARNO_CORPUS_DIR) / "dtinth__UCN-BMSE/BMSE/frmWindowAbout.frm");
  EXPECT_EQ(LinesOf(ReadFile(File("frmWindowAbout.frm"))), WithoutBlock(LinesOf(aboutSource), "Begin VB.PictureBox picMain "));
  EXPECT_EQ(ReadFile(File("frmWindowAbout.frx")), aboutFrx);
}

// With several controls selected the Properties window lists what they all
// have (not their names), a value where they agree, and sets an edit on all
// of them as one step; a picture comes from its file dialog.
TEST_F(DesignerEditTest, SeveralSelectedShareTheirPropertiesAndAPictureComesFromAFile) {
  auto& designer = *canvas_->component()->designer();
  auto label = designer.Control(u"lblNum");
  ASSERT_TRUE(label);
  designer.SetSelected({buttons_[0], buttons_[1], label});
  window_->ShowProperties();
  PropertiesWindow* props = window_->properties();
  props->Refresh();
  const QStringList listed = props->Listed();
  EXPECT_FALSE(listed.contains(QStringLiteral("(Name)")));
  EXPECT_FALSE(listed.contains(QStringLiteral("Default")));  // a button's, not a label's
  EXPECT_TRUE(listed.contains(QStringLiteral("Caption")));
  EXPECT_EQ(props->ValueText(QStringLiteral("Caption")), QString());  // they differ
  EXPECT_EQ(props->ValueText(QStringLiteral("Enabled")), QStringLiteral("True"));
  ASSERT_TRUE(props->Edit(QStringLiteral("Caption"), QStringLiteral("Same")));
  for (const auto& c : designer.selected()) EXPECT_EQ(TextOf(*c, u"Caption"), QStringLiteral("Same"));
  EXPECT_EQ(props->ValueText(QStringLiteral("Caption")), QStringLiteral("Same"));
  window_->edits().stack().undo();
  EXPECT_NE(TextOf(*label, u"Caption"), QStringLiteral("Same"));
  EXPECT_NE(TextOf(*buttons_[0], u"Caption"), QStringLiteral("Same"));

  // A button's picture from a file: refused when it is no picture, then a bitmap.
  designer.SetSelected({buttons_[0]});
  props->Refresh();
  const std::string source = ReadFile(File("frmWindowFind.frm")), frx = ReadFile(File("frmWindowFind.frx"));
  const QString bad = QString::fromStdString((root_ / "notes.txt").string());
  const QString good = QString::fromStdString((root_ / "red.bmp").string());
  WriteFile(root_ / "notes.txt", "not a picture");
  QImage red(8, 8, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(good, "BMP"));
  QString asked;
  props->ask_picture = [&](const QString& property) {
    asked = property;
    return asked == QStringLiteral("Picture") && warnings_.empty() ? bad : good;
  };
  QTreeWidgetItem* row = props->list()->findItems(QStringLiteral("Picture"), Qt::MatchExactly).value(0);
  ASSERT_NE(row, nullptr);
  props->list()->editItem(row, 1);
  auto* ellipsis = props->list()->findChild<QToolButton*>(QStringLiteral("ellipsis"));
  ASSERT_NE(ellipsis, nullptr);
  ellipsis->click();
  QTest::qWait(50);
  EXPECT_EQ(asked, QStringLiteral("Picture"));
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(warnings_[0].contains(QStringLiteral("notes.txt")));
  EXPECT_FALSE(buttons_[0]->IsChanged(u"Picture"));
  Q_EMIT props->list()->itemDoubleClicked(row, 1);
  EXPECT_EQ(props->ValueText(QStringLiteral("Picture")), QStringLiteral("(Bitmap)"));
  EXPECT_EQ(canvas_->frx().Picture(Utf16Of(*buttons_[0], u"Picture")).pixelColor(1, 1), QColor(Qt::red));
  canvas_->CopySelection();  // copied while the designer holds the picture
  ASSERT_TRUE(window_->Save());
  const std::string bmp = ReadFile(root_ / "red.bmp");
  std::string record(12, '\0');
  const uint32_t sizes[] = {uint32_t(bmp.size() + 8), 0x746C, uint32_t(bmp.size())};
  for (int k = 0; k < 3; ++k)
    for (int b = 0; b < 4; ++b) record[size_t(4 * k + b)] = char(sizes[k] >> (8 * b));
  EXPECT_EQ(ReadFile(File("frmWindowFind.frx")), frx + record + bmp);
  // Only the picture's line is new in the form.
  auto before = LinesOf(source), after = LinesOf(ReadFile(File("frmWindowFind.frm")));
  ASSERT_EQ(after.size(), before.size() + 1);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  std::vector<std::string> added;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
  ASSERT_EQ(added.size(), 1u);
  char ref[64];
  std::snprintf(ref, sizeof ref, "Picture         =   \"frmWindowFind.frx\":%04zX", frx.size());
  EXPECT_NE(added[0].find(ref), std::string::npos) << added[0];
  // Pasted after the save moved the held picture into the file, the copy
  // still carries its bytes.
  window_->ask_array = [](const QString&) { return false; };
  canvas_->Paste();
  ASSERT_EQ(designer.selected().size(), 1u);
  EXPECT_EQ(canvas_->frx().Picture(Utf16Of(*designer.selected()[0], u"Picture")).pixelColor(1, 1), QColor(Qt::red));
  ASSERT_TRUE(window_->Save());
  const std::string twice = ReadFile(File("frmWindowFind.frx"));
  EXPECT_EQ(twice, frx + record + bmp + record + bmp);
  EXPECT_EQ(canvas_->frx().Picture(Utf16Of(*designer.selected()[0], u"Picture")).pixelColor(1, 1), QColor(Qt::red));
}

}  // namespace
}  // namespace tarno::workbench::test
