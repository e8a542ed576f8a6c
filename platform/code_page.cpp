// Code page conversion.
//
// Single- and double-byte code pages (CP932, CP936, CP1252, ...) are turned
// into lookup tables built once from the system's converter (iconv, or the
// Windows conversion functions; code_page_converter.h): a byte or byte pair
// is a character only when the system decodes it to one UTF-16 unit AND
// encodes that unit back to the same bytes. Code pages map some characters twice (CP932's
// NEC and IBM extension rows, for one), and the second spelling would not
// survive a decode/encode round trip, so it is treated like an invalid byte.
//
// Invalid bytes: each byte that does not start a character is decoded to the
// lone low surrogate U+DC00 + byte (U+DC80..U+DCFF for the supported code
// pages, where every byte below 0x80 is valid). Encoding turns such a lone
// surrogate back into its byte. Decoding then encoding therefore gives back
// every byte string unchanged. Text that did not come from a decode may hold
// characters the code page lacks: they are encoded as the system's (best-fit)
// mapping when there is one, else as "?", as Windows does.
//
// UTF-8 is decoded and encoded directly (strict: no overlong forms, no
// encoded surrogates, nothing above U+10FFFF; anything else is escaped bytewise).
#include "platform/code_page.h"
#include "platform/code_page_converter.h"
#include "platform/vb_text.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace tarno {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr uint32_t kNoBytes = 0;

}  // namespace

struct CodePageTable {
  bool utf8 = false;
  std::array<char16_t, 256> single{};
  std::array<bool, 256> single_ok{};
  std::array<bool, 256> lead{};
  std::vector<char16_t> pair;  // (lead << 8 | trail) -> unit, 0 when not a character
  // unit -> encoded bytes: (length << 16) | bytes, kNoBytes when unmappable.
  // Built on the first Encode: asking the converter for all 65,536 units
  // costs more than a large project's decoding, and most runs only read.
  std::string name;
  std::once_flag encOnce;
  std::vector<uint32_t> enc;
  const std::vector<uint32_t>& Enc();
};

namespace {
using Table = CodePageTable;

// Decodes bytes to exactly one UTF-16 unit that encodes back to the same bytes.
bool DecodeOne(CodePageConverter& conv, const std::string& bytes, char16_t& unit) {
  std::u16string out;
  if (!conv.Decode(bytes, out) || out.size() != 1) return false;
  unit = out[0];
  if (unit >= 0xD800 && unit <= 0xDFFF) return false;
  std::string back;
  return conv.Encode(unit, back) && back == bytes;
}

std::unique_ptr<Table> BuildTable(const std::string& name) {
  auto t = std::make_unique<Table>();
  if (name == "UTF-8") {
    t->utf8 = true;
    return t;
  }
  std::unique_ptr<CodePageConverter> conv = CodePageConverter::Open(name);
  if (!conv) throw std::invalid_argument("code page not available: " + name);
  t->name = name;
  t->pair.assign(65536, 0);
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    char16_t unit;
    if (DecodeOne(*conv, one, unit)) {
      t->single[b] = unit;
      t->single_ok[b] = true;
      continue;
    }
    // A lead byte alone is an incomplete sequence rather than a character.
    std::u16string out;
    if (conv->Decode(one, out)) continue;
    bool any = false;
    for (int trail = 0; trail < 256; ++trail) {
      std::string two{static_cast<char>(b), static_cast<char>(trail)};
      if (DecodeOne(*conv, two, unit)) {
        t->pair[static_cast<size_t>(b << 8 | trail)] = unit;
        any = true;
      }
    }
    t->lead[b] = any;
  }
  return t;
}

}  // namespace

const std::vector<uint32_t>& CodePageTable::Enc() {
  std::call_once(encOnce, [this] {
    std::unique_ptr<CodePageConverter> conv = CodePageConverter::Open(name);
    enc.assign(65536, kNoBytes);
    // Every unit the code page can encode at all (including best-fit mappings).
    for (uint32_t u = 0; u < 0x10000; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) continue;
      std::string out;
      if (conv->Encode(static_cast<char16_t>(u), out) && !out.empty() && out.size() <= 2) {
        uint32_t packed = static_cast<unsigned char>(out[0]);
        if (out.size() == 2) packed = (packed << 8) | static_cast<unsigned char>(out[1]);
        enc[u] = (static_cast<uint32_t>(out.size()) << 16) | packed;
      }
    }
  });
  return enc;
}

namespace {

Table& TableFor(const std::string& name) {
  static std::mutex mu;
  static std::map<std::string, std::unique_ptr<Table>> tables;
  std::lock_guard<std::mutex> lock(mu);
  auto& slot = tables[name];
  if (!slot) slot = BuildTable(name);
  return *slot;
}

// Length of a valid UTF-8 sequence at pos, 0 when the byte does not start one.
size_t Utf8Length(std::string_view s, size_t pos, char32_t* cp_out) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = at(pos);
  if (c < 0x80) {
    if (cp_out) *cp_out = c;
    return 1;
  }
  size_t len;
  char32_t cp, min;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (pos + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    unsigned char cc = at(pos + k);
    if ((cc & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  if (cp_out) *cp_out = cp;
  return len;
}

size_t TableCharLength(const Table& t, std::string_view s, size_t pos) {
  unsigned char b = static_cast<unsigned char>(s[pos]);
  if (t.lead[b] && pos + 1 < s.size() &&
      t.pair[static_cast<size_t>(b << 8 | static_cast<unsigned char>(s[pos + 1]))] != 0)
    return 2;
  return 1;
}

std::string Canonical(std::string_view name) {
  std::string up;
  for (char c : name) up.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c);
  if (up == "CP932" || up == "932" || up == "SHIFT_JIS" || up == "SHIFT-JIS" || up == "SJIS" ||
      up == "MS932" || up == "WINDOWS-31J")
    return "CP932";
  if (up == "CP936" || up == "936" || up == "GBK") return "CP936";
  if (up == "UTF-8" || up == "UTF8" || up == "65001" || up == "CP65001") return "UTF-8";
  std::string digits = up;
  if (digits.rfind("CP", 0) == 0) digits = digits.substr(2);
  else if (digits.rfind("WINDOWS-", 0) == 0) digits = digits.substr(8);
  static const char* const kOthers[] = {"874",  "949",  "950",  "1250", "1251", "1252",
                                        "1253", "1254", "1255", "1256", "1257", "1258"};
  for (const char* other : kOthers)
    if (digits == other) return "CP" + digits;
  throw std::invalid_argument("unknown code page: " + std::string(name));
}

}  // namespace

CodePage::CodePage(std::string canonical_name)
    : name_(std::move(canonical_name)), table_(&TableFor(name_)) {}

CodePage CodePage::Named(std::string_view name) { return CodePage(Canonical(name)); }

CodePage CodePage::Cp932() { return CodePage("CP932"); }

std::u16string CodePage::Decode(std::string_view bytes) const {
  const Table& t = *table_;
  // Never more units than bytes: fill a sized buffer, then trim it.
  std::u16string out(bytes.size(), u'\0');
  size_t o = 0;
  for (size_t i = 0; i < bytes.size();) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (t.utf8) {
      char32_t cp = 0;
      size_t len = Utf8Length(bytes, i, &cp);
      if (len == 0) {
        out[o++] = static_cast<char16_t>(kEscapeBase + b);
        ++i;
      } else if (cp >= 0x10000) {
        cp -= 0x10000;
        out[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
        out[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        i += len;
      } else {
        out[o++] = static_cast<char16_t>(cp);
        i += len;
      }
      continue;
    }
    if (TableCharLength(t, bytes, i) == 2) {
      out[o++] = t.pair[static_cast<size_t>(b << 8 | static_cast<unsigned char>(bytes[i + 1]))];
      i += 2;
    } else {
      out[o++] = t.single_ok[b] ? t.single[b] : static_cast<char16_t>(kEscapeBase + b);
      ++i;
    }
  }
  out.resize(o);
  return out;
}

std::string CodePage::Encode(std::u16string_view text) const {
  const Table& t = *table_;
  const std::vector<uint32_t>* enc = t.utf8 ? nullptr : &table_->Enc();
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    bool high = u >= 0xD800 && u <= 0xDBFF;
    bool pair = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (!pair && u >= 0xDC00 && u <= 0xDCFF) {
      out.push_back(static_cast<char>(u - kEscapeBase));
      continue;
    }
    if (t.utf8) {
      char32_t cp = u;
      if (pair) cp = 0x10000 + ((u - 0xD800) << 10) + (text[++i] - 0xDC00);
      if (cp >= 0xD800 && cp <= 0xDFFF) out.push_back('?');
      else vb::AppendUtf8(out, cp);
      continue;
    }
    if (pair) {  // outside the BMP: no legacy code page has it
      ++i;
      out.push_back('?');
      continue;
    }
    uint32_t packed = (*enc)[u];
    if (packed == kNoBytes) {
      out.push_back('?');
    } else if ((packed >> 16) == 2) {
      out.push_back(static_cast<char>((packed >> 8) & 0xFF));
      out.push_back(static_cast<char>(packed & 0xFF));
    } else {
      out.push_back(static_cast<char>(packed & 0xFF));
    }
  }
  return out;
}

std::u16string CodePage::Unencodable(std::u16string_view text) const {
  std::u16string lost;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x80) continue;  // every supported code page holds ASCII
    size_t len = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                         text[i + 1] <= 0xDFFF
                     ? 2
                     : 1;
    std::u16string_view ch = text.substr(i, len);
    i += len - 1;
    if (Decode(Encode(ch)) == ch) continue;
    if (lost.find(ch) == std::u16string::npos) lost += ch;
  }
  return lost;
}

std::size_t CodePage::CharLength(std::string_view bytes, std::size_t pos) const {
  const Table& t = *table_;
  if (t.utf8) {
    size_t len = Utf8Length(bytes, pos, nullptr);
    return len == 0 ? 1 : len;
  }
  return TableCharLength(t, bytes, pos);
}

std::size_t CodePage::CutAtCharBoundary(std::string_view bytes, std::size_t max_bytes) const {
  if (bytes.size() <= max_bytes) return bytes.size();
  size_t i = 0;
  while (i < bytes.size()) {
    size_t len = CharLength(bytes, i);
    if (i + len > max_bytes) break;
    i += len;
  }
  return i;
}

namespace {
CodePage& SystemCodePageSlot() {
  // A system code page this kit has no table for falls back to CP932.
  static CodePage cp = [] {
    try {
      return CodePage::Named(SystemDefaultCodePageName());
    } catch (const std::invalid_argument&) {
      return CodePage::Cp932();
    }
  }();
  return cp;
}
}  // namespace

const CodePage& SystemCodePage() { return SystemCodePageSlot(); }
void SetSystemCodePage(const CodePage& cp) { SystemCodePageSlot() = cp; }

}  // namespace tarno
