#include "controls/cotrol_style.h"

#include <stdexcept>

#include "platform/vb_text.h"

namespace tarno {

std::u16string clsCotrolStyle::Flg() const { return vb::FromInt(m_Flg); }

void clsCotrolStyle::SetFlg(std::u16string_view intFlg) {
  // A settings file without the key hands over "", which means "off".
  if (vb::Trim(intFlg).empty()) {
    m_Flg = 0;
    return;
  }
  auto value = vb::ToInteger(intFlg);
  if (!value) {
    if (vb::IsNumeric(intFlg)) throw std::out_of_range("Flg: overflow: " + vb::ToUtf8(intFlg));
    throw std::invalid_argument("Flg: not a number: " + vb::ToUtf8(intFlg));
  }
  m_Flg = *value;
}

void CotrolStyleCollection::Add(Ptr record) {
  if (!record) throw std::invalid_argument("CotrolStyleCollection::Add: null record");
  records_.push_back(std::move(record));
}

CotrolStyleCollection::Ptr CotrolStyleCollection::ItemPtr(int32_t number) const {
  if (number < 1 || number > Count())
    throw std::out_of_range("PatternCollection: no pattern number " + std::to_string(number) +
                            " (count " + std::to_string(Count()) + ")");
  return records_[static_cast<size_t>(number - 1)];
}

clsCotrolStyle& CotrolStyleCollection::Item(int32_t number) const { return *ItemPtr(number); }

void CotrolStyleCollection::RemoveMarked() {
  std::erase_if(records_, [](const Ptr& r) { return r->DelFlg() != 0; });
}

}  // namespace tarno
