#include "gui/gallery.h"

#include <QApplication>
#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <cstdlib>

#include "addin/addin_globals.h"
#include "addin/connect/frm_image.h"
#include "addin/connect/frm_title.h"
#include "addin/settings.h"
#include "checks/check_windows.h"
#include "codegen/frm_comment.h"
#include "companion/frm_set_up.h"
#include "companion/frm_torikomi.h"
#include "companion/frm_un_inst.h"
#include "codegen/frm_err_comment.h"
#include "codegen/frm_err_input.h"
#include "codegen/frm_main.h"
#include "controls/frm_contorol.h"
#include "controls/frm_contorol_patrn.h"
#include "controls/frm_tab_index.h"
#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "patterns/frm_code_patrn.h"
#include "patterns/frm_code_patrn_add_folder.h"
#include "patterns/frm_code_patrn_input.h"
#include "patterns/pattern_store.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"
#include "project/form_copy.h"
#include "project/frm_copy.h"
#include "project/frm_project.h"

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

const std::u16string kSamplePatternFolder = U("エラー処理");
const std::u16string kSamplePatternFile = U("標準エラー処理.Dat");

// A small pattern tree: two folders with their patterns, one empty folder.
void WriteSamplePatterns() {
  struct Sample {
    const char* folder;
    const char* name;
    const char* code;
  };
  const Sample samples[] = {
      {"エラー処理", "標準エラー処理",
       "On Error GoTo Err_Handler\r\n\r\nExit_Proc:\r\n    Exit Sub\r\n\r\nErr_Handler:\r\n"
       "    MsgBox Err.Description, vbExclamation, \"エラー\"\r\n    Resume Exit_Proc"},
      {"エラー処理", "エラー無視", "On Error Resume Next"},
      {"ファイル操作", "テキスト読込", "Dim intFile As Integer\r\nintFile = FreeFile\r\nOpen strPath For Input As #intFile"},
      {"ファイル操作", "ファイル存在確認", "If Dir$(strPath) = \"\" Then Exit Function"},
  };
  patterns::CreatePatternRoot();
  for (const Sample& s : samples) {
    if (!patterns::PatternFolderExists(U(s.folder))) patterns::CreatePatternFolder(U(s.folder));
    patterns::WritePatternFile(U(s.folder), U(s.name), U(s.code));
  }
  patterns::CreatePatternFolder(U("画面共通"));
}

// The project's first form in its designer, with its two labels selected:
// the control tools work on that selection.
void SelectSampleControls(host::MemVBE& vbe) {
  for (const auto& project : vbe.projects())
    for (const auto& component : project->components()) {
      if (component->type() != ide::ComponentType::VBForm || !component->designer()) continue;
      vbe.ShowDesigner(component);
      std::vector<std::shared_ptr<host::MemControl>> selected;
      for (const auto& c : component->designer()->controls())
        if (c->ClassName() == u"Label") selected.push_back(c);
      component->designer()->SetSelected(std::move(selected));
      return;
    }
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

// The browser with its folders opened and the first pattern selected.
std::unique_ptr<ui::Form> PatternBrowser() {
  auto f = std::make_unique<patterns::frmCodePatrn>();
  f->Show();
  ui::NodeList& nodes = f->TreeView1.Nodes;
  ui::Node* first = nullptr;
  for (int i = 1; i <= nodes.Count(); ++i) {
    ui::Node& node = nodes.Item(i);
    if (node.Parent()) {
      node.Parent()->SetExpanded(true);
      if (!first) first = &node;
    }
  }
  if (first) first->SetSelected(true);
  return f;
}

// The pattern editor on a stored pattern: the window opened to change it.
std::unique_ptr<ui::Form> PatternEditor() {
  auto f = std::make_unique<patterns::frmCodePatrnInput>();
  std::u16string file = kSamplePatternFile;
  f->Init(kSamplePatternFolder, file);
  return f;
}

// The folder name dialog renaming a folder (its name given in).
std::unique_ptr<ui::Form> FolderNameDialog() {
  auto f = std::make_unique<patterns::frmCodePatrnAddFolder>();
  std::u16string name = U("共通処理");
  f->Init(name);
  return f;
}

// The style pattern editor on the current pattern (changing it, not adding).
std::unique_ptr<ui::Form> StylePatternEditor() {
  auto f = std::make_unique<controls::frmContorolPatrnInput>();
  bool stored = false;
  f->Init(1, stored);
  return f;
}

// The auto-save settings as the menu opens them: the timer stopped, so the
// gallery never saves the sample project.
std::unique_ptr<ui::Form> AutoSaveSettings() {
  ProjectToolFromMenu = 1;
  return Shown<project::frmProject>();
}

// Form copy with the sample form chosen and a name for the copy typed in.
std::unique_ptr<ui::Form> FormCopy() {
  auto f = std::make_unique<project::frmCopy>();
  f->Show();
  for (int i = 1; i <= f->ListView1.ListItems.Count(); ++i) {
    ui::ListItem& row = f->ListView1.ListItems.Item(i);
    if (row.SubItems(1) != project::ListedKindText(ide::ComponentType::VBForm)) continue;
    f->ListView1.SetSelectedItem(&row);
    f->ListView1_Click();
    f->Text1.SetText(row.Text() + u"Copy");
    break;
  }
  return f;
}

// The settings import with a saved settings file named.
std::unique_ptr<ui::Form> SettingsImport() {
  auto f = std::make_unique<companion::frmTorikomi>();
  f->Show();
  f->Text1.SetText(U("D:\\バックアップ\\TarnoAddIn.ini"));
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
      {"frmCodePatrn", PatternBrowser},
      {"frmCodePatrnAddFolder", FolderNameDialog},
      {"frmCodePatrnInput", PatternEditor},
      {"frmContorol", Shown<controls::frmContorol>},
      {"frmContorolPatrn", Shown<controls::frmContorolPatrn>},
      {"frmContorolPatrnInput", StylePatternEditor},
      {"frmTabIndex", Shown<controls::frmTabIndex>},
      {"frmIndex", Shown<controls::frmIndex>},
      {"frmProject", AutoSaveSettings},
      {"frmCopy", FormCopy},
      {"frmSetUp", Shown<companion::frmSetUp>},
      {"frmUnInst", Shown<companion::frmUnInst>},
      {"frmTorikomi", SettingsImport},
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
  if (const char* d = std::getenv("TARNO_ADDIN_DIR")) previousAddinDir_ = d;
  std::string dir = (std::filesystem::temp_directory_path() / "tarno_gallery_addin_XXXXXX").string();
  if (!::mkdtemp(dir.data())) throw std::runtime_error("cannot create a folder for the sample patterns");
  addinDir_ = dir;
  ::setenv("TARNO_ADDIN_DIR", dir.c_str(), 1);
  try {
    WriteSamplePatterns();
  } catch (...) {
    RestoreAddinDir();
    throw;
  }

  ResetSettings();
  SettingsModel& s = Settings();
  s.CommentTexts[0] = U("'作成者：山田 太郎\r\n'作成日：2026/12/08");
  s.CommentTexts[1] = U("'修正：障害対応 #128");
  s.CommentTexts[2] = U("'TODO: 後で見直す");
  s.CurrentCommentNo = 0;
  s.ErrExitFlag = u"1";
  s.ErrHeaderLabel = u"Err_Handler";
  s.ErrFooterText = U("MsgBox Err.Description, vbExclamation, \"エラー\"");
  // A text box, a label and a button pattern, sized as such controls are.
  struct StyleSample {
    const char* name;
    const char* caption;
    int32_t height, width, maxLength;
  };
  const StyleSample styles[] = {
      {"入力欄（標準）", "", 300, 2400, 20},
      {"見出しラベル", "見出し", 255, 1200, 0},
      {"実行ボタン", "実行", 375, 1215, 0},
  };
  for (int16_t i = 0; i < 3; ++i) {
    auto style = std::make_shared<clsCotrolStyle>();
    style->SetPatrnName(U(styles[i].name));
    style->SetCType(i);
    style->SetCaption(U(styles[i].caption));
    style->SetFont(u"ＭＳ ゴシック");
    style->SetHeight(styles[i].height);
    style->SetWidth(styles[i].width);
    style->SetMaxLength(styles[i].maxLength);
    s.PatternCollection.Add(style);
  }
  s.PatternCount = s.PatternCollection.Count();
  s.CurrentPatternNo = 1;
  s.AutoSaveOn = 1;
  s.AutoSaveInterval = 10;
  s.AutoSaveMsgFlag = 1;
  s.LoadCompleted = true;
  HostVBE = workspace_.vbe;
  SelectSampleControls(*workspace_.vbe);
}

void GallerySample::RestoreAddinDir() {
  if (previousAddinDir_)
    ::setenv("TARNO_ADDIN_DIR", previousAddinDir_->c_str(), 1);
  else
    ::unsetenv("TARNO_ADDIN_DIR");
  std::error_code ec;
  std::filesystem::remove_all(addinDir_, ec);
}

GallerySample::~GallerySample() {
  RestoreAddinDir();
  ProjectToolFromMenu = 0;
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
      QByteArray png;
      QBuffer buffer(&png);
      buffer.open(QIODevice::WriteOnly);
      if (!shot.image.save(&buffer, "PNG")) {
        shot.error = "cannot encode " + target.string();
      } else {
        // Through the one writer, and its temporary file, that every tool uses.
        try {
          tarno::files::WriteAllBytes(target, std::string_view(png.constData(), static_cast<size_t>(png.size())));
        } catch (const tarno::files::FileError& e) {
          shot.error = e.what();
        }
      }
    }
    shots.push_back(std::move(shot));
  }
  return shots;
}

}  // namespace tarno::gui
