// Windows' own text for an error code (GetLastError), for FileError and the like.
#pragma once

#include <string>

namespace tarno::win {

// "Access is denied" and the like, in English where Windows has it; "error N" otherwise.
std::string ErrorText(unsigned long err);

}  // namespace tarno::win
