#include "platform/vb_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tarno::vb {

Str U(std::string_view utf8) {
  Str out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else {
      cp = c & 0x07;
      extra = 3;
    }
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i) cp = (cp << 6) | (utf8[i] & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string ToUtf8(StrView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

int Len(StrView s) { return static_cast<int>(s.size()); }
int LenB(StrView s) { return static_cast<int>(s.size()) * 2; }

// As VB: an empty string to search gives 0, a start beyond its end gives 0,
// and an empty string to find is found at the start.
int InStr(int start, StrView s, StrView find) {
  if (start < 1) start = 1;
  if (s.empty() || static_cast<size_t>(start) > s.size()) return 0;
  size_t pos = s.find(find, static_cast<size_t>(start - 1));
  return pos == StrView::npos ? 0 : static_cast<int>(pos) + 1;
}

int InStr(StrView s, StrView find) { return InStr(1, s, find); }

static char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }
static char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? c - 32 : c; }

int InStrText(int start, StrView s, StrView find) {
  if (start < 1) start = 1;
  size_t from = static_cast<size_t>(start - 1);
  if (s.empty() || from >= s.size()) return 0;
  if (find.empty()) return start;
  for (size_t i = from; i + find.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < find.size() && LowerAscii(s[i + k]) == LowerAscii(find[k])) ++k;
    if (k == find.size()) return static_cast<int>(i) + 1;
  }
  return 0;
}

int InStrRev(StrView s, StrView find) {
  if (s.empty()) return 0;
  if (find.empty()) return Len(s);  // found at the default start, the last position
  size_t pos = s.rfind(find);
  return pos == StrView::npos ? 0 : static_cast<int>(pos) + 1;
}

Str Mid(StrView s, int start) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) >= s.size()) return Str();
  return Str(s.substr(static_cast<size_t>(start - 1)));
}

Str Mid(StrView s, int start, int length) {
  if (length <= 0) return Str();
  if (start < 1) start = 1;
  if (static_cast<size_t>(start - 1) >= s.size()) return Str();
  return Str(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
}

Str Left(StrView s, int length) {
  if (length <= 0) return Str();
  return Str(s.substr(0, static_cast<size_t>(length)));
}

Str Right(StrView s, int length) {
  if (length <= 0) return Str();
  if (static_cast<size_t>(length) >= s.size()) return Str(s);
  return Str(s.substr(s.size() - static_cast<size_t>(length)));
}

Str LTrim(StrView s) {
  size_t b = 0;
  while (b < s.size() && s[b] == u' ') ++b;
  return Str(s.substr(b));
}

Str RTrim(StrView s) {
  size_t e = s.size();
  while (e > 0 && s[e - 1] == u' ') --e;
  return Str(s.substr(0, e));
}

Str Trim(StrView s) { return LTrim(RTrim(s)); }

Str UCaseAscii(StrView s) {
  Str out(s);
  for (auto& c : out) c = UpperAscii(c);
  return out;
}

Str LCaseAscii(StrView s) {
  Str out(s);
  for (auto& c : out) c = LowerAscii(c);
  return out;
}

bool EqualsIgnoreCaseAscii(StrView a, StrView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

Str Replace(StrView s, StrView find, StrView with) {
  if (find.empty()) return Str(s);
  Str out;
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(find, pos);
    if (hit == StrView::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(with);
    pos = hit + find.size();
  }
  out.append(s.substr(pos));
  return out;
}

// Numeric text. VB 6 leaves part of this to the Windows locale; we take a
// fixed, locale-free subset that every locale accepts:
//   [blanks] [+|-] digits [. digits] [E|D [+|-] digits] [blanks]
// with digits on at least one side of the point, blanks being spaces and
// tabs; and the literals &H<hex> and &O<octal> (an optional "&" suffix),
// which read as 16-bit when they fit in four hex digits and 32-bit
// otherwise, as in VB (&HFFFF is -1). Not accepted, although some locales
// accept them in VB 6: thousands separators ("1,000"), currency symbols,
// parentheses or a trailing sign for negatives, full-width digits. "" and
// blanks only are not numeric.
// Blanks that VB's numeric parsing skips around a number.
static bool IsNumBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::optional<double> ToDouble(StrView s) {
  size_t b = 0, e = s.size();
  while (b < e && IsNumBlank(s[b])) ++b;
  while (e > b && IsNumBlank(s[e - 1])) --e;
  if (b == e) return std::nullopt;
  StrView t = s.substr(b, e - b);
  // &H / &O literals (16- or 32-bit, two's complement as VB reads them).
  if (t.size() >= 3 && t[0] == u'&' && (t[1] == u'H' || t[1] == u'h' || t[1] == u'O' || t[1] == u'o')) {
    bool hex = (t[1] == u'H' || t[1] == u'h');
    size_t i = 2;
    size_t end = t.size();
    if (end > i && t[end - 1] == u'&') --end;  // Long suffix
    if (i == end) return std::nullopt;
    unsigned long long v = 0;
    for (; i < end; ++i) {
      char16_t c = t[i];
      int d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (hex && c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (hex && c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else return std::nullopt;
      if (!hex && d > 7) return std::nullopt;
      v = v * (hex ? 16 : 8) + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    if (v <= 0xFFFF) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
  }
  std::string ascii;
  size_t i = 0;
  if (t[i] == u'+' || t[i] == u'-') ascii.push_back(static_cast<char>(t[i++]));
  bool digits = false;
  while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') { ascii.push_back(static_cast<char>(t[i++])); digits = true; }
  if (i < t.size() && t[i] == u'.') {
    ascii.push_back('.');
    ++i;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') { ascii.push_back(static_cast<char>(t[i++])); digits = true; }
  }
  if (!digits) return std::nullopt;
  if (i < t.size() && (t[i] == u'E' || t[i] == u'e' || t[i] == u'D' || t[i] == u'd')) {
    ascii.push_back('e');
    ++i;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ascii.push_back(static_cast<char>(t[i++]));
    bool exp = false;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') { ascii.push_back(static_cast<char>(t[i++])); exp = true; }
    if (!exp) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  char* endp = nullptr;
  double v = std::strtod(ascii.c_str(), &endp);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

bool IsNumeric(StrView s) { return ToDouble(s).has_value(); }

std::optional<int32_t> ToLong(StrView s) {
  auto d = ToDouble(s);
  if (!d) return std::nullopt;
  double r = std::nearbyint(*d);  // default rounding mode: to nearest, ties to even
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(r);
}

std::optional<int16_t> ToInteger(StrView s) {
  auto d = ToDouble(s);
  if (!d) return std::nullopt;
  double r = std::nearbyint(*d);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<int16_t>(r);
}

std::optional<bool> ToBoolean(StrView s) {
  Str t = LCaseAscii(Trim(s));
  if (t == u"true") return true;
  if (t == u"false") return false;
  auto d = ToDouble(s);
  if (!d) return std::nullopt;
  return *d != 0.0;
}

Str FromInt(long long n) {
  std::string s = std::to_string(n);
  return Str(s.begin(), s.end());
}

Str FormatDateYmd(int year, int month, int day) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", year, month, day);
  std::string s(buf);
  return Str(s.begin(), s.end());
}

}  // namespace tarno::vb
