#include "cli/display_lines.h"

#include "platform/vb_text.h"

namespace tarno::cli {

std::vector<std::string> DisplayLines(const CodePage& cp, const std::string& bytes) {
  std::u16string text = cp.Decode(bytes);
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(u'\n', pos);
    if (end == std::u16string::npos) end = text.size();
    size_t stop = end > pos && text[end - 1] == u'\r' ? end - 1 : end;
    lines.push_back(vb::ToUtf8(std::u16string_view(text).substr(pos, stop - pos)));
    pos = end + 1;
  }
  return lines;
}

}  // namespace tarno::cli
