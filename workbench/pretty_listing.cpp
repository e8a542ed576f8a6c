#include "workbench/pretty_listing.h"

#include <QRegularExpression>
#include <QSet>

namespace tarno::workbench {
namespace {

// Keywords in their listed case. Words that are keywords only in some places
// (Text, Binary, Compare, Base, Input, ...) are left as typed.
const QHash<QString, QString>& Keywords() {
  static const QHash<QString, QString> words = [] {
    QHash<QString, QString> h;
    for (const char* w :
         {"AddressOf", "Alias", "And", "As", "Boolean", "ByRef", "Byte", "ByVal", "Call", "Case", "Const", "Currency",
          "Date", "Declare", "Dim", "Do", "Double", "Each", "Else", "ElseIf", "Empty", "End", "Enum", "Eqv", "Erase",
          "Event", "Exit", "Explicit", "False", "For", "Friend", "Function", "Get", "Global", "GoSub", "GoTo", "If",
          "Imp", "Implements", "In", "Integer", "Is", "Let", "Lib", "Like", "Long", "Loop", "Me", "Mod", "New", "Next",
          "Not", "Nothing", "Null", "Object", "On", "Option", "Optional", "Or", "ParamArray", "Preserve", "Private",
          "Property", "Public", "RaiseEvent", "ReDim", "Resume", "Return", "Select", "Set", "Single", "Static", "Step",
          "Stop", "String", "Sub", "Then", "To", "True", "Type", "TypeOf", "Until", "Variant", "Wend", "While", "With",
          "WithEvents", "Xor"}) {
      QString k = QString::fromLatin1(w);
      h.insert(k.toLower(), k);
    }
    return h;
  }();
  return words;
}

// Keywords that stand for a value: a "-" after them is binary.
bool IsOperand(const QString& lower) {
  return lower == u"me" || lower == u"true" || lower == u"false" || lower == u"nothing" || lower == u"empty" ||
         lower == u"null";
}

bool IdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c.unicode() >= 0x80; }

enum class Tok { Word, Number, String, Date, Comment, Op, Open, Close, Comma, Dot, Colon, Named, Continue };

struct Token {
  Tok kind;
  QString text;
  bool spaceBefore;  // in the line as typed
};

// The line's tokens after its indentation; false when the line has something
// this does not read.
bool Tokenize(const QString& s, qsizetype from, std::vector<Token>& out) {
  const qsizetype n = s.size();
  qsizetype i = from;
  bool statementStart = true;
  while (i < n) {
    bool space = false;
    const qsizetype gap = i;
    while (i < n && (s[i] == u' ' || s[i] == u'\t')) ++i, space = true;
    if (i >= n) break;
    const QChar c = s[i];
    const qsizetype start = i;
    if (c == u'\'') {
      // A comment keeps the blanks before it (comments are lined up by hand).
      out.push_back({Tok::Comment, s.mid(gap), space});
      return true;
    }
    if (c == u'"') {
      ++i;
      while (true) {
        if (i >= n) return false;  // an open string
        if (s[i] == u'"') {
          if (i + 1 < n && s[i + 1] == u'"') {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      out.push_back({Tok::String, s.mid(start, i - start), space});
      statementStart = false;
      continue;
    }
    if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit() && (out.empty() || out.back().kind != Tok::Word)) ||
        (c == u'&' && i + 1 < n && (s[i + 1] == u'H' || s[i + 1] == u'h' || s[i + 1] == u'O' || s[i + 1] == u'o') &&
         i + 2 < n && s[i + 2].isLetterOrNumber())) {
      if (c == u'&') i += 2;
      while (i < n && (s[i].isLetterOrNumber() || s[i] == u'.' ||
                       ((s[i] == u'-' || s[i] == u'+') && (s[i - 1] == u'E' || s[i - 1] == u'e') && s[start] != u'&')))
        ++i;
      if (i < n && QStringLiteral("%&!#@").contains(s[i]) && (i + 1 >= n || !IdentChar(s[i + 1]))) ++i;
      out.push_back({Tok::Number, s.mid(start, i - start), space});
      statementStart = false;
      continue;
    }
    if (c == u'#') {
      // A date literal #1/2/2003#, else a file number (#1) or a directive (#If).
      qsizetype close = s.indexOf(u'#', i + 1);
      static const QRegularExpression date(QStringLiteral("^#[0-9/:\\-. ,A-Za-z]+#$"));
      if (close > i + 1 && date.match(s.mid(i, close - i + 1)).hasMatch() && s[i + 1].isDigit()) {
        out.push_back({Tok::Date, s.mid(i, close - i + 1), space});
        i = close + 1;
        continue;
      }
      ++i;
      while (i < n && IdentChar(s[i])) ++i;
      if (i == start + 1) return false;
      out.push_back({Tok::Word, s.mid(start, i - start), space});
      statementStart = false;
      continue;
    }
    if (IdentChar(c)) {
      while (i < n && IdentChar(s[i])) ++i;
      // A type character ends the name (s$, n&) unless a member follows (rs!Field).
      if (i < n && QStringLiteral("%&!#@$").contains(s[i]) && (i + 1 >= n || !IdentChar(s[i + 1]))) ++i;
      QString word = s.mid(start, i - start);
      if (word == u"_" && i >= n) {
        out.push_back({Tok::Continue, word, space});
        continue;
      }
      if (statementStart && word.compare(QStringLiteral("rem"), Qt::CaseInsensitive) == 0 &&
          (i >= n || s[i] == u' ' || s[i] == u'\t')) {
        out.push_back({Tok::Comment, s.mid(gap), space});
        return true;
      }
      out.push_back({Tok::Word, word, space});
      statementStart = false;
      continue;
    }
    auto two = s.mid(i, 2);
    if (two == u"<=" || two == u">=" || two == u"<>") {
      out.push_back({Tok::Op, two, space});
      i += 2;
      continue;
    }
    if (two == u":=") {
      out.push_back({Tok::Named, two, space});
      i += 2;
      continue;
    }
    ++i;
    switch (c.unicode()) {
      case u'=': case u'+': case u'-': case u'*': case u'/': case u'\\': case u'^': case u'&': case u'<': case u'>':
        out.push_back({Tok::Op, QString(c), space});
        break;
      case u'(': out.push_back({Tok::Open, QString(c), space}); break;
      case u')': out.push_back({Tok::Close, QString(c), space}); break;
      case u',': out.push_back({Tok::Comma, QString(c), space}); break;
      case u'.': case u'!': out.push_back({Tok::Dot, QString(c), space}); break;
      case u':':
        out.push_back({Tok::Colon, QString(c), space});
        statementStart = true;
        break;
      default: return false;  // ";", "[", "?" and the like: left as typed
    }
  }
  return true;
}

// The line without blanks outside strings and comments, lower case: what
// the listing must keep.
QString Essence(const std::vector<Token>& tokens) {
  QString out;
  for (const auto& t : tokens) out += (t.kind == Tok::String || t.kind == Tok::Comment) ? t.text : t.text.toLower();
  return out;
}

}  // namespace

QString PrettyLine(const QString& line, const DeclaredNames& names) {
  qsizetype indent = 0;
  while (indent < line.size() && (line[indent] == u' ' || line[indent] == u'\t')) ++indent;
  std::vector<Token> tokens;
  if (indent == line.size() || !Tokenize(line, indent, tokens)) return line;
  if (tokens.front().text.startsWith(u'#') && tokens.front().kind == Tok::Word) return line;  // directives as typed
  const std::vector<Token> typed = tokens;

  // Case: keywords, then declared names (members too, as the IDE does).
  for (size_t k = 0; k < tokens.size(); ++k) {
    Token& t = tokens[k];
    if (t.kind != Tok::Word) continue;
    const QString lower = t.text.toLower();
    const bool member = k > 0 && tokens[k - 1].kind == Tok::Dot;
    if (!member) {
      if (auto it = Keywords().find(lower); it != Keywords().end()) {
        t.text = *it;
        continue;
      }
    }
    QString bare = lower;
    QString suffix;
    if (!bare.isEmpty() && QStringLiteral("%&!#@$").contains(bare.back())) suffix = t.text.right(1), bare.chop(1);
    if (auto it = names.find(bare); it != names.end()) t.text = *it + suffix;
  }

  QString out = line.left(indent);
  for (size_t k = 0; k < tokens.size(); ++k) {
    const Token& t = tokens[k];
    if (k == 0) {
      out += t.text;
      continue;
    }
    const Token& p = tokens[k - 1];
    const bool pUnary = p.kind == Tok::Op && (p.text == u"-" || p.text == u"+") &&
                        (k == 1 || tokens[k - 2].kind == Tok::Op || tokens[k - 2].kind == Tok::Open ||
                         tokens[k - 2].kind == Tok::Comma || tokens[k - 2].kind == Tok::Colon ||
                         tokens[k - 2].kind == Tok::Named ||
                         (tokens[k - 2].kind == Tok::Word && Keywords().contains(tokens[k - 2].text.toLower()) &&
                          !IsOperand(tokens[k - 2].text.toLower())));
    bool space;
    switch (t.kind) {
      case Tok::Comment: space = false; break;  // its own blanks are in its text
      case Tok::Close: case Tok::Comma: case Tok::Colon: case Tok::Named: space = false; break;
      case Tok::Dot:
        // obj.Name, f(x).Name; a With block's .Name keeps its blank.
        space = !(p.kind == Tok::Word || p.kind == Tok::Close || p.kind == Tok::String) && t.spaceBefore &&
                p.kind != Tok::Open;
        break;
      case Tok::Open:
        // "Foo(x)" stays; "Foo (x)" (a call's parenthesised argument) keeps its blank.
        space = p.kind == Tok::Word ? (t.spaceBefore || Keywords().contains(p.text.toLower())) && !(p.text == u"Me")
                                    : !(p.kind == Tok::Open || p.kind == Tok::Close || p.kind == Tok::Dot || pUnary);
        break;
      default:
        space = !(p.kind == Tok::Open || p.kind == Tok::Dot || p.kind == Tok::Named || pUnary);
        break;
    }
    if (p.kind == Tok::Colon && k == 1 && t.kind != Tok::Comment) space = true;  // after a label
    out += (space ? QStringLiteral(" ") : QString()) + t.text;
  }
  // Nothing but blanks and case may differ from the line as typed.
  std::vector<Token> check;
  if (!Tokenize(out, indent, check) || check.size() != typed.size() || Essence(check) != Essence(typed)) return line;
  return out;
}

void CollectDeclaredNames(const std::vector<std::u16string_view>& lines, DeclaredNames& names) {
  static const QRegularExpression decl(QStringLiteral(
      "^\\s*(?:(?:Public|Private|Friend|Global|Static|Dim|Const|ReDim|Preserve|WithEvents|Declare)\\s+)+(.*)$"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression proc(
      QStringLiteral("^\\s*(?:(?:Public|Private|Friend|Static)\\s+)*(?:Sub|Function|Property\\s+(?:Get|Let|Set)|Event)\\s+(.*)$"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression block(QStringLiteral("^\\s*(?:(?:Public|Private)\\s+)?(Enum|Type)\\s+(\\w+)"),
                                        QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression blockEnd(QStringLiteral("^\\s*End\\s+(Enum|Type)\\b"), QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression lead(QStringLiteral("^\\s*(?:(?:Optional|ByVal|ByRef|ParamArray|Sub|Function|Const|WithEvents)\\s+)*([A-Za-z\\x{80}-\\x{FFFF}][\\w\\x{80}-\\x{FFFF}]*)"));
  auto add = [&](const QString& name) {
    if (!name.isEmpty() && !Keywords().contains(name.toLower()) && !names.contains(name.toLower()))
      names.insert(name.toLower(), name);
  };
  // The names before each top-level comma (a = 1, b As Long, c(1 To 2)).
  auto addList = [&](const QString& list) {
    int depth = 0;
    qsizetype from = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= list.size(); ++i) {
      QChar c = i < list.size() ? list[i] : QChar(u',');
      if (c == u'"') quoted = !quoted;
      if (quoted) continue;
      if (c == u'\'') break;
      if (c == u'(') ++depth;
      if (c == u')') --depth;
      if (c == u',' && depth <= 0) {
        auto m = lead.match(list.mid(from, i - from));
        if (m.hasMatch()) add(m.captured(1));
        from = i + 1;
      }
    }
  };
  bool inBlock = false;
  for (auto view : lines) {
    const QString line = QString::fromUtf16(view.data(), static_cast<qsizetype>(view.size()));
    if (inBlock) {
      if (blockEnd.match(line).hasMatch()) inBlock = false;
      else if (auto m = lead.match(line); m.hasMatch() && !line.trimmed().startsWith(u'\'')) add(m.captured(1));
      continue;
    }
    if (auto m = block.match(line); m.hasMatch()) {
      add(m.captured(2));
      inBlock = true;
      continue;
    }
    if (auto m = proc.match(line); m.hasMatch()) {
      const QString rest = m.captured(1);
      auto name = lead.match(rest);
      if (name.hasMatch()) add(name.captured(1));
      qsizetype open = rest.indexOf(u'('), close = rest.lastIndexOf(u')');
      if (open >= 0 && close > open) addList(rest.mid(open + 1, close - open - 1));
      continue;
    }
    if (auto m = decl.match(line); m.hasMatch()) addList(m.captured(1));
  }
}

}  // namespace tarno::workbench
