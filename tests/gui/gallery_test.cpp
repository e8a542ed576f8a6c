// Every window of the gallery on screen: it renders, its picture is not
// blank, and every control has its widget where the form puts it.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <set>

#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/gallery.h"
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

}  // namespace
}  // namespace tarno::gui
