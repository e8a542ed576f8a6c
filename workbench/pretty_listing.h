// VB's pretty listing of a code line, done when the caret leaves a line the
// user edited: keywords capitalised, names in the case of their declaration,
// one blank around binary operators and after commas, none inside
// parentheses. Only blanks and letter case ever change: a line the listing
// cannot read whole (a Print list with ";", a bracketed name, an open string)
// keeps its spacing, and the result is checked against the line.
#pragma once

#include <QHash>
#include <QString>
#include <string_view>
#include <vector>

namespace tarno::workbench {

// Lower-case name -> the case of its declaration.
using DeclaredNames = QHash<QString, QString>;

// Adds the names the lines declare (variables, constants, procedures and
// their parameters, Enum and Type members); a name keeps its first spelling.
void CollectDeclaredNames(const std::vector<std::u16string_view>& lines, DeclaredNames& names);

QString PrettyLine(const QString& line, const DeclaredNames& names);

}  // namespace tarno::workbench
