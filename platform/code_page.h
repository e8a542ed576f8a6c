// Conversion between UTF-16 and the system's ANSI code page (CP932 by
// default). Decoding then encoding any byte string gives back the same bytes:
// bytes that are not valid in the code page are kept in a reversible form
// (see code_page.cpp for the mapping).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace tarno {

class CodePage {
 public:
  // Accepts "CP932"/"932"/"Shift_JIS", "CP1252"/"1252", "CP936"/"GBK", "UTF-8"/"65001".
  // Throws std::invalid_argument for an unknown name.
  static CodePage Named(std::string_view name);
  static CodePage Cp932();

  std::u16string Decode(std::string_view bytes) const;
  std::string Encode(std::u16string_view text) const;
  // The characters of `text` that this code page cannot hold, each once in
  // the order of first appearance: those that Encode would write as "?" or
  // as a look-alike (a surrogate pair counts as one character). Bytes kept
  // from a decode (U+DC80..U+DCFF) are held.
  std::u16string Unencodable(std::u16string_view text) const;
  // Bytes taken by the character that starts at bytes[pos]: 1 for a single
  // byte or a byte that is not part of a valid character, 2 for a double-byte
  // character, up to 4 in UTF-8. pos must be below bytes.size().
  std::size_t CharLength(std::string_view bytes, std::size_t pos) const;
  // The largest character boundary at or below max_bytes (bytes.size() when it fits).
  std::size_t CutAtCharBoundary(std::string_view bytes, std::size_t max_bytes) const;
  const std::string& name() const { return name_; }
  bool operator==(const CodePage& other) const { return name_ == other.name_; }

 private:
  explicit CodePage(std::string canonical_name);
  std::string name_;               // canonical iconv name
  struct CodePageTable* table_;  // built once per code page, never freed
};

// The code page that the tools use for files and profile strings, CP932 unless set.
const CodePage& SystemCodePage();
void SetSystemCodePage(const CodePage& cp);

}  // namespace tarno
