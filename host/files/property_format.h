// Property values in a designer block: reading `Name = value` text into
// typed values, and writing values the way VB 6 writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host_api.h"
#include "host/control_catalog.h"
#include "platform/code_page.h"

namespace tarno::host::files {

struct ParsedValue {
  enum class Kind {
    String,     // "text" (text holds the bytes without quotes)
    Number,     // 12, -1, 8.25, &H8000000F& (number holds it)
    Reference,  // "Form1.frx":0000 — bytes in the binary file (text holds the whole reference)
    StringReference,  // $"Form1.frx":0000 — a long text kept in the binary file
    Other,      // anything else (^S, {GUID}, ...), text as written
  };
  Kind kind = Kind::Other;
  std::string text;
  double number = 0;
  bool integral = false;
  std::string comment;  // after the ' of `0  'False`
};

ParsedValue ParseValue(std::string_view raw);
// The value as the property's type wants it; nullopt when it does not fit
// (the file's line is then kept as it is).
std::optional<ide::Variant> ToVariant(const ParsedValue& v, PropType type, const CodePage& cp);
// The text after "=   " for a value, with the comment VB adds for Booleans
// and enumerations; nullopt when the value cannot be written on one line.
std::optional<std::string> FormatValue(std::u16string_view className, const PropDef& def, const ide::Variant& v,
                                       const CodePage& cp);
// "Caption         =   " + value: names padded to 16 columns.
std::string PropertyLineText(std::string_view name, const std::string& value);
// A BeginProperty Font group (begin line, seven properties, EndProperty).
std::vector<std::string> FontGroupLines(std::string_view name, std::string_view guid, const FontValues& font,
                                        size_t indent, const CodePage& cp);
// VB 6's order of property lines: names compared in upper case.
int CompareNames(std::string_view a, std::string_view b);

}  // namespace tarno::host::files
