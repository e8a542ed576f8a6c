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
//
// On Windows the three functions are the system's own; everywhere the
// portable versions (namespace portable) and ProfileBatch are the stand-ins
// described here, kept on Windows too so that both can be compared.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tarno::win {

// A text argument that may be null (the Windows calls' NULL pointer):
// std::nullopt, nullptr or a null const char* all mean null.
class OptText {
 public:
  OptText() = default;
  OptText(std::nullopt_t) {}
  OptText(std::nullptr_t) {}
  OptText(const char* s) {
    if (s) value_ = std::string_view(s);
  }
  OptText(std::string_view s) : value_(s) {}
  OptText(const std::string& s) : value_(std::string_view(s)) {}
  OptText(std::optional<std::string_view> s) : value_(s) {}

  explicit operator bool() const { return value_.has_value(); }
  bool has_value() const { return value_.has_value(); }
  std::string_view operator*() const { return *value_; }

 private:
  std::optional<std::string_view> value_;
};

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

namespace portable {
uint32_t GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName, std::string_view lpDefault,
                                  std::string& lpReturnedString, uint32_t nSize,
                                  const std::filesystem::path& lpFileName);
bool WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString,
                                const std::filesystem::path& lpFileName);
bool WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString,
                                 const std::filesystem::path& lpFileName);
}  // namespace portable

// A series of profile calls on one file, applied in memory and written once
// by Commit (through a temporary file renamed into place). Reads see the
// earlier writes. Each call behaves as the function of the same name above;
// the file is read when the batch is made. Used where many keys are written
// together, so that the file is replaced once and never left half-updated.
class ProfileDocument;
class ProfileBatch {
 public:
  explicit ProfileBatch(const std::filesystem::path& lpFileName);
  ~ProfileBatch();
  ProfileBatch(const ProfileBatch&) = delete;
  ProfileBatch& operator=(const ProfileBatch&) = delete;

  uint32_t GetPrivateProfileStringA(OptText lpAppName, OptText lpKeyName, std::string_view lpDefault,
                                    std::string& lpReturnedString, uint32_t nSize) const;
  bool WritePrivateProfileStringA(OptText lpAppName, OptText lpKeyName, OptText lpString);
  bool WritePrivateProfileSectionA(std::string_view lpAppName, OptText lpString);
  // Writes the file when its contents changed (creating it, but not its
  // folder unless it is one of the standard folders). False when the file
  // could not be read at the start or cannot be written.
  bool Commit();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::unique_ptr<ProfileDocument> doc_;
  std::string original_;  // the file as read or last written
  bool readable_ = true;
};

}  // namespace tarno::win
