// Form views of corpus forms: a tab strip shows the controls of its current
// tab only, as the designer does; lines and shapes are drawn where they are
// and can be clicked.
#include <QImage>

#include "gui/classic_colours.h"
#include "gui/qt_convert.h"
#include "host/controls.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

std::shared_ptr<host::MemControl> Named(FormCanvas& canvas, const std::u16string& name) {
  for (const auto& c : canvas.component()->designer()->controls())
    if (c->name() == name) return c;
  return nullptr;
}

std::u16string TextOf(const host::MemControl& c, const std::u16string& property) {
  auto v = c.Get(property);
  const auto* s = v ? std::get_if<std::u16string>(&*v) : nullptr;
  return s ? *s : std::u16string();
}

double NumberOf(const host::MemControl& c, const std::u16string& property) {
  auto v = c.Get(property);
  if (!v) return 0;
  return std::visit([](const auto& x) -> double {
    if constexpr (std::is_arithmetic_v<std::decay_t<decltype(x)>>) return static_cast<double>(x);
    else return 0;
  }, *v);
}

// True when a pixel within `reach` of p has the colour.
bool ColourNear(const QImage& image, QPoint p, QColor colour, int reach = 1) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (image.pixelColor(p + QPoint(dx, dy)).rgb() == colour.rgb()) return true;
  return false;
}

class TabStripViewTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    project_dir_ = "akinomyoga__vb6programs/src/KBasic";
    project_ = "KBasicTest.vbp";
    Prepare("");
  }
};

TEST_F(TabStripViewTest, OnlyTheCurrentTabsControlsAreShown) {
  FormCanvas* canvas = window_->ShowForm(u"KBasicForm");
  ASSERT_NE(canvas, nullptr);
  auto tabs = Named(*canvas, u"SSTab1");
  ASSERT_NE(tabs, nullptr);
  // The form file lists each tab's controls; tab 0 is the current one.
  std::vector<std::u16string> onCurrent;
  const int count = static_cast<int>(NumberOf(*tabs, u"Tab(0).ControlCount"));
  for (int i = 0; i < count; ++i) onCurrent.push_back(TextOf(*tabs, u"Tab(0).Control(" + vb::FromInt(i) + u")"));
  ASSERT_FALSE(onCurrent.empty());
  int shown = 0, hidden = 0;
  for (const auto& c : canvas->component()->designer()->controls()) {
    if (c->parent() != tabs) continue;
    std::u16string listed = c->name();
    if (c->index() >= 0) listed += u"(" + vb::FromInt(c->index()) + u")";
    const bool current = std::find(onCurrent.begin(), onCurrent.end(), listed) != onCurrent.end();
    EXPECT_EQ(canvas->Shown(*c), current) << vb::ToUtf8(listed);
    (current ? shown : hidden) += 1;
  }
  EXPECT_GT(shown, 0);
  EXPECT_GT(hidden, 0);
  // What a frame holds goes with the frame: hidden on another tab, shown on the current one.
  auto& designer = *canvas->component()->designer();
  for (float left : {-74000.0f, 120.0f}) {
    auto frame = designer.AddControl(u"VB.Frame", u"fraOn" + vb::FromInt(static_cast<long long>(left)), tabs);
    frame->Set(u"Left", ide::Variant(left));
    auto inner = designer.AddControl(u"VB.CommandButton", u"cmdIn" + vb::FromInt(static_cast<long long>(left)), frame);
    inner->Set(u"Left", ide::Variant(60.0f));
    EXPECT_EQ(canvas->Shown(*inner), left > 0);
    EXPECT_EQ(canvas->Shown(*frame), left > 0);
  }
}

class UserControlViewTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    project_dir_ = "akinomyoga__vb6programs/src/lifegames";
    project_ = "life4.vbp";
    Prepare("");
  }
};

// A user control whose .ctl the project has is drawn as its own designer
// shows it (here a label, a right-aligned text box "0" and an up-down box),
// in place of the labelled box other ActiveX controls get; the instance is
// still what a click there selects.
TEST_F(UserControlViewTest, AUserControlIsDrawnWithItsOwnDesigner) {
  FormCanvas* canvas = window_->ShowForm(u"Form1");
  ASSERT_NE(canvas, nullptr);
  auto& designer = *canvas->component()->designer();
  const auto spin = designer.Control(u"spintext1", 1);
  ASSERT_NE(spin, nullptr);
  ASSERT_NE(canvas->UserControlOf(*spin), nullptr);
  canvas->resize(canvas->sizeHint());
  const QImage image = canvas->grab().toImage();
  const QRect r = canvas->RectOf(*spin);
  // SpinText's Text1: Left 360, Top 0, 975 x 270 twips; white inside its border,
  // with its "0" drawn at the right end.
  const QRect text(r.left() + 24, r.top(), 65, 18);
  EXPECT_EQ(image.pixelColor(text.left() + 10, text.center().y()), QColor(Qt::white));
  int dark = 0;
  for (int x = text.right() - 12; x < text.right() - 2; ++x)
    for (int y = text.top() + 3; y < text.bottom() - 2; ++y) dark += image.pixelColor(x, y).lightness() < 100;
  EXPECT_GT(dark, 3);
  EXPECT_EQ(canvas->ControlAt(text.center()), spin);
  // Without the .ctl it is the labelled box again.
  auto project = window_->vbe()->projects()[0];
  project->RemoveComponent(project->Component(u"SpinText"));
  EXPECT_EQ(canvas->UserControlOf(*spin), nullptr);
  const QImage plain = canvas->grab().toImage();
  EXPECT_NE(plain.pixelColor(text.left() + 10, text.center().y()), QColor(Qt::white));
}

TEST_F(WorkbenchTest, LinesAreDrawnAndClickedWhereTheyLie) {
  FormCanvas* canvas = window_->ShowForm(u"frmMain");
  ASSERT_NE(canvas, nullptr);
  canvas->resize(canvas->sizeHint());
  const QImage image = canvas->grab().toImage();
  int lines = 0, checked = 0;
  for (const auto& c : canvas->component()->designer()->controls()) {
    if (c->ClassName() != u"Line") continue;
    ++lines;
    const QLineF l = canvas->LineOf(*c);
    const QPoint mid = l.center().toPoint();
    const auto hit = canvas->ControlAt(mid);
    if (hit != c) continue;  // under a control drawn above it
    ++checked;
    // A click on the line selects it; one a few pixels beside it does not.
    const QPoint beside = mid + (l.dx() == 0 ? QPoint(6, 0) : QPoint(0, 6));
    EXPECT_NE(canvas->ControlAt(beside), c) << vb::ToUtf8(c->name());
    const auto colour = static_cast<int32_t>(static_cast<int64_t>(NumberOf(*c, u"BorderColor")));
    EXPECT_TRUE(ColourNear(image, mid, gui::ClassicColor(colour))) << vb::ToUtf8(c->name());
  }
  EXPECT_GE(lines, 5);
  EXPECT_GE(checked, 2);
}

class ShapeViewTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    project_dir_ = "akinomyoga__vb6programs/src";
    project_ = "信号.vbp";
    Prepare("");
  }
};

TEST_F(ShapeViewTest, ShapesAreDrawnWithTheirOutlineAndFill) {
  FormCanvas* canvas = window_->ShowForm(u"Form1");
  ASSERT_NE(canvas, nullptr);
  canvas->resize(canvas->sizeHint());
  const QImage image = canvas->grab().toImage();
  // The form's own colour shows where nothing is drawn.
  const QColor black(0, 0, 0);
  const QColor face = gui::ClassicColor(static_cast<int32_t>(NumberOf(*canvas->component()->designer()->form(), u"BackColor")));
  // Shape4: a filled circle (solid fill, black); its bounding box's corner lies outside it.
  const QRect circle = canvas->RectOf(*Named(*canvas, u"Shape4"));
  EXPECT_TRUE(ColourNear(image, circle.center(), black, 0));
  EXPECT_FALSE(ColourNear(image, circle.topLeft() + QPoint(1, 1), black, 0));
  // Shape2: a rectangle with a transparent fill: outlined, the form shows inside.
  const QRect box = canvas->RectOf(*Named(*canvas, u"Shape2"));
  EXPECT_TRUE(ColourNear(image, QPoint(box.left(), box.center().y() + 3), black, 0));
  EXPECT_TRUE(ColourNear(image, QPoint(box.left() + 3, box.bottom() - 3), face, 0));
  EXPECT_EQ(canvas->ControlAt(box.topLeft() + QPoint(3, 3)), Named(*canvas, u"Shape2"));
}

}  // namespace
}  // namespace tarno::workbench::test
