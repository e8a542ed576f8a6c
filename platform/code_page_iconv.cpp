#include <iconv.h>

#include "platform/code_page_converter.h"

namespace tarno {
namespace {

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (ok()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole (short) input; false when iconv stops before its end.
  bool Convert(const std::string& in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[32];
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = buf;
    size_t dst_left = sizeof buf;
    size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
    if (r == static_cast<size_t>(-1) || src_left != 0) return false;
    // Flush any shift state (none for these code pages, but be exact).
    if (iconv(cd_, nullptr, nullptr, &dst, &dst_left) == static_cast<size_t>(-1)) return false;
    out.assign(buf, static_cast<size_t>(dst - buf));
    return true;
  }

 private:
  iconv_t cd_;
};

class IconvConverter : public CodePageConverter {
 public:
  explicit IconvConverter(const std::string& name)
      : dec_("UTF-16LE", name.c_str()), enc_(name.c_str(), "UTF-16LE") {}
  bool ok() const { return dec_.ok() && enc_.ok(); }

  bool Decode(const std::string& bytes, std::u16string& out) override {
    std::string le;
    if (!dec_.Convert(bytes, le)) return false;
    out.clear();
    for (size_t i = 0; i + 1 < le.size(); i += 2)
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(le[i]) |
                                          (static_cast<unsigned char>(le[i + 1]) << 8)));
    return true;
  }

  bool Encode(char16_t unit, std::string& out) override {
    std::string le{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return enc_.Convert(le, out);
  }

 private:
  IconvHandle dec_;
  IconvHandle enc_;
};

}  // namespace

std::unique_ptr<CodePageConverter> CodePageConverter::Open(const std::string& name) {
  auto conv = std::make_unique<IconvConverter>(name);
  if (!conv->ok()) return nullptr;
  return conv;
}

std::string SystemDefaultCodePageName() { return "CP932"; }

}  // namespace tarno
