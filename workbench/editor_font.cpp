#include "workbench/editor_font.h"

namespace tarno::workbench {

QFont EditorFont(const CodePage& codePage) {
  // CJK characters outside the chosen font come from Qt's fallback fonts.
  QFont font(codePage.name() == "CP932" ? QStringLiteral("IPAGothic") : QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setPointSize(10);
  return font;
}

}  // namespace tarno::workbench
