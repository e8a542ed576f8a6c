#include "workbench/find_replace.h"

#include <algorithm>

#include "workbench/code_editor.h"
#include "workbench/main_window.h"
#include "workbench/results_pane.h"

namespace tarno::workbench {

std::optional<QRegularExpression> FindReplace::Compile() {
  QString error;
  auto re = CompileFind(options, &error);
  if (!re) message_ = error;
  return re;
}

std::vector<FindReplace::Target> FindReplace::Targets(CodeEditor** active, bool fromActive) {
  std::vector<Target> out;
  CodeEditor* editor = window_.ActiveEditor();
  *active = editor;
  const auto& projects = window_.workspace().projects;
  std::shared_ptr<host::MemComponent> current = editor ? editor->component() : nullptr;
  if (!current) {
    for (const auto& p : projects)
      for (const auto& c : p->components())
        if (!current && c->code()) current = c;
    if (!current) return out;
  }
  auto& module = *current->code();
  if (scope == FindScope::Procedure) {
    int line = editor ? editor->CaretLine() : 1;
    out.push_back({current, ProcedureRange(module, line)});
    return out;
  }
  if (scope == FindScope::Module) {
    out.push_back({current, WholeModule(module)});
    return out;
  }
  std::vector<std::shared_ptr<host::MemComponent>> all;
  for (const auto& p : projects) {
    bool mine = std::any_of(p->components().begin(), p->components().end(),
                            [&](const auto& c) { return c == current; });
    if (scope == FindScope::Project && !mine) continue;
    for (const auto& c : p->components())
      if (c->code()) all.push_back(c);
  }
  // The active module first, then on in order and round.
  if (fromActive)
    if (auto at = std::find(all.begin(), all.end(), current); at != all.end()) std::rotate(all.begin(), at, all.end());
  for (const auto& c : all) out.push_back({c, WholeModule(*c->code())});
  return out;
}

void FindReplace::Select(const CodePlace& place) {
  if (CodeEditor* e = window_.ShowCode(place.component)) e->SelectPlace(place.line, place.column, place.length);
}

bool FindReplace::FindNext(bool forward) {
  message_.clear();
  auto re = Compile();
  if (!re) return false;
  CodeEditor* editor = nullptr;
  auto targets = Targets(&editor);
  if (targets.empty()) {
    message_ = QStringLiteral("No code to search");
    return false;
  }
  int sl = 0, sc = 0, el = 0, ec = 0;
  if (editor) editor->pane()->GetSelection(sl, sc, el, ec);
  else if (!forward) sl = el = 0x7FFFFFFF;  // no pane: from the module's start (end)
  auto first = FindInModule(targets[0].component, *re, targets[0].range);
  const CodePlace* pick = nullptr;
  if (forward) {
    for (const auto& h : first)
      if (h.line > el || (h.line == el && h.column >= ec)) {
        pick = &h;
        break;
      }
  } else {
    for (auto it = first.rbegin(); it != first.rend(); ++it)
      if (it->line < sl || (it->line == sl && it->column + it->length <= sc)) {
        pick = &*it;
        break;
      }
  }
  if (pick) {
    Select(*pick);
    return true;
  }
  // On through the scope's other modules, then round to the first again.
  for (size_t k = 1; k < targets.size(); ++k) {
    const Target& t = forward ? targets[k] : targets[targets.size() - k];
    auto hits = FindInModule(t.component, *re, t.range);
    if (!hits.empty()) {
      Select(forward ? hits.front() : hits.back());
      return true;
    }
  }
  if (!first.empty()) {
    Select(forward ? first.front() : first.back());
    return true;
  }
  message_ = QStringLiteral("The specified text was not found.");
  return false;
}

bool FindReplace::Replace() {
  message_.clear();
  auto re = Compile();
  if (!re) return false;
  CodeEditor* editor = window_.ActiveEditor();
  if (editor) {
    int sl = 0, sc = 0, el = 0, ec = 0;
    editor->pane()->GetSelection(sl, sc, el, ec);
    if (sl == el && ec > sc && ReplaceHit({editor->component(), sl, sc, ec - sc}, *re, with)) {
      editor->SyncFromModule();
      editor->SelectPlace(sl, sc + static_cast<int>(with.size()), 0);
      window_.AfterCommand();
    }
  }
  return FindNext(true);
}

int FindReplace::ReplaceAll() {
  message_.clear();
  auto re = Compile();
  if (!re) return 0;
  CodeEditor* editor = nullptr;
  int count = 0;
  for (const auto& t : Targets(&editor)) {
    try {
      count += ReplaceInModule(t.component, *re, with, t.range);
    } catch (const std::exception& e) {
      message_ = QString::fromStdString(e.what());
      break;
    }
  }
  window_.AfterCommand();
  if (message_.isEmpty()) message_ = QStringLiteral("%1 replacement(s) made.").arg(count);
  return count;
}

int FindReplace::FindAll() {
  message_.clear();
  auto re = Compile();
  if (!re) return 0;
  CodeEditor* editor = nullptr;
  std::vector<CodePlace> places;
  for (const auto& t : Targets(&editor, false)) {
    auto hits = FindInModule(t.component, *re, t.range);
    places.insert(places.end(), hits.begin(), hits.end());
  }
  const int n = static_cast<int>(places.size());
  window_.resultsPane()->Show(QStringLiteral("Find \"%1\"").arg(options.what), std::move(places));
  message_ = QStringLiteral("%1 found.").arg(n);
  return n;
}

}  // namespace tarno::workbench
