#include "workbench/designer_fonts.h"

#include <cmath>

#include "gui/qt_convert.h"

namespace tarno::workbench {

QFont DesignerQFont(const host::FontValues& f) {
  QFont font;
  // Text the family cannot show (Japanese in a Western font) falls back to a
  // font that has it, as Windows' font linking does.
  font.setFamilies({gui::FontFamilyFor(f.name), QStringLiteral("IPAPGothic"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(std::max(1, static_cast<int>(std::lround((f.size > 0 ? f.size : 8.25) * 96.0 / 72.0))));
  font.setBold(f.bold || f.weight >= 600);
  font.setItalic(f.italic);
  font.setUnderline(f.underline);
  font.setStrikeOut(f.strikethru);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

host::FontValues CodePageDefaultFont(const CodePage& cp) {
  host::FontValues f;
  const std::string& name = cp.name();
  if (name.find("932") != std::string::npos || name.find("SHIFT") != std::string::npos ||
      name.find("SJIS") != std::string::npos) {
    f.name = u"ＭＳ Ｐゴシック";
    f.size = 9;
    f.charset = 128;
  } else if (name.find("936") != std::string::npos || name.find("GBK") != std::string::npos ||
             name.find("GB2312") != std::string::npos) {
    f.name = u"宋体";
    f.size = 9;
    f.charset = 134;
  } else {
    f.name = u"MS Sans Serif";
    f.size = 8.25;
    f.charset = 0;
  }
  return f;
}

host::FontValues FontValuesOf(const host::MemControl& control, const CodePage& cp) {
  for (const host::MemControl* c = &control; c;) {
    if (auto font = c->GetFont(); font && (c->IsLoaded(u"Font") || c->IsChanged(u"Font"))) return font->values();
    auto parent = c->parent();
    if (parent) {
      c = parent.get();
      continue;
    }
    auto designer = c->designer();
    if (!designer || c == designer->form().get()) break;
    c = designer->form().get();
  }
  return CodePageDefaultFont(cp);
}

}  // namespace tarno::workbench
