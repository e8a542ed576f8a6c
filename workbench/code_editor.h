// A code pane: the component's code lines (the file header stays hidden, as
// in the IDE) in a plain-text editor with line numbers and VB colouring.
// What the user types goes into the code module line by line; the cursor and
// selection are the pane's GetSelection; while the editor has the focus its
// pane is the IDE's active code pane and the active window a code window.
// After a command, SyncFromModule shows what the tool changed (as one undo
// step) and the selection the tool set.
#pragma once

#include <QPlainTextEdit>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "host/mem_host.h"
#include "workbench/pretty_listing.h"

namespace tarno::workbench {

class ProcedureBar;
class VbHighlighter;

class CodeEditor : public QPlainTextEdit {
 public:
  CodeEditor(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
             QWidget* parent = nullptr);
  ~CodeEditor() override;

  const std::shared_ptr<host::MemComponent>& component() const { return component_; }
  const std::shared_ptr<host::MemCodePane>& pane() const { return pane_; }

  // Makes the pane the active one (as the focus does).
  void Activate();
  // The module's text and the pane's selection to the editor.
  void SyncFromModule();
  // Selects `length` characters from line and column (1-based) and shows them.
  void SelectPlace(int line, int column, int length);
  // The caret's line (1-based).
  int CaretLine() const;
  // Runs after each change the user made to the module.
  void SetOnEdit(std::function<void()> f) { on_edit_ = std::move(f); }

  // The pretty listing of a line the user edited when the caret leaves it,
  // with the names the project declares.
  void SetPrettyListing(bool on) { pretty_ = on; }
  bool prettyListing() const { return pretty_; }
  void SetDeclaredNames(std::function<const DeclaredNames&()> names) { names_ = std::move(names); }
  // Called with the caret's line and column (1-based) whenever it moves.
  void SetOnCaret(std::function<void(int line, int column)> f) { on_caret_ = std::move(f); }
  // Called when undo or redo brings the text back to where it was saved.
  void SetOnClean(std::function<void()> f) { on_clean_ = std::move(f); }
  // The text as it is now is the saved one.
  void MarkSaved() { document()->setModified(false); }
  // Ctrl+click puts the caret at the click, then runs `f` (go to definition).
  void SetOnCtrlClick(std::function<void()> f) { on_ctrl_click_ = std::move(f); }
  // What hovering shows for the place under the mouse (1-based line and
  // column); nothing when it gives an empty text.
  void SetHoverText(std::function<QString(int line, int column)> f) { hover_text_ = std::move(f); }
  // The editor's font (a code page's font: see EditorFont).
  void SetEditorFont(const QFont& font);

  // The Object and Procedure lists above the code.
  ProcedureBar* procedureBar() const { return bar_; }
  // Procedure view shows only the procedure (or the declarations) the caret is in.
  void SetProcedureView(bool on);
  bool procedureView() const { return procedure_view_; }

  int LineNumberWidth() const;
  void PaintLineNumbers(QPaintEvent* event);

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  bool viewportEvent(QEvent* e) override;

 private:
  void OnContentsChange(int position, int removed, int added);
  void OnCursor();
  void ApplySelection();
  void UpdateMargins();
  void PrettyList(int line);
  // Shows the lines of the caret's procedure only (Procedure view) or all.
  void ApplyView();
  // First lines of the procedures, for the separator lines.
  const std::vector<int>& ProcStarts();

  std::shared_ptr<host::MemVBE> vbe_;
  std::shared_ptr<host::MemComponent> component_;
  std::shared_ptr<host::MemCodePane> pane_;
  std::shared_ptr<host::MemWindow> window_;
  VbHighlighter* highlighter_;
  QWidget* numbers_;
  ProcedureBar* bar_;
  bool procedure_view_ = false;
  int followed_line_ = 0;
  std::pair<int, int> shown_range_{0, 0};
  std::vector<int> proc_starts_;
  uint64_t starts_version_ = ~uint64_t(0);
  std::function<void()> on_edit_;
  std::function<const DeclaredNames&()> names_;
  std::function<void(int, int)> on_caret_;
  std::function<void()> on_clean_;
  std::function<void()> on_ctrl_click_;
  std::function<QString(int, int)> hover_text_;
  bool pretty_ = true;
  int edited_line_ = 0;
  uint64_t seen_version_ = 0;
  int applying_ = 0;
};

}  // namespace tarno::workbench
