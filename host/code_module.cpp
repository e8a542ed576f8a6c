#include "host/code_module.h"

#include <algorithm>

#include "host/faults.h"
#include "host/vb_syntax.h"
#include "platform/vb_text.h"

namespace tarno::host {

namespace {

using syntax::View;

const char* KindName(int kind) {
  switch (kind) {
    case ide::ProcKind::Proc: return "procedure";
    case ide::ProcKind::Let: return "Property Let";
    case ide::ProcKind::Set: return "Property Set";
    case ide::ProcKind::Get: return "Property Get";
  }
  return "unknown kind";
}

std::u16string ProcKey(View name, int kind) {
  std::u16string key = vb::LCaseAscii(name);
  key.push_back(u'\0');
  key.push_back(static_cast<char16_t>(u'0' + kind));
  return key;
}

inline char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// Leftmost match of target in line[from, limit) (0-based, limit exclusive).
// The checks call this for every name on every line: keep it a tight scan for
// the first character, on raw pointers.
size_t FindIn(View line, View target, size_t from, size_t limit, bool matchCase) {
  const size_t m = target.size();
  if (m == 0 || limit < m || from > limit - m) return View::npos;
  const char16_t* p = line.data();
  const char16_t* t = target.data();
  const size_t last = limit - m;
  if (matchCase) {
    const char16_t c0 = t[0];
    for (size_t i = from; i <= last; ++i) {
      if (p[i] == c0 && std::char_traits<char16_t>::compare(p + i + 1, t + 1, m - 1) == 0) return i;
    }
    return View::npos;
  }
  const char16_t c0 = LowerAscii(t[0]);
  for (size_t i = from; i <= last; ++i) {
    if (LowerAscii(p[i]) != c0) continue;
    size_t k = 1;
    while (k < m && LowerAscii(p[i + k]) == LowerAscii(t[k])) ++k;
    if (k == m) return i;
  }
  return View::npos;
}

}  // namespace

MemCodeModule::MemCodeModule(ModuleText text) : text_(std::move(text)) {}

void MemCodeModule::SetText(ModuleText text) {
  text_ = std::move(text);
  analysis_.reset();
}

void MemCodeModule::Edited() {
  if (auto p = parent_.lock()) p->MarkDirty();
}

std::vector<std::u16string> MemCodeModule::SplitInsertText(const std::u16string& text) {
  // A code line cannot hold a line break: a lone CR or LF ends a line too, or
  // the module would read back with other line numbers once saved.
  std::vector<std::u16string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

std::u16string MemCodeModule::Lines(int start, int count) {
  CheckFault("CodeModule.Lines");
  const int n = text_.CountOfLines();
  if (start < 1 || count < 0 || start - 1 + count > n) {
    throw ide::HostError("CodeModule.Lines", "lines " + std::to_string(start) + " to " +
                                                 std::to_string(start + count - 1) + " are outside 1 to " +
                                                 std::to_string(n));
  }
  if (count == 1) return std::u16string(text_.Line(start));
  std::u16string out;
  for (int i = 0; i < count; ++i) {
    if (i) out += u"\r\n";
    out += text_.Line(start + i);
  }
  return out;
}

std::vector<std::u16string_view> MemCodeModule::LineViews() {
  CheckFault("CodeModule.Lines");
  const int n = text_.CountOfLines();
  std::vector<std::u16string_view> out;
  out.reserve(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i) out.emplace_back(text_.Line(i));
  return out;
}

int MemCodeModule::CountOfLines() {
  CheckFault("CodeModule.CountOfLines");
  return text_.CountOfLines();
}

int MemCodeModule::CountOfDeclarationLines() {
  CheckFault("CodeModule.CountOfDeclarationLines");
  if (analysis_ && analysedVersion_ == text_.version()) return analysis_->declarationLines;
  // Only the statements up to the first procedure declaration decide it (as
  // in Finish); the whole analysis of a large module is not needed for that.
  const int n = text_.CountOfLines();
  std::vector<View> parts;
  for (int i = 1; i <= n;) {
    int j = i;
    while (j < n && syntax::Continues(text_.Line(j))) ++j;
    bool decl;
    if (j == i) {
      decl = syntax::ParseProcDecl(text_.Line(i)).has_value();
    } else {
      parts.clear();
      for (int k = i; k <= j; ++k) parts.emplace_back(text_.Line(k));
      decl = syntax::ParseProcDecl(syntax::JoinContinued(parts)).has_value();
    }
    if (decl) {
      int d = i - 1;
      while (d >= 1 && (syntax::IsBlank(text_.Line(d)) || syntax::IsCommentOnly(text_.Line(d)))) --d;
      return d;
    }
    i = j + 1;
  }
  return n;
}

void MemCodeModule::InsertLines(int line, const std::u16string& text) {
  CheckFault("CodeModule.InsertLines");
  const int n = text_.CountOfLines();
  if (line < 1 || line > n + 1) {
    throw ide::HostError("CodeModule.InsertLines",
                         "line " + std::to_string(line) + " is outside 1 to " + std::to_string(n + 1));
  }
  auto lines = SplitInsertText(text);
  const bool shift = OnlyMoves(line, &lines, 0);
  text_.InsertLines(line, lines);
  if (shift) Shift(line, static_cast<int>(lines.size()));
  Edited();
}

void MemCodeModule::DeleteLines(int start, int count) {
  CheckFault("CodeModule.DeleteLines");
  const int n = text_.CountOfLines();
  if (start < 1 || count < 0 || start - 1 + count > n) {
    throw ide::HostError("CodeModule.DeleteLines", "lines " + std::to_string(start) + " to " +
                                                       std::to_string(start + count - 1) + " are outside 1 to " +
                                                       std::to_string(n));
  }
  if (count == 0) return;
  const bool shift = OnlyMoves(start, nullptr, count);
  text_.DeleteLines(start, count);
  if (shift) Shift(start + count, -count);
  Edited();
}

MemCodeModule::Range MemCodeModule::Lookup(const char* operation, const std::u16string& name, int kind) {
  const Analysis& a = Analyze();
  auto it = a.procByKey.find(ProcKey(name, kind));
  if (it != a.procByKey.end()) {
    const ProcRange& p = a.procs[it->second];
    return {p.start, p.body, p.count};
  }
  if (kind == ide::ProcKind::Proc) {
    auto d = a.declareByName.find(vb::LCaseAscii(name));
    if (d != a.declareByName.end()) {
      const DeclareRange& r = a.declares[d->second];
      return {r.line, r.line, r.lines};
    }
  }
  throw ide::HostError(operation, "the module has no " + std::string(KindName(kind)) + " named " + vb::ToUtf8(name));
}

int MemCodeModule::ProcStartLine(const std::u16string& name, int kind) {
  CheckFault("CodeModule.ProcStartLine");
  return Lookup("CodeModule.ProcStartLine", name, kind).start;
}

int MemCodeModule::ProcBodyLine(const std::u16string& name, int kind) {
  CheckFault("CodeModule.ProcBodyLine");
  return Lookup("CodeModule.ProcBodyLine", name, kind).body;
}

int MemCodeModule::ProcCountLines(const std::u16string& name, int kind) {
  CheckFault("CodeModule.ProcCountLines");
  return Lookup("CodeModule.ProcCountLines", name, kind).count;
}

std::u16string MemCodeModule::ProcOfLine(int line, int* kind) {
  CheckFault("CodeModule.ProcOfLine");
  const int n = text_.CountOfLines();
  if (line < 1 || line > n) {
    throw ide::HostError("CodeModule.ProcOfLine",
                         "line " + std::to_string(line) + " is outside 1 to " + std::to_string(n));
  }
  const Analysis& a = Analyze();
  if (kind) *kind = ide::ProcKind::Proc;
  if (line <= a.declarationLines || a.procs.empty()) return u"";
  auto it = std::upper_bound(a.procs.begin(), a.procs.end(), line,
                             [](int l, const ProcRange& p) { return l < p.start; });
  if (it == a.procs.begin()) return u"";
  --it;
  if (kind) *kind = it->kind;
  return it->name;
}

bool MemCodeModule::Find(const std::u16string& target, int& startLine, int& startColumn, int& endLine,
                         int& endColumn, bool wholeWord, bool matchCase, bool /*patternSearch*/) {
  CheckFault("CodeModule.Find");
  if (target.empty()) return false;
  const int n = text_.CountOfLines();
  const int first = std::max(startLine, 1);
  const int last = std::min(endLine, n);
  for (int l = first; l <= last; ++l) {
    View line = text_.Line(l);
    size_t from = (l == startLine && startColumn > 1) ? static_cast<size_t>(startColumn - 1) : 0;
    size_t limit = line.size();
    // endColumn is the column just after the last one searched; -1 (or 0) is the end of the line.
    if (l == endLine && endColumn > 0) limit = std::min(limit, static_cast<size_t>(endColumn - 1));
    while (from <= limit) {
      size_t at = FindIn(line, target, from, limit, matchCase);
      if (at == View::npos) break;
      size_t after = at + target.size();
      bool ok = !wholeWord || ((at == 0 || !syntax::IsWordChar(line[at - 1])) &&
                               (after >= line.size() || !syntax::IsWordChar(line[after])));
      if (ok) {
        startLine = l;
        endLine = l;
        startColumn = static_cast<int>(at) + 1;
        endColumn = static_cast<int>(after) + 1;
        return true;
      }
      from = at + 1;
    }
  }
  return false;
}

std::vector<ide::Member> MemCodeModule::Members() {
  CheckFault("CodeModule.Members");
  return Analyze().members;
}

std::shared_ptr<ide::VBComponent> MemCodeModule::Parent() {
  CheckFault("CodeModule.Parent");
  auto p = parent_.lock();
  return p ? p->AsVBComponent() : nullptr;
}

const MemCodeModule::Analysis& MemCodeModule::Analyze() {
  if (analysis_ && analysedVersion_ == text_.version()) return *analysis_;
  auto a = std::make_unique<Analysis>();
  const int n = text_.CountOfLines();

  // Procedures: declaration statements (continued lines joined), each closed
  // by the first End Sub/Function/Property after it (or on its own line, after
  // a colon). A procedure whose End is missing stops before the next
  // declaration of another name or kind, or runs to the last line; one of the
  // same name and kind before the End is its #If twin and shares its body.
  ProcRange* open = nullptr;
  std::vector<View> parts;
  for (int i = 1; i <= n;) {
    int j = i;
    while (j < n && syntax::Continues(text_.Line(j))) ++j;
    std::optional<syntax::ProcDecl> decl;
    if (j == i) {
      decl = syntax::ParseProcDecl(text_.Line(i));
    } else {
      parts.clear();
      for (int k = i; k <= j; ++k) parts.emplace_back(text_.Line(k));
      decl = syntax::ParseProcDecl(syntax::JoinContinued(parts));
    }
    if (decl && open && open->kind == decl->kind && vb::LCaseAscii(open->name) == vb::LCaseAscii(decl->name)) {
      // The other branch of an #If around one declaration: both share the body
      // that follows, so the first one's range runs on to the End.
    } else if (decl) {
      const bool oneLine = syntax::EndsProcOnSameLine(text_.Line(j));
      ProcRange p;
      p.name = std::move(decl->name);
      p.kind = decl->kind;
      p.scope = decl->scope;
      p.property = decl->property;
      p.body = i;
      if (oneLine) {
        p.end = j;
        p.hasEnd = true;
      }
      a->procs.push_back(std::move(p));
      open = oneLine ? nullptr : &a->procs.back();
    } else if (open) {
      for (int k = i; k <= j; ++k) {
        if (syntax::IsProcEnd(text_.Line(k))) {
          open->end = k;
          open->hasEnd = true;
          open = nullptr;
          break;
        }
      }
    }
    i = j + 1;
  }

  Finish(*a);
  for (size_t i = 0; i < a->procs.size(); ++i) a->procByKey.emplace(ProcKey(a->procs[i].name, a->procs[i].kind), i);

  ScanDeclarations(*a, a->declarationLines);

  // Procedure members follow the declarations; one per name, at its first accessor.
  std::unordered_map<std::u16string, bool> seen;
  for (const ProcRange& p : a->procs) {
    if (!seen.emplace(vb::LCaseAscii(p.name), true).second) continue;
    a->members.push_back(ide::Member{p.name, p.property ? ide::MemberType::Property : ide::MemberType::Method,
                                     p.scope, p.body});
  }

  analysis_ = std::move(a);
  analysedVersion_ = text_.version();
  return *analysis_;
}

void MemCodeModule::Finish(Analysis& a) const {
  const int n = text_.CountOfLines();
  for (size_t i = 0; i < a.procs.size(); ++i) {
    ProcRange& p = a.procs[i];
    if (!p.hasEnd) p.end = i + 1 < a.procs.size() ? a.procs[i + 1].body - 1 : n;
  }
  if (a.procs.empty()) {
    a.declarationLines = n;
  } else {
    int d = a.procs.front().body - 1;
    while (d >= 1 && (syntax::IsBlank(text_.Line(d)) || syntax::IsCommentOnly(text_.Line(d)))) --d;
    a.declarationLines = d;
  }
  for (size_t i = 0; i < a.procs.size(); ++i) {
    ProcRange& p = a.procs[i];
    p.start = i == 0 ? a.declarationLines + 1 : a.procs[i - 1].end + 1;
    int last = i + 1 == a.procs.size() ? n : p.end;
    p.count = last - p.start + 1;
  }
}

bool MemCodeModule::OnlyMoves(int at, const std::vector<std::u16string>* added, int removedCount) const {
  if (!analysis_ || analysedVersion_ != text_.version()) return false;
  const Analysis& a = *analysis_;
  if (a.procs.empty() || at <= a.procs.front().body) return false;
  if (at > 1 && syntax::Continues(text_.Line(at - 1))) return false;
  auto harmless = [](std::u16string_view line) {
    return !syntax::Continues(line) && !syntax::IsProcEnd(line) && !syntax::ParseProcDecl(line);
  };
  if (added) {
    for (const auto& l : *added) {
      if (!harmless(l)) return false;
    }
  }
  for (int i = 0; i < removedCount; ++i) {
    if (!harmless(text_.Line(at + i))) return false;
  }
  return true;
}

void MemCodeModule::Shift(int from, int delta) {
  // Lines from `from` on (numbered before the edit) move by delta.
  Analysis& a = *analysis_;
  for (ProcRange& p : a.procs) {
    if (p.body >= from) p.body += delta;
    if (p.hasEnd && p.end >= from) p.end += delta;
  }
  for (ide::Member& m : a.members) {
    if (m.CodeLocation >= from) m.CodeLocation += delta;
  }
  Finish(a);
  analysedVersion_ = text_.version();
}

void MemCodeModule::ScanDeclarations(Analysis& a, int lastLine) {
  std::vector<View> parts;
  View blockEnd;  // inside a Type or Enum block: its closing word
  for (int i = 1; i <= lastLine;) {
    int j = i;
    while (j < text_.CountOfLines() && syntax::Continues(text_.Line(j))) ++j;
    const int line = i;
    const int lines = j - i + 1;
    std::u16string joined;
    View statement;
    if (j == i) {
      statement = text_.Line(i);
    } else {
      parts.clear();
      for (int k = i; k <= j; ++k) parts.emplace_back(text_.Line(k));
      joined = syntax::JoinContinued(parts);
      statement = joined;
    }
    i = j + 1;

    if (!blockEnd.empty()) {
      if (syntax::IsEndOf(statement, blockEnd)) blockEnd = {};
      continue;
    }
    View code = syntax::TrimBlanks(syntax::FirstPart(syntax::StripComment(statement)));
    if (code.empty()) continue;
    syntax::Words w(code);
    View first = w.Next();
    int scope = 0;
    bool isDim = false;
    if (syntax::EqualsNoCase(first, u"Private") || syntax::EqualsNoCase(first, u"Dim")) {
      scope = ide::MemberScope::Private;
      isDim = syntax::EqualsNoCase(first, u"Dim");
    } else if (syntax::EqualsNoCase(first, u"Public") || syntax::EqualsNoCase(first, u"Global")) {
      scope = ide::MemberScope::Public;
    }
    View second = scope ? w.Peek() : first;

    if (syntax::EqualsNoCase(second, u"Type") || syntax::EqualsNoCase(second, u"Enum")) {
      if (!isDim) {
        blockEnd = syntax::EqualsNoCase(second, u"Type") ? View(u"Type") : View(u"Enum");
        continue;
      }
    }
    if (!isDim && (syntax::EqualsNoCase(second, u"Declare") || syntax::EqualsNoCase(second, u"Event"))) {
      if (auto d = syntax::ParseDeclareOrEvent(code)) {
        a.members.push_back(ide::Member{d->name, d->type, d->scope, line});
        a.declares.push_back(DeclareRange{d->name, line, lines});
        a.declareByName.emplace(vb::LCaseAscii(d->name), a.declares.size() - 1);
      }
      continue;
    }
    if (syntax::EqualsNoCase(second, u"Const")) {
      if (scope) w.Next();
      for (View item : syntax::SplitList(w.Rest())) {
        View name = syntax::LeadingName(item);
        if (!name.empty()) {
          a.members.push_back(ide::Member{std::u16string(name), ide::MemberType::Const,
                                          scope ? scope : ide::MemberScope::Private, line});
        }
      }
      continue;
    }
    if (!scope) continue;
    // Procedures are found elsewhere; anything else after a scope word is a variable list.
    if (syntax::EqualsNoCase(second, u"Sub") || syntax::EqualsNoCase(second, u"Function") ||
        syntax::EqualsNoCase(second, u"Property") || syntax::EqualsNoCase(second, u"Static") ||
        second.empty()) {
      continue;
    }
    for (View item : syntax::SplitList(w.Rest())) {
      View name = syntax::LeadingName(item);
      if (!name.empty()) a.members.push_back(ide::Member{std::u16string(name), ide::MemberType::Variable, scope, line});
    }
  }
}

}  // namespace tarno::host
