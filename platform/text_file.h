// Whole-file reads and writes. Text files are in the system code page (or a
// given one); every write goes to a temporary file in the same folder that is
// renamed over the target, so a reader never sees a half-written file.
#pragma once

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

std::string ReadAllBytes(const std::filesystem::path& path);
// Whether the file exists and may not be written (its permissions forbid it;
// for the superuser, no write permission at all).
bool IsReadOnlyFile(const std::filesystem::path& path);
// Writes through "<name>.tmp<random>" in the same folder and renames it into
// place. The folder must exist. On failure the target is unchanged; a
// read-only file is refused ("the file is read-only").
void WriteAllBytes(const std::filesystem::path& path, std::string_view bytes);

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

// Copies source over target through a temporary file (FileCopy).
void CopyFileAtomic(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace tarno::files
