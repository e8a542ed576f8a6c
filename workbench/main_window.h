// The workbench's main window: the IDE over the projects of one .vbp or .vbg.
// A project explorer, code panes and form views in an MDI area, the File
// menu, the IDE's "Edit" and "Tools" menus and the add-ins' toolbars built
// from the host's command bars, and the Add-Ins menu with its manager. The
// host (one MemVBE for the window's life) is what add-ins connect to.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "host/files/project_loader.h"
#include "host/mem_host.h"
#include "platform/code_page.h"
#include "toolkit/addin_entry.h"

class QDialog;
class QLabel;
class QMdiArea;
class QSettings;
class QMdiSubWindow;
class QTreeWidget;
class QTreeWidgetItem;
class QToolBar;
class QDockWidget;

namespace tarno::workbench {

class AddInLibrary;
class CodeEditor;
class CodeNavigation;
class DesignerEdits;
class FindDialog;
class FindReplace;
class FormCanvas;
class LangNavigator;
class LoadWarningsPane;
class ProjectNames;
class PropertiesWindow;
class ResultsPane;
class Toolbox;

struct WorkbenchOptions {
  CodePage code_page = CodePage::Cp932();
  // Where the add-in libraries are (libTarnoToolkit.so).
  std::filesystem::path addin_dir;
  // Keep the recent-projects list and each project's code page in the
  // user's settings (in settings_file when it is given).
  bool remember_recent = true;
  QString settings_file;
  // VB's pretty listing of edited lines in the code panes.
  bool pretty_listing = true;
};

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(WorkbenchOptions options);
  ~MainWindow() override;

  const std::shared_ptr<host::MemVBE>& vbe() const { return vbe_; }
  host::files::LoadedWorkspace& workspace() { return ws_; }

  // Closes what is open (asking to save) and loads the .vbp, .vbg or file;
  // throws ProjectFileError (nothing changes then) or returns false when the
  // user cancelled the close.
  // OpenPath reads the files in the code page the project was last opened
  // in, else in the workbench's; the load's warnings go to the warnings pane.
  bool OpenPath(const std::filesystem::path& path);
  bool OpenPath(const std::filesystem::path& path, const CodePage& codePage);
  // File > Open Project: the dialog with the code-page choice, then the load;
  // a failure (a path that does not exist) is a message, nothing changes.
  void OpenProject();
  // The code page the path was last opened in.
  std::optional<std::string> RememberedCodePage(const std::filesystem::path& path) const;
  // The code page the open projects were read in.
  const CodePage& codePage() const { return code_page_; }
  LoadWarningsPane* warningsPane() const { return warnings_pane_; }
  // Places in code listed by Find All (and anything else that lists places).
  ResultsPane* resultsPane() const { return results_; }
  FindReplace& finder() { return *finder_; }
  // F3 and Shift+F3: the next or previous match of what was last looked for.
  void FindAgain(bool forward);
  // Edit > Find (Ctrl+F) and Replace (Ctrl+H): the window, filled with the
  // active pane's selected text.
  FindDialog* ShowFindDialog(bool replace);
  // View > Definition (Shift+F2, Ctrl+click in a code pane), Last Position
  // (Ctrl+Shift+F2) and References (Shift+F12) over the language model of
  // the open projects; a name that cannot be followed is a status message.
  CodeNavigation& navigation() { return *navigation_; }
  LangNavigator& navigator() { return *navigator_; }
  void GoToDefinition();
  void GoBack();
  void ListReferences();
  // Turns the pretty listing of the code panes on or off (View menu).
  void SetPrettyListing(bool on);
  QLabel* caretLabel() const { return caret_label_; }
  // The code pane of the IDE's active code pane, nullptr when it is closed.
  CodeEditor* ActiveEditor() const { return CurrentEditor(); }
  // The form view of the IDE's active designer window, nullptr when none.
  FormCanvas* CurrentForm() const;
  // Writes every changed component and project; false (after a message) on failure.
  bool Save();
  // Saves the project chosen in the explorer (the first when none is) under a
  // new .vbp name, its component files staying where they are, then the rest
  // as Save does. In a group the group file follows the new name.
  bool SaveAs(const std::filesystem::path& vbp);
  // Asks to save what changed (Yes saves, No drops, Cancel keeps it open);
  // true when the projects were closed.
  bool CloseProjects();

  // The component's code pane or form view, opened (or brought forward);
  // nullptr when the component has no code module or designer. By name: the
  // first project's component of that name.
  CodeEditor* ShowCode(const std::u16string& component);
  FormCanvas* ShowForm(const std::u16string& component);
  CodeEditor* ShowCode(const std::shared_ptr<host::MemComponent>& component);
  FormCanvas* ShowForm(const std::shared_ptr<host::MemComponent>& component);
  std::vector<CodeEditor*> CodeEditors() const;
  std::vector<FormCanvas*> FormViews() const;
  QTreeWidget* explorer() const { return tree_; }
  // The Properties window (View > Properties Window, F4) and the designers'
  // undoable edits.
  PropertiesWindow* properties() const { return properties_; }
  Toolbox* toolbox() const { return toolbox_; }
  DesignerEdits& edits() { return *edits_; }
  void ShowProperties();
  QMdiArea* area() const { return mdi_; }

  // The menus built from the "Edit" and "Tools" command bars, and the
  // toolbars of the bars add-ins created (by name; nullptr when none).
  QMenu* EditMenu() const { return edit_menu_; }
  QMenu* ToolsMenu() const { return tools_menu_; }
  QToolBar* AddInToolBar(const QString& name) const;
  // The action with the caption in the menu or its submenus, nullptr when none.
  static QAction* FindAction(QMenu* menu, const QString& caption);
  void RebuildCommandBars();
  void RebuildMenus();
  void RebuildToolBars();
  // Shows what a command changed: code, selections, forms, dirty marks.
  void AfterCommand();

  // Add-ins: connects those whose VBADDIN.INI entry asks for it.
  void ConnectAtStart();
  // Loads the library, creates the connect class and connects it; false
  // (after a message naming the library) when that fails.
  bool LoadAddIn(const std::string& progId, int connectMode = toolkit::ext_cm_AfterStartup);
  void UnloadAddIn(const std::string& progId, int removeMode = toolkit::ext_dm_UserClosed);
  void UnloadAll(int removeMode);
  bool IsLoaded(const std::string& progId) const;
  void ShowAddInManager();

  // Writes a picture of the window with the explorer, the first form's view
  // and a code pane open (and the first place the results pane lists, if
  // any); false when the file cannot be written.
  bool Screenshot(const QString& file);
  // Opens the component (the first project's of that name, in any case):
  // its form view with the Properties window, or its code pane for a module
  // or when `code`. False when no component has the name.
  bool OpenComponent(const std::u16string& name, bool code);
  // Writes a picture of the window with its active view filling the work area.
  bool ScreenshotAsShown(const QString& file);

  // Replaceable for tests: the save question (returns a QMessageBox button)
  // and failure messages.
  std::function<int(const QString& text)> ask;
  std::function<void(const QString& text)> warn;
  // Runs a dialog the window opens (a QDialog::DialogCode); tests fill it in.
  std::function<int(QDialog& dialog)> exec_dialog;
  // VB's control-array question when a pasted control's name is taken
  // (true: Yes); a message box when not set.
  std::function<bool(const QString& question)> ask_array;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildMenus();
  void FillRecent();
  void Remember(const std::filesystem::path& path);
  std::unique_ptr<QSettings> Settings() const;
  void RefreshExplorer();
  void RefreshTitle();
  void OpenItem(QTreeWidgetItem* item, bool code);
  std::shared_ptr<host::MemComponent> ComponentOf(QTreeWidgetItem* item) const;
  std::shared_ptr<host::MemProject> CurrentProject() const;
  void Click(const std::shared_ptr<host::MemCommandBarControl>& control);
  CodeEditor* CurrentEditor() const;
  std::shared_ptr<host::MemComponent> Find(const std::u16string& name) const;
  QMdiSubWindow* AddView(QWidget* view, const QString& title);
  void CloseViews();

  struct Connected {
    std::string progId;
    std::unique_ptr<toolkit::AddIn> addIn;
  };

  WorkbenchOptions options_;
  std::shared_ptr<host::MemVBE> vbe_;
  host::files::LoadedWorkspace ws_;
  std::map<std::filesystem::path, std::unique_ptr<AddInLibrary>> libraries_;
  std::vector<Connected> connected_;
  QTreeWidget* tree_;
  QMdiArea* mdi_;
  LoadWarningsPane* warnings_pane_;
  ResultsPane* results_;
  std::unique_ptr<FindReplace> finder_;
  std::unique_ptr<ProjectNames> names_;
  std::unique_ptr<LangNavigator> navigator_;
  std::unique_ptr<CodeNavigation> navigation_;
  QLabel* caret_label_;
  FindDialog* find_dialog_ = nullptr;
  CodePage code_page_;
  QMenu* edit_menu_ = nullptr;
  QMenu* tools_menu_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  std::map<QString, QToolBar*> toolbars_;
  std::map<std::pair<const host::MemComponent*, bool>, QMdiSubWindow*> views_;
  size_t shown_components_ = 0;
  std::unique_ptr<DesignerEdits> edits_;
  PropertiesWindow* properties_ = nullptr;
  QDockWidget* properties_dock_ = nullptr;
  Toolbox* toolbox_ = nullptr;
};

}  // namespace tarno::workbench
