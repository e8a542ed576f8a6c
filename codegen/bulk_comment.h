// Comment-out of a whole procedure, or of everything below the declarations.
#pragma once

#include <string>

#include "addin/host_api.h"

namespace tarno::codegen {

// Comments out the procedure of the given kind from `firstLine` (its
// ProcStartLine, so the comments above its declaration are included) through
// its end statement. Blank lines stay blank; host errors are ignored.
void CommentOutProcedure(ide::CodeModule& module, const std::u16string& name, int kind, int firstLine);

// The same, with the first line taken from the host.
void CommentOutProcedure(ide::CodeModule& module, const std::u16string& name, int kind);

// Comments out every line after the declarations section.
void CommentOutBelowDeclarations(ide::CodeModule& module);

}  // namespace tarno::codegen
