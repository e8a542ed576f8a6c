#include "host/files/text_lines.h"

#include <cstdio>
#include <fstream>
#include <random>

#include "host/files/file_error.h"

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
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ProjectFileError(path, 0, "cannot open the file");
  std::string bytes;
  in.seekg(0, std::ios::end);
  auto size = in.tellg();
  if (size < 0) throw ProjectFileError(path, 0, "cannot read the file");
  bytes.resize(size_t(size));
  in.seekg(0);
  in.read(bytes.data(), size);
  if (!in) throw ProjectFileError(path, 0, "cannot read the file");
  return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  static std::mt19937_64 rng{std::random_device{}()};
  fs::path tmp = path;
  tmp += ".tmp" + std::to_string(rng() % 1000000000);
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw ProjectFileError(path, 0, "cannot create a temporary file beside it");
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(tmp, ec);
      throw ProjectFileError(path, 0, "cannot write the file");
    }
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    throw ProjectFileError(path, 0, "cannot replace the file: " + ec.message());
  }
}

}  // namespace tarno::host::files
