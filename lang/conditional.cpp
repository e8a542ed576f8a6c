#include "lang/conditional.h"

#include <cmath>

#include "lang/keywords.h"
#include "lang/lexer.h"
#include "platform/vb_text.h"

namespace tarno::lang {

// Precedence climbing over one directive's tokens.
class CcParser {
 public:
  CcParser(const CcScope& scope, const std::vector<Token>& t, size_t from, size_t to,
           const std::vector<std::u16string_view>& lines)
      : scope_(scope), t_(t), pos_(from), end_(to), lines_(lines) {}

  std::optional<CcValue> Run() {
    auto v = Binary(0);
    if (!v || pos_ != end_) return std::nullopt;
    return v;
  }

 private:
  std::u16string_view Text(const Token& k) const {
    return lines_[static_cast<size_t>(k.line - 1)].substr(k.column, k.length);
  }
  // Operator precedence, lowest first; 0 when the token is no binary operator.
  int Precedence(const Token& k) const {
    if (k.kind == TokenKind::Name && !(k.flags & kBracketed)) {
      switch (static_cast<Kw>(k.atom)) {
        case Kw::Imp: return 1;
        case Kw::Eqv: return 2;
        case Kw::Xor: return 3;
        case Kw::Or: return 4;
        case Kw::And: return 5;
        case Kw::Mod: return 10;
        default: return 0;
      }
    }
    if (k.kind != TokenKind::Punct) return 0;
    switch (static_cast<Punct>(k.atom)) {
      case Punct::Eq: case Punct::Ne: case Punct::Lt: case Punct::Gt: case Punct::Le: case Punct::Ge: return 7;
      case Punct::Amp: return 8;
      case Punct::Plus: case Punct::Minus: return 9;
      case Punct::Backslash: return 11;
      case Punct::Star: case Punct::Slash: return 12;
      case Punct::Caret: return 14;
      default: return 0;
    }
  }
  static double B(bool b) { return b ? -1 : 0; }
  static long long I(double d) { return static_cast<long long>(std::llround(d)); }

  std::optional<CcValue> Binary(int min) {
    auto left = Unary();
    if (!left) return std::nullopt;
    while (pos_ < end_) {
      const Token& op = t_[pos_];
      int p = Precedence(op);
      if (p == 0 || p <= min) break;
      ++pos_;
      auto right = Binary(p);
      if (!right) return std::nullopt;
      left = Apply(op, *left, *right);
    }
    return left;
  }

  CcValue Apply(const Token& op, const CcValue& a, const CcValue& b) {
    CcValue r;
    if (op.kind == TokenKind::Punct && (a.isText || b.isText)) {
      auto sa = a.isText ? a.text : std::u16string();
      auto sb = b.isText ? b.text : std::u16string();
      switch (static_cast<Punct>(op.atom)) {
        case Punct::Eq: r.number = B(sa == sb); return r;
        case Punct::Ne: r.number = B(sa != sb); return r;
        case Punct::Amp: case Punct::Plus: r.isText = true, r.text = sa + sb; return r;
        default: return r;
      }
    }
    const double x = a.number, y = b.number;
    if (op.kind == TokenKind::Name) {
      switch (static_cast<Kw>(op.atom)) {
        case Kw::And: r.number = static_cast<double>(I(x) & I(y)); break;
        case Kw::Or: r.number = static_cast<double>(I(x) | I(y)); break;
        case Kw::Xor: r.number = static_cast<double>(I(x) ^ I(y)); break;
        case Kw::Eqv: r.number = static_cast<double>(~(I(x) ^ I(y))); break;
        case Kw::Imp: r.number = static_cast<double>(~I(x) | I(y)); break;
        case Kw::Mod: r.number = I(y) == 0 ? 0 : static_cast<double>(I(x) % I(y)); break;
        default: break;
      }
      return r;
    }
    switch (static_cast<Punct>(op.atom)) {
      case Punct::Eq: r.number = B(x == y); break;
      case Punct::Ne: r.number = B(x != y); break;
      case Punct::Lt: r.number = B(x < y); break;
      case Punct::Gt: r.number = B(x > y); break;
      case Punct::Le: r.number = B(x <= y); break;
      case Punct::Ge: r.number = B(x >= y); break;
      case Punct::Plus: r.number = x + y; break;
      case Punct::Minus: r.number = x - y; break;
      case Punct::Star: r.number = x * y; break;
      case Punct::Slash: r.number = y == 0 ? 0 : x / y; break;
      case Punct::Backslash: r.number = I(y) == 0 ? 0 : static_cast<double>(I(x) / I(y)); break;
      case Punct::Caret: r.number = std::pow(x, y); break;
      case Punct::Amp: r.isText = true; break;
      default: break;
    }
    return r;
  }

  std::optional<CcValue> Unary() {
    if (pos_ >= end_) return std::nullopt;
    const Token& k = t_[pos_];
    if (k.IsWord(A(Kw::Not))) {
      ++pos_;
      auto v = Binary(6);
      if (!v) return std::nullopt;
      CcValue r;
      r.number = static_cast<double>(~I(v->number));
      return r;
    }
    if (k.Is(Punct::Minus) || k.Is(Punct::Plus)) {
      ++pos_;
      auto v = Binary(13);
      if (!v) return std::nullopt;
      if (k.Is(Punct::Minus)) v->number = -v->number;
      return v;
    }
    return Primary();
  }

  std::optional<CcValue> Primary() {
    const Token& k = t_[pos_];
    CcValue v;
    switch (k.kind) {
      case TokenKind::Number: {
        ++pos_;
        std::u16string_view s = Text(k);
        while (!s.empty() && (s.back() == u'&' || s.back() == u'%' || s.back() == u'!' || s.back() == u'#' ||
                              s.back() == u'@' || s.back() == u'^')) {
          s.remove_suffix(1);
        }
        std::string a(s.begin(), s.end());
        if (a.size() > 1 && a[0] == '&') {
          bool hex = a[1] == 'H' || a[1] == 'h';
          v.number = static_cast<double>(std::strtoll(a.c_str() + (std::isdigit(static_cast<unsigned char>(a[1])) ? 1 : 2), nullptr, hex ? 16 : 8));
        } else {
          for (auto& ch : a) if (ch == 'D' || ch == 'd') ch = 'E';
          v.number = std::strtod(a.c_str(), nullptr);
        }
        return v;
      }
      case TokenKind::String: {
        ++pos_;
        std::u16string_view s = Text(k);
        v.isText = true;
        for (size_t i = 1; i + 1 < s.size(); ++i) {
          v.text += s[i];
          if (s[i] == u'"') ++i;
        }
        return v;
      }
      case TokenKind::Name: {
        ++pos_;
        if (!(k.flags & kBracketed)) {
          if (k.atom == A(Kw::True)) return v.number = -1, v;
          if (k.atom == A(Kw::False) || k.atom == A(Kw::Empty)) return v;
          if (IsReserved(k.atom)) return std::nullopt;
        }
        if (pos_ < end_ && t_[pos_].Is(Punct::LParen)) return Conversion(k);
        if (auto it = scope_.module_.find(k.atom); it != scope_.module_.end()) return it->second;
        if (auto it = scope_.project_.find(k.atom); it != scope_.project_.end()) return it->second;
        if (k.atom == scope_.win32_) v.number = -1;
        return v;
      }
      case TokenKind::Punct:
        if (k.Is(Punct::LParen)) {
          ++pos_;
          auto r = Binary(0);
          if (!r || pos_ >= end_ || !t_[pos_].Is(Punct::RParen)) return std::nullopt;
          ++pos_;
          return r;
        }
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }

  // The conversion and number functions VB allows in a directive: CLng(x), Abs(x), ...
  std::optional<CcValue> Conversion(const Token& name) {
    ++pos_;
    auto v = Binary(0);
    if (!v || pos_ >= end_ || !t_[pos_].Is(Punct::RParen)) return std::nullopt;
    ++pos_;
    std::u16string f;
    for (char16_t c : Text(name)) f += FoldName(c);
    if (f == u"CSTR" || f == u"CVAR") return v;
    if (v->isText) {
      auto n = vb::ToDouble(v->text);
      if (!n) return std::nullopt;
      v->isText = false, v->number = *n;
    }
    double x = v->number;
    if (f == u"CLNG" || f == u"CINT" || f == u"CBYTE") x = std::nearbyint(x);
    else if (f == u"CBOOL") x = B(x != 0);
    else if (f == u"INT") x = std::floor(x);
    else if (f == u"FIX") x = std::trunc(x);
    else if (f == u"ABS") x = std::fabs(x);
    else if (f == u"SGN") x = x > 0 ? 1 : (x < 0 ? -1 : 0);
    else if (!(f == u"CDBL" || f == u"CSNG" || f == u"CCUR" || f == u"CDEC")) return std::nullopt;
    v->number = x;
    return v;
  }

  const CcScope& scope_;
  const std::vector<Token>& t_;
  size_t pos_, end_;
  const std::vector<std::u16string_view>& lines_;
};

CcScope::CcScope(NameTable& names, const std::vector<std::pair<std::u16string, CcValue>>& project) {
  for (const auto& [name, value] : project) project_[names.Intern(name)] = value;
  win32_ = names.Intern(u"Win32");
  win16_ = names.Intern(u"Win16");
}

std::optional<CcValue> CcScope::Evaluate(const std::vector<Token>& tokens, size_t from, size_t to,
                                         const std::vector<std::u16string_view>& lines) const {
  return CcParser(*this, tokens, from, to, lines).Run();
}

std::optional<std::vector<std::pair<std::u16string, CcValue>>> ParseCondComp(std::u16string_view text) {
  std::vector<std::pair<std::u16string, CcValue>> out;
  NameTable names;
  std::vector<Token> tokens;
  Lexer lexer(names);
  std::vector<std::u16string_view> lines{text};
  lexer.LexLine(text, 1, tokens);
  CcScope empty(names, {});
  size_t i = 0;
  while (i < tokens.size()) {
    size_t end = i;
    while (end < tokens.size() && !tokens[end].Is(Punct::Colon)) ++end;
    if (end - i < 3 || tokens[i].kind != TokenKind::Name || !tokens[i + 1].Is(Punct::Eq)) return std::nullopt;
    auto v = empty.Evaluate(tokens, i + 2, end, lines);
    if (!v) return std::nullopt;
    out.emplace_back(std::u16string(names.Text(tokens[i].atom)), *v);
    i = end + 1;
  }
  return out;
}

}  // namespace tarno::lang
