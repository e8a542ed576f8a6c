// What Find looks for, as a regular expression: the text as it stands, or a
// VB pattern with the Like operator's rules (`?` one character, `*` any run
// of characters, `#` one digit, `[a-z]` one of a list or range, `[!a-z]` one
// not in it; `[*]` a literal special character). Whole word: the match is
// neither preceded nor followed by a letter, digit or underscore.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <optional>

namespace tarno::workbench {

struct FindOptions {
  QString what;
  bool matchCase = false;
  bool wholeWord = false;
  bool pattern = false;
};

// nullopt with `error` set for a pattern VB would refuse ("[" not closed,
// a range running backwards) or an empty text.
std::optional<QRegularExpression> CompileFind(const FindOptions& options, QString* error = nullptr);

}  // namespace tarno::workbench
