// Reading VB module source for the checks: a read-once copy of a code module,
// statements (continued lines joined), and the text rules that decide whether
// a statement uses a name. Positions are 1-based, searches exact and
// case-sensitive, trimming removes U+0020 only.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host_api.h"

namespace tarno::checks {

using View = std::u16string_view;

// One code module's lines, read from the host once: views into the host's own
// text where it lends them, else a copy. The checks search the same lines
// many times; rereading them through the host for every name is what makes a
// literal reading slow on large projects, and a second copy of a large
// project's text is what makes it big. The module must not change while this
// object reads it.
class ModuleSource {
 public:
  ModuleSource() = default;
  // Builds from plain lines (tests, benchmarks).
  ModuleSource(std::vector<std::u16string> lines, int countOfDeclarationLines);
  // Reads CountOfLines, CountOfDeclarationLines and every line (HostError passes through).
  static ModuleSource Read(ide::CodeModule& module);

  int CountOfLines() const { return static_cast<int>(lines_.size()); }
  int CountOfDeclarationLines() const { return declarationLines_; }
  // Line n (1..CountOfLines), without its line end.
  View Line(int n) const { return lines_[static_cast<size_t>(n - 1)]; }
  // The last line of the statement that begins at line n: the first line from
  // n on that does not end in "_", and never past the module's last line.
  int StatementEnd(int n) const { return stmtEnd_[static_cast<size_t>(n - 1)]; }
  // Where the statement holding line n begins when statements are read from
  // line 1 (a statement read from line n itself begins at n).
  int StatementStart(int n) const { return stmtStart_[static_cast<size_t>(n - 1)]; }

 private:
  void Index();
  // Views into one owned text; on the heap, so that moving this object
  // leaves the views valid.
  void Own(std::u16string text, const std::vector<std::pair<size_t, size_t>>& spans);
  std::unique_ptr<const std::u16string> owned_;
  std::vector<View> lines_;
  std::vector<int> stmtEnd_;
  std::vector<int> stmtStart_;
  int declarationLines_ = 0;
};

// One statement: first line, number of physical lines, text (the lines joined
// by CR LF, then trimmed).
struct Statement {
  int line = 0;
  int count = 0;
  std::u16string text;
  int LastLine() const { return line + count - 1; }
};

// Joins continuation lines from line L (a line whose last character is "_"
// continues, the line is not trimmed first). Reading stops at the module's
// last line even when that line ends in "_".
Statement ReadStatement(const ModuleSource& module, int line);

// A VB identifier character for whole-word searches: A..Z, a..z, 0..9, "_"
// and every character from U+0080 up except the ideographic space U+3000.
inline bool IsWordChar(char16_t c) {
  if (c < 0x80) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
  }
  return c != 0x3000;
}

// Whole-word, case-sensitive search of `target` on lines first..last of the
// module: the line of the first match, 0 when there is none. An empty target
// is never found.
int FindWholeWord(const ModuleSource& module, View target, int first, int last);
// Whether `target` occurs as a whole word in one line of text.
bool HasWholeWord(View line, View target);

// True when the occurrence of `name` in the statement text is to be ignored:
// the name is missing, behind a comment (apostrophe or Rem) or inside a
// string literal, by the position rules of the checks.
bool IsInCommentOrString(View text, View name);

// Whether the statement uses the name. `boundary` is the boundary line of
// the search range: a whole-word match on a line up to boundary + 1 does not
// count.
bool IsUseInStatement(const ModuleSource& module, const Statement& statement, View name, int boundary);
// The same test on a statement text already read (text must be
// ReadStatement(module, line).text for a statement of `count` lines).
bool IsUseInStatementText(const ModuleSource& module, int line, int count, View text, View name, int boundary);

// Text helpers with the VB position rules (1-based; 0 for "not found"; a
// start below 1 counts as 1).
int InStrAt(int start, View s, View find);
inline int InStrAt(int start, View s, char16_t c) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) >= s.size()) return 0;
  size_t p = s.find(c, static_cast<size_t>(start - 1));
  return p == View::npos ? 0 : static_cast<int>(p) + 1;
}
inline bool Contains(View s, View find) { return s.find(find) != View::npos; }
// Mid(s, start, length): "" for a negative length; start below 1 counts as 1.
View MidView(View s, int start, int length);
View MidView(View s, int start);
View TrimView(View s);

}  // namespace tarno::checks
