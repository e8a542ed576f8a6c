#include <windows.h>

#include <string>

#include "platform/code_page_converter.h"

namespace tarno {
namespace {

class WindowsConverter : public CodePageConverter {
 public:
  explicit WindowsConverter(UINT cp) : cp_(cp) {}

  bool Decode(const std::string& bytes, std::u16string& out) override {
    wchar_t buf[8];
    int n = MultiByteToWideChar(cp_, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), buf, 8);
    if (n <= 0) return false;
    // Windows gives the bytes a code page leaves undefined placeholders (a C1
    // control, or U+F8F0.. in CP932) where iconv refuses them. They are
    // invalid bytes here too, so a file decodes alike on every system.
    if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) >= 0x80 && n == 1 &&
        ((buf[0] >= 0x80 && buf[0] <= 0x9F) || (buf[0] >= 0xF8F0 && buf[0] <= 0xF8FF)))
      return false;
    out.assign(buf, buf + n);
    return true;
  }

  bool Encode(char16_t unit, std::string& out) override {
    wchar_t w = static_cast<wchar_t>(unit);
    char buf[8];
    BOOL used_default = FALSE;
    // Flags 0: the best-fit mappings are allowed, as ANSI calls make them.
    int n = WideCharToMultiByte(cp_, 0, &w, 1, buf, sizeof buf, nullptr, &used_default);
    if (n <= 0 || used_default) return false;
    out.assign(buf, static_cast<size_t>(n));
    return true;
  }

 private:
  UINT cp_;
};

}  // namespace

std::unique_ptr<CodePageConverter> CodePageConverter::Open(const std::string& name) {
  // Canonical names are "CP" and the number.
  if (name.rfind("CP", 0) != 0) return nullptr;
  UINT cp = static_cast<UINT>(std::stoul(name.substr(2)));
  if (!IsValidCodePage(cp)) return nullptr;
  return std::make_unique<WindowsConverter>(cp);
}

std::string SystemDefaultCodePageName() { return "CP" + std::to_string(GetACP()); }

}  // namespace tarno
