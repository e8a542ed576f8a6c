#include "checks/source_reader.h"

#include <algorithm>

namespace tarno::checks {

namespace {
constexpr char16_t kQuote = u'"';
constexpr char16_t kApos = u'\'';
}  // namespace

int InStrAt(int start, View s, View find) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) > s.size()) return 0;
  size_t p = s.find(find, static_cast<size_t>(start - 1));
  return p == View::npos ? 0 : static_cast<int>(p) + 1;
}

View MidView(View s, int start, int length) {
  if (length <= 0) return {};
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) >= s.size()) return {};
  return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length));
}

View MidView(View s, int start) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) >= s.size()) return {};
  return s.substr(static_cast<size_t>(start - 1));
}

View TrimView(View s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return s.substr(b, e - b);
}

ModuleSource::ModuleSource(std::vector<std::u16string> lines, int countOfDeclarationLines)
    : declarationLines_(countOfDeclarationLines) {
  std::u16string text;
  std::vector<std::pair<size_t, size_t>> spans;
  spans.reserve(lines.size());
  for (const auto& l : lines) {
    spans.emplace_back(text.size(), l.size());
    text += l;
  }
  Own(std::move(text), spans);
  Index();
}

void ModuleSource::Own(std::u16string text, const std::vector<std::pair<size_t, size_t>>& spans) {
  owned_ = std::make_unique<const std::u16string>(std::move(text));
  const View all(*owned_);
  lines_.clear();
  lines_.reserve(spans.size());
  for (const auto& [start, length] : spans) lines_.push_back(all.substr(start, length));
}

ModuleSource ModuleSource::Read(ide::CodeModule& module) {
  ModuleSource src;
  int count = module.CountOfLines();
  src.declarationLines_ = module.CountOfDeclarationLines();
  if (count > 0) {
    src.lines_ = module.LineViews();
    if (static_cast<int>(src.lines_.size()) != count) src.lines_.clear();
  }
  if (count > 0 && src.lines_.empty()) {
    // One call for the whole module; split at CR LF. A line that itself holds
    // a CR LF would shift the numbering, so then read line by line instead.
    std::u16string all = module.Lines(1, count);
    std::vector<std::pair<size_t, size_t>> spans;
    spans.reserve(static_cast<size_t>(count));
    size_t pos = 0;
    while (true) {
      size_t cr = all.find(u"\r\n", pos);
      if (cr == std::u16string::npos) {
        spans.emplace_back(pos, all.size() - pos);
        break;
      }
      spans.emplace_back(pos, cr - pos);
      pos = cr + 2;
    }
    if (static_cast<int>(spans.size()) != count) {
      all.clear();
      spans.clear();
      for (int i = 1; i <= count; ++i) {
        std::u16string l = module.Lines(i, 1);
        spans.emplace_back(all.size(), l.size());
        all += l;
      }
    }
    src.Own(std::move(all), spans);
  }
  src.Index();
  return src;
}

void ModuleSource::Index() {
  const int n = CountOfLines();
  stmtEnd_.assign(static_cast<size_t>(n), 0);
  stmtStart_.assign(static_cast<size_t>(n), 0);
  for (int i = n; i >= 1; --i) {
    View l = Line(i);
    bool continues = !l.empty() && l.back() == u'_';
    stmtEnd_[static_cast<size_t>(i - 1)] = (continues && i < n) ? stmtEnd_[static_cast<size_t>(i)] : i;
  }
  for (int i = 1; i <= n; ++i) {
    bool startsHere = i == 1 || stmtEnd_[static_cast<size_t>(i - 2)] == i - 1;
    stmtStart_[static_cast<size_t>(i - 1)] = startsHere ? i : stmtStart_[static_cast<size_t>(i - 2)];
  }
}

Statement ReadStatement(const ModuleSource& module, int line) {
  Statement st;
  st.line = line;
  if (line < 1 || line > module.CountOfLines()) {
    st.count = 1;
    return st;
  }
  int end = module.StatementEnd(line);
  st.count = end - line + 1;
  if (st.count == 1) {
    st.text = std::u16string(TrimView(module.Line(line)));
    return st;
  }
  std::u16string joined;
  for (int i = line; i <= end; ++i) {
    if (i > line) joined += u"\r\n";
    joined += module.Line(i);
  }
  st.text = std::u16string(TrimView(joined));
  return st;
}

bool HasWholeWord(View line, View target) {
  if (target.empty()) return false;
  size_t p = line.find(target);
  while (p != View::npos) {
    bool before = p == 0 || !IsWordChar(line[p - 1]);
    size_t e = p + target.size();
    bool after = e == line.size() || !IsWordChar(line[e]);
    if (before && after) return true;
    p = line.find(target, p + 1);
  }
  return false;
}

int FindWholeWord(const ModuleSource& module, View target, int first, int last) {
  if (target.empty()) return 0;
  if (first < 1) first = 1;
  last = std::min(last, module.CountOfLines());
  for (int i = first; i <= last; ++i) {
    if (HasWholeWord(module.Line(i), target)) return i;
  }
  return 0;
}

bool IsInCommentOrString(View text, View name) {
  const int w = InStrAt(1, text, name);
  if (w == 0) return true;
  if (w == 1) return false;
  const int rem = InStrAt(1, text, u"Rem");
  if (rem != 0 && rem < w) return true;
  int q = InStrAt(1, text, kQuote);
  const bool anyQuote = q > 0;
  int apos = InStrAt(1, text, kApos);
  if (apos != 0) {
    for (int next = InStrAt(apos + 1, text, kApos); next != 0 && next < w;
         next = InStrAt(apos + 1, text, kApos)) {
      apos = next;
    }
  }
  // Quotes up to a position: k counts the first quote, then every further
  // quote that lies before `limit`.
  auto countQuotes = [&](int limit) {
    int k = anyQuote ? 1 : 0;
    int cur = q;
    if (cur == 0) return k;
    for (int next = InStrAt(cur + 1, text, kQuote); next != 0 && next < limit;
         next = InStrAt(cur + 1, text, kQuote)) {
      cur = next;
      ++k;
    }
    return k;
  };
  const bool quoteAfterName = InStrAt(w + 1, text, kQuote) != 0;
  if (apos != 0 && apos <= w) {
    int k = countQuotes(apos);
    if (!anyQuote || k % 2 == 0) return true;
    int z = InStrAt(apos + 1, text, kQuote);
    if (z > 0) return z > w;
    return quoteAfterName;
  }
  int k = countQuotes(w);
  if (!anyQuote || k % 2 == 0 || k == 1) return false;
  return quoteAfterName;
}

bool IsUseInStatementText(const ModuleSource& module, int line, int count, View text, View name, int boundary) {
  if (!text.empty() && text.front() == kApos) return false;
  if (IsInCommentOrString(text, name)) return false;
  if (text.empty()) return false;
  int match = FindWholeWord(module, name, line, line + count - 1);
  if (match == 0 || match <= boundary + 1) return false;
  int q1 = InStrAt(1, text, kQuote);
  if (q1 == 0) return true;
  int q2 = InStrAt(q1 + 1, text, kQuote);
  int p = InStrAt(1, text, name);
  return !(q1 < p && p < q2);
}

bool IsUseInStatement(const ModuleSource& module, const Statement& statement, View name, int boundary) {
  return IsUseInStatementText(module, statement.line, statement.count, statement.text, name, boundary);
}

}  // namespace tarno::checks
