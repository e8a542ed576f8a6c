#include "gui/gallery.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>

#include "addin/addin_globals.h"
#include "addin/connect/frm_image.h"
#include "addin/connect/frm_title.h"
#include "addin/settings.h"
#include "checks/check_windows.h"
#include "codegen/frm_comment.h"
#include "codegen/frm_err_comment.h"
#include "codegen/frm_err_input.h"
#include "codegen/frm_main.h"
#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::gui {

namespace {

using vb::U;

template <class F>
std::unique_ptr<ui::Form> Shown() {
  auto f = std::make_unique<F>();
  f->Show();
  return f;
}

std::shared_ptr<ide::VBProject> FirstProject() {
  if (!HostVBE || HostVBE->VBProjects()->Count() < 1) throw std::runtime_error("no sample project");
  return HostVBE->VBProjects()->Item(1);
}

std::unique_ptr<ui::Form> VariableResults() {
  auto& result = checks::CurrentVariableCheckResult();
  result = std::make_unique<checks::VariableCheckResult>();
  auto project = FirstProject();
  result->projectName = project->Name();
  checks::CheckProjectVariables(*project, *result);
  auto f = std::make_unique<checks::frmKekka>();
  f->Show();
  result.reset();
  return f;
}

std::unique_ptr<ui::Form> ProcedureResults() {
  auto project = FirstProject();
  checks::ProcedureCheckResult result;
  checks::CheckProjectProcedures(*project, result);
  auto f = std::make_unique<checks::frmProcFindKekka>();
  f->Init(project->Name(), result);
  return f;
}

}  // namespace

// One line a window.
const std::vector<GalleryWindow>& GalleryWindows() {
  static const std::vector<GalleryWindow> windows = {
      {"frmTitle", Shown<frmTitle>},
      {"frmImage", Shown<frmImage>},
      {"frmMain", Shown<codegen::frmMain>},
      {"frmTeikei", Shown<codegen::frmTeikei>},
      {"frmComment", Shown<codegen::frmComment>},
      {"frmErrInput", Shown<codegen::frmErrInput>},
      {"frmErrComment", Shown<codegen::frmErrComment>},
      {"frmHensuFind", Shown<checks::frmHensuFind>},
      {"frmProcFind", Shown<checks::frmProcFind>},
      {"frmKekka", VariableResults},
      {"frmProcFindKekka", ProcedureResults},
  };
  return windows;
}

const GalleryWindow* FindGalleryWindow(const std::string& name) {
  for (const GalleryWindow& w : GalleryWindows())
    if (w.name == name) return &w;
  return nullptr;
}

std::filesystem::path DefaultSampleProject() { return TARNO_SAMPLE_PROJECT; }

GallerySample::GallerySample(const std::filesystem::path& project)
    : workspace_(host::files::LoadPath(project, host::files::LoadOptions{})) {
  ResetSettings();
  SettingsModel& s = Settings();
  s.CommentTexts[0] = U("'作成者：山田 太郎\r\n'作成日：2026/12/08");
  s.CommentTexts[1] = U("'修正：障害対応 #128");
  s.CommentTexts[2] = U("'TODO: 後で見直す");
  s.CurrentCommentNo = 0;
  s.ErrExitFlag = u"1";
  s.ErrHeaderLabel = u"Err_Handler";
  s.ErrFooterText = U("MsgBox Err.Description, vbExclamation, \"エラー\"");
  const char* names[] = {"入力欄（標準）", "見出しラベル", "実行ボタン"};
  for (int16_t i = 0; i < 3; ++i) {
    auto style = std::make_shared<clsCotrolStyle>();
    style->SetPatrnName(U(names[i]));
    style->SetCType(i);
    style->SetCaption(i == 2 ? U("実行") : U("見出し"));
    style->SetFont(u"ＭＳ ゴシック");
    s.PatternCollection.Add(style);
  }
  s.PatternCount = s.PatternCollection.Count();
  s.CurrentPatternNo = 1;
  s.LoadCompleted = true;
  HostVBE = workspace_.vbe;
}

GallerySample::~GallerySample() {
  HostVBE.reset();
  checks::CurrentVariableCheckResult().reset();
  ResetSettings();
}

QImage DrawWindow(FormView& view) {
  QApplication::processEvents();
  QImage client = view.grab().toImage();
  const ui::Form& f = view.form();
  if (f.BorderStyle() == 0) return client;
  const int border = 3, bar = 22;
  QImage out(client.width() + 2 * border, client.height() + bar + 2 * border, QImage::Format_ARGB32);
  out.fill(view.palette().color(QPalette::Window));
  QPainter p(&out);
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.drawRect(out.rect().adjusted(0, 0, -1, -1));
  QRect title(border, border, client.width(), bar);
  QLinearGradient g(title.topLeft(), title.topRight());
  g.setColorAt(0, QColor(0x0A, 0x24, 0x6A));
  g.setColorAt(1, QColor(0xA6, 0xCA, 0xF0));
  p.fillRect(title, g);
  QFont font = ToQFont(ui::StdFont{});
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(title.adjusted(6, 0, -30, 0), Qt::AlignVCenter | Qt::AlignLeft, ToQ(f.Caption()));
  if (f.ControlBox()) {
    QRect close(title.right() - 19, title.top() + 3, 16, 15);
    p.fillRect(close, view.palette().color(QPalette::Button));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(close.topLeft() + QPoint(4, 4), close.bottomRight() - QPoint(4, 4));
    p.drawLine(close.topRight() + QPoint(-4, 4), close.bottomLeft() + QPoint(4, -4));
  }
  p.drawImage(border, border + bar, client);
  return out;
}

std::string Inspect(Desktop& desktop, const GalleryWindow& window, const std::function<void(FormView&)>& inspect) {
  bool seen = false;
  std::string error;
  desktop.SetModalHook([&](ui::Form& form) {
    if (!seen && vb::ToUtf8(form.Name()) == window.name)
      if (FormView* v = desktop.ViewOf(form)) {
        seen = true;
        inspect(*v);
      }
    form.Hide();
  });
  std::unique_ptr<ui::Form> form;
  try {
    form = window.open();
    desktop.Sync();
    if (!seen && form)
      if (FormView* v = desktop.ViewOf(*form)) {
        seen = true;
        inspect(*v);
      }
    if (!seen) error = "the window did not show";
  } catch (const std::exception& e) {
    error = e.what();
  }
  desktop.SetModalHook(nullptr);
  if (form) form->Unload();
  form.reset();
  desktop.Sync();
  return error;
}

GalleryShot Capture(Desktop& desktop, const GalleryWindow& window) {
  GalleryShot shot{window.name, {}, {}};
  shot.error = Inspect(desktop, window, [&](FormView& v) { shot.image = DrawWindow(v); });
  return shot;
}

std::vector<GalleryShot> WriteGallery(Desktop& desktop, const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::vector<GalleryShot> shots;
  for (const GalleryWindow& w : GalleryWindows()) {
    GalleryShot shot = Capture(desktop, w);
    if (!shot.image.isNull()) {
      std::filesystem::path target = dir / (w.name + ".png");
      std::filesystem::path temp = dir / (w.name + ".png.tmp");
      if (!shot.image.save(QString::fromStdString(temp.string()), "PNG")) {
        shot.error = "cannot write " + temp.string();
      } else {
        std::filesystem::rename(temp, target);
      }
    }
    shots.push_back(std::move(shot));
  }
  return shots;
}

}  // namespace tarno::gui
