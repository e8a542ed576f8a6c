// VB 6 string rules on UTF-16 text: 1-based positions, lengths in UTF-16
// units, trimming of U+0020 only, VB's numeric tests and conversions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarno::vb {

using Str = std::u16string;
using StrView = std::u16string_view;

inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kLf = u'\n';
inline const Str kCrLf = u"\r\n";

// Literal helper: u8 source text (Japanese messages) to UTF-16.
Str U(std::string_view utf8);
// UTF-16 to UTF-8 (lone surrogates become U+FFFD; for display only).
std::string ToUtf8(StrView text);
// Appends one code point (not a surrogate) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

int Len(StrView s);
int LenB(StrView s);  // 2 per UTF-16 unit
// InStr(start, s, find): 1-based, 0 when not found. A start below 1 counts as 1.
int InStr(int start, StrView s, StrView find);
int InStr(StrView s, StrView find);
// Case-insensitive for ASCII letters only.
int InStrText(int start, StrView s, StrView find);
int InStrRev(StrView s, StrView find);
// Mid(s, start[, length]): start below 1 counts as 1; negative length gives "".
Str Mid(StrView s, int start);
Str Mid(StrView s, int start, int length);
Str Left(StrView s, int length);
Str Right(StrView s, int length);
// Trimming removes U+0020 only.
Str Trim(StrView s);
Str LTrim(StrView s);
Str RTrim(StrView s);
// ASCII-only case mapping, as the tools compare names.
Str UCaseAscii(StrView s);
Str LCaseAscii(StrView s);
bool EqualsIgnoreCaseAscii(StrView a, StrView b);
Str Replace(StrView s, StrView find, StrView with);

// VB's IsNumeric for text (the accepted forms are listed in vb_text.cpp).
bool IsNumeric(StrView s);
// Text to a number as VB's Val-less conversions do (CDbl); nullopt when not numeric.
std::optional<double> ToDouble(StrView s);
// CLng: round to nearest, ties to even; nullopt on non-numbers and overflow.
std::optional<int32_t> ToLong(StrView s);
// CInt: as CLng, 16-bit range.
std::optional<int16_t> ToInteger(StrView s);
// CBool from text: "True"/"False" (any case) or a number (non-zero is True).
std::optional<bool> ToBoolean(StrView s);
// Decimal text of a whole number (CStr).
Str FromInt(long long n);
// Format(date, "yyyy/mm/dd").
Str FormatDateYmd(int year, int month, int day);

}  // namespace tarno::vb
