// The operating system's own conversions between one code page and UTF-16:
// iconv on POSIX systems (code_page_iconv.cpp), MultiByteToWideChar and
// WideCharToMultiByte on Windows (win/code_page_win.cpp). code_page.cpp asks
// them once per character to build its lookup tables.
#pragma once

#include <memory>
#include <string>

namespace tarno {

class CodePageConverter {
 public:
  // nullptr when the system does not know the code page. `name` is the
  // canonical name: "CP932", "CP1252", "CP936", ...
  static std::unique_ptr<CodePageConverter> Open(const std::string& name);
  virtual ~CodePageConverter() = default;

  // The UTF-16 of `bytes`; false when they are not whole, valid characters.
  virtual bool Decode(const std::string& bytes, std::u16string& out) = 0;
  // The bytes of one UTF-16 unit, best-fit mappings included; false when the
  // code page has no spelling for it.
  virtual bool Encode(char16_t unit, std::string& out) = 0;
};

// The canonical name of the code page files are in unless a tool is told
// otherwise: "CP932" on POSIX systems, the ANSI code page (GetACP) on Windows.
std::string SystemDefaultCodePageName();

}  // namespace tarno
