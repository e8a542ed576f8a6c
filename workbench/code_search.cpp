#include "workbench/code_search.h"

#include <algorithm>

namespace tarno::workbench {
namespace {

QString LineOf(host::MemCodeModule& module, int line) {
  const std::u16string_view text = module.text().Line(line);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void SetLine(host::MemCodeModule& module, int line, const QString& text) {
  module.DeleteLines(line, 1);
  module.InsertLines(line, text.toStdU16String());
}

LineRange Clamp(host::MemCodeModule& module, LineRange r) {
  r.first = std::max(r.first, 1);
  r.last = std::min(r.last, module.text().CountOfLines());
  return r;
}

}  // namespace

LineRange WholeModule(host::MemCodeModule& module) { return {1, module.text().CountOfLines()}; }

LineRange ProcedureRange(host::MemCodeModule& module, int line) {
  int kind = 0;
  std::u16string name = module.ProcOfLine(line, &kind);
  if (name.empty()) return Clamp(module, {1, module.CountOfDeclarationLines()});
  int start = module.ProcStartLine(name, kind);
  return Clamp(module, {start, start + module.ProcCountLines(name, kind) - 1});
}

std::vector<CodePlace> FindInModule(const std::shared_ptr<host::MemComponent>& component,
                                    const QRegularExpression& find, LineRange range) {
  std::vector<CodePlace> hits;
  auto module = component->code();
  if (!module) return hits;
  range = Clamp(*module, range);
  for (int line = range.first; line <= range.last; ++line) {
    const QString text = LineOf(*module, line);
    auto it = find.globalMatch(text);
    while (it.hasNext()) {
      auto m = it.next();
      if (m.capturedLength() == 0) continue;
      hits.push_back({component, line, static_cast<int>(m.capturedStart()) + 1, static_cast<int>(m.capturedLength())});
    }
  }
  return hits;
}

int ReplaceInModule(const std::shared_ptr<host::MemComponent>& component, const QRegularExpression& find,
                    const QString& with, LineRange range) {
  auto module = component->code();
  if (!module) return 0;
  range = Clamp(*module, range);
  int count = 0;
  for (int line = range.first; line <= range.last; ++line) {
    const QString text = LineOf(*module, line);
    QString out;
    qsizetype at = 0;
    auto it = find.globalMatch(text);
    while (it.hasNext()) {
      auto m = it.next();
      if (m.capturedLength() == 0) continue;
      out += text.mid(at, m.capturedStart() - at) + with;
      at = m.capturedEnd();
      ++count;
    }
    if (at == 0) continue;
    out += text.mid(at);
    SetLine(*module, line, out);
  }
  return count;
}

bool ReplaceHit(const CodePlace& hit, const QRegularExpression& find, const QString& with) {
  auto module = hit.component->code();
  if (!module || hit.line < 1 || hit.line > module->text().CountOfLines()) return false;
  const QString text = LineOf(*module, hit.line);
  auto m = find.match(text, hit.column - 1, QRegularExpression::NormalMatch,
                      QRegularExpression::AnchorAtOffsetMatchOption);
  if (!m.hasMatch() || m.capturedLength() != hit.length) return false;
  SetLine(*module, hit.line, text.left(hit.column - 1) + with + text.mid(hit.column - 1 + hit.length));
  return true;
}

}  // namespace tarno::workbench
