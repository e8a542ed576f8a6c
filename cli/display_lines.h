// A file's bytes as the lines a unified diff shows: decoded from the file's
// code page, split at LF with a CR before it dropped, in UTF-8 for the terminal.
#pragma once

#include <string>
#include <vector>

#include "platform/code_page.h"

namespace tarno::cli {

std::vector<std::string> DisplayLines(const CodePage& cp, const std::string& bytes);

}  // namespace tarno::cli
