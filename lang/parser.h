// The parser: a module's code lines into its declarations, references and
// parse errors (ModuleSyntax). It reads one logical line at a time (physical
// lines joined at " _"), keeps the blocks that are open (procedures, If,
// For, With, ...) and the #If branches, and never holds the module's tokens
// longer than one logical line. A statement it cannot read becomes a
// ParseError and the rest of its line is skipped; the module is then not
// fully understood.
#pragma once

#include <string_view>
#include <vector>

#include "lang/conditional.h"
#include "lang/names.h"
#include "lang/syntax.h"

namespace tarno::lang {

// Parses a module. `names` is the table the atoms of the result belong to;
// `condComp` are the project's conditional compilation constants.
ModuleSyntax ParseModule(const std::vector<std::u16string_view>& lines, NameTable& names,
                         const std::vector<std::pair<std::u16string, CcValue>>& condComp = {});

}  // namespace tarno::lang
