// VB 6 syntax colouring for a code pane: keywords blue, comments green,
// string literals dark red, as the IDE's defaults. A line is coloured on its
// own (a comment continued with " _" colours only its first line).
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace tarno::workbench {

class VbHighlighter : public QSyntaxHighlighter {
 public:
  explicit VbHighlighter(QTextDocument* document);

  // The kinds of the line's characters, for tests: 'k' keyword, 'c' comment,
  // 's' string, ' ' plain.
  static QString Classify(const QString& line);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QTextCharFormat keyword_, comment_, string_;
};

}  // namespace tarno::workbench
