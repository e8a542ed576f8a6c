#include "host/files/text_lines.h"

#include <cstdio>

#include "host/files/file_error.h"
#include "platform/text_file.h"

namespace tarno::host::files {

std::string_view LineEndBytes(LineEnd end) {
  switch (end) {
    case LineEnd::Lf:
      return "\n";
    case LineEnd::CrLf:
      return "\r\n";
    case LineEnd::None:
      break;
  }
  return {};
}

TextLines TextLines::Parse(std::string bytes) {
  TextLines t;
  t.data_ = std::move(bytes);
  const std::string& d = t.data_;
  size_t pos = 0;
  if (d.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) {
    t.bom_ = true;
    pos = kUtf8Bom.size();
  }
  t.lines_.reserve(d.size() / 32 + 1);
  while (pos < d.size()) {
    size_t lf = d.find('\n', pos);
    if (lf == std::string::npos) {
      t.lines_.push_back({uint32_t(pos), uint32_t(d.size() - pos), LineEnd::None});
      break;
    }
    bool cr = lf > pos && d[lf - 1] == '\r';
    size_t len = lf - pos - (cr ? 1 : 0);
    t.lines_.push_back({uint32_t(pos), uint32_t(len), cr ? LineEnd::CrLf : LineEnd::Lf});
    pos = lf + 1;
  }
  return t;
}

LineEnd TextLines::Dominant() const {
  size_t lf = 0, crlf = 0;
  for (const auto& s : lines_) {
    if (s.end == LineEnd::Lf) ++lf;
    if (s.end == LineEnd::CrLf) ++crlf;
  }
  return lf > crlf ? LineEnd::Lf : LineEnd::CrLf;
}

void TextLines::AppendRange(std::string& out, size_t first, size_t last) const {
  for (size_t i = first; i < last; ++i) {
    out.append(data_, lines_[i].offset, lines_[i].length);
    out.append(LineEndBytes(lines_[i].end));
  }
}

std::string TextLines::Join() const {
  std::string out;
  out.reserve(data_.size());
  if (bom_) out.append(kUtf8Bom);
  AppendRange(out, 0, lines_.size());
  return out;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  // A folder opens as a stream of unknown length, a device or pipe never
  // ends: only plain files are read.
  std::error_code ec;
  auto status = std::filesystem::status(path, ec);
  if (std::filesystem::is_directory(status)) throw ProjectFileError(path, 0, "is a folder, not a file");
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw ProjectFileError(path, 0, "is not a plain file");
  try {
    return tarno::files::ReadAllBytes(path);
  } catch (const tarno::files::FileError& e) {
    throw ProjectFileError(path, 0, e.reason());
  }
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  try {
    tarno::files::WriteAllBytes(path, bytes);
  } catch (const tarno::files::FileError& e) {
    std::string reason = e.what();
    std::string prefix = path.string() + ": ";
    if (reason.starts_with(prefix)) reason.erase(0, prefix.size());
    throw ProjectFileError(path, 0, reason);
  }
}

}  // namespace tarno::host::files
