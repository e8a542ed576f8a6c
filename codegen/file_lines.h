// Line numbers of a component file on disk (as an editor shows them) and the
// code lines of its module (which skip the hidden header and the member
// attribute lines).
#pragma once

#include <stdexcept>
#include <string>

#include "host/mem_host.h"

namespace tarno::codegen {

// A file line that names no code line; what() says which file and line, and why.
class FileLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The code line shown at file line `fileLine` (1-based) of a component loaded
// from disk. With `allowEnd`, the line just after the file's last line maps to
// CountOfLines + 1 (to insert at the end). Throws FileLineError for a line in
// the hidden header, a hidden attribute line, or a line outside the file.
int CodeLineOfFileLine(host::MemComponent& component, int fileLine, bool allowEnd = false);

// The file line of code line `codeLine` (1 to CountOfLines + 1).
int FileLineOfCodeLine(host::MemComponent& component, int codeLine);

}  // namespace tarno::codegen
