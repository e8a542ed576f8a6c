#include "gui/qt_convert.h"

#include <cstring>

#include "platform/vb_text.h"

namespace tarno::gui {

QImage ToImage(const Picture& p) {
  QImage image(p.width, p.height, QImage::Format_ARGB32);
  if (p.width <= 0 || p.height <= 0 || p.pixels.size() < static_cast<size_t>(p.width) * p.height) return QImage();
  for (int y = 0; y < p.height; ++y)
    std::memcpy(image.scanLine(y), &p.pixels[static_cast<size_t>(y) * p.width], static_cast<size_t>(p.width) * 4);
  return image;
}

Picture FromImage(const QImage& source) {
  QImage image = source.convertToFormat(QImage::Format_ARGB32);
  Picture p;
  p.width = image.width();
  p.height = image.height();
  p.pixels.resize(static_cast<size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y)
    std::memcpy(&p.pixels[static_cast<size_t>(y) * p.width], image.constScanLine(y), static_cast<size_t>(p.width) * 4);
  return p;
}

namespace {
struct FontPair {
  const char16_t* vb;
  const char* qt;
};
// Windows fonts and their installed look-alikes: the Japanese system fonts
// to the IPA fonts of the same design and spacing, the Western ones to the
// metric-compatible Liberation fonts (Arial's widths; the bitmap fonts
// "MS Sans Serif" and "MS Serif" to the nearest of them). The first entry
// of a family is the name it stands for in the other direction.
constexpr FontPair kFonts[] = {
    {u"ＭＳ Ｐゴシック", "IPAPGothic"}, {u"ＭＳ ゴシック", "IPAGothic"},    {u"ＭＳ Ｐ明朝", "IPAPMincho"},
    {u"ＭＳ 明朝", "IPAMincho"},        {u"MS UI Gothic", "IPAPGothic"},    {u"MS PGothic", "IPAPGothic"},
    {u"MS Gothic", "IPAGothic"},        {u"MS Mincho", "IPAMincho"},        {u"MS PMincho", "IPAPMincho"},
    {u"Arial", "Liberation Sans"},      {u"MS Sans Serif", "Liberation Sans"}, {u"Microsoft Sans Serif", "Liberation Sans"},
    {u"Tahoma", "DejaVu Sans"},         {u"Verdana", "DejaVu Sans"},       {u"Segoe UI", "Liberation Sans"},
    {u"Arial Narrow", "Liberation Sans Narrow"}, {u"Times New Roman", "Liberation Serif"}, {u"MS Serif", "Liberation Serif"},
    {u"Courier New", "Liberation Mono"}, {u"Courier", "Liberation Mono"},  {u"Lucida Console", "DejaVu Sans Mono"},
    {u"Fixedsys", "DejaVu Sans Mono"},  {u"Terminal", "DejaVu Sans Mono"}, {u"宋体", "IPAMincho"},
    {u"SimSun", "IPAMincho"},
};
}  // namespace

QString FontFamilyFor(const std::u16string& vbName) {
  for (const FontPair& f : kFonts)
    if (vb::EqualsIgnoreCaseAscii(vbName, f.vb)) return QString::fromLatin1(f.qt);
  return ToQ(vbName);
}

QStringList WindowsFontNames() {
  QStringList names;
  for (const FontPair& f : kFonts)
    if (!names.contains(ToQ(f.vb))) names << ToQ(f.vb);
  return names;
}

std::u16string VbFontNameFor(const QString& family) {
  for (const FontPair& f : kFonts)
    if (family == QLatin1String(f.qt)) return f.vb;
  return FromQ(family);
}

QFont ToQFont(const ui::StdFont& f) {
  QFont font(FontFamilyFor(f.Name));
  // Japanese text needs a Japanese font even where the family is unknown.
  font.setFamilies({FontFamilyFor(f.Name), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPointSizeF(f.Size > 0 ? f.Size : 9);
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setStrikeOut(f.Strikethru);
  font.setUnderline(f.Underline);
  return font;
}

QColor ToQColor(int32_t vbColor, const QPalette& palette) {
  auto v = static_cast<uint32_t>(vbColor);
  if (v & 0x80000000u) {
    switch (v & 0xFF) {
      case 0x05: return palette.color(QPalette::Base);        // window background
      case 0x08: return palette.color(QPalette::Text);        // window text
      case 0x0D: return palette.color(QPalette::Highlight);
      case 0x0E: return palette.color(QPalette::HighlightedText);
      case 0x10: return palette.color(QPalette::Mid);         // button shadow
      case 0x12: return palette.color(QPalette::ButtonText);
      default: return palette.color(QPalette::Button);        // button face and the rest
    }
  }
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

QString StripAccessKeys(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

QString ToQLines(const std::u16string& s) {
  QString q = ToQ(s);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  q.replace(u'\r', u'\n');
  return q;
}

}  // namespace tarno::gui
