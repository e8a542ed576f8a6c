// The few pieces of VB 6 statement syntax the in-memory IDE needs to find
// procedures, sections and members in module text, as the IDE itself does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::host::syntax {

using View = std::u16string_view;

// Inline: the host scans every line of a module with these.
inline bool IsSpaceOrTab(char16_t c) { return c == u' ' || c == u'\t'; }
// A..Z, a..z, 0..9, "_" and every character from U+0080 up except U+3000.
inline bool IsWordChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return true;
  if (c >= u'a' && c <= u'z') return true;
  if (c >= u'0' && c <= u'9') return true;
  if (c == u'_') return true;
  return c >= 0x80 && c != 0x3000;
}
// Trims spaces and tabs.
View TrimBlanks(View s);
// Empty after trimming spaces and tabs.
bool IsBlank(View line);
// First non-blank character an apostrophe, or first word Rem.
bool IsCommentOnly(View line);
// The line continues on the next one (its last character is "_", untrimmed).
inline bool Continues(View line) { return !line.empty() && line.back() == u'_'; }
// Cuts a trailing comment (from an apostrophe outside a string literal).
View StripComment(View s);
// Text up to the first ":" outside a string literal.
View FirstPart(View s);
// Trimmed text without a trailing comment is End Sub / End Function / End Property.
bool IsProcEnd(View line);
// Trimmed text without a trailing comment is "End <word>" (End Type, End Enum).
bool IsEndOf(View line, View word);
// A statement that goes on after a colon (outside string literals, before a
// comment) with End Sub / End Function / End Property: a one-line procedure.
bool EndsProcOnSameLine(View statement);
bool EqualsNoCase(View a, View b);

// Reads words from a statement: identifiers (word characters), skipping blanks.
class Words {
 public:
  explicit Words(View s) : s_(s) {}
  // The next identifier-like word; empty at the end or before a non-word character.
  View Next();
  View Peek();
  // Everything after the words read so far, blanks skipped.
  View Rest();
  size_t pos() const { return pos_; }

 private:
  void SkipBlanks();
  View s_;
  size_t pos_ = 0;
};

struct ProcDecl {
  std::u16string name;
  int kind = 0;  // ProcKind
  int scope = 0;  // MemberScope
  bool property = false;
};
// A Sub/Function/Property declaration statement (lines already joined).
std::optional<ProcDecl> ParseProcDecl(View statement);

struct DeclareOrEvent {
  std::u16string name;
  int type = 0;  // MemberType::Method for Declare, Event for Event
  int scope = 0;
};
std::optional<DeclareOrEvent> ParseDeclareOrEvent(View statement);

// Joins a continued statement's lines: each trailing "_" becomes a blank.
std::u16string JoinContinued(const std::vector<View>& lines);

// Splits at commas outside parentheses and string literals.
std::vector<View> SplitList(View s);
// The leading identifier of a list item (type suffix and "(" cut off).
View LeadingName(View item);

}  // namespace tarno::host::syntax
