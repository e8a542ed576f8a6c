// A name from the file system for the terminal or a JSON document: UTF-8,
// with each byte that is not part of a valid UTF-8 character (a name made on
// another system, say in CP932) shown as \xNN instead of the byte itself.
#pragma once

#include <string>

namespace tarno::cli {

// `name` as decoded by the UTF-8 code page (bytes kept as U+DC80..U+DCFF).
std::string DisplayName(const std::u16string& name);

}  // namespace tarno::cli
