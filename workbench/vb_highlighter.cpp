#include "workbench/vb_highlighter.h"

#include <QSet>

namespace tarno::workbench {
namespace {

const QSet<QString>& Keywords() {
  static const QSet<QString> words = [] {
    QSet<QString> s;
    for (const char* w :
         {"and", "as", "boolean", "byref", "byte", "byval", "call", "case", "const", "currency", "date", "declare",
          "dim", "do", "double", "each", "else", "elseif", "end", "enum", "erase", "error", "event", "exit",
          "explicit", "false", "for", "friend", "function", "get", "global", "gosub", "goto", "if", "implements",
          "in", "integer", "is", "let", "lib", "like", "long", "loop", "me", "mod", "new", "next", "not", "nothing",
          "object", "on", "option", "optional", "or", "paramarray", "preserve", "private", "property", "public",
          "raiseevent", "redim", "resume", "return", "select", "set", "single", "static", "step", "stop", "string",
          "sub", "then", "to", "true", "type", "typeof", "until", "variant", "wend", "while", "with", "withevents",
          "xor", "attribute", "begin", "alias", "base", "compare", "binary", "text", "any", "empty", "null"}) {
      s.insert(QString::fromLatin1(w));
    }
    return s;
  }();
  return words;
}

bool IsWord(QChar c) { return c.isLetterOrNumber() || c == u'_' || (c.unicode() >= 0x80 && c.unicode() != 0x3000); }

}  // namespace

QString VbHighlighter::Classify(const QString& line) {
  QString kinds(line.size(), u' ');
  int i = 0;
  const int n = static_cast<int>(line.size());
  bool statementStart = true;
  while (i < n) {
    QChar c = line[i];
    if (c == u'"') {
      int j = i + 1;
      while (j < n) {
        if (line[j] == u'"') {
          if (j + 1 < n && line[j + 1] == u'"') {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      int end = std::min(j + 1, n);
      for (int k = i; k < end; ++k) kinds[k] = u's';
      i = end;
      statementStart = false;
    } else if (c == u'\'') {
      for (int k = i; k < n; ++k) kinds[k] = u'c';
      break;
    } else if (IsWord(c)) {
      int j = i;
      while (j < n && IsWord(line[j])) ++j;
      QString word = line.mid(i, j - i).toLower();
      if (statementStart && word == u"rem" && (j == n || line[j] == u' ' || line[j] == u'\t')) {
        for (int k = i; k < n; ++k) kinds[k] = u'c';
        break;
      }
      // "x.End" or "Me.Name" is a member, not a keyword.
      bool member = i > 0 && line[i - 1] == u'.';
      if (!member && Keywords().contains(word)) {
        for (int k = i; k < j; ++k) kinds[k] = u'k';
      }
      i = j;
      statementStart = false;
    } else {
      if (c == u':') statementStart = true;
      ++i;
    }
  }
  return kinds;
}

VbHighlighter::VbHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
  keyword_.setForeground(QColor(0, 0, 160));
  comment_.setForeground(QColor(0, 128, 0));
  string_.setForeground(QColor(128, 0, 0));
}

void VbHighlighter::highlightBlock(const QString& text) {
  const QString kinds = Classify(text);
  int i = 0;
  const int n = static_cast<int>(kinds.size());
  while (i < n) {
    QChar k = kinds[i];
    int j = i;
    while (j < n && kinds[j] == k) ++j;
    if (k == u'k') setFormat(i, j - i, keyword_);
    else if (k == u'c') setFormat(i, j - i, comment_);
    else if (k == u's') setFormat(i, j - i, string_);
    i = j;
  }
}

}  // namespace tarno::workbench
