#include "workbench/find_pattern.h"

namespace tarno::workbench {
namespace {

QString EscapeInClass(QChar c) {
  if (c == u'\\' || c == u']' || c == u'[' || c == u'^' || c == u'-') return QStringLiteral("\\") + c;
  return QString(c);
}

// A Like pattern as a regular expression; empty with `error` set when invalid.
std::optional<QString> LikeToRegex(const QString& like, QString* error) {
  QString rx;
  for (qsizetype i = 0; i < like.size(); ++i) {
    QChar c = like[i];
    if (c == u'?') {
      rx += u'.';
    } else if (c == u'*') {
      rx += QStringLiteral(".*?");
    } else if (c == u'#') {
      rx += QStringLiteral("[0-9]");
    } else if (c == u'[') {
      qsizetype close = like.indexOf(u']', i + 1);
      if (close < 0) {
        if (error) *error = QStringLiteral("Invalid pattern string: \"[\" without \"]\"");
        return std::nullopt;
      }
      QString list = like.mid(i + 1, close - i - 1);
      i = close;
      if (list.isEmpty()) continue;  // "[]" is the empty string
      bool negate = list.startsWith(u'!') && list.size() > 1;
      if (negate) list.remove(0, 1);
      QString cls;
      for (qsizetype k = 0; k < list.size(); ++k) {
        // "a-z" is a range; a "-" first or last is itself.
        if (k + 2 < list.size() && list[k + 1] == u'-') {
          if (list[k] > list[k + 2]) {
            if (error) *error = QStringLiteral("Invalid pattern string: the range %1-%2 runs backwards").arg(list[k]).arg(list[k + 2]);
            return std::nullopt;
          }
          cls += EscapeInClass(list[k]) + u'-' + EscapeInClass(list[k + 2]);
          k += 2;
        } else {
          cls += EscapeInClass(list[k]);
        }
      }
      rx += (negate ? QStringLiteral("[^") : QStringLiteral("[")) + cls + u']';
    } else {
      rx += QRegularExpression::escape(QString(c));
    }
  }
  return rx;
}

}  // namespace

std::optional<QRegularExpression> CompileFind(const FindOptions& options, QString* error) {
  if (options.what.isEmpty()) {
    if (error) *error = QStringLiteral("Nothing to find");
    return std::nullopt;
  }
  QString body;
  if (options.pattern) {
    auto rx = LikeToRegex(options.what, error);
    if (!rx) return std::nullopt;
    body = *rx;
  } else {
    body = QRegularExpression::escape(options.what);
  }
  if (options.wholeWord) body = QStringLiteral("(?<![\\w])(?:") + body + QStringLiteral(")(?![\\w])");
  QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
  if (!options.matchCase) flags |= QRegularExpression::CaseInsensitiveOption;
  QRegularExpression re(body, flags);
  if (!re.isValid()) {
    if (error) *error = re.errorString();
    return std::nullopt;
  }
  return re;
}

}  // namespace tarno::workbench
