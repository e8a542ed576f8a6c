// One token of VB 6 code: where it stands (module line, 0-based UTF-16
// offset in the line, length) and what it is. Tokens hold no text: the text
// is the line's own, and a name is an atom of the module's NameTable.
// Blanks between tokens are not tokens; every other character of a line is
// in exactly one token.
#pragma once

#include <cstdint>

#include "lang/names.h"

namespace tarno::lang {

enum class TokenKind : uint8_t {
  Name,          // identifier, [escaped] name, or keyword (atom says which)
  Number,        // 12, 1.5E+3, &H1F&, &O17, 12#
  String,        // "a ""b"""
  Date,          // #1/2/2000#
  Punct,         // operators and separators (atom holds the Punct)
  Comment,       // ' ... or Rem ..., to the end of the line
  Continuation,  // the " _" that continues a statement on the next line
  Bad,           // a character that starts no token, or an unclosed [name
};

enum class Punct : uint8_t {
  LParen, RParen, Comma, Dot, Bang, Colon, Semicolon, ColonEq, Eq, Ne, Lt, Gt, Le, Ge,
  Plus, Minus, Star, Slash, Backslash, Caret, Amp, Hash, Question,
};

// Token flags.
inline constexpr uint8_t kSpaceBefore = 1;   // a blank (or the line start) just before it
inline constexpr uint8_t kTypeChar = 2;      // a name or number ending in $ % & ! # @
inline constexpr uint8_t kBracketed = 4;     // [escaped] name
inline constexpr uint8_t kUnterminated = 8;  // string without its closing quote

struct Token {
  int32_t line = 0;     // module line, 1-based
  uint16_t column = 0;  // 0-based offset in the line
  uint16_t length = 0;
  Atom atom = kNoAtom;  // Name: the name without brackets and type character
  TokenKind kind = TokenKind::Bad;
  uint8_t flags = 0;

  bool Is(Punct p) const { return kind == TokenKind::Punct && atom == static_cast<Atom>(p); }
  bool IsWord(Atom a) const { return kind == TokenKind::Name && atom == a && !(flags & kBracketed); }
  int Column1() const { return column + 1; }  // 1-based, as the host counts
};

}  // namespace tarno::lang
