#include "cli/display_name.h"

#include <cstdio>

#include "platform/code_page.h"

namespace tarno::cli {

std::string DisplayName(const std::u16string& name) {
  static const CodePage utf8 = CodePage::Named("UTF-8");
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t u = name[i];
    bool afterHigh = i > 0 && name[i - 1] >= 0xD800 && name[i - 1] <= 0xDBFF;
    if (u < 0xDC80 || u > 0xDCFF || afterHigh) continue;
    out += utf8.Encode(std::u16string_view(name).substr(start, i - start));
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(u - 0xDC00));
    out += hex;
    start = i + 1;
  }
  return out + utf8.Encode(std::u16string_view(name).substr(start));
}

}  // namespace tarno::cli
