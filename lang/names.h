// Names of the VB 6 language model, interned once: a name is a small number
// (an atom) that compares without case as VB compares identifiers, so that
// the parser and the binder never compare or copy text. The words the parser
// looks for (keywords and the contextual words of statements) come first, at
// the fixed atoms of `Kw`, in every table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::lang {

using Atom = uint32_t;
inline constexpr Atom kNoAtom = 0xFFFFFFFFu;

// The upper case of one UTF-16 unit as VB compares names: ASCII, Latin-1 and
// full-width Latin letters; every other character is its own.
inline char16_t FoldName(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 32);
  return c;
}

// Whether two names are the same name to VB.
bool SameName(std::u16string_view a, std::u16string_view b);

// An open-addressing table of names. Not thread-safe: every parsing thread
// has its own, and the model merges them (Merge gives the atoms of one table
// in another).
class NameTable {
 public:
  NameTable();
  // The atom of the name (added on first sight; the first spelling is kept).
  Atom Intern(std::u16string_view name) { return Intern(name, Hash(name)); }
  // The same with Hash(name) worked out by the caller (the lexer, as it reads the name).
  Atom Intern(std::u16string_view name, uint32_t hash);
  // The hash of a name, the same for every spelling VB takes as the same name.
  static constexpr uint32_t kHashStart = 2166136261u;
  static uint32_t HashStep(uint32_t h, char16_t c) { return (h ^ FoldName(c)) * 16777619u; }
  static uint32_t Hash(std::u16string_view name) {
    uint32_t h = kHashStart;
    for (char16_t c : name) h = HashStep(h, c);
    return h;
  }
  // The atom, or kNoAtom when the table has never seen the name.
  Atom Find(std::u16string_view name) const;
  // The first spelling seen.
  std::u16string_view Text(Atom a) const {
    const Entry& e = entries_[a];
    return {chars_.data() + e.offset, e.length};
  }
  size_t size() const { return entries_.size(); }
  // For every atom of `other`, the atom of the same name in this table.
  std::vector<Atom> Merge(const NameTable& other);
  // Bytes held (for the memory figures).
  size_t Bytes() const;

 private:
  struct Entry {
    uint32_t offset;
    uint32_t length;
    uint32_t hash;
  };
  void Grow();
  std::vector<char16_t> chars_;
  std::vector<Entry> entries_;
  std::vector<uint32_t> slots_;  // atom + 1, 0 empty
};

}  // namespace tarno::lang
