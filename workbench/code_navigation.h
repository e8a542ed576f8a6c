// Moving through code by its names, from the active code pane: to the
// definition of the name at the caret (Shift+F2, Ctrl+click) and back to
// where each jump started (Ctrl+Shift+F2, a stack of places), the references
// of the name listed in the results pane (Shift+F12), and the declaration a
// hovered name shows. What the names mean is the navigator's business.
#pragma once

#include <QString>
#include <string_view>
#include <vector>

#include "workbench/code_navigator.h"

namespace tarno::workbench {

class CodeEditor;
class MainWindow;

class CodeNavigation {
 public:
  CodeNavigation(MainWindow& window, CodeNavigator& navigator) : window_(window), navigator_(navigator) {}

  // Opens the declaration of the name at the active pane's caret, with the
  // name selected, and remembers where the caret was; false when there is
  // none (message() says why: no name, or one the model cannot bind).
  bool GoToDefinition();
  // Back to the place the last jump started from; false when there is none.
  bool GoBack();
  // The references of the name at the caret in the results pane; how many
  // (-1 when the name has no declaration: message() says why).
  int ListReferences();
  // The references of a name looked up as `tarno refs` does.
  int ListReferences(std::u16string_view dotted);
  // What hovering the place shows: the declaration of the name there and
  // where it is, or why it has none; empty where there is no name.
  QString Tooltip(const CodePlace& at);
  // The projects closed: the places jumped from go.
  void Clear() { back_.clear(); }
  size_t depth() const { return back_.size(); }
  const QString& message() const { return message_; }

  // The place of a code pane's caret (the start of its selection).
  static CodePlace CaretOf(const CodeEditor& editor);

 private:
  bool Show(const CodePlace& place);

  MainWindow& window_;
  CodeNavigator& navigator_;
  std::vector<CodePlace> back_;
  QString message_;
};

}  // namespace tarno::workbench
