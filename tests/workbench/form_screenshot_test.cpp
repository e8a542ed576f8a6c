// Form views of real forms, each compared with the picture a person looked at
// and checked in (tests/workbench/expected/). The forms are chosen for what
// the designer must draw: pixel-mode forms and containers, menu bars,
// pictures and icons from the .frx, colours, tab strips (one switched in the
// view), frames and picture boxes, graphical buttons, list items, Japanese
// and Western fonts. TARNO_UPDATE_EXPECTED=1 writes the pictures instead.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "host/controls.h"
#include "platform/vb_text.h"
#include "workbench/designer_frame.h"
#include "workbench/form_canvas.h"
#include "workbench/main_window.h"

namespace tarno::workbench::test {
namespace {

namespace fs = std::filesystem;

struct Shot {
  const char* name;      // the expected picture: expected/<name>.png
  const char* project;   // in the corpus
  const char* code_page;
  const char16_t* form;
  const char16_t* tab_strip = nullptr;  // shown on another tab than its own
  int tab = 0;
};

const Shot kShots[] = {
    {"bmse_main", "dtinth__UCN-BMSE/BMSE/BMSE.vbp", "CP932", u"frmMain"},
    {"bmse_about", "dtinth__UCN-BMSE/BMSE/BMSE.vbp", "CP932", u"frmWindowAbout"},
    {"bmse_find", "dtinth__UCN-BMSE/BMSE/BMSE.vbp", "CP932", u"frmWindowFind"},
    {"photodemon_brightness", "tannerhelland__PhotoDemon/PhotoDemon.vbp", "CP1252", u"FormBrightnessContrast"},
    {"photodemon_main", "tannerhelland__PhotoDemon/PhotoDemon.vbp", "CP1252", u"FormMain"},
    {"sales_about", "RizkyKhapidsyah__Sales-Transaction-Inventory-Control_v1.0__VB6/jawad.vbp", "CP1252", u"frmAbout"},
    {"sales_login", "RizkyKhapidsyah__Sales-Transaction-Inventory-Control_v1.0__VB6/jawad.vbp", "CP1252", u"frmlogin"},
    {"map_editor", "tannerhelland__vb6-code/Map-editor-2D/Map Editor.vbp", "CP1252", u"Main"},
    {"scanner", "tannerhelland__vb6-code/Scanner-TWAIN/VB_Scanner_Support.vbp", "CP1252", u"frmScanner"},
    {"kbasic_tab0", "akinomyoga__vb6programs/src/KBasic/KBasicTest.vbp", "CP932", u"KBasicForm"},
    {"kbasic_tab2", "akinomyoga__vb6programs/src/KBasic/KBasicTest.vbp", "CP932", u"KBasicForm", u"SSTab1", 2},
    {"sstabex_test", "EduardoVB__SSTabEx/test project/Test.vbp", "CP1252", u"frmTest"},
    {"signal_shapes", "akinomyoga__vb6programs/src/信号.vbp", "CP932", u"Form1"},
};

fs::path ExpectedDir() { return fs::path(TARNO_SOURCE_DIR) / "tests" / "workbench" / "expected"; }

// Pixels whose channels differ by more than a little (anti-aliasing and
// font rasteriser versions differ from machine to machine).
double DifferentShare(const QImage& a, const QImage& b) {
  long different = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 || std::abs(qBlue(p) - qBlue(q)) > 48)
        ++different;
    }
  return static_cast<double>(different) / (static_cast<double>(a.width()) * a.height());
}

class FormScreenshotTest : public ::testing::TestWithParam<Shot> {
 protected:
  void SetUp() override {
    // No add-in is listed: the corpus is only read.
    std::string tmpl = (fs::temp_directory_path() / "tarno-shots-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    for (const char* d : {"windows", "system", "addin"}) fs::create_directories(root_ / d);
    setenv("TARNO_WINDOWS_DIR", (root_ / "windows").c_str(), 1);
    setenv("TARNO_SYSTEM_DIR", (root_ / "system").c_str(), 1);
    setenv("TARNO_ADDIN_DIR", (root_ / "addin").c_str(), 1);
  }
  void TearDown() override {
    window_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path root_;
  std::unique_ptr<MainWindow> window_;
};

TEST_P(FormScreenshotTest, LooksAsTheCheckedInPicture) {
  const Shot& shot = GetParam();
  WorkbenchOptions options;
  options.code_page = CodePage::Named(shot.code_page);
  options.remember_recent = false;
  window_ = std::make_unique<MainWindow>(options);
  ASSERT_TRUE(window_->OpenPath(fs::path(TARNO_CORPUS_DIR) / shot.project));
  window_->show();
  FormCanvas* canvas = window_->ShowForm(shot.form);
  ASSERT_NE(canvas, nullptr);
  if (shot.tab_strip) {
    auto tabs = canvas->component()->designer()->Control(shot.tab_strip);
    ASSERT_NE(tabs, nullptr);
    canvas->ClickAt(canvas->RectOf(*tabs).topLeft() + QPoint(1, 1), false);  // selects it
    // A click on the tab's caption switches the view to it; the form keeps its Tab.
    const QRect strip = canvas->RectOf(*tabs);
    for (int x = strip.left(); x < strip.right(); x += 4)
      if (canvas->TabAt(*tabs, QPoint(x, strip.top() + 5)) == shot.tab) {
        canvas->ClickAt(QPoint(x + 2, strip.top() + 5), false);
        break;
      }
    EXPECT_EQ(canvas->ShownTab(*tabs), shot.tab);
    EXPECT_FALSE(canvas->component()->dirty());
    canvas->component()->designer()->SetSelected({});
  }
  auto* frame = static_cast<DesignerFrame*>(canvas->parentWidget());
  QApplication::processEvents();
  const QImage image = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const fs::path expected = ExpectedDir() / (std::string(shot.name) + ".png");
  if (std::getenv("TARNO_UPDATE_EXPECTED")) {
    fs::create_directories(ExpectedDir());
    ASSERT_TRUE(image.save(QString::fromStdString(expected.string())));
    return;
  }
  QImage want(QString::fromStdString(expected.string()));
  ASSERT_FALSE(want.isNull()) << expected;
  want = want.convertToFormat(QImage::Format_RGB32);
  const fs::path actual = fs::temp_directory_path() / (std::string("tarno-shot-") + shot.name + ".png");
  ASSERT_EQ(image.size(), want.size()) << "picture written to " << actual
                                       << (image.save(QString::fromStdString(actual.string())) ? "" : " (failed)");
  const double share = DifferentShare(image, want);
  EXPECT_LE(share, 0.02) << "picture written to " << actual
                         << (image.save(QString::fromStdString(actual.string())) ? "" : " (failed)");
}

INSTANTIATE_TEST_SUITE_P(CorpusForms, FormScreenshotTest, ::testing::ValuesIn(kShots),
                         [](const ::testing::TestParamInfo<Shot>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tarno::workbench::test
