// Profile ("ini") files with the behaviour of the Windows profile-string
// functions. Names and values are byte strings in the system code page; the
// optional arguments stand for the null pointers of the Windows calls.
//
// Reading: section and key names match without regard to ASCII case and are
// trimmed; blanks (space, tab) around the key, around "=" and at both ends of
// the value are dropped; one pair of matching double or single quotes around
// the whole value is removed; the first of duplicate keys wins and only the
// first of duplicate sections is searched; "; ..." after a value is part of
// it; CR LF, LF and CR line ends read alike. Lines starting with ";" are
// comments.
//
// Writing keeps every line it does not have to change byte for byte, and a
// write that changes nothing leaves the file untouched. Files are replaced
// through a temporary file renamed into place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarno::win {

using OptText = std::optional<std::string_view>;

// Copies the value of lpKeyName in lpAppName (or lpDefault, without its
// trailing spaces, when the key or the file is missing) into lpReturnedString
// and returns its length in bytes. At most nSize - 1 bytes are returned; a cut
// never splits a double-byte character (the character is left out whole, so
// the count can then be nSize - 2). A null lpAppName lists the section names,
// a null lpKeyName the key names of the section, each followed by a NUL byte.
// A path without a folder is looked up in the Windows directory.
uint32_t GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName, std::string_view lpDefault,
                                  std::string& lpReturnedString, uint32_t nSize,
                                  const std::filesystem::path& lpFileName);

// Sets lpKeyName in lpAppName to lpString. A null lpString deletes the key's
// line; a null lpKeyName deletes the section with all its lines. CR and LF
// bytes in the value are dropped, so that an entry always stays on one line.
// Returns false when the file cannot be written or a name is not valid
// (empty, or holding a line break, "=" in a key, "]" in a section name).
bool WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString,
                                const std::filesystem::path& lpFileName);

// Replaces the keys of lpAppName with the "key=value" entries of lpString,
// separated by NUL bytes (a trailing NUL is optional). "" leaves the header
// and no keys; a null lpString deletes the section with all its lines.
// Comment and blank lines inside the section are kept.
bool WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString,
                                 const std::filesystem::path& lpFileName);

}  // namespace tarno::win
