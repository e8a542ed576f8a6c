// The lexer: one physical line at a time, as the host lends them, into
// tokens that point back into the line. It carries from line to line only
// whether a comment goes on (a comment ending in " _" continues) and whether
// the next line continues a statement.
#pragma once

#include <string_view>
#include <vector>

#include "lang/names.h"
#include "lang/token.h"

namespace tarno::lang {

// VB's limit on a code line; longer lines are refused (one Bad token).
inline constexpr size_t kMaxLineLength = 65535;

class Lexer {
 public:
  explicit Lexer(NameTable& names) : names_(names) {}
  // Appends the tokens of one line to `out`; true when the statement goes on
  // on the next line (the line ends in " _" outside a comment).
  bool LexLine(std::u16string_view text, int line, std::vector<Token>& out);
  // Whether the previous line's comment goes on into the next line.
  bool InComment() const { return commentContinues_; }
  void Reset() { commentContinues_ = false, continued_ = false; }

 private:
  NameTable& names_;
  bool commentContinues_ = false;
  bool continued_ = false;
};

// A blank between tokens: space, tab, ideographic space, no-break space and
// the other control characters.
inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0 || c < 0x20; }
inline bool IsNameStart(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return !IsBlank(c) && c != 0xFEFF;
}
inline bool IsNameChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
  return !IsBlank(c) && c != 0xFEFF;
}

// Every token of a module, line by line (the tokens of line n are
// tokens[starts[n-1] .. starts[n])): for tools that show or check tokens.
struct ModuleTokens {
  std::vector<Token> tokens;
  std::vector<uint32_t> starts;  // CountOfLines + 1 entries
};
ModuleTokens LexModule(const std::vector<std::u16string_view>& lines, NameTable& names);

}  // namespace tarno::lang
