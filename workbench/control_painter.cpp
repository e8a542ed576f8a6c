#include "workbench/control_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <map>
#include <string_view>

#include "gui/classic_colours.h"
#include "workbench/frx_values.h"
#include "workbench/property_values.h"

namespace tarno::workbench {
namespace {

using Control = host::MemControl;

QColor Sys(int index) { return gui::ClassicColor(static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index))); }
const QColor kFace = Sys(15), kShadow = Sys(16), kHighlight = Sys(20), kDark = Sys(21), kLight = Sys(22);

QColor ColourOf(const Control& c, std::u16string_view name, int32_t fallback) {
  auto v = c.Get(name);
  return gui::ClassicColor(v ? static_cast<int32_t>(static_cast<int64_t>(NumberOf(v))) : fallback);
}
QColor Back(const Control& c) { return ColourOf(c, u"BackColor", static_cast<int32_t>(0x8000000Fu)); }
QColor Fore(const Control& c) { return ColourOf(c, u"ForeColor", static_cast<int32_t>(0x80000012u)); }

const std::u16string& ClassOf(const Control& c) { return c.cls().name; }
bool ThreeD(const Control& c) { return IntOf(c, u"Appearance", 1) == 1; }

void Edge(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
  p.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
  p.setPen(bottomRight);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

// A field's border (text, list, picture boxes): sunken when 3D, a black line when flat.
QRect FieldBorder(QPainter& p, const Control& c, const QRect& r, bool bordered) {
  if (!bordered) return r;
  if (ThreeD(c)) {
    DrawSunken(p, r);
    return r.adjusted(2, 2, -2, -2);
  }
  p.setPen(Qt::black);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  return r.adjusted(1, 1, -1, -1);
}

void Arrow(QPainter& p, const QRect& box, Qt::ArrowType dir, const QColor& colour = Qt::black) {
  const QPoint c = box.center();
  QPolygon tri;
  switch (dir) {
    case Qt::DownArrow: tri << c + QPoint(-3, -1) << c + QPoint(3, -1) << c + QPoint(0, 2); break;
    case Qt::UpArrow: tri << c + QPoint(-3, 2) << c + QPoint(3, 2) << c + QPoint(0, -1); break;
    case Qt::LeftArrow: tri << c + QPoint(1, -3) << c + QPoint(1, 3) << c + QPoint(-2, 0); break;
    default: tri << c + QPoint(-1, -3) << c + QPoint(-1, 3) << c + QPoint(2, 0); break;
  }
  p.setPen(colour);
  p.setBrush(colour);
  p.drawPolygon(tri);
  p.setBrush(Qt::NoBrush);
}

void ArrowButton(QPainter& p, const QRect& box, Qt::ArrowType dir) {
  p.fillRect(box, kFace);
  DrawRaised(p, box);
  Arrow(p, box, dir);
}

// A scroll bar: arrow buttons at both ends, the dithered track, the thumb at the start.
void ScrollBar(QPainter& p, const QRect& r, bool vertical) {
  QBrush dither(kHighlight, Qt::Dense4Pattern);
  p.fillRect(r, kFace);
  p.fillRect(r, dither);
  const int side = vertical ? r.width() : r.height();
  if (vertical) {
    const int b = std::min(side, r.height() / 2);
    ArrowButton(p, QRect(r.left(), r.top(), r.width(), b), Qt::UpArrow);
    ArrowButton(p, QRect(r.left(), r.bottom() - b + 1, r.width(), b), Qt::DownArrow);
    if (r.height() > 3 * b) {
      QRect thumb(r.left(), r.top() + b, r.width(), b);
      p.fillRect(thumb, kFace);
      DrawRaised(p, thumb);
    }
  } else {
    const int b = std::min(side, r.width() / 2);
    ArrowButton(p, QRect(r.left(), r.top(), b, r.height()), Qt::LeftArrow);
    ArrowButton(p, QRect(r.right() - b + 1, r.top(), b, r.height()), Qt::RightArrow);
    if (r.width() > 3 * b) {
      QRect thumb(r.left() + b, r.top(), b, r.height());
      p.fillRect(thumb, kFace);
      DrawRaised(p, thumb);
    }
  }
}

Qt::Alignment Horizontal(int alignment) {
  return alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

QImage PictureOf(const Control& c, std::u16string_view name, PaintSupport& s) {
  if (!s.frx) return {};
  const std::u16string ref = Utf16Of(c, name);
  return ref.empty() ? QImage() : s.frx->Picture(ref);
}

// Caption text: VB's access keys underlined (&& is a literal ampersand).
int MnemonicFlag(const Control& c) { return FlagOf(c, u"UseMnemonic", true) ? Qt::TextShowMnemonic : 0; }

void PushButtonFace(QPainter& p, const Control& c, const QRect& r, bool down, PaintSupport& s, bool graphical) {
  p.fillRect(r, graphical ? Back(c) : kFace);
  QRect inner = r;
  if (down) {
    p.setPen(kDark);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    Edge(p, r.adjusted(1, 1, -1, -1), kShadow, kLight);
    inner.translate(1, 1);
  } else {
    DrawRaised(p, r);
  }
  QString caption = TextOf(c, u"Caption");
  QImage picture = graphical ? PictureOf(c, u"Picture", s) : QImage();
  p.setPen(Fore(c));
  const QFontMetrics fm(p.font());
  if (!picture.isNull()) {
    const int textHeight = caption.isEmpty() ? 0 : fm.height();
    QPoint at(inner.center().x() - picture.width() / 2 + 1,
              inner.center().y() - (picture.height() + textHeight) / 2 + 1);
    p.drawImage(at, picture);
    if (!caption.isEmpty())
      p.drawText(QRect(inner.left(), at.y() + picture.height(), inner.width(), textHeight),
                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, caption);
  } else {
    p.drawText(inner.adjusted(3, 3, -3, -3), Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, caption);
  }
}

void CheckMark(QPainter& p, const QRect& box, const QColor& colour) {
  p.setPen(QPen(colour, 1));
  const QPoint o = box.topLeft() + QPoint(3, 5);
  for (int i = 0; i < 3; ++i) {
    p.drawLine(o + QPoint(0, i), o + QPoint(2, 2 + i));
    p.drawLine(o + QPoint(2, 2 + i), o + QPoint(6, -2 + i));
  }
}

// Check and option buttons: the box or circle on the left (on the right
// with Alignment 1), the caption beside it; Style 1 draws a push button that
// stays down while set.
void CheckOrOption(QPainter& p, const Control& c, const QRect& r, bool option, PaintSupport& s) {
  const int value = IntOf(c, u"Value");
  if (IntOf(c, u"Style") == 1) {
    PushButtonFace(p, c, r, value != 0, s, true);
    return;
  }
  p.fillRect(r, Back(c));
  const bool right = IntOf(c, u"Alignment") == 1;
  const QRect box(right ? r.right() - 12 : r.left(), r.center().y() - 6, 13, 13);
  if (option) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kShadow);
    p.setBrush(Qt::white);
    p.drawEllipse(box.adjusted(0, 0, -1, -1));
    p.setPen(kDark);
    p.drawArc(box.adjusted(1, 1, -2, -2), 45 * 16, 180 * 16);
    p.setPen(kLight);
    p.drawArc(box.adjusted(1, 1, -2, -2), 225 * 16, 180 * 16);
    if (value) {
      p.setPen(Qt::black);
      p.setBrush(Qt::black);
      p.drawEllipse(QRect(box.center().x() - 2, box.center().y() - 2, 4, 4));
    }
    p.setBrush(Qt::NoBrush);
  } else {
    p.fillRect(box, value == 2 ? kFace : QColor(Qt::white));
    DrawSunken(p, box);
    if (value) CheckMark(p, box, value == 2 ? kShadow : QColor(Qt::black));
  }
  const QRect text = right ? r.adjusted(1, 0, -18, 0) : r.adjusted(18, 0, -1, 0);
  p.setPen(Fore(c));
  p.drawText(text, Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextWordWrap | Qt::TextShowMnemonic,
             TextOf(c, u"Caption"));
}

void PaintLabel(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  if (IntOf(c, u"BackStyle", 1) == 1) p.fillRect(r, Back(c));
  const QRect inner = FieldBorder(p, c, r, IntOf(c, u"BorderStyle") == 1);
  p.setPen(Fore(c));
  p.drawText(inner, Horizontal(IntOf(c, u"Alignment")) | Qt::AlignTop | Qt::TextWordWrap | MnemonicFlag(c),
             TextOf(c, u"Caption"));
}

void PaintTextBox(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  p.fillRect(r, ColourOf(c, u"BackColor", static_cast<int32_t>(0x80000005u)));
  QRect inner = FieldBorder(p, c, r, IntOf(c, u"BorderStyle", 1) == 1);
  const bool multi = FlagOf(c, u"MultiLine");
  const int bars = multi ? IntOf(c, u"ScrollBars") : 0;
  const int side = 16;
  if (bars & 2) {
    ScrollBar(p, QRect(inner.right() - side + 1, inner.top(), side, inner.height() - ((bars & 1) ? side : 0)), true);
    inner.setRight(inner.right() - side);
  }
  if (bars & 1) {
    ScrollBar(p, QRect(inner.left(), inner.bottom() - side + 1, inner.width(), side), false);
    inner.setBottom(inner.bottom() - side);
  }
  QString text = TextOf(c, u"Text");
  const QString password = TextOf(c, u"PasswordChar");
  if (!password.isEmpty() && !multi) text = QString(text.size(), password[0]);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  p.setPen(ColourOf(c, u"ForeColor", static_cast<int32_t>(0x80000008u)));
  p.save();
  p.setClipRect(inner);
  const Qt::Alignment h = Horizontal(IntOf(c, u"Alignment"));
  if (multi) p.drawText(inner.adjusted(2, 1, -2, 0), h | Qt::AlignTop | ((bars & 1) ? 0 : Qt::TextWordWrap), text);
  else p.drawText(inner.adjusted(2, 1, -2, 0), h | Qt::AlignTop | Qt::TextSingleLine, text);
  p.restore();
}

QStringList ItemsOf(const Control& c, PaintSupport& s) {
  const std::u16string ref = Utf16Of(c, u"List");
  return ref.empty() || !s.frx ? QStringList() : s.frx->List(ref);
}

void PaintListBox(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) {
  p.fillRect(r, ColourOf(c, u"BackColor", static_cast<int32_t>(0x80000005u)));
  QRect inner = FieldBorder(p, c, r, true);
  QStringList items = ItemsOf(c, s);
  // An empty list box shows its name in the designer.
  if (items.isEmpty()) items << QString::fromStdU16String(c.name());
  const QFontMetrics fm(p.font());
  const int line = fm.height();
  if (static_cast<int>(items.size()) * line > inner.height()) {
    ScrollBar(p, QRect(inner.right() - 15, inner.top(), 16, inner.height()), true);
    inner.setRight(inner.right() - 16);
  }
  const bool checks = IntOf(c, u"Style") == 1;
  p.save();
  p.setClipRect(inner);
  p.setPen(ColourOf(c, u"ForeColor", static_cast<int32_t>(0x80000008u)));
  int y = inner.top();
  for (const QString& item : items) {
    if (y > inner.bottom()) break;
    int x = inner.left() + 2;
    if (checks) {
      const QRect box(x, y + (line - 13) / 2, 13, 13);
      p.fillRect(box, Qt::white);
      DrawSunken(p, box);
      x += 16;
      p.setPen(ColourOf(c, u"ForeColor", static_cast<int32_t>(0x80000008u)));
    }
    p.drawText(QRect(x, y, inner.right() - x, line), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, item);
    y += line;
  }
  p.restore();
}

void PaintComboBox(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) {
  const int style = IntOf(c, u"Style");
  const QFontMetrics fm(p.font());
  QRect field = r;
  if (style == 1) field.setHeight(std::min(r.height(), fm.height() + 6));  // simple combo: the list below
  p.fillRect(field, ColourOf(c, u"BackColor", static_cast<int32_t>(0x80000005u)));
  QRect inner = FieldBorder(p, c, field, true);
  if (style != 1) {
    const QRect button(inner.right() - 15, inner.top(), 16, inner.height());
    ArrowButton(p, button, Qt::DownArrow);
    inner.setRight(button.left() - 1);
  }
  // A drop-down list has no text of its own at design time: it shows its name.
  const QString text = style == 2 ? QString::fromStdU16String(c.name()) : TextOf(c, u"Text");
  p.setPen(ColourOf(c, u"ForeColor", static_cast<int32_t>(0x80000008u)));
  p.drawText(inner.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  if (style == 1 && r.height() > field.height()) {
    QRect list(r.left(), field.bottom() + 1, r.width(), r.bottom() - field.bottom());
    p.fillRect(list, Qt::white);
    QRect li = FieldBorder(p, c, list, true);
    int y = li.top();
    for (const QString& item : ItemsOf(c, s)) {
      if (y > li.bottom()) break;
      p.drawText(QRect(li.left() + 2, y, li.width() - 2, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, item);
      y += fm.height();
    }
  }
}

void PaintFrame(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  p.fillRect(r, Back(c));
  const QString caption = TextOf(c, u"Caption");
  const QFontMetrics fm(p.font());
  const int top = r.top() + fm.height() / 2;
  if (IntOf(c, u"BorderStyle", 1) != 0) {
    const QRect box(r.left(), top, r.width(), r.bottom() - top + 1);
    if (ThreeD(c)) {
      p.setPen(kShadow);
      p.drawRect(box.adjusted(0, 0, -2, -2));
      p.setPen(kHighlight);
      p.drawRect(box.adjusted(1, 1, -1, -1));
    } else {
      p.setPen(Fore(c));
      p.drawRect(box.adjusted(0, 0, -1, -1));
    }
  }
  if (caption.isEmpty()) return;
  QRect text = fm.boundingRect(QRect(r.left() + 8, r.top(), r.width() - 16, fm.height()),
                               Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption);
  p.fillRect(text.adjusted(-1, 0, 1, 0), Back(c));
  p.setPen(Fore(c));
  p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption);
}

void PaintPictureBox(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) {
  p.fillRect(r, Back(c));
  const QRect inner = FieldBorder(p, c, r, IntOf(c, u"BorderStyle", 1) == 1);
  const QImage picture = PictureOf(c, u"Picture", s);
  if (picture.isNull()) return;
  p.save();
  p.setClipRect(inner);
  p.drawImage(inner.topLeft(), picture);
  p.restore();
}

void PaintImage(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) {
  const QImage picture = PictureOf(c, u"Picture", s);
  if (!picture.isNull()) {
    if (FlagOf(c, u"Stretch")) p.drawImage(r, picture);
    else p.drawImage(r.topLeft(), picture, QRect(0, 0, r.width(), r.height()));
  }
  if (IntOf(c, u"BorderStyle") == 1) {
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  } else if (picture.isNull()) {
    p.setPen(QPen(kShadow, 1, Qt::DotLine));  // the designer's outline of an empty image
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

void PaintScrollBar(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  ScrollBar(p, r, ClassOf(c) == u"VScrollBar");
}

void PaintCommandButton(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) {
  QRect face = r;
  if (FlagOf(c, u"Default")) {
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    face = r.adjusted(1, 1, -1, -1);
  }
  PushButtonFace(p, c, face, false, s, IntOf(c, u"Style") == 1);
}

void PaintCheckBox(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) { CheckOrOption(p, c, r, false, s); }
void PaintOptionButton(QPainter& p, const Control& c, const QRect& r, PaintSupport& s) { CheckOrOption(p, c, r, true, s); }

void PaintDriveList(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  p.fillRect(r, Qt::white);
  QRect inner = FieldBorder(p, c, r, true);
  ArrowButton(p, QRect(inner.right() - 15, inner.top(), 16, inner.height()), Qt::DownArrow);
  p.setPen(Qt::black);
  p.drawText(inner.adjusted(2, 0, -18, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("c: []"));
}

void PaintFolderList(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  p.fillRect(r, Qt::white);
  QRect inner = FieldBorder(p, c, r, true);
  p.setPen(Qt::black);
  if (ClassOf(c) == u"DirListBox")
    p.drawText(inner.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("C:\\"));
}

// A control the designer draws through its own code (ActiveX, user
// controls, OLE, Data): a box of its size with its name and class.
void PaintOther(QPainter& p, const Control& c, const QRect& r, PaintSupport&) {
  p.fillRect(r, kFace);
  p.setPen(kShadow);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(Qt::black);
  const QString label = QString::fromStdU16String(c.name()) + QStringLiteral("\n") +
                        QString::fromStdU16String(ClassOf(c));
  p.drawText(r.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label);
}

// The designer's icon of an invisible control: a raised tile with the class's initials.
void PaintIcon(QPainter& p, const Control& c, const QRect& r) {
  p.fillRect(r, kFace);
  DrawRaised(p, r);
  QString initials;
  for (QChar ch : QString::fromStdU16String(ClassOf(c)))
    if (ch.isUpper() && initials.size() < 3) initials += ch;
  p.setPen(Qt::black);
  p.drawText(r, Qt::AlignCenter, initials);
}

using Painter = void (*)(QPainter&, const Control&, const QRect&, PaintSupport&);

const std::map<std::u16string_view, Painter>& Painters() {
  static const std::map<std::u16string_view, Painter> painters = {
      {u"Label", PaintLabel},           {u"TextBox", PaintTextBox},         {u"CommandButton", PaintCommandButton},
      {u"CheckBox", PaintCheckBox},     {u"OptionButton", PaintOptionButton}, {u"ListBox", PaintListBox},
      {u"ComboBox", PaintComboBox},     {u"Frame", PaintFrame},             {u"PictureBox", PaintPictureBox},
      {u"Image", PaintImage},           {u"HScrollBar", PaintScrollBar},    {u"VScrollBar", PaintScrollBar},
      {u"DriveListBox", PaintDriveList}, {u"DirListBox", PaintFolderList},   {u"FileListBox", PaintFolderList},
  };
  return painters;
}

}  // namespace

void DrawRaised(QPainter& p, const QRect& r) {
  Edge(p, r, kHighlight, kDark);
  Edge(p, r.adjusted(1, 1, -1, -1), kLight, kShadow);
}

void DrawSunken(QPainter& p, const QRect& r) {
  Edge(p, r, kShadow, kHighlight);
  Edge(p, r.adjusted(1, 1, -1, -1), kDark, kLight);
}

bool DrawnAsIcon(const host::MemControl& c) {
  if (c.cls().intrinsic) return !c.Has(u"Width");
  // An ActiveX control invisible at run time: its block has no size lines.
  return !c.IsLoaded(u"Width") && !c.IsChanged(u"Width") && c.file_state;
}

QSize AutoSizeOfLabel(const host::MemControl& c, const QFont& font, int width) {
  const QFontMetrics fm(font);
  QString caption = TextOf(c, u"Caption");
  const int flags = Qt::TextShowMnemonic | (FlagOf(c, u"WordWrap") ? Qt::TextWordWrap : 0);
  const int border = IntOf(c, u"BorderStyle") == 1 ? 4 : 0;
  QRect bound = fm.boundingRect(QRect(0, 0, FlagOf(c, u"WordWrap") ? width - border : 100000, 100000), flags,
                                caption.isEmpty() ? QStringLiteral(" ") : caption);
  return {bound.width() + border, bound.height() + border};
}

void PaintControl(QPainter& p, const host::MemControl& c, const QRect& r, PaintSupport& support) {
  p.save();
  if (support.font) p.setFont(support.font(c));
  if (DrawnAsIcon(c)) {
    PaintIcon(p, c, r);
  } else if (auto it = Painters().find(ClassOf(c)); it != Painters().end()) {
    it->second(p, c, r, support);
  } else {
    PaintOther(p, c, r, support);
  }
  p.restore();
}

}  // namespace tarno::workbench
