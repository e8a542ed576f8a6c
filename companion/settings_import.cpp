#include "companion/settings_import.h"

#include <system_error>

#include "platform/code_page.h"
#include "platform/vb_text.h"

namespace tarno::companion {
namespace fs = std::filesystem;
namespace {

// A path's text: its bytes on POSIX; Windows keeps names in UTF-16, given
// here as UTF-8 so that the name never passes through the ANSI code page.
std::u16string TextOf(const fs::path& path) {
#ifdef _WIN32
  std::u8string bytes = path.u8string();
  return TextOfPath(std::string(bytes.begin(), bytes.end()));
#else
  return TextOfPath(path.native());
#endif
}

bool SameIgnoringCase(const fs::path& a, const fs::path& b) {
  return !a.empty() && vb::EqualsIgnoreCaseAscii(TextOf(a), TextOf(b));
}

const CodePage& PathCodePage() {
  static const CodePage cp = CodePage::Named("UTF-8");
  return cp;
}

}  // namespace

bool NamesDestination(std::u16string_view text, const fs::path& source, const fs::path& destination) {
  if (vb::EqualsIgnoreCaseAscii(text, TextOf(destination))) return true;
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

fs::path PathOfText(std::u16string_view text) {
  std::string bytes = PathCodePage().Encode(text);
#ifdef _WIN32
  return fs::path(std::u8string(bytes.begin(), bytes.end()));
#else
  return fs::path(bytes);
#endif
}

std::u16string TextOfPath(std::string_view bytes) { return PathCodePage().Decode(bytes); }

}  // namespace tarno::companion
