#include "host/vb_syntax.h"

#include "addin/host_api.h"

namespace tarno::host::syntax {

View TrimBlanks(View s) {
  size_t b = 0, e = s.size();
  while (b < e && IsSpaceOrTab(s[b])) ++b;
  while (e > b && IsSpaceOrTab(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool IsBlank(View line) { return TrimBlanks(line).empty(); }

static char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool EqualsNoCase(View a, View b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool IsCommentOnly(View line) {
  View t = TrimBlanks(line);
  if (t.empty()) return false;
  if (t[0] == u'\'') return true;
  Words w(t);
  return EqualsNoCase(w.Next(), u"Rem");
}

View StripComment(View s) {
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'"') quoted = !quoted;
    else if (s[i] == u'\'' && !quoted) return s.substr(0, i);
  }
  return s;
}

View FirstPart(View s) {
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'"') quoted = !quoted;
    else if (s[i] == u':' && !quoted) return s.substr(0, i);
  }
  return s;
}

bool IsEndOf(View line, View word) {
  Words w(TrimBlanks(StripComment(line)));
  if (!EqualsNoCase(w.Next(), u"End")) return false;
  if (!EqualsNoCase(w.Next(), word)) return false;
  return w.Rest().empty();
}

bool IsProcEnd(View line) {
  View t = TrimBlanks(line);
  // Cheap reject first: this runs on every line of every procedure.
  if (t.size() < 7 || LowerAscii(t[0]) != u'e') return false;
  return IsEndOf(line, u"Sub") || IsEndOf(line, u"Function") || IsEndOf(line, u"Property");
}

bool EndsProcOnSameLine(View statement) {
  View s = StripComment(statement);
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'"') {
      quoted = !quoted;
    } else if (s[i] == u':' && !quoted) {
      View rest = s.substr(i + 1);
      if (IsProcEnd(FirstPart(rest))) return true;
    }
  }
  return false;
}

void Words::SkipBlanks() {
  while (pos_ < s_.size() && IsSpaceOrTab(s_[pos_])) ++pos_;
}

View Words::Next() {
  SkipBlanks();
  size_t b = pos_;
  while (pos_ < s_.size() && IsWordChar(s_[pos_])) ++pos_;
  return s_.substr(b, pos_ - b);
}

View Words::Peek() {
  size_t keep = pos_;
  View v = Next();
  pos_ = keep;
  return v;
}

View Words::Rest() {
  SkipBlanks();
  return s_.substr(pos_);
}

static bool IsTypeSuffix(char16_t c) {
  return c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'#' || c == u'@';
}

static int ScopeOf(View word) {
  if (EqualsNoCase(word, u"Private")) return ide::MemberScope::Private;
  if (EqualsNoCase(word, u"Public")) return ide::MemberScope::Public;
  if (EqualsNoCase(word, u"Friend")) return ide::MemberScope::Friend;
  return 0;
}

// The name after a Sub/Function/Property keyword: an identifier followed by
// the end, a blank or "(", optionally with a type suffix in between.
static std::optional<std::u16string> ProcName(View s, size_t pos) {
  while (pos < s.size() && IsSpaceOrTab(s[pos])) ++pos;
  size_t b = pos;
  while (pos < s.size() && IsWordChar(s[pos])) ++pos;
  if (pos == b || (s[b] >= u'0' && s[b] <= u'9')) return std::nullopt;
  size_t e = pos;
  if (pos < s.size() && IsTypeSuffix(s[pos])) ++pos;
  if (pos < s.size() && !IsSpaceOrTab(s[pos]) && s[pos] != u'(') return std::nullopt;
  return std::u16string(s.substr(b, e - b));
}

std::optional<ProcDecl> ParseProcDecl(View statement) {
  View t = TrimBlanks(statement);
  if (t.empty() || !IsWordChar(t[0])) return std::nullopt;
  Words w(t);
  ProcDecl d;
  d.scope = ide::MemberScope::Public;
  View word = w.Next();
  if (int sc = ScopeOf(word)) {
    d.scope = sc;
    word = w.Next();
  }
  if (EqualsNoCase(word, u"Static")) word = w.Next();
  if (EqualsNoCase(word, u"Sub") || EqualsNoCase(word, u"Function")) {
    d.kind = ide::ProcKind::Proc;
  } else if (EqualsNoCase(word, u"Property")) {
    View acc = w.Next();
    if (EqualsNoCase(acc, u"Get")) d.kind = ide::ProcKind::Get;
    else if (EqualsNoCase(acc, u"Let")) d.kind = ide::ProcKind::Let;
    else if (EqualsNoCase(acc, u"Set")) d.kind = ide::ProcKind::Set;
    else return std::nullopt;
    d.property = true;
  } else {
    return std::nullopt;
  }
  auto name = ProcName(t, w.pos());
  if (!name) return std::nullopt;
  d.name = std::move(*name);
  return d;
}

std::optional<DeclareOrEvent> ParseDeclareOrEvent(View statement) {
  View t = TrimBlanks(statement);
  if (t.empty() || !IsWordChar(t[0])) return std::nullopt;
  Words w(t);
  DeclareOrEvent d;
  d.scope = ide::MemberScope::Public;
  View word = w.Next();
  if (int sc = ScopeOf(word)) {
    d.scope = sc;
    word = w.Next();
  }
  if (EqualsNoCase(word, u"Declare")) {
    d.type = ide::MemberType::Method;
    View kw = w.Next();
    if (EqualsNoCase(kw, u"PtrSafe")) kw = w.Next();
    if (!EqualsNoCase(kw, u"Sub") && !EqualsNoCase(kw, u"Function")) return std::nullopt;
  } else if (EqualsNoCase(word, u"Event")) {
    d.type = ide::MemberType::Event;
  } else {
    return std::nullopt;
  }
  auto name = ProcName(t, w.pos());
  if (!name) return std::nullopt;
  d.name = std::move(*name);
  return d;
}

std::u16string JoinContinued(const std::vector<View>& lines) {
  std::u16string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    View l = lines[i];
    if (i + 1 < lines.size() && Continues(l)) {
      out.append(l.substr(0, l.size() - 1));
      out.push_back(u' ');
    } else {
      out.append(l);
    }
  }
  return out;
}

std::vector<View> SplitList(View s) {
  std::vector<View> parts;
  int depth = 0;
  bool quoted = false;
  size_t b = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'(') ++depth;
    else if (c == u')' && depth > 0) --depth;
    else if (c == u',' && depth == 0) {
      parts.push_back(s.substr(b, i - b));
      b = i + 1;
    }
  }
  parts.push_back(s.substr(b));
  return parts;
}

View LeadingName(View item) {
  View t = TrimBlanks(item);
  Words w(t);
  View first = w.Next();
  if (EqualsNoCase(first, u"WithEvents") && !w.Peek().empty()) first = w.Next();
  if (!first.empty() && first[0] >= u'0' && first[0] <= u'9') return {};
  return first;
}

}  // namespace tarno::host::syntax
