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

#include "host/mem_host.h"

namespace tarno::workbench {

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

  int LineNumberWidth() const;
  void PaintLineNumbers(QPaintEvent* event);

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void OnContentsChange(int position, int removed, int added);
  void OnCursor();
  void ApplySelection();

  std::shared_ptr<host::MemVBE> vbe_;
  std::shared_ptr<host::MemComponent> component_;
  std::shared_ptr<host::MemCodePane> pane_;
  std::shared_ptr<host::MemWindow> window_;
  VbHighlighter* highlighter_;
  QWidget* numbers_;
  std::function<void()> on_edit_;
  uint64_t seen_version_ = 0;
  int applying_ = 0;
};

}  // namespace tarno::workbench
