// The tests the settings import makes on the file it is given, beyond the
// name checks of its window.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarno::companion {

// Whether the path typed by the user names the import's destination: the
// same text without regard to case, or the same file under another spelling
// (relative, with "." or "..", through a symbolic or hard link, another
// letter case on a file system that ignores case). The comparison of
// spellings ignores ASCII case too, as the plain text comparison does.
bool NamesDestination(std::u16string_view text, const std::filesystem::path& source,
                      const std::filesystem::path& destination);

// Whether the bytes can be a profile file at all: no control bytes other
// than tab and line ends, and every line that is not blank a "[section]", a
// "; comment" or a "key=value" entry. An empty file passes.
bool LooksLikeSettingsFile(std::string_view bytes);

}  // namespace tarno::companion
