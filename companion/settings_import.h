// The tests the settings import makes on the file it is given, beyond the
// name checks of its window. The file itself is copied as it is, never parsed.
#pragma once

#include <cstdint>
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

// A settings file is a few KiB; anything larger is refused, never copied.
inline constexpr std::uintmax_t kMaxSettingsFileBytes = 1024 * 1024;

// A path typed or chosen by the user as the bytes the file system takes, and
// back: UTF-8, with any byte that is not part of a UTF-8 character kept as it
// is (a name made on another system), so that a path is never re-decoded.
std::filesystem::path PathOfText(std::u16string_view text);
std::u16string TextOfPath(std::string_view bytes);

}  // namespace tarno::companion
