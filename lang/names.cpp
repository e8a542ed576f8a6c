#include "lang/names.h"

#include <cstring>

#include "lang/keywords.h"

namespace tarno::lang {

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  // Most uses of a name keep the spelling of its declaration.
  if (std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0) return true;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldName(a[i]) != FoldName(b[i])) return false;
  }
  return true;
}

NameTable::NameTable() {
  slots_.assign(1024, 0);
  chars_.reserve(4096);
  entries_.reserve(256);
  for (size_t i = 0; i < kKeywordCount; ++i) Intern(KeywordText(static_cast<Kw>(i)));
}

Atom NameTable::Find(std::u16string_view name) const {
  const uint32_t h = Hash(name);
  const size_t mask = slots_.size() - 1;
  for (size_t i = h & mask;; i = (i + 1) & mask) {
    uint32_t s = slots_[i];
    if (s == 0) return kNoAtom;
    const Entry& e = entries_[s - 1];
    if (e.hash == h && SameName({chars_.data() + e.offset, e.length}, name)) return s - 1;
  }
}

Atom NameTable::Intern(std::u16string_view name, uint32_t h) {
  size_t mask = slots_.size() - 1;
  size_t i = h & mask;
  for (;; i = (i + 1) & mask) {
    uint32_t s = slots_[i];
    if (s == 0) break;
    const Entry& e = entries_[s - 1];
    if (e.hash == h && SameName({chars_.data() + e.offset, e.length}, name)) return s - 1;
  }
  const Atom a = static_cast<Atom>(entries_.size());
  entries_.push_back({static_cast<uint32_t>(chars_.size()), static_cast<uint32_t>(name.size()), h});
  chars_.insert(chars_.end(), name.begin(), name.end());
  slots_[i] = a + 1;
  if (entries_.size() * 2 > slots_.size()) Grow();
  return a;
}

void NameTable::Grow() {
  std::vector<uint32_t> slots(slots_.size() * 2, 0);
  const size_t mask = slots.size() - 1;
  for (size_t a = 0; a < entries_.size(); ++a) {
    size_t i = entries_[a].hash & mask;
    while (slots[i] != 0) i = (i + 1) & mask;
    slots[i] = static_cast<uint32_t>(a + 1);
  }
  slots_.swap(slots);
}

std::vector<Atom> NameTable::Merge(const NameTable& other) {
  std::vector<Atom> map(other.size());
  for (size_t a = 0; a < other.size(); ++a) map[a] = a < kKeywordCount ? static_cast<Atom>(a) : Intern(other.Text(static_cast<Atom>(a)));
  return map;
}

size_t NameTable::Bytes() const {
  return chars_.capacity() * sizeof(char16_t) + entries_.capacity() * sizeof(Entry) + slots_.capacity() * sizeof(uint32_t);
}

}  // namespace tarno::lang
