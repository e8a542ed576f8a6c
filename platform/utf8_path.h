// File names held as UTF-8 text, on every system. std::filesystem reads a
// plain std::string through the C runtime's locale on Windows (the ANSI code
// page), so a UTF-8 name ("回転体.vbp") would open another file or none
// there: names go through char8_t both ways, which is UTF-8 everywhere and
// the wide-character API on Windows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarno::files {

std::filesystem::path PathOfUtf8(std::string_view utf8);
std::string Utf8OfPath(const std::filesystem::path& path);

}  // namespace tarno::files
