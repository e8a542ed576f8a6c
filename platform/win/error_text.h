// Windows' own text for an error code (GetLastError), for FileError and the like.
#pragma once

#include <string>

namespace tarno::win {

// The common failures in the C library's words ("No such file or directory"),
// others as Windows words them (in English where it can); "error N" otherwise.
std::string ErrorText(unsigned long err);

}  // namespace tarno::win
