// Whole-file reads and writes. Text files are in the system code page (or a
// given one); every write goes to a temporary file in the same folder that is
// renamed over the target, so a reader never sees a half-written file.
//
// The temporary file's name is derived from the target's (".<name>.tarno-tmp")
// and reused: a write killed half-way leaves it behind, and the next write of
// the same file takes it over and renames it into place. The writer holds a
// lock on it while it writes, so two writers of one file take turns.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace tarno::files {

// A read or write failed; what() names the file and the reason.
class FileError : public std::runtime_error {
 public:
  FileError(const std::filesystem::path& path, const std::string& reason);
  const std::filesystem::path& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::filesystem::path path_;
  std::string reason_;
};

// The target exists and the write was asked not to replace it.
class FileExistsError : public FileError {
 public:
  using FileError::FileError;
};
// The source of a copy is larger than the copy allows.
class FileTooLargeError : public FileError {
 public:
  using FileError::FileError;
};
// The source of a copy is a folder, a FIFO or a device, not a plain file.
class NotAFileError : public FileError {
 public:
  using FileError::FileError;
};

// Whether a write may replace a file already at its target.
enum class IfExists { Replace, Refuse };

std::string ReadAllBytes(const std::filesystem::path& path);
// Whether the file exists and may not be written (its permissions forbid it;
// for the superuser, no write permission at all).
bool IsReadOnlyFile(const std::filesystem::path& path);
// Writes through the target's temporary file in the same folder and renames
// it into place. The folder must exist. On failure the target is unchanged;
// a read-only file is refused ("the file is read-only").
// With IfExists::Refuse a target that exists by the time of the rename (even
// one that appeared during the write) is left alone: FileExistsError.
void WriteAllBytes(const std::filesystem::path& path, std::string_view bytes,
                   IfExists if_exists = IfExists::Replace);
#ifndef _WIN32
// The same for `name`, one entry of the open folder `dir_fd` (POSIX): callers
// that opened the folder themselves, never following a link to it. `shown` is
// the path that errors name.
void WriteAllBytesAt(int dir_fd, const std::string& name, std::string_view bytes, IfExists if_exists,
                     const std::filesystem::path& shown);
#endif
// The temporary file name that a write of `name` uses.
std::string TemporaryNameFor(const std::string& name);

std::u16string ReadTextFile(const std::filesystem::path& path);
std::u16string ReadTextFile(const std::filesystem::path& path, const CodePage& cp);
void WriteTextFile(const std::filesystem::path& path, std::u16string_view text);
void WriteTextFile(const std::filesystem::path& path, std::u16string_view text,
                   const CodePage& cp);

// Failures of the disk that tests make WriteAllBytes meet (through every
// caller): the temporary file cannot be created (a read-only folder), the
// disk is full while writing, or the rename fails. Stays set until None.
enum class WriteFault { None, CannotCreate, DiskFull, RenameFails };
void SimulateWriteFault(WriteFault fault);
// A file that ReadAllBytes cannot open, as if its permissions forbade reading
// (which a test run as root cannot arrange); an empty path clears it.
void SimulateUnreadableFile(const std::filesystem::path& path);

// Copies source over target through a temporary file (FileCopy), a block at
// a time. A source that is not a plain file is NotAFileError; one larger than
// max_bytes is FileTooLargeError, and the target is then left as it was.
void CopyFileAtomic(const std::filesystem::path& source, const std::filesystem::path& target,
                    std::uintmax_t max_bytes = UINTMAX_MAX);

}  // namespace tarno::files
