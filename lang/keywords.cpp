#include "lang/keywords.h"

#include <array>

namespace tarno::lang {
namespace {

struct KeywordInfo {
  std::u16string_view text;
  bool reserved;
};

constexpr std::array<KeywordInfo, kKeywordCount> kKeywords = {{
#define TARNO_LANG_KW_INFO(id, text, reserved) {u"" text, reserved != 0},
    TARNO_LANG_KEYWORDS(TARNO_LANG_KW_INFO)
#undef TARNO_LANG_KW_INFO
}};

}  // namespace

std::u16string_view KeywordText(Kw k) { return kKeywords[static_cast<size_t>(k)].text; }

bool IsReserved(uint32_t atom) { return atom < kKeywordCount && kKeywords[atom].reserved; }

bool IsBuiltinType(uint32_t atom) {
  switch (static_cast<Kw>(atom)) {
    case Kw::Boolean: case Kw::Byte: case Kw::Currency: case Kw::Date: case Kw::Decimal: case Kw::Double:
    case Kw::Integer: case Kw::Long: case Kw::LongLong: case Kw::LongPtr: case Kw::Object: case Kw::Single:
    case Kw::String: case Kw::Variant: case Kw::Any:
      return atom < kKeywordCount;
    default:
      return false;
  }
}

}  // namespace tarno::lang
