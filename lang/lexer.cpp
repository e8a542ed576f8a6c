#include "lang/lexer.h"

#include "lang/keywords.h"

namespace tarno::lang {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) {
  return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsTypeChar(char16_t c) {
  return c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'#' || c == u'@';
}

// Whether text[from, to) reads as the inside of a date literal: digits,
// separators, month names and AM/PM, beginning with a digit or a month.
bool LooksLikeDate(std::u16string_view s) {
  static constexpr std::u16string_view kMonths[] = {u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN",
                                                    u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};
  bool digit = false;
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i == s.size()) return false;
  if (!IsDigit(s[i]) && !IsAsciiLetter(s[i])) return false;
  while (i < s.size()) {
    char16_t c = s[i];
    if (IsDigit(c)) {
      digit = true;
      ++i;
    } else if (c == u'/' || c == u'-' || c == u':' || c == u',' || c == u'.' || IsBlank(c)) {
      ++i;
    } else if (IsAsciiLetter(c)) {
      size_t j = i;
      while (j < s.size() && IsAsciiLetter(s[j])) ++j;
      std::u16string word;
      for (size_t k = i; k < j; ++k) word += FoldName(s[k]);
      bool ok = word == u"AM" || word == u"PM" || word == u"A" || word == u"P";
      for (auto m : kMonths) ok = ok || (word.size() >= 3 && word.compare(0, 3, m) == 0);
      if (!ok) return false;
      i = j;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

bool Lexer::LexLine(std::u16string_view text, int line, std::vector<Token>& out) {
  const size_t n = text.size();
  auto push = [&](size_t from, size_t to, TokenKind kind, Atom atom, uint8_t flags) {
    Token t;
    t.line = line;
    t.column = static_cast<uint16_t>(from);
    t.length = static_cast<uint16_t>(to - from);
    t.kind = kind;
    t.atom = atom;
    t.flags = flags;
    out.push_back(t);
  };
  if (n > kMaxLineLength) {
    push(0, 0, TokenKind::Bad, kNoAtom, 0);
    commentContinues_ = continued_ = false;
    return false;
  }
  // A comment ends at the line end; it goes on when it ends in " _".
  auto endsContinued = [&](size_t from) {
    size_t e = n;
    while (e > from && IsBlank(text[e - 1])) --e;
    return e > from && text[e - 1] == u'_' && (e - 1 == from || IsBlank(text[e - 2]));
  };
  size_t i = 0;
  if (commentContinues_) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i < n) push(i, n, TokenKind::Comment, kNoAtom, kSpaceBefore);
    commentContinues_ = endsContinued(i);
    continued_ = false;
    return false;
  }
  const size_t first = out.size();
  bool statementStart = !continued_;
  bool continues = false;
  auto operandBefore = [&]() {
    if (out.size() == first) return false;
    const Token& p = out.back();
    switch (p.kind) {
      case TokenKind::Name: return !IsReserved(p.atom) || p.atom == A(Kw::Me) || (p.flags & kBracketed);
      case TokenKind::Number: case TokenKind::String: case TokenKind::Date: return true;
      case TokenKind::Punct: return p.atom == static_cast<Atom>(Punct::RParen);
      default: return false;
    }
  };
  while (i < n) {
    const char16_t c = text[i];
    if (IsBlank(c)) {
      ++i;
      continue;
    }
    const uint8_t space = (i == 0 || IsBlank(text[i - 1])) ? kSpaceBefore : 0;
    const size_t start = i;
    const bool atStart = statementStart;
    statementStart = false;
    if (c == u'\'') {
      push(i, n, TokenKind::Comment, kNoAtom, space);
      commentContinues_ = endsContinued(i + 1);
      i = n;
      break;
    }
    if (c == u'_' && space) {
      size_t j = i + 1;
      while (j < n && IsBlank(text[j])) ++j;
      if (j == n) {
        push(i, i + 1, TokenKind::Continuation, kNoAtom, space);
        continues = true;
        i = n;
        break;
      }
    }
    if (IsNameStart(c) || c == u'[') {
      size_t nameFrom = i, nameTo;
      uint32_t hash = NameTable::kHashStart;
      uint8_t flags = space;
      if (c == u'[') {
        size_t close = text.find(u']', i + 1);
        if (close == std::u16string_view::npos) {
          push(i, n, TokenKind::Bad, kNoAtom, space);
          i = n;
          break;
        }
        nameFrom = i + 1;
        nameTo = close;
        i = close + 1;
        flags |= kBracketed;
        hash = NameTable::Hash(text.substr(nameFrom, nameTo - nameFrom));
      } else {
        while (i < n && IsNameChar(text[i])) hash = NameTable::HashStep(hash, text[i++]);
        nameTo = i;
      }
      if (i < n && IsTypeChar(text[i])) {
        const char16_t t = text[i];
        const char16_t next = i + 1 < n ? text[i + 1] : u' ';
        bool suffix = true;
        if (t == u'!' && (IsNameStart(next) || next == u'[')) suffix = false;  // a!b: the bang operator
        if (t == u'&' && (next == u'H' || next == u'h' || next == u'O' || next == u'o') && i + 2 < n &&
            IsHexDigit(text[i + 2])) {
          suffix = false;
        }
        if (suffix) {
          ++i;
          flags |= kTypeChar;
        }
      }
      const Atom atom = names_.Intern(text.substr(nameFrom, nameTo - nameFrom), hash);
      if (atom == A(Kw::Rem) && !(flags & (kBracketed | kTypeChar)) && atStart) {
        push(start, n, TokenKind::Comment, kNoAtom, space);
        commentContinues_ = endsContinued(start + 3);
        i = n;
        break;
      }
      push(start, i, TokenKind::Name, atom, flags);
      statementStart = (atom == A(Kw::Then) || atom == A(Kw::Else)) && !(flags & kBracketed);
      continue;
    }
    if (IsDigit(c) || (c == u'.' && i + 1 < n && IsDigit(text[i + 1]) && !operandBefore()) ||
        (c == u'&' && i + 1 < n &&
         ((IsDigit(text[i + 1]) && !operandBefore()) ||
          ((text[i + 1] == u'H' || text[i + 1] == u'h' || text[i + 1] == u'O' || text[i + 1] == u'o') && i + 2 < n &&
           IsHexDigit(text[i + 2]))))) {
      uint8_t flags = space;
      if (c == u'&') {
        ++i;
        bool hex = text[i] == u'H' || text[i] == u'h';
        if (!IsDigit(text[i])) ++i;
        while (i < n && (hex ? IsHexDigit(text[i]) : IsDigit(text[i]))) ++i;
        if (i < n && (text[i] == u'&' || text[i] == u'%' || text[i] == u'^')) ++i, flags |= kTypeChar;
      } else {
        while (i < n && IsDigit(text[i])) ++i;
        if (i < n && text[i] == u'.') {
          ++i;
          while (i < n && IsDigit(text[i])) ++i;
        }
        if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
          size_t j = i + 1;
          if (j < n && (text[j] == u'+' || text[j] == u'-')) ++j;
          if (j < n && IsDigit(text[j])) {
            i = j;
            while (i < n && IsDigit(text[i])) ++i;
          }
        }
        if (i < n && IsTypeChar(text[i])) ++i, flags |= kTypeChar;
      }
      push(start, i, TokenKind::Number, kNoAtom, flags);
      // A line number starts the statement that follows it.
      statementStart = atStart && out.size() == first + 1;
      continue;
    }
    if (c == u'"') {
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == u'"') {
          if (i + 1 < n && text[i + 1] == u'"') {
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        ++i;
      }
      push(start, i, TokenKind::String, kNoAtom, static_cast<uint8_t>(space | (closed ? 0 : kUnterminated)));
      continue;
    }
    if (c == u'#' && !(atStart && i + 1 < n && IsAsciiLetter(text[i + 1]))) {
      size_t close = text.find(u'#', i + 1);
      if (close != std::u16string_view::npos && LooksLikeDate(text.substr(i + 1, close - i - 1))) {
        i = close + 1;
        push(start, i, TokenKind::Date, kNoAtom, space);
        continue;
      }
    }
    Punct p;
    size_t len = 1;
    const char16_t next = i + 1 < n ? text[i + 1] : 0;
    switch (c) {
      case u'(': p = Punct::LParen; break;
      case u')': p = Punct::RParen; break;
      case u',': p = Punct::Comma; break;
      case u'.': p = Punct::Dot; break;
      case u'!': p = Punct::Bang; break;
      case u';': p = Punct::Semicolon; break;
      case u':':
        if (next == u'=') {
          p = Punct::ColonEq, len = 2;
        } else {
          p = Punct::Colon;
          statementStart = true;
        }
        break;
      case u'=': p = Punct::Eq; break;
      case u'<':
        if (next == u'>') p = Punct::Ne, len = 2;
        else if (next == u'=') p = Punct::Le, len = 2;
        else p = Punct::Lt;
        break;
      case u'>':
        if (next == u'=') p = Punct::Ge, len = 2;
        else p = Punct::Gt;
        break;
      case u'+': p = Punct::Plus; break;
      case u'-': p = Punct::Minus; break;
      case u'*': p = Punct::Star; break;
      case u'/': p = Punct::Slash; break;
      case u'\\': p = Punct::Backslash; break;
      case u'^': p = Punct::Caret; break;
      case u'&': p = Punct::Amp; break;
      case u'#':
        p = Punct::Hash;
        statementStart = atStart;  // a directive: #If ... keeps the statement start
        break;
      case u'?': p = Punct::Question; break;
      default:
        push(i, i + 1, TokenKind::Bad, kNoAtom, space);
        ++i;
        continue;
    }
    push(i, i + len, TokenKind::Punct, static_cast<Atom>(p), space);
    i += len;
  }
  continued_ = continues;
  return continues;
}

ModuleTokens LexModule(const std::vector<std::u16string_view>& lines, NameTable& names) {
  ModuleTokens m;
  Lexer lexer(names);
  m.starts.reserve(lines.size() + 1);
  for (size_t i = 0; i < lines.size(); ++i) {
    m.starts.push_back(static_cast<uint32_t>(m.tokens.size()));
    lexer.LexLine(lines[i], static_cast<int>(i + 1), m.tokens);
  }
  m.starts.push_back(static_cast<uint32_t>(m.tokens.size()));
  return m;
}

}  // namespace tarno::lang
