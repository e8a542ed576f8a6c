// Every window of the gallery on screen: it renders, its picture is not
// blank, and every control has its widget where the form puts it.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "controls/frm_contorol.h"
#include "controls/frm_tab_index.h"
#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/gallery.h"
#include "patterns/frm_code_patrn.h"
#include "platform/vb_text.h"

namespace tarno::gui {
namespace {

namespace fs = std::filesystem;

class GalleryTest : public ::testing::Test {
 protected:
  Desktop desktop_;
  GallerySample sample_{DefaultSampleProject()};
};

int DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

TEST_F(GalleryTest, EveryWindowWritesAPictureThatIsNotBlank) {
  fs::path dir = fs::temp_directory_path() / ("tarno_gallery_" + std::to_string(::getpid()));
  auto shots = WriteGallery(desktop_, dir);
  ASSERT_EQ(shots.size(), GalleryWindows().size());
  for (const GalleryShot& shot : shots) {
    SCOPED_TRACE(shot.name);
    EXPECT_EQ(shot.error, "");
    QImage png(QString::fromStdString((dir / (shot.name + ".png")).string()));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), shot.image.size());
    // Text, borders and a background at the least.
    EXPECT_GE(DistinctColours(png), 8);
  }
  EXPECT_FALSE(fs::exists(dir / "frmMain.png.tmp"));
  fs::remove_all(dir);
}

TEST_F(GalleryTest, PicturesHaveTheFormsSizeAndACaptionBar) {
  // frmMain is 7200 x 5400 twips: a 470 x 332 pixel client area at 96 DPI
  // under the drawn caption bar and borders.
  GalleryShot shot = Capture(desktop_, *FindGalleryWindow("frmMain"));
  ASSERT_EQ(shot.error, "");
  EXPECT_EQ(shot.image.width(), desktop_.Pixels(7200 - 120) + 6);
  EXPECT_EQ(shot.image.height(), desktop_.Pixels(5400 - 420) + 22 + 6);
  // The borderless splash is drawn as it is.
  GalleryShot splash = Capture(desktop_, *FindGalleryWindow("frmTitle"));
  EXPECT_EQ(splash.image.size(), QSize(desktop_.Pixels(4800), desktop_.Pixels(2400)));
}

TEST_F(GalleryTest, EveryControlHasAWidgetAtItsGeometry) {
  const std::set<std::string> windowless = {"Timer", "ImageList", "CommonDialog"};
  for (const GalleryWindow& w : GalleryWindows()) {
    SCOPED_TRACE(w.name);
    int checked = 0;
    std::string error = Inspect(desktop_, w, [&](FormView& view) {
      EXPECT_EQ(view.windowTitle().toStdU16String(), view.form().Caption());
      EXPECT_TRUE(view.isVisible());
      for (ui::Control* c : view.form().Controls()) {
        SCOPED_TRACE(vb::ToUtf8(c->DisplayName()));
        QWidget* widget = view.WidgetOf(*c);
        if (windowless.count(c->Kind())) {
          EXPECT_EQ(widget, nullptr);
          continue;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), QRect(desktop_.Pixels(c->Left()), desktop_.Pixels(c->Top()),
                                            desktop_.Pixels(c->Width()), desktop_.Pixels(c->Height())));
        QWidget* container = c->Container() ? view.WidgetOf(*c->Container()) : &view;
        EXPECT_EQ(widget->parentWidget(), container);
        EXPECT_EQ(widget->isVisible(), c->EffectivelyVisible());
        EXPECT_EQ(widget->isEnabled(), c->EffectivelyEnabled());
        EXPECT_EQ(widget->toolTip().toStdU16String(), c->ToolTipText());
        ++checked;
      }
    });
    EXPECT_EQ(error, "");
    EXPECT_GT(checked, 0);
  }
}

// The window classes declared in the tools' headers.
std::set<std::string> WindowClassesInTheTree() {
  static const std::regex declaration(R"(^class (frm\w+)\s*:\s*public\b)");
  std::set<std::string> names;
  for (const char* folder : {"addin", "checks", "codegen", "companion", "controls", "patterns", "project"})
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TARNO_SOURCE_DIR) / folder)) {
      if (entry.path().extension() != ".h") continue;
      std::ifstream in(entry.path());
      std::smatch m;
      for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, m, declaration)) names.insert(m[1]);
    }
  return names;
}

TEST(GalleryTableTest, HoldsEveryWindowClassOfTheTreeOnce) {
  std::set<std::string> listed;
  for (const GalleryWindow& w : GalleryWindows()) EXPECT_TRUE(listed.insert(w.name).second) << w.name;
  std::set<std::string> declared = WindowClassesInTheTree();
  EXPECT_GE(declared.size(), 20u);
  EXPECT_EQ(listed, declared);
}

// The windows working on the host's selection and on the pattern store show
// rows from the sample, not their empty or refusing state.
TEST_F(GalleryTest, ToolWindowsShowTheSamplesFormSelectionAndPatternTree) {
  struct Case {
    const char* window;
    std::function<void(ui::Form&)> check;
  };
  const Case cases[] = {
      // The sample form has nine controls; two labels are selected.
      {"frmTabIndex", [](ui::Form& f) { EXPECT_EQ(dynamic_cast<controls::frmTabIndex&>(f).ListView1.ListItems.Count(), 9); }},
      {"frmIndex", [](ui::Form& f) { EXPECT_EQ(dynamic_cast<controls::frmIndex&>(f).ListView1.ListItems.Count(), 4); }},
      {"frmContorol",
       [](ui::Form& f) {
         auto& w = dynamic_cast<controls::frmContorol&>(f);
         EXPECT_EQ(w.Label5.Caption(), vb::U("現在、選択されているオブジェクト数は2個です"));
         EXPECT_EQ(w.Text2.Text(), u"240");  // both labels' Left
         EXPECT_EQ(w.Text1.Text(), u"");     // their Tops differ
       }},
      // Three folders, four patterns, the first folder opened.
      {"frmCodePatrn",
       [](ui::Form& f) {
         auto& w = dynamic_cast<patterns::frmCodePatrn&>(f);
         EXPECT_EQ(w.TreeView1.Nodes.Count(), 7);
         ASSERT_NE(w.TreeView1.SelectedItem(), nullptr);
         EXPECT_NE(w.TreeView1.SelectedItem()->Parent(), nullptr);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    bool checked = false;
    EXPECT_EQ(Inspect(desktop_, *FindGalleryWindow(c.window), [&](FormView& v) {
                c.check(v.form());
                checked = true;
              }),
              "");
    EXPECT_TRUE(checked);
  }
}

// The sample's pattern tree lives in an add-in folder of its own, gone with
// the sample, and the environment is as it was before.
TEST(GallerySampleTest, KeepsItsPatternsInATemporaryAddinFolderItRemoves) {
  for (const char* before : {"/nonexistent/tarno-addin", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(before ? before : "(unset)");
    if (before)
      ::setenv("TARNO_ADDIN_DIR", before, 1);
    else
      ::unsetenv("TARNO_ADDIN_DIR");
    fs::path dir;
    {
      GallerySample sample(DefaultSampleProject());
      dir = sample.addinDir();
      ASSERT_NE(std::getenv("TARNO_ADDIN_DIR"), nullptr);
      EXPECT_EQ(fs::path(std::getenv("TARNO_ADDIN_DIR")), dir);
      EXPECT_TRUE(fs::is_regular_file(dir / "CodePatrn" / vb::ToUtf8(vb::U("エラー処理")) /
                                      vb::ToUtf8(vb::U("標準エラー処理.Dat"))));
    }
    EXPECT_FALSE(fs::exists(dir));
    const char* after = std::getenv("TARNO_ADDIN_DIR");
    if (before)
      EXPECT_STREQ(after, before);
    else
      EXPECT_EQ(after, nullptr);
  }
}

}  // namespace
}  // namespace tarno::gui
