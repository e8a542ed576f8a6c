#include "companion/settings_import.h"

#include <system_error>

#include "platform/vb_text.h"

namespace tarno::companion {
namespace fs = std::filesystem;
namespace {

bool SameIgnoringCase(const fs::path& a, const fs::path& b) {
  return !a.empty() && vb::EqualsIgnoreCaseAscii(vb::U(a.string()), vb::U(b.string()));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsProfileLine(std::string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  if (line.empty() || line.front() == ';') return true;
  // "]" and "=" are single bytes that no double-byte character of the
  // supported code pages uses as its second byte.
  if (line.front() == '[') return line.find(']') != std::string_view::npos;
  return line.find('=') != std::string_view::npos;
}

}  // namespace

bool NamesDestination(std::u16string_view text, const fs::path& source, const fs::path& destination) {
  if (vb::EqualsIgnoreCaseAscii(text, vb::U(destination.string()))) return true;
  std::error_code ec;
  fs::path src = fs::absolute(source, ec).lexically_normal();
  fs::path dst = fs::absolute(destination, ec).lexically_normal();
  if (SameIgnoringCase(src, dst)) return true;
  fs::path real_src = fs::weakly_canonical(source, ec);
  if (ec) real_src.clear();
  fs::path real_dst = fs::weakly_canonical(destination, ec);
  if (!ec && SameIgnoringCase(real_src, real_dst)) return true;
  return fs::equivalent(source, destination, ec) && !ec;
}

bool LooksLikeSettingsFile(std::string_view bytes) {
  for (unsigned char c : bytes)
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    if (!IsProfileLine(bytes.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace tarno::companion
