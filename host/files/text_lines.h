// A text file as lines of bytes, remembering what the file had around them:
// a UTF-8 byte order mark and each line's own line end, so that joining the
// lines again gives exactly the file's bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::host::files {

// A lone CR is not a line end (VB 6 reads it as part of the line) and stays in the line's text.
enum class LineEnd : uint8_t { None, Lf, CrLf };

std::string_view LineEndBytes(LineEnd end);

class TextLines {
 public:
  TextLines() = default;
  // Splits the bytes into lines; a final line end does not start an extra empty line.
  static TextLines Parse(std::string bytes);

  bool bom() const { return bom_; }
  size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  std::string_view line(size_t i) const { return std::string_view(data_).substr(lines_[i].offset, lines_[i].length); }
  LineEnd end(size_t i) const { return lines_[i].end; }
  // The line end for new lines: LF when most lines end in LF, else CR LF.
  LineEnd Dominant() const;
  // True when the file's last line has no line end.
  bool MissingFinalEnd() const { return !lines_.empty() && lines_.back().end == LineEnd::None; }
  // The file's bytes again.
  std::string Join() const;
  // Bytes of lines [first, last) with their own line ends.
  void AppendRange(std::string& out, size_t first, size_t last) const;
  const std::string& bytes() const { return data_; }

 private:
  struct Span {
    uint32_t offset;
    uint32_t length;
    LineEnd end;
  };
  std::string data_;
  bool bom_ = false;
  std::vector<Span> lines_;
};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Reads a whole file; a ProjectFileError names the file when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
// Writes through a temporary file beside the target, renamed into place, so a
// failed write leaves the old file whole.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tarno::host::files
