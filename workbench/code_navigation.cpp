#include "workbench/code_navigation.h"

#include <QTextBlock>

#include "workbench/code_editor.h"
#include "workbench/main_window.h"
#include "workbench/results_pane.h"

namespace tarno::workbench {
namespace {

// VB's own words when Shift+F2 finds no name at the caret.
const QString kNotRecognized = QStringLiteral("Identifier under cursor is not recognized");
// As many places as anyone goes back through; the oldest go first.
constexpr size_t kMaxBack = 64;

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

}  // namespace

CodePlace CodeNavigation::CaretOf(const CodeEditor& editor) {
  QTextCursor c = editor.textCursor();
  QTextBlock block = editor.document()->findBlock(c.selectionStart());
  return {editor.component(), block.blockNumber() + 1, c.selectionStart() - block.position() + 1, 0};
}

bool CodeNavigation::Show(const CodePlace& place) {
  if (!place.component) return false;
  if (place.line == 0) {
    // A form, class or control: its designer, else the top of its code.
    if (place.component->designer() && window_.ShowForm(place.component)) return true;
    CodeEditor* e = window_.ShowCode(place.component);
    if (e) e->SelectPlace(1, 1, 0);
    return e != nullptr;
  }
  CodeEditor* e = window_.ShowCode(place.component);
  if (!e) return false;
  e->SelectPlace(place.line, place.column, place.length);
  return true;
}

bool CodeNavigation::GoToDefinition() {
  message_.clear();
  CodeEditor* editor = window_.ActiveEditor();
  if (!editor) {
    message_ = kNotRecognized;
    return false;
  }
  const CodePlace from = CaretOf(*editor);
  NameAt name = navigator_.Describe(from);
  if (!name.definition) {
    message_ = name.unresolved.empty() ? kNotRecognized : Q(name.unresolved);
    return false;
  }
  if (!Show(*name.definition)) {
    message_ = QStringLiteral("%1 cannot be shown").arg(Q(name.name));
    return false;
  }
  if (back_.size() == kMaxBack) back_.erase(back_.begin());
  back_.push_back(from);
  return true;
}

bool CodeNavigation::GoBack() {
  message_.clear();
  while (!back_.empty()) {
    CodePlace place = back_.back();
    back_.pop_back();
    // A component removed since is passed over.
    if (place.component->project() && Show(place)) return true;
  }
  message_ = QStringLiteral("No earlier position to go back to");
  return false;
}

int CodeNavigation::ListReferences() {
  message_.clear();
  CodeEditor* editor = window_.ActiveEditor();
  if (!editor) {
    message_ = kNotRecognized;
    return -1;
  }
  const CodePlace at = CaretOf(*editor);
  NameAt name = navigator_.Describe(at);
  if (name.name.empty() || !name.unresolved.empty()) {
    message_ = name.unresolved.empty() ? kNotRecognized : Q(name.unresolved);
    return -1;
  }
  std::vector<CodePlace> places = navigator_.ReferencesAt(at);
  const int n = static_cast<int>(places.size());
  window_.resultsPane()->Show(QStringLiteral("References of \"%1\"").arg(Q(name.name)), std::move(places));
  return n;
}

int CodeNavigation::ListReferences(std::u16string_view dotted) {
  std::vector<CodePlace> places = navigator_.ReferencesOf(dotted);
  const int n = static_cast<int>(places.size());
  window_.resultsPane()->Show(QStringLiteral("References of \"%1\"").arg(Q(std::u16string(dotted))),
                              std::move(places));
  return n;
}

QString CodeNavigation::Tooltip(const CodePlace& at) {
  NameAt name = navigator_.Describe(at);
  if (name.name.empty()) return {};
  if (!name.unresolved.empty()) return Q(name.unresolved);
  QString text = Q(name.declaration);
  if (!name.where.empty()) text += u'\n' + Q(name.where);
  return text;
}

}  // namespace tarno::workbench
