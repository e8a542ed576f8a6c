// Conversions between the toolkit's values and Qt's: text, pictures, fonts,
// VB colours and captions with access keys.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <string>

#include "platform/clipboard.h"
#include "ui/basics.h"

namespace tarno::gui {

inline QString ToQ(const std::u16string& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
inline std::u16string FromQ(const QString& s) { return s.toStdU16String(); }

// An ARGB picture as a Qt image and back (the name does not travel).
QImage ToImage(const Picture& p);
Picture FromImage(const QImage& image);

// The installed font that stands for a Windows font name: the Japanese
// system fonts map to IPA fonts ("ＭＳ Ｐゴシック" -> IPAPGothic); other names
// are kept and left to Qt's font matching.
QString FontFamilyFor(const std::u16string& vbName);
// The Windows font names that have a look-alike here, for a font chooser.
QStringList WindowsFontNames();
// The Windows name a chosen Qt family stands for (the inverse of FontFamilyFor).
std::u16string VbFontNameFor(const QString& family);
QFont ToQFont(const ui::StdFont& f);

// A VB colour: 0x00BBGGRR, or a system colour 0x800000nn (button face, window
// text, ...) taken from the palette.
QColor ToQColor(int32_t vbColor, const QPalette& palette);

// A caption with VB's access keys drawn by a widget that knows none: "&&" is
// a literal ampersand, a single '&' is dropped.
QString StripAccessKeys(const QString& caption);

// CR LF (and lone CR) line ends as Qt's LF.
QString ToQLines(const std::u16string& s);

}  // namespace tarno::gui
