#include "workbench/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <fstream>
#include <sstream>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "gui/desktop.h"
#include "platform/vb_text.h"
#include "workbench/addin_library.h"
#include "workbench/addin_list.h"
#include "workbench/addin_manager.h"
#include "workbench/code_editor.h"
#include "workbench/code_navigation.h"
#include "workbench/command_menus.h"
#include "workbench/editor_font.h"
#include "workbench/find_dialog.h"
#include "workbench/find_replace.h"
#include "workbench/designer_edits.h"
#include "workbench/designer_frame.h"
#include "workbench/properties_window.h"
#include "workbench/toolbox.h"
#include "workbench/form_canvas.h"
#include "workbench/group_file.h"
#include "workbench/lang_navigator.h"
#include "workbench/load_warnings_pane.h"
#include "workbench/open_project_dialog.h"
#include "workbench/project_names.h"
#include "workbench/results_pane.h"

namespace tarno::workbench {
namespace {

namespace files = host::files;

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }
QString QPath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

constexpr int kProjectRole = Qt::UserRole;
constexpr int kComponentRole = Qt::UserRole + 1;

// Explorer folders, in the IDE's order.
struct Folder {
  const char* title;
  std::vector<int> types;
};
const std::vector<Folder>& Folders() {
  static const std::vector<Folder> folders = {
      {"Forms", {ide::ComponentType::VBForm, ide::ComponentType::MDIForm}},
      {"Modules", {ide::ComponentType::StdModule}},
      {"Class Modules", {ide::ComponentType::ClassModule}},
      {"User Controls", {ide::ComponentType::UserControl}},
      {"Property Pages", {ide::ComponentType::PropPage}},
      {"User Documents", {ide::ComponentType::DocObject}},
      {"Designers", {ide::ComponentType::ActiveXDesigner, ide::ComponentType::MSForm}},
      {"Related Documents", {ide::ComponentType::RelatedDocument, ide::ComponentType::ResFile}},
  };
  return folders;
}

QString ProjectLabel(host::MemProject& p) {
  return Q(p.name()) + QStringLiteral(" (") + QPath(files::ToPath(p.fileName()).filename()) + u')';
}

QString FileLabel(host::MemComponent& c) {
  QString label = Q(c.name());
  if (!c.fileNames().empty() && !c.fileNames()[0].empty())
    label += QStringLiteral(" (") + QPath(files::ToPath(c.fileNames()[0]).filename()) + u')';
  if (c.dirty()) label += QStringLiteral(" *");
  return label;
}

}  // namespace

MainWindow::MainWindow(WorkbenchOptions options) : options_(std::move(options)), code_page_(options_.code_page) {
  vbe_ = host::MemVBE::Create();
  vbe_->SetStore(std::make_shared<files::FileStore>(options_.code_page));
  ws_.vbe = vbe_;
  ask = [this](const QString& text) {
    return QMessageBox::question(this, QStringLiteral("Tarno Workbench"), text,
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  };
  warn = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Tarno Workbench"), text); };
  exec_dialog = [](QDialog& d) { return d.exec(); };

  tree_ = new QTreeWidget;
  tree_->setHeaderHidden(true);
  tree_->setObjectName(QStringLiteral("explorer"));
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) { OpenItem(item, false); });
  // As in the IDE, the component chosen in the explorer is the selected one
  // (the control tools work on its designer).
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
    if (auto c = ComponentOf(item)) vbe_->SetSelectedComponent(c);
  });
  mdi_ = new QMdiArea;
  mdi_->setBackground(QColor(128, 128, 128));
  auto* split = new QSplitter;
  split->addWidget(mdi_);
  split->addWidget(tree_);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);
  split->setSizes({900, 300});
  setCentralWidget(split);
  warnings_pane_ = new LoadWarningsPane(this);
  addDockWidget(Qt::BottomDockWidgetArea, warnings_pane_);
  results_ = new ResultsPane(this);
  addDockWidget(Qt::BottomDockWidgetArea, results_);
  results_->on_open = [this](const CodePlace& place) {
    if (CodeEditor* e = ShowCode(place.component)) e->SelectPlace(place.line, place.column, place.length);
  };
  finder_ = std::make_unique<FindReplace>(*this);
  names_ = std::make_unique<ProjectNames>();
  navigator_ = std::make_unique<LangNavigator>([this]() -> const std::vector<std::shared_ptr<host::MemProject>>& { return ws_.projects; });
  navigation_ = std::make_unique<CodeNavigation>(*this, *navigator_);
  caret_label_ = new QLabel;
  caret_label_->setObjectName(QStringLiteral("caret"));
  statusBar()->addPermanentWidget(caret_label_);
  edits_ = std::make_unique<DesignerEdits>(this);
  edits_->on_change = [this] { AfterCommand(); };
  properties_ = new PropertiesWindow(*edits_);
  properties_->warn = [this](const QString& t) { warn(t); };
  edits_->ask_array = [this](const QString& question) {
    return ask_array ? ask_array(question)
                     : QMessageBox::question(this, QStringLiteral("Tarno Workbench"), question,
                                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  AddUndoActions(*properties_, edits_->stack());
  properties_dock_ = new QDockWidget(QStringLiteral("Properties"), this);
  properties_dock_->setObjectName(QStringLiteral("propertiesDock"));
  properties_dock_->setWidget(properties_);
  addDockWidget(Qt::RightDockWidgetArea, properties_dock_);
  properties_dock_->hide();
  toolbox_ = new Toolbox(this);
  addToolBar(Qt::LeftToolBarArea, toolbox_);
  BuildMenus();
  RebuildCommandBars();
  RefreshTitle();
  resize(1200, 800);
  // Saves an add-in makes on its own timer show in the explorer too.
  auto* marks = new QTimer(this);
  connect(marks, &QTimer::timeout, this, [this] { RefreshExplorer(); });
  marks->start(1000);
  // What a tool's window changes shows in the form views while it is open.
  if (auto* desktop = gui::Desktop::Current())
    desktop->SetAfterSync([this] {
      for (FormCanvas* f : FormViews()) f->Refresh();
    });
}

MainWindow::~MainWindow() {
  if (auto* desktop = gui::Desktop::Current()) desktop->SetAfterSync({});
  // Views hold host objects; the add-ins go before the host.
  CloseViews();
  UnloadAll(toolkit::ext_dm_HostShutdown);
}

// ---- menus

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Open Project..."), QKeySequence::Open, this, [this] { OpenProject(); });
  file->addAction(QStringLiteral("&Save Project"), QKeySequence::Save, this, [this] { Save(); });
  file->addAction(QStringLiteral("Save Project &As..."), this, [this] {
    QString f = QFileDialog::getSaveFileName(this, QStringLiteral("Save Project As"), {},
                                             QStringLiteral("VB projects (*.vbp)"));
    if (!f.isEmpty()) SaveAs(f.toStdString());
  });
  file->addAction(QStringLiteral("&Close Project"), this, [this] { CloseProjects(); });
  file->addSeparator();
  recent_menu_ = file->addMenu(QStringLiteral("&Recent Projects"));
  FillRecent();
  file->addSeparator();
  file->addAction(QStringLiteral("E&xit"), this, [this] { close(); });

  edit_menu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->addAction(QStringLiteral("&Code"), QKeySequence(Qt::Key_F7), this, [this] { OpenItem(tree_->currentItem(), true); });
  view->addAction(QStringLiteral("&Object"), QKeySequence(Qt::SHIFT | Qt::Key_F7), this,
                  [this] { OpenItem(tree_->currentItem(), false); });
  // Find's keys work wherever the focus is in the window (the Edit menu is
  // rebuilt from the command bars, so they are not its items' shortcuts).
  auto key = [this](QKeySequence k, std::function<void()> f) {
    auto* a = new QAction(this);
    a->setShortcut(k);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
    addAction(a);
  };
  key(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { ShowFindDialog(false); });
  key(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { ShowFindDialog(true); });
  key(QKeySequence(Qt::Key_F3), [this] { FindAgain(true); });
  key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindAgain(false); });
  view->addSeparator();
  view->addAction(QStringLiteral("&Definition"), QKeySequence(Qt::SHIFT | Qt::Key_F2), this, [this] { GoToDefinition(); });
  view->addAction(QStringLiteral("&Last Position"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2), this,
                  [this] { GoBack(); });
  view->addAction(QStringLiteral("&References"), QKeySequence(Qt::SHIFT | Qt::Key_F12), this,
                  [this] { ListReferences(); });
  view->addSeparator();
  QAction* pretty = view->addAction(QStringLiteral("&Pretty Listing"));
  pretty->setObjectName(QStringLiteral("prettyListing"));
  pretty->setCheckable(true);
  pretty->setChecked(options_.pretty_listing);
  connect(pretty, &QAction::toggled, this, [this](bool on) { SetPrettyListing(on); });
  view->addAction(QStringLiteral("Properties &Window"), QKeySequence(Qt::Key_F4), this, [this] { ShowProperties(); });
  tools_menu_ = menuBar()->addMenu(QStringLiteral("&Tools"));
  QMenu* addins = menuBar()->addMenu(QStringLiteral("&Add-Ins"));
  addins->addAction(QStringLiteral("&Add-In Manager..."), this, [this] { ShowAddInManager(); });
  QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
  window->addAction(QStringLiteral("&Tile"), this, [this] { mdi_->tileSubWindows(); });
  window->addAction(QStringLiteral("&Cascade"), this, [this] { mdi_->cascadeSubWindows(); });
  // The menus follow the command bars whenever they open.
  connect(edit_menu_, &QMenu::aboutToShow, this, [this] { RebuildMenus(); });
  connect(tools_menu_, &QMenu::aboutToShow, this, [this] { RebuildMenus(); });
}

void MainWindow::FillRecent() {
  recent_menu_->clear();
  if (!options_.remember_recent) return;
  for (const QString& f : Settings()->value("recent").toStringList()) {
    recent_menu_->addAction(f, this, [this, f] {
      try {
        OpenPath(f.toStdString());
      } catch (const std::exception& e) {
        warn(QString::fromStdString(e.what()));
      }
    });
  }
}

std::unique_ptr<QSettings> MainWindow::Settings() const {
  if (!options_.settings_file.isEmpty()) return std::make_unique<QSettings>(options_.settings_file, QSettings::IniFormat);
  return std::make_unique<QSettings>(QStringLiteral("TarnoKit"), QStringLiteral("Workbench"));
}

void MainWindow::Remember(const std::filesystem::path& path) {
  if (!options_.remember_recent) return;
  auto s = Settings();
  QStringList list = s->value("recent").toStringList();
  QString f = QPath(std::filesystem::absolute(path));
  list.removeAll(f);
  list.prepend(f);
  while (list.size() > 8) list.removeLast();
  s->setValue("recent", list);
  QVariantMap pages = s->value("codePages").toMap();
  pages[f] = QString::fromStdString(code_page_.name());
  s->setValue("codePages", pages);
  FillRecent();
}

std::optional<std::string> MainWindow::RememberedCodePage(const std::filesystem::path& path) const {
  if (!options_.remember_recent) return std::nullopt;
  QVariant v = Settings()->value("codePages").toMap().value(QPath(std::filesystem::absolute(path)));
  if (!v.isValid()) return std::nullopt;
  return v.toString().toStdString();
}

void MainWindow::OpenProject() {
  OpenProjectDialog dialog(options_.code_page.name(),
                           [this](const QString& p) { return RememberedCodePage(p.toStdString()); }, this);
  if (!ws_.path.empty()) dialog.SetPath(QPath(ws_.path));
  if (exec_dialog(dialog) != QDialog::Accepted || dialog.path().isEmpty()) return;
  const std::filesystem::path path = dialog.path().toStdString();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    warn(QStringLiteral("%1\nThe file does not exist.").arg(dialog.path()));
    return;
  }
  try {
    OpenPath(path, CodePage::Named(dialog.codePage()));
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
  }
}

void MainWindow::RebuildCommandBars() {
  RebuildMenus();
  RebuildToolBars();
}

void MainWindow::RebuildMenus() {
  const auto& bars = *vbe_->commandBars();
  // In a form view they work on its controls (the bar's Remove deletes them).
  BuiltInActions builtIns = {
      {u"&Undo", [this] { if (CurrentForm()) edits_->stack().undo(); else if (auto* e = CurrentEditor()) e->undo(); }},
      {u"&Redo", [this] { if (CurrentForm()) edits_->stack().redo(); else if (auto* e = CurrentEditor()) e->redo(); }},
      {u"Cu&t", [this] { if (auto* f = CurrentForm()) f->CutSelection(); else if (auto* e = CurrentEditor()) e->cut(); }},
      {u"&Copy", [this] { if (auto* f = CurrentForm()) f->CopySelection(); else if (auto* e = CurrentEditor()) e->copy(); }},
      {u"&Paste", [this] { if (auto* f = CurrentForm()) f->Paste(); else if (auto* e = CurrentEditor()) e->paste(); }},
      {u"&Remove", [this] { if (auto* f = CurrentForm()) f->DeleteSelection(); }},
      {u"Select &All", [this] { if (auto* e = CurrentEditor()) e->selectAll(); }},
      {u"&Find...", [this] { ShowFindDialog(false); }},
      {u"Find Ne&xt", [this] { FindAgain(true); }},
  };
  ControlClick click = [this](const std::shared_ptr<host::MemCommandBarControl>& c) { Click(c); };
  if (auto edit = bars.Bar(u"Edit")) FillMenu(*edit_menu_, *edit->items(), click, builtIns);
  if (auto tools = bars.Bar(u"Tools")) FillMenu(*tools_menu_, *tools->items(), click, builtIns);
}

void MainWindow::RebuildToolBars() {
  const auto& bars = *vbe_->commandBars();
  ControlClick click = [this](const std::shared_ptr<host::MemCommandBarControl>& c) { Click(c); };
  // One QToolBar per bar an add-in made; bars that went are removed.
  std::map<QString, QToolBar*> keep;
  for (const auto& bar : bars.bars()) {
    if (bar->builtIn() || bar->deleted()) continue;
    QString name = Q(bar->name());
    QToolBar* tb;
    if (auto it = toolbars_.find(name); it != toolbars_.end()) {
      tb = it->second;
      toolbars_.erase(it);
    } else {
      tb = addToolBar(name);
      tb->setObjectName(name);
      tb->setIconSize(QSize(16, 16));
    }
    FillToolBar(*tb, *bar, click);
    tb->setVisible(bar->visible());
    keep[name] = tb;
  }
  for (auto& [name, tb] : toolbars_) {
    removeToolBar(tb);
    tb->deleteLater();
  }
  toolbars_ = std::move(keep);
}

QToolBar* MainWindow::AddInToolBar(const QString& name) const {
  auto it = toolbars_.find(name);
  return it == toolbars_.end() ? nullptr : it->second;
}

QAction* MainWindow::FindAction(QMenu* menu, const QString& caption) {
  for (QAction* a : menu->actions()) {
    if (a->text() == caption) return a;
    if (a->menu())
      if (QAction* inner = FindAction(a->menu(), caption)) return inner;
  }
  return nullptr;
}

void MainWindow::Click(const std::shared_ptr<host::MemCommandBarControl>& control) {
  try {
    vbe_->Click(control);
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
  }
  AfterCommand();
}

void MainWindow::AfterCommand() {
  // A tool may have changed controls as well as code.
  navigator_->Invalidate();
  for (CodeEditor* e : CodeEditors()) e->SyncFromModule();
  for (FormCanvas* f : FormViews()) f->Refresh();
  if (properties_) properties_->Refresh();
  RefreshExplorer();
}

void MainWindow::SetPrettyListing(bool on) {
  options_.pretty_listing = on;
  for (CodeEditor* e : CodeEditors()) e->SetPrettyListing(on);
}

// ---- find

FindDialog* MainWindow::ShowFindDialog(bool replace) {
  if (!find_dialog_) find_dialog_ = new FindDialog(*finder_, this);
  QString selected;
  if (CodeEditor* e = CurrentEditor()) selected = e->textCursor().selectedText();
  find_dialog_->Start(replace, selected);
  return find_dialog_;
}

void MainWindow::FindAgain(bool forward) {
  if (find_dialog_) find_dialog_->Apply();
  if (finder_->options.what.isEmpty()) {
    ShowFindDialog(false);
    return;
  }
  if (!finder_->FindNext(forward)) statusBar()->showMessage(finder_->message(), 5000);
}

// ---- names

void MainWindow::GoToDefinition() {
  if (!navigation_->GoToDefinition()) statusBar()->showMessage(navigation_->message(), 5000);
}

void MainWindow::GoBack() {
  if (!navigation_->GoBack()) statusBar()->showMessage(navigation_->message(), 5000);
}

void MainWindow::ListReferences() {
  if (navigation_->ListReferences() < 0) statusBar()->showMessage(navigation_->message(), 5000);
}

// ---- projects

bool MainWindow::OpenPath(const std::filesystem::path& path) {
  std::optional<CodePage> remembered;
  if (auto name = RememberedCodePage(path)) {
    try {
      remembered = CodePage::Named(*name);
    } catch (const std::exception&) {
      // A settings file edited by hand: the workbench's own code page then.
    }
  }
  return OpenPath(path, remembered.value_or(options_.code_page));
}

bool MainWindow::OpenPath(const std::filesystem::path& path, const CodePage& codePage) {
  files::LoadOptions load;
  load.code_page = codePage;
  files::LoadedWorkspace loaded = files::LoadPath(path, load);
  if (!CloseProjects()) return false;
  code_page_ = codePage;
  vbe_->SetStore(std::make_shared<files::FileStore>(code_page_));
  for (const auto& p : loaded.projects) vbe_->AddProject(p);
  ws_.projects = loaded.projects;
  ws_.path = loaded.path;
  ws_.group = loaded.group;
  ws_.warnings = loaded.warnings;
  navigator_->Invalidate();
  warnings_pane_->SetWarnings(ws_.warnings, ws_.path.parent_path());
  shown_components_ = 0;
  RefreshExplorer();
  RefreshTitle();
  Remember(path);
  return true;
}

bool MainWindow::Save() {
  try {
    files::Save(ws_);
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
    return false;
  }
  for (CodeEditor* e : CodeEditors()) e->MarkSaved();
  // Binary files may have grown, and held pictures are in them now.
  for (FormCanvas* f : FormViews()) f->frx().Forget();
  // What was saved is the form's file now: its controls are no longer new.
  edits_->stack().clear();
  RefreshExplorer();
  return true;
}

std::shared_ptr<host::MemProject> MainWindow::CurrentProject() const {
  // The project of the explorer's current item (a folder's is its parent's).
  for (QTreeWidgetItem* item = tree_->currentItem(); item; item = item->parent()) {
    if (!item->data(0, kProjectRole).isValid()) continue;
    size_t i = static_cast<size_t>(item->data(0, kProjectRole).toInt());
    if (i < ws_.projects.size()) return ws_.projects[i];
  }
  return ws_.projects.empty() ? nullptr : ws_.projects.front();
}

bool MainWindow::SaveAs(const std::filesystem::path& vbp) {
  auto project = CurrentProject();
  if (!project) return false;
  const std::filesystem::path old = files::ToPath(project->fileName());
  try {
    project->SaveAs(files::FromPath(vbp));
    // The group names the project by its file: it follows the new name.
    if (ws_.group && !old.empty()) RenameGroupProject(ws_.path, old, vbp, code_page_);
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
    return false;
  }
  if (!ws_.group) ws_.path = vbp;
  RefreshTitle();
  return Save();
}

bool MainWindow::CloseProjects() {
  QStringList changed;
  for (const auto& p : ws_.projects)
    for (const auto& c : p->components())
      if (c->dirty()) changed << Q(p->name()) + u'.' + Q(c->name());
  if (!changed.isEmpty()) {
    int answer = ask(QStringLiteral("Save changes to the following files?\n\n") + changed.join(u'\n'));
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes && !Save()) return false;
  }
  CloseViews();
  for (const auto& p : ws_.projects) vbe_->RemoveProject(p);
  ws_.projects.clear();
  ws_.path.clear();
  ws_.warnings.clear();
  navigator_->Invalidate();
  navigation_->Clear();
  warnings_pane_->SetWarnings({}, {});
  RefreshExplorer();
  RefreshTitle();
  return true;
}

void MainWindow::RefreshTitle() {
  QString title = QStringLiteral("Tarno Workbench");
  if (!ws_.projects.empty()) title += QStringLiteral(" - ") + QPath(ws_.path.filename());
  setWindowTitle(title);
}

std::shared_ptr<host::MemComponent> MainWindow::Find(const std::u16string& name) const {
  for (const auto& p : ws_.projects)
    if (auto c = p->Component(name)) return c;
  return nullptr;
}

void MainWindow::RefreshExplorer() {
  size_t count = 0;
  for (const auto& p : ws_.projects) count += p->components().size() + 1;
  if (count == shown_components_ && tree_->topLevelItemCount() == static_cast<int>(ws_.projects.size())) {
    // Same components: only the dirty marks (and a project's new file name) change.
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
      QTreeWidgetItem* top = tree_->topLevelItem(i);
      auto& project = *ws_.projects[static_cast<size_t>(i)];
      top->setText(0, ProjectLabel(project));
      for (int f = 0; f < top->childCount(); ++f)
        for (int k = 0; k < top->child(f)->childCount(); ++k) {
          QTreeWidgetItem* item = top->child(f)->child(k);
          if (auto c = project.Component(item->data(0, kComponentRole).toString().toStdU16String()))
            item->setText(0, FileLabel(*c));
        }
    }
    return;
  }
  shown_components_ = count;
  tree_->clear();
  for (size_t i = 0; i < ws_.projects.size(); ++i) {
    auto& project = *ws_.projects[i];
    auto* top = new QTreeWidgetItem(tree_);
    top->setText(0, ProjectLabel(project));
    top->setData(0, kProjectRole, static_cast<int>(i));
    for (const Folder& folder : Folders()) {
      QTreeWidgetItem* node = nullptr;
      for (const auto& c : project.components()) {
        if (std::find(folder.types.begin(), folder.types.end(), c->type()) == folder.types.end()) continue;
        if (!node) {
          node = new QTreeWidgetItem(top);
          node->setText(0, QString::fromLatin1(folder.title));
        }
        auto* item = new QTreeWidgetItem(node);
        item->setText(0, FileLabel(*c));
        item->setData(0, kProjectRole, static_cast<int>(i));
        item->setData(0, kComponentRole, Q(c->name()));
      }
    }
  }
  tree_->expandAll();
}

std::shared_ptr<host::MemComponent> MainWindow::ComponentOf(QTreeWidgetItem* item) const {
  // By project and name: two projects of a group may hold components of one name.
  if (!item || !item->data(0, kComponentRole).isValid()) return nullptr;
  size_t project = static_cast<size_t>(item->data(0, kProjectRole).toInt());
  if (project >= ws_.projects.size()) return nullptr;
  return ws_.projects[project]->Component(item->data(0, kComponentRole).toString().toStdU16String());
}

void MainWindow::OpenItem(QTreeWidgetItem* item, bool code) {
  auto c = ComponentOf(item);
  if (!c) return;
  if (!code && c->designer()) ShowForm(c);
  else ShowCode(c);
}

// ---- views

QMdiSubWindow* MainWindow::AddView(QWidget* view, const QString& title) {
  QMdiSubWindow* sub = mdi_->addSubWindow(view);
  sub->setWindowTitle(title);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->resize(640, 420);
  sub->show();
  return sub;
}

CodeEditor* MainWindow::ShowCode(const std::u16string& name) { return ShowCode(Find(name)); }

CodeEditor* MainWindow::ShowCode(const std::shared_ptr<host::MemComponent>& c) {
  if (!c || !c->code()) return nullptr;
  auto key = std::make_pair(static_cast<const host::MemComponent*>(c.get()), true);
  if (auto it = views_.find(key); it != views_.end()) {
    mdi_->setActiveSubWindow(it->second);
    auto* e = static_cast<CodeEditor*>(it->second->widget());
    e->setFocus();
    e->Activate();
    return e;
  }
  auto* editor = new CodeEditor(vbe_, c);
  editor->SetOnEdit([this] { RefreshExplorer(); });
  editor->SetEditorFont(EditorFont(code_page_));
  editor->SetPrettyListing(options_.pretty_listing);
  std::weak_ptr<host::MemComponent> weak = c;
  editor->SetDeclaredNames([this, weak]() -> const DeclaredNames& {
    static const DeclaredNames none;
    auto component = weak.lock();
    for (const auto& p : ws_.projects)
      for (const auto& other : p->components())
        if (other == component) return names_->Of(p->components());
    return none;
  });
  editor->SetOnCtrlClick([this] { GoToDefinition(); });
  editor->SetHoverText([this, weak](int line, int column) {
    auto component = weak.lock();
    return component ? navigation_->Tooltip({component, line, column, 0}) : QString();
  });
  editor->SetOnCaret([this](int line, int column) {
    caret_label_->setText(QStringLiteral("Ln %1, Col %2").arg(line).arg(column));
  });
  // Undone back to the saved text: no longer changed, if the file on disk is
  // what the component would be written as (a form's controls may differ).
  editor->SetOnClean([this, weak] {
    auto component = weak.lock();
    if (!component || !component->dirty() || component->fileNames().empty()) return;
    try {
      std::ifstream in(files::ToPath(component->fileNames()[0]), std::ios::binary);
      std::stringstream disk;
      disk << in.rdbuf();
      if (in && disk.str() == files::RenderComponent(*component)) component->SetIsDirty(false);
    } catch (const std::exception&) {
      return;  // not comparable: it stays marked
    }
    RefreshExplorer();
  });
  QMdiSubWindow* sub = AddView(editor, Q(c->name()) + QStringLiteral(" (Code)"));
  views_[key] = sub;
  connect(sub, &QObject::destroyed, this, [this, key] { views_.erase(key); });
  editor->setFocus();
  editor->Activate();
  return editor;
}

FormCanvas* MainWindow::ShowForm(const std::u16string& name) { return ShowForm(Find(name)); }

FormCanvas* MainWindow::ShowForm(const std::shared_ptr<host::MemComponent>& c) {
  if (!c || !c->designer()) return nullptr;
  auto key = std::make_pair(static_cast<const host::MemComponent*>(c.get()), false);
  if (auto it = views_.find(key); it != views_.end()) {
    mdi_->setActiveSubWindow(it->second);
    auto* canvas = static_cast<DesignerFrame*>(static_cast<QScrollArea*>(it->second->widget())->widget())->canvas();
    canvas->Activate();
    return canvas;
  }
  auto* canvas = new FormCanvas(vbe_, c);
  canvas->set_edits(edits_.get());
  canvas->on_selection = [this, c] { properties_->ShowDesigner(c); };
  canvas->armed_tool = [this] { return toolbox_->Armed(); };
  canvas->tool_used = [this] { toolbox_->ChoosePointer(); };
  auto* scroll = new QScrollArea;
  auto* frame = new DesignerFrame(canvas);
  AddUndoActions(*frame, edits_->stack());
  scroll->setWidget(frame);
  scroll->setBackgroundRole(QPalette::Dark);
  QMdiSubWindow* sub = AddView(scroll, Q(c->name()) + QStringLiteral(" (Form)"));
  views_[key] = sub;
  connect(sub, &QObject::destroyed, this, [this, key] { views_.erase(key); });
  canvas->Activate();
  return canvas;
}

std::vector<CodeEditor*> MainWindow::CodeEditors() const {
  std::vector<CodeEditor*> out;
  for (const auto& [key, sub] : views_)
    if (key.second) out.push_back(static_cast<CodeEditor*>(sub->widget()));
  return out;
}

std::vector<FormCanvas*> MainWindow::FormViews() const {
  std::vector<FormCanvas*> out;
  for (const auto& [key, sub] : views_)
    if (!key.second)
      out.push_back(static_cast<DesignerFrame*>(static_cast<QScrollArea*>(sub->widget())->widget())->canvas());
  return out;
}

FormCanvas* MainWindow::CurrentForm() const {
  // The IDE's active window when it is a designer's, as long as its view is open.
  auto active = vbe_->ActiveWindow();
  if (!active || active->Type() != host::MemWindow::kDesignerWindow) return nullptr;
  for (FormCanvas* f : FormViews())
    if (f->component() == vbe_->SelectedVBComponent()) return f;
  return nullptr;
}

CodeEditor* MainWindow::CurrentEditor() const {
  // The IDE's active code pane, as long as its window is open.
  auto active = vbe_->ActiveCodePane();
  for (CodeEditor* e : CodeEditors())
    if (e->pane() == active) return e;
  return nullptr;
}

void MainWindow::CloseViews() {
  auto views = views_;
  views_.clear();
  for (auto& [key, sub] : views) delete sub;
}

// ---- add-ins

void MainWindow::ConnectAtStart() {
  for (const AddInEntry& e : ReadAddInList())
    if (e.LoadAtStart() && !IsLoaded(e.progId)) LoadAddIn(e.progId, toolkit::ext_cm_Startup);
  std::vector<ide::Variant> custom;
  for (auto& c : connected_) c.addIn->OnStartupComplete(custom);
}

bool MainWindow::IsLoaded(const std::string& progId) const {
  return std::any_of(connected_.begin(), connected_.end(), [&](const Connected& c) { return c.progId == progId; });
}

bool MainWindow::LoadAddIn(const std::string& progId, int connectMode) {
  if (IsLoaded(progId)) return true;
  std::filesystem::path file = LibraryFor(progId, options_.addin_dir);
  if (file.empty()) {
    warn(QStringLiteral("The add-in %1 is not one this program can load.").arg(QString::fromStdString(progId)));
    return false;
  }
  try {
    auto& lib = libraries_[file];
    if (!lib) lib = std::make_unique<AddInLibrary>(file);
    Connected c{progId, lib->Create(progId)};
    std::vector<ide::Variant> custom;
    c.addIn->OnConnection(vbe_, connectMode, custom);
    connected_.push_back(std::move(c));
  } catch (const std::exception& e) {
    libraries_.erase(file);
    warn(QString::fromStdString(e.what()));
    return false;
  }
  RebuildCommandBars();
  AfterCommand();
  return true;
}

void MainWindow::UnloadAddIn(const std::string& progId, int removeMode) {
  auto it = std::find_if(connected_.begin(), connected_.end(), [&](const Connected& c) { return c.progId == progId; });
  if (it == connected_.end()) return;
  std::vector<ide::Variant> custom;
  try {
    it->addIn->OnDisconnection(removeMode, custom);
  } catch (const std::exception& e) {
    warn(QString::fromStdString(e.what()));
  }
  connected_.erase(it);
  RebuildCommandBars();
}

void MainWindow::UnloadAll(int removeMode) {
  while (!connected_.empty()) UnloadAddIn(connected_.back().progId, removeMode);
}

void MainWindow::ShowAddInManager() {
  AddInManager manager(*this, this);
  manager.exec();
}

// ---- closing and pictures

void MainWindow::closeEvent(QCloseEvent* e) {
  if (!CloseProjects()) {
    e->ignore();
    return;
  }
  UnloadAll(toolkit::ext_dm_HostShutdown);
  e->accept();
}

void MainWindow::ShowProperties() {
  properties_dock_->show();
  properties_dock_->raise();
  if (auto c = std::dynamic_pointer_cast<host::MemComponent>(vbe_->SelectedVBComponent()); c && c->designer())
    properties_->ShowDesigner(c);
  properties_->list()->setFocus();
}

bool MainWindow::OpenComponent(const std::u16string& name, bool code) {
  std::shared_ptr<host::MemComponent> found = Find(name);
  for (const auto& p : ws_.projects)
    for (const auto& c : p->components())
      if (!found && vb::EqualsIgnoreCaseAscii(c->name(), name)) found = c;
  if (!found) return false;
  if (!code && found->designer()) {
    // With its Properties window, as the IDE opens a designer.
    if (!ShowForm(found)) return false;
    ShowProperties();
    return true;
  }
  return ShowCode(found) != nullptr;
}

bool MainWindow::ScreenshotAsShown(const QString& file) {
  show();
  if (QMdiSubWindow* sub = mdi_->activeSubWindow()) sub->showMaximized();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  return grab().save(file);
}

bool MainWindow::Screenshot(const QString& file) {
  show();
  for (const auto& p : ws_.projects) {
    std::shared_ptr<host::MemComponent> form, module;
    for (const auto& c : p->components()) {
      if (!form && c->designer() && c->type() == ide::ComponentType::VBForm) form = c;
      if (!module && c->type() == ide::ComponentType::StdModule) module = c;
    }
    if (form) ShowForm(form);
    if (module) ShowCode(module);
    else if (form) ShowCode(form);
    if (form || module) break;
  }
  // A find listed before: its first place shown as well.
  if (!results_->places().empty()) results_->Open(0);
  mdi_->tileSubWindows();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  return grab().save(file);
}

}  // namespace tarno::workbench
